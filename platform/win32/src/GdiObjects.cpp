// The handle table and the drawing objects: pens, brushes, bitmaps, stock objects; selecting,
// deleting and describing them.
#include "GdiInternal.h"

#include <errhandlingapi.h>
#include <winerror.h>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace gdi {

namespace {
std::unordered_set<Object*>& Table()
{
    static auto* t = new std::unordered_set<Object*>;
    return *t;
}

Object* g_stock[DC_PEN + 1];
HBITMAP g_stockBitmap;

Pen* MakePen(UINT style, int width, COLORREF c)
{
    auto* p = new Pen;
    p->style = style;
    p->width = width;
    p->color = c;
    return p;
}

Brush* MakeBrush(UINT style, COLORREF c, ULONG_PTR hatch = 0)
{
    auto* b = new Brush;
    b->style = style;
    b->color = c;
    b->hatch = hatch;
    return b;
}

Font* MakeFont(int height, int weight, const char* face, BYTE pitch)
{
    auto* f = new Font;
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = ANSI_CHARSET;
    f->lf.lfPitchAndFamily = pitch;
    std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    return f;
}

void MakeStock()
{
    auto add = [](int i, Object* o) {
        o->stock = true;
        Table().insert(o);
        g_stock[i] = o;
    };
    add(WHITE_BRUSH, MakeBrush(BS_SOLID, RGB(255, 255, 255)));
    add(LTGRAY_BRUSH, MakeBrush(BS_SOLID, RGB(192, 192, 192)));
    add(GRAY_BRUSH, MakeBrush(BS_SOLID, RGB(128, 128, 128)));
    add(DKGRAY_BRUSH, MakeBrush(BS_SOLID, RGB(64, 64, 64)));
    add(BLACK_BRUSH, MakeBrush(BS_SOLID, RGB(0, 0, 0)));
    add(NULL_BRUSH, MakeBrush(BS_NULL, 0));
    add(WHITE_PEN, MakePen(PS_SOLID, 1, RGB(255, 255, 255)));
    add(BLACK_PEN, MakePen(PS_SOLID, 1, RGB(0, 0, 0)));
    add(NULL_PEN, MakePen(PS_NULL, 1, 0));
    add(OEM_FIXED_FONT, MakeFont(12, FW_NORMAL, "Terminal", FIXED_PITCH | FF_MODERN));
    add(ANSI_FIXED_FONT, MakeFont(13, FW_NORMAL, "Courier", FIXED_PITCH | FF_MODERN));
    add(ANSI_VAR_FONT, MakeFont(13, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS));
    add(SYSTEM_FONT, MakeFont(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS));
    add(DEVICE_DEFAULT_FONT, MakeFont(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS));
    auto* pal = new Palette;
    for (auto& q : StaticColors())
        pal->entries.push_back(PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
    add(DEFAULT_PALETTE, pal);
    add(SYSTEM_FIXED_FONT, MakeFont(16, FW_NORMAL, "Fixedsys", FIXED_PITCH | FF_MODERN));
    add(DEFAULT_GUI_FONT, MakeFont(-11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS));
    auto* dcb = MakeBrush(BS_SOLID, RGB(255, 255, 255));
    dcb->dcBrush = true;
    add(DC_BRUSH, dcb);
    auto* dcp = MakePen(PS_SOLID, 1, RGB(0, 0, 0));
    dcp->dcPen = true;
    add(DC_PEN, dcp);
    Bitmap* bm = NewBitmap(1, 1, 1, MonoColors());
    bm->monoDdb = true;
    bm->stock = true;
    Table().insert(bm);
    g_stockBitmap = HBITMAP(bm);
}

void EnsureStock()
{
    static std::once_flag once;
    std::call_once(once, MakeStock);
}
} // namespace

std::recursive_mutex& Lock()
{
    static auto* m = new std::recursive_mutex;
    return *m;
}

HGDIOBJ Register(Object* o)
{
    Table().insert(o);
    return HGDIOBJ(o);
}

Object* Lookup(HGDIOBJ h)
{
    EnsureStock();
    auto* o = static_cast<Object*>(h);
    if (!o || !Table().count(o))
        return nullptr;
    return o;
}

DC* AsDC(HDC h)
{
    Object* o = Lookup(h);
    return (o && (o->type == OBJ_DC || o->type == OBJ_MEMDC)) ? static_cast<DC*>(o) : nullptr;
}

void Destroy(Object* o)
{
    if (o->type == OBJ_PAL)
        ForgetPalette(static_cast<Palette*>(o));
    Table().erase(o);
    delete o;
}

void SelectInto(HGDIOBJ h)
{
    if (Object* o = Lookup(h))
        ++o->selected;
}

void Unselect(HGDIOBJ h)
{
    Object* o = Lookup(h);
    if (!o)
        return;
    if (o->selected > 0)
        --o->selected;
    if (o->type == OBJ_BITMAP && o->selected == 0)
        static_cast<Bitmap*>(o)->selectedInto = nullptr;
    if (o->deletePending && o->selected == 0 && !o->stock)
        Destroy(o);
}

HBITMAP StockBitmap()
{
    EnsureStock();
    return g_stockBitmap;
}

bool BitmapSizeOk(long long w, long long h)
{
    // 2^28 pixels (1 GB at 32 bits) is far beyond any picture the programs use.
    if (w < 0 || h < 0 || w * h > (1LL << 28) || w > 0x7FFFFF || h > 0x7FFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

Bitmap* NewBitmap(int w, int h, int bpp, std::shared_ptr<host::ColorTable> colors)
{
    auto* b = new Bitmap;
    b->surface = std::make_shared<host::Surface>(w, h, bpp, std::move(colors));
    return b;
}

} // namespace gdi

using namespace gdi;

HGDIOBJ WINAPI GetStockObject(int i)
{
    std::lock_guard lk(Lock());
    EnsureStock();
    if (i < 0 || i > DC_PEN || !g_stock[i])
        return nullptr;
    return g_stock[i];
}

DWORD WINAPI GetObjectType(HGDIOBJ h)
{
    std::lock_guard lk(Lock());
    Object* o = Lookup(h);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return o->type;
}

BOOL WINAPI DeleteObject(HGDIOBJ h)
{
    std::lock_guard lk(Lock());
    Object* o = Lookup(h);
    if (!o || o->type == OBJ_DC || o->type == OBJ_MEMDC)
        return FALSE;
    if (o->stock)
        return TRUE;
    if (o->selected > 0) {
        o->deletePending = true;
        return TRUE;
    }
    Destroy(o);
    return TRUE;
}

// ---- Pens and brushes ---------------------------------------------------------------------------

HPEN WINAPI CreatePen(int style, int width, COLORREF color)
{
    std::lock_guard lk(Lock());
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Wide pens are always solid.
    int s = style & PS_STYLE_MASK;
    if (width > 1 && s >= PS_DASH && s <= PS_DASHDOTDOT)
        s = PS_SOLID;
    return HPEN(Register(MakePen(UINT((style & ~PS_STYLE_MASK) | s), std::max(width, 0), color)));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* lp)
{
    return lp ? CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor) : nullptr;
}

HPEN WINAPI ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD, const DWORD*)
{
    if (!lb)
        return nullptr;
    if (lb->lbStyle == BS_NULL)
        return CreatePen(PS_NULL, 0, 0);
    return CreatePen(int(style & ~PS_GEOMETRIC), int(width), lb->lbColor);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF c)
{
    std::lock_guard lk(Lock());
    return HBRUSH(Register(MakeBrush(BS_SOLID, c)));
}

