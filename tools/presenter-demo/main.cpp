// presenter-demo [seconds [desktop.png]]: opens the interactive presenter on a 640x480 desktop and shows one
// window that draws shapes and text, marks mouse clicks with a square (and a sound), and echoes
// typed characters. Escape, closing the presenter's window, or the given number of seconds ends
// it (saving the virtual desktop as PNG first when a file is named, to compare with a
// screenshot of the real window). The presenter opens regardless of VL_PRESENTER; the SDL_VIDEODRIVER of the environment
// chooses the display (an X server, or "offscreen").
#include <windows.h>

#include <mmsystem.h>

#include <host/Desktop.h>
#include <host/Display.h>
#include <host/Presenter.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<POINT> g_clicks;
std::string g_shot; // where the desktop is saved when the time is up
std::string g_typed;

// The whole scene, in desktop coordinates (the window covers the desktop).
void Scene(HDC dc)
{
    SIZE size = host::GetDesktopSize();
    RECT all{0, 0, size.cx, size.cy};
    HBRUSH back = CreateSolidBrush(RGB(0, 64, 128));
    FillRect(dc, &all, back);
    DeleteObject(back);
    HBRUSH red = CreateSolidBrush(RGB(220, 40, 40));
    HGDIOBJ old = SelectObject(dc, red);
    Ellipse(dc, 40, 40, 240, 200);
    SelectObject(dc, old);
    DeleteObject(red);
    HBRUSH yellow = CreateSolidBrush(RGB(250, 220, 0));
    for (POINT p : g_clicks) {
        RECT mark{p.x - 5, p.y - 5, p.x + 5, p.y + 5};
        FillRect(dc, &mark, yellow);
    }
    DeleteObject(yellow);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const char* title = "Presenter demo: click, type, Esc ends";
    TextOutA(dc, 260, 60, title, int(std::strlen(title)));
    std::string typed = "Typed: " + g_typed;
    TextOutA(dc, 260, 90, typed.c_str(), int(typed.size()));
}

// Shows the scene again: through the window's painting, and straight onto the screen as well
// while the window system does not compose windows onto the desktop surface.
void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    Scene(screen);
    host::ReleaseDisplayDC(screen);
}

LRESULT CALLBACK DemoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        Scene(BeginPaint(hwnd, &ps));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        g_clicks.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        PlaySound("SystemDefault", nullptr, SND_ALIAS | SND_ASYNC);
        Redraw(hwnd);
        return 0;
    case WM_CHAR:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(hwnd);
            return 0;
        }
        if (wParam >= 32)
            g_typed += char(wParam);
        Redraw(hwnd);
        return 0;
    case WM_TIMER:
        if (!g_shot.empty())
            host::SaveDesktopPng(g_shot);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    host::SetDesktopSize(640, 480);
    if (host::GetDisplaySize().cx != 640)
        host::SetDisplaySize(640, 480);
    std::string error;
    if (!host::StartPresenter("presenter demo", &error)) {
        std::fprintf(stderr, "presenter-demo: no presenter: %s\n", error.c_str());
        return 1;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = DemoProc;
    wc.lpszClassName = "PresenterDemo";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "PresenterDemo", "Presenter demo", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                nullptr, nullptr, nullptr);
    SetFocus(hwnd);
    Redraw(hwnd);
    if (argc > 2)
        g_shot = argv[2];
    if (argc > 1)
        SetTimer(hwnd, 1, UINT(std::atoi(argv[1]) * 1000), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    host::StopPresenter();
    return 0;
}
