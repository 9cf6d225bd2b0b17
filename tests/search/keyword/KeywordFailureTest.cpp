// The keyword engine on damaged, truncated and missing index files, and searches that cannot go
// on: an illegal switch, a query that needs more live result sets than the cache holds, results
// beyond the 61,440 records a set can hold.
#include "KeywordTestSupport.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<discbuilder::IndexedArticle> SmallArticles()
{
    std::vector<discbuilder::IndexedArticle> articles;
    const char* topics[] = {"coffee", "volcano", "jazz", "river", "engine", "printing", "orbit", "forest"};
    for (int i = 0; i < 40; ++i) {
        const std::string topic = topics[i % 8];
        articles.push_back(MakeArticle(
            2000 + i, "Article " + std::to_string(i),
            {{"The " + topic + " number " + std::to_string(i) + " is described here. Another " + topic +
                  " sentence follows with words like alpha" + std::to_string(i) + " and beta.",
              "A second paragraph on " + topic + " and " + topics[(i + 3) % 8] + " in the year " + std::to_string(1800 + i) + "."}},
            {}, 1 + i % 3));
    }
    return articles;
}

class KeywordFailureTest : public KeywordTest {
protected:
    // Runs the action answering every message box with OK; the texts of the boxes shown.
    static std::vector<std::string> Boxes(const std::function<void()>& action)
    {
        host::ResetUiScript();
        for (int i = 0; i < 16; ++i)
            host::AnswerNextMessageBox(IDOK);
        action();
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        host::ResetUiScript();
        return texts;
    }

    std::string Read(const char* name) const { return dir.Read("t/data/" + std::string(name)); }
    void Write(const char* name, const std::string& bytes) const { dir.Write("t/data/" + std::string(name), bytes); }
};

TEST_F(KeywordFailureTest, DamagedOrTruncatedFilesGiveTheProductsMessage)
{
    struct Case {
        const char* name;
        const char* file;
        std::function<void(std::string&)> damage;
        const char* message;  // shown by KeywordInit, or by the query when the engine opens
        const char* query;
    };
    const auto setByte = [](std::size_t at, char value) { return [=](std::string& s) { s[at] = value; }; };
    const Case cases[] = {
        {"master index cut inside an entry", "KWMST.NDX", [](std::string& s) { s.resize(s.size() - 2); },
         ">>> Error reading keyword master index file", nullptr},
        {"master index empty", "KWMST.NDX", [](std::string& s) { s.clear(); }, ">>> Error reading keyword master index file", nullptr},
        {"master index shares more than the previous key holds", "KWMST.NDX", setByte(6, 90),
         ">>> Error reading keyword master index file", nullptr},
        {"reverse master index cut", "REVKWMST.NDX", [](std::string& s) { s.resize(s.size() - 1); },
         ">>> Error reading keyword master index file", nullptr},
        {"keyword list shorter than its master index", "KEYWORD.LST", [](std::string& s) { s.resize(s.size() - 1024); },
         ">>> Error reading keyword list file", nullptr},
        {"reverse list cut inside a page", "KEYWORD.REV", [](std::string& s) { s.resize(s.size() - 10); },
         ">>> Error reading keyword list file", nullptr},
        {"list entry longer than its page", "KEYWORD.LST", setByte(6, 80), ">>> Error reading keyword list file", "1800"},
        {"list entry pointing past the occurrences", "KEYWORD.LST", setByte(3, '\x7F'),
         ">>> Error reading occurrence list file", nullptr},
        {"occurrence file cut inside a record", "OCCURENC.LST", [](std::string& s) { s.resize(s.size() - 3); },
         ">>> Error reading occurrence list file", nullptr},
        {"occurrence file cut at a record", "OCCURENC.LST", [](std::string& s) { s.resize(s.size() / 2 - s.size() / 2 % 10); },
         ">>> Error reading occurrence list file", "volcano or river or printing or orbit or forest"},
        {"occurrence record numbered 0", "OCCURENC.LST", [](std::string& s) { s[10] = 0; s[11] = 0; },
         ">>> Error reading occurrence list file", nullptr},
        {"drop words missing", "dropword.lst", nullptr, ">>> Error opening stop word file.", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeywordShutdown();
        WriteIndex(SmallArticles());
        const std::filesystem::path path = DataFolder() / c.file;
        if (c.damage) {
            std::string bytes = Read(c.file);
            c.damage(bytes);
            Write(c.file, bytes);
        } else {
            std::filesystem::remove(path);
        }
        int nOpened = -1;
        std::vector<std::string> boxes = Boxes([&] { nOpened = KeywordInit(); });
        if (c.query == nullptr && nOpened == 1) {
            // The damage shows when a word on it is read: find one that reads it.
            boxes = Boxes([&] {
                for (const char* word : {"coffee /d1", "1800", "1801", "a1801d", "alpha0", "another", "beta", "coffee", "zzz"})
                    if (RunKeywordQuery(word) == nullptr && KeywordSearchAborted())
                        break;
            });
        } else if (c.query != nullptr) {
            ASSERT_EQ(1, nOpened) << "the damage is found by a search";
            boxes = Boxes([&] { EXPECT_EQ(nullptr, RunKeywordQuery(c.query)); });
            EXPECT_TRUE(KeywordSearchAborted());
        } else {
            EXPECT_EQ(0, nOpened);
            EXPECT_FALSE(KeywordIsOpen());
        }
        ASSERT_FALSE(boxes.empty()) << "no message";
        EXPECT_EQ(c.message, boxes.back());
    }
}

TEST_F(KeywordFailureTest, RandomDamageIsNeverReadOutsideTheFiles)
{
    const auto articles = SmallArticles();
    const char* files[] = {"KWMST.NDX", "REVKWMST.NDX", "KEYWORD.LST", "KEYWORD.REV", "OCCURENC.LST", "dropword.lst"};
    const char* queries[] = {"coffee", "volcano and jazz", "\"another coffee\"", "river or engine", "orbit withouta forest",
                             "\"@coffee beta\"", "alpha7 /d2", "A1805D"};
    std::mt19937 random(32);
    for (const char* file : files) {
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(std::string(file) + " round " + std::to_string(round));
            KeywordShutdown();
            WriteIndex(articles);
            std::string bytes = Read(file);
            const int nFlips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < nFlips && !bytes.empty(); ++i)
                bytes[random() % bytes.size()] = static_cast<char>(random());
            if (round % 3 == 2)
                bytes.resize(random() % (bytes.size() + 1));
            Write(file, bytes);
            Boxes([&] {
                if (KeywordInit() != 1)
                    return;
                for (const char* query : queries) {
                    std::vector<KEYWORD_OCCURRENCE> records = Records(RunKeywordQuery(query));
                    for (const KEYWORD_OCCURRENCE& r : records)
                        ASSERT_NE(0, r.wRecord);
                }
            });
        }
    }
}

