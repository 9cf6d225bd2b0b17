// Window geometry: non-client metrics, SetWindowPos and its messages, ShowWindow and the
// minimised/maximised states, placement, coordinate mapping and hit testing.
#include "UserInternal.h"
#include "UserRemote.h"

#include <host/Process.h>

#include <algorithm>

namespace user {

RECT MakeRect(LONG l, LONG t, LONG r, LONG b)
{
    RECT rc;
    rc.left = l;
    rc.top = t;
    rc.right = r;
    rc.bottom = b;
    return rc;
}

bool RectEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool PointIn(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r = MakeRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom));
    if (RectEmpty(r))
        return RECT{};
    return r;
}

// Cuts r out of every rectangle of the list: what is left of each is at most four pieces,
// above, below, left and right of the overlap.
void SubtractFromList(std::vector<RECT>& list, const RECT& r)
{
    std::vector<RECT> out;
    for (const RECT& a : list) {
        RECT i = Intersect(a, r);
        if (RectEmpty(i)) {
            out.push_back(a);
            continue;
        }
        if (a.top < i.top)
            out.push_back(MakeRect(a.left, a.top, a.right, i.top));
        if (i.bottom < a.bottom)
            out.push_back(MakeRect(a.left, i.bottom, a.right, a.bottom));
        if (a.left < i.left)
            out.push_back(MakeRect(a.left, i.top, i.left, i.bottom));
        if (i.right < a.right)
            out.push_back(MakeRect(i.right, i.top, a.right, i.bottom));
    }
    list.swap(out);
}

RECT Union(const RECT& a, const RECT& b)
{
    if (RectEmpty(a))
        return b;
    if (RectEmpty(b))
        return a;
    return MakeRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
}

RECT Offset(RECT r, LONG dx, LONG dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT ClientOrigin(const Window& w)
{
    return POINT{w.client.left, w.client.top};
}

RECT RelativeToParent(const Window& w)
{
    POINT o = w.parent ? ClientOrigin(*w.parent) : POINT{0, 0};
    return Offset(w.window, -o.x, -o.y);
}

bool VisibleChain(const Window& w)
{
    for (const Window* p = &w; p; p = p->parent) {
        if (!(p->style & WS_VISIBLE))
            return false;
        if (p == &Desktop())
            return true;
    }
    return false;
}

void OffsetTree(Window& w, LONG dx, LONG dy)
{
    if (!dx && !dy)
        return;
    w.window = Offset(w.window, dx, dy);
    w.client = Offset(w.client, dx, dy);
    for (Window* c : w.children)
        OffsetTree(*c, dx, dy);
}

void FrameSizes(DWORD style, DWORD exStyle, bool menu, RECT& in)
{
    int border = 0;
    if (style & WS_THICKFRAME)
        border = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        border = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE)
        border += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE)
        border += GetSystemMetrics(SM_CXBORDER);
    in = MakeRect(border, border, border, border);
    if ((style & WS_CAPTION) == WS_CAPTION)
        in.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (menu)
        in.top += GetSystemMetrics(SM_CYMENU);
}

int MenuBarHeight(const Window& w)
{
    if ((w.style & WS_CHILD) || !w.menu || !IsMenuHandle(w.menu))
        return 0;
    return GetSystemMetrics(SM_CYMENU);
}

RECT DefaultClientRect(const Window& w, const RECT& wr)
{
    if (w.style & WS_MINIMIZE)
        return MakeRect(wr.left, wr.top, wr.left, wr.top);
    RECT in{};
    FrameSizes(w.style, w.exStyle, false, in);
    RECT c = MakeRect(wr.left + in.left, wr.top + in.top, wr.right - in.right, wr.bottom - in.bottom);
    c.top += MenuBarHeight(w);
    if (w.style & WS_VSCROLL)
        c.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (w.style & WS_HSCROLL)
        c.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    if (c.right < c.left)
        c.right = c.left;
    if (c.bottom < c.top)
        c.bottom = c.top;
    return c;
}

