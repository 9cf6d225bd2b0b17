// Start-up against other processes: a first instance that runs as another process, and the
// start-up main menu chosen by a registered message that another program sends. The other
// process is the process tests' peer program, copied into the program folder.
#include "AppTestSupport.h"
#include "base/VLMessages.h"

#include <chrono>
#include <string>
#include <thread>

using apptest::AppTest;

namespace {

class CrossProcessTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        std::filesystem::copy_file(VL_PEER_PROGRAM, Prog() / "vlpeer.exe");
    }
    void TearDown() override
    {
        EndPeer(peer);
        EndPeer(sender);
        AppTest::TearDown();
    }

    // Starts the peer with its arguments, shown with nShow.
    static bool StartPeer(const std::string& arguments, int nShow, PROCESS_INFORMATION& pi)
    {
        std::string line = "T:\\prog\\vlpeer.exe " + arguments;
        STARTUPINFO si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(nShow);
        return ::CreateProcess(NULL, line.data(), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL, &si, &pi) !=
               FALSE;
    }
    // The exit code once the process has ended (real time, at most 20 s); STILL_ACTIVE if it has not.
    static DWORD ExitCodeAfterEnd(PROCESS_INFORMATION& pi)
    {
        ::WaitForSingleObject(pi.hProcess, 20000);
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    static void EndPeer(PROCESS_INFORMATION& pi)
    {
        if (pi.hProcess == NULL)
            return;
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(pi.hProcess, 1);
            ::WaitForSingleObject(pi.hProcess, 10000);
        }
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
        pi = PROCESS_INFORMATION{};
    }
    // Waits (real time, at most 10 s) for a top-level window of that title and state.
    static HWND WaitForWindow(LPCSTR lpszTitle, BOOL bIconic)
    {
        for (int i = 0; i < 1000; ++i) {
            HWND hwnd = ::FindWindow(NULL, lpszTitle);
            if (hwnd != NULL && (::IsIconic(hwnd) != FALSE) == (bIconic != FALSE))
                return hwnd;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return NULL;
    }

    // While the menu waits for its choice, another program sends it the row's registered message.
    static void SendRowFromAnotherProgram(CMainMenuWnd*)
    {
        const std::string arguments =
            "send \"Main Menu Veltra 2000\" \"" + std::string(MainMenuRows()[apptest::RowToChoose()].pszMessage) + "\"";
        ASSERT_TRUE(StartPeer(arguments, SW_SHOWNORMAL, sender));
    }

    PROCESS_INFORMATION peer{};
    static PROCESS_INFORMATION sender;
};

PROCESS_INFORMATION CrossProcessTest::sender{};

// A first instance in another process, minimised, with an owned popup: the second start restores
// it and ends without doing anything else.
TEST_F(CrossProcessTest, ASecondInstanceActivatesTheFirstInAnotherProcess)
{
    ASSERT_TRUE(StartPeer("window \"Veltra 2000\" 0 popup", SW_SHOWMINIMIZED, peer));
    HWND hFirst = WaitForWindow("Veltra 2000", TRUE);
    ASSERT_NE(nullptr, hFirst) << "the first instance's window is up, minimised";
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hFirst, &dwProcess);
    EXPECT_EQ(peer.dwProcessId, dwProcess) << "the window found belongs to the other process";

    EXPECT_FALSE(Start(-1));
    EXPECT_FALSE(::IsIconic(hFirst)) << "the minimised first instance is restored";
    const LRESULT events = ::SendMessage(hFirst, ::RegisterWindowMessage("VL:Peer:Events"), 0, 0);
    EXPECT_EQ(1, events & 1) << "the first instance saw itself restored";
    EXPECT_EQ(nullptr, AppServices().owned.pPreferences) << "nothing else happened in this instance";
    EXPECT_FALSE(IsMainMenuUp());
    EXPECT_TRUE(host::MessageBoxLog().empty());

    ::PostMessage(hFirst, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCodeAfterEnd(peer)) << "the first instance runs on until it is closed";
}

// The first instance still shows its start-up main menu (no frame yet): a second start hands
// over to it all the same and ends without doing anything else.
TEST_F(CrossProcessTest, ASecondInstanceActivatesTheFirstWhileItsMenuIsUp)
{
    ASSERT_TRUE(StartPeer("window \"Main Menu Veltra 2000\" 0", SW_SHOWNORMAL, peer));
    HWND hFirst = WaitForWindow("Main Menu Veltra 2000", FALSE);
    ASSERT_NE(nullptr, hFirst) << "the first instance's menu is up";

    EXPECT_FALSE(Start(-1));
    EXPECT_EQ(nullptr, AppServices().owned.pPreferences) << "nothing else happened in this instance";
    EXPECT_FALSE(IsMainMenuUp());
    EXPECT_TRUE(host::MessageBoxLog().empty());
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hFirst, &dwProcess);
    EXPECT_EQ(peer.dwProcessId, dwProcess) << "the menu found belongs to the other process";

    ::PostMessage(hFirst, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, ExitCodeAfterEnd(peer));
}

// The menu's choice from a registered message that another program sends to the menu window by
// its title: the answer is 1 and start-up goes on with the row's choice.
TEST_F(CrossProcessTest, AnotherProgramChoosesInTheMenu)
{
    apptest::BeforeChoosing() = SendRowFromAnotherProgram;
    apptest::ChoiceSentElsewhere() = true;

    EXPECT_FALSE(Start(apptest::kExitRow));
    EXPECT_EQ(101u, ExitCodeAfterEnd(sender)) << "the menu answered the sender 1";
    EXPECT_EQ(nullptr, app->m_pMainWnd) << "Exit: no frame";
    Exit();
    EndPeer(sender);

    MakeApp();
    ASSERT_TRUE(Start(apptest::kBrowseRow));
    EXPECT_EQ(101u, ExitCodeAfterEnd(sender));
    CBaseWindow* pFrame = DYNAMIC_DOWNCAST(CBaseWindow, app->m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, pFrame->GetCurrentMainWin());
    EXPECT_EQ(IDW_JUSTLOOKING, pFrame->GetCurrentMainWin()->GetDlgCtrlID());
}

}  // namespace
