// CDC: the class library's device context, a thin layer over the platform's DC functions.
#include <afx.h>

#include <mfc/Dc.h>
#include <mfc/Wnd.h>

#include "HandleMap.h"

namespace {
mfc::HandleMap& Map()
{
    thread_local mfc::HandleMap map;
    return map;
}

// Message handlers that receive a device context (WM_ERASEBKGND, WM_CTLCOLOR, OnDraw) get CDC
// objects from here.
CDC* AFXAPI DCFromHandle(HDC hdc)
{
    return CDC::FromHandle(hdc);
}

HDC AFXAPI HandleFromDC(CDC* dc)
{
    return dc ? dc->m_hDC : nullptr;
}

const bool g_installed = [] {
    AfxSetDCFromHandle(DCFromHandle);
    AfxSetHandleFromDC(HandleFromDC);
    return true;
}();
} // namespace

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC h)
{
    if (!h)
        return nullptr;
    if (auto* p = static_cast<CDC*>(Map().Permanent(h)))
        return p;
    return Map().Temp<CDC>(
        h,
        [](CDC& dc, void* handle) {
            dc.m_hDC = static_cast<HDC>(handle);
            dc.m_hAttribDC = dc.m_hDC;
        },
        [](CDC& dc) { dc.m_hDC = dc.m_hAttribDC = nullptr; });
}

void PASCAL CDC::DeleteTempMap()
{
    Map().DeleteTemps();
}

BOOL CDC::Attach(HDC h)
{
    ASSERT(m_hDC == nullptr);
    if (!h)
        return FALSE;
    m_hDC = m_hAttribDC = h;
    Map().Add(h, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h)
        Map().Remove(h, this);
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

void CDC::SetAttribDC(HDC h)
{
    m_hAttribDC = h;
}

void CDC::SetOutputDC(HDC h)
{
    m_hDC = h;
}

void CDC::ReleaseAttribDC()
{
    m_hAttribDC = nullptr;
}

void CDC::ReleaseOutputDC()
{
    m_hDC = nullptr;
}

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init)
{
    return Attach(::CreateDC(driver, device, output, static_cast<const DEVMODE*>(init)));
}

BOOL CDC::CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init)
{
    return Attach(::CreateIC(driver, device, output, static_cast<const DEVMODE*>(init)));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int r = 0;
    if (m_hAttribDC)
        r = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        r = -1; // the two contexts no longer agree on a level: restore with -1
    return r;
}

BOOL CDC::RestoreDC(int n)
{
    BOOL r = TRUE;
    if (m_hDC != m_hAttribDC)
        r = ::RestoreDC(m_hDC, n);
    if (m_hAttribDC)
        r = r && ::RestoreDC(m_hAttribDC, n);
    return r;
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hAttribDC, index);
}

// ---- Objects ------------------------------------------------------------------------------------

namespace {
// Selects into the output DC and the attribute DC; the previous object of the attribute DC (or of
// the output DC when there is none) is returned.
HGDIOBJ SelectBoth(const CDC& dc, HGDIOBJ h)
{
    HGDIOBJ old = nullptr;
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC)
        old = ::SelectObject(dc.m_hDC, h);
    if (dc.m_hAttribDC)
        old = ::SelectObject(dc.m_hAttribDC, h);
    return old;
}
} // namespace

CPen* CDC::SelectObject(CPen* p)
{
    return CPen::FromHandle(HPEN(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* p)
{
    return CBrush::FromHandle(HBRUSH(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr)));
}

CFont* CDC::SelectObject(CFont* p)
{
    return CFont::FromHandle(HFONT(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* p)
{
    return CBitmap::FromHandle(HBITMAP(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr)));
}

int CDC::SelectObject(CRgn* p)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr)));
}

CGdiObject* CDC::SelectObject(CGdiObject* p)
{
    return CGdiObject::FromHandle(SelectBoth(*this, p ? p->GetSafeHandle() : nullptr));
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ h = ::GetStockObject(index);
    return h ? CGdiObject::FromHandle(SelectBoth(*this, h)) : nullptr;
}

