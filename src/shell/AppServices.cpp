#include "shell/AppServices.h"

#include "shell/DataFolders.h"

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
    services.pSearchEngine = NULL;
    services.pReferenceFactory = NULL;
}
