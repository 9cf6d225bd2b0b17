// The static control, and the caret the edit control relies on.
#include "ControlTestSupport.h"

using ctl::Command;

namespace {

class CtlStaticTest : public ctl::ControlTest {};

TEST_F(CtlStaticTest, NotifyStylePassesClicksToTheParent)
{
    HWND quiet = Make("STATIC", "label", SS_LEFT, 1, 10, 10, 100, 20);
    HWND loud = Make("STATIC", "link", SS_LEFT | SS_NOTIFY, 2, 10, 40, 100, 20);
    spy.Clear();
    ClickAt(Centre(loud));
    ClickAt(Centre(loud));  // quick second click: a double click
    ClickAt(Centre(quiet));
    EXPECT_EQ(Commands(), (std::vector<Command>{{2, STN_CLICKED}, {2, STN_DBLCLK}}));
    // Without SS_NOTIFY the static is transparent to the mouse: the parent gets the click.
    bool parentClicked = false;
    for (const spy::Recorded& r : spy.Messages(parent))
        parentClicked |= r.message == WM_LBUTTONDOWN;
    EXPECT_TRUE(parentClicked);
    spy.Clear();
    EnableWindow(loud, FALSE);
    EXPECT_EQ(Commands(), (std::vector<Command>{{2, STN_DISABLE}}));
    EXPECT_EQ(SendMessageA(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(CtlStaticTest, ParentColoursAndFontsApply)
{
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    spy.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_CTLCOLORSTATIC)
            return std::nullopt;
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
        return reinterpret_cast<LRESULT>(yellow);
    };
    HWND s = Make("STATIC", "", SS_CENTER, 1, 10, 10, 100, 30);
    ui::PumpUntilIdle();
    bool asked = false;
    for (const spy::Recorded& r : spy.Messages(parent))
        asked |= r.message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(r.lParam) == s;
    EXPECT_TRUE(asked);
    EXPECT_EQ(host::DesktopPixel(Centre(s).x, Centre(s).y), RGB(255, 255, 0));
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    SendMessageA(s, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(s, WM_GETFONT, 0, 0)), font);
    SetWindowTextA(s, "changed");
    ui::PumpUntilIdle();
    char buf[32] = {};
    GetWindowTextA(s, buf, sizeof buf);
    EXPECT_STREQ(buf, "changed");
    DestroyWindow(s);
    DeleteObject(yellow);
}

TEST_F(CtlStaticTest, ImagesAreSetAndReturned)
{
    HWND s = Make("STATIC", "", SS_BITMAP, 1, 10, 10, 40, 40);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(SendMessageA(s, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)), 0);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(s, STM_GETIMAGE, IMAGE_BITMAP, 0)), bmp);
    ui::PumpUntilIdle();
    DestroyWindow(s);
    DeleteObject(bmp);

    // An icon static named by number takes a system icon when its module has no such icon, sizes
    // itself to it and draws it.
    HWND icon = CreateWindowExA(0, "STATIC", "#32513", WS_CHILD | WS_VISIBLE | SS_ICON, 60, 10, 100, 100, parent,
                                nullptr, GetModuleHandle(nullptr), nullptr);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)), LoadIconA(nullptr, IDI_HAND));
    RECT r{};
    GetClientRect(icon, &r);
    EXPECT_EQ(r.right, 32);
    EXPECT_EQ(r.bottom, 32);
    ui::PumpUntilIdle();
    POINT disc = At(icon, 6, 16);
    EXPECT_EQ(host::DesktopPixel(disc.x, disc.y), RGB(255, 0, 0));
}

TEST_F(CtlStaticTest, StaticsAreDrawn)
{
    spy.handler = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_ERASEBKGND)
            return std::nullopt;
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    };
    InvalidateRect(parent, nullptr, TRUE);
    ui::PumpUntilIdle();
    Make("STATIC", "Left aligned text that wraps onto a second line", SS_LEFT, 1, 10, 10, 150, 40);
    Make("STATIC", "Centred", SS_CENTER, 2, 170, 10, 100, 20);
    Make("STATIC", "Right", SS_RIGHT, 3, 280, 10, 100, 20);
    Make("STATIC", "Sunken", SS_LEFT | SS_SUNKEN, 4, 10, 60, 100, 20);
    Make("STATIC", "", SS_BLACKFRAME, 5, 120, 60, 40, 30);
    Make("STATIC", "", SS_GRAYRECT, 6, 170, 60, 40, 30);
    Make("STATIC", "", SS_ETCHEDFRAME, 7, 220, 60, 60, 30);
    Make("STATIC", "", SS_ETCHEDHORZ, 8, 10, 100, 370, 2);
    Make("BUTTON", "Button", BS_PUSHBUTTON, 9, 10, 110, 80, 24);
    Make("BUTTON", "Check", BS_AUTOCHECKBOX, 10, 100, 112, 80, 20);
    Make("EDIT", "Edit", ES_AUTOHSCROLL, 11, 190, 112, 100, 20, WS_EX_CLIENTEDGE);
    Make("SCROLLBAR", "", SBS_HORZ, 12, 10, 145, 280, 16);
    ui::PumpUntilIdle();
    POINT frame = At(GetDlgItem(parent, 5), 0, 0);
    EXPECT_EQ(host::DesktopPixel(frame.x, frame.y), GetSysColor(COLOR_WINDOWFRAME));
    Screenshot("statics.png");
}

TEST_F(CtlStaticTest, CaretFollowsItsOwner)
{
    HWND w = Make("STATIC", "", SS_NOTIFY, 1, 10, 10, 100, 40);
    POINT p{-1, -1};
    EXPECT_FALSE(GetCaretPos(&p)) << "no caret yet";
    EXPECT_FALSE(ShowCaret(w));
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 14));
    EXPECT_TRUE(SetCaretPos(20, 5));
    EXPECT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 5);
    ui::PumpUntilIdle();
    POINT screen = At(w, 20, 5);
    COLORREF before = host::DesktopPixel(screen.x, screen.y);
    EXPECT_TRUE(ShowCaret(w));  // a new caret starts hidden once
    EXPECT_NE(host::DesktopPixel(screen.x, screen.y), before) << "drawn inverted";
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_EQ(host::DesktopPixel(screen.x, screen.y), before);
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_EQ(host::DesktopPixel(screen.x, screen.y), before) << "hidden twice, shown once";
    EXPECT_TRUE(ShowCaret(w));
    // Blinking toggles it on the timer.
    EXPECT_TRUE(SetCaretBlinkTime(100));
    EXPECT_EQ(GetCaretBlinkTime(), 100u);
    COLORREF shown = host::DesktopPixel(screen.x, screen.y);
    EXPECT_NE(shown, before);
    ui::AdvanceClock(100);
    EXPECT_EQ(host::DesktopPixel(screen.x, screen.y), before);
    ui::AdvanceClock(100);
    EXPECT_EQ(host::DesktopPixel(screen.x, screen.y), shown);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(host::DesktopPixel(screen.x, screen.y), before);
    EXPECT_FALSE(DestroyCaret());
    SetCaretBlinkTime(530);
}

}  // namespace
