// The application toolbar and the Tool Kit in the running frame: the layout at the three screen
// classes, the messages that keep the buttons in step with the frame, the buttons' commands,
// the Tool Kit's slide on the media timer (virtual ticks), commands pressed during a slide, the
// tips, and screenshots of the frame with the toolbar and an open Tool Kit.
#include "FrameTestSupport.h"

#include "base/ResourceLibrary.h"
#include "shell/Toolkit.h"
#include "widgets/TipWnd.h"

#include <MessageSpy.h>

#include <host/Desktop.h>
#include <host/Display.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include "resource.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace frametest;

namespace {

class ToolbarTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        CTipWnd::ResetShared();
    }

    // A desktop of that size, with the resource library and palettes of its screen class.
    void UseScreen(int cx, int cy)
    {
        DestroyFrame();
        host::SetDesktopSize(cx, cy);
        ResetProgramState();
        std::string name = "vl_res" + std::to_string(GetAppScreenClass()) + ".dll";
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/" + name);
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(LoadAppPalettes());
        for (const char* key : {"left", "top", "right", "bottom"})
            SetProfile("Screen", key, "-1");
    }

    // The frame maximised, as the program shows it by default.
    void MakeMaximisedFrame()
    {
        MakeFrame();
        frame->ShowWindow(SW_SHOWMAXIMIZED);
        ui::PumpUntilIdle();
    }
    CVLToolbar& Toolbar() { return frame->GetToolbar(); }
    CToolkit* Toolkit() { return frame->GetToolkit(); }
    // A toolbar button's rectangle in the toolbar's client coordinates.
    CRect Place(int id)
    {
        CRect rect;
        Toolbar().GetButton(id)->GetWindowRect(&rect);
        Toolbar().ScreenToClient(&rect);
        return rect;
    }
    CRect PanelInFrame()
    {
        CRect rect;
        Toolkit()->GetWindowRect(&rect);
        frame->ScreenToClient(&rect);
        return rect;
    }
    void Press(int id) { Toolbar().SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Ticks of the media timer until the slide is over; the number of ticks that moved it.
    int RunSlide()
    {
        int ticks = 0;
        while (Toolkit()->IsMoving() && ticks < 100) {
            ui::AdvanceClock(15);
            ++ticks;
        }
        return ticks;
    }
    void OpenToolkit()
    {
        Press(CVLToolbar::btnToolkit);
        RunSlide();
        ASSERT_EQ(1, Toolkit()->GetState());
    }
    static void KeepScreenshot(const std::string& name, const CRect& rect)
    {
        TempDir tmp;
        std::string png = (tmp.path() / name).string();
        RECT r = rect;
        ASSERT_TRUE(host::SaveDesktopPng(png, &r));
        ASSERT_GT(std::filesystem::file_size(png), 1000u);
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
};

TEST_F(ToolbarTest, LayoutRulesOfTheThreeScreenClasses)
{
    struct Case {
        int screenClass, width, leftPart, gap;
    } const cases[] = {
        {0, 640, 240, 0},     // 35 % is 224: the class minimum holds
        {0, 600, 240, 0},     // too narrow for the nine buttons: the gap stays 0
        {1, 800, 333, 8},     // (800 - 333 - 9 x 44) / 8
        {1, 1000, 350, 31},   // 35 % above the minimum
        {2, 1024, 422, 22},   // (1024 - 422 - 9 x 47) / 8
        {2, 700, 422, 0},     // never negative
        {2, 1600, 560, 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.screenClass) + " at " + std::to_string(c.width));
        int left = CVLToolbar::LeftPartWidth(c.width, c.screenClass);
        EXPECT_EQ(c.leftPart, left);
        EXPECT_EQ(c.gap, CVLToolbar::ButtonGap(c.width, left, c.screenClass));
    }
}

