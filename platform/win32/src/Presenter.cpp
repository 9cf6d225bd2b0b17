// The presenter's thread: it owns SDL's video, the window, its renderer and streaming texture;
// it polls the host's events into the platform's input and shows the desktop surface when
// its pixels changed.
#include <host/Desktop.h>
#include <host/Display.h>
#include <host/Presenter.h>
#include <host/Sound.h>
#include <host/UiScript.h>

#include <dwmapi.h>
#include <winuser.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <strings.h>
#include <thread>

namespace host {

namespace {

constexpr int kFrameMs = 16;

struct Presenter {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread thread;
    bool running = false;     // the thread runs (guarded by mutex)
    bool started = false;     // the thread finished starting (guarded)
    std::string startError;   // why it could not start (guarded)
    std::atomic<bool> stop{false};
    std::function<void()> closeHandler; // guarded
    // A frame read back for ReadPresenterFrame (guarded).
    bool frameWanted = false;
    bool frameReady = false;
    std::vector<std::uint32_t> frame;
    int frameWidth = 0, frameHeight = 0;
    std::atomic<std::uint64_t> frames{0};
    // Passes of the presenter's loop that began and ended showing the desktop (guarded), for
    // those that wait for the next frame.
    std::uint64_t passesBegun = 0;
    std::uint64_t passesDone = 0;
    // Raises of the host window asked for, and those done by the presenter's thread.
    std::atomic<std::uint64_t> raisesAsked{0};
    std::atomic<std::uint64_t> raisesDone{0};
    // Window sizes asked for by ResizePresenterWindow, and those done.
    std::atomic<std::uint64_t> resizesAsked{0};
    std::atomic<std::uint64_t> resizesDone{0};
    std::atomic<int> resizeWidth{0};
    std::atomic<int> resizeHeight{0};
    // The host asked for the window's picture again (resized, uncovered).
    std::atomic<bool> redraw{false};
};

Presenter& ThePresenter()
{
    static Presenter* presenter = new Presenter;
    return *presenter;
}

// The desktop's pixels as 0x00RRGGBB, whatever the display mode.
void CopyDesktop(const Surface& surface, std::vector<std::uint32_t>& out)
{
    const int w = surface.Width(), h = surface.Height();
    out.resize(static_cast<size_t>(w) * h);
    auto rgb = [](COLORREF c) { return std::uint32_t((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
    std::uint32_t lookup[256] = {};
    if (surface.Indexed())
        for (DWORD v = 0; v <= surface.ValueMask() && v < 256; ++v)
            lookup[v] = rgb(surface.ValueToColor(v));
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = out.data() + static_cast<size_t>(y) * w;
        if (surface.BitsPerPixel() == 32) {
            std::memcpy(row, surface.Row(y), static_cast<size_t>(w) * 4);
            for (int x = 0; x < w; ++x)
                row[x] &= 0x00FFFFFF;
        } else if (surface.Indexed()) {
            for (int x = 0; x < w; ++x)
                row[x] = lookup[surface.Get(x, y) & 0xFF];
        } else {
            for (int x = 0; x < w; ++x)
                row[x] = rgb(surface.GetColor(x, y));
        }
    }
}

void UserClosed(Presenter& p)
{
    std::function<void()> handler;
    {
        std::lock_guard lock(p.mutex);
        handler = p.closeHandler;
    }
    if (handler) {
        handler();
        return;
    }
    if (HWND foreground = GetForegroundWindow())
        PostMessageA(foreground, WM_CLOSE, 0, 0);
}

void Handle(Presenter& p, const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT: UserClosed(p); break;
    case SDL_WINDOWEVENT:
        // A window the user resized shows the whole desktop scaled into it (the renderer's
        // logical size is the desktop's): nothing is cut off, and the pointer's positions come
        // back in desktop coordinates.
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            UserClosed(p);
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_EXPOSED)
            p.redraw = true;
        break;
    case SDL_MOUSEMOTION: MouseMove(e.motion.x, e.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (auto button = MouseButtonFromSdl(e.button.button)) {
            MouseMove(e.button.x, e.button.y);
            if (e.type == SDL_MOUSEBUTTONDOWN)
                MouseDown(*button);
            else
                MouseUp(*button);
        }
        break;
    case SDL_MOUSEWHEEL: {
        int steps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (steps)
            MouseWheel(WheelDeltaFromSdl(steps));
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (UINT vk = VirtualKeyFromSdl(e.key.keysym.sym)) {
            if (e.type == SDL_KEYDOWN)
                KeyDown(vk); // a held key repeats as another key-down
            else
                KeyUp(vk);
        }
        break;
    default: break;
    }
}

struct Video {
    SDL_Window* window = nullptr;
    SDL_Cursor* cursor = nullptr;
    int cursorShape = -1; // the SDL_SystemCursor shown
    bool cursorShown = true;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0, textureHeight = 0;

    ~Video()
    {
        if (cursor)
            SDL_FreeCursor(cursor);
        if (texture)
            SDL_DestroyTexture(texture);
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
    }
};

bool OpenVideo(Video& v, const std::string& title, std::string& error)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return false;
    }
    // Without a display SDL falls back to a video driver that shows nothing: a window there
    // would leave the program running where nobody can see it. Only a driver asked for by name
    // (tests ask for "dummy") is taken as it is.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (driver && (!strcasecmp(driver, "offscreen") || !strcasecmp(driver, "dummy")) && !(asked && *asked)) {
        error = std::string("no display: SDL found only its \"") + driver + "\" video driver, which shows nothing";
        return false;  // Run quits the video subsystem
    }
    SIZE size = GetDisplaySize();
    v.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(size.cx),
                                int(size.cy), SDL_WINDOW_RESIZABLE);
    if (v.window) {
        v.renderer = SDL_CreateRenderer(v.window, -1, 0);
        if (!v.renderer)
            v.renderer = SDL_CreateRenderer(v.window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!v.window || !v.renderer) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

// Shows the desktop if it changed since `shown` (or always when `force`).
void Present(Video& v, std::vector<std::uint32_t>& shown, std::vector<std::uint32_t>& scratch, bool force)
{
    std::shared_ptr<Surface> desktop = DesktopSurface();
    if (!desktop)
        return;
    const int w = desktop->Width(), h = desktop->Height();
    CopyDesktop(*desktop, scratch);
    bool sameSize = v.texture && v.textureWidth == w && v.textureHeight == h;
    if (!force && sameSize && scratch == shown)
        return;
    if (!sameSize) {
        // The program changed the screen size: the window follows (its size-changed event
        // then finds the desktop at that size already).
        int windowWidth = 0, windowHeight = 0;
        SDL_GetWindowSize(v.window, &windowWidth, &windowHeight);
        if (windowWidth != w || windowHeight != h)
            SDL_SetWindowSize(v.window, w, h);
        // Whatever size the window has later, it shows this desktop whole, scaled.
        SDL_RenderSetLogicalSize(v.renderer, w, h);
        if (v.texture)
            SDL_DestroyTexture(v.texture);
        v.texture = SDL_CreateTexture(v.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        v.textureWidth = w;
        v.textureHeight = h;
        if (!v.texture)
            return;
    }
    SDL_UpdateTexture(v.texture, nullptr, scratch.data(), w * 4);
    SDL_RenderClear(v.renderer);
    SDL_Rect area{0, 0, w, h};
    SDL_RenderCopy(v.renderer, v.texture, nullptr, &area);
    SDL_RenderPresent(v.renderer);
    shown.swap(scratch);
    ++ThePresenter().frames;
}

// Shows the platform's cursor with the host's.
void FollowCursor(Video& v)
{
    HCURSOR current = CurrentCursor();
    bool shown = current && CursorShowCount() >= 0;
    if (shown != v.cursorShown) {
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
        v.cursorShown = shown;
    }
    int shape = SdlSystemCursorFromId(SystemCursorId(current));
    if (shown && shape != v.cursorShape) {
        if (SDL_Cursor* cursor = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(shape))) {
            SDL_SetCursor(cursor);
            if (v.cursor)
                SDL_FreeCursor(v.cursor);
            v.cursor = cursor;
        }
        v.cursorShape = shape;
    }
}

// Reads back what the renderer shows, for a waiting ReadPresenterFrame.
void ServeFrameRequest(Presenter& p, Video& v)
{
    {
        std::lock_guard lock(p.mutex);
        if (!p.frameWanted)
            return;
    }
    // What a renderer holds after presenting is undefined: draw the frame again and read it.
    SDL_RenderClear(v.renderer);
    if (v.texture) {
        SDL_Rect area{0, 0, v.textureWidth, v.textureHeight};
        SDL_RenderCopy(v.renderer, v.texture, nullptr, &area);
    }
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(v.renderer, &w, &h);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(std::max(w, 0)) * std::max(h, 0));
    bool ok = w > 0 && h > 0 &&
              SDL_RenderReadPixels(v.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) == 0;
    SDL_RenderPresent(v.renderer);
    for (std::uint32_t& px : pixels)
        px &= 0x00FFFFFF;
    std::lock_guard lock(p.mutex);
    p.frame = ok ? std::move(pixels) : std::vector<std::uint32_t>{};
    p.frameWidth = ok ? w : 0;
    p.frameHeight = ok ? h : 0;
    p.frameWanted = false;
    p.frameReady = true;
    p.changed.notify_all();
}

void Run(Presenter& p, std::string title)
{
    {
        Video video;
        std::string error;
        bool ok = OpenVideo(video, title, error);
        {
            std::lock_guard lock(p.mutex);
            p.started = true;
            p.startError = error;
            p.running = ok;
            p.changed.notify_all();
        }
        if (ok) {
            SetSoundOutput(SoundOutput::Device);
            std::vector<std::uint32_t> shown, scratch;
            Present(video, shown, scratch, true);
            while (!p.stop) {
                SDL_Event e;
                if (SDL_WaitEventTimeout(&e, kFrameMs)) {
                    do
                        Handle(p, e);
                    while (SDL_PollEvent(&e));
                }
                if (p.raisesDone < p.raisesAsked) {
                    // SDL's window belongs to this thread: it is raised here.
                    p.raisesDone = p.raisesAsked.load();
                    SDL_RestoreWindow(video.window);
                    SDL_RaiseWindow(video.window);
                    // Without a window manager raising gives no keyboard: it is asked for.
                    SDL_SetWindowInputFocus(video.window);
                }
                if (p.resizesDone < p.resizesAsked) {
                    p.resizesDone = p.resizesAsked.load();
                    SDL_SetWindowSize(video.window, p.resizeWidth.load(), p.resizeHeight.load());
                }
                FollowCursor(video);
                std::uint64_t pass;
                {
                    std::lock_guard lock(p.mutex);
                    pass = ++p.passesBegun;
                }
                Present(video, shown, scratch, p.redraw.exchange(false));
                {
                    std::lock_guard lock(p.mutex);
                    p.passesDone = pass;
                    p.changed.notify_all();
                }
                ServeFrameRequest(p, video);
            }
            SetSoundOutput(SoundOutput::RecordOnly);
        }
    } // the window closes before the video subsystem goes
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit(); // nothing else of SDL is in use (the audio device is not open): release it all
    std::lock_guard lock(p.mutex);
    p.running = false;
    p.changed.notify_all();
}

} // namespace

