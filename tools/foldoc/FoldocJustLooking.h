// The browsing view's rows of the reference disc: for every FOLDOC article (content number
// kFirstRin + its index) a [Dada Vaveroz Data] row, a show-list row and a [First Line] row,
// written as the disc builder's sources:
//   database/dadavaveroz.txt  title | number | category | "Artcl" | "1" | "Y"  (replaced)
//   database/firstlines.txt   number (seven digits) | first line              (appended)
//   lists/shows.txt           title | number | "Artcl" | category             (replaced)
// The category comes from the entry's domain (CategoryOfDomain): 1 language HUM, 2 programming
// IND, 3 networking SOC, 4 hardware PHY, 5 operating system IND, 6 jargon REC, 7 company SOC,
// 8 standard HIS, others LIF, none IND. Titles lose "|" and are cut to the show list's 100
// characters; the first line is the first sentence of the first paragraph (domain marker and
// braces taken out), at most 200 characters.
#pragma once

#include "FoldocSource.h"

namespace foldoc {

struct JustLookingRows {
    std::string items;       // lines of dadavaveroz.txt
    std::string firstLines;  // lines of firstlines.txt
    std::string shows;       // lines of shows.txt
};

// The category code of an entry.
std::string JustLookingCategory(const FoldocEntry& entry);
// The first sentence of an entry, plain.
std::string FirstLineOf(const FoldocEntry& entry);
JustLookingRows MakeJustLookingRows(const std::vector<FoldocEntry>& entries);

// Reads DICTD_FOLDER's FOLDOC and writes the rows into the sources folder; the number of entries.
std::size_t WriteJustLookingSources(const std::filesystem::path& dictdFolder, const std::filesystem::path& sourcesFolder,
                                    std::size_t limit = 0);

}  // namespace foldoc