TEST_F(ToolbarTest, TheRunningToolbarIsLaidOutAtEachScreenClass)
{
    struct Case {
        int cx, cy, screenClass, height, panelWidth, overlap;
    } const cases[] = {{640, 480, 0, 50, 38, 11}, {800, 600, 1, 58, 42, 15}, {1024, 768, 2, 76, 51, 19}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cx);
        UseScreen(c.cx, c.cy);
        MakeMaximisedFrame();
        ASSERT_EQ(c.screenClass, CVLToolbar::LoadedScreenClass());
        CRect client;
        Toolbar().GetClientRect(&client);
        EXPECT_EQ(c.height, client.Height());
        const int width = client.Width();
        EXPECT_EQ(CVLToolbar::LeftPartWidth(width, c.screenClass), Toolbar().GetLeftPart());
        const int gap = Toolbar().GetGap();
        EXPECT_EQ(CVLToolbar::ButtonGap(width, Toolbar().GetLeftPart(), c.screenClass), gap);
        EXPECT_GE(gap, 0);

        // The Tool Kit button at x 5, centred; Search and Dictionary after it, 1 apart.
        CRect toolkit = Place(CVLToolbar::btnToolkit);
        EXPECT_EQ(5, toolkit.left);
        EXPECT_EQ((c.height - toolkit.Height()) / 2, toolkit.top);
        CRect search = Place(CVLToolbar::btnSearch), dictionary = Place(CVLToolbar::btnDictionary);
        EXPECT_EQ(toolkit.Width() + 11, search.left);
        EXPECT_EQ(search.right + 1, dictionary.left);
        EXPECT_EQ(dictionary.left + dictionary.Width() / 2, Toolbar().GetDictionaryCentre());
        EXPECT_LE(dictionary.right, Toolbar().GetLeftPart()) << "the left part holds its three buttons";

        // The nine others from the left part on, in their order, one gap apart, all in view.
        const int row[] = {CVLToolbar::btnBack,   CVLToolbar::btnForward,     CVLToolbar::btnHome,
                           CVLToolbar::btnArticle, CVLToolbar::btnJustLooking, CVLToolbar::btnAtlas,
                           CVLToolbar::btnTimeFrame, CVLToolbar::btnVLPlus,    CVLToolbar::btnStop};
        int x = Toolbar().GetLeftPart();
        for (int id : row) {
            SCOPED_TRACE(id);
            CRect rect = Place(id);
            EXPECT_EQ(x, rect.left);
            EXPECT_EQ((c.height - Place(CVLToolbar::btnBack).Height()) / 2, rect.top);
            EXPECT_TRUE(Toolbar().GetButton(id)->IsWindowVisible());
            x = rect.right + gap;
        }
        EXPECT_LE(Place(CVLToolbar::btnStop).right, width) << "the maximised frame holds the whole row";

        // The closed panel hangs from the Tool Kit button, centred on it, 0 high.
        CRect panel = PanelInFrame();
        CRect button = toolkit;
        Toolbar().ClientToScreen(&button);
        frame->ScreenToClient(&button);
        EXPECT_EQ(c.panelWidth, panel.Width());
        EXPECT_EQ(button.left + (button.Width() - c.panelWidth) / 2, panel.left);
        EXPECT_EQ(button.bottom + 1 - c.overlap, panel.top);
        EXPECT_EQ(0, panel.Height());
    }
}

TEST_F(ToolbarTest, AnotherScreenClassReloadsThePictures)
{
    UseScreen(1024, 768);
    MakeFrame();
    int wide = Place(CVLToolbar::btnSearch).Width();
    // The same frame laid out after the screen class changed (the library of class 0 loaded).
    AppServices().env.nScreenClass = 0;
    auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
    ::FreeLibrary(AppServices().env.hResourceLibrary);
    AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
    Toolbar().Layout(900);
    EXPECT_EQ(0, CVLToolbar::LoadedScreenClass());
    EXPECT_LT(Place(CVLToolbar::btnSearch).Width(), wide) << "the class 0 pictures are smaller";
    EXPECT_EQ(240, CVLToolbar::LeftPartWidth(600, 0));
}

