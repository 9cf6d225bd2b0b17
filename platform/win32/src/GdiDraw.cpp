// Lines, shapes and fills: pens, brushes and the 16 binary raster operations.
#include "GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

// The window part of the interface provides the system colours when it is linked in.
HBRUSH WINAPI GetSysColorBrush(int index) __attribute__((weak));
DWORD WINAPI GetSysColor(int index) __attribute__((weak));

namespace gdi {

DWORD Rop2(int rop2, DWORD p, DWORD d)
{
    switch (rop2) {
    case R2_COPYPEN: return p;
    case R2_NOP: return d;
    case R2_XORPEN: return p ^ d;
    case R2_NOT: return ~d;
    default: break;
    }
    unsigned code = unsigned(rop2 - 1) & 0xF;
    DWORD r = 0;
    if (code & 8)
        r |= p & d;
    if (code & 4)
        r |= p & ~d;
    if (code & 2)
        r |= ~p & d;
    if (code & 1)
        r |= ~p & ~d;
    return r;
}

void FillSpan(DC& dc, int y, int x0, int x1, const Paint& p, int rop2)
{
    if (p.none || !dc.surface || x1 <= x0)
        return;
    const std::vector<int>* spans = dc.Clip().RowSpans(y);
    if (!spans)
        return;
    host::Surface& s = *dc.surface;
    DWORD mask = s.ValueMask();
    for (size_t i = 0; i + 1 < spans->size(); i += 2) {
        int a = std::max(x0, (*spans)[i]), b = std::min(x1, (*spans)[i + 1]);
        if (a >= b)
            continue;
        if (s.BitsPerPixel() == 32 && p.solid && p.patMask.empty()) {
            DWORD* row = reinterpret_cast<DWORD*>(s.Row(y));
            if (rop2 == R2_COPYPEN) {
                std::fill_n(row + a, b - a, p.value & mask);
                continue;
            }
            // With a solid paint every bit of the result is 0, 1, the destination's bit or its
            // inverse: the operation is (d & keep) ^ flip, worked out once for the span.
            const DWORD flip = Rop2(rop2, p.value, 0);
            const DWORD keep = flip ^ Rop2(rop2, p.value, 0xFFFFFFFFu);
            if (keep == 0) {
                std::fill_n(row + a, b - a, flip & mask);
            } else {
                for (int x = a; x < b; ++x)
                    row[x] = ((row[x] & keep) ^ flip) & mask;
            }
            continue;
        }
        for (int x = a; x < b; ++x) {
            if (!p.Paints(x, y))
                continue;
            DWORD v = rop2 == R2_COPYPEN ? p.At(x, y) : Rop2(rop2, p.At(x, y), s.Get(x, y));
            s.Set(x, y, v & mask);
        }
    }
}

void FillRgnSurface(DC& dc, const Rgn& r, const Paint& p, int rop2)
{
    for (auto& band : r.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (size_t i = 0; i + 1 < band.xs.size(); i += 2)
                FillSpan(dc, y, band.xs[i], band.xs[i + 1], p, rop2);
}

void PlotPixel(DC& dc, int x, int y, const Paint& p, int rop2)
{
    FillSpan(dc, y, x, x + 1, p, rop2);
}

namespace {
bool HatchBit(int hatch, int x, int y)
{
    switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
    }
}
} // namespace

Paint BrushPaint(DC& dc, HBRUSH hbr, bool forBlt)
{
    Paint p;
    Brush* b = As<Brush>(hbr, OBJ_BRUSH);
    if (!b || b->style == BS_NULL || !dc.surface) {
        p.none = true;
        return p;
    }
    p.ox = dc.origin.x + dc.st.brushOrg.x;
    p.oy = dc.origin.y + dc.st.brushOrg.y;
    host::Surface& s = *dc.surface;
    switch (b->style) {
    case BS_SOLID: p.value = Resolve(dc, b->dcBrush ? dc.st.dcBrushColor : b->color); break;
    case BS_HATCHED: {
        p.solid = false;
        p.pw = p.ph = 8;
        DWORD fg = Resolve(dc, b->color), bg = Resolve(dc, dc.st.bkColor);
        bool transparent = !forBlt && dc.st.bkMode == TRANSPARENT;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                bool on = HatchBit(int(b->hatch), x, y);
                p.pat.push_back(on ? fg : bg);
                if (transparent)
                    p.patMask.push_back(on);
            }
        break;
    }
    default: {
        if (!b->pattern) {
            p.none = true;
            break;
        }
        const host::Surface& pat = *b->pattern;
        p.solid = false;
        p.pw = std::max(pat.Width(), 1);
        p.ph = std::max(pat.Height(), 1);
        DWORD fg = Resolve(dc, dc.st.textColor), bg = Resolve(dc, dc.st.bkColor);
        bool same = pat.Indexed() && pat.BitsPerPixel() == s.BitsPerPixel() && pat.Colors() == s.Colors();
        std::unordered_map<DWORD, DWORD> converted;
        for (int y = 0; y < pat.Height(); ++y)
            for (int x = 0; x < pat.Width(); ++x) {
                DWORD v = pat.Get(x, y);
                if (b->patternMono) {
                    p.pat.push_back(v ? bg : fg);
                } else if (same) {
                    p.pat.push_back(v);
                } else {
                    auto it = converted.find(v);
                    if (it == converted.end())
                        it = converted.emplace(v, SourceColorValue(dc, pat.ValueToColor(v))).first;
                    p.pat.push_back(it->second);
                }
            }
        if (p.pat.empty())
            p.none = true;
        break;
    }
    }
    return p;
}

