// CListCtrl: sends the list view's messages.
#include <afxcmn.h>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

LRESULT Send(const CWnd* w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(w->m_hWnd, msg, wParam, lParam);
}

}  // namespace

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

COLORREF CListCtrl::GetBkColor() const { return static_cast<COLORREF>(Send(this, LVM_GETBKCOLOR)); }
BOOL CListCtrl::SetBkColor(COLORREF cr) { return static_cast<BOOL>(Send(this, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
COLORREF CListCtrl::GetTextColor() const { return static_cast<COLORREF>(Send(this, LVM_GETTEXTCOLOR)); }
BOOL CListCtrl::SetTextColor(COLORREF cr) { return static_cast<BOOL>(Send(this, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr))); }
COLORREF CListCtrl::GetTextBkColor() const { return static_cast<COLORREF>(Send(this, LVM_GETTEXTBKCOLOR)); }
BOOL CListCtrl::SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(Send(this, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr))); }

CImageList* CListCtrl::GetImageList(int nImageList) const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
        Send(this, LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), reinterpret_cast<LPARAM>(pImageList->GetSafeHandle())));
    return CImageList::FromHandle(old);
}

DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(Send(this, LVM_GETEXTENDEDLISTVIEWSTYLE)); }
DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) { return static_cast<DWORD>(Send(this, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle)); }

int CListCtrl::GetItemCount() const { return static_cast<int>(Send(this, LVM_GETITEMCOUNT)); }
void CListCtrl::SetItemCount(int nItems) { Send(this, LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems)); }
BOOL CListCtrl::GetItem(LVITEM* pItem) const { return static_cast<BOOL>(Send(this, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem))); }
BOOL CListCtrl::SetItem(const LVITEM* pItem) { return static_cast<BOOL>(Send(this, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem))); }

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                        LPARAM lParam)
{
    LVITEM item{};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return SetItem(&item);
}

UINT CListCtrl::GetCallbackMask() const { return static_cast<UINT>(Send(this, LVM_GETCALLBACKMASK)); }
BOOL CListCtrl::SetCallbackMask(UINT nMask) { return static_cast<BOOL>(Send(this, LVM_SETCALLBACKMASK, nMask)); }
int CListCtrl::GetNextItem(int nItem, int nFlags) const { return static_cast<int>(Send(this, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), nFlags)); }

// A position is the next selected item's index plus one (NULL: none left).
POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    return reinterpret_cast<POSITION>(static_cast<INT_PTR>(1 + GetNextItem(-1, LVNI_SELECTED)));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    int item = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
    pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(1 + GetNextItem(item, LVNI_SELECTED)));
    return item;
}

int CListCtrl::FindItem(LVFINDINFO* pFindInfo, int nStart) const
{
    return static_cast<int>(Send(this, LVM_FINDITEM, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
}

int CListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo) const { return static_cast<int>(Send(this, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo))); }

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hit{};
    hit.pt = pt;
    int item = HitTest(&hit);
    if (pFlags)
        *pFlags = hit.flags;
    return item;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK)
{
    return static_cast<BOOL>(Send(this, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
}

BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(Send(this, LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
BOOL CListCtrl::RedrawItems(int nFirst, int nLast) { return static_cast<BOOL>(Send(this, LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst), nLast)); }
BOOL CListCtrl::Update(int nItem) { return static_cast<BOOL>(Send(this, LVM_UPDATE, static_cast<WPARAM>(nItem))); }

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(Send(this, LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

int CListCtrl::GetStringWidth(LPCSTR lpsz) const { return static_cast<int>(Send(this, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(lpsz))); }
int CListCtrl::GetTopIndex() const { return static_cast<int>(Send(this, LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(Send(this, LVM_GETCOUNTPERPAGE)); }

BOOL CListCtrl::SetItemState(int nItem, LVITEM* pItem)
{
    return static_cast<BOOL>(Send(this, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEM item{};
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const { return static_cast<UINT>(Send(this, LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask)); }

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // Grows the buffer until the text fits.
    CString text;
    for (int room = 256;; room *= 2) {
        LVITEM item{};
        item.iSubItem = nSubItem;
        item.cchTextMax = room;
        item.pszText = text.GetBufferSetLength(room);
        int n = static_cast<int>(Send(this, LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        text.ReleaseBuffer(n);
        if (n < room - 1 || room >= (1 << 20))
            return text;
    }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const
{
    LVITEM item{};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return static_cast<int>(Send(this, LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEM item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(Send(this, LVM_SETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(Send(this, LVM_GETSELECTEDCOUNT)); }
int CListCtrl::GetSelectionMark() const { return static_cast<int>(Send(this, LVM_GETSELECTIONMARK)); }
int CListCtrl::SetSelectionMark(int iIndex) { return static_cast<int>(Send(this, LVM_SETSELECTIONMARK, 0, iIndex)); }

int CListCtrl::InsertItem(const LVITEM* pItem) { return static_cast<int>(Send(this, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(pItem))); }
int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) { return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0); }

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam)
{
    LVITEM item{};
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int nItem) { return static_cast<BOOL>(Send(this, LVM_DELETEITEM, static_cast<WPARAM>(nItem))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(this, LVM_DELETEALLITEMS)); }
BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const { return static_cast<BOOL>(Send(this, LVM_GETCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn))); }
BOOL CListCtrl::SetColumn(int nCol, const LVCOLUMN* pColumn) { return static_cast<BOOL>(Send(this, LVM_SETCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn))); }
int CListCtrl::GetColumnWidth(int nCol) const { return static_cast<int>(Send(this, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol))); }
BOOL CListCtrl::SetColumnWidth(int nCol, int cx) { return static_cast<BOOL>(Send(this, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0))); }
int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn) { return static_cast<int>(Send(this, LVM_INSERTCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn))); }

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::DeleteColumn(int nCol) { return static_cast<BOOL>(Send(this, LVM_DELETECOLUMN, static_cast<WPARAM>(nCol))); }

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
{
    return static_cast<BOOL>(Send(this, LVM_SORTITEMS, static_cast<WPARAM>(dwData), reinterpret_cast<LPARAM>(pfnCompare)));
}
