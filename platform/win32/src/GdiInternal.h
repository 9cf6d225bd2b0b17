// Internal model of the graphics engine: objects behind GDI handles, regions, device contexts.
#pragma once

#include <host/Surface.h>
#include <wingdi.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace gdi {

// ---- Regions: horizontal bands, each with sorted disjoint spans [x0, x1) -------------------------
struct Band {
    int top, bottom;
    std::vector<int> xs; // pairs of x0, x1
};

class Rgn {
public:
    Rgn() = default;
    explicit Rgn(const RECT& r);
    static Rgn FromRows(int top, const std::vector<std::vector<int>>& rows);

    bool Empty() const { return m_bands.empty(); }
    RECT Box() const;
    int Complexity() const; // NULLREGION, SIMPLEREGION or COMPLEXREGION
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& r) const;
    void Offset(int dx, int dy);
    const std::vector<Band>& Bands() const { return m_bands; }
    // Spans of the region on row y (null when the row is outside the region).
    const std::vector<int>* RowSpans(int y) const;
    bool operator==(const Rgn& o) const;

    static Rgn Combine(const Rgn& a, const Rgn& b, int mode);

private:
    void Normalize();
    std::vector<Band> m_bands;
};

// Rows of a filled shape: for each row from top, the spans [x0, x1) covered.
Rgn EllipseRgn(int l, int t, int r, int b);
Rgn RoundRectRgn(int l, int t, int r, int b, int w, int h);
Rgn PolygonRgn(const POINT* pts, const INT* counts, int polys, int mode);

// ---- Objects ------------------------------------------------------------------------------------
struct Object {
    explicit Object(DWORD t) : type(t) {}
    virtual ~Object() = default;
    DWORD type;
    bool stock = false;
    int selected = 0;           // number of device contexts that have it selected
    bool deletePending = false; // DeleteObject while selected: freed when deselected
};

struct Pen : Object {
    Pen() : Object(OBJ_PEN) {}
    UINT style = PS_SOLID; // full style incl. end-cap/join bits
    int width = 1;
    COLORREF color = 0;
    bool dcPen = false;
};

struct Brush : Object {
    Brush() : Object(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    ULONG_PTR hatch = 0;
    std::shared_ptr<host::Surface> pattern; // BS_PATTERN / BS_DIBPATTERN
    bool patternMono = false;              // monochrome pattern: text/background colours
    bool dcBrush = false;
};

struct Bitmap : Object {
    Bitmap() : Object(OBJ_BITMAP) {}
    std::shared_ptr<host::Surface> surface;
    bool dib = false;               // a DIB section: bits visible to the program
    bool monoDdb = false;           // a monochrome device bitmap
    BITMAPINFOHEADER dibHeader{};   // DIB sections (their bits are the surface's own)
    SIZE dimension{0, 0};
    HDC selectedInto = nullptr;
};

struct Palette : Object {
    Palette() : Object(OBJ_PAL) {}
    std::vector<PALETTEENTRY> entries;
    std::vector<int> mapping; // logical index -> system palette index (8-bit display), -1 unmapped
};

struct Region : Object {
    Region() : Object(OBJ_REGION) {}
    Rgn rgn;
};

struct RealFont;
struct Font : Object {
    Font() : Object(OBJ_FONT) {}
    LOGFONTA lf{};
    std::shared_ptr<RealFont> real; // resolved lazily
};

struct PrintJob;

enum class DcKind { Display, Memory, Info, Printer };

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    POINT brushOrg{0, 0};
    POINT pos{0, 0};
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    std::optional<Rgn> clip; // device coordinates, relative to the DC origin
    bool paletteBackground = false;
};

struct DC : Object {
    explicit DC(DcKind k) : Object(k == DcKind::Memory ? OBJ_MEMDC : OBJ_DC), kind(k) {}
    DcKind kind;
    std::shared_ptr<host::Surface> surface;
    POINT origin{0, 0};       // device origin on the surface
    std::optional<Rgn> vis;   // visible region in surface coordinates (display DCs)
    DcState st;
    std::vector<DcState> saved;
    void* owner = nullptr;
    std::shared_ptr<PrintJob> job;
    ABORTPROC abortProc = nullptr;
    // Caches
    bool clipDirty = true;
    Rgn effClip; // surface coordinates
    const Rgn& Clip();
    void InvalidateClip() { clipDirty = true; }

