// Threads: ids shared with the window system, thread handles that signal at the end, exit
// codes, suspended starts and the pseudo-handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct Shared {
    HANDLE go = nullptr;        // the thread waits for it
    std::atomic<DWORD> seenId{0};
    std::atomic<bool> ran{false};
    std::atomic<bool> unwound{false};
};

DWORD WINAPI WaitThenReturn(LPVOID p)
{
    auto* shared = static_cast<Shared*>(p);
    shared->seenId = GetCurrentThreadId();
    shared->ran = true;
    if (shared->go)
        WaitForSingleObject(shared->go, INFINITE);
    return 42;
}

struct Marks {
    Shared* shared;
    ~Marks() { shared->unwound = true; }
};

void Deep(Shared* shared)
{
    Marks marks{shared};
    ExitThread(7);
}

DWORD WINAPI Exits(LPVOID p)
{
    Deep(static_cast<Shared*>(p));
    return 1;
}

}  // namespace

TEST(Threads, IdsAndPseudoHandles)
{
    EXPECT_NE(GetCurrentThreadId(), 0u);
    EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
    EXPECT_NE(GetCurrentProcessId(), 0u);
    EXPECT_EQ(GetCurrentProcess(), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)));
    EXPECT_EQ(GetCurrentThread(), reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(GetCurrentThread(), &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(GetThreadId(GetCurrentThread()), GetCurrentThreadId());
}

TEST(Threads, ARunningThreadThenItsEnd)
{
    Shared shared;
    shared.go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, &shared, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(GetThreadId(thread), id);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));

    // A second handle (DuplicateHandle in this process) waits for the same end.
    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    SetEvent(shared.go);
    EXPECT_EQ(WaitForSingleObject(copy, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "stays signalled";
    EXPECT_EQ(shared.seenId.load(), id);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_TRUE(CloseHandle(copy));
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(shared.go);
}

TEST(Threads, ExitThreadUnwindsAndSetsTheCode)
{
    Shared a, b;
    HANDLE threads[2] = {CreateThread(nullptr, 0, Exits, &a, 0, nullptr),
                         CreateThread(nullptr, 0, WaitThenReturn, &b, 0, nullptr)};
    ASSERT_NE(threads[0], nullptr);
    ASSERT_NE(threads[1], nullptr);
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(threads[0], &code));
    EXPECT_EQ(code, 7u);
    EXPECT_TRUE(a.unwound) << "destructors on the thread's stack ran";
    EXPECT_TRUE(GetExitCodeThread(threads[1], &code));
    EXPECT_EQ(code, 42u);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
}

TEST(Threads, SuspendedThreadsStartAtResume)
{
    Shared shared;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, &shared, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u) << "the id is known before the thread runs";
    EXPECT_EQ(WaitForSingleObject(thread, 30), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(shared.ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(shared.ran);
    EXPECT_EQ(ResumeThread(thread), 0u);
    CloseHandle(thread);
}

TEST(Threads, BadArgumentsAndHandles)
{
    SetLastError(0);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(event, &code)) << "an event is not a thread";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    EXPECT_EQ(GetThreadId(event), 0u);
    CloseHandle(event);
}

#if __has_include(<winuser.h>)

namespace {

struct QueueThread {
    HANDLE ready = nullptr;
    std::atomic<DWORD> windowThread{0};
    std::atomic<DWORD> windowProcess{0};
    std::atomic<UINT> received{0};
};

DWORD WINAPI RunQueue(LPVOID p)
{
    auto* q = static_cast<QueueThread*>(p);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "VlThreadTestWindow";
    RegisterClassA(&wc);  // the class may be there from an earlier run of the test
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DWORD process = 0;
    q->windowThread = GetWindowThreadProcessId(window, &process);
    q->windowProcess = process;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    SetEvent(q->ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        q->received = msg.message;
    DestroyWindow(window);
    return static_cast<DWORD>(msg.wParam);
}

}  // namespace

TEST(Threads, TheWindowSystemKnowsThreadsByTheSameIds)
{
    QueueThread q;
    q.ready = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunQueue, &q, 0, &id);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(q.ready, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(q.windowThread.load(), id);
    EXPECT_EQ(q.windowProcess.load(), GetCurrentProcessId());
    EXPECT_TRUE(PostThreadMessageA(id, WM_USER + 3, 0, 0));
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 9, 0));
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(q.received.load(), static_cast<UINT>(WM_USER + 3));
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 9u);
    CloseHandle(thread);
    CloseHandle(q.ready);
}

#endif
