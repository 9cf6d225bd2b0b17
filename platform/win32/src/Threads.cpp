// Threads: ids, pseudo-handles, and threads whose handles are waitable objects that become
// signalled when the thread ends.
#include "ProcessInternal.h"
#include "SyncObject.h"

#include <processthreadsapi.h>
#include <errhandlingapi.h>
#include <winerror.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

host::sync::State Unsignalled()
{
    host::sync::State s{};
    s.kind = host::sync::Kind::Event;
    s.manualReset = 1;
    return s;
}

// A thread made by CreateThread: a manual-reset event set when the thread ends.
class ThreadObject : public host::sync::SyncObject {
public:
    ThreadObject() : SyncObject(Unsignalled()) {}

    std::atomic<DWORD> exitCode{STILL_ACTIVE};
    std::atomic<DWORD> id{0};

    // Start-up handshake: the thread publishes its id, then waits until it is not suspended.
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    DWORD suspendCount = 0;
};

// The object of the calling thread when CreateThread made it.
thread_local ThreadObject* t_self = nullptr;

// Records the exit code and signals the thread's handle however the thread ends (return,
// ExitThread's unwinding, or an exception leaving the thread function).
struct EndOfThread {
    std::shared_ptr<ThreadObject> thread;
    ~EndOfThread()
    {
        DWORD expected = STILL_ACTIVE;
        thread->exitCode.compare_exchange_strong(expected, 0);
        t_self = nullptr;
        host::sync::SignalSyncObject(*thread);
    }
};

// Unwinds the thread's stack to its start on ExitThread (so a catch (...) on the way that does
// not rethrow keeps the thread running).
struct ThreadExit {
    DWORD code;
};

void RunThread(std::shared_ptr<ThreadObject> thread, LPTHREAD_START_ROUTINE start, LPVOID parameter)
{
    EndOfThread end{thread};
    t_self = thread.get();
    {
        std::unique_lock<std::mutex> guard(thread->lock);
        thread->id = GetCurrentThreadId();
        thread->started = true;
        thread->changed.notify_all();
        thread->changed.wait(guard, [&] { return thread->suspendCount == 0; });
    }
    try {
        thread->exitCode = start(parameter);
    } catch (const ThreadExit& exit) {
        thread->exitCode = exit.code;
    }
}

std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle)
{
    auto thread = host::FindKernelObject<ThreadObject>(handle);
    if (!thread)
        SetLastError(ERROR_INVALID_HANDLE);
    return thread;
}

}  // namespace

DWORD WINAPI GetCurrentThreadId(void)
{
    static thread_local const DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

namespace {
// The process id, asked of the host once: the window system asks for it with every message it
// routes. A forked child forgets it and asks again.
std::atomic<pid_t> g_processId{0};

void ForgetProcessId()
{
    g_processId.store(0, std::memory_order_relaxed);
}
}  // namespace

DWORD WINAPI GetCurrentProcessId(void)
{
    pid_t id = g_processId.load(std::memory_order_relaxed);
    if (id == 0) {
        static const bool watched = pthread_atfork(nullptr, nullptr, ForgetProcessId) == 0;
        (void)watched;
        id = getpid();
        g_processId.store(id, std::memory_order_relaxed);
    }
    return static_cast<DWORD>(id);
}

HANDLE WINAPI GetCurrentProcess(void)
{
    return kCurrentProcess;
}

HANDLE WINAPI GetCurrentThread(void)
{
    return kCurrentThread;
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                           DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    if (lpStartAddress == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_shared<ThreadObject>();
    thread->suspendCount = (dwCreationFlags & CREATE_SUSPENDED) ? 1 : 0;
    HANDLE handle = host::AddKernelObject(thread);
    if (handle == nullptr)
        return nullptr;
    try {
        std::thread(RunThread, thread, lpStartAddress, lpParameter).detach();
    } catch (const std::system_error&) {
        host::CloseKernelHandle(handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::unique_lock<std::mutex> guard(thread->lock);
    thread->changed.wait(guard, [&] { return thread->started; });
    if (lpThreadId)
        *lpThreadId = thread->id;
    return handle;
}

void WINAPI ExitThread(DWORD dwExitCode)
{
    if (t_self != nullptr)
        throw ThreadExit{dwExitCode};
    // A thread the platform did not start has no handle to report to.
    pthread_exit(nullptr);
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    if (lpExitCode == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hThread == kCurrentThread) {
        *lpExitCode = STILL_ACTIVE;
        return TRUE;
    }
    if (DWORD id; host::process::MainThreadOf(hThread, id, *lpExitCode))
        return TRUE;
    auto thread = ThreadOf(hThread);
    if (!thread)
        return FALSE;
    *lpExitCode = thread->exitCode;
    return TRUE;
}

DWORD WINAPI ResumeThread(HANDLE hThread)
{
    if (DWORD id, exitCode; host::process::MainThreadOf(hThread, id, exitCode))
        return 0;  // a started process's main thread runs from the start
    auto thread = hThread == kCurrentThread ? nullptr : ThreadOf(hThread);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<DWORD>(-1);
    }
    std::lock_guard<std::mutex> guard(thread->lock);
    DWORD previous = thread->suspendCount;
    if (previous > 0 && --thread->suspendCount == 0)
        thread->changed.notify_all();
    return previous;
}

DWORD WINAPI GetThreadId(HANDLE Thread)
{
    if (Thread == kCurrentThread)
        return GetCurrentThreadId();
    if (DWORD id, exitCode; host::process::MainThreadOf(Thread, id, exitCode))
        return id;
    auto thread = ThreadOf(Thread);
    return thread ? thread->id.load() : 0;
}
