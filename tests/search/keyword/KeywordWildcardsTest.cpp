// Word patterns, date terms and spelling suggestions: the pattern matcher's table; expansions and
// suggestions against brute-force oracles over the word lists of the reference disc's slice; the
// pre-pass with its word list dialog answered by the test script (choices reach the search, a
// date term finds the chosen years, cancelling searches nothing, the tables are bounded); the
// spelling pop-up correcting a query.
#include "KeywordTestSupport.h"
#include "ReferenceSlice.h"

#include "base/AppServices.h"
#include "base/ResourceLibrary.h"
#include "search/KeywordWildcards.h"
#include "search/SpellCheckDlg.h"
#include "search/WildDlg.h"

#include <DialogDriver.h>

#include <host/Paths.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Reversed(const std::string& text)
{
    return std::string(text.rbegin(), text.rend());
}

size_t FixedPrefix(const std::string& pattern, const char* wild = "*?#")
{
    const size_t n = pattern.find_first_of(wild);
    return n == std::string::npos ? pattern.size() : n;
}

std::vector<std::string> Words(const std::vector<EXPANSION_WORD>& entries)
{
    std::vector<std::string> words;
    for (const EXPANSION_WORD& entry : entries)
        words.push_back(entry.word);
    return words;
}

// The brute-force oracles over the two lists of an index: every entry tested with a regular
// expression, in list order.
class ListOracle {
public:
    explicit ListOracle(const discbuilder::KeywordIndexFiles& files)
        : m_forward(ListEntries(files.keywordList)), m_reverse(ListEntries(files.reverseKeywordList))
    {
    }

    const std::vector<ListEntry>& Forward() const { return m_forward; }

    // The expansion of a pattern: the first 255 matches of the list whose fixed part is longer
    // (the reverse list for a suffix pattern, then sorted); none for a pattern without fixed
    // part at either end.
    std::vector<std::string> Expansion(const std::string& pattern, bool* pMore = nullptr) const
    {
        std::vector<std::string> words;
        const bool reverse = FixedPrefix(Reversed(pattern)) > FixedPrefix(pattern);
        const std::string scanned = reverse ? Reversed(pattern) : pattern;
        if (FixedPrefix(scanned) == 0)
            return words;
        const std::regex re = KeywordOracle::PatternRegex(scanned);
        const std::string prefix = scanned.substr(0, FixedPrefix(scanned));
        size_t matches = 0;
        for (const ListEntry& entry : reverse ? m_reverse : m_forward) {
            if (entry.word.compare(0, prefix.size(), prefix) != 0 || !std::regex_match(entry.word, re) ||
                IsMarker(entry.word, reverse))
                continue;
            if (++matches <= KEYWORD_MAX_EXPANSION)
                words.push_back(reverse ? Reversed(entry.word) : entry.word);
        }
        if (reverse)
            std::sort(words.begin(), words.end());
        if (pMore)
            *pMore = matches > KEYWORD_MAX_EXPANSION;
        return words;
    }

    // The suggestions for a word: for each position, the word with that character replaced by
    // "?" and then by "??", matched in the list of the longer fixed part; distinct entries, at
    // most 25, the most frequent first.
    std::vector<std::string> Suggestions(const std::string& word) const
    {
        std::vector<ListEntry> found;
        std::set<std::uint32_t> firsts;
        for (size_t i = 0; i < word.size() && found.size() < KEYWORD_MAX_SUGGESTIONS; ++i) {
            for (const char* fill : {"?", "??"}) {
                const std::string variant = word.substr(0, i) + fill + word.substr(i + 1);
                const bool reverse = FixedPrefix(Reversed(variant), "*?") > FixedPrefix(variant, "*?");
                const std::string scanned = reverse ? Reversed(variant) : variant;
                if (FixedPrefix(scanned, "*?") == 0)
                    continue;
                for (const ListEntry& entry : reverse ? m_reverse : m_forward) {
                    if (found.size() >= KEYWORD_MAX_SUGGESTIONS)
                        break;
                    if (QuestionMatch(scanned, entry.word) && !IsMarker(entry.word, reverse) &&
                        firsts.insert(entry.first).second) {
                        found.push_back(entry);
                        if (reverse)
                            found.back().word = Reversed(entry.word);
                    }
                }
            }
        }
        std::stable_sort(found.begin(), found.end(), [](const ListEntry& a, const ListEntry& b) { return a.count > b.count; });
        std::vector<std::string> words;
        for (const ListEntry& entry : found)
            words.push_back(entry.word);
        return words;
    }

private:
    // A domain marker "#N" or a period's code ("A19#0D"): never a pattern's word.
    static bool IsMarker(const std::string& word, bool reverse)
    {
        (void)reverse;
        return word.find('#') != std::string::npos;
    }

    // A pattern whose only wildcard is "?": as long as the word, equal everywhere else.
    static bool QuestionMatch(const std::string& pattern, const std::string& word)
    {
        if (pattern.size() != word.size())
            return false;
        for (size_t i = 0; i < word.size(); ++i)
            if (pattern[i] != '?' && pattern[i] != word[i])
                return false;
        return true;
    }

