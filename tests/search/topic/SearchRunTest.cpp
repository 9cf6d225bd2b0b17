// Search runs on the sample disc: the order of the topic and word engines, the flattening of
// topic results and the merge; and topic searches on a slice of the reference disc checked
// against a scan of its titles.
#include "TopicTestSupport.h"

#include "search/KWReference.h"
#include "search/SubjectNormalizer.h"
#include "search/TopicEngine.h"

#include "base/ReferenceList.h"
#include "base/TPReference.h"

#include <ArticleSource.h>
#include <FoldocSource.h>
#include <SampleDisc.h>

#include <map>
#include <set>

namespace {

// The sample disc, built once for every case.
std::filesystem::path SampleDiscFolder()
{
    static TempDir folder;
    static const bool built = [] {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, folder.path() / "disc");
        return true;
    }();
    (void)built;
    return folder.path() / "disc";
}

class SearchRunTest : public TopicTest {
protected:
    void SetUp() override
    {
        TopicTest::SetUp();
        // The sample disc's data folder is the test's data folder.
        std::filesystem::copy(SampleDiscFolder() / "info_dat", DataFolder(),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        AppServices().owned.pSearchEngine = &m_engine;
        ASSERT_TRUE(m_engine.Init());
    }

    std::vector<CReference*> Run(const char* query, BOOL bTopicMode, CReferenceList& list)
    {
        m_engine.Search(query, &list, bTopicMode);
        std::vector<CReference*> refs;
        for (int i = 0; i < list.GetCount(); ++i)
            refs.push_back(list.GetAtIndex(i));
        return refs;
    }

    // The references the topic engine makes for the heading of the query (heading, then its
    // sub-entries' titles).
    std::vector<std::string> TopicTitles(const char* query)
    {
        CReferenceList topics;
        m_engine.GetTopicEngine()->Search(query, &topics);
        std::vector<std::string> titles;
        for (int i = 0; i < topics.GetCount(); ++i) {
            titles.push_back(static_cast<LPCSTR>(topics.GetAtIndex(i)->GetTitle()));
            if (CReferenceList* subs = topics.GetAtIndex(i)->GetSubList())
                for (int k = 0; k < subs->GetCount(); ++k)
                    titles.push_back(static_cast<LPCSTR>(subs->GetAtIndex(k)->GetTitle()));
        }
        return titles;
    }

    static std::vector<std::string> Titles(const std::vector<CReference*>& refs)
    {
        std::vector<std::string> titles;
        for (CReference* r : refs)
            titles.push_back(static_cast<LPCSTR>(r->GetTitle()));
        return titles;
    }
};

TEST_F(SearchRunTest, TopicModeListsHeadingsWithTheirEntriesAndFallsBackToWords)
{
    // A heading: the heading row, then its sub-entries (the article, its sections, the related
    // articles as "See also" entries), and no word hits.
    CReferenceList list;
    const std::vector<CReference*> refs = Run("volcano", TRUE, list);
    const std::vector<std::string> expected = TopicTitles("volcano");
    ASSERT_GE(expected.size(), 4u);
    EXPECT_EQ(expected, Titles(refs));
    EXPECT_EQ("Volcano", expected[0]);
    EXPECT_EQ(REFKIND_NONE, refs[0]->GetKind()) << "the heading row";
    EXPECT_EQ(1002, refs[1]->GetNumber());
    EXPECT_NE(expected.end(), std::find(expected.begin(), expected.end(), "See also Great Lakes"));

    // No heading matches: the word hits.
    CReferenceList words;
    const std::vector<CReference*> lava = Run("lava", TRUE, words);
    ASSERT_FALSE(lava.empty());
    EXPECT_EQ(0, GetSubjectResultCount());
    for (CReference* r : lava)
        EXPECT_NE(0, r->GetNumber());
    EXPECT_EQ(1002, lava[0]->GetNumber());
}

TEST_F(SearchRunTest, WordModeNeverConsultsTheSubjectIndex)
{
    CReferenceList list;
    const std::vector<CReference*> refs = Run("volcano", FALSE, list);
    ASSERT_FALSE(refs.empty());
    std::set<LONG> numbers;
    for (CReference* r : refs) {
        EXPECT_NE(REFKIND_NONE, r->GetKind()) << "no heading rows";
        EXPECT_TRUE(numbers.insert(r->GetNumber()).second) << "each article once";
    }
    EXPECT_TRUE(numbers.count(1002));
    EXPECT_FALSE(m_engine.IsSearching());
}

TEST_F(SearchRunTest, ADirectRunMergesTopicAndWordHitsOnce)
{
    // Outside a pane search both engines run; the heading rows go and a word hit on an article
    // that a topic entry names is listed once, at the topic entry's place.
    CReferenceList list;
    m_engine.RunSearch("volcano", &list);
    ASSERT_GT(list.GetCount(), 1);
    std::vector<std::string> topic = TopicTitles("volcano");
    topic.erase(topic.begin());  // the heading row
    int ones = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        CReference* r = list.GetAtIndex(i);
        if (i < static_cast<int>(topic.size())) {
            EXPECT_EQ(topic[static_cast<std::size_t>(i)], std::string(r->GetTitle())) << i;
        }
        ones += r->GetNumber() == 1002;
        EXPECT_NE(REFKIND_NONE, r->GetKind());
    }
    EXPECT_EQ(1002, list.GetAtIndex(0)->GetNumber());
    // 1002 is named by the heading's own entry and its section entries; the word hit adds none.
    int named = 0;
    CReferenceList topics;
    m_engine.GetTopicEngine()->Search("volcano", &topics);
    for (int k = 0; k < topics.GetAtIndex(0)->GetSubList()->GetCount(); ++k)
        named += topics.GetAtIndex(0)->GetSubList()->GetAtIndex(k)->GetNumber() == 1002;
    EXPECT_EQ(named, ones);

