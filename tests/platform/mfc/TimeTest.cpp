#include <afx.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::int64_t UtcSeconds(int y, int mo, int d, int h, int mi, int s = 0)
{
    return host::DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 + mi * 60 + s;
}

// Central European time with its rule: summer time from the last Sunday of March 02:00 to the
// last Sunday of October 03:00 (in 1997: March 30 and October 26).
class TimeAndSpan : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host::SetTimeZone("CET-1CEST,M3.5.0,M10.5.0/3")); }
    void TearDown() override
    {
        host::UseRealClock();
        host::SetTimeZone("");
    }
};

}  // namespace

TEST_F(TimeAndSpan, CurrentTimeFollowsTheTestClockAcrossTheSpringChange)
{
    host::UseTestClock(UtcSeconds(1997, 3, 30, 0, 59, 58) * 1000 + 999);
    CTime before = CTime::GetCurrentTime();
    EXPECT_EQ(before.GetTime(), UtcSeconds(1997, 3, 30, 0, 59, 58));  // whole seconds
    EXPECT_EQ(before.Format("%H:%M:%S %Z"), CString("01:59:58 CET"));
    host::StepClock(2001);
    CTime after = CTime::GetCurrentTime();
    EXPECT_EQ(after.Format("%H:%M:%S %Z"), CString("03:00:01 CEST"));
    EXPECT_EQ((after - before).GetTotalSeconds(), 3);
    EXPECT_EQ(after.GetHour(), 3);
    EXPECT_EQ(after.GetDay(), 30);
    struct tm local;
    ASSERT_NE(after.GetLocalTm(&local), nullptr);
    EXPECT_EQ(local.tm_isdst, 1);
    ASSERT_NE(before.GetLocalTm(&local), nullptr);
    EXPECT_EQ(local.tm_isdst, 0);
}

TEST_F(TimeAndSpan, LocalDatePartsWithTheDaylightFlag)
{
    struct Case {
        int y, mo, d, h, mi, dst;
        std::int64_t utc;  // -1: invalid
        const char* what;
    } cases[] = {
        {1997, 3, 30, 1, 30, -1, UtcSeconds(1997, 3, 30, 0, 30), "before the spring change"},
        {1997, 3, 30, 2, 30, -1, UtcSeconds(1997, 3, 30, 1, 30), "in the spring gap: an hour later"},
        {1997, 3, 30, 3, 30, -1, UtcSeconds(1997, 3, 30, 1, 30), "after the spring change"},
        {1997, 10, 26, 2, 30, -1, UtcSeconds(1997, 10, 26, 1, 30), "the autumn hour: standard"},
        {1997, 10, 26, 2, 30, 1, UtcSeconds(1997, 10, 26, 0, 30), "the autumn hour as summer time"},
        {1997, 10, 26, 2, 30, 0, UtcSeconds(1997, 10, 26, 1, 30), "the autumn hour as standard time"},
        {1997, 7, 1, 12, 0, 0, UtcSeconds(1997, 7, 1, 11, 0), "summer read as standard"},
        {1997, 1, 1, 12, 0, 1, UtcSeconds(1997, 1, 1, 10, 0), "winter read as summer"},
        {1996, 13, 1, 0, 0, -1, UtcSeconds(1996, 12, 31, 23, 0), "month 13 rolls into the next year"},
        {1997, 2, 31, 0, 0, -1, UtcSeconds(1997, 3, 2, 23, 0), "February 31st rolls into March"},
        {1969, 12, 31, 12, 0, -1, -1, "before 1970"},
    };
    for (const Case& c : cases) {
        CTime t(c.y, c.mo, c.d, c.h, c.mi, 0, c.dst);
        EXPECT_EQ(t.GetTime(), c.utc) << c.what;
    }
    CTime invalid(1969, 12, 31, 12, 0, 0);
    EXPECT_EQ(invalid.Format("%Y"), CString(""));
    EXPECT_EQ(invalid.GetLocalTm(), nullptr);
}

TEST_F(TimeAndSpan, SpansAcrossTheAutumnChange)
{
    CTimeSpan day = CTime(1997, 10, 27, 0, 0, 0) - CTime(1997, 10, 26, 0, 0, 0);
    EXPECT_EQ(day.GetTotalHours(), 25);  // the day has an hour more
    EXPECT_EQ(day.GetDays(), 1);
    EXPECT_EQ(day.GetHours(), 1);
    EXPECT_EQ(day.Format("%D days, %H:%M:%S %%"), CString("1 days, 01:00:00 %"));
    CTimeSpan span(2, 3, 4, 5);
    EXPECT_EQ(span.GetTotalSeconds(), ((2 * 24 + 3) * 60 + 4) * 60 + 5);
    EXPECT_EQ(span.GetTotalMinutes(), (2 * 24 + 3) * 60 + 4);
    EXPECT_EQ(span.GetMinutes(), 4);
    EXPECT_EQ(span.GetSeconds(), 5);
    EXPECT_TRUE(span > day);
    EXPECT_EQ((span - day).GetTotalSeconds(), span.GetTotalSeconds() - 25 * 3600);
    CTime t(1997, 10, 25, 12, 0, 0);
    t += CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(t.GetHour(), 11);  // 24 hours later across the change is an hour earlier by the clock
    EXPECT_TRUE(t - CTimeSpan(1, 0, 0, 0) < t);
    EXPECT_TRUE(CTime(1997, 1, 1, 0, 0, 0) == CTime(1996, 12, 31, 24, 0, 0));
}