CPalette* CDC::SelectPalette(CPalette* p, BOOL background)
{
    return CPalette::FromHandle(::SelectPalette(m_hDC, p ? HPALETTE(p->GetSafeHandle()) : nullptr, background));
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle(HPEN(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(HBRUSH(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(HFONT(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(HBITMAP(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPalette* CDC::GetCurrentPalette() const
{
    return CPalette::FromHandle(HPALETTE(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

COLORREF CDC::GetNearestColor(COLORREF c) const
{
    return ::GetNearestColor(m_hAttribDC, c);
}

// ---- Attributes ---------------------------------------------------------------------------------

namespace {
template <class T, class F> T SetBoth(const CDC& dc, F f, T value)
{
    T old{};
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC)
        old = f(dc.m_hDC, value);
    if (dc.m_hAttribDC)
        old = f(dc.m_hAttribDC, value);
    return old;
}
} // namespace

COLORREF CDC::SetBkColor(COLORREF c)
{
    return SetBoth<COLORREF>(*this, ::SetBkColor, c);
}
COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hAttribDC);
}
int CDC::SetBkMode(int mode)
{
    return SetBoth<int>(*this, ::SetBkMode, mode);
}
int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hAttribDC);
}
COLORREF CDC::SetTextColor(COLORREF c)
{
    return SetBoth<COLORREF>(*this, ::SetTextColor, c);
}
COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hAttribDC);
}
int CDC::SetROP2(int mode)
{
    return SetBoth<int>(*this, ::SetROP2, mode);
}
int CDC::GetROP2() const
{
    return ::GetROP2(m_hAttribDC);
}
int CDC::SetStretchBltMode(int mode)
{
    return SetBoth<int>(*this, ::SetStretchBltMode, mode);
}
int CDC::GetStretchBltMode() const
{
    return ::GetStretchBltMode(m_hAttribDC);
}
int CDC::SetPolyFillMode(int mode)
{
    return SetBoth<int>(*this, ::SetPolyFillMode, mode);
}
int CDC::GetPolyFillMode() const
{
    return ::GetPolyFillMode(m_hAttribDC);
}
UINT CDC::SetTextAlign(UINT flags)
{
    return SetBoth<UINT>(*this, ::SetTextAlign, flags);
}
UINT CDC::GetTextAlign() const
{
    return ::GetTextAlign(m_hAttribDC);
}
int CDC::SetTextCharacterExtra(int extra)
{
    return SetBoth<int>(*this, ::SetTextCharacterExtra, extra);
}
int CDC::GetTextCharacterExtra() const
{
    return ::GetTextCharacterExtra(m_hAttribDC);
}

// ---- Coordinates --------------------------------------------------------------------------------

int CDC::SetMapMode(int mode)
{
    return SetBoth<int>(*this, ::SetMapMode, mode);
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hAttribDC);
}

namespace {
using PointFn = BOOL(WINAPI*)(HDC, int, int, LPPOINT);
using SizeFn = BOOL(WINAPI*)(HDC, int, int, LPSIZE);

CPoint PointBoth(const CDC& dc, PointFn f, int x, int y)
{
    POINT old{0, 0};
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC)
        f(dc.m_hDC, x, y, &old);
    if (dc.m_hAttribDC)
        f(dc.m_hAttribDC, x, y, &old);
    return CPoint(old.x, old.y);
}

CSize SizeBoth(const CDC& dc, SizeFn f, int x, int y)
{
    SIZE old{0, 0};
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC)
        f(dc.m_hDC, x, y, &old);
    if (dc.m_hAttribDC)
        f(dc.m_hAttribDC, x, y, &old);
    return CSize(old.cx, old.cy);
}
} // namespace

CPoint CDC::SetWindowOrg(int x, int y)
{
    return PointBoth(*this, ::SetWindowOrgEx, x, y);
}
CPoint CDC::SetWindowOrg(POINT p)
{
    return SetWindowOrg(p.x, p.y);
}
CPoint CDC::GetWindowOrg() const
{
    POINT p{0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return CPoint(p.x, p.y);
}
CPoint CDC::OffsetWindowOrg(int w, int h)
{
    return PointBoth(*this, ::OffsetWindowOrgEx, w, h);
}
CPoint CDC::SetViewportOrg(int x, int y)
{
    return PointBoth(*this, ::SetViewportOrgEx, x, y);
}
CPoint CDC::SetViewportOrg(POINT p)
{
    return SetViewportOrg(p.x, p.y);
}
CPoint CDC::GetViewportOrg() const
{
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return CPoint(p.x, p.y);
}
CPoint CDC::OffsetViewportOrg(int w, int h)
{
    return PointBoth(*this, ::OffsetViewportOrgEx, w, h);
}
CSize CDC::SetWindowExt(int cx, int cy)
{
    return SizeBoth(*this, ::SetWindowExtEx, cx, cy);
}
CSize CDC::GetWindowExt() const
{
    SIZE s{0, 0};
    ::GetWindowExtEx(m_hAttribDC, &s);
    return CSize(s.cx, s.cy);
}
CSize CDC::SetViewportExt(int cx, int cy)
{
    return SizeBoth(*this, ::SetViewportExtEx, cx, cy);
}
CSize CDC::GetViewportExt() const
{
    SIZE s{0, 0};
    ::GetViewportExtEx(m_hAttribDC, &s);
    return CSize(s.cx, s.cy);
}
void CDC::LPtoDP(LPPOINT p, int n) const
{
    ::LPtoDP(m_hAttribDC, p, n);
}
void CDC::LPtoDP(LPRECT r) const
{
    ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(r), 2);
}
void CDC::LPtoDP(LPSIZE s) const
{
    // Sizes do not move with the origins; MM_TEXT keeps their scale.
    (void)s;
}
void CDC::DPtoLP(LPPOINT p, int n) const
{
    ::DPtoLP(m_hAttribDC, p, n);
}
void CDC::DPtoLP(LPRECT r) const
{
    ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(r), 2);
}
void CDC::DPtoLP(LPSIZE s) const
{
    (void)s;
}
CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}
CPoint CDC::SetBrushOrg(POINT p)
{
    return SetBrushOrg(p.x, p.y);
}
CPoint CDC::GetBrushOrg() const
{
    POINT p{0, 0};
    ::GetBrushOrgEx(m_hDC, &p);
    return CPoint(p.x, p.y);
}

