// Writes the reader's own files that the program keeps in its notes folder, byte for byte as
// the class library's archive of an object array (little-endian):
//
// hilite.dat   count (16 bits; 0xFFFF and a 32-bit count from 0xFFFF on), then per record the
//              object header (the first: 0xFFFF, schema 1, name length 13, "CHiliteRecord"; every
//              later one: 0x8001) and the body: 32-bit key, 16-bit span count, and per span four
//              32-bit values (unit, offset, length, style).
// sticky.nte   the same array of "CStickyNote" (name length 11); body: title, text and spare text
//              as archive strings (length in 8 bits below 255, else 0xFF and 16 bits below
//              0xFFFE, else 0xFF, 0xFFFF and 32 bits), 32-bit key, four 16-bit position values.
//
// Tests build fixtures with these (and damaged copies of them); the program's readers are
// checked against them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct HiliteSpanEntry {
    std::uint32_t unit = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t style = 0;
};

struct HiliteRecordEntry {
    std::int32_t key = 0;
    std::vector<HiliteSpanEntry> spans;  // at most 0xFFFF
};

struct StickyNoteEntry {
    std::string title;
    std::string text;
    std::string spare;
    std::int32_t key = 0;
    std::array<std::uint16_t, 4> position{};
};

// The bytes of the files. Throws std::invalid_argument for a record of more than 0xFFFF spans.
std::string MakeHiliteFile(const std::vector<HiliteRecordEntry>& records);
std::string MakeStickyNoteFile(const std::vector<StickyNoteEntry>& notes);

// One archive string as the class library writes it.
std::string ArchiveString(const std::string& text);

// Writes bytes to a file (replacing it). Throws std::runtime_error when it cannot be written.
void WriteUserDataFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace discbuilder