Paint PenPaint(DC& dc)
{
    Paint p;
    Pen* pen = As<Pen>(dc.st.pen, OBJ_PEN);
    if (!pen || (pen->style & PS_STYLE_MASK) == PS_NULL || !dc.surface) {
        p.none = true;
        return p;
    }
    p.value = Resolve(dc, pen->dcPen ? dc.st.dcPenColor : pen->color);
    return p;
}

namespace {
Pen* CurrentPen(DC& dc)
{
    return As<Pen>(dc.st.pen, OBJ_PEN);
}

int PenWidth(DC& dc)
{
    Pen* p = CurrentPen(dc);
    if (!p || (p->style & PS_STYLE_MASK) == PS_NULL)
        return 0;
    return std::max(p->width, 1);
}

// On/off runs of the cosmetic pen styles, in pixels.
const std::vector<int>& DashPattern(UINT style)
{
    static const std::vector<int> none, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style & PS_STYLE_MASK) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return none;
    }
}

// Draws a line in surface coordinates without its last point. `step` carries the position in
// the dash pattern from one segment of a polyline to the next.
void DrawLine(DC& dc, int x0, int y0, int x1, int y1, int& step)
{
    Pen* pen = CurrentPen(dc);
    Paint on = PenPaint(dc);
    if (on.none)
        return;
    int width = PenWidth(dc);
    const std::vector<int>& dashes = DashPattern(pen->style);
    int period = 0;
    for (int d : dashes)
        period += d;
    Paint off;
    off.none = dc.st.bkMode == TRANSPARENT;
    off.value = Resolve(dc, dc.st.bkColor);
    int rop2 = dc.st.rop2;
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    // One step of the line towards (x1, y1), along x, y or both.
    auto advance = [&](int& x, int& y) {
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    };
    if (width > 1) {
        // A wide pen: the union of discs along the line, gathered row by row and painted once.
        int r = width / 2;
        Rgn disc = EllipseRgn(-r, -r, width - r, width - r);
        int top = std::min(y0, y1) - r - 1;
        std::vector<std::vector<std::pair<int, int>>> rows(size_t(std::abs(y1 - y0) + width + 3));
        int x = x0, y = y0;
        for (;;) {
            for (auto& band : disc.Bands())
                for (int yy = band.top; yy < band.bottom; ++yy)
                    rows[size_t(y + yy - top)].emplace_back(x + band.xs.front(), x + band.xs.back());
            if (x == x1 && y == y1)
                break;
            advance(x, y);
        }
        std::vector<std::vector<int>> merged(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            auto& spans = rows[i];
            std::sort(spans.begin(), spans.end());
            for (auto& [a, b] : spans) {
                if (!merged[i].empty() && merged[i].back() >= a)
                    merged[i].back() = std::max(merged[i].back(), b);
                else {
                    merged[i].push_back(a);
                    merged[i].push_back(b);
                }
            }
        }
        FillRgnSurface(dc, Rgn::FromRows(top, merged), on, rop2);
        return;
    }
    int x = x0, y = y0;
    while (!(x == x1 && y == y1)) {
        bool drawOn = true;
        if (period) {
            int k = step % period, acc = 0;
            for (size_t i = 0; i < dashes.size(); ++i) {
                acc += dashes[i];
                if (k < acc) {
                    drawOn = (i % 2) == 0;
                    break;
                }
            }
            ++step;
        }
        if (drawOn)
            PlotPixel(dc, x, y, on, rop2);
        else if (!off.none)
            PlotPixel(dc, x, y, off, rop2);
        advance(x, y);
    }
}

void PolylineSurface(DC& dc, const POINT* pts, int n, bool close)
{
    int step = 0;
    for (int i = 0; i + 1 < n; ++i)
        DrawLine(dc, dc.Sx(pts[i].x), dc.Sy(pts[i].y), dc.Sx(pts[i + 1].x), dc.Sy(pts[i + 1].y), step);
    if (close && n > 2)
        DrawLine(dc, dc.Sx(pts[n - 1].x), dc.Sy(pts[n - 1].y), dc.Sx(pts[0].x), dc.Sy(pts[0].y), step);
}

