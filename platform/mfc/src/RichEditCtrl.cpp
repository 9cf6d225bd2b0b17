// CRichEditCtrl: sends the rich edit control's messages.
#include <afxcmn.h>

#include <winclip.h>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace {

LRESULT Send(const CWnd* w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(w->m_hWnd, msg, wParam, lParam);
}

}  // namespace

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(RICHEDIT_CLASS10A, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CRichEditCtrl::CanUndo() const { return static_cast<BOOL>(Send(this, EM_CANUNDO)); }
BOOL CRichEditCtrl::CanPaste(UINT nFormat) const { return static_cast<BOOL>(Send(this, EM_CANPASTE, nFormat)); }
int CRichEditCtrl::GetLineCount() const { return static_cast<int>(Send(this, EM_GETLINECOUNT)); }
BOOL CRichEditCtrl::GetModify() const { return static_cast<BOOL>(Send(this, EM_GETMODIFY)); }
void CRichEditCtrl::SetModify(BOOL bModified) { Send(this, EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
void CRichEditCtrl::GetRect(LPRECT lpRect) const { Send(this, EM_GETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
void CRichEditCtrl::SetRect(LPCRECT lpRect) { Send(this, EM_SETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }

CPoint CRichEditCtrl::GetCharPos(long lChar) const
{
    LRESULT r = Send(this, EM_POSFROMCHAR, static_cast<WPARAM>(lChar));
    return CPoint(static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r)));
}

int CRichEditCtrl::GetFirstVisibleLine() const { return static_cast<int>(Send(this, EM_GETFIRSTVISIBLELINE)); }

int CRichEditCtrl::GetLine(int nIndex, LPSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CRichEditCtrl::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength < static_cast<int>(sizeof(WORD)))
        return 0;
    WORD room = static_cast<WORD>(std::min(nMaxLength, 0xFFFF));
    memcpy(lpszBuffer, &room, sizeof room);
    return GetLine(nIndex, lpszBuffer);
}

long CRichEditCtrl::LineFromChar(long nIndex) const { return static_cast<long>(Send(this, EM_EXLINEFROMCHAR, 0, nIndex)); }
int CRichEditCtrl::LineIndex(int nLine) const { return static_cast<int>(Send(this, EM_LINEINDEX, static_cast<WPARAM>(nLine))); }
int CRichEditCtrl::LineLength(int nLine) const { return static_cast<int>(Send(this, EM_LINELENGTH, static_cast<WPARAM>(nLine))); }
void CRichEditCtrl::LineScroll(int nLines, int nChars) { Send(this, EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines); }
void CRichEditCtrl::GetSel(CHARRANGE& cr) const { Send(this, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr{};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(CHARRANGE& cr) { Send(this, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr{static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar)};
    SetSel(cr);
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr{};
    GetSel(cr);
    CString text;
    LPSTR buffer = text.GetBufferSetLength(cr.cpMax - cr.cpMin);
    long n = static_cast<long>(Send(this, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(n);
    return text;
}

long CRichEditCtrl::GetSelText(LPSTR lpBuf) const { return static_cast<long>(Send(this, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(lpBuf))); }
WORD CRichEditCtrl::GetSelectionType() const { return static_cast<WORD>(Send(this, EM_SELECTIONTYPE)); }
long CRichEditCtrl::GetTextLength() const { return static_cast<long>(Send(this, WM_GETTEXTLENGTH)); }

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL bSysColor, COLORREF cr)
{
    return static_cast<COLORREF>(Send(this, EM_SETBKGNDCOLOR, static_cast<WPARAM>(bSysColor), static_cast<LPARAM>(cr)));
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof cf;
    return static_cast<DWORD>(Send(this, EM_GETCHARFORMAT, FALSE, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof cf;
    return static_cast<DWORD>(Send(this, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof cf;
    return static_cast<BOOL>(Send(this, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof cf;
    return static_cast<BOOL>(Send(this, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

long CRichEditCtrl::GetEventMask() const { return static_cast<long>(Send(this, EM_GETEVENTMASK)); }
DWORD CRichEditCtrl::SetEventMask(DWORD dwEventMask) { return static_cast<DWORD>(Send(this, EM_SETEVENTMASK, 0, dwEventMask)); }
void CRichEditCtrl::LimitText(long nChars) { Send(this, EM_EXLIMITTEXT, 0, nChars); }
long CRichEditCtrl::GetLimitText() const { return static_cast<long>(Send(this, EM_GETLIMITTEXT)); }

long CRichEditCtrl::FindText(DWORD dwFlags, FINDTEXTEX* pFindText) const
{
    return static_cast<long>(Send(this, EM_FINDTEXTEX, dwFlags, reinterpret_cast<LPARAM>(pFindText)));
}

void CRichEditCtrl::HideSelection(BOOL bHide, BOOL bPerm) { Send(this, EM_HIDESELECTION, static_cast<WPARAM>(bHide), bPerm); }

void CRichEditCtrl::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo)
{
    Send(this, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(Send(this, EM_SETREADONLY, static_cast<WPARAM>(bReadOnly))); }
long CRichEditCtrl::StreamIn(int nFormat, EDITSTREAM& es) { return static_cast<long>(Send(this, EM_STREAMIN, static_cast<WPARAM>(nFormat), reinterpret_cast<LPARAM>(&es))); }
long CRichEditCtrl::StreamOut(int nFormat, EDITSTREAM& es) { return static_cast<long>(Send(this, EM_STREAMOUT, static_cast<WPARAM>(nFormat), reinterpret_cast<LPARAM>(&es))); }

long CRichEditCtrl::GetTextRange(int nFirst, int nLast, CString& refString) const
{
    if (nLast < nFirst)
        nLast = nFirst;
    TEXTRANGEA tr{{nFirst, nLast}, refString.GetBufferSetLength(nLast - nFirst)};
    long n = static_cast<long>(Send(this, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr)));
    refString.ReleaseBuffer(n);
    return n;
}

void CRichEditCtrl::Clear() { Send(this, WM_CLEAR); }
void CRichEditCtrl::Copy() { Send(this, WM_COPY); }
void CRichEditCtrl::Cut() { Send(this, WM_CUT); }
void CRichEditCtrl::Paste() { Send(this, WM_PASTE); }
BOOL CRichEditCtrl::Undo() { return static_cast<BOOL>(Send(this, EM_UNDO)); }
void CRichEditCtrl::EmptyUndoBuffer() { Send(this, EM_EMPTYUNDOBUFFER); }
