// The floating panel and the tab dialog: the frame and caption band's layout, the title's
// ellipsis, the close box's press, release and drag-off, the caption colours by focus, the
// modal loop with its owner disabled and its end codes; the popup message box; the status
// window's text ownership and its ellipsis. Screenshots of a popup box.
#include "widgets/GenericTabWin.h"
#include "widgets/PopupMessageBox.h"
#include "widgets/StatusWin.h"
#include "widgets/TextEllipsis.h"

#include "base/AppServices.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"

#include "WidgetTestSupport.h"

#include <TestAppHost.h>

#include <DialogDriver.h>

#include <host/Display.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The main window of these tests: it keeps the lParams of the VLM_PANE_DOWN messages it is sent.
class CMainHost : public CWnd {
public:
    std::vector<LPARAM> closedNotices;

protected:
    afx_msg LRESULT OnPanelClosed(WPARAM, LPARAM lParam)
    {
        closedNotices.push_back(lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainHost, CWnd)
ON_MESSAGE(VLM_PANE_DOWN, OnPanelClosed)
END_MESSAGE_MAP()

// A panel that tells which caption colour its last painting asked for.
class CProbePanel : public CGenericTabWin {
public:
    COLORREF GetActiveTextColor() override
    {
        ++activeAsked;
        return PALETTEINDEX(10);
    }
    COLORREF GetInactiveTextColor() override
    {
        ++inactiveAsked;
        return PALETTEINDEX(11);
    }
    int activeAsked = 0;
    int inactiveAsked = 0;
};

class PanelsTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        AppServices().env.nScreenWidth = 1024;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        BitmapTest::TearDown();
    }

    // A screen point at an offset into a window's rectangle.
    static CPoint At(CWnd& wnd, CPoint offset)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        return r.TopLeft() + offset;
    }
    static CPoint CloseBoxCentre(CGenericTabWin& panel) { return At(panel, panel.GetCloseBoxRect().CenterPoint()); }

    CMainHost main;
};

}  // namespace

TEST_F(PanelsTest, FrameCaptionBandAndCloseBoxTakeTheirPlaces)
{
    CGenericTabWin panel;
    ASSERT_TRUE(panel.Create(nullptr, "Outline", WS_VISIBLE, CRect(20, 30, 270, 330), &main, 8100));
    EXPECT_EQ(WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE,
              panel.GetStyle() & (WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE));
    const int ex = 2 * GetSystemMetrics(SM_CXEDGE) + 1, ey = 2 * GetSystemMetrics(SM_CYEDGE) + 1;
    CRect window, client;
    panel.GetWindowRect(&window);
    panel.GetClientRect(&client);
    CPoint origin(0, 0);
    panel.ClientToScreen(&origin);
    EXPECT_EQ(window.TopLeft() + CPoint(ex, ey + 27), origin);
    EXPECT_EQ(CSize(250 - 2 * ex, 300 - 2 * ey - 27), client.Size());
    // The close box is the picture's size (16 x 14 at screen class 0), 2 pixels in from the
    // band's right end and centred on the band less one pixel.
    CRect band = CGenericTabWin::CaptionBandRect(250);
    EXPECT_EQ(CRect(ex, ey, 250 - ex, ey + 27), band);
    EXPECT_EQ(CRect(band.right - 2 - 16, band.top + (27 - 14) / 2 - 1, band.right - 2, band.top + (27 - 14) / 2 - 1 + 14),
              panel.GetCloseBoxRect());

    // Showing a panel collapses the frame's Tool Kit; hiding it does not.
    static int collapsed;
    collapsed = 0;
    CTestAppHost appHost;
    appHost.collapseToolkit = [] { ++collapsed; };
    panel.ShowWindow(SW_HIDE);
    EXPECT_EQ(0, collapsed);
    panel.ShowWindow(SW_SHOW);
    EXPECT_EQ(1, collapsed);
    appHost.collapseToolkit = nullptr;

    // A window shorter than its frame and band gets an empty client area, never a negative one.
    panel.SetWindowPos(nullptr, 0, 0, 8, 20, SWP_NOMOVE | SWP_NOZORDER);
    panel.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, 0, 0), client);
}