TEST_F(ToolbarTest, MessagesKeepTheButtonsInStep)
{
    MakeFrame();
    // VLM_TOOLBAR_VIEW: the view button latched for each view id.
    struct Latch {
        UINT view;
        int button;
    } const latches[] = {{8001, CVLToolbar::btnArticle}, {8004, CVLToolbar::btnArticle},
                         {8002, CVLToolbar::btnJustLooking}, {8003, CVLToolbar::btnAtlas},
                         {8006, CVLToolbar::btnTimeFrame}, {8009, CVLToolbar::btnVLPlus},
                         {8005, 0}, {8001, CVLToolbar::btnArticle}, {8015, 0}, {8013, 0}};
    const int viewButtons[] = {CVLToolbar::btnArticle, CVLToolbar::btnJustLooking, CVLToolbar::btnAtlas,
                               CVLToolbar::btnTimeFrame, CVLToolbar::btnVLPlus};
    for (const Latch& l : latches) {
        SCOPED_TRACE(l.view);
        EXPECT_EQ(0, Toolbar().SendMessage(VLM_TOOLBAR_VIEW, l.view, 0));
        EXPECT_EQ(l.button, Toolbar().GetLatchedButton());
        for (int id : viewButtons)
            EXPECT_EQ(id == l.button, Toolbar().IsButtonDown(id) != FALSE) << id;
    }
    // The same view again changes nothing: an open Tool Kit stays out. Another view collapses it.
    Toolbar().SendMessage(VLM_TOOLBAR_VIEW, 8003, 0);
    OpenToolkit();
    Toolbar().SendMessage(VLM_TOOLBAR_VIEW, 8003, 0);
    EXPECT_EQ(1, Toolkit()->GetState());
    EXPECT_TRUE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));
    Toolbar().SendMessage(VLM_TOOLBAR_VIEW, 8001, 0);
    EXPECT_EQ(0, Toolkit()->GetState());
    EXPECT_EQ(0, PanelInFrame().Height());
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));

    // VLM_PANE_DOWN and VLM_PANE_UP: which buttons each value releases or presses.
    struct Pane {
        UINT message;
        LPARAM which;
        bool search, dictionary, toolkit;  // the states after the message, all three down before
    } const panes[] = {
        {VLM_PANE_DOWN, 1, false, true, true}, {VLM_PANE_DOWN, 2, true, false, true},
        {VLM_PANE_DOWN, 3, false, false, true}, {VLM_PANE_DOWN, 5, true, true, false},
        {VLM_PANE_DOWN, 4, true, true, true},   {VLM_PANE_DOWN, 0, true, true, true},
    };
    for (const Pane& p : panes) {
        SCOPED_TRACE(p.which);
        for (LPARAM up : {1, 2, 4})
            Toolbar().SendMessage(VLM_PANE_UP, 0, up);
        EXPECT_EQ(0, Toolbar().SendMessage(p.message, 0, p.which));
        EXPECT_EQ(p.search, Toolbar().IsButtonDown(CVLToolbar::btnSearch) != FALSE);
        EXPECT_EQ(p.dictionary, Toolbar().IsButtonDown(CVLToolbar::btnDictionary) != FALSE);
        EXPECT_EQ(p.toolkit, Toolbar().IsButtonDown(CVLToolbar::btnToolkit) != FALSE);
    }
    const struct {
        LPARAM which;
        bool search, dictionary, toolkit;  // all three up before
    } presses[] = {{1, true, false, false}, {2, false, true, false}, {4, false, false, true},
                   {3, false, false, false}, {5, false, false, false}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.which);
        Toolbar().SendMessage(VLM_PANE_DOWN, 0, 3);
        Toolbar().SendMessage(VLM_PANE_DOWN, 0, 5);
        EXPECT_EQ(0, Toolbar().SendMessage(VLM_PANE_UP, 0, p.which));
        EXPECT_EQ(p.search, Toolbar().IsButtonDown(CVLToolbar::btnSearch) != FALSE);
        EXPECT_EQ(p.dictionary, Toolbar().IsButtonDown(CVLToolbar::btnDictionary) != FALSE);
        EXPECT_EQ(p.toolkit, Toolbar().IsButtonDown(CVLToolbar::btnToolkit) != FALSE);
    }

    // VLM_STOP_OFF: the Stop button's state and enabled state follow lParam.
    CButton* stop = Toolbar().GetButton(CVLToolbar::btnStop);
    for (LPARAM on : {1, 0, 1, 0}) {
        EXPECT_EQ(0, Toolbar().SendMessage(VLM_STOP_OFF, 0, on));
        EXPECT_EQ(on != 0, stop->IsWindowEnabled() != FALSE);
        EXPECT_EQ(on != 0, (stop->GetState() & BST_PUSHED) != 0);
    }
}

