// Window timers (WM_TIMER generated from the platform clock when a queue has nothing else) and
// multimedia timers (callbacks on a timer thread).
#include "UserInternal.h"

#include <mmtimer.h>

#include <host/Clock.h>
#include <host/UiScript.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace user {

namespace {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    DWORD threadId = 0;
    std::uint64_t due = 0;
};

std::vector<Timer>& Timers()
{
    static auto* v = new std::vector<Timer>;
    return *v;
}

UINT_PTR g_nextThreadTimer = 0x7FF0;

}  // namespace

bool TakeDueTimer(DWORD threadId, HWND filter, bool remove, MSG& msg)
{
    Guard g(Mutex());
    std::uint64_t now = host::ClockMilliseconds();
    Timer* best = nullptr;
    for (Timer& t : Timers())
        if (t.threadId == threadId && t.due <= now && FilterMatches(filter, t.hwnd) && (!best || t.due < best->due))
            best = &t;
    if (!best)
        return false;
    msg = MSG{};
    msg.hwnd = best->hwnd;
    msg.message = WM_TIMER;
    msg.wParam = best->id;
    msg.lParam = reinterpret_cast<LPARAM>(best->proc);
    msg.time = static_cast<DWORD>(now);
    msg.pt = CursorPosition();
    if (remove) {
        // Missed periods are not made up: one WM_TIMER, then the next period after now.
        std::uint64_t periods = (now - best->due) / best->elapse + 1;
        best->due += periods * best->elapse;
    }
    return true;
}

std::uint64_t NextTimerDue(DWORD threadId)
{
    Guard g(Mutex());
    std::uint64_t due = UINT64_MAX;
    for (Timer& t : Timers())
        if (t.threadId == threadId)
            due = std::min(due, t.due);
    return due;
}

void KillWindowTimers(HWND hwnd)
{
    Guard g(Mutex());
    auto& v = Timers();
    v.erase(std::remove_if(v.begin(), v.end(), [&](const Timer& t) { return t.hwnd == hwnd; }), v.end());
}

bool IsTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc)
{
    Guard g(Mutex());
    for (Timer& t : Timers())
        if (t.hwnd == hwnd && t.id == id && t.proc == proc && t.threadId == GetCurrentThreadId())
            return true;
    return false;
}

void KillThreadTimers(DWORD threadId)
{
    Guard g(Mutex());
    auto& v = Timers();
    v.erase(std::remove_if(v.begin(), v.end(), [&](const Timer& t) { return t.threadId == threadId; }), v.end());
}

}  // namespace user

using namespace user;

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    DWORD tid = GetCurrentThreadId();
    if (hwnd) {
        WindowPtr w = Lookup(hwnd);
        if (!w)
            return 0;
        if (w->threadId != tid) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    UINT_PTR result;
    {
        Guard g(Mutex());
        auto& v = Timers();
        auto it = v.end();
        if (hwnd || id)
            it = std::find_if(v.begin(), v.end(), [&](const Timer& t) {
                return t.hwnd == hwnd && t.id == id && t.threadId == tid;
            });
        if (it == v.end()) {
            Timer t;
            t.hwnd = hwnd;
            t.threadId = tid;
            if (hwnd) {
                t.id = id;
            } else {
                do {
                    g_nextThreadTimer = g_nextThreadTimer >= 0xFFFF ? 0x7FF0 : g_nextThreadTimer + 1;
                } while (std::any_of(v.begin(), v.end(), [&](const Timer& o) { return !o.hwnd && o.id == g_nextThreadTimer; }));
                t.id = g_nextThreadTimer;
            }
            v.push_back(t);
            it = v.end() - 1;
        }
        it->elapse = elapse;
        it->proc = proc;
        it->due = host::ClockMilliseconds() + elapse;
        result = hwnd ? (id ? id : 1) : it->id;
    }
    Wake(CurrentQueue());
    return result;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id)
{
    Guard g(Mutex());
    auto& v = Timers();
    DWORD tid = GetCurrentThreadId();
    auto it = std::find_if(v.begin(), v.end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd || t.threadId == tid);
    });
    if (it == v.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    v.erase(it);
    return TRUE;
}

// ---- Multimedia timers ----------------------------------------------------------------------------

