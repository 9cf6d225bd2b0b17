// The window menu: each window's own copy, greyed by the window's state as it opens, reverted,
// destroyed with its window, and opened from the keyboard with Alt+Space.
#include <windows.h>

#include <UiTest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Heard> g_heard;
// Set by WM_INITMENUPOPUP of the window menu: the item states at that moment.
std::vector<UINT> g_statesAtInit;

const UINT kIds[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        g_heard.push_back({message, wParam, lParam});
        if ((wParam & 0xFFF0) == SC_MOVE)
            return 0;  // no moving loop in these tests
        break;
    case WM_INITMENUPOPUP:
        g_heard.push_back({message, wParam, lParam});
        if (HIWORD(lParam)) {
            g_statesAtInit.clear();
            for (UINT id : kIds)
                g_statesAtInit.push_back(GetMenuState(reinterpret_cast<HMENU>(wParam), id, MF_BYCOMMAND) & MF_GRAYED);
        }
        break;
    case WM_MENUSELECT:
    case WM_INITMENU:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        g_heard.push_back({message, wParam, lParam});
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class SystemMenuTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        g_heard.clear();
        g_statesAtInit.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = Recorder;
        wc.lpszClassName = "SysMenuTest";
        RegisterClassA(&wc);
        wc.lpszClassName = "SysMenuNoClose";
        wc.style = CS_NOCLOSE;
        RegisterClassA(&wc);
    }
    static HWND Make(DWORD style, const char* cls = "SysMenuTest")
    {
        return CreateWindowExA(0, cls, "Window", style, 10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
    }
    static std::string Text(HMENU menu, int pos)
    {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
        return text;
    }
    // Opens the window menu with Alt+Space and returns the gray state of each item (as kIds)
    // when the menu was initialised; the action then runs inside the menu.
    static std::vector<UINT> OpenAndRun(HWND hwnd, std::function<void()> inside)
    {
        SetActiveWindow(hwnd);
        SetFocus(hwnd);
        host::RunInNextModalLoop([inside](HWND) { inside(); });
        host::KeyDown(VK_MENU);
        host::PressKey(VK_SPACE);
        host::KeyUp(VK_MENU);
        ui::PumpUntilIdle();
        return g_statesAtInit;
    }
};

}  // namespace

