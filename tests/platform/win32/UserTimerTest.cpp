// Window timers and multimedia timers driven by the stepped test clock.
#include <windows.h>

#include <mmtimer.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace spy;

namespace {

class UserTimerTest : public ui::UiTest {
protected:
    MessageSpy spy;
    HWND w = nullptr;

    void SetUp() override
    {
        UiTest::SetUp();
        w = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }

    size_t Timers(UINT_PTR id)
    {
        size_t n = 0;
        for (const Recorded& r : spy.Messages(w))
            n += r.message == WM_TIMER && r.wParam == id;
        return n;
    }
};

TEST_F(UserTimerTest, SteppingTheClockDeliversExactlyTheDueTimers)
{
    ASSERT_EQ(SetTimer(w, 1, 100, nullptr), 1u);
    ASSERT_EQ(SetTimer(w, 2, 250, nullptr), 2u);
    ui::AdvanceClock(99);
    EXPECT_EQ(Timers(1), 0u);
    ui::AdvanceClock(1);
    EXPECT_EQ(Timers(1), 1u);
    ui::AdvanceClock(400);
    EXPECT_EQ(Timers(1), 5u);
    EXPECT_EQ(Timers(2), 2u);
    for (const Recorded& r : spy.Messages(w))
        EXPECT_TRUE(r.message != WM_TIMER || r.posted);
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
    ui::AdvanceClock(1000);
    EXPECT_EQ(Timers(1), 5u);
    EXPECT_EQ(Timers(2), 6u);
}

TEST_F(UserTimerTest, MissedPeriodsCoalesceIntoOneMessage)
{
    SetTimer(w, 1, 100, nullptr);
    host::StepClock(1000);
    ui::PumpUntilIdle();
    EXPECT_EQ(Timers(1), 1u);
    host::StepClock(99);
    ui::PumpUntilIdle();
    EXPECT_EQ(Timers(1), 1u);
    host::StepClock(1);
    ui::PumpUntilIdle();
    EXPECT_EQ(Timers(1), 2u);
}

TEST_F(UserTimerTest, ResettingATimerRestartsItsPeriodAndDestroyKillsIt)
{
    SetTimer(w, 1, 100, nullptr);
    ui::AdvanceClock(80);
    SetTimer(w, 1, 100, nullptr);
    ui::AdvanceClock(80);
    EXPECT_EQ(Timers(1), 0u);
    ui::AdvanceClock(20);
    EXPECT_EQ(Timers(1), 1u);
    DestroyWindow(w);
    EXPECT_EQ(host::NextTimerDue(), UINT64_MAX);
}

std::vector<std::pair<UINT_PTR, DWORD>> g_procCalls;

void CALLBACK OnTimer(HWND hwnd, UINT msg, UINT_PTR id, DWORD time)
{
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
    g_procCalls.emplace_back(id, time);
}

TEST_F(UserTimerTest, TimerProceduresWithoutWindowGetFreshIds)
{
    g_procCalls.clear();
    UINT_PTR a = SetTimer(nullptr, 0, 50, OnTimer);
    UINT_PTR b = SetTimer(nullptr, 0, 70, OnTimer);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    std::uint64_t start = host::ClockMilliseconds();
    ui::AdvanceClock(150);
    ASSERT_EQ(g_procCalls.size(), 5u);
    EXPECT_EQ(g_procCalls[0], (std::pair<UINT_PTR, DWORD>{a, static_cast<DWORD>(start + 50)}));
    EXPECT_EQ(g_procCalls[1], (std::pair<UINT_PTR, DWORD>{b, static_cast<DWORD>(start + 70)}));
    EXPECT_EQ(g_procCalls[2].first, a);
    EXPECT_EQ(g_procCalls[3].first, b);
    EXPECT_EQ(g_procCalls[4].first, a);
    KillTimer(nullptr, a);
    KillTimer(nullptr, b);
    // A timer procedure passed in a forged WM_TIMER is not called.
    MSG forged{};
    forged.message = WM_TIMER;
    forged.wParam = a;
    forged.lParam = reinterpret_cast<LPARAM>(OnTimer);
    DispatchMessageA(&forged);
    EXPECT_EQ(g_procCalls.size(), 5u);
}

struct MmLog {
    std::mutex lock;
    std::vector<std::pair<UINT, std::uint64_t>> calls;
    std::thread::id thread;
};

void CALLBACK OnMmTimer(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
    auto* log = reinterpret_cast<MmLog*>(user);
    std::lock_guard<std::mutex> g(log->lock);
    log->calls.emplace_back(id, host::ClockMilliseconds());
    log->thread = std::this_thread::get_id();
}

TEST_F(UserTimerTest, MultimediaTimersFireOnTheTimerThreadWhenDue)
{
    TIMECAPS caps{};
    ASSERT_EQ(timeGetDevCaps(&caps, sizeof caps), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(caps.wPeriodMin, 1u);
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
    MmLog log;
    std::uint64_t start = host::ClockMilliseconds();
    UINT periodic = timeSetEvent(40, 1, OnMmTimer, reinterpret_cast<DWORD_PTR>(&log), TIME_PERIODIC);
    UINT once = timeSetEvent(30, 1, OnMmTimer, reinterpret_cast<DWORD_PTR>(&log), TIME_ONESHOT);
    ASSERT_NE(periodic, 0u);
    ASSERT_NE(once, 0u);
    ui::AdvanceClock(100);
    {
        std::lock_guard<std::mutex> g(log.lock);
        ASSERT_EQ(log.calls.size(), 3u);
        EXPECT_EQ(log.calls[0], (std::pair<UINT, std::uint64_t>{once, start + 30}));
        EXPECT_EQ(log.calls[1], (std::pair<UINT, std::uint64_t>{periodic, start + 40}));
        EXPECT_EQ(log.calls[2], (std::pair<UINT, std::uint64_t>{periodic, start + 80}));
        EXPECT_NE(log.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(timeKillEvent(once), static_cast<MMRESULT>(TIMERR_NOCANDO)) << "one-shot timers end by themselves";
    EXPECT_EQ(timeKillEvent(periodic), static_cast<MMRESULT>(TIMERR_NOERROR));
    ui::AdvanceClock(200);
    {
        std::lock_guard<std::mutex> g(log.lock);
        EXPECT_EQ(log.calls.size(), 3u);
    }
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
    EXPECT_EQ(timeSetEvent(0, 1, OnMmTimer, 0, TIME_ONESHOT), 0u);
}

}  // namespace

namespace {

DWORD WINAPI WaitForEvent(LPVOID event)
{
    return WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
}

}  // namespace

TEST_F(UserTimerTest, MultimediaTimersSetOrPulseEvents)
{
    // An auto-reset event set by a periodic timer: once per due time, however often it is due
    // before somebody looks.
    HANDLE set = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    UINT setter = timeSetEvent(10, 1, reinterpret_cast<LPTIMECALLBACK>(set), 0, TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
    ASSERT_NE(setter, 0u);
    ui::AdvanceClock(9);
    EXPECT_EQ(WaitForSingleObject(set, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ui::AdvanceClock(1);
    EXPECT_EQ(WaitForSingleObject(set, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(set, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "auto-reset";
    ui::AdvanceClock(35);
    EXPECT_EQ(WaitForSingleObject(set, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(timeKillEvent(setter), static_cast<MMRESULT>(TIMERR_NOERROR));
    ui::AdvanceClock(50);
    EXPECT_EQ(WaitForSingleObject(set, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "killed";

    // A one-shot timer sets a manual-reset event for good.
    HANDLE once = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(timeSetEvent(20, 1, reinterpret_cast<LPTIMECALLBACK>(once), 0, TIME_ONESHOT | TIME_CALLBACK_EVENT_SET), 0u);
    ui::AdvanceClock(20);
    EXPECT_EQ(WaitForSingleObject(once, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(once, 0), static_cast<DWORD>(WAIT_OBJECT_0));

    // A pulse releases a thread that waits and leaves the event reset; with nobody waiting it
    // leaves no trace.
    HANDLE pulsed = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    UINT pulser = timeSetEvent(10, 1, reinterpret_cast<LPTIMECALLBACK>(pulsed), 0, TIME_PERIODIC | TIME_CALLBACK_EVENT_PULSE);
    ASSERT_NE(pulser, 0u);
    ui::AdvanceClock(30);
    EXPECT_EQ(WaitForSingleObject(pulsed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    HANDLE waiter = CreateThread(nullptr, 0, WaitForEvent, pulsed, 0, nullptr);
    ASSERT_NE(waiter, nullptr);
    // The waiter needs a moment to start waiting; every step of the clock pulses again.
    int steps = 0;
    while (WaitForSingleObject(waiter, 5) == WAIT_TIMEOUT && steps < 2000) {
        ui::AdvanceClock(10);
        ++steps;
    }
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(waiter, &code));
    EXPECT_EQ(code, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(pulsed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(timeKillEvent(pulser), static_cast<MMRESULT>(TIMERR_NOERROR));

    EXPECT_EQ(timeSetEvent(10, 1, reinterpret_cast<LPTIMECALLBACK>(set), 0,
                           TIME_CALLBACK_EVENT_SET | TIME_CALLBACK_EVENT_PULSE),
              0u);
    CloseHandle(waiter);
    CloseHandle(pulsed);
    CloseHandle(once);
    CloseHandle(set);
}