TEST_F(TimeAndSpan, FormatCodes)
{
    const CTime t(1997, 3, 5, 8, 4, 9);  // a Wednesday
    struct Case {
        const char* format;
        const char* text;
    } cases[] = {
        {"%a %A %b %B", "Wed Wednesday Mar March"},
        {"%c", "03/05/97 08:04:09"},
        {"%#c", "Wednesday, March 5, 1997, 8:04:09"},
        {"%x|%#x|%X", "03/05/97|Wednesday, March 5, 1997|08:04:09"},
        {"%d %#d %H %#H %I %#I", "05 5 08 8 08 8"},
        {"%j %#j %m %M %p %S", "064 64 03 04 AM 09"},
        {"%U %w %W %y %Y", "09 3 09 97 1997"},
        {"%Z %z 100%%", "CET CET 100%"},
        {"no codes", "no codes"},
        {"%Q", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t.Format(c.format), CString(c.text)) << c.format;
    EXPECT_EQ(t.FormatGmt("%H:%M %Z"), CString("07:04 UTC"));
    EXPECT_EQ(CTime(1997, 6, 1, 20, 0, 0).Format("%I %p %Z"), CString("08 PM CEST"));
    EXPECT_EQ(CTime(1997, 6, 1, 0, 0, 0).Format("%I %p"), CString("12 AM"));
}

TEST_F(TimeAndSpan, CalendarFieldsAndSystemTimes)
{
    SYSTEMTIME st = {1997, 7, 0, 14, 10, 30, 15, 500};
    CTime t(st);
    EXPECT_EQ(t.GetTime(), UtcSeconds(1997, 7, 14, 8, 30, 15));
    EXPECT_EQ(t.GetYear(), 1997);
    EXPECT_EQ(t.GetMonth(), 7);
    EXPECT_EQ(t.GetDay(), 14);
    EXPECT_EQ(t.GetHour(), 10);
    EXPECT_EQ(t.GetMinute(), 30);
    EXPECT_EQ(t.GetSecond(), 15);
    EXPECT_EQ(t.GetDayOfWeek(), 2);  // Monday; Sunday is 1
    SYSTEMTIME back;
    ASSERT_TRUE(t.GetAsSystemTime(back));
    EXPECT_EQ(back.wDayOfWeek, 1);
    EXPECT_EQ(back.wHour, 10);
    EXPECT_EQ(back.wMilliseconds, 0);
    struct tm gmt;
    ASSERT_NE(t.GetGmtTm(&gmt), nullptr);
    EXPECT_EQ(gmt.tm_hour, 8);
    EXPECT_EQ(gmt.tm_yday, 194);

    // A file time is UTC; it is seen through the zone's present offset (summer on this clock).
    host::UseTestClock(UtcSeconds(1997, 7, 1, 0, 0) * 1000);
    SYSTEMTIME utc = {1997, 7, 0, 14, 8, 30, 15, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
    EXPECT_EQ(CTime(ft), t);

    // Packed date and time: seconds are stored halved.
    WORD dosDate = static_cast<WORD>(((1997 - 1980) << 9) | (7 << 5) | 14);
    WORD dosTime = static_cast<WORD>((10 << 11) | (30 << 5) | 7);
    EXPECT_EQ(CTime(dosDate, dosTime).GetTime(), UtcSeconds(1997, 7, 14, 8, 30, 14));
}

TEST_F(TimeAndSpan, ArchivedAsThirtyTwoBitNumbers)
{
    const CTime t(1997, 3, 5, 8, 4, 9);
    const CTimeSpan span(-1, 0, 0, 0);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << t << span;
    }
    ASSERT_EQ(file.GetLength(), 8u);
    BYTE bytes[8];
    file.SeekToBegin();
    file.Read(bytes, 8);
    const DWORD value = static_cast<DWORD>(UtcSeconds(1997, 3, 5, 7, 4, 9));
    EXPECT_EQ(bytes[0], static_cast<BYTE>(value));
    EXPECT_EQ(bytes[3], static_cast<BYTE>(value >> 24));
    EXPECT_EQ(bytes[4], 0x80);  // -86400 = 0xFFFEAE80
    EXPECT_EQ(bytes[5], 0xAE);
    EXPECT_EQ(bytes[6], 0xFE);
    EXPECT_EQ(bytes[7], 0xFF);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CTime t2;
    CTimeSpan span2;
    ar >> t2 >> span2;
    EXPECT_EQ(t2, t);
    EXPECT_EQ(span2, span);
}
