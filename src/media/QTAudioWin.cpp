#include "media/QTAudioWin.h"

#include <mmsystem.h>

#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CQTAudioWin, CQTWin)

CQTAudioWin::CQTAudioWin()
{
    m_bAudio = TRUE;
}

BOOL CQTAudioWin::Create(CWnd* pParent)
{
    return CWnd::Create(NULL, "QTAudioWin", WS_CHILD, CRect(0, 0, 0, 0), pParent, 1);
}

int CQTAudioWin::OpenAndPlay(const char* pszPath)
{
    if (!LoadMovie(pszPath, NULL))
        return 1;
    Play();
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(VLM_STOP_OFF, 0, 1);
    m_bPlaying = TRUE;
    return 0;
}

void CQTAudioWin::StopAndNotify()
{
    Stop();
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(VLM_STOP_OFF, 0, 0);
    m_bPlaying = FALSE;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        GetParent()->PostMessage(MM_MCINOTIFY, 1, 0);
}