HBRUSH WINAPI CreateHatchBrush(int hatch, COLORREF c)
{
    std::lock_guard lk(Lock());
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    return HBRUSH(Register(MakeBrush(BS_HATCHED, c, ULONG_PTR(hatch))));
}

// The brush keeps its own copy of the bitmap, so the bitmap may be deleted afterwards.
HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm)
{
    std::lock_guard lk(Lock());
    Bitmap* bm = As<Bitmap>(hbm, OBJ_BITMAP);
    if (!bm)
        return nullptr;
    const host::Surface& s = *bm->surface;
    auto copy = std::make_shared<host::Surface>(s.Width(), s.Height(), s.BitsPerPixel(), s.Colors());
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            copy->Set(x, y, s.Get(x, y));
    Brush* b = MakeBrush(BS_PATTERN, 0, ULONG_PTR(hbm));
    b->pattern = copy;
    b->patternMono = bm->monoDdb || s.BitsPerPixel() == 1;
    return HBRUSH(Register(b));
}

HBRUSH WINAPI CreateDIBPatternBrushPt(const void* packed, UINT usage)
{
    std::lock_guard lk(Lock());
    DibView v;
    if (!packed || !ParseDib(static_cast<const BITMAPINFO*>(packed), usage, nullptr, v))
        return nullptr;
    std::vector<BYTE> scratch;
    auto view = DibSurface(v, static_cast<const BYTE*>(packed) + v.headerBytes, scratch);
    auto copy = std::make_shared<host::Surface>(v.width, v.height, view->Indexed() ? view->BitsPerPixel() : 32,
                                                view->Colors());
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x)
            copy->Set(x, y, view->Get(x, y));
    Brush* b = MakeBrush(BS_DIBPATTERNPT, 0);
    b->pattern = copy;
    return HBRUSH(Register(b));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return HBRUSH(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8: return CreatePatternBrush(HBITMAP(lb->lbHatch));
    case BS_DIBPATTERNPT: return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), lb->lbColor);
    default: return nullptr;
    }
}

// ---- Bitmaps ------------------------------------------------------------------------------------

namespace {
int DdbStride(int w, int bpp)
{
    return ((w * bpp + 15) / 16) * 2;
}
} // namespace

