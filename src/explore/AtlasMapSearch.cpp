#include "explore/AtlasMapSearch.h"

#include "base/HitList.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/VLMessages.h"
#include "explore/AtlasTreeControl.h"
#include "explore/AtlasVirtualList.h"
#include "media/GrfDocument.h"
#include "widgets/DibButton.h"

#include <memory>

IMPLEMENT_DYNAMIC(CAtlasMapSearch, CGenericTabWin)

BEGIN_MESSAGE_MAP(CAtlasMapSearch, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_COMMAND(IDC_MAP_SEARCH_CLOSE, OnCloseButton)
    ON_BN_DOUBLECLICKED(IDC_MAP_SEARCH_CLOSE, OnCloseButton)
    ON_CONTROL(LBN_DBLCLK, IDC_MAP_SEARCH_LIST, OnListChosen)
END_MESSAGE_MAP()

CAtlasMapSearch::CAtlasMapSearch()
{
    m_pData = new CAtlasVirtualList;  // throws when the place files cannot be had
}

CAtlasMapSearch::~CAtlasMapSearch()
{
    KillTypingTimer();
    delete m_pList;  // the window first: it draws from the data
    m_pList = NULL;
    delete m_pData;
    m_pData = NULL;
    if (m_wndEdit.GetSafeHwnd() != NULL)
        m_wndEdit.DestroyWindow();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CAtlasMapSearch::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CGenericTabWin::Create(NULL, "Map Search", 0, rect, pParentWnd, nID, IDB_MAP_SEARCH_CAPTION);
}

int CAtlasMapSearch::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndEdit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, 10, 24), this,
                          IDC_MAP_SEARCH_EDIT))
        return -1;
    m_wndEdit.LimitText(kMaxLookUp);
    m_pList = new CAtlasTreeControl(m_pData);
    if (!m_pList->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, 0, CRect(0, 0, 200, 400), this,
                         IDC_MAP_SEARCH_LIST)) {
        delete m_pList;
        m_pList = NULL;
        return -1;
    }
    m_pList->ShowWindow(SW_SHOW);
    m_pList->BringWindowToTop();
    LayOut();
    return 0;
}

void CAtlasMapSearch::LayOut()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    if (m_wndEdit.GetSafeHwnd() != NULL)
        m_wndEdit.MoveWindow(client.left + 10, client.top + 20, client.Width() - 20, 24);
    m_rectTree.SetRect(client.left + 10, client.top + m_nListTop, client.right - 10, client.bottom - 3);
    if (m_rectTree.bottom < m_rectTree.top)
        m_rectTree.bottom = m_rectTree.top;
    if (m_pList != NULL && m_pList->GetSafeHwnd() != NULL) {
        CRect list(m_rectTree.left + 8, m_rectTree.top + 1, m_rectTree.right - 1, m_rectTree.bottom - 1);
        if (list.right < list.left)
            list.right = list.left;
        if (list.bottom < list.top)
            list.bottom = list.top;
        m_pList->MoveWindow(&list);
    }
}

void CAtlasMapSearch::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    LayOut();
}

void CAtlasMapSearch::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush white(0x02FFFFFF);
    CBrush* pOldBrush = dc.SelectObject(&white);
    dc.PatBlt(client.left, client.top, client.Width(), client.Height(), PATCOPY);
    dc.SelectObject(pOldBrush);

    CFont font;
    font.CreatePointFont(100, "Arial Bold", &dc);
    CFont* pOldFont = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOld = dc.SetTextColor(0x02000000);
    dc.TextOut(client.left + 10, client.top + 1, "ENTER LOCATION");
    dc.SetTextColor(crOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);

    CBrush frame(0x02DEC6C6);
    dc.FillRect(&m_rectTree, &frame);
}

void CAtlasMapSearch::KillTypingTimer()
{
    if (m_nTimer != 0 && GetSafeHwnd() != NULL)
        KillTimer(m_nTimer);
    m_nTimer = 0;
}

void CAtlasMapSearch::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN) {
        LookUp();
        OpenCurrentPlace();
        return;
    }
    KillTypingTimer();
    m_nTimer = SetTimer(IDT_MAP_SEARCH_TYPING, kTypingDelay, NULL);
}

void CAtlasMapSearch::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != IDT_MAP_SEARCH_TYPING) {
        CGenericTabWin::OnTimer(nIDEvent);
        return;
    }
    LookUp();
}

long CAtlasMapSearch::LookUp()
{
    KillTypingTimer();
    if (m_pData == NULL || m_pList == NULL)
        return 0;
    CString strText;
    if (m_wndEdit.GetSafeHwnd() != NULL)
        m_wndEdit.GetWindowText(strText);
    if (strText.GetLength() > kMaxLookUp)
        strText = strText.Left(kMaxLookUp);
    const long nRow = m_pData->FindTitle(strText);
    if (nRow > 0) {
        m_nFoundRow = nRow;
        m_pList->ScrollToIndex(nRow);
    }
    return nRow;
}

BOOL CAtlasMapSearch::OpenCurrentPlace()
{
    if (m_pData == NULL || m_pList == NULL)
        return FALSE;
    long nRow = m_pList->GetCurrentItemData();
    if (nRow < 1)
        nRow = m_nFoundRow;
    if (nRow < 1 || nRow > m_pData->GetCount())
        return FALSE;
    CVLVirtualData::VLLISTENTRY entry;
    const long nMap = m_pData->GetListEntry(nRow, entry);
    if (nMap == 0)
        return FALSE;

    auto pHits = std::make_unique<CHitList>();
    pHits->AddHit(CHitPosition(static_cast<UINT>(entry.nValues[0]), static_cast<UINT>(entry.nValues[1]),
                               static_cast<UINT>(entry.nValues[2])));
    std::unique_ptr<CReference> pRef(CreateItemReference(nMap, ""));
    if (pRef == NULL)
        return FALSE;
    pRef->SetData(pHits.release());
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL || !pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pRef.get())))
        return FALSE;
    pRef.release();  // the receiver owns it now
    return TRUE;
}

void CAtlasMapSearch::OnListChosen()
{
    OpenCurrentPlace();
}

void CAtlasMapSearch::FocusEdit()
{
    if (m_wndEdit.GetSafeHwnd() != NULL)
        m_wndEdit.SetFocus();
}

void CAtlasMapSearch::ViewHidden()
{
    if (m_pData != NULL && m_bFilesOpen) {
        m_pData->Close();
        m_bFilesOpen = FALSE;
    }
}

void CAtlasMapSearch::ViewShown()
{
    if (m_pData != NULL && !m_bFilesOpen)
        m_bFilesOpen = m_pData->Reopen();
}

void CAtlasMapSearch::OnCloseButton()
{
    OnClose();
}

void CAtlasMapSearch::OnClose()
{
    KillTypingTimer();
    ShowWindow(SW_HIDE);
    if (CWnd* pAtlas = GetParent(); pAtlas != NULL) {
        pAtlas->Invalidate();
        pAtlas->UpdateWindow();
        pAtlas->SetFocus();
        if (auto* pButton = dynamic_cast<CDibButton*>(CWnd::FromHandlePermanent(
                ::GetDlgItem(pAtlas->GetSafeHwnd(), IDC_ATLAS_MAP_SEARCH_BUTTON))))
            pButton->SetDib(FALSE);
    }
    CGenericTabWin::OnClose();
}
