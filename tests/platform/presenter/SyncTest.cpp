// Events, mutexes, semaphores and waits, within a process and across processes.
#include <windows.h>

#include <host/Clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Each test process (and the helpers it starts) gets a namespace of its own, removed at exit.
struct OwnNamespace {
    std::string name = "vl-sync-test-" + std::to_string(getpid());
    OwnNamespace() { setenv("VL_SYNC_NAMESPACE", name.c_str(), 1); }
    ~OwnNamespace() { shm_unlink(("/" + name).c_str()); }
} ownNamespace;

std::string Unique(const char* what)
{
    static int serial = 0;
    return std::string(what) + "-" + std::to_string(++serial);
}

pid_t StartHelper(std::vector<std::string> args)
{
    args.insert(args.begin(), VL_SYNC_HELPER);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, VL_SYNC_HELPER, nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int RunHelper(std::vector<std::string> args)
{
    return ExitCode(StartHelper(std::move(args)));
}

// Waits in another thread; the result shows once the wait ends.
struct BackgroundWait {
    std::atomic<DWORD> result{0xDEAD};
    std::thread thread;
    BackgroundWait(HANDLE h, DWORD ms)
        : thread([this, h, ms] { result = WaitForSingleObject(h, ms); })
    {
    }
    ~BackgroundWait() { thread.join(); }
    bool Finished(int withinMs = 0)
    {
        for (int i = 0; i <= withinMs / 5; ++i) {
            if (result != 0xDEAD)
                return true;
            if (withinMs)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return result != 0xDEAD;
    }
};

TEST(SyncEventTest, ManualStaysSignalledAutoResetsAfterOneWait)
{
    struct Case {
        BOOL manual;
        DWORD secondWait;
    } cases[] = {{TRUE, WAIT_OBJECT_0}, {FALSE, WAIT_TIMEOUT}};
    for (const Case& c : cases) {
        HANDLE e = CreateEvent(nullptr, c.manual, FALSE, nullptr);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
        EXPECT_TRUE(SetEvent(e));
        EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(e, 0), c.secondWait) << "manual " << c.manual;
        EXPECT_TRUE(SetEvent(e));
        EXPECT_TRUE(ResetEvent(e));
        EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
        EXPECT_TRUE(CloseHandle(e));
    }
}

TEST(SyncEventTest, SetFromAnotherThreadReleasesABlockedWait)
{
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    {
        BackgroundWait waiter(e, INFINITE);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(waiter.Finished());
        SetEvent(e);
        EXPECT_TRUE(waiter.Finished(5000));
        EXPECT_EQ(waiter.result, WAIT_OBJECT_0);
    }
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT); // the waiter took the signal
    CloseHandle(e);
}

TEST(SyncEventTest, PulseReleasesTheCurrentWaitersAndLeavesTheEventReset)
{
    HANDLE manual = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE automatic = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    EXPECT_TRUE(PulseEvent(manual)); // nobody waits: nothing happens
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    {
        BackgroundWait m1(manual, 5000), m2(manual, 5000), a1(automatic, 1500), a2(automatic, 1500);
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // all four are waiting
        PulseEvent(manual);
        PulseEvent(automatic);
        EXPECT_TRUE(m1.Finished(5000) && m2.Finished(5000));
        EXPECT_EQ(m1.result, WAIT_OBJECT_0);
        EXPECT_EQ(m2.result, WAIT_OBJECT_0);
        EXPECT_TRUE(a1.Finished(5000) && a2.Finished(5000));
        EXPECT_EQ((a1.result == WAIT_OBJECT_0) + (a2.result == WAIT_OBJECT_0), 1);
        EXPECT_EQ((a1.result == WAIT_TIMEOUT) + (a2.result == WAIT_TIMEOUT), 1);
    }
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);
    CloseHandle(manual);
    CloseHandle(automatic);
}

