// CAtlasDistCalcEditBox: a place's edit box in the Distance Calculator. After its own key
// handling it tells the panel which place the key was for (0x427: the key, and the key-down flags
// with the place number in the high word); when it takes the focus it names its place (0x428).
#pragma once

#include <afxwin.h>

enum : UINT {
    VLM_DISTCALC_KEY = 0x427,
    VLM_DISTCALC_FOCUS = 0x428,
};

class CAtlasDistCalcEditBox : public CEdit {
    DECLARE_DYNAMIC(CAtlasDistCalcEditBox)
public:
    explicit CAtlasDistCalcEditBox(int nPlace) : m_nPlace(nPlace) {}
    int GetPlace() const { return m_nPlace; }

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    int m_nPlace;
};
