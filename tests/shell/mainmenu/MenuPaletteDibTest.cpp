#include "MainMenuTestSupport.h"

#include "shell/MenuPaletteDib.h"

#include <host/Presenter.h>

#include <array>
#include <cstdlib>

using menutest::IndexedBmp;
using menutest::MenuTest;

namespace {

// The working colour table after every pass, as the fade reports it.
struct Pass {
    int nPass;
    std::vector<std::array<int, 3>> entries;
    COLORREF screen;  // the desktop pixel watched during the pass
};
std::vector<Pass> g_passes;
POINT g_watch = {0, 0};

void RecordPass(int nPass, const PALETTEENTRY* pEntries, int nCount)
{
    Pass pass{nPass, {}, host::DesktopPixel(g_watch.x, g_watch.y)};
    for (int i = 0; i < nCount; ++i)
        pass.entries.push_back({pEntries[i].peRed, pEntries[i].peGreen, pEntries[i].peBlue});
    g_passes.push_back(pass);
}

// The expected byte after pass k (0-based) of a fade with this delta.
int FadedIn(int target, int k, int delta)
{
    int v = 2;
    for (int i = 0; i <= k; ++i)
        v = v < target ? std::min(v + delta, target) : std::max(v - delta, target);
    return v;
}
int FadedOut(int start, int k, int delta)
{
    int v = start;
    for (int i = 0; i <= k; ++i)
        if (v != 0)
            v = std::max(v - delta, 0);
    return v;
}

const std::vector<std::uint32_t> kColours = {0xFF0000, 0x00FF80, 0x102030, 0xFFFFFF, 0x000000, 0x7F7F7F};

class FadeTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        g_passes.clear();
        MainMenuState().pfnFadePassObserver = RecordPass;
        std::string bytes = IndexedBmp(6, 4, kColours);
        dir.Write("t/pic.bmp", bytes);
        window = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        ::DestroyWindow(window);
        MenuTest::TearDown();
    }

    HWND window = NULL;
};

TEST(MenuFadePassTest, OnePassMovesEveryByteByDeltaAndStopsOnTheTarget)
{
    PALETTEENTRY target[3] = {{255, 0, 10, 0}, {3, 2, 1, 0}, {0, 0, 0, 0}};
    PALETTEENTRY work[3] = {{2, 2, 2, 0}, {2, 2, 2, 0}, {2, 2, 2, 0}};
    MenuFadePass(work, target, 3, 8, FALSE);
    EXPECT_EQ(10, work[0].peRed);
    EXPECT_EQ(0, work[0].peGreen);  // a start above the target comes down to it
    EXPECT_EQ(10, work[0].peBlue);
    EXPECT_EQ(3, work[1].peRed);  // never past the target
    EXPECT_EQ(2, work[1].peGreen);
    EXPECT_EQ(1, work[1].peBlue);
    PALETTEENTRY out[2] = {{255, 17, 1, 0}, {16, 0, 9, 0}};
    MenuFadePass(out, target, 2, 17, TRUE);
    EXPECT_EQ(238, out[0].peRed);
    EXPECT_EQ(0, out[0].peGreen);
    EXPECT_EQ(0, out[0].peBlue);  // below 1 becomes 0
    EXPECT_EQ(0, out[1].peRed);
    EXPECT_EQ(0, out[1].peGreen);
    EXPECT_EQ(0, out[1].peBlue);
}

// Deep display: every pass rewrites the colour table of the picture's own colours (six here, not
// 236) and draws it; the table ends on the true colours, or on black.
TEST_F(FadeTest, DeepDisplayRewritesTheColourTablePerPass)
{
    for (int steps : {15, 30, 7}) {
        SCOPED_TRACE(steps);
        g_passes.clear();
        HDC hdc = ::GetDC(window);
        CDC* pDC = CDC::FromHandle(hdc);
        CMenuPaletteDib dib;
        ASSERT_TRUE(dib.LoadFromFile(pDC, "T:\\pic.bmp"));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(0u, *reinterpret_cast<const std::uint32_t*>(&dib.GetColorTable()[i])) << "prepared black";
        dib.FadeIn(pDC, steps);
        int delta = 255 / steps;
        ASSERT_EQ(size_t(steps + 1), g_passes.size());
        for (const Pass& pass : g_passes) {
            ASSERT_EQ(6u, pass.entries.size());
            for (int i = 0; i < 6; ++i) {
                std::uint32_t c = kColours[size_t(i)];
                EXPECT_EQ(FadedIn(int(c >> 16), pass.nPass, delta), pass.entries[size_t(i)][0]);
                EXPECT_EQ(FadedIn(int(c >> 8 & 0xFF), pass.nPass, delta), pass.entries[size_t(i)][1]);
                EXPECT_EQ(FadedIn(int(c & 0xFF), pass.nPass, delta), pass.entries[size_t(i)][2]);
            }
        }
        for (int i = 0; i < 6; ++i) {
            RGBQUAD q = dib.GetColorTable()[i];
            EXPECT_EQ(kColours[size_t(i)], std::uint32_t(q.rgbRed) << 16 | std::uint32_t(q.rgbGreen) << 8 | q.rgbBlue)
                << "ends exactly on the true colours";
        }
        // Drawn at (0,0) of the window after the splash phase: column 0 shows colour 0.
        EXPECT_EQ(RGB(255, 0, 0), host::DesktopPixel(0, 0));

        g_passes.clear();
        dib.FadeOut(pDC, steps);
        ASSERT_EQ(size_t(steps + 1), g_passes.size());
        for (const Pass& pass : g_passes)
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(FadedOut(int(kColours[size_t(i)] >> 16), pass.nPass, delta), pass.entries[size_t(i)][0]);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(0u, *reinterpret_cast<const std::uint32_t*>(&dib.GetColorTable()[i])) << "every byte 0";
        EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(0, 0));
        EXPECT_FALSE(MainMenuState().bFadeRunning);
        ::ReleaseDC(window, hdc);
    }
}