TEST_F(ToolbarTest, ButtonsSendTheirCommandsToTheFrame)
{
    WriteAtlasData();  // the atlas opens on its world map
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    ui::PumpUntilIdle();
    struct Case {
        int button;
        UINT command;
    } const cases[] = {{CVLToolbar::btnBack, ID_GO_BACK},         {CVLToolbar::btnForward, ID_GO_FORWARD},
                       {CVLToolbar::btnArticle, ID_VIEW_ARTICLE}, {CVLToolbar::btnTimeFrame, ID_VIEW_TIMEFRAME},
                       {CVLToolbar::btnAtlas, ID_VIEW_ATLAS},     {CVLToolbar::btnJustLooking, ID_VIEW_JUSTLOOKING},
                       {CVLToolbar::btnVLPlus, ID_VIEW_VLPLUS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        OpenToolkit();
        spy::MessageSpy spy;
        spy.Watch(frameHwnd);
        // The Dido Dovov reads its eras when it is made; this folder has none.
        if (c.button == CVLToolbar::btnTimeFrame)
            host::AnswerMessageBox("ERASORT.dat was not found.", IDOK);
        Press(c.button);
        int commands = 0;
        for (const spy::Recorded& r : spy.Messages(frameHwnd))
            commands += r.message == WM_COMMAND && LOWORD(r.wParam) == c.command;
        EXPECT_EQ(1, commands);
        EXPECT_EQ(0, Toolkit()->GetState()) << "the Tool Kit goes in first";
        ui::PumpUntilIdle();
    }
    // Stop posts VLM_STOP to the view on screen.
    spy::MessageSpy spy;
    HWND current = frame->GetCurrentMainWin()->GetSafeHwnd();
    spy.Watch(current);
    Press(CVLToolbar::btnStop);
    ui::PumpUntilIdle();
    EXPECT_EQ(1u, spy.Count(VLM_STOP, current));
}

TEST_F(ToolbarTest, SearchAndDictionaryButtonsOpenAndCloseTheirPanes)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    ui::PumpUntilIdle();
    OpenToolkit();
    Press(CVLToolbar::btnSearch);
    ui::PumpUntilIdle();
    EXPECT_TRUE(frame->GetSearchTabWin()->IsWindowVisible());
    EXPECT_TRUE(Toolbar().IsButtonDown(CVLToolbar::btnSearch));
    EXPECT_EQ(0, Toolkit()->GetState());
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));

    // Dictionary: the search button comes up, the dictionary pane shows.
    Press(CVLToolbar::btnDictionary);
    ui::PumpUntilIdle();
    EXPECT_TRUE(frame->GetDictionaryTabWin()->IsWindowVisible());
    EXPECT_FALSE(frame->GetSearchTabWin()->IsWindowVisible());
    EXPECT_TRUE(Toolbar().IsButtonDown(CVLToolbar::btnDictionary));
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnSearch));

    // Again: the open pane is closed.
    Press(CVLToolbar::btnDictionary);
    ui::PumpUntilIdle();
    EXPECT_FALSE(frame->GetDictionaryTabWin()->IsWindowVisible());
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnDictionary));

    // The panes ask which of the two buttons a window is.
    EXPECT_EQ(2, CVLToolbar::IsPaneButton(Toolbar().GetButton(CVLToolbar::btnSearch)->GetSafeHwnd()));
    EXPECT_EQ(1, CVLToolbar::IsPaneButton(Toolbar().GetButton(CVLToolbar::btnDictionary)->GetSafeHwnd()));
    EXPECT_EQ(-1, CVLToolbar::IsPaneButton(Toolbar().GetButton(CVLToolbar::btnHome)->GetSafeHwnd()));
    EXPECT_EQ(-1, CVLToolbar::IsPaneButton(frameHwnd));
    EXPECT_EQ(-1, CVLToolbar::IsPaneButton(nullptr));
}