    // The narrower entries.
    CReferenceList words;
    m_engine.WordSearch("lava", &words);
    EXPECT_FALSE(words.IsEmpty());
    std::unique_ptr<CKWReference> found(m_engine.FindInArticle("lava", 1002));
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(1002, found->GetNumber());
    EXPECT_EQ(nullptr, m_engine.FindInArticle("lava", 1004));
}

TEST_F(SearchRunTest, FlatteningPutsEachHeadingBeforeItsCrossReferences)
{
    CReferenceList* topics = new CReferenceList;
    for (const char* heading : {"First", "Second"}) {
        CTPReference* topic = new CTPReference;
        topic->SetTitle(heading);
        CReferenceList* subs = new CReferenceList;
        for (int k = 0; k < 3; ++k) {
            CReference* sub = new CReference;
            sub->SetTitle((std::string(heading) + " " + std::to_string(k)).c_str());
            subs->Append(sub);
        }
        topic->SetSubList(subs);
        topics->Append(topic);
    }
    std::unique_ptr<CReferenceList> flat(m_engine.FlattenTopicResults(topics));
    std::vector<std::string> titles;
    for (int i = 0; i < flat->GetCount(); ++i)
        titles.push_back(static_cast<LPCSTR>(flat->GetAtIndex(i)->GetTitle()));
    // Outside a pane search the heading rows are dropped.
    EXPECT_EQ((std::vector<std::string>{"First 0", "First 1", "First 2", "Second 0", "Second 1", "Second 2"}), titles);
}

TEST_F(SearchRunTest, InitFailsWithoutTheSubjectIndex)
{
    CSearchEngine engine;
    std::filesystem::remove(DataFolder() / "SSUBJECT.NDX");
    CloseSubjectIndex();
    std::vector<std::string> boxes = BoxesOf([&] { EXPECT_FALSE(engine.Init()); });
    EXPECT_EQ(std::vector<std::string>{">>> Error opening sorted subject index file"}, boxes);
    EXPECT_FALSE(engine.IsInitialised());
    CReferenceList list;
    boxes = BoxesOf([&] { engine.Search("volcano", &list, TRUE); });
    EXPECT_TRUE(list.IsEmpty()) << "the list stays untouched";
}

// ---------------------------------------------------------------------------------------------
// The reference disc: the subject index of a slice of FOLDOC, searched for its own titles.

constexpr std::size_t kSlice = 1500;

class ReferenceTopicTest : public TopicTest {};

