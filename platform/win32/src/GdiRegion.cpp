// Regions: sets of pixels kept as horizontal bands of disjoint spans, and the region and
// clipping functions of the interface.
#include "GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gdi {

Rgn::Rgn(const RECT& r)
{
    if (r.right > r.left && r.bottom > r.top)
        m_bands.push_back(Band{r.top, r.bottom, {r.left, r.right}});
}

Rgn Rgn::FromRows(int top, const std::vector<std::vector<int>>& rows)
{
    Rgn g;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].empty())
            g.m_bands.push_back(Band{top + int(i), top + int(i) + 1, rows[i]});
    g.Normalize();
    return g;
}

void Rgn::Normalize()
{
    std::vector<Band> out;
    for (auto& b : m_bands) {
        if (b.xs.empty() || b.bottom <= b.top)
            continue;
        if (!out.empty() && out.back().bottom == b.top && out.back().xs == b.xs)
            out.back().bottom = b.bottom;
        else
            out.push_back(std::move(b));
    }
    m_bands = std::move(out);
}

RECT Rgn::Box() const
{
    if (m_bands.empty())
        return RECT{0, 0, 0, 0};
    RECT r{m_bands.front().xs.front(), m_bands.front().top, m_bands.front().xs.back(), m_bands.back().bottom};
    for (auto& b : m_bands) {
        r.left = std::min(r.left, LONG(b.xs.front()));
        r.right = std::max(r.right, LONG(b.xs.back()));
    }
    return r;
}

int Rgn::Complexity() const
{
    if (m_bands.empty())
        return NULLREGION;
    if (m_bands.size() == 1 && m_bands[0].xs.size() == 2)
        return SIMPLEREGION;
    return COMPLEXREGION;
}

const std::vector<int>* Rgn::RowSpans(int y) const
{
    auto it = std::upper_bound(m_bands.begin(), m_bands.end(), y,
                               [](int v, const Band& b) { return v < b.bottom; });
    if (it == m_bands.end() || y < it->top)
        return nullptr;
    return &it->xs;
}

bool Rgn::Contains(int x, int y) const
{
    auto* s = RowSpans(y);
    if (!s)
        return false;
    for (size_t i = 0; i + 1 < s->size(); i += 2)
        if (x >= (*s)[i] && x < (*s)[i + 1])
            return true;
    return false;
}

bool Rgn::Intersects(const RECT& r) const
{
    for (auto& b : m_bands) {
        if (b.bottom <= r.top || b.top >= r.bottom)
            continue;
        for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
            if (b.xs[i] < r.right && b.xs[i + 1] > r.left)
                return true;
    }
    return false;
}

void Rgn::Offset(int dx, int dy)
{
    for (auto& b : m_bands) {
        b.top += dy;
        b.bottom += dy;
        for (auto& x : b.xs)
            x += dx;
    }
}

bool Rgn::operator==(const Rgn& o) const
{
    if (m_bands.size() != o.m_bands.size())
        return false;
    for (size_t i = 0; i < m_bands.size(); ++i)
        if (m_bands[i].top != o.m_bands[i].top || m_bands[i].bottom != o.m_bands[i].bottom ||
            m_bands[i].xs != o.m_bands[i].xs)
            return false;
    return true;
}

namespace {
bool Apply(int mode, bool a, bool b)
{
    switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
    }
}

bool Inside(const std::vector<int>* s, size_t& i, int x)
{
    if (!s)
        return false;
    while (i + 1 < s->size() && (*s)[i + 1] <= x)
        i += 2;
    return i + 1 < s->size() && (*s)[i] <= x;
}

std::vector<int> CombineSpans(const std::vector<int>* a, const std::vector<int>* b, int mode)
{
    std::vector<int> xs;
    if (a)
        xs.insert(xs.end(), a->begin(), a->end());
    if (b)
        xs.insert(xs.end(), b->begin(), b->end());
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<int> out;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        bool in = Apply(mode, Inside(a, ia, xs[k]), Inside(b, ib, xs[k]));
        if (!in)
            continue;
        if (!out.empty() && out.back() == xs[k])
            out.back() = xs[k + 1];
        else {
            out.push_back(xs[k]);
            out.push_back(xs[k + 1]);
        }
    }
    return out;
}
} // namespace

