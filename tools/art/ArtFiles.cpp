#include "ArtFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace art {

namespace {

void Put16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void InfoHeader(std::string& out, int width, int height, int bits, std::uint32_t imageSize)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

// The menu's colour table: entries 0 to 215 the cube (red slowest), 216 to 235 greys between
// the cube's levels.
struct Rgb {
    int r, g, b;
};

Rgb MenuColour(int index)
{
    if (index < 216)
        return {index / 36 * 51, index / 6 % 6 * 51, index % 6 * 51};
    int level = (index - 216 + 1) * 255 / 21;
    return {level, level, level};
}

std::uint8_t NearestMenuColour(int r, int g, int b)
{
    auto level = [](int v) { return (v + 25) / 51; };
    int best = level(r) * 36 + level(g) * 6 + level(b);
    auto distance = [&](int index) {
        Rgb c = MenuColour(index);
        return (c.r - r) * (c.r - r) + (c.g - g) * (c.g - g) + (c.b - b) * (c.b - b);
    };
    for (int i = 216; i < 236; ++i)
        if (distance(i) < distance(best))
            best = i;
    return static_cast<std::uint8_t>(best);
}

}  // namespace

std::string IndexedBmpFile(const Picture& picture)
{
    const int kColours = 236;
    std::size_t stride = (static_cast<std::size_t>(picture.width) + 3) & ~std::size_t{3};
    std::uint32_t imageSize = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(picture.height));
    std::string out = "BM";
    Put32(out, 14 + 40 + kColours * 4 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40 + kColours * 4);
    InfoHeader(out, picture.width, picture.height, 8, imageSize);
    // biClrUsed sits 8 bytes before the end of the header.
    std::size_t clrUsed = out.size() - 8;
    out[clrUsed] = static_cast<char>(kColours);
    for (int i = 0; i < kColours; ++i) {
        Rgb c = MenuColour(i);
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        out += '\0';
    }
    std::string row(stride, '\0');
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* src = &picture.bgr[static_cast<std::size_t>(y) * picture.Stride()];
        for (int x = 0; x < picture.width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<char>(NearestMenuColour(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]));
        out += row;
    }
    return out;
}

std::string BmpFile(const Picture& picture)
{
    std::string out = "BM";
    std::uint32_t imageSize = static_cast<std::uint32_t>(picture.bgr.size());
    Put32(out, 14 + 40 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    InfoHeader(out, picture.width, picture.height, 24, imageSize);
    out.append(reinterpret_cast<const char*>(picture.bgr.data()), picture.bgr.size());
    return out;
}

std::string IcoFile(const std::vector<Picture>& images, std::uint32_t keyColourBgr)
{
    std::vector<std::string> bodies;
    for (const Picture& p : images) {
        std::size_t maskStride = ((static_cast<std::size_t>(p.width) + 31) / 32) * 4;
        std::string colours, mask(maskStride * static_cast<std::size_t>(p.height), '\0');
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const std::uint8_t* px = &p.bgr[static_cast<std::size_t>(y) * p.Stride() + static_cast<std::size_t>(x) * 3];
                std::uint32_t bgr = px[0] | (px[1] << 8) | (static_cast<std::uint32_t>(px[2]) << 16);
                bool transparent = bgr == keyColourBgr;
                colours += static_cast<char>(transparent ? 0 : px[0]);
                colours += static_cast<char>(transparent ? 0 : px[1]);
                colours += static_cast<char>(transparent ? 0 : px[2]);
                colours += static_cast<char>(transparent ? 0 : 255);
                if (transparent)
                    mask[static_cast<std::size_t>(y) * maskStride + static_cast<std::size_t>(x) / 8] |=
                        static_cast<char>(0x80 >> (x % 8));
            }
        std::string body;
        InfoHeader(body, p.width, 2 * p.height, 32, 0);
        bodies.push_back(body + colours + mask);
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out += static_cast<char>(images[i].width >= 256 ? 0 : images[i].width);
        out += static_cast<char>(images[i].height >= 256 ? 0 : images[i].height);
        out += '\0';
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies)
        out += body;
    return out;
}

std::string CurFile(const Picture& image, std::uint32_t keyColourBgr, int hotX, int hotY)
{
    std::string out = IcoFile({image}, keyColourBgr);
    out[2] = 2;
    out[6 + 4] = static_cast<char>(hotX & 0xFF);
    out[6 + 5] = static_cast<char>((hotX >> 8) & 0xFF);
    out[6 + 6] = static_cast<char>(hotY & 0xFF);
    out[6 + 7] = static_cast<char>((hotY >> 8) & 0xFF);
    return out;
}

std::string WavFile(int hertz, int milliseconds)
{
    const int rate = 11025;
    const int count = rate * milliseconds / 1000;
    const int fade = std::max(1, count / 8);
    std::string samples;
    for (int i = 0; i < count; ++i) {
        double envelope = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - i) / fade});
        double value = std::sin(2.0 * M_PI * hertz * i / rate) * envelope * 0.6;
        samples += static_cast<char>(static_cast<std::uint8_t>(128 + std::lround(value * 127)));
    }
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + samples.size()));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, rate);
    Put32(out, rate);  // bytes per second
    Put16(out, 1);     // block align
    Put16(out, 8);     // bits per sample
    out += "data";
    Put32(out, static_cast<std::uint32_t>(samples.size()));
    return out + samples;
}

}  // namespace art
