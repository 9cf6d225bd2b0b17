#include "WidgetTestSupport.h"

#include "base/PaletteSelector.h"
#include "base/ResourceLibrary.h"

#include <host/Display.h>

#include "resource.h"

namespace {

class PaletteTest : public BitmapTest {
protected:
    void TearDown() override
    {
        for (HWND hwnd : windows)
            ::DestroyWindow(hwnd);
        host::SetDisplayMode(host::DisplayMode::TrueColor);
        BitmapTest::TearDown();
    }

    static std::vector<PALETTEENTRY> Entries(CPalette& palette)
    {
        std::vector<PALETTEENTRY> entries(size_t(palette.GetEntryCount()));
        palette.GetPaletteEntries(0, UINT(entries.size()), entries.data());
        return entries;
    }
    static std::vector<PALETTEENTRY> DefaultPalette()
    {
        std::vector<PALETTEENTRY> entries(20);
        ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), 0, 20, entries.data());
        return entries;
    }
    static bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b)
    {
        return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
    }

    HWND MakeWindow(HWND parent)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.lpszClassName = "PaletteTestWindow";
        ::RegisterClassA(&wc);
        HWND hwnd = ::CreateWindowExA(0, "PaletteTestWindow", "", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE, 0,
                                      0, 50, 50, parent, nullptr, nullptr, nullptr);
        if (!parent)
            windows.push_back(hwnd);
        return hwnd;
    }
    static HPALETTE Current(CDC& dc) { return static_cast<HPALETTE>(::GetCurrentObject(dc.GetSafeHdc(), OBJ_PAL)); }

    std::vector<HWND> windows;
};

}  // namespace

TEST_F(PaletteTest, TheThreePalettesFromTheProgramsData)
{
    ASSERT_TRUE(LoadAppPalettes());
    VL_APP_SERVICES& services = AppServices();
    std::vector<PALETTEENTRY> display = Entries(services.env.displayPalette);
    std::vector<PALETTEENTRY> page = Entries(services.env.pagePalette);
    std::vector<PALETTEENTRY> third = Entries(services.env.thirdPalette);
    ASSERT_EQ(74u, display.size());
    ASSERT_EQ(256u, page.size());
    ASSERT_EQ(58u, third.size());
    EXPECT_EQ(&services.env.pagePalette, GetAppPalette());
    EXPECT_EQ(&services.env.displayPalette, GetAppDisplayPalette());

    // The static colours: display 0..9 and 64..73, page 0..9 and 246..255, the third's entry 0.
    std::vector<PALETTEENTRY> statics = DefaultPalette();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(Same(statics[size_t(i)], display[size_t(i)])) << i;
        EXPECT_TRUE(Same(statics[size_t(10 + i)], display[size_t(64 + i)])) << 64 + i;
        EXPECT_TRUE(Same(statics[size_t(i)], page[size_t(i)])) << i;
        EXPECT_TRUE(Same(statics[size_t(10 + i)], page[size_t(246 + i)])) << 246 + i;
        EXPECT_EQ(0, display[size_t(i)].peFlags);
    }
    EXPECT_TRUE(Same(statics[0], third[0]));
    // The program's colours keep their indexes in both palettes and do not collapse.
    for (size_t i = 10; i < 64; ++i) {
        EXPECT_TRUE(Same(display[i], page[i])) << i;
        EXPECT_EQ(PC_NOCOLLAPSE, display[i].peFlags) << i;
    }
    // The fixed backgrounds: calm and light where text goes on them, dark where light text does.
    auto light = [&](size_t i) { return display[i].peRed + display[i].peGreen + display[i].peBlue > 3 * 190; };
    for (size_t i : {10u, 11u, 15u, 30u, 42u, 56u})
        EXPECT_TRUE(light(i)) << i;
    EXPECT_FALSE(light(58));
    EXPECT_FALSE(light(21));
}