bool PresenterRequested()
{
    const char* mode = std::getenv("VL_PRESENTER");
    return mode && !strcasecmp(mode, "sdl");
}

bool StartPresenter(const std::string& title, std::string* error)
{
    Presenter& p = ThePresenter();
    std::unique_lock lock(p.mutex);
    if (p.running)
        return true;
    if (p.thread.joinable()) {
        lock.unlock();
        p.thread.join();
        lock.lock();
    }
    p.stop = false;
    p.started = false;
    p.thread = std::thread(Run, std::ref(p), title);
    p.changed.wait(lock, [&] { return p.started; });
    if (!p.running) {
        if (error)
            *error = p.startError;
        lock.unlock();
        p.thread.join();
        return false;
    }
    // A reader sits in front of the window: modal boxes and dialogs wait for the reader instead
    // of for a test script.
    SetInteractive(true);
    return true;
}

bool StartPresenterIfRequested(const std::string& title, std::string* error)
{
    return PresenterRequested() && StartPresenter(title, error);
}

std::string PresenterStartFailure(const std::string& program, const std::string& error)
{
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    std::string text = program + ": ";
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("SDL_VIDEODRIVER"))
        text += "no display is available, so the program cannot open its window";
    else
        text += "the display refused the program's window";
    text += error.empty() ? std::string(".\n") : " (" + error + ").\n";
    text += "  To see the program, run it in a graphical desktop session (DISPLAY or WAYLAND_DISPLAY set),\n"
            "  or on a virtual display: xvfb-run -s \"-screen 0 1024x768x24\" ./run\n"
            "  To run it headless, without a window, set VL_PRESENTER=none (scripted use only: nobody can\n"
            "  answer its dialogs then).\n";
    return text;
}

