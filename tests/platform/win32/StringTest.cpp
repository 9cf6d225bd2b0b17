#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(String, MulDivRoundsToNearest)
{
    struct Case {
        int number, numerator, denominator, expected;
    } cases[] = {
        {1, 1, 2, 1},          {3, 1, 2, 2},       {5, 1, 2, 3},         {-1, 1, 2, -1},
        {-5, 1, 2, -3},        {5, -1, 2, -3},     {-10, 1, -4, 3},      {10, 3, 4, 8},
        {7, 1, 3, 2},          {8, 1, 3, 3},       {0, 5, 7, 0},         {640, 96, 72, 853},
        {1, 1, 0, -1},         {INT_MAX, 2, 1, -1}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, 2, 2, INT_MIN}, {INT_MAX, -2, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

template <typename... Args>
std::string Format(const char* format, Args... args)
{
    char buffer[1100];
    int n = wsprintf(buffer, format, args...);
    EXPECT_EQ(n, static_cast<int>(std::strlen(buffer))) << format;
    return buffer;
}

TEST(String, WsprintfFormats)
{
    const char* nullText = nullptr;
    struct Case {
        std::string got;
        const char* expected;
    } cases[] = {
        {Format("%d|%i", -42, 7), "-42|7"},
        {Format("%5d|%-5d|%05d|%.4d", 42, 42, -42, 42), "   42|42   |-0042|0042"},
        {Format("%x %X %#x %#X %#x", 255, 255, 255, 255, 0), "ff FF 0xff 0XFF 0"},
        {Format("%u %lu", -1, static_cast<DWORD>(0xFFFFFFFF)), "4294967295 4294967295"},
        {Format("%ld %hd %hu", static_cast<LONG>(-7), 70000, 70000), "-7 4464 4464"},
        {Format("%I64d %I64u", static_cast<INT64>(-5000000000LL), static_cast<UINT64>(1) << 40),
         "-5000000000 1099511627776"},
        {Format("%s|%.3s|%6s|%-6s|", "abc", "abcdef", "abc", "abc"), "abc|abc|   abc|abc   |"},
        {Format("[%s]", nullText), "[(null)]"},
        {Format("%c%c%c", 'A', 0xE9, 0x9C), "A\xE9\x9C"},
        {Format("%ls %S %lc", u"wide", u"\u00E9t\u00E9", static_cast<int>(u'\u00FC')), "wide \xE9t\xE9 \xFC"},
        {Format("100%% %y"), "100% y"},
        {Format("%08lX", static_cast<DWORD>(0xBEEF)), "0000BEEF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);

    std::string big(2000, 'x');
    char buffer[1100];
    EXPECT_EQ(wsprintf(buffer, "%s", big.c_str()), 1023);  // 1024 bytes with the NUL
    EXPECT_EQ(std::strlen(buffer), 1023u);
}

TEST(String, CaseMappingOnTheWesternCodePage)
{
    struct Pair {
        unsigned char lower, upper;
    } pairs[] = {
        {'a', 'A'}, {0xE9, 0xC9} /* é É */, {0xE0, 0xC0}, {0xF1, 0xD1}, {0xF8, 0xD8}, {0xFE, 0xDE},
        {0x9A, 0x8A} /* š Š */, {0x9C, 0x8C} /* œ Œ */, {0x9E, 0x8E} /* ž Ž */, {0xFF, 0x9F} /* ÿ Ÿ */,
    };
    for (const Pair& p : pairs) {
        CHAR lower = static_cast<CHAR>(p.lower), upper = static_cast<CHAR>(p.upper);
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(CharUpper(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(p.lower)))),
                  p.upper) << int(p.lower);
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(CharLower(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(p.upper)))),
                  p.lower) << int(p.upper);
        EXPECT_TRUE(IsCharAlpha(lower) && IsCharAlpha(upper)) << int(p.lower);
        EXPECT_TRUE(IsCharLower(lower) && !IsCharUpper(lower)) << int(p.lower);
        EXPECT_TRUE(IsCharUpper(upper) && !IsCharLower(upper)) << int(p.upper);
    }
    struct Single {
        unsigned char ch;
        bool alpha, upper, lower;
    } singles[] = {
        {0xDF, true, false, true},   // ß: lower case with no capital of its own
        {0xB5, true, false, true},   // µ
        {0x83, true, false, true},   // ƒ
        {0xAA, true, false, true},   // ª
        {0xD7, false, false, false}, // ×
        {0xF7, false, false, false}, // ÷
        {0x80, false, false, false}, // €
        {'5', false, false, false},
    };
    for (const Single& s : singles) {
        CHAR c = static_cast<CHAR>(s.ch);
        EXPECT_EQ(!!IsCharAlpha(c), s.alpha) << int(s.ch);
        EXPECT_EQ(!!IsCharUpper(c), s.upper) << int(s.ch);
        EXPECT_EQ(!!IsCharLower(c), s.lower) << int(s.ch);
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(CharUpper(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(s.ch)))),
                  s.ch) << int(s.ch);
    }
    EXPECT_TRUE(IsCharAlphaNumeric('5'));
    EXPECT_FALSE(IsCharAlphaNumeric('-'));

    char text[] = "Stra\xDF" "e \xE9t\xE9 \xFF\x9C!";
    EXPECT_EQ(CharUpper(text), text);
    EXPECT_STREQ(text, "STRA\xDF" "E \xC9T\xC9 \x9F\x8C!");
    EXPECT_EQ(CharLowerBuff(text, 4), 4u);
    EXPECT_STREQ(text, "stra\xDF" "E \xC9T\xC9 \x9F\x8C!");
    EXPECT_EQ(CharNext(text), text + 1);
    EXPECT_EQ(CharNext(text + std::strlen(text)), text + std::strlen(text));
    EXPECT_EQ(CharPrev(text, text + 3), text + 2);
    EXPECT_EQ(CharPrev(text, text), text);
}

