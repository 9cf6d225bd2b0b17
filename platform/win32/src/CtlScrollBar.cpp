// The scroll bar control ("SCROLLBAR"): a bar of its own (SB_CTL) that sends WM_HSCROLL /
// WM_VSCROLL to its parent, with the keyboard interface of a focused bar.
#include "ControlsInternal.h"
#include "ScrollBarInternal.h"

namespace controls {
namespace {

bool Vertical(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & SBS_VERT) != 0; }

void Request(HWND hwnd, int code, int pos = 0)
{
    HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageA(parent, Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     reinterpret_cast<LPARAM>(hwnd));
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
        FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (style & SBS_SIZEGRIP)
            DrawFrameControl(hdc, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    } else if (user::ScrollBarData* d = user::ScrollBarOf(hwnd, SB_CTL)) {
        controls::ControlColor(hwnd, hdc, WM_CTLCOLORSCROLLBAR);
        user::DrawScrollBar(hdc, r, (style & SBS_VERT) != 0, *d, IsWindowEnabled(hwnd) != FALSE);
    }
    if (GetFocus() == hwnd) {
        RECT f = r;
        InflateRect(&f, -2, -2);
        DrawFocusRect(hdc, &f);
    }
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    user::ScrollBarData* d = user::ScrollBarOf(hwnd, SB_CTL);
    if (!d)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        // The standard thickness along the bar's short side unless told to keep the given size.
        if (!(cs->style & (SBS_SIZEBOX | SBS_SIZEGRIP))) {
            if ((cs->style & SBS_VERT) && (cs->style & SBS_RIGHTALIGN))
                MoveWindow(hwnd, cs->x + cs->cx - GetSystemMetrics(SM_CXVSCROLL), cs->y, GetSystemMetrics(SM_CXVSCROLL), cs->cy, FALSE);
            else if ((cs->style & SBS_VERT) && (cs->style & SBS_LEFTALIGN))
                MoveWindow(hwnd, cs->x, cs->y, GetSystemMetrics(SM_CXVSCROLL), cs->cy, FALSE);
            else if (!(cs->style & SBS_VERT) && (cs->style & SBS_BOTTOMALIGN))
                MoveWindow(hwnd, cs->x, cs->y + cs->cy - GetSystemMetrics(SM_CYHSCROLL), cs->cx, GetSystemMetrics(SM_CYHSCROLL), FALSE);
            else if (!(cs->style & SBS_VERT) && (cs->style & SBS_TOPALIGN))
                MoveWindow(hwnd, cs->x, cs->y, cs->cx, GetSystemMetrics(SM_CYHSCROLL), FALSE);
        }
        return 0;
    }
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP)
            SetFocus(hwnd);
        RECT r;
        GetClientRect(hwnd, &r);
        POINT o{0, 0};
        ClientToScreen(hwnd, &o);
        OffsetRect(&r, o.x, o.y);
        POINT p{GET_X_LPARAM(lParam) + o.x, GET_Y_LPARAM(lParam) + o.y};
        user::TrackScrollBar(hwnd, SB_CTL, r, Vertical(hwnd), p, GetParent(hwnd), hwnd);
        return 0;
    }
    case WM_KEYDOWN: {
        bool vertical = Vertical(hwnd);
        int code = -1;
        switch (wParam) {
        case VK_UP: code = vertical ? SB_LINEUP : -1; break;
        case VK_DOWN: code = vertical ? SB_LINEDOWN : -1; break;
        case VK_LEFT: code = vertical ? -1 : SB_LINELEFT; break;
        case VK_RIGHT: code = vertical ? -1 : SB_LINERIGHT; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: break;
        }
        if (code >= 0 && IsWindowEnabled(hwnd)) {
            Request(hwnd, code);
            Request(hwnd, SB_ENDSCROLL);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case SBM_SETPOS: {
        int old = d->pos;
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
        user::ScrollSetInfo(hwnd, SB_CTL, si, static_cast<BOOL>(lParam));
        return old;
    }
    case SBM_GETPOS:
        return d->pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int old = d->pos;
        SCROLLINFO si{sizeof si, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
        user::ScrollSetInfo(hwnd, SB_CTL, si, msg == SBM_SETRANGEREDRAW);
        return old;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<LPINT>(wParam) = d->min;
        if (lParam)
            *reinterpret_cast<LPINT>(lParam) = d->max;
        return 0;
    case SBM_ENABLE_ARROWS:
        return user::ScrollEnableArrows(hwnd, SB_CTL, static_cast<UINT>(wParam));
    case SBM_SETSCROLLINFO:
        if (!lParam)
            return 0;
        return user::ScrollSetInfo(hwnd, SB_CTL, *reinterpret_cast<LPCSCROLLINFO>(lParam), static_cast<BOOL>(wParam));
    case SBM_GETSCROLLINFO:
        if (!lParam)
            return FALSE;
        return user::ScrollGetInfo(hwnd, SB_CTL, *reinterpret_cast<LPSCROLLINFO>(lParam));
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
