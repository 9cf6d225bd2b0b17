// Colours and palettes on both kinds of display: RGB, PALETTEINDEX and PALETTERGB resolved
// through the selected palette, realisation into the system palette, animation.
#include <windows.h>

#include <host/Display.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

HPALETTE MakePalette(const std::vector<COLORREF>& colors, BYTE flags = 0)
{
    std::vector<BYTE> buf(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        lp->palPalEntry[i] = PALETTEENTRY{GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), flags};
    return CreatePalette(lp);
}

// The system palette slot a colour is drawn with on the palette display: drawn into a bitmap
// compatible with the screen and read back as an 8-bit DIB, whose pixels are the slots.
int SlotOf(HDC screen, HPALETTE pal, COLORREF c)
{
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(mem, bm);
    SelectPalette(mem, pal, TRUE);
    SetPixel(mem, 0, 0, c);
    SelectObject(mem, old);
    std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
    bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    DWORD px = 0;
    GetDIBits(screen, bm, 0, 1, &px, bi, DIB_RGB_COLORS);
    DeleteObject(bm);
    DeleteDC(mem);
    return int(px & 0xFF);
}

class DisplayModeTest : public ::testing::Test {
protected:
    void TearDown() override { host::SetDisplayMode(host::DisplayMode::TrueColor); }
};

using TrueColorPalette = DisplayModeTest;
using PaletteDisplay = DisplayModeTest;

TEST_F(TrueColorPalette, ColoursResolveThroughTheSelectedPalette)
{
    host::SetDisplayMode(host::DisplayMode::TrueColor);
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
    HPALETTE pal = MakePalette({RGB(10, 20, 30), RGB(200, 100, 50), RGB(0, 250, 0)});
    HPALETTE old = SelectPalette(screen, pal, FALSE);
    EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
    RealizePalette(screen);
    EXPECT_EQ(SetPixel(screen, 0, 0, PALETTEINDEX(1)), RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(screen, 0, 0), RGB(200, 100, 50));
    // On a true-colour display a palette-relative RGB is the colour itself.
    EXPECT_EQ(SetPixel(screen, 1, 0, PALETTERGB(201, 99, 51)), RGB(201, 99, 51));
    EXPECT_EQ(SetPixel(screen, 2, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetNearestColor(screen, RGB(7, 8, 9)), RGB(7, 8, 9));
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(190, 110, 40)), 1u);
    EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 0, nullptr), 0u);
    // Brushes resolve the same way.
    HBRUSH br = CreateSolidBrush(PALETTEINDEX(2));
    RECT r{10, 10, 12, 12};
    FillRect(screen, &r, br);
    EXPECT_EQ(host::DesktopPixel(11, 11), RGB(0, 250, 0));
    SelectPalette(screen, old, FALSE);
    DeleteObject(br);
    DeleteObject(pal);
    host::ReleaseDisplayDC(screen);
}

TEST_F(PaletteDisplay, ReportsAPaletteDevice)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), 20);
    EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 256);
    EXPECT_NE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
    PALETTEENTRY sys[256];
    ASSERT_EQ(GetSystemPaletteEntries(screen, 0, 256, sys), 256u);
    EXPECT_EQ(RGB(sys[0].peRed, sys[0].peGreen, sys[0].peBlue), RGB(0, 0, 0));
    EXPECT_EQ(RGB(sys[249].peRed, sys[249].peGreen, sys[249].peBlue), RGB(255, 0, 0));
    EXPECT_EQ(RGB(sys[255].peRed, sys[255].peGreen, sys[255].peBlue), RGB(255, 255, 255));
    host::ReleaseDisplayDC(screen);
    host::SetDisplayMode(host::DisplayMode::Report16Colors);
    screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 4);
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), 16);
    host::ReleaseDisplayDC(screen);
}

