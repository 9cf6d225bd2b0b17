// The application object's shared state: what the profile, data-folder and disc code, the main
// frame and the services keep, in one place that code without an application object (tests)
// reaches too.
//
// The application object (CVLApp) fills it at start-up (the CD-ROM drive list, the disc cache,
// the framework's own profile-file name it keeps aside, the screen, the resource library, the
// palettes and every long-lived service it owns) and empties it at exit; the frame (CBaseWindow)
// answers for its current view. Code outside this pair of files reaches these only through
// AppServices() and the accessors below, so that moving them touches nothing else.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

class CAppHost;
class CAudioPlayer;
class CCloud;
class CDictionarySearchEngine;
class CReference;
class CReferenceFactory;
class CRomLinkTable;
class CStickyRecordSet;
class CThumbnailFactory;
class PreferencesStore;

// What start-up finds out about the machine and the program: the CD-ROM drives and the discs
// found in them, the profile path installed for the framework, the screen, the program folder,
// the resource library and the palettes.
struct VL_APP_ENVIRONMENT {
    // CD-ROM drive roots such as "E:\", in the order the system gives them.
    CStringArray cdromDrives;
    // Disc number to index into cdromDrives, for the disc found there last.
    CMap<WORD, WORD, int, int> discDrives;
    // While the application's profile path is installed as the framework's profile-file name
    // (CWinApp::m_pszProfileName): the framework's own value, and the block of global memory
    // that holds the application's path.
    LPCSTR pszFrameworkProfileName = NULL;
    HGLOBAL hProfilePath = NULL;
    // The primary screen's size and class (0 below 641 pixels wide, 1 from 641 to 1023, 2 from
    // 1024), the program folder with its trailing backslash (empty until start-up stores it), the
    // loaded screen-class resource library (NULL: none), and the three palettes built from the
    // program's RCDATA 131, 130 and 135 (ResourceLibrary.h).
    int nScreenWidth = 0;
    int nScreenHeight = 0;
    int nScreenClass = 0;
    CString strProgramDir;
    HINSTANCE hResourceLibrary = NULL;
    CPalette displayPalette;
    CPalette pagePalette;
    CPalette thirdPalette;
};

// The long-lived services that the application object makes at start-up, owns and deletes at
// exit. NULL while there is none; whoever sets one clears it before deleting it. The database is
// installed with SetAppDatabase.
struct VL_APP_OWNED_SERVICES {
    CRomLinkTable* pSearchEngine = NULL;  // the search engine, seen as its ROM_LINK table
    CReferenceFactory* pReferenceFactory = NULL;
    PreferencesStore* pPreferences = NULL;
    CThumbnailFactory* pThumbnailFactory = NULL;
    CDictionarySearchEngine* pDictionaryEngine = NULL;
    CStickyRecordSet* pStickyNotes = NULL;
    CAudioPlayer* pAudioPlayer = NULL;
    CCloud* pCloud = NULL;
};

// Windows and states of the user interface that others look at (not owned here).
struct VL_APP_UI {
    // The frame's current main view (a CVLMainWin); NULL while there is none.
    CWnd* pCurrentView = NULL;
    // The start-up main-menu window while it exists (it is showing when also visible).
    CWnd* pMainMenuWnd = NULL;
    // F1 opens the help (the application's F1-help flag).
    BOOL bF1Help = FALSE;
    // The media browser's open player window (destroyed by the frame when it goes); NULL: none.
    CWnd* pMediaPlayerWnd = NULL;
    // The movie window that holds the screen palette while it plays (set by the media browser);
    // picture views leave the palette alone meanwhile. NULL: none.
    CWnd* pCurrentMovieWnd = NULL;
};

struct VL_APP_SERVICES {
    VL_APP_ENVIRONMENT env;
    VL_APP_OWNED_SERVICES owned;
    VL_APP_UI ui;
    // The application as host (AppHost.h); NULL: the plain host.
    CAppHost* pHost = NULL;
};

// The one instance.
VL_APP_SERVICES& AppServices();
// The application's reference factory; NULL when there is none.
CReferenceFactory* GetAppReferenceFactory();
// The application's main window (the frame once it exists).
CWnd* GetAppMainWnd();
// The application object's accessors for the screen and the palettes: the screen class (0, 1
// or 2) and size, the page palette (GetAppPalette) and the display palette that paint code
// selects (GetAppDisplayPalette; NULL until start-up has built it).
int GetAppScreenClass();
int GetAppScreenWidth();
int GetAppScreenHeight();
CPalette* GetAppPalette();
CPalette* GetAppDisplayPalette();
// The application's online manager, thumbnail factory and sticky-note store; NULL when none.
CCloud* GetAppCloud();
CThumbnailFactory* GetAppThumbnailFactory();
CStickyRecordSet* GetAppStickyNotes();
// TRUE while the start-up main-menu window exists and is visible.
BOOL IsMainMenuShowing();
// Back to the state at start-up, as a whole: the resource library is freed, then every field is
// made anew (the drive list from the drives there are now, the screen measured again; no disc
// cache, view, services (not deleted: they are their owner's), palettes or host). An installed
// profile path must be taken back first (RestoreFrameworkProfileName).
void ResetAppServices();
