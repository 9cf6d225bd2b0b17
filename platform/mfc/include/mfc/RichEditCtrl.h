// CRichEditCtrl: a rich edit control (the class that "RICHED32.DLL" registers; the library
// must be loaded first). The members send the control's EM_ messages.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <mfc/String.h>
#include <mfc/Wnd.h>

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL CanUndo() const;
    BOOL CanPaste(UINT nFormat = 0) const;
    int GetLineCount() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    void GetRect(LPRECT lpRect) const;
    void SetRect(LPCRECT lpRect);
    CPoint GetCharPos(long lChar) const;
    int GetFirstVisibleLine() const;
    // The line's text with its paragraph end; nMaxLength bytes at most, not terminated when full.
    int GetLine(int nIndex, LPSTR lpszBuffer) const;
    int GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const;
    long LineFromChar(long nIndex) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    void LineScroll(int nLines, int nChars = 0);
    void GetSel(CHARRANGE& cr) const;
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(CHARRANGE& cr);
    void SetSel(long nStartChar, long nEndChar);
    CString GetSelText() const;
    long GetSelText(LPSTR lpBuf) const;
    WORD GetSelectionType() const;
    long GetTextLength() const;
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr);
    DWORD GetDefaultCharFormat(CHARFORMAT& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMAT& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMAT& cf);
    BOOL SetSelectionCharFormat(CHARFORMAT& cf);
    long GetEventMask() const;
    DWORD SetEventMask(DWORD dwEventMask);
    void LimitText(long nChars = 0);
    long GetLimitText() const;
    long FindText(DWORD dwFlags, FINDTEXTEX* pFindText) const;
    void HideSelection(BOOL bHide, BOOL bPerm);
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    long StreamIn(int nFormat, EDITSTREAM& es);
    long StreamOut(int nFormat, EDITSTREAM& es);
    long GetTextRange(int nFirst, int nLast, CString& refString) const;

    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL Undo();
    void EmptyUndoBuffer();
};

#define ON_EN_SELCHANGE(id, memberFxn) ON_NOTIFY(EN_SELCHANGE, id, memberFxn)
