// Window creation, destruction, geometry and the window tree.
#include <windows.h>

#include <cstring>

#include <MessageSpy.h>
#include <UiTest.h>

using namespace spy;

namespace {

class UserWindowTest : public ui::UiTest {
protected:
    MessageSpy spy;

    HWND Create(DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr, int id = 0, DWORD ex = 0,
                const char* title = "Spy")
    {
        return CreateWindowExA(ex, MessageSpy::ClassName(), title, style, x, y, cx, cy, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
};

TEST_F(UserWindowTest, VisibleOverlappedWindowIsCreatedShownAndActivatedInOrder)
{
    HWND w = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    ASSERT_TRUE(w);
    EXPECT_TRUE(spy.Matches({
        {WM_GETMINMAXINFO, Sent},
        {WM_NCCREATE, Sent},
        {WM_NCCALCSIZE, Sent | WParam, FALSE},
        {WM_CREATE, Sent},
        {WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED, MAKELPARAM(300 - 8, 200 - 23 - 4)},
        {WM_MOVE, Sent | LParam, 0, MAKELPARAM(10 + 4, 20 + 23)},
        {WM_SHOWWINDOW, Sent | WParam, TRUE},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_ACTIVATEAPP, Sent | WParam, TRUE},
        {WM_NCACTIVATE, Sent | WParam, TRUE},
        {WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
        {WM_SETFOCUS, Sent},
        {WM_NCPAINT, Sent},
        {WM_ERASEBKGND, Sent},
        {WM_WINDOWPOSCHANGED, Sent},
    }));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    char title[16];
    EXPECT_EQ(GetWindowTextA(w, title, sizeof title), 3);
    EXPECT_STREQ(title, "Spy");
    // The paint comes when the queue has nothing else.
    PostMessageA(w, WM_USER, 1, 2);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_USER, Posted | WParam | LParam, 1, 2}, {WM_PAINT, Posted}}));
}

TEST_F(UserWindowTest, ChildCreationNotifiesParentAndStaysOutOfActivation)
{
    HWND parent = Create(WS_OVERLAPPEDWINDOW, 0, 0, 400, 300);
    spy.Clear();
    HWND child = Create(WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 6, 50, 40, parent, 7);
    ASSERT_TRUE(child);
    EXPECT_TRUE(spy.Matches({
        {WM_NCCREATE, Sent, 0, 0, child},
        {WM_NCCALCSIZE, Sent, 0, 0, child},
        {WM_CREATE, Sent, 0, 0, child},
        {WM_SIZE, Sent | LParam, 0, MAKELPARAM(48, 38), child},
        {WM_MOVE, Sent | LParam, 0, MAKELPARAM(6, 7), child},
        {WM_PARENTNOTIFY, Sent | WParam | LParam, MAKEWPARAM(WM_CREATE, 7), reinterpret_cast<LPARAM>(child), parent},
        {WM_SHOWWINDOW, Sent | WParam, TRUE, 0, child},
        {WM_WINDOWPOSCHANGING, Sent, 0, 0, child},
        {WM_WINDOWPOSCHANGED, Sent, 0, 0, child},
    }));
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetDlgItem(parent, 7), child);
    EXPECT_FALSE(IsWindowVisible(child)) << "parent is hidden";
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(UserWindowTest, CreationFailsWhenCreateOrNcCreateRefuses)
{
    struct Case {
        UINT refuse;
        LRESULT answer;
        std::vector<Expected> tail;
    };
    std::vector<Case> cases = {
        {WM_CREATE, -1, {{WM_NCCALCSIZE, Sent}, {WM_CREATE, Sent}, {WM_DESTROY, Sent}, {WM_NCDESTROY, Sent}}},
        {WM_NCCREATE, FALSE, {{WM_NCDESTROY, Sent}}},
    };
    for (const Case& c : cases) {
        spy.handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m == c.refuse)
                return c.answer;
            return std::nullopt;
        };
        int before = host::CountWindows();
        EXPECT_EQ(Create(WS_POPUP, 0, 0, 10, 10), nullptr);
        std::vector<Expected> expected{{WM_NCCREATE, Sent}};
        if (c.refuse == WM_NCCREATE)
            expected = {{WM_NCCREATE, Sent}, {WM_NCDESTROY, Sent}};
        else
            expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_TRUE(spy.Matches(expected)) << MessageName(c.refuse);
        EXPECT_EQ(host::CountWindows(), before);
    }
}

