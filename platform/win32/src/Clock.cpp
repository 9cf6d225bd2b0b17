#include <host/Clock.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

namespace {

struct ClockState {
    std::mutex lock;
    bool test = false;
    std::int64_t testUtc = 0;
    std::uint64_t testTicks = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::mutex listenerLock;
    std::map<int, std::function<void(std::uint64_t)>> listeners;
    int nextListener = 1;
};

ClockState& State()
{
    static ClockState state;
    return state;
}

}  // namespace

namespace host {

std::uint64_t ClockMilliseconds()
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.test)
        return s.testTicks;
    auto elapsed = std::chrono::steady_clock::now() - s.start;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::int64_t ClockUtcMilliseconds()
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.test)
        return s.testUtc;
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void UseTestClock(std::int64_t utcMilliseconds, std::uint64_t tickMilliseconds)
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.test = true;
    s.testUtc = utcMilliseconds;
    s.testTicks = tickMilliseconds;
}

void UseRealClock()
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.test = false;
}

bool IsTestClock()
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.test;
}

void StepClock(std::uint64_t milliseconds)
{
    ClockState& s = State();
    std::uint64_t ticks;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (!s.test)
            return;
        s.testTicks += milliseconds;
        s.testUtc += static_cast<std::int64_t>(milliseconds);
        ticks = s.testTicks;
    }
    std::map<int, std::function<void(std::uint64_t)>> listeners;
    {
        std::lock_guard<std::mutex> guard(s.listenerLock);
        listeners = s.listeners;
    }
    for (auto& [id, listener] : listeners)
        listener(ticks);
}

int AddClockStepListener(std::function<void(std::uint64_t ticks)> listener)
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.listenerLock);
    int id = s.nextListener++;
    s.listeners[id] = std::move(listener);
    return id;
}

void RemoveClockStepListener(int id)
{
    ClockState& s = State();
    std::lock_guard<std::mutex> guard(s.listenerLock);
    s.listeners.erase(id);
}

}  // namespace host
