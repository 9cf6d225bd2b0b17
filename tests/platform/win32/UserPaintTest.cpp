// Painting bookkeeping: update regions, erase and paint messages, window DCs and scrolling.
#include <windows.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <cstdlib>
#include <filesystem>

using namespace spy;

namespace {

class UserPaintTest : public ui::UiTest {
protected:
    MessageSpy spy;
    HWND w = nullptr;
    std::vector<PAINTSTRUCT> paints;

    void SetUp() override
    {
        UiTest::SetUp();
        spy.handler = [this](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT)
                return std::nullopt;
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EXPECT_EQ(WindowFromDC(ps.hdc), hwnd);
            paints.push_back(ps);
            EndPaint(hwnd, &ps);
            return 0;
        };
        w = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
        ui::PumpUntilIdle();
        paints.clear();
        spy.Clear();
    }
};

TEST_F(UserPaintTest, InvalidAreasCollectIntoOnePaint)
{
    RECT a{10, 10, 20, 20}, b{50, 40, 60, 90};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, TRUE);
    RECT box;
    EXPECT_TRUE(GetUpdateRect(w, &box, FALSE));
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.bottom, 90);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_PAINT, Posted}, {WM_ERASEBKGND, Sent}}));
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].rcPaint.left, 10);
    EXPECT_EQ(paints[0].rcPaint.top, 10);
    EXPECT_EQ(paints[0].rcPaint.right, 60);
    EXPECT_EQ(paints[0].rcPaint.bottom, 90);
    EXPECT_TRUE(paints[0].fErase) << "the spy class has no brush: WM_ERASEBKGND returned 0";
    EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));
    EXPECT_EQ(ui::PumpUntilIdle(), 0);
}

TEST_F(UserPaintTest, ValidatingPartOfTheAreaLeavesTheRest)
{
    InvalidateRect(w, nullptr, FALSE);
    RECT left{0, 0, 100, 100};
    ValidateRect(w, &left);
    ui::PumpUntilIdle();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].rcPaint.left, 100);
    EXPECT_EQ(paints[0].rcPaint.right, 200);
    InvalidateRect(w, nullptr, FALSE);
    ValidateRect(w, nullptr);
    EXPECT_EQ(ui::PumpUntilIdle(), 0);
}

TEST_F(UserPaintTest, UpdateWindowPaintsAtOnceAndRedrawWindowFlagsWork)
{
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    EXPECT_TRUE(spy.Matches({{WM_ERASEBKGND, Sent}, {WM_PAINT, Sent}}));
    UpdateWindow(w);
    EXPECT_TRUE(spy.Matches({})) << "nothing to paint";
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ERASENOW);
    EXPECT_TRUE(spy.Matches({{WM_NCPAINT, Sent}, {WM_ERASEBKGND, Sent}}));
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_PAINT, Posted}}));
    EXPECT_TRUE(paints.back().fErase) << "the earlier WM_ERASEBKGND returned 0: the paint must erase";
    RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_PAINT, Posted}}));
    EXPECT_TRUE(RECT{}.left == paints.back().rcPaint.left && paints.back().rcPaint.right == 0)
        << "an internal paint has an empty paint rectangle";
}

TEST_F(UserPaintTest, ChildrenShareTheInvalidationUnlessClipped)
{
    HWND child = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, w, nullptr,
                                 nullptr, nullptr);
    ui::PumpUntilIdle();
    spy.Clear();
    RECT r{0, 0, 30, 30};
    InvalidateRect(w, &r, FALSE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_PAINT, Posted, 0, 0, w}, {WM_PAINT, Posted, 0, 0, child}}));
    EXPECT_EQ(paints.back().rcPaint.right, 20) << "child coordinates";
    SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(GetWindowLongA(w, GWL_STYLE) | WS_CLIPCHILDREN));
    spy.Clear();
    InvalidateRect(w, &r, FALSE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{WM_PAINT, Posted, 0, 0, w}}));
}

