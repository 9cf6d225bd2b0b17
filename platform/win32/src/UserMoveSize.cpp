// The move and size loop: WM_SYSCOMMAND SC_MOVE and SC_SIZE, started by a drag on the caption
// or a sizing border, or from the window menu and then driven by the arrow keys. The window
// follows at once (full-window dragging), each step offered first to the window as
// WM_MOVING/WM_SIZING and sizes kept within what WM_GETMINMAXINFO allows.
#include "UserInternal.h"

#include <host/UiScript.h>

#include <algorithm>

namespace user {

namespace {

constexpr int kKeyStep = 8;  // pixels an arrow key moves

thread_local bool t_tracking = false;  // one loop at a time on a thread

struct MoveSize {
    HWND hwnd = nullptr;
    bool sizing = false;
    bool keyboard = false;
    int edge = 0;        // WMSZ_ code while sizing; 0 until an arrow key picks one
    RECT original{};     // screen
    POINT offset{};      // how far the pointer has travelled since the start
    POINT last{};        // last mouse position seen (screen)
    MINMAXINFO limits{};
    bool ended = false;
    bool cancelled = false;
};

bool MovesLeft(int edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool MovesRight(int edge) { return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT; }
bool MovesTop(int edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }
bool MovesBottom(int edge) { return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT; }

// The rectangle the drag asks for: moved by the offset, or the dragged edges moved and the size
// kept within the tracking limits (the edge opposite the dragged one stays put).
RECT Proposed(const MoveSize& s)
{
    RECT r = s.original;
    if (!s.sizing)
        return Offset(r, s.offset.x, s.offset.y);
    const MINMAXINFO& m = s.limits;
    LONG minX = m.ptMinTrackSize.x, maxX = std::max(m.ptMinTrackSize.x, m.ptMaxTrackSize.x);
    LONG minY = m.ptMinTrackSize.y, maxY = std::max(m.ptMinTrackSize.y, m.ptMaxTrackSize.y);
    if (MovesLeft(s.edge))
        r.left = r.right - std::clamp<LONG>(r.right - (r.left + s.offset.x), minX, maxX);
    if (MovesRight(s.edge))
        r.right = r.left + std::clamp<LONG>((r.right + s.offset.x) - r.left, minX, maxX);
    if (MovesTop(s.edge))
        r.top = r.bottom - std::clamp<LONG>(r.bottom - (r.top + s.offset.y), minY, maxY);
    if (MovesBottom(s.edge))
        r.bottom = r.top + std::clamp<LONG>((r.bottom + s.offset.y) - r.top, minY, maxY);
    return r;
}

// Puts the window at a screen rectangle.
void Place(HWND hwnd, const RECT& screen, bool sizing)
{
    POINT origin{0, 0};
    {
        Guard g(Mutex());
        WindowPtr w = Find(hwnd);
        if (!w)
            return;
        if (w->parent && !IsTopLevel(*w))
            origin = ClientOrigin(*w->parent);
        if (SameRect(w->window, screen))
            return;
    }
    SetWindowPosInternal(hwnd, nullptr, screen.left - origin.x, screen.top - origin.y, screen.right - screen.left,
                         screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
}

void Step(MoveSize& s)
{
    if (s.sizing && !s.edge)
        return;
    RECT r = Proposed(s);
    SendMessageA(s.hwnd, s.sizing ? WM_SIZING : WM_MOVING, s.sizing ? static_cast<WPARAM>(s.edge) : 0,
                 reinterpret_cast<LPARAM>(&r));
    if (IsWindow(s.hwnd))
        Place(s.hwnd, r, s.sizing);
}

// An arrow key: moves by a step, or while sizing from the keyboard first picks the edge (a key
// at right angles to the picked edge then makes it a corner).
void Arrow(MoveSize& s, UINT vk)
{
    int dx = vk == VK_LEFT ? -kKeyStep : vk == VK_RIGHT ? kKeyStep : 0;
    int dy = vk == VK_UP ? -kKeyStep : vk == VK_DOWN ? kKeyStep : 0;
    if (s.sizing) {
        bool horizontalEdge = MovesLeft(s.edge) || MovesRight(s.edge);
        bool verticalEdge = MovesTop(s.edge) || MovesBottom(s.edge);
        if (!s.edge) {
            s.edge = dx < 0 ? WMSZ_LEFT : dx > 0 ? WMSZ_RIGHT : dy < 0 ? WMSZ_TOP : WMSZ_BOTTOM;
            return;
        }
        if (dx && !horizontalEdge) {
            s.edge = (dx < 0 ? WMSZ_TOPLEFT : WMSZ_TOPRIGHT) + (MovesBottom(s.edge) ? 3 : 0);
            return;
        }
        if (dy && !verticalEdge) {
            s.edge = (dy < 0 ? WMSZ_TOPLEFT : WMSZ_BOTTOMLEFT) + (MovesRight(s.edge) ? 1 : 0);
            return;
        }
    }
    s.offset.x += dx;
    s.offset.y += dy;
    Step(s);
}

void Handle(MoveSize& s, const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (s.sizing && !s.edge)
            return;
        s.offset.x += msg.pt.x - s.last.x;
        s.offset.y += msg.pt.y - s.last.y;
        s.last = msg.pt;
        Step(s);
        return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        // The mouse drag ends when the button comes up; the keyboard loop with a click.
        if (!s.keyboard || msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN)
            s.ended = true;
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        switch (msg.wParam) {
        case VK_ESCAPE:
            s.cancelled = true;
            s.ended = true;
            return;
        case VK_RETURN:
            s.ended = true;
            return;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
            Arrow(s, static_cast<UINT>(msg.wParam));
            return;
        default:
            return;
        }
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        return;
    default:
        if (IsMouseMessage(msg.message))
            return;
        DispatchMessageA(&msg);
        return;
    }
}

}  // namespace

void TrackMoveSize(HWND hwnd, WPARAM command, LPARAM point)
{
    WindowPtr w = Find(hwnd);
    if (!w || t_tracking)
        return;
    MoveSize s;
    s.hwnd = hwnd;
    s.sizing = (command & 0xFFF0) == SC_SIZE;
    s.keyboard = (command & 0x000F) == 0;
    DWORD style;
    {
        Guard g(Mutex());
        style = w->style;
        s.original = w->window;
    }
    if (style & WS_MAXIMIZE)
        return;
    if (s.sizing) {
        if (!(style & WS_THICKFRAME) || (style & WS_MINIMIZE))
            return;
        s.edge = s.keyboard ? 0 : static_cast<int>(command & 0x000F);
        if (s.edge > WMSZ_BOTTOMRIGHT)
            return;
        s.limits = DefaultMinMaxInfo(style, w->exStyle);
        SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&s.limits));
    }
    // A drag starts where the button went down; the keyboard where the cursor is.
    s.last = s.keyboard ? CursorPosition() : POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    if (!IsWindow(hwnd))
        return;
    SetCapture(hwnd);
    t_tracking = true;
    const char* what = s.sizing ? "window sizing" : "window moving";
    while (!s.ended) {
        if (!IsWindow(hwnd) || GetCapture() != hwnd)
            break;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            Handle(s, msg);
            continue;
        }
        // A mouse drag ends once the button is up, even when its release reached no window
        // (it came before the capture, outside every window). Headless, a drag whose input has
        // all been delivered ends so too unless a test has an action for it; the keyboard loop
        // asks the script.
        if (!s.keyboard && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000))
            break;
        if (!s.keyboard && !host::IsInteractive() && host::PendingModalActions() == 0)
            break;
        if (!host::ModalLoopIdle(hwnd, what)) {
            s.cancelled = true;
            break;
        }
        if (host::IsInteractive() && !s.ended)
            WaitMessage();
    }
    t_tracking = false;
    if (IsWindow(hwnd) && GetCapture() == hwnd)
        ReleaseCapture();
    if (!IsWindow(hwnd))
        return;
    if (s.cancelled)
        Place(hwnd, s.original, s.sizing);
    SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace user
