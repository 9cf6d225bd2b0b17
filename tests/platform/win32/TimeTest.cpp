#include <windows.h>
#include <mmsystem.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::int64_t UtcMs(int y, int mo, int d, int h, int mi, int s = 0)
{
    return (host::DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 +
            mi * 60 + s) *
           1000;
}

class Time : public ::testing::Test {
protected:
    void TearDown() override
    {
        host::UseRealClock();
        host::SetTimeZone("");
    }
};

TEST_F(Time, TestClockStepsEveryTimeSource)
{
    ASSERT_TRUE(host::SetTimeZone("UTC0"));
    host::UseTestClock(UtcMs(1997, 6, 1, 12, 0), 0xFFFFFF00u);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);
    EXPECT_EQ(timeGetTime(), 0xFFFFFF00u);
    Sleep(0x200);  // on the test clock Sleep moves the clock instead of waiting
    EXPECT_EQ(GetTickCount(), 0x100u);  // 32-bit tick count wraps
    EXPECT_EQ(GetTickCount64(), 0x100000100ull);
    EXPECT_EQ(timeGetTime(), 0x100u);
    SYSTEMTIME st;
    GetSystemTime(&st);
    EXPECT_EQ(st.wSecond, 0);
    EXPECT_EQ(st.wMilliseconds, 512);
    EXPECT_EQ(SleepEx(488, TRUE), 0u);
    GetLocalTime(&st);
    EXPECT_EQ(st.wYear, 1997);
    EXPECT_EQ(st.wMonth, 6);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(st.wDayOfWeek, 0);  // a Sunday
    EXPECT_EQ(st.wHour, 12);
    EXPECT_EQ(st.wSecond, 1);
    EXPECT_EQ(st.wMilliseconds, 0);
}

// Local time on both sides of the daylight-saving changes of one year, for zones named by the
// host's zone database and by TZ rules, north and south.
TEST_F(Time, LocalTimeAcrossDaylightSavingChanges)
{
    struct Case {
        const char* zone;
        std::int64_t utcMs;
        int hour, minute;
        DWORD zoneId;
    } cases[] = {
        {"Europe/Berlin", UtcMs(2024, 3, 31, 0, 59, 59), 1, 59, TIME_ZONE_ID_STANDARD},  // spring
        {"Europe/Berlin", UtcMs(2024, 3, 31, 1, 0, 0), 3, 0, TIME_ZONE_ID_DAYLIGHT},
        {"Europe/Berlin", UtcMs(2024, 10, 27, 0, 59, 59), 2, 59, TIME_ZONE_ID_DAYLIGHT},  // autumn
        {"Europe/Berlin", UtcMs(2024, 10, 27, 1, 0, 0), 2, 0, TIME_ZONE_ID_STANDARD},
        {"Europe/Berlin", UtcMs(1997, 7, 1, 12, 0, 0), 14, 0, TIME_ZONE_ID_DAYLIGHT},
        {"CET-1CEST,M3.5.0,M10.5.0/3", UtcMs(2024, 3, 31, 1, 0, 0), 3, 0, TIME_ZONE_ID_DAYLIGHT},
        {"CET-1CEST,M3.5.0,M10.5.0/3", UtcMs(2024, 10, 27, 1, 0, 0), 2, 0, TIME_ZONE_ID_STANDARD},
        {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2024, 3, 10, 6, 59, 0), 1, 59, TIME_ZONE_ID_STANDARD},
        {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2024, 3, 10, 7, 0, 0), 3, 0, TIME_ZONE_ID_DAYLIGHT},
        {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2024, 11, 3, 6, 0, 0), 1, 0, TIME_ZONE_ID_STANDARD},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", UtcMs(2024, 4, 6, 15, 59, 0), 2, 59, TIME_ZONE_ID_DAYLIGHT},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", UtcMs(2024, 4, 6, 16, 0, 0), 2, 0, TIME_ZONE_ID_STANDARD},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", UtcMs(2024, 10, 5, 16, 0, 0), 3, 0, TIME_ZONE_ID_DAYLIGHT},
        {"<+0530>-5:30", UtcMs(2024, 1, 1, 0, 0, 0), 5, 30, TIME_ZONE_ID_UNKNOWN},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(host::SetTimeZone(c.zone)) << c.zone;
        host::UseTestClock(c.utcMs);
        SYSTEMTIME st;
        GetLocalTime(&st);
        EXPECT_EQ(st.wHour, c.hour) << c.zone << " at " << c.utcMs;
        EXPECT_EQ(st.wMinute, c.minute) << c.zone << " at " << c.utcMs;
        TIME_ZONE_INFORMATION tzi;
        EXPECT_EQ(GetTimeZoneInformation(&tzi), c.zoneId) << c.zone << " at " << c.utcMs;
    }
}