void StopPresenter()
{
    Presenter& p = ThePresenter();
    p.stop = true;
    if (p.thread.joinable() && p.thread.get_id() != std::this_thread::get_id()) {
        p.thread.join();
        SetInteractive(false);
    }
}

void RaisePresenterWindow()
{
    Presenter& p = ThePresenter();
    std::lock_guard lock(p.mutex);
    if (p.running)
        ++p.raisesAsked;
}

std::uint64_t PresenterRaiseCount()
{
    return ThePresenter().raisesDone;
}

void ResizePresenterWindow(int width, int height)
{
    Presenter& p = ThePresenter();
    std::lock_guard lock(p.mutex);
    if (!p.running || width <= 0 || height <= 0)
        return;
    p.resizeWidth = width;
    p.resizeHeight = height;
    ++p.resizesAsked;
}

bool PresenterActive()
{
    Presenter& p = ThePresenter();
    std::lock_guard lock(p.mutex);
    return p.running;
}

void SetPresenterCloseHandler(std::function<void()> handler)
{
    Presenter& p = ThePresenter();
    std::lock_guard lock(p.mutex);
    p.closeHandler = std::move(handler);
}

bool ReadPresenterFrame(std::vector<std::uint32_t>& pixels, int& width, int& height)
{
    Presenter& p = ThePresenter();
    std::unique_lock lock(p.mutex);
    if (!p.running)
        return false;
    p.frameWanted = true;
    p.frameReady = false;
    p.changed.wait(lock, [&] { return p.frameReady || !p.running; });
    if (!p.frameReady || p.frame.empty())
        return false;
    pixels = std::move(p.frame);
    width = p.frameWidth;
    height = p.frameHeight;
    return true;
}

std::uint64_t PresenterFrameCount()
{
    return ThePresenter().frames;
}

bool WaitForPresenterFrame()
{
    Presenter& p = ThePresenter();
    std::unique_lock lock(p.mutex);
    if (!p.running)
        return false;
    // The next pass to begin shows what has been drawn until now.
    const std::uint64_t target = p.passesBegun + 1;
    return p.changed.wait_for(lock, std::chrono::milliseconds(10 * kFrameMs),
                              [&] { return p.passesDone >= target || !p.running; }) &&
           p.running;
}

} // namespace host

HRESULT WINAPI DwmFlush()
{
    return host::WaitForPresenterFrame() ? S_OK : DWM_E_COMPOSITIONDISABLED;
}
