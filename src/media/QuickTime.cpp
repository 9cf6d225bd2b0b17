#include "media/QuickTime.h"

#include <Movies.h>

namespace {

int g_nReady = 0;

}  // namespace

int StartQuickTime()
{
    if (g_nReady != 0)
        return 1;
    // The client interface loads the movie library; without it every movie feature stays off.
    if (InitializeQTML(0) != noErr)
        return 1;
    EnterMovies();
    g_nReady = 2;
    return 0;
}

void StopQuickTime()
{
    if (g_nReady <= 0)
        return;
    g_nReady = 0;
    ExitMovies();
    TerminateQTML();
}

int QuickTimeReadyFlag()
{
    return g_nReady;
}
