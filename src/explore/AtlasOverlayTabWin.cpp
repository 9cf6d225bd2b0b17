#include "explore/AtlasOverlayTabWin.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "explore/AtlasShared.h"
#include "widgets/VLListWindow.h"

#include <algorithm>
#include <memory>

namespace {

CString s_strOverlayListClass;

}  // namespace

IMPLEMENT_DYNAMIC(CAtlasOverlayTabWin, CWnd)

BEGIN_MESSAGE_MAP(CAtlasOverlayTabWin, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_NOTIFY(NM_DBLCLK, IDC_ATLAS_OVERLAY_LIST, OnDoubleClick)
END_MESSAGE_MAP()

CAtlasOverlayTabWin::CAtlasOverlayTabWin() = default;

CAtlasOverlayTabWin::~CAtlasOverlayTabWin()
{
    delete m_pList;
    m_pList = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CAtlasOverlayTabWin::Create(LPCSTR lpszName, int x, int y, CWnd* pParentWnd, UINT nID)
{
    if (s_strOverlayListClass.IsEmpty())
        s_strOverlayListClass =
            AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    int nBottom = y + 247;
    if (pParentWnd != NULL && pParentWnd->GetSafeHwnd() != NULL) {
        CRect parent;
        pParentWnd->GetClientRect(&parent);
        nBottom = std::min(nBottom, static_cast<int>(parent.bottom) - 12);
    }
    if (!CWnd::Create(s_strOverlayListClass, lpszName, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER,
                      CRect(x, y, x + 188, std::max(nBottom, y)), pParentWnd, nID))
        return FALSE;
    m_pList = new CVLListWindow;
    if (!m_pList->Create(0x50A10141, CRect(0, 0, x + 188, y + 247), this, IDC_ATLAS_OVERLAY_LIST)) {
        delete m_pList;
        m_pList = NULL;
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CAtlasOverlayTabWin::Fill(CReferenceList* pList)
{
    m_pReferences = pList;
    m_dwSerial = CAtlasShared::GetOverlayListSerial();
    if (m_pList == NULL)
        return;
    m_pList->ResetContent();
    if (pList == NULL)
        return;
    for (int i = 0; i < pList->GetCount(); ++i) {
        CReference* pRef = pList->GetAtIndex(i);
        if (pRef == NULL)
            continue;
        CString strTitle = pRef->GetTitle();
        TVINSERTSTRUCT insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = m_hInsertAfter;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = strTitle.GetBuffer(0);
        insert.item.lParam = reinterpret_cast<LPARAM>(pRef);
        m_pList->InsertItem(&insert);
        strTitle.ReleaseBuffer();
    }
}

void CAtlasOverlayTabWin::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pList != NULL && m_pList->GetSafeHwnd() != NULL)
        m_pList->MoveWindow(0, 1, cx, std::max(cy - 1, 0));
}

void CAtlasOverlayTabWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush white(0x02FFFFFF);
    CRect below(client.left, client.top + 1, client.right, client.bottom);
    dc.FillRect(&below, &white);
    CBrush black(0x02000000);
    CRect top(client.left, client.top, client.right, client.top + 1);
    dc.FillRect(&top, &black);
}

BOOL CAtlasOverlayTabWin::ChooseCurrent()
{
    // The references belong to the shared list: one that was replaced since is gone.
    if (m_pList == NULL || m_pReferences == NULL || m_dwSerial != CAtlasShared::GetOverlayListSerial())
        return FALSE;
    HTREEITEM hItem = m_pList->GetCurrentItemId();
    if (hItem == NULL)
        return FALSE;
    auto* pRef = reinterpret_cast<CReference*>(m_pList->GetItemValue(hItem));
    if (pRef == NULL)
        return FALSE;
    CAtlasShared::SetOverlayName(m_pList->GetItemText(hItem));
    CAtlasShared::SetOverlayNumber(1);
    std::unique_ptr<CReference> pClone(pRef->Clone());
    CWnd* pTop = GetTopLevelParent();
    if (pClone == NULL || pTop == NULL ||
        !pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ATLAS, reinterpret_cast<LPARAM>(pClone.get())))
        return FALSE;
    pClone.release();  // the receiver owns it now
    return TRUE;
}

void CAtlasOverlayTabWin::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    ChooseCurrent();
}
