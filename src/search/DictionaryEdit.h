// CDictionaryEdit: an edit control that hands the keys of moving and leaving to its parent. Every
// WM_KEYDOWN and WM_KEYUP of Tab, Enter, Escape, Page Up, Page Down, End, Home, Up, Down and F2,
// and every WM_CHAR whose character is one of those keys, is posted to the parent with the same
// key and the repeat count and flags packed into lParam; other keys edit as usual. A press that
// gives the control the focus selects all its text. The dictionary pane's entry box and the search
// pane's entry field are made of it.
#pragma once

#include <afxwin.h>

class CDictionaryEdit : public CEdit {
public:
    // Whether a virtual key is one that goes to the parent.
    static BOOL IsForwardedKey(UINT nKey);

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
