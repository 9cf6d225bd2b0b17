// The database list provider: the window it loads for a row (moved back so that a full window
// fits), the record set left on the window's first row, and the icon of each content type.
#include "ListProviderFixture.h"

#include <gtest/gtest.h>

namespace listdata {
namespace {

class DatabaseListDataTest : public ListProviderTest {
protected:
    CVLDBVirtualData& MakeDatabase(int n, const char* content = "Artcl")
    {
        return static_cast<CVLDBVirtualData&>(Make(Provider::Database, MakeRows(n), content));
    }
};

TEST_F(DatabaseListDataTest, RowOneHundredTwentyOfOneHundredFiftyLoadsRowsFiftyOneToTheEnd)
{
    CVLDBVirtualData& data = MakeDatabase(150);
    const std::vector<Row> sorted = Sorted(MakeRows(150));
    EXPECT_EQ(0, data.GetLoadedCount());
    EXPECT_EQ(120, data.EnsureLoaded(120));
    EXPECT_EQ(51, data.GetFirstLoadedRow());
    EXPECT_EQ(100, data.GetLoadedCount());
    EXPECT_EQ(50, set->GetAbsolutePosition()) << "the record set waits on the window's first row";
    EXPECT_EQ(sorted[119].title, TitleOf(data, 120));
    EXPECT_EQ(51, data.GetFirstLoadedRow()) << "a row in the window loads nothing";
    EXPECT_EQ(sorted[50].title, TitleOf(data, 51));

    struct Step {
        long row, first, count;
    } const steps[] = {{1, 1, 100}, {100, 1, 100}, {101, 51, 100}, {150, 51, 100}, {30, 30, 100}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        EXPECT_EQ(sorted[static_cast<size_t>(s.row - 1)].id, data.GetItemData(s.row));
        EXPECT_EQ(s.first, data.GetFirstLoadedRow());
        EXPECT_EQ(s.count, data.GetLoadedCount());
    }
    // Fewer records than a window: all of them from row 1.
    EXPECT_EQ(150, data.LoadBlock(1) + data.LoadBlock(101));
    EXPECT_EQ(0, data.LoadBlock(151));
}

TEST_F(DatabaseListDataTest, EachContentTypeGivesItsIcon)
{
    struct Case {
        const char* type;
        UINT icon;
    } const cases[] = {
        {"Artcl", 0},   {"Animt", 4030}, {"Video", 4031}, {"Pict", 4032},  {"PicSnd", 187},  {"Simul", 4033},
        {"Map", 143},   {"VirRel", 4035}, {"artcl", 0},   {"Pict ", 0},    {"TimeLine", 0},  {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.icon, CVLDBVirtualData::GetContentCode(c.type)) << '"' << c.type << '"';
    EXPECT_EQ(0u, CVLDBVirtualData::GetContentCode(NULL));

    // A row of a record whose type is "Pict" carries the picture icon.
    CVLDBVirtualData& data = MakeDatabase(3, "Pict");
    TVITEM item = {};
    item.hItem = reinterpret_cast<HTREEITEM>(INT_PTR{2});
    ASSERT_TRUE(data.GetItem(&item));
    EXPECT_EQ(4032, item.iImage);
}

TEST_F(DatabaseListDataTest, WithoutARecordSetThereAreNoRows)
{
    CVLDBVirtualData data;
    EXPECT_EQ(0, data.GetCount());
    EXPECT_EQ("", TitleOf(data, 1));
    EXPECT_EQ(0, data.FindTitle("a"));
    EXPECT_STREQ("Unselected", data.m_szLabel);
}

}  // namespace
}  // namespace listdata
