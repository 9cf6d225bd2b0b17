// Painting bookkeeping: update regions (kept as lists of disjoint rectangles in client
// coordinates), WM_NCPAINT/WM_ERASEBKGND/WM_PAINT generation, BeginPaint/EndPaint, window DCs
// and scrolling.
#include "UserInternal.h"

#include <algorithm>

namespace user {

namespace {

void Add(std::vector<RECT>& list, const RECT& r)
{
    if (RectEmpty(r))
        return;
    SubtractFromList(list, r);
    list.push_back(r);
}

RECT Bounds(const std::vector<RECT>& list)
{
    RECT b{};
    for (const RECT& r : list)
        b = Union(b, r);
    return b;
}

RECT ClientBox(const Window& w)
{
    return MakeRect(0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top);
}

void Apply(Window& w, const std::vector<RECT>* rects, UINT flags, bool top)
{
    if (!(w.style & WS_VISIBLE))
        return;
    RECT box = ClientBox(w);
    if (flags & RDW_INVALIDATE) {
        if (rects) {
            for (const RECT& r : *rects)
                Add(w.update, Intersect(r, box));
        } else {
            Add(w.update, box);
        }
        if ((flags & RDW_ERASE) && !w.update.empty())
            w.erasePending = true;
        if (flags & RDW_FRAME)
            w.framePending = true;
    }
    if (flags & RDW_INTERNALPAINT)
        w.internalPaint = true;
    if (flags & RDW_VALIDATE) {
        if (rects) {
            for (const RECT& r : *rects)
                SubtractFromList(w.update, r);
        } else {
            w.update.clear();
        }
        if (w.update.empty() || (flags & RDW_NOERASE))
            w.erasePending = false;
        if (flags & RDW_NOFRAME)
            w.framePending = false;
    }
    if (flags & RDW_NOINTERNALPAINT)
        w.internalPaint = false;
    if (flags & RDW_NOCHILDREN)
        return;
    if (!(flags & RDW_ALLCHILDREN) && (w.style & WS_CLIPCHILDREN) && top)
        return;
    for (Window* c : w.children) {
        if (!(c->style & WS_VISIBLE))
            continue;
        RECT cw = Offset(c->client, -w.client.left, -w.client.top);
        std::vector<RECT> sub;
        if (rects) {
            bool touchesFrame = false;
            for (const RECT& r : *rects) {
                RECT i = Intersect(r, Offset(c->window, -w.client.left, -w.client.top));
                if (!RectEmpty(i)) {
                    sub.push_back(Offset(i, -cw.left, -cw.top));
                    touchesFrame = touchesFrame || !SameRect(Intersect(i, cw), i);
                }
            }
            if (sub.empty())
                continue;
            // A child's border and caption are part of what the parent's area shows.
            if ((flags & RDW_INVALIDATE) && ((flags & RDW_FRAME) || touchesFrame))
                c->framePending = true;
        }
        Apply(*c, rects ? &sub : nullptr, flags, false);
    }
}

void WakeOwner(const Window& w)
{
    if (auto q = QueueOf(w.threadId))
        Wake(*q);
}

bool FindIn(Window& w, DWORD tid, HWND filter, HWND& out)
{
    for (Window* c : w.children) {
        if (!(c->style & WS_VISIBLE))
            continue;
        if (c->threadId == tid && (!c->update.empty() || c->internalPaint || c->framePending) &&
            FilterMatches(filter, c->hwnd)) {
            out = c->hwnd;
            return true;
        }
        if (FindIn(*c, tid, filter, out))
            return true;
    }
    return false;
}

void PaintNow(HWND hwnd, bool children)
{
    WindowPtr w = Find(hwnd);
    if (!w || !VisibleChain(*w))
        return;
    SendPendingErase(hwnd, false);
    if (!Find(hwnd))
        return;
    if (!w->update.empty() || w->internalPaint) {
        Send(hwnd, WM_PAINT, 0, 0);
        if (!Find(hwnd))
            return;
        Guard g(Mutex());
        w->update.clear();
        w->internalPaint = false;
        w->erasePending = false;
    }
    if (!children)
        return;
    std::vector<HWND> kids;
    {
        Guard g(Mutex());
        for (Window* c : w->children)
            kids.push_back(c->hwnd);
    }
    for (HWND c : kids)
        PaintNow(c, true);
}

}  // namespace

std::vector<RECT> VisibleRects(const Window& w, bool whole, bool clipChildren)
{
    Guard g(Mutex());
    if (!VisibleChain(w))
        return {};
    RECT area = whole ? w.window : w.client;
    for (const Window* p = w.parent; p && p != &Desktop(); p = p->parent)
        area = Intersect(area, p->client);
    area = Intersect(area, Desktop().window);
    std::vector<RECT> rects;
    if (RectEmpty(area))
        return rects;
    rects.push_back(area);
    ClipToShapes(w, rects);
    // Siblings above the window and above each of its ancestors cover it.
    for (const Window* cur = &w; cur->parent; cur = cur->parent) {
        if (IsTopLevel(*cur) || (cur->style & WS_CLIPSIBLINGS))
            for (const Window* s : cur->parent->children) {
                if (s == cur)
                    break;
                if (s->style & WS_VISIBLE)
                    for (const RECT& covered : CoveredRects(*s))
                        SubtractFromList(rects, covered);
            }
        if (IsTopLevel(*cur))
            break;
    }
    if (clipChildren)
        for (const Window* c : w.children)
            if (c->style & WS_VISIBLE)
                for (const RECT& covered : CoveredRects(*c))
                    SubtractFromList(rects, covered);
    return rects;
}

namespace {

// A DC for the client area, limited to the given client rectangles when there are any.
HDC ClientDC(Window& w, const std::vector<RECT>* limit)
{
    std::vector<RECT> visible = VisibleRects(w, false, (w.style & WS_CLIPCHILDREN) != 0);
    if (limit) {
        std::vector<RECT> clipped;
        for (const RECT& v : visible)
            for (const RECT& l : *limit) {
                RECT r = Intersect(v, Offset(l, w.client.left, w.client.top));
                if (!RectEmpty(r))
                    clipped.push_back(r);
            }
        visible.swap(clipped);
    }
    return AcquireWindowDC(w.hwnd, POINT{w.client.left, w.client.top}, visible);
}

}  // namespace

void InvalidateTree(Window& w, const RECT* rectClient, UINT flags)
{
    Guard g(Mutex());
    if (rectClient) {
        std::vector<RECT> one{*rectClient};
        Apply(w, &one, flags, true);
    } else {
        Apply(w, nullptr, flags, true);
    }
    WakeOwner(w);
}

void ClearPaintState(Window& w)
{
    w.update.clear();
    w.erasePending = false;
    w.framePending = false;
    w.internalPaint = false;
    for (Window* c : w.children)
        ClearPaintState(*c);
}

bool FindPaintWindow(DWORD threadId, HWND filter, HWND& out)
{
    Guard g(Mutex());
    return FindIn(Desktop(), threadId, filter, out);
}

bool PaintFrameOnly(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return true;  // gone: nothing to paint
    {
        Guard g(Mutex());
        if (!w->framePending || !w->update.empty() || w->internalPaint)
            return false;
        w->framePending = false;
    }
    Send(hwnd, WM_NCPAINT, 1, 0);
    return true;
}

void SendPendingErase(HWND hwnd, bool children)
{
    WindowPtr w = Find(hwnd);
    if (!w || !VisibleChain(*w))
        return;
    if (w->framePending) {
        w->framePending = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
    }
    if (!Find(hwnd))
        return;
    if (w->erasePending && !w->update.empty()) {
        w->erasePending = false;
        std::vector<RECT> update;
        {
            Guard g(Mutex());
            update = w->update;
        }
        HDC hdc = ClientDC(*w, &update);
        LRESULT erased = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        ReleaseWindowDC(hdc);
        if (WindowPtr still = Find(hwnd))
            still->eraseUnhandled = erased == 0;
    }
    if (!children)
        return;
    std::vector<HWND> kids;
    {
        Guard g(Mutex());
        if (!Find(hwnd))
            return;
        for (Window* c : w->children)
            kids.push_back(c->hwnd);
    }
    for (HWND c : kids)
        SendPendingErase(c, true);
}

}  // namespace user