// In front of a reader (the presenter's window, here on SDL's dummy video driver) every pass of a
// fade is its own displayed frame: the passes are paced by the screen, so the fade can be seen.
TEST_F(FadeTest, EachPassIsShownInAFrameOfItsOwn)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string error;
    if (!host::StartPresenter("fade test", &error))
        GTEST_SKIP() << "SDL's dummy video driver is not available: " << error;
    std::vector<std::uint64_t> frames;
    static std::vector<std::uint64_t>* s_frames = nullptr;
    s_frames = &frames;
    MainMenuState().pfnFadePassObserver = [](int, const PALETTEENTRY*, int) {
        s_frames->push_back(host::PresenterFrameCount());
    };
    HDC hdc = ::GetDC(window);
    CDC* pDC = CDC::FromHandle(hdc);
    CMenuPaletteDib dib;
    ASSERT_TRUE(dib.LoadFromFile(pDC, "T:\\pic.bmp"));
    dib.FadeIn(pDC, 15);
    ::ReleaseDC(window, hdc);
    host::StopPresenter();
    ASSERT_EQ(16u, frames.size());
    // Every pass up to the one that reaches the last colour changed the picture, and was shown.
    for (size_t i = 1; i + 1 < frames.size(); ++i)
        EXPECT_GT(frames[i], frames[i - 1]) << "pass " << i;
}

// 8-bit palette display without the NT flag: the picture is drawn once through palette
// indexes; every pass animates the 236 reserved entries and the screen follows without a redraw.
TEST_F(FadeTest, PaletteDisplayAnimatesTheReservedEntries)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    MainMenuState().bWindowsNT = FALSE;
    HDC hdc = ::GetDC(window);
    CDC* pDC = CDC::FromHandle(hdc);
    CMenuPaletteDib dib;
    ASSERT_TRUE(dib.LoadFromFile(pDC, "T:\\pic.bmp"));
    PALETTEENTRY entries[236];
    ASSERT_EQ(236u, dib.GetPalette()->GetPaletteEntries(0, 236, entries));
    for (const PALETTEENTRY& e : entries)
        EXPECT_TRUE(e.peRed == 2 && e.peGreen == 2 && e.peBlue == 2 && e.peFlags == PC_RESERVED);
    EXPECT_EQ(0xFF, dib.GetSavedPalette()[0].peRed);
    EXPECT_EQ(PC_RESERVED, dib.GetSavedPalette()[0].peFlags);
    // The colour table is now the identity index table.
    const WORD* indexes = reinterpret_cast<const WORD*>(dib.GetColorTable());
    for (WORD i = 0; i < 6; ++i)
        EXPECT_EQ(i, indexes[i]);

    dib.DrawAt(pDC, 0, 0, TRUE);
    EXPECT_EQ(RGB(2, 2, 2), host::DesktopPixel(0, 0));
    g_watch = {0, 0};  // column 0: colour 0, red
    std::uint64_t before = host::ClockMilliseconds();
    dib.FadeIn(pDC, 15);
    ASSERT_EQ(16u, g_passes.size());
    for (const Pass& pass : g_passes) {
        ASSERT_EQ(236u, pass.entries.size());
        int red = FadedIn(255, pass.nPass, 17);
        EXPECT_EQ(red, pass.entries[0][0]);
        EXPECT_EQ(0, pass.entries[0][1]);
        EXPECT_EQ(RGB(red, 0, 0), pass.screen) << "pass " << pass.nPass;
    }
    EXPECT_GE(host::ClockMilliseconds() - before, 16u * 50u) << "each pass waits 50 ms, pumping";
    EXPECT_EQ(RGB(255, 0, 0), host::DesktopPixel(0, 0));

    g_passes.clear();
    dib.FadeOut(pDC, 30);
    ASSERT_EQ(31u, g_passes.size());
    EXPECT_EQ(255 - 8, g_passes[0].entries[0][0]);
    EXPECT_EQ(RGB(255 - 8, 0, 0), g_passes[0].screen);
    EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(0, 0));
    ::ReleaseDC(window, hdc);
}

TEST_F(FadeTest, MissingPictureFailsToLoad)
{
    HDC hdc = ::GetDC(window);
    CMenuPaletteDib dib;
    EXPECT_FALSE(dib.LoadFromFile(CDC::FromHandle(hdc), "T:\\none.bmp"));
    EXPECT_FALSE(dib.LoadFromResource(CDC::FromHandle(hdc), 8048)) << "no resource library loaded";
    ::ReleaseDC(window, hdc);
}

}  // namespace
