// The picture buttons: which picture each state shows, presses passed on to the parent, the
// roll-over hover and its ends, radio forms and check boxes, the digit-only edit, and a
// screenshot of a form made of them. The pictures are the program's own (the wizard buttons).
#include "widgets/DibButton.h"
#include "widgets/DigitEdit.h"
#include "widgets/RadioButton.h"
#include "widgets/RollOverButton.h"

#include "widgets/Dib.h"

#include "WidgetTestSupport.h"

#include <MessageSpy.h>

#include <host/Display.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <functional>
#include <memory>

namespace {

// Pictures of the program: 90x57 (503, 502) and 88x56 (the rest).
const UINT kNormal = 503, kSelected = 502, kFocused = 506, kDisabled = 505;
const UINT kAltNormal = 488, kAltSelected = 487;

// A form: a class-library window whose children get their WM_DRAWITEM reflected.
class CForm : public CWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> posted;  // the radio notices it was posted

protected:
    afx_msg LRESULT OnRadio(WPARAM, LPARAM lParam)
    {
        posted.emplace_back(AfxGetCurrentMessage()->message, lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CForm, CWnd)
ON_MESSAGE(VLM_RADIO_CHECKED, OnRadio)
ON_MESSAGE(VLM_RADIO_WHO_IS_CHECKED, OnRadio)
END_MESSAGE_MAP()

// The pixels (top row first) that a drawing leaves on a white 32-bit surface.
std::vector<COLORREF> Render(int width, int height, const std::function<void(CDC*)>& draw)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateDIBSection(dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc.GetSafeHdc(), surface);
    dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    draw(&dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(dc.GetPixel(x, y));
    SelectObject(dc.GetSafeHdc(), old);
    DeleteObject(surface);
    return pixels;
}

std::vector<COLORREF> PictureOf(UINT id, int width, int height)
{
    return Render(width, height, [id](CDC* dc) {
        CDib dib(id);
        dib.Draw(dc, 0, 0);
    });
}

// What a button's DrawItem draws, for an item state, on a 90x57 surface.
std::vector<COLORREF> DrawnBy(CDibButton& button, UINT state)
{
    return Render(90, 57, [&](CDC* dc) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button.GetSafeHwnd();
        item.hDC = dc->GetSafeHdc();
        item.rcItem = CRect(0, 0, 90, 57);
        button.DrawItem(&item);
    });
}

class ButtonsTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(form.CreateEx(0, nullptr, "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600,
                                  400, nullptr, nullptr));
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        if (form.GetSafeHwnd())
            form.DestroyWindow();
        BitmapTest::TearDown();
    }
    // A point of a window, in screen coordinates.
    static CPoint OnScreen(CWnd& wnd, int x, int y)
    {
        CPoint p(x, y);
        wnd.ClientToScreen(&p);
        return p;
    }
    // Pumps the queue the way the application does: the roll-over check sees each message first.
    static void PumpWithFilter()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            CRollOverButton::CheckHoverExit(&msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // A click of its own (not the second half of a double click).
    static void Click(CWnd& wnd, int x, int y)
    {
        ui::AdvanceClock(1000);
        CPoint p = OnScreen(wnd, x, y);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    CForm form;
};

TEST_F(ButtonsTest, EachStateShowsItsPictureAndTheAlternatesStandInWherePresent)
{
    CDibButton button;
    ASSERT_TRUE(button.Create("Pictures", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 20, 20), &form, 100));
    ASSERT_TRUE(button.LoadStateBitmaps(kNormal, kSelected, kFocused, kDisabled, kAltNormal, kAltSelected));
    button.SizeToBitmap();
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(CSize(90, 57), rect.Size());

    struct Case {
        UINT state;
        BOOL alternate;
        UINT shows;
    } const cases[] = {
        {0, FALSE, kNormal},
        {ODS_SELECTED, FALSE, kSelected},
        {ODS_SELECTED | ODS_FOCUS | ODS_DISABLED, FALSE, kSelected},  // pressed wins
        {ODS_FOCUS, FALSE, kFocused},
        {ODS_FOCUS | ODS_DISABLED, FALSE, kFocused},
        {ODS_DISABLED, FALSE, kDisabled},
        {0, TRUE, kAltNormal},
        {ODS_SELECTED, TRUE, kAltSelected},
        // No alternate focused or disabled picture: the first set's.
        {ODS_FOCUS, TRUE, kFocused},
        {ODS_DISABLED, TRUE, kDisabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " alternate " << c.alternate);
        button.SetAlternate(c.alternate);
        EXPECT_EQ(c.alternate, button.IsAlternate());
        EXPECT_TRUE(DrawnBy(button, c.state) == PictureOf(c.shows, 90, 57)) << "shows " << c.shows;
    }
    // Loaded again without alternates: the latched button shows the first set.
    ASSERT_TRUE(button.LoadStateBitmaps(kSelected, kNormal));
    ASSERT_TRUE(button.IsAlternate());
    EXPECT_TRUE(DrawnBy(button, 0) == PictureOf(kSelected, 90, 57));
}

