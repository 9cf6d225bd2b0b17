#include "media/QTAudioWin.h"

#include <mmsystem.h>

#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CQTAudioWin, CQTWin)

namespace {

void PostToMain(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(VLM_STOP_OFF, wParam, lParam);
}

}  // namespace

CQTAudioWin::CQTAudioWin()
{
    m_bAudio = TRUE;
}

CQTAudioWin::~CQTAudioWin()
{
    PostToMain(0, 0);
    m_bPlaying = FALSE;
    StopAndNotify();
    Destroy();
}

BOOL CQTAudioWin::Create(CWnd* pParent)
{
    BOOL bCreated = CWnd::Create(NULL, "QTAudioWin", WS_CHILD, CRect(0, 0, 0, 0), pParent, 1);
    if (bCreated)
        CreatePortAssociation(m_hWnd, NULL, 0);
    return bCreated;
}

int CQTAudioWin::OpenAndPlay(const char* pszPath)
{
    if (!LoadMovie(pszPath, NULL))
        return 1;
    Play();
    PostToMain(0, 1);
    m_bPlaying = TRUE;
    return 0;
}

void CQTAudioWin::StopAndNotify()
{
    Stop();
    PostToMain(0, 0);
    m_bPlaying = FALSE;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(MM_MCINOTIFY, 1, 0);
    }
}

LRESULT CQTAudioWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bPlaying && m_hController != NULL) {
        long nInfo = 0;
        if (MCGetControllerInfo(m_hController, &nInfo) == noErr && (nInfo & mcInfoIsPlaying) == 0)
            StopAndNotify();
    }
    if (message == MM_MCINOTIFY)
        StopAndNotify();
    return CQTWin::WindowProc(message, wParam, lParam);
}
