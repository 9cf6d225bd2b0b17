// The browsing view's database side: the filter and count-cache key of every kind of choice, the
// rows each filter gives, the row count cache in [Table Data] (walked once per combination,
// damaged and unwritable caches), the list data without a database, the result array and the
// history state.
#include "JustLookingTestSupport.h"

#include "explore/JustLookingRecSet.h"
#include "explore/JustLookingStateObj.h"

#include <TitleSet.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace explore_test {
namespace {

TEST(JustLookingFilter, FiltersAndCountKeysAreSpelledOut)
{
    const struct {
        int category, content;
        char disc, show;
        BOOL noArticles;
        const char* filter;
        const char* key;
    } cases[] = {
        {0, 0, 0, 'Y', FALSE, " [Show In JustLooking] = 'Y'", "00"},
        {3, 11, 0, 'Y', FALSE,
         "[Category] = 'HUM' AND [Content] IN ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel') AND  "
         "[Show In JustLooking] = 'Y'",
         "3B"},
        {8, 12, 0, 'Y', FALSE, "[Category] = 'SOC' AND [Content] = 'TimeLine' AND  [Show In JustLooking] = 'Y'", "8C"},
        {8, 12, '1', 'Y', FALSE,
         "[Category] = 'SOC' AND [Content] = 'TimeLine' AND  [Show In JustLooking] = 'Y' AND  [Which CD] = '1'", "8C1Y"},
        {1, 1, 0, 0, FALSE, "[Category] = 'GEO' AND [Content] = 'Artcl'", "11"},
        {0, 0, '2', 0, TRUE, " [Which CD] = '2' AND   NOT [CONTENT] = 'Artcl'", "002"},
        {0, 10, 0, 0, TRUE, "[Content] = 'Centry' AND   NOT [CONTENT] = 'Artcl'", "0A"},
        {0, 0, 0, 0, FALSE, "", "00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        CJustLookingRecSet set(NULL);
        set.m_nCategory = c.category;
        set.m_nContent = c.content;
        set.m_chDisc = c.disc;
        set.m_chShow = c.show;
        set.m_bNoArticles = c.noArticles;
        EXPECT_STREQ(c.filter, set.MakeFilter());
        EXPECT_STREQ(c.key, set.MakeCountKey());
    }
}

TEST_F(JustLookingTest, EachFilterGivesItsRowsInTitleOrder)
{
    auto items = Items(120);
    items[5].showInJustLooking = "N";
    WriteDatabase(items);
    OpenDatabase();
    CJustLookingVirtualData data;
    ASSERT_TRUE(data.OpenEmpty());
    EXPECT_EQ(0, data.GetCount());

    auto expected = [&](const char* category, const char* content) {
        long n = 0;
        for (const auto& item : items)
            if (item.showInJustLooking == "Y" && (category == nullptr || item.category == category) &&
                (content == nullptr || item.content == content || (std::string(content) == "media" &&
                                                                     (item.content == "Pict" || item.content == "Video" ||
                                                                      item.content == "Map"))))
                ++n;
        return n;
    };
    EXPECT_EQ(expected(nullptr, nullptr), data.BuildFilter(0, 0));
    EXPECT_EQ(119, data.GetCount());
    EXPECT_EQ(expected("GEO", nullptr), data.BuildFilter(1, 0));
    EXPECT_EQ(expected(nullptr, "Pict"), data.BuildFilter(0, 4));
    EXPECT_EQ(expected(nullptr, "media"), data.BuildFilter(0, 11));
    EXPECT_EQ(expected("HUM", "media"), data.BuildFilter(3, 11));
    EXPECT_EQ(expected(nullptr, "OnLine"), data.BuildFilter(0, 9));
    EXPECT_EQ(0, data.BuildFilter(0, 7));  // no VirRel items

    // The rows are the set's records in title order; the identifiers are the numbers.
    ASSERT_EQ(expected("GEO", nullptr), data.BuildFilter(1, 0));
    TVITEM item = {};
    item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(2));
    ASSERT_TRUE(data.GetItem(&item));
    EXPECT_STREQ("Item 0008", item.pszText);
    EXPECT_EQ(1009, item.lParam);
    // The disc and no-articles parts run too.
    CJustLookingRecSet* pSet = data.GetRecSet();
    pSet->m_chDisc = '2';
    pSet->m_bNoArticles = TRUE;
    long n = 0;
    for (const auto& it : items)
        if (it.showInJustLooking == "Y" && it.whichCd == "2" && it.content != "Artcl")
            ++n;
    EXPECT_EQ(n, data.BuildFilter(0, 0));
}

// Counts the records the set reads, so that a walk over them shows.
class CCountingSet : public CJustLookingRecSet {
public:
    using CJustLookingRecSet::CJustLookingRecSet;
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        if (pFX->m_nOperation == CDaoFieldExchange::Fixup)
            ++m_nReads;
        CJustLookingRecSet::DoFieldExchange(pFX);
    }
    int m_nReads = 0;
};

