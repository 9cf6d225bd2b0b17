// Rectangle and point helpers. An empty rectangle has no area (right <= left or bottom <= top).
#include <winrect.h>

#include <algorithm>

BOOL WINAPI SetRect(LPRECT r, int l, int t, int rt, int b)
{
    if (!r)
        return FALSE;
    *r = RECT{l, t, rt, b};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT r)
{
    return SetRect(r, 0, 0, 0, 0);
}

BOOL WINAPI CopyRect(LPRECT d, const RECT* s)
{
    if (!d || !s)
        return FALSE;
    *d = *s;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* r)
{
    return !r || r->right <= r->left || r->bottom <= r->top;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b)
{
    if (!a || !b)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL WINAPI PtInRect(const RECT* r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(d);
        return FALSE;
    }
    *d = r;
    return TRUE;
}

BOOL WINAPI UnionRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
    if (ea && eb) {
        SetRectEmpty(d);
        return FALSE;
    }
    if (ea) {
        *d = *b;
        return TRUE;
    }
    if (eb) {
        *d = *a;
        return TRUE;
    }
    *d = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
    return TRUE;
}

// The result is the first rectangle minus the second only when the second one covers the first
// completely in one direction; otherwise the first rectangle is returned unchanged.
BOOL WINAPI SubtractRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    RECT r = *a;
    if (IsRectEmpty(&r)) {
        SetRectEmpty(d);
        return FALSE;
    }
    RECT i;
    if (IntersectRect(&i, a, b)) {
        if (i.left <= r.left && i.right >= r.right) {
            if (i.top <= r.top && i.bottom >= r.bottom) {
                SetRectEmpty(d);
                return FALSE;
            }
            if (i.top <= r.top)
                r.top = i.bottom;
            else if (i.bottom >= r.bottom)
                r.bottom = i.top;
        } else if (i.top <= r.top && i.bottom >= r.bottom) {
            if (i.left <= r.left)
                r.left = i.right;
            else if (i.right >= r.right)
                r.right = i.left;
        }
    }
    *d = r;
    return TRUE;
}
