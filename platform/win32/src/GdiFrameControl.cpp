// DrawFrameControl: the standard pictures of controls in the classic three-dimensional look.
#include "GdiInternal.h"

#include <algorithm>

namespace gdi {
namespace {

// COLOR_ indices of the window part of the interface.
enum { kWindow = 5, kWindowFrame = 6, kBtnFace = 15, kBtnShadow = 16, kGrayText = 17, kBtnText = 18,
       kBtnHighlight = 20, kDkShadow = 21, kLight = 22 };

COLORREF Sys(int index)
{
    switch (index) {
    case kWindow: return SysColor(index, RGB(255, 255, 255));
    case kWindowFrame: return SysColor(index, RGB(0, 0, 0));
    case kBtnFace: return SysColor(index, RGB(192, 192, 192));
    case kBtnShadow: return SysColor(index, RGB(128, 128, 128));
    case kGrayText: return SysColor(index, RGB(128, 128, 128));
    case kBtnText: return SysColor(index, RGB(0, 0, 0));
    case kBtnHighlight: return SysColor(index, RGB(255, 255, 255));
    case kDkShadow: return SysColor(index, RGB(0, 0, 0));
    default: return SysColor(index, RGB(192, 192, 192));
    }
}

// Paints a set of pixels given as rows of spans, relative to (x, y), logical coordinates.
void PaintShape(DC& dc, int x, int y, const Rgn& shape, COLORREF c)
{
    Paint p;
    p.value = Resolve(dc, c);
    Rgn s = shape;
    s.Offset(dc.Sx(x), dc.Sy(y));
    FillRgnSurface(dc, s, p, R2_COPYPEN);
}

void Fill(DC& dc, const RECT& r, COLORREF c)
{
    PaintShape(dc, 0, 0, Rgn(r), c);
}

// A solid triangle pointing in a direction, centred in the rectangle.
Rgn Arrow(const RECT& r, int dir)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    int size = std::max(2, (std::min(w, h) + 1) / 3); // rows of the arrow
    int cx = r.left + w / 2, cy = r.top + h / 2;
    Rgn g;
    for (int i = 0; i < size; ++i) {
        RECT line{};
        switch (dir) {
        case DFCS_SCROLLUP: line = RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1}; break;
        case DFCS_SCROLLDOWN: line = RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1}; break;
        case DFCS_SCROLLLEFT: line = RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1}; break;
        default: line = RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1}; break;
        }
        g = Rgn::Combine(g, Rgn(line), RGN_OR);
    }
    return g;
}

// The classic check mark, 7 by 7 pixels.
Rgn CheckMark()
{
    static const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    Rgn g;
    for (int x = 0; x < 7; ++x)
        g = Rgn::Combine(g, Rgn(RECT{x, tops[x], x + 1, tops[x] + 3}), RGN_OR);
    return g;
}

// A glyph drawn grey with a white shadow when the control is inactive.
void Glyph(DC& dc, int x, int y, const Rgn& shape, UINT state)
{
    if (state & DFCS_INACTIVE) {
        PaintShape(dc, x + 1, y + 1, shape, Sys(kBtnHighlight));
        PaintShape(dc, x, y, shape, Sys(kGrayText));
    } else {
        PaintShape(dc, x, y, shape, Sys(kBtnText));
    }
}

void ButtonFace(HDC hdc, DC& dc, RECT& r, UINT state)
{
    bool down = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (state & DFCS_FLAT) {
        DrawEdge(hdc, &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    } else if (state & DFCS_MONO) {
        DrawEdge(hdc, &r, BDR_OUTER, BF_RECT | BF_MONO | BF_ADJUST);
    } else if (down && (state & DFCS_PUSHED)) {
        // A pressed button: a dark frame around a flat shadow.
        Fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, Sys(kWindowFrame));
        Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, Sys(kWindowFrame));
        Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, Sys(kWindowFrame));
        Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, Sys(kWindowFrame));
        InflateRect(&r, -1, -1);
        DrawEdge(hdc, &r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
    } else {
        DrawEdge(hdc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    }
    if (!(state & DFCS_TRANSPARENT))
        Fill(dc, r, (down && !(state & DFCS_PUSHED)) ? Sys(kLight) : Sys(kBtnFace));
}

