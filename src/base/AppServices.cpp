#include "base/AppServices.h"

#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"


VL_APP_SERVICES& AppServices()
{
    // Never destroyed: static destructors of other objects may still ask for it.
    static VL_APP_SERVICES* pServices = [] {
        VL_APP_SERVICES* p = new VL_APP_SERVICES;
        BuildCDRomDriveList(p->cdromDrives, IsWin32s());
        p->nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        p->nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        p->nScreenClass = ScreenClassFromWidth(p->nScreenWidth);
        return p;
    }();
    return *pServices;
}

int GetAppScreenClass()
{
    return AppServices().nScreenClass;
}

int GetAppScreenWidth()
{
    return AppServices().nScreenWidth;
}

int GetAppScreenHeight()
{
    return AppServices().nScreenHeight;
}

CPalette* GetAppPalette()
{
    return &AppServices().pagePalette;
}

CPalette* GetAppDisplayPalette()
{
    CPalette& palette = AppServices().displayPalette;
    return palette.GetSafeHandle() != NULL ? &palette : NULL;
}

CReferenceFactory* GetAppReferenceFactory()
{
    return AppServices().pReferenceFactory;
}

CCloud* GetAppCloud()
{
    return AppServices().pCloud;
}

CThumbnailFactory* GetAppThumbnailFactory()
{
    return AppServices().pThumbnailFactory;
}

CStickyRecordSet* GetAppStickyNotes()
{
    return AppServices().pStickyNotes;
}

CWnd* GetAppMainWnd()
{
    return AfxGetMainWnd();
}

BOOL IsMainMenuShowing()
{
    CWnd* pMenu = AppServices().pMainMenuWnd;
    return pMenu != NULL && pMenu->GetSafeHwnd() != NULL && pMenu->IsWindowVisible();
}

void ResetAppServices()
{
    VL_APP_SERVICES& services = AppServices();
    ASSERT(services.hProfilePath == NULL);
    BuildCDRomDriveList(services.cdromDrives, IsWin32s());
    services.discDrives.RemoveAll();
    services.pCurrentView = NULL;
    services.pfnPreferencesDialog = NULL;
    services.nScreenWidth = services.nScreenHeight = services.nScreenClass = 0;
    services.strProgramDir.Empty();
    FreeResourceLibrary();
    services.displayPalette.DeleteObject();
    services.pagePalette.DeleteObject();
    services.thirdPalette.DeleteObject();
    services.pSearchEngine = NULL;
    services.pReferenceFactory = NULL;
    services.pPreferences = NULL;
    services.pThumbnailFactory = NULL;
    services.pDictionaryEngine = NULL;
    services.pStickyNotes = NULL;
    services.pAudioPlayer = NULL;
    services.pCloud = NULL;
    services.pfnFirstRunAgreements = NULL;
    services.nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    services.nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    services.nScreenClass = ScreenClassFromWidth(services.nScreenWidth);
    services.pMainMenuWnd = NULL;
    services.bF1Help = FALSE;
    services.pfnWinHelp = NULL;
    services.pfnRefreshOnlineState = NULL;
    services.pfnCloseTimelineViewer = NULL;
    services.pfnPassToTimelineViewer = NULL;
    services.pMediaPlayerWnd = NULL;
    services.pCurrentMovieWnd = NULL;
    services.pfnCollapseToolkit = NULL;
}
