#include "article/ArticleListTabWin.h"

#include "article/ArticleMainWin.h"
#include "base/PaletteSelector.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CArticleListTabWin, CGenericTabWin)

BEGIN_MESSAGE_MAP(CArticleListTabWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CLOSE()
    ON_NOTIFY(TVN_SELCHANGED, ARTICLE_LIST_ID, OnSelChanged)
    ON_NOTIFY(NM_DBLCLK, ARTICLE_LIST_ID, OnDoubleClick)
END_MESSAGE_MAP()

COLORREF CArticleListTabWin::GetCaptionColor()
{
    return PALETTERGB(74, 74, 148);
}

COLORREF CArticleListTabWin::GetInactiveTextColor()
{
    return PALETTERGB(198, 198, 222);
}

COLORREF CArticleListTabWin::GetAccentColor()
{
    return PALETTERGB(76, 43, 28);
}

HTREEITEM CArticleListTabWin::InsertLine(HTREEITEM hParent, LPCSTR lpszText, int nImage, BOOL bBold, DWORD dwCode)
{
    TVINSERTSTRUCT insert = {};
    insert.hParent = hParent != NULL ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<LPSTR>(lpszText);
    insert.item.lParam = static_cast<LPARAM>(dwCode);
    insert.item.stateMask = TVIS_BOLD;
    insert.item.state = bBold ? TVIS_BOLD : 0;
    if (nImage != 0) {
        insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.iImage = nImage;
        insert.item.iSelectedImage = nImage;
    }
    return m_list.InsertItem(&insert);
}

int CArticleListTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    client.top += 2;
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, client, this,
                       ARTICLE_LIST_ID))
        return -1;
    return 0;
}

void CArticleListTabWin::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_list.GetSafeHwnd() != NULL)
        m_list.MoveWindow(1, 2, cx - 2, cy - 3, TRUE);
}

void CArticleListTabWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    if (m_list.GetSafeHwnd() != NULL)
        m_list.ShowWindow(SW_SHOW);
}

void CArticleListTabWin::OnClose()
{
    CGenericTabWin::OnClose();
    if (auto* pView = DYNAMIC_DOWNCAST(CArticleMainWin, GetParent()))
        pView->OnSidePaneClosed();
}

void CArticleListTabWin::OnSelChanged(NMHDR* pNotify, LRESULT* pResult)
{
    auto* pTree = reinterpret_cast<NMTREEVIEW*>(pNotify);
    OnListSelChanged(static_cast<DWORD>(pTree->itemNew.lParam));
    if (pResult != NULL)
        *pResult = 0;
}

void CArticleListTabWin::OnDoubleClick(NMHDR* pNotify, LRESULT* pResult)
{
    auto* pTree = reinterpret_cast<NMTREEVIEW*>(pNotify);
    OnListDoubleClick(static_cast<DWORD>(pTree->itemNew.lParam));
    if (pResult != NULL)
        *pResult = 0;
}
