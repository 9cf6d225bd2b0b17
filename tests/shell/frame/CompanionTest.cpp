// The wizard selection window and the companion programs the frame starts: which program each
// message or command starts, in which folder, that a running one is not started twice, restarts
// after it ended, the failure messages, the disc prompt, and the timeline viewer's requests.
// A small program (vlcompanion) plays every companion: it notes each start in a report file.
#include "FrameTestSupport.h"

#include "shell/CompanionLauncher.h"
#include "base/TimelineRequest.h"
#include "shell/WizardSelectWnd.h"
#include "widgets/DibButton.h"

#include <TestAppHost.h>

#include <MessageSpy.h>

#include <host/Display.h>
#include <host/Paths.h>
#include <host/Input.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

using namespace frametest;

namespace {

// A request that notes who deleted it.
class TestRequest : public TimelineRequest {
public:
    using TimelineRequest::TimelineRequest;
    ~TestRequest() override { FreedLog().push_back(WhoIsRunning() + ":request"); }
};

class CompanionTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        CCompanionLauncher::ResetRecords();
        report = dir.path() / "report.txt";
        setenv("VL_COMPANION_REPORT", report.string().c_str(), 1);
        unsetenv("VL_COMPANION_STAY");
        Install("data/Wizards", "vlwizrep.exe");
        Install("data/Wizards", "vlwizcht.exe");
        Install("data/Wizards", "vlwiztl.exe");
        Install("data/Wizards", "vl00web.exe");
        Install("data/Wizards", "vlwizquz.exe");
        Install("data/Wizards", "vltlview.exe");
        Install("data/VlJubl", "vljub.exe");
    }
    void TearDown() override
    {
        // Programs that stay are ended here.
        for (int i = 0; i < CCompanionLauncher::ProgramCount; ++i)
            EndProgram(CCompanionLauncher::Record(static_cast<CCompanionLauncher::Program>(i)));
        if (frame != nullptr && IsWindow(frameHwnd))
            EndProgram(const_cast<PROCESS_INFORMATION&>(frame->GetWordProcessorRecord()));
        CCompanionLauncher::ResetRecords();
        unsetenv("VL_COMPANION_REPORT");
        unsetenv("VL_COMPANION_STAY");
        if (!savedFolder.empty())
            SetCurrentDirectory(savedFolder.c_str());
        FrameTest::TearDown();
    }

    // Puts the companion program below drive T: under that name.
    void Install(const std::string& folder, const std::string& name)
    {
        std::filesystem::path target = dir.path() / "t" / folder;
        std::filesystem::create_directories(target);
        std::filesystem::copy_file(VL_COMPANION_PROGRAM, target / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    static void EndProgram(PROCESS_INFORMATION& record)
    {
        if (CCompanionLauncher::IsRunning(record))
            TerminateProcess(record.hProcess, 1);
        WaitForEnd(record);
    }
    // Waits (in real time) until the recorded process has ended.
    static bool WaitForEnd(const PROCESS_INFORMATION& record)
    {
        for (int i = 0; i < 1000 && CCompanionLauncher::IsRunning(record); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return !CCompanionLauncher::IsRunning(record);
    }
    // The starts noted so far ("command line|folder"), waiting up to 10 s for `count` of them.
    std::vector<std::string> Starts(size_t count = 0) const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 1000; ++i) {
            lines.clear();
            std::ifstream in(report);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            if (lines.size() >= count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return lines;
    }
    // A start as "command line|folder", the folder given as the host folder it names (the child
    // has no drive T:, so it names the same folder from drive C:).
    static std::string Start(const std::string& commandLine, const std::string& folder)
    {
        return commandLine + "|" + HostFolder(folder);
    }
    static std::string HostFolder(const std::string& folder)
    {
        std::string host = host::ToHostPath(folder).value_or(folder);
        return std::filesystem::weakly_canonical(host).string();
    }
    // The starts noted so far with their folders as host folders.
    std::vector<std::string> HostStarts(size_t count = 0) const
    {
        std::vector<std::string> starts = Starts(count);
        for (std::string& start : starts) {
            size_t bar = start.find('|');
            if (bar != std::string::npos)
                start = Start(start.substr(0, bar), start.substr(bar + 1));
        }
        return starts;
    }
    static std::string ProgramFolder()
    {
        CString folder = GetProgramDir();
        return std::string(folder, folder.GetLength() - 1);
    }
    // A frame, with the companion programs staying up and the notepad stand-in in the current
    // folder T:\\cur (the folder before is back at the end of the case).
    void FrameWithNotepadInCurrentFolder()
    {
        setenv("VL_COMPANION_STAY", "1", 1);
        Install("cur", "notepad.exe");
        savedFolder = CurrentFolder();
        ASSERT_TRUE(SetCurrentDirectory("T:\\cur"));
        MakeFrame();
    }
    std::string savedFolder;

    static std::string CurrentFolder()
    {
        char folder[MAX_PATH] = "";
        GetCurrentDirectory(MAX_PATH, folder);
        return folder;
    }
    static const PROCESS_INFORMATION& RecordOf(CCompanionLauncher::Program program)
    {
        return CCompanionLauncher::Record(program);
    }
    // Processes started so far by the launcher's records (a record with a process handle).
    static int RecordsInUse()
    {
        int n = 0;
        for (int i = 0; i < CCompanionLauncher::ProgramCount; ++i)
            n += RecordOf(static_cast<CCompanionLauncher::Program>(i)).hProcess != nullptr;
        return n;
    }

    std::filesystem::path report;
};

TEST_F(CompanionTest, EachMessageStartsItsProgramInItsFolder)
{
    struct Case {
        const char* name;
        UINT message;  // 0: command
        UINT command;
        CCompanionLauncher::Program program;
        const char* commandLine;
        bool ownFolder;
    } const cases[] = {
        {"research", VLM_COMPANION_FIRST, 0, CCompanionLauncher::Research, "T:\\data\\Wizards\\vlwizrep.exe", false},
        {"chart", VLM_COMPANION_SECOND, 0, CCompanionLauncher::Chart, "T:\\data\\Wizards\\vlwizcht.exe", false},
        {"timeline maker", VLM_COMPANION_THIRD, 0, CCompanionLauncher::TimelineMaker, "T:\\data\\Wizards\\vlwiztl.exe", false},
        {"web page", VLM_COMPANION_FOURTH, 0, CCompanionLauncher::WebPage, "T:\\data\\Wizards\\vl00web.exe", false},
        {"quiz", VLM_COMPANION_FIFTH, 0, CCompanionLauncher::Quiz, "T:\\data\\Wizards\\vlwizquz.exe", false},
        {"jubilee", VLM_JUBILEE, 0, CCompanionLauncher::Jubilee, "T:\\data\\VlJubl\\vljub.exe", true},
        {"jubilee command", 0, ID_SURF_JUBILEE, CCompanionLauncher::Jubilee, "T:\\data\\VlJubl\\vljub.exe", true},
    };
    MakeFrame();
    size_t started = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LRESULT result = c.message != 0 ? frame->SendMessage(c.message, 0, 0) : frame->SendMessage(WM_COMMAND, c.command);
        if (c.message != 0) {
            EXPECT_EQ(1, result);
        }
        ASSERT_NE(nullptr, RecordOf(c.program).hProcess);
        EXPECT_NE(0u, RecordOf(c.program).dwThreadId);
        std::vector<std::string> starts = HostStarts(++started);
        ASSERT_EQ(started, starts.size());
        std::string folder = c.ownFolder ? "T:\\data\\VlJubl" : ProgramFolder();
        EXPECT_EQ(Start(c.commandLine, folder), starts.back());
        EXPECT_TRUE(WaitForEnd(RecordOf(c.program)));
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());

    // The start-up menu's jubilee choice shows the article view and then starts the program.
    EndProgram(CCompanionLauncher::Record(CCompanionLauncher::Jubilee));
    EXPECT_EQ(1, frame->SendMessage(VLM_MAIN_MENU_CHOICE, 202, 0));
    EXPECT_EQ(started, Starts().size()) << "posted: not yet";
    ui::PumpUntilIdle();
    EXPECT_EQ(View(8001), frame->GetCurrentMainWin());
    EXPECT_EQ(started + 1, Starts(started + 1).size());
}

TEST_F(CompanionTest, ARunningProgramIsNotStartedTwiceAndAnEndedOneStartsAgain)
{
    setenv("VL_COMPANION_STAY", "1", 1);
    MakeFrame();
    frame->SendMessage(VLM_COMPANION_FIRST, 0, 0);
    ASSERT_EQ(1u, Starts(1).size());
    DWORD first = RecordOf(CCompanionLauncher::Research).dwProcessId;
    ASSERT_TRUE(CCompanionLauncher::IsRunning(RecordOf(CCompanionLauncher::Research)));
    // A second request while it runs: no second process.
    EXPECT_EQ(1, frame->SendMessage(VLM_COMPANION_FIRST, 0, 0));
    EXPECT_EQ(first, RecordOf(CCompanionLauncher::Research).dwProcessId);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(1u, Starts().size());
    // Another wizard is a program of its own.
    frame->SendMessage(VLM_COMPANION_SECOND, 0, 0);
    EXPECT_EQ(2u, Starts(2).size());
    // Once ended, it starts again.
    EndProgram(CCompanionLauncher::Record(CCompanionLauncher::Research));
    frame->SendMessage(VLM_COMPANION_FIRST, 0, 0);
    EXPECT_EQ(3u, Starts(3).size());
    EXPECT_NE(first, RecordOf(CCompanionLauncher::Research).dwProcessId);
}

TEST_F(CompanionTest, FailuresShowTheProgramsMessageAndACancelledDiscStartsNothing)
{
    MakeFrame();
    std::filesystem::remove(dir.path() / "t/data/Wizards/vlwizcht.exe");
    std::filesystem::remove(dir.path() / "t/data/VlJubl/vljub.exe");
    host::AnswerMessageBox("Unable to start Wizard application.", IDOK);
    EXPECT_EQ(1, frame->SendMessage(VLM_COMPANION_SECOND, 0, 0));
    host::AnswerMessageBox("Unable to start Surf the Jubilee application.", IDOK);
    EXPECT_EQ(1, frame->SendMessage(VLM_JUBILEE, 0, 0));
    EXPECT_EQ(1, Boxes("Unable to start Wizard application."));
    EXPECT_EQ(1, Boxes("Unable to start Surf the Jubilee application."));
    EXPECT_EQ(0, RecordsInUse());

    // Without the disc, the reader is asked for it; Cancel starts nothing and shows nothing.
    host::ResetUiScript();
    TakeDiscAway();
    CancelNextDiscPrompt();
    EXPECT_EQ(1, frame->SendMessage(VLM_COMPANION_FIRST, 0, 0));
    EXPECT_EQ(1, DiscPrompts());
    // The jubilee folder may be set apart; the sound folder of the disc must be there too.
    SetProfile("Files", "Jubilee", "T:\\data\\VlJubl");
    Install("data/VlJubl", "vljub.exe");
    CancelNextDiscPrompt();
    EXPECT_EQ(1, frame->SendMessage(VLM_JUBILEE, 0, 0));
    EXPECT_EQ(2, DiscPrompts());
    EXPECT_EQ(2u, host::MessageBoxLog().size());
    EXPECT_EQ(0, RecordsInUse());
    // The wizards' folder may be set apart too: then no disc is needed.
    SetProfile("Files", "Wizards", "T:\\data\\Wizards");
    frame->SendMessage(VLM_COMPANION_FIRST, 0, 0);
    EXPECT_EQ(1u, Starts(1).size());
}

TEST_F(CompanionTest, TheTimelineViewerGetsTheRequestOnItsCommandLine)
{
    MakeFrame();
    // With a request: two blanks, then the rectangle and the timeline's name.
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(40, 10, 600, 400, "TM000123"))));
    EXPECT_EQ(std::vector<std::string>{"frame:request"}, FreedLog());
    ASSERT_EQ(1u, Starts(1).size());
    // The viewer runs in the current folder.
    EXPECT_EQ(Start("T:\\data\\Wizards\\vltlview.exe  40 10 600 400 TM000123", CurrentFolder()), HostStarts()[0]);
    WaitForEnd(RecordOf(CCompanionLauncher::TimelineViewer));
    // Without one: the program alone.
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 0, 0));
    ASSERT_EQ(2u, Starts(2).size());
    EXPECT_EQ(Start("T:\\data\\Wizards\\vltlview.exe", CurrentFolder()), HostStarts()[1]);
    WaitForEnd(RecordOf(CCompanionLauncher::TimelineViewer));

    // Arguments of 100 characters or more, or a command line of 128 or more, are refused.
    FreedLog().clear();
    host::AnswerMessageBox("Unable to start Wizard application.", IDOK);
    std::string longName(91, 'x');
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, longName.c_str()))));
    // " 1 2 3 4 " and 90 characters make 99: that fits the arguments, but the command line (a
    // path of 28, a blank and the arguments) reaches 128.
    host::AnswerMessageBox("Unable to start Wizard application.", IDOK);
    std::string fitsArguments(90, 'y');
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, fitsArguments.c_str()))));
    EXPECT_EQ(2, Boxes("Unable to start Wizard application."));
    EXPECT_EQ((std::vector<std::string>{"frame:request", "frame:request"}), FreedLog());
    // The longest that fits: a name of 89 makes a command line of 127.
    std::string longest(89, 'z');
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, longest.c_str()))));
    ASSERT_EQ(3u, Starts(3).size());
    EXPECT_EQ(Start("T:\\data\\Wizards\\vltlview.exe  1 2 3 4 " + longest, CurrentFolder()), HostStarts()[2]);
    WaitForEnd(RecordOf(CCompanionLauncher::TimelineViewer));

    // The disc prompt cancelled: nothing starts, nothing shows, the request goes.
    FreedLog().clear();
    host::ResetUiScript();
    TakeDiscAway();
    CancelNextDiscPrompt();
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, "TM000001"))));
    EXPECT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ(std::vector<std::string>{"frame:request"}, FreedLog());
    EXPECT_EQ(3u, Starts().size());
}

