// Writes GIF pictures (the GIF89a layout) from 8-bit colour indexes: the logical screen with an
// optional global colour table, extension blocks, and images, each with an optional local colour
// table and optional interlacing, compressed by a variable-width LZW encoder.
//
// Colour tables hold 2 to 256 entries on disc: a table of n colours is padded with black to the
// next power of two (at least 2). The image data is the LZW code stream, least significant bit
// first, in sub-blocks of at most 255 bytes ended by a zero-length block. It starts with a clear
// code; codes grow from minimum code size + 1 bits up to 12 bits as the table fills; a full table
// (4096 codes) is cleared and started again (or, when asked, kept as it is: the encoder then goes
// on with 12-bit codes and no new strings, which every decoder must also read).
//
// Extension blocks (comments, graphic control with its delay and transparent colour, application
// blocks) are written as the caller gives them; the program's reader skips them all.
#pragma once

#include "PictureColor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace discbuilder {

// What the LZW encoder does once its table holds 4096 codes.
enum class GifFullTable {
    Clear,  // a clear code, and the table starts again (what common decoders expect)
    Keep,   // no clear code: 12-bit codes of the strings already in the table
};

struct GifImage {
    int width = 0;   // 1 to 65535
    int height = 0;  // 1 to 65535
    std::vector<std::uint8_t> indices;  // width x height colour indexes, row by row from the top
    int left = 0;  // place on the logical screen
    int top = 0;
    std::vector<PictureColor> localColors;  // empty: the global table applies
    bool interlaced = false;                // rows stored in the four interlace passes
    // The LZW minimum code size, 2 to 11 (above 8 the literal codes beyond the indexes go
    // unused, and at 11 the codes start at the 12-bit limit); 0: the smallest that holds the
    // colour table's indexes (without a table, the indexes used).
    int minCodeSize = 0;
    GifFullTable fullTable = GifFullTable::Clear;
};

class GifWriter {
public:
    // The logical screen (1 to 65535 pixels each way) and the global colour table (none when
    // empty). Throws std::invalid_argument for a size or table out of range.
    GifWriter(int screenWidth, int screenHeight, std::vector<PictureColor> globalColors);

    // An extension block: the introducer, its label, then each of the blocks as a data
    // sub-block (1 to 255 bytes each) and the block terminator. Throws std::invalid_argument
    // for an empty or longer block.
    void AddExtension(std::uint8_t label, const std::vector<std::string>& blocks);

    // An image descriptor, its local colour table and its compressed indexes. Throws
    // std::invalid_argument when the image does not lie on the screen, its indexes do not match
    // its size, the local table is larger than 256 colours, the code size is outside 2 to 11, or
    // an index lies beyond the colour table that applies or beyond the code size. An image
    // without any colour table (no local one, no global one) is written as asked.
    void AddImage(const GifImage& image);

    // The stream so far followed by the trailer. Throws std::logic_error when no image was added.
    std::string Finish() const;

private:
    std::string m_bytes;
    std::vector<PictureColor> m_globalColors;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    bool m_hasImage = false;
};

// A GIF file of one image on a screen just large enough for it, with the colours as the global
// table (none when empty).
std::string GifFile(const GifImage& image, const std::vector<PictureColor>& colors);

// The LZW code stream of the indexes (clear code first, end code last), packed least
// significant bit first, without the sub-block framing. Every index must lie below
// 2^minCodeSize (2 to 11); throws std::invalid_argument otherwise.
std::string GifLzwCodes(const std::vector<std::uint8_t>& indices, int minCodeSize,
                        GifFullTable fullTable = GifFullTable::Clear);

// The data as sub-blocks of at most 255 bytes followed by the block terminator.
std::string GifSubBlocks(std::string_view data);

// The packed-field size of a colour table of n colours (1 to 256, else std::invalid_argument):
// the table holds 2^(size + 1) entries.
int GifTableSizeField(std::size_t n);

// The rows of a picture of the given height in the order an interlaced image stores them.
std::vector<int> GifInterlacedRows(int height);

}  // namespace discbuilder
