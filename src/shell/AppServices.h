// What the profile, data-folder and disc code of the shell keeps for the application object and
// the main frame, gathered in one place until those exist.
//
// The application object (CVLApp) takes over the CD-ROM drive list, the disc-to-drive cache, the
// framework's own profile-file name it keeps aside while its own is installed, and the
// preferences dialog; the frame (CBaseWindow) answers for its current view. Code outside this
// pair of files reaches these only through AppServices(), so that moving them touches nothing
// else.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

class CReferenceFactory;
class CSearchEngine;

struct VL_APP_SERVICES {
    // CD-ROM drive roots such as "E:\", in the order the system gives them (filled once, when
    // the application object is made: here, at first use).
    CStringArray cdromDrives;
    // Disc number to index into cdromDrives, for the disc found there last.
    CMap<WORD, WORD, int, int> discDrives;
    // The frame's current main view (a CVLMainWin); NULL while there is none.
    CWnd* pCurrentView = NULL;
    // While the application's profile path is installed as the framework's profile-file name
    // (CWinApp::m_pszProfileName): the framework's own value, and the block of global memory
    // that holds the application's path.
    LPCSTR pszFrameworkProfileName = NULL;
    HGLOBAL hProfilePath = NULL;
    // Runs the preferences dialog modally and returns how it ended (IDOK, IDCANCEL ...). NULL: no
    // dialog can be shown, which counts as Cancel.
    int (*pfnPreferencesDialog)() = NULL;
    // Long-lived services that the application object makes at start-up, owns and deletes at
    // exit: the search engine (with the ROM_LINK table that places references) and the
    // reference factory. NULL while there is none; whoever sets one clears it before deleting it.
    CSearchEngine* pSearchEngine = NULL;
    CReferenceFactory* pReferenceFactory = NULL;
};

// The one instance.
VL_APP_SERVICES& AppServices();
// The application's search engine and reference factory; NULL when there is none.
CSearchEngine* GetAppSearchEngine();
CReferenceFactory* GetAppReferenceFactory();
// Back to the state at start-up: the drive list made again from the drives there are now, the
// cache empty, no view, no dialog, no services (not deleted: they are their owner's). An
// installed profile path must be taken back first (RestoreFrameworkProfileName).
void ResetAppServices();