TEST_F(UserPaintTest, ClassBrushErasesTheBackground)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Brushed";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    HWND b = CreateWindowExA(0, "Brushed", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(b);
    EXPECT_EQ(DefWindowProcA(b, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(ReleaseDC(b, dc), 1);
    EXPECT_EQ(ReleaseDC(b, dc), 0);
    EXPECT_EQ(DefWindowProcA(w, WM_ERASEBKGND, 0, 0), 0);
    DestroyWindow(b);
    UnregisterClassA("Brushed", nullptr);
}

TEST_F(UserPaintTest, ScrollingInvalidatesWhatIsUncoveredAndMovesChildren)
{
    HWND child = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_CHILD | WS_VISIBLE, 10, 50, 20, 20, w,
                                 nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    spy.Clear();
    RECT update{};
    int type = ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, &update, SW_INVALIDATE | SW_SCROLLCHILDREN);
    EXPECT_EQ(type, 2);  // SIMPLEREGION
    EXPECT_EQ(update.top, 70);
    EXPECT_EQ(update.bottom, 100);
    EXPECT_EQ(update.right, 200);
    EXPECT_TRUE(spy.Matches({{WM_WINDOWPOSCHANGING, Sent, 0, 0, child},
                             {WM_WINDOWPOSCHANGED, Sent, 0, 0, child},
                             {WM_MOVE, Sent | LParam, 0, MAKELPARAM(10, 20), child}}));
    RECT box;
    GetUpdateRect(w, &box, FALSE);
    EXPECT_EQ(box.top, 70);
    // Scrolling by more than the window uncovers all of it.
    EXPECT_EQ(ScrollWindowEx(w, 300, 0, nullptr, nullptr, nullptr, &update, 0), 2);
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 200);
}

}  // namespace

namespace {

LONG Area(const std::vector<RECT>& rects)
{
    LONG total = 0;
    for (const RECT& r : rects)
        total += (r.right - r.left) * (r.bottom - r.top);
    return total;
}

TEST_F(UserPaintTest, VisiblePartsLeaveOutWhatCoversAWindow)
{
    // `w` is the 200x100 popup at (0, 0).
    HWND above = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP | WS_VISIBLE, 100, 50, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    EXPECT_EQ(Area(host::WindowVisibleRects(w, true)), 200 * 100 - 100 * 50);
    EXPECT_EQ(Area(host::WindowVisibleRects(above, true)), 200 * 100);
    HWND child = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, w, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(Area(host::WindowVisibleRects(w, false)), 200 * 100 - 100 * 50) << "children are drawn over";
    SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(GetWindowLongA(w, GWL_STYLE) | WS_CLIPCHILDREN));
    EXPECT_EQ(Area(host::WindowVisibleRects(w, false)), 200 * 100 - 100 * 50 - 20 * 20);
    EXPECT_EQ(Area(host::WindowVisibleRects(child, false)), 20 * 20);
    MoveWindow(child, 190, 90, 20, 20, FALSE);
    EXPECT_EQ(Area(host::WindowVisibleRects(child, false)), 0) << "under the window above";
    MoveWindow(child, 190, 0, 20, 20, FALSE);
    EXPECT_EQ(Area(host::WindowVisibleRects(child, false)), 10 * 20) << "clipped by its parent";
    ShowWindow(w, SW_HIDE);
    EXPECT_TRUE(host::WindowVisibleRects(child, false).empty());
}

}  // namespace

#if __has_include(<host/Display.h>)
#include <host/Display.h>

namespace {

TEST_F(UserPaintTest, WindowsDrawTheirFrameCaptionAndBackgroundOnTheDesktop)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Painted";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, "Painted", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(250, 200), GetSysColor(COLOR_BTNFACE)) << "client area in the class brush";
    EXPECT_EQ(host::DesktopPixel(200, 110), GetSysColor(COLOR_ACTIVECAPTION)) << "active caption";
    SetActiveWindow(w);
    EXPECT_EQ(host::DesktopPixel(200, 110), GetSysColor(COLOR_INACTIVECAPTION));
    DestroyWindow(frame);
    EXPECT_EQ(host::DesktopPixel(250, 200), GetSysColor(COLOR_BACKGROUND)) << "the desktop shows again";
    UnregisterClassA("Painted", nullptr);
}

