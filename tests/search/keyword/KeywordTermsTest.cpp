// The term rules that the index writer and the query side share, and the writer's file layouts
// that the engine relies on (TITLELNK.DAT records, list pages, front-coded master keys).
#include "search/KeywordTokenizer.h"

#include <KeywordIndexWriter.h>
#include <TitleLinkWriter.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using keyword_terms::NormalizeTerm;

TEST(KeywordTermsTest, WordsAreLookedUpInTheirNormalForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"U.S.A.", "USA"},  {"3.5", "3.5"},       {"volcano's", "VOLCANO"}, {"Jones'", "JONES"},
        {"caf\xE9", "CAFE"}, {"CAF\xC9", "CAFE"}, {"na\xEFve", "NAIVE"},    {"\xC5ngstr\xF6m", "ANGSTROM"},
        {"O'Keeffe's", "O'KEEFFE"}, {"e.g.", "EG"}, {"1990's", "1990"},     {"A1.5", "A1.5"}, {"A1.", "A1"},
    };
    for (const auto& [raw, normal] : cases)
        EXPECT_EQ(normal, NormalizeTerm(raw, std::strlen(raw))) << raw;
}

// What the writer indexes is what a query looks up: text without the characters that only a
// query gives a meaning ("(", "?", "*", "#") splits into the same words on both sides.
TEST(KeywordTermsTest, TheWriterAndTheQuerySplitTextAlike)
{
    for (const char* text : {"AT&T and R&D at K&R's lab", "Q & A, A&-B, &x, y&", "U.S.A. 3.5% of $50 -7 1,000.25",
                             "O'Keeffe's caf\xE9 & b\xE4r; 12:30 p.m.", "state-of-the-art A1. T&E/2"}) {
        SCOPED_TRACE(text);
        std::vector<std::string> written;
        for (const auto& token : keyword_terms::TokenizeText(text))
            written.push_back(token.word);
        std::vector<std::string> queried;
        size_t pos = keyword_terms::NextTermStart(text, 0, false);
        while (text[pos] != '\0') {
            int length = 0;
            ASSERT_EQ(1, NextTermLength(text, static_cast<int>(pos), &length));
            queried.push_back(NormalizeTerm(text + pos, static_cast<size_t>(length)));
            pos = keyword_terms::NextTermStart(text, pos + static_cast<size_t>(length), false);
        }
        EXPECT_EQ(queried, written);
    }
}

TEST(KeywordTermsTest, QueryTokensFollowTheTermRules)
{
    struct Case {
        const char* text;
        int pos;
        int length;  // 0: no token begins there
    };
    const Case cases[] = {
        {"COFFEE CUP", 0, 6}, {"U.S.A. TODAY", 0, 6}, {"COMP* X", 0, 5},     {"#5", 0, 2},        {"19## X", 0, 4},
        {"3.5 CM", 0, 3},     {"1,000,000 X", 0, 9},  {"3. X", 0, 1},        {"$50 X", 0, 3},     {"+7 X", 0, 2},
        {"A -5 X", 2, 2},     {"A-5", 1, 0},          {"(CAT OR (DOG)) X", 0, 14}, {"'TIS", 0, 0}, {"AT&T", 0, 4},
        {"50% OFF", 0, 3},    {"CAF\xC9 X", 0, 4},    {"\xA9X", 0, 0},
    };
    for (const Case& c : cases) {
        int length = -1;
        EXPECT_EQ(c.length > 0 ? 1 : 0, NextTermLength(c.text, c.pos, &length)) << c.text;
        EXPECT_EQ(c.length, length) << c.text;
    }
}

TEST(KeywordTermsTest, ArticleTextIsReadWithTheSameRules)
{
    struct Case {
        const char* text;
        std::vector<std::string> words;
        std::vector<bool> sentenceEnds;
    };
    const Case cases[] = {
        {"Hot caf\xE9, cold tea.", {"HOT", "CAFE", "COLD", "TEA"}, {false, false, false, true}},
        {"The U.S.A. grew. Fast!", {"THE", "USA", "GREW", "FAST"}, {false, true, true, true}},
        {"Pi is 3.14. Next", {"PI", "IS", "3.14", "NEXT"}, {false, false, true, false}},
        {"AT&T (a firm) won? Yes", {"AT&T", "A", "FIRM", "WON", "YES"}, {false, false, false, true, false}},
        {"R&D at K&R's, Q & A", {"R&D", "AT", "K&R", "Q", "A"}, {false, false, false, false, false}},
        {"x*y #5 state-of-the-art", {"X", "Y", "5", "STATE", "OF", "THE", "ART"}, {false, false, false, false, false, false, false}},
        {"caf\xA9\xE9", {"CAF", "E"}, {false, false}},
    };
    for (const Case& c : cases) {
        const auto tokens = keyword_terms::TokenizeText(c.text);
        std::vector<std::string> words;
        std::vector<bool> ends;
        for (const auto& t : tokens) {
            words.push_back(t.word);
            ends.push_back(t.endsSentence);
        }
        EXPECT_EQ(c.words, words) << c.text;
        EXPECT_EQ(c.sentenceEnds, ends) << c.text;
    }
    // Offsets and lengths cover the word in the text, without a sentence's full stop.
    const auto tokens = keyword_terms::TokenizeText("Rome fell.");
    ASSERT_EQ(2u, tokens.size());
    EXPECT_EQ(5u, tokens[1].offset);
    EXPECT_EQ(4u, tokens[1].length);
}

