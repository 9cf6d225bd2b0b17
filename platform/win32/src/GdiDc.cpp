// Device contexts: the desktop and its display contexts, memory and information contexts, the
// saved-state stack, device capabilities, coordinates and drawing attributes.
#include "GdiInternal.h"

#include <errhandlingapi.h>
#include <host/Display.h>
#include <winerror.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <utility>

namespace gdi {

namespace {
struct DisplayState {
    int width = 1024, height = 768;
    host::DisplayMode mode = host::DisplayMode::TrueColor;
    std::shared_ptr<host::Surface> desktop;
};

DisplayState& Disp()
{
    static auto* d = new DisplayState;
    return *d;
}

void MakeDesktop()
{
    auto& d = Disp();
    if (d.mode == host::DisplayMode::Palette256)
        d.desktop = std::make_shared<host::Surface>(d.width, d.height, 8, SystemColors());
    else
        d.desktop = std::make_shared<host::Surface>(d.width, d.height, 32);
}
} // namespace

std::shared_ptr<host::Surface> Desktop()
{
    auto& d = Disp();
    if (!d.desktop)
        MakeDesktop();
    return d.desktop;
}

bool PaletteDisplay()
{
    return Disp().mode == host::DisplayMode::Palette256;
}

DC* NewDC(DcKind kind, std::shared_ptr<host::Surface> surface)
{
    auto* dc = new DC(kind);
    dc->surface = std::move(surface);
    dc->st.pen = HPEN(GetStockObject(BLACK_PEN));
    dc->st.brush = HBRUSH(GetStockObject(WHITE_BRUSH));
    dc->st.font = HFONT(GetStockObject(SYSTEM_FONT));
    dc->st.palette = HPALETTE(GetStockObject(DEFAULT_PALETTE));
    dc->st.bitmap = kind == DcKind::Memory ? StockBitmap() : nullptr;
    for (HGDIOBJ h : {HGDIOBJ(dc->st.pen), HGDIOBJ(dc->st.brush), HGDIOBJ(dc->st.font), HGDIOBJ(dc->st.palette),
                      HGDIOBJ(dc->st.bitmap)})
        SelectInto(h);
    Register(dc);
    return dc;
}

namespace {
void ReleaseState(DcState& s)
{
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.palette), HGDIOBJ(s.bitmap)})
        Unselect(h);
}

void HoldState(DcState& s)
{
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.palette), HGDIOBJ(s.bitmap)})
        SelectInto(h);
}

void FreeDC(DC* dc)
{
    if (dc->kind == DcKind::Printer)
        EndPrinterDC(*dc);
    ReleaseState(dc->st);
    for (auto& s : dc->saved)
        ReleaseState(s);
    Destroy(dc);
}

// The display's capabilities, which memory and information contexts share.
int DisplayCaps(int index)
{
    auto& d = Disp();
    bool pal = d.mode == host::DisplayMode::Palette256;
    bool c16 = d.mode == host::DisplayMode::Report16Colors;
    switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return d.width * 254 / 960;
    case VERTSIZE: return d.height * 254 / 960;
    case HORZRES:
    case DESKTOPHORZRES: return d.width;
    case VERTRES:
    case DESKTOPVERTRES: return d.height;
    case BITSPIXEL: return pal ? 8 : c16 ? 4 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case NUMFONTS: return 0;
    case NUMCOLORS: return pal ? 20 : c16 ? 16 : -1;
    case CURVECAPS: return 0xFF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7807;
    case CLIPCAPS: return 1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
               RC_FLOODFILL | RC_STRETCHDIB | (pal ? RC_PALETTE : 0);
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return pal ? 256 : 0;
    case NUMRESERVED: return pal ? 20 : 0;
    case COLORRES: return pal ? 18 : 24;
    case VREFRESH: return 60;
    case BLTALIGNMENT: return 0;
    default: return 0;
    }
}

DC* DcOrError(HDC hdc)
{
    DC* dc = AsDC(hdc);
    if (!dc)
        SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}
} // namespace

} // namespace gdi

using namespace gdi;

// ---- The desktop --------------------------------------------------------------------------------

