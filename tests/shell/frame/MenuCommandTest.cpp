// The frame's menu commands that go to the views, their command states, Exit and Options.
#include "FrameTestSupport.h"

#include <TestAppHost.h>

#include <MessageSpy.h>

#include <afxres.h>
#include <host/Help.h>

#include "online/Cloud.h"

#include <string>
#include <vector>

using namespace frametest;

namespace {

// Records what an update handler made of a command.
class StateProbe : public CCmdUI {
public:
    explicit StateProbe(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override { enabled = bOn; }
    int enabled = -1;  // -1: not told
};

class MenuCommandTest : public FrameTest {
protected:
    int StateOf(UINT id)
    {
        StateProbe probe(id);
        probe.DoUpdate(frame, FALSE);
        return probe.enabled;
    }
};

TEST_F(MenuCommandTest, CommandsReachTheirView)
{
    struct Case {
        const char* name;
        UINT command;
        UINT current;    // the view on screen
        UINT message;    // what the article view must get (0: nothing)
        WPARAM wParam;
        LPARAM lParam;
    } const cases[] = {
        {"save as, article current", 9001, 8001, VLM_SAVE_AS, 0, 0},
        {"save as, other view", 9001, 8004, 0, 0, 0},
        {"clear all highlights", 9018, 8004, VLM_CLEAR_ALL_HIGHLIGHTS, 0, 0},
        {"first recent article", 9041, 8004, VLM_OPEN_RECENT, 0, 0},
        {"fifth recent article", 9045, 8001, VLM_OPEN_RECENT, 0, 4},
        {"contributors A-F", 9046, 8004, VLM_CONTRIBUTORS, 8001, 1},
        {"contributors T-Z", 9049, 8004, VLM_CONTRIBUTORS, 8001, 4},
        {"monthly spotlight", 9024, 8004, VLM_START_PAGE, 8001, 1},
    };
    MakeFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(frame->ShowMainWindow(c.current, FALSE) || frame->GetCurrentMainWin() == View(c.current));
        spy::MessageSpy spy;
        HWND article = View(8001)->GetSafeHwnd();
        spy.Watch(article);
        if (c.command == ID_CLEAR_ALL_HIGHLIGHTS)
            host::AnswerMessageBox("Remove the highlights from every article?", IDYES);
        // Without this month's update article the view says so.
        if (c.command == 9024)
            host::AnswerMessageBox("spotlight article is not on this computer", IDOK);
        frame->SendMessage(WM_COMMAND, c.command);
        ui::PumpUntilIdle();
        for (UINT m : {0x435u, 0x420u, 0x43Au, 0x4F5u, 0x40Eu})
            EXPECT_EQ(m == c.message ? 1u : 0u, spy.Count(m, article)) << std::hex << m;
        if (c.message != 0) {
            for (const spy::Recorded& r : spy.Log())
                if (r.message == c.message) {
                    EXPECT_EQ(c.wParam, r.wParam);
                    EXPECT_EQ(c.lParam, r.lParam);
                }
        }
    }
    // Clearing every highlight is asked first: No keeps them.
    {
        spy::MessageSpy spy;
        spy.Watch(View(8001)->GetSafeHwnd());
        host::AnswerMessageBox("Remove the highlights from every article?", IDNO);
        frame->SendMessage(WM_COMMAND, ID_CLEAR_ALL_HIGHLIGHTS);
        EXPECT_EQ(0u, spy.Count(VLM_CLEAR_ALL_HIGHLIGHTS));
        const auto boxes = host::MessageBoxLog();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.back().type & MB_TYPEMASK);
    }
    // Contributors and Monthly Spotlight need disc 1: cancelled, nothing reaches the view.
    TakeDiscAway();
    CancelNextDiscPrompt();
    spy::MessageSpy spy;
    spy.Watch(View(8001)->GetSafeHwnd());
    frame->SendMessage(WM_COMMAND, 9047);
    EXPECT_EQ(0u, spy.Count(VLM_CONTRIBUTORS));
    EXPECT_EQ(1, DiscPrompts());
}

