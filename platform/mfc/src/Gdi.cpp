// The class library's drawing objects.
#include <afx.h>

#include <mfc/Dc.h>
#include <mfc/Gdi.h>

#include "HandleMap.h"

// The window part of the platform provides system colour brushes when it is linked in.
HBRUSH WINAPI GetSysColorBrush(int index) __attribute__((weak));

namespace {
mfc::HandleMap& Map()
{
    thread_local mfc::HandleMap map;
    return map;
}

template <class T> T* Wrap(HGDIOBJ h)
{
    if (!h)
        return nullptr;
    if (auto* p = static_cast<CGdiObject*>(Map().Permanent(h)))
        if (auto* t = dynamic_cast<T*>(p))
            return t;
    return Map().Temp<T>(
        h, [](T& t, void* handle) { t.m_hObject = static_cast<HGDIOBJ>(handle); },
        [](T& t) { t.m_hObject = nullptr; });
}
} // namespace

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ h)
{
    return Wrap<CGdiObject>(h);
}

void PASCAL CGdiObject::DeleteTempMap()
{
    Map().DeleteTemps();
}

BOOL CGdiObject::Attach(HGDIOBJ h)
{
    ASSERT(m_hObject == nullptr);
    if (!h)
        return FALSE;
    m_hObject = h;
    Map().Add(h, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h)
        Map().Remove(h, this);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const
{
    return UINT(::GetObjectType(m_hObject));
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject()
{
    return ::UnrealizeObject(m_hObject);
}

void CGdiObject::AssertValid() const
{
    CObject::AssertValid();
    ASSERT(m_hObject == nullptr || ::GetObjectType(m_hObject) != 0);
}

// ---- CPen ---------------------------------------------------------------------------------------

CPen::CPen(int style, int width, COLORREF color)
{
    if (!CreatePen(style, width, color))
        AfxThrowResourceException();
}

CPen::CPen(int style, int width, const LOGBRUSH* lb, int count, const DWORD* styles)
{
    if (!CreatePen(style, width, lb, count, styles))
        AfxThrowResourceException();
}

CPen* PASCAL CPen::FromHandle(HPEN h)
{
    return Wrap<CPen>(h);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    return Attach(::CreatePen(style, width, color));
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* lb, int count, const DWORD* styles)
{
    return Attach(::ExtCreatePen(DWORD(style), DWORD(width), lb, DWORD(count), styles));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lp)
{
    return Attach(::CreatePenIndirect(lp));
}

int CPen::GetLogPen(LOGPEN* lp)
{
    return ::GetObject(m_hObject, sizeof(LOGPEN), lp);
}

// ---- CBrush -------------------------------------------------------------------------------------

CBrush::CBrush(COLORREF color)
{
    if (!CreateSolidBrush(color))
        AfxThrowResourceException();
}

CBrush::CBrush(int index, COLORREF color)
{
    if (!CreateHatchBrush(index, color))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* bitmap)
{
    if (!CreatePatternBrush(bitmap))
        AfxThrowResourceException();
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH h)
{
    return Wrap<CBrush>(h);
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int index, COLORREF color)
{
    return Attach(::CreateHatchBrush(index, color));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lb)
{
    return Attach(::CreateBrushIndirect(lb));
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap && Attach(::CreatePatternBrush(HBITMAP(bitmap->GetSafeHandle())));
}

BOOL CBrush::CreateDIBPatternBrush(const void* packed, UINT usage)
{
    return Attach(::CreateDIBPatternBrushPt(packed, usage));
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    return GetSysColorBrush && Attach(GetSysColorBrush(index));
}

int CBrush::GetLogBrush(LOGBRUSH* lb)
{
    return ::GetObject(m_hObject, sizeof(LOGBRUSH), lb);
}

// ---- CFont --------------------------------------------------------------------------------------

CFont* PASCAL CFont::FromHandle(HFONT h)
{
    return Wrap<CFont>(h);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf)
{
    return Attach(::CreateFontIndirect(lf));
}

BOOL CFont::CreateFont(int h, int w, int esc, int orient, int weight, BYTE italic, BYTE underline, BYTE strike,
                       BYTE charset, BYTE outPrec, BYTE clipPrec, BYTE quality, BYTE pitch, LPCSTR face)
{
    return Attach(::CreateFont(h, w, esc, orient, weight, italic, underline, strike, charset, outPrec, clipPrec,
                               quality, pitch, face));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR face, CDC* pDC)
{
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    if (face)
        lstrcpyn(lf.lfFaceName, face, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* in, CDC* pDC)
{
    if (!in)
        return FALSE;
    HDC hdc = pDC ? pDC->m_hAttribDC : nullptr;
    HDC screen = nullptr;
    if (!hdc)
        hdc = screen = ::CreateIC("DISPLAY", nullptr, nullptr, nullptr);
    LOGFONT lf = *in;
    // Tenths of a point to device units, then to the DC's logical units.
    POINT pt{0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), lf.lfHeight, 720)};
    POINT org{0, 0};
    ::DPtoLP(hdc, &pt, 1);
    ::DPtoLP(hdc, &org, 1);
    lf.lfHeight = -std::abs(pt.y - org.y);
    if (screen)
        ::DeleteDC(screen);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* lf)
{
    return ::GetObject(m_hObject, sizeof(LOGFONT), lf);
}

// ---- CBitmap ------------------------------------------------------------------------------------

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP h)
{
    return Wrap<CBitmap>(h);
}

