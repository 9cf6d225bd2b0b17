#include <afx.h>

#include <algorithm>
#include <utility>

void CRect::SwapLeftRight(LPRECT lpRect) { std::swap(lpRect->left, lpRect->right); }

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    CRect r1(lpRect1);
    CRect r2(lpRect2);
    CRect result(std::max(r1.left, r2.left), std::max(r1.top, r2.top), std::min(r1.right, r2.right),
                 std::min(r1.bottom, r2.bottom));
    if (r1.IsRectEmpty() || r2.IsRectEmpty() || result.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&result);
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2)
{
    CRect r1(lpRect1);
    CRect r2(lpRect2);
    if (r1.IsRectEmpty() && r2.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    if (r1.IsRectEmpty())
        CopyRect(&r2);
    else if (r2.IsRectEmpty())
        CopyRect(&r1);
    else
        SetRect(std::min(r1.left, r2.left), std::min(r1.top, r2.top), std::max(r1.right, r2.right),
                std::max(r1.bottom, r2.bottom));
    return TRUE;
}

BOOL CRect::SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2)
{
    CRect src(lpRectSrc1);
    CRect overlap;
    if (src.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    CRect result = src;
    if (overlap.IntersectRect(&src, lpRectSrc2)) {
        bool fullWidth = overlap.left == src.left && overlap.right == src.right;
        bool fullHeight = overlap.top == src.top && overlap.bottom == src.bottom;
        if (fullWidth && fullHeight) {
            result.SetRectEmpty();
        } else if (fullWidth) {
            if (overlap.top == src.top)
                result.top = overlap.bottom;
            else if (overlap.bottom == src.bottom)
                result.bottom = overlap.top;
        } else if (fullHeight) {
            if (overlap.left == src.left)
                result.left = overlap.right;
            else if (overlap.right == src.right)
                result.right = overlap.left;
        }
    }
    CopyRect(&result);
    return !IsRectEmpty();
}

CRect CRect::operator+(POINT point) const
{
    CRect rect(*this);
    rect.OffsetRect(point);
    return rect;
}

CRect CRect::operator-(POINT point) const
{
    CRect rect(*this);
    rect.OffsetRect(-point.x, -point.y);
    return rect;
}

CRect CRect::operator+(SIZE size) const
{
    CRect rect(*this);
    rect.OffsetRect(size);
    return rect;
}

CRect CRect::operator-(SIZE size) const
{
    CRect rect(*this);
    rect.OffsetRect(-size.cx, -size.cy);
    return rect;
}

CRect CRect::operator+(LPCRECT lpRect) const
{
    CRect rect(*this);
    rect.InflateRect(lpRect);
    return rect;
}

CRect CRect::operator-(LPCRECT lpRect) const
{
    CRect rect(*this);
    rect.DeflateRect(lpRect);
    return rect;
}

CRect CRect::operator&(const RECT& rect2) const
{
    CRect rect;
    rect.IntersectRect(this, &rect2);
    return rect;
}

CRect CRect::operator|(const RECT& rect2) const
{
    CRect rect;
    rect.UnionRect(this, &rect2);
    return rect;
}
