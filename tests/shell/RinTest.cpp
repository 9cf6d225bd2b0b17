#include "base/Rin.h"

#include "ShellTestSupport.h"

#include <gtest/gtest.h>

namespace {

// fn must throw a CRinException with the cause given.
template <typename Fn>
void ExpectRinException(Fn fn, LONG cause, const char* what)
{
    SCOPED_TRACE(what);
    ExpectThrows<CRinException>(fn, [cause](CRinException* e) { EXPECT_EQ(cause, e->m_cause); });
}

TEST(MatchDigitPattern, Cases)
{
    struct Case {
        const char* pattern;
        const char* text;
        BOOL match;
    } cases[] = {
        {"pc######", "pc012345", TRUE},  {"pc######", "pc01234", FALSE},
        {"pc######", "pc0123456", FALSE}, {"pc######", "PC012345", FALSE},
        {"pc######", "pc01234x", FALSE},  {"######", "000042", TRUE},
        {"", "", TRUE},                   {"#", "", FALSE},
        {"", "1", FALSE},                 {"0#1######", "011000000", TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.match, MatchDigitPattern(c.pattern, c.text)) << c.pattern << " / " << c.text;
}

// Every row of the kind table: a RIT text, the number it parses to, the row's kind code, icon and
// the flag tests.
TEST(Rin, KindTableBothWays)
{
    struct Case {
        const char* rit;
        DWORD number;
        LONG kindCode;
        WORD icon;
        bool text, media, picture, map, video, sound, sim, web, update, vr, anim, movie;
    } cases[] = {
        {"000042", 42, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"pc012345", 1012345, 2, 4032, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"lr000001", 2000001, 3, 4032, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"mp000007", 3000007, 4, 143, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
        {"am000123", 4010123, 5, 4030, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1},
        {"vd009999", 4029999, 6, 4031, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1},
        {"si000005", 4030005, 7, 4033, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0},
        {"qr000010", 4040010, 8, 4035, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1},
        {"bu000011", 4050011, 9, 4035, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"tm000012", 4060012, 10, 330, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"yb000013", 5000013, 11, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"au000014", 6000014, 12, 187, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
        {"sy000015", 7000015, 13, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"ma000016", 8000016, 14, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"in999999", 9999999, 15, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"ws000042", 100000042, 16, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0},
        {"up000043", 101000043, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rit);
        CRin rin(c.rit, FALSE);
        EXPECT_EQ(c.number, rin.GetNumber());
        EXPECT_EQ(row, rin.GetKindIndex());
        EXPECT_FALSE(rin.IsOnline());
        EXPECT_STREQ(c.rit, rin.FormatRit());
        EXPECT_EQ(c.kindCode, rin.GetKindCode());
        EXPECT_EQ(c.icon, rin.GetKindIconId());
        EXPECT_EQ(c.text, !!rin.IsArticleText());
        EXPECT_EQ(c.media, !!rin.IsMedia());
        EXPECT_EQ(c.picture, !!rin.IsPicture());
        EXPECT_EQ(c.map, !!rin.IsMap());
        EXPECT_EQ(c.video, !!rin.IsVideo());
        EXPECT_EQ(c.sound, !!rin.IsSound());
        EXPECT_EQ(c.sim, !!rin.IsSimulation());
        EXPECT_EQ(c.web, !!rin.IsWebSite());
        EXPECT_EQ(c.update, !!rin.IsUpdate());
        EXPECT_EQ(c.vr, !!rin.IsVirtualReality());
        EXPECT_EQ(c.anim, !!rin.IsAnimation());
        EXPECT_EQ(c.movie, !!rin.IsMovie());

        // The online counterpart falls in the same row and formats to the same text.
        CRin online(c.rit, TRUE);
        EXPECT_EQ(c.number + RIN_ONLINE_OFFSET, online.GetNumber());
        EXPECT_TRUE(online.IsOnline());
        EXPECT_EQ(row, online.GetKindIndex());
        EXPECT_STREQ(c.rit, online.FormatRit());
        ++row;
    }
    EXPECT_EQ('\0', g_rinKinds[row].szRinPattern[0]);
}

TEST(Rin, BadTextThrowsCauseZero)
{
    for (const char* text : {"pc01234", "pc0123456", "PC012345", "00042", "0000042", "", "xx000001",
                             "am12345", "pc01234a"}) {
        ExpectRinException([&] { CRin rin(text, FALSE); }, CRinException::badText, text);
        ExpectRinException([&] { CRin rin(text, TRUE); }, CRinException::badText, text);
    }
}

TEST(Rin, NumbersOutsideTheTableThrowCauseOne)
{
    for (DWORD number : {4000000u, 4009999u, 4070000u, 4999999u, 14000000u, 14070000u, 1000000000u,
                         4294967295u, 102000000u, 200000000u}) {
        CRin rin(number);
        std::string what = std::to_string(number);
        ExpectRinException([&] { rin.GetKindIndex(); }, CRinException::badNumber, what.c_str());
        ExpectRinException([&] { rin.FormatRit(); }, CRinException::badNumber, what.c_str());
        ExpectRinException([&] { rin.GetKindCode(); }, CRinException::badNumber, what.c_str());
        ExpectRinException([&] { rin.IsMovie(); }, CRinException::badNumber, what.c_str());
        EXPECT_EQ(number, rin.GetNumber());
    }
}

TEST(Rin, CopiesAndRuntimeClass)
{
    CRin a(1012345), b;
    b = a;
    EXPECT_EQ(1012345u, b.GetNumber());
    CRin c(b);
    c.Assign(CRin(11012345));
    EXPECT_EQ(11012345u, c.GetNumber());
    EXPECT_STREQ("pc012345", c.FormatRit());
    EXPECT_STREQ("CRin", c.GetRuntimeClass()->m_lpszClassName);
    EXPECT_FALSE(c.IsSerializable());

    CRinException* e = new CRinException(CRinException::badNumber);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ("CRinException", e->GetRuntimeClass()->m_lpszClassName);
    char szText[128];
    EXPECT_TRUE(e->GetErrorMessage(szText, sizeof szText));
    e->Delete();
}

}  // namespace
