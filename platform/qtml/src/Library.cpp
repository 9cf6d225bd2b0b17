// The movie library ("QuickTime.qts"): ports over native windows, movie files read whole by
// the decoder, and controllers that play them on the platform's clock, draw into their window
// through the GDI and send their sound to the platform's sound output. Exported with C names
// (see QTMLEntries.h); the client interface binds them by name.
#include "MovieDecoder.h"

#include "QTMLTypes.h"

#include <host/Paths.h>

#include <mmsound.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#define QT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr UINT_PTR kTimerId = 0x5154;
constexpr UINT kTimerMs = 20;
constexpr int kBarHeight = 16;
constexpr int kSoundBarWidth = 160;

struct Port {
    HWND window = NULL;
};

struct MovieRec {
    qtml::DecodedMovie data;
    Port* port = nullptr;
    bool active = false;
    bool playing = false;
    Fixed rate = 0;
    DWORD startTick = 0;  // the platform's tick count when playing started
    long startTime = 0;
    long time = 0;
    bool soundStarted = false;
    int pan = 0;  // panorama: left edge of the view in the picture
};

struct ControllerRec {
    MovieRec* movie = nullptr;
    Rect box{};
    Rect growBox{};
    long flags = 0;  // the flags of mcActionGetFlags / mcActionSetFlags
    long creationFlags = 0;
    bool timer = false;
    int shownFrame = -1;
    bool dragging = false;
    int dragX = 0;
    int dragPan = 0;
};

struct Library {
    bool entered = false;
    std::map<HWND, std::unique_ptr<Port>> ports;
    Port* current = nullptr;
    std::map<short, std::string> files;
    short nextFile = 1;
    std::map<MovieRec*, std::unique_ptr<MovieRec>> movies;
    std::map<ControllerRec*, std::unique_ptr<ControllerRec>> controllers;
    OSErr error = noErr;
};

Library& Lib()
{
    static Library library;  // goes with the library when it is unloaded
    return library;
}

MovieRec* FindMovie(Movie movie)
{
    auto it = Lib().movies.find(reinterpret_cast<MovieRec*>(movie));
    return it == Lib().movies.end() ? nullptr : it->second.get();
}

ControllerRec* FindController(MovieController controller)
{
    auto it = Lib().controllers.find(reinterpret_cast<ControllerRec*>(controller));
    return it == Lib().controllers.end() ? nullptr : it->second.get();
}

Port* FindPort(GrafPtr port)
{
    for (auto& [window, p] : Lib().ports)
        if (reinterpret_cast<GrafPtr>(p.get()) == port)
            return p.get();
    return nullptr;
}

DWORD Now()
{
    return ::GetTickCount();
}

void StopSound(MovieRec& m)
{
    if (m.soundStarted)
        ::sndPlaySound(NULL, 0);
    m.soundStarted = false;
}

// The sound from the movie's time on, as a WAVE image handed to the platform's sound output.
void StartSound(MovieRec& m)
{
    const qtml::DecodedMovie& d = m.data;
    if (d.samples.empty() || m.rate != 0x10000)
        return;
    std::size_t first = static_cast<std::size_t>(static_cast<std::int64_t>(m.time) * d.sampleRate / 1000) * d.channels;
    if (first >= d.samples.size())
        return;
    // A RIFF file counts its sizes in 32 bits: a longer rest of the sound is not played.
    const std::size_t sampleBytes = (d.samples.size() - first) * 2;
    if (sampleBytes > 0xFFFFFFFFu - 44)
        return;
    const std::uint32_t bytes = static_cast<std::uint32_t>(sampleBytes);
    std::vector<BYTE> wave(std::size_t{44} + sampleBytes);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wave[at + i] = BYTE(v >> (8 * i));
    };
    auto put16 = [&](std::size_t at, unsigned v) {
        wave[at] = BYTE(v);
        wave[at + 1] = BYTE(v >> 8);
    };
    std::memcpy(&wave[0], "RIFF", 4);
    put32(4, 36 + bytes);
    std::memcpy(&wave[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, static_cast<unsigned>(d.channels));
    put32(24, static_cast<std::uint32_t>(d.sampleRate));
    put32(28, static_cast<std::uint32_t>(d.sampleRate * d.channels * 2));
    put16(32, static_cast<unsigned>(d.channels * 2));
    put16(34, 16);
    std::memcpy(&wave[36], "data", 4);
    put32(40, bytes);
    for (std::size_t i = 0; i < d.samples.size() - first; ++i)
        put16(44 + i * 2, static_cast<std::uint16_t>(d.samples[first + i]));
    m.soundStarted = ::sndPlaySound(reinterpret_cast<LPCSTR>(wave.data()), SND_ASYNC | SND_MEMORY | SND_NODEFAULT) != FALSE;
}

