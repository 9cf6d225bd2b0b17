// Writes the tables of an article record: a 40-byte header, the link, band, cell and run entries,
// and the cell text (each run's text followed by its NUL terminator), in the layout the program's
// table reader takes (the bytes of one RecordTable::data). The runs of a merged cell hold no text
// of their own: they point at the text of the next run written.
//
//   0  u16 0                   2  u16 text length          4  u8 style (3, 5 freeze column 1)
//   18 u16 first footnote run  20 u16 footnote runs        22 u8 widest column count
//   23 u8 has footnote rows    25 u8 links                 29 u8 255: centred
//   32 u16 bands  34 u16 cells  36 u16 runs  38 u16 kept
//   link 10 bytes: u16 first run, u16 run count, u32 RIN, u16 place
//   band 4: u8 kind, u8 flag (1 heading row), u16 first cell
//   cell 6: i8 span, u8 merged, i8 figures, u8 0, u16 first run
//   run 10: u32 text offset, u16 length, u8 font code, u8 marks (count | behind 8 | mark 1 << 4),
//           u8 marks 2 and 3, u8 marks 4 and 5
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace discbuilder {

struct TableRunSource {
    std::string text;
    int font = 0;            // 0 to 16
    std::vector<int> marks;  // footnote marks, 1 to 15 each, at most 7 (5 are kept)
    bool marksBehind = true;
};

struct TableCellSource {
    int span = 0;
    bool merged = false;  // continues the cell above
    int figures = 0;      // 1: figures right-aligned (read from column-heading rows)
    std::vector<TableRunSource> runs;
};

// Band kinds: 0 title, 1 plain, 2 column heading, 3 and 7 centred when spanning, 6 footnote.
struct TableBandSource {
    int kind = 1;
    int flag = 0;  // 1: heading row
    std::vector<TableCellSource> cells;
};

struct TableLinkSource {
    int firstRun = 0;
    int runCount = 1;
    std::uint32_t rin = 0;
    int place = 0;  // 0 the article, 1-199 a section, 200 and above a table
};

struct TableSource {
    int style = 0;
    bool centred = false;
    int widestColumns = -1;  // -1: the largest cell count of a band
    int field38 = 0;
    std::vector<TableBandSource> bands;
    std::vector<TableLinkSource> links;
};

// The table's bytes. The footnote area is the runs of the footnote bands (kind 6), which must
// follow one another. Throws std::invalid_argument when a count or the text does not fit its
// field or a link names runs that do not exist.
std::string WriteTable(const TableSource& table);

}  // namespace discbuilder