TEST_F(CompanionTest, ARunningViewerThatTakesAutomationGetsTheNameAndACallUnderWayRefusesAnother)
{
    CTestAppHost appHost;
    static std::vector<std::string> handed;
    handed.clear();
    appHost.passToTimelineViewer = [](LPCSTR text) {
        handed.push_back(text != nullptr ? text : "(none)");
        return TRUE;
    };
    MakeFrame();
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, "TM000042"))));
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, 0));
    EXPECT_EQ((std::vector<std::string>{"TM000042", "(none)"}), handed);
    EXPECT_EQ(std::vector<std::string>{"frame:request"}, FreedLog());
    EXPECT_TRUE(Starts().empty());

    // While a call is under way (its failure message is up), another is refused with 0 and its
    // request freed.
    appHost.passToTimelineViewer = nullptr;
    std::filesystem::remove(dir.path() / "t/data/Wizards/vltlview.exe");
    FreedLog().clear();
    LRESULT inner = -1;
    host::AnswerMessageBoxWith("Unable to start Wizard application.", [&](const host::MessageBoxRecord&) {
        EXPECT_TRUE(CCompanionLauncher::IsTimelineViewerBusy());
        inner = frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(5, 6, 7, 8, "TM000002")));
        return IDOK;
    });
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, "TM000001"))));
    EXPECT_EQ(0, inner);
    EXPECT_FALSE(CCompanionLauncher::IsTimelineViewerBusy());
    EXPECT_EQ((std::vector<std::string>{"frame:request", "frame:request"}), FreedLog());
}

