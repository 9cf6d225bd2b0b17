// MediaTimer: a periodic multimedia timer that posts VLM_MEDIA_TICK (wParam the system time in
// milliseconds, lParam the caller's parameter) to a window, for animation steadier than window
// timers give. The timer's callback runs on the system's timer thread and does nothing but post
// the message, so the target window handles every tick on its own thread.
#pragma once

#include <windows.h>

class MediaTimer {
public:
    // Reads the timer device's capabilities.
    MediaTimer();
    // Stops the timer.
    ~MediaTimer();
    MediaTimer(const MediaTimer&) = delete;
    MediaTimer& operator=(const MediaTimer&) = delete;

    // Starts posting every `nPeriod` ms (with `nResolution` ms accuracy) to the window; FALSE when
    // the system refuses the timer, which then stays stopped with its timer period ended.
    BOOL Start(UINT nPeriod, UINT nResolution, LPARAM lParam, HWND hWndTarget);
    // Stops a running timer; TRUE always (also when it was not running).
    BOOL Stop();
    BOOL IsRunning() const { return m_nTimerId != 0; }
    UINT GetPeriod() const { return m_nPeriod; }
    UINT GetResolution() const { return m_nResolution; }

private:
    static void CALLBACK TimerProc(UINT uTimerID, UINT uMsg, DWORD_PTR dwUser, DWORD_PTR dw1, DWORD_PTR dw2);

    HWND m_hWndTarget = NULL;
    LPARAM m_lParam = 0;
    UINT m_nPeriod = 0;
    UINT m_nResolution = 0;
    UINT m_nTimerId = 0;
    TIMECAPS m_caps{};
};