TEST_F(PaletteDisplay, RealisationMapsPaletteColoursOntoTheScreen)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    // Without a palette, RGB colours show as the nearest static colour.
    EXPECT_EQ(SetPixel(screen, 0, 0, RGB(10, 200, 30)), RGB(0, 255, 0));
    EXPECT_EQ(host::DesktopPixel(0, 0), RGB(0, 255, 0));
    unsigned serial = host::SystemPaletteSerial();
    int notified = 0;
    host::SetSystemPaletteChangedHandler([&](HDC) { ++notified; });
    HPALETTE pal = MakePalette({RGB(10, 200, 30), RGB(201, 101, 51), RGB(255, 255, 255)});
    SelectPalette(screen, pal, FALSE);
    // Two new colours take free slots; white matches a static colour.
    EXPECT_EQ(RealizePalette(screen), 3u);
    EXPECT_EQ(RealizePalette(screen), 0u);
    EXPECT_NE(host::SystemPaletteSerial(), serial);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(SetPixel(screen, 1, 0, PALETTEINDEX(0)), RGB(10, 200, 30));
    EXPECT_EQ(host::DesktopPixel(1, 0), RGB(10, 200, 30));
    EXPECT_EQ(SetPixel(screen, 2, 0, PALETTERGB(198, 99, 49)), RGB(201, 101, 51));
    // A plain RGB still snaps to the static colours.
    EXPECT_EQ(GetNearestColor(screen, RGB(10, 200, 30)), RGB(0, 255, 0));
    PALETTEENTRY sys[256];
    GetSystemPaletteEntries(screen, 0, 256, sys);
    int found = 0;
    for (auto& e : sys)
        found += RGB(e.peRed, e.peGreen, e.peBlue) == RGB(201, 101, 51);
    EXPECT_EQ(found, 1);
    // A memory bitmap compatible with the screen holds system palette indices too.
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 4, 4);
    SelectObject(mem, bm);
    SelectPalette(mem, pal, FALSE);
    SetPixel(mem, 0, 0, PALETTEINDEX(1));
    BitBlt(screen, 3, 0, 1, 1, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(host::DesktopPixel(3, 0), RGB(201, 101, 51));
    host::SetSystemPaletteChangedHandler(nullptr);
    DeleteDC(mem);
    DeleteObject(bm);
    SelectPalette(screen, HPALETTE(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteObject(pal);
    host::ReleaseDisplayDC(screen);
}

TEST_F(PaletteDisplay, AnimationChangesWhatIsShownAndNoCollapseKeepsOwnSlots)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HPALETTE pal = MakePalette({RGB(255, 0, 0), RGB(40, 40, 40)}, PC_RESERVED);
    SelectPalette(screen, pal, FALSE);
    EXPECT_EQ(RealizePalette(screen), 2u);
    SetPixel(screen, 0, 0, PALETTEINDEX(0));
    // A reserved entry has its own slot even though pure red is a static colour (slot 249).
    EXPECT_EQ(SlotOf(screen, HPALETTE(GetStockObject(DEFAULT_PALETTE)), RGB(255, 0, 0)), 249);
    int redSlot = SlotOf(screen, pal, PALETTEINDEX(0));
    EXPECT_GE(redSlot, 10);
    EXPECT_LT(redSlot, 246);
    EXPECT_EQ(host::DesktopPixel(0, 0), RGB(255, 0, 0));
    PALETTEENTRY blue{0, 0, 255, PC_RESERVED};
    EXPECT_TRUE(AnimatePalette(pal, 0, 1, &blue));
    EXPECT_EQ(host::DesktopPixel(0, 0), RGB(0, 0, 255)); // nothing redrawn
    PALETTEENTRY e{};
    GetPaletteEntries(pal, 0, 1, &e);
    EXPECT_EQ(e.peBlue, 255);
    // Entries without PC_RESERVED do not animate.
    HPALETTE plain = MakePalette({RGB(1, 2, 3)});
    PALETTEENTRY other{9, 9, 9, 0};
    AnimatePalette(plain, 0, 1, &other);
    GetPaletteEntries(plain, 0, 1, &e);
    EXPECT_EQ(e.peRed, 1);
    // PC_NOCOLLAPSE takes a slot of its own for a colour that exists already.
    HPALETTE nc = MakePalette({RGB(0, 0, 0)}, PC_NOCOLLAPSE);
    HDC second = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    SelectPalette(second, nc, TRUE);
    EXPECT_EQ(RealizePalette(second), 1u);
    int blackSlot = SlotOf(second, nc, PALETTEINDEX(0));
    EXPECT_NE(blackSlot, 0);
    EXPECT_NE(blackSlot, redSlot);
    UnrealizeObject(nc);
    host::ReleaseDisplayDC(second);
    SelectPalette(screen, HPALETTE(GetStockObject(DEFAULT_PALETTE)), FALSE);
    for (HPALETTE p : {pal, plain, nc})
        DeleteObject(p);
    host::ReleaseDisplayDC(screen);
}

// An 8-bit bitmap compatible with the palette display, drawn on through a memory context with a
// palette selected in the background; its pixels read back are system palette slots.
class PaletteBitmap : public DisplayModeTest {
protected:
    static constexpr int kWidth = 8;

    void SetUp() override
    {
        host::SetDisplayMode(host::DisplayMode::Palette256);
        screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
        mem = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, kWidth, 1);
        oldBitmap = SelectObject(mem, bitmap);
    }
    void TearDown() override
    {
        SelectPalette(mem, HPALETTE(GetStockObject(DEFAULT_PALETTE)), TRUE);
        SelectObject(mem, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(mem);
        for (HPALETTE p : palettes)
            DeleteObject(p);
        host::ReleaseDisplayDC(screen);
        DisplayModeTest::TearDown();
    }

    HPALETTE Make(const std::vector<PALETTEENTRY>& entries)
    {
        std::vector<BYTE> buf(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = WORD(entries.size());
        std::copy(entries.begin(), entries.end(), lp->palPalEntry);
        palettes.push_back(CreatePalette(lp));
        return palettes.back();
    }
    UINT Realize(HPALETTE pal)
    {
        SelectPalette(mem, pal, TRUE);
        return RealizePalette(mem);
    }
    // The slots of the bitmap's pixels.
    std::vector<int> Slots()
    {
        std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
        bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), kWidth, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
        BYTE px[kWidth] = {};
        EXPECT_EQ(GetDIBits(mem, bitmap, 0, 1, px, bi, DIB_RGB_COLORS), 1);
        return std::vector<int>(px, px + kWidth);
    }
    int Slot(int x) { return Slots()[size_t(x)]; }
    // A one-row 8-bit DIB: with DIB_RGB_COLORS its colour table holds `colours`; with
    // DIB_PAL_COLORS it holds `indexes` into the selected palette. Pixel x shows table entry x.
    void DrawDib(const std::vector<COLORREF>& colours, const std::vector<WORD>& indexes = {})
    {
        const bool pal = !indexes.empty();
        const size_t n = pal ? indexes.size() : colours.size();
        std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
        bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), LONG(n), 1, 1, 8, BI_RGB, 0, 0, 0, DWORD(n), 0};
        for (size_t i = 0; i < n; ++i) {
            if (pal)
                reinterpret_cast<WORD*>(bi->bmiColors)[i] = indexes[i];
            else
                bi->bmiColors[i] = RGBQUAD{GetBValue(colours[i]), GetGValue(colours[i]), GetRValue(colours[i]), 0};
        }
        BYTE bits[kWidth] = {0, 1, 2, 3, 4, 5, 6, 7};
        ASSERT_LE(n, size_t(kWidth));
        EXPECT_EQ(StretchDIBits(mem, 0, 0, int(n), 1, 0, 0, int(n), 1, bits, bi,
                                pal ? DIB_PAL_COLORS : DIB_RGB_COLORS, SRCCOPY),
                  1);
    }
    // The bitmap copied to a monochrome bitmap with `background` as the memory context's
    // background colour: true where a pixel came out white (matched the background).
    std::vector<bool> MonoMask(COLORREF background)
    {
        HDC monoDc = CreateCompatibleDC(mem);
        HBITMAP mono = CreateBitmap(kWidth, 1, 1, 1, nullptr);
        HGDIOBJ old = SelectObject(monoDc, mono);
        SetBkColor(mem, background);
        BitBlt(monoDc, 0, 0, kWidth, 1, mem, 0, 0, SRCCOPY);
        std::vector<bool> out;
        for (int x = 0; x < kWidth; ++x)
            out.push_back(GetPixel(monoDc, x, 0) == RGB(255, 255, 255));
        SelectObject(monoDc, old);
        DeleteObject(mono);
        DeleteDC(monoDc);
        return out;
    }

    HDC screen = nullptr;
    HDC mem = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    std::vector<HPALETTE> palettes;
};

