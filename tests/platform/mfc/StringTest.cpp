#include <afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(const CString& s) { return std::string(static_cast<LPCSTR>(s), static_cast<size_t>(s.GetLength())); }

}  // namespace

TEST(CString, ConstructionAndBasics)
{
    EXPECT_EQ(Bytes(CString()), "");
    EXPECT_EQ(Bytes(CString('x', 3)), "xxx");
    EXPECT_EQ(Bytes(CString('x', 0)), "");
    EXPECT_EQ(Bytes(CString("abc")), "abc");
    EXPECT_EQ(Bytes(CString(static_cast<LPCSTR>(NULL))), "");
    EXPECT_EQ(Bytes(CString("abcdef", 4)), "abcd");
    EXPECT_EQ(Bytes(CString("a\0b", 3)), std::string("a\0b", 3));

    CString s("\xC9t\xE9");
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_EQ(s.GetAt(0), '\xC9');
    EXPECT_EQ(s[2], '\xE9');
    s.SetAt(1, 'T');
    EXPECT_STREQ(s, "\xC9T\xE9");
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
    for (int nIndex : {0, -1}) {
        try {
            s.SetAt(nIndex, 'x');  // nothing is written outside the string
            ADD_FAILURE() << "no exception";
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    EXPECT_STREQ(s, "");
}

TEST(CString, IsOnePointerToItsCharacters)
{
    static_assert(sizeof(CString) == sizeof(char*));
    CString s("text");
    EXPECT_EQ(*reinterpret_cast<LPCSTR*>(&s), static_cast<LPCSTR>(s));
}

TEST(CString, AssignmentAndConcatenation)
{
    CString a("one");
    CString b = a;
    b += " two";
    b += '!';
    b += CString(" three");
    EXPECT_EQ(a, "one");
    EXPECT_EQ(b, "one two! three");
    a = a;  // self-assignment keeps the text
    EXPECT_EQ(a, "one");
    a = 'z';
    EXPECT_EQ(a, "z");
    a = static_cast<LPCSTR>(b) + 4;  // assigning from inside another string
    EXPECT_EQ(a, "two! three");
    a = static_cast<LPCSTR>(a) + 5;  // and from inside itself
    EXPECT_EQ(a, "three");
    EXPECT_EQ(CString("x") + "y", "xy");
    EXPECT_EQ("x" + CString("y"), "xy");
    EXPECT_EQ(CString("x") + 'y', "xy");
    EXPECT_EQ('x' + CString("y"), "xy");
    EXPECT_EQ(CString("x") + CString("y"), "xy");
    CString grown;
    for (int i = 0; i < 1000; ++i)
        grown += static_cast<char>('a' + i % 26);
    EXPECT_EQ(grown.GetLength(), 1000);
    EXPECT_EQ(grown.Right(3), "jkl");
}

TEST(CString, ComparisonOperatorsWithEitherSide)
{
    CString abc("abc");
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE(abc != "abd");
    EXPECT_TRUE("abd" != abc);
    EXPECT_TRUE(abc < "abd");
    EXPECT_TRUE("abb" < abc);
    EXPECT_TRUE(abc > "ab");
    EXPECT_TRUE(abc <= "abc");
    EXPECT_TRUE(abc >= CString("abc"));
    EXPECT_TRUE(CString("\xE9") > "z");  // bytes compare unsigned
}

TEST(CString, CaseOperationsFoldTheWesternCodePage)
{
    struct Case {
        const char* text;
        const char* upper;
        const char* lower;
    } cases[] = {
        {"abcXYZ 09", "ABCXYZ 09", "abcxyz 09"},
        {"\xE9t\xE9", "\xC9T\xC9", "\xE9t\xE9"},                              // e acute
        {"\xE0\xFE\xC0\xDE", "\xC0\xDE\xC0\xDE", "\xE0\xFE\xE0\xFE"},        // a grave, thorn
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},        // s caron, oe, z caron, y diaeresis
        {"\xD7\xF7", "\xD7\xF7", "\xD7\xF7"},                                 // times and divide stay
        {"\xDF\xB5", "\xDF\xB5", "\xDF\xB5"},                                 // sharp s and micro have no capital
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString upper(c.text);
        upper.MakeUpper();
        EXPECT_EQ(Bytes(upper), c.upper);
        CString lower(c.text);
        lower.MakeLower();
        EXPECT_EQ(Bytes(lower), c.lower);
    }
    CString reversed("ab\xE9");
    reversed.MakeReverse();
    EXPECT_EQ(Bytes(reversed), "\xE9" "ba");
}

TEST(CString, CompareFamilies)
{
    struct Case {
        const char* left;
        const char* right;
        int compare;
        int compareNoCase;
    } cases[] = {
        {"abc", "abc", 0, 0},
        {"abc", "ABC", 1, 0},
        {"ABC", "abd", -1, -1},
        {"\xC9T\xC9", "\xE9t\xE9", -1, 0},
        {"\x8A", "\x9A", -1, 0},
        {"\xE9", "f", 1, 1},
        {"ab", "abc", -1, -1},
        {"", "", 0, 0},
        {"\xD7", "\xF7", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.left) + " / " + c.right);
        CString s(c.left);
        EXPECT_EQ(s.Compare(c.right), c.compare);
        EXPECT_EQ(s.Collate(c.right), c.compare);
        EXPECT_EQ(s.CompareNoCase(c.right), c.compareNoCase);
        EXPECT_EQ(s.CollateNoCase(c.right), c.compareNoCase);
    }
}

