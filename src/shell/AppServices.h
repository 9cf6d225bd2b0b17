// What the profile, data-folder and disc code of the shell needs of the application object and
// of the main frame, gathered in one place until those exist.
//
// The application object (CVLApp) takes over the CD-ROM drive list, the disc-to-drive cache and
// the profile-file name it installs in the framework (CWinApp::m_pszProfileName, with the
// framework's own value kept aside); the frame (CBaseWindow) answers for its current view. The
// framework stand-ins below (profile read and write, message box, wait cursor) become the class
// library's CWinApp::GetProfileString/WriteProfileString, AfxMessageBox and CWaitCursor. Code
// outside this pair of files reaches these only through the functions declared here, so that
// replacing them touches nothing else.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>
#include <windows.h>

struct VL_APP_SERVICES {
    // CD-ROM drive roots such as "E:\", in the order the system gives them (filled once, when
    // the application object is made: here, at first use).
    CStringArray cdromDrives;
    // Disc number to index into cdromDrives, for the disc found there last.
    CMap<WORD, WORD, int, int> discDrives;
    // The main frame and its current view (a CVLMainWin); NULL while there is none.
    HWND hMainWnd = NULL;
    HWND hCurrentView = NULL;
    // The framework's profile-file name (CWinApp::m_pszProfileName): the application's INI file
    // once InstallAppProfilePath has run, else the framework's own value.
    LPCSTR pszProfileName = NULL;
    // The application object's keeping: the framework's own value while the application's is
    // installed, and the block of global memory that holds the application's path.
    LPCSTR pszFrameworkProfileName = NULL;
    HGLOBAL hProfilePath = NULL;
    // Runs the preferences dialog modally and returns how it ended (IDOK, IDCANCEL ...). NULL: no
    // dialog can be shown, which counts as Cancel.
    int (*pfnPreferencesDialog)() = NULL;
};

// The one instance.
VL_APP_SERVICES& AppServices();
// Back to the state at start-up: the drive list made again from the drives there are now, the
// cache empty, no windows, no hook, and the framework's own profile name (an installed path's
// block is freed).
void ResetAppServices();

// The framework's profile read and write on the profile file (CWinApp::GetProfileString and
// CWinApp::WriteProfileString): a null default reads as empty.
CString AppFrameworkGetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault);
BOOL AppFrameworkWriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
// The framework's profile-file name before the application installs its own: the program's
// name with ".INI" (a file in the Windows folder).
CString AppFrameworkDefaultProfileName();

// The framework's message box (AfxMessageBox): owned by the main frame, captioned with the
// application's title.
int AppMessageBox(LPCSTR lpszText, UINT nType = MB_OK);

// The hourglass while it lives (CWaitCursor).
class CAppWaitCursor {
public:
    CAppWaitCursor();
    ~CAppWaitCursor();
    CAppWaitCursor(const CAppWaitCursor&) = delete;
    CAppWaitCursor& operator=(const CAppWaitCursor&) = delete;

private:
    HCURSOR m_hOldCursor;
};
