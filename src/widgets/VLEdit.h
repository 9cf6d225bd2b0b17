// CVLEdit: an edit whose Enter key presses the parent's OK (WM_COMMAND IDOK), for word fields
// that sit in the program's own panels rather than in a dialog (the find window's word field).
#pragma once

#include <afxwin.h>

class CVLEdit : public CEdit {
    DECLARE_DYNAMIC(CVLEdit)
public:
    CVLEdit() = default;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
