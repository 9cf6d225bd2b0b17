// Focus, activation, capture, enabling and the mouse and keyboard input path.
#include <windows.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <thread>

using namespace spy;

namespace {

class UserInputTest : public ui::UiTest {
protected:
    MessageSpy spy;

    HWND Top(int x, int y, const char* title = "T")
    {
        return CreateWindowExA(0, MessageSpy::ClassName(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 150,
                               nullptr, nullptr, nullptr, nullptr);
    }
    HWND Child(HWND parent, int id, int x, int y)
    {
        return CreateWindowExA(0, MessageSpy::ClassName(), "", WS_CHILD | WS_VISIBLE, x, y, 50, 50, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
};

TEST_F(UserInputTest, FocusMovesWithKillAndSetFocus)
{
    HWND top = Top(0, 0);
    HWND a = Child(top, 1, 0, 0), b = Child(top, 2, 60, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    EXPECT_EQ(SetFocus(a), top);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(spy.Matches({
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(a), 0, top},
        {WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(top), 0, a},
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(b), 0, a},
        {WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(a), 0, b},
    }));
    EXPECT_EQ(GetFocus(), b);
    // Hiding the focus window gives the focus to its parent.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    // Disabling the focus window's parent takes the focus away.
    SetFocus(a);
    spy.Clear();
    EnableWindow(top, FALSE);
    EXPECT_TRUE(spy.Matches({
        {WM_CANCELMODE, Sent, 0, 0, top},
        {WM_KILLFOCUS, Sent | WParam, 0, 0, a},
        {WM_ENABLE, Sent | WParam, FALSE, 0, top},
    }));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(top, TRUE)) << "was disabled";
    EXPECT_FALSE(EnableWindow(top, TRUE));
}

TEST_F(UserInputTest, ActivationSwitchesBetweenTopLevelWindows)
{
    HWND first = Top(0, 0, "first");
    HWND second = Top(300, 0, "second");
    ui::PumpUntilIdle();
    spy.Clear();
    EXPECT_EQ(SetActiveWindow(first), second);
    EXPECT_TRUE(spy.Matches({
        {WM_NCACTIVATE, Sent | WParam, FALSE, 0, second},
        {WM_ACTIVATE, Sent | WParam | LParam, WA_INACTIVE, reinterpret_cast<LPARAM>(first), second},
        {WM_NCACTIVATE, Sent | WParam, TRUE, 0, first},
        {WM_ACTIVATE, Sent | WParam | LParam, WA_ACTIVE, reinterpret_cast<LPARAM>(second), first},
        {WM_KILLFOCUS, Sent, 0, 0, second},
        {WM_SETFOCUS, Sent, 0, 0, first},
    }));
    EXPECT_EQ(GetTopWindow(nullptr), first) << "the active window comes to the top";
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_TRUE(SetForegroundWindow(second));
    EXPECT_EQ(GetActiveWindow(), second);
    // Hiding every window ends the application's activation.
    spy.Clear();
    ShowWindow(first, SW_HIDE);
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(spy.Count(WM_ACTIVATEAPP, first), 1u);
    spy.Clear();
    ShowWindow(first, SW_SHOW);
    EXPECT_TRUE(spy.Matches({
        {WM_SHOWWINDOW, Sent, 0, 0, first},
        {WM_WINDOWPOSCHANGING, Sent, 0, 0, first},
        {WM_ACTIVATEAPP, Sent | WParam, TRUE, 0, first},
        {WM_ACTIVATEAPP, Sent | WParam, TRUE, 0, second},
        {WM_NCACTIVATE, Sent | WParam, TRUE, 0, first},
        {WM_ACTIVATE, Sent | WParam, WA_ACTIVE, 0, first},
        {WM_SETFOCUS, Sent, 0, 0, first},
        {WM_NCPAINT, Sent | Optional, 0, 0, first},
        {WM_ERASEBKGND, Sent | Optional, 0, 0, first},
        {WM_WINDOWPOSCHANGED, Sent, 0, 0, first},
    }));
}

TEST_F(UserInputTest, ClickOnAnInactiveWindowActivatesItFirst)
{
    HWND first = Top(0, 0);
    HWND second = Top(300, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    host::Click(50, 80);  // client area of `first`
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({
        {WM_MOUSEMOVE, Posted, 0, 0, first},
        {WM_MOUSEACTIVATE, Sent | WParam | LParam, reinterpret_cast<WPARAM>(first), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN), first},
        {WM_NCACTIVATE, Sent, 0, 0, second},
        {WM_ACTIVATE, Sent, 0, 0, second},
        {WM_NCACTIVATE, Sent, 0, 0, first},
        {WM_ACTIVATE, Sent | WParam, WA_CLICKACTIVE, 0, first},
        {WM_KILLFOCUS, Sent, 0, 0, second},
        {WM_SETFOCUS, Sent, 0, 0, first},
        {WM_LBUTTONDOWN, Posted | WParam | LParam, MK_LBUTTON, MAKELPARAM(50 - 4, 80 - 23), first},
        {WM_LBUTTONUP, Posted | WParam, 0, 0, first},
    }));
    EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(UserInputTest, DoubleClicksAreTimedFromTheClock)
{
    HWND spyWindow = Top(0, 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "NoDouble";
    RegisterClassA(&wc);
    HWND plain = CreateWindowExA(0, "NoDouble", "", WS_CHILD | WS_VISIBLE, 100, 0, 50, 50, spyWindow, nullptr, nullptr, nullptr);
    spy.Watch(plain);
    ui::PumpUntilIdle();
    struct Case {
        int x;
        DWORD pause;
        UINT second;
    };
    const Case cases[] = {
        {20, 100, WM_LBUTTONDBLCLK},
        {20, 501, WM_LBUTTONDOWN},
        {4 + 100 + 10, 100, WM_LBUTTONDOWN},  // class without CS_DBLCLKS
    };
    for (const Case& c : cases) {
        host::Click(c.x, 60);
        ui::PumpUntilIdle();
        host::StepClock(c.pause);
        spy.Clear();
        host::Click(c.x, 60);
        ui::PumpUntilIdle();
        std::vector<UINT> buttons;
        for (const Recorded& r : spy.Messages())
            if (r.message != WM_MOUSEMOVE)
                buttons.push_back(r.message);
        EXPECT_EQ(buttons, (std::vector<UINT>{c.second, WM_LBUTTONUP})) << c.x << " after " << c.pause;
        host::StepClock(1000);
    }
    UnregisterClassA("NoDouble", nullptr);
}

TEST_F(UserInputTest, CaptureTakesMouseInputAndReportsItsLoss)
{
    HWND first = Top(0, 0);
    HWND second = Top(300, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    EXPECT_EQ(SetCapture(first), nullptr);
    EXPECT_EQ(GetCapture(), first);
    host::MouseMove(350, 80);  // over `second`
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_MOUSEMOVE, Posted | LParam, 0, MAKELPARAM(350 - 4, 80 - 23), first}}));
    EXPECT_EQ(SetCapture(second), first);
    EXPECT_TRUE(spy.Matches({{WM_CAPTURECHANGED, Sent | LParam, 0, reinterpret_cast<LPARAM>(second), first}}));
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_TRUE(spy.Matches({{WM_CAPTURECHANGED, Sent | LParam, 0, 0, second}}));
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(first);
    spy.Clear();
    DestroyWindow(first);
    EXPECT_EQ(spy.Count(WM_CAPTURECHANGED, first), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserInputTest, FocusActivationAndCaptureAreAnsweredPerThread)
{
    HWND top = Top(0, 0);
    ui::PumpUntilIdle();
    SetFocus(top);
    SetCapture(top);
    HWND seen[3] = {top, top, top};
    std::thread([&] {
        seen[0] = GetFocus();
        seen[1] = GetActiveWindow();
        seen[2] = GetCapture();
    }).join();
    for (HWND h : seen)
        EXPECT_EQ(h, nullptr) << "another thread's windows are not reported";
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetCapture(), top);
    EXPECT_EQ(SetCapture(nullptr), top);
    ReleaseCapture();
}