TEST_F(JustLookingTest, TheCountCacheIsWrittenOnceAndSparesTheWalk)
{
    WriteDatabase(Items(300));
    OpenDatabase();
    CCountingSet first(&db);
    first.m_nCategory = 8;
    first.m_nContent = 0;
    first.m_strFilter = first.MakeFilter();
    ASSERT_TRUE(first.OpenChecked());
    const int nFirstReads = first.m_nReads;
    EXPECT_EQ(37, first.GetCount());  // every eighth of 300 items is SOC
    EXPECT_EQ(first.GetCount(), first.GetRowCount());
    auto rows = CacheRows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Dada Vaveroz Records-80", rows[0].first);
    EXPECT_EQ(37, rows[0].second);
    // The set stands on its first record after the count.
    EXPECT_STREQ("Item 0007", first.m_Title);

    CCountingSet second(&db);
    second.m_nCategory = 8;
    second.m_strFilter = second.MakeFilter();
    ASSERT_TRUE(second.OpenChecked());
    EXPECT_EQ(37, second.GetCount());
    EXPECT_LT(second.m_nReads, nFirstReads);
    EXPECT_LE(second.m_nReads, 1);  // the first record only
    EXPECT_EQ(1u, CacheRows().size());

    // Another combination adds its own row.
    CJustLookingVirtualData data(&db);
    data.BuildFilter(8, 12);
    rows = CacheRows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const auto& r) { return r.first == "Dada Vaveroz Records-8C"; }));
    // An empty combination is not cached: its count is 0 without a walk.
    EXPECT_EQ(0, data.BuildFilter(1, 7));
    EXPECT_EQ(2u, CacheRows().size());
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(JustLookingTest, ADamagedCacheRowIsCountedAgainAndPutRight)
{
    {
        discbuilder::ContentDatabaseWriter writer(DatabasePath());
        for (const auto& item : Items(40))
            writer.AddDadaVaverozItem(item);
        writer.AddTableData("Dada Vaveroz Records-00", "", -7);
        writer.Close();
    }
    OpenDatabase();
    CJustLookingVirtualData data;
    EXPECT_EQ(40, data.BuildFilter(0, 0));
    auto rows = CacheRows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(40, rows[0].second);
}

