// Scroll bars: the control and the window bars, driven by clicks, drags and the keyboard.
#include "ControlTestSupport.h"

using ctl::Scroll;

namespace {

class CtlScrollBarTest : public ctl::ControlTest {
protected:
    // A vertical bar 16 wide and 200 high: arrows 0..16 and 184..200, the thumb in between.
    HWND Bar(int min = 0, int max = 100, UINT page = 0)
    {
        HWND b = Make("SCROLLBAR", "", SBS_VERT, 9, 20, 20, 16, 200);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, min, max, page, 0, 0};
        SetScrollInfo(b, SB_CTL, &si, TRUE);
        ui::PumpUntilIdle();
        return b;
    }
};

TEST_F(CtlScrollBarTest, ClicksOnArrowsAndTrackRequestLinesAndPages)
{
    HWND b = Bar();
    struct Case {
        int y;
        int code;
    };
    const Case cases[] = {{5, SB_LINEDOWN - 1 /* SB_LINEUP */}, {195, SB_LINEDOWN}, {150, SB_PAGEDOWN}};
    for (const Case& c : cases) {
        spy.Clear();
        ClickAt(At(b, 8, c.y));
        EXPECT_EQ(Scrolls(parent), (std::vector<Scroll>{{WM_VSCROLL, c.code, 0, b}, {WM_VSCROLL, SB_ENDSCROLL, 0, b}}))
            << "y " << c.y;
    }
    // The parent moves the thumb; then the track above it pages up.
    SetScrollPos(b, SB_CTL, 80, TRUE);
    ui::PumpUntilIdle();
    spy.Clear();
    ClickAt(At(b, 8, 30));
    EXPECT_EQ(Scrolls(parent), (std::vector<Scroll>{{WM_VSCROLL, SB_PAGEUP, 0, b}, {WM_VSCROLL, SB_ENDSCROLL, 0, b}}));
    // Keyboard on the focused bar.
    SetFocus(b);
    spy.Clear();
    host::PressKey(VK_NEXT);
    host::PressKey(VK_HOME);
    ui::PumpUntilIdle();
    EXPECT_EQ(Scrolls(parent), (std::vector<Scroll>{{WM_VSCROLL, SB_PAGEDOWN, 0, b},
                                                    {WM_VSCROLL, SB_ENDSCROLL, 0, b},
                                                    {WM_VSCROLL, SB_TOP, 0, b},
                                                    {WM_VSCROLL, SB_ENDSCROLL, 0, b}}));
}

