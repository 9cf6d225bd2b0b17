// CUpdateNowButton: the online view's "Update Now" picture button. Its picture is a strip of four
// 54 x 54 cells that it plays in a loop, one cell every 200 ms, for as long as it exists.
#pragma once

#include "widgets/DibButton.h"

class CUpdateNowButton : public CDibButton {
    DECLARE_DYNAMIC(CUpdateNowButton)
public:
    enum { animationTimer = 1, animationPeriod = 200, cellSize = 54, cellCount = 4 };

    CUpdateNowButton();

    // The cell drawn next.
    int GetFrame() const { return m_nFrame; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int m_nFrame = 0;
};
