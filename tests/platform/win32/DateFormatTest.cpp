// GetDateFormat over the platform's one locale: the short and long dates, pictures, today's date
// from the clock, and the caller's mistakes (bad flags, dates and buffers).
#include <windows.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

SYSTEMTIME Date(int year, int month, int day, int dayOfWeek = 0)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    return st;
}

std::string Formatted(const SYSTEMTIME* date, DWORD flags, const char* picture = nullptr,
                      LCID locale = LOCALE_USER_DEFAULT)
{
    char text[128] = "unchanged";
    int n = GetDateFormat(locale, flags, date, picture, text, sizeof text);
    if (n == 0)
        return "error " + std::to_string(GetLastError());
    EXPECT_EQ(n, static_cast<int>(std::string(text).size()) + 1) << text;
    return text;
}

TEST(DateFormat, ShortLongAndPictures)
{
    const SYSTEMTIME jubilee = Date(2000, 1, 9, 3);  // a Sunday; the wrong day of the week is ignored
    const SYSTEMTIME leap = Date(2024, 2, 29);
    const struct {
        const SYSTEMTIME* date;
        DWORD flags;
        const char* picture;
        LCID locale;
        const char* expected;
    } cases[] = {
        {&jubilee, DATE_SHORTDATE, nullptr, LOCALE_USER_DEFAULT, "1/9/2000"},
        {&jubilee, 0, nullptr, LOCALE_SYSTEM_DEFAULT, "1/9/2000"},  // no flag: the short date
        {&leap, DATE_SHORTDATE, nullptr, LOCALE_ENGLISH_US, "2/29/2024"},
        {&jubilee, DATE_LONGDATE, nullptr, LOCALE_USER_DEFAULT, "Sunday, January 09, 2000"},
        {&leap, DATE_LONGDATE | LOCALE_NOUSEROVERRIDE, nullptr, LOCALE_USER_DEFAULT, "Thursday, February 29, 2024"},
        {&jubilee, 0, "dd.MM.yy ddd MMM y gg", LOCALE_USER_DEFAULT, "09.01.00 Sun Jan 0 A.D."},
        {&leap, 0, "'Day' d 'of' MMMM, ''yy", LOCALE_USER_DEFAULT, "Day 29 of February, '24"},
        {&leap, 0, "'It''s' yyyy", LOCALE_USER_DEFAULT, "It's 2024"},
        {&leap, 0, "'open quote d", LOCALE_USER_DEFAULT, "open quote d"},
        {&leap, 0, "", LOCALE_USER_DEFAULT, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture ? c.picture : "(flags)");
        EXPECT_EQ(Formatted(c.date, c.flags, c.picture, c.locale), c.expected);
    }
}

TEST(DateFormat, TodayComesFromTheLocalClock)
{
    ASSERT_TRUE(host::SetTimeZone("EST5"));
    // 2026-03-01 03:00 UTC is still 28 February in the zone.
    host::UseTestClock(host::DaysFromCivil(2026, 3, 1) * 86400000LL + 3 * 3600000LL);
    EXPECT_EQ(Formatted(nullptr, DATE_SHORTDATE), "2/28/2026");
    host::StepClock(3 * 3600000LL);
    EXPECT_EQ(Formatted(nullptr, DATE_SHORTDATE), "3/1/2026");
    host::UseRealClock();
    host::SetTimeZone("");
}

TEST(DateFormat, RefusesBadCallsWithTheirErrors)
{
    const SYSTEMTIME good = Date(1999, 12, 31);
    const SYSTEMTIME feb29 = Date(1900, 2, 29);  // 1900 is no leap year
    const SYSTEMTIME month13 = Date(1999, 13, 1);
    const SYSTEMTIME early = Date(1600, 12, 31);
    const std::string invalidParameter = "error " + std::to_string(ERROR_INVALID_PARAMETER);
    const std::string invalidFlags = "error " + std::to_string(ERROR_INVALID_FLAGS);
    EXPECT_EQ(Formatted(&feb29, DATE_SHORTDATE), invalidParameter);
    EXPECT_EQ(Formatted(&month13, DATE_SHORTDATE), invalidParameter);
    EXPECT_EQ(Formatted(&early, DATE_SHORTDATE), invalidParameter);
    EXPECT_EQ(Formatted(&good, DATE_SHORTDATE, nullptr, 0x0411), invalidParameter);  // a locale it lacks
    EXPECT_EQ(Formatted(&good, DATE_SHORTDATE | DATE_LONGDATE), invalidFlags);
    EXPECT_EQ(Formatted(&good, DATE_SHORTDATE, "yyyy"), invalidFlags);
    EXPECT_EQ(Formatted(&good, 0x100), invalidFlags);

    // The size asked for first, then a buffer one too small, then one just large enough.
    EXPECT_EQ(GetDateFormat(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &good, nullptr, nullptr, 0), 11);
    char small[10];
    std::memset(small, 'x', sizeof small);
    SetLastError(0);
    EXPECT_EQ(GetDateFormat(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &good, nullptr, small, sizeof small), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char exact[11];
    EXPECT_EQ(GetDateFormat(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &good, nullptr, exact, sizeof exact), 11);
    EXPECT_STREQ(exact, "12/31/1999");
}

}  // namespace
