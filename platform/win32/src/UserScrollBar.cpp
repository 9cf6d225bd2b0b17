// Scroll bars: the state of a window's bars, their geometry and drawing, the modal mouse loop
// that turns clicks, drags and thumb tracking into WM_HSCROLL / WM_VSCROLL requests, and the
// public SetScroll... / GetScroll... functions.
#include "ScrollBarInternal.h"
#include "UserInternal.h"

#include <host/UiScript.h>

#include <algorithm>

namespace user {
namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFFF5C01;
constexpr UINT kFirstRepeat = 400;
constexpr UINT kRepeat = 50;
constexpr int kMinThumb = 8;

bool ValidBar(int bar) { return bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL; }

// The last position the thumb can take: with a page, the page's bottom reaches max.
int MaxPos(const ScrollBarData& d)
{
    int top = d.max - (d.page > 0 ? static_cast<int>(d.page) - 1 : 0);
    return std::max(top, d.min);
}

int Clamp(const ScrollBarData& d, int pos) { return std::clamp(pos, d.min, MaxPos(d)); }

// Layout along the bar: arrow length, thumb start and length (offsets from the bar's start).
struct Layout {
    int length = 0;
    int arrow = 0;
    int thumbStart = 0;
    int thumbLength = 0;  // 0: no thumb
};

Layout ComputeLayout(const RECT& r, bool vertical, const ScrollBarData& d)
{
    Layout l;
    l.length = vertical ? r.bottom - r.top : r.right - r.left;
    int thickness = vertical ? r.right - r.left : r.bottom - r.top;
    l.arrow = std::min(thickness, l.length / 2);
    int track = l.length - 2 * l.arrow;
    int range = d.max - d.min + 1;
    if (track < kMinThumb || d.max <= d.min || (d.page > 0 && static_cast<int>(d.page) >= range))
        return l;
    int thumb = d.page > 0 ? static_cast<int>(static_cast<long long>(track) * d.page / range) : thickness;
    thumb = std::clamp(thumb, kMinThumb, track);
    int span = MaxPos(d) - d.min;
    int pos = d.tracking && d.pressed == PartThumb ? d.trackPos : d.pos;
    int offset = span > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * (pos - d.min) / span) : 0;
    l.thumbStart = l.arrow + offset;
    l.thumbLength = thumb;
    return l;
}

RECT PartRect(const RECT& r, bool vertical, int from, int to)
{
    return vertical ? MakeRect(r.left, r.top + from, r.right, r.top + to)
                    : MakeRect(r.left + from, r.top, r.left + to, r.bottom);
}

// The position a thumb dragged by `delta` pixels from `startPos` stands for.
int PosForDrag(const RECT& r, bool vertical, const ScrollBarData& d, int startPos, int delta)
{
    Layout l = ComputeLayout(r, vertical, d);
    int track = l.length - 2 * l.arrow - l.thumbLength;
    int span = MaxPos(d) - d.min;
    if (track <= 0 || span <= 0)
        return startPos;
    int startOffset = static_cast<int>(static_cast<long long>(track) * (startPos - d.min) / span);
    int offset = std::clamp(startOffset + delta, 0, track);
    int pos = d.min + static_cast<int>((static_cast<long long>(offset) * span + track / 2) / track);
    return Clamp(d, pos);
}

bool ArrowDisabled(const ScrollBarData& d, int part)
{
    return (part == PartArrowLow && (d.arrows & ESB_DISABLE_LTUP)) ||
           (part == PartArrowHigh && (d.arrows & ESB_DISABLE_RTDN));
}

int CodeForPart(int part)
{
    switch (part) {
    case PartArrowLow: return SB_LINEUP;
    case PartPageLow: return SB_PAGEUP;
    case PartPageHigh: return SB_PAGEDOWN;
    case PartArrowHigh: return SB_LINEDOWN;
    default: return -1;
    }
}

void Redraw(HWND hwnd, int bar)
{
    if (!IsWindowVisible(hwnd))
        return;
    if (bar == SB_CTL)
        InvalidateRect(hwnd, nullptr, TRUE);
    else
        DrawNonClient(hwnd);
}

