// CDigitEdit: an edit control of the forms that takes only the digits 0 to 9 and backspace; any
// other character beeps and is dropped.
#pragma once

#include <afxwin.h>

class CDigitEdit : public CEdit {
    DECLARE_DYNAMIC(CDigitEdit)
public:
    CDigitEdit() = default;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