// ---- Clipping -----------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT r) const
{
    return ::GetClipBox(m_hDC, r);
}
int CDC::SelectClipRgn(CRgn* rgn)
{
    int r = ERROR;
    if (m_hDC != m_hAttribDC)
        r = ::SelectClipRgn(m_hDC, rgn ? HRGN(rgn->GetSafeHandle()) : nullptr);
    if (m_hAttribDC)
        r = ::SelectClipRgn(m_hAttribDC, rgn ? HRGN(rgn->GetSafeHandle()) : nullptr);
    return r;
}
int CDC::SelectClipRgn(CRgn* rgn, int mode)
{
    int r = ERROR;
    if (m_hDC != m_hAttribDC)
        r = ::ExtSelectClipRgn(m_hDC, rgn ? HRGN(rgn->GetSafeHandle()) : nullptr, mode);
    if (m_hAttribDC)
        r = ::ExtSelectClipRgn(m_hAttribDC, rgn ? HRGN(rgn->GetSafeHandle()) : nullptr, mode);
    return r;
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    int r = ERROR;
    if (m_hDC != m_hAttribDC)
        r = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        r = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    return r;
}
int CDC::ExcludeClipRect(LPCRECT r)
{
    return ExcludeClipRect(r->left, r->top, r->right, r->bottom);
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    int r = ERROR;
    if (m_hDC != m_hAttribDC)
        r = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC)
        r = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    return r;
}
int CDC::IntersectClipRect(LPCRECT r)
{
    return IntersectClipRect(r->left, r->top, r->right, r->bottom);
}
int CDC::OffsetClipRgn(int x, int y)
{
    int r = ERROR;
    if (m_hDC != m_hAttribDC)
        r = ::OffsetClipRgn(m_hDC, x, y);
    if (m_hAttribDC)
        r = ::OffsetClipRgn(m_hAttribDC, x, y);
    return r;
}
int CDC::OffsetClipRgn(SIZE s)
{
    return OffsetClipRgn(s.cx, s.cy);
}
BOOL CDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}
BOOL CDC::PtVisible(POINT p) const
{
    return ::PtVisible(m_hDC, p.x, p.y);
}
BOOL CDC::RectVisible(LPCRECT r) const
{
    return ::RectVisible(m_hDC, r);
}

// ---- Lines and shapes ---------------------------------------------------------------------------