BOOL CBitmap::CreateBitmap(int w, int h, UINT planes, UINT bits, const void* data)
{
    return Attach(::CreateBitmap(w, h, planes, bits, data));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP bm)
{
    return Attach(::CreateBitmapIndirect(bm));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int w, int h)
{
    return pDC && Attach(::CreateCompatibleBitmap(pDC->m_hDC, w, h));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int w, int h)
{
    return pDC && Attach(::CreateDiscardableBitmap(pDC->m_hDC, w, h));
}

int CBitmap::GetBitmap(BITMAP* bm)
{
    return ::GetObject(m_hObject, sizeof(BITMAP), bm);
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits)
{
    return DWORD(::SetBitmapBits(HBITMAP(m_hObject), count, bits));
}

DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const
{
    return DWORD(::GetBitmapBits(HBITMAP(m_hObject), LONG(count), bits));
}

CSize CBitmap::SetBitmapDimension(int w, int h)
{
    SIZE old{0, 0};
    ::SetBitmapDimensionEx(HBITMAP(m_hObject), w, h, &old);
    return CSize(old.cx, old.cy);
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE s{0, 0};
    ::GetBitmapDimensionEx(HBITMAP(m_hObject), &s);
    return CSize(s.cx, s.cy);
}

// ---- CPalette -----------------------------------------------------------------------------------

CPalette* PASCAL CPalette::FromHandle(HPALETTE h)
{
    return Wrap<CPalette>(h);
}

BOOL CPalette::CreatePalette(LPLOGPALETTE lp)
{
    return Attach(::CreatePalette(lp));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return Attach(::CreateHalftonePalette(pDC ? pDC->m_hDC : nullptr));
}

void CPalette::AnimatePalette(UINT start, UINT n, LPPALETTEENTRY colors)
{
    ::AnimatePalette(HPALETTE(m_hObject), start, n, colors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF c) const
{
    return ::GetNearestPaletteIndex(HPALETTE(m_hObject), c);
}

BOOL CPalette::ResizePalette(UINT n)
{
    return ::ResizePalette(HPALETTE(m_hObject), n);
}

int CPalette::GetEntryCount()
{
    WORD n = 0;
    ::GetObject(m_hObject, sizeof n, &n);
    return n;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT n, LPPALETTEENTRY colors) const
{
    return ::GetPaletteEntries(HPALETTE(m_hObject), start, n, colors);
}

UINT CPalette::SetPaletteEntries(UINT start, UINT n, LPPALETTEENTRY colors)
{
    return ::SetPaletteEntries(HPALETTE(m_hObject), start, n, colors);
}

// ---- CRgn ---------------------------------------------------------------------------------------

CRgn* PASCAL CRgn::FromHandle(HRGN h)
{
    return Wrap<CRgn>(h);
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT r)
{
    return Attach(::CreateRectRgnIndirect(r));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT r)
{
    return Attach(::CreateEllipticRgnIndirect(r));
}

BOOL CRgn::CreatePolygonRgn(LPPOINT pts, int n, int mode)
{
    return Attach(::CreatePolygonRgn(pts, n, mode));
}

BOOL CRgn::CreatePolyPolygonRgn(LPPOINT pts, LPINT counts, int n, int mode)
{
    return Attach(::CreatePolyPolygonRgn(pts, counts, n, mode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromData(const XFORM* x, int n, const RGNDATA* data)
{
    return Attach(::ExtCreateRegion(x, DWORD(n), data));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn(HRGN(m_hObject), x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT r)
{
    ::SetRectRgn(HRGN(m_hObject), r->left, r->top, r->right, r->bottom);
}

int CRgn::CombineRgn(CRgn* a, CRgn* b, int mode)
{
    return ::CombineRgn(HRGN(m_hObject), a ? HRGN(a->m_hObject) : nullptr, b ? HRGN(b->m_hObject) : nullptr, mode);
}

int CRgn::CopyRgn(CRgn* src)
{
    return ::CombineRgn(HRGN(m_hObject), src ? HRGN(src->m_hObject) : nullptr, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* other) const
{
    return other && ::EqualRgn(HRGN(m_hObject), HRGN(other->m_hObject));
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn(HRGN(m_hObject), x, y);
}

int CRgn::OffsetRgn(POINT p)
{
    return ::OffsetRgn(HRGN(m_hObject), p.x, p.y);
}

int CRgn::GetRgnBox(LPRECT r) const
{
    return ::GetRgnBox(HRGN(m_hObject), r);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(HRGN(m_hObject), x, y);
}

BOOL CRgn::PtInRegion(POINT p) const
{
    return ::PtInRegion(HRGN(m_hObject), p.x, p.y);
}

BOOL CRgn::RectInRegion(LPCRECT r) const
{
    return ::RectInRegion(HRGN(m_hObject), r);
}

int CRgn::GetRegionData(LPRGNDATA data, int n) const
{
    return int(::GetRegionData(HRGN(m_hObject), DWORD(n), data));
}