TEST_F(ButtonsTest, AMissingPictureFailsTheLoadAndKeepsWhatWasFound)
{
    CDibButton button(FALSE);
    ASSERT_TRUE(button.Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), &form, 101));
    EXPECT_FALSE(button.LoadStateBitmaps(kNormal, 6999, kFocused));
    EXPECT_EQ(kNormal, button.GetNormalId());
    EXPECT_EQ(6999u, button.GetSelectedId());
    // The normal picture was found before the failure: the button still sizes to it.
    button.SizeToBitmap();
    CRect rect;
    button.GetClientRect(&rect);
    EXPECT_EQ(CSize(90, 57), rect.Size());
    // The normal id is always looked for; a library id without a library fails.
    EXPECT_FALSE(button.LoadStateBitmaps(0));
    EXPECT_FALSE(button.LoadStateBitmaps(7001));
    EXPECT_EQ(nullptr, button.GetPictureModule());
    EXPECT_TRUE(BoxTexts().empty()) << "no message";
}

TEST_F(ButtonsTest, PressesGoToTheParentWhenAskedAndKeysAlways)
{
    spy::MessageSpy spy;
    spy.Watch(form.GetSafeHwnd());
    CDibButton plain, forwarding;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 100, 67), &form, 102));
    ASSERT_TRUE(forwarding.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(200, 50, 290, 107), &form, 103));
    plain.LoadStateBitmaps(kNormal, kSelected);
    forwarding.LoadStateBitmaps(kNormal, kSelected);
    forwarding.SetForwardMouse();
    ui::PumpUntilIdle();
    spy.Clear();

    Click(plain, 5, 5);
    EXPECT_EQ(1u, spy.Count(WM_COMMAND, form.GetSafeHwnd())) << "a plain button is clicked";
    spy.Clear();
    Click(forwarding, 7, 9);
    EXPECT_EQ(0u, spy.Count(WM_COMMAND, form.GetSafeHwnd()));
    EXPECT_TRUE(spy.Matches({{WM_LBUTTONDOWN, spy::Posted | spy::WParam | spy::LParam, 0, MAKELPARAM(207, 59)},
                             {WM_LBUTTONUP, spy::Posted | spy::WParam | spy::LParam, 0, MAKELPARAM(207, 59)}},
                            form.GetSafeHwnd()));

    plain.SetFocus();
    ui::PumpUntilIdle();
    spy.Clear();
    host::PressKey(VK_SPACE);
    ui::PumpUntilIdle();
    std::vector<spy::Recorded> keys;
    for (const spy::Recorded& r : spy.Messages(form.GetSafeHwnd()))
        if (r.message == WM_KEYDOWN || r.message == WM_COMMAND)
            keys.push_back(r);
    ASSERT_EQ(1u, keys.size()) << "the key goes to the parent and does not press the button";
    EXPECT_EQ(WPARAM(VK_SPACE), keys[0].wParam);
    EXPECT_EQ(0, keys[0].lParam);
    EXPECT_TRUE(keys[0].posted);
}

