// Fixture of the main-menu tests: a drive T: with the profile, the screen-class resource library
// of the chosen class loaded, the desktop sized to match, and the menu's process-wide state
// fresh for every case.
#pragma once

#include "base/AppServices.h"
#include "shell/MainMenu.h"

#include <afxwin.h>

#include <host/Display.h>
#include <host/Drives.h>
#include <host/Paths.h>

#include <TempDir.h>
#include <UiTest.h>

#include "../ShellUiTest.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace menutest {

// An 8-bit bottom-up BMP file: `colours` as its table (0xRRGGBB), every pixel of column x
// holding index x % colours.size().
inline std::string IndexedBmp(int width, int height, const std::vector<std::uint32_t>& colours)
{
    auto put16 = [](std::string& s, unsigned v) {
        s += char(v & 0xFF);
        s += char((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::string& s, unsigned v) {
        put16(s, v & 0xFFFF);
        put16(s, v >> 16);
    };
    unsigned stride = (unsigned(width) + 3) & ~3u;
    unsigned table = unsigned(colours.size()) * 4, image = stride * unsigned(height);
    std::string s = "BM";
    put32(s, 14 + 40 + table + image);
    put32(s, 0);
    put32(s, 14 + 40 + table);
    put32(s, 40);
    put32(s, unsigned(width));
    put32(s, unsigned(height));
    put16(s, 1);
    put16(s, 8);
    put32(s, 0);
    put32(s, image);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, unsigned(colours.size()));
    put32(s, 0);
    for (std::uint32_t c : colours) {
        s += char(c & 0xFF);
        s += char((c >> 8) & 0xFF);
        s += char((c >> 16) & 0xFF);
        s += '\0';
    }
    for (int y = 0; y < height; ++y)
        for (unsigned x = 0; x < stride; ++x)
            s += char(x < unsigned(width) ? x % colours.size() : 0);
    return s;
}

class MenuTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        // Most cases start after the splash phase, as the toolbar's Home button does.
        MainMenuState().bSplashOver = TRUE;
    }
    void TearDown() override
    {
        if (MainMenuState().pMenu != NULL)
            MainMenuState().pMenu->DestroyWindow();
        ui::PumpUntilIdle();
        host::SetDisplayMode(host::DisplayMode::TrueColor);
        ShellUiTest::TearDown();
    }

    // The desktop of a screen class and that class's resource library.
    void UseScreenClass(int nClass)
    {
        static const SIZE sizes[3] = {{640, 480}, {800, 600}, {1024, 768}};
        host::SetDesktopSize(sizes[nClass].cx, sizes[nClass].cy);
        AppServices().env.nScreenWidth = sizes[nClass].cx;
        AppServices().env.nScreenHeight = sizes[nClass].cy;
        AppServices().env.nScreenClass = nClass;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(nClass) + ".dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }

    CMainMenuWnd* Menu() const { return MainMenuState().pMenu; }

    // The screen point at the middle of row nRow's button.
    CPoint ButtonCentre(int nRow) const
    {
        CPoint pt = Menu()->GetButtonRect(nRow).CenterPoint();
        Menu()->ClientToScreen(&pt);
        return pt;
    }
};

}  // namespace menutest