// Brings the movie's time up to the clock; a movie that reaches its end stops there.
void Advance(MovieRec& m)
{
    if (!m.playing)
        return;
    // Unsigned difference: right across the tick count's wrap.
    std::int64_t elapsed = static_cast<DWORD>(Now() - m.startTick);
    std::int64_t t = m.startTime + elapsed * m.rate / 0x10000;
    if (t >= m.data.durationMs) {
        m.time = m.data.durationMs;
        m.playing = false;
        m.soundStarted = false;  // it ends by itself
    } else {
        m.time = static_cast<long>(std::max<std::int64_t>(0, t));
    }
}

void SetPlaying(ControllerRec& c, Fixed rate)
{
    MovieRec& m = *c.movie;
    Advance(m);
    StopSound(m);
    if (rate <= 0) {
        m.playing = false;
        return;
    }
    if (m.time >= m.data.durationMs)
        m.time = 0;  // played to its end: starts again from the beginning
    m.playing = true;
    m.rate = rate;
    m.startTick = Now();
    m.startTime = m.time;
    StartSound(m);
    if (m.port && !c.timer && ::IsWindow(m.port->window)) {
        ::SetTimer(m.port->window, kTimerId, kTimerMs, NULL);
        c.timer = true;
    }
}

int FrameAt(const MovieRec& m, long time)
{
    const auto& starts = m.data.frameStartMs;
    auto after = std::upper_bound(starts.begin(), starts.end(), time);
    if (starts.empty())
        return -1;
    return after == starts.begin() ? 0 : static_cast<int>(after - starts.begin()) - 1;
}

RECT BarRect(const ControllerRec& c)
{
    int width = std::max(c.box.right - c.box.left, c.movie->data.width == 0 ? kSoundBarWidth : 0);
    return RECT{c.box.left, c.box.bottom, c.box.left + width, c.box.bottom + kBarHeight};
}