TEST_F(UserWindowTest, DestroyTakesOwnedWindowsFirstThenDestroyTopDownAndNcDestroyBottomUp)
{
    HWND top = Create(WS_OVERLAPPEDWINDOW, 0, 0, 400, 300);
    HWND child = Create(WS_CHILD, 0, 0, 10, 10, top, 1);
    HWND grandchild = Create(WS_CHILD, 0, 0, 5, 5, child, 2);
    HWND owned = Create(WS_POPUP, 0, 0, 50, 50, top);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
    EXPECT_EQ(GetParent(owned), top) << "a popup's parent is its owner";
    spy.Clear();
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(spy.Matches({
        {WM_DESTROY, Sent, 0, 0, owned},
        {WM_NCDESTROY, Sent, 0, 0, owned},
        {WM_DESTROY, Sent, 0, 0, top},
        {WM_DESTROY, Sent, 0, 0, child},
        {WM_DESTROY, Sent, 0, 0, grandchild},
        {WM_NCDESTROY, Sent, 0, 0, grandchild},
        {WM_NCDESTROY, Sent, 0, 0, child},
        {WM_NCDESTROY, Sent, 0, 0, top},
    }));
    for (HWND h : {top, child, grandchild, owned})
        EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(host::CountWindows(), 0);
}

TEST_F(UserWindowTest, DestroyingAVisibleActiveWindowHidesItAndActivatesTheNext)
{
    HWND first = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND second = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 200);
    EXPECT_EQ(GetActiveWindow(), second);
    spy.Clear();
    DestroyWindow(second);
    EXPECT_TRUE(spy.Matches({
        {WM_WINDOWPOSCHANGING, Sent, 0, 0, second},
        {WM_NCACTIVATE, Sent | WParam, FALSE, 0, second},
        {WM_ACTIVATE, Sent | WParam, WA_INACTIVE, 0, second},
        {WM_NCACTIVATE, Sent | WParam, TRUE, 0, first},
        {WM_ACTIVATE, Sent | WParam, WA_ACTIVE, 0, first},
        {WM_KILLFOCUS, Sent, 0, 0, second},
        {WM_SETFOCUS, Sent, 0, 0, first},
        {WM_NCPAINT, Sent | Optional, 0, 0, first},
        {WM_ERASEBKGND, Sent | Optional, 0, 0, first},
        {WM_WINDOWPOSCHANGED, Sent, 0, 0, second},
        {WM_DESTROY, Sent, 0, 0, second},
        {WM_NCDESTROY, Sent, 0, 0, second},
    }));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(UserWindowTest, NonClientGeometryFollowsTheClassicMetrics)
{
    struct Case {
        DWORD style;
        DWORD ex;
        BOOL menu;
        RECT expected;
    };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, 0, FALSE, {-4, -23, 104, 104}},
        {WS_OVERLAPPEDWINDOW, 0, TRUE, {-4, -42, 104, 104}},
        {WS_POPUP | WS_CAPTION, 0, FALSE, {-3, -22, 103, 103}},
        {WS_POPUP | WS_BORDER, 0, FALSE, {-1, -1, 101, 101}},
        {WS_CHILD, WS_EX_CLIENTEDGE, FALSE, {-2, -2, 102, 102}},
        {WS_POPUP, WS_EX_DLGMODALFRAME, FALSE, {-3, -3, 103, 103}},
        {WS_CHILD, 0, FALSE, {0, 0, 100, 100}},
    };
    for (const Case& c : cases) {
        RECT r{0, 0, 100, 100};
        ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, c.menu, c.ex));
        EXPECT_EQ(r.left, c.expected.left) << std::hex << c.style;
        EXPECT_EQ(r.top, c.expected.top) << std::hex << c.style;
        EXPECT_EQ(r.right, c.expected.right) << std::hex << c.style;
        EXPECT_EQ(r.bottom, c.expected.bottom) << std::hex << c.style;
        if (c.menu || (c.style & WS_CHILD))
            continue;
        // A window of the adjusted size gets exactly the client area asked for (large enough to
        // stay above the minimum tracking size).
        RECT big{0, 0, 200, 150};
        AdjustWindowRectEx(&big, c.style, FALSE, c.ex);
        HWND w = Create(c.style, 100, 100, big.right - big.left, big.bottom - big.top, nullptr, 0, c.ex);
        RECT client;
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 200) << std::hex << c.style;
        EXPECT_EQ(client.bottom, 150) << std::hex << c.style;
        POINT origin{0, 0};
        ClientToScreen(w, &origin);
        EXPECT_EQ(origin.x, 100 - c.expected.left);
        EXPECT_EQ(origin.y, 100 - c.expected.top);
        DestroyWindow(w);
    }
}