RECT Normalized(DC& dc, int l, int t, int r, int b)
{
    return RECT{dc.Sx(std::min(l, r)), dc.Sy(std::min(t, b)), dc.Sx(std::max(l, r)), dc.Sy(std::max(t, b))};
}

// Fills the inside of a shape with the brush and its outline (the shape less the shape inset by
// the pen width) with the pen.
template <class Make> void DrawShape(DC& dc, const RECT& r, Make make)
{
    int w = PenWidth(dc);
    if (w == 0) {
        FillRgnSurface(dc, make(RECT{r.left, r.top, r.right - 1, r.bottom - 1}, 0), BrushPaint(dc, dc.st.brush),
                       dc.st.rop2);
        return;
    }
    Rgn outer = make(r, 0);
    Rgn inner = make(RECT{r.left + w, r.top + w, r.right - w, r.bottom - w}, w);
    FillRgnSurface(dc, inner, BrushPaint(dc, dc.st.brush), dc.st.rop2);
    FillRgnSurface(dc, Rgn::Combine(outer, inner, RGN_DIFF), PenPaint(dc), dc.st.rop2);
}

} // namespace

COLORREF SysColor(int index, COLORREF fallback)
{
    return GetSysColor ? GetSysColor(index) : fallback;
}

} // namespace gdi

using namespace gdi;

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->st.pos;
    dc->st.pos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    POINT pts[2] = {dc->st.pos, POINT{x, y}};
    PolylineSurface(*dc, pts, 2, false);
    dc->st.pos = pts[1];
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* pts, int n)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !pts || n < 2)
        return FALSE;
    PolylineSurface(*dc, pts, n, false);
    return TRUE;
}

BOOL WINAPI PolylineTo(HDC hdc, const POINT* pts, DWORD n)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !pts)
        return FALSE;
    std::vector<POINT> all{dc->st.pos};
    all.insert(all.end(), pts, pts + n);
    PolylineSurface(*dc, all.data(), int(all.size()), false);
    dc->st.pos = all.back();
    return TRUE;
}

BOOL WINAPI PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polys)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !pts || !counts || polys < 1)
        return FALSE;
    int total = 0;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 2)
            return FALSE;
        total += counts[i];
    }
    std::vector<POINT> s(pts, pts + total);
    for (auto& p : s)
        p = POINT{dc->Sx(p.x), dc->Sy(p.y)};
    FillRgnSurface(*dc, PolygonRgn(s.data(), counts, polys, dc->st.polyFillMode), BrushPaint(*dc, dc->st.brush),
                   dc->st.rop2);
    const POINT* p = pts;
    for (int i = 0; i < polys; ++i) {
        PolylineSurface(*dc, p, counts[i], true);
        p += counts[i];
    }
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* pts, int n)
{
    INT c = n;
    return PolyPolygon(hdc, pts, &c, 1);
}

BOOL WINAPI Rectangle(HDC hdc, int l, int t, int r, int b)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    DrawShape(*dc, Normalized(*dc, l, t, r, b), [](const RECT& rc, int) { return Rgn(rc); });
    return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int l, int t, int r, int b)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    DrawShape(*dc, Normalized(*dc, l, t, r, b),
              [](const RECT& rc, int) { return EllipseRgn(rc.left, rc.top, rc.right, rc.bottom); });
    return TRUE;
}

BOOL WINAPI RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    DrawShape(*dc, Normalized(*dc, l, t, r, b), [w, h](const RECT& rc, int inset) {
        return RoundRectRgn(rc.left, rc.top, rc.right, rc.bottom, w - 2 * inset, h - 2 * inset);
    });
    return TRUE;
}

namespace {
HBRUSH BrushArg(HBRUSH hbr)
{
    // A system colour index plus one stands for that colour's brush.
    auto v = reinterpret_cast<uintptr_t>(hbr);
    if (v > 0 && v <= 31 && !Lookup(hbr) && GetSysColorBrush)
        return GetSysColorBrush(int(v - 1));
    return hbr;
}
} // namespace

int WINAPI FillRect(HDC hdc, const RECT* rc, HBRUSH hbr)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    hbr = BrushArg(hbr);
    if (!dc || !rc || !As<Brush>(hbr, OBJ_BRUSH))
        return FALSE;
    FillRgnSurface(*dc, Rgn(Normalized(*dc, rc->left, rc->top, rc->right, rc->bottom)), BrushPaint(*dc, hbr),
                   R2_COPYPEN);
    return TRUE;
}