namespace host {

void SetDisplaySize(int width, int height)
{
    std::lock_guard lk(Lock());
    Disp().width = std::max(width, 1);
    Disp().height = std::max(height, 1);
    MakeDesktop();
}

SIZE GetDisplaySize()
{
    std::lock_guard lk(Lock());
    return SIZE{Disp().width, Disp().height};
}

void SetDisplayMode(DisplayMode mode)
{
    std::lock_guard lk(Lock());
    Disp().mode = mode;
    ResetSystemPalette();
    MakeDesktop();
}

DisplayMode GetDisplayMode()
{
    std::lock_guard lk(Lock());
    return Disp().mode;
}

std::shared_ptr<Surface> DesktopSurface()
{
    std::lock_guard lk(Lock());
    return Desktop();
}

HDC CreateDisplayDC(POINT origin, HRGN visibleRegion)
{
    std::lock_guard lk(Lock());
    DC* dc = NewDC(DcKind::Display, Desktop());
    SetDisplayDCArea(HDC(dc), origin, visibleRegion);
    return HDC(dc);
}

void SetDisplayDCArea(HDC hdc, POINT origin, HRGN visibleRegion)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return;
    dc->origin = origin;
    if (auto* r = As<Region>(visibleRegion, OBJ_REGION))
        dc->vis = r->rgn;
    else
        dc->vis.reset();
    dc->InvalidateClip();
}

void ReleaseDisplayDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    if (DC* dc = AsDC(hdc))
        FreeDC(dc);
}

bool IsDisplayDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc && dc->kind == DcKind::Display;
}

void SetDisplayDCOwner(HDC hdc, void* owner)
{
    std::lock_guard lk(Lock());
    if (DC* dc = AsDC(hdc))
        dc->owner = owner;
}

void* GetDisplayDCOwner(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc ? dc->owner : nullptr;
}

bool SaveDesktopPng(const std::string& hostPath, const RECT* area)
{
    std::lock_guard lk(Lock());
    return Desktop()->WritePng(hostPath, area);
}

COLORREF DesktopPixel(int x, int y)
{
    std::lock_guard lk(Lock());
    auto d = Desktop();
    if (x < 0 || y < 0 || x >= d->Width() || y >= d->Height())
        return CLR_INVALID;
    return d->GetColor(x, y);
}

std::shared_ptr<Surface> SurfaceOfBitmap(HBITMAP hbm)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    return b ? b->surface : nullptr;
}

std::shared_ptr<Surface> SurfaceOfDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc ? dc->surface : nullptr;
}

} // namespace host

// ---- Creating and deleting ----------------------------------------------------------------------

namespace {
HDC CreateDevice(LPCSTR driver, LPCSTR device, const DEVMODEA* dm, bool info)
{
    std::lock_guard lk(Lock());
    if (driver && strcasecmp(driver, "DISPLAY") == 0 && (!device || !*device || strcasecmp(device, "DISPLAY") == 0)) {
        DC* dc = NewDC(info ? DcKind::Info : DcKind::Display, info ? nullptr : Desktop());
        return HDC(dc);
    }
    if (IsPrinterName(device) || (driver && strcasecmp(driver, "WINSPOOL") == 0 && IsPrinterName(device)))
        return HDC(NewPrinterDC(device, dm, info));
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
}
} // namespace

HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const DEVMODEA* dm)
{
    return CreateDevice(driver, device, dm, false);
}

HDC WINAPI CreateICA(LPCSTR driver, LPCSTR device, LPCSTR, const DEVMODEA* dm)
{
    return CreateDevice(driver, device, dm, true);
}

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    if (hdc && !AsDC(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    Bitmap* stock = As<Bitmap>(StockBitmap(), OBJ_BITMAP);
    DC* dc = NewDC(DcKind::Memory, stock->surface);
    if (DC* ref = AsDC(hdc); ref && ref->kind == DcKind::Printer)
        dc->owner = ref; // compatible with the printer: measured at the printer's resolution
    return HDC(dc);
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return FALSE;
    FreeDC(dc);
    return TRUE;
}

int WINAPI SaveDC(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->st);
    HoldState(dc->saved.back());
    return int(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int n)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return FALSE;
    int depth = int(dc->saved.size());
    int target = n < 0 ? depth + n + 1 : n; // the saved state to come back to (1-based)
    if (target < 1 || target > depth)
        return FALSE;
    while (int(dc->saved.size()) > target) {
        ReleaseState(dc->saved.back());
        dc->saved.pop_back();
    }
    DcState s = std::move(dc->saved.back());
    dc->saved.pop_back();
    ReleaseState(dc->st);
    bool bitmapChanged = s.bitmap != dc->st.bitmap;
    dc->st = std::move(s);
    if (bitmapChanged && dc->kind == DcKind::Memory) {
        if (Bitmap* b = As<Bitmap>(dc->st.bitmap, OBJ_BITMAP)) {
            dc->surface = b->surface;
            b->selectedInto = hdc;
        }
    }
    dc->InvalidateClip();
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return 0;
    if (dc->kind == DcKind::Printer)
        return PrinterCaps(*dc, index);
    if (dc->kind == DcKind::Memory && dc->owner) {
        if (DC* printer = AsDC(HDC(dc->owner)); printer && printer->kind == DcKind::Printer)
            return PrinterCaps(*printer, index);
    }
    return DisplayCaps(index);
}

