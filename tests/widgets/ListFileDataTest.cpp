// The list-file provider: its index file (written by the disc builder, built again by the program
// when missing, damaged or stale), the windows it loads, damaged data files, long lines, the
// entries of list and tree mode, and closing and reopening.
#include "ListProviderFixture.h"

#include <ContentDatabaseSource.h>

#include <gtest/gtest.h>

#include <functional>

namespace listdata {
namespace {

class ListFileDataTest : public ListProviderTest {
protected:
    std::string IndexText() const { return dir.Read("t/list.ndx"); }
};

TEST_F(ListFileDataTest, TwoHundredFiftyEntriesGiveAFourLineIndexThatTheProgramBuildsAlike)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    const discbuilder::ListFileBytes bytes = discbuilder::MakeListFiles(ShowEntries(sorted));
    // The count, then the line positions and keys of entries 0, 100 and 200.
    auto lineStart = [&](size_t entry) {
        size_t at = 0;
        for (size_t i = 0; i < entry; ++i)
            at = bytes.data.find("\r\n", at) + 2;
        return at;
    };
    const std::string expected = "250\r\n0 " + sorted[0].title.substr(0, 4) + "\r\n" + std::to_string(lineStart(100)) +
                                 " " + sorted[100].title.substr(0, 4) + "\r\n" + std::to_string(lineStart(200)) + " " +
                                 sorted[200].title.substr(0, 4) + "\r\n";
    EXPECT_EQ(expected, bytes.index);

    // Without an index the program writes the same one.
    dir.Write("t/list.dat", bytes.data);
    BOOL opened = FALSE;
    auto list = OpenShowList(&opened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(bytes.index, IndexText());
    ASSERT_EQ(3u, list->GetBlockLines().size());
    EXPECT_EQ(static_cast<long>(lineStart(100)), list->GetBlockLines()[1].nPosition);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ListFileDataTest, RowOneLoadsTheFirstBlockAndRowOneHundredOneTheSecond)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    WriteShowList(sorted);
    auto list = OpenShowList();
    EXPECT_EQ(0, list->GetLoadedCount()) << "nothing is read before a row is asked for";