TEST_F(CompanionTest, NotepadAndTheWordProcessor)
{
    ASSERT_NO_FATAL_FAILURE(FrameWithNotepadInCurrentFolder());
    // Notepad: found on the system path, started once while it runs.
    frame->SendMessage(WM_COMMAND, ID_NOTEPAD);
    ASSERT_EQ(1u, Starts(1).size());
    EXPECT_EQ(Start("T:\\cur\\notepad.exe", "T:\\cur"), HostStarts()[0]);
    frame->SendMessage(WM_COMMAND, ID_NOTEPAD);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(1u, Starts().size());

    // The word processor: an empty "WPL" becomes the notepad found, and is started apart from
    // the notepad command's.
    frame->SendMessage(WM_COMMAND, ID_WORD_PROCESSOR);
    EXPECT_EQ("T:\\cur\\notepad.exe", Profile("Veltra Jubilee 2000 (International)", "WPL"));
    ASSERT_EQ(2u, Starts(2).size());
    DWORD first = frame->GetWordProcessorRecord().dwProcessId;
    EXPECT_NE(first, RecordOf(CCompanionLauncher::Notepad).dwProcessId);
    frame->SendMessage(WM_COMMAND, ID_WORD_PROCESSOR);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(2u, Starts().size()) << "running: brought forward, not started again";
    // Ended: started again, from the "WPL" the reader set.
    EndProgram(const_cast<PROCESS_INFORMATION&>(frame->GetWordProcessorRecord()));
    SetProfile("Veltra Jubilee 2000 (International)", "WPL", "T:\\data\\Wizards\\vlwizrep.exe");
    frame->SendMessage(WM_COMMAND, ID_WORD_PROCESSOR);
    ASSERT_EQ(3u, Starts(3).size());
    EXPECT_EQ(Start("T:\\data\\Wizards\\vlwizrep.exe", "T:\\cur"), HostStarts()[2]);
    EXPECT_NE(first, frame->GetWordProcessorRecord().dwProcessId);
    // A program that cannot start says so.
    EndProgram(const_cast<PROCESS_INFORMATION&>(frame->GetWordProcessorRecord()));
    SetProfile("Veltra Jubilee 2000 (International)", "WPL", "T:\\nowhere\\wp.exe");
    host::AnswerMessageBox("Unable to start the word processor (T:\\nowhere\\wp.exe).", IDOK);
    frame->SendMessage(WM_COMMAND, ID_WORD_PROCESSOR);
    EXPECT_EQ(1u, host::MessageBoxLog().size());
    // The command is always enabled.
    CCmdUI state;
    state.m_nID = ID_WORD_PROCESSOR;
    EXPECT_TRUE(state.DoUpdate(frame, FALSE));
}

