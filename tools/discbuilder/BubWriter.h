// The writer of photo-bubble files ("Bu%06ld.bub"): a panorama of 256 colours and its hot
// spots with their texts. Layout: "VLBUBBLE", version 1 (2 bytes), the number of hot spots
// (2), width (4), height (4), the column shown first (4), 256 colours (blue, green, red, 0), the
// pixels (width * height colour indexes, rows from the top), per hot spot left, top, right,
// bottom (4 bytes each), the text's length (2) and the text, and last a CRC-32 (zlib) of all
// the bytes before it. Numbers are little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace discbuilder {

struct BubSpotSource {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string text;
};

struct BubSource {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t initialColumn = 0;
    std::array<std::array<std::uint8_t, 3>, 256> rgb{};  // red, green, blue
    std::vector<std::uint8_t> pixels;                     // width * height, rows from the top
    std::vector<BubSpotSource> spots;
};

// The file's bytes. Throws std::invalid_argument for what the format cannot hold: a size of 0,
// wider than 16384 or higher than 4096, pixels that do not match the size, a first column
// outside the picture, more than 1000 hot spots, a spot outside the picture or empty, a text
// empty or longer than 831 bytes.
std::string WriteBubFile(const BubSource& source);

}  // namespace discbuilder