TEST_F(JustLookingTest, AReadOnlyDatabaseStillGivesTheCountedRows)
{
    WriteDatabase(Items(50));
    OpenDatabase(TRUE);
    CJustLookingVirtualData data;
    EXPECT_EQ(50, data.BuildFilter(0, 0));
    EXPECT_EQ(7, data.BuildFilter(2, 0));
    EXPECT_TRUE(CacheRows().empty());
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(JustLookingTest, WithoutADatabaseTheReaderIsToldAndTheListIsEmpty)
{
    host::AnswerMessageBox("Unable to get Database", IDOK);
    CJustLookingVirtualData data;
    const auto log = host::MessageBoxLog();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("Unable to get Database in CJustLookingVirtualData\nPlease Reinstall Veltra", log[0].text);
    EXPECT_FALSE(data.OpenEmpty());
    EXPECT_EQ(0, data.BuildFilter(1, 1));
    EXPECT_EQ(0, data.GetCount());
}

TEST_F(JustLookingTest, TypedTitlesAreFoundInTheDatabasesOwnOrder)
{
    // Titles whose punctuation sorts one way in the database (hyphens count for little) and
    // another byte by byte.
    const char* const titles[] = {"CAD/CAM", "C-Refine", "creationism", "Mono", "Motorola 68050", "MPL II",
                                  "MPS III", "Mul-T", "MultiCal System", "X.28", "XENIX", "X-Windows"};
    std::vector<discbuilder::DadaVaverozItem> items;
    int n = 0;
    for (const char* title : titles) {
        discbuilder::DadaVaverozItem item;
        item.title = title;
        item.rinCode = std::to_string(1001 + n++);
        item.category = "IND";
        item.content = "Artcl";
        items.push_back(item);
    }
    WriteDatabase(items);
    OpenDatabase();
    CJustLookingVirtualData data;
    ASSERT_EQ(12, data.BuildFilter(4, 0));
    auto titleOf = [&](long nRow) {
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
        return data.GetItem(&item) ? std::string(item.pszText) : std::string();
    };
    const struct {
        const char* typed;
        const char* found;
    } cases[] = {
        {"mono", "Mono"}, {"Motoro", "Motorola 68050"}, {"MPL", "MPL II"}, {"mult", "Mul-T"} /* "MulT" in that order */,
        {"X.", "X.28"},   {"cad", "CAD/CAM"},          {"zzz", "X-Windows"}, {"  ", "CAD/CAM"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.found, titleOf(data.FindTitle(c.typed))) << c.typed;
    // The row found is loaded.
    const long nRow = data.FindTitle("MPS");
    EXPECT_LE(data.GetFirstLoadedRow(), nRow);
    EXPECT_LT(nRow, data.GetFirstLoadedRow() + data.GetLoadedCount());
}

TEST_F(JustLookingTest, TheSetCopiesIntoItsOwnKindOnlyAndGivesNumbers)
{
    WriteDatabase(Items(10));
    OpenDatabase();
    CJustLookingRecSet set(&db);
    set.m_nCategory = 3;
    set.m_strFilter = set.MakeFilter();
    ASSERT_TRUE(set.OpenChecked());
    CString strKey;
    EXPECT_STREQ("Item 0002", set.GetKey(strKey));
    EXPECT_EQ(1003, set.GetItemId());
    EXPECT_STREQ("Video", set.GetContentType());
    CJustLookingRecSet other(&db);
    set.CopyFields(&other);
    EXPECT_STREQ("Item 0002", other.m_Title);
    EXPECT_STREQ("1003", other.m_RinCode);
    EXPECT_STREQ("HUM", other.m_Category);
    EXPECT_STREQ("Video", other.m_Content);
    EXPECT_TRUE(other.m_WhichCD.IsEmpty());
    testsets::CTitleSet unrelated(&db);
    set.CopyFields(&unrelated);  // another class of set: nothing happens
    EXPECT_TRUE(unrelated.m_Title.IsEmpty());
    // The prefix search runs up to the set's count.
    CJustLookingRecSet all(&db);
    all.m_strFilter = all.MakeFilter();
    ASSERT_TRUE(all.OpenChecked());
    EXPECT_EQ(6, all.FindPrefix("item 0005"));
    EXPECT_STREQ("Item 0005", all.m_Title);
}

TEST(JustLookingState, ClonesAndCopiesCarryTheResults)
{
    CJustLookingResultArray results;
    results.Add(CJustLookingResult(CRin(1001), "Aviation", "IND"));
    results.Add(CJustLookingResult(CRin(3000001), "Map of the Great Lakes", "GEO"));
    CJustLookingStateObj state(3, 11, results);
    EXPECT_EQ(8002u, state.m_nWindowID);
    EXPECT_STREQ("Dada Vaveroz", state.m_strTitle);

    std::unique_ptr<CVLStateObj> clone(state.Clone());
    auto* pClone = DYNAMIC_DOWNCAST(CJustLookingStateObj, clone.get());
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(3, pClone->m_nCategory);
    EXPECT_EQ(11, pClone->m_nContent);
    ASSERT_EQ(2, pClone->m_results.GetSize());
    EXPECT_EQ(3000001u, pClone->m_results[1].m_rin.GetNumber());
    EXPECT_STREQ("GEO", pClone->m_results[1].m_strCategory);
    // The copy is its own: changing it leaves the original.
    pClone->m_results[0].m_strTitle = "Changed";
    EXPECT_STREQ("Aviation", state.m_results[0].m_strTitle);

    CJustLookingStateObj other;
    other.CopyFrom(state);
    EXPECT_EQ(2, other.m_results.GetSize());
    EXPECT_EQ(11, other.m_nContent);

    // The results go through an archive and back.
    CMemFile file;
    {
        CArchive store(&file, CArchive::store);
        results.Serialize(store);
    }
    file.SeekToBegin();
    CJustLookingResultArray loaded;
    {
        CArchive load(&file, CArchive::load);
        loaded.Serialize(load);
    }
    ASSERT_EQ(2, loaded.GetSize());
    EXPECT_STREQ("Map of the Great Lakes", loaded[1].m_strTitle);
    EXPECT_EQ(1001u, loaded[0].m_rin.GetNumber());
}

}  // namespace
}  // namespace explore_test