TEST_F(ToolbarTest, TheToolKitSlidesOnTheMediaTimer)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    ui::PumpUntilIdle();
    EXPECT_EQ(-1, Toolkit()->GetState()) << "never opened";
    const int items = Toolkit()->GetItemCount();
    const int itemHeight = Toolkit()->GetItemHeight();
    ASSERT_EQ(4, items);
    const int distance = items * itemHeight;

    Press(CVLToolbar::btnToolkit);
    EXPECT_TRUE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));
    EXPECT_TRUE(Toolkit()->IsMoving());
    EXPECT_TRUE(CToolkit::IsSliding());
    EXPECT_EQ(15u, Toolkit()->GetTimer().GetPeriod());
    EXPECT_EQ(5u, Toolkit()->GetTimer().GetResolution());
    EXPECT_EQ(Toolkit()->GetSafeHwnd(), ::GetCapture());
    // Every tick grows the panel by 16 pixels (the last step by what is left); one more tick
    // ends the slide.
    std::vector<int> heights;
    while (Toolkit()->IsMoving() && heights.size() < 50) {
        ui::AdvanceClock(15);
        heights.push_back(PanelInFrame().Height());
    }
    const int moving = (distance + 15) / 16;
    ASSERT_EQ(static_cast<size_t>(moving + 1), heights.size());
    for (int i = 0; i < moving; ++i)
        EXPECT_EQ(std::min(16 * (i + 1), distance), heights[i]) << i;
    EXPECT_EQ(distance, heights.back());
    EXPECT_FALSE(CToolkit::IsSliding());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(Toolkit()->GetTimer().IsRunning());
    EXPECT_TRUE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit)) << "out: the button stays down";
    // The four tools are in view, Print on top.
    CRect panel;
    Toolkit()->GetWindowRect(&panel);
    int top = panel.top;
    // Each tool was placed above the one made before it: the last made is on top.
    for (int id : {CToolkit::idWizard, CToolkit::idHighlighter, CToolkit::idStickyNote, CToolkit::idPrint}) {
        CRect tool;
        Toolkit()->GetTool(id)->GetWindowRect(&tool);
        EXPECT_EQ(top, tool.top) << id;
        top = tool.bottom;
    }
    EXPECT_EQ(panel.bottom, top);

    // The button again: the panel slides in, the button comes up at once.
    Press(CVLToolbar::btnToolkit);
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));
    EXPECT_EQ(moving + 1, RunSlide());
    EXPECT_EQ(0, PanelInFrame().Height());
    EXPECT_EQ(0, Toolkit()->GetState());
    // And out again from state 0.
    Press(CVLToolbar::btnToolkit);
    RunSlide();
    EXPECT_EQ(distance, PanelInFrame().Height());
    // Collapsing an open panel: back to 0 high at once, the button released.
    Toolkit()->CollapseToolkit();
    EXPECT_EQ(0, PanelInFrame().Height());
    EXPECT_EQ(0, Toolkit()->GetState());
    EXPECT_FALSE(Toolbar().IsButtonDown(CVLToolbar::btnToolkit));
    CRect print;
    Toolkit()->GetTool(CToolkit::idPrint)->GetWindowRect(&print);
    Toolkit()->GetWindowRect(&panel);
    EXPECT_LE(print.bottom, panel.top) << "the tools are back above the panel";
}