TEST_F(CtlScrollBarTest, DraggingTheThumbTracksThenSetsThePosition)
{
    HWND b = Bar(0, 100, 20);
    int trackSeen = -1;
    spy.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK) {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
            GetScrollInfo(b, SB_CTL, &si);
            trackSeen = si.nTrackPos;
            EXPECT_EQ(si.nPos, 0) << "the position stays until the owner sets it";
        }
        if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBPOSITION)
            SetScrollPos(b, SB_CTL, HIWORD(wParam), TRUE);
        return std::nullopt;
    };
    // The thumb of a page of 20 in 0..100 sits at the top of the track (16..184).
    POINT grab = At(b, 8, 25);
    spy.Clear();
    host::MouseMove(grab.x, grab.y);
    host::MouseDown();
    // Each step runs inside the bar's mouse loop once it has nothing else to do.
    host::RunInNextModalLoop([&](HWND) { host::MouseMove(grab.x, grab.y + 40); });
    host::RunInNextModalLoop([&](HWND) {
        host::MouseMove(grab.x, grab.y + 400);  // past the end: the last position
        host::MouseUp();
    });
    ui::PumpUntilIdle();
    std::vector<Scroll> got = Scrolls(parent);
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(got[0].code, SB_THUMBTRACK);
    EXPECT_GT(got[0].pos, 0);
    EXPECT_EQ(got[1], (Scroll{WM_VSCROLL, SB_THUMBTRACK, 81, b}));
    EXPECT_EQ(got[2], (Scroll{WM_VSCROLL, SB_THUMBPOSITION, 81, b}));
    EXPECT_EQ(got[3], (Scroll{WM_VSCROLL, SB_ENDSCROLL, 0, b}));
    EXPECT_EQ(trackSeen, 81);
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 81) << "max - page + 1";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CtlScrollBarTest, ScrollInfoRangesAndArrows)
{
    HWND b = Make("SCROLLBAR", "", SBS_HORZ, 3, 10, 10, 200, 16);
    int lo = -1, hi = -1;
    EXPECT_TRUE(GetScrollRange(b, SB_CTL, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0) << "a new control has an empty range";
    EXPECT_TRUE(SetScrollRange(b, SB_CTL, 10, 50, FALSE));
    EXPECT_EQ(SetScrollPos(b, SB_CTL, 100, FALSE), 10);
    EXPECT_EQ(GetScrollPos(b, SB_CTL), 50) << "clamped to the range";
    SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 11, 0, 0};
    EXPECT_EQ(SetScrollInfo(b, SB_CTL, &si, FALSE), 40) << "a page pulls the position back";
    si = SCROLLINFO{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(b, SB_CTL, &si));
    EXPECT_EQ(si.nMin, 10);
    EXPECT_EQ(si.nMax, 50);
    EXPECT_EQ(si.nPage, 11u);
    EXPECT_EQ(si.nPos, 40);
    EXPECT_FALSE(SetScrollRange(b, SB_CTL, -2, 0x7FFFFFFF, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
    // A disabled arrow does nothing when clicked; the other still works.
    EXPECT_TRUE(EnableScrollBar(b, SB_CTL, ESB_DISABLE_LEFT));
    EXPECT_FALSE(EnableScrollBar(b, SB_CTL, ESB_DISABLE_LEFT)) << "no change";
    ui::PumpUntilIdle();
    spy.Clear();
    ClickAt(At(b, 5, 8));
    ClickAt(At(b, 195, 8));
    EXPECT_EQ(Scrolls(parent), (std::vector<Scroll>{{WM_HSCROLL, SB_LINERIGHT, 0, b}, {WM_HSCROLL, SB_ENDSCROLL, 0, b}}));
}

TEST_F(CtlScrollBarTest, WindowScrollBarsLiveInTheFrame)
{
    HWND w = CreateWindowExA(0, spy::MessageSpy::ClassName(), "Scrolled", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                             450, 0, 300, 250, nullptr, nullptr, nullptr, nullptr);
    int lo = -1, hi = -1;
    EXPECT_TRUE(GetScrollRange(w, SB_VERT, &lo, &hi));
    EXPECT_EQ(hi, 100) << "window bars start with 0..100";
    SetScrollRange(w, SB_VERT, 0, 50, TRUE);
    SetScrollRange(w, SB_HORZ, 0, 50, TRUE);
    ui::PumpUntilIdle();
    RECT c;
    GetClientRect(w, &c);
    POINT corner{c.right, c.bottom};
    ClientToScreen(w, &corner);
    spy.Clear();
    ClickAt(POINT{corner.x + 8, corner.y - 5});   // down arrow
    ClickAt(POINT{corner.x - 5, corner.y + 8});   // right arrow
    EXPECT_EQ(Scrolls(w), (std::vector<Scroll>{{WM_VSCROLL, SB_LINEDOWN, 0, nullptr},
                                               {WM_VSCROLL, SB_ENDSCROLL, 0, nullptr},
                                               {WM_HSCROLL, SB_LINERIGHT, 0, nullptr},
                                               {WM_HSCROLL, SB_ENDSCROLL, 0, nullptr}}));
    // Dragging the vertical thumb.
    SetScrollPos(w, SB_VERT, 0, TRUE);
    POINT top{c.right + 8, 16 + 8};
    ClientToScreen(w, &top);
    spy.Clear();
    host::MouseMove(top.x, top.y);
    host::MouseDown();
    host::RunInNextModalLoop([&](HWND) {
        host::MouseMove(top.x, top.y + 400);
        host::MouseUp();
    });
    ui::PumpUntilIdle();
    std::vector<Scroll> got = Scrolls(w);
    ASSERT_EQ(got.size(), 3u) << ::testing::PrintToString(got);
    EXPECT_EQ(got[0], (Scroll{WM_VSCROLL, SB_THUMBTRACK, 50, nullptr}));
    EXPECT_EQ(got[1], (Scroll{WM_VSCROLL, SB_THUMBPOSITION, 50, nullptr}));

    // Nothing to scroll: the bar goes away and the client area grows; a range brings it back.
    LONG width = c.right;
    SetScrollRange(w, SB_VERT, 0, 0, TRUE);
    EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
    GetClientRect(w, &c);
    EXPECT_EQ(c.right, width + GetSystemMetrics(SM_CXVSCROLL));
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
    // SIF_DISABLENOSCROLL keeps it, disabled.
    si = SCROLLINFO{sizeof si, SIF_RANGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(ShowScrollBar(w, SB_BOTH, FALSE));
    EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));

    // A window that never had a bar.
    HWND plain = CreateWindowExA(0, spy::MessageSpy::ClassName(), "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetLastError(0);
    EXPECT_EQ(GetScrollPos(plain, SB_VERT), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SCROLLBARS));
}

TEST_F(CtlScrollBarTest, BarsAreDrawn)
{
    HWND v = Make("SCROLLBAR", "", SBS_VERT, 1, 20, 20, 16, 200);
    HWND h = Make("SCROLLBAR", "", SBS_HORZ, 2, 60, 20, 250, 16);
    SetScrollRange(v, SB_CTL, 0, 100, FALSE);
    SetScrollPos(v, SB_CTL, 50, TRUE);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 25, 10, 0};
    SetScrollInfo(h, SB_CTL, &si, TRUE);
    CreateWindowExA(0, spy::MessageSpy::ClassName(), "Window bars", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                    60, 60, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    // The thumb of the vertical bar is raised face colour in the middle of the track.
    POINT mid = At(v, 8, 100);
    EXPECT_EQ(host::DesktopPixel(mid.x, mid.y), GetSysColor(COLOR_BTNFACE));
    Screenshot("scrollbars.png");
}

}  // namespace

