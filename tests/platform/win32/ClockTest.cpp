#include <windows.h>

#include <host/Clock.h>

#include <gtest/gtest.h>

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

TEST(LastError, IsKeptPerThread)
{
    SetLastError(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(GetLastError(), 32u);
}
