// Writes ROM_LINK.DAT, the content index that places every content number (RIN) of a disc: one
// record per item, seven decimal fields separated by '|' and ended by CR LF, in ascending order
// of RIN:
//   RIN | category digit | kind digit | picture-flag digit | disc | archive block | block count
// The kind digit gives the kind of the reference the program makes (0 article, 1 animation,
// 2 video, 3 picture, 4 sound, 5 simulation, 6 map, 7 virtual-reality scene, 8 item without a
// file, 9 bubble); the category digit n (1-9) the category bit 1 << (n - 1), 0 none.
//
// The program reads the block as a signed 24-bit and the count as a signed 8-bit value, so the
// writer accepts blocks below 2^23 and counts from 1 to 127 only: every reader agrees on them.
// The program places a RIN that the file lacks by the record of one of six default ids; the file
// must hold them all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct RomLinkEntry {
    std::int32_t rin = 0;
    int category = 0;     // 0 to 9
    int kind = 0;         // 0 to 9
    int pictureFlag = 0;  // 0 or 1
    int disc = 1;         // 1 or 2
    std::uint32_t block = 0;
    int blockCount = 1;
};

// The file name in the disc's data folder.
constexpr const char* kRomLinkFileName = "ROM_LINK.DAT";

// The RINs whose records the program fetches as defaults at start-up, in its order.
const std::vector<std::int32_t>& RomLinkDefaultRins();

// The kind digit of a disc item by its RIN's range (articles, pictures, maps, movies, sounds,
// simulations, scenes, bubbles; other text kinds are articles, timelines items without a file);
// throws std::invalid_argument for a RIN of no disc kind.
int RomLinkKindDigitFor(std::int32_t rin);

// Adds, for every default RIN the entries lack, a record of the kind its range gives that places
// it where the first entry of that kind lies (else the first entry), so that a RIN absent from
// the file opens an item that exists. Throws std::invalid_argument when there are no entries.
void AddMissingRomLinkDefaults(std::vector<RomLinkEntry>& entries);

// The text of the file: the entries sorted by RIN. Throws std::invalid_argument for a negative
// or repeated RIN, a digit out of range, a block of 2^23 or more, a count outside 1 to 127, a
// disc other than 1 or 2, or a missing default RIN.
std::string RomLinkText(std::vector<RomLinkEntry> entries);

// Writes RomLinkText(entries) into the data folder (created when missing) and returns the
// file's path; throws std::runtime_error when the file cannot be written.
std::filesystem::path WriteRomLinkFile(const std::filesystem::path& dataFolder, const std::vector<RomLinkEntry>& entries);

// The entries of a sample source (sample/index/romlink.txt): lines of "|"-separated fields
//   RIN | category digit | picture flag | disc | archive block | block count
// (blank lines and lines beginning with "#" skipped); the kind digit comes from the RIN. Throws
// std::runtime_error naming the file (and the line or record) for a line that is not six decimal
// fields or a RIN of no disc kind.
std::vector<RomLinkEntry> ReadRomLinkSource(const std::filesystem::path& sourceFile);

// ROM_LINK.DAT of the sample disc: the source's entries with the missing defaults added, written
// into the data folder; returns the file's path.
std::filesystem::path WriteRomLinkFromSource(const std::filesystem::path& sourceFile,
                                             const std::filesystem::path& dataFolder);

}  // namespace discbuilder
