// CVLPlusButton: the toolbar's VL Plus button, a roll-over button of the online services. One
// instance at a time is named by a program-wide pointer (set by the constructor, cleared by the
// destructor), through which its animation timer reaches it. It follows the online manager's
// state: while connected it plays the connected strip (3 frames, one every fifth tick), while
// downloading the downloading strip (12 frames, every tick); off line it keeps the roll-over
// button's own look. Each strip has three rows: normal, highlighted (or under the cursor) and
// pressed.
#pragma once

#include "widgets/RollOverButton.h"

class CDib;

class CVLPlusButton : public CRollOverButton {
    DECLARE_DYNAMIC(CVLPlusButton)
public:
    // The animation's timer and its period.
    enum { animationTimer = 1, animationPeriod = 110 };

    CVLPlusButton();
    ~CVLPlusButton() override;

    // Frees the old pictures and loads both from resource ids; a picture that cannot be made
    // stays empty (FALSE). Out of memory raises the memory exception.
    BOOL SetBitmaps(UINT nConnectedId, UINT nDownloadingId);
    const CDib* GetConnectedDib() const { return m_pConnected; }
    const CDib* GetDownloadingDib() const { return m_pDownloading; }

    // The online state last reported (1 off line, 2 connected, 3 downloading).
    int GetOnlineState() const { return m_nState; }
    // The frame drawn next and the ticks so far.
    int GetFrameIndex() const { return m_nFrame; }
    int GetTickCount() const { return m_nTicks; }
    BOOL IsAnimating() const { return m_bTimerRunning; }
    // Where the last frame came from in its strip and where it went (empty when none yet).
    const CRect& GetLastSource() const { return m_lastSource; }
    const CRect& GetLastDestination() const { return m_lastDestination; }
    int GetFramesDrawn() const { return m_nFramesDrawn; }

    // One tick of the animation (the timer's work).
    void Tick();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The current instance (NULL when none).
    static CVLPlusButton* GetInstance();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnStateChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FreeDibs();
    static void CALLBACK AnimationProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

    CDib* m_pConnected = NULL;
    CDib* m_pDownloading = NULL;
    int m_nState = 1;
    BOOL m_bPressed = FALSE;
    int m_nFrame = 0;
    int m_nTicks = 0;
    BOOL m_bTimerRunning = FALSE;
    CRect m_lastSource;
    CRect m_lastDestination;
    int m_nFramesDrawn = 0;
};
