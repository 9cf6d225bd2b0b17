// One contract for both list data providers: the same rows go into a list file and into the
// content database, and both must answer the same table of cases.
#include "ListProviderFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace listdata {
namespace {

class ListProviderContractTest : public ListProviderTest, public ::testing::WithParamInterface<Provider> {
protected:
    // The row at which a text stands among the sorted rows: the first whose title is not less
    // than it, the last row when every title is less.
    static long Expected(const std::vector<Row>& sorted, const std::string& text)
    {
        for (size_t i = 0; i < sorted.size(); ++i)
            if (CString(sorted[i].title.c_str()).CompareNoCase(text.c_str()) >= 0)
                return static_cast<long>(i + 1);
        return static_cast<long>(sorted.size());
    }
};

TEST_P(ListProviderContractTest, RowsAreServedInTitleOrderFromAnyWindow)
{
    const std::vector<Row> rows = MakeRows(250);
    const std::vector<Row> sorted = Sorted(rows);
    CBaseListData& data = Make(GetParam(), rows);
    ASSERT_EQ(250, data.GetCount());

    // Visited out of order so that windows are loaded, left and loaded again.
    for (long row : {1L, 101L, 250L, 100L, 57L, 200L, 151L, 1L, 249L}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(sorted[static_cast<size_t>(row - 1)].title, TitleOf(data, row));
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(row));
        ASSERT_TRUE(data.GetItem(&item));
        EXPECT_EQ(sorted[static_cast<size_t>(row - 1)].id, item.lParam);
        EXPECT_EQ(sorted[static_cast<size_t>(row - 1)].id, data.GetItemData(row));
    }
    for (long row : {0L, -1L, 251L, 100000L}) {
        SCOPED_TRACE(row);
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(row));
        EXPECT_FALSE(data.GetItem(&item));
        EXPECT_EQ(0, data.GetItemData(row));
        EXPECT_EQ(0, data.EnsureLoaded(row));
    }
}

TEST_P(ListProviderContractTest, NextPreviousAndAtAreTheNeighbourRowsLoaded)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    CBaseListData& data = Make(GetParam(), sorted);
    struct Case {
        long row, next, prev;
    } const cases[] = {{1, 2, 0}, {100, 101, 99}, {101, 102, 100}, {200, 201, 199}, {249, 250, 248}, {250, 0, 249}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(c.next, data.GetNextItem(c.row));
        if (c.next != 0) {
            EXPECT_EQ(sorted[static_cast<size_t>(c.next - 1)].title, TitleOf(data, c.next));
        }
        EXPECT_EQ(c.prev, data.GetPrevItem(c.row));
        if (c.prev != 0) {
            EXPECT_EQ(sorted[static_cast<size_t>(c.prev - 1)].title, TitleOf(data, c.prev));
        }
        EXPECT_EQ(c.row, data.GetItemAt(c.row));
    }
}

TEST_P(ListProviderContractTest, FindTitleGivesTheFirstRowNotLessThanTheText)
{
    const std::vector<Row> sorted = Sorted(MakeRows(250));
    CBaseListData& data = Make(GetParam(), sorted);
    auto title = [&](long row) { return sorted[static_cast<size_t>(row - 1)].title; };
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    struct Case {
        std::string what, text;
        long row;
    } const cases[] = {
        {"empty", "", 1},
        {"all blank", "   ", 1},
        {"before every title", "A", 1},
        {"after every title", "Zzzzzz", 250},
        {"the first title", title(1), 1},
        {"the last title", title(250), 250},
        {"the last title of a window", title(100), 100},
        {"the first title of a window", title(101), 101},
        {"between two windows", title(100) + "a", Expected(sorted, title(100) + "a")},
        {"case ignored", lower(title(101)), 101},
        {"blanks at the right ignored", title(150) + "   ", 150},
        {"a prefix", title(120).substr(0, 2), Expected(sorted, title(120).substr(0, 2))},
        {"between two titles", title(180).substr(0, 3) + "zz", Expected(sorted, title(180).substr(0, 3) + "zz")},
        {"a title of the last window", title(230), 230},
    };
    // Each from a fresh start and again from wherever the previous search left the window.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what + " \"" + c.text + "\"");
            if (pass == 0)
                data.EnsureLoaded(250);
            EXPECT_EQ(c.row, data.FindTitle(c.text.c_str()));
            EXPECT_EQ(title(c.row), TitleOf(data, c.row));
        }
    }
    // The text after the last title stands at the end whichever window was loaded.
    data.EnsureLoaded(1);
    EXPECT_EQ(250, data.FindTitle("zz"));
}

TEST_P(ListProviderContractTest, AProviderWithoutRowsServesNothing)
{
    CBaseListData& data = Make(GetParam(), {});
    EXPECT_EQ(0, data.GetCount());
    EXPECT_EQ("", TitleOf(data, 1));
    EXPECT_EQ(0, data.GetItemData(1));
    EXPECT_EQ(0, data.GetNextItem(0));
    EXPECT_EQ(0, data.FindTitle("a"));
    EXPECT_EQ(0, data.FindTitle(""));
    EXPECT_TRUE(BoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(Providers, ListProviderContractTest, ::testing::Values(Provider::File, Provider::Database),
                         [](const ::testing::TestParamInfo<Provider>& info) { return ProviderName(info.param); });

}  // namespace
}  // namespace listdata
