// The other process of the process and cross-process window tests.
//
//   vlpeer exit N                  ends at once with exit code N
//   vlpeer report                  writes what it was given to the file named by the
//                                  environment variable VL_PEER_REPORT, ends with 7 (so does
//                                  any unknown mode while that variable is set)
//   vlpeer waitreport FILE         waits (up to 20 s) until FILE exists, then reports as above
//   vlpeer window TITLE N [popup]  shows a top-level window titled TITLE (shown the way its
//                                  starter asked), with an owned popup "TITLE Popup" when asked,
//                                  writes the report when VL_PEER_REPORT is set, and runs until
//                                  the window is closed; ends with N
//
//   vlpeer clip-put TEXT           puts TEXT (CF_TEXT), a 2x2 bitmap and a 4-colour palette on the
//                                  clipboard and ends with 0
//   vlpeer clip-get FILE           writes the clipboard's CF_TEXT into FILE; ends with 0, or 2
//                                  when there is none
//   vlpeer clip-promise TITLE      shows a window titled TITLE that promises CF_TEXT (delayed
//                                  rendering), reports as above once it has, renders "rendered on
//                                  request" when asked and "rendered as the owner went" when its
//                                  window is closed; ends with 0
//
// With VL_PRESENTER=sdl the peer shows its desktop in a window of the host for its whole run, as
// the class library's programs do: titled TITLE in the window mode, else "vlpeer MODE".
//
// The window answers registered messages: "VL:Peer:Ping" with wParam + 1000, "VL:Peer:Events"
// with what was done to it (bit 0: restored from minimised; bits 8-15: times activated),
// "VL:Peer:Sleep" with 1 after sleeping wParam milliseconds, "VL:Peer:Die" by ending the
// process at once with exit code 9, unanswered, and "VL:Peer:Echo" by sending
// "VL:Peer:EchoAnswer" (lParam) to the window wParam and answering what that answered plus 1.
// WM_COPYDATA is answered with the record's dwData plus the sum of its block's bytes plus
// wParam times 1000000.
#include <windows.h>
#include <interproc.h>

#include <host/Presenter.h>
#include <host/Process.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

UINT g_ping, g_events, g_sleep, g_die, g_echo;
int g_exitCode = 0;
HWND g_main = nullptr;
bool g_minimised = false;  // the main window was minimised at some time
bool g_restored = false;
int g_activations = 0;

LRESULT CALLBACK PeerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_ping)
        return static_cast<LRESULT>(wParam) + 1000;
    if (msg == g_events)
        return (g_restored ? 1 : 0) | (g_activations << 8);
    if (msg == g_sleep) {
        Sleep(static_cast<DWORD>(wParam));
        return 1;
    }
    if (msg == g_die)
        _exit(9);
    if (msg == WM_COPYDATA) {
        auto record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        LRESULT sum = static_cast<LRESULT>(record->dwData) + static_cast<LRESULT>(wParam) * 1000000;
        for (DWORD i = 0; i < record->cbData; ++i)
            sum += static_cast<const unsigned char*>(record->lpData)[i];
        return sum;
    }
    if (msg == g_echo)
        return SendMessageA(reinterpret_cast<HWND>(wParam), RegisterWindowMessageA("VL:Peer:EchoAnswer"), 0, lParam) + 1;
    if (hwnd != g_main)
        return DefWindowProcA(hwnd, msg, wParam, lParam);  // the popup
    switch (msg) {
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            g_minimised = true;
        else if (wParam == SIZE_RESTORED && g_minimised && !IsIconic(hwnd))
            g_restored = true;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            ++g_activations;
        break;
    case WM_DESTROY:
        PostQuitMessage(g_exitCode);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int Report()
{
    const char* file = std::getenv("VL_PEER_REPORT");
    if (!file)
        return 2;
    FILE* out = std::fopen(file, "w");
    if (!out)
        return 3;
    char folder[MAX_PATH] = "";
    GetCurrentDirectory(MAX_PATH, folder);
    STARTUPINFOA si{};
    GetStartupInfoA(&si);
    std::fprintf(out, "arguments=%s\n", host::StartupArguments("(none)").c_str());
    std::fprintf(out, "commandline=%s\n", GetCommandLineA());
    std::fprintf(out, "folder=%s\n", folder);
    std::fprintf(out, "show=%d\n", host::StartupShowCommand(-1));
    std::fprintf(out, "flags=%lu\n", static_cast<unsigned long>(si.dwFlags));
    std::fprintf(out, "thread=%lu\n", static_cast<unsigned long>(GetCurrentThreadId()));
    std::fprintf(out, "process=%lu\n", static_cast<unsigned long>(GetCurrentProcessId()));
    char module[MAX_PATH] = "";
    GetModuleFileName(nullptr, module, MAX_PATH);
    std::fprintf(out, "module=%s\n", module);
    std::fclose(out);
    return 7;
}

int Window(const char* title, int exitCode, bool popup)
{
    g_exitCode = exitCode;
    g_ping = RegisterWindowMessageA("VL:Peer:Ping");
    g_events = RegisterWindowMessageA("VL:Peer:Events");
    g_sleep = RegisterWindowMessageA("VL:Peer:Sleep");
    g_die = RegisterWindowMessageA("VL:Peer:Die");
    g_echo = RegisterWindowMessageA("VL:Peer:Echo");
    WNDCLASSA wc{};
    wc.lpfnWndProc = PeerProc;
    wc.lpszClassName = "VLPeerWindow";
    if (!RegisterClassA(&wc))
        return 4;
    HWND hwnd = CreateWindowExA(0, "VLPeerWindow", title, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    if (!hwnd)
        return 5;
    g_main = hwnd;
    ShowWindow(hwnd, SW_SHOWDEFAULT);  // the way the starter asked for
    if (popup) {
        std::string popupTitle = std::string(title) + " Popup";
        HWND owned = CreateWindowExA(0, "VLPeerWindow", popupTitle.c_str(), WS_POPUP | WS_CAPTION, 40, 40, 100, 80,
                                     hwnd, nullptr, nullptr, nullptr);
        if (!owned)
            return 6;
        ShowWindow(owned, SW_SHOW);
    }
    if (std::getenv("VL_PEER_REPORT"))
        Report();  // tells that the window is up
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    return h;
}

int ClipPut(const char* text)
{
    if (!OpenClipboard(nullptr))
        return 3;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, TextBlock(text));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 1, 0, RGB(0, 255, 0));
    SetPixel(dc, 0, 1, RGB(0, 0, 255));
    SetPixel(dc, 1, 1, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    SetClipboardData(CF_BITMAP, bitmap);
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[3];
    } palette{{0x300, 4, {{10, 20, 30, 0}}}, {{40, 50, 60, 0}, {70, 80, 90, 0}, {200, 210, 220, 0}}};
    SetClipboardData(CF_PALETTE, CreatePalette(&palette.head));
    CloseClipboard();
    return 0;
}

