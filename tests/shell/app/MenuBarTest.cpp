// The running program's menu bar: each submenu opened from the keyboard, its items read while it
// is open, with the command states the frame gives them; screenshots of the open menus over the
// frame with its toolbar.
#include "AppTestSupport.h"

#include <host/Display.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using apptest::AppTest;
using apptest::kBrowseRow;

namespace {

struct Item {
    std::string text;  // "-" for a separator, the popup's text for a submenu
    UINT id;           // 0 for separators and submenus
    bool grayed;
};

std::vector<Item> ReadMenu(HMENU hMenu)
{
    std::vector<Item> items;
    int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        char text[128] = "";
        GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back({"-", 0, false});
            continue;
        }
        UINT id = GetSubMenu(hMenu, i) != nullptr ? 0 : GetMenuItemID(hMenu, i);
        items.push_back({text, id, (state & MF_GRAYED) != 0});
    }
    return items;
}

std::vector<HWND> OpenMenuWindows()
{
    std::vector<HWND> out;
    for (HWND h = FindWindowExA(nullptr, nullptr, "#32768", nullptr); h; h = FindWindowExA(nullptr, h, "#32768", nullptr))
        if (IsWindowVisible(h))
            out.push_back(h);
    return out;
}

class MenuBarTest : public AppTest {};

TEST_F(MenuBarTest, EverySubmenuOfTheRunningFrameOpensWithItsItemsAndStates)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    auto* frame = dynamic_cast<CBaseWindow*>(app->m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    HMENU bar = ::GetMenu(frame->GetSafeHwnd());
    ASSERT_NE(nullptr, bar) << "the frame has the program's menu 264";
    ASSERT_EQ(5, GetMenuItemCount(bar));

    // The Dada Vaveroz view is on screen: no article, nothing to copy, print or save.
    struct Expected {
        char mnemonic;
        const char* title;
        std::vector<Item> items;
    };
    const std::vector<Expected> expected = {
        {'F', "&File",
         {{"Save &As...", 9001, true},
          {"&Options...", 40038, false},
          {"&History", 9015, false},
          {"Print &Setup...", 9003, false},
          {"&Print...", 9002, true},
          {"E&xit", 9004, false}}},
        {'E', "&Edit",
         {{"&Copy - Ctrl+C", 9005, true},
          {"Select all - Ctrl+A", 9007, true},
          {"&Find", 9008, true},
          {"Find &next - Ctrl+N", 9009, true},
          {"F&ont size", 0, true}}},
        {'T', "&Tools",
         {{"&Sticky List", 9017, false},
          {"Word &Processor", 40047, false},
          {"&Notepad", 40036, false},
          {"&Clear all highlights", 9018, false},
          {"Clear &article highlights", 40037, true},
          {"&Wizards", 40044, false},
          {"Surf the &Jubilee", 40048, false}}},
        // Online services off (no connection engine): Connect and Disconnect greyed.
        {'O', "&Online",
         {{"&Connect", 9011, true},
          {"&Disconnect", 9012, true},
          {"&Message Centre", 9050, false},
          {"Co&nfigure", 9014, false},
          {"Down&load directory", 40022, false}}},
        {'H', "&Help",
         {{"&Help topics", 57671, false},
          {"&Monthly Spotlight", 9024, false},
          {"&About Veltra", 9021, false},
          {"&Contributors", 0, false}}},
    };
    frame->SetActiveWindow();
    frame->SetFocus();
    CRect window;
    frame->GetWindowRect(&window);
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.title);
        char title[64] = "";
        GetMenuStringA(bar, static_cast<UINT>(i), title, sizeof title, MF_BYPOSITION);
        EXPECT_STREQ(e.title, title);
        std::vector<Item> read;
        size_t windows = 0;
        host::RunInNextModalLoop([&](HWND) {
            windows = OpenMenuWindows().size();
            read = ReadMenu(GetSubMenu(bar, static_cast<int>(i)));
            std::string name = "menubar-" + std::to_string(i) + ".png";
            std::filesystem::path png = dir.path() / name;
            RECT r = window;
            EXPECT_TRUE(host::SaveDesktopPng(png.string(), &r));
            if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
                std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                           std::filesystem::copy_options::overwrite_existing);
            host::CancelMenu();
        });
        host::KeyDown(VK_MENU);
        host::PressKey(static_cast<UINT>(e.mnemonic));
        host::KeyUp(VK_MENU);
        ui::PumpUntilIdle();
        EXPECT_EQ(1u, windows) << "the submenu was open";
        ASSERT_EQ(e.items.size(), read.size());
        for (size_t k = 0; k < read.size(); ++k) {
            SCOPED_TRACE(e.items[k].text);
            EXPECT_EQ(e.items[k].text, read[k].text);
            EXPECT_EQ(e.items[k].id, read[k].id);
            EXPECT_EQ(e.items[k].grayed, read[k].grayed);
        }
        EXPECT_TRUE(OpenMenuWindows().empty());
    }
    // The two nested popups.
    HMENU fonts = GetSubMenu(GetSubMenu(bar, 1), 4);
    ASSERT_NE(nullptr, fonts);
    std::vector<Item> sizes = ReadMenu(fonts);
    ASSERT_EQ(3u, sizes.size());
    EXPECT_EQ(9036u, sizes[0].id);
    EXPECT_EQ("&Large", sizes[2].text);
    HMENU contributors = GetSubMenu(GetSubMenu(bar, 4), 3);
    ASSERT_NE(nullptr, contributors);
    std::vector<Item> letters = ReadMenu(contributors);
    ASSERT_EQ(4u, letters.size());
    EXPECT_EQ("&A - F", letters[0].text);
    EXPECT_EQ(9049u, letters[3].id);
}

