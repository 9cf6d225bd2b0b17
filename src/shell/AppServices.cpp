#include "shell/AppServices.h"

#include "shell/DataFolders.h"

VL_APP_SERVICES& AppServices()
{
    // Never destroyed: static destructors of other objects may still ask for it.
    static VL_APP_SERVICES* pServices = [] {
        VL_APP_SERVICES* p = new VL_APP_SERVICES;
        BuildCDRomDriveList(p->cdromDrives, IsWin32s());
        p->nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        p->nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
        p->nScreenClass = ScreenClassOfWidth(p->nScreenWidth);
        return p;
    }();
    return *pServices;
}

CSearchEngine* GetAppSearchEngine()
{
    return AppServices().pSearchEngine;
}

CReferenceFactory* GetAppReferenceFactory()
{
    return AppServices().pReferenceFactory;
}

CWnd* GetAppMainWnd()
{
    return AfxGetMainWnd();
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

CPalette* GetAppDisplayPalette()
{
    return AppServices().pDisplayPalette;
}

BOOL IsMainMenuShowing()
{
    CWnd* pMenu = AppServices().pMainMenuWnd;
    return pMenu != NULL && pMenu->GetSafeHwnd() != NULL && pMenu->IsWindowVisible();
}

int ScreenClassOfWidth(int nWidth)
{
    return nWidth < 641 ? 0 : nWidth < 1024 ? 1 : 2;
}

void ResetAppServices()
{
    VL_APP_SERVICES& services = AppServices();
    ASSERT(services.hProfilePath == NULL);
    BuildCDRomDriveList(services.cdromDrives, IsWin32s());
    services.discDrives.RemoveAll();
    services.pCurrentView = NULL;
    services.pfnPreferencesDialog = NULL;
    services.pSearchEngine = NULL;
    services.pReferenceFactory = NULL;
    services.nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    services.nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    services.nScreenClass = ScreenClassOfWidth(services.nScreenWidth);
    services.pDisplayPalette = NULL;
    services.hResourceLibrary = NULL;
    services.pMainMenuWnd = NULL;
    services.bF1Help = FALSE;
    services.pfnWinHelp = NULL;
    services.pfnRefreshOnlineState = NULL;
    services.pfnCloseTimelineViewer = NULL;
    services.pMediaPlayerWnd = NULL;
}