TEST_F(PaletteBitmap, RealisationCollapsesStaticColoursUnlessAnEntrySaysOtherwise)
{
    struct Case {
        PALETTEENTRY entry;
        int slot;  // expected slot; -1: a slot of its own among the free ones (10..245)
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 0},
        {{255, 255, 255, 0}, 255},
        {{192, 192, 192, 0}, 7},
        {{192, 220, 192, 0}, 8},
        {{255, 251, 240, 0}, 246},
        {{255, 0, 0, 0}, 249},
        {{128, 128, 128, 0}, 248},
        {{255, 255, 255, PC_NOCOLLAPSE}, -1},
        {{255, 255, 255, PC_NOCOLLAPSE}, -1},
        {{0, 0, 0, PC_RESERVED}, -1},
        {{201, 101, 51, 0}, -1},
        {{7, 0, 0, PC_EXPLICIT}, 7},
    };
    std::vector<PALETTEENTRY> entries;
    for (const Case& c : cases)
        entries.push_back(c.entry);
    HPALETTE pal = Make(entries);
    EXPECT_EQ(Realize(pal), UINT(entries.size()));
    std::vector<int> own;
    for (size_t i = 0; i < entries.size(); ++i) {
        SetPixel(mem, 0, 0, PALETTEINDEX(i));
        int slot = Slot(0);
        if (cases[i].slot >= 0) {
            EXPECT_EQ(slot, cases[i].slot) << "entry " << i;
        } else {
            EXPECT_GE(slot, 10) << "entry " << i;
            EXPECT_LT(slot, 246) << "entry " << i;
            for (int other : own)
                EXPECT_NE(slot, other) << "entry " << i;
            own.push_back(slot);
        }
    }
    // Realised again, every entry keeps its slot: nothing changes and no slot is taken twice.
    EXPECT_EQ(Realize(pal), 0u);
    for (size_t i = 0, k = 0; i < entries.size(); ++i) {
        SetPixel(mem, 0, 0, PALETTEINDEX(i));
        EXPECT_EQ(Slot(0), cases[i].slot >= 0 ? cases[i].slot : own[k++]) << "entry " << i;
    }
}

