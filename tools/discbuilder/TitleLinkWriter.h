// Writes TITLELNK.DAT, the table that turns the article numbers of the keyword index into RINs,
// parents and titles. Records start on 12-byte boundaries and an article's number is its
// record's byte offset / 12:
//   u32 RIN (low 24 bits), u16 parent article number (0: a main article), the title (at most
//   254 bytes, no line feed), a line feed, zero bytes up to the next multiple of 12.
// A dummy record at offset 0 keeps every article's number above 0. The file lives in the program
// folder; the disc carries it in its data folder and installing copies it across.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

constexpr const char* kTitleLinkFileName = "TITLELNK.DAT";

struct TitleLinkEntry {
    std::int32_t rin = 0;
    int parent = -1;     // index of the parent entry in the list, -1 for a main article
    std::string title;
};

struct TitleLinkTable {
    std::string bytes;                         // the file
    std::vector<std::uint16_t> articleNumbers; // of each entry, in the list's order
};

// Throws std::invalid_argument for a RIN outside 24 bits, a title with a line feed or longer than
// 254 bytes, a parent that is not an earlier entry, or more articles than 16-bit numbers reach.
TitleLinkTable BuildTitleLinkTable(const std::vector<TitleLinkEntry>& entries);

}  // namespace discbuilder
