#include "widgets/MediaTimer.h"

#include "base/VLMessages.h"

MediaTimer::MediaTimer()
{
    if (timeGetDevCaps(&m_caps, sizeof(m_caps)) != TIMERR_NOERROR) {
        m_caps.wPeriodMin = 1;
        m_caps.wPeriodMax = 1000000;
    }
}

MediaTimer::~MediaTimer()
{
    Stop();
}

BOOL MediaTimer::Start(UINT nPeriod, UINT nResolution, LPARAM lParam, HWND hWndTarget)
{
    // A timer already running is replaced, so that its period is never begun twice.
    Stop();
    m_nPeriod = nPeriod;
    m_nResolution = nResolution;
    m_lParam = lParam;
    m_hWndTarget = hWndTarget;
    timeBeginPeriod(m_caps.wPeriodMin);
    m_nTimerId = timeSetEvent(nPeriod, nResolution, &MediaTimer::TimerProc, reinterpret_cast<DWORD_PTR>(this),
                              TIME_PERIODIC);
    if (m_nTimerId == 0) {
        timeEndPeriod(m_caps.wPeriodMin);
        return FALSE;
    }
    return TRUE;
}

BOOL MediaTimer::Stop()
{
    if (m_nTimerId != 0) {
        timeKillEvent(m_nTimerId);
        m_nTimerId = 0;
        timeEndPeriod(m_caps.wPeriodMin);
    }
    return TRUE;
}

void CALLBACK MediaTimer::TimerProc(UINT, UINT, DWORD_PTR dwUser, DWORD_PTR, DWORD_PTR)
{
    auto* pTimer = reinterpret_cast<MediaTimer*>(dwUser);
    if (pTimer != NULL)
        ::PostMessage(pTimer->m_hWndTarget, VLM_MEDIA_TICK, static_cast<WPARAM>(timeGetTime()), pTimer->m_lParam);
}