TEST_F(PaletteBitmap, AStaticColourCollapsesToItsStaticSlotBeforeAnotherPalettesCopy)
{
    // Another palette shows white in a slot of its own; a plain white still goes to the static
    // white, and a new colour both palettes share is shown once.
    HPALETTE first = Make({{255, 255, 255, PC_NOCOLLAPSE}, {201, 101, 51, 0}});
    HPALETTE second = Make({{255, 255, 255, 0}, {201, 101, 51, 0}});
    Realize(first);
    SetPixel(mem, 0, 0, PALETTEINDEX(0));
    SetPixel(mem, 1, 0, PALETTEINDEX(1));
    Realize(second);
    SetPixel(mem, 2, 0, PALETTEINDEX(0));
    SetPixel(mem, 3, 0, PALETTEINDEX(1));
    std::vector<int> slots = Slots();
    EXPECT_NE(slots[0], 255);
    EXPECT_EQ(slots[2], 255);
    EXPECT_EQ(slots[1], slots[3]);
}

TEST_F(PaletteBitmap, DibColoursGoThroughTheSelectedPalette)
{
    // The palette's white is the static white; the free slots of the fresh system palette hold
    // white too (the halftone cube), which no colour of the program may land on.
    HPALETTE pal = Make({{0, 0, 0, 0},
                         {250, 250, 250, PC_NOCOLLAPSE},
                         {255, 255, 255, 0},
                         {201, 101, 51, PC_NOCOLLAPSE},
                         {255, 255, 255, PC_NOCOLLAPSE}});
    Realize(pal);
    DrawDib({RGB(255, 255, 255), RGB(200, 100, 50), RGB(251, 251, 251), RGB(0, 0, 0)});
    std::vector<int> slots = Slots();
    SetPixel(mem, 7, 0, PALETTERGB(200, 100, 50));
    int nearBrown = Slot(7);
    SetPixel(mem, 7, 0, PALETTEINDEX(1));
    int nearWhite = Slot(7);
    EXPECT_EQ(slots[0], 255) << "white: the first entry showing it";
    EXPECT_EQ(slots[1], nearBrown) << "the nearest entry's slot, as PALETTERGB";
    EXPECT_EQ(slots[2], nearWhite);
    EXPECT_EQ(slots[3], 0);
    // Palette indexes in the colour table name entries, even where colours repeat.
    DrawDib({}, {4, 2, 3, 9});
    slots = Slots();
    SetPixel(mem, 7, 0, PALETTEINDEX(4));
    EXPECT_EQ(slots[0], Slot(7));
    EXPECT_NE(slots[0], 255);
    EXPECT_EQ(slots[1], 255);
    EXPECT_EQ(slots[2], nearBrown);
    EXPECT_EQ(slots[3], 0) << "an index beyond the palette is entry 0";
    // With the default palette the colours snap to the static ones.
    SelectPalette(mem, HPALETTE(GetStockObject(DEFAULT_PALETTE)), TRUE);
    DrawDib({RGB(255, 255, 255), RGB(250, 10, 5)});
    slots = Slots();
    EXPECT_EQ(slots[0], 255);
    EXPECT_EQ(slots[1], 249);
}