TEST_F(Time, SteppingOverTheSpringChange)
{
    ASSERT_TRUE(host::SetTimeZone("Europe/Berlin"));
    host::UseTestClock(UtcMs(2024, 3, 31, 0, 59, 0));
    SYSTEMTIME st;
    GetLocalTime(&st);
    EXPECT_EQ(st.wHour * 100 + st.wMinute, 159);
    Sleep(60'000);
    GetLocalTime(&st);
    EXPECT_EQ(st.wHour * 100 + st.wMinute, 300);
    host::StepClock(7ull * 30 * 86'400'000);  // into the autumn
    GetLocalTime(&st);
    EXPECT_EQ(st.wMonth, 10);
    EXPECT_EQ(st.wDay, 27);
    EXPECT_EQ(st.wHour * 100 + st.wMinute, 200);
}

TEST_F(Time, TimeZoneInformationDescribesTheRule)
{
    ASSERT_TRUE(host::SetTimeZone("Europe/Berlin"));
    host::UseTestClock(UtcMs(2024, 1, 10, 12, 0));
    TIME_ZONE_INFORMATION tzi;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), static_cast<DWORD>(TIME_ZONE_ID_STANDARD));
    EXPECT_EQ(tzi.Bias, -60);
    EXPECT_EQ(tzi.StandardBias, 0);
    EXPECT_EQ(tzi.DaylightBias, -60);
    EXPECT_EQ(tzi.StandardName[0], u'C');
    EXPECT_EQ(std::u16string(tzi.DaylightName), u"CEST");
    // Last Sunday of March at 02:00, last Sunday of October at 03:00.
    EXPECT_EQ(tzi.DaylightDate.wMonth, 3);
    EXPECT_EQ(tzi.DaylightDate.wDay, 5);
    EXPECT_EQ(tzi.DaylightDate.wDayOfWeek, 0);
    EXPECT_EQ(tzi.DaylightDate.wHour, 2);
    EXPECT_EQ(tzi.StandardDate.wMonth, 10);
    EXPECT_EQ(tzi.StandardDate.wDay, 5);
    EXPECT_EQ(tzi.StandardDate.wHour, 3);

    EXPECT_FALSE(host::SetTimeZone("No/Such_Zone"));
    EXPECT_FALSE(host::SetTimeZone("CET-1CEST,M13.5.0,M10.5.0"));
    EXPECT_EQ(GetTimeZoneInformation(&tzi), static_cast<DWORD>(TIME_ZONE_ID_STANDARD));  // unchanged
}

TEST_F(Time, FileTimeConversions)
{
    SYSTEMTIME st = {1996, 2, 0, 29, 23, 59, 58, 999};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    ULARGE_INTEGER v;
    v.u.LowPart = ft.dwLowDateTime;
    v.u.HighPart = ft.dwHighDateTime;
    EXPECT_EQ(v.QuadPart, 124701119989990000ull);
    SYSTEMTIME back;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wDayOfWeek, 4);  // a Thursday
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wMilliseconds, 999);

    FILETIME origin = {0, 0};
    ASSERT_TRUE(FileTimeToSystemTime(&origin, &back));
    EXPECT_EQ(back.wYear, 1601);
    EXPECT_EQ(back.wDayOfWeek, 1);

    struct Bad {
        WORD y, mo, d, h;
    } bad[] = {{1997, 2, 29, 0}, {1997, 13, 1, 0}, {1997, 4, 31, 0}, {1600, 1, 1, 0}, {1997, 1, 1, 24}};
    for (const Bad& b : bad) {
        SYSTEMTIME s = {b.y, b.mo, 0, b.d, b.h, 0, 0, 0};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&s, &ft)) << b.y << "-" << b.mo << "-" << b.d;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    FILETIME negative = {0, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&negative, &back));

    // Local file times use the offset in force now, as on the real platform.
    ASSERT_TRUE(host::SetTimeZone("Europe/Berlin"));
    host::UseTestClock(UtcMs(2024, 7, 1, 0, 0));
    st = {2024, 1, 0, 1, 12, 0, 0, 0};
    SystemTimeToFileTime(&st, &ft);
    FILETIME local, again;
    ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &local));
    FileTimeToSystemTime(&local, &back);
    EXPECT_EQ(back.wHour, 14);  // summer offset, though the date is in winter
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &again));
    EXPECT_EQ(CompareFileTime(&again, &ft), 0);
    EXPECT_EQ(CompareFileTime(&local, &ft), 1);

    GetSystemTimeAsFileTime(&ft);
    FileTimeToSystemTime(&ft, &back);
    EXPECT_EQ(back.wYear, 2024);
    EXPECT_EQ(back.wMonth, 7);
}

TEST_F(Time, VersionIsNt4)
{
    DWORD v = GetVersion();
    EXPECT_EQ(LOBYTE(LOWORD(v)), 4);
    EXPECT_EQ(HIBYTE(LOWORD(v)), 0);
    EXPECT_EQ(HIWORD(v), 1381);
    EXPECT_EQ(v & 0x80000000u, 0u);  // the NT family
    OSVERSIONINFO info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(info.dwMajorVersion, 4u);
    EXPECT_EQ(info.dwBuildNumber, 1381u);
    OSVERSIONINFOEX ex = {};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionEx(reinterpret_cast<LPOSVERSIONINFO>(&ex)));
    EXPECT_EQ(ex.wServicePackMajor, 6);
    info.dwOSVersionInfoSize = 12;
    EXPECT_FALSE(GetVersionEx(&info));

    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerName(name, &size));
    EXPECT_EQ(size, std::string(name).size());
    DWORD tiny = 1;
    EXPECT_FALSE(GetComputerName(name, &tiny));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(tiny, size + 1);
}

}  // namespace
