// Tables of an article record: located behind the sections, their text put in display form,
// hits converted, and laid out into rows, wrapped lines, frozen areas and hot spots; damaged
// table data is refused.
#include "ArticleTestSupport.h"

#include "article/ArticleTable.h"
#include "base/HitList.h"

#include <TableSource.h>
#include <TableWriter.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace article_test {
namespace {

using namespace discbuilder;

// Every table font is the fixed-pitch face at 20 pixels: 12 pixels a character, tab and
// terminator included, so that layouts can be worked out by hand.
class FixedTableFonts : public CTableFontSet {
public:
    FixedTableFonts()
    {
        for (CFont& font : m_aFonts)
            font.CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FIXED_PITCH, "Courier New");
    }
};

const std::vector<std::string> kEruptions = {
    "title: Eruptions",                                              // run 0
    "heading: Name | #Year | Note",                                  // runs 1-3
    "row: Alpha | 1815 | alpha beta gamma delta",                    // runs 4-6
    "row: ^ | 79 | Supercalifragilisticexpialidocious",              // runs 7-9
    "footnote: [^1] Estimates only; see [Lakes](vl://001006)",       // runs 10-11
};

class ArticleTableTest : public ArticleTest {
protected:
    // Opens a record whose tables are the given ones.
    void Open(const std::vector<std::string>& tables, CHitList* pHits = nullptr)
    {
        ArticleRecordSource s = RichArticle();
        s.tables.clear();
        for (std::size_t i = 0; i < tables.size(); ++i)
            s.tables.push_back({"Table " + std::to_string(i), tables[i]});
        pDoc = OpenSource(s, pHits);
    }
    static std::string Eruptions(int style = 3)
    {
        TableSource t = ParseTableSource(kEruptions, "test");
        t.style = style;
        return WriteTable(t);
    }

    std::unique_ptr<CArticleDocument> pDoc;
    FixedTableFonts fonts;
};

