// Top-level windows across processes: finding the peer's window, its state, messages to it,
// showing and activating it, the z-order of all processes' windows, and what is left once the
// peer has gone.
#include <windows.h>
#include <interproc.h>

#include "PeerSupport.h"

#include <TempDir.h>

#include <host/Presenter.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <thread>
#include <vector>

namespace {

std::string Unique(const char* what)
{
    static int serial = 0;
    return std::string(what) + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
}

// A peer with a window, and its window once it shows.
struct Peer {
    std::string title;
    Started process;
    HWND hwnd = nullptr;

    explicit Peer(const char* what, int exitCode = 0, int show = -1, bool popup = false) : title(Unique(what))
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (show >= 0) {
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = static_cast<WORD>(show);
        }
        Start(process, "\"" + PeerStem() + "\" window \"" + title + "\" " + std::to_string(exitCode) +
                           (popup ? " popup" : ""),
              nullptr, &si);
        if (!process.ok)
            return;
        Eventually([&] {
            hwnd = FindWindowA("VLPeerWindow", title.c_str());
            return hwnd != nullptr && IsWindowVisible(hwnd) &&
                   (!popup || IsWindowVisible(FindWindowA(nullptr, (title + " Popup").c_str())));
        });
    }
};

UINT Message(const char* name)
{
    return RegisterWindowMessageA(name);
}

bool InZOrderWalk(DWORD threadId, HWND* found = nullptr)
{
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (GetWindowThreadProcessId(h, nullptr) == threadId) {
            if (found)
                *found = h;
            return true;
        }
    return false;
}

LRESULT CALLBACK Plain(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == RegisterWindowMessageA("VL:Peer:EchoAnswer"))
        return lParam * 2;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND LocalWindow(const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = "RemoteWindowTestLocal";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "RemoteWindowTestLocal", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                           nullptr, nullptr, nullptr, nullptr);
}

TEST(RemoteWindowTest, PeersWindowIsFoundAndDescribed)
{
    Peer peer("Found Peer");
    ASSERT_TRUE(peer.process.ok) << peer.process.error;
    ASSERT_NE(peer.hwnd, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, peer.title.c_str()), peer.hwnd);
    EXPECT_EQ(FindWindowA("vlpeerwindow", nullptr), peer.hwnd) << "class names ignore case";
    EXPECT_EQ(FindWindowExA(GetDesktopWindow(), nullptr, nullptr, peer.title.c_str()), peer.hwnd);
    EXPECT_EQ(FindWindowExA(nullptr, peer.hwnd, "VLPeerWindow", nullptr), nullptr) << "searching goes on after it";
    EXPECT_EQ(FindWindowA(nullptr, (peer.title + "x").c_str()), nullptr);
    EXPECT_TRUE(IsWindow(peer.hwnd));
    EXPECT_FALSE(IsIconic(peer.hwnd));
    EXPECT_TRUE(IsWindowEnabled(peer.hwnd));

    char text[256] = "";
    EXPECT_EQ(GetWindowTextA(peer.hwnd, text, sizeof text), static_cast<int>(peer.title.size()));
    EXPECT_EQ(text, peer.title);
    EXPECT_EQ(GetWindowTextLengthA(peer.hwnd), static_cast<int>(peer.title.size()));
    EXPECT_EQ(GetWindowTextA(peer.hwnd, text, 5), 4) << "cut to the buffer";
    EXPECT_EQ(GetClassNameA(peer.hwnd, text, sizeof text), 12);
    EXPECT_STREQ(text, "VLPeerWindow");
    RECT rect{};
    EXPECT_TRUE(GetWindowRect(peer.hwnd, &rect));
    EXPECT_EQ(rect.right - rect.left, 300);

    DWORD processId = 0;
    EXPECT_EQ(GetWindowThreadProcessId(peer.hwnd, &processId), peer.process.pi.dwThreadId)
        << "the creating thread is the started process's main thread";
    EXPECT_EQ(processId, peer.process.pi.dwProcessId);
    EXPECT_EQ(GetLastActivePopup(peer.hwnd), peer.hwnd) << "no popup: the window itself";

    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(peer.hwnd)) << "only its own thread destroys a window";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsWindow(peer.hwnd));
}