// A Tool Kit alone on a plain window, whose slide distance a test sets.
class ProbeToolkit : public CToolkit {
public:
    void SetRemaining(int r) { m_nRemainingSlide = r; }
};

TEST_F(ToolbarTest, TwentyPixelsTakeOneStepOfSixteenAndOneOfFour)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 400),
                              nullptr, 0));
    ProbeToolkit toolkit;
    ASSERT_TRUE(toolkit.Create(&host, 10, 10));
    // The slide out adds the four tools' height to what is left: 20 in all.
    toolkit.SetRemaining(20 - toolkit.GetItemCount() * toolkit.GetItemHeight());
    toolkit.ToggleSlide();
    ASSERT_TRUE(toolkit.IsMoving());
    EXPECT_EQ(20, toolkit.GetRemainingSlide());
    auto height = [&] {
        CRect rect;
        toolkit.GetClientRect(&rect);
        return rect.Height();
    };
    ui::AdvanceClock(15);
    EXPECT_EQ(16, height());
    EXPECT_EQ(4, toolkit.GetRemainingSlide());
    ui::AdvanceClock(15);
    EXPECT_EQ(20, height());
    EXPECT_EQ(0, toolkit.GetRemainingSlide());
    EXPECT_TRUE(toolkit.IsMoving()) << "the tick that finds nothing left ends the slide";
    ui::AdvanceClock(15);
    EXPECT_FALSE(toolkit.IsMoving());
    // Queued ticks after the end move nothing.
    toolkit.SendMessage(VLM_MEDIA_TICK, 0, 0);
    EXPECT_EQ(20, height());
    toolkit.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(ToolbarTest, PrintAndStickyNotePressedDuringTheSlideRunOnceAfterIt)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    ui::PumpUntilIdle();
    spy::MessageSpy spy;
    spy.Watch(frameHwnd);
    HWND article = View(8001)->GetSafeHwnd();
    spy.Watch(article);
    auto prints = [&] {
        int n = 0;
        for (const spy::Recorded& r : spy.Messages(frameHwnd))
            n += r.message == WM_COMMAND && LOWORD(r.wParam) == ID_FILE_PRINT_VIEW;
        return n;
    };

    Press(CVLToolbar::btnToolkit);
    ui::AdvanceClock(15);
    ASSERT_TRUE(Toolkit()->IsMoving());
    for (int i = 0; i < 2; ++i) {
        Toolkit()->SendMessage(WM_COMMAND, MAKEWPARAM(CToolkit::idPrint, BN_CLICKED), 0);
        Toolkit()->SendMessage(WM_COMMAND, MAKEWPARAM(CToolkit::idStickyNote, BN_CLICKED), 0);
    }
    EXPECT_TRUE(Toolkit()->IsPrintPending());
    EXPECT_TRUE(Toolkit()->IsStickyPending());
    ui::AdvanceClock(15);
    EXPECT_EQ(0, prints()) << "nothing runs while the panel moves";
    EXPECT_EQ(0u, spy.Count(VLM_STICKY_NOTE, article));
    RunSlide();
    ui::PumpUntilIdle();
    EXPECT_EQ(1, prints()) << "Print once, after the last step";
    EXPECT_EQ(1u, spy.Count(VLM_STICKY_NOTE, article));
    EXPECT_FALSE(Toolkit()->IsPrintPending());

    // Out and still: each tool acts at once; Highlighter and Wizards go to the view and frame.
    spy.Clear();
    struct Case {
        int tool;
        HWND target;
        UINT message;
        WPARAM wParam;
    } const cases[] = {{CToolkit::idPrint, frameHwnd, WM_COMMAND, ID_FILE_PRINT_VIEW},
                       {CToolkit::idStickyNote, article, VLM_STICKY_NOTE, static_cast<WPARAM>(-1)},
                       {CToolkit::idHighlighter, article, VLM_HIGHLIGHTER, static_cast<WPARAM>(-1)},
                       {CToolkit::idWizard, frameHwnd, VLM_WIZARD_SELECTION, static_cast<WPARAM>(-1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        spy.Clear();
        if (c.tool == CToolkit::idWizard)
            host::RunInNextModalLoop([](HWND modal) {
                // The wizard selection window opens; it is left with Cancel.
                ::PostMessage(modal, WM_COMMAND, MAKEWPARAM(IDC_WIZARD_CANCEL, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(modal, IDC_WIZARD_CANCEL)));
            });
        Toolkit()->SendMessage(WM_COMMAND, MAKEWPARAM(c.tool, BN_CLICKED), 0);
        ui::PumpUntilIdle();
        int n = 0;
        for (const spy::Recorded& r : spy.Messages(c.target))
            n += r.message == c.message && r.posted && (c.message != WM_COMMAND || LOWORD(r.wParam) == c.wParam) &&
                 (c.message == WM_COMMAND || r.wParam == c.wParam);
        EXPECT_EQ(1, n);
    }
    // A disabled tool ignores its command.
    Toolkit()->EnableTools(FALSE, FALSE, FALSE, FALSE, TRUE);
    spy.Clear();
    for (int id : {CToolkit::idPrint, CToolkit::idStickyNote, CToolkit::idHighlighter, CToolkit::idWizard})
        Toolkit()->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(0, prints());
    EXPECT_EQ(0u, spy.Count(VLM_STICKY_NOTE) + spy.Count(VLM_HIGHLIGHTER) + spy.Count(VLM_WIZARD_SELECTION));
    const BOOL* remembered = Toolkit()->GetRememberedTools();
    EXPECT_FALSE(remembered[0] || remembered[1] || remembered[2] || remembered[3]);
    Toolkit()->EnableTools(TRUE, FALSE, TRUE, TRUE, FALSE);
    EXPECT_FALSE(remembered[0]) << "not remembered this time";
    EXPECT_TRUE(Toolkit()->GetTool(CToolkit::idPrint)->IsWindowEnabled());
    EXPECT_FALSE(Toolkit()->GetTool(CToolkit::idStickyNote)->IsWindowEnabled());
}

TEST_F(ToolbarTest, TipsShowBesideAHoveredToolButNeverDuringASlide)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    ui::PumpUntilIdle();
    CTKRollOverButton* highlighter = nullptr;
    auto hover = [&](CTKRollOverButton* button) {
        CRect rect;
        button->GetWindowRect(&rect);
        host::MouseMove(rect.left + 3, rect.top + rect.Height() / 2);
        ui::PumpUntilIdle();
        EXPECT_EQ(button->GetSafeHwnd(), ::WindowFromPoint(CPoint(rect.left + 3, rect.top + rect.Height() / 2)))
            << "the panel lies over the view";
    };

    // During the slide the pointer over a tool shows no tip.
    Press(CVLToolbar::btnToolkit);
    for (int i = 0; i < 8; ++i)
        ui::AdvanceClock(15);
    ASSERT_TRUE(Toolkit()->IsMoving());
    CTKRollOverButton* print = Toolkit()->GetTool(CToolkit::idPrint);
    hover(print);
    EXPECT_FALSE(print->GetTip()->IsWindowVisible()) << "no tips while sliding";
    RunSlide();

    // Still: the hovered tool's tip shows right of it, the others' stay hidden.
    highlighter = Toolkit()->GetTool(CToolkit::idHighlighter);
    hover(highlighter);
    CTipWnd* tip = highlighter->GetTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_FALSE(print->GetTip()->IsWindowVisible());
    EXPECT_STREQ("Turn Highlighter On", tip->GetText());
    CRect button, shown;
    highlighter->GetWindowRect(&button);
    tip->GetWindowRect(&shown);
    EXPECT_EQ(button.right - 4, shown.left);
    EXPECT_EQ(CTipWnd::GetLargestSize().cx + 4, shown.Width());
    EXPECT_LE(shown.top, button.top + button.Height() / 2);
    EXPECT_GE(shown.bottom, button.top + button.Height() / 2);

    // The Highlighter's tip follows its state; enabling it switches it back.
    Toolkit()->SetHighlighterState(TRUE);
    EXPECT_TRUE(Toolkit()->IsHighlighterOn());
    EXPECT_STREQ("Turn Highlighter Off", highlighter->GetTip()->GetText());
    Toolkit()->SetHighlighterState(FALSE);
    EXPECT_STREQ("Turn Highlighter On", highlighter->GetTip()->GetText());
    Toolkit()->SetHighlighterState(TRUE);
    Toolkit()->EnableTools(TRUE, TRUE, TRUE, TRUE, TRUE);
    EXPECT_STREQ("Turn Highlighter On", highlighter->GetTip()->GetText());
    EXPECT_FALSE(Toolkit()->IsHighlighterOn());
    EXPECT_STREQ("Print", print->GetTip()->GetText());
    EXPECT_STREQ("Sticky Note", Toolkit()->GetTool(CToolkit::idStickyNote)->GetTip()->GetText());
    EXPECT_STREQ("Homework Wizards", Toolkit()->GetTool(CToolkit::idWizard)->GetTip()->GetText());

    // A tip showing when the panel starts to slide in goes at once.
    hover(print);
    hover(highlighter);
    ASSERT_TRUE(highlighter->GetTip()->IsWindowVisible());
    Press(CVLToolbar::btnToolkit);
    ASSERT_TRUE(Toolkit()->IsMoving());
    EXPECT_FALSE(highlighter->GetTip()->IsWindowVisible());
    RunSlide();
}