Rgn Rgn::Combine(const Rgn& a, const Rgn& b, int mode)
{
    if (mode == RGN_COPY)
        return a;
    std::vector<int> ys;
    for (auto* g : {&a, &b})
        for (auto& band : g->m_bands) {
            ys.push_back(band.top);
            ys.push_back(band.bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Rgn out;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        auto spans = CombineSpans(a.RowSpans(ys[k]), b.RowSpans(ys[k]), mode);
        if (!spans.empty())
            out.m_bands.push_back(Band{ys[k], ys[k + 1], std::move(spans)});
    }
    out.Normalize();
    return out;
}

Rgn EllipseRgn(int l, int t, int r, int b)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    if (r - l < 1 || b - t < 1)
        return Rgn();
    double cx = (l + r) / 2.0, cy = (t + b) / 2.0, ax = (r - l) / 2.0, by = (b - t) / 2.0;
    std::vector<std::vector<int>> rows;
    for (int y = t; y < b; ++y) {
        double dy = (y + 0.5 - cy) / by;
        double k = 1.0 - dy * dy;
        if (k <= 0) {
            rows.emplace_back();
            continue;
        }
        double hw = ax * std::sqrt(k);
        int x0 = int(std::lround(cx - hw)), x1 = int(std::lround(cx + hw));
        if (x1 > x0)
            rows.push_back({x0, x1});
        else
            rows.emplace_back();
    }
    return Rgn::FromRows(t, rows);
}

Rgn RoundRectRgn(int l, int t, int r, int b, int w, int h)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    w = std::min(std::abs(w), r - l);
    h = std::min(std::abs(h), b - t);
    if (w < 2 || h < 2)
        return Rgn(RECT{l, t, r, b});
    double rx = w / 2.0, ry = h / 2.0;
    std::vector<std::vector<int>> rows;
    for (int y = t; y < b; ++y) {
        double yc = y + 0.5, dy = 0;
        if (yc < t + ry)
            dy = (t + ry - yc) / ry;
        else if (yc > b - ry)
            dy = (yc - (b - ry)) / ry;
        double k = 1.0 - dy * dy;
        double inset = k <= 0 ? rx : rx - rx * std::sqrt(k);
        int x0 = l + int(std::lround(inset)), x1 = r - int(std::lround(inset));
        if (x1 > x0)
            rows.push_back({x0, x1});
        else
            rows.emplace_back();
    }
    return Rgn::FromRows(t, rows);
}

Rgn PolygonRgn(const POINT* pts, const INT* counts, int polys, int mode)
{
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    int top = 0, bottom = 0;
    bool first = true;
    const POINT* p = pts;
    for (int k = 0; k < polys; ++k) {
        int n = counts[k];
        for (int i = 0; i < n; ++i) {
            POINT a = p[i], b = p[(i + 1) % n];
            if (first) {
                top = bottom = a.y;
                first = false;
            }
            top = std::min<int>(top, std::min(a.y, b.y));
            bottom = std::max<int>(bottom, std::max(a.y, b.y));
            if (a.y == b.y)
                continue;
            if (a.y < b.y)
                edges.push_back(Edge{double(a.x), double(a.y), double(b.x), double(b.y), 1});
            else
                edges.push_back(Edge{double(b.x), double(b.y), double(a.x), double(a.y), -1});
        }
        p += n;
    }
    std::vector<std::vector<int>> rows;
    for (int y = top; y < bottom; ++y) {
        double yc = y + 0.5;
        std::vector<std::pair<double, int>> xs;
        for (auto& e : edges)
            if (yc >= e.y0 && yc < e.y1)
                xs.emplace_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        std::sort(xs.begin(), xs.end());
        std::vector<int> spans;
        auto add = [&](double xa, double xb) {
            int x0 = int(std::ceil(xa - 0.5)), x1 = int(std::ceil(xb - 0.5));
            if (x1 <= x0)
                return;
            if (!spans.empty() && spans.back() >= x0)
                spans.back() = std::max(spans.back(), x1);
            else {
                spans.push_back(x0);
                spans.push_back(x1);
            }
        };
        if (mode == WINDING) {
            int wind = 0;
            double start = 0;
            for (auto& [x, d] : xs) {
                int before = wind;
                wind += d;
                if (before == 0 && wind != 0)
                    start = x;
                else if (before != 0 && wind == 0)
                    add(start, x);
            }
        } else {
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                add(xs[i].first, xs[i + 1].first);
        }
        rows.push_back(std::move(spans));
    }
    return Rgn::FromRows(top, rows);
}

