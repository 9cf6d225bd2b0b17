#include "FrameTestSupport.h"

#include <host/Display.h>

#include <climits>
#include <cstdlib>
#include <set>

using namespace frametest;

namespace {

class FrameWindowTest : public FrameTest {
protected:
    CRect WindowRect() const
    {
        CRect rect;
        frame->GetWindowRect(&rect);
        return rect;
    }
    CWnd* SearchPane() const { return frame->GetSearchTabWin(); }
};

}  // namespace

TEST_F(FrameWindowTest, PlacementDefaultsAndStoredPlacements)
{
    struct Case {
        const char* name;
        int left, top, right, bottom;
        int width, height;
        CRect expected;
    } cases[] = {
        {"nothing stored", -1, -1, -1, -1, 1024, 768, CRect(114, 86, 910, 682)},
        {"wholly off screen", 2000, 2000, 2500, 2500, 1024, 768, CRect(114, 86, 910, 682)},
        {"left of the screen", -900, 10, -100, 500, 1024, 768, CRect(114, 86, 910, 682)},
        {"empty", 100, 100, 100, 400, 1024, 768, CRect(114, 86, 910, 682)},
        {"kept", 20, 30, 700, 500, 1024, 768, CRect(20, 30, 700, 500)},
        {"clipped to the screen", 100, 50, 1500, 1000, 1024, 768, CRect(100, 50, 1024, 768)},
        {"turned round", 700, 500, 20, 30, 1024, 768, CRect(20, 30, 700, 500)},
        {"small screen", -1, -1, -1, -1, 640, 480, CRect(2, 2, 638, 478)},
        {"tall screen", -1, -1, -1, -1, 800, 1200, CRect(2, 302, 798, 898)},
        {"turned round, cut to the screen", 1500, 1000, 100, 50, 1024, 768, CRect(100, 50, 1024, 768)},
        // Rectangles that do not fit the screen take the default.
        {"partly left of the screen", -200, 30, 700, 500, 1024, 768, CRect(114, 86, 910, 682)},
        {"partly above the screen", 20, -30, 700, 500, 1024, 768, CRect(114, 86, 910, 682)},
        {"one corner missing", -1, 30, 700, 500, 1024, 768, CRect(114, 86, 910, 682)},
        {"far left, reaching in", INT_MIN + 1, 10, 200, 500, 1024, 768, CRect(114, 86, 910, 682)},
        {"far off every way", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1024, 768, CRect(114, 86, 910, 682)},
        {"far right and below", INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, 1024, 768, CRect(114, 86, 910, 682)},
        {"huge, from the corner", 0, 0, INT_MAX, INT_MAX, 1024, 768, CRect(0, 0, 1024, 768)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CBaseWindow::GetFramePlacement(c.left, c.top, c.right, c.bottom, c.width, c.height))
            << c.name;

    // The frame reads the profile.
    MakeFrame();
    EXPECT_EQ(CRect(114, 86, 910, 682), WindowRect());
    DestroyFrame();
    // Its placement is written when it goes, and read again next time.
    EXPECT_EQ("114", Profile("Screen", "left"));
    EXPECT_EQ("682", Profile("Screen", "bottom"));
    EXPECT_EQ("0", Profile("Screen", "max"));
    SetProfile("Screen", "left", "30");
    SetProfile("Screen", "top", "40");
    SetProfile("Screen", "right", "630");
    SetProfile("Screen", "bottom", "540");
    MakeFrame();
    EXPECT_EQ(CRect(30, 40, 630, 540), WindowRect());
    DestroyFrame();
    // A damaged profile: the frame comes up centred at its default size.
    SetProfile("Screen", "left", "-2147483000");
    SetProfile("Screen", "top", "-2147483000");
    SetProfile("Screen", "right", "2147483000");
    SetProfile("Screen", "bottom", "300");
    MakeFrame();
    EXPECT_EQ(CRect(114, 86, 910, 682), WindowRect());
}

TEST_F(FrameWindowTest, LayoutClassThresholds)
{
    struct Case {
        int width;
        int previous;
        int expected;
    } cases[] = {
        {699, 2, 0}, {700, 0, 1}, {948, 2, 1}, {949, 0, 0}, {949, 2, 2},
        {950, 0, 0}, {950, 1, 1}, {951, 0, 2}, {1, 2, 0},   {2000, 0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CBaseWindow::LayoutClassOfWidth(c.width, c.previous))
            << c.width << " after " << c.previous;

    MakeFrame();
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(1, frame->GetLayoutClass()) << "client width " << client.Width();
    for (const Case& c : {Case{951, 0, 2}, Case{950, 2, 2}, Case{699, 2, 0}, Case{949, 0, 0}, Case{700, 0, 1}}) {
        // The frame's border makes the client narrower than the window: size by the client.
        CRect window = WindowRect();
        frame->GetClientRect(&client);
        int border = window.Width() - client.Width();
        frame->SetWindowPos(nullptr, 0, 0, c.width + border, 600, SWP_NOZORDER | SWP_NOMOVE);
        frame->GetClientRect(&client);
        ASSERT_EQ(c.width, client.Width());
        EXPECT_EQ(c.expected, frame->GetLayoutClass()) << c.width;
    }
}

TEST_F(FrameWindowTest, CreationMakesItsWindowsAndLaysThemOut)
{
    MakeFrame();
    CRect client;
    frame->GetClientRect(&client);
    // The clear window is current; the article and table views and both panes exist.
    EXPECT_EQ(View(8015), frame->GetCurrentMainWin());
    EXPECT_NE(nullptr, View(8001));
    EXPECT_NE(nullptr, View(8004));
    EXPECT_EQ(nullptr, View(8003));
    ASSERT_NE(nullptr, frame->GetSearchTabWin());
    ASSERT_NE(nullptr, frame->GetDictionaryTabWin());
    EXPECT_EQ(AppServices().ui.pCurrentView, frame->GetCurrentMainWin());
    // The toolbar is 76 high on a 1024-pixel screen, the status window 16 at the bottom.
    CRect toolbar, status;
    frame->GetToolbar().GetWindowRect(&toolbar);
    frame->GetStatusWin().GetWindowRect(&status);
    frame->ScreenToClient(&toolbar);
    frame->ScreenToClient(&status);
    EXPECT_EQ(CRect(0, 0, client.Width(), 76), toolbar);
    EXPECT_EQ(CRect(0, client.bottom - 16, client.Width(), client.bottom), status);
    CRect view;
    frame->GetViewRect(view);
    EXPECT_EQ(CRect(0, 76, client.Width(), client.bottom - 16), view);

    // Without the disc no view is made (the clear, article and table views each ask), and the
    // frame still stands with no current view.
    DestroyFrame();
    TakeDiscAway();
    for (int i = 0; i < 3; ++i)
        CancelNextDiscPrompt();
    MakeFrame();
    EXPECT_EQ(3, DiscPrompts());
    EXPECT_TRUE(IsWindow(frameHwnd));
    EXPECT_EQ(nullptr, frame->GetCurrentMainWin());
    EXPECT_EQ(nullptr, View(8001));
}

TEST_F(FrameWindowTest, SwitchingViews)
{
    MakeFrame();
    EXPECT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_EQ(View(8001), frame->GetCurrentMainWin());
    EXPECT_TRUE(View(8001)->IsWindowVisible());
    EXPECT_FALSE(View(8015)->IsWindowVisible());
    ui::PumpUntilIdle();
    EXPECT_EQ(CVLToolbar::btnArticle, frame->GetToolbar().GetLatchedButton());
    // The current view again: FALSE, nothing changes.
    EXPECT_FALSE(frame->ShowMainWindow(8001, FALSE));
    // After the clear window came through the main menu, asking for it again switches anyway.
    frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8015, 0);
    EXPECT_TRUE(frame->ShowMainWindow(8015, FALSE));
    EXPECT_FALSE(frame->ShowMainWindow(8015, FALSE));
    EXPECT_TRUE(frame->ShowClearWindow(RGB(1, 2, 3)));
    EXPECT_TRUE(frame->ShowMainWindow(8015, FALSE));

    // The media view never asks for the disc; any other first creation does.
    TakeDiscAway();
    EXPECT_TRUE(frame->ShowMainWindow(8005, FALSE));
    EXPECT_EQ(0, DiscPrompts());
    CancelNextDiscPrompt();
    EXPECT_FALSE(frame->ShowMainWindow(8003, FALSE));
    EXPECT_EQ(1, DiscPrompts());
    EXPECT_EQ(View(8005), frame->GetCurrentMainWin()) << "a view that cannot be made leaves the current one";
    // An id that names no view (the disc is looked for first).
    SetProfile("Files", "DataDir", "T:\\data");
    host::AnswerMessageBox("Cannot Create Unknown Main Window ID", IDOK);
    EXPECT_FALSE(frame->ShowMainWindow(8013, FALSE));
}

TEST_F(FrameWindowTest, TheSearchPaneComesBackWithTheArticleView)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    frame->SendMessage(VLM_SHOW_SEARCH_PANE);
    ASSERT_TRUE(SearchPane()->IsWindowVisible());
    EXPECT_EQ(View(8001), SearchPane()->GetParent());
    // Placed at (10, 10) in the view, 292 wide on a 1024 screen, as high as the view less 20.
    CRect pane, view;
    SearchPane()->GetWindowRect(&pane);
    View(8001)->ScreenToClient(&pane);
    View(8001)->GetClientRect(&view);
    EXPECT_EQ(CRect(10, 10, 302, view.Height() - 10), pane);
    EXPECT_TRUE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));

    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    ui::PumpUntilIdle();
    EXPECT_FALSE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_TRUE(SearchPane()->IsWindowVisible()) << "keepPanes FALSE shows it again";
    EXPECT_TRUE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));

    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    SearchPane()->ShowWindow(SW_HIDE);
    ASSERT_TRUE(frame->ShowMainWindow(8001, TRUE));
    EXPECT_FALSE(SearchPane()->IsWindowVisible()) << "keepPanes TRUE leaves it hidden";

    // A pane moves into whichever view is current, and hides when that view is left.
    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    frame->SendMessage(WM_COMMAND, ID_SHOW_DICTIONARY);
    EXPECT_EQ(View(8004), frame->GetDictionaryTabWin()->GetParent());
    EXPECT_TRUE(frame->GetDictionaryTabWin()->IsWindowVisible());
    ASSERT_TRUE(frame->ShowMainWindow(8001, TRUE));
    EXPECT_FALSE(frame->GetDictionaryTabWin()->IsWindowVisible());

    // Without the disc the command ends silently and the toolbar hears the pane is down.
    TakeDiscAway();
    CancelNextDiscPrompt();
    frame->GetToolbar().SendMessage(VLM_PANE_UP, 0, 1);
    frame->SendMessage(WM_COMMAND, ID_SHOW_SEARCH);
    ui::PumpUntilIdle();
    EXPECT_FALSE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
}

