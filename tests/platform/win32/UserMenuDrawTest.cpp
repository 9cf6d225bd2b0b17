// Menus on the screen: the menu bar, its drop-downs and their submenus, popup menus and the
// window menu drawn in the classic look (highlight, check marks and radio bullets, greyed items,
// separators, mnemonics, submenu arrows), kept on the screen, and followed by the mouse and the
// keyboard.
#include <windows.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <host/Display.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace spy;

namespace {

enum : UINT {
    kNew = 100, kOpen = 101, kSave = 102, kWrap = 103, kSmall = 104, kLarge = 105, kRecent1 = 110, kRecent2 = 111,
    kExit = 120, kHelp = 200,
};

HMENU BuildBar()
{
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, kRecent1, "&1 Atlas.txt");
    AppendMenuA(recent, MF_STRING, kRecent2, "&2 Birds.txt");
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kNew, "&New\tCtrl+N");
    AppendMenuA(file, MF_STRING, kOpen, "&Open...\tCtrl+O");
    AppendMenuA(file, MF_STRING | MF_GRAYED, kSave, "&Save\tCtrl+S");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_CHECKED, kWrap, "Word &wrap");
    AppendMenuA(file, MF_STRING, kSmall, "S&mall print");
    AppendMenuA(file, MF_STRING, kLarge, "&Large print");
    CheckMenuRadioItem(file, kSmall, kLarge, kLarge, MF_BYCOMMAND);
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent files");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kExit, "E&xit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, kHelp, "&Help");
    return bar;
}

// The windows that show open popups, top first.
std::vector<HWND> MenuWindows()
{
    std::vector<HWND> out;
    for (HWND h = FindWindowExA(nullptr, nullptr, "#32768", nullptr); h; h = FindWindowExA(nullptr, h, "#32768", nullptr))
        if (IsWindowVisible(h))
            out.push_back(h);
    return out;
}

RECT WindowRectOf(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// Saves the screen as a PNG (kept in VL_SCREENSHOT_DIR when set) and checks it was written.
void Screenshot(const std::string& name)
{
    TempDir tmp;
    std::string png = (tmp.path() / name).string();
    ASSERT_TRUE(host::SaveDesktopPng(png));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                   std::filesystem::copy_options::overwrite_existing);
}

// Counts the pixels of a colour in a rectangle of the screen.
int CountColour(const RECT& r, COLORREF colour)
{
    int n = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            if (host::DesktopPixel(x, y) == colour)
                ++n;
    return n;
}

class UserMenuDrawTest : public ui::UiTest {
protected:
    MessageSpy spy;
    HWND frame = nullptr;
    HMENU bar = nullptr;

    void SetUp() override
    {
        UiTest::SetUp();
        frame = CreateWindowExA(0, MessageSpy::ClassName(), "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 500,
                                400, nullptr, nullptr, nullptr, nullptr);
        // The frame's client area is painted white, so what a menu covered shows painted again.
        spy.handler = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (msg != WM_ERASEBKGND)
                return std::nullopt;
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_WINDOW));
            return 1;
        };
        bar = BuildBar();
        SetMenu(frame, bar);
        ui::PumpUntilIdle();
        spy.Clear();
    }

    RECT BarItem(int index) const
    {
        RECT r{};
        GetMenuItemRect(frame, bar, static_cast<UINT>(index), &r);
        return r;
    }

    // Opens the File drop-down from a click on the bar and runs `inside` in the tracking loop.
    void InFileMenu(std::function<void()> inside)
    {
        host::RunInNextModalLoop([inside](HWND) { inside(); });
        RECT file = BarItem(0);
        host::Click(file.left + 4, file.top + 4);
        ui::PumpUntilIdle();
    }

    std::vector<UINT> Commands() const
    {
        std::vector<UINT> out;
        for (const Recorded& r : spy.Messages(frame))
            if (r.message == WM_COMMAND)
                out.push_back(LOWORD(r.wParam));
        return out;
    }
};

TEST_F(UserMenuDrawTest, TheMenuBarShowsItsItemsAndTheOpenOneHighlighted)
{
    RECT file = BarItem(0), help = BarItem(1);
    EXPECT_GT(CountColour(file, GetSysColor(COLOR_MENUTEXT)), 5) << "the label is drawn";
    EXPECT_EQ(CountColour(file, GetSysColor(COLOR_HIGHLIGHT)), 0);
    InFileMenu([&] {
        RECT lit = BarItem(0);
        EXPECT_GT(CountColour(lit, GetSysColor(COLOR_HIGHLIGHT)), (lit.right - lit.left) * (lit.bottom - lit.top) / 2);
        EXPECT_EQ(CountColour(help, GetSysColor(COLOR_HIGHLIGHT)), 0);
        host::CancelMenu();
    });
    EXPECT_EQ(CountColour(file, GetSysColor(COLOR_HIGHLIGHT)), 0) << "no highlight once the menu is closed";
}