BOOL WINAPI GetDCOrgEx(HDC hdc, LPPOINT p)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc || !p)
        return FALSE;
    *p = dc->origin;
    return TRUE;
}

// ---- Objects ------------------------------------------------------------------------------------

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    Object* o = Lookup(h);
    if (!dc || !o)
        return nullptr;
    auto swap = [&](auto& slot) -> HGDIOBJ {
        HGDIOBJ old = slot;
        SelectInto(h);
        slot = static_cast<std::remove_reference_t<decltype(slot)>>(h);
        Unselect(old);
        return old;
    };
    switch (o->type) {
    case OBJ_PEN: return swap(dc->st.pen);
    case OBJ_BRUSH: return swap(dc->st.brush);
    case OBJ_FONT: return swap(dc->st.font);
    case OBJ_BITMAP: {
        auto* b = static_cast<Bitmap*>(o);
        if (dc->kind != DcKind::Memory)
            return nullptr;
        if (!b->stock && b->selectedInto && b->selectedInto != hdc)
            return nullptr;
        HGDIOBJ old = swap(dc->st.bitmap);
        if (!b->stock)
            b->selectedInto = hdc;
        dc->surface = b->surface;
        dc->InvalidateClip();
        return old;
    }
    case OBJ_REGION: return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(hdc, HRGN(h))));
    default: return nullptr;
    }
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->st.pen;
    case OBJ_BRUSH: return dc->st.brush;
    case OBJ_FONT: return dc->st.font;
    case OBJ_BITMAP: return dc->st.bitmap;
    case OBJ_PAL: return dc->st.palette;
    default: return nullptr;
    }
}

COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF c)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->st.dcBrushColor, c);
}

COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF c)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->st.dcPenColor, c);
}

// ---- Coordinates --------------------------------------------------------------------------------

// Only MM_TEXT (one logical unit is one pixel, y grows downwards) is offered.
int WINAPI SetMapMode(HDC hdc, int mode)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return 0;
    if (mode != MM_TEXT) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    return std::exchange(dc->st.mapMode, mode);
}

int WINAPI GetMapMode(HDC hdc)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    return dc ? dc->st.mapMode : 0;
}

namespace {
BOOL SetPoint(HDC hdc, POINT DcState::*member, int x, int y, LPPOINT old, bool offset)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return FALSE;
    POINT& p = dc->st.*member;
    if (old)
        *old = p;
    p = offset ? POINT{p.x + x, p.y + y} : POINT{x, y};
    dc->InvalidateClip();
    return TRUE;
}

// Copies a point or an extent of the state out.
template <class T> BOOL GetPoint(HDC hdc, T DcState::*member, T* out)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc || !out)
        return FALSE;
    *out = dc->st.*member;
    return TRUE;
}

