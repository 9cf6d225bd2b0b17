// CDateCtrl: a four-digit field (a year) whose digits step up and down with carry: stepping the
// last digit of "1999" up gives "2000", of "0000" down gives "9999". Enter asks the parent to act
// on the value (WM_COMMAND DATECTRL_ENTER); digits and backspace are typed, anything else beeps.
#pragma once

#include "widgets/IntEdit.h"

// The command the field sends its parent on Enter (wParam, with lParam 0).
#define DATECTRL_ENTER 19004

class CDateCtrl : public CIntEdit {
public:
    CDateCtrl();

    // Shows the value with four digits ("%04u"), then as CIntEdit::SetValue.
    void SetValue(UINT nValue);
    // The digit at a position, 0 when that character is no digit (or there is none).
    virtual int GetDigit(int nPos);
    // Puts the digit at a position (a position outside the text does nothing) and leaves the
    // caret at the end of the text.
    virtual void SetDigit(int nDigit, int nPos);
    // Steps the digit at nPos up; a 9 becomes 0 and carries into the digit before it.
    void IncrementDigit(int nPos);
    // Steps the digit at nPos down; a 0 becomes 9 and borrows from the digit before it.
    void DecrementDigit(int nPos);
    // Whether the field holds something.
    BOOL IsValid();

    UINT GetFieldKind() const { return m_nFieldKind; }

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    UINT m_nFieldKind = 3;
};
