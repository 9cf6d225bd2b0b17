// Moving and sizing windows with the mouse (caption and border drags) and the keyboard (Move and
// Size from the window menu), and the window menu opened from the caption's icon or a right
// click on the caption.
#include <windows.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <host/Display.h>

#include <set>
#include <utility>
#include <vector>

using namespace spy;

namespace {

// A 300x200 overlapped window at (100, 100): caption from y 104 to 123, icon at its left end,
// sizing border 4 pixels wide.
constexpr int kLeft = 100, kTop = 100, kWidth = 300, kHeight = 200;
const POINT kCaption{250, 112};
const POINT kIcon{110, 112};

class UserMoveSizeTest : public ui::UiTest {
protected:
    MessageSpy spy;

    HWND Make(DWORD style = WS_OVERLAPPEDWINDOW)
    {
        HWND hwnd = CreateWindowExA(0, MessageSpy::ClassName(), "Moving", style | WS_VISIBLE, kLeft, kTop, kWidth,
                                    kHeight, nullptr, nullptr, nullptr, nullptr);
        ui::PumpUntilIdle();
        spy.Clear();
        return hwnd;
    }

    static RECT WindowRect(HWND hwnd)
    {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }

    // Presses the left button at `from`, moves through the points and lets go. The moves come
    // once the loop has the capture, as a hand would make them: before it, a point outside every
    // window would reach no window.
    static void Drag(POINT from, const std::vector<POINT>& path, bool expectLoop = true)
    {
        host::MouseMove(from.x, from.y);
        host::MouseDown();
        auto rest = [path] {
            for (POINT p : path)
                host::MouseMove(p.x, p.y);
            host::MouseUp();
        };
        if (expectLoop)
            host::RunInNextModalLoop([rest](HWND) { rest(); });
        ui::PumpUntilIdle();
        if (!expectLoop) {
            rest();
            ui::PumpUntilIdle();
        }
    }

    // The messages of the move/size protocol, in the order they came.
    std::vector<UINT> Protocol() const
    {
        static const std::set<UINT> kept = {WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_SIZING,
                                            WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE,
                                            WM_CAPTURECHANGED, WM_EXITSIZEMOVE};
        std::vector<UINT> out;
        for (const Recorded& r : spy.Messages())
            if (kept.count(r.message))
                out.push_back(r.message);
        return out;
    }

    size_t Count(UINT message) const { return spy.Count(message); }

    // Opens the window menu with Alt+Space and chooses the item; `keys` are then pressed inside
    // the loop the item starts.
    static void FromWindowMenu(HWND hwnd, UINT item, const std::vector<UINT>& keys)
    {
        SetActiveWindow(hwnd);
        SetFocus(hwnd);
        host::RunInNextModalLoop([item](HWND) { EXPECT_TRUE(host::ChooseMenuItem(item)); });
        host::RunInNextModalLoop([keys](HWND) {
            for (UINT vk : keys)
                host::PressKey(vk);
        });
        host::KeyDown(VK_MENU);
        host::PressKey(VK_SPACE);
        host::KeyUp(VK_MENU);
        ui::PumpUntilIdle();
    }
};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(UserMoveSizeTest, ACaptionDragMovesTheWindowStepByStep)
{
    HWND hwnd = Make();
    Drag(kCaption, {{kCaption.x + 30, kCaption.y + 20}, {kCaption.x + 50, kCaption.y + 40}});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{150, 140, 450, 340}));
    const std::vector<UINT> expected = {
        WM_SYSCOMMAND,
        WM_ENTERSIZEMOVE,
        WM_MOVING, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE,
        WM_MOVING, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE,
        WM_CAPTURECHANGED,
        WM_EXITSIZEMOVE,
    };
    EXPECT_EQ(Protocol(), expected);
    std::vector<Recorded> log = spy.Messages();
    for (const Recorded& r : log)
        if (r.message == WM_SYSCOMMAND) {
            EXPECT_EQ(r.wParam, static_cast<WPARAM>(SC_MOVE | HTCAPTION));
        }
    EXPECT_EQ(GetCapture(), nullptr);

    // WM_MOVING may change the rectangle: this window only moves sideways.
    spy.Clear();
    spy.handler = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MOVING) {
            RECT* r = reinterpret_cast<RECT*>(lParam);
            r->bottom -= r->top - 140;
            r->top = 140;
            return TRUE;
        }
        return std::nullopt;
    };
    POINT caption{kCaption.x + 50, kCaption.y + 40};
    Drag(caption, {{caption.x - 70, caption.y + 100}});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{80, 140, 380, 340}));
    spy.handler = nullptr;
}