TEST_F(UserMenuDrawTest, ADropDownAndItsSubmenuAreDrawnInTheClassicLook)
{
    RECT file = BarItem(0);
    RECT dropDown{}, submenu{};
    InFileMenu([&] {
        ASSERT_TRUE(host::SelectMenuItem(kRecent2));
        std::vector<HWND> windows = MenuWindows();
        ASSERT_EQ(windows.size(), 2u) << "the drop-down and its submenu";
        dropDown = WindowRectOf(windows[1]);
        submenu = WindowRectOf(windows[0]);
        EXPECT_EQ(dropDown.left, file.left) << "below its bar item";
        EXPECT_EQ(dropDown.top, file.bottom);
        EXPECT_GE(submenu.left, dropDown.right - 6) << "right of its item";
        // The classic frame: light outer top-left edge, dark outer bottom-right edge, menu face.
        EXPECT_EQ(host::DesktopPixel(dropDown.left, dropDown.top + 10), GetSysColor(COLOR_3DLIGHT));
        EXPECT_EQ(host::DesktopPixel(dropDown.right - 1, dropDown.top + 10), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(host::DesktopPixel(dropDown.left + 4, dropDown.top + 4), GetSysColor(COLOR_MENU));
        // The rows, 19 pixels each below the 3-pixel frame (separators 9): 0 New, 1 Open,
        // 2 Save (greyed), 3 separator, 4 Word wrap (checked), 5 Small, 6 Large (radio), 7 Recent.
        auto row = [&](int index) {
            static const int heights[] = {19, 19, 19, 9, 19, 19, 19, 19};
            LONG top = dropDown.top + 3;
            for (int i = 0; i < index; ++i)
                top += heights[i];
            return RECT{dropDown.left + 3, top, dropDown.right - 3, top + heights[index]};
        };
        EXPECT_GT(CountColour(row(0), GetSysColor(COLOR_MENUTEXT)), 10);
        EXPECT_GT(CountColour(row(2), GetSysColor(COLOR_BTNSHADOW)), 10) << "greyed: shadow text";
        EXPECT_GT(CountColour(row(2), GetSysColor(COLOR_BTNHIGHLIGHT)), 10) << "greyed: embossed in white";
        EXPECT_EQ(CountColour(row(2), GetSysColor(COLOR_MENUTEXT)), 0);
        RECT separator = row(3);
        EXPECT_EQ(host::DesktopPixel(separator.left + 20, separator.top + 3), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(host::DesktopPixel(separator.left + 20, separator.top + 4), GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT markColumn = row(4);
        markColumn.right = markColumn.left + 18;
        EXPECT_GE(CountColour(markColumn, GetSysColor(COLOR_MENUTEXT)), 15) << "check mark";
        markColumn = row(5);
        markColumn.right = markColumn.left + 18;
        EXPECT_EQ(CountColour(markColumn, GetSysColor(COLOR_MENUTEXT)), 0) << "the unchecked radio item";
        markColumn = row(6);
        markColumn.right = markColumn.left + 18;
        int bullet = CountColour(markColumn, GetSysColor(COLOR_MENUTEXT));
        EXPECT_GE(bullet, 20) << "radio bullet";
        EXPECT_LE(bullet, 30);
        RECT recent = row(7);
        EXPECT_GT(CountColour(recent, GetSysColor(COLOR_HIGHLIGHT)), (recent.right - recent.left) * 10)
            << "the item whose submenu is open stays highlighted";
        RECT arrow{recent.right - 14, recent.top, recent.right - 4, recent.bottom};
        EXPECT_GE(CountColour(arrow, GetSysColor(COLOR_HIGHLIGHTTEXT)), 12) << "submenu arrow";
        // In the submenu the second item is highlighted, the first is not.
        RECT first{submenu.left + 3, submenu.top + 3, submenu.right - 3, submenu.top + 22};
        RECT second{submenu.left + 3, submenu.top + 22, submenu.right - 3, submenu.top + 41};
        EXPECT_EQ(CountColour(first, GetSysColor(COLOR_HIGHLIGHT)), 0);
        EXPECT_GT(CountColour(second, GetSysColor(COLOR_HIGHLIGHT)), (second.right - second.left) * 10);
        EXPECT_GT(CountColour(second, GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
        Screenshot("menu_dropdown_and_submenu.png");
        host::CancelMenu();
    });
    EXPECT_TRUE(MenuWindows().empty()) << "the popups' windows close with the menu";
    // What the popups covered is painted again: the frame's client area shows no menu.
    EXPECT_EQ(CountColour(dropDown, GetSysColor(COLOR_HIGHLIGHT)), 0);
    EXPECT_EQ(CountColour(submenu, GetSysColor(COLOR_3DDKSHADOW)), 0);
}

TEST_F(UserMenuDrawTest, PopupMenusStayOnTheScreen)
{
    HMENU file = GetSubMenu(bar, 0);
    struct Case {
        int x, y;
        UINT flags;
    } cases[] = {{1020, 760, TPM_LEFTALIGN}, {5, 5, TPM_RIGHTALIGN | TPM_BOTTOMALIGN}, {500, 300, TPM_CENTERALIGN}};
    for (const Case& c : cases) {
        RECT shown{};
        host::RunInNextModalLoop([&](HWND) {
            std::vector<HWND> windows = MenuWindows();
            ASSERT_EQ(windows.size(), 1u);
            shown = WindowRectOf(windows[0]);
            host::CancelMenu();
        });
        TrackPopupMenu(file, c.flags | TPM_RETURNCMD, c.x, c.y, 0, frame, nullptr);
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_GE(shown.left, 0);
        EXPECT_GE(shown.top, 0);
        EXPECT_LE(shown.right, 1024);
        EXPECT_LE(shown.bottom, 768);
        EXPECT_GT(shown.bottom - shown.top, 150);
        if (c.flags & TPM_CENTERALIGN) {
            EXPECT_EQ((shown.left + shown.right) / 2, 500);
        }
    }
}

TEST_F(UserMenuDrawTest, TheWindowMenuShowsBelowTheCaptionIcon)
{
    SetActiveWindow(frame);
    RECT window = WindowRectOf(frame);
    host::RunInNextModalLoop([&](HWND) {
        std::vector<HWND> windows = MenuWindows();
        ASSERT_EQ(windows.size(), 1u);
        RECT shown = WindowRectOf(windows[0]);
        EXPECT_EQ(shown.left, window.left + 4);
        EXPECT_EQ(shown.top, window.top + 4 + GetSystemMetrics(SM_CYCAPTION));
        // Restore is greyed (the frame is neither minimised nor maximised): embossed text.
        RECT restore{shown.left + 3, shown.top + 3, shown.right - 3, shown.top + 22};
        EXPECT_GT(CountColour(restore, GetSysColor(COLOR_BTNHIGHLIGHT)), 5);
        EXPECT_EQ(CountColour(restore, GetSysColor(COLOR_MENUTEXT)), 0);
        Screenshot("window_menu.png");
        host::CancelMenu();
    });
    host::KeyDown(VK_MENU);
    host::PressKey(VK_SPACE);
    host::KeyUp(VK_MENU);
    ui::PumpUntilIdle();
    EXPECT_TRUE(MenuWindows().empty());
}

// The mouse selects what it is over and opens submenus on the way; a click chooses.
TEST_F(UserMenuDrawTest, TheMouseFollowsItemsAndOpensSubmenus)
{
    InFileMenu([&] {
        std::vector<HWND> windows = MenuWindows();
        ASSERT_EQ(windows.size(), 1u);
        RECT dropDown = WindowRectOf(windows[0]);
        // Row 7 (Recent files) lies at 3 + 19 * 3 + 9 + 19 * 3 = 126 pixels from the top.
        host::MouseMove(dropDown.left + 30, dropDown.top + 126 + 9);
        host::RunInNextModalLoop([dropDown](HWND) {
            std::vector<HWND> open = MenuWindows();
            ASSERT_EQ(open.size(), 2u) << "hovering over Recent files opened its submenu";
            RECT submenu = WindowRectOf(open[0]);
            host::MouseMove(submenu.left + 20, submenu.top + 3 + 19 + 9);
            host::RunInNextModalLoop([submenu](HWND) {
                host::MouseDown();
                host::MouseUp();
            });
        });
    });
    EXPECT_EQ(Commands(), (std::vector<UINT>{kRecent2}));
}

// Alt+F opens the drop-down; the arrow keys move (past the separator and into the submenu),
// Enter chooses; a mnemonic chooses at once; Left closes a submenu.
TEST_F(UserMenuDrawTest, TheKeyboardMovesThroughTheMenus)
{
    SetActiveWindow(frame);
    SetFocus(frame);
    auto altF = [] {
        host::KeyDown(VK_MENU);
        host::PressKey('F');
        host::KeyUp(VK_MENU);
    };
    // Down from New: Open, (Save is greyed but selectable), Word wrap past the separator.
    host::RunInNextModalLoop([](HWND) {
        for (UINT vk : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
            host::PressKey(vk);
    });
    altF();
    ui::PumpUntilIdle();
    // Up from the top wraps round to Exit; into Recent files' submenu with Right, back with Left.
    host::RunInNextModalLoop([](HWND) {
        for (UINT vk : {VK_UP, VK_UP, VK_RIGHT})
            host::PressKey(vk);
        host::RunInNextModalLoop([](HWND) {
            EXPECT_EQ(MenuWindows().size(), 2u);
            host::PressKey(VK_LEFT);
            host::RunInNextModalLoop([](HWND) {
                EXPECT_EQ(MenuWindows().size(), 1u);
                host::PressKey('X');  // Exit's mnemonic
            });
        });
    });
    altF();
    ui::PumpUntilIdle();
    EXPECT_EQ(Commands(), (std::vector<UINT>{kWrap, kExit}));
    EXPECT_TRUE(MenuWindows().empty());
}

}  // namespace