    // Logical -> surface coordinates (MM_TEXT).
    int Sx(int lx) const { return lx - st.windowOrg.x + st.viewportOrg.x + origin.x; }
    int Sy(int ly) const { return ly - st.windowOrg.y + st.viewportOrg.y + origin.y; }
    // Logical -> device coordinates (relative to the DC origin).
    int Dx(int lx) const { return lx - st.windowOrg.x + st.viewportOrg.x; }
    int Dy(int ly) const { return ly - st.windowOrg.y + st.viewportOrg.y; }
};

// Handle table. All graphics calls hold the engine lock while they work.
std::recursive_mutex& Lock();
HGDIOBJ Register(Object* o);
Object* Lookup(HGDIOBJ h);
template <class T> T* As(HGDIOBJ h, DWORD type)
{
    Object* o = Lookup(h);
    return (o && o->type == type) ? static_cast<T*>(o) : nullptr;
}
DC* AsDC(HDC h);
void Destroy(Object* o);
void Unselect(HGDIOBJ h);
void SelectInto(HGDIOBJ h);

// Display.
std::shared_ptr<host::Surface> Desktop();
bool PaletteDisplay(); // the display holds 8-bit palette indices
std::shared_ptr<host::ColorTable> SystemColors();
const host::ColorTable& StaticColors(); // the 20 static colours
std::shared_ptr<host::ColorTable> MonoColors();
bool IsSystemPaletteSurface(const host::Surface& s);
// The colour table a new bitmap of this depth gets (the system palette for 8 bits on a
// palette display, the halftone table otherwise, the 16 standard colours for 4 bits).
std::shared_ptr<host::ColorTable> DefaultColors(int bpp);
host::ColorTable HalftoneColors();
HBITMAP StockBitmap();


// Colour resolution: the pixel value that a COLORREF draws with on the DC's surface.
DWORD Resolve(DC& dc, COLORREF c);
// The RGB colour a COLORREF stands for on this DC (palette-relative forms looked up).
COLORREF ResolveRgb(DC& dc, COLORREF c);
// The pixel value a literal colour coming from another surface (a DIB's colour table, a
// true-colour bitmap, a pattern) takes on the DC's surface: on a surface of system palette slots
// the realised slot of the selected palette's nearest entry, so that a colour lands where the
// same colour given as PALETTERGB does; elsewhere the surface's nearest colour.
DWORD SourceColorValue(DC& dc, COLORREF rgb);
// The pixel value of entry i of the DC's selected palette (DIB_PAL_COLORS colour tables).
DWORD PaletteEntryValue(DC& dc, size_t i);
Palette* SelectedPalette(DC& dc);
void ForgetPalette(Palette* p);
bool PaletteForeground(DC& dc);

// Painting primitives in surface coordinates, clipped to the DC.
struct Paint {
    // Solid value, or a brush pattern with optional transparency mask.
    bool solid = true;
    DWORD value = 0;
    std::vector<DWORD> pat; // pattern values (w*h)
    std::vector<BYTE> patMask; // 1 = paint (hatched brushes in transparent mode); empty = all
    int pw = 1, ph = 1, ox = 0, oy = 0; // pattern size and origin (surface coordinates)
    bool none = false; // null brush or pen
    DWORD At(int x, int y) const
    {
        if (solid)
            return value;
        int px = ((x - ox) % pw + pw) % pw, py = ((y - oy) % ph + ph) % ph;
        return pat[size_t(py) * pw + px];
    }
    bool Paints(int x, int y) const
    {
        if (patMask.empty())
            return true;
        int px = ((x - ox) % pw + pw) % pw, py = ((y - oy) % ph + ph) % ph;
        return patMask[size_t(py) * pw + px] != 0;
    }
};
Paint BrushPaint(DC& dc, HBRUSH hbr, bool forBlt = false);
Paint PenPaint(DC& dc);
DWORD Rop2(int rop2, DWORD pen, DWORD dst);
// Fills [x0, x1) on row y (surface coordinates) with the paint through ROP2, clipped.
void FillSpan(DC& dc, int y, int x0, int x1, const Paint& p, int rop2);
void FillRgnSurface(DC& dc, const Rgn& r, const Paint& p, int rop2);
void PlotPixel(DC& dc, int x, int y, const Paint& p, int rop2);