LRESULT DefaultHitTest(Window& w, POINT p)
{
    RECT wr = w.window;
    if (!PointIn(wr, p))
        return HTNOWHERE;
    if (w.style & WS_MINIMIZE)
        return HTCAPTION;
    if (PointIn(w.client, p))
        return HTCLIENT;
    RECT in{};
    FrameSizes(w.style, w.exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), false, in);
    int border = in.left;
    // Frame
    if (p.x < wr.left + border || p.x >= wr.right - border || p.y < wr.top + border || p.y >= wr.bottom - border) {
        if (!(w.style & WS_THICKFRAME))
            return HTBORDER;
        int corner = GetSystemMetrics(SM_CXSIZE) + border;
        bool left = p.x < wr.left + corner, right = p.x >= wr.right - corner;
        bool top = p.y < wr.top + corner, bottom = p.y >= wr.bottom - corner;
        if (p.y < wr.top + border)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (p.y >= wr.bottom - border)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < wr.left + border)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    // Caption
    if ((w.style & WS_CAPTION) == WS_CAPTION) {
        int captionHeight = GetSystemMetrics((w.exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
        int top = wr.top + border;
        if (p.y < top + captionHeight) {
            int x = p.x - (wr.left + border);
            int fromRight = (wr.right - border) - p.x;
            int button = GetSystemMetrics(SM_CXSIZE);
            if ((w.style & WS_SYSMENU) && !(w.exStyle & WS_EX_TOOLWINDOW) && x < captionHeight)
                return HTSYSMENU;
            if (w.style & WS_SYSMENU) {
                if (fromRight <= button)
                    return HTCLOSE;
                fromRight -= button + 2;
                if (w.style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
                    if (fromRight >= 0 && fromRight < button)
                        return HTMAXBUTTON;
                    if (fromRight >= button && fromRight < 2 * button)
                        return HTMINBUTTON;
                }
            }
            return HTCAPTION;
        }
    }
    int menu = MenuBarHeight(w);
    if (menu) {
        int menuTop = w.client.top - menu;
        if (p.y >= menuTop && p.y < w.client.top)
            return HTMENU;
    }
    if ((w.style & WS_VSCROLL) && p.x >= w.client.right && p.y >= w.client.top && p.y < w.client.bottom)
        return HTVSCROLL;
    if ((w.style & WS_HSCROLL) && p.y >= w.client.bottom && p.x >= w.client.left && p.x < w.client.right)
        return HTHSCROLL;
    if ((w.style & WS_VSCROLL) && (w.style & WS_HSCROLL) && p.x >= w.client.right && p.y >= w.client.bottom)
        return HTGROWBOX;
    return HTBORDER;
}

namespace {

void ExposeBelow(Window& w, const RECT& oldScreen)
{
    // The area the window covered shows what lies beneath it: its parent and later siblings.
    Window* parent = w.parent;
    if (!parent || RectEmpty(oldScreen))
        return;
    if (parent == &Desktop()) {
        PaintDesktop(oldScreen);
    } else {
        RECT r = Intersect(oldScreen, parent->client);
        if (!RectEmpty(r)) {
            RECT local = Offset(r, -parent->client.left, -parent->client.top);
            InvalidateTree(*parent, &local, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    auto& list = parent->children;
    auto it = std::find(list.begin(), list.end(), &w);
    if (it == list.end())
        return;
    for (++it; it != list.end(); ++it) {
        Window* s = *it;
        if (!(s->style & WS_VISIBLE))
            continue;
        RECT r = Intersect(oldScreen, s->client);
        if (!RectEmpty(r)) {
            RECT local = Offset(r, -s->client.left, -s->client.top);
            InvalidateTree(*s, &local, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        if (!SameRect(Intersect(oldScreen, s->window), Intersect(oldScreen, s->client)))
            s->framePending = true;
    }
}

}  // namespace

void ExposeUnder(Window& w, const RECT& screen)
{
    ExposeBelow(w, screen);
}

namespace {

// After the stacking order of a parent's children changed: a visible window that now lies above
// a visible sibling that used to lie above it has never drawn where they overlap, so that part of
// it (client and frame) is painted anew.
void ExposeRestacked(Window& parent, const std::vector<Window*>& before)
{
    const std::vector<Window*>& now = parent.children;
    auto rank = [&before](const Window* x) {
        return static_cast<std::size_t>(std::find(before.begin(), before.end(), x) - before.begin());
    };
    for (std::size_t i = 0; i < now.size(); ++i) {
        Window* a = now[i];
        const std::size_t wasA = rank(a);
        if (!(a->style & WS_VISIBLE) || wasA == before.size())
            continue;
        for (std::size_t j = i + 1; j < now.size(); ++j) {
            Window* b = now[j];
            const std::size_t wasB = rank(b);
            if (!(b->style & WS_VISIBLE) || wasB == before.size() || wasB > wasA)
                continue;
            RECT overlap = Intersect(a->window, b->window);
            if (RectEmpty(overlap))
                continue;
            RECT inClient = Intersect(overlap, a->client);
            if (!RectEmpty(inClient)) {
                RECT local = Offset(inClient, -a->client.left, -a->client.top);
                InvalidateTree(*a, &local, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            if (!SameRect(overlap, inClient))
                a->framePending = true;
        }
    }
}

void Reorder(Window& w, HWND after, UINT flags)
{
    Window* parent = w.parent;
    if (!parent)
        return;
    auto& list = parent->children;
    const std::vector<Window*> before = list;
    if (after == HWND_TOPMOST)
        w.exStyle |= WS_EX_TOPMOST;
    else if (after == HWND_NOTOPMOST)
        w.exStyle &= ~WS_EX_TOPMOST;
    list.erase(std::remove(list.begin(), list.end(), &w), list.end());
    if (after == HWND_BOTTOM) {
        w.exStyle &= ~WS_EX_TOPMOST;
        list.push_back(&w);
        return;
    }
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        auto it = list.begin();
        if (!(w.exStyle & WS_EX_TOPMOST))
            while (it != list.end() && ((*it)->exStyle & WS_EX_TOPMOST))
                ++it;
        list.insert(it, &w);
    } else {
        auto it = std::find_if(list.begin(), list.end(), [&](Window* s) { return s->hwnd == after; });
        if (it == list.end())
            list.insert(list.begin(), &w);
        else
            list.insert(it + 1, &w);
    }
    // Owned windows stay above their owner.
    if (IsTopLevel(w) && !(flags & SWP_NOOWNERZORDER) && after != HWND_BOTTOM) {
        std::vector<Window*> owned;
        for (Window* s : list)
            if (s->owner == w.hwnd)
                owned.push_back(s);
        for (Window* o : owned) {
            list.erase(std::remove(list.begin(), list.end(), o), list.end());
            auto at = std::find(list.begin(), list.end(), &w);
            list.insert(at, o);
        }
    }
    ExposeRestacked(*parent, before);
}

}  // namespace

void RaiseToTopOfBand(Window& w)
{
    Guard g(Mutex());
    Reorder(w, HWND_TOP, 0);
}

BOOL SetWindowPosInternal(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return FALSE;
    if (w.get() == &Desktop()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    WINDOWPOS wp{};
    RECT oldWindow, oldClient;
    RECT oldRel;
    bool wasVisible;
    {
        Guard g(Mutex());
        oldWindow = w->window;
        oldClient = w->client;
        oldRel = RelativeToParent(*w);
        wasVisible = (w->style & WS_VISIBLE) != 0;
        if (wasVisible)
            flags &= ~SWP_SHOWWINDOW;
        else
            flags &= ~SWP_HIDEWINDOW;
        if (!IsTopLevel(*w))
            flags |= SWP_NOACTIVATE;
        if (!(flags & SWP_NOSIZE) && cx == oldRel.right - oldRel.left && cy == oldRel.bottom - oldRel.top)
            flags |= SWP_NOSIZE;
        if (!(flags & SWP_NOMOVE) && x == oldRel.left && y == oldRel.top)
            flags |= SWP_NOMOVE;
        if (after == hwnd)
            flags |= SWP_NOZORDER;
    }
    if ((flags & (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER)) == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER) &&
        !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) && (flags & SWP_NOACTIVATE))
        return TRUE;
    if ((flags & (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER)) == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER) &&
        !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) && !(flags & SWP_NOACTIVATE)) {
        SetActiveWindow(hwnd);
        return TRUE;
    }

    wp.hwnd = hwnd;
    wp.hwndInsertAfter = after;
    wp.x = (flags & SWP_NOMOVE) ? oldRel.left : x;
    wp.y = (flags & SWP_NOMOVE) ? oldRel.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? oldRel.right - oldRel.left : std::max(cx, 0);
    wp.cy = (flags & SWP_NOSIZE) ? oldRel.bottom - oldRel.top : std::max(cy, 0);
    wp.flags = flags;
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!Find(hwnd))
            return FALSE;
        flags = wp.flags;
        if (!(flags & SWP_NOMOVE) && wp.x == oldRel.left && wp.y == oldRel.top)
            flags |= SWP_NOMOVE;
        if (!(flags & SWP_NOSIZE) && wp.cx == oldRel.right - oldRel.left && wp.cy == oldRel.bottom - oldRel.top)
            flags |= SWP_NOSIZE;
    }

    RECT newRel = (flags & SWP_NOMOVE) ? oldRel : Offset(oldRel, wp.x - oldRel.left, wp.y - oldRel.top);
    if (!(flags & SWP_NOSIZE)) {
        newRel.right = newRel.left + wp.cx;
        newRel.bottom = newRel.top + wp.cy;
    }
    POINT porg;
    {
        Guard g(Mutex());
        porg = ClientOrigin(*w->parent);
    }
    RECT newClientRel;
    if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p{};
        p.rgrc[0] = newRel;
        p.rgrc[1] = oldRel;
        p.rgrc[2] = Offset(oldClient, -porg.x, -porg.y);
        p.lppos = &wp;
        Send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
        if (!Find(hwnd))
            return FALSE;
        newClientRel = p.rgrc[0];
    } else {
        newClientRel = Offset(Offset(oldClient, -porg.x, -porg.y), newRel.left - oldRel.left, newRel.top - oldRel.top);
    }

    bool showing = (flags & SWP_SHOWWINDOW) != 0;
    bool hiding = (flags & SWP_HIDEWINDOW) != 0;
    bool sizeChanged, clientMoved;
    {
        Guard g(Mutex());
        RECT newWindow = Offset(newRel, porg.x, porg.y);
        RECT newClient = Offset(newClientRel, porg.x, porg.y);
        // Children follow the client origin.
        LONG dx = newClient.left - oldClient.left, dy = newClient.top - oldClient.top;
        for (Window* c : w->children)
            OffsetTree(*c, dx, dy);
        w->window = newWindow;
        w->client = newClient;
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            w->normal = newRel;
        if (!(flags & SWP_NOZORDER))
            Reorder(*w, after, flags);
        if (showing)
            w->style |= WS_VISIBLE;
        if (hiding)
            w->style &= ~WS_VISIBLE;
        sizeChanged = (oldClient.right - oldClient.left) != (newClient.right - newClient.left) ||
                      (oldClient.bottom - oldClient.top) != (newClient.bottom - newClient.top);
        clientMoved = newClient.left != oldClient.left || newClient.top != oldClient.top;
        if (!sizeChanged)
            flags |= SWP_NOCLIENTSIZE;
        if (!clientMoved)
            flags |= SWP_NOCLIENTMOVE;

        // Painting bookkeeping
        bool visibleNow = VisibleChain(*w);
        if (!(flags & SWP_NOREDRAW)) {
            if (showing && visibleNow) {
                InvalidateTree(*w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            } else if (visibleNow && (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED) || !(flags & SWP_NOMOVE))) {
                UINT cs = w->cls->style;
                // A window that moved paints itself anew where it now lies: the screen keeps no
                // copy of a window's pixels to carry along.
                bool moved = newWindow.left != oldWindow.left || newWindow.top != oldWindow.top;
                bool whole = (flags & SWP_NOCOPYBITS) || (flags & SWP_FRAMECHANGED) || moved ||
                             (sizeChanged && (cs & (CS_HREDRAW | CS_VREDRAW)));
                if (whole) {
                    InvalidateTree(*w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                } else if (sizeChanged) {
                    LONG ow = oldClient.right - oldClient.left, oh = oldClient.bottom - oldClient.top;
                    LONG nw = newClient.right - newClient.left, nh = newClient.bottom - newClient.top;
                    if (nw > ow) {
                        RECT r = MakeRect(ow, 0, nw, nh);
                        InvalidateTree(*w, &r, RDW_INVALIDATE | RDW_ERASE);
                    }
                    if (nh > oh) {
                        RECT r = MakeRect(0, oh, nw, nh);
                        InvalidateTree(*w, &r, RDW_INVALIDATE | RDW_ERASE);
                    }
                    w->framePending = true;
                }
            }
            if ((hiding || !(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) && wasVisible && w->parent &&
                VisibleChain(*w->parent))
                ExposeBelow(*w, oldWindow);
        }
        if (hiding)
            ClearPaintState(*w);
    }

    if (showing && !(flags & SWP_NOACTIVATE))
        ActivateOnShow(hwnd);
    if (hiding)
        WindowHidden(hwnd);
    if (!Find(hwnd))
        return TRUE;
    if (!(flags & SWP_DEFERERASE) && !(flags & SWP_NOREDRAW) && IsWindowVisible(hwnd))
        SendPendingErase(hwnd, true);
    if (!Find(hwnd))
        return TRUE;

    // WM_WINDOWPOSCHANGED goes out even with SWP_NOSENDCHANGING.
    if (IsTopLevel(*w))
        remote::Publish();
    WINDOWPOS done = wp;
    done.flags = flags;
    done.x = newRel.left;
    done.y = newRel.top;
    done.cx = newRel.right - newRel.left;
    done.cy = newRel.bottom - newRel.top;
    Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
    return TRUE;
}

}  // namespace user

using namespace user;

BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    return SetWindowPosInternal(hwnd, after, x, y, cx, cy, flags);
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint)
{
    return SetWindowPosInternal(hwnd, nullptr, x, y, cx, cy,
                                SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

RECT MinimizedRect(Window& w)
{
    int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    POINT p = w.minPos;
    if (p.x == -1 && p.y == -1) {
        RECT pc = w.parent ? w.parent->client : RECT{};
        p = POINT{0, (pc.bottom - pc.top) - cy};
    }
    return MakeRect(p.x, p.y, p.x + cx, p.y + cy);
}

}  // namespace

MINMAXINFO user::DefaultMinMaxInfo(DWORD style, DWORD exStyle)
{
    RECT frame{};
    FrameSizes(style, exStyle, false, frame);
    SIZE screen = DesktopSize();
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{screen.cx + frame.left + frame.right, screen.cy + frame.left + frame.right};
    mmi.ptMaxPosition = POINT{-frame.left, -frame.left};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return mmi;
}

namespace {

RECT MaximizedRect(Window& w)
{
    RECT in{};
    FrameSizes(w.style, w.exStyle, false, in);
    if (IsTopLevel(w)) {
        MINMAXINFO mmi = DefaultMinMaxInfo(w.style, w.exStyle);
        if (w.maxPos.x != -1 || w.maxPos.y != -1)
            mmi.ptMaxPosition = w.maxPos;
        Send(w.hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        return MakeRect(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                        mmi.ptMaxPosition.y + mmi.ptMaxSize.y);
    }
    RECT pc = w.parent->client;
    return MakeRect(-in.left, -in.left, (pc.right - pc.left) + in.left, (pc.bottom - pc.top) + in.left);
}

// Changes the minimised/maximised state; returns the new rectangle in parent coordinates.
RECT ChangeState(Window& w, int cmd)
{
    bool wasMin = (w.style & WS_MINIMIZE) != 0;
    bool wasMax = (w.style & WS_MAXIMIZE) != 0;
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        if (!wasMin) {
            w.restoreToMaximized = wasMax;
            w.style = (w.style & ~WS_MAXIMIZE) | WS_MINIMIZE;
        }
        return MinimizedRect(w);
    case SW_SHOWMAXIMIZED: {
        RECT r = MaximizedRect(w);
        w.style = (w.style & ~WS_MINIMIZE) | WS_MAXIMIZE;
        return r;
    }
    default:  // restore
        if (wasMin && w.restoreToMaximized) {
            w.style &= ~WS_MINIMIZE;
            RECT r = MaximizedRect(w);
            w.style |= WS_MAXIMIZE;
            return r;
        }
        w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        w.restoreToMaximized = false;
        return w.normal;
    }
}

}  // namespace

BOOL WINAPI ShowWindow(HWND hwnd, int cmd)
{
    WindowPtr w = Find(hwnd);
    if (!w) {
        // Another process's window: its own thread shows it.
        LRESULT wasVisible = FALSE;
        remote::Request(hwnd, remote::Op::Show, 0, 0, 0, cmd, INFINITE, &wasVisible);
        return static_cast<BOOL>(wasVisible);
    }
    if (cmd == SW_SHOWDEFAULT) {
        // The way the program's starter asked for (CreateProcess's STARTUPINFO).
        cmd = host::StartupShowCommand(SW_SHOWNORMAL);
        if (cmd == SW_SHOWDEFAULT)
            cmd = SW_SHOWNORMAL;
    }
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool topLevel = IsTopLevel(*w);
    UINT flags = 0;
    bool show = true;
    bool stateChange = false;
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible)
            return FALSE;
        show = false;
        flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
        if (GetActiveWindow() != hwnd)
            flags |= SWP_NOACTIVATE;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
        flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
        stateChange = !(w->style & WS_MINIMIZE);
        break;
    case SW_SHOWMINIMIZED:
        flags = SWP_SHOWWINDOW;
        stateChange = !(w->style & WS_MINIMIZE);
        break;
    case SW_SHOWMAXIMIZED:
        flags = SWP_SHOWWINDOW;
        stateChange = !(w->style & WS_MAXIMIZE);
        break;
    case SW_SHOWNA:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOW:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        break;
    case SW_SHOWNOACTIVATE:
        flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
        stateChange = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
        if (!stateChange)
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        flags = SWP_SHOWWINDOW;
        stateChange = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
        if (!stateChange)
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        break;
    default:
        SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
        return FALSE;
    }
    if (!topLevel)
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;

    if (show != wasVisible) {
        Send(hwnd, WM_SHOWWINDOW, show, 0);
        if (!Find(hwnd))
            return wasVisible;
    }
    RECT target{};
    if (stateChange) {
        // Not under the lock: maximising asks the window for its limits.
        target = ChangeState(*w, cmd == SW_SHOWDEFAULT ? SW_RESTORE : cmd);
        flags |= SWP_FRAMECHANGED | SWP_NOCOPYBITS;
        flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
    }
    bool wasActive = GetActiveWindow() == hwnd;
    SetWindowPosInternal(hwnd, HWND_TOP, target.left, target.top, target.right - target.left,
                         target.bottom - target.top, flags);
    if (Find(hwnd) && (cmd == SW_MINIMIZE || cmd == SW_FORCEMINIMIZE || cmd == SW_SHOWMINNOACTIVE) && wasActive)
        WindowHidden(hwnd);
    return wasVisible;
}