TEST_F(PaletteTest, SystemEntriesComeFromThePaletteDisplay)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    CPalette palette;
    ASSERT_TRUE(BuildPaletteFromResource(AfxGetInstanceHandle(), 500, palette));
    std::vector<PALETTEENTRY> entries = Entries(palette);
    ASSERT_EQ(3u, entries.size());
    PALETTEENTRY system[256];
    HDC hdc = ::GetDC(NULL);
    ASSERT_EQ(256u, ::GetSystemPaletteEntries(hdc, 0, 256, system));
    ::ReleaseDC(NULL, hdc);
    EXPECT_TRUE(Same(system[5], entries[0])) << "entry 0 is system entry 5, its first word";
    EXPECT_TRUE(Same(system[9], entries[1]));
    EXPECT_EQ(0xFF, entries[2].peRed);
    EXPECT_EQ(0x02, entries[2].peGreen);
    EXPECT_EQ(0xFD, entries[2].peBlue);
    EXPECT_EQ(PC_NOCOLLAPSE, entries[2].peFlags);

    for (UINT bad : {501u, 502u, 503u, 504u}) {
        CPalette none;
        EXPECT_FALSE(BuildPaletteFromResource(AfxGetInstanceHandle(), bad, none)) << bad;
        EXPECT_EQ(nullptr, none.GetSafeHandle());
    }
}

TEST_F(PaletteTest, SelectorsOnMemoryContextsSelectInTheBackgroundAndRestoreOnce)
{
    ASSERT_TRUE(LoadAppPalettes());
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    const HPALETTE hDefault = Current(dc);
    const HPALETTE hDisplay = static_cast<HPALETTE>(GetAppDisplayPalette()->GetSafeHandle());
    {
        CAppPaletteSelector selector(&dc);
        EXPECT_TRUE(selector.IsBackground()) << "no window: background";
        EXPECT_EQ(hDisplay, Current(dc));
        {
            CPalettePaintDC inner(&dc, TRUE);
            EXPECT_EQ(hDisplay, Current(dc));
        }
        EXPECT_EQ(hDisplay, Current(dc)) << "the inner scope put back what it found";
    }
    EXPECT_EQ(hDefault, Current(dc));

    // Two paint handlers one after the other leave the context as they found it.
    CPalette other;
    ASSERT_TRUE(BuildPaletteFromResource(AfxGetInstanceHandle(), 500, other));
    dc.SelectPalette(&other, TRUE);
    for (int handler = 0; handler < 2; ++handler) {
        CPalettePaintDC paint(&dc, TRUE);
        EXPECT_EQ(hDisplay, Current(dc));
    }
    EXPECT_EQ(other.GetSafeHandle(), Current(dc));

    // The app palette with another on top: the end of the scope restores what came before both.
    {
        CPaletteSelector both(&dc, GetAppPalette());
        EXPECT_EQ(GetAppPalette()->GetSafeHandle(), Current(dc));
    }
    EXPECT_EQ(other.GetSafeHandle(), Current(dc));
    // A palette by handle.
    {
        CPaletteSelector byHandle(&dc, hDisplay, FALSE);
        EXPECT_EQ(hDisplay, Current(dc));
    }
    EXPECT_EQ(other.GetSafeHandle(), Current(dc));
    dc.SelectPalette(CPalette::FromHandle(hDefault), TRUE);

    // Without palettes (start-up has not built them) a selector leaves the context alone.
    ResetAppServices();
    {
        CPalettePaintDC paint(&dc, FALSE);
        EXPECT_EQ(hDefault, Current(dc));
    }
    EXPECT_EQ(hDefault, Current(dc));
}

TEST_F(PaletteTest, OnlyTheCurrentViewSelectsInTheForeground)
{
    ASSERT_TRUE(LoadAppPalettes());
    HWND shown = MakeWindow(nullptr);
    HWND child = MakeWindow(shown);
    HWND hidden = MakeWindow(nullptr);
    CWnd view;
    view.Attach(shown);
    AppServices().ui.pCurrentView = &view;

    struct Case {
        HWND hwnd;
        BOOL asked;
        BOOL background;
    } cases[] = {
        {shown, FALSE, FALSE}, {child, FALSE, FALSE}, {hidden, FALSE, TRUE}, {shown, TRUE, TRUE},
    };
    for (const Case& c : cases) {
        HDC hdc = ::GetDC(c.hwnd);
        CDC* pDC = CDC::FromHandle(hdc);
        {
            CAppPaletteSelector selector(pDC, c.asked);
            EXPECT_EQ(c.background, selector.IsBackground());
        }
        ::ReleaseDC(c.hwnd, hdc);
    }
    // No current view: everything is in the background.
    AppServices().ui.pCurrentView = NULL;
    HDC hdc = ::GetDC(shown);
    {
        CPalettePaintDC paint(CDC::FromHandle(hdc), FALSE);
        EXPECT_TRUE(paint.IsBackground());
    }
    ::ReleaseDC(shown, hdc);
    view.Detach();
}

