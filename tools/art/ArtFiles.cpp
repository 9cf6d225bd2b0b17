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

}  // namespace

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