// Neither a notepad on the system path nor a word processor set: each command says that its
// program is not there, and starts nothing.
TEST_F(CompanionTest, NotepadAndTheWordProcessorSayWhenTheyAreNotThere)
{
    MakeFrame();
    char found[MAX_PATH] = "";
    if (SearchPath(NULL, "notepad", ".exe", sizeof(found), found, NULL) != 0)
        GTEST_SKIP() << "a notepad is on this system's path: " << found;
    host::AnswerMessageBox("The Notepad program is not installed on this computer.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_NOTEPAD);
    host::AnswerMessageBox("No word processor is installed.", IDOK);
    frame->SendMessage(WM_COMMAND, ID_WORD_PROCESSOR);
    EXPECT_EQ(2u, host::MessageBoxLog().size());
    EXPECT_EQ(0, RecordsInUse());
    EXPECT_EQ(nullptr, frame->GetWordProcessorRecord().hProcess);
}

// ---- programs that run: their windows across processes ----

// Waits (in real time, up to ten seconds) until the condition holds.
template <class Condition>
bool Eventually(Condition condition)
{
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// The window of a started program once it shows.
HWND WindowOf(const PROCESS_INFORMATION& record)
{
    HWND window = nullptr;
    Eventually([&] {
        window = CCompanionLauncher::FindThreadWindow(record.dwThreadId);
        return window != nullptr && IsWindowVisible(window);
    });
    return window;
}

TEST_F(CompanionTest, ARunningProgramIsRestoredOrBroughtToTheFront)
{
    ASSERT_NO_FATAL_FAILURE(FrameWithNotepadInCurrentFolder());
    struct Case {
        const char* name;
        UINT message;  // 0: command
        UINT command;
        std::function<const PROCESS_INFORMATION&()> record;
    } const cases[] = {
        {"research wizard", VLM_COMPANION_FIRST, 0, [] { return std::cref(RecordOf(CCompanionLauncher::Research)); }},
        {"jubilee", VLM_JUBILEE, 0, [] { return std::cref(RecordOf(CCompanionLauncher::Jubilee)); }},
        {"notepad", 0, ID_NOTEPAD, [] { return std::cref(RecordOf(CCompanionLauncher::Notepad)); }},
        {"word processor", 0, ID_WORD_PROCESSOR, [this] { return std::cref(frame->GetWordProcessorRecord()); }},
    };
    size_t started = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto send = [&] { c.message != 0 ? frame->SendMessage(c.message, 0, 0) : frame->SendMessage(WM_COMMAND, c.command); };
        send();
        ++started;
        HWND window = WindowOf(c.record());
        ASSERT_NE(nullptr, window);
        // Minimised: restored.
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(Eventually([&] { return IsIconic(window) != FALSE; }));
        send();
        EXPECT_TRUE(Eventually([&] { return !IsIconic(window); }));
        // Behind the frame: brought to the front (it leads the z-order of all processes' windows;
        // the frame's own popups stay above it).
        SetForegroundWindow(frameHwnd);
        ASSERT_EQ(frameHwnd, GetAncestor(GetTopWindow(nullptr), GA_ROOTOWNER));
        send();
        EXPECT_TRUE(Eventually([&] { return GetTopWindow(nullptr) == window; }));
        EXPECT_EQ(started, Starts().size()) << "never a second process";
    }
}

// The real editor, built beside the stand-in, started by the Notepad command: its window shows an
// untitled document, and the command again brings that same process forward.
TEST_F(CompanionTest, TheBuiltNotepadIsStartedOnceAndBroughtForward)
{
    std::filesystem::path built = std::filesystem::path(VL_COMPANION_PROGRAM).parent_path() / "notepad";
    if (!std::filesystem::exists(built))
        GTEST_SKIP() << "notepad is not built";
    std::filesystem::create_directories(dir.path() / "t" / "cur");
    std::filesystem::copy_file(built, dir.path() / "t" / "cur" / "notepad",
                               std::filesystem::copy_options::overwrite_existing);
    savedFolder = CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectory("T:\\cur"));
    MakeFrame();

    frame->SendMessage(WM_COMMAND, ID_NOTEPAD);
    const PROCESS_INFORMATION& record = RecordOf(CCompanionLauncher::Notepad);
    ASSERT_TRUE(CCompanionLauncher::IsRunning(record));
    HWND window = WindowOf(record);
    ASSERT_NE(nullptr, window);
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Untitled - Veltra Notepad");
    DWORD first = record.dwProcessId;

    SetForegroundWindow(frameHwnd);
    frame->SendMessage(WM_COMMAND, ID_NOTEPAD);
    EXPECT_TRUE(Eventually([&] { return GetTopWindow(nullptr) == window; }));
    EXPECT_EQ(first, RecordOf(CCompanionLauncher::Notepad).dwProcessId) << "the same process, not a second one";
}