CPoint CDC::GetCurrentPosition() const
{
    POINT p{0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &p);
    return CPoint(p.x, p.y);
}
CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    if (m_hDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hDC, x, y, &old);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &old);
    return CPoint(old.x, old.y);
}
CPoint CDC::MoveTo(POINT p)
{
    return MoveTo(p.x, p.y);
}
BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::LineTo(POINT p)
{
    return LineTo(p.x, p.y);
}
BOOL CDC::Polyline(const POINT* pts, int n)
{
    return ::Polyline(m_hDC, pts, n);
}
BOOL CDC::Polygon(const POINT* pts, int n)
{
    return ::Polygon(m_hDC, pts, n);
}
BOOL CDC::PolyPolygon(const POINT* pts, const INT* counts, int n)
{
    return ::PolyPolygon(m_hDC, pts, counts, n);
}
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Rectangle(LPCRECT r)
{
    return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom);
}
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}
BOOL CDC::RoundRect(LPCRECT r, POINT p)
{
    return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, p.x, p.y);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Ellipse(LPCRECT r)
{
    return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom);
}
void CDC::FillRect(LPCRECT r, CBrush* b)
{
    ::FillRect(m_hDC, r, b ? HBRUSH(b->GetSafeHandle()) : nullptr);
}
void CDC::FrameRect(LPCRECT r, CBrush* b)
{
    ::FrameRect(m_hDC, r, b ? HBRUSH(b->GetSafeHandle()) : nullptr);
}
void CDC::InvertRect(LPCRECT r)
{
    ::InvertRect(m_hDC, r);
}
void CDC::DrawFocusRect(LPCRECT r)
{
    ::DrawFocusRect(m_hDC, r);
}
void CDC::FillSolidRect(LPCRECT r, COLORREF c)
{
    ::SetBkColor(m_hDC, c);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, c);
}
void CDC::Draw3dRect(LPCRECT r, COLORREF tl, COLORREF br)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, tl, br);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF tl, COLORREF br)
{
    FillSolidRect(x, y, cx - 1, 1, tl);
    FillSolidRect(x, y, 1, cy - 1, tl);
    FillSolidRect(x + cx, y, -1, cy, br);
    FillSolidRect(x, y + cy, cx, -1, br);
}
BOOL CDC::DrawEdge(LPRECT r, UINT edge, UINT flags)
{
    return ::DrawEdge(m_hDC, r, edge, flags);
}
BOOL CDC::FillRgn(CRgn* rgn, CBrush* b)
{
    return rgn && b && ::FillRgn(m_hDC, HRGN(rgn->GetSafeHandle()), HBRUSH(b->GetSafeHandle()));
}
BOOL CDC::FrameRgn(CRgn* rgn, CBrush* b, int w, int h)
{
    return rgn && b && ::FrameRgn(m_hDC, HRGN(rgn->GetSafeHandle()), HBRUSH(b->GetSafeHandle()), w, h);
}
BOOL CDC::InvertRgn(CRgn* rgn)
{
    return rgn && ::InvertRgn(m_hDC, HRGN(rgn->GetSafeHandle()));
}
BOOL CDC::PaintRgn(CRgn* rgn)
{
    return rgn && ::PaintRgn(m_hDC, HRGN(rgn->GetSafeHandle()));
}

// ---- Pixels and blocks --------------------------------------------------------------------------

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}
COLORREF CDC::GetPixel(POINT p) const
{
    return ::GetPixel(m_hDC, p.x, p.y);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF c)
{
    return ::SetPixel(m_hDC, x, y, c);
}
COLORREF CDC::SetPixel(POINT p, COLORREF c)
{
    return ::SetPixel(m_hDC, p.x, p.y, c);
}
BOOL CDC::SetPixelV(int x, int y, COLORREF c)
{
    return ::SetPixelV(m_hDC, x, y, c);
}
BOOL CDC::PatBlt(int x, int y, int w, int h, DWORD rop)
{
    return ::PatBlt(m_hDC, x, y, w, h, rop);
}
BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
}
BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, ws, hs, rop);
}
BOOL CDC::MaskBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, CBitmap& mask, int xm, int ym, DWORD rop)
{
    return ::MaskBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, HBITMAP(mask.GetSafeHandle()), xm, ym,
                     rop);
}

