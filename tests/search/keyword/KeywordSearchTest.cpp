// Word search round trips: articles -> the disc builder's keyword index -> the engine, against the
// oracle's plain scan of the same texts, on a fixture that has every kind of word and on the
// sample disc.
#include "KeywordTestSupport.h"

#include <ArticleSource.h>
#include <PictureItemSource.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <string>
#include <vector>

namespace {

// Articles with sections, paragraphs and sentences, tables, domains, year mentions, accented
// words (Windows-1252) and drop words.
std::vector<discbuilder::IndexedArticle> FixtureArticles()
{
    return {
        MakeArticle(1001, "Volcano",
                    {{"A volcano is an opening in the crust. Hot lava and ash escape from the volcano when it erupts.",
                      "The eruption of Vesuvius in 79 AD buried Pompeii. Another famous eruption came in 1883 at Krakatoa."},
                     {"Lava cools into rock. Ash falls far from the crater, and the crater may collapse into a caldera."}},
                    {{"Volcano | Height | Last eruption", "Vesuvius | 1281 | 1944", "Krakatoa | 813 | 2020"}}, 3),
        MakeArticle(1002, "Caf\xE9 culture",
                    {{"A caf\xE9 serves coffee. The Caf\xC9 de Flore opened in 1887 in Paris; writers met there.",
                      "Coffee reached Europe from Arabia. Hot coffee and cold water were served together."},
                     {"U.S.A. coffee culture grew after 1950. The diner's coffee was cheap at 3.5 cents a cup."}},
                    {}, 2),
        MakeArticle(1003, "Ancient Rome",
                    {{"Rome was founded in 753 BC, tradition says. Julius Caesar died in 44 B.C. at Rome.",
                      "The eruption of Vesuvius destroyed towns near Rome. Lava and ash covered the coast."},
                     {"The empire fell in 476 AD. Rome's later history runs to 1870, when Rome became a capital."}},
                    {{"Emperor | Reign", "Augustus | 27 BC to 14 AD"}}, 3),
        MakeArticle(1004, "Coffee",
                    {{"Coffee is a drink made from roasted beans. Coffee houses spread through Europe in the 1600s.",
                      "The R&D staff of AT&T drank coffee by the litre; K&R wrote C there.",
                      "Cold brew coffee is steeped in cold water. Hot water extracts coffee faster."}},
                    {}, 2),
        MakeArticle(1005, "Na\xEFve art",
                    {{"Na\xEFve painters work without formal training. Their caf\xE9 scenes and volcano views are bright.",
                      "A sentence with the volcano and lava and ash and coffee all together."}}),
    };
}

class KeywordSearchTest : public KeywordTest {};

// The index in a table's text of a hit offset, which counts the characters that are not NUL,
// space, TAB, CR or LF (as the table reader converts it).
size_t TableTextIndex(const std::string& text, size_t offset)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\0' && c != ' ' && c != '\t' && c != '\r' && c != '\n' && ++count > offset)
            return i;
    }
    return text.size();
}

// The text area of a source's table t, as its data holds it.
std::string TableTextOf(const discbuilder::ArticleRecordSource& source, size_t t)
{
    const std::string& data = source.tables.at(t).data;
    const size_t length = static_cast<unsigned char>(data[2]) | static_cast<size_t>(static_cast<unsigned char>(data[3])) << 8;
    return data.substr(data.size() - length);
}