    std::vector<ListEntry> m_forward;
    std::vector<ListEntry> m_reverse;
};

// Runs the steps inside the next tab dialog; the steps must end it (one they leave running is
// cancelled, and the test fails).
void DriveTab(std::function<void(HWND)> steps)
{
    host::RunInNextModalLoop([steps](HWND dlg) {
        ui::dialog::Pump(dlg);
        steps(dlg);
        ui::dialog::Pump(dlg);
        CWnd* pDialog = CWnd::FromHandlePermanent(dlg);
        if (pDialog != nullptr && pDialog->ContinueModal()) {
            ADD_FAILURE() << "the dialog is still up";
            pDialog->EndModalLoop(IDCANCEL);
        }
    });
}

bool IsRunning(HWND dlg)
{
    CWnd* pDialog = CWnd::FromHandlePermanent(dlg);
    return pDialog != nullptr && pDialog->ContinueModal();
}

// The keyword engine with a main window and the screen-class library, so that its dialogs run.
class KeywordDialogTest : public KeywordTest {
protected:
    void SetUp() override
    {
        KeywordTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        AppServices().env.nScreenWidth = 1024;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        SetWildcardChooser(nullptr);
        SetWildcardDialogAnchor(nullptr);
        FreeWildcardExpansions();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        KeywordTest::TearDown();
    }

    // A small index: words that "comp*" expands to, years and years BC, an elephant and a tiger.
    void OpenSmallIndex()
    {
        OpenIndex({
            MakeArticle(1001, "Compilers", {{"The compiler translates a computer language."}}),
            MakeArticle(1002, "Computing", {{"A computation on the computer.", "The company reports."}}),
            MakeArticle(1003, "Moon", {{"In 1969 the moon landing happened.", "In 1975 a probe flew."}}),
            MakeArticle(1004, "Years", {{"The year 1980 and the year 2001 and the company."}}),
            MakeArticle(1005, "Antiquity", {{"Between 500 BC and 550 BC the city grew."}}),
            MakeArticle(1006, "Animals", {{"The elephant and the tiger.", "An elephant is big; elephants are many."}}),
            MakeArticle(1007, "Elegance", {{"An elegant tiger."}}),
        });
        m_oracle = std::make_unique<KeywordOracle>(m_articles, m_files);
    }

    // The records of a query as the oracle finds them, sorted as the engine writes them.
    std::vector<std::tuple<WORD, DWORD, DWORD>> OracleRecords(const std::string& query) const
    {
        std::vector<std::tuple<WORD, DWORD, DWORD>> records;
        for (const auto& r : m_oracle->Answer(query).records)
            records.emplace_back(r.article, r.wordPosition, r.hitPosition);
        return records;
    }
    static std::vector<std::tuple<WORD, DWORD, DWORD>> EngineRecords(RESULT_SET* pSet)
    {
        std::vector<std::tuple<WORD, DWORD, DWORD>> records;
        for (const KEYWORD_OCCURRENCE& r : Records(pSet)) {
            const WORD wRecord = r.wRecord;
            const DWORD dwWord = r.dwWordPosition, dwHit = r.dwHitPosition;
            records.emplace_back(wRecord, dwWord, dwHit);
        }
        std::sort(records.begin(), records.end());
        return records;
    }

    // Answers the next word list dialog: checks the words it lists, selects those named (by
    // clicking them) and presses OK.
    static void ChooseWords(std::vector<std::string> expectListed, std::vector<std::string> choose,
                            const std::string& shot = "")
    {
        DriveTab([=](HWND dlg) {
            HWND list = ::GetDlgItem(dlg, IDC_WILD_LIST);
            ASSERT_NE(nullptr, list);
            std::vector<std::string> listed;
            const int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
            auto* pList = static_cast<CWildListWin*>(CWnd::FromHandle(list));
            for (int i = 0; i < n; ++i)
                listed.push_back(std::string(pList->GetItemText(pList->GetItemIdAt(i))));
            EXPECT_EQ(expectListed, listed);
            for (const std::string& word : choose) {
                auto at = std::find(listed.begin(), listed.end(), word);
                ASSERT_NE(listed.end(), at) << word;
                ui::dialog::ClickItem(dlg, IDC_WILD_LIST, static_cast<int>(at - listed.begin()));
            }
            if (!shot.empty())
                ui::dialog::Screenshot(dlg, shot);
            ui::dialog::Click(dlg, IDC_WILD_OK);
        });
    }

    CWnd main;
    std::unique_ptr<KeywordOracle> m_oracle;
};

