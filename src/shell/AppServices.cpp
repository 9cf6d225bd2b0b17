#include "shell/AppServices.h"

#include "shell/DataFolders.h"
#include "shell/ResourceLibrary.h"

VL_APP_SERVICES& AppServices()
{
    // Never destroyed: static destructors of other objects may still ask for it.
    static VL_APP_SERVICES* pServices = [] {
        VL_APP_SERVICES* p = new VL_APP_SERVICES;
        BuildCDRomDriveList(p->cdromDrives, IsWin32s());
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
    return &AppServices().displayPalette;
}

CSearchEngine* GetAppSearchEngine()
{
    return AppServices().pSearchEngine;
}

CReferenceFactory* GetAppReferenceFactory()
{
    return AppServices().pReferenceFactory;
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
}