void DrawFrame(ControllerRec& c, HDC dc)
{
    MovieRec& m = *c.movie;
    int index = FrameAt(m, m.time);
    c.shownFrame = index;
    if (index < 0 || !m.data.video || c.box.right <= c.box.left || c.box.bottom <= c.box.top)
        return;
    const std::uint32_t* pixels = m.data.video->Pixels(index);
    if (!pixels)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m.data.width;
    info.bmiHeader.biHeight = -m.data.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int sourceWidth = m.data.viewWidth > 0 ? m.data.viewWidth : m.data.width;
    ::StretchDIBits(dc, c.box.left, c.box.top, c.box.right - c.box.left, c.box.bottom - c.box.top, m.pan, 0,
                    sourceWidth, m.data.height, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

void DrawBar(ControllerRec& c, HDC dc)
{
    MovieRec& m = *c.movie;
    RECT bar = BarRect(c);
    HBRUSH face = ::CreateSolidBrush(RGB(192, 192, 192));
    ::FillRect(dc, &bar, face);
    ::DeleteObject(face);
    HBRUSH dark = ::CreateSolidBrush(RGB(0, 0, 0));
    RECT edge{bar.left, bar.top, bar.right, bar.top + 1};
    ::FillRect(dc, &edge, dark);
    // The play button: a triangle when stopped, two bars while playing.
    HGDIOBJ oldBrush = ::SelectObject(dc, dark);
    if (m.playing) {
        RECT a{bar.left + 4, bar.top + 4, bar.left + 7, bar.bottom - 3};
        RECT b{bar.left + 9, bar.top + 4, bar.left + 12, bar.bottom - 3};
        ::FillRect(dc, &a, dark);
        ::FillRect(dc, &b, dark);
    } else {
        POINT triangle[3] = {{bar.left + 4, bar.top + 4}, {bar.left + 12, bar.top + 8}, {bar.left + 4, bar.bottom - 4}};
        ::Polygon(dc, triangle, 3);
    }
    // The track and the position on it.
    RECT track{bar.left + 18, bar.top + 7, bar.right - 6, bar.top + 10};
    if (track.right > track.left) {
        HBRUSH groove = ::CreateSolidBrush(RGB(96, 96, 96));
        ::FillRect(dc, &track, groove);
        ::DeleteObject(groove);
        long span = std::max(1L, m.data.durationMs);
        int x = track.left + static_cast<int>(static_cast<std::int64_t>(track.right - track.left) * m.time / span);
        RECT knob{x - 2, bar.top + 3, x + 3, bar.bottom - 2};
        ::FillRect(dc, &knob, dark);
    }
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(dark);
}

void Draw(ControllerRec& c)
{
    MovieRec& m = *c.movie;
    if (!m.port || !::IsWindow(m.port->window))
        return;
    HDC dc = ::GetDC(m.port->window);
    DrawFrame(c, dc);
    DrawBar(c, dc);
    ::ReleaseDC(m.port->window, dc);
}

void KillTimerOf(ControllerRec& c)
{
    if (c.timer && c.movie->port && ::IsWindow(c.movie->port->window))
        ::KillTimer(c.movie->port->window, kTimerId);
    c.timer = false;
}

bool InBar(const ControllerRec& c, int x, int y)
{
    RECT bar = BarRect(c);
    return x >= bar.left && x < bar.right && y >= bar.top && y < bar.bottom;
}

bool InMovie(const ControllerRec& c, int x, int y)
{
    return x >= c.box.left && x < c.box.right && y >= c.box.top && y < c.box.bottom;
}

}  // namespace

QT_EXPORT OSErr InitializeQTML(long)
{
    return noErr;
}

QT_EXPORT void TerminateQTML()
{
    Library& lib = Lib();
    for (auto& [p, m] : lib.movies)
        StopSound(*m);
    for (auto& [p, c] : lib.controllers)
        KillTimerOf(*c);
    lib.controllers.clear();
    lib.movies.clear();
    lib.ports.clear();
    lib.files.clear();
    lib.current = nullptr;
    lib.entered = false;
}

QT_EXPORT void DestroyPortAssociation(CGrafPtr grafPort);

QT_EXPORT GrafPtr CreatePortAssociation(void* nativeWindow, Ptr, long)
{
    HWND window = static_cast<HWND>(nativeWindow);
    if (!::IsWindow(window))
        return nullptr;
    // Ports of windows that were destroyed without ending their association go now.
    for (auto it = Lib().ports.begin(); it != Lib().ports.end();) {
        if (!::IsWindow(it->first)) {
            GrafPtr dead = reinterpret_cast<GrafPtr>((it++)->second.get());
            DestroyPortAssociation(dead);
        } else {
            ++it;
        }
    }
    auto& port = Lib().ports[window];
    if (!port) {
        port = std::make_unique<Port>();
        port->window = window;
    }
    return reinterpret_cast<GrafPtr>(port.get());
}

QT_EXPORT void DestroyPortAssociation(CGrafPtr grafPort)
{
    Library& lib = Lib();
    Port* port = FindPort(grafPort);
    if (!port)
        return;
    for (auto& [p, c] : lib.controllers)
        if (c->movie->port == port)
            KillTimerOf(*c);
    for (auto& [p, m] : lib.movies)
        if (m->port == port) {
            StopSound(*m);
            m->playing = false;
            m->port = nullptr;
        }
    if (lib.current == port)
        lib.current = nullptr;
    lib.ports.erase(port->window);
}

QT_EXPORT GrafPtr GetNativeWindowPort(void* nativeWindow)
{
    auto it = Lib().ports.find(static_cast<HWND>(nativeWindow));
    return it == Lib().ports.end() ? nullptr : reinterpret_cast<GrafPtr>(it->second.get());
}

QT_EXPORT void SetGWorld(CGrafPtr port, GDHandle)
{
    Lib().current = FindPort(port);
}

QT_EXPORT void WinEventToMacEvent(void* nativeMessage, EventRecord* event)
{
    if (!event)
        return;
    *event = EventRecord{};
    const MSG* msg = static_cast<const MSG*>(nativeMessage);
    if (!msg)
        return;
    event->nativeWindow = msg->hwnd;
    event->nativeMessage = msg->message;
    event->wParam = msg->wParam;
    event->lParam = msg->lParam;
    event->when = msg->time;
    event->where = Point{static_cast<short>(msg->pt.y), static_cast<short>(msg->pt.x)};
    switch (msg->message) {
    case WM_LBUTTONDOWN: event->what = mouseDown; break;
    case WM_LBUTTONUP: event->what = mouseUp; break;
    case WM_KEYDOWN: event->what = keyDown; break;
    case WM_KEYUP: event->what = keyUp; break;
    case WM_PAINT: event->what = updateEvt; break;
    case WM_ACTIVATE: event->what = activateEvt; break;
    default: event->what = nullEvent; break;
    }
}

QT_EXPORT OSErr EnterMovies()
{
    Lib().entered = true;
    Lib().error = noErr;
    return noErr;
}

QT_EXPORT void ExitMovies()
{
    Lib().entered = false;
}

QT_EXPORT OSErr GetMoviesError()
{
    return Lib().error;
}

QT_EXPORT OSErr FSMakeFSSpec(short vRefNum, long dirID, ConstStr255Param fileName, FSSpec* spec)
{
    if (!fileName || !spec || fileName[0] == 0)
        return Lib().error = paramErr;
    *spec = FSSpec{};
    spec->vRefNum = vRefNum;
    spec->parID = dirID;
    std::memcpy(spec->name, fileName, static_cast<std::size_t>(fileName[0]) + 1);
    std::string path(reinterpret_cast<const char*>(fileName + 1), fileName[0]);
    DWORD attributes = ::GetFileAttributes(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Lib().error = fnfErr;
    return Lib().error = noErr;
}

QT_EXPORT OSErr OpenMovieFile(const FSSpec* spec, short* refNum, signed char)
{
    Library& lib = Lib();
    if (!spec || !refNum || !lib.entered)
        return lib.error = paramErr;
    std::string path(reinterpret_cast<const char*>(spec->name + 1), spec->name[0]);
    auto host = host::ToHostPath(path);
    HANDLE file = ::CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (!host || file == INVALID_HANDLE_VALUE)
        return lib.error = fnfErr;
    ::CloseHandle(file);
    short ref = lib.nextFile++;
    if (lib.nextFile <= 0)
        lib.nextFile = 1;
    lib.files[ref] = *host;
    *refNum = ref;
    return lib.error = noErr;
}

QT_EXPORT OSErr CloseMovieFile(short refNum)
{
    return Lib().error = Lib().files.erase(refNum) ? noErr : paramErr;
}

QT_EXPORT OSErr NewMovieFromFile(Movie* movie, short refNum, short*, StringPtr, short, Boolean*)
{
    Library& lib = Lib();
    if (!movie)
        return lib.error = paramErr;
    *movie = nullptr;
    auto file = lib.files.find(refNum);
    if (file == lib.files.end())
        return lib.error = paramErr;
    std::string reason;
    auto decoded = qtml::DecodeMovie(file->second, reason);
    if (!decoded)
        return lib.error = invalidMovie;
    auto rec = std::make_unique<MovieRec>();
    rec->data = std::move(*decoded);
    rec->port = lib.current;
    MovieRec* raw = rec.get();
    lib.movies[raw] = std::move(rec);
    *movie = reinterpret_cast<Movie>(raw);
    return lib.error = noErr;
}

QT_EXPORT void DisposeMovie(Movie movie)
{
    Library& lib = Lib();
    MovieRec* m = FindMovie(movie);
    if (!m)
        return;
    StopSound(*m);
    for (auto it = lib.controllers.begin(); it != lib.controllers.end();)
        if (it->second->movie == m) {
            KillTimerOf(*it->second);
            it = lib.controllers.erase(it);
        } else {
            ++it;
        }
    lib.movies.erase(m);
}

QT_EXPORT void GetMovieBox(Movie movie, Rect* box)
{
    if (!box)
        return;
    *box = Rect{};
    MovieRec* m = FindMovie(movie);
    if (!m) {
        Lib().error = paramErr;
        return;
    }
    int width = m->data.viewWidth > 0 ? m->data.viewWidth : m->data.width;
    *box = Rect{0, 0, static_cast<short>(m->data.height), static_cast<short>(width)};
    Lib().error = noErr;
}

QT_EXPORT void SetMovieActive(Movie movie, Boolean active)
{
    if (MovieRec* m = FindMovie(movie))
        m->active = active != 0;
}

QT_EXPORT long GetMovieDuration(Movie movie)
{
    MovieRec* m = FindMovie(movie);
    return m ? m->data.durationMs : 0;
}

QT_EXPORT long GetMovieTime(Movie movie)
{
    MovieRec* m = FindMovie(movie);
    if (!m)
        return 0;
    Advance(*m);
    return m->time;
}

QT_EXPORT MovieController NewMovieController(Movie movie, const Rect* box, long flags)
{
    MovieRec* m = FindMovie(movie);
    if (!m || !box) {
        Lib().error = paramErr;
        return nullptr;
    }
    auto c = std::make_unique<ControllerRec>();
    c->movie = m;
    c->box = *box;
    c->creationFlags = flags;
    ControllerRec* raw = c.get();
    Lib().controllers[raw] = std::move(c);
    Lib().error = noErr;
    return reinterpret_cast<MovieController>(raw);
}

QT_EXPORT void DisposeMovieController(MovieController controller)
{
    ControllerRec* c = FindController(controller);
    if (!c)
        return;
    KillTimerOf(*c);
    StopSound(*c->movie);
    c->movie->playing = false;
    Lib().controllers.erase(c);
}

QT_EXPORT ComponentResult MCDoAction(MovieController controller, short action, void* parameter)
{
    ControllerRec* c = FindController(controller);
    if (!c)
        return paramErr;
    switch (action) {
    case mcActionPlay:
        SetPlaying(*c, static_cast<Fixed>(reinterpret_cast<intptr_t>(parameter)));
        if (!c->movie->playing)
            KillTimerOf(*c);
        Draw(*c);
        return noErr;
    case mcActionGoToTime: {
        if (!parameter)
            return paramErr;
        bool wasPlaying = c->movie->playing;
        Fixed rate = c->movie->rate;
        SetPlaying(*c, 0);
        c->movie->time = std::clamp(*static_cast<long*>(parameter), 0L, c->movie->data.durationMs);
        if (wasPlaying)
            SetPlaying(*c, rate);
        Draw(*c);
        return noErr;
    }
    case mcActionSetGrowBoxBounds:
        if (parameter)
            c->growBox = *static_cast<const Rect*>(parameter);
        return noErr;
    case mcActionGetFlags:
        if (!parameter)
            return paramErr;
        *static_cast<long*>(parameter) = c->flags;
        return noErr;
    case mcActionSetFlags:
        c->flags = static_cast<long>(reinterpret_cast<intptr_t>(parameter));
        return noErr;
    default:
        return noErr;
    }
}

QT_EXPORT ComponentResult MCGetControllerBoundsRect(MovieController controller, Rect* bounds)
{
    ControllerRec* c = FindController(controller);
    if (!c || !bounds)
        return paramErr;
    RECT bar = BarRect(*c);
    *bounds = Rect{c->box.top, c->box.left, static_cast<short>(bar.bottom),
                   static_cast<short>(std::max<LONG>(c->box.right, bar.right))};
    return noErr;
}

QT_EXPORT ComponentResult MCGetControllerInfo(MovieController controller, long* flags)
{
    ControllerRec* c = FindController(controller);
    if (!c || !flags)
        return paramErr;
    Advance(*c->movie);
    *flags = c->movie->playing ? mcInfoIsPlaying : 0;
    return noErr;
}

QT_EXPORT ComponentResult MCIsPlayerEvent(MovieController controller, const EventRecord* event)
{
    ControllerRec* c = FindController(controller);
    if (!c || !event || !c->movie->port || event->nativeWindow != c->movie->port->window)
        return 0;
    MovieRec& m = *c->movie;
    HWND window = m.port->window;
    int x = static_cast<short>(LOWORD(event->lParam));
    int y = static_cast<short>(HIWORD(event->lParam));
    switch (event->nativeMessage) {
    case WM_TIMER:
        if (event->wParam != kTimerId)
            return 0;
        // Time passing: the frame of the new time, and the end of the movie. The window still
        // sees its timer message (it reads the playing state from it).
        Advance(m);
        if (FrameAt(m, m.time) != c->shownFrame || !m.playing)
            Draw(*c);
        if (!m.playing)
            KillTimerOf(*c);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        Advance(m);
        DrawFrame(*c, dc);
        DrawBar(*c, dc);
        ::EndPaint(window, &ps);
        return 1;
    }
    case WM_LBUTTONDOWN:
        if (InBar(*c, x, y)) {
            RECT bar = BarRect(*c);
            if (x < bar.left + 16) {
                Advance(m);
                SetPlaying(*c, m.playing ? 0 : 0x10000);
                if (!m.playing)
                    KillTimerOf(*c);
            } else {
                int left = bar.left + 18, right = bar.right - 6;
                long t = right > left ? static_cast<long>(static_cast<std::int64_t>(std::clamp(x, left, right) - left) *
                                                          m.data.durationMs / (right - left))
                                      : 0;
                MCDoAction(controller, mcActionGoToTime, &t);
            }
            Draw(*c);
            return 1;
        }
        if (m.data.viewWidth > 0 && InMovie(*c, x, y)) {
            c->dragging = true;
            c->dragX = x;
            c->dragPan = m.pan;
            ::SetCapture(window);
            return 1;
        }
        return 0;
    case WM_MOUSEMOVE:
        if (!c->dragging)
            return 0;
        m.pan = std::clamp(c->dragPan - (x - c->dragX), 0, m.data.width - m.data.viewWidth);
        Draw(*c);
        return 1;
    case WM_LBUTTONUP:
        if (!c->dragging)
            return 0;
        c->dragging = false;
        ::ReleaseCapture();
        return 1;
    default:
        return 0;
    }
}