TEST(MatchWildcardTest, Table)
{
    struct Case {
        const char* pattern;
        const char* word;
        int match;
    } cases[] = {
        {"COMPUTER", "COMPUTER", 1},  // equal strings
        {"COMPUTER", "COMPUTERS", 0},  // no wildcard: only equal
        {"COMP*", "COMP", 1},         // a star matches no character too
        {"COMP*", "COMPUTER", 1},
        {"COMP*", "COM", 0},
        {"COMP*", "CAMPUS", 0},       // the fixed prefix differs
        {"*ING", "SINGING", 1},       // the last place of the fixed part
        {"*ING", "INGOT", 0},
        {"C?T", "CAT", 1},
        {"C?T", "CT", 0},             // "?" needs one character
        {"C?T", "COAT", 0},
        {"C??T", "COAT", 1},
        {"19##", "1969", 1},
        {"19##", "19A9", 0},          // "#" needs a digit
        {"19##", "196", 0},
        {"A19##D", "A1969D", 1},
        {"A19##D", "A196D", 0},
        {"*", "ANYTHING", 1},
        {"*", "", 1},
        {"C*R", "COMPUTER", 1},
        {"C*R", "COMPUTERS", 0},
        {"C*T*R", "COMPUTER", 1},     // two stars: every place tried
        {"C*T*R", "CRATER", 1},
        {"C*T*R", "CRATE", 0},
        {"*?", "A", 1},
        {"*?", "", 0},
        {"?*#", "A1", 1},
        {"?*#", "AB", 0},
        {"#*", "7UP", 1},
        {"S*S", "S", 0},              // the fixed parts may not overlap
        {"S*S", "SS", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.match, MatchWildcard(c.pattern, c.word)) << c.pattern << " ~ " << c.word;
}

TEST(DateTermTest, KeysOfDateTerms)
{
    struct Case {
        const char* term;
        const char* key;  // nullptr: incorrect
    } cases[] = {
        // the keys are the index's date words: A<n>D and B<n>C
        {"19##", "A19##D"},   {"a19##", "A19##D"}, {"A19##", "A19##D"}, {"19##c", "B19##C"},
        {"19##C", "B19##C"},  {"19##d", "A19##D"}, {"b5##", "B5##C"},   {"B63#", "B63#C"},
        {"#", "A#D"},         {"1#6#", "A1#6#D"},  {"19##D", nullptr},  {"19#*", nullptr},
        {"1?#", nullptr},     {"19##x", nullptr},  {"19##cx", "B19##C"},  // the rest after the suffix is not read
    };
    for (const Case& c : cases) {
        CString key;
        EXPECT_EQ(c.key != nullptr, MakeDateKey(c.term, key) != FALSE) << c.term;
        if (c.key != nullptr) {
            EXPECT_EQ(std::string(c.key), std::string(key)) << c.term;
        }
    }
}

TEST(NextWildcardTermTest, TermsAroundTheirWildcards)
{
    struct Case {
        const char* query;
        int from;
        const char* term;  // nullptr: none
    } cases[] = {
        {"comp* and dog", 0, "comp*"},
        {"dog and comp*", 0, "comp*"},
        {"dog and comp*", 8, "comp*"},
        {"*ing", 0, "*ing"},                 // a wildcard at the first character
        {"dog (c?t|bird)", 0, "c?t"},
        {"\"19## war\"", 0, "19##"},
        {"comp* lang*", 5, "lang*"},         // two terms with only a space between them
        {"comp* lang*", 11, nullptr},        // nothing after the last term
        {"comp* lang*", 40, nullptr},        // past the end: no overrun
        {"dog and cat", 0, nullptr},
        {"", 0, nullptr},
    };
    for (const Case& c : cases) {
        int start = -1, end = -1;
        const BOOL found = NextWildcardTerm(c.query, c.from, start, end);
        EXPECT_EQ(c.term != nullptr, found != FALSE) << c.query;
        if (c.term != nullptr && found) {
            EXPECT_EQ(std::string(c.term), std::string(c.query).substr(start, end - start)) << c.query;
        }
    }
}

class KeywordExpansionTest : public KeywordTest {};

TEST_F(KeywordExpansionTest, ExpansionsAgreeWithTheOracleOnTheReferenceSlice)
{
    OpenIndex(SliceArticles());
    const ListOracle lists(m_files);
    std::vector<std::string> patterns = {"COMP*", "*ING", "PRO?RAM", "*TION", "C*R", "19##", "A19##D", "B#*",
                                         "*OMP*", "?", "#*"};
    // Patterns made from words of the list: prefix, suffix, one character replaced, a middle run.
    const auto& forward = lists.Forward();
    for (size_t i = 7; i < forward.size(); i += forward.size() / 60) {
        const std::string& word = forward[i].word;
        if (word.size() < 5 || word.find_first_of("*?#") != std::string::npos)
            continue;
        patterns.push_back(word.substr(0, 3) + "*");
        patterns.push_back("*" + word.substr(word.size() - 3));
        patterns.push_back(word.substr(0, 2) + "?" + word.substr(3));
        patterns.push_back(word.substr(0, 2) + "*" + word.substr(word.size() - 2));
    }
    size_t expanded = 0, reverse = 0;
    for (const std::string& pattern : patterns) {
        SCOPED_TRACE("pattern: " + pattern);
        const std::vector<std::string> expected = lists.Expansion(pattern);
        RESULT_SET* pSet = ExpandWildcard(pattern.c_str());
        if (expected.empty()) {
            EXPECT_EQ(nullptr, pSet);
            continue;
        }
        ASSERT_NE(nullptr, pSet);
        EXPECT_EQ(pattern, std::string(GetResultSetName(pSet))) << "named by the pattern";
        const std::vector<EXPANSION_WORD> words = GetExpansionWords(pSet);
        EXPECT_EQ(expected, Words(words));
        EXPECT_EQ(expected.size(), pSet->dwExpansionCount);
        DWORD size = 8 + 4 * pSet->dwExpansionCount;
        for (const EXPANSION_WORD& word : words) {
            EXPECT_EQ(0u, word.dwFlag) << "nothing chosen yet";
            size += 8 + static_cast<DWORD>(word.word.size());
        }
        EXPECT_EQ(size, pSet->dwExpansionSize);
        ++expanded;
        reverse += FixedPrefix(Reversed(pattern)) > FixedPrefix(pattern);
    }
    EXPECT_GT(expanded, 100u);
    EXPECT_GT(reverse, 30u) << "suffix patterns go through the reverse list";
    EXPECT_EQ(nullptr, ExpandWildcard("*OMP*")) << "no fixed part at either end";
}

// The hidden domain markers "#N" are reached by the domain switch alone: no pattern, word list,
// suggestion or proximity test meets them, and "or" gives the same whichever side comes first.
TEST_F(KeywordExpansionTest, DomainMarkersAreReachedOnlyByTheDomainSwitch)
{
    const std::vector<discbuilder::IndexedArticle> articles = {
        MakeArticle(2001, "Unix", {{"Unix ran on the PDP11 and later on the 3B1."}}, {}, 1),
        MakeArticle(2002, "Routes", {{"Route 15 and route 25 meet. A5 paper is common."}}, {}, 5),
        MakeArticle(2003, "Clones", {{"Unix clones ran on route 35."}}, {}, 11),
    };
    OpenIndex(articles);
    KeywordOracle oracle(articles, m_files);
    // The marker stands at word position 0 of its article: no proximity test reaches it.
    EXPECT_EQ(nullptr, RunKeywordQuery("unix and ?1"));
    EXPECT_EQ(nullptr, RunKeywordQuery("?1"));
    // "or" is commutative, whichever of the pattern and the domain was met first.
    // The pattern "#5" (routes 15, 25 and 35) and the marker of domain 5 are different sets,
    // whichever of them the cache met first.
    ASSERT_NE(nullptr, RunKeywordQuery("#5"));
    for (const KEYWORD_OCCURRENCE& r : Records(RunKeywordQuery("route /d5")))
        EXPECT_EQ(m_files.titleLinks.articleNumbers[1], r.wRecord);
    ExpectOracleAgrees(oracle, "route /d5");
    ExpectOracleAgrees(oracle, "#5");
    const auto left = Records(RunKeywordQuery("?5 or #5"));
    const auto right = Records(RunKeywordQuery("#5 or ?5"));
    ASSERT_EQ(left.size(), right.size());
    for (size_t i = 0; i < left.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&left[i], &right[i], sizeof left[i])) << i;
    ExpectOracleAgrees(oracle, "?5 or #5");
    ExpectOracleAgrees(oracle, "#5 or ?5");
    // "/dN" is domain N exactly: domain 1 is not 11.
    ExpectOracleAgrees(oracle, "unix /d1");
    const auto unix1 = Records(RunKeywordQuery("unix /d1"));
    ASSERT_FALSE(unix1.empty());
    for (const KEYWORD_OCCURRENCE& r : unix1)
        EXPECT_EQ(m_files.titleLinks.articleNumbers[0], r.wRecord);
    ExpectOracleAgrees(oracle, "unix /d11");
    EXPECT_EQ(nullptr, RunKeywordQuery("route /d1"));
    // Expansions and suggestions (the word list and the spelling pop-up) never offer a marker.
    for (const char* pattern : {"?1", "*1", "#1", "?5", "#5", "*5", "1?", "?11"}) {
        SCOPED_TRACE(pattern);
        if (RESULT_SET* pSet = ExpandWildcard(pattern)) {
            for (const EXPANSION_WORD& word : GetExpansionWords(pSet))
                EXPECT_NE('#', word.word[0]) << word.word;
        }
    }
    for (const char* word : {"X1", "X5", "#1", "X11"}) {
        SCOPED_TRACE(word);
        if (RESULT_SET* pSet = SuggestSpellings(word)) {
            for (const EXPANSION_WORD& suggestion : GetExpansionWords(pSet))
                EXPECT_NE('#', suggestion.word[0]) << suggestion.word;
        }
    }
}