TEST_F(UserWindowTest, HitTestingFindsFramePartsAndTheDeepestChild)
{
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, top, 1);
    HWND inner = Create(WS_CHILD | WS_VISIBLE, 20, 20, 30, 30, child, 2);
    HWND hidden = Create(WS_CHILD, 150, 10, 50, 50, top, 3);
    struct Case {
        POINT screen;
        LRESULT hit;
        HWND window;
    };
    // Client origin is (104, 123).
    const Case cases[] = {
        {{150, 110}, HTCAPTION, top},
        {{105, 110}, HTSYSMENU, top},
        {{390, 110}, HTCLOSE, top},
        {{101, 200}, HTLEFT, top},
        {{398, 298}, HTBOTTOMRIGHT, top},
        {{104 + 15, 123 + 15}, HTCLIENT, child},
        {{104 + 35, 123 + 35}, HTCLIENT, inner},
        {{104 + 160, 123 + 20}, HTCLIENT, top},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowFromPoint(c.screen), c.window) << c.screen.x << "," << c.screen.y;
        EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(c.screen.x, c.screen.y)),
                  c.window == top ? c.hit : HTCLIENT)
            << c.screen.x << "," << c.screen.y;
    }
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{160, 20}), hidden) << "hidden children count";
    EXPECT_EQ(ChildWindowFromPointEx(top, POINT{160, 20}, CWP_SKIPINVISIBLE), top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{1000, 20}), nullptr);
    POINT p{0, 0};
    MapWindowPoints(inner, top, &p, 1);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 30);
}

