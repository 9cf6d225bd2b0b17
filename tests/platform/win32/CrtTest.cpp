// <windows.h> comes first on purpose: the runtime's function-like macros must leave the host
// headers included after it working.
#include <windows.h>

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <thread>

namespace {

TEST(Crt, RandFollowsTheOldRuntimeSequence)
{
    EXPECT_EQ(RAND_MAX, 0x7FFF);
    const int fromSeed1[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    srand(1);
    for (int expected : fromSeed1)
        EXPECT_EQ(rand(), expected);
    srand(12345);
    EXPECT_EQ(rand(), 7584);
    EXPECT_EQ(std::rand(), 19164);
    EXPECT_EQ(rand(), 25795);

    // The host's own rand (reached with the name in parentheses) keeps its own state and
    // sequence, and does not disturb ours.
    srand(1);
    (srand)(1);
    int host1 = (rand)();
    EXPECT_EQ(rand(), 41);
    int host2 = (rand)();
    EXPECT_EQ(rand(), 18467);
    (srand)(1);
    EXPECT_EQ((rand)(), host1);
    EXPECT_EQ((rand)(), host2);
    EXPECT_NE(host1, 41);
    EXPECT_EQ(rand(), 6334);

    // Each thread starts with seed 1, as in the multithreaded runtime.
    srand(99);
    int inThread = 0;
    std::thread([&] { inThread = rand(); }).join();
    EXPECT_EQ(inThread, 41);
}

TEST(Crt, SplitPath)
{
    struct Case {
        const char* path;
        const char* drive;
        const char* dir;
        const char* fname;
        const char* ext;
    } cases[] = {
        {"C:\\dir\\sub\\name.ext", "C:", "\\dir\\sub\\", "name", ".ext"},
        {"name.tar.gz", "", "", "name.tar", ".gz"},
        {"\\dir.d\\file", "", "\\dir.d\\", "file", ""},
        {"C:file.", "C:", "", "file", "."},
        {"c:/a/b/", "c:", "/a/b/", "", ""},
        {".profile", "", "", "", ".profile"},
        {"D:\\vl\\VL00I1SE.EXE", "D:", "\\vl\\", "VL00I1SE", ".EXE"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        _splitpath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(drive, c.drive) << c.path;
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(fname, c.fname) << c.path;
        EXPECT_STREQ(ext, c.ext) << c.path;
    }
    char fname[_MAX_FNAME];
    _splitpath("C:\\x\\only.name", nullptr, nullptr, fname, nullptr);
    EXPECT_STREQ(fname, "only");
}

TEST(Crt, MakePath)
{
    struct Case {
        const char* drive;
        const char* dir;
        const char* fname;
        const char* ext;
        const char* expected;
    } cases[] = {
        {"C", "\\dir", "name", "ext", "C:\\dir\\name.ext"},
        {"C:", "\\dir\\", "name", ".ext", "C:\\dir\\name.ext"},
        {nullptr, "dir/", "f", nullptr, "dir/f"},
        {"", "", "readme", "", "readme"},
    };
    for (const Case& c : cases) {
        char path[_MAX_PATH];
        _makepath(path, c.drive, c.dir, c.fname, c.ext);
        EXPECT_STREQ(path, c.expected);
    }
}

TEST(Crt, CaseBlindComparisonAndNumbers)
{
    EXPECT_EQ(_stricmp("Hello", "hELLO"), 0);
    EXPECT_LT(_stricmp("apple", "Banana"), 0);
    EXPECT_GT(_strcmpi("b", "A"), 0);
    EXPECT_EQ(_strnicmp("VL00I1SE.EXE", "vl00i1se.ini", 9), 0);
    EXPECT_NE(_stricmp("\xC9", "\xE9"), 0);  // only A-Z fold in the "C" locale
    EXPECT_EQ(_stricmp("_", "_"), 0);
    EXPECT_LT(_stricmp("_", "A"), 0);  // compared in lower case: '_' (0x5F) before 'a' (0x61)
    char s[] = "Mixed Case \xE9";
    EXPECT_STREQ(_strupr(s), "MIXED CASE \xE9");
    EXPECT_STREQ(_strlwr(s), "mixed case \xE9");

    struct Case {
        long value;
        int radix;
        const char* expected;
    } cases[] = {
        {0, 10, "0"}, {-123, 10, "-123"}, {255, 16, "ff"}, {-1, 16, "ffffffff"}, {5, 2, "101"},
        {35, 36, "z"}, {2147483647, 10, "2147483647"}, {-2147483647 - 1, 10, "-2147483648"},
    };
    for (const Case& c : cases) {
        char buffer[40];
        EXPECT_STREQ(_ltoa(c.value, buffer, c.radix), c.expected);
        EXPECT_STREQ(_itoa(static_cast<int>(c.value), buffer, c.radix), c.expected);
    }
    char buffer[40];
    EXPECT_STREQ(_ultoa(4294967295ul, buffer, 10), "4294967295");
    char* copy = _strdup("copy");
    EXPECT_STREQ(copy, "copy");
    free(copy);
}

// Product code's time(), localtime() and mktime() read the platform's clock and zone.
class CrtTime : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host::SetTimeZone("CET-1CEST,M3.5.0,M10.5.0/3")); }
    void TearDown() override
    {
        host::UseRealClock();
        host::SetTimeZone("");
    }
    static std::int64_t Utc(int y, int mo, int d, int h, int mi, int s)
    {
        return host::DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 +
               mi * 60 + s;
    }
};