TEST_F(KeywordExpansionTest, APatternMatchingMoreThan255WordsKeepsTheFirst255)
{
    std::vector<discbuilder::IndexedArticle> articles;
    std::string text, reversedText;
    for (int i = 0; i < 300; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "QX%c%c%c ", 'A' + i / 100, 'A' + (i / 10) % 10, 'A' + i % 10);
        text += word;
        // Words ending in ZZ that differ at the front: their reverse-list order is not their order.
        std::snprintf(word, sizeof word, "%c%c%cQZZ ", 'A' + i % 10, 'A' + (i / 10) % 10, 'A' + i / 100);
        reversedText += word;
    }
    OpenIndex({MakeArticle(2001, "Many", {{text + ".", reversedText + "."}})});
    const ListOracle lists(m_files);
    for (const char* pattern : {"QX*", "*QZZ"}) {
        SCOPED_TRACE(pattern);
        bool more = false;
        const std::vector<std::string> expected = lists.Expansion(pattern, &more);
        EXPECT_TRUE(more);
        ASSERT_EQ(255u, expected.size());
        RESULT_SET* pSet = ExpandWildcard(pattern);
        ASSERT_NE(nullptr, pSet);
        EXPECT_EQ(expected, Words(GetExpansionWords(pSet)));
    }
    // The plain search takes all 255 words (the bare expansions above wait for a choice: they
    // go first).
    FreeWildcardExpansions();
    RESULT_SET* pSet = RunKeywordQuery("qx*");
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(255u, pSet->dwCount);
}