TEST_F(SystemMenuTest, EachWindowGetsItsOwnCopyOfTheStandardMenu)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW);
    HWND b = Make(WS_OVERLAPPEDWINDOW);
    HMENU menuA = GetSystemMenu(a, FALSE);
    ASSERT_NE(menuA, nullptr);
    EXPECT_EQ(GetSystemMenu(a, FALSE), menuA);  // the same copy on every request
    HMENU menuB = GetSystemMenu(b, FALSE);
    ASSERT_NE(menuB, nullptr);
    EXPECT_NE(menuA, menuB);

    const std::pair<UINT, const char*> expected[] = {
        {SC_RESTORE, "&Restore"}, {SC_MOVE, "&Move"},         {SC_SIZE, "&Size"}, {SC_MINIMIZE, "Mi&nimize"},
        {SC_MAXIMIZE, "Ma&ximize"}, {0, ""}, {SC_CLOSE, "&Close\tAlt+F4"},
    };
    ASSERT_EQ(GetMenuItemCount(menuA), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(GetMenuItemID(menuA, i), expected[i].first) << i;
        EXPECT_EQ(Text(menuA, i), expected[i].second) << i;
    }
    EXPECT_TRUE(GetMenuState(menuA, 5, MF_BYPOSITION) & MF_SEPARATOR);

    // A change to one copy is that window's alone.
    EXPECT_TRUE(DeleteMenu(menuA, SC_SIZE, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(menuA), 6);
    EXPECT_EQ(GetMenuItemCount(menuB), 7);

    // Reverting destroys the copy; the next request makes a fresh standard one.
    EXPECT_EQ(GetSystemMenu(a, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(menuA));
    HMENU fresh = GetSystemMenu(a, FALSE);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(GetMenuItemCount(fresh), 7);

    // The copy goes with its window.
    DestroyWindow(b);
    EXPECT_FALSE(IsMenu(menuB));
    DestroyWindow(a);
    EXPECT_FALSE(IsMenu(fresh));
}

TEST_F(SystemMenuTest, WindowsWithoutAWindowMenuAndBadHandles)
{
    HWND plain = Make(WS_OVERLAPPED | WS_CAPTION);
    EXPECT_EQ(GetSystemMenu(plain, FALSE), nullptr);
    EXPECT_EQ(GetSystemMenu(plain, TRUE), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetSystemMenu(reinterpret_cast<HWND>(0x7777), FALSE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    DestroyWindow(plain);
}

TEST_F(SystemMenuTest, ItemsAreGreyedByTheWindowsStateWhenTheMenuOpens)
{
    const UINT G = MF_GRAYED;
    struct Case {
        const char* what;
        DWORD style;
        int show;
        const char* cls;
        std::vector<UINT> grayed;  // Restore, Move, Size, Minimize, Maximize, Close
    } cases[] = {
        {"normal sizable", WS_OVERLAPPEDWINDOW, SW_SHOWNORMAL, "SysMenuTest", {G, 0, 0, 0, 0, 0}},
        {"maximized", WS_OVERLAPPEDWINDOW, SW_SHOWMAXIMIZED, "SysMenuTest", {0, G, G, 0, G, 0}},
        {"fixed frame, no boxes", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, SW_SHOWNORMAL, "SysMenuTest", {G, 0, G, G, G, 0}},
        {"no close", WS_OVERLAPPEDWINDOW, SW_SHOWNORMAL, "SysMenuNoClose", {G, 0, 0, 0, 0, G}},
    };
    for (const Case& c : cases) {
        HWND hwnd = Make(c.style, c.cls);
        ShowWindow(hwnd, c.show);
        ui::PumpUntilIdle();
        std::vector<UINT> states = OpenAndRun(hwnd, [] { host::CancelMenu(); });
        EXPECT_EQ(states, c.grayed) << c.what;
        DestroyWindow(hwnd);
    }
}

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuAndTheChoiceComesAsASystemCommand)
{
    HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ui::PumpUntilIdle();
    g_heard.clear();
    OpenAndRun(hwnd, [] { EXPECT_TRUE(host::ChooseMenuItem(SC_MOVE)); });
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    std::vector<std::pair<UINT, WPARAM>> seen;
    bool movePicked = false;
    for (const Heard& h : g_heard) {
        if (h.message == WM_MENUSELECT) {
            // The highlight says the item is the window menu's.
            if (LOWORD(h.wParam) == SC_MOVE && (HIWORD(h.wParam) & MF_SYSMENU))
                movePicked = true;
            continue;
        }
        if (h.message != WM_SYSCOMMAND || h.wParam != SC_KEYMENU)
            seen.emplace_back(h.message, h.wParam);
    }
    EXPECT_TRUE(movePicked);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_ENTERMENULOOP, FALSE},
        {WM_INITMENU, reinterpret_cast<WPARAM>(menu)},
        {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu)},
        {WM_EXITMENULOOP, FALSE},
        {WM_SYSCOMMAND, SC_MOVE},
    };
    EXPECT_EQ(seen, expected);
    for (const Heard& h : g_heard) {
        if (h.message == WM_INITMENUPOPUP) {
            EXPECT_EQ(HIWORD(h.lParam), TRUE);
        }
    }

    // A greyed item cannot be chosen; Close closes the window.
    EXPECT_TRUE(IsWindow(hwnd));
    OpenAndRun(hwnd, [] {
        EXPECT_FALSE(host::ChooseMenuItem(SC_RESTORE));
        EXPECT_TRUE(host::ChooseMenuItem(SC_CLOSE));
    });
    EXPECT_FALSE(IsWindow(hwnd));
}
