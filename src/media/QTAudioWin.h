// CQTAudioWin: a hidden child window that plays one sound file and tells its parent
// (MM_MCINOTIFY, wParam 1) when the sound has ended or was stopped.
#pragma once

#include "media/QTWin.h"

class CQTAudioWin : public CQTWin {
    DECLARE_DYNAMIC(CQTAudioWin)
public:
    CQTAudioWin();
    // Tells the main window the sound stopped, stops it, notifies the parent and destroys the
    // window.
    ~CQTAudioWin() override;

    // The hidden child "QTAudioWin" (id 1) under the parent: non-zero on success.
    BOOL Create(CWnd* pParent);
    // Loads the sound and plays it: 0 on success, 1 when it cannot be loaded.
    int OpenAndPlay(const char* pszPath);
    // Stops the sound, tells the main window it stopped and posts MM_MCINOTIFY to the parent.
    void StopAndNotify();

    BOOL IsPlaying() const { return m_bPlaying; }

protected:
    // While the sound plays, the first message that finds it ended stops it and notifies the
    // parent; MM_MCINOTIFY sent to the window itself does the same.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DWORD m_dwReserved = 0;
    BOOL m_bPlaying = FALSE;
};
