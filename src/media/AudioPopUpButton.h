// CAudioPopUpButton: a small bitmap button that plays a sound item's movie-library sound file.
// A click starts the sound (in the one sound window that all these buttons share, made as the
// button's child) and holds the mouse, so that the next click anywhere stops it; the end of the
// sound (MM_MCINOTIFY from the sound window) releases everything.
#pragma once

#include "widgets/DibButton.h"

class CQTAudioWin;

class CAudioPopUpButton : public CDibButton {
    DECLARE_DYNAMIC(CAudioPopUpButton)
public:
    CAudioPopUpButton();
    ~CAudioPopUpButton() override;

    void SetPath(const char* pszPath) { m_strPath = pszPath != NULL ? pszPath : ""; }
    const CString& GetPath() const { return m_strPath; }
    BOOL IsPlaying() const { return m_bPlaying; }

    // The sound window that the buttons share; NULL when no sound plays.
    static CQTAudioWin* GetSharedAudioWin();

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Destroys and forgets the shared sound window.
    void EndSharedSound();

    CDibButton m_button;
    CWnd m_wnd;
    CRect m_rect1{0, 0, 0, 0};
    CRect m_rect2{0, 0, 0, 0};
    CString m_strPath;
    BOOL m_bPlaying = FALSE;
};
