#include "media/QuickTime.h"

namespace {

// The client library's entry points used at start and end.
typedef LONG(WINAPI* PFN_INITIALIZE_QTML)(LONG flags);
typedef void(WINAPI* PFN_TERMINATE_QTML)();
typedef LONG(WINAPI* PFN_ENTER_MOVIES)();
typedef void(WINAPI* PFN_EXIT_MOVIES)();

int g_nReady = 0;
HMODULE g_hClient = NULL;
PFN_TERMINATE_QTML g_pfnTerminate = NULL;
PFN_EXIT_MOVIES g_pfnExitMovies = NULL;

}  // namespace

int StartQuickTime()
{
    if (g_nReady != 0)
        return 1;
    HMODULE hClient = ::LoadLibrary("QuickTime.qts");
    if (hClient == NULL)
        return 1;
    auto pfnInitialize = reinterpret_cast<PFN_INITIALIZE_QTML>(::GetProcAddress(hClient, "InitializeQTML"));
    auto pfnTerminate = reinterpret_cast<PFN_TERMINATE_QTML>(::GetProcAddress(hClient, "TerminateQTML"));
    auto pfnEnterMovies = reinterpret_cast<PFN_ENTER_MOVIES>(::GetProcAddress(hClient, "EnterMovies"));
    auto pfnExitMovies = reinterpret_cast<PFN_EXIT_MOVIES>(::GetProcAddress(hClient, "ExitMovies"));
    if (pfnInitialize == NULL || pfnTerminate == NULL || pfnEnterMovies == NULL || pfnExitMovies == NULL ||
        pfnInitialize(0) != 0) {
        ::FreeLibrary(hClient);
        return 1;
    }
    pfnEnterMovies();
    g_hClient = hClient;
    g_pfnTerminate = pfnTerminate;
    g_pfnExitMovies = pfnExitMovies;
    g_nReady = 2;
    return 0;
}

void StopQuickTime()
{
    if (g_nReady <= 0)
        return;
    g_nReady = 0;
    g_pfnExitMovies();
    g_pfnTerminate();
    ::FreeLibrary(g_hClient);
    g_hClient = NULL;
    g_pfnTerminate = NULL;
    g_pfnExitMovies = NULL;
}

int QuickTimeReadyFlag()
{
    return g_nReady;
}