BOOL WINAPI BringWindowToTop(HWND hwnd)
{
    if (!Find(hwnd) && remote::IsRegistryHandle(hwnd))
        return remote::Request(hwnd, remote::Op::BringToTop, 0, 0, 0, 0, INFINITE, nullptr);
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI OpenIcon(HWND hwnd)
{
    if (!IsIconic(hwnd))
        return FALSE;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return TRUE;
}

BOOL WINAPI CloseWindow(HWND hwnd)
{
    if (!Lookup(hwnd))
        return FALSE;
    ShowWindow(hwnd, SW_MINIMIZE);
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    Guard g(Mutex());
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any || !rect)
        return FALSE;
    *rect = any.local ? any.local->window : any.remote.rect;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = MakeRect(0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top);
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT p)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w || !p)
        return FALSE;
    p->x += w->client.left;
    p->y += w->client.top;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT p)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w || !p)
        return FALSE;
    p->x -= w->client.left;
    p->y -= w->client.top;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    Guard g(Mutex());
    POINT a{0, 0}, b{0, 0};
    if (from) {
        WindowPtr w = Lookup(from);
        if (!w)
            return 0;
        a = ClientOrigin(*w);
    }
    if (to) {
        WindowPtr w = Lookup(to);
        if (!w)
            return 0;
        b = ClientOrigin(*w);
    }
    LONG dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(0);
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