TEST_F(UserWindowTest, TreeQueriesFollowZOrderAndOwnership)
{
    HWND a = Create(WS_OVERLAPPED, 0, 0, 100, 100, nullptr, 0, 0, "A");
    HWND b = Create(WS_OVERLAPPED, 0, 0, 100, 100, nullptr, 0, 0, "B");
    HWND popup = Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, a, 0, 0, "P");
    HWND c1 = Create(WS_CHILD, 0, 0, 10, 10, a, 1);
    HWND c2 = Create(WS_CHILD, 0, 0, 10, 10, a, 2);
    EXPECT_EQ(GetTopWindow(nullptr), popup);
    EXPECT_EQ(GetWindow(popup, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(GetWindow(a, GW_CHILD), c1) << "children keep creation order";
    EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
    EXPECT_EQ(GetWindow(c2, GW_HWNDPREV), c1);
    EXPECT_EQ(GetLastActivePopup(a), popup);
    EXPECT_EQ(GetAncestor(c2, GA_ROOT), a);
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), a);
    EXPECT_EQ(GetAncestor(c1, GA_PARENT), a);
    EXPECT_TRUE(IsChild(a, c1));
    EXPECT_FALSE(IsChild(a, popup));
    EXPECT_EQ(FindWindowA(nullptr, "B"), b);
    EXPECT_EQ(FindWindowA("spywindow", "A"), a) << "class names ignore case";
    EXPECT_EQ(FindWindowExA(a, c1, nullptr, nullptr), c2);
    std::vector<HWND> seen;
    EnumChildWindows(a, [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{c1, c2}));
    // An answer of FALSE stops the enumeration, which then answers FALSE.
    seen.clear();
    auto first = [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return FALSE;
    };
    EXPECT_FALSE(EnumChildWindows(a, first, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_FALSE(EnumWindows(first, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_FALSE(EnumThreadWindows(GetCurrentThreadId(), first, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], c1);
    DWORD pid = 0;
    EXPECT_NE(GetWindowThreadProcessId(a, &pid), 0u);
    EXPECT_NE(pid, 0u);
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(a, GW_HWNDPREV), popup) << "owned windows stay above their owner";
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
}

LRESULT CALLBACK Uppercase(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC g_previous = nullptr;

LRESULT CALLBACK Uppercase(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT) {
        std::string text = reinterpret_cast<const char*>(lParam);
        for (char& ch : text)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        return CallWindowProcA(g_previous, hwnd, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return CallWindowProcA(g_previous, hwnd, msg, wParam, lParam);
}

TEST_F(UserWindowTest, SubclassingThroughTheWindowProcedureLong)
{
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Uppercase)));
    ASSERT_TRUE(g_previous);
    SetWindowTextA(w, "hello");
    char text[16];
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ(text, "HELLO");
    EXPECT_EQ(GetWindowTextLengthA(w), 5);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Uppercase));
    EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 42), 0);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 42);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(w, 64), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    spy.Clear();
    SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
    EXPECT_TRUE(spy.Matches({{WM_STYLECHANGING, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)},
                             {WM_STYLECHANGED, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)}}));
}

TEST_F(UserWindowTest, MovingAndSizingSendsPositionMessages)
{
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
    spy.Clear();
    ASSERT_TRUE(MoveWindow(w, 20, 30, 120, 80, TRUE));
    EXPECT_TRUE(spy.Matches({
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_NCCALCSIZE, Sent | WParam, TRUE},
        {WM_NCPAINT, Sent | Optional},
        {WM_ERASEBKGND, Sent | Optional},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_MOVE, Sent | LParam, 0, MAKELPARAM(20, 30)},
        {WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED, MAKELPARAM(120, 80)},
    }));
    SetWindowPos(w, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // A moved window paints itself again where it now lies.
    EXPECT_TRUE(spy.Matches({{WM_WINDOWPOSCHANGING, Sent},
                             {WM_NCPAINT, Sent | Optional},
                             {WM_ERASEBKGND, Sent | Optional},
                             {WM_WINDOWPOSCHANGED, Sent},
                             {WM_MOVE, Sent}}));
    SetWindowPos(w, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(spy.Matches({})) << "nothing changes, nothing is sent";
    // A handler that changes WINDOWPOS wins.
    spy.handler = [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (m == WM_WINDOWPOSCHANGING)
            reinterpret_cast<WINDOWPOS*>(l)->cx = 33;
        return std::nullopt;
    };
    SetWindowPos(w, nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 33);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(UserWindowTest, ShowCommandsChangeStateSizeAndPlacement)
{
    HWND w = Create(WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    EXPECT_FALSE(ShowWindow(w, SW_SHOWNORMAL)) << "was hidden";
    EXPECT_TRUE(ShowWindow(w, SW_SHOW)) << "was visible";
    spy.Clear();
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.right, 1028);
    EXPECT_TRUE(spy.Matches({
        {WM_GETMINMAXINFO, Sent},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_NCCALCSIZE, Sent | WParam, TRUE},
        {WM_NCPAINT, Sent | Optional},
        {WM_ERASEBKGND, Sent | Optional},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_MOVE, Sent},
        {WM_SIZE, Sent | WParam | LParam, SIZE_MAXIMIZED, MAKELPARAM(1024, 768 - 19)},
    }));
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_NE(GetActiveWindow(), w);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(w, &wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 10);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 220);
    spy.Clear();
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(w)) << "restores to maximised";
    EXPECT_EQ(spy.Count(WM_SIZE), 1u);
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 310);
    spy.Clear();
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_TRUE(spy.Matches({{WM_SHOWWINDOW, Sent | WParam, FALSE},
                             {WM_WINDOWPOSCHANGING, Sent},
                             {WM_NCACTIVATE, Sent | Optional},
                             {WM_ACTIVATE, Sent | Optional},
                             {WM_ACTIVATEAPP, Sent | Optional},
                             {WM_KILLFOCUS, Sent | Optional},
                             {WM_WINDOWPOSCHANGED, Sent}}));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(ShowWindow(w, 99));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SHOWWIN_COMMAND));
}