// ---- Text ---------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCSTR s, int n)
{
    return ::TextOut(m_hDC, x, y, s, n);
}
BOOL CDC::TextOut(int x, int y, const CString& s)
{
    return TextOut(x, y, s, s.GetLength());
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR s, UINT n, LPINT dx)
{
    return ::ExtTextOut(m_hDC, x, y, options, r, s, n, dx);
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT r, const CString& s, LPINT dx)
{
    return ExtTextOut(x, y, options, r, s, UINT(s.GetLength()), dx);
}
CSize CDC::TabbedTextOut(int x, int y, LPCSTR s, int n, int tabs, LPINT stops, int origin)
{
    LONG r = ::TabbedTextOut(m_hDC, x, y, s, n, tabs, stops, origin);
    return CSize(LOWORD(r), HIWORD(r));
}
CSize CDC::TabbedTextOut(int x, int y, const CString& s, int tabs, LPINT stops, int origin)
{
    return TabbedTextOut(x, y, s, s.GetLength(), tabs, stops, origin);
}
int CDC::DrawText(LPCSTR s, int n, LPRECT r, UINT format)
{
    return ::DrawText(m_hDC, s, n, r, format);
}
int CDC::DrawText(const CString& s, LPRECT r, UINT format)
{
    return DrawText(s, s.GetLength(), r, format);
}
CSize CDC::GetTextExtent(LPCSTR s, int n) const
{
    SIZE sz{0, 0};
    ::GetTextExtentPoint32(m_hAttribDC, s, n, &sz);
    return CSize(sz.cx, sz.cy);
}
CSize CDC::GetTextExtent(const CString& s) const
{
    return GetTextExtent(s, s.GetLength());
}
CSize CDC::GetOutputTextExtent(LPCSTR s, int n) const
{
    SIZE sz{0, 0};
    ::GetTextExtentPoint32(m_hDC, s, n, &sz);
    return CSize(sz.cx, sz.cy);
}
CSize CDC::GetOutputTextExtent(const CString& s) const
{
    return GetOutputTextExtent(s, s.GetLength());
}
CSize CDC::GetTabbedTextExtent(LPCSTR s, int n, int tabs, LPINT stops) const
{
    DWORD r = ::GetTabbedTextExtent(m_hAttribDC, s, n, tabs, stops);
    return CSize(LOWORD(r), HIWORD(r));
}
CSize CDC::GetTabbedTextExtent(const CString& s, int tabs, LPINT stops) const
{
    return GetTabbedTextExtent(s, s.GetLength(), tabs, stops);
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC tm) const
{
    return ::GetTextMetrics(m_hAttribDC, tm);
}
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC tm) const
{
    return ::GetTextMetrics(m_hDC, tm);
}
BOOL CDC::GetCharWidth(UINT first, UINT last, LPINT out) const
{
    return ::GetCharWidth(m_hAttribDC, first, last, out);
}
int CDC::GetTextFace(int n, LPSTR face) const
{
    return ::GetTextFace(m_hDC, n, face);
}
int CDC::GetTextFace(CString& s) const
{
    int n = ::GetTextFace(m_hDC, 0, nullptr);
    int r = ::GetTextFace(m_hDC, n, s.GetBuffer(n));
    s.ReleaseBuffer();
    return r;
}

// ---- Printing -----------------------------------------------------------------------------------

int CDC::StartDoc(LPDOCINFO di)
{
    return ::StartDoc(m_hDC, di);
}
int CDC::StartDoc(LPCSTR name)
{
    DOCINFO di{sizeof(DOCINFO), name, nullptr, nullptr, 0};
    return StartDoc(&di);
}
int CDC::StartPage()
{
    return ::StartPage(m_hDC);
}
int CDC::EndPage()
{
    return ::EndPage(m_hDC);
}
int CDC::EndDoc()
{
    return ::EndDoc(m_hDC);
}
int CDC::AbortDoc()
{
    return ::AbortDoc(m_hDC);
}
int CDC::SetAbortProc(BOOL(CALLBACK* fn)(HDC, int))
{
    return ::SetAbortProc(m_hDC, fn);
}
int CDC::Escape(int esc, int n, LPCSTR in, LPVOID out)
{
    return ::Escape(m_hDC, esc, n, in, out);
}

void CDC::AssertValid() const
{
    CObject::AssertValid();
}