namespace {

// The deepest visible, enabled window under the point among w's children; HTTRANSPARENT
// windows of the calling thread let the point through to what lies below.
HWND Deepest(Window& parent, POINT p)
{
    std::vector<HWND> candidates;
    {
        Guard g(Mutex());
        for (Window* c : parent.children)
            if ((c->style & WS_VISIBLE) && PointIn(c->window, p) && ShapeHolds(*c, p))
                candidates.push_back(c->hwnd);
    }
    for (HWND h : candidates) {
        WindowPtr c = Find(h);
        if (!c)
            continue;
        if (c->style & WS_DISABLED) {
            if (c->style & WS_CHILD)
                continue;
            return nullptr;
        }
        if (c->threadId == GetCurrentThreadId()) {
            LRESULT hit = Send(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            if (hit == HTTRANSPARENT)
                continue;
        }
        if (PointIn(c->client, p)) {
            if (HWND inner = Deepest(*c, p))
                return inner;
        }
        return h;
    }
    return nullptr;
}

}  // namespace

HWND WINAPI WindowFromPoint(POINT p)
{
    return Deepest(Desktop(), p);
}

HWND WINAPI ChildWindowFromPointEx(HWND hwnd, POINT p, UINT flags)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return nullptr;
    RECT cr = MakeRect(0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top);
    if (w.get() != &Desktop() && !PointIn(cr, p))
        return nullptr;
    POINT s{p.x + w->client.left, p.y + w->client.top};
    for (Window* c : w->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        if (PointIn(c->window, s) && ShapeHolds(*c, s))
            return c->hwnd;
    }
    return hwnd;
}

