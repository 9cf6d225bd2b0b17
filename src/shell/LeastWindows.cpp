#include "shell/LeastWindows.h"

#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "base/VLMessages.h"
#include "base/VLStateObj.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"

#include <algorithm>

namespace {

void PaintFace(CWnd* pWnd, COLORREF crFace, LPCSTR lpszName)
{
    CPaintDC dc(pWnd);
    CRect rect;
    pWnd->GetClientRect(&rect);
    dc.FillSolidRect(&rect, crFace);
    if (lpszName != NULL && *lpszName != '\0') {
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 0));
        CRect text = rect;
        text.DeflateRect(6, 4);
        dc.DrawText(lpszName, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
}

}  // namespace

// ---- side panes ----

BEGIN_MESSAGE_MAP(CLeastTabWin, CWnd)
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CLeastTabWin::CreatePane(POINT pt, CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, LPARAM nPaneCode)
{
    m_nPaneCode = nPaneCode;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    CRect rect(pt.x, pt.y, pt.x + 237, pt.y + 300);
    return CWnd::Create(lpszClass, lpszTitle, WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, rect, pParentWnd, nID);
}

void CLeastTabWin::OnPaint()
{
    CString title;
    GetWindowText(title);
    PaintFace(this, RGB(224, 224, 240), title);
}

void CLeastTabWin::OnClose()
{
    ShowWindow(SW_HIDE);
    if (CWnd* pMain = GetAppMainWnd())
        pMain->SendMessage(VLM_PANE_DOWN, 0, m_nPaneCode);
}

namespace {
// The result list's control id and where it starts below the pane's title.
const UINT kResultListId = 129;
const int kResultListTop = 24;
}  // namespace

BEGIN_MESSAGE_MAP(CSearchTabWin, CLeastTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(VLM_RESULT_CHOSEN, OnResultChosen)
    ON_MESSAGE(VLM_PRINT_RESULTS, OnPrintResults)
    ON_MESSAGE(VLM_HAS_RESULTS, OnHasResults)
END_MESSAGE_MAP()

BOOL CSearchTabWin::Create(POINT pt, CWnd* pParentWnd)
{
    return CreatePane(pt, pParentWnd, IDW_SEARCHPANE, "Search by Topic", 1);
}

int CSearchTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CLeastTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    CRect list(1, kResultListTop, client.right - 1, client.bottom - 1);
    if (!m_results.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, list, this,
                          kResultListId))
        return -1;
    return 0;
}

void CSearchTabWin::OnSize(UINT nType, int cx, int cy)
{
    CLeastTabWin::OnSize(nType, cx, cy);
    if (m_results.GetSafeHwnd() != NULL)
        m_results.MoveWindow(1, kResultListTop, std::max(cx - 2, 1), std::max(cy - kResultListTop - 1, 1));
}

CReference* CSearchTabWin::ShowResults(CReferenceList* pList)
{
    m_results.AddResults(pList);
    return m_results.SelectFirstArticle();
}

void CSearchTabWin::OpenResult(CReference* pReference)
{
    if (pReference == NULL || pReference->GetNumber() == 0)
        return;
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL)
        return;
    CReference* pClone = pReference->Clone();
    if (pClone == NULL)
        return;
    BOOL bPosted = FALSE;
    if (pClone->GetKind() & REFKIND_MAP)
        bPosted = pMain->PostMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pClone));
    else if (pClone->GetKind() & REFKIND_ARTICLE)
        bPosted = pMain->PostMessage(VLM_OPEN_FOUND_ITEM, IDW_ARTICLE, reinterpret_cast<LPARAM>(pClone));
    if (!bPosted)
        delete pClone;  // media open through the media view, which the real pane reaches
}

LRESULT CSearchTabWin::OnResultChosen(WPARAM, LPARAM lParam)
{
    OpenResult(reinterpret_cast<CReference*>(lParam));
    return 0;
}

LRESULT CSearchTabWin::OnPrintResults(WPARAM, LPARAM)
{
    m_results.Print(m_pQuery != NULL ? static_cast<LPCSTR>(*m_pQuery) : "",
                    m_nMode != 0 ? VLRL_WORD_SEARCH : VLRL_TOPIC_SEARCH);
    return 0;
}

LRESULT CSearchTabWin::OnHasResults(WPARAM, LPARAM)
{
    CReferenceList* pResults = m_results.GetResults();
    return pResults != NULL && pResults->GetCount() > 0;
}

// ---- main views ----

BEGIN_MESSAGE_MAP(CLeastMainWin, CVLMainWin)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(VLM_DATA_LOCATION, OnObjectDataLocation)
    ON_MESSAGE(VLM_OPEN_FOUND_ITEM, OnTakeCarriedObject)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnTakeCarriedObject)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnTakeCarriedObject)
END_MESSAGE_MAP()

CLeastMainWin::CLeastMainWin(UINT nID, LPCSTR lpszName, COLORREF crFace)
    : m_nID(nID), m_lpszName(lpszName), m_crFace(crFace)
{
}

BOOL CLeastMainWin::CreateMainWin(const RECT& rect, CWnd* pParentWnd)
{
    return CreateView(NULL, m_lpszName, rect, pParentWnd, m_nID);
}

void CLeastMainWin::OnFilePrint()
{
}

void CLeastMainWin::OnPaint()
{
    PaintFace(this, m_crFace, m_lpszName);
}

BOOL CLeastMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CLeastMainWin::OnObjectDataLocation(WPARAM, LPARAM lParam)
{
    return DataLocationOfCarriedObject(lParam);
}

LRESULT CLeastMainWin::OnTakeCarriedObject(WPARAM, LPARAM lParam)
{
    DeleteCarriedObject(lParam);
    return 1;
}

CJustLookingMainWin::CJustLookingMainWin()
    : CLeastMainWin(IDW_JUSTLOOKING, "Dada Vaveroz View", RGB(255, 248, 232))
{
}

CAtlasMainWin::CAtlasMainWin() : CLeastMainWin(IDW_ATLAS, "Atlas View", RGB(232, 248, 255))
{
}

void CAtlasMainWin::RememberChildWindows(int nRemember)
{
    m_nRemembered = nRemember;
}

CTimeFrameMainWin::CTimeFrameMainWin() : CLeastMainWin(IDW_TIMEFRAME, "Dido Dovov View", RGB(248, 255, 232))
{
}

CVLPlusMainWin::CVLPlusMainWin() : CLeastMainWin(IDW_VLPLUS, "Online View", RGB(240, 255, 240))
{
}