TEST_F(ArticleTableTest, LaysOutRowsWrapsFreezesAndHotSpots)
{
    // Hit 0 on "gamma": 39 visible characters come before it.
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(200, 39, 5));
    pHits->AddHit(CHitPosition(3, 10, 2));  // a text section's hit: not the table's
    pHits->AddHit(CHitPosition(200, 0, 9));
    Open({Eruptions()}, pHits);
    CArticleTable table(pDoc.get(), 0, &fonts);
    ASSERT_FALSE(table.IsDamaged());
    ASSERT_EQ(table.GetRunCount(), 12);

    // Per run: x, column, row, lines, line starts, vertical and horizontal freeze, link mark,
    // hot spot.
    struct Row {
        int x, column, row, lines, start1, end, vfreeze, hfreeze, link, hot;
    } expected[] = {
        {250, 10, 0, 1, 10, 10, 2, 2, 0, -1},   // title: centred in 600, never wrapped
        {10, 10, 2, 1, 5, 5, 1, 1, 0, -1},      // heading row; first column frozen (style 3)
        {210, 210, 2, 1, 5, 5, 1, 0, 0, -1},    // a figures heading is not aligned itself
        {410, 410, 2, 1, 5, 5, 1, 0, 0, -1},
        {10, 10, 4, 1, 6, 6, 0, 1, 0, -1},
        {306, 210, 4, 1, 5, 5, 0, 0, 0, -1},    // figures: right-aligned to "5,555,555,555"
        {410, 410, 4, 2, 11, 23, 0, 0, 0, -1},  // wraps behind the space before "gamma"
        {10, 10, 7, 0, 0, 0, 0, 1, 0, -1},      // merged: draws nothing of its own
        {330, 210, 7, 1, 3, 3, 0, 0, 0, -1},
        {410, 410, 8, 1, 35, 35, 0, 0, 0, -1},  // no break: moved down a row, whole
        {34, 10, 0, 1, 21, 21, 0, 0, 0, -1},    // footnote mark before: the footnote indent
        {286, 10, 0, 1, 6, 6, 0, 0, 2, 0},      // the link: one hot spot in the footnotes
    };
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE("run " + std::to_string(r));
        const TableRunLayout& rec = table.GetRunLayout(r);
        const Row& e = expected[r];
        EXPECT_EQ(rec.x, e.x);
        EXPECT_EQ(rec.xColumn, e.column);
        EXPECT_EQ(rec.nRow, e.row);
        EXPECT_EQ(rec.nLines, e.lines);
        if (e.lines > 0) {
            EXPECT_EQ(rec.awLineStart[0], 0);
            EXPECT_EQ(rec.awLineStart[1], e.start1);
            EXPECT_EQ(rec.awLineStart[e.lines], e.end);
        }
        EXPECT_EQ(rec.nVFreeze, e.vfreeze);
        EXPECT_EQ(rec.nHFreeze, e.hfreeze);
        EXPECT_EQ(rec.nLinkMark, e.link);
        EXPECT_EQ(rec.nHotSpot, e.hot);
    }
    EXPECT_EQ(table.GetLineCount(), 10);  // the main area: the footnotes have their own lines
    EXPECT_EQ(table.GetFootnoteLineCount(), 1);
    EXPECT_EQ(table.GetHeadingLineCount(), 3);
    EXPECT_EQ(table.GetFrozenColumnEdge(), 209);
    EXPECT_EQ(table.GetTableWidth(), 610);
    EXPECT_EQ(table.GetColumnPitch(), 20);  // of the last band: one column

    ASSERT_EQ(table.GetHotSpotCount(), 1);
    EXPECT_EQ(table.GetHotSpot(0).wLink, 0);
    EXPECT_EQ(table.GetHotSpot(0).bFootnote, 1);
    EXPECT_EQ(table.GetLink(0).dwTarget, 1006u);

    // Hits of this table only, as byte indexes of the text; the first one places the panes.
    ASSERT_EQ(table.GetHitCount(), 2);
    CHitPosition hit;
    hit.SetValue(table.GetHit(0));
    EXPECT_EQ(hit.GetSection(), 200u);
    EXPECT_EQ(hit.GetLength(), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<LPCSTR>(table.GetText()) + hit.GetOffset(), 5), "gamma");
    EXPECT_EQ(table.GetFirstHitRow(), 4);
    EXPECT_EQ(table.GetFirstHitX(), 410);

    // Terminators became TAB inside the text, row ends CR; the last byte stays.
    EXPECT_EQ(std::string(table.GetRunText(0), 10), "Eruptions\r");
    EXPECT_EQ(std::string(table.GetRunText(1), 5), "Name\t");
    EXPECT_EQ(std::string(table.GetRunText(6), 23), "alpha beta gamma delta\r");
    EXPECT_EQ(table.GetText()[table.GetTextLength() - 1], 0);
    EXPECT_EQ(table.CountMergedCells(table.GetRun(7).dwTextOffset), 1);
    EXPECT_EQ(table.CountMergedCells(table.GetRun(4).dwTextOffset), 0);
}

TEST_F(ArticleTableTest, FootnotesFirstHeadingsFreezeEarlierRowsAndOtherTables)
{
    // Footnotes before the body: the body starts at the row saved before them.
    const std::string notesFirst = WriteTable(ParseTableSource(
        {"footnote: One.", "footnote: Two.", "row: a | b", "heading: c | d", "row: e | f"}, "test"));
    // More columns: 8 cells take the 150-pixel columns; a wide row centres across them.
    const std::string wide = WriteTable(ParseTableSource(
        {"row: 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8", "wide: centred across", "row: x"}, "test"));
    Open({Eruptions(), notesFirst, wide});

    CArticleTable second(pDoc.get(), 1, &fonts);
    ASSERT_FALSE(second.IsDamaged());
    EXPECT_EQ(second.GetFootnoteLineCount(), 3);  // rows 0 and 2, and the empty line between
    EXPECT_EQ(second.GetRunLayout(0).nRow, 0);
    EXPECT_EQ(second.GetRunLayout(1).nRow, 2);
    EXPECT_EQ(second.GetRunLayout(2).nRow, 0);  // the body from row 0
    EXPECT_EQ(second.GetRunLayout(4).nRow, 2);
    // The heading row pulls the body rows above it into the frozen top area.
    EXPECT_EQ(second.GetRunLayout(2).nVFreeze, 2);
    EXPECT_EQ(second.GetRunLayout(2).nHFreeze, 2);
    EXPECT_EQ(second.GetRunLayout(4).nVFreeze, 1);
    EXPECT_EQ(second.GetRunLayout(6).nVFreeze, 0);
    EXPECT_EQ(second.GetHeadingLineCount(), 3);
    EXPECT_EQ(second.GetFrozenColumnEdge(), 0);  // style 0: no frozen column
    EXPECT_EQ(second.GetLineCount(), 6);
    EXPECT_EQ(second.GetRunLayout(0).x, 10);  // no marks: no indent

    CArticleTable third(pDoc.get(), 2, &fonts);
    ASSERT_FALSE(third.IsDamaged());
    EXPECT_EQ(third.GetRunLayout(7).x, 10 + 150 * 7);
    EXPECT_EQ(third.GetTableWidth(), 1060 + 150);
    EXPECT_EQ(third.GetRunLayout(8).x, 10 + (600 - 15 * 12) / 2);
    EXPECT_EQ(third.GetRunLayout(8).nHFreeze, 1);

    // The first table is found again behind nothing: tables follow one another.
    CArticleTable first(pDoc.get(), 0, &fonts);
    EXPECT_EQ(std::string(first.GetRunText(4), 5), "Alpha");
}