// Spaces and hyphens out: the matcher steps over them.
std::string Squeezed(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '-' && c != ',')
            out += c;
    return out;
}

TEST_F(ReferenceTopicTest, TitlesAreFoundAsTheirScanPredicts)
{
    std::vector<discbuilder::ArticleRecordSource> sources;
    const std::vector<foldoc::FoldocEntry> entries =
        foldoc::ReadFoldoc(VL_FOLDOC_DIR "/foldoc.index", VL_FOLDOC_DIR "/foldoc.dict.dz", kSlice);
    for (const foldoc::ArticleSourceFile& file : foldoc::MakeArticleSources(entries))
        sources.push_back(discbuilder::ParseArticleSource(file.text, file.fileName));
    ASSERT_EQ(kSlice, sources.size());
    const auto& files = WriteSubjects(discbuilder::SubjectHeadingsFrom(sources));
    ASSERT_GT(files.master.size() / 6, 10u) << "many blocks";
    ASSERT_TRUE(OpenSubjectIndex());

    std::size_t queries = 0, exact = 0;
    for (std::size_t i = 0; i < sources.size(); i += 7) {
        const std::string query = sources[i].title;
        const std::string q = subject_text::Normalize(query).text;
        if (q.empty())
            continue;
        SCOPED_TRACE(query);
        ++queries;
        // The oracle: every title equal to the query, and every title that begins with it and a
        // space or hyphen, scanning the whole list.
        std::multiset<std::string> equal, leading;
        for (const std::string& t : files.titles) {
            if (t == q)
                equal.insert(t);
            else if (t.size() > q.size() && t.compare(0, q.size(), q) == 0 && (t[q.size()] == ' ' || t[q.size()] == '-'))
                leading.insert(t);
        }
        ASSERT_FALSE(equal.empty()) << "the query is a title";
        const std::vector<SubjectResultInfo> results = Results(query);
        std::multiset<std::string> got;
        for (const SubjectResultInfo& r : results)
            got.insert(static_cast<LPCSTR>(r.strTitle));
        // Every title the scan finds is listed (while the list has room for them).
        if (equal.size() + leading.size() <= SUBJECT_MAX_RESULTS) {
            for (const std::string& t : equal)
                EXPECT_GE(got.count(t), equal.count(t)) << t;
            for (const std::string& t : leading)
                EXPECT_GE(got.count(t), leading.count(t)) << t;
        }
        // An exact title is an exact match, first.
        ASSERT_FALSE(results.empty());
        EXPECT_EQ(1, results[0].nClass);
        exact += q == std::string(results[0].strTitle);
        // Ordered by class, then plural length, then score.
        for (std::size_t k = 1; k < results.size(); ++k) {
            const SubjectResultInfo& a = results[k - 1];
            const SubjectResultInfo& b = results[k];
            EXPECT_LE(a.nClass, b.nClass) << k;
            if (k > 1 && a.nClass == b.nClass && a.nPluralLength == b.nPluralLength) {
                EXPECT_GE(a.nScore, b.nScore) << k;
            }
        }
        // What is listed agrees with the query: it begins with the query's first letters, spaces
        // and hyphens aside, the query's first word possibly read without a plural ending.
        const std::string word = q.substr(0, q.find_first_of(" -,"));
        std::vector<std::string> stems{word};
        for (const char* ending : {"S", "ES", "SES"}) {
            const std::string e(ending);
            if (word.size() > e.size() && word.compare(word.size() - e.size(), e.size(), e) == 0)
                stems.push_back(word.substr(0, word.size() - e.size()));
        }
        for (const SubjectResultInfo& r : results) {
            const std::string t = Squeezed(static_cast<LPCSTR>(r.strTitle));
            bool agrees = false;
            for (const std::string& stem : stems)
                agrees = agrees || t.compare(0, std::min<std::size_t>(3, stem.size()), stem.substr(0, 3)) == 0;
            EXPECT_TRUE(agrees) << r.strTitle << " (class " << r.nClass << ")";
        }
    }
    EXPECT_GT(queries, 150u);
    EXPECT_EQ(queries, exact) << "each title's own heading comes first";
}

}  // namespace
