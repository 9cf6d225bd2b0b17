#include "FrameTestSupport.h"

#include "base/Reference.h"

#include <TestAppHost.h>

#include <MessageSpy.h>

#include <optional>

using namespace frametest;

namespace {

// Refuses the creation of windows with one child id (a view whose creation fails).
UINT g_refusedId = 0;
HHOOK g_cbtHook = nullptr;
LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        if (cbt->lpcs->hMenu == reinterpret_cast<HMENU>(static_cast<UINT_PTR>(g_refusedId)))
            return 1;
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

class RoutingTest : public FrameTest {};

struct RouteCase {
    const char* name;
    UINT message;
    WPARAM viewId;
    int disc;             // the carried state's disc and kind; 0: no object
    int kind;
    bool discThere;       // disc 1 can be found
    UINT refuseId;        // a view whose creation fails (0: none)
    bool viewCreatedBefore;
    // Expected:
    const char* receiver;  // the view that got the message ("" none), watched by a spy
    bool discAsked;
    const char* freedBy;   // "" nothing deleted
    LRESULT result;
    const char* box;       // a message box that must have shown
};

}  // namespace

TEST_F(RoutingTest, EveryRoutedMessageForwardsOrFreesItsObjectOnce)
{
    const RouteCase cases[] = {
        // name                         msg    view  disc kind there refuse before receiver   asked  freed         result box
        {"open: view takes it",         VLM_OPEN_WINDOW, 8001, 1, 1, true,  0,    true,  "view 8001", false, "view 8001", 0, nullptr},
        {"open: disc cancelled",        VLM_OPEN_WINDOW, 8001, 1, 1, false, 0,    true,  "",          true,  "frame",     0, nullptr},
        {"open: null reaches view",     VLM_OPEN_WINDOW, 8001, 0, 0, true,  0,    true,  "view 8001", false, "",          0, nullptr},
        {"open: null, disc cancelled",  VLM_OPEN_WINDOW, 8001, 0, 0, false, 0,    true,  "",          true,  "",          0, nullptr},
        {"open: view made on demand",   VLM_OPEN_WINDOW, 8003, 1, 1, true,  0,    false, "",          false, "view 8003", 0, nullptr},
        {"open: unknown id",            VLM_OPEN_WINDOW, 8012, 1, 1, true,  0,    false, "",          false, "frame",     0,
         "Cannot Create Unknown Main Window ID"},
        {"open: kind of the object",    VLM_OPEN_WINDOW, 8001, 1, 6, false, 0,    true,  "",          true,  "frame",     0, nullptr},
        {"found: view takes it",        VLM_OPEN_FOUND_ITEM, 8001, 1, 1, true,  0,    true,  "view 8001", false, "view 8001", 1, nullptr},
        {"found: creation fails",       VLM_OPEN_FOUND_ITEM, 8002, 1, 1, true,  8002, false, "",          false, "frame",     0, nullptr},
        {"found: disc cancelled",       VLM_OPEN_FOUND_ITEM, 8001, 1, 1, false, 0,    true,  "",          true,  "frame",     0, nullptr},
        {"found 4F4: view takes it",    VLM_OPEN_NOTED_ITEM, 8001, 1, 1, true,  0,    true,  "view 8001", false, "view 8001", 1, nullptr},
        {"found 4F4: creation fails",   VLM_OPEN_NOTED_ITEM, 8006, 1, 1, true,  8006, false, "",          false, "frame",     0, nullptr},
        {"media: no disc check",        VLM_POST_TO_WINDOW, 8005, 1, 1, false, 0,    false, "",          false, "view 8005", 0, nullptr},
        {"media: null object",          VLM_POST_TO_WINDOW, 8005, 0, 0, false, 0,    true,  "view 8005", false, "",          0, nullptr},
        {"media: creation fails",       VLM_POST_TO_WINDOW, 8005, 1, 1, true,  8005, false, "",          false, "frame",     0, nullptr},
        {"restore: view takes it",      VLM_RESTORE_SAVED, 8001, 1, 1, true,  0,    true,  "view 8001", false, "view 8001", 1, nullptr},
        {"restore: disc cancelled",     VLM_RESTORE_SAVED, 8001, 1, 1, false, 0,    true,  "",          true,  "frame",     0, nullptr},
        {"restore: unknown id",         VLM_RESTORE_SAVED, 8011, 1, 1, true,  0,    false, "",          false, "frame",     0,
         "Cannot Create Unknown Main Window ID"},
        {"pass 4F6",                    VLM_PASS_TO_VIEW, 8001, 0, 0, true,  0,    true,  "view 8001", false, "",          0, nullptr},
        {"pass 410: view made",         VLM_SHOW_LINKED_SELECTION, 8009, 0, 0, true,  0,    false, "",          false, "",          0, nullptr},
        {"pass 410: creation fails",    VLM_SHOW_LINKED_SELECTION, 8009, 0, 0, true,  8009, false, "",          false, "",          0, nullptr},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.name);
        host::ResetUiScript();
        FreedLog().clear();
        CBaseWindow::ResetSharedState();
        SetProfile("Files", "DataDir", "T:\\data");
        WriteAtlasData();  // the atlas opens on its world map
        MakeFrame();
        spy::MessageSpy spy;
        if (c.viewCreatedBefore) {
            ASSERT_NE(nullptr, frame->FindOrCreateView(static_cast<UINT>(c.viewId)));
        }
        if (CWnd* view = View(static_cast<UINT>(c.viewId)))
            spy.Watch(view->GetSafeHwnd());
        if (!c.discThere) {
            TakeDiscAway();
            if (c.discAsked)
                CancelNextDiscPrompt();
        }
        if (c.box != nullptr)
            host::AnswerMessageBox(c.box, IDOK);
        g_refusedId = c.refuseId;
        if (c.refuseId != 0)
            g_cbtHook = SetWindowsHookExA(WH_CBT, RefuseCreation, nullptr, 0);

        LPARAM object = c.disc != 0 ? reinterpret_cast<LPARAM>(new TestState(8001, "carried", c.disc, c.kind)) : 0;
        LRESULT result = frame->SendMessage(c.message, c.viewId, object);
        ui::PumpUntilIdle();
        if (g_cbtHook != nullptr) {
            UnhookWindowsHookEx(g_cbtHook);
            g_cbtHook = nullptr;
        }

        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.discAsked ? 1 : 0, DiscPrompts());
        std::vector<std::string> freed;
        if (*c.freedBy != '\0')
            freed.push_back(std::string(c.freedBy) + ":carried");
        EXPECT_EQ(freed, FreedLog());
        size_t received = spy.Count(c.message == VLM_RESTORE_SAVED ? VLM_RESTORE_STATE : c.message);
        EXPECT_EQ(*c.receiver != '\0' ? 1u : 0u, received) << "the watched view got the message";
        if (c.box != nullptr) {
            EXPECT_EQ(1, Boxes(c.box));
        }
        EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
        DestroyFrame();
        EXPECT_LE(FreedLog().size(), 1u) << "no object is deleted twice";
    }
}

