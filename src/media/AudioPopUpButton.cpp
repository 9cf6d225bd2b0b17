#include "media/AudioPopUpButton.h"

#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"
#include "media/QTAudioWin.h"

#include <mmsystem.h>

IMPLEMENT_DYNAMIC(CAudioPopUpButton, CDibButton)

namespace {

CQTAudioWin* g_pSharedAudioWin = NULL;

enum { cursorSound = 261 };

const char kQuickTimeError[] =
    "An error has occurred while attempting to play a Quicktime\naudio file.  If this error persists, please "
    "reinstall the\nVeltra Multimedia Encyclopedia to ensure that you\nhave the correct version of Quicktime "
    "installed.\n";

}  // namespace

BEGIN_MESSAGE_MAP(CAudioPopUpButton, CDibButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_DESTROY()
    ON_MESSAGE(MM_MCINOTIFY, OnMciNotify)
END_MESSAGE_MAP()

CAudioPopUpButton::CAudioPopUpButton() = default;

CAudioPopUpButton::~CAudioPopUpButton()
{
    // A sound window of this button goes with it.
    if (g_pSharedAudioWin != NULL && g_pSharedAudioWin->GetSafeHwnd() != NULL &&
        ::GetParent(g_pSharedAudioWin->GetSafeHwnd()) == m_hWnd)
        EndSharedSound();
}

CQTAudioWin* CAudioPopUpButton::GetSharedAudioWin()
{
    return g_pSharedAudioWin;
}

void CAudioPopUpButton::EndSharedSound()
{
    if (g_pSharedAudioWin == NULL)
        return;
    CQTAudioWin* pWin = g_pSharedAudioWin;
    g_pSharedAudioWin = NULL;
    pWin->Destroy();
    delete pWin;
    m_bPlaying = FALSE;
}

void CAudioPopUpButton::OnLButtonDown(UINT, CPoint)
{
    CString strDisabled = GetAppProfileString(VL_PRODUCT_SECTION, "DSC", "");
    if (strDisabled.CompareNoCase("y") == 0) {
        AfxMessageBox("Sounds have been disabled.", MB_OK);
        return;
    }
    ::ReleaseCapture();
    if (g_pSharedAudioWin != NULL) {
        EndSharedSound();
        return;
    }
    auto* pWin = new CQTAudioWin;
    if (pWin->Create(this)) {
        g_pSharedAudioWin = pWin;
        ::SetCursor(LoadProgramCursor(cursorSound, IDC_ARROW));
        SetCapture();
        // A sound file that does not open or play ends here too, with the same message: the
        // button must not keep the mouse for a sound that never ends.
        if (pWin->OpenAndPlay(m_strPath) == 0) {
            m_bPlaying = TRUE;
            return;
        }
        ::ReleaseCapture();
        g_pSharedAudioWin = NULL;
        pWin->Destroy();
    }
    delete pWin;
    MessageBox(kQuickTimeError, "VL99 - Quicktime Error", MB_OK);
}

void CAudioPopUpButton::OnLButtonUp(UINT, CPoint)
{
    // The press is handled on the way down; the button keeps the mouse while its sound plays.
}

void CAudioPopUpButton::OnDestroy()
{
    if (g_pSharedAudioWin != NULL && g_pSharedAudioWin->GetSafeHwnd() != NULL &&
        ::GetParent(g_pSharedAudioWin->GetSafeHwnd()) == m_hWnd)
        EndSharedSound();
    CDibButton::OnDestroy();
}

LRESULT CAudioPopUpButton::OnMciNotify(WPARAM wParam, LPARAM)
{
    if (wParam == 1 || wParam == 8) {
        if (GetCapture() == this)
            ::ReleaseCapture();
        EndSharedSound();
    }
    return 0;
}