TEST_F(KeywordExpansionTest, SuggestionsAgreeWithTheOracleOnTheReferenceSlice)
{
    OpenIndex(SliceArticles());
    const ListOracle lists(m_files);
    std::vector<std::string> words = {"COMPUTER", "COMPUTR", "LANGAUGE", "PROGRAMING", "MEMRY", "ELEFANT", "QQQQQQQQ"};
    const auto& forward = lists.Forward();
    for (size_t i = 11; i < forward.size(); i += forward.size() / 30) {
        const std::string& word = forward[i].word;
        if (word.size() < 4 || word.find_first_of("*?#") != std::string::npos)
            continue;
        words.push_back(word);                                          // in the list
        words.push_back(word.substr(0, 1) + "X" + word.substr(2));      // one letter wrong
        words.push_back(word.substr(0, 2) + word.substr(3));            // one letter missing
    }
    size_t suggested = 0;
    for (const std::string& word : words) {
        SCOPED_TRACE("word: " + word);
        const std::vector<std::string> expected = lists.Suggestions(word);
        RESULT_SET* pSet = SuggestSpellings(word.c_str());
        if (expected.empty()) {
            EXPECT_EQ(nullptr, pSet);
            continue;
        }
        ASSERT_NE(nullptr, pSet);
        const std::vector<EXPANSION_WORD> got = GetExpansionWords(pSet);
        EXPECT_EQ(expected, Words(got));
        EXPECT_LE(got.size(), 25u);
        for (size_t i = 1; i < got.size(); ++i)
            EXPECT_GE(got[i - 1].dwCount, got[i].dwCount) << "the most frequent first";
        if (FindKeyword(word.c_str(), nullptr)) {
            EXPECT_NE(got.end(), std::find_if(got.begin(), got.end(), [&](const EXPANSION_WORD& w) { return w.word == word; }))
                << "a word of the list is among its own suggestions";
        }
        ++suggested;
    }
    EXPECT_GT(suggested, 50u);
    // The suggestion set is not the word's result: the word still searches as itself.
    ASSERT_NE(nullptr, SuggestSpellings("COMPUTER"));
    RESULT_SET* pComputer = RunKeywordQuery("computer");
    ASSERT_NE(nullptr, pComputer);
    KEYWORD_ENTRY entry;
    ASSERT_TRUE(FindKeyword("COMPUTER", &entry));
    EXPECT_EQ(entry.wCount, pComputer->dwCount);
}

TEST_F(KeywordDialogTest, TheChosenWordsOfAWildcardTermAreWhatTheSearchFinds)
{
    OpenSmallIndex();
    const std::vector<std::string> comp = {"COMPANY", "COMPILER", "COMPUTATION", "COMPUTER"};
    ChooseWords(comp, {"COMPANY", "COMPILER"}, "wildcard_word_list.png");
    CString searched;
    RESULT_SET* pSet = RunKeywordQueryWithWildcards("comp*", &searched);
    EXPECT_FALSE(KeywordPrepassCancelled());
    EXPECT_EQ("comp*", std::string(searched));
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("company or compiler"), EngineRecords(pSet));

    // The same query again with another choice: nothing of the first choice is reused.
    ChooseWords(comp, {"COMPUTER"});
    pSet = RunKeywordQueryWithWildcards("comp*");
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("computer"), EngineRecords(pSet));
    ChooseWords(comp, {"COMPANY"});
    pSet = RunKeywordQueryWithWildcards("comp* and year");
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("company and year"), EngineRecords(pSet));
    ChooseWords(comp, {"COMPUTER"});
    pSet = RunKeywordQueryWithWildcards("comp* and year");
    EXPECT_EQ(nullptr, pSet) << "no computer in a sentence with a year";
    EXPECT_FALSE(KeywordPrepassCancelled());
}