TEST(RemoteWindowTest, MessagesToThePeer)
{
    Message("VL:Test:Registered First Here");  // the numbers do not follow the order of registration
    Peer peer("Messages Peer");
    ASSERT_NE(peer.hwnd, nullptr);
    UINT ping = Message("VL:Peer:Ping");
    EXPECT_GE(ping, 0xC000u);
    EXPECT_LE(ping, 0xFFFFu);
    EXPECT_EQ(Message("vl:peer:PING"), ping);
    EXPECT_EQ(SendMessageA(peer.hwnd, ping, 5, 0), 1005) << "the peer knows the message by the same number";
    DWORD_PTR result = 0;
    EXPECT_EQ(SendMessageTimeoutA(peer.hwnd, ping, 7, 0, SMTO_NORMAL, 10000, &result), 1);
    EXPECT_EQ(result, 1007u);
    EXPECT_TRUE(SendNotifyMessageA(peer.hwnd, ping, 1, 0));
    EXPECT_TRUE(PostMessageA(peer.hwnd, ping, 1, 0));

    // A message whose parameters point into this process does not go.
    char buffer[64];
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer.hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(peer.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // A send that takes longer than the caller waits.
    SetLastError(0);
    EXPECT_EQ(SendMessageTimeoutA(peer.hwnd, Message("VL:Peer:Sleep"), 1500, 0, SMTO_NORMAL, 50, &result), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_EQ(SendMessageA(peer.hwnd, ping, 9, 0), 1009) << "the peer answers again once it is done";
}

TEST(RemoteWindowTest, APeerSendingBackWhileAnsweringIsServed)
{
    HWND mine = LocalWindow("Echo Target");
    ASSERT_NE(mine, nullptr);
    Peer peer("Echo Peer");
    ASSERT_NE(peer.hwnd, nullptr);
    // The peer's answer needs an answer from this thread, which is waiting for the peer.
    EXPECT_EQ(SendMessageA(peer.hwnd, Message("VL:Peer:Echo"), reinterpret_cast<WPARAM>(mine), 21), 43);
    DestroyWindow(mine);
}

// Another process bringing one of this process's windows to the foreground also raises the
// presenter's host window that shows them (SDL's dummy video driver stands in for a display).
TEST(RemoteWindowTest, AnotherProcessActivatingAWindowRaisesThePresenter)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    if (!host::StartPresenter("remote window test", &error))
        GTEST_SKIP() << "SDL's offscreen video driver is not available: " << error;
    const std::string title = Unique("Raise Me");
    HWND mine = LocalWindow(title.c_str());
    ASSERT_NE(mine, nullptr);
    const std::uint64_t before = host::PresenterRaiseCount();
    Started activator;
    Start(activator, "\"" + PeerStem() + "\" foreground \"" + title + "\"");
    ASSERT_TRUE(activator.ok);
    // This thread serves the peer's request while it pumps.
    ASSERT_TRUE(Eventually([&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        return WaitForSingleObject(activator.pi.hProcess, 0) == WAIT_OBJECT_0;
    }));
    EXPECT_EQ(ExitCodeOf(activator.pi.hProcess), 0u);
    EXPECT_EQ(GetForegroundWindow(), mine);
    EXPECT_TRUE(Eventually([&] { return host::PresenterRaiseCount() > before; }));
    DestroyWindow(mine);
    host::StopPresenter();
    unsetenv("SDL_VIDEODRIVER");
}

TEST(RemoteWindowTest, PostedCloseEndsThePeerAndItsWindowGoes)
{
    Peer peer("Closing Peer", 23);
    ASSERT_NE(peer.hwnd, nullptr);
    EXPECT_TRUE(PostMessageA(peer.hwnd, WM_CLOSE, 0, 0));
    ASSERT_EQ(WaitForSingleObject(peer.process.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(peer.process.pi.hProcess), 23u);
    EXPECT_FALSE(IsWindow(peer.hwnd));
    EXPECT_EQ(FindWindowA(nullptr, peer.title.c_str()), nullptr);
    EXPECT_FALSE(InZOrderWalk(peer.process.pi.dwThreadId));
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer.hwnd, Message("VL:Peer:Ping"), 1, 0), 0);
    EXPECT_FALSE(PostMessageA(peer.hwnd, WM_CLOSE, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    char text[16];
    EXPECT_EQ(GetWindowTextA(peer.hwnd, text, sizeof text), 0);
}

TEST(RemoteWindowTest, ATerminatedPeersWindowIsNoLongerFound)
{
    Peer peer("Killed Peer");
    ASSERT_NE(peer.hwnd, nullptr);
    ASSERT_TRUE(TerminateProcess(peer.process.pi.hProcess, 4));
    ASSERT_EQ(WaitForSingleObject(peer.process.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsWindow(peer.hwnd));
    EXPECT_EQ(FindWindowA(nullptr, peer.title.c_str()), nullptr);
    EXPECT_FALSE(InZOrderWalk(peer.process.pi.dwThreadId));
    EXPECT_FALSE(ShowWindow(peer.hwnd, SW_RESTORE));
    EXPECT_FALSE(SetForegroundWindow(peer.hwnd));
}

TEST(RemoteWindowTest, APeerThatDiesWhileAnsweringLetsTheSenderGo)
{
    Peer peer("Dying Peer");
    ASSERT_NE(peer.hwnd, nullptr);
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer.hwnd, Message("VL:Peer:Die"), 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    ASSERT_EQ(WaitForSingleObject(peer.process.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(peer.process.pi.hProcess), 9u);
}

TEST(RemoteWindowTest, MinimisedPeerIsRestoredAndBroughtToTheForeground)
{
    HWND mine = LocalWindow("Local Window");
    ASSERT_NE(mine, nullptr);
    Peer peer("Minimised Peer", 0, SW_SHOWMINNOACTIVE);
    ASSERT_NE(peer.hwnd, nullptr);
    ASSERT_TRUE(Eventually([&] { return IsIconic(peer.hwnd) != FALSE; })) << "the start-up show command reached the peer";
    UINT events = Message("VL:Peer:Events");
    LRESULT before = SendMessageA(peer.hwnd, events, 0, 0);
    EXPECT_EQ(before & 1, 0);

    // What a second instance does to the first.
    EXPECT_EQ(GetLastActivePopup(peer.hwnd), peer.hwnd);
    EXPECT_TRUE(ShowWindow(peer.hwnd, SW_RESTORE)) << "it was visible";
    EXPECT_FALSE(IsIconic(peer.hwnd));
    EXPECT_TRUE(SetForegroundWindow(peer.hwnd));
    LRESULT after = SendMessageA(peer.hwnd, events, 0, 0);
    EXPECT_EQ(after & 1, 1) << "restored";
    EXPECT_GT(after >> 8, before >> 8) << "activated";

    // The peer's process was activated last: its window leads the z-order of all windows.
    EXPECT_EQ(GetTopWindow(nullptr), peer.hwnd);
    HWND found = nullptr;
    EXPECT_TRUE(InZOrderWalk(peer.process.pi.dwThreadId, &found));
    EXPECT_EQ(found, peer.hwnd);
    bool mineFollows = false;
    for (HWND h = GetWindow(peer.hwnd, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        mineFollows = mineFollows || h == mine;
    EXPECT_TRUE(mineFollows);
    EXPECT_EQ(GetWindow(mine, GW_HWNDFIRST), peer.hwnd);

    // Activating a window of this process puts this process on top again.
    EXPECT_TRUE(SetForegroundWindow(mine));
    EXPECT_EQ(GetTopWindow(nullptr), mine);
    EXPECT_NE(GetWindow(peer.hwnd, GW_HWNDPREV), nullptr);

    ShowWindow(peer.hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(peer.hwnd));
    ShowWindow(peer.hwnd, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(peer.hwnd));
    ShowWindow(peer.hwnd, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(peer.hwnd));
    EXPECT_FALSE(IsIconic(peer.hwnd));
    EXPECT_TRUE(BringWindowToTop(peer.hwnd));
    DestroyWindow(mine);
}

TEST(RemoteWindowTest, EveryWindowOfThePeerIsEnumeratedAndItsPopupIsTheLastActive)
{
    Peer peer("Popup Peer", 0, -1, true);
    ASSERT_NE(peer.hwnd, nullptr);
    HWND popup = FindWindowA(nullptr, (peer.title + " Popup").c_str());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetLastActivePopup(peer.hwnd), popup);
    EXPECT_EQ(GetParent(popup), peer.hwnd) << "a popup's parent is its owner";
    EXPECT_EQ(GetWindow(popup, GW_OWNER), peer.hwnd);

    struct Seen {
        DWORD threadId;
        std::vector<HWND> windows;
    } seen{peer.process.pi.dwThreadId, {}};
    EXPECT_TRUE(EnumWindows(
        [](HWND h, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Seen*>(lParam);
            if (GetWindowThreadProcessId(h, nullptr) == s->threadId)
                s->windows.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen)));
    ASSERT_EQ(seen.windows.size(), 2u);
    EXPECT_EQ(seen.windows[0], popup) << "the active popup is above its owner";
    EXPECT_EQ(seen.windows[1], peer.hwnd);

    std::vector<HWND> ofThread;
    EXPECT_TRUE(EnumThreadWindows(
        peer.process.pi.dwThreadId,
        [](HWND h, LPARAM lParam) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ofThread)));
    EXPECT_EQ(ofThread, seen.windows);
}

TEST(RemoteWindowTest, ProcessesOfAnotherNamespaceAreNotSeen)
{
    TempDir dir;
    std::string title = Unique("Other Namespace Peer");
    std::string block;
    for (const std::string& entry :
         {"VL_SYNC_NAMESPACE=vl-test-other-" + std::to_string(GetCurrentProcessId()),
          "VL_PEER_REPORT=" + (dir.path() / "report.txt").string(), std::string("PATH=/usr/bin:/bin")})
        block += entry + '\0';
    block += '\0';
    Started other;
    Start(other, "\"" + PeerStem() + "\" window \"" + title + "\" 0", nullptr, nullptr, block.data());
    ASSERT_TRUE(other.ok) << other.error;
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(dir.path() / "report.txt"); }))
        << "the peer's window is up in its own namespace";
    EXPECT_EQ(FindWindowA(nullptr, title.c_str()), nullptr);
    EXPECT_FALSE(InZOrderWalk(other.pi.dwThreadId));
    TerminateProcess(other.pi.hProcess, 0);
    WaitForSingleObject(other.pi.hProcess, 20000);
    shm_unlink(("/vl-test-other-" + std::to_string(GetCurrentProcessId())).c_str());
    shm_unlink(("/vl-test-other-" + std::to_string(GetCurrentProcessId()) + ".windows").c_str());
}

TEST(RemoteWindowTest, WinExecShowsTheProgramTheWayAsked)
{
    std::string title = Unique("WinExec Peer");
    std::string commandLine = "\"" + PeerStem() + "\" window \"" + title + "\" 0";
    EXPECT_GT(WinExec(commandLine.c_str(), SW_SHOWMINNOACTIVE), 31u);
    HWND hwnd = nullptr;
    ASSERT_TRUE(Eventually([&] {
        hwnd = FindWindowA(nullptr, title.c_str());
        return hwnd && IsIconic(hwnd);
    }));
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    EXPECT_TRUE(PostMessageA(hwnd, WM_CLOSE, 0, 0));
    EXPECT_TRUE(Eventually([&] { return !IsWindow(hwnd); }));
    EXPECT_EQ(WinExec("vl-no-such-program-anywhere", SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
}

}  // namespace

TEST(RemoteWindowTest, CopyDataRetitlingAndInputIdleAcrossProcesses)
{
    Peer peer("CopyData Peer");
    ASSERT_NE(peer.hwnd, nullptr);
    EXPECT_EQ(WaitForInputIdle(peer.process.pi.hProcess, 5000), 0u);

    // The block arrives whole in the other process: the peer answers its sum.
    std::string block(5000, '\0');
    LRESULT sum = 7 + 3 * 1000000;
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>(i % 251);
        sum += static_cast<unsigned char>(block[i]);
    }
    COPYDATASTRUCT record{7, static_cast<DWORD>(block.size()), block.data()};
    EXPECT_EQ(SendMessageA(peer.hwnd, WM_COPYDATA, 3, reinterpret_cast<LPARAM>(&record)), sum);
    COPYDATASTRUCT empty{11, 0, nullptr};
    DWORD_PTR result = 0;
    EXPECT_EQ(SendMessageTimeoutA(peer.hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty), SMTO_NORMAL, 5000,
                                  &result),
              1);
    EXPECT_EQ(result, 11u);
    // A block too large to carry, or a record without its block, is refused.
    std::string huge(512 * 1024, 'x');
    COPYDATASTRUCT tooLarge{1, static_cast<DWORD>(huge.size()), huge.data()};
    SetLastError(0);
    EXPECT_EQ(SendMessageA(peer.hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&tooLarge)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    COPYDATASTRUCT missing{1, 10, nullptr};
    EXPECT_EQ(SendMessageA(peer.hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&missing)), 0);

    // Another process's window takes a new title from here.
    EXPECT_TRUE(SetWindowTextA(peer.hwnd, "Retitled from afar"));
    EXPECT_TRUE(Eventually([&] {
        char title[64] = {};
        GetWindowTextA(peer.hwnd, title, sizeof title);
        return std::string(title) == "Retitled from afar";
    }));

    // A process that never waits for input is never idle; a handle that is not a process's fails.
    Started sleeper;
    Start(sleeper, "\"" + PeerStem() + "\" waitreport \"" + Unique("never") + "\"");
    ASSERT_TRUE(sleeper.ok);
    EXPECT_EQ(WaitForInputIdle(sleeper.pi.hProcess, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForInputIdle(event, 0), WAIT_FAILED);
    CloseHandle(event);
}