TEST_F(CompanionTest, AViewerStartedEarlierIsClosedBeforeTheNextOneStarts)
{
    setenv("VL_COMPANION_STAY", "1", 1);
    MakeFrame();
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(1, 2, 3, 4, "TM000001"))));
    const PROCESS_INFORMATION& record = RecordOf(CCompanionLauncher::TimelineViewer);
    ASSERT_NE(nullptr, WindowOf(record));
    HANDLE first = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, record.dwProcessId);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1, frame->SendMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(new TestRequest(5, 6, 7, 8, "TM000002"))));
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(first, &code));
    EXPECT_EQ(0u, code) << "closed through its window, before the next one started";
    CloseHandle(first);
    ASSERT_EQ(2u, Starts(2).size());
    EXPECT_NE(std::string::npos, Starts()[1].find("  5 6 7 8 TM000002|"));
    EXPECT_TRUE(CCompanionLauncher::IsRunning(record));
}

// ---- the wizard selection window ----

class WizardSelectTest : public CompanionTest {};

TEST_F(WizardSelectTest, ChoosingAWizardClosesTheWindowBeforeTheProgramStarts)
{
    struct Case {
        int button;
        UINT id;
        UINT message;
        CCompanionLauncher::Program program;
    } const cases[] = {
        {0, 1048, VLM_COMPANION_FIRST, CCompanionLauncher::Research}, {1, 1050, VLM_COMPANION_SECOND, CCompanionLauncher::Chart},
        {2, 1049, VLM_COMPANION_THIRD, CCompanionLauncher::TimelineMaker}, {3, 1052, VLM_COMPANION_FOURTH, CCompanionLauncher::WebPage},
        {4, 1071, VLM_COMPANION_FIFTH, CCompanionLauncher::Quiz},
    };
    MakeFrame();
    AppServices().ui.bF1Help = TRUE;
    size_t started = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        bool helpInside = true;
        HWND dialog = nullptr;
        host::RunInNextModalLoop([&](HWND modal) {
            dialog = modal;
            helpInside = AppServices().ui.bF1Help;
            HWND button = GetDlgItem(modal, static_cast<int>(c.id));
            ASSERT_NE(nullptr, button);
            RECT r;
            GetWindowRect(button, &r);
            host::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        });
        // The Wizards command, the frame's VLM_WIZARD_SELECTION and the start-up menu's choice 201 open it.
        if (c.button == 0)
            frame->SendMessage(WM_COMMAND, ID_WIZARDS);
        else if (c.button == 1)
            frame->SendMessage(VLM_MAIN_MENU_CHOICE, 201, 0), ui::PumpUntilIdle();
        else
            EXPECT_EQ(0, frame->SendMessage(VLM_WIZARD_SELECTION, 0, 0));
        EXPECT_FALSE(helpInside) << "F1 help is off while the window is up";
        EXPECT_TRUE(AppServices().ui.bF1Help);
        EXPECT_FALSE(IsWindow(dialog));
        if (c.button != 1) {
            // The start message waits in the queue: nothing has started yet.
            MSG msg;
            ASSERT_TRUE(PeekMessageA(&msg, frameHwnd, c.message, c.message, PM_NOREMOVE));
            EXPECT_EQ(nullptr, RecordOf(c.program).hProcess);
            ui::PumpUntilIdle();
        }
        ASSERT_NE(nullptr, RecordOf(c.program).hProcess);
        ++started;
        EXPECT_EQ(started, Starts(started).size());
        WaitForEnd(RecordOf(c.program));
    }
}