using namespace user;

BOOL WINAPI RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags)
{
    WindowPtr w = hwnd ? Lookup(hwnd) : Find(GetDesktopWindow());
    if (!w)
        return FALSE;
    std::vector<RECT> rects;
    bool whole = true;
    if (rgn) {
        whole = !RegionRects(rgn, rects);
    } else if (rect) {
        rects.push_back(*rect);
        whole = false;
    }
    {
        Guard g(Mutex());
        if (w.get() == &Desktop()) {
            // The whole screen: every top-level window and its children.
            for (Window* c : Desktop().children) {
                std::vector<RECT> local;
                for (const RECT& r : rects)
                    local.push_back(Offset(r, -c->client.left, -c->client.top));
                Apply(*c, whole ? nullptr : &local, flags | RDW_ALLCHILDREN, true);
                if (flags & RDW_INVALIDATE && (flags & RDW_FRAME))
                    c->framePending = true;
                WakeOwner(*c);
            }
        } else {
            Apply(*w, whole ? nullptr : &rects, flags, true);
            WakeOwner(*w);
        }
    }
    std::vector<HWND> targets;
    if (w.get() == &Desktop()) {
        Guard g(Mutex());
        for (Window* c : Desktop().children)
            if (c->threadId == GetCurrentThreadId())
                targets.push_back(c->hwnd);
    } else {
        targets.push_back(w->hwnd);
    }
    bool children = (flags & RDW_ALLCHILDREN) || !(flags & RDW_NOCHILDREN);
    for (HWND t : targets) {
        if (flags & RDW_UPDATENOW)
            PaintNow(t, children);
        else if (flags & RDW_ERASENOW)
            SendPendingErase(t, children);
    }
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (!hwnd)
        return RedrawWindow(nullptr, rect, nullptr,
                            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW | RDW_ALLCHILDREN);
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL WINAPI InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect)
{
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL WINAPI ValidateRgn(HWND hwnd, HRGN rgn)
{
    return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL WINAPI UpdateWindow(HWND hwnd)
{
    if (!Lookup(hwnd))
        return FALSE;
    PaintNow(hwnd, true);
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return FALSE;
    if (erase)
        SendPendingErase(hwnd, false);
    Guard g(Mutex());
    RECT b = Bounds(w->update);
    if (rect)
        *rect = b;
    return !RectEmpty(b);
}

int WINAPI GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    if (erase)
        SendPendingErase(hwnd, false);
    std::vector<RECT> rects;
    {
        Guard g(Mutex());
        rects = w->update;
    }
    return SetRegionRects(rgn, rects);
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    WindowPtr w = Lookup(hwnd);
    if (!w || !ps)
        return nullptr;
    if (w->framePending) {
        w->framePending = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        if (!Find(hwnd))
            return nullptr;
    }
    RECT box;
    bool erase;
    std::vector<RECT> update;
    {
        Guard g(Mutex());
        box = Bounds(w->update);
        update = w->update;
        erase = w->erasePending;
        w->update.clear();
        w->internalPaint = false;
        w->erasePending = false;
        w->inPaint = true;
    }
    *ps = PAINTSTRUCT{};
    ps->hdc = ClientDC(*w, &update);
    ps->rcPaint = box;
    if (erase) {
        ps->fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) == 0;
    } else {
        ps->fErase = w->eraseUnhandled;
    }
    w->eraseUnhandled = false;
    return ps->hdc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (WindowPtr w = Find(hwnd))
        w->inPaint = false;
    if (!ps)
        return FALSE;
    ReleaseWindowDC(ps->hdc);
    return TRUE;
}