TEST_F(ToolbarTest, ScreenshotsOfTheFrameWithTheToolbarAndAnOpenToolKit)
{
    for (SIZE screen : {SIZE{1024, 768}, SIZE{800, 600}, SIZE{640, 480}}) {
        SCOPED_TRACE(screen.cx);
        UseScreen(screen.cx, screen.cy);
        MakeMaximisedFrame();
        ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
        ui::PumpUntilIdle();
        CRect window;
        frame->GetWindowRect(&window);
        KeepScreenshot("toolbar-" + std::to_string(screen.cx) + ".png", window);

        OpenToolkit();
        CTKRollOverButton* sticky = Toolkit()->GetTool(CToolkit::idStickyNote);
        CRect rect;
        sticky->GetWindowRect(&rect);
        host::MouseMove(rect.left + 3, rect.top + rect.Height() / 2);
        ui::PumpUntilIdle();
        ASSERT_TRUE(sticky->GetTip()->IsWindowVisible());
        frame->UpdateWindow();
        ui::PumpUntilIdle();
        KeepScreenshot("toolkit-open-" + std::to_string(screen.cx) + ".png", window);

        // What shows is the tools and the tip, not the view behind them.
        CRect panel;
        Toolkit()->GetWindowRect(&panel);
        EXPECT_NE(host::DesktopPixel(panel.left + panel.Width() / 2, panel.top + 4),
                  host::DesktopPixel(panel.right + 60, panel.bottom + 20));
        CRect tip;
        sticky->GetTip()->GetWindowRect(&tip);
        EXPECT_GE(tip.left, panel.right - 8);
        host::MouseMove(window.left + window.Width() / 2, window.bottom - 40);
        ui::PumpUntilIdle();
    }
}

}  // namespace