namespace {

struct MmTimer {
    UINT id = 0;
    UINT delay = 0;
    LPTIMECALLBACK callback = nullptr;
    DWORD_PTR user = 0;
    UINT flags = 0;
    std::uint64_t due = 0;
};

struct MmState {
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable passDone;
    std::vector<MmTimer> timers;
    UINT nextId = 0;
    bool started = false;
    std::thread::id worker;
    UINT running = 0;  // timer whose callback runs now
    std::uint64_t requested = 0;
    std::uint64_t completed = 0;
    std::map<UINT, int> periods;
};

MmState& Mm()
{
    static auto* s = new MmState;
    return *s;
}

void FireDue(MmState& s, std::unique_lock<std::mutex>& g)
{
    for (;;) {
        std::uint64_t now = host::ClockMilliseconds();
        auto it = std::min_element(s.timers.begin(), s.timers.end(),
                                   [](const MmTimer& a, const MmTimer& b) { return a.due < b.due; });
        if (it == s.timers.end() || it->due > now)
            return;
        MmTimer t = *it;
        if (t.flags & TIME_PERIODIC) {
            std::uint64_t periods = (now - it->due) / t.delay + 1;
            it->due += periods * t.delay;
        } else {
            s.timers.erase(it);
        }
        s.running = t.id;
        g.unlock();
        // With an event flag the "callback" is the handle of the event to set or pulse.
        if (t.flags & TIME_CALLBACK_EVENT_SET)
            SetEvent(reinterpret_cast<HANDLE>(t.callback));
        else if (t.flags & TIME_CALLBACK_EVENT_PULSE)
            PulseEvent(reinterpret_cast<HANDLE>(t.callback));
        else
            t.callback(t.id, 0, t.user, 0, 0);
        g.lock();
        s.running = 0;
        s.passDone.notify_all();
    }
}

void Worker()
{
    MmState& s = Mm();
    std::unique_lock<std::mutex> g(s.lock);
    for (;;) {
        std::uint64_t request = s.requested;
        FireDue(s, g);
        s.completed = std::max(s.completed, request);
        s.passDone.notify_all();
        if (s.requested != request)
            continue;
        std::uint64_t due = UINT64_MAX;
        for (auto& t : s.timers)
            due = std::min(due, t.due);
        auto slice = std::chrono::milliseconds(20);
        if (due != UINT64_MAX && !host::IsTestClock()) {
            std::uint64_t now = host::ClockMilliseconds();
            slice = std::chrono::milliseconds(due > now ? std::min<std::uint64_t>(due - now, 20) : 0);
        }
        s.wake.wait_for(g, slice);
    }
}

void StartWorker(MmState& s)
{
    if (s.started)
        return;
    s.started = true;
    std::thread t(Worker);
    s.worker = t.get_id();
    t.detach();
}

}  // namespace

MMRESULT WINAPI timeGetDevCaps(LPTIMECAPS caps, UINT size)
{
    if (!caps || size < sizeof(TIMECAPS))
        return TIMERR_STRUCT;
    caps->wPeriodMin = 1;
    caps->wPeriodMax = 1000000;
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeBeginPeriod(UINT period)
{
    if (period < 1 || period > 1000000)
        return TIMERR_NOCANDO;
    std::lock_guard<std::mutex> g(Mm().lock);
    Mm().periods[period]++;
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period)
{
    std::lock_guard<std::mutex> g(Mm().lock);
    auto it = Mm().periods.find(period);
    if (it == Mm().periods.end())
        return TIMERR_NOCANDO;
    if (--it->second == 0)
        Mm().periods.erase(it);
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags)
{
    if (delay == 0 || delay > 1000000 || !callback)
        return 0;
    if ((flags & TIME_CALLBACK_EVENT_SET) && (flags & TIME_CALLBACK_EVENT_PULSE))
        return 0;
    MmState& s = Mm();
    std::lock_guard<std::mutex> g(s.lock);
    MmTimer t;
    do {
        s.nextId = s.nextId == 0xFFFF ? 1 : s.nextId + 1;
    } while (std::any_of(s.timers.begin(), s.timers.end(), [&](const MmTimer& o) { return o.id == s.nextId; }));
    t.id = s.nextId;
    t.delay = delay;
    t.callback = callback;
    t.user = user;
    t.flags = flags;
    t.due = host::ClockMilliseconds() + delay;
    s.timers.push_back(t);
    StartWorker(s);
    s.wake.notify_all();
    return t.id;
}

MMRESULT WINAPI timeKillEvent(UINT id)
{
    MmState& s = Mm();
    std::unique_lock<std::mutex> g(s.lock);
    auto it = std::find_if(s.timers.begin(), s.timers.end(), [&](const MmTimer& t) { return t.id == id; });
    if (it == s.timers.end())
        return TIMERR_NOCANDO;  // MMSYSERR_INVALPARAM
    s.timers.erase(it);
    // A callback of this timer that is running finishes before the timer is gone, unless the
    // callback itself kills its timer.
    if (std::this_thread::get_id() != s.worker)
        s.passDone.wait(g, [&] { return s.running != id; });
    return TIMERR_NOERROR;
}

namespace host {

std::uint64_t NextTimerDue()
{
    return user::NextTimerDue(GetCurrentThreadId());
}

std::uint64_t NextMultimediaTimerDue()
{
    MmState& s = Mm();
    std::lock_guard<std::mutex> g(s.lock);
    std::uint64_t due = UINT64_MAX;
    for (auto& t : s.timers)
        due = std::min(due, t.due);
    return due;
}

void RunDueMultimediaTimers()
{
    MmState& s = Mm();
    std::unique_lock<std::mutex> g(s.lock);
    if (!s.started)
        return;
    std::uint64_t request = ++s.requested;
    s.wake.notify_all();
    s.passDone.wait(g, [&] { return s.completed >= request; });
}

void KillAllMultimediaTimers()
{
    MmState& s = Mm();
    std::unique_lock<std::mutex> g(s.lock);
    s.timers.clear();
    if (std::this_thread::get_id() != s.worker)
        s.passDone.wait(g, [&] { return s.running == 0; });
    s.periods.clear();
}

}  // namespace host
