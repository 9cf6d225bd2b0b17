// Fixture and helpers for tests that drive the headless window system: a clean window manager
// and test clock for every case, script failures reported as test failures, pumping until idle,
// and stepping the clock with the due timers delivered one by one.
#pragma once

#include <windows.h>

#include <host/Clock.h>
#include <host/Desktop.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace ui {

// Dispatches everything in the calling thread's queue (posted, input, paint and due timers)
// until nothing is left. Returns the number of messages dispatched; a WM_QUIT stops the pump
// and is put back with PostQuitMessage.
inline int PumpUntilIdle(int limit = 100000)
{
    int n = 0;
    MSG msg;
    while (n < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

// Moves the test clock forward by `ms`, stopping at every timer due on the way: each window
// timer of this thread and each multimedia timer fires exactly as often as it is due.
inline void AdvanceClock(std::uint64_t ms)
{
    std::uint64_t target = host::ClockMilliseconds() + ms;
    for (;;) {
        PumpUntilIdle();
        std::uint64_t next = std::min(host::NextTimerDue(), host::NextMultimediaTimerDue());
        std::uint64_t now = host::ClockMilliseconds();
        if (next > target || next == UINT64_MAX)
            break;
        if (next > now)
            host::StepClock(next - now);
        host::RunDueMultimediaTimers();
    }
    std::uint64_t now = host::ClockMilliseconds();
    if (target > now)
        host::StepClock(target - now);
    host::RunDueMultimediaTimers();
    PumpUntilIdle();
}

// Each case starts with no windows, an empty script, a 1024x768 desktop and the test clock.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::ResetWindowManager();
        host::UseTestClock(946684800000, 1000);
        host::SetUiFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
    }

    void TearDown() override
    {
        EXPECT_EQ(host::PendingMessageBoxAnswers(), 0u) << "message box answers left unused";
        EXPECT_EQ(host::PendingModalActions(), 0u) << "modal loop actions left unused";
        host::ResetWindowManager();
        host::SetUiFailureHandler(nullptr);
        host::UseRealClock();
    }
};

}  // namespace ui
