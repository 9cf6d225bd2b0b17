// The button control driven by injected mouse and keyboard input.
#include "ControlTestSupport.h"

using ctl::Command;

namespace {

class CtlButtonTest : public ctl::ControlTest {};

TEST_F(CtlButtonTest, SystemClassesExistFromTheStart)
{
    for (const char* name : {"BUTTON", "Static", "edit", "ScrollBar"}) {
        WNDCLASSA wc{};
        EXPECT_TRUE(GetClassInfoA(nullptr, name, &wc)) << name;
        EXPECT_NE(wc.lpfnWndProc, nullptr);
        EXPECT_TRUE(wc.style & CS_DBLCLKS);
        EXPECT_FALSE(UnregisterClassA(name, nullptr)) << name;
    }
}

TEST_F(CtlButtonTest, PushButtonClicksOnlyWhenReleasedOverIt)
{
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 10, 80, 24);
    spy.Clear();
    ClickAt(Centre(b));
    EXPECT_EQ(Commands(), (std::vector<Command>{{10, BN_CLICKED}}));
    EXPECT_EQ(GetFocus(), b);

    // Pressed, dragged off and released elsewhere: no click, and the button pops back up.
    spy.Clear();
    POINT c = Centre(b);
    host::MouseMove(c.x, c.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    host::MouseMove(c.x + 200, c.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // Space bar: pressed on key down, clicked on key up.
    spy.Clear();
    host::KeyDown(VK_SPACE);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
    EXPECT_TRUE(Commands().empty());
    host::KeyUp(VK_SPACE);
    ui::PumpUntilIdle();
    EXPECT_EQ(Commands(), (std::vector<Command>{{10, BN_CLICKED}}));

    spy.Clear();
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(Commands(), (std::vector<Command>{{10, BN_CLICKED}}));
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    // A disabled button ignores BM_CLICK.
    EnableWindow(b, FALSE);
    spy.Clear();
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(CtlButtonTest, CheckBoxesCycleTheirStates)
{
    struct Case {
        DWORD style;
        std::vector<LRESULT> states;  // after each click
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},  // the owner checks it
    };
    int id = 20;
    for (const Case& c : cases) {
        HWND b = Make("BUTTON", "Check", c.style, id, 10, 10 + (id - 20) * 30, 120, 20);
        spy.Clear();
        for (LRESULT want : c.states) {
            ClickAt(Centre(b));
            EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), want) << "style " << c.style;
        }
        EXPECT_EQ(Commands(), (std::vector<Command>(c.states.size(), Command{id, BN_CLICKED})));
        ++id;
    }
    // The keyboard toggles a focused check box; BM_SETCHECK with 2 on a two-state box checks it.
    HWND box = GetDlgItem(parent, 20);
    SetFocus(box);
    host::PressKey(VK_SPACE);
    ui::PumpUntilIdle();
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(CtlButtonTest, AutoRadioButtonsCheckOneOfTheirGroup)
{
    HWND a = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 1, 10, 10, 100, 20);
    HWND b = Make("BUTTON", "B", BS_AUTORADIOBUTTON, 2, 10, 40, 100, 20);
    HWND c = Make("BUTTON", "C", BS_AUTORADIOBUTTON, 3, 10, 70, 100, 20);
    HWND other = Make("BUTTON", "Other group", BS_AUTORADIOBUTTON | WS_GROUP, 4, 10, 100, 100, 20);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP) << "the checked radio button is the tab stop";
    spy.Clear();
    ClickAt(Centre(c));
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group keeps its choice";
    EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP);
    // Clicking it again leaves it checked; a quick second click is a double click.
    ClickAt(Centre(c));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Commands(), (std::vector<Command>{{3, BN_CLICKED}, {3, BN_DOUBLECLICKED}}));
    EXPECT_EQ(SendMessageA(c, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

// A group box made before the controls it frames lies above them, yet the mouse goes through it.
TEST_F(CtlButtonTest, GroupBoxLetsClicksThroughToItsControls)
{
    HWND box = Make("BUTTON", "Options", BS_GROUPBOX, 1, 10, 10, 200, 100);
    HWND a = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 2, 20, 30, 100, 20);
    HWND b = Make("BUTTON", "B", BS_AUTORADIOBUTTON, 3, 20, 60, 100, 20);
    SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
    spy.Clear();
    ClickAt(Centre(b));
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Commands(), (std::vector<Command>{{3, BN_CLICKED}}));
    // Inside the frame but beside the radio buttons, the click reaches the parent, not the box.
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_EQ(WindowFromPoint(POINT{r.right - 20, r.bottom - 10}), parent);
}

TEST_F(CtlButtonTest, OwnerDrawButtonAsksItsParentToDraw)
{
    struct Draw {
        UINT action;
        UINT state;
        UINT type;
        bool operator==(const Draw&) const = default;
    };
    std::vector<Draw> draws;
    spy.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_DRAWITEM)
            return std::nullopt;
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        draws.push_back({dis->itemAction, dis->itemState, dis->CtlType});
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        return TRUE;
    };
    HWND b = Make("BUTTON", "", BS_OWNERDRAW, 5, 10, 10, 60, 30);
    ui::PumpUntilIdle();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back(), (Draw{ODA_DRAWENTIRE, 0, ODT_BUTTON}));
    draws.clear();
    POINT c = Centre(b);
    host::MouseMove(c.x, c.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(host::DesktopPixel(c.x, c.y), GetSysColor(COLOR_HIGHLIGHT)) << "drawn pressed by the parent";
    host::MouseUp();
    ui::PumpUntilIdle();
    std::vector<Draw> want = {
        {ODA_FOCUS, ODS_FOCUS, ODT_BUTTON},
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS, ODT_BUTTON},
        {ODA_SELECT, ODS_FOCUS, ODT_BUTTON},
    };
    EXPECT_EQ(draws, want);
    EXPECT_EQ(Commands().back(), (Command{5, BN_CLICKED}));
    EnableWindow(b, FALSE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(draws.back().state & ODS_DISABLED);
}