TEST_F(PaletteBitmap, ColourToMonochromeFindsWhiteDrawnThroughThePalette)
{
    HPALETTE pal = Make({{0, 0, 0, 0}, {247, 247, 251, PC_NOCOLLAPSE}, {255, 255, 255, 0}, {255, 0, 0, 0}});
    Realize(pal);
    PatBlt(mem, 0, 0, kWidth, 1, BLACKNESS);
    DrawDib({RGB(255, 255, 255), RGB(255, 0, 0), RGB(255, 255, 255), RGB(247, 247, 251), RGB(0, 0, 0)});
    const std::vector<bool> whiteAt = {true, false, true, false, false, false, false, false};
    EXPECT_EQ(MonoMask(RGB(255, 255, 255)), whiteAt);
    EXPECT_EQ(MonoMask(PALETTEINDEX(2)), whiteAt);
    EXPECT_EQ(MonoMask(PALETTERGB(255, 255, 255)), whiteAt);
    // A colour of the program's own is found through its entry, not through a plain RGB.
    const std::vector<bool> ownAt = {false, false, false, true, false, false, false, false};
    EXPECT_EQ(MonoMask(PALETTEINDEX(1)), ownAt);
    // The bitmap shown on the screen keeps the colours.
    BitBlt(screen, 0, 0, kWidth, 1, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(host::DesktopPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(host::DesktopPixel(3, 0), RGB(247, 247, 251));
}

TEST(Palette, EntriesAndErrors)
{
    HPALETTE pal = MakePalette({RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)});
    WORD n = 0;
    EXPECT_EQ(GetObject(pal, sizeof n, &n), int(sizeof n));
    EXPECT_EQ(n, 3);
    EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 3u);
    PALETTEENTRY e[2] = {{9, 9, 9, 0}, {8, 8, 8, 0}};
    EXPECT_EQ(SetPaletteEntries(pal, 2, 2, e), 1u);
    PALETTEENTRY got[3];
    EXPECT_EQ(GetPaletteEntries(pal, 0, 5, got), 3u);
    EXPECT_EQ(got[2].peRed, 9);
    EXPECT_TRUE(ResizePalette(pal, 5));
    EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 5u);
    LOGPALETTE bad{0x200, 1, {{0, 0, 0, 0}}};
    EXPECT_EQ(CreatePalette(&bad), nullptr);
    EXPECT_EQ(SelectObject(CreateCompatibleDC(nullptr), pal), nullptr) << "palettes are selected by SelectPalette";
    DeleteObject(pal);
}

} // namespace
