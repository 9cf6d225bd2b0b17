// The running application: a second instance, idle phases, the message filter's F1, and the
// suite-menu launcher.
#include "AppTestSupport.h"

#include "base/Rin.h"
#include "widgets/RollOverButton.h"
#include "media/ThumbnailFactory.h"

#include <host/Input.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using apptest::AppTest;
using apptest::kBrowseRow;

namespace {

// What the recording windows received: the message, and the key for key messages.
std::vector<std::pair<UINT, WPARAM>>& Received()
{
    static std::vector<std::pair<UINT, WPARAM>> log;
    return log;
}

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_COMMANDHELP || message >= WM_USER)
        Received().push_back({message, message == WM_KEYDOWN || message == WM_KEYUP ? wParam : 0});
    return ::DefWindowProc(hWnd, message, wParam, lParam);
}

// A top-level window of another instance of the program (or of a test), recording what it gets.
HWND MakeRecordingWindow(LPCSTR lpszTitle, HWND hOwner = NULL, DWORD dwStyle = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSA wc{};
    if (!::GetClassInfoA(::GetModuleHandle(NULL), "AppTestRecorder", &wc)) {
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "AppTestRecorder";
        ::RegisterClassA(&wc);
    }
    return ::CreateWindowA("AppTestRecorder", lpszTitle, dwStyle, 10, 10, 300, 200, hOwner, NULL,
                           ::GetModuleHandle(NULL), NULL);
}

class RunningTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Received().clear();
    }
    // Pumps through the application's own message filter until the queue is empty.
    void PumpThroughApp()
    {
        while (::PeekMessage(&app->m_msgCur, NULL, 0, 0, PM_NOREMOVE))
            ASSERT_TRUE(app->PumpMessage());
    }
};

TEST_F(RunningTest, ASecondInstanceActivatesTheFirstAndEnds)
{
    HWND hFirst = MakeRecordingWindow("Veltra 2000");
    HWND hPopup = MakeRecordingWindow("Preferences", hFirst, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    ::ShowWindow(hFirst, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(hFirst));

    EXPECT_FALSE(Start(-1));
    EXPECT_FALSE(::IsIconic(hFirst)) << "the minimised first instance is restored";
    EXPECT_EQ(hPopup, ::GetForegroundWindow()) << "its last active popup comes forward";
    // Nothing else happened in this instance.
    EXPECT_EQ(nullptr, AppServices().owned.pPreferences);
    EXPECT_FALSE(IsMainMenuUp());
    EXPECT_TRUE(host::MessageBoxLog().empty());
    Exit();
    ::DestroyWindow(hPopup);
    ::DestroyWindow(hFirst);
}

TEST_F(RunningTest, IdlePhasesRunViewsThenFactoryThenFrame)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    ASSERT_NE(nullptr, pFactory);
    CString strLine;
    pFactory->LookUpFirstLine(1, strLine);
    ASSERT_TRUE(pFactory->HasOpenRecordSets());

    // The very first call only starts the phases.
    EXPECT_TRUE(app->OnIdle(0));
    EXPECT_EQ(1, app->GetIdlePhase());
    EXPECT_EQ(0, app->GetIdleCount());
    EXPECT_TRUE(pFactory->HasOpenRecordSets()) << "the first call touches nothing";

    // Phase 1: no view wants more, so the factory's record sets go and phase 2 follows.
    EXPECT_FALSE(app->OnIdle(0));
    EXPECT_EQ(1, app->GetIdleCount());
    EXPECT_FALSE(pFactory->HasOpenRecordSets());
    EXPECT_EQ(2, app->GetIdlePhase());

    // Phase 2: the frame's step, which wants no more: back to phase 1.
    pFactory->LookUpFirstLine(1, strLine);
    EXPECT_FALSE(app->OnIdle(7));
    EXPECT_EQ(2, app->GetIdleCount()) << "the object counts its calls, not the framework's count";
    EXPECT_EQ(1, app->GetIdlePhase());
    EXPECT_TRUE(pFactory->HasOpenRecordSets()) << "the frame's phase leaves the factory alone";

    // Without a frame there is nothing to do.
    Exit();
    EXPECT_FALSE(app->OnIdle(0));
}

TEST_F(RunningTest, ThumbnailFactoryLooksUpTheTextsOfItems)
{
    EXPECT_FALSE(Start(apptest::kExitRow));
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    ASSERT_NE(nullptr, pFactory);
    // First lines are keyed by the number in seven digits, as the sample disc writes them.
    CString strText;
    pFactory->LookUpFirstLine(1001, strText);
    EXPECT_STREQ("Aviation is the design, building and flying of aircraft.", strText);
    pFactory->LookUpFirstLine(1999, strText);
    EXPECT_STREQ("", strText) << "no row: empty";
    pFactory->LookUpTimelineTitle(4060002, strText);
    EXPECT_STREQ("Volcano", strText);
    pFactory->LookUpDescription(static_cast<long>(CRin("yb001927", TRUE).GetNumber()), strText);
    EXPECT_STREQ("A lone pilot crosses the Atlantic.", strText);
    // Released on idle, made again by the next look-up with the same answers.
    EXPECT_FALSE(pFactory->ReleaseRecordSets());
    EXPECT_FALSE(pFactory->HasOpenRecordSets());
    pFactory->LookUpFirstLine(1001, strText);
    EXPECT_STREQ("Aviation is the design, building and flying of aircraft.", strText);
}