// A square of side `side` at the left of the rectangle, centred vertically.
RECT Box(const RECT& r, int side)
{
    int top = r.top + (r.bottom - r.top - side) / 2;
    return RECT{r.left, top, r.left + side, top + side};
}

} // namespace
} // namespace gdi

using namespace gdi;

BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT lprc, UINT type, UINT state)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !lprc)
        return FALSE;
    RECT r = *lprc;
    UINT kind = state & 0xFF;
    switch (type) {
    case DFC_BUTTON: {
        if (kind & DFCS_BUTTONPUSH) {
            ButtonFace(hdc, *dc, r, state);
            break;
        }
        if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            int side = std::min(r.right - r.left, r.bottom - r.top);
            RECT b = Box(r, side);
            Rgn outer = EllipseRgn(b.left, b.top, b.right, b.bottom);
            Rgn inner = EllipseRgn(b.left + 2, b.top + 2, b.right - 2, b.bottom - 2);
            if (kind & DFCS_BUTTONRADIOMASK) {
                PaintShape(*dc, 0, 0, outer, RGB(0, 0, 0));
                break;
            }
            // Shadow on the upper left half of the ring, light on the lower right.
            Rgn ring = Rgn::Combine(outer, inner, RGN_DIFF);
            Rgn upperLeft;
            for (int y = b.top; y < b.bottom; ++y)
                upperLeft = Rgn::Combine(upperLeft, Rgn(RECT{b.left, y, b.left + (b.bottom - y), y + 1}), RGN_OR);
            PaintShape(*dc, 0, 0, Rgn::Combine(ring, upperLeft, RGN_AND), Sys(kBtnShadow));
            PaintShape(*dc, 0, 0, Rgn::Combine(ring, upperLeft, RGN_DIFF), Sys(kBtnHighlight));
            bool grey = state & (DFCS_INACTIVE | DFCS_PUSHED);
            PaintShape(*dc, 0, 0, inner, grey ? Sys(kBtnFace) : Sys(kWindow));
            if (state & DFCS_CHECKED) {
                int c = side / 2, d = std::max(2, side / 3);
                Rgn dot = EllipseRgn(b.left + c - d / 2, b.top + c - d / 2, b.left + c - d / 2 + d, b.top + c - d / 2 + d);
                PaintShape(*dc, 0, 0, dot, (state & DFCS_INACTIVE) ? Sys(kGrayText) : Sys(kBtnText));
            }
            break;
        }
        // Check boxes (also three-state ones).
        int side = std::min(r.right - r.left, r.bottom - r.top);
        RECT b = Box(r, side);
        if (state & DFCS_MONO)
            DrawEdge(hdc, &b, BDR_OUTER, BF_RECT | BF_MONO | BF_ADJUST);
        else if (state & DFCS_FLAT)
            DrawEdge(hdc, &b, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
        else
            DrawEdge(hdc, &b, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        bool grey = (state & (DFCS_INACTIVE | DFCS_PUSHED)) || ((kind & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED));
        Fill(*dc, b, grey ? Sys(kBtnFace) : Sys(kWindow));
        if (state & DFCS_CHECKED) {
            int x = b.left + (b.right - b.left - 7) / 2, y = b.top + (b.bottom - b.top - 7) / 2;
            Glyph(*dc, x, y, CheckMark(), (kind & DFCS_BUTTON3STATE) ? (state | DFCS_INACTIVE) : state);
        }
        break;
    }
    case DFC_SCROLL: {
        if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
            Fill(*dc, r, Sys(kBtnFace));
            // Three diagonal ridges in the lower right corner.
            int side = std::min(r.right - r.left, r.bottom - r.top);
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i < side - 4 * k - 2; ++i) {
                    int x = r.right - 1 - i, y = r.bottom - (side - 4 * k - 2) + i;
                    PaintShape(*dc, 0, 0, Rgn(RECT{x, y, x + 1, y + 1}), Sys(kBtnHighlight));
                    PaintShape(*dc, 0, 0, Rgn(RECT{x, y + 1, x + 1, y + 3}), Sys(kBtnShadow));
                }
            break;
        }
        UINT dir = kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : kind;
        ButtonFace(hdc, *dc, r, state);
        int shift = (state & DFCS_PUSHED) ? 1 : 0;
        Glyph(*dc, shift, shift, Arrow(r, int(dir)), state);
        break;
    }
    case DFC_CAPTION: {
        ButtonFace(hdc, *dc, r, state);
        int shift = (state & DFCS_PUSHED) ? 1 : 0;
        int w = r.right - r.left, h = r.bottom - r.top, s = std::max(3, std::min(w, h) * 3 / 5);
        int x = r.left + (w - s) / 2 + shift, y = r.top + (h - s) / 2 + shift;
        Rgn g;
        switch (kind) {
        case DFCS_CAPTIONCLOSE:
            for (int i = 0; i < s; ++i) {
                g = Rgn::Combine(g, Rgn(RECT{x + i, y + i, x + i + 2, y + i + 1}), RGN_OR);
                g = Rgn::Combine(g, Rgn(RECT{x + s - i - 2, y + i, x + s - i, y + i + 1}), RGN_OR);
            }
            break;
        case DFCS_CAPTIONMIN: g = Rgn(RECT{x, y + s - 2, x + s - 2, y + s}); break;
        case DFCS_CAPTIONMAX:
            g = Rgn::Combine(Rgn(RECT{x, y, x + s, y + s}), Rgn(RECT{x + 1, y + 2, x + s - 1, y + s - 1}), RGN_DIFF);
            break;
        case DFCS_CAPTIONRESTORE: {
            int t = s * 2 / 3;
            Rgn back = Rgn::Combine(Rgn(RECT{x + s - t, y, x + s, y + t}),
                                    Rgn(RECT{x + s - t + 1, y + 2, x + s - 1, y + t - 1}), RGN_DIFF);
            Rgn front = Rgn(RECT{x, y + s - t, x + t, y + s});
            g = Rgn::Combine(Rgn::Combine(back, front, RGN_DIFF), Rgn::Combine(front, Rgn(RECT{x + 1, y + s - t + 2, x + t - 1, y + s - 1}), RGN_DIFF), RGN_OR);
            break;
        }
        default: { // help: a question mark made of blocks
            g = Rgn(RECT{x + s / 3, y, x + s - s / 3, y + 1});
            g = Rgn::Combine(g, Rgn(RECT{x + s - s / 3, y + 1, x + s - s / 3 + 1, y + s / 2}), RGN_OR);
            g = Rgn::Combine(g, Rgn(RECT{x + s / 2, y + s / 2, x + s / 2 + 1, y + s - 2}), RGN_OR);
            g = Rgn::Combine(g, Rgn(RECT{x + s / 2, y + s - 1, x + s / 2 + 1, y + s}), RGN_OR);
            break;
        }
        }
        Glyph(*dc, 0, 0, g, state);
        break;
    }
    case DFC_MENU: {
        // Menu marks are drawn black on white, to be used as masks.
        Fill(*dc, r, RGB(255, 255, 255));
        int w = r.right - r.left, h = r.bottom - r.top;
        Rgn g;
        if (kind == DFCS_MENUCHECK) {
            g = CheckMark();
            g.Offset(r.left + (w - 7) / 2, r.top + (h - 7) / 2);
        } else if (kind == DFCS_MENUBULLET) {
            int d = std::max(2, std::min(w, h) / 3);
            int x = r.left + (w - d) / 2, y = r.top + (h - d) / 2;
            g = EllipseRgn(x, y, x + d, y + d);
        } else {
            g = Arrow(r, kind == DFCS_MENUARROWRIGHT ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
        }
        PaintShape(*dc, 0, 0, g, RGB(0, 0, 0));
        break;
    }
    default: return FALSE;
    }
    if (state & DFCS_ADJUSTRECT)
        *lprc = r;
    return TRUE;
}