TEST_F(UserWindowTest, ClassesRegisterOnceAndKeepTheirSettings)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Sample";
    wc.cbWndExtra = 16;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ATOM atom = RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    HWND w = CreateWindowExA(0, MAKEINTATOM(atom), "x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);
    char name[32];
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), 6);
    EXPECT_STREQ(name, "Sample");
    EXPECT_EQ(GetClassLongA(w, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW));
    SetWindowLongPtrA(w, 8, 0x1234);
    EXPECT_EQ(GetWindowLongPtrA(w, 8), 0x1234);
    EXPECT_FALSE(UnregisterClassA("Sample", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassA("Sample", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "Sample", "x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_EQ(CreateWindowExA(0, MessageSpy::ClassName(), "x", WS_CHILD, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(UserWindowTest, TextQueriesCutToTheBufferAndExtraBytesStayInBounds)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Extras";
    wc.cbClsExtra = 12;
    wc.cbWndExtra = 10;
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, "Extras", "Caption", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);

    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetClassNameA(w, buffer, 4), 3);
    EXPECT_STREQ(buffer, "Ext");
    EXPECT_EQ(buffer[4], 'x') << "nothing is written past the buffer";
    EXPECT_EQ(GetWindowTextA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Capt");
    EXPECT_EQ(GetWindowTextA(w, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");

    HWND gone = CreateWindowExA(0, "Extras", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    for (auto query : {+[](HWND h) { char b[8]; return GetClassNameA(h, b, sizeof b); },
                       +[](HWND h) { char b[8]; return GetWindowTextA(h, b, sizeof b); },
                       +[](HWND h) { return GetWindowTextLengthA(h); },
                       +[](HWND h) { return static_cast<int>(GetWindowThreadProcessId(h, nullptr)); }}) {
        SetLastError(0);
        EXPECT_EQ(query(gone), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    }

    // Class extra bytes: a pointer-sized value fits at 4 (4 + 8 = 12), not at 5.
    EXPECT_EQ(SetClassLongPtrA(w, 4, 0x55), 0u);
    EXPECT_EQ(GetClassLongPtrA(w, 4), 0x55u);
    SetLastError(0);
    EXPECT_EQ(GetClassLongPtrA(w, 5), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetLastError(0);
    EXPECT_EQ(SetClassLongPtrA(w, 5, 1), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

    // Window extra bytes: a pointer fits at 2, a word at 8; neither past the end.
    EXPECT_EQ(SetWindowLongPtrA(w, 2, 0x0102030405060708), 0);
    EXPECT_EQ(GetWindowLongPtrA(w, 2), 0x0102030405060708);
    EXPECT_EQ(GetWindowWord(w, 8), 0x0102);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrA(w, 3, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetLastError(0);
    EXPECT_EQ(GetWindowWord(w, 9), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassA("Extras", nullptr));
}

TEST_F(UserWindowTest, DesktopSizeIsConfigurable)
{
    host::SetDesktopSize(640, 480);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    RECT r;
    GetWindowRect(GetDesktopWindow(), &r);
    EXPECT_EQ(r.right, 640);
    HWND w = Create(WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 360);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
}

}  // namespace
