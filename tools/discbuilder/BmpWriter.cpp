#include "BmpWriter.h"

#include <algorithm>
#include <stdexcept>

namespace discbuilder {

namespace {

constexpr int kMaxSide = 32767;

void Require(bool condition, const std::string& what)
{
    if (!condition)
        throw std::invalid_argument("BMP: " + what);
}

void Put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::size_t BmpRowLength(int width, int bitCount)
{
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) & ~std::size_t(31)) / 8;
}

std::string BmpFile(const BmpPicture& picture)
{
    const int bits = picture.bitCount;
    Require(bits == 1 || bits == 4 || bits == 8 || bits == 24, std::to_string(bits) + " bits a pixel");
    Require(picture.width >= 1 && picture.width <= kMaxSide && picture.height >= 1 && picture.height <= kMaxSide,
            "picture of " + std::to_string(picture.width) + "x" + std::to_string(picture.height));
    const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (bits == 24) {
        Require(picture.colors.empty(), "a 24-bit picture has no colour table");
        Require(picture.pixels.size() == count, std::to_string(picture.pixels.size()) + " colours for " +
                                                    std::to_string(count) + " pixels");
    } else {
        Require(!picture.colors.empty() && picture.colors.size() <= (std::size_t(1) << bits),
                std::to_string(picture.colors.size()) + " colours at " + std::to_string(bits) + " bits");
        Require(picture.indices.size() == count, std::to_string(picture.indices.size()) + " indexes for " +
                                                     std::to_string(count) + " pixels");
        const int highest = *std::max_element(picture.indices.begin(), picture.indices.end());
        Require(std::size_t(highest) < picture.colors.size(), "index " + std::to_string(highest) +
                                                                  " beyond a table of " +
                                                                  std::to_string(picture.colors.size()) + " colours");
    }

    const std::size_t rowLength = BmpRowLength(picture.width, bits);
    const std::size_t imageSize = rowLength * static_cast<std::size_t>(picture.height);
    const std::size_t bitsAt = 14 + 40 + 4 * picture.colors.size();
    Require(bitsAt + imageSize <= 0xFFFFFFFFu, "picture larger than 4 GB");

    std::string out;
    out.reserve(bitsAt + imageSize);
    out += "BM";
    Put32(out, static_cast<std::uint32_t>(bitsAt + imageSize));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(bitsAt));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(picture.width));
    Put32(out, static_cast<std::uint32_t>(picture.topDown ? -picture.height : picture.height));
    Put16(out, 1);  // planes
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(picture.colors.size()));
    Put32(out, 0);  // every colour important
    for (const PictureColor& c : picture.colors) {
        out += static_cast<char>(c.blue);
        out += static_cast<char>(c.green);
        out += static_cast<char>(c.red);
        out += '\0';
    }

    std::string row(rowLength, '\0');
    for (int stored = 0; stored < picture.height; ++stored) {
        const int y = picture.topDown ? stored : picture.height - 1 - stored;
        const std::size_t first = static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width);
        row.assign(rowLength, '\0');
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t at = first + static_cast<std::size_t>(x);
            switch (bits) {
            case 1:
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(picture.indices[at] << (7 - x % 8));
                break;
            case 4:
                row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(picture.indices[at] << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[static_cast<std::size_t>(x)] = static_cast<char>(picture.indices[at]);
                break;
            default: {
                const PictureColor& c = picture.pixels[at];
                row[static_cast<std::size_t>(x) * 3] = static_cast<char>(c.blue);
                row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>(c.green);
                row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>(c.red);
                break;
            }
            }
        }
        out += row;
    }
    return out;
}

}  // namespace discbuilder