TEST_F(UserInputTest, DisabledWindowsGetNoMouseInput)
{
    HWND top = Top(0, 0);
    HWND child = Child(top, 1, 10, 10);
    EnableWindow(child, FALSE);
    ui::PumpUntilIdle();
    spy.Clear();
    host::Click(4 + 20, 23 + 20);  // on the disabled child
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_LBUTTONDOWN, child), 0u);
    EXPECT_EQ(spy.Count(WM_LBUTTONDOWN, top), 1u) << "the parent gets it";
    EnableWindow(top, FALSE);
    spy.Clear();
    host::Click(100, 100);
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_LBUTTONDOWN), 0u);
}

TEST_F(UserInputTest, CaptionButtonsSendSystemCommands)
{
    HWND top = Top(0, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    // The close box sits at the right end of the caption: window right (200) - frame (4) - 9.
    host::Click(200 - 4 - 9, 4 + 9);
    ui::PumpUntilIdle();
    EXPECT_FALSE(IsWindow(top));
    EXPECT_TRUE(spy.Matches({
        {WM_NCMOUSEMOVE, Posted | WParam, HTCLOSE},
        {WM_NCLBUTTONDOWN, Posted | WParam, HTCLOSE},
        {WM_NCLBUTTONUP, Posted | WParam, HTCLOSE},
        {WM_SYSCOMMAND, Sent | WParam, SC_CLOSE},
        {WM_CLOSE, Sent},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_NCACTIVATE, Sent},
        {WM_ACTIVATE, Sent},
        {WM_ACTIVATEAPP, Sent},
        {WM_KILLFOCUS, Sent},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_DESTROY, Sent},
        {WM_NCDESTROY, Sent},
    }));
}

