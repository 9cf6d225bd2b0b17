// Keyboard focus on a real X server without a window manager (Xvfb): a program started a second
// time opens its own presenter window, which takes the keyboard, brings the running instance's
// window forward and ends. The running instance's presenter window must hold the keyboard then,
// or the reader's keys go nowhere until the focus is set again by hand.
#include <windows.h>

#include "PeerSupport.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// An X server of its own on a free display, ended with the test.
class VirtualDisplay {
public:
    ~VirtualDisplay()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    // Starts Xvfb (from the search path); false when there is none or it does not come up.
    bool Start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            return false;
        }
        // The server writes its display number once it accepts clients.
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return false;
        m_name = ":" + number;
        return true;
    }
    const std::string& Name() const { return m_name; }

private:
    pid_t m_pid = -1;
    std::string m_name;
};

// Sets an environment variable for the test's length (the peers inherit it).
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A window can go between two requests: X errors are not fatal here.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// The name of the top-level window that holds the keyboard; "(none)" when no window does.
std::string FocusedTitle(Display* display)
{
    Window window = None;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    while (window != None && window != PointerRoot) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name != nullptr) {
            std::string title = name;
            XFree(name);
            return title;
        }
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count))
            break;
        if (children != nullptr)
            XFree(children);
        if (parent == root)
            break;
        window = parent;
    }
    return "(none)";
}

TEST(PresenterFocusTest, ASecondStartLeavesTheKeyboardWithTheWindowItBroughtForward)
{
    VirtualDisplay x;
    if (!x.Start())
        GTEST_SKIP() << "no Xvfb to run a real X server on (scripts/install-deps installs it)";
    ScopedVariable display("DISPLAY", x.Name());
    ScopedVariable presenter("VL_PRESENTER", "sdl");
    ScopedVariable audio("SDL_AUDIODRIVER", "dummy");
    // The host's display libraries keep a few blocks until the process ends: the peers' exit codes
    // tell their own story only without the leak report.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    ScopedVariable leaks("ASAN_OPTIONS", std::string(sanitizer != nullptr ? sanitizer : "") + ":detect_leaks=0");
    XSetErrorHandler(IgnoreXError);
    Display* server = XOpenDisplay(x.Name().c_str());
    ASSERT_NE(nullptr, server) << x.Name();

    const std::string title = "Running Instance " + std::to_string(GetCurrentProcessId());
    Started first;
    Start(first, "\"" + PeerStem() + "\" window \"" + title + "\" 0");
    ASSERT_TRUE(first.ok);
    HWND running = nullptr;
    ASSERT_TRUE(Eventually([&] { return (running = FindWindowA("VLPeerWindow", title.c_str())) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return FocusedTitle(server) == title; })) << FocusedTitle(server);

    // The second start: its own window comes up (and takes the keyboard), it brings the running
    // window forward and ends, and its window goes.
    Started second;
    Start(second, "\"" + PeerStem() + "\" foreground \"" + title + "\"");
    ASSERT_TRUE(second.ok);
    ASSERT_TRUE(Eventually([&] { return WaitForSingleObject(second.pi.hProcess, 0) == WAIT_OBJECT_0; }, 20));
    EXPECT_EQ(0u, ExitCodeOf(second.pi.hProcess)) << "the running window was found and brought forward";

    EXPECT_TRUE(Eventually([&] { return FocusedTitle(server) == title; }, 5))
        << "the keyboard is with " << FocusedTitle(server);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(title, FocusedTitle(server)) << "and stays there";

    PostMessageA(running, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Eventually([&] { return WaitForSingleObject(first.pi.hProcess, 0) == WAIT_OBJECT_0; }, 20));
    XCloseDisplay(server);
}

}  // namespace