HDC WINAPI GetDCEx(HWND hwnd, HRGN, DWORD flags)
{
    if (!hwnd)
        hwnd = GetDesktopWindow();
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return nullptr;
    bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN);
    if (flags & DCX_WINDOW)
        return AcquireWindowDC(hwnd, POINT{w->window.left, w->window.top}, VisibleRects(*w, true, clipChildren));
    return AcquireWindowDC(hwnd, POINT{w->client.left, w->client.top}, VisibleRects(*w, false, clipChildren));
}

HDC WINAPI GetDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, 0);
}

HDC WINAPI GetWindowDC(HWND hwnd)
{
    return GetDCEx(hwnd, nullptr, DCX_WINDOW);
}

int WINAPI ReleaseDC(HWND, HDC hdc)
{
    return ReleaseWindowDC(hdc) ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC hdc)
{
    return WindowOfDC(hdc);
}

int WINAPI ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                          LPRECT updateRect, UINT flags)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    std::vector<RECT> uncovered;
    std::vector<HWND> moveChildren;
    {
        Guard g(Mutex());
        RECT box = ClientBox(*w);
        RECT area = scroll ? Intersect(*scroll, box) : box;
        RECT clipR = clip ? Intersect(*clip, box) : box;
        RECT src = Intersect(area, clipR);
        RECT dst = Intersect(Offset(src, dx, dy), clipR);
        if (!RectEmpty(src)) {
            uncovered.push_back(src);
            SubtractFromList(uncovered, dst);
        }
        MoveWindowPixels(hwnd, src, dx, dy);
        // What was waiting to be painted moves with the pixels.
        std::vector<RECT> moved, kept;
        for (const RECT& r : w->update) {
            RECT inside = Intersect(r, src);
            if (RectEmpty(inside)) {
                kept.push_back(r);
                continue;
            }
            std::vector<RECT> rest{r};
            SubtractFromList(rest, src);
            kept.insert(kept.end(), rest.begin(), rest.end());
            RECT shifted = Intersect(Offset(inside, dx, dy), clipR);
            if (!RectEmpty(shifted))
                moved.push_back(shifted);
        }
        w->update = kept;
        for (const RECT& r : moved)
            Add(w->update, r);
        if (flags & SW_INVALIDATE) {
            for (const RECT& r : uncovered)
                Add(w->update, r);
            if ((flags & SW_ERASE) && !uncovered.empty())
                w->erasePending = true;
            if (!uncovered.empty())
                WakeOwner(*w);
        }
        if (flags & SW_SCROLLCHILDREN)
            for (Window* c : w->children) {
                RECT cr = Offset(c->window, -w->client.left, -w->client.top);
                if (!scroll || !RectEmpty(Intersect(cr, *scroll)))
                    moveChildren.push_back(c->hwnd);
            }
    }
    for (HWND c : moveChildren) {
        WindowPtr cw = Find(c);
        if (!cw)
            continue;
        RECT rel = RelativeToParent(*cw);
        SetWindowPosInternal(c, nullptr, rel.left + dx, rel.top + dy, 0, 0,
                             SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (updateRect)
        *updateRect = Bounds(uncovered);
    if (updateRgn)
        SetRegionRects(updateRgn, uncovered);
    if ((flags & SW_INVALIDATE) && (flags & SW_ERASE))
        SendPendingErase(hwnd, false);
    return uncovered.empty() ? 1 : uncovered.size() == 1 ? 2 : 3;  // NULLREGION, SIMPLEREGION, COMPLEXREGION
}

BOOL WINAPI ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip)
{
    UINT flags = SW_INVALIDATE | SW_ERASE | (rect ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, rect, clip, nullptr, nullptr, flags) != 0;
}

namespace host {

std::vector<RECT> WindowVisibleRects(HWND hwnd, bool wholeWindow)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return {};
    return VisibleRects(*w, wholeWindow, (w->style & WS_CLIPCHILDREN) != 0);
}

}  // namespace host
