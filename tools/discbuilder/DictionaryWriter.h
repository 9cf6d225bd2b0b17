// Writes the dictionary's three files into the data folder:
//   DICTDEFS.ROM  every entry (its 0xBD first line, its definitions, a 0xCA line), sorted by index
//                 word, then 0x1A. Lines longer than the reader's 2,047-byte line are split at a
//                 space.
//   dicmain.ndx   512-byte blocks of entries: u32 little-endian offset of the entry's 0xBD in
//                 DICTDEFS.ROM, length L (1-127), the index word, NUL; whole entries only, the
//                 rest of a block zero. One entry per distinct index word of the headwords and
//                 the other headwords: the first entry of that headword, else the first entry
//                 that has it as another headword.
//   dicmstr.ndx   one 6-byte entry per block: the leading part of the block's last word,
//                 front-coded against the entry before (shared count p at most 195, then five
//                 characters, NUL-padded).
// The index word of a headword is what the engine's filter leaves of it: a-z upper-cased, the
// accented letters of Windows-1252 folded to their base letter (attach\xE9 is ATTACHE), every
// other character but ASCII letters and digits dropped. Headwords that leave nothing are not
// indexed.
#pragma once

#include "DictionarySource.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct DictionaryIndexEntry {
    std::string word;     // the index word
    std::uint32_t offset; // of the entry's 0xBD in DICTDEFS.ROM
};

struct DictionaryFiles {
    std::string definitions;  // DICTDEFS.ROM
    std::string mainIndex;    // dicmain.ndx
    std::string masterIndex;  // dicmstr.ndx
    // What was written, in file order: the entries (sorted) with their offsets, and the index.
    std::vector<DictionaryEntry> entries;
    std::vector<std::uint32_t> entryOffsets;
    std::vector<DictionaryIndexEntry> index;
};

constexpr std::size_t kDictBlockSize = 512;
constexpr std::size_t kDictMaxLine = 2047;
constexpr std::size_t kDictMaxWord = 127;

// The engine's letter-and-digit filter.
std::string DictionaryIndexWord(const std::string& headword);

// Builds the three files of the entries (sorted here, stably, by index word). Throws
// std::invalid_argument when the definitions pass 4 GB.
DictionaryFiles BuildDictionary(std::vector<DictionaryEntry> entries);

// Writes DICTDEFS.ROM, dicmain.ndx and dicmstr.ndx into the folder (created when missing).
// Throws std::runtime_error when a file cannot be written.
void WriteDictionary(const DictionaryFiles& files, const std::filesystem::path& dataFolder);

// The sample's dictionary (sampleFolder/dictionary) into the data folder; the files written
// (none when the sample has no dictionary).
std::vector<std::filesystem::path> WriteSampleDictionary(const std::filesystem::path& sampleFolder,
                                                         const std::filesystem::path& dataFolder);

}  // namespace discbuilder