TEST_F(PaletteTest, FixedIndexesPaintTheirColoursOnA256ColourDisplay)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    ASSERT_TRUE(LoadAppPalettes());
    HWND shown = MakeWindow(nullptr);
    CWnd view;
    view.Attach(shown);
    AppServices().ui.pCurrentView = &view;
    std::vector<PALETTEENTRY> display = Entries(AppServices().env.displayPalette);

    HDC hdc = ::GetDC(shown);
    CDC* pDC = CDC::FromHandle(hdc);
    {
        CPalettePaintDC paint(pDC, FALSE);
        EXPECT_FALSE(paint.IsBackground());
        int x = 0;
        for (int index : {7, 10, 15, 21, 30, 42, 56, 58}) {
            CBrush brush(PALETTEINDEX(index));
            CRect cell(x, 0, x + 5, 5);
            pDC->FillRect(&cell, &brush);
            const PALETTEENTRY& e = display[size_t(index)];
            POINT at{x + 2, 2};
            ::ClientToScreen(shown, &at);
            EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), host::DesktopPixel(at.x, at.y)) << "index " << index;
            x += 5;
        }
    }
    ::ReleaseDC(shown, hdc);
    view.Detach();
}

// Transparent drawing on the 8-bit display: the picture's white, drawn through the display
// palette into an 8-bit image, must land where the mask's white background colour resolves, so
// that the colour-to-monochrome copy finds the transparent pixels. The same drawing on the
// true-colour display is tested with CDib.
TEST_F(PaletteTest, TransparentDrawingOnA256ColourDisplay)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    ASSERT_TRUE(LoadAppPalettes());
    HWND shown = MakeWindow(nullptr);
    CWnd view;
    view.Attach(shown);
    AppServices().ui.pCurrentView = &view;
    CDib dib(100);  // red green blue white red / green blue white red green / white white blue green red

    HDC hdc = ::GetDC(shown);
    CDC* pDC = CDC::FromHandle(hdc);
    {
        CPalettePaintDC paint(pDC, FALSE);
        CBrush page(PALETTEINDEX(30));
        CRect all(0, 0, 20, 10);
        pDC->FillRect(&all, &page);
        dib.DrawTransparent(pDC, 2, 2, RGB(255, 255, 255));
    }
    ::ReleaseDC(shown, hdc);
    view.Detach();

    const COLORREF pageColour = RGB(206, 206, 231);
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), pageColour};
    const int expected[3][5] = {{0, 1, 2, 3, 0}, {1, 2, 3, 0, 1}, {3, 3, 2, 1, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            POINT at{2 + x, 2 + y};
            ::ClientToScreen(shown, &at);
            EXPECT_EQ(colours[expected[y][x]], host::DesktopPixel(at.x, at.y)) << x << ", " << y;
        }
    POINT corner{0, 0};
    ::ClientToScreen(shown, &corner);
    EXPECT_EQ(pageColour, host::DesktopPixel(corner.x, corner.y));
}

TEST_F(PaletteTest, NoColourOfTheProgramRepeatsAStaticColour)
{
    ASSERT_TRUE(LoadAppPalettes());
    std::vector<PALETTEENTRY> statics = DefaultPalette();
    for (CPalette* palette : {GetAppDisplayPalette(), GetAppPalette()}) {
        std::vector<PALETTEENTRY> entries = Entries(*palette);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].peFlags != PC_NOCOLLAPSE)
                continue;  // a system entry
            for (const PALETTEENTRY& s : statics)
                EXPECT_FALSE(Same(s, entries[i])) << "entry " << i;
        }
    }
}