TEST_F(CrtTime, TimeAndLocaltimeFollowTheTestClock)
{
    host::UseTestClock(Utc(2024, 3, 31, 0, 59, 30) * 1000 + 250);
    time_t now = 0;
    EXPECT_EQ(time(&now), Utc(2024, 3, 31, 0, 59, 30));
    EXPECT_EQ(now, Utc(2024, 3, 31, 0, 59, 30));
    struct tm* t = localtime(&now);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->tm_hour, 1);
    EXPECT_EQ(t->tm_min, 59);
    EXPECT_EQ(t->tm_isdst, 0);
    EXPECT_EQ(t->tm_wday, 0);
    EXPECT_EQ(t->tm_yday, 90);
    struct _timeb tb;
    _ftime(&tb);
    EXPECT_EQ(tb.millitm, 250);
    EXPECT_EQ(tb.timezone, -60);
    EXPECT_EQ(tb.dstflag, 0);

    host::StepClock(30'000);  // over the spring change
    now = time(nullptr);
    t = localtime(&now);
    EXPECT_EQ(t->tm_hour, 3);
    EXPECT_EQ(t->tm_min, 0);
    EXPECT_EQ(t->tm_isdst, 1);
    EXPECT_STREQ(ctime(&now), "Sun Mar 31 03:00:00 2024\n");
    t = gmtime(&now);
    EXPECT_EQ(t->tm_hour, 1);
    time_t before1970 = -1;
    EXPECT_EQ(localtime(&before1970), nullptr);
}

TEST_F(CrtTime, MktimeAcrossDaylightSavingChanges)
{
    struct Case {
        int y, mo, d, h, mi, isdst;
        std::int64_t utc;
        int hourAfter, isdstAfter;
    } cases[] = {
        {2024, 1, 15, 12, 0, -1, Utc(2024, 1, 15, 11, 0, 0), 12, 0},
        {2024, 7, 15, 12, 0, -1, Utc(2024, 7, 15, 10, 0, 0), 12, 1},
        {2024, 3, 31, 2, 30, -1, Utc(2024, 3, 31, 1, 30, 0), 3, 1},    // in the spring gap
        {2024, 10, 27, 2, 30, -1, Utc(2024, 10, 27, 1, 30, 0), 2, 0},  // twice: standard time
        {2024, 10, 27, 2, 30, 1, Utc(2024, 10, 27, 0, 30, 0), 2, 1},   // twice: asked for daylight
        {2024, 13, 1, 0, 0, -1, Utc(2024, 12, 31, 23, 0, 0), 0, 0},    // month 13 = next January
    };
    for (const Case& c : cases) {
        struct tm t = {};
        t.tm_year = c.y - 1900;
        t.tm_mon = c.mo - 1;
        t.tm_mday = c.d;
        t.tm_hour = c.h;
        t.tm_min = c.mi;
        t.tm_isdst = c.isdst;
        EXPECT_EQ(mktime(&t), c.utc) << c.mo << "/" << c.d << " " << c.h;
        EXPECT_EQ(t.tm_hour, c.hourAfter) << c.mo << "/" << c.d << " " << c.h;
        EXPECT_EQ(t.tm_isdst, c.isdstAfter) << c.mo << "/" << c.d << " " << c.h;
    }
    struct tm early = {};
    early.tm_year = 60;
    early.tm_mday = 1;
    EXPECT_EQ(mktime(&early), -1);
}

}  // namespace

// The runtime's locale is the program's own: asking for the user's locale names it, and the host
// library's formatting elsewhere in the process stays as it was.
TEST(Crt, SetlocaleKeepsToTheRuntime)
{
    // (setlocale) in parentheses is the host library's own function, not the runtime's macro.
    const std::string hostBefore = (std::setlocale)(LC_ALL, nullptr);
    EXPECT_STREQ(setlocale(LC_ALL, "C"), "C");
    EXPECT_STREQ(setlocale(LC_ALL, ""), "English_United States.1252");
    EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "English_United States.1252");
    // One category apart: LC_ALL names each.
    EXPECT_STREQ(setlocale(LC_TIME, "C"), "C");
    EXPECT_STREQ(setlocale(LC_ALL, nullptr),
                 "LC_COLLATE=English_United States.1252;LC_CTYPE=English_United States.1252;"
                 "LC_MONETARY=English_United States.1252;LC_NUMERIC=English_United States.1252;LC_TIME=C");
    // Names it does not know change nothing.
    EXPECT_EQ(setlocale(LC_ALL, "Klingon_Empire.65001"), nullptr);
    EXPECT_EQ(setlocale(12345, ""), nullptr);
    EXPECT_STREQ(setlocale(LC_TIME, nullptr), "C");
    EXPECT_STREQ(setlocale(LC_ALL, "english"), "English_United States.1252");

    char number[32];
    std::snprintf(number, sizeof number, "%.2f", 1234.5);
    EXPECT_STREQ(number, "1234.50");
    EXPECT_EQ(std::string(::std::localeconv()->decimal_point), ".");
    EXPECT_EQ(std::string((std::setlocale)(LC_ALL, nullptr)), hostBefore);
    EXPECT_STREQ(setlocale(LC_ALL, "C"), "C");
}