TEST_F(PanelsTest, TitlesThatDoNotFitEndInAnEllipsis)
{
    CClientDC dc(&main);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial Bold"));
    CFont* old = dc.SelectObject(&font);
    auto width = [&](const CString& s) { return dc.GetTextExtent(s, s.GetLength()).cx; };
    const CString longTitle = "Related Articles and Further Reading";
    struct Case {
        const char* what;
        CString title;
        int room;
        std::string expected;  // "=": unchanged; "fit": a shortened form that fits; else the text
    } cases[] = {
        {"fits", "Outline", 200, "="},
        {"exactly fits", "Outline", width("Outline"), "="},
        {"one pixel short", "Outline", width("Outline") - 1, "fit"},
        {"long", longTitle, 120, "fit"},
        {"no room: two characters stay", longTitle, 5, "Re..."},
        {"two characters are never shortened", "Go", 1, "Go"},
    };
    for (const Case& c : cases) {
        CString shown = CGenericTabWin::FitTitle(&dc, c.title, 40, 40 + c.room);
        if (c.expected == "=") {
            EXPECT_STREQ(c.title, shown) << c.what;
        } else if (c.expected == "fit") {
            EXPECT_EQ("...", std::string(shown.Right(3))) << c.what;
            EXPECT_LE(width(shown), c.room) << c.what;
            // The longest prefix that fits: one more character would not.
            CString longer = c.title.Left(shown.GetLength() - 3 + 1) + "...";
            EXPECT_GT(width(longer), c.room) << c.what;
            EXPECT_EQ(0, c.title.Find(shown.Left(shown.GetLength() - 3))) << c.what;
        } else {
            EXPECT_STREQ(c.expected.c_str(), shown) << c.what;
        }
    }
    dc.SelectObject(old);

    // On screen: a narrow panel with that long title.
    CGenericTabWin panel;
    ASSERT_TRUE(panel.Create(nullptr, longTitle, WS_VISIBLE, CRect(20, 30, 200, 150), &main, 8100));
    panel.SetFocus();
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(panel.GetSafeHwnd(), "tab_window_long_title.png");
}

