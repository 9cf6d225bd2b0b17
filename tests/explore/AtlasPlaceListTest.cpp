// The atlas's place lists: the files the disc builder writes, read back through both lists, and
// damaged, truncated and index-less copies.
#include "MediaTestSupport.h"

#include "base/DataFolders.h"
#include "explore/AtlasTreeControl.h"
#include "explore/AtlasVirtualList.h"

#include <ListFileWriter.h>
#include <SampleAtlas.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

namespace explore_test {
namespace {

using discbuilder::AtlasPlace;

// n places: "Place 0001, Land" ... with map 3000733 + i % 3, hot spot i, and a point of their own.
std::vector<AtlasPlace> Places(int n)
{
    std::vector<AtlasPlace> places;
    for (int i = 0; i < n; ++i) {
        char name[64], lat[32], lon[32];
        std::snprintf(name, sizeof name, "Place %04d, Land", i);
        std::snprintf(lat, sizeof lat, "%.4f", -60.0 + i * 0.37);
        std::snprintf(lon, sizeof lon, "%.4f", -170.0 + i * 1.13);
        places.push_back({name, "L" + std::to_string(i % 10), lat, lon, 3000733u + static_cast<unsigned>(i % 3), i, 1100});
    }
    return places;
}

class AtlasPlaceListTest : public media_test::MediaTest {
protected:
    void WritePlaces(const std::vector<AtlasPlace>& places)
    {
        std::vector<discbuilder::ListFileEntry> search, distances;
        discbuilder::MakePlaceListEntries(places, search, distances);
        discbuilder::WriteListFiles(DataFolder() / "map_loc.dat", DataFolder() / "map_loc.ndx", search,
                                    discbuilder::kPlaceLineLimit);
        discbuilder::WriteListFiles(DataFolder() / "distcalc.dat", DataFolder() / "distcalc.ndx", distances,
                                    discbuilder::kPlaceLineLimit);
    }
    void WriteFile(const char* name, const std::string& bytes)
    {
        std::ofstream out(DataFolder() / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string ReadFile(const char* name)
    {
        std::ifstream in(DataFolder() / name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Answers the message boxes that are to come, in order.
    static void Answer(const std::vector<std::string>& texts)
    {
        for (const std::string& text : texts)
            host::AnswerMessageBox(text, IDOK);
    }
    // Constructs a list; nullptr when construction threw the user exception.
    template <class List>
    std::unique_ptr<List> Make()
    {
        try {
            return std::make_unique<List>();
        } catch (CUserException* e) {
            e->Delete();
            return nullptr;
        }
    }
};

TEST_F(AtlasPlaceListTest, BothListsReadWhatTheWriterWrote)
{
    WritePlaces(Places(250));
    auto search = Make<CAtlasVirtualList>();
    auto distances = Make<CAtlasDistCalcVirtualList>();
    ASSERT_NE(nullptr, search);
    ASSERT_NE(nullptr, distances);
    EXPECT_EQ(250, search->GetCount());
    EXPECT_EQ(250, distances->GetCount());
    // The first and last rows and the first row of the second index block.
    for (long row : {1L, 100L, 101L, 250L}) {
        SCOPED_TRACE(row);
        const AtlasPlace expected = Places(250)[static_cast<std::size_t>(row - 1)];
        CVLVirtualData::VLLISTENTRY entry;
        EXPECT_EQ(static_cast<long>(expected.map), search->GetListEntry(row, entry));
        EXPECT_EQ(expected.name, std::string(entry.strTitle)) << "the name carries no line end";
        EXPECT_EQ(220, entry.nValues[0]);
        EXPECT_EQ(expected.hotSpot, entry.nValues[1]);
        EXPECT_EQ(1, entry.nValues[2]);
        CVLVirtualData::VLTREEENTRY tree;
        EXPECT_EQ(static_cast<long>(expected.map), distances->GetTreeEntry(row, tree));
        EXPECT_EQ(expected.name, std::string(tree.strTitle));
        EXPECT_EQ(expected.latitude, std::string(tree.strSecond));
        EXPECT_EQ(expected.longitude, std::string(tree.strThird));
        EXPECT_EQ(expected.hotSpot, tree.nValues[1]);
    }
    // The fields of the last record read, and a find by prefix.
    CVLVirtualData::VLTREEENTRY tree;
    distances->GetTreeEntry(7, tree);
    EXPECT_EQ(7 - 1, distances->FindTitle("Place 0006") - 1);
    EXPECT_TRUE(NewBoxes().empty());

    // The list window over the list.
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 300), NULL, 0));
    auto* pControl = new CAtlasTreeControl(search.get());
    ASSERT_TRUE(pControl->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, 0, CRect(0, 0, 200, 200),
                                 &frame, 11035));
    EXPECT_TRUE(pControl->IsKindOf(RUNTIME_CLASS(CVLVListWnd)));
    EXPECT_EQ(1, pControl->GetFirstVisible());
    delete pControl;  // destroys its window
    frame.DestroyWindow();
}

TEST_F(AtlasPlaceListTest, LongLinesAreCutAndTheLastLineNeedsNoLineEnd)
{
    // A line of 131 characters is read as 130: its name loses its last letter. The last line,
    // without a line end, keeps its whole name.
    const std::string head = "FRA|3000735|PPL|220|000000004|1|";
    const std::string longName = std::string(131 - head.size() - 1, 'a') + "Z";
    ASSERT_EQ(131u, (head + longName).size());
    WriteFile("map_loc.dat", head + longName + "\r\n" + "FR|3000735|PPL|220|5|1|Zeta Town");
    std::filesystem::remove(DataFolder() / "map_loc.ndx");
    WriteFile("distcalc.dat", "FR|3000735|PPL|220|4|1|48.8566|2.3522|" + longName.substr(0, 60) + "\r\nFR|3000735|PPL|220|5|1|-1.5|-0.25|Zeta Town");
    auto search = Make<CAtlasVirtualList>();
    auto distances = Make<CAtlasDistCalcVirtualList>();
    ASSERT_NE(nullptr, search);
    ASSERT_NE(nullptr, distances);
    CVLVirtualData::VLLISTENTRY entry;
    ASSERT_EQ(2, search->GetCount());
    search->GetListEntry(1, entry);
    EXPECT_EQ(longName.substr(0, longName.size() - 1), std::string(entry.strTitle));
    search->GetListEntry(2, entry);
    EXPECT_EQ("Zeta Town", std::string(entry.strTitle));
    CVLVirtualData::VLTREEENTRY tree;
    distances->GetTreeEntry(2, tree);
    EXPECT_EQ("Zeta Town", std::string(tree.strTitle));
    EXPECT_EQ("-0.25", std::string(tree.strThird));
    EXPECT_TRUE(NewBoxes().empty());
    // The index was built again and written.
    EXPECT_EQ(0u, ReadFile("map_loc.ndx").find("2")) << ReadFile("map_loc.ndx");

    // The writer refuses a line the reader would cut, an empty field, and a hit beyond 17 bits.
    EXPECT_NO_THROW(discbuilder::MakeListFiles({{{"FR", "1", "PPL", "220", "4", "1"}, std::string(113, 'b')}}, discbuilder::kPlaceLineLimit));
    EXPECT_THROW(discbuilder::MakeListFiles({{{"FR", "1", "PPL", "220", "4", "1"}, std::string(114, 'b')}}, discbuilder::kPlaceLineLimit),
                 std::invalid_argument);
    EXPECT_THROW(discbuilder::MakeListFiles({{{"FR", "", "PPL", "220", "4", "1"}, "x"}}, discbuilder::kPlaceLineLimit),
                 std::invalid_argument);
    std::vector<discbuilder::ListFileEntry> a, b;
    EXPECT_THROW(discbuilder::MakePlaceListEntries({{"x", "FR", "1", "2", 3000735, 1 << 17, 1100}}, a, b), std::invalid_argument);
}

TEST_F(AtlasPlaceListTest, DamagedLinesAreReportedOnceAndTheListRefused)
{
    // Lines that would put later fields in the wrong place: too few fields, an empty field, a
    // number that is not one. The index no longer matches such a file; building it again meets
    // the damage, which is reported once, and the list reports its own failure.
    const struct {
        const char* line;
        bool distances;
    } damage[] = {
        {"FR|3000735|PPL|220|4|Short Town", false},
        {"FR|3000735||220|4|1|Empty Code Town", false},
        {"FR|30007x5|PPL|220|4|1|Letter Town", false},
        {"FR|3000735|PPL|220|4|1|48.85|Missing Longitude Town", true},
        {"FR|3000735|PPL|220|4|1|north|2.35|Word Town", true},
        {"FR|3000735|PPL|220|4|1|48.85||Empty Longitude Town", true},
    };
    for (const auto& c : damage) {
        SCOPED_TRACE(c.line);
        WritePlaces(Places(250));
        const char* data = c.distances ? "distcalc.dat" : "map_loc.dat";
        std::string bytes = ReadFile(data);
        std::size_t at = 0;
        for (int i = 0; i < 49; ++i)
            at = bytes.find("\r\n", at) + 2;
        const std::size_t end = bytes.find("\r\n", at);
        bytes = bytes.substr(0, at) + c.line + bytes.substr(end);  // line 50
        WriteFile(data, bytes);
        NewBoxes();
        const std::string damaged = "The list file T:\\disc\\info_dat\\" + std::string(data) + " is damaged.";
        const std::string failed = c.distances ? "Unable to open T:\\disc\\info_dat\\distcalc.ndx" : "Unable to prepare Atlas' data.";
        Answer({damaged, failed});
        std::unique_ptr<CAtlasPlaceList> list;
        if (c.distances)
            list = Make<CAtlasDistCalcVirtualList>();
        else
            list = Make<CAtlasVirtualList>();
        EXPECT_EQ(nullptr, list);
        EXPECT_EQ((std::vector<std::string>{damaged, failed}), NewBoxes()) << "the damage reported once";
    }
}

TEST_F(AtlasPlaceListTest, TruncatedCopiesNeverReadPastTheirEnd)
{
    WritePlaces(Places(130));
    const std::string whole = ReadFile("distcalc.dat"), index = ReadFile("distcalc.ndx");
    int opened = 0, refused = 0;
    for (std::size_t length = 0; length < whole.size(); length += 97) {
        SCOPED_TRACE(length);
        WriteFile("distcalc.dat", whole.substr(0, length));
        WriteFile("distcalc.ndx", index);  // the index of the whole file: no longer matches
        NewBoxes();
        // A last line cut inside its fields is damage; one cut inside its name still parses.
        const std::string cut = whole.substr(0, length);
        const std::string partial = cut.substr(cut.rfind('\n') == std::string::npos ? 0 : cut.rfind('\n') + 1);
        const bool parses = partial.empty() || (std::count(partial.begin(), partial.end(), '|') == 8 && partial.back() != '|');
        if (!parses)
            Answer({"The list file T:\\disc\\info_dat\\distcalc.dat is damaged.", "Unable to open T:\\disc\\info_dat\\distcalc.ndx"});
        auto list = Make<CAtlasDistCalcVirtualList>();
        EXPECT_EQ(parses, list != nullptr) << partial;
        if (list == nullptr) {
            ++refused;  // cut inside the fields of its last line: damage, then the failure
            EXPECT_EQ(2u, NewBoxes().size());
            continue;
        }
        ++opened;
        const long n = list->GetCount();
        EXPECT_LE(n, 130);
        CVLVirtualData::VLTREEENTRY entry;
        for (long row = 1; row <= n; ++row)
            ASSERT_NE(0, list->GetTreeEntry(row, entry));
        EXPECT_EQ(0, list->GetTreeEntry(n + 1, entry));
        // The whole lines before the cut are all there.
        const long whole_lines = static_cast<long>(std::count(whole.begin(), whole.begin() + static_cast<long>(length), '\n'));
        EXPECT_GE(n, whole_lines);
    }
    EXPECT_GT(opened, 10);
    EXPECT_GT(refused, 0);
}

TEST_F(AtlasPlaceListTest, MissingFilesAndFoldersFailAsTheListsSay)
{
    // No files: each list names its failure; the folder cannot be resolved: no message.
    Answer({"Unable to prepare Atlas' data.", "Unable to open T:\\disc\\info_dat\\distcalc.dat"});
    auto search = Make<CAtlasVirtualList>();
    EXPECT_EQ(nullptr, search);
    EXPECT_EQ(std::vector<std::string>{"Unable to prepare Atlas' data."}, NewBoxes());
    auto distances = Make<CAtlasDistCalcVirtualList>();
    EXPECT_EQ(nullptr, distances);
    EXPECT_EQ(std::vector<std::string>{"Unable to open T:\\disc\\info_dat\\distcalc.dat"}, NewBoxes());

    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", NULL, "T:\\vl00i1se.ini"));
    DataFoldersChanged();
    for (int list = 0; list < 2; ++list)
        host::AnswerMessageBoxWith("Please insert Disc 1.", [](const host::MessageBoxRecord&) { return IDCANCEL; });
    EXPECT_EQ(nullptr, Make<CAtlasVirtualList>());
    EXPECT_EQ(nullptr, Make<CAtlasDistCalcVirtualList>());
    for (const std::string& text : NewBoxes())
        EXPECT_EQ(std::string::npos, text.find("Unable")) << text;
}

}  // namespace
}  // namespace explore_test