// A window bar that has nothing to scroll disappears (or is disabled with SIF_DISABLENOSCROLL);
// one that gets something to scroll again comes back.
void UpdateWindowBarVisibility(HWND hwnd, int bar, const ScrollBarData& d, bool disableNoScroll)
{
    bool needed = d.max > d.min && (d.page == 0 || static_cast<int>(d.page) <= d.max - d.min);
    if (disableNoScroll) {
        EnableScrollBar(hwnd, static_cast<UINT>(bar), needed ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
        if (needed)
            ShowScrollBar(hwnd, bar, TRUE);
        return;
    }
    ShowScrollBar(hwnd, bar, needed);
}

}  // namespace

ScrollBarData* ScrollBarOf(HWND hwnd, int bar)
{
    if (!ValidBar(bar))
        return nullptr;
    WindowPtr w = Find(hwnd);
    if (!w)
        return nullptr;
    Guard g(Mutex());
    if (!w->scrollBars)
        w->scrollBars = std::make_shared<ScrollBarState>();
    ScrollBarState& s = *w->scrollBars;
    if (!s.initialised[bar]) {
        s.initialised[bar] = true;
        if (bar != SB_CTL)
            s.bars[bar].max = 100;
    }
    return &s.bars[bar];
}

int ScrollSetInfo(HWND hwnd, int bar, const SCROLLINFO& si, BOOL redraw)
{
    ScrollBarData* d = ScrollBarOf(hwnd, bar);
    if (!d)
        return 0;
    if (si.fMask & SIF_RANGE) {
        d->min = si.nMin;
        d->max = std::max(si.nMax, si.nMin);
    }
    if (si.fMask & SIF_PAGE)
        d->page = std::min<UINT>(si.nPage, static_cast<UINT>(d->max - d->min + 1));
    if (si.fMask & SIF_POS)
        d->pos = si.nPos;
    d->pos = Clamp(*d, d->pos);
    int pos = d->pos;
    if (bar != SB_CTL && (si.fMask & (SIF_RANGE | SIF_PAGE)))
        UpdateWindowBarVisibility(hwnd, bar, *d, (si.fMask & SIF_DISABLENOSCROLL) != 0);
    if (redraw)
        Redraw(hwnd, bar);
    return pos;
}

