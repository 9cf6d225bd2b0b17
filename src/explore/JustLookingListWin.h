// CJustLookingListWin: the browsing view's content list, an owner-drawn tree list (a selected
// row white on black, others black on the list's background). A change of the selected row
// notifies the parent with TVN_SELCHANGED; a double click sends the parent WM_COMMAND with the
// list's control id and LBN_DBLCLK.
#pragma once

#include "widgets/VLListWindow.h"

class CJustLookingListWin : public CVLListWindow {
    DECLARE_DYNCREATE(CJustLookingListWin)
public:
    CJustLookingListWin();
    ~CJustLookingListWin() override;

protected:
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
