// The word engine: grouping and ranking of occurrence lists into keyword references (synthetic
// lists over a TITLELNK.DAT of the disc builder), and real queries through the keyword index.
#include "TopicTestSupport.h"

#include "search/KWReference.h"
#include "search/KeywordWildcards.h"
#include "search/WordEngine.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"

#include <set>

namespace {

constexpr int kMain = 110;  // main articles "Article 0" ... "Article 109"

class WordEngineTest : public TopicTest {
protected:
    void SetUp() override
    {
        TopicTest::SetUp();
        // Parts follow their article in the numbering: "Part A of 3" and "Part B of 3" after
        // "Article 3".
        std::vector<std::int32_t> rins;
        for (int i = 0; i < kMain; ++i) {
            m_titles.push_back("Article " + std::to_string(i));
            m_list.push_back(MakeArticle(2001 + i, m_titles.back(), {{"word " + std::to_string(i)}}));
            m_list.back().parent = -1;
            rins.push_back(2001 + i);
            if (i == 3) {
                const int parent = static_cast<int>(m_list.size()) - 1;
                for (const char* part : {"Part A of 3", "Part B of 3"}) {
                    m_titles.push_back(part);
                    m_list.push_back(MakeArticle(2001 + 200 + static_cast<int>(m_list.size()), part, {{"part word"}}));
                    m_list.back().parent = parent;
                    rins.push_back(m_list.back().rin);
                }
            }
        }
        OpenIndex(m_list);
        LoadRomLink(rins);
        ASSERT_TRUE(m_words.Open());
    }

    // The article number of a title.
    WORD Number(const std::string& title) const
    {
        for (std::size_t i = 0; i < m_titles.size(); ++i)
            if (m_titles[i] == title)
                return m_files.titleLinks.articleNumbers[i];
        ADD_FAILURE() << "no article " << title;
        return 0;
    }

    static KEYWORD_OCCURRENCE Rec(WORD article, bool hit, unsigned section = 0, unsigned offset = 0)
    {
        KEYWORD_OCCURRENCE r{};
        r.wRecord = article;
        r.dwHitPosition = section | offset << 8 | (hit ? 4u << 25 : 0u);
        return r;
    }
    // n hits of the article in its main text.
    void Hits(std::vector<KEYWORD_OCCURRENCE>& records, const std::string& title, int n, unsigned section = 0)
    {
        for (int k = 0; k < n; ++k)
            records.push_back(Rec(Number(title), true, section, static_cast<unsigned>(k)));
    }

    std::vector<std::string> Collect(const std::vector<KEYWORD_OCCURRENCE>& records, CReferenceList& list)
    {
        m_words.CollectHits(
            [&records](DWORD i) { return i < records.size() ? records[i] : KEYWORD_OCCURRENCE{}; }, &list);
        std::vector<std::string> titles;
        for (int i = 0; i < list.GetCount(); ++i)
            titles.push_back(static_cast<LPCSTR>(list.GetAtIndex(i)->GetTitle()));
        return titles;
    }

    static CKWReference* Keyword(CReferenceList& list, int i)
    {
        return DYNAMIC_DOWNCAST(CKWReference, list.GetAtIndex(i));
    }

