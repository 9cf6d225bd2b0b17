// A recording stand-in of the movie library ("QuickTime.qts" in a folder of its own): every call
// succeeds with fixed answers (a 160 x 120 movie, a 16-pixel bar under it) unless the test names
// a call that is to fail (RecordingFail). The client interface records the order of the calls.
#include "QTMLTypes.h"

#include <cstring>
#include <string>

#define QT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string g_failing;
int g_port;
int g_movie;
int g_controller;
bool g_playing = false;
Rect g_box{};

OSErr Result(const char* name)
{
    return g_failing == name ? invalidMovie : noErr;
}

}  // namespace

QT_EXPORT void RecordingFail(const char* name)
{
    g_failing = name ? name : "";
}

QT_EXPORT OSErr InitializeQTML(long) { return noErr; }
QT_EXPORT void TerminateQTML() {}
QT_EXPORT GrafPtr CreatePortAssociation(void*, Ptr, long) { return reinterpret_cast<GrafPtr>(&g_port); }
QT_EXPORT void DestroyPortAssociation(CGrafPtr) {}
QT_EXPORT GrafPtr GetNativeWindowPort(void*) { return reinterpret_cast<GrafPtr>(&g_port); }
QT_EXPORT void SetGWorld(CGrafPtr, GDHandle) {}
QT_EXPORT void WinEventToMacEvent(void*, EventRecord* event) { *event = EventRecord{}; }
QT_EXPORT OSErr EnterMovies() { return noErr; }
QT_EXPORT void ExitMovies() {}
QT_EXPORT OSErr GetMoviesError() { return Result("GetMoviesError"); }
QT_EXPORT OSErr FSMakeFSSpec(short, long, ConstStr255Param name, FSSpec* spec)
{
    std::memcpy(spec->name, name, static_cast<std::size_t>(name[0]) + 1);
    return Result("FSMakeFSSpec");
}
QT_EXPORT OSErr OpenMovieFile(const FSSpec*, short* ref, signed char)
{
    *ref = 7;
    return Result("OpenMovieFile");
}
QT_EXPORT OSErr CloseMovieFile(short) { return Result("CloseMovieFile"); }
QT_EXPORT OSErr NewMovieFromFile(Movie* movie, short, short*, StringPtr, short, Boolean*)
{
    OSErr result = Result("NewMovieFromFile");
    *movie = result == noErr ? reinterpret_cast<Movie>(&g_movie) : nullptr;
    return result;
}
QT_EXPORT void DisposeMovie(Movie) {}
QT_EXPORT void GetMovieBox(Movie, Rect* box) { *box = Rect{0, 0, 120, 160}; }
QT_EXPORT void SetMovieActive(Movie, Boolean) {}
QT_EXPORT long GetMovieDuration(Movie) { return 1000; }
QT_EXPORT long GetMovieTime(Movie) { return 0; }
QT_EXPORT MovieController NewMovieController(Movie, const Rect* box, long)
{
    g_box = *box;
    return reinterpret_cast<MovieController>(&g_controller);
}
QT_EXPORT void DisposeMovieController(MovieController) { g_playing = false; }
QT_EXPORT ComponentResult MCDoAction(MovieController, short action, void* parameter)
{
    if (action == mcActionPlay)
        g_playing = parameter != nullptr;
    if (action == mcActionGetFlags)
        *static_cast<long*>(parameter) = 0;
    return noErr;
}
QT_EXPORT ComponentResult MCGetControllerBoundsRect(MovieController, Rect* bounds)
{
    *bounds = Rect{g_box.top, g_box.left, static_cast<short>(g_box.bottom + 16), g_box.right};
    return noErr;
}
QT_EXPORT ComponentResult MCGetControllerInfo(MovieController, long* flags)
{
    *flags = g_playing ? mcInfoIsPlaying : 0;
    return noErr;
}
QT_EXPORT ComponentResult MCIsPlayerEvent(MovieController, const EventRecord*) { return 0; }