int ClipGet(const char* file)
{
    if (!OpenClipboard(nullptr))
        return 3;
    HANDLE h = GetClipboardData(CF_TEXT);
    std::string text = h ? static_cast<const char*>(GlobalLock(h)) : "";
    if (h)
        GlobalUnlock(h);
    CloseClipboard();
    if (FILE* out = std::fopen(file, "w")) {
        std::fputs(text.c_str(), out);
        std::fclose(out);
    }
    return h ? 0 : 2;
}

LRESULT CALLBACK PromiseProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_RENDERFORMAT:
        if (wParam == CF_TEXT)
            SetClipboardData(CF_TEXT, TextBlock("rendered on request"));
        return 0;
    case WM_RENDERALLFORMATS:
        if (OpenClipboard(hwnd)) {
            SetClipboardData(CF_TEXT, TextBlock("rendered as the owner went"));
            CloseClipboard();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

int ClipPromise(const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PromiseProc;
    wc.lpszClassName = "VLPeerPromise";
    if (!RegisterClassA(&wc))
        return 4;
    HWND hwnd = CreateWindowExA(0, "VLPeerPromise", title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    if (!hwnd || !OpenClipboard(hwnd))
        return 5;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, nullptr);
    CloseClipboard();
    ShowWindow(hwnd, SW_SHOW);
    if (std::getenv("VL_PEER_REPORT"))
        Report();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int Foreground(const char* title)
{
    HWND target = FindWindowA(nullptr, title);
    if (!target)
        return 3;
    return SetForegroundWindow(target) ? 0 : 4;
}

int Send(const char* title, const char* message)
{
    HWND target = FindWindowA(nullptr, title);
    if (!target)
        return 3;
    LRESULT answer = SendMessageA(target, RegisterWindowMessageA(message), 0, 0);
    return 100 + static_cast<int>(answer < 0 || answer > 99 ? 99 : answer);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    const std::string shownAs = mode == "window" && argc > 2 ? argv[2] : "vlpeer " + mode;
    if (host::PresenterRequested() && !host::StartPresenter(shownAs, nullptr))
        return 8;
    struct StopPresenterAtEnd {
        ~StopPresenterAtEnd() { host::StopPresenter(); }
    } stopPresenterAtEnd;
    if (mode == "exit" && argc > 2)
        return std::atoi(argv[2]);
    if (mode == "report")
        return Report();
    if (mode == "waitreport" && argc > 2) {
        for (int i = 0; i < 1000 && access(argv[2], F_OK) != 0; ++i)
            Sleep(20);
        return Report();
    }
    if (mode == "window" && argc > 3)
        return Window(argv[2], std::atoi(argv[3]), argc > 4 && std::string(argv[4]) == "popup");
    if (mode == "clip-put" && argc > 2)
        return ClipPut(argv[2]);
    if (mode == "clip-get" && argc > 2)
        return ClipGet(argv[2]);
    if (mode == "clip-promise" && argc > 2)
        return ClipPromise(argv[2]);
    if (mode == "foreground" && argc > 2)
        return Foreground(argv[2]);
    if (mode == "send" && argc > 3)
        return Send(argv[2], argv[3]);
    if (std::getenv("VL_PEER_REPORT"))
        return Report();  // started with a command line it cannot read: tell what it got
    std::fprintf(stderr, "vlpeer: unknown mode\n");
    return 1;
}