// Help > Contributors opened and closed: every pixel of the frame is as the frame draws itself
// anew (nothing of the menus is left behind).
TEST_F(MenuBarTest, ClosedMenusLeaveNothingBehind)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    auto* frame = dynamic_cast<CBaseWindow*>(app->m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    frame->SetActiveWindow();
    frame->SetFocus();
    size_t openAtMost = 0;
    host::RunInNextModalLoop([&](HWND) {
        openAtMost = std::max(openAtMost, OpenMenuWindows().size());
        host::PressKey('C');
    });
    host::RunInNextModalLoop([&](HWND) {
        openAtMost = std::max(openAtMost, OpenMenuWindows().size());
        host::CancelMenu();
    });
    host::KeyDown(VK_MENU);
    host::PressKey('H');
    host::KeyUp(VK_MENU);
    ui::PumpUntilIdle();
    EXPECT_EQ(2u, openAtMost) << "Help and its Contributors submenu were open";
    EXPECT_TRUE(OpenMenuWindows().empty());
    CRect window;
    frame->GetWindowRect(&window);
    auto pixels = [&] {
        std::vector<COLORREF> out;
        HDC dc = ::GetDC(nullptr);
        for (int y = window.top; y < window.bottom; y += 3)
            for (int x = window.left; x < window.right; x += 3)
                out.push_back(::GetPixel(dc, x, y));
        ::ReleaseDC(nullptr, dc);
        return out;
    };
    const std::vector<COLORREF> shown = pixels();
    std::filesystem::path png = dir.path() / "menus-closed.png";
    RECT r = window;
    EXPECT_TRUE(host::SaveDesktopPng(png.string(), &r));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "menus-closed.png",
                                   std::filesystem::copy_options::overwrite_existing);
    frame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    EXPECT_TRUE(shown == pixels()) << "something of the menus stayed on the frame";
}

}  // namespace

namespace {

TEST_F(MenuBarTest, TheToolbarsHomeButtonReopensTheMenuOverTheFrameWhichTakesTheChoice)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    auto* frame = dynamic_cast<CBaseWindow*>(app->m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(frame->GetDlgItem(IDW_JUSTLOOKING), frame->GetCurrentMainWin());
    int atlasRow = -1;
    for (int i = 0; i < kMainMenuButtons; ++i)
        if (MainMenuRows()[i].nCode == kChoiceAtlas)
            atlasRow = i;
    ASSERT_GE(atlasRow, 0);

    // The Home button: the hosted menu comes up over the frame; the atlas is chosen in it.
    apptest::RowToChoose() = atlasRow;
    ::SetTimer(NULL, 0, 10, apptest::ChooseRowWhenReady);
    frame->GetToolbar().SendMessage(WM_COMMAND, MAKEWPARAM(CVLToolbar::btnHome, BN_CLICKED), 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(nullptr, MainMenuState().pMenu) << "the menu is gone once it has handed the choice over";
    EXPECT_EQ(frame->GetDlgItem(IDW_ATLAS), frame->GetCurrentMainWin());
    EXPECT_EQ(CVLToolbar::btnAtlas, frame->GetToolbar().GetLatchedButton());
}

}  // namespace
