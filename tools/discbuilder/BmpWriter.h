// Writes BMP files: the 14-byte file header (with the offset of the bits), a 40-byte info
// header, the colour table (blue, green, red, 0 for each colour) and the uncompressed pixel rows,
// each padded to a multiple of 4 bytes, bottom-up (or top-down, with a negative height, when
// asked). Depths: 1, 4 and 8 bits of colour indexes over a table of up to 2^bits colours, or 24
// bits of blue, green, red without a table.
#pragma once

#include "PictureColor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace discbuilder {

struct BmpPicture {
    int width = 0;   // 1 to 32767
    int height = 0;  // 1 to 32767
    int bitCount = 8;  // 1, 4, 8 or 24
    std::vector<PictureColor> colors;   // 1, 4 and 8 bits: 1 to 2^bitCount colours; 24 bits: none
    std::vector<std::uint8_t> indices;  // 1, 4 and 8 bits: width x height indexes, rows from the top
    std::vector<PictureColor> pixels;   // 24 bits: width x height colours, rows from the top
    bool topDown = false;
};

// The bytes of a padded row of the given width and depth.
std::size_t BmpRowLength(int width, int bitCount);

// The file. Throws std::invalid_argument for a size, depth or colour table out of range, pixels
// that do not match the size, or an index beyond the colour table.
std::string BmpFile(const BmpPicture& picture);

}  // namespace discbuilder