TEST_F(RoutingTest, TheViewIsAskedForTheLocationBeforeItGetsTheObject)
{
    MakeFrame();
    CWnd* article = View(8001);
    ASSERT_NE(nullptr, article);
    spy::MessageSpy spy;
    spy.Watch(article->GetSafeHwnd());
    auto* state = new TestState(8001, "carried");
    LPARAM object = reinterpret_cast<LPARAM>(state);
    frame->SendMessage(VLM_OPEN_WINDOW, 8001, object);
    EXPECT_TRUE(spy.Matches({{VLM_DATA_LOCATION, spy::Sent | spy::WParam | spy::LParam, 0, object},
                             {VLM_OPEN_WINDOW, spy::Sent | spy::WParam | spy::LParam, 8001, object}},
                            article->GetSafeHwnd()));

    // Media goes by post, with no location question.
    frame->FindOrCreateView(8005);
    CWnd* media = View(8005);
    ui::PumpUntilIdle();  // what the new view posted itself at creation
    spy.Watch(media->GetSafeHwnd());
    frame->SendMessage(VLM_POST_TO_WINDOW, 8005, 0);
    ui::PumpUntilIdle();
    // The first thing the media view hears is the posted object; showing itself follows.
    const auto got = spy.Messages(media->GetSafeHwnd());
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(UINT(VLM_POST_TO_WINDOW), got.front().message);
    EXPECT_TRUE(got.front().posted);
    EXPECT_EQ(WPARAM(8005), got.front().wParam);
    EXPECT_EQ(LPARAM(0), got.front().lParam);
    EXPECT_EQ(1u, spy.Count(VLM_POST_TO_WINDOW, media->GetSafeHwnd()));
}