// Stacking changes show on the screen: a window raised above another paints where it now covers
// it, an owner's popups stay above it when it is activated, and a popup that goes away uncovers
// the captions of the child windows beneath it as well as their parent's client area.
TEST_F(UserPaintTest, RaisingAndUncoveringRepaintWhatNowShows)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Painted";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    WNDCLASSA pc = wc;
    pc.lpszClassName = "PaintedPopup";
    pc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
    RegisterClassA(&pc);
    const COLORREF face = GetSysColor(COLOR_BTNFACE), popupColour = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(face, popupColour);

    HWND frame = CreateWindowExA(0, "Painted", "Frame", WS_POPUP | WS_VISIBLE, 300, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND pane = CreateWindowExA(0, "Painted", "Pane", WS_CHILD | WS_VISIBLE | WS_CAPTION, 10, 10, 200, 200, frame,
                                nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    RECT caption;
    GetWindowRect(pane, &caption);
    const int captionX = caption.left + 60, captionY = caption.top + 5;
    const COLORREF captionColour = host::DesktopPixel(captionX, captionY);
    ASSERT_NE(captionColour, popupColour);

    // A popup of its own (no owner) over the frame; raising the frame covers it again.
    HWND stranger = CreateWindowExA(0, "PaintedPopup", "", WS_POPUP | WS_VISIBLE, 350, 150, 100, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    ASSERT_EQ(host::DesktopPixel(400, 200), popupColour);
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(400, 200), face) << "the raised frame paints over what it now covers";
    DestroyWindow(stranger);

    // An owned popup over the pane's caption stays above its owner when the owner is activated,
    // and going away uncovers the caption and the frame's client area under it.
    HWND owned = CreateWindowExA(0, "PaintedPopup", "", WS_POPUP | WS_VISIBLE, caption.left, caption.top, 150, 80,
                                 frame, nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    ASSERT_EQ(host::DesktopPixel(captionX, captionY), popupColour);
    SetActiveWindow(frame);
    ui::PumpUntilIdle();
    EXPECT_EQ(GetWindow(frame, GW_HWNDPREV), owned) << "an owned popup stays above its owner";
    EXPECT_EQ(host::DesktopPixel(captionX, captionY), popupColour);
    ShowWindow(owned, SW_HIDE);
    ui::PumpUntilIdle();
    EXPECT_NE(host::DesktopPixel(captionX, captionY), popupColour) << "the pane's caption is painted again";
    EXPECT_EQ(host::DesktopPixel(caption.left + 5, caption.top + 60), face);
    DestroyWindow(owned);
    DestroyWindow(frame);
    UnregisterClassA("Painted", nullptr);
    UnregisterClassA("PaintedPopup", nullptr);
}

// The host window of the presenter was resized: the desktop surface is new, so every window
// (frame, caption, client and children) paints itself again, not only the one under the mouse.
TEST_F(UserPaintTest, EveryWindowPaintsAgainAfterTheScreenSizeChanged)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Painted";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, "Painted", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "BUTTON", "Child", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, frame,
                                 nullptr, nullptr, nullptr);
    ui::PumpUntilIdle();
    ASSERT_EQ(host::DesktopPixel(250, 200), GetSysColor(COLOR_BTNFACE));
    paints.clear();

    host::SetDesktopSize(900, 700);
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(250, 200), GetSysColor(COLOR_BTNFACE)) << "client area painted again";
    EXPECT_EQ(host::DesktopPixel(200, 110), GetSysColor(COLOR_ACTIVECAPTION)) << "caption painted again";
    RECT button;
    GetWindowRect(child, &button);
    EXPECT_EQ(host::DesktopPixel(button.left, button.top + 5), GetSysColor(COLOR_BTNHIGHLIGHT)) << "children too";
    EXPECT_EQ(paints.size(), 1u) << "the spy window painted again as well";
    EXPECT_EQ(host::DesktopPixel(850, 650), GetSysColor(COLOR_BACKGROUND));
    DestroyWindow(frame);
    UnregisterClassA("Painted", nullptr);
}