namespace {
Region* R(HRGN h)
{
    return As<Region>(h, OBJ_REGION);
}
HRGN NewRegion(Rgn g)
{
    auto* r = new Region;
    r->rgn = std::move(g);
    return HRGN(Register(r));
}
} // namespace

} // namespace gdi

using namespace gdi;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2)
{
    std::lock_guard lk(Lock());
    return NewRegion(Rgn(RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)}));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* r)
{
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    std::lock_guard lk(Lock());
    return NewRegion(EllipseRgn(x1, y1, x2, y2));
}

HRGN WINAPI CreateEllipticRgnIndirect(const RECT* r)
{
    return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
{
    std::lock_guard lk(Lock());
    return NewRegion(RoundRectRgn(x1, y1, x2, y2, w, h));
}

HRGN WINAPI CreatePolygonRgn(const POINT* pts, int n, int mode)
{
    if (!pts || n < 2)
        return nullptr;
    std::lock_guard lk(Lock());
    INT c = n;
    return NewRegion(PolygonRgn(pts, &c, 1, mode));
}

HRGN WINAPI CreatePolyPolygonRgn(const POINT* pts, const INT* pc, int polys, int mode)
{
    if (!pts || !pc || polys < 1)
        return nullptr;
    std::lock_guard lk(Lock());
    return NewRegion(PolygonRgn(pts, pc, polys, mode));
}

int WINAPI CombineRgn(HRGN dst, HRGN s1, HRGN s2, int mode)
{
    std::lock_guard lk(Lock());
    Region *d = R(dst), *a = R(s1), *b = mode == RGN_COPY ? a : R(s2);
    if (!d || !a || !b || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    d->rgn = Rgn::Combine(a->rgn, b->rgn, mode);
    return d->rgn.Complexity();
}

BOOL WINAPI EqualRgn(HRGN h1, HRGN h2)
{
    std::lock_guard lk(Lock());
    Region *a = R(h1), *b = R(h2);
    if (!a || !b)
        return ERROR;
    return a->rgn == b->rgn;
}

int WINAPI OffsetRgn(HRGN h, int x, int y)
{
    std::lock_guard lk(Lock());
    Region* r = R(h);
    if (!r)
        return ERROR;
    r->rgn.Offset(x, y);
    return r->rgn.Complexity();
}

BOOL WINAPI SetRectRgn(HRGN h, int l, int t, int r, int b)
{
    std::lock_guard lk(Lock());
    Region* g = R(h);
    if (!g)
        return FALSE;
    g->rgn = Rgn(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
    return TRUE;
}

int WINAPI GetRgnBox(HRGN h, LPRECT lprc)
{
    std::lock_guard lk(Lock());
    Region* g = R(h);
    if (!g || !lprc)
        return ERROR;
    *lprc = g->rgn.Box();
    return g->rgn.Complexity();
}

// The region as rectangles, band by band, top to bottom and left to right.
DWORD WINAPI GetRegionData(HRGN h, DWORD size, LPRGNDATA out)
{
    std::lock_guard lk(Lock());
    Region* g = R(h);
    if (!g)
        return 0;
    std::vector<RECT> rects;
    for (auto& b : g->rgn.Bands())
        for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
            rects.push_back(RECT{b.xs[i], b.top, b.xs[i + 1], b.bottom});
    DWORD need = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!out)
        return need;
    if (size < need)
        return 0;
    out->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()),
                             DWORD(rects.size() * sizeof(RECT)), g->rgn.Box()};
    std::memcpy(out->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return need;
}

// Only translations are supported as transforms.
HRGN WINAPI ExtCreateRegion(const XFORM* x, DWORD size, const RGNDATA* data)
{
    std::lock_guard lk(Lock());
    if (!data || size < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES ||
        size < data->rdh.dwSize + data->rdh.nCount * sizeof(RECT))
        return nullptr;
    if (x && (x->eM11 != 1.0f || x->eM22 != 1.0f || x->eM12 != 0.0f || x->eM21 != 0.0f))
        return nullptr;
    const auto* rects = reinterpret_cast<const RECT*>(reinterpret_cast<const BYTE*>(data) + data->rdh.dwSize);
    Rgn g;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT r;
        std::memcpy(&r, rects + i, sizeof r);
        g = Rgn::Combine(g, Rgn(r), RGN_OR);
    }
    if (x)
        g.Offset(int(x->eDx), int(x->eDy));
    return NewRegion(std::move(g));
}

