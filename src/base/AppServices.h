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

class CAudioPlayer;
class CCloud;
class CDictionarySearchEngine;
class CReference;
class CReferenceFactory;
class CRomLinkTable;
class CStickyRecordSet;
class CThumbnailFactory;
class PreferencesStore;

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
    CRomLinkTable* pSearchEngine = NULL;  // the search engine, seen as its ROM_LINK table
    CReferenceFactory* pReferenceFactory = NULL;
    // The application object's other long-lived services (the same rule): the preferences
    // store, the thumbnail factory, the dictionary engine, the sticky-note store, the sound
    // player and the online manager. The database is installed with SetAppDatabase.
    PreferencesStore* pPreferences = NULL;
    CThumbnailFactory* pThumbnailFactory = NULL;
    CDictionarySearchEngine* pDictionaryEngine = NULL;
    CStickyRecordSet* pStickyNotes = NULL;
    CAudioPlayer* pAudioPlayer = NULL;
    CCloud* pCloud = NULL;
    // The first run's two agreements (the proof-of-entitlement notice, then the licence
    // agreement), shown modally over the parent; IDOK when both ended with OK. The application
    // object installs RunFirstRunAgreements; NULL: no agreements to show, the first run goes on.
    int (*pfnFirstRunAgreements)(CWnd* pParent) = NULL;
    // The start-up main-menu window while it exists (it is showing when also visible).
    CWnd* pMainMenuWnd = NULL;
    // F1 opens the help (the application's F1-help flag).
    BOOL bF1Help = FALSE;
    // The application's help (the framework's WinHelp: context or contents); NULL: no help.
    void (*pfnWinHelp)(DWORD_PTR dwData, UINT nCmd) = NULL;
    // The online manager's connection-state refresh, run when the frame becomes active; NULL:
    // no online manager.
    void (*pfnRefreshOnlineState)() = NULL;
    // Tells the running timeline viewer program to close when it accepts automation; NULL: none.
    void (*pfnCloseTimelineViewer)() = NULL;
    // Gives a running timeline viewer that accepts automation the text (its property 1; NULL: none); FALSE when none runs.
    BOOL (*pfnPassToTimelineViewer)(LPCSTR lpszText) = NULL;
    // The media browser's open player window (destroyed by the frame when it goes); NULL: none.
    CWnd* pMediaPlayerWnd = NULL;
    // The movie window that holds the screen palette while it plays (set by the media browser);
    // picture views leave the palette alone meanwhile. NULL: none.
    CWnd* pCurrentMovieWnd = NULL;
    // Collapses the frame's Tool Kit (set by the frame while it has one); a floating panel that
    // shows calls it. NULL: no Tool Kit.
    void (*pfnCollapseToolkit)() = NULL;
    // The online manager's fetch of an item whose file is not on hand (CCloud's
    // OpenOnlineResource, until the online manager exists): non-zero when the file is then
    // available. NULL: nothing can be fetched.
    BOOL (*pfnOpenOnlineResource)(CReference* pReference, int nFlags) = NULL;
    // Start-up's screen, resource library and palettes (ResourceLibrary.h): the primary screen's
    // size and class (0 below 641 pixels wide, 1 from 641 to 1023, 2 from 1024; measured again by
    // ResetAppServices), the program folder with its trailing backslash (empty until start-up
    // stores it), the loaded screen-class resource library (NULL: none), and the three palettes
    // built from the program's RCDATA 131, 130 and 135.
    int nScreenWidth = 0;
    int nScreenHeight = 0;
    int nScreenClass = 0;
    CString strProgramDir;
    HINSTANCE hResourceLibrary = NULL;
    CPalette displayPalette;
    CPalette pagePalette;
    CPalette thirdPalette;
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
// Back to the state at start-up: the drive list made again from the drives there are now, the
// cache empty, no view, no dialog, no services (not deleted: they are their owner's), no screen
// size, resource library (freed) or palettes (deleted). An installed profile path must be taken
// back first (RestoreFrameworkProfileName).
void ResetAppServices();