TEST_F(WizardSelectTest, CancelStartsNothingAndTheWindowIsLaidOutLeftOfItsTexts)
{
    MakeFrame();
    AppServices().ui.bF1Help = TRUE;
    spy::MessageSpy spy;
    spy.Watch(frameHwnd);
    host::RunInNextModalLoop([&](HWND modal) {
        CWizardSelectWnd* wnd = DYNAMIC_DOWNCAST(CWizardSelectWnd, CWnd::FromHandlePermanent(modal));
        ASSERT_NE(nullptr, wnd);
        char caption[64] = "";
        GetWindowTextA(modal, caption, sizeof caption);
        EXPECT_STREQ("Select a Wizard", caption);
        // Five buttons as large as picture 503 rounded down to fours (90x57: 88x56), 9 apart.
        const UINT ids[5] = {1048, 1050, 1049, 1052, 1071};
        for (int i = 0; i < 5; ++i) {
            CDibButton* button = wnd->GetButton(i);
            ASSERT_NE(nullptr, button);
            EXPECT_EQ(int(ids[i]), button->GetDlgCtrlID());
            CRect r;
            button->GetWindowRect(&r);
            ::ScreenToClient(modal, reinterpret_cast<POINT*>(&r.left));
            ::ScreenToClient(modal, reinterpret_cast<POINT*>(&r.right));
            EXPECT_EQ(CRect(50, 78 + i * 65, 138, 134 + i * 65), r) << i;
        }
        char text[128] = "";
        GetDlgItemTextA(modal, 1041, text, sizeof text);
        EXPECT_STREQ("Research Wizard", text);
        GetDlgItemTextA(modal, 1045, text, sizeof text);
        EXPECT_STREQ("The Research Wizard helps you through the steps of writing a research report.", text);
        // Centred on the desktop.
        CRect window;
        GetWindowRect(modal, &window);
        EXPECT_NEAR(1024 / 2, window.CenterPoint().x, 1);
        EXPECT_NEAR(768 / 2, window.CenterPoint().y, 1);
        // Painted: the heading picture centred 10 pixels below the top, the fonts made.
        UpdateWindow(modal);
        ui::PumpUntilIdle();
        EXPECT_TRUE(wnd->AreFontsMade());
        CRect client;
        GetClientRect(modal, &client);
        CPoint banner((client.Width() - 400) / 2 + 200, 10 + 28);
        ClientToScreen(modal, &banner);
        CPoint above((client.Width() - 400) / 2 + 200, 5);
        ClientToScreen(modal, &above);
        EXPECT_NE(host::DesktopPixel(banner.x, banner.y), host::DesktopPixel(above.x, above.y));
        HFONT heading = reinterpret_cast<HFONT>(SendDlgItemMessageA(modal, 1043, WM_GETFONT, 0, 0));
        LOGFONT lf{};
        ASSERT_NE(nullptr, heading);
        GetObjectA(heading, sizeof lf, &lf);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        EXPECT_STREQ("Arial", lf.lfFaceName);

        std::string path = (dir.path() / "wizards.png").string();
        ASSERT_TRUE(host::SaveDesktopPng(path));
        if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
            std::filesystem::copy_file(path, std::filesystem::path(keep) / "wizards.png",
                                       std::filesystem::copy_options::overwrite_existing);

        HWND cancel = GetDlgItem(modal, 1044);
        RECT r;
        GetWindowRect(cancel, &r);
        host::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(0, frame->SendMessage(VLM_WIZARD_SELECTION, 0, 0));
    ui::PumpUntilIdle();
    EXPECT_TRUE(AppServices().ui.bF1Help);
    for (UINT message : {0x4E6u, 0x4E7u, 0x4E8u, 0x4F0u, 0x4F1u})
        EXPECT_EQ(0u, spy.Count(message, frameHwnd));
    EXPECT_EQ(0, RecordsInUse());
    EXPECT_TRUE(Starts().empty());
}

}  // namespace