BOOL ScrollGetInfo(HWND hwnd, int bar, SCROLLINFO& si)
{
    ScrollBarData* d = ScrollBarOf(hwnd, bar);
    if (!d || !(si.fMask & SIF_ALL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (si.fMask & SIF_RANGE) {
        si.nMin = d->min;
        si.nMax = d->max;
    }
    if (si.fMask & SIF_PAGE)
        si.nPage = d->page;
    if (si.fMask & SIF_POS)
        si.nPos = d->pos;
    if (si.fMask & SIF_TRACKPOS)
        si.nTrackPos = d->tracking ? d->trackPos : d->pos;
    return TRUE;
}

BOOL ScrollEnableArrows(HWND hwnd, int bar, UINT arrows)
{
    ScrollBarData* d = ScrollBarOf(hwnd, bar);
    if (!d) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (d->arrows == (arrows & ESB_DISABLE_BOTH))
        return FALSE;  // nothing changes
    d->arrows = arrows & ESB_DISABLE_BOTH;
    Redraw(hwnd, bar);
    return TRUE;
}

void DrawScrollBar(HDC hdc, const RECT& r, bool vertical, const ScrollBarData& d, bool enabled)
{
    Layout l = ComputeLayout(r, vertical, d);
    bool active = enabled && d.arrows != ESB_DISABLE_BOTH;
    auto arrow = [&](int part, int from, int to, UINT kind) {
        RECT a = PartRect(r, vertical, from, to);
        UINT state = kind;
        if (!active || ArrowDisabled(d, part) || l.thumbLength == 0)
            state |= DFCS_INACTIVE;
        if (d.tracking && d.pressed == part)
            state |= DFCS_PUSHED | DFCS_FLAT;
        DrawFrameControl(hdc, &a, DFC_SCROLL, state);
    };
    arrow(PartArrowLow, 0, l.arrow, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    arrow(PartArrowHigh, l.length - l.arrow, l.length, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
    int trackEnd = l.length - l.arrow;
    // The track: the scroll bar colour, lightened halfway to the highlight when it matches the
    // button face (the classic look of a light track between raised arrows).
    COLORREF bar = GetSysColor(COLOR_SCROLLBAR);
    if (bar == GetSysColor(COLOR_BTNFACE)) {
        COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT);
        bar = RGB((GetRValue(bar) + GetRValue(hi)) / 2, (GetGValue(bar) + GetGValue(hi)) / 2,
                  (GetBValue(bar) + GetBValue(hi)) / 2);
    }
    HBRUSH track = CreateSolidBrush(bar);
    HBRUSH pressed = GetSysColorBrush(COLOR_3DDKSHADOW);
    if (l.thumbLength == 0 || !active) {
        RECT t = PartRect(r, vertical, l.arrow, trackEnd);
        FillRect(hdc, &t, track);
        DeleteObject(track);
        return;
    }
    RECT low = PartRect(r, vertical, l.arrow, l.thumbStart);
    RECT high = PartRect(r, vertical, l.thumbStart + l.thumbLength, trackEnd);
    FillRect(hdc, &low, d.tracking && d.pressed == PartPageLow ? pressed : track);
    FillRect(hdc, &high, d.tracking && d.pressed == PartPageHigh ? pressed : track);
    RECT thumb = PartRect(r, vertical, l.thumbStart, l.thumbStart + l.thumbLength);
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DeleteObject(track);
}

int ScrollHitTest(const RECT& r, bool vertical, const ScrollBarData& d, POINT p)
{
    if (!PointIn(r, p))
        return PartNone;
    Layout l = ComputeLayout(r, vertical, d);
    int at = vertical ? p.y - r.top : p.x - r.left;
    if (at < l.arrow)
        return PartArrowLow;
    if (at >= l.length - l.arrow)
        return PartArrowHigh;
    if (l.thumbLength == 0)
        return PartNone;
    if (at < l.thumbStart)
        return PartPageLow;
    if (at < l.thumbStart + l.thumbLength)
        return PartThumb;
    return PartPageHigh;
}

void TrackScrollBar(HWND hwnd, int bar, const RECT& barScreen, bool vertical, POINT screenPt, HWND notify, HWND ctl)
{
    ScrollBarData* d = ScrollBarOf(hwnd, bar);
    if (!d || d->tracking)
        return;
    int part = ScrollHitTest(barScreen, vertical, *d, screenPt);
    if (part == PartNone || ArrowDisabled(*d, part) || d->arrows == ESB_DISABLE_BOTH)
        return;
    UINT scrollMsg = vertical ? WM_VSCROLL : WM_HSCROLL;
    auto request = [&](int code, int pos) {
        SendMessageA(notify, scrollMsg, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(ctl));
    };
    d->tracking = true;
    d->pressed = part;
    d->trackPos = d->pos;
    int startPos = d->pos;
    SetCapture(hwnd);
    Redraw(hwnd, bar);
    int code = CodeForPart(part);
    if (code >= 0) {
        request(code, 0);
        SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
    }
    // Auto-repeat applies while the mouse stays on the pressed part (a page part stops when the
    // thumb reaches the mouse).
    POINT mouse = screenPt;
    for (;;) {
        MSG msg;
        if (GetCapture() != hwnd)
            break;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            // Input queued before the capture may come as non-client messages or for other
            // windows: the screen position is what counts.
            if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP)
                break;
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
                mouse = msg.pt;
                if (part == PartThumb) {
                    int delta = vertical ? mouse.y - screenPt.y : mouse.x - screenPt.x;
                    int pos = PosForDrag(barScreen, vertical, *d, startPos, delta);
                    if (pos != d->trackPos) {
                        d->trackPos = pos;
                        Redraw(hwnd, bar);
                        request(SB_THUMBTRACK, pos);
                    }
                }
                continue;
            }
            if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == kRepeatTimer) {
                SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
                if (ScrollHitTest(barScreen, vertical, *d, mouse) == part)
                    request(code, 0);
                continue;
            }
            if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK))
                continue;
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        // Nothing queued: headless runs end the press here unless a test has an action for it.
        if (!host::IsInteractive() && host::PendingModalActions() == 0)
            break;
        if (!host::ModalLoopIdle(hwnd, "scroll bar"))
            break;
        if (host::IsInteractive())
            WaitMessage();
    }
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    d = ScrollBarOf(hwnd, bar);
    if (!d)
        return;
    int finalPos = d->trackPos;
    d->tracking = false;
    d->pressed = PartNone;
    if (part == PartThumb)
        request(SB_THUMBPOSITION, finalPos);
    request(SB_ENDSCROLL, 0);
    if (IsWindow(hwnd))
        Redraw(hwnd, bar);
}

