// CButton, CStatic, CEdit and CScrollBar: thin wrappers that send the controls' messages.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

LRESULT Send(const CWnd* w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(w->m_hWnd, msg, wParam, lParam);
}

}  // namespace

// ---- CButton ----------------------------------------------------------------------------------

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

UINT CButton::GetState() const { return static_cast<UINT>(Send(this, BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { Send(this, BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
int CButton::GetCheck() const { return static_cast<int>(Send(this, BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { Send(this, BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { Send(this, BM_SETSTYLE, nStyle, bRedraw); }

HBITMAP CButton::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(Send(this, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(Send(this, BM_GETIMAGE, IMAGE_BITMAP)); }
HICON CButton::SetIcon(HICON hIcon)
{
    return reinterpret_cast<HICON>(Send(this, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(Send(this, BM_GETIMAGE, IMAGE_ICON)); }

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    // An owner-drawn CButton must override DrawItem.
    ASSERT(FALSE);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// ---- CStatic ----------------------------------------------------------------------------------

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon) { return reinterpret_cast<HICON>(Send(this, STM_SETICON, reinterpret_cast<WPARAM>(hIcon))); }
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(Send(this, STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(Send(this, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(Send(this, STM_GETIMAGE, IMAGE_BITMAP)); }

void CStatic::DrawItem(LPDRAWITEMSTRUCT)
{
    // An owner-drawn CStatic must override DrawItem.
    ASSERT(FALSE);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// ---- CEdit ------------------------------------------------------------------------------------

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::CanUndo() const { return static_cast<BOOL>(Send(this, EM_CANUNDO)); }
int CEdit::GetLineCount() const { return static_cast<int>(Send(this, EM_GETLINECOUNT)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(Send(this, EM_GETMODIFY)); }
void CEdit::SetModify(BOOL bModified) { Send(this, EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
void CEdit::GetRect(LPRECT lpRect) const { Send(this, EM_GETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
DWORD CEdit::GetSel() const { return static_cast<DWORD>(Send(this, EM_GETSEL)); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD a = 0, b = 0;
    Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    nStartChar = static_cast<int>(a);
    nEndChar = static_cast<int>(b);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength < static_cast<int>(sizeof(WORD)))
        return 0;
    *reinterpret_cast<WORD*>(lpszBuffer) = static_cast<WORD>(nMaxLength);
    return GetLine(nIndex, lpszBuffer);
}

void CEdit::EmptyUndoBuffer() { Send(this, EM_EMPTYUNDOBUFFER); }
BOOL CEdit::FmtLines(BOOL bAddEOL) { return static_cast<BOOL>(Send(this, EM_FMTLINES, static_cast<WPARAM>(bAddEOL))); }
void CEdit::LimitText(int nChars) { Send(this, EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
void CEdit::SetLimitText(UINT nMax) { Send(this, EM_SETLIMITTEXT, nMax); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(this, EM_GETLIMITTEXT)); }
int CEdit::LineFromChar(int nIndex) const { return static_cast<int>(Send(this, EM_LINEFROMCHAR, static_cast<WPARAM>(nIndex))); }
int CEdit::LineIndex(int nLine) const { return static_cast<int>(Send(this, EM_LINEINDEX, static_cast<WPARAM>(nLine))); }
int CEdit::LineLength(int nLine) const { return static_cast<int>(Send(this, EM_LINELENGTH, static_cast<WPARAM>(nLine))); }
void CEdit::LineScroll(int nLines, int nChars) { Send(this, EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines); }
void CEdit::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo)
{
    Send(this, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}
void CEdit::SetPasswordChar(char ch) { Send(this, EM_SETPASSWORDCHAR, static_cast<unsigned char>(ch)); }
char CEdit::GetPasswordChar() const { return static_cast<char>(Send(this, EM_GETPASSWORDCHAR)); }
void CEdit::SetRect(LPCRECT lpRect) { Send(this, EM_SETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
void CEdit::SetRectNP(LPCRECT lpRect) { Send(this, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(lpRect)); }

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel(static_cast<short>(LOWORD(dwSelection)), static_cast<short>(HIWORD(dwSelection)), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    Send(this, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll)
        Send(this, EM_SCROLLCARET);
}

BOOL CEdit::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    return static_cast<BOOL>(Send(this, EM_SETTABSTOPS, static_cast<WPARAM>(nTabStops), reinterpret_cast<LPARAM>(rgTabStops)));
}
void CEdit::SetTabStops() { Send(this, EM_SETTABSTOPS); }
BOOL CEdit::SetTabStops(const int& cxEachStop)
{
    return static_cast<BOOL>(Send(this, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
}
BOOL CEdit::Undo() { return static_cast<BOOL>(Send(this, EM_UNDO)); }
void CEdit::Clear() { Send(this, WM_CLEAR); }
void CEdit::Copy() { Send(this, WM_COPY); }
void CEdit::Cut() { Send(this, WM_CUT); }
void CEdit::Paste() { Send(this, WM_PASTE); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(Send(this, EM_SETREADONLY, static_cast<WPARAM>(bReadOnly))); }
int CEdit::GetFirstVisibleLine() const { return static_cast<int>(Send(this, EM_GETFIRSTVISIBLELINE)); }
void CEdit::SetMargins(UINT nLeft, UINT nRight)
{
    Send(this, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
}
DWORD CEdit::GetMargins() const { return static_cast<DWORD>(Send(this, EM_GETMARGINS)); }

CPoint CEdit::PosFromChar(UINT nChar) const
{
    LRESULT r = Send(this, EM_POSFROMCHAR, nChar);
    return CPoint(static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r)));
}

int CEdit::CharFromPos(CPoint pt) const
{
    return static_cast<int>(Send(this, EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)));
}

// ---- CScrollBar -------------------------------------------------------------------------------

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw)
{
    ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}
void CScrollBar::ShowScrollBar(BOOL bShow) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit()
{
    SCROLLINFO si{};
    if (!GetScrollInfo(&si, SIF_RANGE | SIF_PAGE))
        return 0;
    return si.nMax - (si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0);
}