TEST_F(KeywordDialogTest, ADateTermSearchFindsTheChosenYears)
{
    OpenSmallIndex();
    ChooseWords({"1969", "1975", "1980"}, {"1969", "1980"}, "wildcard_date_list.png");
    CString searched;
    RESULT_SET* pSet = RunKeywordQueryWithWildcards("19##", &searched);
    EXPECT_EQ("A19##D", std::string(searched)) << "the term is searched as its date key";
    ASSERT_NE(nullptr, pSet);
    const auto records = EngineRecords(pSet);
    EXPECT_EQ(OracleRecords("A1969D or A1980D"), records);
    std::set<WORD> articles;
    for (const auto& r : records)
        articles.insert(std::get<0>(r));
    EXPECT_EQ(2u, articles.size()) << "the moon's and the years' articles";

    // Years before Christ, in a query with an operator.
    ChooseWords({"500", "550"}, {"550"});
    pSet = RunKeywordQueryWithWildcards("b5## and city", &searched);
    EXPECT_EQ("B5##C and city", std::string(searched));
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("B550C and city"), EngineRecords(pSet));
    // Either way of writing the era, and the A.D. years of the same figures are not among them.
    struct Era {
        const char* term;
        std::vector<std::string> listed;
        const char* oracle;
    };
    const Era eras[] = {{"B5##", {"500", "550"}, "B500C or B550C"},
                        {"5##c", {"500", "550"}, "B500C or B550C"},
                        {"B55#", {"550"}, "B550C"}};
    for (const Era& era : eras) {
        SCOPED_TRACE(era.term);
        ChooseWords(era.listed, era.listed);
        pSet = RunKeywordQueryWithWildcards(era.term, &searched);
        ASSERT_NE(nullptr, pSet);
        EXPECT_EQ(OracleRecords(era.oracle), EngineRecords(pSet));
    }
    pSet = RunKeywordQueryWithWildcards("5##", &searched);
    EXPECT_EQ("A5##D", std::string(searched));
    EXPECT_EQ(nullptr, pSet) << "no year 500-599 A.D. in the articles";

    // An incorrect date term searches nothing.
    host::AnswerMessageBox("Incorrect date search term, 19##D", IDOK);
    EXPECT_EQ(nullptr, RunKeywordQueryWithWildcards("moon or 19##D"));
    EXPECT_TRUE(KeywordPrepassCancelled());
    EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
}

// A period's selection code is one word of the index (the years of its decade, century or
// millennium); the pane's date term with the same figures still lists and finds only the years
// the reader chooses.
TEST_F(KeywordDialogTest, APeriodCodeFindsItsYearsUnlessTheReaderChoseSome)
{
    OpenSmallIndex();
    const auto century = OracleRecords("A1969D or A1975D or A1980D");
    ASSERT_FALSE(century.empty());
    EXPECT_EQ(century, EngineRecords(RunKeywordQuery("A19#0D")));
    // The pane: "19#0" reads '#' as one digit; the reader takes 1980 of what it lists.
    ChooseWords({"1980"}, {"1980"});
    CString searched;
    RESULT_SET* pSet = RunKeywordQueryWithWildcards("19#0", &searched);
    EXPECT_EQ("A19#0D", std::string(searched));
    EXPECT_EQ(OracleRecords("A1980D"), EngineRecords(pSet));
    // The date terms list years only, never a period code.
    ChooseWords({"1969", "1975", "1980"}, {"1975"});
    EXPECT_EQ(OracleRecords("A1975D"), EngineRecords(RunKeywordQueryWithWildcards("19##", &searched)));
    // The code alone, after the pane's search, is the whole period again.
    EXPECT_EQ(century, EngineRecords(RunKeywordQuery("A19#0D")));
    EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
}

TEST_F(KeywordDialogTest, TwoWildcardTermsWithOnlyASpaceBetweenThemAreEachChosen)
{
    OpenSmallIndex();
    ChooseWords({"COMPANY", "COMPILER", "COMPUTATION", "COMPUTER"}, {"COMPILER"});
    ChooseWords({"TRANSLATES"}, {"TRANSLATES"});
    CString searched;
    RESULT_SET* pSet = RunKeywordQueryWithWildcards("comp* transl*", &searched);
    EXPECT_EQ(0u, host::PendingModalActions()) << "one list for each term";
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("compiler translates"), EngineRecords(pSet));
    // A term that matches nothing shows no list and the next term still gets its own.
    ChooseWords({"ELEGANT", "ELEPHANT", "ELEPHANTS"}, {"ELEPHANT"});
    pSet = RunKeywordQueryWithWildcards("zzq* or ele*");
    EXPECT_EQ(0u, host::PendingModalActions());
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords("elephant"), EngineRecords(pSet));
}