// After a caption drag the screen shows the frame where it now lies (caption and client painted
// there) and what it uncovered: the window beneath it and the desktop.
TEST_F(UserMoveSizeTest, ACaptionDragRepaintsTheFrameAndWhatItUncovered)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "MovePainted";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    wc.lpszClassName = "MoveBeneath";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND beneath = CreateWindowExA(0, "MoveBeneath", "", WS_POPUP | WS_VISIBLE, 20, 20, 250, 400, nullptr, nullptr,
                                   nullptr, nullptr);
    HWND frame = CreateWindowExA(0, "MovePainted", "Moving", WS_OVERLAPPEDWINDOW | WS_VISIBLE, kLeft, kTop, kWidth,
                                 kHeight, nullptr, nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    ASSERT_EQ(host::DesktopPixel(250, 200), GetSysColor(COLOR_BTNFACE));

    Drag(kCaption, {{kCaption.x + 100, kCaption.y + 70}, {kCaption.x + 200, kCaption.y + 150}});
    ui::PumpUntilIdle();
    ASSERT_TRUE(Same(WindowRect(frame), RECT{300, 250, 600, 450}));
    EXPECT_EQ(host::DesktopPixel(450, 350), GetSysColor(COLOR_BTNFACE)) << "the client where the frame lies now";
    EXPECT_EQ(host::DesktopPixel(450, 262), GetSysColor(COLOR_ACTIVECAPTION)) << "its caption there";
    EXPECT_EQ(host::DesktopPixel(150, 200), GetSysColor(COLOR_WINDOW)) << "the window it uncovered";
    EXPECT_EQ(host::DesktopPixel(350, 150), GetSysColor(COLOR_BACKGROUND)) << "the desktop it uncovered";
    DestroyWindow(frame);
    DestroyWindow(beneath);
    UnregisterClassA("MovePainted", nullptr);
    UnregisterClassA("MoveBeneath", nullptr);
}

TEST_F(UserMoveSizeTest, EscapeRestoresTheRectangleTheDragStartedFrom)
{
    HWND hwnd = Make();
    host::MouseMove(kCaption.x, kCaption.y);
    host::MouseDown();
    host::RunInNextModalLoop([](HWND) {
        host::MouseMove(kCaption.x + 40, kCaption.y + 60);
        host::PressKey(VK_ESCAPE);
        host::MouseMove(kCaption.x + 80, kCaption.y + 90);  // after the loop: an ordinary move
        host::MouseUp();
    });
    ui::PumpUntilIdle();
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{kLeft, kTop, kLeft + kWidth, kTop + kHeight}));
    EXPECT_EQ(Count(WM_ENTERSIZEMOVE), 1u);
    EXPECT_EQ(Count(WM_EXITSIZEMOVE), 1u);
    EXPECT_EQ(Count(WM_MOVE), 2u);  // there and back
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserMoveSizeTest, ABorderDragSizesWithinTheTrackingLimits)
{
    struct Case {
        const char* what;
        POINT from;
        POINT by;
        WPARAM edge;
        RECT expected;
    };
    const Case cases[] = {
        {"right border, wider", {398, 200}, {50, 0}, WMSZ_RIGHT, {100, 100, 450, 300}},
        {"right border, below the minimum", {398, 200}, {-200, 0}, WMSZ_RIGHT, {100, 100, 320, 300}},
        {"left border keeps the right edge", {101, 200}, {150, 0}, WMSZ_LEFT, {180, 100, 400, 300}},
        {"top border", {250, 101}, {0, -30}, WMSZ_TOP, {100, 70, 400, 300}},
        {"bottom right corner, beyond the maximum", {398, 298}, {300, 300}, WMSZ_BOTTOMRIGHT, {100, 100, 500, 350}},
        {"top left corner", {101, 101}, {20, 10}, WMSZ_TOPLEFT, {120, 110, 400, 300}},
    };
    for (const Case& c : cases) {
        HWND hwnd = Make();
        spy.handler = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_GETMINMAXINFO) {
                auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
                mmi->ptMinTrackSize = POINT{220, 150};
                mmi->ptMaxTrackSize = POINT{400, 250};
                return 0;
            }
            return std::nullopt;
        };
        Drag(c.from, {{c.from.x + c.by.x, c.from.y + c.by.y}});
        RECT r = WindowRect(hwnd);
        EXPECT_TRUE(Same(r, c.expected)) << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        bool sawSizing = false;
        for (const Recorded& m : spy.Messages()) {
            if (m.message == WM_SYSCOMMAND) {
                EXPECT_EQ(m.wParam, SC_SIZE | c.edge) << c.what;
            }
            if (m.message == WM_SIZING) {
                EXPECT_EQ(m.wParam, c.edge) << c.what;
                sawSizing = true;
            }
        }
        EXPECT_TRUE(sawSizing) << c.what;
        EXPECT_EQ(Count(WM_SIZE), 1u) << c.what;
        EXPECT_EQ(Count(WM_EXITSIZEMOVE), 1u) << c.what;
        spy.handler = nullptr;
        DestroyWindow(hwnd);
    }
}

