// Pictures for the bitmap tests, written from known pixels by the disc builder's writers: GIF
// streams (tests choose code sizes, interlacing, colour tables and whether a full code table is
// cleared) and BMP files of every bit depth, bottom-up or top-down; and giflib's reading of a
// GIF, the independent decoder the tests compare with.
#pragma once

#include "BmpWriter.h"
#include "GifWriter.h"

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace pictures {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r, g, b;
};

// Pixels row by row from the top, each a colour index.
struct Indexed {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// A pseudo-random picture whose indexes stay below nColors.
inline Indexed Noise(int width, int height, int nColors, std::uint32_t seed)
{
    Indexed p{width, height, {}};
    p.pixels.resize(size_t(width) * size_t(height));
    for (auto& v : p.pixels) {
        seed = seed * 1664525u + 1013904223u;
        v = std::uint8_t((seed >> 16) % std::uint32_t(nColors));
    }
    return p;
}

inline std::vector<Rgb> Ramp(int n)
{
    std::vector<Rgb> colors;
    for (int i = 0; i < n; ++i)
        colors.push_back(Rgb{std::uint8_t(i * 7 + 3), std::uint8_t(255 - i), std::uint8_t(i * 13)});
    return colors;
}

// ---- GIF ---------------------------------------------------------------------------------

inline std::vector<discbuilder::PictureColor> WriterColors(const std::vector<Rgb>& colors)
{
    std::vector<discbuilder::PictureColor> out;
    for (const Rgb& c : colors)
        out.push_back({c.r, c.g, c.b});
    return out;
}

// The packed-field size of a colour table: 2^(bits+1) entries.
inline int TableBits(size_t n)
{
    return discbuilder::GifTableSizeField(n);
}

struct GifImage {
    GifImage(Indexed p, std::vector<Rgb> local = {}, bool interlace = false, int codeSize = 8, bool clear = true,
             bool control = false)
        : picture(std::move(p)), localColors(std::move(local)), interlaced(interlace), minCodeSize(codeSize),
          clearWhenFull(clear), graphicControl(control)
    {
    }
    Indexed picture;
    std::vector<Rgb> localColors;  // empty: none
    bool interlaced = false;
    int minCodeSize = 8;
    bool clearWhenFull = true;    // else the encoder goes on with a full table of 12-bit codes
    bool graphicControl = false;  // a GIF89a graphic control extension before the image
};

// A GIF89a stream from the disc builder's writer: the global colour table (none when empty), the
// images in order (the screen is the first one's size), the trailer; with loopExtension an
// animation's application extension after the header.
inline Bytes MakeGif(const std::vector<Rgb>& globalColors, const std::vector<GifImage>& images, bool loopExtension = false)
{
    discbuilder::GifWriter writer(images.at(0).picture.width, images.at(0).picture.height, WriterColors(globalColors));
    if (loopExtension)
        writer.AddExtension(0xFF, {"NETSCAPE2.0", std::string("\x01\x00\x00", 3)});
    for (const GifImage& image : images) {
        if (image.graphicControl)
            writer.AddExtension(0xF9, {std::string("\x04\x0A\x00\x00", 4)});  // a delay of 0.1 s
        discbuilder::GifImage written;
        written.width = image.picture.width;
        written.height = image.picture.height;
        written.indices = image.picture.pixels;
        written.localColors = WriterColors(image.localColors);
        written.interlaced = image.interlaced;
        written.minCodeSize = image.minCodeSize;
        written.fullTable = image.clearWhenFull ? discbuilder::GifFullTable::Clear : discbuilder::GifFullTable::Keep;
        writer.AddImage(written);
    }
    const std::string bytes = writer.Finish();
    return Bytes(bytes.begin(), bytes.end());
}

// ---- giflib's reading --------------------------------------------------------------------

struct Decoded {
    bool ok = false;
    Indexed picture;
    std::vector<Rgb> colors;  // the colour table that applies to the first image
};

inline Decoded GiflibDecode(const Bytes& bytes)
{
    struct Source {
        const Bytes* bytes;
        size_t at;
    } source{&bytes, 0};
    auto read = [](GifFileType* gif, GifByteType* out, int n) -> int {
        auto* s = static_cast<Source*>(gif->UserData);
        size_t k = std::min(size_t(n), s->bytes->size() - s->at);
        std::memcpy(out, s->bytes->data() + s->at, k);
        s->at += k;
        return int(k);
    };
    Decoded d;
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (gif == nullptr)
        return d;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        d.picture.width = image.ImageDesc.Width;
        d.picture.height = image.ImageDesc.Height;
        d.picture.pixels.assign(image.RasterBits, image.RasterBits + size_t(d.picture.width) * size_t(d.picture.height));
        const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr)
            for (int i = 0; i < map->ColorCount; ++i)
                d.colors.push_back(Rgb{map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
        d.ok = true;
    }
    DGifCloseFile(gif, &error);
    return d;
}

// ---- BMP ---------------------------------------------------------------------------------

struct BmpSpec {
    int width = 0;
    int height = 0;
    int bitCount = 8;
    bool topDown = false;
    std::vector<Rgb> colors;               // for 1, 4 and 8 bits
    std::vector<std::uint32_t> pixels;     // index, or 0xRRGGBB for 24 bits; rows from the top
    std::uint32_t gap = 0;                 // bytes between the colour table and the bits
};

// A BMP file from the disc builder's writer; a gap moves the bits further on (the file header
// says where they start).
inline Bytes MakeBmp(const BmpSpec& s)
{
    discbuilder::BmpPicture picture;
    picture.width = s.width;
    picture.height = s.height;
    picture.bitCount = s.bitCount;
    picture.topDown = s.topDown;
    picture.colors = WriterColors(s.colors);
    for (std::uint32_t v : s.pixels) {
        if (s.bitCount == 24)
            picture.pixels.push_back({std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
        else
            picture.indices.push_back(std::uint8_t(v));
    }
    const std::string file = discbuilder::BmpFile(picture);
    Bytes out(file.begin(), file.end());
    const size_t bitsAt = 14 + 40 + 4 * s.colors.size();
    out.insert(out.begin() + long(bitsAt), s.gap, 0xEE);
    auto put32 = [&](size_t at, size_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    put32(2, out.size());
    put32(10, bitsAt + s.gap);
    return out;
}

}  // namespace pictures
