#include "base/AppServices.h"

#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"


#include <new>

namespace {

// Fills what start-up knows before anything is asked: the drives and the screen.
void MeasureEnvironment(VL_APP_ENVIRONMENT& env)
{
    BuildCDRomDriveList(env.cdromDrives, IsWin32s());
    env.nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    env.nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    env.nScreenClass = ScreenClassFromWidth(env.nScreenWidth);
}

VL_APP_SERVICES* g_pServices = NULL;

}  // namespace

VL_APP_SERVICES& AppServices()
{
    // Never destroyed: static destructors of other objects may still ask for it.
    if (g_pServices == NULL) {
        g_pServices = new VL_APP_SERVICES;
        MeasureEnvironment(g_pServices->env);
    }
    return *g_pServices;
}

int GetAppScreenClass()
{
    return AppServices().env.nScreenClass;
}

int GetAppScreenWidth()
{
    return AppServices().env.nScreenWidth;
}

int GetAppScreenHeight()
{
    return AppServices().env.nScreenHeight;
}

CPalette* GetAppPalette()
{
    return &AppServices().env.pagePalette;
}

CPalette* GetAppDisplayPalette()
{
    CPalette& palette = AppServices().env.displayPalette;
    return palette.GetSafeHandle() != NULL ? &palette : NULL;
}

CReferenceFactory* GetAppReferenceFactory()
{
    return AppServices().owned.pReferenceFactory;
}

CCloud* GetAppCloud()
{
    return AppServices().owned.pCloud;
}

CThumbnailFactory* GetAppThumbnailFactory()
{
    return AppServices().owned.pThumbnailFactory;
}

CStickyRecordSet* GetAppStickyNotes()
{
    return AppServices().owned.pStickyNotes;
}

CWnd* GetAppMainWnd()
{
    return AfxGetMainWnd();
}

BOOL IsMainMenuShowing()
{
    CWnd* pMenu = AppServices().ui.pMainMenuWnd;
    return pMenu != NULL && pMenu->GetSafeHwnd() != NULL && pMenu->IsWindowVisible();
}

void ResetAppServices()
{
    VL_APP_SERVICES& services = AppServices();
    ASSERT(services.env.hProfilePath == NULL);
    FreeResourceLibrary();
    // Made anew in its own place, so that references to it stay good.
    services.~VL_APP_SERVICES();
    new (&services) VL_APP_SERVICES;
    MeasureEnvironment(services.env);
    DataFoldersChanged();
}
