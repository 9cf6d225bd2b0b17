// Colours and palettes: the static colours, the system palette of the 8-bit display and its
// realisation, logical palettes, and the resolution of RGB, PALETTEINDEX and PALETTERGB colours.
#include "GdiInternal.h"

#include <host/Display.h>

#include <algorithm>
#include <cstring>

namespace gdi {

namespace {
const RGBQUAD kStatic[20] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},   {128, 0, 0, 0},
    {128, 0, 128, 0},   {128, 128, 0, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {240, 202, 166, 0},
    {240, 251, 255, 0}, {164, 160, 160, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},
    {0, 255, 255, 0},   {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

// System palette slot of a static colour (0..9 low, 10..19 high).
int StaticSlot(int i)
{
    return i < 10 ? i : 236 + i;
}

struct SystemPalette {
    std::shared_ptr<host::ColorTable> colors;
    Palette* owner[256] = {};  // palette that realised into a free slot
    bool reserved[256] = {};   // slot taken by a PC_RESERVED entry (animatable)
    unsigned serial = 0;
    std::function<void(HDC)> changed;
    std::function<bool(HDC)> foreground;
};

SystemPalette& Sys()
{
    static SystemPalette* s = [] {
        auto* p = new SystemPalette;
        p->colors = std::make_shared<host::ColorTable>(HalftoneColors());
        return p;
    }();
    return *s;
}

RGBQUAD Quad(const PALETTEENTRY& e)
{
    return RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
}

bool Same(const RGBQUAD& a, const RGBQUAD& b)
{
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

Palette* Pal(HPALETTE h)
{
    return As<Palette>(h, OBJ_PAL);
}
} // namespace

const host::ColorTable& StaticColors()
{
    static const host::ColorTable t(std::begin(kStatic), std::end(kStatic));
    return t;
}

host::ColorTable HalftoneColors()
{
    host::ColorTable t(256);
    for (int i = 0; i < 10; ++i) {
        t[size_t(i)] = kStatic[i];
        t[size_t(246 + i)] = kStatic[10 + i];
    }
    int k = 10;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                t[size_t(k++)] = RGBQUAD{BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
    for (int i = 0; k < 246; ++i, ++k) {
        BYTE v = BYTE(8 + i * 12);
        t[size_t(k)] = RGBQUAD{v, v, v, 0};
    }
    return t;
}

std::shared_ptr<host::ColorTable> MonoColors()
{
    static auto t = std::make_shared<host::ColorTable>(
        host::ColorTable{RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}});
    return t;
}

std::shared_ptr<host::ColorTable> SystemColors()
{
    return Sys().colors;
}

bool IsSystemPaletteSurface(const host::Surface& s)
{
    return s.BitsPerPixel() == 8 && s.Colors() == Sys().colors;
}

std::shared_ptr<host::ColorTable> DefaultColors(int bpp)
{
    if (bpp == 1)
        return MonoColors();
    if (bpp == 4) {
        static auto t = [] {
            auto v = std::make_shared<host::ColorTable>();
            for (int i = 0; i < 8; ++i)
                v->push_back(kStatic[i]);
            v->push_back(kStatic[12]);
            for (int i = 13; i < 20; ++i)
                v->push_back(kStatic[i]);
            return v;
        }();
        return t;
    }
    if (bpp == 8) {
        if (PaletteDisplay())
            return Sys().colors;
        static auto t = std::make_shared<host::ColorTable>(HalftoneColors());
        return t;
    }
    return {};
}

Palette* SelectedPalette(DC& dc)
{
    Palette* p = Pal(dc.st.palette);
    return p ? p : Pal(HPALETTE(GetStockObject(DEFAULT_PALETTE)));
}

namespace {
long Distance(const RGBQUAD& a, const RGBQUAD& b)
{
    long dr = long(a.rgbRed) - b.rgbRed, dg = long(a.rgbGreen) - b.rgbGreen, db = long(a.rgbBlue) - b.rgbBlue;
    return dr * dr + dg * dg + db * db;
}

RGBQUAD Quad(COLORREF c)
{
    return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

// The logical entry nearest to a colour; the first of equally near ones.
int NearestEntry(const Palette& p, COLORREF c)
{
    RGBQUAD q = Quad(c);
    int best = 0;
    long bestDist = -1;
    for (size_t i = 0; i < p.entries.size() && bestDist != 0; ++i) {
        long d = Distance(Quad(p.entries[i]), q);
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = int(i);
        }
    }
    return best;
}

// The static slot showing exactly this colour, or -1.
int StaticSlotOf(const RGBQUAD& q)
{
    for (int i = 0; i < 20; ++i)
        if (Same(kStatic[i], q))
            return StaticSlot(i);
    return -1;
}

// The system slot nearest to a colour. A static colour is always found in its static slot,
// even where a free slot happens to hold the same colour; `skipReserved` passes over slots
// that animating palettes own.
int NearestSystemSlot(const RGBQUAD& q, bool skipReserved)
{
    int slot = StaticSlotOf(q);
    if (slot >= 0)
        return slot;
    auto& s = Sys();
    long best = -1;
    for (int k = 0; k < 256 && best != 0; ++k) {
        if (skipReserved && s.reserved[k])
            continue;
        long d = Distance((*s.colors)[size_t(k)], q);
        if (best < 0 || d < best) {
            best = d;
            slot = k;
        }
    }
    return slot;
}

COLORREF EntryColor(const Palette& p, size_t i)
{
    if (p.entries.empty())
        return 0;
    if (i >= p.entries.size())
        i = 0;
    return RGB(p.entries[i].peRed, p.entries[i].peGreen, p.entries[i].peBlue);
}

// The system slot showing a logical entry: its realised slot, else the nearest colour.
DWORD SlotOf(Palette& p, size_t i)
{
    if (i >= p.entries.size())
        i = 0;
    if (i < p.mapping.size() && p.mapping[i] >= 0)
        return DWORD(p.mapping[i]);
    if (p.stock)
        return DWORD(StaticSlot(int(i)));
    return DWORD(NearestSystemSlot(Quad(p.entries[i]), false));
}
} // namespace

COLORREF ResolveRgb(DC& dc, COLORREF c)
{
    Palette* p = SelectedPalette(dc);
    switch (c >> 24) {
    case 1: return EntryColor(*p, c & 0xFFFF);
    case 2:
        if (dc.surface && IsSystemPaletteSurface(*dc.surface))
            return EntryColor(*p, size_t(NearestEntry(*p, c & 0xFFFFFF)));
        return c & 0xFFFFFF;
    default: return c & 0xFFFFFF;
    }
}

DWORD Resolve(DC& dc, COLORREF c)
{
    if (!dc.surface)
        return 0;
    host::Surface& s = *dc.surface;
    if (IsSystemPaletteSurface(s)) {
        Palette* p = SelectedPalette(dc);
        switch (c >> 24) {
        case 1: return SlotOf(*p, c & 0xFFFF);
        case 2: return SlotOf(*p, size_t(NearestEntry(*p, c & 0xFFFFFF)));
        default: return DWORD(StaticSlot(host::NearestIndex(StaticColors(), c & 0xFFFFFF)));
        }
    }
    return s.ColorToValue(ResolveRgb(dc, c));
}

DWORD SourceColorValue(DC& dc, COLORREF rgb)
{
    if (!dc.surface)
        return 0;
    if (IsSystemPaletteSurface(*dc.surface)) {
        Palette* p = SelectedPalette(dc);
        return SlotOf(*p, size_t(NearestEntry(*p, rgb & 0xFFFFFF)));
    }
    return dc.surface->ColorToValue(rgb & 0xFFFFFF);
}

DWORD PaletteEntryValue(DC& dc, size_t i)
{
    if (!dc.surface)
        return 0;
    Palette* p = SelectedPalette(dc);
    if (IsSystemPaletteSurface(*dc.surface))
        return SlotOf(*p, i);
    return dc.surface->ColorToValue(EntryColor(*p, i));
}

bool PaletteForeground(DC& dc)
{
    if (dc.st.paletteBackground)
        return false;
    auto& f = Sys().foreground;
    return !f || f(HDC(&dc));
}

} // namespace gdi

using namespace gdi;

namespace host {

unsigned SystemPaletteSerial()
{
    std::lock_guard lk(Lock());
    return Sys().serial;
}

void SetSystemPaletteChangedHandler(std::function<void(HDC)> handler)
{
    std::lock_guard lk(Lock());
    Sys().changed = std::move(handler);
}

void SetPaletteForegroundQuery(std::function<bool(HDC)> query)
{
    std::lock_guard lk(Lock());
    Sys().foreground = std::move(query);
}

void ResetSystemPalette()
{
    std::lock_guard lk(Lock());
    auto& s = Sys();
    *s.colors = HalftoneColors();
    std::fill(std::begin(s.owner), std::end(s.owner), nullptr);
    std::fill(std::begin(s.reserved), std::end(s.reserved), false);
    ++s.serial;
}

} // namespace host

namespace gdi {
// A palette being deleted gives its system slots back.
void ForgetPalette(Palette* p)
{
    auto& s = Sys();
    for (int i = 0; i < 256; ++i)
        if (s.owner[i] == p) {
            s.owner[i] = nullptr;
            s.reserved[i] = false;
        }
}
} // namespace gdi

HPALETTE WINAPI CreatePalette(const LOGPALETTE* lp)
{
    std::lock_guard lk(Lock());
    if (!lp || lp->palNumEntries == 0 || lp->palVersion != 0x300)
        return nullptr;
    auto* p = new Palette;
    p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
    p->mapping.assign(p->entries.size(), -1);
    return HPALETTE(Register(p));
}

HPALETTE WINAPI CreateHalftonePalette(HDC)
{
    std::lock_guard lk(Lock());
    auto* p = new Palette;
    for (auto& q : HalftoneColors())
        p->entries.push_back(PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
    p->mapping.assign(p->entries.size(), -1);
    return HPALETTE(Register(p));
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hpal, BOOL forceBackground)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !Pal(hpal))
        return nullptr;
    HPALETTE old = dc->st.palette;
    SelectInto(hpal);
    dc->st.palette = hpal;
    dc->st.paletteBackground = forceBackground != FALSE;
    Unselect(old);
    return old;
}

UINT WINAPI RealizePalette(HDC hdc)
{
    std::unique_lock lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return GDI_ERROR;
    Palette* p = SelectedPalette(*dc);
    bool paletteDevice = dc->surface && IsSystemPaletteSurface(*dc->surface);
    if (p->stock || !paletteDevice || dc->kind == DcKind::Printer)
        return 0;
    auto& s = Sys();
    bool foreground = PaletteForeground(*dc);
    std::vector<int> before = p->mapping;
    std::vector<RGBQUAD> beforeColors;
    for (int m : before)
        beforeColors.push_back(m >= 0 ? (*s.colors)[size_t(m)] : RGBQUAD{});
    bool systemChanged = false;
    // The foreground palette may take every slot that is not static; any palette gets back the
    // slots it took when it was realised before.
    for (int k = 10; k < 246; ++k)
        if (foreground || s.owner[k] == p) {
            s.owner[k] = nullptr;
            s.reserved[k] = false;
        }
    for (size_t i = 0; i < p->entries.size(); ++i) {
        const PALETTEENTRY& e = p->entries[i];
        RGBQUAD q = Quad(e);
        if (e.peFlags & PC_EXPLICIT) {
            // The entry names a system slot in its low word.
            p->mapping[i] = (e.peRed | (e.peGreen << 8)) & 0xFF;
            continue;
        }
        int slot = -1;
        if (!(e.peFlags & (PC_RESERVED | PC_NOCOLLAPSE))) {
            // A colour the system palette shows already: a static colour in its static slot,
            // else a slot a palette took for it, unless that slot is being animated.
            slot = StaticSlotOf(q);
            for (int k = 10; k < 246 && slot < 0; ++k)
                if (s.owner[k] && !s.reserved[k] && Same((*s.colors)[size_t(k)], q))
                    slot = k;
        }
        if (slot < 0) {
            // A free slot, preferring the one this entry had before.
            int prev = before[i];
            if (prev >= 10 && prev < 246 && !s.owner[prev])
                slot = prev;
            for (int k = 10; k < 246 && slot < 0; ++k)
                if (!s.owner[k])
                    slot = k;
            if (slot >= 0) {
                if (!Same((*s.colors)[size_t(slot)], q))
                    systemChanged = true;
                (*s.colors)[size_t(slot)] = q;
                s.owner[slot] = p;
                s.reserved[slot] = (e.peFlags & PC_RESERVED) != 0;
            }
        }
        if (slot < 0) // the system palette is full
            slot = NearestSystemSlot(q, true);
        p->mapping[i] = slot;
    }
    UINT changed = 0;
    for (size_t i = 0; i < p->entries.size(); ++i)
        if (p->mapping[i] != before[i] || !Same((*s.colors)[size_t(p->mapping[i])], beforeColors[i]))
            ++changed;
    if (systemChanged) {
        ++s.serial;
        if (s.changed) {
            // Told without the lock held: the window system may send messages to other threads.
            auto cb = s.changed;
            lk.unlock();
            cb(hdc);
        }
    }
    return changed;
}

UINT WINAPI GetPaletteEntries(HPALETTE h, UINT start, UINT n, LPPALETTEENTRY out)
{
    std::lock_guard lk(Lock());
    Palette* p = Pal(h);
    if (!p)
        return 0;
    if (!out)
        return UINT(p->entries.size());
    if (start >= p->entries.size())
        return 0;
    n = std::min<UINT>(n, UINT(p->entries.size()) - start);
    std::copy_n(p->entries.begin() + start, n, out);
    return n;
}

UINT WINAPI SetPaletteEntries(HPALETTE h, UINT start, UINT n, const PALETTEENTRY* in)
{
    std::lock_guard lk(Lock());
    Palette* p = Pal(h);
    if (!p || !in || p->stock || start >= p->entries.size())
        return 0;
    n = std::min<UINT>(n, UINT(p->entries.size()) - start);
    std::copy_n(in, n, p->entries.begin() + start);
    return n;
}

BOOL WINAPI ResizePalette(HPALETTE h, UINT n)
{
    std::lock_guard lk(Lock());
    Palette* p = Pal(h);
    if (!p || p->stock || n == 0)
        return FALSE;
    p->entries.resize(n, PALETTEENTRY{0, 0, 0, 0});
    p->mapping.resize(n, -1);
    return TRUE;
}

// Only entries created with PC_RESERVED change; on a palette display the realised slots change
// at once, so everything drawn with them shows the new colours.
BOOL WINAPI AnimatePalette(HPALETTE h, UINT start, UINT n, const PALETTEENTRY* in)
{
    std::lock_guard lk(Lock());
    Palette* p = Pal(h);
    if (!p || !in || p->stock)
        return FALSE;
    auto& s = Sys();
    bool shown = false;
    for (UINT k = 0; k < n && start + k < p->entries.size(); ++k) {
        size_t i = start + k;
        if (!(p->entries[i].peFlags & PC_RESERVED))
            continue;
        p->entries[i].peRed = in[k].peRed;
        p->entries[i].peGreen = in[k].peGreen;
        p->entries[i].peBlue = in[k].peBlue;
        int slot = p->mapping[i];
        if (PaletteDisplay() && slot >= 0 && s.owner[slot] == p && s.reserved[slot]) {
            (*s.colors)[size_t(slot)] = Quad(p->entries[i]);
            shown = true;
        }
    }
    if (shown)
        ++s.serial;
    return TRUE;
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF c)
{
    std::lock_guard lk(Lock());
    Palette* p = Pal(h);
    if (!p)
        return CLR_INVALID;
    if ((c >> 24) == 1)
        return std::min<UINT>(c & 0xFFFF, UINT(p->entries.size()) - 1);
    return UINT(NearestEntry(*p, c & 0xFFFFFF));
}

COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF c)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !dc->surface)
        return CLR_INVALID;
    return dc->surface->ValueToColor(Resolve(*dc, c));
}

UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT start, UINT n, LPPALETTEENTRY out)
{
    std::lock_guard lk(Lock());
    if (!AsDC(hdc) || !PaletteDisplay())
        return 0;
    if (!out)
        return 256;
    auto& t = *Sys().colors;
    UINT k = 0;
    for (; k < n && start + k < 256; ++k) {
        const RGBQUAD& q = t[start + k];
        out[k] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    return k;
}

UINT WINAPI GetSystemPaletteUse(HDC hdc)
{
    return AsDC(hdc) ? SYSPAL_STATIC : SYSPAL_ERROR;
}

// Only the standard arrangement of 20 static colours is offered.
UINT WINAPI SetSystemPaletteUse(HDC hdc, UINT use)
{
    return (AsDC(hdc) && use == SYSPAL_STATIC) ? SYSPAL_STATIC : SYSPAL_ERROR;
}

UINT WINAPI GetPaletteIndexOfColor(HDC hdc, COLORREF c)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    return dc ? UINT(NearestEntry(*SelectedPalette(*dc), c & 0xFFFFFF)) : CLR_INVALID;
}