TEST_F(FrameWindowTest, TheStoredFontSizeIsAppliedOnce)
{
    SetProfile("Screen", "Font Size", "0");
    MakeFrame();
    auto* article = static_cast<CArticleMainWin*>(View(8001));
    EXPECT_EQ(-1, article->GetFontSize());
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_EQ(0, article->GetFontSize());
    article->SendMessage(VLM_FONT_SIZE, 0, 1);
    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_EQ(1, article->GetFontSize()) << "once per run";

    // Nothing stored: the screen class.
    DestroyFrame();
    CBaseWindow::ResetSharedState();
    SetProfile("Screen", "Font Size", "-1");
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_EQ(2, static_cast<CArticleMainWin*>(View(8001))->GetFontSize());
}

TEST_F(FrameWindowTest, MenuFollowsTheView)
{
    SetProfile("Screen", "Font Size", "1");
    MakeFrame();
    // The menu comes from the program's resources; creation enables Word Processor and Options.
    ASSERT_NE(nullptr, frame->GetMenu());
    EXPECT_FALSE(frame->GetMenu()->GetMenuState(ID_OPTIONS, MF_BYCOMMAND) & MF_GRAYED);
    CMenu* editMenu = frame->GetMenu()->GetSubMenu(1);
    ASSERT_NE(nullptr, editMenu);

    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    EXPECT_TRUE(frame->GetMenu()->GetMenuState(9001, MF_BYCOMMAND) & MF_GRAYED) << "Save As, in the File menu";
    EXPECT_TRUE(editMenu->GetMenuState(9007, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(editMenu->GetMenuState(4, MF_BYPOSITION) & MF_GRAYED);
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_FALSE(frame->GetMenu()->GetMenuState(9001, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(editMenu->GetMenuState(9007, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(editMenu->GetMenuState(4, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(frame->GetMenu()->GetMenuState(ID_FONT_MEDIUM, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(frame->GetMenu()->GetMenuState(ID_FONT_SMALL, MF_BYCOMMAND) & MF_CHECKED);

    // The recent-articles list: at most five after the File menu's six items.
    auto* titles = new CStringArray;
    for (const char* t : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta"})
        titles->Add(t);
    frame->SendMessage(VLM_RECENT_ARTICLES, 8, reinterpret_cast<LPARAM>(titles));
    CMenu* fileMenu = frame->GetMenu()->GetSubMenu(0);
    ASSERT_EQ(12u, fileMenu->GetMenuItemCount());
    CString text;
    fileMenu->GetMenuString(9041, text, MF_BYCOMMAND);
    EXPECT_STREQ("&1 Alpha", text);
    fileMenu->GetMenuString(9045, text, MF_BYCOMMAND);
    EXPECT_STREQ("&5 Epsilon", text);
    titles = new CStringArray;
    titles->Add("Only");
    frame->SendMessage(VLM_RECENT_ARTICLES, 1, reinterpret_cast<LPARAM>(titles));
    EXPECT_EQ(8u, fileMenu->GetMenuItemCount());
}

TEST_F(FrameWindowTest, ScreenshotsOfTheClearView)
{
    for (SIZE screen : {SIZE{1024, 768}, SIZE{640, 480}}) {
        SCOPED_TRACE(screen.cx);
        DestroyFrame();
        host::SetDesktopSize(screen.cx, screen.cy);
        ResetProgramState();
        LoadResourceLibrary();
        for (const char* key : {"left", "top", "right", "bottom"})
            SetProfile("Screen", key, "-1");
        MakeFrame();
        EXPECT_EQ(CBaseWindow::GetFramePlacement(-1, -1, -1, -1, screen.cx, screen.cy), WindowRect());
        frame->ShowClearWindow(RGB(255, 231, 2));
        frame->UpdateWindow();
        ui::PumpUntilIdle();

        std::string path = (dir.path() / ("frame-" + std::to_string(screen.cx) + ".png")).string();
        ASSERT_TRUE(host::SaveDesktopPng(path));
        ASSERT_GT(std::filesystem::file_size(path), 1000u);
        if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
            std::filesystem::copy_file(path, std::filesystem::path(keep) / std::filesystem::path(path).filename(),
                                       std::filesystem::copy_options::overwrite_existing);

        // The clear colour fills the view area, the toolbar and status window frame it.
        CRect view;
        frame->GetViewRect(view);
        CPoint middle = view.CenterPoint();
        frame->ClientToScreen(&middle);
        EXPECT_EQ(RGB(255, 231, 2), host::DesktopPixel(middle.x, middle.y));
        // The toolbar's ground (palette entry 30) left of the Tool Kit button.
        CPoint toolbar(2, 2);
        frame->ClientToScreen(&toolbar);
        PALETTEENTRY ground{};
        ASSERT_EQ(1u, GetAppDisplayPalette()->GetPaletteEntries(30, 1, &ground));
        EXPECT_EQ(RGB(ground.peRed, ground.peGreen, ground.peBlue), host::DesktopPixel(toolbar.x, toolbar.y));
        std::set<COLORREF> colours;
        CRect window;
        frame->GetWindowRect(&window);
        for (int y = window.top; y < window.bottom; y += 7)
            for (int x = window.left; x < window.right; x += 7)
                colours.insert(host::DesktopPixel(x, y));
        EXPECT_GE(colours.size(), 4u) << "more than a blank frame";
    }
}

TEST_F(FrameWindowTest, TheMouseHookOpensMenusUnderThePointerButNotTheOneJustClicked)
{
    MakeFrame();
    CMenu menu;
    menu.CreateMenu();
    for (const char* title : {"&File", "&Edit", "&View"}) {
        CMenu popup;
        popup.CreatePopupMenu();
        popup.AppendMenu(MF_STRING, 100, "item");
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), title);
    }
    frame->SetMenu(&menu);
    ui::PumpUntilIdle();
    // The hook is called by hand here, with the pointer put where the event says it is (the
    // presses it makes go to the window under the pointer); the frame's own is taken off.
    CBaseWindow::ResetSharedState();
    auto at = [&](UINT item) {
        CRect rect;
        EXPECT_TRUE(GetMenuItemRect(frameHwnd, menu.GetSafeHmenu(), item, &rect));
        return rect.CenterPoint();
    };
    // What a pointer event makes the hook do: the number of left-button presses it queued.
    auto hook = [&](UINT message, POINT pt, UINT hitTest) {
        MOUSEHOOKSTRUCT mouse{};
        mouse.pt = pt;
        mouse.hwnd = frameHwnd;
        mouse.wHitTestCode = hitTest;
        SetCursorPos(pt.x, pt.y);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE)) {
        }
        CBaseWindow::FrameMouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&mouse));
        int presses = 0;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE))
            presses += msg.message == WM_NCLBUTTONDOWN || msg.message == WM_LBUTTONDOWN;
        return presses;
    };
    CPoint file = at(0), edit = at(1);
    // Over the menu bar: the item opens by itself.
    EXPECT_EQ(1, hook(WM_NCMOUSEMOVE, file, HTMENU));
    // Not over the menu bar: nothing.
    EXPECT_EQ(0, hook(WM_NCMOUSEMOVE, file, HTCAPTION));
    // The item just clicked does not open again while the pointer stays on it...
    EXPECT_EQ(0, hook(WM_LBUTTONUP, file, HTMENU));
    EXPECT_EQ(0, hook(WM_NCMOUSEMOVE, file, HTMENU));
    // ...and the next item wants one more move: the first clears the memory of the click.
    EXPECT_EQ(0, hook(WM_NCMOUSEMOVE, edit, HTMENU));
    EXPECT_EQ(1, hook(WM_NCMOUSEMOVE, edit, HTMENU));
    frame->SetMenu(nullptr);
    menu.DestroyMenu();
}