TEST_F(CtlButtonTest, EveryKindIsDrawn)
{
    Make("BUTTON", "Default", BS_DEFPUSHBUTTON, 1, 10, 10, 90, 26);
    Make("BUTTON", "Push", BS_PUSHBUTTON, 2, 110, 10, 90, 26);
    HWND check = Make("BUTTON", "Check box", BS_AUTOCHECKBOX, 3, 10, 50, 120, 20);
    HWND tri = Make("BUTTON", "Three states", BS_AUTO3STATE, 4, 10, 75, 120, 20);
    Make("BUTTON", "Options", BS_GROUPBOX, 5, 150, 45, 160, 90);
    HWND r1 = Make("BUTTON", "First", BS_AUTORADIOBUTTON | WS_GROUP, 6, 160, 65, 120, 20);
    Make("BUTTON", "Second", BS_AUTORADIOBUTTON, 7, 160, 95, 120, 20);
    HWND off = Make("BUTTON", "Disabled", BS_PUSHBUTTON | WS_DISABLED, 8, 10, 110, 90, 26);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(tri, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(r1, BM_SETCHECK, BST_CHECKED, 0);
    ui::PumpUntilIdle();
    // The raised push button: light top-left edge, dark bottom-right edge.
    POINT tl = At(GetDlgItem(parent, 2), 0, 0);
    EXPECT_NE(host::DesktopPixel(tl.x + 1, tl.y + 1), host::DesktopPixel(tl.x + 88, tl.y + 24));
    EXPECT_FALSE(IsWindowEnabled(off));
    Screenshot("buttons.png");
}

// BS_ICON and BS_BITMAP buttons show their image centred, one pixel down and right while pressed,
// embossed in the shadow colour when disabled.
TEST_F(CtlButtonTest, ImageButtonsDrawTheirImage)
{
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    HWND iconButton = Make("BUTTON", "", BS_PUSHBUTTON | BS_ICON, 1, 10, 10, 60, 50);
    HWND bitmapButton = Make("BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 2, 90, 10, 60, 50);
    HICON icon = LoadIconA(nullptr, IDI_ERROR);
    ASSERT_NE(icon, nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
    ReleaseDC(nullptr, screen);
    {
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, bitmap);
        HBRUSH brush = CreateSolidBrush(blue);
        RECT all{0, 0, 20, 10};
        FillRect(mem, &all, brush);
        DeleteObject(brush);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    EXPECT_EQ(SendMessageA(iconButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessageA(bitmapButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(iconButton, BM_GETIMAGE, IMAGE_ICON, 0)), icon);
    EXPECT_EQ(SendMessageA(iconButton, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "not of the kind asked for";
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(bitmapButton, BM_GETIMAGE, IMAGE_BITMAP, 0)), bitmap);
    EXPECT_EQ(SendMessageA(bitmapButton, BM_SETIMAGE, 7, 0), 0) << "no such image type";
    ui::PumpUntilIdle();

    // The leftmost red pixel of the icon's middle row, and the bitmap at the button's centre.
    POINT c = Centre(iconButton);
    auto leftmostRed = [&] {
        for (int x = c.x - 30; x < c.x + 30; ++x)
            if (host::DesktopPixel(x, c.y) == red)
                return x;
        return -1;
    };
    int left = leftmostRed();
    ASSERT_NE(left, -1) << "the stop icon is drawn";
    EXPECT_NEAR(left, c.x - 15, 2) << "centred";
    POINT b = Centre(bitmapButton);
    EXPECT_EQ(host::DesktopPixel(b.x, b.y), blue);
    EXPECT_EQ(host::DesktopPixel(b.x - 12, b.y), GetSysColor(COLOR_BTNFACE)) << "the bitmap is 20 pixels wide";

    host::MouseMove(c.x, c.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(leftmostRed(), left + 1) << "pushed";
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(leftmostRed(), left);
    Screenshot("image_buttons.png");

    EnableWindow(iconButton, FALSE);
    EnableWindow(bitmapButton, FALSE);
    ui::PumpUntilIdle();
    EXPECT_EQ(leftmostRed(), -1) << "greyed";
    EXPECT_EQ(host::DesktopPixel(b.x, b.y), GetSysColor(COLOR_BTNSHADOW));
    int shadow = 0, highlight = 0;
    for (int y = c.y - 17; y <= c.y + 17; ++y)
        for (int x = c.x - 17; x <= c.x + 17; ++x) {
            shadow += host::DesktopPixel(x, y) == GetSysColor(COLOR_BTNSHADOW);
            highlight += host::DesktopPixel(x, y) == GetSysColor(COLOR_BTNHIGHLIGHT);
        }
    EXPECT_GT(shadow, 300) << "the disc in the shadow colour";
    EXPECT_GT(highlight, 10) << "its embossed edge";
    DestroyWindow(bitmapButton);
    DeleteObject(bitmap);
}

}  // namespace
