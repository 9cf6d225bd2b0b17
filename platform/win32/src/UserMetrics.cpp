// System metrics and colours of the classic desktop, the desktop size, and the window manager
// reset that tests use between cases.
#include "UserInternal.h"

#include <host/Desktop.h>
#if __has_include(<host/Display.h>)
#include <host/Display.h>
#define USER_HAS_DISPLAY 1
#endif
#include <host/UiScript.h>

namespace user {

namespace {

SIZE g_desktop{1024, 768};

constexpr COLORREF Rgb(int r, int g, int b)
{
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

const COLORREF kColors[] = {
    Rgb(192, 192, 192),  // COLOR_SCROLLBAR
    Rgb(0, 128, 128),    // COLOR_BACKGROUND
    Rgb(0, 0, 128),      // COLOR_ACTIVECAPTION
    Rgb(128, 128, 128),  // COLOR_INACTIVECAPTION
    Rgb(192, 192, 192),  // COLOR_MENU
    Rgb(255, 255, 255),  // COLOR_WINDOW
    Rgb(0, 0, 0),        // COLOR_WINDOWFRAME
    Rgb(0, 0, 0),        // COLOR_MENUTEXT
    Rgb(0, 0, 0),        // COLOR_WINDOWTEXT
    Rgb(255, 255, 255),  // COLOR_CAPTIONTEXT
    Rgb(192, 192, 192),  // COLOR_ACTIVEBORDER
    Rgb(192, 192, 192),  // COLOR_INACTIVEBORDER
    Rgb(128, 128, 128),  // COLOR_APPWORKSPACE
    Rgb(0, 0, 128),      // COLOR_HIGHLIGHT
    Rgb(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    Rgb(192, 192, 192),  // COLOR_BTNFACE
    Rgb(128, 128, 128),  // COLOR_BTNSHADOW
    Rgb(128, 128, 128),  // COLOR_GRAYTEXT
    Rgb(0, 0, 0),        // COLOR_BTNTEXT
    Rgb(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    Rgb(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    Rgb(0, 0, 0),        // COLOR_3DDKSHADOW
    Rgb(223, 223, 223),  // COLOR_3DLIGHT
    Rgb(0, 0, 0),        // COLOR_INFOTEXT
    Rgb(255, 255, 225),  // COLOR_INFOBK
    Rgb(180, 180, 180),  // 25: unused
    Rgb(0, 0, 255),      // COLOR_HOTLIGHT
    Rgb(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    Rgb(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
};

}  // namespace

SIZE DesktopSize()
{
    Guard g(Mutex());
    return g_desktop;
}

}  // namespace user

using namespace user;

int WINAPI GetSystemMetrics(int index)
{
    SIZE s = DesktopSize();
    switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXFULLSCREEN: return s.cx;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return s.cy;
    case SM_CYFULLSCREEN: return s.cy - 19;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 16;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_ARRANGE: return 8;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXTRACK: return s.cx + 12;
    case SM_CYMAXTRACK: return s.cy + 12;
    case SM_CXMAXIMIZED: return s.cx + 8;
    case SM_CYMAXIMIZED: return s.cy + 8;
    case SM_NETWORK: return 1;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

DWORD WINAPI GetSysColor(int index)
{
    if (index < 0 || index >= static_cast<int>(sizeof kColors / sizeof kColors[0]))
        return 0;
    return kColors[index];
}

namespace host {

void SetDesktopSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    RECT all;
    {
        Guard g(Mutex());
        g_desktop = SIZE{width, height};
        Window& d = Desktop();
        d.window = d.client = MakeRect(0, 0, width, height);
        all = d.window;
    }
#ifdef USER_HAS_DISPLAY
    host::SetDisplaySize(width, height);
#endif
    PaintDesktop(all);
    // The screen's pixels are new: every window paints itself again, frame and all, when its
    // thread next looks at its queue.
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

SIZE GetDesktopSize()
{
    return DesktopSize();
}

void ResetWindowManager()
{
    DWORD tid = GetCurrentThreadId();
    for (;;) {
        std::vector<WindowPtr> mine = AllWindowsOfThread(tid);
        HWND top = nullptr;
        for (auto& w : mine)
            if (IsTopLevel(*w)) {
                top = w->hwnd;
                break;
            }
        if (!top)
            break;
        DestroyWindow(top);
    }
    KillThreadTimers(tid);
    KillAllMultimediaTimers();
    ResetCurrentQueue();
    ResetInputState();
    ResetMenus();
    ResetUiScript();
    InstallPaletteHandlers();
    SetDesktopSize(1024, 768);
}

}  // namespace host