TEST_F(KeywordDialogTest, CancellingAWordListSearchesNothingAndLeavesNoChoiceBehind)
{
    OpenSmallIndex();
    // The list opens over the window it is anchored to (the search pane's result list).
    main.SetWindowPos(nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWildcardDialogAnchor(&main);
    DriveTab([this](HWND dlg) {
        CRect list, where;
        main.GetWindowRect(&list);
        ::GetWindowRect(dlg, &where);
        EXPECT_EQ(list.TopLeft(), where.TopLeft());
        ui::dialog::Click(dlg, IDCANCEL);
    });
    EXPECT_EQ(nullptr, RunKeywordQueryWithWildcards("comp* or moon"));
    EXPECT_TRUE(KeywordPrepassCancelled());
    // The plain search of the pattern still takes every word.
    ExpectOracleAgrees(*m_oracle, "comp*");
    ExpectOracleAgrees(*m_oracle, "comp* or moon");
}

TEST_F(KeywordDialogTest, TheTablesOfThePrepassAreBoundedWithAMessage)
{
    OpenSmallIndex();
    // Every list answered at once: everything chosen.
    SetWildcardChooser([](const CString&, std::vector<DWORD>& flags) {
        std::fill(flags.begin(), flags.end(), 1u);
        return 1;
    });
    const std::string eleven = "compi* or compu* or compa* or transl* or langu* or moo* or landi* or happ* or "
                               "yea* or repo* or eleg*";
    host::AnswerMessageBox("more than 10 words with wildcards", IDOK);
    EXPECT_EQ(nullptr, RunKeywordQueryWithWildcards(eleven.c_str()));
    EXPECT_TRUE(KeywordPrepassCancelled());
    EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
    // Ten are fine.
    const std::string ten = eleven.substr(0, eleven.rfind(" or "));
    RESULT_SET* pSet = RunKeywordQueryWithWildcards(ten.c_str());
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(OracleRecords(ten), EngineRecords(pSet));
}

TEST_F(KeywordDialogTest, AWordListLongerThanTheDialogTakesIsCutWithAMessage)
{
    // 300 words of 40 letters: 255 kept by the expansion, 149 fit into the list text.
    std::string text;
    for (int i = 0; i < 300; ++i) {
        char word[64];
        std::snprintf(word, sizeof word, "LONGWORD%c%c%c%s ", 'A' + i / 100, 'A' + (i / 10) % 10, 'A' + i % 10,
                      "ABCDEFGHIJKLMNOPQRSTUVWXABCDE");
        text += word;
    }
    OpenIndex({MakeArticle(2001, "Long", {{text + "."}})});
    std::vector<size_t> listed;
    static std::vector<size_t>* s_listed = nullptr;
    s_listed = &listed;
    SetWildcardChooser([](const CString& words, std::vector<DWORD>& flags) {
        s_listed->push_back(flags.size());
        EXPECT_LE(words.GetLength(), KEYWORD_MAX_WORD_LIST_TEXT);
        flags.back() = 1;
        return 1;
    });
    host::AnswerMessageBox("Only the first 149 are listed", IDOK);
    RESULT_SET* pSet = RunKeywordQueryWithWildcards("longword*");
    EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(149u, listed[0]);
    ASSERT_NE(nullptr, pSet);
    EXPECT_EQ(1u, pSet->dwCount) << "the one word chosen";
}

TEST_F(KeywordDialogTest, TheWordListDialogReportsAtMost500SelectionsAndBlanksTheText)
{
    CString words;
    for (int i = 0; i < 600; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, i % 7 == 0 ? "W%03d\r\n" : "W%03d||", i);
        words += word;
    }
    std::vector<DWORD> flags(600, 0);
    CWildDlg dlg;
    dlg.SetPosition(100, 50);
    dlg.SetWordList(&words, flags.data(), static_cast<int>(flags.size()));
    DriveTab([&](HWND h) {
        CRect r;
        ::GetWindowRect(h, &r);
        EXPECT_EQ(CRect(100, 50, 100 + WILD_DIALOG_WIDTH, 50 + WILD_DIALOG_HEIGHT), r);
        EXPECT_TRUE(words.IsEmpty()) << "the text is blank once read";
        HWND list = ::GetDlgItem(h, IDC_WILD_LIST);
        EXPECT_EQ(600, ::SendMessageA(list, LB_GETCOUNT, 0, 0));
        // OK with nothing selected: the dialog stays.
        ui::dialog::Click(h, IDC_WILD_OK);
        EXPECT_TRUE(IsRunning(h));
        ::SendMessageA(list, LB_SETSEL, TRUE, -1);
        ui::dialog::Click(h, IDC_WILD_OK);
    });
    EXPECT_EQ(1, dlg.RunTabDialog());
    EXPECT_EQ(500, std::count(flags.begin(), flags.end(), 1u));
    EXPECT_EQ(1u, flags[499]);
    EXPECT_EQ(0u, flags[500]);

    // Flags past the caller's array are never written; nothing to choose from ends with Cancel.
    CString few = "ALPHA|BETA|GAMMA";
    DWORD two[2] = {0, 0};
    CWildDlg small;
    small.SetWordList(&few, two, 2);
    DriveTab([&](HWND h) {
        ::SendMessageA(::GetDlgItem(h, IDC_WILD_LIST), LB_SETSEL, TRUE, -1);
        ui::dialog::Click(h, IDC_WILD_OK);
    });
    EXPECT_EQ(1, small.RunTabDialog());
    EXPECT_EQ(1u, two[0]);
    EXPECT_EQ(1u, two[1]);
    CString none;
    DWORD one = 0;
    CWildDlg empty;
    empty.SetWordList(&none, &one, 1);
    DriveTab([&](HWND h) { ui::dialog::Click(h, IDC_WILD_OK); });
    EXPECT_EQ(2, empty.RunTabDialog());
}

