// The browsing view's data on the discs: the sample disc's table with the atlas's country
// articles and its show list, and the reference disc's rows made from FOLDOC entries (category,
// show-list title, first line) written by the disc builder and read back by the FIND list.
#include "JustLookingTestSupport.h"

#include "base/JustLookingRandomSet.h"
#include "explore/JustLookingFileVirtualList.h"
#include "explore/JustLookingRecSet.h"

#include <ContentDatabaseSource.h>
#include <FoldocJustLooking.h>
#include <SampleDisc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace explore_test {
namespace {

TEST_F(JustLookingTest, TheSampleDiscOffersTheCountryArticles)
{
    discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "t" / "disc");
    OpenDatabase();
    CJustLookingVirtualData data;
    const long nGeoArticles = data.BuildFilter(1, 1);
    EXPECT_GT(nGeoArticles, 200);  // the sample's own and one per country
    const long nRow = data.FindTitle("Afghanistan");
    ASSERT_GT(nRow, 0);
    EXPECT_EQ(1100, data.GetItemData(nRow));
    // The statistics count them too: GEO's Random has more items than a page of thumbnails.
    CJustLookingStatsSet stats(&db);
    stats.SetContent(1);
    stats.Open();
    EXPECT_EQ(nGeoArticles, stats.GetCount(1));
    stats.Close();

    // The show list is on the disc (found in its data folder) and names them too.
    CJustLookingFileVirtualList list;
    ASSERT_TRUE(list.IsListOpen());
    EXPECT_GT(list.GetCount(), 300);
    CVLVirtualData::VLLISTENTRY entry;
    EXPECT_EQ(1100, list.GetListEntry(list.FindTitle("Afghanistan"), entry));
    EXPECT_TRUE(NewBoxes().empty());
}

foldoc::FoldocEntry Entry(const std::string& title, std::vector<std::string> paragraphs)
{
    return {title, std::move(paragraphs)};
}

TEST(JustLookingFoldocRows, EachEntryGivesItsThreeRows)
{
    const std::string longTitle = "A " + std::string(120, 'x');
    const std::vector<foldoc::FoldocEntry> entries = {
        Entry("Ada", {"<language> A {Pascal}-descended language. It was named after Ada Lovelace."}),
        Entry("pipe | tee", {"1. <operating system> A {Unix} way to join programs. More text."}),
        Entry(longTitle, {"No domain at all, and no sentence end"}),
        Entry("Ethernet", {"<networking> A local area network."}),
        Entry("", {"<jargon> lost"}),
    };
    EXPECT_EQ("HUM", foldoc::JustLookingCategory(entries[0]));
    EXPECT_EQ("IND", foldoc::JustLookingCategory(entries[1]));
    EXPECT_EQ("IND", foldoc::JustLookingCategory(entries[2]));
    EXPECT_EQ("SOC", foldoc::JustLookingCategory(entries[3]));
    EXPECT_EQ("A Pascal-descended language.", foldoc::FirstLineOf(entries[0]));
    EXPECT_EQ("A Unix way to join programs.", foldoc::FirstLineOf(entries[1]));

    const foldoc::JustLookingRows rows = foldoc::MakeJustLookingRows(entries);
    EXPECT_EQ("Ada|100001|HUM|Artcl|1|Y\n"
              "pipe / tee|100002|IND|Artcl|1|Y\n" +
                  longTitle.substr(0, 100) + "|100003|IND|Artcl|1|Y\n"
                                             "Ethernet|100004|SOC|Artcl|1|Y\n",
              rows.items);
    EXPECT_EQ("Ada|100001|Artcl|HUM\n"
              "pipe / tee|100002|Artcl|IND\n" +
                  longTitle.substr(0, 100) + "|100003|Artcl|IND\n"
                                             "Ethernet|100004|Artcl|SOC\n",
              rows.shows);
    EXPECT_EQ("0100001|A Pascal-descended language.\n"
              "0100002|A Unix way to join programs.\n"
              "0100003|No domain at all, and no sentence end\n"
              "0100004|A local area network.\n",
              rows.firstLines);
}

// The reference disc's way: FOLDOC entries' rows beside the sample's database sources, built
// into a disc and read by the FIND list.
TEST_F(JustLookingTest, TheReferenceRowsReachTheFindList)
{
    const std::filesystem::path dictd = "/usr/share/dictd";
    if (!std::filesystem::exists(dictd / "foldoc.index"))
        GTEST_SKIP() << "dict-foldoc is not installed";
    const std::filesystem::path sources = dir.path() / "sources";
    std::filesystem::create_directories(sources / "lists");
    std::filesystem::copy(std::filesystem::path(VL_SAMPLE_DIR) / "database", sources / "database");
    std::filesystem::copy_file(std::filesystem::path(VL_SAMPLE_DIR) / "lists" / "places.txt", sources / "lists" / "places.txt");
    ASSERT_EQ(400u, foldoc::WriteJustLookingSources(dictd, sources, 400));
    discbuilder::WriteContentDatabase(sources / "database", DatabasePath());
    discbuilder::WriteSampleLists(sources, DataFolder());

    OpenDatabase();
    CJustLookingFileVirtualList list;
    ASSERT_TRUE(list.IsListOpen());
    CJustLookingVirtualData data;
    const long nAll = data.BuildFilter(0, 0);
    EXPECT_EQ(list.GetCount(), nAll);
    EXPECT_GE(nAll, 390);
    // Both lists hold the same items (each in its own order: the file's title order folds case
    // byte by byte, the database's is the word-sort order, which passes over hyphens).
    std::vector<long> fileIds, databaseIds;
    for (long nRow = 1; nRow <= nAll; ++nRow) {
        CVLVirtualData::VLLISTENTRY entry;
        fileIds.push_back(list.GetListEntry(nRow, entry));
        databaseIds.push_back(data.GetItemData(nRow));
    }
    EXPECT_EQ(nAll, static_cast<long>(std::count_if(fileIds.begin(), fileIds.end(), [](long n) { return n >= foldoc::kFirstRin; })));
    std::sort(fileIds.begin(), fileIds.end());
    std::sort(databaseIds.begin(), databaseIds.end());
    EXPECT_EQ(fileIds, databaseIds);
    // Every article has its first line.
    CDaoRecordset firstLines(&db);
    firstLines.Open(dbOpenSnapshot, "SELECT [Rin Code] FROM [First Line] WHERE [Rin Code] >= '0100001'");
    long nFirstLines = 0;
    while (!firstLines.IsEOF()) {
        ++nFirstLines;
        firstLines.MoveNext();
    }
    firstLines.Close();
    EXPECT_GE(nFirstLines, nAll - 5);
    EXPECT_TRUE(NewBoxes().empty());
}

}  // namespace
}  // namespace explore_test
