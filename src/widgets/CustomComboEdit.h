// CCustomComboEdit: the edit part of CCustomComboDropList. The keys that move about a panel (Tab,
// Enter, Escape, Page Up, Page Down, End, Home, Up, Down and F2) are posted to its parent rather
// than edited, and so are the characters Tab, Enter and Escape; a click selects the whole text.
#pragma once

#include <afxwin.h>

class CCustomComboEdit : public CEdit {
public:
    CCustomComboEdit() = default;

    // Whether a virtual key is one that goes to the owning panel.
    static BOOL IsPanelKey(UINT nKey);

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Posts the message being handled to the parent as it came.
    void PostToParent();
};