TEST_F(KeywordFailureTest, TheDropWordListHoldsAtMostTwoHundredWords)
{
    std::vector<std::string> words;
    for (int i = 0; i < 200; ++i)
        words.push_back("DROP" + std::to_string(1000 + i));
    WriteIndex(SmallArticles(), words);
    EXPECT_EQ(1, KeywordInit());
    EXPECT_EQ(1, IsStopWord("DROP1199"));
    EXPECT_EQ(0, IsStopWord("DROP1200"));
    EXPECT_EQ(0, IsStopWord("THE")) << "only the listed words";
    KeywordShutdown();

    Write("dropword.lst", Read("dropword.lst") + "DROP1200\r\n");
    std::vector<std::string> boxes = Boxes([] { EXPECT_EQ(0, KeywordInit()); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Too many dropwords!", boxes[0]);
    EXPECT_FALSE(KeywordIsOpen());
}

TEST_F(KeywordFailureTest, AnIllegalSwitchEndsTheWholeSearchAndTheNextOneWorks)
{
    const auto articles = SmallArticles();
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    for (const char* query : {"coffee /x", "(coffee /q) beta", "coffee and (jazz /9)"}) {
        SCOPED_TRACE(query);
        std::vector<std::string> boxes = Boxes([&] { EXPECT_EQ(nullptr, RunKeywordQuery(query)); });
        EXPECT_TRUE(KeywordSearchAborted());
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(0u, boxes[0].find("Illegal switch \"/")) << boxes[0];
        EXPECT_NE(std::string::npos, boxes[0].find("for tables only searching"));
        ExpectOracleAgrees(oracle, "coffee and beta");
    }
    std::vector<std::string> boxes = Boxes([] { RunKeywordQuery("coffee /x"); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(FormatIllegalSwitch('X'), CString(boxes[0].c_str())) << "the letter in lower case";
}

TEST_F(KeywordFailureTest, AQueryNeedingMoreLiveSetsThanTheCacheHoldsStopsWithoutHarm)
{
    // Fifty words in one article; terms nested in parentheses keep every word of the enclosing
    // terms in use while the inner ones run.
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "w" + std::to_string(100 + i) + (i % 8 == 7 ? ". " : " ");
    const std::vector<discbuilder::IndexedArticle> articles = {MakeArticle(3001, "Words", {{text}}),
                                                                MakeArticle(3002, "Others", {{"w100 w101 w102 w103."}})};
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    std::string query;
    int word = 100;
    for (int level = 0; level < 6; ++level) {
        query += "(";
        for (int k = 0; k < 8; ++k)
            query += "w" + std::to_string(word++) + " ";
    }
    query += "w149" + std::string(6, ')');
    std::vector<std::string> boxes = Boxes([&] { EXPECT_EQ(nullptr, RunKeywordQuery(query.c_str())); });
    EXPECT_TRUE(KeywordSearchAborted());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(QUERY_MSG_TOO_COMPLEX, boxes[0]);
    // Nothing stays locked or held: the cache serves every search after it.
    for (const char* q : {"w100 w101", "w104 and w105", "w100 or w140", "\"w101 w102 w103\""})
        ExpectOracleAgrees(oracle, q);
}

TEST_F(KeywordFailureTest, ResultsKeepTheirFirst61440RecordsAndPagesEndAtTheirCount)
{
    // "alpha" and "beta" 40,000 times each; "gamma" exactly 2,048 times; "delta" once more than a
    // set can hold, so the writer makes it a drop word.
    std::vector<discbuilder::IndexedArticle> articles;
    std::string gamma;
    for (int i = 0; i < 2048; ++i)
        gamma += i % 16 == 15 ? "gamma. " : "gamma ";
    articles.push_back(MakeArticle(4000, "Gamma", {{gamma}}));
    for (int a = 0; a < 40; ++a) {
        std::string text;
        for (int i = 0; i < 500; ++i)
            text += i % 10 == 9 ? "alpha beta. " : "alpha beta ";
        articles.push_back(MakeArticle(4001 + a, "Alpha " + std::to_string(a), {{text, text}}));
    }
    std::vector<std::vector<std::string>> delta(5);  // character offsets stay within 17 bits a section
    for (int i = 0; i < 61441; ++i)
        delta[i % 5].push_back(i % 100 == 99 ? "delta. " : "delta ");
    articles.push_back(MakeArticle(4100, "Delta", delta));
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);

    EXPECT_NE(m_files.dropWords.end(), std::find(m_files.dropWords.begin(), m_files.dropWords.end(), "DELTA"));
    RESULT_SET* pDelta = RunKeywordQuery("delta");
    ASSERT_NE(nullptr, pDelta);
    EXPECT_EQ(static_cast<DWORD>(RESULT_MATCH_ALL), pDelta->dwState) << "a drop word matches all";

    RESULT_SET* pGamma = RunKeywordQuery("gamma");
    ASSERT_NE(nullptr, pGamma);
    ASSERT_EQ(2048u, pGamma->dwCount);
    EXPECT_NE(0, GetPagedEntry(pGamma, 2047)->wRecord);
    EXPECT_EQ(0, GetPagedEntry(pGamma, 2048)->wRecord) << "index 2,048 reads the end record";
    ReleasePagedEntry();

    RESULT_SET* pUnion = RunKeywordQuery("alpha or beta");
    ASSERT_NE(nullptr, pUnion);
    ASSERT_EQ(static_cast<DWORD>(KEYWORD_MAX_RECORDS), pUnion->dwCount);
    const OracleResult all = oracle.Answer("alpha or beta");
    ASSERT_EQ(80000u, all.records.size());
    const std::vector<KEYWORD_OCCURRENCE> records = Records(pUnion);
    ASSERT_EQ(static_cast<size_t>(KEYWORD_MAX_RECORDS), records.size());
    for (size_t i = 0; i < records.size(); i += 997) {
        EXPECT_EQ(all.records[i].article, WORD(records[i].wRecord)) << i;
        EXPECT_EQ(all.records[i].wordPosition, DWORD(records[i].dwWordPosition)) << i;
    }
    ExpectOracleAgrees(oracle, "gamma and delta");
}

}  // namespace
