// The progress bar (PROGRESS_CLASS): a range, a position and a step, drawn in the classic look
// as blocks of the highlight colour in a sunken frame (PBS_SMOOTH: one solid bar).
#include "ControlsInternal.h"
#include "UserInternal.h"

#include <commctrl.h>

#include <algorithm>

namespace controls {
namespace {

struct ProgressState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF bar = CLR_DEFAULT;
    COLORREF background = CLR_DEFAULT;
};

ProgressState& S(HWND hwnd) { return StateOf<ProgressState>(hwnd); }

int Clamp(const ProgressState& s, int pos) { return std::clamp(pos, std::min(s.low, s.high), std::max(s.low, s.high)); }

// Sets the position, repainting when it changed; returns the old one.
int SetPos(HWND hwnd, ProgressState& s, int pos)
{
    int old = s.pos;
    s.pos = Clamp(s, pos);
    if (s.pos != old)
        InvalidateRect(hwnd, nullptr, TRUE);
    return old;
}

LRESULT SetRange(HWND hwnd, ProgressState& s, int low, int high)
{
    LRESULT old = MAKELRESULT(static_cast<WORD>(s.low), static_cast<WORD>(s.high));
    s.low = low;
    s.high = high;
    s.pos = Clamp(s, s.pos);
    InvalidateRect(hwnd, nullptr, TRUE);
    return old;
}

void Paint(HWND hwnd, ProgressState& s)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH back = s.background == CLR_DEFAULT ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(s.background);
    FillRect(hdc, &r, back);
    if (s.background != CLR_DEFAULT)
        DeleteObject(back);
    DrawEdge(hdc, &r, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -2, -2);
    bool vertical = (GetWindowLongA(hwnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    int length = vertical ? r.bottom - r.top : r.right - r.left;
    int range = s.high - s.low;
    int filled = range > 0 ? static_cast<int>(static_cast<long long>(s.pos - s.low) * length / range) : 0;
    filled = std::clamp(filled, 0, std::max(0, length));
    HBRUSH bar = s.bar == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(s.bar);
    if (GetWindowLongA(hwnd, GWL_STYLE) & PBS_SMOOTH) {
        RECT f = vertical ? RECT{r.left, r.bottom - filled, r.right, r.bottom} : RECT{r.left, r.top, r.left + filled, r.bottom};
        FillRect(hdc, &f, bar);
    } else {
        // Blocks two thirds as wide as the bar is thick, two pixels apart; a block is drawn
        // once the position reaches into it.
        int thickness = vertical ? r.right - r.left : r.bottom - r.top;
        int block = std::max(1, thickness * 2 / 3);
        for (int at = 0; at < filled; at += block + 2) {
            int end = std::min(at + block, length);
            RECT f = vertical ? RECT{r.left, r.bottom - end, r.right, r.bottom - at} : RECT{r.left + at, r.top, r.left + end, r.bottom};
            FillRect(hdc, &f, bar);
        }
    }
    if (s.bar != CLR_DEFAULT)
        DeleteObject(bar);
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ProgressState& s = S(hwnd);
    switch (msg) {
    case WM_NCDESTROY:
        DropState<ProgressState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case PBM_SETRANGE:
        return SetRange(hwnd, s, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
        return SetRange(hwnd, s, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: {
        if (auto* r = reinterpret_cast<PBRANGE*>(lParam)) {
            r->iLow = s.low;
            r->iHigh = s.high;
        }
        return wParam ? s.low : s.high;
    }
    case PBM_SETPOS:
        return SetPos(hwnd, s, static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return SetPos(hwnd, s, s.pos + static_cast<int>(wParam));
    case PBM_GETPOS:
        return s.pos;
    case PBM_SETSTEP: {
        int old = s.step;
        s.step = static_cast<int>(wParam);
        return old;
    }
    case PBM_STEPIT: {
        // Past the end the bar starts again from the beginning.
        int next = s.pos + s.step;
        if (next > std::max(s.low, s.high))
            next = std::min(s.low, s.high) + (next - std::max(s.low, s.high));
        int old = s.pos;
        SetPos(hwnd, s, next);
        return old;
    }
    case PBM_SETBARCOLOR: {
        COLORREF old = s.bar;
        s.bar = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case PBM_SETBKCOLOR: {
        COLORREF old = s.background;
        s.background = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
