// The frame's menu commands that go to the views, their command states, Exit and Options.
#include "FrameTestSupport.h"

#include <TestAppHost.h>

#include <MessageSpy.h>

#include <afxres.h>
#include <host/Help.h>

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
    // cancelled): the settings as they were go back and the disc is looked for once more.
    answers = {IDOK, IDCANCEL, IDCANCEL};
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    frame->SendMessage(WM_COMMAND, ID_OPTIONS);
    EXPECT_EQ(3, shown);
    EXPECT_EQ("E:", Profile("Veltra Jubilee 2000 (International)", "CD1"));
    EXPECT_EQ("F:", Profile("Veltra Jubilee 2000 (International)", "CD2"));
    EXPECT_EQ(2, DiscPrompts());

    // Without the disc the command asks for it first; cancelled, no preferences.
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
    app.m_pszHelpFilePath = "C:\\VL\\VL00I1SE.HLP";
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    ASSERT_EQ(host::HelpRequests().size(), 1u);
    EXPECT_EQ(host::HelpRequests()[0].command, static_cast<UINT>(HELP_FINDER));
    EXPECT_EQ(host::HelpRequests()[0].file, "C:\\VL\\VL00I1SE.HLP");
    app.m_pszHelpFilePath = NULL;
    host::ClearHelpRequests();
}

}  // namespace
