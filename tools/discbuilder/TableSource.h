// Reads the readable form of an article's table (the lines of a "+table" block of a sample
// article, described in sample/README.md) into the table writer's form.
//
//   title: text                 a title row (centred, never wrapped, frozen)
//   heading: a | #b | c         a column-heading row that is also a heading row; "#" marks a
//                               column of figures
//   row: a | b | c              a plain row
//   wide: text                  a row of one cell centred across the table
//   footnote: text              a footnote row
// A cell "^" continues the cell above. Inside a cell: **bold**, *italic*, {fN:text} in font code
// N, [text](vl://001006) a link (vl://001006(3) into section 3 of it, vl://001006(T) or (T1) to
// its table 0 or 1), and footnote marks [^1] or [^1,2] (before the text when they open the cell,
// else behind it).
#pragma once

#include "TableWriter.h"

#include <string>
#include <vector>

namespace discbuilder {

// The table of the block's lines; `where` names the source in errors ("file:line"). Throws
// std::runtime_error for a line it does not know or markup it cannot read.
TableSource ParseTableSource(const std::vector<std::string>& lines, const std::string& where);

}  // namespace discbuilder