BOOL WINAPI PtInRegion(HRGN h, int x, int y)
{
    std::lock_guard lk(Lock());
    Region* g = R(h);
    return g && g->rgn.Contains(x, y);
}

BOOL WINAPI RectInRegion(HRGN h, const RECT* r)
{
    std::lock_guard lk(Lock());
    Region* g = R(h);
    if (!g || !r)
        return FALSE;
    RECT n{std::min(r->left, r->right), std::min(r->top, r->bottom), std::max(r->left, r->right),
           std::max(r->top, r->bottom)};
    return g->rgn.Intersects(n);
}

namespace {
// A region given in logical coordinates, moved to surface coordinates.
Rgn ToSurface(DC& dc, const Rgn& g)
{
    Rgn s = g;
    s.Offset(dc.Sx(0), dc.Sy(0));
    return s;
}
} // namespace

BOOL WINAPI FillRgn(HDC hdc, HRGN h, HBRUSH hbr)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Region* g = R(h);
    if (!dc || !g || !As<Brush>(hbr, OBJ_BRUSH))
        return FALSE;
    FillRgnSurface(*dc, ToSurface(*dc, g->rgn), BrushPaint(*dc, hbr), dc->st.rop2);
    return TRUE;
}

BOOL WINAPI PaintRgn(HDC hdc, HRGN h)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc && FillRgn(hdc, h, dc->st.brush);
}

BOOL WINAPI InvertRgn(HDC hdc, HRGN h)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Region* g = R(h);
    if (!dc || !g)
        return FALSE;
    Paint p;
    FillRgnSurface(*dc, ToSurface(*dc, g->rgn), p, R2_NOT);
    return TRUE;
}

// The frame is the part of the region whose pixels lie within w horizontally or h vertically of
// the region's outside.
BOOL WINAPI FrameRgn(HDC hdc, HRGN h, HBRUSH hbr, int w, int hh)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Region* g = R(h);
    if (!dc || !g || !As<Brush>(hbr, OBJ_BRUSH) || w < 0 || hh < 0)
        return FALSE;
    Rgn inner = g->rgn;
    for (int d = 1; d <= w; ++d)
        for (int sign : {-1, 1}) {
            Rgn moved = g->rgn;
            moved.Offset(sign * d, 0);
            inner = Rgn::Combine(inner, moved, RGN_AND);
        }
    for (int d = 1; d <= hh; ++d)
        for (int sign : {-1, 1}) {
            Rgn moved = g->rgn;
            moved.Offset(0, sign * d);
            inner = Rgn::Combine(inner, moved, RGN_AND);
        }
    Rgn frame = Rgn::Combine(g->rgn, inner, RGN_DIFF);
    FillRgnSurface(*dc, ToSurface(*dc, frame), BrushPaint(*dc, hbr), dc->st.rop2);
    return TRUE;
}

