// CAtlasEditMapSearch: the edit box of Map Search. After its own handling of a key it tells the
// panel (WM_KEYDOWN posted with the key and lParam 0), which looks the text up when typing
// pauses and opens the place on Enter.
#pragma once

#include <afxwin.h>

class CAtlasEditMapSearch : public CEdit {
    DECLARE_DYNAMIC(CAtlasEditMapSearch)
public:
    CAtlasEditMapSearch();
    ~CAtlasEditMapSearch() override;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