TEST(CString, Extraction)
{
    CString s("Hello, \xE9t\xE9");
    struct Case {
        CString result;
        const char* expected;
    } cases[] = {
        {s.Left(5), "Hello"},
        {s.Left(0), ""},
        {s.Left(-1), ""},
        {s.Left(99), "Hello, \xE9t\xE9"},
        {s.Right(3), "\xE9t\xE9"},
        {s.Right(99), "Hello, \xE9t\xE9"},
        {s.Right(-2), ""},
        {s.Mid(7), "\xE9t\xE9"},
        {s.Mid(7, 1), "\xE9"},
        {s.Mid(-3, 2), "He"},
        {s.Mid(8, 99), "t\xE9"},
        {s.Mid(99), ""},
        {s.Mid(2, -1), ""},
        {s.SpanIncluding("HeloH"), "Hello"},
        {s.SpanIncluding("xyz"), ""},
        {s.SpanExcluding(",\xE9"), "Hello"},
        {s.SpanExcluding("\xE9"), "Hello, "},
        {s.SpanExcluding("q"), "Hello, \xE9t\xE9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(c.result), c.expected);
}

TEST(CString, FindFamily)
{
    CString s("ab\xE9" "cab\xE9");
    struct Case {
        int result;
        int expected;
    } cases[] = {
        {s.Find('a'), 0},
        {s.Find('\xE9'), 2},
        {s.Find('\xE9', 3), 6},
        {s.Find('\xE9', 7), -1},
        {s.Find('z'), -1},
        {s.Find("b\xE9"), 1},
        {s.Find("b\xE9", 2), 5},
        {s.Find("b\xE9", 6), -1},
        {s.Find(""), 0},
        {s.Find("", 7), 7},
        {s.Find("", 8), -1},
        {s.Find('a', -5), 0},
        {s.ReverseFind('\xE9'), 6},
        {s.ReverseFind('a'), 4},
        {s.ReverseFind('z'), -1},
        {s.FindOneOf("c\xE9"), 2},
        {s.FindOneOf("xyz"), -1},
        {s.FindOneOf(""), -1},
        {CString().Find('a'), -1},
        {CString().Find(""), 0},
    };
    int i = 0;
    for (const Case& c : cases)
        EXPECT_EQ(c.result, c.expected) << "case " << i++;
}

TEST(CString, TrimFamily)
{
    struct Case {
        const char* text;
        void (*trim)(CString&);
        const char* expected;
    } cases[] = {
        {" \t\r\n\v\fx y \t\r\n", [](CString& s) { s.TrimLeft(); }, "x y \t\r\n"},
        {" \t\r\nx y \t\r\n\v\f", [](CString& s) { s.TrimRight(); }, " \t\r\nx y"},
        {"  x  ", [](CString& s) { s.Trim(); }, "x"},
        {"\xA0x\xA0", [](CString& s) { s.Trim(); }, "\xA0x\xA0"},  // no-break space is not white space
        {"   ", [](CString& s) { s.TrimLeft(); }, ""},
        {"   ", [](CString& s) { s.TrimRight(); }, ""},
        {"xxaxx", [](CString& s) { s.TrimLeft('x'); }, "axx"},
        {"xxaxx", [](CString& s) { s.TrimRight('x'); }, "xxa"},
        {"\xE9\xE9" "a\xE9", [](CString& s) { s.TrimLeft('\xE9'); }, "a\xE9"},
        {"-=a=-", [](CString& s) { s.TrimLeft("=-"); }, "a=-"},
        {"-=a=-", [](CString& s) { s.TrimRight("=-"); }, "-=a"},
        {"-=a=-", [](CString& s) { s.TrimRight(""); }, "-=a=-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString s(c.text);
        c.trim(s);
        EXPECT_EQ(Bytes(s), c.expected);
    }
}

TEST(CString, EditingOperations)
{
    struct Case {
        const char* text;
        int (*edit)(CString&);
        int result;
        const char* expected;
    } cases[] = {
        {"a.b.c", [](CString& s) { return s.Replace('.', '/'); }, 2, "a/b/c"},
        {"a.b.c", [](CString& s) { return s.Replace('.', '.'); }, 0, "a.b.c"},
        {"aXXbXXc", [](CString& s) { return s.Replace("XX", "\xE9\xE9\xE9"); }, 2, "a\xE9\xE9\xE9" "b\xE9\xE9\xE9" "c"},
        {"aaaa", [](CString& s) { return s.Replace("aa", "a"); }, 2, "aa"},
        {"abc", [](CString& s) { return s.Replace("b", ""); }, 1, "ac"},
        {"abc", [](CString& s) { return s.Replace("b", NULL); }, 1, "ac"},
        {"abc", [](CString& s) { return s.Replace("", "x"); }, 0, "abc"},
        {"abc", [](CString& s) { return s.Replace("z", "x"); }, 0, "abc"},
        {"a-b-c-", [](CString& s) { return s.Remove('-'); }, 3, "abc"},
        {"abc", [](CString& s) { return s.Remove('z'); }, 0, "abc"},
        {"abc", [](CString& s) { return s.Insert(1, 'X'); }, 4, "aXbc"},
        {"abc", [](CString& s) { return s.Insert(-4, "XY"); }, 5, "XYabc"},
        {"abc", [](CString& s) { return s.Insert(99, "XY"); }, 5, "abcXY"},
        {"abc", [](CString& s) { return s.Insert(1, ""); }, 3, "abc"},
        {"abcdef", [](CString& s) { return s.Delete(1, 2); }, 4, "adef"},
        {"abcdef", [](CString& s) { return s.Delete(4, 99); }, 4, "abcd"},
        {"abcdef", [](CString& s) { return s.Delete(2); }, 5, "abdef"},
        {"abcdef", [](CString& s) { return s.Delete(9, 1); }, 6, "abcdef"},
        {"abcdef", [](CString& s) { return s.Delete(0, 0); }, 6, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString s(c.text);
        EXPECT_EQ(c.edit(s), c.result);
        EXPECT_EQ(Bytes(s), c.expected);
        EXPECT_EQ(static_cast<int>(std::strlen(s)), s.GetLength());
    }
}

TEST(CString, Format)
{
    CString name("Z\xFCrich");
    CString s;
    struct Case {
        void (*format)(CString&, const CString&);
        const char* expected;
    } cases[] = {
        {[](CString& r, const CString&) { r.Format("%d|%5d|%-4d|%05d", -12, 34, 5, 67); }, "-12|   34|5   |00067"},
        {[](CString& r, const CString&) { r.Format("%u %x %X %o", 4000000000u, 255, 255, 8); }, "4000000000 ff FF 10"},
        {[](CString& r, const CString&) { r.Format("%ld %lu %lx", 70000L, 70000UL, 0xABCDL); }, "70000 70000 abcd"},
        {[](CString& r, const CString&) { r.Format("%I64d %I64u", -9000000000LL, 9000000000ULL); }, "-9000000000 9000000000"},
        {[](CString& r, const CString&) { r.Format("%.2f %e %g", 3.14159, 1500.0, 0.5); }, "3.14 1.500000e+03 0.5"},
        {[](CString& r, const CString&) { r.Format("%c%c%hc", 'a', '\xE9', 'b'); }, "a\xE9" "b"},
        {[](CString& r, const CString&) { r.Format("[%s] [%hs] [%5s] [%-5s] [%.2s]", "ab", "cd", "ef", "gh", "ijk"); },
         "[ab] [cd] [   ef] [gh   ] [ij]"},
        {[](CString& r, const CString& n) { r.Format("Hello %s!", n); }, "Hello Z\xFCrich!"},
        {[](CString& r, const CString& n) { r.Format("%s/%s/%d", n, CString("x"), 3); }, "Z\xFCrich/x/3"},
        {[](CString& r, const CString& n) { r.Format("%s", n + "." + n); }, "Z\xFCrich.Z\xFCrich"},
        {[](CString& r, const CString&) {
             char buf[] = "array";
             r.Format("%s %s", buf, static_cast<LPCSTR>(buf) + 2);
         },
         "array ray"},
        {[](CString& r, const CString&) { r.Format("100%% %s", ""); }, "100% "},
        {[](CString& r, const CString&) { r.Format("%*d|%.*f", 4, 7, 1, 2.25); }, "   7|2.2"},
        {[](CString& r, const CString&) { r.Format(""); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        c.format(s, name);
        EXPECT_EQ(Bytes(s), c.expected);
    }
}

TEST(CString, FormatIntoItselfAndLongText)
{
    CString s("abc");
    s.Format("%s-%s", s, s);
    EXPECT_EQ(s, "abc-abc");
    CString big('q', 5000);
    s.Format("<%s>", big);
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Left(3), "<qq");
}

namespace {
CString FormatVHelper(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    CString s;
    s.FormatV(lpszFormat, args);
    va_end(args);
    return s;
}
}  // namespace

TEST(CString, FormatV) { EXPECT_EQ(FormatVHelper("%s=%d", "x", 5), "x=5"); }

TEST(CString, GetBufferAndReleaseBuffer)
{
    CString s("abc");
    LPSTR p = s.GetBuffer(10);
    EXPECT_STREQ(p, "abc");
    EXPECT_GE(s.GetAllocLength(), 10);
    std::strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456789");
    EXPECT_EQ(s.GetLength(), 10);

    p = s.GetBuffer(0);
    p[3] = '\0';
    s.ReleaseBuffer();  // up to the first zero byte
    EXPECT_EQ(Bytes(s), "012");

    p = s.GetBuffer(20);
    std::memcpy(p, "abcdefgh", 8);
    s.ReleaseBuffer(5);  // an explicit length
    EXPECT_EQ(Bytes(s), "abcde");
    s.FreeExtra();
    EXPECT_EQ(s.GetAllocLength(), 5);
    EXPECT_EQ(Bytes(s), "abcde");

    CString empty;
    p = empty.GetBuffer(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(*p, '\0');
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());

    CString sized;
    p = sized.GetBufferSetLength(4);
    std::memcpy(p, "wxyz", 4);
    sized.ReleaseBuffer();
    EXPECT_EQ(sized, "wxyz");
    p = sized.GetBufferSetLength(2);
    EXPECT_EQ(Bytes(sized), "wx");
    EXPECT_EQ(p[2], '\0');

    CString locked("locked");
    p = locked.LockBuffer();
    p[0] = 'L';
    CString copy = locked;
    locked.UnlockBuffer();
    EXPECT_EQ(copy, "Locked");
}

TEST(CString, ResourceStringsGoThroughTheLoader)
{
    CString s;
    AFX_STRING_LOADER previous = AfxSetStringLoader(NULL);
    EXPECT_FALSE(s.LoadString(7));
    AfxSetStringLoader([](UINT nID, CString& r) -> BOOL {
        if (nID != 7)
            return FALSE;
        r = "seven %d";
        return TRUE;
    });
    EXPECT_TRUE(s.LoadString(7));
    EXPECT_EQ(s, "seven %d");
    EXPECT_FALSE(s.LoadString(8));
    CString fromId(reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(7)));
    EXPECT_EQ(fromId, "seven %d");
    CString formatted;
    formatted.Format(7u, 7);
    EXPECT_EQ(formatted, "seven 7");
    AfxSetStringLoader(previous);
}

namespace {
CString FormatMessageVHelper(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    CString s;
    s.FormatMessageV(lpszFormat, &args);
    va_end(args);
    return s;
}
}  // namespace

TEST(CString, FormatMessage)
{
    CString name("M\xFCller");
    struct Case {
        CString result;
        const char* expected;
    } cases[] = {
        {[&] { CString s; s.FormatMessage("%1 and %2", "one", name); return s; }(), "one and M\xFCller"},
        {[&] { CString s; s.FormatMessage("%2 before %1", "one", "two"); return s; }(), "two before one"},
        {[&] { CString s; s.FormatMessage("%1!5d!|%2!-4s!|%3!x!", 42, "ab", 255u); return s; }(), "   42|ab  |ff"},
        {[&] { CString s; s.FormatMessage("%1!.2f! %1!e!", 2.5); return s; }(), "2.50 2.500000e+00"},
        {[&] { CString s; s.FormatMessage("line%nnext%ttab%rcr"); return s; }(), "line\r\nnext\ttab\rcr"},
        {[&] { CString s; s.FormatMessage("100%% done%. %!% x"); return s; }(), "100% done. ! x"},
        {[&] { CString s; s.FormatMessage("cut%0 here"); return s; }(), "cut"},
        {[&] { CString s; s.FormatMessage("%1 %3", "a"); return s; }(), "a "},
        {[&] { CString s; s.FormatMessage("%1!d! %2", -7, 12); return s; }(), "-7 12"},
        {[&] { CString s; s.FormatMessage("%10", 1, 2, 3, 4, 5, 6, 7, 8, 9, "ten"); return s; }(), "ten"},
        {FormatMessageVHelper("%2!d!-%1-%3!.1f!-%4!I64d!", "x", 5, 1.25, -8000000000LL), "5-x-1.2--8000000000"},
        {FormatMessageVHelper("%2 %1", "b", "a"), "a b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(c.result), c.expected);
}
