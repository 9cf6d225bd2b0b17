// CIntEdit: an edit that takes a whole number. It filters the characters typed itself: digits and
// backspace always, "+" only as the first character; anything else beeps and is dropped.
//
// CDateCtrl (DateCtrl.h) builds on it for the four-digit year field.
#pragma once

#include <afxwin.h>

class CIntEdit : public CEdit {
public:
    // nKind is the caller's own tag for the field; nLimit the most characters it holds.
    CIntEdit(UINT nKind, UINT nLimit);

    // Keeps the limit and hands it to the edit (EM_LIMITTEXT).
    void SetLimit(UINT nLimit);
    UINT GetLimit() const { return m_nLimit; }
    UINT GetKind() const { return m_nKind; }

    // Shows the number ("%d"; empty for 0), gives the field the focus and leaves the caret at the
    // end of the text with nothing selected.
    void SetValue(int nValue);
    // The number typed (atoi of the text, 0 when empty); kept as the last value.
    virtual int GetValue();
    virtual void GetText(CString& strText);
    // FALSE while the field is empty, else whether the number is at least 1.
    BOOL HasValue();

    // The number of characters in the field, kept in step with typing.
    int GetLength() const { return m_nLength; }
    UINT GetLastChar() const { return m_nLastChar; }

protected:
    // Puts a text in the field as the value's text and leaves the caret at its end.
    void ShowText(const CString& strText);
    // Hands an accepted character to the edit with drawing switched off, then redraws at once.
    void TakeChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    UINT m_nLimit;
    UINT m_nKind;
    int m_nValue = 0;
    UINT m_nLastChar = 0;
    int m_nLength = 0;
};