TEST_F(ButtonsTest, OneRollOverButtonAtATimeShowsItsHoverPicture)
{
    CRollOverButton first, second;
    ASSERT_TRUE(first.Create("first", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 98, 66), &form, 110));
    ASSERT_TRUE(second.Create("second", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(150, 10, 238, 66), &form, 111));
    for (CRollOverButton* b : {&first, &second}) {
        ASSERT_TRUE(b->LoadStateBitmaps(kAltNormal, kAltSelected));
        ASSERT_TRUE(b->LoadDib(kFocused));
    }
    // The hover picture goes with new state pictures.
    EXPECT_TRUE(first.LoadStateBitmaps(kAltNormal, kAltSelected));
    EXPECT_FALSE(first.HasHoverPicture());
    ASSERT_TRUE(first.LoadDib(kFocused));
    EXPECT_FALSE(second.LoadDib(6999));
    EXPECT_FALSE(second.HasHoverPicture());
    ASSERT_TRUE(second.LoadDib(kFocused));
    ui::PumpUntilIdle();

    auto screenPicture = [](CWnd& button) {
        CRect r;
        button.GetWindowRect(&r);
        std::vector<COLORREF> pixels;
        for (int y = r.top; y < r.top + 56; ++y)
            for (int x = r.left; x < r.left + 88; ++x)
                pixels.push_back(host::DesktopPixel(x, y));
        return pixels;
    };
    const std::vector<COLORREF> hover = PictureOf(kFocused, 88, 56), normal = PictureOf(kAltNormal, 88, 56);

    CPoint p = OnScreen(first, 20, 20);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    EXPECT_EQ(&first, CRollOverButton::GetHoverButton());
    EXPECT_TRUE(screenPicture(first) == hover);
    EXPECT_TRUE(screenPicture(second) == normal);

    p = OnScreen(second, 20, 20);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    EXPECT_EQ(&second, CRollOverButton::GetHoverButton());
    EXPECT_TRUE(screenPicture(first) == normal) << "the old hover button is drawn plain again";
    EXPECT_TRUE(screenPicture(second) == hover);

    // A move onto the form ends the hover through the message filter.
    p = OnScreen(form, 300, 200);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    EXPECT_EQ(nullptr, CRollOverButton::GetHoverButton());
    EXPECT_TRUE(screenPicture(second) == normal);

    // Without the filter, the hover timer ends it within 500 ms of the cursor leaving.
    p = OnScreen(first, 20, 20);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    ASSERT_EQ(&first, CRollOverButton::GetHoverButton());
    ui::AdvanceClock(600);
    EXPECT_EQ(&first, CRollOverButton::GetHoverButton()) << "the cursor is still over it";
    SetCursorPos(OnScreen(form, 400, 300).x, OnScreen(form, 400, 300).y);
    ui::AdvanceClock(499);
    ui::AdvanceClock(1);
    EXPECT_EQ(nullptr, CRollOverButton::GetHoverButton());

    // A release ends the hover; so does the end of the window.
    Click(second, 10, 10);
    EXPECT_EQ(nullptr, CRollOverButton::GetHoverButton());
    p = OnScreen(second, 30, 30);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    ASSERT_EQ(&second, CRollOverButton::GetHoverButton());
    second.DestroyWindow();
    EXPECT_EQ(nullptr, CRollOverButton::GetHoverButton());
    EXPECT_FALSE(CRollOverButton::CheckHoverExit(nullptr));
}

