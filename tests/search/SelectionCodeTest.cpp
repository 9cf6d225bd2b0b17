// The selection codes of the Dido Dovov: built for every era, year and span and read back, the
// codes of the index's periods, and the texts that are no code.
#include "search/SelectionCode.h"

#include <gtest/gtest.h>

namespace {

using namespace selection_code;

TEST(SelectionCodeTest, EveryCodeReadsBackAsItsSpanAndFirstYear)
{
    int nCases = 0, nStartAtZero = 0;
    for (bool ad : {true, false}) {
        for (int year = 0; year <= kMaxYear; ++year) {
            for (int span = kYear; span <= kMillennium; ++span) {
                ++nCases;
                const std::string code = BuildSelectionCode(ad, year, span);
                Period period;
                ASSERT_TRUE(ParseSelectionCode(code, period)) << code;
                const int unit = span == kYear ? 1 : span == kDecade ? 10 : span == kCentury ? 100 : 1000;
                ASSERT_EQ((Period{ad, year / unit * unit, span}), period) << code << " from " << year << " span " << span;
                // Every year of the span gives the same code.
                ASSERT_EQ(code, BuildSelectionCode(ad, year / unit * unit + unit - 1, span));
                if (code.size() > 1 && code[1] == '#')
                    ++nStartAtZero;
            }
        }
    }
    EXPECT_EQ(80000, nCases);
    EXPECT_EQ(2220, nStartAtZero) << "the spans that start at year 0: a '#' in the first digit";
}

TEST(SelectionCodeTest, CodesOfTheTimeMachine)
{
    struct Case {
        bool ad;
        int year;
        int span;
        const char* code;
    };
    const Case cases[] = {
        {true, 1492, kYear, "A1492D"},    {true, 1995, kDecade, "A199#D"},  {true, 1955, kCentury, "A19#0D"},
        {true, 1990, kMillennium, "A1#00D"}, {false, 500, kDecade, "B50#C"}, {true, 90, kDecade, "A9#D"},
        {true, 999, kMillennium, "A#00D"},  {true, 5, kDecade, "A#D"},      {true, 42, kCentury, "A#0D"},
        {true, 0, kYear, "A0D"},             {false, 55, kYear, "B55C"},     {true, 9999, kMillennium, "A9#00D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, BuildSelectionCode(c.ad, c.year, c.span));
        Period period;
        ASSERT_TRUE(ParseSelectionCode(c.code, period)) << c.code;
        EXPECT_EQ(c.span, period.span) << c.code;
        EXPECT_EQ(c.ad, period.ad) << c.code;
    }
    EXPECT_EQ("", BuildSelectionCode(true, 10000, kYear));
    EXPECT_EQ("", BuildSelectionCode(true, -1, kYear));
    EXPECT_EQ("", BuildSelectionCode(true, 1990, 4));
}

TEST(SelectionCodeTest, TextsThatAreNoCodeLeaveThePeriodAlone)
{
    for (const char* text : {"", "A", "AD", "tf:", "hello", "A1#2#D", "A#000D", "C1990D", "A1990X", "A19a0D", "A12345D",
                             "a1990d", "A##D", "A#0#D"}) {
        Period period{false, 77, kCentury};
        EXPECT_FALSE(ParseSelectionCode(text, period)) << text;
        EXPECT_EQ((Period{false, 77, kCentury}), period) << text;
    }
}

TEST(SelectionCodeTest, ADateWordGivesItsDecadeCenturyAndMillennium)
{
    EXPECT_EQ((std::vector<std::string>{"A199#D", "A19#0D", "A1#00D"}), PeriodCodesOf("A1995D"));
    EXPECT_EQ((std::vector<std::string>{"B5#C", "B#0C", "B#00C"}), PeriodCodesOf("B55C"));
    EXPECT_EQ((std::vector<std::string>{"A#D", "A#0D", "A#00D"}), PeriodCodesOf("A7D"));
    for (const char* word : {"A199#D", "AVIATION", "1995", "A1995C", "B1995D", ""})
        EXPECT_TRUE(PeriodCodesOf(word).empty()) << word;
}

}  // namespace
