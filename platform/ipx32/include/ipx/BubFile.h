// Photo-bubble files (".bub"): one panoramic picture of 256 colours and its hot spots, each with
// a text. All numbers are little-endian.
//
//   offset  size          field
//   0       8             "VLBUBBLE"
//   8       2             version (1)
//   10      2             number of hot spots (at most kBubMaxSpots)
//   12      4             picture width (1 to kBubMaxWidth)
//   16      4             picture height (1 to kBubMaxHeight)
//   20      4             the column shown first at the window's left edge (below the width)
//   24      1024          256 colours, each blue, green, red, 0
//   1048    width*height  the picture's colour indexes, rows from the top
//   then, per hot spot:   left, top, right, bottom (4 bytes each, signed; within the picture,
//                         left < right, top < bottom), text length (2 bytes, 1 to
//                         kBubMaxText), the text (no terminating NUL)
//   last    4             CRC-32 (the zlib polynomial) of every byte before it
//
// Nothing follows the checksum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ipx {

constexpr char kBubMagic[8] = {'V', 'L', 'B', 'U', 'B', 'B', 'L', 'E'};
constexpr std::uint16_t kBubVersion = 1;
constexpr std::uint32_t kBubMaxWidth = 16384;
constexpr std::uint32_t kBubMaxHeight = 4096;
constexpr std::uint16_t kBubMaxSpots = 1000;
constexpr std::size_t kBubMaxText = 831;  // the caller's buffer holds 832 bytes with the NUL
constexpr std::size_t kBubHeaderSize = 24;
constexpr std::size_t kBubPaletteSize = 1024;

struct BubSpot {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string text;
};

struct BubPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t initialColumn = 0;
    std::uint8_t palette[256][4] = {};  // blue, green, red, 0
    std::vector<std::uint8_t> pixels;   // width * height indexes, rows from the top
    std::vector<BubSpot> spots;
};

// Reads a whole file's bytes. On failure returns false and a sentence that says what is wrong
// ("the file is truncated.", ...).
bool ReadBubFile(const std::uint8_t* data, std::size_t size, BubPicture& picture, std::string& error);

}  // namespace ipx