TEST_F(KeywordSearchTest, TheEngineAgreesWithTheOracleOnEveryQueryShape)
{
    const auto articles = FixtureArticles();
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    struct Case {
        const char* query;
        bool hits;
    };
    const Case cases[] = {
        // single words, normal forms, accents, numbers
        {"volcano", true}, {"VOLCANO", true}, {"Volcano's", true}, {"cafe", true}, {"caf\xE9", true},
        {"CAF\xC9", true}, {"naive", true}, {"u.s.a.", true}, {"USA", true}, {"3.5", true}, {"1883", true},
        {"diner", true}, {"zebra", false},
        // date words
        {"A1883D", true}, {"A79D", true}, {"B753C", true}, {"B44C", true}, {"A476D", true}, {"A1950D", true},
        {"A14D", true}, {"B27C", true},
        // drop words alone and with words
        {"the", true}, {"the volcano", true}, {"volcano and the", true},
        // and / or / not with the default scope (sentence)
        {"lava and ash", true}, {"lava & ash", true}, {"lava near ash", true}, {"coffee or lava", true},
        {"coffee | zebra", true}, {"zebra or zebu", false}, {"coffee without hot", true}, {"coffee not cold", true},
        {"coffee and zebra", false}, {"zebra without coffee", false}, {"coffee without zebra", true},
        // every scope, with and without a number
        {"coffee andw2 hot", true}, {"coffee nearw hot", true}, {"coffee &w5 water", true},
        {"coffee ands water", true}, {"coffee ands3 water", true}, {"coffee andp water", true},
        {"coffee andp2 europe", true}, {"lava andh crater", true}, {"lava andh2 crater", true},
        {"lava anda caldera", true}, {"vesuvius anda1 caldera", true}, {"coffee withoutw2 hot", true},
        {"coffee withouts water", true}, {"coffee withoutp europe", true}, {"lava withouth crater", true},
        {"rome withouta lava", false}, {"coffee near300 water", true},
        // grouping and De Morgan
        {"(coffee or lava) and hot", true}, {"coffee and (hot or cold)", true}, {"coffee without (hot or cold)", true},
        {"lava and ash or coffee", true}, {"(lava and ash) anda (eruption without krakatoa)", true},
        // adjacent words and phrases
        {"hot coffee", true}, {"coffee hot", true}, {"\"hot coffee\"", true}, {"\"coffee hot\"", false},
        {"\"eruption of vesuvius\"", true}, {"\"the eruption\"", true}, {"\"cold water the\"", true},
        {"(hot or cold) water", true}, {"volcano lava ash", false},
        // "&" inside a word: one word on both sides, its halves are no words
        {"\"AT&T\"", true}, {"\"at&t\"", true}, {"\"r&d staff\"", true}, {"\"K&R\"", true}, {"t", false},
        {"\"AT&T\" and coffee", true},
        // best article
        {"\"@lava ash\"", true}, {"\"@coffee\"", true}, {"\"@rome\"", true},
        // word patterns: forward, reverse, digits, none at either end
        {"volc*", true}, {"*ano", true}, {"caf?", true}, {"coff?e", true}, {"18##", true}, {"erupt*", true},
        {"v?lcano and lava", true}, {"lav* or *ash", true}, {"*ffe*", false}, {"zz*", false}, {"\"hot cof*\"", true},
        // switches: tables only, search domains
        {"vesuvius /t", true}, {"augustus /t", true}, {"coffee /t", false}, {"lava /d3", true}, {"coffee /d2", true},
        {"coffee /d3", false}, {"volcano /d9", false}, {"(lava or coffee) /d2", true},
    };
    for (const Case& c : cases)
        ExpectOracleAgrees(oracle, c.query, c.hits);
}