BOOL SetExt(HDC hdc, SIZE DcState::*member, int x, int y, LPSIZE old)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->st.*member;
    // Extents only matter in the scaled mapping modes, which are not offered.
    (void)x;
    (void)y;
    return TRUE;
}
} // namespace

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT p)
{
    return SetPoint(hdc, &DcState::windowOrg, x, y, p, false);
}
BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT p)
{
    return SetPoint(hdc, &DcState::windowOrg, x, y, p, true);
}
BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT p)
{
    return GetPoint(hdc, &DcState::windowOrg, p);
}
BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT p)
{
    return SetPoint(hdc, &DcState::viewportOrg, x, y, p, false);
}
BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT p)
{
    return SetPoint(hdc, &DcState::viewportOrg, x, y, p, true);
}
BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT p)
{
    return GetPoint(hdc, &DcState::viewportOrg, p);
}
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT p)
{
    return SetPoint(hdc, &DcState::brushOrg, x, y, p, false);
}
BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT p)
{
    return GetPoint(hdc, &DcState::brushOrg, p);
}
BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT p)
{
    return GetPoint(hdc, &DcState::pos, p);
}
BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE s)
{
    return SetExt(hdc, &DcState::windowExt, x, y, s);
}
BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE s)
{
    return SetExt(hdc, &DcState::viewportExt, x, y, s);
}
BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE s)
{
    return GetPoint(hdc, &DcState::windowExt, s);
}
BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE s)
{
    return GetPoint(hdc, &DcState::viewportExt, s);
}

BOOL WINAPI LPtoDP(HDC hdc, LPPOINT pts, int n)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc || (!pts && n > 0))
        return FALSE;
    for (int i = 0; i < n; ++i)
        pts[i] = POINT{dc->Dx(pts[i].x), dc->Dy(pts[i].y)};
    return TRUE;
}

BOOL WINAPI DPtoLP(HDC hdc, LPPOINT pts, int n)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc || (!pts && n > 0))
        return FALSE;
    for (int i = 0; i < n; ++i)
        pts[i] = POINT{pts[i].x - dc->Dx(0), pts[i].y - dc->Dy(0)};
    return TRUE;
}

// ---- Attributes ---------------------------------------------------------------------------------

namespace {
template <class T> T SetAttr(HDC hdc, T DcState::*member, T value, T error)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    if (!dc)
        return error;
    return std::exchange(dc->st.*member, value);
}

template <class T> T GetAttr(HDC hdc, T DcState::*member, T error)
{
    std::lock_guard lk(Lock());
    DC* dc = DcOrError(hdc);
    return dc ? dc->st.*member : error;
}
} // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF c)
{
    return SetAttr(hdc, &DcState::textColor, c, COLORREF(CLR_INVALID));
}
COLORREF WINAPI GetTextColor(HDC hdc)
{
    return GetAttr(hdc, &DcState::textColor, COLORREF(CLR_INVALID));
}
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF c)
{
    return SetAttr(hdc, &DcState::bkColor, c, COLORREF(CLR_INVALID));
}
COLORREF WINAPI GetBkColor(HDC hdc)
{
    return GetAttr(hdc, &DcState::bkColor, COLORREF(CLR_INVALID));
}
int WINAPI SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return SetAttr(hdc, &DcState::bkMode, mode, 0);
}
int WINAPI GetBkMode(HDC hdc)
{
    return GetAttr(hdc, &DcState::bkMode, 0);
}
int WINAPI SetROP2(HDC hdc, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return SetAttr(hdc, &DcState::rop2, rop2, 0);
}
int WINAPI GetROP2(HDC hdc)
{
    return GetAttr(hdc, &DcState::rop2, 0);
}
int WINAPI SetStretchBltMode(HDC hdc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return SetAttr(hdc, &DcState::stretchMode, mode, 0);
}
int WINAPI GetStretchBltMode(HDC hdc)
{
    return GetAttr(hdc, &DcState::stretchMode, 0);
}
int WINAPI SetPolyFillMode(HDC hdc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return SetAttr(hdc, &DcState::polyFillMode, mode, 0);
}
int WINAPI GetPolyFillMode(HDC hdc)
{
    return GetAttr(hdc, &DcState::polyFillMode, 0);
}
UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    return SetAttr(hdc, &DcState::textAlign, align, UINT(GDI_ERROR));
}
UINT WINAPI GetTextAlign(HDC hdc)
{
    return GetAttr(hdc, &DcState::textAlign, UINT(GDI_ERROR));
}
int WINAPI SetTextCharacterExtra(HDC hdc, int extra)
{
    return SetAttr(hdc, &DcState::charExtra, extra, int(0x80000000));
}
int WINAPI GetTextCharacterExtra(HDC hdc)
{
    return GetAttr(hdc, &DcState::charExtra, int(0x80000000));
}