// A caption shows the window's small icon at its left end and the symbols of its boxes: close
// (greyed for a class without it), maximise and minimise. A dialog frame without an icon shows
// none.
TEST_F(UserPaintTest, CaptionsShowTheirIconAndTheBoxesTheirSymbols)
{
    auto count = [](LONG left, LONG top, LONG right, LONG bottom, auto match) {
        int n = 0;
        for (LONG y = top; y < bottom; ++y)
            for (LONG x = left; x < right; ++x)
                if (match(host::DesktopPixel(x, y)))
                    ++n;
        return n;
    };
    auto is = [](int color) { return [color](COLORREF c) { return c == GetSysColor(color); }; };
    auto isNot = [](int color) { return [color](COLORREF c) { return c != GetSysColor(color); }; };
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Captioned";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconA(nullptr, IDI_QUESTION);
    RegisterClassA(&wc);
    wc.lpszClassName = "CaptionedNoClose";
    wc.style = CS_NOCLOSE;
    wc.hIcon = nullptr;
    RegisterClassA(&wc);

    HWND frame = CreateWindowExA(0, "Captioned", "Symbols", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, "CaptionedNoClose", "Dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 450, 100, 250, 150, nullptr, nullptr,
                                  nullptr, nullptr);
    SetActiveWindow(frame);
    ui::PumpUntilIdle();
    const int caption = GetSystemMetrics(SM_CYCAPTION), box = GetSystemMetrics(SM_CXSIZE) - 2;
    RECT wr;
    GetWindowRect(frame, &wr);
    LONG left = wr.left + GetSystemMetrics(SM_CXFRAME), top = wr.top + GetSystemMetrics(SM_CYFRAME);
    LONG right = wr.right - GetSystemMetrics(SM_CXFRAME);
    EXPECT_GT(count(left + 2, top + 1, left + 18, top + caption - 2, isNot(COLOR_ACTIVECAPTION)), 40) << "the icon";
    LONG closeLeft = right - 2 - box, maxLeft = closeLeft - 2 - box, minLeft = maxLeft - box;
    EXPECT_GE(count(closeLeft + 2, top + 4, closeLeft + box - 2, top + caption - 5, is(COLOR_BTNTEXT)), 12) << "close";
    EXPECT_GE(count(maxLeft + 2, top + 4, maxLeft + box - 2, top + caption - 5, is(COLOR_BTNTEXT)), 12) << "maximise";
    EXPECT_GE(count(minLeft + 2, top + 4, minLeft + box - 2, top + caption - 5, is(COLOR_BTNTEXT)), 6) << "minimise";

    GetWindowRect(dialog, &wr);
    left = wr.left + GetSystemMetrics(SM_CXDLGFRAME);
    top = wr.top + GetSystemMetrics(SM_CYDLGFRAME);
    right = wr.right - GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(count(left + 2, top + 1, left + 18, top + caption - 2, isNot(COLOR_INACTIVECAPTION)), 0) << "no icon";
    closeLeft = right - 2 - box;
    EXPECT_EQ(count(closeLeft + 2, top + 4, closeLeft + box - 2, top + caption - 5, is(COLOR_BTNTEXT)), 0);
    EXPECT_GE(count(closeLeft + 2, top + 4, closeLeft + box - 2, top + caption - 5, is(COLOR_GRAYTEXT)), 12)
        << "a greyed close symbol";
    TempDir shots;
    host::SaveDesktopPng((shots.path() / "captions.png").string());
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(shots.path() / "captions.png", std::filesystem::path(keep) / "captions.png",
                                   std::filesystem::copy_options::overwrite_existing);
    DestroyWindow(dialog);
    DestroyWindow(frame);
    UnregisterClassA("Captioned", nullptr);
    UnregisterClassA("CaptionedNoClose", nullptr);
}

TEST_F(UserPaintTest, PaletteDisplaysAnnounceRealisationsAndAskNewlyActiveWindows)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    HWND other = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP | WS_VISIBLE, 300, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    EXPECT_EQ(spy.Count(WM_QUERYNEWPALETTE, other), 1u) << "asked when it became active";
    spy.Clear();
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[2];
    } pal = {0x300, 2, {{12, 34, 56, 0}, {65, 43, 21, 0}}};
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&pal));
    HDC dc = GetDC(other);
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    EXPECT_GT(RealizePalette(dc), 0u);
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_PALETTECHANGED, other), 1u);
    EXPECT_EQ(spy.Count(WM_PALETTECHANGED, w), 1u);
    for (const Recorded& r : spy.Messages()) {
        if (r.message == WM_PALETTECHANGED) {
            EXPECT_EQ(r.wParam, reinterpret_cast<WPARAM>(other)) << "names the window that realised";
        }
    }
    SelectPalette(dc, old, FALSE);
    ReleaseDC(other, dc);
    DeleteObject(palette);
    host::SetDisplayMode(host::DisplayMode::TrueColor);
}

}  // namespace
#endif