TEST_F(ButtonsTest, RadiosOfAFormCheckOneAtATimeAndCheckBoxesToggleOncePerPress)
{
    CRadioButton a, b, c, box;
    const DWORD radio = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON;
    ASSERT_TRUE(a.Create("Alpha", radio, CRect(10, 10, 300, 66), &form, 120));
    ASSERT_TRUE(b.Create("Beta", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 70, 300, 126), &form, 121));
    ASSERT_TRUE(c.Create("Gamma", radio | 0x80000000, CRect(10, 130, 300, 186), &form, 122));
    ASSERT_TRUE(box.Create("Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 200, 200, 220), &form, 123));
    EXPECT_TRUE(a.IsRadio() && b.IsRadio() && c.IsRadio());
    EXPECT_FALSE(box.IsRadio());
    EXPECT_EQ(CPoint(10, 130), c.GetCreatedPosition());
    EXPECT_EQ(DWORD(BS_OWNERDRAW), c.GetStyle() & BS_TYPEMASK);
    EXPECT_FALSE(c.GetStyle() & WS_POPUP) << "the indent bit is taken out";
    for (CRadioButton* r : {&a, &b, &c})
        ASSERT_TRUE(r->LoadStateBitmaps(kAltNormal, kAltSelected));
    ui::PumpUntilIdle();

    auto checks = [&] { return std::vector<int>{a.GetCheck(), b.GetCheck(), c.GetCheck()}; };
    Click(a, 5, 5);
    EXPECT_EQ((std::vector<int>{1, 0, 0}), checks());
    form.posted.clear();
    Click(b, 5, 5);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), checks());
    ASSERT_EQ(1u, form.posted.size());
    EXPECT_EQ(UINT(VLM_RADIO_CHECKED), form.posted[0].first);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&b), form.posted[0].second);
    // Pressing the one checked radio leaves it checked; the form hears the question.
    form.posted.clear();
    Click(b, 5, 5);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), checks());
    ASSERT_EQ(1u, form.posted.size());
    EXPECT_EQ(UINT(VLM_RADIO_WHO_IS_CHECKED), form.posted[0].first);
    EXPECT_EQ(0, form.posted[0].second);
    // With two checked (set by hand), pressing one of them unchecks it.
    c.SetCheck(1);
    c.Invalidate();
    Click(b, 5, 5);
    EXPECT_EQ((std::vector<int>{0, 0, 1}), checks());
    // The indicator is the radio's picture; the drawing shows the checked one.
    CPoint p = OnScreen(c, 40, 28);
    EXPECT_EQ(PictureOf(kAltSelected, 88, 56)[28 * 88 + 40], host::DesktopPixel(p.x, p.y));

    // A check box toggles once per press, however often it is drawn meanwhile.
    CPoint q = OnScreen(box, 5, 5);
    host::MouseMove(q.x, q.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(1, box.GetCheck());
    box.RedrawWindow();
    box.RedrawWindow();
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(1, box.GetCheck());
    Click(box, 5, 5);
    EXPECT_EQ(0, box.GetCheck());

    SIZE ideal{};
    box.GetIdealSize(&ideal);
    CClientDC dc(&box);
    HFONT font = reinterpret_cast<HFONT>(box.SendMessage(WM_GETFONT));
    CFont* old = font ? dc.SelectObject(CFont::FromHandle(font)) : nullptr;
    int captionWidth = dc.GetTextExtent(CString("Check")).cx;
    if (old)
        dc.SelectObject(old);
    EXPECT_EQ(captionWidth + 20 + 6, ideal.cx);
    EXPECT_EQ(20, ideal.cy);
}

