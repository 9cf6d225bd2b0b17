#include <windows.h>

#include <host/Clock.h>

#include <gtest/gtest.h>

#include <vector>

TEST(Clock, TestClockStandsStillUntilStepped)
{
    host::UseTestClock(1'000'000, 500);
    EXPECT_EQ(host::ClockMilliseconds(), 500u);
    EXPECT_EQ(host::ClockUtcMilliseconds(), 1'000'000);
    host::StepClock(250);
    EXPECT_EQ(host::ClockMilliseconds(), 750u);
    EXPECT_EQ(host::ClockUtcMilliseconds(), 1'000'250);
    host::UseRealClock();
    EXPECT_FALSE(host::IsTestClock());
}

TEST(Clock, StepListenersHearEveryStepOfTheTestClock)
{
    std::vector<std::uint64_t> heard;
    int id = host::AddClockStepListener([&](std::uint64_t ticks) { heard.push_back(ticks); });
    host::UseTestClock(0, 100);
    host::StepClock(10);
    Sleep(5);
    host::RemoveClockStepListener(id);
    host::StepClock(1);
    host::UseRealClock();
    host::StepClock(1);  // ignored on the real clock
    EXPECT_EQ(heard, (std::vector<std::uint64_t>{110, 115}));
}

TEST(LastError, IsKeptPerThread)
{
    SetLastError(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(GetLastError(), 32u);
}
