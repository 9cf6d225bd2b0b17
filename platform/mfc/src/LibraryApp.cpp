// A code library's own application object: LoadLibrary runs its InitInstance in the library's
// module state (FALSE fails the load), FreeLibrary its ExitInstance.
#include <afxwin.h>

#include <host/LibraryEntry.h>

#include "LibraryAppInternal.h"

namespace {

CWinApp* AppOf(HMODULE module, AFX_MODULE_STATE*& state)
{
    state = AfxModuleStateOfAddress(reinterpret_cast<const void*>(module));
    return state != AfxGetAppModuleState() ? mfc::LibraryApp(state) : NULL;
}

BOOL AttachLibrary(HMODULE module)
{
    AFX_MODULE_STATE* state = NULL;
    CWinApp* app = AppOf(module, state);
    if (app == NULL)
        return TRUE;
    AFX_MANAGE_STATE(state);
    app->m_hInstance = module;
    if (app->InitInstance())
        return TRUE;
    app->ExitInstance();
    return FALSE;
}

void DetachLibrary(HMODULE module)
{
    AFX_MODULE_STATE* state = NULL;
    if (CWinApp* app = AppOf(module, state)) {
        AFX_MANAGE_STATE(state);
        app->ExitInstance();
    }
}

const bool g_hooksInstalled = (host::SetLibraryEntryHooks(&AttachLibrary, &DetachLibrary), true);

}  // namespace