TEST_F(RoutingTest, ViewBaseDefaults)
{
    MakeFrame();
    CWnd* table = View(8004);
    ASSERT_NE(nullptr, table);
    // A view that says nothing else needs data kind 1 on disc 1 (the least views answer for their
    // object; without one they give the same default).
    EXPECT_EQ(0x10001, table->SendMessage(VLM_DATA_LOCATION, 0, 0));
    // VLM_RESTORE_STATE to a view that does not restore states frees the state.
    table->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(new TestState(8004, "unwanted")));
    EXPECT_EQ(std::vector<std::string>{"view 8004:unwanted"}, FreedLog());
    // ShowMainWindow on any view switches to the view named, not to itself.
    auto* tableView = DYNAMIC_DOWNCAST(CVLMainWin, table);
    ASSERT_NE(nullptr, tableView);
    tableView->ShowMainWindow(8001, 0);
    EXPECT_EQ(View(8001), frame->GetCurrentMainWin());
    // VLM_START_PAGE asks the frame for the view it is sent to.
    View(8004)->SendMessage(VLM_START_PAGE, 8004, 0);
    EXPECT_EQ(View(8004), frame->GetCurrentMainWin());
    EXPECT_TRUE(table->SendMessage(WM_QUERYNEWPALETTE));

    // With the application's palette: realised on a client DC, and a change made elsewhere
    // redraws the frame.
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[3];
    } log{};
    log.head.palVersion = 0x300;
    log.head.palNumEntries = 4;
    PALETTEENTRY colours[4] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {1, 2, 3, 0}, {250, 250, 5, 0}};
    std::copy(colours, colours + 4, log.head.palPalEntry);
    CPalette& palette = AppServices().env.displayPalette;
    palette.DeleteObject();
    ASSERT_TRUE(palette.CreatePalette(&log.head));
    EXPECT_TRUE(View(8004)->SendMessage(WM_QUERYNEWPALETTE));
    frame->ValidateRect(nullptr);
    View(8004)->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(frameHwnd));
    EXPECT_TRUE(GetUpdateRect(frameHwnd, nullptr, FALSE)) << "the forced realisation redraws the frame";
    ui::PumpUntilIdle();
    palette.DeleteObject();
}

TEST_F(RoutingTest, StatusTextAndToolbarMessages)
{
    MakeFrame();
    frame->SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString("Pointing at a map")));
    EXPECT_STREQ("Pointing at a map", frame->GetStatusWin().GetText());
    frame->SendMessage(VLM_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(new CString("Another")));
    EXPECT_STREQ("Another", frame->GetStatusWin().GetText());
    frame->SendMessage(VLM_STATUS_TEXT, 0, 0);
    EXPECT_STREQ("", frame->GetStatusWin().GetText());

    frame->GetToolbar().SendMessage(VLM_PANE_UP, 0, 1);
    frame->SendMessage(VLM_PANE_DOWN, 0, 1);
    EXPECT_FALSE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
    // The Stop button's state comes through the frame, posted.
    CWnd* stop = frame->GetToolbar().GetButton(CVLToolbar::btnStop);
    frame->SendMessage(VLM_STOP_OFF, 0, 1);
    ui::PumpUntilIdle();
    EXPECT_TRUE(stop->IsWindowEnabled());
    frame->SendMessage(VLM_STOP_OFF, 0, 0);
    EXPECT_TRUE(stop->IsWindowEnabled()) << "posted, not yet handled";
    ui::PumpUntilIdle();
    EXPECT_FALSE(stop->IsWindowEnabled());
    EXPECT_EQ(0, frame->SendMessage(VLM_IGNORED, 1, 2));
    EXPECT_EQ(0, frame->SendMessage(VLM_SUITE_MENU_STARTED, 1, 2));
}