HBITMAP WINAPI CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits)
{
    std::lock_guard lk(Lock());
    if (w < 0 || h < 0 || planes != 1 ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (w == 0 || h == 0)
        return StockBitmap();
    if (!BitmapSizeOk(w, h))
        return nullptr;
    Bitmap* b = NewBitmap(w, h, int(bpp), bpp == 1 ? MonoColors() : DefaultColors(int(bpp)));
    b->monoDdb = bpp == 1;
    HBITMAP hbm = HBITMAP(Register(b));
    if (bits)
        SetBitmapBits(hbm, DWORD(DdbStride(w, int(bpp)) * h), bits);
    return hbm;
}

HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* bm)
{
    return bm ? CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits) : nullptr;
}

LONG WINAPI GetBitmapBits(HBITMAP hbm, LONG cb, LPVOID out)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    if (!b)
        return 0;
    const host::Surface& s = *b->surface;
    int stride = DdbStride(s.Width(), s.BitsPerPixel());
    LONG total = LONG(stride) * s.Height();
    if (!out)
        return total;
    LONG n = std::min(cb, total);
    auto* dst = static_cast<BYTE*>(out);
    for (LONG off = 0; off < n;) {
        int y = int(off / stride);
        LONG take = std::min<LONG>(stride, n - off);
        std::memcpy(dst + off, s.Row(y), size_t(std::min<LONG>(take, s.Stride())));
        if (take > s.Stride())
            std::memset(dst + off + s.Stride(), 0, size_t(take - s.Stride()));
        off += take;
    }
    return n;
}

LONG WINAPI SetBitmapBits(HBITMAP hbm, DWORD cb, const void* in)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    if (!b || !in || b->stock)
        return 0;
    host::Surface& s = *b->surface;
    int stride = DdbStride(s.Width(), s.BitsPerPixel());
    LONG total = LONG(stride) * s.Height();
    LONG n = std::min<LONG>(LONG(cb), total);
    auto* src = static_cast<const BYTE*>(in);
    for (LONG off = 0; off < n;) {
        int y = int(off / stride);
        LONG take = std::min<LONG>(stride, n - off);
        std::memcpy(s.Row(y), src + off, size_t(std::min<LONG>(take, s.Stride())));
        off += take;
    }
    return n;
}

BOOL WINAPI GetBitmapDimensionEx(HBITMAP hbm, LPSIZE sz)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    if (!b || !sz)
        return FALSE;
    *sz = b->dimension;
    return TRUE;
}

BOOL WINAPI SetBitmapDimensionEx(HBITMAP hbm, int w, int h, LPSIZE old)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    if (!b)
        return FALSE;
    if (old)
        *old = b->dimension;
    b->dimension = SIZE{w, h};
    return TRUE;
}

BOOL WINAPI GdiFlush()
{
    return TRUE;
}

// ---- Describing objects -------------------------------------------------------------------------

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv)
{
    std::lock_guard lk(Lock());
    Object* o = Lookup(h);
    if (!o)
        return 0;
    auto give = [&](const void* data, int size) {
        if (!pv)
            return size;
        int n = std::min(c, size);
        if (n <= 0)
            return 0;
        std::memcpy(pv, data, size_t(n));
        return n;
    };
    switch (o->type) {
    case OBJ_PEN: {
        auto* p = static_cast<Pen*>(o);
        LOGPEN lp{p->style, POINT{p->width, 0}, p->color};
        return give(&lp, sizeof lp);
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<Brush*>(o);
        LOGBRUSH lb{b->style, b->color, b->hatch};
        return give(&lb, sizeof lb);
    }
    case OBJ_BITMAP: {
        auto* b = static_cast<Bitmap*>(o);
        const host::Surface& s = *b->surface;
        DIBSECTION ds{};
        ds.dsBm.bmType = 0;
        ds.dsBm.bmWidth = s.Width();
        ds.dsBm.bmHeight = s.Height();
        ds.dsBm.bmPlanes = 1;
        ds.dsBm.bmBitsPixel = WORD(s.BitsPerPixel());
        if (b->dib) {
            ds.dsBm.bmWidthBytes = s.Stride();
            ds.dsBm.bmBits = b->surface->Bits();
            ds.dsBmih = b->dibHeader;
            if (pv && c >= int(sizeof(DIBSECTION)))
                return give(&ds, sizeof ds);
        } else {
            ds.dsBm.bmWidthBytes = DdbStride(s.Width(), s.BitsPerPixel());
        }
        return give(&ds.dsBm, sizeof(BITMAP));
    }
    case OBJ_FONT: return give(&static_cast<Font*>(o)->lf, sizeof(LOGFONTA));
    case OBJ_PAL: {
        WORD n = WORD(static_cast<Palette*>(o)->entries.size());
        return give(&n, sizeof n);
    }
    default: return 0;
    }
}

BOOL WINAPI UnrealizeObject(HGDIOBJ h)
{
    std::lock_guard lk(Lock());
    Object* o = Lookup(h);
    if (!o)
        return FALSE;
    if (o->type == OBJ_PAL)
        std::fill(static_cast<Palette*>(o)->mapping.begin(), static_cast<Palette*>(o)->mapping.end(), -1);
    return TRUE;
}
