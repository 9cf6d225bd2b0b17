// The word search on a slice of the reference disc (the FOLDOC computing dictionary as articles):
// the corpus converts into article sources the disc builder takes, every word of the lists is
// found, and the engine agrees with the oracle on real text.
#include "KeywordTestSupport.h"
#include "ReferenceSlice.h"

#include <set>
#include <string>
#include <vector>

namespace {

class KeywordReferenceTest : public KeywordTest {};

TEST_F(KeywordReferenceTest, TheCorpusBecomesArticlesWithLinksSectionsAndDomains)
{
    const auto& sources = SliceSources();
    ASSERT_EQ(kSlice, sources.size());
    std::size_t links = 0, withCategory = 0, withSenses = 0;
    std::set<std::int32_t> rins;
    for (const discbuilder::ArticleRecordSource& source : sources) {
        EXPECT_TRUE(rins.insert(source.rin).second) << "one article an entry";
        EXPECT_FALSE(source.title.empty());
        links += source.links.size();
        withCategory += source.category > 0;
        withSenses += source.sections.size() > 1;
        for (const discbuilder::RecordLink& link : source.links) {
            const std::int32_t target = std::atoi(link.target.c_str() + 5);
            EXPECT_GE(target, foldoc::kFirstRin) << link.target;
            EXPECT_LT(target, foldoc::kFirstRin + static_cast<std::int32_t>(kSlice)) << link.target;
        }
        EXPECT_NO_THROW(discbuilder::WriteArticleRecord(source)) << source.title;
    }
    EXPECT_GT(links, kSlice / 2) << "cross-references become links";
    EXPECT_GT(withCategory, kSlice / 2) << "domain markers become categories";
    EXPECT_GT(withSenses, 10u) << "numbered senses become sections";
    EXPECT_EQ(1, foldoc::CategoryOfDomain("language"));
    EXPECT_EQ(2, foldoc::CategoryOfDomain("programming, humour"));
    EXPECT_EQ(9, foldoc::CategoryOfDomain("music"));
    EXPECT_EQ(0, foldoc::CategoryOfDomain(""));
}

TEST_F(KeywordReferenceTest, EveryWordOfBothListsIsFound)
{
    OpenIndex(SliceArticles());
    const auto forward = ListWords(m_files.keywordList);
    const auto reverse = ListWords(m_files.reverseKeywordList);
    ASSERT_EQ(m_files.words, forward.size());
    ASSERT_EQ(forward.size(), reverse.size());
    std::set<std::pair<std::string, std::uint32_t>> reversed;
    for (auto [word, first] : reverse)
        reversed.emplace(std::string(word.rbegin(), word.rend()), first);
    std::size_t missing = 0;
    for (const auto& [word, first] : forward) {
        KEYWORD_ENTRY entry;
        if (FindKeyword(word.c_str(), &entry) != 1 || entry.dwFirst != first || word != entry.szWord) {
            if (++missing < 10)
                ADD_FAILURE() << "not found: " << word;
        }
        EXPECT_TRUE(reversed.count({word, first})) << word << " is in the reverse list";
    }
    EXPECT_EQ(0u, missing);
    EXPECT_EQ(0, FindKeyword("ZZZZQQQ", nullptr));
}

TEST_F(KeywordReferenceTest, TheEngineAgreesWithTheOracleOnTheSlice)
{
    const auto articles = SliceArticles();
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    const char* queries[] = {
        "language", "programming language", "\"programming language\"", "compiler and language",
        "unix or linux", "memory without cache", "\"operating system\"", "\"@computer program\"",
        "source andw1 code", "data andp structure", "network andh protocol", "software anda hardware",
        "A1990D", "A1995D or A1996D", "language /d1", "(unix or c) and (program or system)", "ibm withouts pc",
        "jargon file", "\"the jargon file\"", "algol nearw3 language", "standard &p3 ansi",
        "assembly withoutp language", "protocol /d8", "the",
    };
    for (const char* query : queries)
        ExpectOracleAgrees(oracle, query);
}

}  // namespace