TEST(SyncNameTest, NamesOpenTheSameObjectAndKeepKindsApart)
{
    std::string name = Unique("Menu:Buttons");
    HANDLE a = CreateEvent(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE b = CreateEvent(nullptr, FALSE, TRUE, name.c_str()); // arguments ignored
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0); // still manual-reset
    HANDLE global = OpenEvent(SYNCHRONIZE, FALSE, ("Global\\" + name).c_str());
    EXPECT_NE(global, nullptr);
    CloseHandle(global);

    SetLastError(0);
    EXPECT_EQ(CreateMutex(nullptr, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(OpenSemaphore(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, (name + "x").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, name.substr(0, name.size() - 1).c_str()), nullptr);
    EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, std::string(MAX_PATH + 1, 'n').c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);

    CloseHandle(a);
    EXPECT_NE(WaitForSingleObject(b, 0), WAIT_FAILED); // the other handle keeps it
    CloseHandle(b);
    EXPECT_EQ(OpenEvent(SYNCHRONIZE, FALSE, name.c_str()), nullptr); // gone with the last handle
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    HANDLE again = CreateEvent(nullptr, TRUE, FALSE, name.c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(again);
}

TEST(SyncMutexTest, OwnedRecursivelyByOneThread)
{
    HANDLE m = CreateMutex(nullptr, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0); // depth 2
    {
        BackgroundWait other(m, 0);
        EXPECT_TRUE(other.Finished(5000));
        EXPECT_EQ(other.result, WAIT_TIMEOUT);
    }
    std::thread([m] {
        EXPECT_FALSE(ReleaseMutex(m));
        EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    }).join();
    EXPECT_TRUE(ReleaseMutex(m));
    {
        BackgroundWait other(m, 0);
        EXPECT_TRUE(other.Finished(5000));
        EXPECT_EQ(other.result, WAIT_TIMEOUT); // still held once
    }
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(ReleaseMutex(m));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    {
        BackgroundWait waiter(m, 5000);
        EXPECT_TRUE(waiter.Finished(5000));
        EXPECT_EQ(waiter.result, WAIT_OBJECT_0); // its thread ended holding it ...
    }
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_ABANDONED); // ... so the next owner hears so
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

TEST(SyncMutexTest, OnlyTheCreatorOfANewMutexOwnsItInitially)
{
    std::string name = Unique("Instance");
    HANDLE first = CreateMutex(nullptr, TRUE, name.c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    std::thread([&] {
        HANDLE second = CreateMutex(nullptr, TRUE, name.c_str());
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
        EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT); // not given to this thread
        EXPECT_FALSE(ReleaseMutex(second));
        CloseHandle(second);
    }).join();
    EXPECT_TRUE(ReleaseMutex(first));
    CloseHandle(first);
}

TEST(SyncSemaphoreTest, CountsBetweenZeroAndTheMaximum)
{
    HANDLE s = CreateSemaphore(nullptr, 1, 3, nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(s, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(s, 2, &previous));
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
    EXPECT_TRUE(ReleaseSemaphore(s, 1, &previous));
    EXPECT_EQ(previous, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
    CloseHandle(s);
    for (auto [initial, maximum] : {std::pair{2, 1}, {-1, 1}, {0, 0}}) {
        EXPECT_EQ(CreateSemaphore(nullptr, initial, maximum, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
}

TEST(SyncWaitTest, WaitForAnyTakesTheLowestSignalledOnly)
{
    HANDLE e[3] = {CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, FALSE, TRUE, nullptr),
                   CreateEvent(nullptr, FALSE, TRUE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_TIMEOUT);
    for (HANDLE h : e)
        CloseHandle(h);
}

TEST(SyncWaitTest, WaitForAllTakesEverythingAtOnceOrNothing)
{
    HANDLE e = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    HANDLE s = CreateSemaphore(nullptr, 0, 5, nullptr);
    HANDLE both[2] = {e, s};
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0); // the event was not taken
    SetEvent(e);
    {
        std::atomic<DWORD> result{0xDEAD};
        std::thread waiter([&] { result = WaitForMultipleObjects(2, both, TRUE, 5000); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(result, 0xDEADu);
        ReleaseSemaphore(s, 1, nullptr);
        waiter.join();
        EXPECT_EQ(result, WAIT_OBJECT_0);
    }
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
    HANDLE twice[2] = {e, e};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(e);
    CloseHandle(s);
}

TEST(SyncWaitTest, BadArgumentsFail)
{
    HANDLE e = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, e);
    EXPECT_EQ(WaitForMultipleObjects(0, many.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, many.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0), WAIT_OBJECT_0);
    CloseHandle(e);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED); // closed
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE m = CreateMutex(nullptr, FALSE, nullptr);
    EXPECT_FALSE(SetEvent(m));
    EXPECT_FALSE(ReleaseSemaphore(m, 1, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(m);
}

TEST(SyncWaitTest, TimeoutsCountRealTimeWhileTheTestClockStandsStill)
{
    host::UseTestClock(0, 1000);
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(e, 60), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
    EXPECT_EQ(host::ClockMilliseconds(), 1000u);
    CloseHandle(e);
    host::UseRealClock();
}

TEST(SyncProcessTest, ManualResetEventReleasesWaitersInOtherProcesses)
{
    std::string name = Unique("VLMainMenu:ButtonsExtant");
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(RunHelper({"wait-event", name, "0"}), 1);
    pid_t a = StartHelper({"wait-event", name, "20000"});
    pid_t b = StartHelper({"wait-event", name, "20000"});
    SetEvent(e);
    EXPECT_EQ(ExitCode(a), 0);
    EXPECT_EQ(ExitCode(b), 0);
    EXPECT_EQ(RunHelper({"wait-event", name, "0"}), 0); // stays set
    ResetEvent(e);
    EXPECT_EQ(RunHelper({"wait-event", name, "0"}), 1);
    EXPECT_EQ(RunHelper({"set-event", name}), 0); // another process sets it for us
    EXPECT_EQ(WaitForSingleObject(e, 5000), WAIT_OBJECT_0);
    CloseHandle(e);
}

TEST(SyncProcessTest, AutoResetEventReleasesOneWaiterPerSet)
{
    std::string name = Unique("VLMainMenu:ButtonsExtinct");
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, name.c_str());
    pid_t waiters[2] = {StartHelper({"wait-event", name, "20000"}), StartHelper({"wait-event", name, "20000"})};
    SetEvent(e);
    int status = 0;
    pid_t first = waitpid(-1, &status, 0);
    ASSERT_TRUE(first == waiters[0] || first == waiters[1]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    pid_t second = first == waiters[0] ? waiters[1] : waiters[0];
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(waitpid(second, &status, WNOHANG), 0) << "one set released two waiters";
    SetEvent(e);
    EXPECT_EQ(ExitCode(second), 0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST(SyncProcessTest, NamesOutliveNoProcessAndMutexesOfEndedProcessesAreAbandoned)
{
    std::string name = Unique("Single");
    EXPECT_EQ(RunHelper({"create-event", name}), 0);
    // The helper ended without closing its handle: the name went with it.
    EXPECT_EQ(RunHelper({"create-event", name}), 0);
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, name.c_str());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(RunHelper({"create-event", name}), 3);
    CloseHandle(e);

    std::string mutexName = Unique("Lock");
    HANDLE m = CreateMutex(nullptr, FALSE, mutexName.c_str());
    EXPECT_EQ(RunHelper({"hold-mutex", mutexName}), 0);
    EXPECT_EQ(WaitForSingleObject(m, 5000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

} // namespace
