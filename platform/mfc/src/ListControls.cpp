// CListBox and CComboBox: thin wrappers of the LB_ and CB_ messages, and the owner-draw
// messages reflected from the parent to the control's virtual functions.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

LRESULT Send(const CWnd* wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(wnd->m_hWnd, msg, wParam, lParam);
}

LPARAM Text(LPCSTR s)
{
    return reinterpret_cast<LPARAM>(s);
}

// The owner-draw messages a parent reflects to a list box or combo box, handed to its virtuals.
template <class Control>
bool ReflectOwnerDraw(Control* control, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        control->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM: {
        int result = control->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        if (pResult != NULL)
            *pResult = result;
        return true;
    }
    case WM_DELETEITEM:
        control->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return false;
    }
    if (pResult != NULL)
        *pResult = TRUE;
    return true;
}

}  // namespace

// ---- CListBox ------------------------------------------------------------------------------

CListBox::CListBox() = default;

CListBox::~CListBox()
{
    DestroyWindow();
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

int CListBox::GetCount() const { return static_cast<int>(Send(this, LB_GETCOUNT)); }
int CListBox::GetHorizontalExtent() const { return static_cast<int>(Send(this, LB_GETHORIZONTALEXTENT)); }
void CListBox::SetHorizontalExtent(int cxExtent) { Send(this, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(cxExtent)); }
int CListBox::GetTopIndex() const { return static_cast<int>(Send(this, LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return static_cast<int>(Send(this, LB_SETTOPINDEX, static_cast<WPARAM>(nIndex))); }
LCID CListBox::GetLocale() const { return static_cast<LCID>(Send(this, LB_GETLOCALE)); }
LCID CListBox::SetLocale(LCID nNewLocale) { return static_cast<LCID>(Send(this, LB_SETLOCALE, nNewLocale)); }

int CListBox::InitStorage(int nItems, UINT nBytes)
{
    return static_cast<int>(Send(this, LB_INITSTORAGE, static_cast<WPARAM>(nItems), nBytes));
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    LRESULT r = Send(this, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
}

int CListBox::GetCurSel() const { return static_cast<int>(Send(this, LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(Send(this, LB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
int CListBox::GetSel(int nIndex) const { return static_cast<int>(Send(this, LB_GETSEL, static_cast<WPARAM>(nIndex))); }

int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return static_cast<int>(Send(this, LB_SETSEL, static_cast<WPARAM>(bSelect), nIndex));
}

int CListBox::GetSelCount() const { return static_cast<int>(Send(this, LB_GETSELCOUNT)); }

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return static_cast<int>(Send(this, LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}

void CListBox::SetAnchorIndex(int nIndex) { Send(this, LB_SETANCHORINDEX, static_cast<WPARAM>(nIndex)); }
int CListBox::GetAnchorIndex() const { return static_cast<int>(Send(this, LB_GETANCHORINDEX)); }

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
{
    return static_cast<int>(Send(this, LB_SELITEMRANGE, static_cast<WPARAM>(bSelect), MAKELPARAM(nFirstItem, nLastItem)));
}

DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(Send(this, LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}

void* CListBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CListBox::SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<int>(Send(this, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

int CListBox::GetText(int nIndex, LPSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int len = GetTextLen(nIndex);
    if (len == LB_ERR) {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBuffer(len));
    rString.ReleaseBuffer(len);
}

int CListBox::GetTextLen(int nIndex) const { return static_cast<int>(Send(this, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex))); }
void CListBox::SetColumnWidth(int cxWidth) { Send(this, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cxWidth)); }

BOOL CListBox::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    return static_cast<BOOL>(Send(this, LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops), reinterpret_cast<LPARAM>(rgTabStops)));
}

void CListBox::SetTabStops() { Send(this, LB_SETTABSTOPS, 0, 0); }

BOOL CListBox::SetTabStops(const int& cxEachStop)
{
    return static_cast<BOOL>(Send(this, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
}

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(Send(this, LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}

int CListBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}

int CListBox::FindStringExact(int nIndexStart, LPCSTR lpszFind) const
{
    return static_cast<int>(Send(this, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind)));
}

int CListBox::GetCaretIndex() const { return static_cast<int>(Send(this, LB_GETCARETINDEX)); }

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll)
{
    // The message's flag means "scroll only until partly visible"; the function's means "scroll".
    return static_cast<int>(Send(this, LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), MAKELPARAM(bScroll ? 0 : 1, 0)));
}

int CListBox::AddString(LPCSTR lpszItem) { return static_cast<int>(Send(this, LB_ADDSTRING, 0, Text(lpszItem))); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(Send(this, LB_DELETESTRING, nIndex)); }

int CListBox::InsertString(int nIndex, LPCSTR lpszItem)
{
    return static_cast<int>(Send(this, LB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszItem)));
}

void CListBox::ResetContent() { Send(this, LB_RESETCONTENT); }

int CListBox::FindString(int nStartAfter, LPCSTR lpszItem) const
{
    return static_cast<int>(Send(this, LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszItem)));
}

int CListBox::SelectString(int nStartAfter, LPCSTR lpszItem)
{
    return static_cast<int>(Send(this, LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszItem)));
}

// An owner-drawn list box's class overrides these; the defaults draw nothing, keep the height
// the list box proposes and call all items equal.
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectOwnerDraw(this, message, lParam, pResult))
        return TRUE;
    if (message == WM_VKEYTOITEM || message == WM_CHARTOITEM) {
        UINT key = LOWORD(wParam), index = HIWORD(wParam);
        int result = message == WM_VKEYTOITEM ? VKeyToItem(key, index) : CharToItem(key, index);
        if (pResult != NULL)
            *pResult = result;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---- CComboBox -----------------------------------------------------------------------------

CComboBox::CComboBox() = default;

CComboBox::~CComboBox()
{
    DestroyWindow();
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

int CComboBox::GetCount() const { return static_cast<int>(Send(this, CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Send(this, CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(Send(this, CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
LCID CComboBox::GetLocale() const { return static_cast<LCID>(Send(this, CB_GETLOCALE)); }
LCID CComboBox::SetLocale(LCID nNewLocale) { return static_cast<LCID>(Send(this, CB_SETLOCALE, nNewLocale)); }
int CComboBox::GetTopIndex() const { return static_cast<int>(Send(this, CB_GETTOPINDEX)); }
int CComboBox::SetTopIndex(int nIndex) { return static_cast<int>(Send(this, CB_SETTOPINDEX, static_cast<WPARAM>(nIndex))); }

int CComboBox::InitStorage(int nItems, UINT nBytes)
{
    return static_cast<int>(Send(this, CB_INITSTORAGE, static_cast<WPARAM>(nItems), nBytes));
}

void CComboBox::SetHorizontalExtent(UINT nExtent) { Send(this, CB_SETHORIZONTALEXTENT, nExtent); }
UINT CComboBox::GetHorizontalExtent() const { return static_cast<UINT>(Send(this, CB_GETHORIZONTALEXTENT)); }
int CComboBox::SetDroppedWidth(UINT nWidth) { return static_cast<int>(Send(this, CB_SETDROPPEDWIDTH, nWidth)); }
int CComboBox::GetDroppedWidth() const { return static_cast<int>(Send(this, CB_GETDROPPEDWIDTH)); }
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(this, CB_GETEDITSEL)); }
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(Send(this, CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars))); }

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return static_cast<BOOL>(Send(this, CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(Send(this, CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}

void* CComboBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CComboBox::SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }

int CComboBox::GetLBText(int nIndex, LPSTR lpszText) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int len = GetLBTextLen(nIndex);
    if (len == CB_ERR) {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(len));
    rString.ReleaseBuffer(len);
}

int CComboBox::GetLBTextLen(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(Send(this, CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}

int CComboBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}

int CComboBox::FindStringExact(int nIndexStart, LPCSTR lpszFind) const
{
    return static_cast<int>(Send(this, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind)));
}

int CComboBox::SetExtendedUI(BOOL bExtended) { return static_cast<int>(Send(this, CB_SETEXTENDEDUI, static_cast<WPARAM>(bExtended))); }
BOOL CComboBox::GetExtendedUI() const { return static_cast<BOOL>(Send(this, CB_GETEXTENDEDUI)); }

void CComboBox::GetDroppedControlRect(LPRECT lprect) const
{
    Send(this, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect));
}

BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(Send(this, CB_GETDROPPEDSTATE)); }
void CComboBox::ShowDropDown(BOOL bShowIt) { Send(this, CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
int CComboBox::AddString(LPCSTR lpszString) { return static_cast<int>(Send(this, CB_ADDSTRING, 0, Text(lpszString))); }
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(Send(this, CB_DELETESTRING, nIndex)); }

int CComboBox::InsertString(int nIndex, LPCSTR lpszString)
{
    return static_cast<int>(Send(this, CB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszString)));
}

void CComboBox::ResetContent() { Send(this, CB_RESETCONTENT); }

int CComboBox::FindString(int nStartAfter, LPCSTR lpszString) const
{
    return static_cast<int>(Send(this, CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

int CComboBox::SelectString(int nStartAfter, LPCSTR lpszString)
{
    return static_cast<int>(Send(this, CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

void CComboBox::Clear() { Send(this, WM_CLEAR); }
void CComboBox::Copy() { Send(this, WM_COPY); }
void CComboBox::Cut() { Send(this, WM_CUT); }
void CComboBox::Paste() { Send(this, WM_PASTE); }

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectOwnerDraw(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