TEST_F(PanelsTest, TheCloseBoxClosesOnlyWhenPressedAndReleasedInside)
{
    CGenericTabWin panel;
    ASSERT_TRUE(panel.Create(nullptr, "Outline", WS_VISIBLE, CRect(20, 30, 270, 330), &main, 8100));
    ui::PumpUntilIdle();
    CPoint box = CloseBoxCentre(panel);
    CPoint caption = At(panel, CPoint(60, 15));

    // Pressed inside, released on the caption: nothing closes, the press is over.
    host::MouseMove(box.x, box.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_TRUE(panel.IsCloseBoxPressed());
    host::MouseMove(caption.x, caption.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_FALSE(panel.IsCloseBoxPressed());
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_TRUE(main.closedNotices.empty());

    // Pressed inside, dragged off the panel and released outside it: no release reaches the
    // panel; a later press elsewhere on the caption forgets the press, so a release on the box
    // after it does not close either.
    host::StepClock(1000);
    host::MouseMove(box.x, box.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    host::MouseMove(600, 500);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_TRUE(panel.IsWindowVisible());
    host::StepClock(1000);
    CPoint band = At(panel, CPoint(panel.GetCloseBoxRect().left - 30, panel.GetCloseBoxRect().top + 2));
    host::MouseMove(band.x, band.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_FALSE(panel.IsCloseBoxPressed());
    host::MouseUp();
    ui::PumpUntilIdle();
    host::StepClock(1000);
    host::MouseMove(box.x, box.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_TRUE(main.closedNotices.empty());

    // Pressed and released inside: the main window hears VLM_PANE_DOWN (0, 3) and the panel hides,
    // still existing.
    host::StepClock(1000);
    host::Click(box.x, box.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(std::vector<LPARAM>{3}, main.closedNotices);
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(panel.GetSafeHwnd()));
}

TEST_F(PanelsTest, TheWholeCaptionBandMovesThePanel)
{
    CGenericTabWin panel;
    ASSERT_TRUE(panel.Create(nullptr, "Outline", WS_VISIBLE, CRect(20, 30, 270, 330), &main, 8100));
    ui::PumpUntilIdle();
    CRect before;
    panel.GetWindowRect(&before);
    // Low in the band, below where a system caption would end.
    CPoint from = At(panel, CPoint(80, CGenericTabWin::CaptionBandRect(250).bottom - 2));
    host::MouseMove(from.x, from.y);
    host::MouseDown();
    host::RunInNextModalLoop([from](HWND) {
        host::MouseMove(from.x + 30, from.y + 40);
        host::MouseUp();
    });
    ui::PumpUntilIdle();
    CRect after;
    panel.GetWindowRect(&after);
    EXPECT_EQ(before.TopLeft() + CPoint(30, 40), after.TopLeft());
    EXPECT_EQ(before.Size(), after.Size());
}

TEST_F(PanelsTest, TheCaptionIsActiveWhileTheFocusIsInThePanelOrItsControls)
{
    CProbePanel panel;
    ASSERT_TRUE(panel.Create(nullptr, "Search by Topic", WS_VISIBLE, CRect(20, 30, 270, 330), &main, 8100));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 100, 25), &panel, 1));
    struct Case {
        const char* what;
        CWnd* focus;
        bool active;
    } cases[] = {{"the panel", &panel, true}, {"a control inside", &edit, true}, {"the main window", &main, false}};
    for (const Case& c : cases) {
        c.focus->SetFocus();
        ui::PumpUntilIdle();
        panel.activeAsked = panel.inactiveAsked = 0;
        panel.RedrawCaption();
        EXPECT_EQ(c.active ? 1 : 0, panel.activeAsked) << c.what;
        EXPECT_EQ(c.active ? 0 : 1, panel.inactiveAsked) << c.what;
    }
}

TEST_F(PanelsTest, ATabDialogRunsModallyOverItsDisabledOwnerAndEndsWithItsCode)
{
    struct Case {
        const char* what;
        std::function<void(CPopupMessageBox&, HWND)> end;
        int code;
    } cases[] = {
        {"the OK button", [](CPopupMessageBox& box, HWND) {
             CRect r;
             box.GetOKButton().GetWindowRect(&r);
             host::Click(r.CenterPoint().x, r.CenterPoint().y);
             ui::PumpUntilIdle();
         }, 1},
        {"Cancel", [](CPopupMessageBox&, HWND dlg) { ::SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0); }, 2},
        {"the window's close box", [](CPopupMessageBox& box, HWND) {
             CPoint p = CloseBoxCentre(box);
             host::Click(p.x, p.y);
             ui::PumpUntilIdle();
         }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main.closedNotices.clear();
        CPoint where(300, 200);
        CPopupMessageBox box("Text not found.", "Find", &where);
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            EXPECT_EQ(box.GetSafeHwnd(), dlg);
            EXPECT_TRUE(::IsWindowVisible(dlg));
            EXPECT_FALSE(main.IsWindowEnabled()) << "the owner is disabled while the dialog runs";
            EXPECT_EQ(main.GetSafeHwnd(), ::GetWindow(dlg, GW_OWNER));
            EXPECT_EQ(main.GetSafeHwnd(), ::GetWindow(dlg, GW_HWNDNEXT)) << "the owner lies just behind the dialog";
            EXPECT_EQ(WS_POPUP | WS_CAPTION, box.GetStyle() & (WS_POPUP | WS_CAPTION | WS_CHILD));
            EXPECT_TRUE(box.GetExStyle() & WS_EX_DLGMODALFRAME);
            CRect r;
            box.GetWindowRect(&r);
            EXPECT_EQ(CRect(300, 200, 520, 350), r);
            c.end(box, dlg);
        });
        EXPECT_EQ(c.code, box.RunTabDialog());
        EXPECT_TRUE(ran);
        EXPECT_EQ(nullptr, box.GetSafeHwnd()) << "the window is gone when the loop returns";
        EXPECT_TRUE(main.IsWindowEnabled());
        EXPECT_EQ(main.GetSafeHwnd(), ::GetActiveWindow());
    }
}

TEST_F(PanelsTest, ATabDialogThatCannotBeMadeEndsWithCancelAndFreesItsOwner)
{
    // Without the screen-class library there is no close-box picture: the window is not made.
    ::FreeLibrary(AppServices().env.hResourceLibrary);
    AppServices().env.hResourceLibrary = nullptr;
    CPopupMessageBox box("Text not found.", "Find", nullptr);
    host::AnswerMessageBox("A required resource was unavailable.", IDOK);
    EXPECT_EQ(2, box.RunTabDialog());
    EXPECT_EQ(nullptr, box.GetSafeHwnd());
    EXPECT_TRUE(main.IsWindowEnabled());
}