// A radio's face is its ground everywhere the indicator and the caption leave free: nothing of
// what was there before (here white) shows beside, below or after them.
TEST_F(ButtonsTest, ARadioPaintsItsWholeFaceInItsGround)
{
    CRadioButton radio;
    ASSERT_TRUE(radio.Create("Radio", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, CRect(10, 10, 160, 30), &form, 150));
    ASSERT_TRUE(radio.LoadStateBitmaps(kAltNormal, kAltSelected));
    const COLORREF ground = RGB(255, 255, 0);
    radio.SetBackgroundColor(ground);
    const int width = 150, height = 70;
    const std::vector<COLORREF> pixels = Render(width, height, [&](CDC* dc) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = radio.GetSafeHwnd();
        item.hDC = dc->GetSafeHdc();
        item.rcItem = CRect(0, 0, width, height);
        radio.DrawItem(&item);
    });
    for (CPoint p : {CPoint(width - 2, height / 2), CPoint(width - 2, 1), CPoint(2, height - 2)})
        EXPECT_EQ(ground, pixels[static_cast<size_t>(p.y * width + p.x)]) << p.x << "," << p.y;
}

TEST_F(ButtonsTest, DigitEditTakesDigitsAndBackspaceOnly)
{
    CDigitEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 250, 110, 274), &form, 130));
    edit.SetFocus();
    host::TypeText("12a3-");
    ui::PumpUntilIdle();
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("123", text);
    EXPECT_EQ((std::vector<UINT>{0, 0}), host::MessageBeeps());
    host::PressKey(VK_BACK);
    ui::PumpUntilIdle();
    edit.GetWindowText(text);
    EXPECT_STREQ("12", text);
}

TEST_F(ButtonsTest, ScreenshotOfAFormOfButtons)
{
    CDibButton pressed;
    CRollOverButton hovered;
    CRadioButton radio, box;
    ASSERT_TRUE(pressed.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 100, 67), &form, 140));
    ASSERT_TRUE(hovered.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(110, 10, 198, 66), &form, 141));
    ASSERT_TRUE(radio.Create("A radio", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, CRect(10, 80, 300, 136), &form, 142));
    ASSERT_TRUE(box.Create("A check box", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 150, 200, 170), &form, 143));
    pressed.LoadStateBitmaps(kNormal, kSelected, 0, 0, kAltNormal, kAltSelected);
    pressed.SetDib(TRUE);
    hovered.LoadStateBitmaps(kAltNormal, kAltSelected);
    hovered.LoadDib(kFocused);
    radio.LoadStateBitmaps(326, 329);
    radio.SetCheck(1);
    box.SetCheck(1);
    box.SetBackgroundColor(RGB(255, 255, 0));
    CPoint p = OnScreen(hovered, 10, 10);
    host::MouseMove(p.x, p.y);
    PumpWithFilter();
    form.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
    ui::PumpUntilIdle();

    std::string path = (dir.path() / "buttons.png").string();
    ASSERT_TRUE(host::SaveDesktopPng(path));
    if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
        std::filesystem::copy_file(path, std::filesystem::path(keep) / "buttons.png",
                                   std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(PictureOf(kAltNormal, 88, 56)[20 * 88 + 20], host::DesktopPixel(OnScreen(pressed, 20, 20).x, OnScreen(pressed, 20, 20).y))
        << "latched: the alternate picture";
    EXPECT_EQ(PictureOf(kFocused, 88, 56)[20 * 88 + 20], host::DesktopPixel(OnScreen(hovered, 20, 20).x, OnScreen(hovered, 20, 20).y));
    // The check box: a black frame, a cross through its middle, the caption on yellow.
    CPoint corner = OnScreen(box, 0, 0), middle = OnScreen(box, 10, 10), inside = OnScreen(box, 15, 5);
    EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(corner.x, corner.y));
    EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(middle.x, middle.y));
    EXPECT_EQ(RGB(255, 255, 255), host::DesktopPixel(inside.x, inside.y));
    int yellow = 0;
    for (int x = 24; x < 100; ++x)
        yellow += host::DesktopPixel(OnScreen(box, x, 10).x, OnScreen(box, x, 10).y) == RGB(255, 255, 0);
    EXPECT_GT(yellow, 10);
}

}  // namespace