TEST_F(UserMoveSizeTest, MaximizedAndFixedFrameWindowsStayPut)
{
    // A maximized window does not move by its caption.
    HWND big = Make();
    ShowWindow(big, SW_MAXIMIZE);
    ui::PumpUntilIdle();
    RECT before = WindowRect(big);
    spy.Clear();
    Drag(POINT{500, 8}, {{560, 60}}, false);
    EXPECT_TRUE(Same(WindowRect(big), before));
    EXPECT_EQ(Count(WM_ENTERSIZEMOVE), 0u);
    DestroyWindow(big);

    // A window without a sizing border moves but does not size.
    HWND fixed = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    Drag(POINT{kLeft + kWidth - 1, 200}, {{kLeft + kWidth + 60, 200}}, false);
    EXPECT_TRUE(Same(WindowRect(fixed), RECT{kLeft, kTop, kLeft + kWidth, kTop + kHeight}));
    EXPECT_EQ(Count(WM_ENTERSIZEMOVE), 0u);
    Drag(POINT{200, 108}, {{210, 118}});
    EXPECT_TRUE(Same(WindowRect(fixed), RECT{kLeft + 10, kTop + 10, kLeft + kWidth + 10, kTop + kHeight + 10}));
}

TEST_F(UserMoveSizeTest, AChildWithACaptionMovesWithinItsParent)
{
    HWND parent = Make();
    // The parent's client area starts at (104, 123); the child sits at (10, 10) in it.
    HWND child = CreateWindowExA(0, MessageSpy::ClassName(), "Inner", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME,
                                 10, 10, 150, 100, parent, nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    spy.Clear();
    Drag(POINT{180, 145}, {{200, 160}});
    EXPECT_TRUE(Same(WindowRect(child), RECT{134, 148, 284, 248}));
    LPARAM lastMove = 0;
    for (const Recorded& m : spy.Messages(child))
        if (m.message == WM_MOVE)
            lastMove = m.lParam;
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    EXPECT_EQ(lastMove, MAKELPARAM(origin.x, origin.y));
    EXPECT_EQ(origin.x, 30 + 4);  // the frame is 4 wide
    EXPECT_TRUE(Same(WindowRect(parent), RECT{kLeft, kTop, kLeft + kWidth, kTop + kHeight}));
}

TEST_F(UserMoveSizeTest, MoveAndSizeFromTheWindowMenuFollowTheArrowKeys)
{
    HWND hwnd = Make();
    FromWindowMenu(hwnd, SC_MOVE, {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{116, 108, 416, 308}));
    EXPECT_EQ(Count(WM_ENTERSIZEMOVE), 1u);
    EXPECT_EQ(Count(WM_MOVING), 3u);
    EXPECT_EQ(Count(WM_EXITSIZEMOVE), 1u);

    // Sizing: the first arrow picks the right edge, a down arrow then makes it the corner.
    spy.Clear();
    FromWindowMenu(hwnd, SC_SIZE, {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{116, 108, 432, 316}));
    std::vector<WPARAM> edges;
    for (const Recorded& m : spy.Messages())
        if (m.message == WM_SIZING)
            edges.push_back(m.wParam);
    EXPECT_EQ(edges, (std::vector<WPARAM>{WMSZ_RIGHT, WMSZ_RIGHT, WMSZ_BOTTOMRIGHT}));

    // Escape puts it back.
    FromWindowMenu(hwnd, SC_SIZE, {VK_LEFT, VK_LEFT, VK_LEFT, VK_ESCAPE});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{116, 108, 432, 316}));
    FromWindowMenu(hwnd, SC_MOVE, {VK_UP, VK_LEFT, VK_ESCAPE});
    EXPECT_TRUE(Same(WindowRect(hwnd), RECT{116, 108, 432, 316}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserMoveSizeTest, TheCaptionIconAndARightClickOpenTheWindowMenu)
{
    HWND hwnd = Make();
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    host::RunInNextModalLoop([](HWND) { EXPECT_TRUE(host::CancelMenu()); });
    host::Click(kIcon.x, kIcon.y);
    ui::PumpUntilIdle();
    EXPECT_TRUE(IsWindow(hwnd));
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (const Recorded& m : spy.Messages(hwnd))
        if (m.message == WM_SYSCOMMAND || m.message == WM_INITMENU)
            seen.emplace_back(m.message, m.wParam);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU},
        {WM_INITMENU, reinterpret_cast<WPARAM>(menu)},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Count(WM_INITMENU), 1u);

    // Right click on the caption: the menu opens where the mouse is.
    spy.Clear();
    host::RunInNextModalLoop([hwnd, menu](HWND owner) {
        EXPECT_EQ(owner, hwnd);
        RECT item{};
        EXPECT_TRUE(GetMenuItemRect(hwnd, menu, 0, &item));
        EXPECT_EQ(item.left, kCaption.x + 3);
        EXPECT_EQ(item.top, kCaption.y + 3);
        EXPECT_TRUE(host::CancelMenu());
    });
    host::Click(kCaption.x, kCaption.y, host::MouseButton::Right);
    ui::PumpUntilIdle();
    EXPECT_EQ(Count(WM_CONTEXTMENU), 1u);
    EXPECT_EQ(Count(WM_INITMENU), 1u);
    EXPECT_TRUE(IsWindow(hwnd));

    // A double click on the icon: the first click opens the menu, the second closes the window.
    host::StepClock(1000);
    host::Click(kIcon.x, kIcon.y);
    host::Click(kIcon.x, kIcon.y);
    ui::PumpUntilIdle();
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