namespace {

// A window's own bars show its enabled state: the thumb goes while it is disabled and comes back,
// drawn, when it is enabled again (the range changed in between).
TEST_F(CtlScrollBarTest, WindowBarsFollowTheEnabledState)
{
    HWND w = CreateWindowExA(0, spy::MessageSpy::ClassName(), "Enabled bars", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE,
                             60, 60, 300, 200, nullptr, nullptr, nullptr, nullptr);
    SetScrollRange(w, SB_VERT, 0, 100, TRUE);
    ui::PumpUntilIdle();
    RECT client;
    GetClientRect(w, &client);
    POINT thumb{client.right + 8, client.top + 16 + 8};  // just below the up arrow, at position 0
    ClientToScreen(w, &thumb);
    EXPECT_EQ(host::DesktopPixel(thumb.x, thumb.y), GetSysColor(COLOR_BTNFACE));
    EnableWindow(w, FALSE);
    SetScrollRange(w, SB_VERT, 0, 500, TRUE);
    ui::PumpUntilIdle();
    EXPECT_NE(host::DesktopPixel(thumb.x, thumb.y), GetSysColor(COLOR_BTNFACE)) << "no thumb while disabled";
    EnableWindow(w, TRUE);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(thumb.x, thumb.y), GetSysColor(COLOR_BTNFACE)) << "the thumb is back";
    DestroyWindow(w);
}

}  // namespace