    struct Step {
        long row;
        long first, count;
    } const steps[] = {{1, 1, 100}, {100, 1, 100}, {101, 101, 100}, {200, 101, 100}, {5, 1, 100}, {250, 201, 50}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        EXPECT_EQ(sorted[static_cast<size_t>(s.row - 1)].title, TitleOf(*list, s.row));
        EXPECT_EQ(s.first, list->GetFirstLoadedRow());
        EXPECT_EQ(s.count, list->GetLoadedCount());
    }
    // A window from any row: up to 100 entries from there.
    EXPECT_EQ(100, list->LoadBlock(120));
    EXPECT_EQ(120, list->GetFirstLoadedRow());
    EXPECT_EQ(sorted[119].title, TitleOf(*list, 120));
    EXPECT_EQ(120, list->GetFirstLoadedRow()) << "a row in the window loads nothing";
    EXPECT_EQ(31, list->LoadBlock(220));
    EXPECT_EQ(0, list->LoadBlock(251));
}

TEST_F(ListFileDataTest, ADamagedMissingOrStaleIndexIsBuiltAgain)
{
    const std::vector<Row> rows = MakeRows(250);
    const std::vector<Row> sorted = Sorted(rows);
    const discbuilder::ListFileBytes bytes = discbuilder::MakeListFiles(ShowEntries(rows));
    const std::string good = bytes.index;
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const size_t secondLine = good.find("\r\n") + 2, thirdLine = good.find("\r\n", secondLine) + 2;
    const std::string thirdPosition = good.substr(thirdLine, good.find(' ', thirdLine) - thirdLine);
    struct Case {
        std::string what;
        std::function<void()> damage;
    } const cases[] = {
        {"missing", [&] { std::filesystem::remove(HostT("list.ndx")); }},
        {"empty", [&] { dir.Write("t/list.ndx", ""); }},
        {"a count too high", [&] { dir.Write("t/list.ndx", replace("250\r\n", "251\r\n")); }},
        {"a count too low", [&] { dir.Write("t/list.ndx", replace("250\r\n", "201\r\n")); }},
        {"no number", [&] { dir.Write("t/list.ndx", replace("250\r\n", "many\r\n")); }},
        {"a position one off",
         [&] { dir.Write("t/list.ndx", replace(" " + sorted[100].title.substr(0, 4), "1 " + sorted[100].title.substr(0, 4))); }},
        {"a position past the end", [&] { dir.Write("t/list.ndx", replace(thirdPosition + " ", "99999999 ")); }},
        {"a wrong key", [&] { dir.Write("t/list.ndx", replace(" " + sorted[200].title.substr(0, 4), " Zzzz")); }},
        {"a block line missing", [&] { dir.Write("t/list.ndx", good.substr(0, thirdLine)); }},
        {"cut in a line", [&] { dir.Write("t/list.ndx", good.substr(0, thirdLine + 3)); }},
        {"bytes that are no text", [&] { dir.Write("t/list.ndx", std::string("\0\x01\xff\r\n\x7f", 6)); }},
        {"a data file with a line more",
         [&] { dir.Write("t/list.dat", bytes.data + "ART|9999|GEO|Zzzz Last\r\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("t/list.dat", bytes.data);
        dir.Write("t/list.ndx", good);
        c.damage();
        const bool grown = c.what == "a data file with a line more";
        BOOL opened = FALSE;
        auto list = OpenShowList(&opened);
        ASSERT_TRUE(opened);
        EXPECT_EQ(grown ? 251 : 250, list->GetCount());
        EXPECT_EQ(sorted[100].title, TitleOf(*list, 101));
        EXPECT_EQ(sorted[249].title, TitleOf(*list, 250));
        if (!grown)
            EXPECT_EQ(good, IndexText()) << "the index is written again";
        else
            EXPECT_EQ("Zzzz Last", TitleOf(*list, 251));
    }
    EXPECT_TRUE(BoxTexts().empty()) << "an index is built again without a word";

    // A good index is read, not written.
    dir.Write("t/list.dat", bytes.data);
    dir.Write("t/list.ndx", good);
    std::filesystem::permissions(HostT("list.ndx"), std::filesystem::perms::owner_read);
    auto list = OpenShowList();
    EXPECT_EQ(250, list->GetCount());
    // An index that cannot be written (a read-only disc) still serves the list.
    dir.Write("t/list.dat", bytes.data + "ART|9999|GEO|Zzzz Last\r\n");
    BOOL opened = FALSE;
    list = OpenShowList(&opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(251, list->GetCount());
    EXPECT_EQ(good, IndexText()) << "read-only: left as it was";
}

TEST_F(ListFileDataTest, ADamagedDataFileIsReportedAndNeverReadPastItsEnd)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    const discbuilder::ListFileBytes bytes = discbuilder::MakeListFiles(ShowEntries(sorted));
    const size_t line150 = [&] {
        size_t at = 0;
        for (int i = 0; i < 149; ++i)
            at = bytes.data.find("\r\n", at) + 2;
        return at;
    }();
    const std::string expectedBox = "The list file T:\\list.dat is damaged.";

    // A line that does not parse, without an index: the message, and Open fails.
    std::string damaged = bytes.data;
    damaged.insert(line150, "this line has no fields\r\n");
    dir.Write("t/list.dat", damaged);
    host::AnswerMessageBox(expectedBox, IDOK);
    BOOL opened = TRUE;
    auto list = OpenShowList(&opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(0, list->GetCount());
    EXPECT_TRUE(list->IsDamaged());
    EXPECT_EQ(std::vector<std::string>{expectedBox}, BoxTexts());

    // The same line where a good index stood for the file before: the index no longer matches,
    // so it is built again, which finds the line.
    dir.Write("t/list.ndx", bytes.index);
    host::AnswerMessageBox(expectedBox, IDOK);
    list = OpenShowList(&opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(2u, BoxTexts().size());

    // Cut short, or bytes that are no text: the message where a line is broken, never a crash,
    // never a row that is not in the file.
    struct Cut {
        std::string what, bytes;
        bool box;
    } const cuts[] = {
        {"nothing", "", false},
        {"one character", bytes.data.substr(0, 1), true},
        {"in line 150", bytes.data.substr(0, line150 + 5), true},
        {"without the last line feed", bytes.data.substr(0, bytes.data.size() - 1), false},
        {"no text", std::string("\0\0\xff\x01|\x02\r\n\x1a more", 14), true},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.what);
        const size_t boxes = BoxTexts().size();
        dir.Write("t/list.dat", cut.bytes);
        dir.Write("t/list.ndx", bytes.index);
        if (cut.box)
            host::AnswerMessageBox(expectedBox, IDOK);
        list = OpenShowList(&opened);
        EXPECT_EQ(boxes + (cut.box ? 1 : 0), BoxTexts().size());
        EXPECT_LE(list->GetCount(), 250);
        for (long row = 1; row <= list->GetCount(); row += 7)
            EXPECT_EQ(sorted[static_cast<size_t>(row - 1)].title.substr(0, 3), TitleOf(*list, row).substr(0, 3));
        EXPECT_EQ(0, list->GetItemData(list->GetCount() + 1));
    }
}

TEST_F(ListFileDataTest, ALineLongerThanTheLimitIsCutAndItsRestIsNoEntry)
{
    const std::string longTitle = "Long" + std::string(200, 'g');
    dir.Write("t/list.dat", "ART|1|GEO|Alpha\r\nART|2|GEO|" + longTitle + "\r\nART|3|GEO|Omega\r\n");
    auto list = OpenShowList();
    ASSERT_EQ(3, list->GetCount());
    EXPECT_EQ(longTitle.substr(0, 132 - 10), TitleOf(*list, 2));
    EXPECT_EQ("Omega", TitleOf(*list, 3));
    // A last line without its line end keeps its whole title.
    dir.Write("t/list.dat", "ART|1|GEO|Alpha\r\nART|3|GEO|Omega");
    std::filesystem::remove(HostT("list.ndx"));
    list = OpenShowList();
    EXPECT_EQ("Omega", TitleOf(*list, 2));
}

TEST_F(ListFileDataTest, WindowsOfLongTitlesGrowTheTitleBlock)
{
    // 100 titles of over 100 characters do not fit the first 10000 bytes.
    const std::vector<Row> sorted = Sorted(MakeRows(250, 100));
    WriteShowList(sorted);
    auto list = OpenShowList();
    std::vector<std::string> seen;
    for (long row = 1; row <= 100; ++row)
        seen.push_back(TitleOf(*list, row));
    EXPECT_EQ(100, list->GetLoadedCount());
    for (long row = 1; row <= 100; ++row)
        EXPECT_EQ(sorted[static_cast<size_t>(row - 1)].title, seen[static_cast<size_t>(row - 1)]);
    // The pointers handed out for one window stay valid together.
    TVITEM first = {}, last = {};
    first.hItem = reinterpret_cast<HTREEITEM>(INT_PTR{101});
    last.hItem = reinterpret_cast<HTREEITEM>(INT_PTR{200});
    ASSERT_TRUE(list->GetItem(&first));
    ASSERT_TRUE(list->GetItem(&last));
    EXPECT_EQ(sorted[100].title, first.pszText);
    EXPECT_EQ(sorted[199].title, last.pszText);
}

TEST_F(ListFileDataTest, ListAndTreeEntriesCarryTheReadersValuesAndStrings)
{
    std::vector<discbuilder::ListFileEntry> places = {
        {{"FR", "3000002", "PPL", "3", "140", "5", "48.8667", "2.3333"}, "Paris, France"},
        {{"US", "3000001", "PPL", "4", "20", "7", "41.8500", "-87.6500"}, "Chicago, United States"},
    };
    discbuilder::WriteListFiles(HostT("distcalc.dat"), HostT("distcalc.ndx"), places);
    CPlaceList distances(TRUE);
    ASSERT_TRUE(distances.OpenDataFile("T:\\distcalc.dat"));
    ASSERT_TRUE(distances.Open("T:\\distcalc.ndx"));
    CVLVirtualData::VLTREEENTRY entry;
    EXPECT_EQ(3000001, distances.GetTreeEntry(1, entry));
    EXPECT_STREQ("Chicago, United States", entry.strTitle);
    EXPECT_STREQ("41.8500", entry.strSecond);
    EXPECT_STREQ("-87.6500", entry.strThird);
    EXPECT_EQ(4, entry.nValues[0]);
    EXPECT_EQ(20, entry.nValues[1]);
    EXPECT_EQ(7, entry.nValues[2]);
    EXPECT_EQ(0, distances.GetTreeEntry(3, entry));

    for (auto& place : places)
        place.fields.resize(6);
    discbuilder::WriteListFiles(HostT("map_loc.dat"), HostT("map_loc.ndx"), places);
    CPlaceList list;
    ASSERT_TRUE(list.OpenDataFile("T:\\map_loc.dat"));
    ASSERT_TRUE(list.Open("T:\\map_loc.ndx"));
    CVLVirtualData::VLLISTENTRY listEntry;
    EXPECT_EQ(3000002, list.GetListEntry(2, listEntry));
    EXPECT_STREQ("Paris, France", listEntry.strTitle);
    EXPECT_EQ(140, listEntry.nValues[1]);
    EXPECT_EQ(static_cast<long>(std::string("US|3000001|PPL|4|20|7|Chicago, United States\r\n").size()),
              listEntry.nPosition);
}

TEST_F(ListFileDataTest, CloseThenReopenGoesOnWhereReadingStood)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    WriteShowList(sorted);
    auto list = OpenShowList();
    TitleOf(*list, 150);  // reads entries 101 to 200
    list->Close();
    EXPECT_TRUE(list->Reopen());
    EXPECT_EQ(sorted[200].title, list->NextTitleRead()) << "the entry after the window";
    EXPECT_EQ(sorted[150].title, TitleOf(*list, 151));
    list->Close();
    std::filesystem::remove(HostT("list.dat"));
    EXPECT_FALSE(list->Reopen());
    EXPECT_EQ("", TitleOf(*list, 1)) << "nothing is read from a file that is gone";
    EXPECT_STREQ("Unselected", list->m_szLabel);
}

}  // namespace
}  // namespace listdata

namespace listdata {
namespace {

// The sample's lists as the disc carries them: every source row once, in title order, with the
// index the program itself would build.
TEST_F(ListFileDataTest, TheSampleDiscListsReadBackWhole)
{
    const std::filesystem::path folder = dir.path() / "t";
    const auto written = discbuilder::WriteSampleLists(VL_SAMPLE_DIR, folder);
    ASSERT_EQ(8u, written.size()) << "the show list, its media items and the two place lists, each with its index";
    struct List {
        std::string data, index, source;
        std::unique_ptr<CVLVirtualData> provider;
    };
    List lists[] = {
        {"Jlshow.dat", "jlshow.ndx", "shows.txt", std::make_unique<CShowList>()},
        {"map_loc.dat", "map_loc.ndx", "places.txt", std::make_unique<CPlaceList>()},
        {"distcalc.dat", "distcalc.ndx", "places.txt", std::make_unique<CPlaceList>(TRUE)},
    };
    for (List& list : lists) {
        SCOPED_TRACE(list.data);
        std::vector<std::string> titles;
        for (const auto& row : discbuilder::ReadSourceTable(std::filesystem::path(VL_SAMPLE_DIR) / "lists" / list.source,
                                                            list.source == "shows.txt" ? 4 : 5))
            titles.push_back(row[0]);
        std::stable_sort(titles.begin(), titles.end(),
                         [](const std::string& a, const std::string& b) { return CString(a.c_str()).CompareNoCase(b.c_str()) < 0; });
        ASSERT_GE(titles.size(), 250u) << "a few hundred rows";

        const std::string index = dir.Read("t/" + list.index);
        std::filesystem::remove(folder / list.index);
        CVLVirtualData& provider = *list.provider;
        ASSERT_TRUE(provider.OpenFirstFile(("T:\\" + list.data).c_str()));
        ASSERT_TRUE(provider.Open(("T:\\" + list.index).c_str()));
        EXPECT_EQ(index, dir.Read("t/" + list.index)) << "the program builds the index the builder wrote";
        ASSERT_EQ(static_cast<long>(titles.size()), provider.GetCount());
        for (long row = 1; row <= provider.GetCount(); ++row)
            ASSERT_EQ(titles[static_cast<size_t>(row - 1)], TitleOf(provider, row)) << row;
        EXPECT_EQ(1, provider.FindTitle(titles.front().c_str()));
        EXPECT_EQ(provider.GetCount(), provider.FindTitle(titles.back().c_str()));
    }
    CShowList& shows = static_cast<CShowList&>(*lists[0].provider);
    EXPECT_EQ(1002, shows.GetItemData(shows.FindTitle("Volcano")));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ListFileDataTest, TheWriterRefusesWhatTheReaderCouldNotReadBack)
{
    struct Case {
        std::string what;
        discbuilder::ListFileEntry entry;
    } const cases[] = {
        {"a line over 132 characters", {{"ART", "1", "GEO"}, std::string(123, 'a')}},
        {"a bar in the title", {{"ART", "1", "GEO"}, "A|B"}},
        {"a bar in a field", {{"A|T", "1", "GEO"}, "Title"}},
        {"a line end in the title", {{"ART", "1", "GEO"}, "Two\nlines"}},
    };
    for (const Case& c : cases)
        EXPECT_THROW(discbuilder::MakeListFiles({c.entry}), std::invalid_argument) << c.what;
    // The longest line that is read whole.
    EXPECT_NO_THROW(discbuilder::MakeListFiles({{{"ART", "1", "GEO"}, std::string(132 - 10, 'a')}}));
    EXPECT_EQ("0\r\n", discbuilder::MakeListFiles({}).index);
}

}  // namespace
}  // namespace listdata