TEST_F(RoutingTest, MainMenuChoices)
{
    WriteAtlasData();  // the atlas opens on its world map
    MakeFrame();
    // 8004 does nothing.
    EXPECT_EQ(1, frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8004, 0));
    EXPECT_EQ(View(8015), frame->GetCurrentMainWin());
    EXPECT_EQ(1, frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8001, 0));
    EXPECT_EQ(View(8015), frame->GetCurrentMainWin());

    // 8008: the article view with the dictionary pane; search down, dictionary up.
    EXPECT_EQ(1, frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8008, 0));
    ui::PumpUntilIdle();
    EXPECT_EQ(View(8001), frame->GetCurrentMainWin());
    ASSERT_NE(nullptr, frame->GetDictionaryTabWin());
    EXPECT_TRUE(frame->GetDictionaryTabWin()->IsWindowVisible());
    EXPECT_EQ(View(8001), frame->GetDictionaryTabWin()->GetParent());
    EXPECT_FALSE(frame->GetSearchTabWin()->IsWindowVisible());
    EXPECT_FALSE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
    EXPECT_TRUE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnDictionary));
    EXPECT_EQ(CVLToolbar::btnArticle, frame->GetToolbar().GetLatchedButton());
    EXPECT_EQ(0, frame->GetMainMenuFlag());

    // 8007: the search pane instead.
    frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8007, 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(frame->GetSearchTabWin()->IsWindowVisible());
    EXPECT_FALSE(frame->GetDictionaryTabWin()->IsWindowVisible());
    EXPECT_TRUE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
    EXPECT_FALSE(frame->GetToolbar().IsButtonDown(CVLToolbar::btnDictionary));

    // 8003: the atlas; 8015: the clear window again, which a later request switches away from.
    frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8003, 0);
    EXPECT_EQ(View(8003), frame->GetCurrentMainWin());
    frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8015, 0);
    EXPECT_EQ(View(8015), frame->GetCurrentMainWin());
    EXPECT_FALSE(frame->GetSearchTabWin()->IsWindowVisible());
    // 8005: the media view opens at its start.
    frame->SendMessage(VLM_MAIN_MENU_CHOICE, 8005, 0);
    ui::PumpUntilIdle();
    EXPECT_NE(nullptr, View(8005));
}

TEST_F(RoutingTest, MainMenuExitClosesTheFrameByTimer)
{
    MakeFrame();
    frame->ShowWindow(SW_SHOW);
    EXPECT_EQ(1, frame->SendMessage(VLM_MAIN_MENU_CHOICE, 9004, 0));
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_FALSE(frame->IsWindowEnabled());
    ui::AdvanceClock(1999);
    EXPECT_TRUE(IsWindow(frameHwnd));
    ui::AdvanceClock(1);
    EXPECT_FALSE(IsWindow(frameHwnd));
    DestroyFrame();
}

TEST_F(RoutingTest, HelpFollowsTheCurrentView)
{
    CTestAppHost appHost;
    static std::vector<std::pair<DWORD_PTR, UINT>> calls;
    calls.clear();
    appHost.help = [](DWORD_PTR data, UINT command) { calls.emplace_back(data, command); };
    WriteAtlasData();  // the atlas opens on its world map
    MakeFrame();
    // F1 help off: nothing.
    EXPECT_EQ(TRUE, frame->SendMessage(WM_COMMANDHELP, 0, 0));
    EXPECT_TRUE(calls.empty());
    AppServices().ui.bF1Help = TRUE;
    frame->SendMessage(WM_COMMANDHELP, 0, 0);  // the clear window: contents
    frame->ShowMainWindow(8001, FALSE);
    frame->SendMessage(WM_COMMANDHELP, 0, 0);  // the article view's context
    frame->SendMessage(WM_COMMANDHELP, 0, 8003);
    frame->SendMessage(WM_COMMANDHELP, 0, 8004);
    frame->SendMessage(WM_COMMAND, ID_HELP_TOPICS);
    using Calls = std::vector<std::pair<DWORD_PTR, UINT>>;
    EXPECT_EQ((Calls{{0, HELP_FINDER}, {8001, HELP_CONTEXT}, {8003, HELP_CONTEXT}, {0, HELP_FINDER}, {0, HELP_FINDER}}),
              calls);
    // While the start-up main menu shows: nothing, and still TRUE.
    CWnd menu;
    menu.Attach(CreateWindowExA(0, spy::MessageSpy::ClassName(), "menu", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr));
    AppServices().ui.pMainMenuWnd = &menu;
    calls.clear();
    EXPECT_EQ(TRUE, frame->SendMessage(WM_COMMANDHELP, 0, 8001));
    EXPECT_TRUE(calls.empty());
    AppServices().ui.pMainMenuWnd = nullptr;
    DestroyWindow(menu.Detach());
}

