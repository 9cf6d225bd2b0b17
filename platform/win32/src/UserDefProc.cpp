// DefWindowProc: the default handling of every message a window procedure passes on.
#include "ScrollBarInternal.h"
#include "UserInternal.h"
#include "UserRemote.h"

#include <algorithm>
#include <cstring>

using namespace user;

namespace {

HCURSOR SizeCursor(LRESULT hit)
{
    switch (hit) {
    case HTLEFT: case HTRIGHT: return LoadCursorA(nullptr, IDC_SIZEWE);
    case HTTOP: case HTBOTTOM: return LoadCursorA(nullptr, IDC_SIZENS);
    case HTTOPLEFT: case HTBOTTOMRIGHT: return LoadCursorA(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT: case HTBOTTOMLEFT: return LoadCursorA(nullptr, IDC_SIZENESW);
    default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

LRESULT SysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    switch (wParam & 0xFFF0) {
    case SC_CLOSE:
        Send(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_MAXIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        return 0;
    case SC_MOVE:
    case SC_SIZE:
        TrackMoveSize(hwnd, wParam, lParam);
        return 0;
    case SC_MOUSEMENU:
        // The low bits say where the click was: the caption's icon or the menu bar.
        if ((wParam & 0x000F) == HTSYSMENU)
            TrackSystemMenu(hwnd);
        else
            TrackMenuBar(hwnd, 0, true);
        return 0;
    case SC_KEYMENU:
        // Alt+Space opens the window menu, any other key the menu bar.
        if (lParam == VK_SPACE)
            TrackSystemMenu(hwnd);
        else
            TrackMenuBar(hwnd, static_cast<UINT>(lParam), false);
        return 0;
    default:
        return 0;
    }
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
            Guard g(Mutex());
            w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        RECT* r = reinterpret_cast<RECT*>(lParam);  // the first rectangle of NCCALCSIZE_PARAMS too
        if (r) {
            Guard g(Mutex());
            *r = DefaultClientRect(*w, *r);
        }
        return 0;
    }
    case WM_NCHITTEST: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        Guard g(Mutex());
        return DefaultHitTest(*w, p);
    }
    case WM_NCPAINT:
        DrawNonClient(hwnd);
        return 0;
    case WM_NCACTIVATE:
        w->ncActive = wParam != FALSE;
        if (w->style & WS_CAPTION)
            DrawNonClient(hwnd);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && !(w->style & WS_MINIMIZE))
            SetFocus(hwnd);
        return 0;
    case WM_SETTEXT: {
        {
            Guard g(Mutex());
            const char* text = reinterpret_cast<const char*>(lParam);
            w->text = text ? text : "";
        }
        if (IsTopLevel(*w))
            remote::Publish();
        if ((w->style & WS_CAPTION) == WS_CAPTION)
            DrawNonClient(hwnd);
        return TRUE;
    }
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        int max = static_cast<int>(wParam);
        if (!buffer || max <= 0)
            return 0;
        Guard g(Mutex());
        int n = std::min<int>(static_cast<int>(w->text.size()), max - 1);
        std::memcpy(buffer, w->text.data(), static_cast<size_t>(n));
        buffer[n] = 0;
        return n;
    }
    case WM_GETTEXTLENGTH: {
        Guard g(Mutex());
        return static_cast<LRESULT>(w->text.size());
    }
    case WM_SETICON: {
        // The window's own icons, in place of its class's: the small one shows in the caption.
        HICON old;
        {
            Guard g(Mutex());
            HICON& slot = wParam == ICON_BIG ? w->icon : w->iconSmall;
            old = slot;
            slot = reinterpret_cast<HICON>(lParam);
        }
        if ((w->style & WS_CAPTION) == WS_CAPTION)
            DrawNonClient(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: {
        Guard g(Mutex());
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->icon : w->iconSmall);
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ERASEBKGND: {
        HBRUSH brush = w->cls->brush;
        if (!brush)
            return 0;
        RECT r;
        GetClientRect(hwnd, &r);
        FillBackground(reinterpret_cast<HDC>(wParam), hwnd, r, brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!wp)
            return 0;
        RECT c;
        POINT origin;
        {
            Guard g(Mutex());
            c = w->client;
            origin = w->parent ? ClientOrigin(*w->parent) : POINT{0, 0};
        }
        if (!(wp->flags & SWP_NOCLIENTMOVE))
            Send(hwnd, WM_MOVE, 0, MAKELPARAM(c.left - origin.x, c.top - origin.y));
        if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_FRAMECHANGED && !(wp->flags & SWP_NOSIZE))) {
            WPARAM type = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
            Send(hwnd, WM_SIZE, type, MAKELPARAM(c.right - c.left, c.bottom - c.top));
        }
        return 0;
    }
    case WM_SETCURSOR: {
        LRESULT hit = static_cast<SHORT>(LOWORD(lParam));
        if ((w->style & WS_CHILD) && w->parent) {
            HWND parent = w->parent->hwnd;
            if (Send(parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
        }
        if (hit == HTCLIENT) {
            if (w->cls->cursor) {
                SetCursor(w->cls->cursor);
                return TRUE;
            }
            return FALSE;
        }
        if (hit == HTERROR) {
            if (HIWORD(lParam) == WM_LBUTTONDOWN)
                MessageBeep(0);
            return FALSE;
        }
        SetCursor(SizeCursor(hit));
        return FALSE;
    }
    case WM_MOUSEACTIVATE:
        if ((w->style & WS_CHILD) && w->parent) {
            LRESULT r = Send(w->parent->hwnd, WM_MOUSEACTIVATE, wParam, lParam);
            if (r)
                return r;
        }
        return MA_ACTIVATE;
    case WM_NCLBUTTONDOWN:
        switch (wParam) {
        case HTMENU:
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, lParam);
            break;
        case HTHSCROLL:
        case HTVSCROLL:
            TrackWindowScrollBar(hwnd, static_cast<int>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case HTCLOSE:
        case HTMINBUTTON:
        case HTMAXBUTTON:
            w->ncButtonDown = static_cast<int>(wParam);
            DrawNonClient(hwnd);  // the box shows pressed
            break;
        default:
            if (!(w->style & WS_CHILD))
                SetActiveWindow(hwnd);
            if (!IsWindow(hwnd))
                break;
            // The icon opens the window menu, the caption moves the window (unless it is
            // maximized) and a sizing border sizes it.
            if (wParam == HTSYSMENU && (w->style & WS_SYSMENU))
                SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lParam);
            else if (wParam == HTCAPTION && !(w->style & WS_MAXIMIZE))
                SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
            else if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT && (w->style & WS_THICKFRAME) &&
                     !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
                SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | (wParam - HTLEFT + WMSZ_LEFT), lParam);
            break;
        }
        return 0;
    case WM_NCLBUTTONUP: {
        int pressed = w->ncButtonDown;
        w->ncButtonDown = 0;
        if (pressed)
            DrawNonClient(hwnd);
        if (pressed && pressed == static_cast<int>(wParam)) {
            WPARAM cmd = pressed == HTCLOSE      ? SC_CLOSE
                         : pressed == HTMINBUTTON ? SC_MINIMIZE
                         : (w->style & WS_MAXIMIZE) ? SC_RESTORE
                                                    : SC_MAXIMIZE;
            SendMessageA(hwnd, WM_SYSCOMMAND, cmd, lParam);
        }
        return 0;
    }
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
            SendMessageA(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (wParam == HTSYSMENU && (w->style & WS_SYSMENU))
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (msg == WM_RBUTTONUP)
            ClientToScreen(hwnd, &p);
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CONTEXTMENU:
        if ((w->style & WS_CHILD) && w->parent)
            return Send(w->parent->hwnd, msg, wParam, lParam);
        // A right click on the caption opens the window menu where the mouse is.
        if (w->style & WS_SYSMENU) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            LRESULT hit = Send(hwnd, WM_NCHITTEST, 0, lParam);
            if (hit == HTCAPTION || hit == HTSYSMENU)
                TrackSystemMenu(hwnd, &p);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if ((w->style & WS_CHILD) && w->parent)
            return Send(w->parent->hwnd, msg, wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        return SysCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSKEYUP:
        if (wParam == VK_MENU || wParam == VK_F10) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            SendMessageA(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (HIWORD(lParam) & KF_ALTDOWN) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            if (wParam != VK_SPACE || (GetWindowLongA(top, GWL_STYLE) & WS_SYSMENU))
                SendMessageA(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SETREDRAW: {
        Guard g(Mutex());
        if (wParam)
            w->style |= WS_VISIBLE;
        else
            w->style &= ~WS_VISIBLE;
        return 0;
    }
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_SHOWWINDOW:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    default:
        return 0;
    }
}
