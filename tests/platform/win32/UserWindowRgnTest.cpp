// Window regions: a shaped window paints and takes the mouse only inside its region; outside it
// the window below shows and gets the clicks; the window owns the region it was given.
#include <windows.h>

#include <host/Display.h>
#include <host/Input.h>

#include <UiTest.h>

#include <vector>

namespace {

struct Press {
    HWND hwnd;
    POINT at;
};
std::vector<Press> g_presses;

LRESULT CALLBACK PressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_LBUTTONDOWN)
        g_presses.push_back({hwnd, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}});
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class UserWindowRgnTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        g_presses.clear();
        red = CreateSolidBrush(RGB(255, 0, 0));
        blue = CreateSolidBrush(RGB(0, 0, 255));
        Register("RgnRed", red);
        Register("RgnBlue", blue);
        below = CreateWindowExA(0, "RgnRed", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        above = CreateWindowExA(0, "RgnBlue", "", WS_POPUP | WS_VISIBLE, 50, 40, 120, 100, nullptr, nullptr, nullptr,
                                nullptr);
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        DestroyWindow(above);
        DestroyWindow(below);
        UnregisterClassA("RgnRed", nullptr);
        UnregisterClassA("RgnBlue", nullptr);
        DeleteObject(red);
        DeleteObject(blue);
        UiTest::TearDown();
    }
    static void Register(const char* name, HBRUSH brush)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PressProc;
        wc.lpszClassName = name;
        wc.hbrBackground = brush;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        ASSERT_NE(RegisterClassA(&wc), 0);
    }

    HBRUSH red = nullptr, blue = nullptr;
    HWND below = nullptr, above = nullptr;
};

TEST_F(UserWindowRgnTest, OutsideTheRoundedCornersTheWindowBelowShowsAndTakesTheClick)
{
    // Before: the square window covers its corner.
    EXPECT_EQ(host::DesktopPixel(51, 41), RGB(0, 0, 255));
    ASSERT_EQ(SetWindowRgn(above, CreateRoundRectRgn(0, 0, 121, 101, 36, 36), TRUE), 1);
    ui::PumpUntilIdle();

    struct Case {
        POINT screen;
        COLORREF shown;
        bool inAbove;
    };
    const Case cases[] = {
        {{51, 41}, RGB(255, 0, 0), false},    // top-left corner, cut away
        {{168, 138}, RGB(255, 0, 0), false},  // bottom-right corner, cut away
        {{168, 41}, RGB(255, 0, 0), false},   // top-right corner
        {{110, 90}, RGB(0, 0, 255), true},    // the middle
        {{110, 41}, RGB(0, 0, 255), true},    // the top edge between the corners
        {{51, 90}, RGB(0, 0, 255), true},     // the left edge between the corners
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.x << "," << c.screen.y);
        EXPECT_EQ(host::DesktopPixel(c.screen.x, c.screen.y), c.shown);
        EXPECT_EQ(WindowFromPoint(c.screen), c.inAbove ? above : below);
        g_presses.clear();
        host::Click(c.screen.x, c.screen.y);
        ui::PumpUntilIdle();
        ASSERT_EQ(g_presses.size(), 1u);
        EXPECT_EQ(g_presses[0].hwnd, c.inAbove ? above : below);
        const POINT expected = c.inAbove ? POINT{c.screen.x - 50, c.screen.y - 40} : c.screen;
        EXPECT_EQ(g_presses[0].at.x, expected.x);
        EXPECT_EQ(g_presses[0].at.y, expected.y);
        // The click activated the window it reached, which came to the top: back as it was.
        SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ui::PumpUntilIdle();
    }

    // Taking the region away gives the corners back to the window.
    ASSERT_EQ(SetWindowRgn(above, nullptr, TRUE), 1);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(51, 41), RGB(0, 0, 255));
    EXPECT_EQ(WindowFromPoint(POINT{51, 41}), above);
}

TEST_F(UserWindowRgnTest, AChildsRegionShowsItsParentAndClipsItsOwnPainting)
{
    HWND child = CreateWindowExA(0, "RgnBlue", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 60, below, nullptr, nullptr, nullptr);
    // A child region that is a circle: the child's corners are the parent's.
    ASSERT_EQ(SetWindowRgn(child, CreateEllipticRgn(0, 0, 60, 60), TRUE), 1);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(11, 11), RGB(255, 0, 0));
    EXPECT_EQ(host::DesktopPixel(40, 40), RGB(0, 0, 255));
    EXPECT_EQ(ChildWindowFromPoint(below, POINT{11, 11}), below);
    EXPECT_EQ(ChildWindowFromPoint(below, POINT{40, 40}), child);

    // Drawing through a DC of the child never reaches outside the circle.
    HDC dc = GetDC(child);
    RECT all{0, 0, 60, 60};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    ReleaseDC(child, dc);
    DeleteObject(green);
    EXPECT_EQ(host::DesktopPixel(11, 11), RGB(255, 0, 0));
    EXPECT_EQ(host::DesktopPixel(40, 40), RGB(0, 255, 0));
    DestroyWindow(child);
}

TEST_F(UserWindowRgnTest, GetWindowRgnCopiesAndTheWindowOwnsItsRegion)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(above, copy), ERROR) << "no region yet";

    HRGN first = CreateRoundRectRgn(0, 0, 121, 101, 36, 36);
    RECT given, box;
    GetRgnBox(first, &given);
    ASSERT_EQ(SetWindowRgn(above, first, FALSE), 1);
    EXPECT_EQ(GetWindowRgn(above, copy), COMPLEXREGION);
    GetRgnBox(copy, &box);
    EXPECT_TRUE(EqualRect(&box, &given));
    EXPECT_TRUE(EqualRgn(copy, first)) << "a copy of the region, in window coordinates";

    // A new region replaces the old one, which the window deletes.
    HRGN second = CreateRectRgn(0, 0, 10, 10);
    ASSERT_EQ(SetWindowRgn(above, second, FALSE), 1);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetWindowRgn(above, copy), SIMPLEREGION);
    // The window deletes its region when it goes.
    DestroyWindow(above);
    above = nullptr;
    EXPECT_EQ(GetObjectType(second), 0u);

    // Bad arguments.
    EXPECT_EQ(SetWindowRgn(nullptr, nullptr, FALSE), 0);
    EXPECT_EQ(SetWindowRgn(below, reinterpret_cast<HRGN>(red), FALSE), 0) << "a brush is no region";
    DeleteObject(copy);
}

}  // namespace