TEST(KeywordTermsTest, YearMentionsAddTheirDateWord)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"in 1969 men", {"", "A1969D", ""}},
        {"753 BC", {"B753C", ""}},
        {"44 B.C. here", {"B44C", "", ""}},
        {"79 AD", {"A79D", ""}},
        {"476 A.D.", {"A476D", ""}},
        {"99 bottles", {"", ""}},
        {"2100 and 100", {"", "", "A100D"}},
        {"1,969 3.1969 0150 $1969", {"", "", "", ""}},
    };
    for (const auto& [text, dates] : cases) {
        const auto tokens = keyword_terms::TokenizeText(text);
        ASSERT_EQ(dates.size(), tokens.size()) << text;
        for (size_t i = 0; i < tokens.size(); ++i)
            EXPECT_EQ(dates[i], keyword_terms::DateWordAt(tokens, i)) << text << " token " << i;
    }
}

TEST(KeywordTermsTest, WordPositionsCarryIntoTheNextUnitAndKeepRising)
{
    keyword_terms::WordPositionCounter counter(3);
    EXPECT_EQ(0x03000000u, counter.Next());
    EXPECT_EQ(0x03000001u, counter.Next());
    counter.EndSentence();
    EXPECT_EQ(0x03000100u, counter.Next());
    counter.EndParagraph();
    EXPECT_EQ(0x03004000u, counter.Next());
    std::uint32_t last = 0x03004000u;
    for (int i = 0; i < 300; ++i) {  // 256 words carry into the next sentence
        std::uint32_t p = counter.Next();
        EXPECT_GT(p, last);
        last = p;
    }
    EXPECT_EQ(0x03004100u + 300 - 256 + 1 - 1, last);
    for (int s = 0; s < 70; ++s) {  // 64 sentences carry into the next paragraph
        counter.EndSentence();
        std::uint32_t p = counter.Next();
        EXPECT_GT(p, last);
        last = p;
    }
    EXPECT_EQ(2u, (last >> 14) & 0x3FF);
}

TEST(KeywordTermsTest, TitleLinkRecordsStartOnTwelveByteBoundaries)
{
    const discbuilder::TitleLinkTable table = discbuilder::BuildTitleLinkTable(
        {{1001, -1, "Aviation"}, {0x123456, -1, "A title of twenty bytes"}, {1003, 0, "Part"}});
    ASSERT_EQ((std::vector<std::uint16_t>{1, 3, 6}), table.articleNumbers);
    EXPECT_EQ(0u, table.bytes.size() % 12);
    EXPECT_EQ(std::string(12, '\0'), table.bytes.substr(0, 12)) << "the dummy record";
    const std::string second = table.bytes.substr(36, 36);
    EXPECT_EQ(std::string("\x56\x34\x12\x00\x00\x00", 6), second.substr(0, 6));
    EXPECT_EQ("A title of twenty bytes\n", second.substr(6, 24));
    const std::string part = table.bytes.substr(72, 12);
    EXPECT_EQ(std::string("\xEB\x03\x00\x00\x01\x00Part\n\0\0", 12), part) << "a part names its parent's number";

    EXPECT_THROW(discbuilder::BuildTitleLinkTable({{1, -1, std::string(255, 'x')}}), std::invalid_argument);
    EXPECT_THROW(discbuilder::BuildTitleLinkTable({{1, -1, "two\nlines"}}), std::invalid_argument);
    EXPECT_THROW(discbuilder::BuildTitleLinkTable({{1, 0, "its own parent"}}), std::invalid_argument);
    EXPECT_THROW(discbuilder::BuildTitleLinkTable({{0x1000000, -1, "RIN too large"}}), std::invalid_argument);
}

TEST(KeywordTermsTest, ListEntriesNeverSpanPagesAndKeysAreTheLastWordOfEachPage)
{
    // Words of 60 letters: 68 bytes an entry, 15 to a page.
    std::vector<discbuilder::IndexedArticle> articles(1);
    articles[0].rin = 1;
    articles[0].title = "Long words";
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += std::string(58, 'q') + static_cast<char>('a' + i / 26) + static_cast<char>('a' + i % 26) + " ";
    articles[0].sections = {{text}};
    const discbuilder::KeywordIndexFiles files = discbuilder::BuildKeywordIndex(articles, {});
    ASSERT_EQ(40u, files.words);
    ASSERT_EQ(3u * 1024, files.keywordList.size());
    ASSERT_EQ(3u * 6, files.masterIndex.size());
    for (int page = 0; page < 3; ++page) {
        const std::string p = files.keywordList.substr(page * 1024u, 1024);
        size_t offset = 0, entries = 0;
        while (offset <= 1016 && p[offset + 6] != 0) {
            const size_t length = static_cast<unsigned char>(p[offset + 6]);
            ASSERT_LE(offset + 8 + length, 1024u);
            ASSERT_EQ('\0', p[offset + 7 + length]);
            offset += 8 + length;
            ++entries;
        }
        EXPECT_EQ(page < 2 ? 15u : 10u, entries);
    }
    // Key 0 is fresh; the next keys share the 58 q's and the first letter with the key before
    // them, as far as that (shortened) key reaches.
    EXPECT_EQ(0, files.masterIndex[0]);
    EXPECT_EQ(std::string("QQQQQ"), files.masterIndex.substr(1, 5));
    EXPECT_EQ(5, files.masterIndex[6]);
    EXPECT_EQ(10, files.masterIndex[12]) << "the shared prefix ends where the previous key ends";
    EXPECT_EQ(40u, files.occurrences.size() / 10 - 1) << "one record a word, then the end record";
    EXPECT_EQ(std::string(10, '\0'), files.occurrences.substr(files.occurrences.size() - 10));
}

}  // namespace