TEST_F(UserInputTest, KeyStateFollowsRetrievedMessages)
{
    HWND top = Top(0, 0);
    ui::PumpUntilIdle();
    host::KeyDown(VK_SHIFT);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0) << "asynchronous state changes at once";
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "synchronous state changes with the message";
    ui::PumpUntilIdle();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    host::KeyUp(VK_SHIFT);
    ui::PumpUntilIdle();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    host::PressKey(VK_CAPITAL);
    ui::PumpUntilIdle();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1) << "toggled";
    spy.Clear();
    host::PressKey('A');
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Messages(top)[1].wParam, static_cast<WPARAM>('A')) << "caps lock gives upper case";
    // Alt turns keys into system keys.
    spy.Clear();
    host::KeyDown(VK_MENU);
    host::PressKey('X');
    host::KeyUp(VK_MENU);
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_SYSKEYDOWN, top), 2u);
    EXPECT_EQ(spy.Count(WM_SYSCHAR, top), 1u);

    EXPECT_EQ(VkKeyScanA('a'), 'A');
    EXPECT_EQ(VkKeyScanA('A'), 0x100 | 'A');
    EXPECT_EQ(VkKeyScanA('?'), 0x100 | VK_OEM_2);
    EXPECT_EQ(VkKeyScanA('1'), '1');
    EXPECT_EQ(MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC), 0x1Cu);
    EXPECT_EQ(MapVirtualKeyA(0x1E, MAPVK_VSC_TO_VK), static_cast<UINT>('A'));
    EXPECT_EQ(MapVirtualKeyA('B', MAPVK_VK_TO_CHAR), static_cast<UINT>('B'));
}

TEST_F(UserInputTest, SynthesisedInputTakesTheSamePath)
{
    HWND top = Top(0, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 50 * 65536 / 1024, 60 * 65536 / 768, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({
        {WM_MOUSEMOVE, Posted | LParam, 0, MAKELPARAM(50 - 4, 60 - 23), top},
        {WM_LBUTTONDOWN, Posted, 0, 0, top},
        {WM_LBUTTONUP, Posted, 0, 0, top},
        {WM_KEYDOWN, Posted | WParam, VK_RETURN, 0, top},
        {WM_CHAR, Posted | WParam, '\r', 0, top},
        {WM_KEYUP, Posted | WParam, VK_RETURN, 0, top},
    }));
}

TEST_F(UserInputTest, CursorFollowsTheClassCursorAndShowCount)
{
    HWND top = Top(0, 0);
    ui::PumpUntilIdle();
    host::MouseMove(50, 50);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::SystemCursorId(GetCursor()), 32512) << "the spy class has the arrow";
    host::MouseMove(1, 50);  // left frame
    ui::PumpUntilIdle();
    EXPECT_EQ(host::SystemCursorId(GetCursor()), 32644);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(host::SystemCursorId(LoadCursorA(nullptr, IDC_WAIT)), 32514);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCE(1)), nullptr);
    RECT clip{10, 10, 20, 20};
    ClipCursor(&clip);
    SetCursorPos(100, 0);
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 19);
    EXPECT_EQ(p.y, 10);
    ClipCursor(nullptr);
    (void)top;
}

}  // namespace
