// Window regions: SetWindowRgn and GetWindowRgn, and the window manager's view of them (what a
// shaped window covers, where it paints, which points it takes).
#include "UserInternal.h"

namespace user {

std::vector<RECT> CoveredRects(const Window& w)
{
    if (!w.shape)
        return {w.window};
    std::vector<RECT> rects;
    for (const RECT& r : w.shapeRects) {
        RECT s = Intersect(Offset(r, w.window.left, w.window.top), w.window);
        if (!RectEmpty(s))
            rects.push_back(s);
    }
    return rects;
}

bool ShapeHolds(const Window& w, POINT screen)
{
    if (!w.shape)
        return true;
    const POINT local{screen.x - w.window.left, screen.y - w.window.top};
    for (const RECT& r : w.shapeRects)
        if (PointIn(r, local))
            return true;
    return false;
}

void ClipToShapes(const Window& w, std::vector<RECT>& rects)
{
    for (const Window* cur = &w; cur && cur != &Desktop(); cur = cur->parent) {
        if (!cur->shape)
            continue;
        const std::vector<RECT> covered = CoveredRects(*cur);
        std::vector<RECT> clipped;
        for (const RECT& a : rects)
            for (const RECT& b : covered) {
                RECT r = Intersect(a, b);
                if (!RectEmpty(r))
                    clipped.push_back(r);
            }
        rects.swap(clipped);
    }
}

void DropShape(Window& w)
{
    if (w.shape)
        DeleteObject(w.shape);
    w.shape = nullptr;
    w.shapeRects.clear();
}

}  // namespace user

using namespace user;

int WINAPI SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw)
{
    std::vector<RECT> rects;
    if (rgn) {
        if (GetObjectType(rgn) != OBJ_REGION || !RegionRects(rgn, rects)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    RECT before{};
    bool visible = false;
    WindowPtr w;
    {
        Guard g(Mutex());
        w = Lookup(hwnd);
        if (!w || w.get() == &Desktop())
            return 0;
        if (w->shape && w->shape != rgn)
            DeleteObject(w->shape);
        w->shape = rgn;
        w->shapeRects = rgn ? rects : std::vector<RECT>{};
        before = w->window;
        visible = VisibleChain(*w);
    }
    // The window hears of the change as of a move that moved nothing.
    SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW));
    if (!visible || !Find(hwnd))
        return 1;
    // What the old shape covered and the new one does not shows what lies beneath; the window
    // itself paints anew where it now shows.
    {
        Guard g(Mutex());
        ExposeUnder(*w, before);
    }
    if (redraw)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 1;
}

int WINAPI GetWindowRgn(HWND hwnd, HRGN rgn)
{
    std::vector<RECT> rects;
    {
        Guard g(Mutex());
        WindowPtr w = Lookup(hwnd);
        if (!w || !w->shape)
            return ERROR;
        rects = w->shapeRects;
    }
    if (!rgn || GetObjectType(rgn) != OBJ_REGION)
        return ERROR;
    return SetRegionRects(rgn, rects);
}