TEST(String, WordSortComparison)
{
    struct Case {
        const char* a;
        const char* b;
        int cmp, cmpi;
    } cases[] = {
        {"a", "A", -1, 0},                           // lower case first, ignored by lstrcmpi
        {"A", "b", -1, -1},
        {"Zebra", "apple", 1, 1},
        {"coop", "co-op", -1, -1},                   // hyphen only breaks the tie
        {"co-op", "cop", -1, -1},
        {"it's", "its", 1, 1},
        {"resume", "r\xE9sum\xE9", -1, -1},           // accent breaks the tie
        {"r\xE9sum\xE9", "resumes", -1, -1},          // but the letters decide first
        {"\xC9" "clair", "\xE9" "clair", 1, 0},
        {"stra\xDF" "e", "strasse", 1, 1},
        {"stra\xDF" "e", "strassf", -1, -1},         // ß sorts as ss
        {"!x", "1", -1, -1},                         // punctuation, then digits, then letters
        {"9", "a", -1, -1},
        {"abc", "abcd", -1, -1},
        {"", "", 0, 0},
        {"\xFE", "z", 1, 1},                         // þ after z
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lstrcmp(c.a, c.b), c.cmp) << c.a << " vs " << c.b;
        EXPECT_EQ(lstrcmp(c.b, c.a), -c.cmp) << c.b << " vs " << c.a;
        EXPECT_EQ(lstrcmpi(c.a, c.b), c.cmpi) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(lstrcmp(nullptr, "a"), -1);
    EXPECT_EQ(lstrcmpi(nullptr, nullptr), 0);
}

TEST(String, CopyAndLength)
{
    char buffer[16];
    EXPECT_EQ(lstrcpyn(buffer, "encyclopedia", 6), buffer);
    EXPECT_STREQ(buffer, "encyc");
    EXPECT_EQ(lstrlen(buffer), 5);
    EXPECT_EQ(lstrlen(nullptr), 0);
    lstrcpy(buffer, "multi");
    EXPECT_STREQ(lstrcat(buffer, "media"), "multimedia");
    EXPECT_EQ(lstrcpy(nullptr, "x"), nullptr);
    EXPECT_EQ(lstrcpyn(buffer, "abc", 1), buffer);
    EXPECT_STREQ(buffer, "");
}

}  // namespace
