// The one clock of the platform. GetTickCount, timeGetTime, Sleep, window timers, multimedia
// timers and local time all read it. By default it follows real time; a test can switch it to a
// test clock that stands still until the test sets or steps it (Sleep steps it too). Local time
// is this clock seen through the zone of host/TimeZone.h.
//
// Not part of the platform's interface: only the platform layer itself and tests use it.
#pragma once

#include <cstdint>
#include <functional>

namespace host {

// Milliseconds since the platform started (what GetTickCount reports, before wrapping).
std::uint64_t ClockMilliseconds();

// Milliseconds since 1970-01-01 00:00:00 UTC (what GetSystemTime reports).
std::int64_t ClockUtcMilliseconds();

// Switches to the test clock, standing at the given UTC time and tick count.
void UseTestClock(std::int64_t utcMilliseconds, std::uint64_t tickMilliseconds = 0);
// Back to real time.
void UseRealClock();
bool IsTestClock();
// Moves the test clock forward; ignored on the real clock. The step listeners are called
// afterwards, on the stepping thread, with no lock of the clock held.
void StepClock(std::uint64_t milliseconds);

// Lets a timer area react at once when the test clock moves (StepClock, Sleep on the test clock):
// the listener gets the new tick count. Returns an id for RemoveClockStepListener.
int AddClockStepListener(std::function<void(std::uint64_t ticks)> listener);
void RemoveClockStepListener(int id);

}  // namespace host
