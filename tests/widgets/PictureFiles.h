// Pictures for the bitmap tests, written from known pixels: GIF streams (with an LZW encoder of
// our own, so that tests choose code sizes, interlacing, colour tables and whether a full code
// table is cleared) and BMP files of every bit depth, bottom-up or top-down; and giflib's
// reading of a GIF, the independent decoder the tests compare with.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <map>
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

inline void PutWord(Bytes& out, int v)
{
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

// LZW codes of the pixels, least significant bit first, without the sub-block framing. With
// clearWhenFull the table is cleared when it fills (as common encoders do); without it the
// encoder goes on with 12-bit codes and a full table.
inline Bytes LzwEncode(const std::vector<std::uint8_t>& pixels, int minCodeSize, bool clearWhenFull = true)
{
    Bytes out;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    int codeSize = minCodeSize + 1;
    const int clear = 1 << minCodeSize, end = clear + 1;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    auto emit = [&](int code) {
        bitBuffer |= std::uint32_t(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8) {
            out.push_back(std::uint8_t(bitBuffer & 0xFF));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };
    emit(clear);
    if (pixels.empty()) {
        emit(end);
    } else {
        int current = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            int p = pixels[i];
            auto it = table.find({current, p});
            if (it != table.end()) {
                current = it->second;
                continue;
            }
            emit(current);
            if (next >= (1 << codeSize) && codeSize < 12)
                ++codeSize;
            if (clearWhenFull && next >= 4095) {
                emit(clear);
                table.clear();
                next = clear + 2;
                codeSize = minCodeSize + 1;
            } else if (next < 4096) {
                table[{current, p}] = next++;
            }
            current = p;
        }
        emit(current);
        if (next >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
        emit(end);
    }
    if (bitCount > 0)
        out.push_back(std::uint8_t(bitBuffer & 0xFF));
    return out;
}

inline void PutSubBlocks(Bytes& out, const Bytes& data, size_t blockSize = 255)
{
    for (size_t at = 0; at < data.size(); at += blockSize) {
        size_t n = std::min(blockSize, data.size() - at);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    out.push_back(0);
}

inline int TableBits(size_t n)
{
    int bits = 0;
    while ((size_t(2) << bits) < n)
        ++bits;
    return bits;  // the packed-field value: 2^(bits+1) entries
}

inline void PutColorTable(Bytes& out, const std::vector<Rgb>& colors)
{
    size_t n = size_t(2) << TableBits(colors.size());
    for (size_t i = 0; i < n; ++i) {
        Rgb c = i < colors.size() ? colors[i] : Rgb{0, 0, 0};
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
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
    bool clearWhenFull = true;
    bool graphicControl = false;  // a GIF89a graphic control extension before the image
};

// The image's rows in the order they are stored: as they are, or in the four interlace passes.
inline std::vector<std::uint8_t> StoredOrder(const Indexed& p, bool interlaced)
{
    std::vector<int> rows;
    if (!interlaced) {
        for (int y = 0; y < p.height; ++y)
            rows.push_back(y);
    } else {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < p.height; y += step[pass])
                rows.push_back(y);
    }
    std::vector<std::uint8_t> out;
    for (int y : rows)
        for (int x = 0; x < p.width; ++x)
            out.push_back(p.At(x, y));
    return out;
}

inline void PutImage(Bytes& out, const GifImage& image)
{
    if (image.graphicControl) {
        const std::uint8_t gce[] = {0x21, 0xF9, 4, 0x04, 10, 0, 0, 0};
        out.insert(out.end(), std::begin(gce), std::end(gce));
    }
    out.push_back(0x2C);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, image.picture.width);
    PutWord(out, image.picture.height);
    std::uint8_t flags = image.interlaced ? 0x40 : 0;
    if (!image.localColors.empty())
        flags |= std::uint8_t(0x80 | TableBits(image.localColors.size()));
    out.push_back(flags);
    if (!image.localColors.empty())
        PutColorTable(out, image.localColors);
    out.push_back(std::uint8_t(image.minCodeSize));
    PutSubBlocks(out, LzwEncode(StoredOrder(image.picture, image.interlaced), image.minCodeSize, image.clearWhenFull));
}

// A GIF89a stream: the global colour table (none when empty), the images in order, the trailer.
inline Bytes MakeGif(const std::vector<Rgb>& globalColors, const std::vector<GifImage>& images, bool loopExtension = false)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, images.empty() ? 1 : images[0].picture.width);
    PutWord(out, images.empty() ? 1 : images[0].picture.height);
    out.push_back(globalColors.empty() ? 0 : std::uint8_t(0x80 | 0x70 | TableBits(globalColors.size())));
    out.push_back(0);
    out.push_back(0);
    if (!globalColors.empty())
        PutColorTable(out, globalColors);
    if (loopExtension) {
        const std::uint8_t app[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
        out.insert(out.end(), std::begin(app), std::end(app));
    }
    for (const GifImage& image : images)
        PutImage(out, image);
    out.push_back(0x3B);
    return out;
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

inline Bytes MakeBmp(const BmpSpec& s)
{
    const size_t row = ((size_t(s.width) * size_t(s.bitCount) + 31) & ~size_t(31)) / 8;
    Bytes bits(row * size_t(s.height), 0);
    for (int y = 0; y < s.height; ++y) {
        int stored = s.topDown ? y : s.height - 1 - y;
        std::uint8_t* r = bits.data() + size_t(stored) * row;
        for (int x = 0; x < s.width; ++x) {
            std::uint32_t v = s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
            switch (s.bitCount) {
            case 1: r[x / 8] |= std::uint8_t((v & 1) << (7 - x % 8)); break;
            case 4: r[x / 2] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: r[x] = std::uint8_t(v); break;
            case 24:
                r[x * 3] = std::uint8_t(v);
                r[x * 3 + 1] = std::uint8_t(v >> 8);
                r[x * 3 + 2] = std::uint8_t(v >> 16);
                break;
            }
        }
    }
    const std::uint32_t table = std::uint32_t(s.colors.size() * 4);
    const std::uint32_t offBits = 14 + 40 + table + s.gap;
    Bytes out;
    auto u16 = [&](std::uint32_t v) { PutWord(out, int(v)); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(offBits + std::uint32_t(bits.size()));
    u32(0);
    u32(offBits);
    u32(40);
    u32(std::uint32_t(s.width));
    u32(std::uint32_t(s.topDown ? -s.height : s.height));
    u16(1);
    u16(std::uint32_t(s.bitCount));
    u32(0);
    u32(std::uint32_t(bits.size()));
    u32(0);
    u32(0);
    u32(std::uint32_t(s.colors.size()));
    u32(0);
    for (const Rgb& c : s.colors) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    out.insert(out.end(), s.gap, 0xEE);
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

}  // namespace pictures