HWND WINAPI ChildWindowFromPoint(HWND hwnd, POINT p)
{
    return ChildWindowFromPointEx(hwnd, p, CWP_ALL);
}

BOOL WINAPI GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w || !wp)
        return FALSE;
    wp->flags = w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    if (w->style & WS_MINIMIZE)
        wp->showCmd = SW_SHOWMINIMIZED;
    else if (w->style & WS_MAXIMIZE)
        wp->showCmd = SW_SHOWMAXIMIZED;
    else
        wp->showCmd = SW_SHOWNORMAL;
    wp->ptMinPosition = w->minPos;
    wp->ptMaxPosition = w->maxPos;
    if (w->style & WS_MINIMIZE)
        wp->ptMinPosition = POINT{RelativeToParent(*w).left, RelativeToParent(*w).top};
    wp->rcNormalPosition = w->normal;
    return TRUE;
}

BOOL WINAPI SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp)
{
    WindowPtr w = Lookup(hwnd);
    if (!w || !wp) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    {
        Guard g(Mutex());
        if (wp->flags & WPF_SETMINPOSITION)
            w->minPos = wp->ptMinPosition;
        w->maxPos = wp->ptMaxPosition;
        w->normal = wp->rcNormalPosition;
        w->restoreToMaximized = (wp->flags & WPF_RESTORETOMAXIMIZED) != 0;
    }
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        RECT r = wp->rcNormalPosition;
        SetWindowPosInternal(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd, static_cast<int>(wp->showCmd));
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT in{};
    FrameSizes(style, exStyle, menu != FALSE, in);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu)
{
    return AdjustWindowRectEx(rect, style, menu, 0);
}