    std::vector<std::string> m_titles;
    std::vector<discbuilder::IndexedArticle> m_list;
    CWordEngine m_words;
};

TEST_F(WordEngineTest, OccurrencesGroupAndRankByArticle)
{
    struct Case {
        const char* name;
        std::function<void(std::vector<KEYWORD_OCCURRENCE>&)> records;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"more hits first, equal hits by article number",
         [&](auto& r) {
             Hits(r, "Article 1", 3);
             Hits(r, "Article 2", 5);
             Hits(r, "Article 5", 3);
             Hits(r, "Article 6", 1);
         },
         {"Article 2", "Article 1", "Article 5", "Article 6"}},
        {"an article without a hit in its own records is dropped",
         [&](auto& r) {
             r.push_back(Rec(Number("Article 1"), false));
             r.push_back(Rec(Number("Article 1"), false, 0, 9));
             Hits(r, "Article 2", 1);
         },
         {"Article 2"}},
        {"parts follow their article and count towards it",
         [&](auto& r) {
             Hits(r, "Article 2", 3);
             Hits(r, "Article 3", 1);
             Hits(r, "Part A of 3", 2, 220);
             Hits(r, "Part B of 3", 1, 221);
             Hits(r, "Article 4", 2);
         },
         {"Article 3", "Part A of 3", "Part B of 3", "Article 2", "Article 4"}},
        {"an article with no hit of its own is dropped with its parts",
         [&](auto& r) {
             r.push_back(Rec(Number("Article 3"), false));
             Hits(r, "Part A of 3", 4, 220);
             Hits(r, "Article 4", 1);
         },
         {"Article 4"}},
        {"a part met first ranks its article",
         [&](auto& r) {
             Hits(r, "Article 1", 1);
             Hits(r, "Part A of 3", 2, 220);
             Hits(r, "Part B of 3", 2, 220);
         },
         {"Article 3", "Part A of 3", "Part B of 3", "Article 1"}},
        {"a table of a main article is no part",
         [&](auto& r) {
             Hits(r, "Article 7", 1);
             Hits(r, "Article 8", 2, 230);
         },
         {"Article 8", "Article 7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<KEYWORD_OCCURRENCE> records;
        c.records(records);
        CReferenceList list;
        EXPECT_EQ(c.expected, Collect(records, list));
        for (int i = 0; i < list.GetCount(); ++i) {
            ASSERT_NE(nullptr, Keyword(list, i));
            EXPECT_EQ(REFENTRY_RESULT, list.GetAtIndex(i)->GetEntryCode());
        }
    }
}

TEST_F(WordEngineTest, ReferencesCarryCountersHitListsAndPlaces)
{
    std::vector<KEYWORD_OCCURRENCE> records;
    records.push_back(Rec(Number("Article 3"), false, 1, 5));  // first: in the list though no hit
    Hits(records, "Article 3", 2, 1);
    Hits(records, "Part A of 3", 3, 220);
    CReferenceList list;
    ASSERT_EQ((std::vector<std::string>{"Article 3", "Part A of 3"}), Collect(records, list));

    CKWReference* main = Keyword(list, 0);
    EXPECT_EQ(2004, main->GetNumber());
    EXPECT_EQ(4, main->GetBlock()) << "placed by the ROM_LINK table";
    EXPECT_EQ(REFKIND_ARTICLE, main->GetKind());
    EXPECT_EQ(0, main->m_nFirstRecord);
    EXPECT_EQ(2, main->m_nOwnHits);
    EXPECT_EQ(5, main->m_nTotalHits);
    EXPECT_EQ(0, main->m_nParent);
    EXPECT_EQ(Number("Article 3"), main->m_nArticleNumber);
    CHitList* hits = DYNAMIC_DOWNCAST(CHitList, main->GetData());
    ASSERT_NE(nullptr, hits);
    ASSERT_EQ(3, hits->GetCount());
    EXPECT_EQ(1u, hits->GetAt(0)->GetSection());
    EXPECT_EQ(5u, hits->GetAt(0)->GetOffset());

    CKWReference* part = Keyword(list, 1);
    EXPECT_EQ(3, part->m_nFirstRecord);
    EXPECT_EQ(3, part->m_nOwnHits);
    EXPECT_EQ(0, part->m_nTotalHits);
    EXPECT_EQ(Number("Article 3"), part->m_nParent);
    EXPECT_EQ(m_list[4].rin, part->GetNumber());
    hits = DYNAMIC_DOWNCAST(CHitList, part->GetData());
    ASSERT_NE(nullptr, hits);
    EXPECT_EQ(3, hits->GetCount());
    EXPECT_EQ(220u, hits->GetAt(0)->GetSection());

    // The copy keeps the keyword fields.
    std::unique_ptr<CKWReference> copy(main->CloneKeyword());
    EXPECT_EQ(5, copy->m_nTotalHits);
    EXPECT_EQ(main->GetTitle(), copy->GetTitle());
}

TEST_F(WordEngineTest, OnlyTheBestHundredRank)
{
    // 110 articles, article i with 200 - i hits: the 101st by hits is left out.
    std::vector<KEYWORD_OCCURRENCE> records;
    for (int i = 0; i < kMain; ++i)
        Hits(records, "Article " + std::to_string(i), 200 - i);
    CReferenceList list;
    const std::vector<std::string> titles = Collect(records, list);
    ASSERT_EQ(100u, titles.size());
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ("Article " + std::to_string(i), titles[static_cast<std::size_t>(i)]);
    EXPECT_EQ(110, m_words.GetArticlesSeen());

    // In reverse: the later, stronger articles push the first ones out.
    records.clear();
    for (int i = 0; i < kMain; ++i)
        Hits(records, "Article " + std::to_string(i), 1 + i);
    CReferenceList second;
    const std::vector<std::string> reversed = Collect(records, second);
    ASSERT_EQ(100u, reversed.size());
    EXPECT_EQ("Article 109", reversed.front());
    EXPECT_EQ("Article 10", reversed.back());
}

TEST_F(WordEngineTest, QueriesThroughTheKeywordIndex)
{
    CReferenceList list;
    m_words.Search("word", &list, FALSE);
    ASSERT_EQ(100, list.GetCount()) << "every article has the word once: the first hundred by number";
    EXPECT_STREQ("Article 0", list.GetAtIndex(0)->GetTitle());

    CReferenceList one;
    m_words.Search("107", &one, TRUE);
    ASSERT_EQ(1, one.GetCount());
    EXPECT_STREQ("Article 107", one.GetAtIndex(0)->GetTitle());
    EXPECT_EQ(2108, one.GetAtIndex(0)->GetNumber());

    // Find in one article: its hits, or nothing.
    std::unique_ptr<CKWReference> found(m_words.FindInArticle("word", 2006));
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ("Article 5", found->GetTitle());
    CHitList* hits = DYNAMIC_DOWNCAST(CHitList, found->GetData());
    ASSERT_NE(nullptr, hits);
    EXPECT_EQ(1, hits->GetCount());
    EXPECT_EQ(nullptr, m_words.FindInArticle("word", 999));
    EXPECT_EQ(nullptr, m_words.FindInArticle("nothing", 2006));
}

TEST_F(WordEngineTest, MissingOrShortTitleLinks)
{
    // A TITLELNK.DAT cut short: the records beyond it read as failures, with a message.
    CWordEngine engine;
    const std::string bytes = ReadData(discbuilder::kTitleLinkFileName);
    WriteData(discbuilder::kTitleLinkFileName, bytes.substr(0, 40));
    ASSERT_TRUE(engine.Open());
    std::vector<std::string> boxes = BoxesOf([&] { EXPECT_EQ(0, engine.GetParentNumber(Number("Part A of 3"))); });
    EXPECT_EQ(std::vector<std::string>{WORDENGINE_MSG_READ}, boxes);

    // None at all: the open says so.
    CWordEngine without;
    std::filesystem::remove(DataFolder() / discbuilder::kTitleLinkFileName);
    boxes = BoxesOf([&] { EXPECT_FALSE(without.Open()); });
    EXPECT_EQ(std::vector<std::string>{WORDENGINE_MSG_OPEN}, boxes);
}

}  // namespace

namespace {

int g_wordLists = 0;

}  // namespace

// A checked search lets the reader choose the words of a wildcard term; an unchecked one takes
// them all; a cancelled list searches nothing.
TEST_F(WordEngineTest, ACheckedQueryAsksForTheWordsOfAWildcardTerm)
{
    auto titles = [](CReferenceList& list) {
        std::set<std::string> out;
        for (int i = 0; i < list.GetCount(); ++i)
            out.insert(static_cast<LPCSTR>(list.GetAtIndex(i)->GetTitle()));
        return out;
    };
    g_wordLists = 0;
    SetWildcardChooser([](const CString&, std::vector<DWORD>& flags) {
        ++g_wordLists;
        flags.front() = 1;
        flags.back() = 1;
        return 1;
    });
    CReferenceList chosen;
    m_words.Search("10#", &chosen, TRUE);
    EXPECT_EQ(1, g_wordLists);
    EXPECT_EQ(titles(chosen), (std::set<std::string>{"Article 100", "Article 109"}));

    CReferenceList all;
    m_words.Search("10#", &all, FALSE);
    EXPECT_EQ(1, g_wordLists) << "an unchecked query asks nothing";
    EXPECT_EQ(10, all.GetCount());

    SetWildcardChooser([](const CString&, std::vector<DWORD>&) { return 0; });
    CReferenceList none;
    m_words.Search("10#", &none, TRUE);
    EXPECT_EQ(0, none.GetCount());
    EXPECT_TRUE(KeywordPrepassCancelled());
    SetWildcardChooser(nullptr);
    FreeWildcardExpansions();
}