TEST_F(KeywordSearchTest, HitsPointAtTheWordsInTheirSections)
{
    const auto articles = FixtureArticles();
    OpenIndex(articles);
    struct Case {
        const char* query;
        int section;       // of the first hit
        const char* text;  // what the hit covers in that section's text
    };
    const Case cases[] = {
        {"krakatoa", 0, "Krakatoa"},    {"caldera", 1, "caldera"}, {"cafe", 0, "caf\xE9"},
        {"U.S.A.", 1, "U.S.A"},         {"A1883D", 0, "1883"},     {"vesuvius /t", 200, "Vesuvius"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        std::vector<KEYWORD_OCCURRENCE> records = Records(RunKeywordQuery(c.query));
        ASSERT_FALSE(records.empty());
        const DWORD hit = records[0].dwHitPosition;
        const int section = static_cast<int>(hit & 0xFF);
        const size_t offset = (hit >> 8) & 0x1FFFF;
        const size_t length = hit >> 25;
        ASSERT_EQ(c.section, section);
        const discbuilder::IndexedArticle* article = nullptr;
        for (size_t a = 0; a < articles.size(); ++a)
            if (m_files.titleLinks.articleNumbers[a] == records[0].wRecord)
                article = &articles[a];
        ASSERT_NE(nullptr, article);
        std::string text;
        size_t start = offset;
        if (section >= 200) {
            // A table's offsets count visible characters of its text area (runs and their NULs).
            for (const std::string& paragraph : article->tables[section - 200])
                text += paragraph + '\0';
            start = TableTextIndex(text, offset);
        } else {
            for (const std::string& paragraph : article->sections[section])
                text += paragraph;
        }
        EXPECT_EQ(c.text, text.substr(start, length));
    }
}

// The sample disc's tables are in the index: their words are found at their table positions, and
// the table reader's conversion of the hit lands on the word.
TEST_F(KeywordSearchTest, TheSampleDiscsTableWordsAreFoundInTheirTables)
{
    std::vector<discbuilder::ArticleRecordSource> sources = discbuilder::ReadArticleSources(VL_SAMPLE_DIR "/articles");
    std::vector<discbuilder::IndexedArticle> articles;
    for (const discbuilder::ArticleRecordSource& source : sources)
        articles.push_back(discbuilder::IndexedArticleFrom(source, source.category));
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    struct Case {
        const char* query;
        const char* word;  // what the first hit covers in its table's text
    };
    const Case cases[] = {{"tambora", "Tambora"}, {"vesuvius /t", "Vesuvius"}, {"eruption /t", nullptr}, {"tambora /t", "Tambora"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        ExpectOracleAgrees(oracle, c.query);
        std::vector<KEYWORD_OCCURRENCE> records = Records(RunKeywordQuery(c.query));
        ASSERT_FALSE(records.empty());
        for (const KEYWORD_OCCURRENCE& r : records) {
            if (std::string(c.query).find("/t") != std::string::npos) {
                EXPECT_GE(r.dwWordPosition >> 24, 220u);
                EXPECT_GE(r.dwHitPosition & 0xFF, 200u);
            }
        }
        if (c.word == nullptr)
            continue;
        const DWORD hit = records[0].dwHitPosition;
        ASSERT_GE(hit & 0xFF, 200u);
        const discbuilder::IndexedArticle* article = nullptr;
        for (size_t a = 0; a < articles.size(); ++a)
            if (m_files.titleLinks.articleNumbers[a] == records[0].wRecord)
                article = &articles[a];
        ASSERT_NE(nullptr, article);
        const std::string text = TableTextOf(sources[static_cast<size_t>(article - articles.data())], (hit & 0xFF) - 200);
        EXPECT_EQ(c.word, text.substr(TableTextIndex(text, (hit >> 8) & 0x1FFFF), hit >> 25));
    }
}

TEST_F(KeywordSearchTest, ResultsAreCachedByTheirTextAndSurviveLaterSearches)
{
    OpenIndex(FixtureArticles());
    RESULT_SET* pFirst = RunKeywordQuery("coffee and hot");
    ASSERT_NE(nullptr, pFirst);
    const DWORD dwCount = pFirst->dwCount;
    EXPECT_EQ("COFFEE&s0(HOT)", GetResultSetName(pFirst));
    ASSERT_NE(nullptr, RunKeywordQuery("lava or ash"));
    RESULT_SET* pAgain = RunKeywordQuery("coffee and hot");
    EXPECT_EQ(pFirst, pAgain) << "the same text finds the same slot";
    EXPECT_EQ(dwCount, pAgain->dwCount);
}

TEST_F(KeywordSearchTest, TheBestArticleHasTheMostMatchingSentences)
{
    const auto articles = FixtureArticles();
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    for (const char* query : {"\"@coffee\"", "\"@rome\"", "\"@lava ash\""}) {
        SCOPED_TRACE(query);
        oracle.Answer(query);
        RESULT_SET* pSet = RunKeywordQuery(query);
        ASSERT_NE(nullptr, pSet);
        EXPECT_EQ(oracle.bestRecord, pSet->dwBestRecord);
        EXPECT_NE(0u, pSet->dwBestRecord);
    }
}

TEST_F(KeywordSearchTest, TheSampleDiscAgreesWithTheOracle)
{
    std::vector<discbuilder::IndexedArticle> articles;
    for (const discbuilder::ArticleRecordSource& source : discbuilder::ReadArticleSources(VL_SAMPLE_DIR "/articles"))
        articles.push_back(discbuilder::IndexedArticleFrom(source, source.category));
    ASSERT_GE(articles.size(), 7u);
    // The picture items' captions, texts and labels, as the disc indexes them.
    for (const auto& entry : std::filesystem::directory_iterator(VL_SAMPLE_DIR "/pictures/items")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const discbuilder::PictureItemSource item = discbuilder::ParsePictureItemSource(text, entry.path().string());
        articles.push_back(discbuilder::IndexedPictureFrom(static_cast<std::int32_t>(item.number), item.record, item.category));
    }
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    const char* queries[] = {
        "aviation", "lift and drag", "wing andw3 air", "pilot andp aircraft", "lava anda crater",
        "jazz or volcano", "radio without aircraft", "\"hot-air balloons\"", "air pressure", "\"@aircraft wing\"",
        "flight andh engines", "the", "aircraft /d4", "A1900D or A1920D", "trumpet", "monoplane and climbing",
        "lava /t", "fountain or eruption",
    };
    for (const char* query : queries)
        ExpectOracleAgrees(oracle, query, false);
}

}  // namespace