void DrawWindowScrollBars(HWND hwnd, HDC hdc, const RECT& cr)
{
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    bool enabled = !(style & WS_DISABLED);
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    int cy = GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL) {
        if (ScrollBarData* d = ScrollBarOf(hwnd, SB_VERT))
            DrawScrollBar(hdc, MakeRect(cr.right, cr.top, cr.right + cx, cr.bottom), true, *d, enabled);
    }
    if (style & WS_HSCROLL) {
        if (ScrollBarData* d = ScrollBarOf(hwnd, SB_HORZ))
            DrawScrollBar(hdc, MakeRect(cr.left, cr.bottom, cr.right, cr.bottom + cy), false, *d, enabled);
    }
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL)) {
        RECT corner = MakeRect(cr.right, cr.bottom, cr.right + cx, cr.bottom + cy);
        FillRect(hdc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void TrackWindowScrollBar(HWND hwnd, int hitTest, POINT screenPt)
{
    RECT c;
    GetClientRect(hwnd, &c);
    POINT o{0, 0};
    ClientToScreen(hwnd, &o);
    c = Offset(c, o.x, o.y);
    bool vertical = hitTest == HTVSCROLL;
    RECT bar = vertical ? MakeRect(c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom)
                        : MakeRect(c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL));
    TrackScrollBar(hwnd, vertical ? SB_VERT : SB_HORZ, bar, vertical, screenPt, hwnd, nullptr);
}

}  // namespace user

using namespace user;

namespace {

// The window bars need the style bit to exist; the control is reached through its messages.
bool HasBar(HWND hwnd, int bar)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (bar == SB_CTL)
        return true;
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    WindowPtr w = Find(hwnd);
    bool known = false;
    {
        Guard g(Mutex());
        known = w && w->scrollBars && w->scrollBars->initialised[bar];
    }
    if ((bar == SB_VERT && (style & WS_VSCROLL)) || (bar == SB_HORZ && (style & WS_HSCROLL)) || known)
        return true;
    SetLastError(ERROR_NO_SCROLLBARS);
    return false;
}

bool CheckBar(int bar)
{
    if (bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL)
        return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO si, BOOL redraw)
{
    if (!si || !CheckBar(bar) || !IsWindow(hwnd)) {
        if (si && !IsWindow(hwnd))
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(si)));
    return ScrollSetInfo(hwnd, bar, *si, redraw);
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO si)
{
    if (!si || !CheckBar(bar) || !HasBar(hwnd, bar))
        return FALSE;
    if (bar == SB_CTL)
        return static_cast<BOOL>(SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(si)));
    return ScrollGetInfo(hwnd, bar, *si);
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    if (!CheckBar(bar) || !HasBar(hwnd, bar))
        return 0;
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageA(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
    int old = ScrollBarOf(hwnd, bar)->pos;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
    ScrollSetInfo(hwnd, bar, si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    if (!CheckBar(bar) || !HasBar(hwnd, bar))
        return 0;
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
    return ScrollBarOf(hwnd, bar)->pos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (!CheckBar(bar) || !IsWindow(hwnd)) {
        if (!IsWindow(hwnd))
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (static_cast<long long>(maxPos) - minPos > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageA(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
        return TRUE;
    }
    SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
    ScrollSetInfo(hwnd, bar, si, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos)
{
    if (!minPos || !maxPos || !CheckBar(bar))
        return FALSE;
    if (!HasBar(hwnd, bar)) {
        *minPos = *maxPos = 0;
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    ScrollBarData* d = ScrollBarOf(hwnd, bar);
    *minPos = d->min;
    *maxPos = d->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : 0;
    if (!bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar != SB_BOTH)
        ScrollBarOf(hwnd, bar);
    else {
        ScrollBarOf(hwnd, SB_HORZ);
        ScrollBarOf(hwnd, SB_VERT);
    }
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    DWORD updated = show ? (style | bits) : (style & ~bits);
    if (updated != style) {
        SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(updated));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT flags, UINT arrows)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (flags == SB_CTL)
        return static_cast<BOOL>(SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    if (flags == SB_BOTH) {
        BOOL h = ScrollEnableArrows(hwnd, SB_HORZ, arrows);
        BOOL v = ScrollEnableArrows(hwnd, SB_VERT, arrows);
        return h || v;
    }
    if (flags != SB_HORZ && flags != SB_VERT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ScrollEnableArrows(hwnd, static_cast<int>(flags), arrows);
}