TEST_F(RoutingTest, PaletteActivationAndMinimiseReachTheCurrentView)
{
    CTestAppHost appHost;
    WriteAtlasData();  // the atlas opens on its world map
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8003, FALSE));
    HWND atlas = View(8003)->GetSafeHwnd();
    spy::MessageSpy spy;
    spy.Watch(atlas);

    // Palette messages go on to the current view; the palette change not while the start-up
    // main menu shows.
    frame->SendMessage(WM_QUERYNEWPALETTE);
    frame->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(frameHwnd));
    CWnd menu;
    menu.Attach(CreateWindowExA(0, spy::MessageSpy::ClassName(), "menu", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr));
    AppServices().ui.pMainMenuWnd = &menu;
    frame->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(frameHwnd));
    AppServices().ui.pMainMenuWnd = nullptr;
    DestroyWindow(menu.Detach());
    EXPECT_EQ(1u, spy.Count(WM_QUERYNEWPALETTE, atlas));
    EXPECT_EQ(1u, spy.Count(WM_PALETTECHANGED, atlas));

    // Activation refreshes the online state and raises the atlas overlay's flag.
    static int refreshes = 0;
    refreshes = 0;
    appHost.refreshOnline = [] { ++refreshes; };
    auto* atlasView = static_cast<CAtlasMainWin*>(View(8003));
    CWnd overlay;
    atlasView->m_pOverlayWnd = &overlay;
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(1, refreshes);
    EXPECT_EQ(1, atlasView->m_nOverlayFlag);
    atlasView->m_pOverlayWnd = nullptr;

    // Minimising while the atlas is current keeps its child windows.
    frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(1, atlasView->m_nRemembered);
}

TEST_F(RoutingTest, AReferenceTravelsWithItsOwnDataLocation)
{
    MakeFrame();
    auto article = [] {
        auto* ref = new CReference;
        ref->SetKind(0x100);
        return ref;
    };
    CReference* probe = article();
    LRESULT expected = MAKELONG(probe->GetDisc(), probe->GetDataDirType());
    EXPECT_EQ(expected, View(8001)->SendMessage(VLM_DATA_LOCATION, 0, reinterpret_cast<LPARAM>(probe)));
    // Forwarded: the view takes it (the sanitizer watches that it is freed exactly once). This
    // data folder has no archive: the view reports each article it cannot read and goes on.
    host::AnswerMessageBox("Unable to access article file", IDOK);
    host::AnswerMessageBox("Unable to access article file", IDOK);
    EXPECT_EQ(1, frame->SendMessage(VLM_OPEN_FOUND_ITEM, 8001, reinterpret_cast<LPARAM>(probe)));
    frame->SendMessage(VLM_OPEN_WINDOW, 8001, reinterpret_cast<LPARAM>(article()));
    EXPECT_EQ(2, Boxes("Unable to access article file: T:\\data\\vl.dat"));
    // A reference whose kind has no data folder cannot be located: the look-up reports the kind
    // and throws, the frame reports that as the framework would and drops the reference.
    host::AnswerMessageBox("Unknown DataDirType.", IDOK);
    host::AnswerMessageBox("An unsupported operation was attempted.", IDOK);
    EXPECT_EQ(0, frame->SendMessage(VLM_OPEN_FOUND_ITEM, 8001, reinterpret_cast<LPARAM>(new CReference)));
    EXPECT_EQ(1, Boxes("Unknown DataDirType."));
}

TEST_F(RoutingTest, DestroyingTheFrameClosesItsCompanions)
{
    CTestAppHost appHost;
    static int closed = 0;
    closed = 0;
    appHost.closeTimelineViewer = [] { ++closed; };
    MakeFrame();
    HWND player = CreateWindowExA(0, spy::MessageSpy::ClassName(), "player", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    CWnd playerWnd;
    playerWnd.Attach(player);
    AppServices().ui.pMediaPlayerWnd = &playerWnd;
    frame->ShowMainWindow(8004, FALSE);
    DestroyFrame();
    EXPECT_EQ(1, closed);
    EXPECT_FALSE(IsWindow(player));
    EXPECT_EQ(nullptr, AppServices().ui.pCurrentView);
    playerWnd.Detach();
    AppServices().ui.pMediaPlayerWnd = nullptr;
}