TEST_F(RunningTest, F1WithHelpOnPostsCommandHelpToTheMainWindow)
{
    HWND hMain = MakeRecordingWindow("Main");
    CWnd main;
    main.Attach(hMain);
    app->m_pMainWnd = &main;
    AppServices().ui.bF1Help = TRUE;

    MSG msg{hMain, WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
    EXPECT_FALSE(app->PreTranslateMessage(&msg));
    MSG posted;
    ASSERT_TRUE(::PeekMessage(&posted, hMain, WM_COMMANDHELP, WM_COMMANDHELP, PM_REMOVE));
    EXPECT_EQ(0u, posted.wParam);

    // An auto-repeat (bit 30 set) is not the F1 press.
    msg.lParam = 0x403B0001;
    EXPECT_FALSE(app->PreTranslateMessage(&msg));
    EXPECT_FALSE(::PeekMessage(&posted, hMain, WM_COMMANDHELP, WM_COMMANDHELP, PM_REMOVE));

    app->m_pMainWnd = NULL;
    main.Detach();
    ::DestroyWindow(hMain);
}

TEST_F(RunningTest, F1WithHelpOffSwallowsTheKeyAndItsKeyUpOnly)
{
    HWND hMain = MakeRecordingWindow("Main", NULL, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CWnd main;
    main.Attach(hMain);
    app->m_pMainWnd = &main;
    AppServices().ui.bF1Help = FALSE;
    ::SetFocus(hMain);
    ui::PumpUntilIdle();
    Received().clear();

    // F1 pressed; while its key-down is filtered, a message of the program waits in the queue
    // (posted messages come before input), then F1's key-up and another key.
    host::KeyDown(VK_F1);
    MSG f1;
    ASSERT_TRUE(::PeekMessage(&f1, NULL, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    ASSERT_EQ(WPARAM(VK_F1), f1.wParam);
    ::PostMessage(hMain, WM_USER + 77, 0, 0);
    host::KeyUp(VK_F1);
    host::KeyDown('A');
    host::KeyUp('A');
    EXPECT_TRUE(app->PreTranslateMessage(&f1));
    PumpThroughApp();

    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_USER + 77, 0}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}};
    EXPECT_EQ(expected, Received()) << "only the F1 key-down and its key-up go";
    MSG posted;
    EXPECT_FALSE(::PeekMessage(&posted, hMain, WM_COMMANDHELP, WM_COMMANDHELP, PM_REMOVE));

    app->m_pMainWnd = NULL;
    main.Detach();
    ::DestroyWindow(hMain);
}

// The application's message filter ends a roll-over button's hover as soon as the mouse moves
// onto another window.
TEST_F(RunningTest, TheFilterEndsARollOverHover)
{
    HWND hForm = MakeRecordingWindow("Form", NULL, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CRollOverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40),
                              CWnd::FromHandle(hForm), 300));
    POINT p{20, 20};
    ::ClientToScreen(hForm, &p);
    host::MouseMove(p.x, p.y);
    PumpThroughApp();
    ASSERT_EQ(&button, CRollOverButton::GetHoverButton());
    p = POINT{200, 120};
    ::ClientToScreen(hForm, &p);
    host::MouseMove(p.x, p.y);
    PumpThroughApp();
    EXPECT_EQ(nullptr, CRollOverButton::GetHoverButton());
    button.DestroyWindow();
    ::DestroyWindow(hForm);
}

TEST_F(RunningTest, SuiteMenuWithNoCommandLineSaysItIsNotThere)
{
    EXPECT_TRUE(app->m_strSuiteMenuCommand.IsEmpty());
    host::AnswerMessageBox("The Family Tomeset Menu is not installed on this computer.", IDOK);
    app->LaunchSuiteMenu();
    EXPECT_EQ(1u, host::MessageBoxLog().size());
}

// A suite-menu command line runs as a process of its own; one that cannot start names the
// system's error code.
TEST_F(RunningTest, SuiteMenuCommandLineStartsItsProgram)
{
    std::filesystem::copy_file(VL_COMPANION_PROGRAM, Prog() / "vlsuite.exe");
    const std::filesystem::path report = Prog() / "started.txt";
    setenv("VL_COMPANION_REPORT", report.c_str(), 1);
    app->m_strSuiteMenuCommand = "T:\\prog\\vlsuite.exe /menu";
    app->LaunchSuiteMenu();
    std::string line;
    for (int i = 0; i < 200 && line.empty(); ++i) {
        std::ifstream in(report);
        std::getline(in, line);
        if (line.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    unsetenv("VL_COMPANION_REPORT");
    EXPECT_EQ(0u, line.find("T:\\prog\\vlsuite.exe /menu|")) << line;
    EXPECT_TRUE(host::MessageBoxLog().empty());

    app->m_strSuiteMenuCommand = "T:\\prog\\missing.exe";
    host::AnswerMessageBox("Unable to launch Family Tomeset Menu: (2).", IDOK);
    app->LaunchSuiteMenu();
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ("Unable to launch Family Tomeset Menu: (2).", host::MessageBoxLog()[0].text);
}

}  // namespace