TEST(SpellCheckTextTest, WholeWordsAndTheirCase)
{
    EXPECT_EQ((std::vector<int>{0, 22}), CSpellCheckDlg::FindWholeWord("ELEFANT AND ELEFANTS (ELEFANT)", "ELEFANT"));
    EXPECT_EQ((std::vector<int>{}), CSpellCheckDlg::FindWholeWord("ELEFANTS", "ELEFANT"));
    EXPECT_EQ((std::vector<int>{4}), CSpellCheckDlg::FindWholeWord("BIG\"ELEFANT\"", "ELEFANT"));
    struct Case {
        const char* replacement;
        const char* occurrence;
        const char* result;
    } cases[] = {
        {"ELEPHANT", "Elefant", "Elephant"}, {"ELEPHANT", "elefant", "elephant"},
        {"ELEPHANT", "ELEFANT", "ELEPHANT"}, {"ELEPHANT", "eLEFANT", "elephant"},
        {"Elephant", "ELEFANT", "Elephant"}, {"ELEPHANT", "E", "ELEPHANT"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.result), std::string(CSpellCheckDlg::MatchCase(c.replacement, c.occurrence)))
            << c.occurrence;
}

TEST_F(KeywordDialogTest, TheSpellingPopupCorrectsTheQuery)
{
    OpenSmallIndex();
    CRect under(20, 40, 320, 400);
    {
        // Words of the index, drop words, wildcards and switches: no pop-up.
        CSpellCheckDlg spell(under, &main);
        CString query = "The elephant and (tiger or comp*) /t";
        EXPECT_FALSE(spell.CheckQuery(query));
        EXPECT_TRUE(spell.GetMisspelt().empty());
        EXPECT_EQ("The elephant and (tiger or comp*) /t", std::string(query));
    }
    {
        CSpellCheckDlg spell(under, &main);
        CString query = "Elefant and tiger";
        DriveTab([&](HWND dlg) {
            CRect r;
            ::GetWindowRect(dlg, &r);
            CPoint corner(20, 40);
            main.ClientToScreen(&corner);
            EXPECT_EQ(corner, r.TopLeft()) << "over the result list";
            EXPECT_EQ("Words that match: ELEFANT", std::string(spell.GetLabel()));
            EXPECT_EQ(0, spell.GetList().GetCurSel());
            CString first, field;
            spell.GetList().GetText(0, first);
            spell.GetEdit().GetWindowText(field);
            EXPECT_EQ("ELEPHANT", std::string(first)) << "the most frequent first";
            EXPECT_EQ(first, field);
            ui::dialog::Screenshot(dlg, "spell_check.png");
            ui::dialog::Click(dlg, IDOK);
        });
        EXPECT_TRUE(spell.CheckQuery(query));
        EXPECT_EQ("Elephant and tiger", std::string(query));
    }
    {
        // Two misspelt words; the second replaced by a double-click on another suggestion.
        CSpellCheckDlg spell(under, &main);
        CString query = "elefant or TIGR or elefant";
        DriveTab([&](HWND dlg) {
            ui::dialog::Click(dlg, IDOK);
            EXPECT_EQ("Words that match: TIGR", std::string(spell.GetLabel()));
            EXPECT_EQ(2u, spell.GetMisspelt().size()) << "a word met twice is asked once";
            ui::dialog::ClickItem(dlg, IDC_SPELL_LIST, 0, true);
        });
        EXPECT_TRUE(spell.CheckQuery(query));
        EXPECT_EQ("elephant or TIGER or elephant", std::string(query));
    }
    {
        // Cancel: the query as typed.
        CSpellCheckDlg spell(under, &main);
        CString query = "Elefant and tiger";
        DriveTab([](HWND dlg) { ui::dialog::Click(dlg, IDCANCEL); });
        EXPECT_FALSE(spell.CheckQuery(query));
        EXPECT_EQ("Elefant and tiger", std::string(query));
    }
    {
        // A typed replacement, in a query far longer than 256 characters.
        std::string longQuery;
        for (int i = 0; i < 60; ++i)
            longQuery += "tiger or ";
        longQuery += "Elefant";
        CSpellCheckDlg spell(under, &main);
        CString query = longQuery.c_str();
        DriveTab([&](HWND dlg) {
            spell.GetEdit().SetWindowText("MAMMOTH");
            ui::dialog::Click(dlg, IDOK);
        });
        EXPECT_TRUE(spell.CheckQuery(query));
        EXPECT_EQ(longQuery.substr(0, longQuery.size() - 7) + "Mammoth", std::string(query));
    }
}

}  // namespace
