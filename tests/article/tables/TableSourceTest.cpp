// The disc builder's side of the tables view: link places written from the readable form, and
// merged cells that hold no text of their own (copying puts their TABs back).
#include <TableSource.h>
#include <TableWriter.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using namespace discbuilder;

unsigned U16(const std::string& t, std::size_t at)
{
    return static_cast<unsigned char>(t[at]) | (static_cast<unsigned char>(t[at + 1]) << 8);
}

TEST(TableSourceTest, LinkPlacesAndBadLinks)
{
    struct Case {
        const char* cell;
        int rin;    // -1: refused
        int place;
    } cases[] = {
        {"[x](vl://001006)", 1006, 0},
        {"[x](vl://001006(3))", 1006, 3},
        {"[x](vl://001002(T))", 1002, 200},
        {"[x](vl://001002(T2))", 1002, 202},
        {"[x](vl://001002(199))", 1002, 199},
        {"[x](vl://01006)", -1, 0},     // five digits
        {"[x](vl://001006(0))", -1, 0},
        {"[x](vl://001006(200))", -1, 0},
        {"[x](vl://001006(Tx))", -1, 0},
        {"[x](vl://001006(3)", -1, 0},  // not closed
        {"[x](tf:A190#D)", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        const std::vector<std::string> lines = {std::string("row: a | ") + c.cell};
        if (c.rin < 0) {
            EXPECT_THROW(ParseTableSource(lines, "t.txt:3"), std::runtime_error);
            continue;
        }
        TableSource t = ParseTableSource(lines, "t.txt:3");
        ASSERT_EQ(t.links.size(), 1u);
        EXPECT_EQ(t.links[0].rin, static_cast<std::uint32_t>(c.rin));
        EXPECT_EQ(t.links[0].place, c.place);
        EXPECT_EQ(t.links[0].firstRun, 1);
        const std::string bytes = WriteTable(t);
        EXPECT_EQ(U16(bytes, 40 + 8), static_cast<unsigned>(c.place));
    }
}

TEST(TableSourceTest, MergedCellsPointAtTheNextText)
{
    const std::string t = WriteTable(ParseTableSource({"row: a | b", "row: ^ | c", "row: d | ^"}, "t"));
    ASSERT_EQ(U16(t, 36), 6u);  // runs
    const std::size_t runs = 40 + 3 * 4 + 6 * 6;
    auto offset = [&](int r) { return U16(t, runs + 10 * r); };
    auto length = [&](int r) { return U16(t, runs + 10 * r + 4); };
    EXPECT_EQ(U16(t, 2), 8u);  // "a\0b\0c\0d\0": no bytes for the merged cells
    EXPECT_EQ(t.substr(t.size() - 8), std::string("a\0b\0c\0d\0", 8));
    EXPECT_EQ(offset(2), offset(3));  // the merged cell before "c" points at it
    EXPECT_EQ(length(2), 0u);
    EXPECT_EQ(offset(5), 7u);  // a merged cell at the end: the text's last byte
    EXPECT_EQ(length(5), 0u);
}

}  // namespace
