// CJustLookingEditListSearch: the FIND panel's search edit. Every key goes through the edit's own
// handling and then on to the parent view (WM_KEYDOWN, the key code, 0), which looks the typed
// text up in the FIND list.
#pragma once

#include <afxwin.h>

class CJustLookingEditListSearch : public CEdit {
    DECLARE_DYNAMIC(CJustLookingEditListSearch)
public:
    CJustLookingEditListSearch();
    ~CJustLookingEditListSearch() override;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