TEST_F(PanelsTest, APopupBoxShowsItsMessageOverItsButton)
{
    struct Case {
        const char* what;
        const char* text;
        const char* shot;
    } cases[] = {
        {"a message", "Text not found.", "popup_message_box.png"},
        {"no message: only the button", "", "popup_message_box_empty.png"},
        {"a message wider than the box is cut, not wrapped",
         "This message is far too long to fit on the single line of the box", "popup_message_box_long.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPoint where(120, 90);
        CPopupMessageBox box(c.text, "Find", &where);
        host::RunInNextModalLoop([&](HWND dlg) {
            ui::PumpUntilIdle();
            CRect client, button;
            box.GetClientRect(&client);
            box.GetOKButton().GetWindowRect(&button);
            box.ScreenToClient(&button);
            EXPECT_EQ(CSize(64, 24), button.Size());
            EXPECT_EQ(80, button.top);
            EXPECT_EQ((client.Width() - button.Width()) / 2, button.left);
            // Text only in the band from y 10 to 70, on one line around its middle.
            CClientDC dc(&box);
            int inked = 0, outsideLine = 0;
            COLORREF background = dc.GetPixel(2, 2);
            for (int y = 0; y < 78; ++y)
                for (int x = 0; x < client.Width(); ++x)
                    if (dc.GetPixel(x, y) != background) {
                        ++inked;
                        outsideLine += (y < 30 || y > 50);
                    }
            if (*c.text == '\0')
                EXPECT_EQ(0, inked);
            else
                EXPECT_GT(inked, 20);
            EXPECT_EQ(0, outsideLine);
            ui::dialog::Screenshot(dlg, c.shot);
            box.EndTabDialog(1);
        });
        EXPECT_EQ(1, box.RunTabDialog());
    }
}

TEST_F(PanelsTest, TheStatusWindowOwnsItsTextAndShortensItFromTheOriginal)
{
    CStatusWin status;
    ASSERT_TRUE(status.Create(&main));
    status.SetWindowPos(nullptr, 0, 560, 300, 16, SWP_NOZORDER | SWP_SHOWWINDOW);
    CRect r;
    status.GetWindowRect(&r);
    EXPECT_EQ(CSize(300, 16), r.Size());
    EXPECT_EQ(0, status.GetDlgCtrlID());

    // Each new text replaces (and frees) the last; 0 empties the line.
    status.SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString("Pointing at a map")));
    EXPECT_STREQ("Pointing at a map", status.GetText());
    status.SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString("A second text")));
    EXPECT_STREQ("A second text", status.GetText());
    status.SendMessage(VLM_STATUS_TEXT, 0, 0);
    EXPECT_STREQ("", status.GetText());

    CClientDC dc(&status);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "MS Sans Serif"));
    CFont* old = dc.SelectObject(&font);
    auto width = [&](const CString& s) { return dc.GetTextExtent(s, s.GetLength()).cx; };
    const CString longText = "Veltra Jubilee 2000: the encyclopedia's articles, pictures, maps and more";
    struct Case {
        const char* what;
        CString text;
        int cx;
    } cases[] = {
        {"fits", "Pointing at a map", 300},
        {"too long", longText, 120},
        {"far too long: one character and the ellipsis", longText, 12},
        {"one character is never shortened", "W", 3},
    };
    for (const Case& c : cases) {
        CString shown = CStatusWin::FitText(&dc, c.text, c.cx);
        if (width(c.text) <= c.cx - 10 || c.text.GetLength() == 1) {
            EXPECT_STREQ(c.text, shown) << c.what;
            continue;
        }
        ASSERT_GE(shown.GetLength(), 4) << c.what;
        EXPECT_EQ("...", std::string(shown.Right(3))) << c.what;
        EXPECT_EQ(0, c.text.Find(shown.Left(shown.GetLength() - 3))) << c.what << ": a prefix of the original";
        EXPECT_TRUE(width(shown) <= c.cx - 10 || shown.GetLength() == 4) << c.what;
    }
    dc.SelectObject(old);

    // Painted: a black line along the top, the text in black on white below it.
    status.SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString(longText)));
    ui::PumpUntilIdle();
    CClientDC paint(&status);
    EXPECT_EQ(RGB(0, 0, 0), paint.GetPixel(150, 0));
    EXPECT_EQ(RGB(255, 255, 255), paint.GetPixel(299, 8));
}