TEST_F(MenuCommandTest, FontSizeIsCheckedStoredAndSentToTheCurrentView)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    frame->SendMessage(WM_COMMAND, ID_FONT_SMALL);
    frame->SendMessage(WM_COMMAND, ID_FONT_LARGE);
    EXPECT_EQ("2", Profile("Screen", "Font Size"));
    CMenu* menu = frame->GetMenu();
    EXPECT_TRUE(menu->GetMenuState(ID_FONT_LARGE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(menu->GetMenuState(ID_FONT_SMALL, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(menu->GetMenuState(ID_FONT_MEDIUM, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(2, static_cast<CArticleMainWin*>(View(8001))->GetFontSize());
    frame->SendMessage(WM_COMMAND, ID_FONT_MEDIUM);
    EXPECT_EQ("1", Profile("Screen", "Font Size"));
    EXPECT_EQ(1, static_cast<CArticleMainWin*>(View(8001))->GetFontSize());
}

TEST_F(MenuCommandTest, CommandStates)
{
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8004, FALSE));
    EXPECT_EQ(FALSE, StateOf(9001)) << "Save As only over the article";
    EXPECT_EQ(FALSE, StateOf(9002)) << "a view that cannot print";
    ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
    EXPECT_EQ(TRUE, StateOf(9001));
    EXPECT_EQ(TRUE, StateOf(ID_OPTIONS));
    for (const char* locked : {"y", "Y"}) {
        SetProfile("Veltra Jubilee 2000 (International)", "LOCKED", locked);
        EXPECT_EQ(FALSE, StateOf(ID_OPTIONS)) << locked;
    }
    SetProfile("Veltra Jubilee 2000 (International)", "LOCKED", "yes");
    EXPECT_EQ(TRUE, StateOf(ID_OPTIONS));
    EXPECT_EQ(TRUE, StateOf(ID_WORD_PROCESSOR));
}

TEST_F(MenuCommandTest, ExitHidesAndEndsTheFrame)
{
    MakeFrame();
    frame->SendMessage(WM_COMMAND, 9004);
    EXPECT_FALSE(IsWindow(frameHwnd));
    frame = nullptr;
}

TEST_F(MenuCommandTest, OptionsRunsThePreferencesAndPutsTheDiscSettingsBackWhenTheDiscIsLost)
{
    CTestAppHost appHost;
    static std::vector<int> answers;
    static int shown;
    shown = 0;
    appHost.preferences = [] {
        int answer = answers.empty() ? IDCANCEL : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        if (++shown == 1) {
            // The reader changes the disc settings and the disc goes missing.
            WritePrivateProfileString("Veltra Jubilee 2000 (International)", "CD1", "Z:", "T:\\vl00i1se.ini");
            WritePrivateProfileString("Veltra Jubilee 2000 (International)", "CD2", "Z:", "T:\\vl00i1se.ini");
            WritePrivateProfileString("Files", "DataDir", "", "T:\\vl00i1se.ini");
        }
        return answer;
    };
    SetProfile("Veltra Jubilee 2000 (International)", "CD1", "E:");
    SetProfile("Veltra Jubilee 2000 (International)", "CD2", "F:");
    MakeFrame();
    // OK, then disc 1 cannot be found (the prompt and the preferences offered again are
    // cancelled): every disc setting the dialog wrote goes back, the data folder too, and the
    // disc is found where it was, with no second prompt.
    answers = {IDOK, IDCANCEL};
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    frame->SendMessage(WM_COMMAND, ID_OPTIONS);
    EXPECT_EQ(2, shown);
    EXPECT_EQ("E:", Profile("Veltra Jubilee 2000 (International)", "CD1"));
    EXPECT_EQ("F:", Profile("Veltra Jubilee 2000 (International)", "CD2"));
    EXPECT_EQ("T:\\data", Profile("Files", "DataDir"));
    EXPECT_EQ(1, DiscPrompts());

    // Without the disc the command asks for it first; cancelled, no preferences.
    TakeDiscAway();
    shown = 10;
    CancelNextDiscPrompt();
    frame->SendMessage(WM_COMMAND, ID_OPTIONS);
    EXPECT_EQ(10, shown);

    // With the disc: the preferences, and Cancel changes nothing.
    SetProfile("Files", "DataDir", "T:\\data");
    answers = {IDCANCEL};
    frame->SendMessage(WM_COMMAND, ID_OPTIONS);
    EXPECT_EQ(11, shown);
}

TEST_F(MenuCommandTest, PrintSetupRunsTheApplicationsDialogOnItsPrinter)
{
    MakeFrame();
    EXPECT_EQ(app.m_hDevNames, nullptr);
    host::AnswerCommonDialog("print setup", "");
    frame->SendMessage(WM_COMMAND, 9003);
    ASSERT_EQ(host::CommonDialogLog().size(), 1u);
    EXPECT_EQ(host::CommonDialogLog()[0].kind, "print setup");
    EXPECT_FALSE(host::CommonDialogLog()[0].cancelled);
    ASSERT_NE(app.m_hDevNames, nullptr);  // the application keeps the printer chosen
    HGLOBAL names = app.m_hDevNames;
    host::CancelCommonDialog("print setup");
    frame->SendMessage(WM_COMMAND, 9003);
    EXPECT_EQ(app.m_hDevNames, names);
    EXPECT_EQ(host::PendingCommonDialogAnswers(), 0u);
}

TEST_F(MenuCommandTest, HelpCommandsGoThroughTheApplicationsHelpUnderTheFramesRules)
{
    CTestAppHost appHost;
    static std::vector<std::pair<DWORD_PTR, UINT>> calls;
    calls.clear();
    using Calls = std::vector<std::pair<DWORD_PTR, UINT>>;
    appHost.help = [](DWORD_PTR data, UINT command) { calls.emplace_back(data, command); };
    WriteAtlasData();  // the atlas opens on its world map
    MakeFrame();
    ASSERT_TRUE(frame->ShowMainWindow(8003, FALSE));
    ui::PumpUntilIdle();
    CRect atlas;
    View(8003)->GetWindowRect(&atlas);
    CPoint inAtlas = atlas.CenterPoint();
    auto contextHelpClick = [this](CPoint at) {
        host::RunInNextModalLoop([at](HWND) { host::Click(at.x, at.y); });
        frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    };

    // F1 help off: none of the commands asks for help.
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    frame->SendMessage(WM_COMMAND, ID_HELP);
    contextHelpClick(inAtlas);
    EXPECT_TRUE(calls.empty());

    AppServices().ui.bF1Help = TRUE;
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);   // the contents
    View(8003)->SetFocus();
    frame->SendMessage(WM_COMMAND, ID_HELP);          // F1: the current view's context
    contextHelpClick(inAtlas);                        // Shift+F1 on the atlas: its context
    EXPECT_EQ((Calls{{0, HELP_FINDER}, {8003, HELP_CONTEXT}, {8003, HELP_CONTEXT}}), calls);

    // Without the application's hook, the class library's help on the application's help file.
    calls.clear();
    appHost.help = nullptr;
    host::ClearHelpRequests();
    app.m_pszHelpFilePath = "T:\\prog\\VL00I1SE.HLP";
    // No help file beside the program: Help topics and F1 say so.
    host::AnswerMessageBox("The help for this program is not installed (T:\\prog\\VL00I1SE.HLP).", IDOK);
    frame->SendMessage(WM_COMMAND, ID_HELP_TOPICS);
    host::AnswerMessageBox("The help for this program is not installed", IDOK);
    frame->SendMessage(WM_COMMAND, ID_HELP);
    EXPECT_TRUE(host::HelpRequests().empty());
    EXPECT_EQ(2u, host::MessageBoxLog().size());
    dir.Write("t/prog/VL00I1SE.HLP", "help");
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    ASSERT_EQ(host::HelpRequests().size(), 1u);
    EXPECT_EQ(host::HelpRequests()[0].command, static_cast<UINT>(HELP_FINDER));
    EXPECT_EQ(host::HelpRequests()[0].file, "T:\\prog\\VL00I1SE.HLP");
    app.m_pszHelpFilePath = NULL;
    host::ClearHelpRequests();
}

// Every command of the frame's menu with the state its update handler gives it, over the
// article view and over another view. Commands whose targets come with later parts of the program
// have no handler yet and show greyed, as the class library greys any command nobody handles.
class FullStateProbe : public CCmdUI {
public:
    explicit FullStateProbe(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    void SetText(LPCSTR lpszText) override { text = lpszText; }
    int enabled = -1;  // -1: left as it was
    int checked = -1;
    std::string text;
};

TEST_F(MenuCommandTest, TheCommandAndStateTableOfEveryFrameCommand)
{
    MakeFrame();
    enum : int { kOff = 0, kOn = 1 };
    struct Case {
        UINT id;
        const char* name;
        int overArticle;  // the state with the article view on screen
        int overTable;    // with the table view on screen
    } const cases[] = {
        {9001, "Save As", kOn, kOff},
        {9002, "Print (the article view always, the tables view with no table not)", kOn, kOff},
        {9003, "Print Setup", kOn, kOn},
        {9004, "Exit", kOn, kOn},
        {9005, "Copy (the views have nothing selected)", kOff, kOff},
        {9007, "Select all (the page has no focus; the table view selects its text)", kOff, kOn},
        {9008, "Find (no disc article shown)", kOff, kOff},
        {9009, "Find next (no disc article shown)", kOff, kOff},
        {9011, "Connect (no online manager)", kOff, kOff},
        {9012, "Disconnect (no online manager)", kOff, kOff},
        {9014, "Configure (the profile locks nothing)", kOn, kOn},
        {9015, "History", kOn, kOn},
        {9017, "Sticky List", kOn, kOn},
        {9018, "Clear all highlights", kOn, kOn},
        {9021, "About", kOn, kOn},
        {9024, "Monthly Spotlight", kOn, kOn},
        {9036, "Small", kOn, kOn},
        {9037, "Medium", kOn, kOn},
        {9038, "Large", kOn, kOn},
        {9041, "first recent article", kOn, kOn},
        {9046, "Contributors A-F", kOn, kOn},
        {9050, "Message Centre", kOn, kOn},
        {40007, "article view", kOn, kOn},
        {40008, "Dada Vaveroz", kOn, kOn},
        {40009, "atlas", kOn, kOn},
        {40010, "Dido Dovov", kOn, kOn},
        {40011, "online view", kOn, kOn},
        {40014, "search pane", kOn, kOn},
        {40015, "dictionary pane", kOn, kOn},
        {40016, "Back", kOn, kOn},
        {40017, "Forward", kOn, kOn},
        {40022, "Download directory (the profile locks nothing)", kOn, kOn},
        {40036, "Notepad", kOn, kOn},
        {40037, "Clear article highlights (none in the article)", kOff, kOff},
        {40038, "Options", kOn, kOn},
        {40044, "Wizards", kOn, kOn},
        {40047, "Word Processor", kOn, kOn},
        {40048, "Surf the Jubilee", kOn, kOn},
        {57671, "Help topics", kOn, kOn},
    };
    for (UINT view : {8001u, 8004u}) {
        ASSERT_TRUE(frame->ShowMainWindow(view, FALSE));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " over " + std::to_string(view));
            FullStateProbe probe(c.id);
            probe.DoUpdate(frame, TRUE);
            EXPECT_EQ(view == 8001 ? c.overArticle : c.overTable, probe.enabled);
        }
    }

    // Online services on and off (9013): the text follows [Online] "Disable"; neither switch is
    // offered by this product, and the reader is told so rather than told it worked.
    CCloud cloud;
    AppServices().owned.pCloud = &cloud;
    SetProfile("Online", "Disable", "1");
    FullStateProbe onOff(ID_ONLINE_ENABLE);
    onOff.DoUpdate(frame, TRUE);
    EXPECT_EQ("Enable", onOff.text);
    host::AnswerMessageBox("Sorry.  The online system could not be initialized.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_ONLINE_ENABLE);
    SetProfile("Online", "Disable", "0");
    onOff.DoUpdate(frame, TRUE);
    EXPECT_EQ("Disable", onOff.text);
    size_t before = host::MessageBoxLog().size();
    host::AnswerNextMessageBox(IDOK);
    frame->SendMessage(WM_COMMAND, ID_ONLINE_ENABLE);
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(before + 1, boxes.size()) << "the failure is reported";
    EXPECT_EQ(std::string::npos, boxes.back().text.find("has been disabled"));
    AppServices().owned.pCloud = NULL;
}

TEST_F(MenuCommandTest, EditCommandsAndClearingTheArticlesHighlightsReachTheirTargets)
{
    MakeFrame();
    spy::MessageSpy spy;
    HWND article = View(8001)->GetSafeHwnd();
    spy.Watch(article);
    struct Case {
        UINT command;
        UINT current;
        UINT message;  // what the article view must get (0: nothing)
    } const cases[] = {
        {ID_EDIT_SELECT_ALL_ARTICLE, 8001, VLM_SELECT_ALL},
        {ID_EDIT_SELECT_ALL_ARTICLE, 8004, 0},
        {ID_FIND_NEXT, 8001, VLM_FIND_NEXT},
        {ID_FIND_NEXT, 8004, 0},
        {ID_CLEAR_ARTICLE_HIGHLIGHTS, 8004, VLM_CLEAR_HIGHLIGHTS},
        {ID_CLEAR_ARTICLE_HIGHLIGHTS, 8001, VLM_CLEAR_HIGHLIGHTS},
    };
    // From the menu (no control window) a disabled command is ignored: the least article view
    // has no focused page, nothing to find again and no highlights.
    HWND control = frame->GetToolbar().GetSafeHwnd();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + " over " + std::to_string(c.current));
        frame->ShowMainWindow(c.current, FALSE);
        spy.Clear();
        frame->SendMessage(WM_COMMAND, c.command);
        for (UINT m : {VLM_SELECT_ALL, VLM_FIND_NEXT, VLM_CLEAR_HIGHLIGHTS})
            EXPECT_EQ(0u, spy.Count(m, article)) << std::hex << m;
        // Sent as a control sends it, the command runs and reaches its target.
        spy.Clear();
        frame->SendMessage(WM_COMMAND, c.command, reinterpret_cast<LPARAM>(control));
        for (UINT m : {VLM_SELECT_ALL, VLM_FIND_NEXT, VLM_CLEAR_HIGHLIGHTS})
            EXPECT_EQ(m == c.message ? 1u : 0u, spy.Count(m, article)) << std::hex << m;
    }
}

}  // namespace