// Ternary raster operation on pixel values.
DWORD Rop3(DWORD rop, DWORD p, DWORD s, DWORD d);
bool RopNeedsSource(DWORD rop);
bool RopNeedsPattern(DWORD rop);

// Packed DIB parsing shared by DIB functions, pattern brushes and the clipboard.
struct DibView {
    const BITMAPINFOHEADER* hdr = nullptr;
    int width = 0, height = 0, bpp = 0;
    bool topDown = false;
    std::shared_ptr<host::ColorTable> colors;
    DWORD masks[3] = {0, 0, 0};
    DWORD compression = BI_RGB; // BI_RLE8 and BI_RLE4 are decoded by DibSurface
    size_t headerBytes = 0; // header + colour table
    size_t imageBytes = 0;
    std::vector<WORD> paletteIndexes; // DIB_PAL_COLORS: the colour table's palette indexes
};
bool ParseDib(const BITMAPINFO* bmi, UINT usage, DC* dc, DibView& out);
int ColorTableSize(const BITMAPINFOHEADER& h);
// Surface over DIB bits (converted to a plain layout if they use bit fields).
std::shared_ptr<host::Surface> DibSurface(const DibView& v, const void* bits, std::vector<BYTE>& scratch);

// Copies pixels from a source surface into a DC through a raster operation, stretching when the
// sizes differ. srcDc gives the background colour for colour->monochrome conversion.
// srcValues, when given, holds the destination value of each value of an indexed source.
void Blt(DC& dst, int dx, int dy, int dw, int dh, const host::Surface* src, DC* srcDc, int sx, int sy, int sw,
         int sh, DWORD rop, const host::Surface* mask = nullptr, int mx = 0, int my = 0,
         const std::vector<DWORD>* srcValues = nullptr);
// The destination values of a DIB_PAL_COLORS colour table on the DC (the entries' slots on the
// palette display); empty for other DIBs, whose colour tables hold colours.
std::vector<DWORD> DibPaletteValues(DC& dc, const DibView& v);

// A system colour (COLOR_...) from the window part of the platform when it is linked in, else
// the standard colour.
COLORREF SysColor(int index, COLORREF fallback);

// Device contexts.
DC* NewDC(DcKind kind, std::shared_ptr<host::Surface> surface);
DC* NewPrinterDC(LPCSTR device, const DEVMODEA* dm, bool infoOnly);
bool IsPrinterName(LPCSTR device);
int PrinterCaps(DC& dc, int index);
// Keeps a word drawn on a printer page (surface coordinates: left, baseline; its height and
// width) for the text of the printed document.
void NotePrintedText(DC& dc, int x, int baseline, int height, int width, const char* s, int n);
void EndPrinterDC(DC& dc);

// New bitmap objects. Sizes beyond what the engine will allocate are refused up front.
Bitmap* NewBitmap(int w, int h, int bpp, std::shared_ptr<host::ColorTable> colors);
bool BitmapSizeOk(long long w, long long h);

// Text: the realised font of a DC, measuring and drawing single lines (logical coordinates).
struct RealFont;
RealFont& FontOf(DC& dc);
int TextWidth(DC& dc, const char* s, int n);
int FontHeight(DC& dc);
int FontExternalLeading(DC& dc);
int FontAveCharWidth(DC& dc);
// Draws one line with its top-left cell corner at (x, y), clipped to `clip` (logical) when given;
// underlines character `underlineAt` when it is not negative.
void DrawTextLine(DC& dc, int x, int y, const char* s, int n, const RECT* clip, int underlineAt);

} // namespace gdi