// ---- Clipping -----------------------------------------------------------------------------------

const Rgn& DC::Clip()
{
    if (!clipDirty)
        return effClip;
    Rgn r(RECT{0, 0, surface ? surface->Width() : 0, surface ? surface->Height() : 0});
    if (vis)
        r = Rgn::Combine(r, *vis, RGN_AND);
    if (st.clip) {
        Rgn c = *st.clip;
        c.Offset(origin.x, origin.y);
        r = Rgn::Combine(r, c, RGN_AND);
    }
    effClip = std::move(r);
    clipDirty = false;
    return effClip;
}

namespace {
// The region a DC may draw into without a clip region, in device coordinates.
Rgn DeviceArea(DC& dc)
{
    Rgn r(RECT{0, 0, dc.surface ? dc.surface->Width() : 0, dc.surface ? dc.surface->Height() : 0});
    if (dc.vis)
        r = Rgn::Combine(r, *dc.vis, RGN_AND);
    r.Offset(-dc.origin.x, -dc.origin.y);
    return r;
}

int ClipResult(DC& dc)
{
    dc.InvalidateClip();
    return dc.Clip().Complexity();
}
} // namespace

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN h, int mode)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return ERROR;
    if (!h) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->st.clip.reset();
        return ClipResult(*dc);
    }
    Region* g = R(h);
    if (!g)
        return ERROR;
    if (mode == RGN_COPY)
        dc->st.clip = g->rgn;
    else {
        Rgn cur = dc->st.clip ? *dc->st.clip : DeviceArea(*dc);
        dc->st.clip = Rgn::Combine(cur, g->rgn, mode);
    }
    return ClipResult(*dc);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN h)
{
    return ExtSelectClipRgn(hdc, h, RGN_COPY);
}

namespace {
int ClipRect(HDC hdc, int l, int t, int r, int b, int mode)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return ERROR;
    Rgn rect(RECT{dc->Dx(std::min(l, r)), dc->Dy(std::min(t, b)), dc->Dx(std::max(l, r)), dc->Dy(std::max(t, b))});
    Rgn cur = dc->st.clip ? *dc->st.clip : DeviceArea(*dc);
    dc->st.clip = Rgn::Combine(cur, rect, mode);
    return ClipResult(*dc);
}
} // namespace

int WINAPI IntersectClipRect(HDC hdc, int l, int t, int r, int b)
{
    return ClipRect(hdc, l, t, r, b, RGN_AND);
}

int WINAPI ExcludeClipRect(HDC hdc, int l, int t, int r, int b)
{
    return ClipRect(hdc, l, t, r, b, RGN_DIFF);
}

int WINAPI OffsetClipRgn(HDC hdc, int x, int y)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return ERROR;
    if (dc->st.clip)
        dc->st.clip->Offset(x, y);
    return ClipResult(*dc);
}

int WINAPI GetClipBox(HDC hdc, LPRECT r)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !r)
        return ERROR;
    const Rgn& c = dc->Clip();
    RECT b = c.Box();
    if (c.Empty())
        b = RECT{0, 0, 0, 0};
    else {
        int dx = dc->Sx(0), dy = dc->Sy(0);
        OffsetRect(&b, -dx, -dy);
    }
    *r = b;
    return c.Complexity();
}

int WINAPI GetClipRgn(HDC hdc, HRGN h)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Region* g = R(h);
    if (!dc || !g)
        return -1;
    if (!dc->st.clip)
        return 0;
    g->rgn = *dc->st.clip;
    return 1;
}

BOOL WINAPI PtVisible(HDC hdc, int x, int y)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc && dc->Clip().Contains(dc->Sx(x), dc->Sy(y));
}

BOOL WINAPI RectVisible(HDC hdc, const RECT* r)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !r)
        return FALSE;
    RECT s{dc->Sx(std::min(r->left, r->right)), dc->Sy(std::min(r->top, r->bottom)),
           dc->Sx(std::max(r->left, r->right)), dc->Sy(std::max(r->top, r->bottom))};
    return dc->Clip().Intersects(s);
}