TEST_F(ArticleTableTest, RunMarksAndHitOffsetsCountVisibleCharacters)
{
    TableSource t;
    TableBandSource band;
    TableCellSource cell;
    cell.runs.push_back({"A  b\tc\r\nd", 0, {1, 2, 3, 4, 5}, true});
    cell.runs.push_back({"e", 0, {7, 8, 9, 10, 11, 12, 13}, false});
    band.cells.push_back(cell);
    t.bands.push_back(band);
    Open({WriteTable(t)});
    CArticleTable table(pDoc.get(), 0, &fonts);
    ASSERT_FALSE(table.IsDamaged());
    int marks[5];
    for (int n = 0; n < 5; ++n)
        marks[n] = table.GetRunMark(0, n);
    EXPECT_EQ(std::vector<int>(marks, marks + 5), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(table.GetRunMark(0, 5), 1);  // past five: mark 1 again
    EXPECT_EQ(table.GetRunMark(0, -1), 1);
    EXPECT_EQ(table.GetRunMark(1, 4), 11);
    EXPECT_EQ(table.GetRun(1).nFlags & 7, 7);

    // Visible characters A b c d e at bytes 0, 3, 5, 8 and 10 (the terminator between is TAB).
    struct {
        int offset, index;
    } cases[] = {{0, 0}, {1, 3}, {2, 5}, {3, 8}, {4, 10}, {50, 11}};
    for (auto c : cases)
        EXPECT_EQ(table.HitToTextIndex(c.offset), c.index) << c.offset;
}

// Long cells break where the run's first characters stop fitting (12 pixels a character), behind
// the last break character of that part; a later line without a break is cut where it stops
// fitting. The reference finds each line by the plain definition.
TEST_F(ArticleTableTest, LongCellsBreakAtTheLastBreakThatFits)
{
    std::string words;
    for (int i = 0; words.size() < 7000; ++i) {
        words += std::string(1 + (i * 7) % 13, static_cast<char>('a' + i % 26));
        words += i % 17 == 16 ? "; " : i % 5 == 4 ? "-" : " ";
        if (i == 40)
            words += std::string(120, 'z') + " ";  // a word longer than a line
    }
    for (const std::string& text : {words, std::string("short then ") + std::string(300, 'x')}) {
        SCOPED_TRACE(text.size());
        TableSource t;
        TableBandSource band;
        TableCellSource cell;
        cell.runs.push_back({text, 0, {}, true});
        band.cells.push_back(cell);
        t.bands.push_back(band);
        Open({WriteTable(t)});
        CArticleTable table(pDoc.get(), 0, &fonts);
        ASSERT_FALSE(table.IsDamaged());
        const TableRunLayout& rec = table.GetRunLayout(0);
        // The reference: the widest part of the rest narrower than the wrap width, cut back
        // behind its last break; at most 29 lines, the last holding the rest.
        const int nWrap = CArticleTable::WrapWidth(1);
        const int nTotal = static_cast<int>(text.size()) + 1;
        std::vector<int> starts = {0};
        while (static_cast<int>(starts.size()) < TableRunLayout::maxLines) {
            const int nStart = starts.back();
            if (12 * (nTotal - nStart) + (starts.size() == 1 ? rec.x - rec.xColumn : 0) <= nWrap)
                break;
            int n = 0;
            while (n < nTotal - nStart && 12 * (n + 1) < nWrap)
                ++n;
            const int nFits = n;
            while (n > 0 && std::strchr(" .;:-!?\n", text[static_cast<size_t>(nStart + n - 1)]) == nullptr)
                --n;
            if (n == 0)
                n = std::max(nFits, 1);
            starts.push_back(nStart + n);
        }
        ASSERT_EQ(static_cast<int>(starts.size()), rec.nLines);
        for (size_t l = 0; l < starts.size(); ++l)
            EXPECT_EQ(starts[l], rec.awLineStart[l]) << "line " << l;
        EXPECT_EQ(nTotal, rec.awLineStart[rec.nLines]);
    }
}

// The characters measured to find one line are a small multiple of the line's length, however
// long the rest of the run: a cell of 7,000 or 70,000 characters costs the same per line.
TEST(TableLineFitTest, MeasuresAboutTheLineNotTheRest)
{
    for (int nCount : {0, 1, 2, 3, 49, 50, 51, 7000, 70000}) {
        for (int nLimit : {0, 7, 8, 300, 351, 352, 100000000}) {
            SCOPED_TRACE(::testing::Message() << nCount << " characters, limit " << nLimit);
            const std::string text(static_cast<size_t>(nCount), 'm');
            long long measured = 0;
            const int n = TableLineFit(text.c_str(), nCount, nLimit, [&](LPCSTR, int k) {
                measured += k;
                return 7 * k;
            });
            int expected = 0;
            while (expected < nCount && 7 * (expected + 1) < nLimit)
                ++expected;
            EXPECT_EQ(expected, n);
            if (expected < nCount) {
                EXPECT_LE(measured, 8LL * (expected + 2) * 20) << "measured for one line";
            }
        }
    }
}

TEST_F(ArticleTableTest, DamagedTableDataIsRefused)
{
    // Byte patches on the first table (offsets from its first byte), each of which would make
    // the layout read or write outside the record.
    const std::string good = Eruptions();
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"text longer than the record", 2, {0xFF, 0xFF}},
        {"more bands than there are", 32, {0x00, 0x40}},
        {"more runs than there are", 36, {0xFF, 0x00}},
        {"a band's first cell past the cells", 40 + 10 + 4 * 2 + 2, {0xFF, 0x00}},
        {"a cell's first run past the runs", 40 + 10 + 4 * 5 + 6 * 3 + 4, {0xFF, 0x00}},
        {"a run's text past the text", 40 + 10 + 4 * 5 + 6 * 11 + 10 * 9, {0xFF, 0x7F, 0, 0}},
        {"a link past the runs", 40 + 2, {0x10, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open({good});
        LPBYTE pTable = pDoc->GetTableDataStart();
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            pTable[c.at + i] = c.bytes[i];
        CArticleTable table(pDoc.get(), 0, &fonts);
        EXPECT_TRUE(table.IsDamaged());
        EXPECT_FALSE(table.GetDamage().IsEmpty());
        EXPECT_EQ(table.GetRunCount(), 0);
        EXPECT_EQ(table.GetLineCount(), 0);
    }

    // A band of 21 cells.
    TableSource t;
    TableBandSource band;
    for (int i = 0; i < 21; ++i)
        band.cells.push_back({0, false, 0, {{"x", 0, {}, true}}});
    t.bands.push_back(band);
    Open({WriteTable(t)});
    CArticleTable wide(pDoc.get(), 0, &fonts);
    EXPECT_TRUE(wide.IsDamaged());
    EXPECT_EQ(wide.GetDamage(), "a band has more than 20 cells");

    // No such table.
    CArticleTable missing(pDoc.get(), 1, &fonts);
    EXPECT_TRUE(missing.IsDamaged());
}

}  // namespace
}  // namespace article_test