int WINAPI FrameRect(HDC hdc, const RECT* rc, HBRUSH hbr)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    hbr = BrushArg(hbr);
    if (!dc || !rc || !As<Brush>(hbr, OBJ_BRUSH))
        return FALSE;
    RECT r = Normalized(*dc, rc->left, rc->top, rc->right, rc->bottom);
    if (IsRectEmpty(&r))
        return TRUE;
    Rgn frame = Rgn::Combine(Rgn(r), Rgn(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}), RGN_DIFF);
    FillRgnSurface(*dc, frame, BrushPaint(*dc, hbr), R2_COPYPEN);
    return TRUE;
}

BOOL WINAPI InvertRect(HDC hdc, const RECT* rc)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !rc)
        return FALSE;
    Paint p;
    FillRgnSurface(*dc, Rgn(Normalized(*dc, rc->left, rc->top, rc->right, rc->bottom)), p, R2_NOT);
    return TRUE;
}

// A dotted frame drawn by inverting every other pixel; drawing it twice removes it.
BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rc)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !rc || !dc->surface)
        return FALSE;
    RECT r = Normalized(*dc, rc->left, rc->top, rc->right, rc->bottom);
    if (IsRectEmpty(&r))
        return TRUE;
    Paint p;
    p.value = dc->surface->ValueMask();
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            PlotPixel(*dc, x, y, p, R2_XORPEN);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    return TRUE;
}

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT flags)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !qrc)
        return FALSE;
    // COLOR_3DFACE 15, COLOR_3DSHADOW 16, COLOR_3DHILIGHT 20, COLOR_3DDKSHADOW 21, COLOR_3DLIGHT 22,
    // COLOR_WINDOWFRAME 6, COLOR_WINDOW 5.
    COLORREF face = SysColor(15, RGB(192, 192, 192)), shadow = SysColor(16, RGB(128, 128, 128)),
             hilight = SysColor(20, RGB(255, 255, 255)), dark = SysColor(21, RGB(0, 0, 0)),
             light = SysColor(22, RGB(192, 192, 192)), frame = SysColor(6, RGB(0, 0, 0)),
             window = SysColor(5, RGB(255, 255, 255));
    RECT r = *qrc;
    auto line = [&](int x0, int y0, int x1, int y1, COLORREF c) {
        Paint p;
        p.value = Resolve(*dc, c);
        RECT s = Normalized(*dc, x0, y0, x1, y1);
        FillRgnSurface(*dc, Rgn(s), p, R2_COPYPEN);
    };
    auto pass = [&](UINT bits, bool outer) {
        if (!bits)
            return;
        bool raised = outer ? (bits & BDR_RAISEDOUTER) : (bits & BDR_RAISEDINNER);
        COLORREF tl, br;
        if (flags & BF_MONO) {
            tl = br = outer ? frame : window;
        } else if (flags & BF_FLAT) {
            tl = br = outer ? shadow : face;
        } else if (outer) {
            tl = raised ? ((flags & BF_SOFT) ? hilight : light) : shadow;
            br = raised ? dark : ((flags & BF_SOFT) ? light : hilight);
        } else {
            tl = raised ? ((flags & BF_SOFT) ? light : hilight) : dark;
            br = raised ? shadow : ((flags & BF_SOFT) ? hilight : light);
        }
        if (r.right <= r.left || r.bottom <= r.top)
            return;
        if (flags & BF_TOP)
            line(r.left, r.top, r.right, r.top + 1, tl);
        if (flags & BF_LEFT)
            line(r.left, r.top, r.left + 1, r.bottom, tl);
        if (flags & BF_BOTTOM)
            line(r.left, r.bottom - 1, r.right, r.bottom, br);
        if (flags & BF_RIGHT)
            line(r.right - 1, r.top, r.right, r.bottom, br);
        if (flags & BF_LEFT)
            ++r.left;
        if (flags & BF_TOP)
            ++r.top;
        if (flags & BF_RIGHT)
            --r.right;
        if (flags & BF_BOTTOM)
            --r.bottom;
    };
    pass(edge & BDR_OUTER, true);
    pass(edge & BDR_INNER, false);
    if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top)
        line(r.left, r.top, r.right, r.bottom, (flags & BF_MONO) ? window : face);
    if (flags & BF_ADJUST)
        *qrc = r;
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF c)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !dc->surface)
        return CLR_INVALID;
    int sx = dc->Sx(x), sy = dc->Sy(y);
    if (!dc->Clip().Contains(sx, sy))
        return CLR_INVALID;
    Paint p;
    p.value = Resolve(*dc, c);
    PlotPixel(*dc, sx, sy, p, R2_COPYPEN);
    return dc->surface->ValueToColor(p.value);
}

BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF c)
{
    return SetPixel(hdc, x, y, c) != CLR_INVALID;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !dc->surface)
        return CLR_INVALID;
    int sx = dc->Sx(x), sy = dc->Sy(y);
    if (!dc->Clip().Contains(sx, sy))
        return CLR_INVALID;
    return dc->surface->GetColor(sx, sy);
}
