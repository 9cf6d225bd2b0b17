#include "BubWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace discbuilder {

namespace {

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

void Require(bool ok, const std::string& what)
{
    if (!ok)
        throw std::invalid_argument("photo bubble: " + what);
}

}  // namespace

std::string WriteBubFile(const BubSource& s)
{
    Require(s.width >= 1 && s.width <= 16384 && s.height >= 1 && s.height <= 4096, "size out of range");
    Require(s.pixels.size() == static_cast<std::size_t>(s.width) * s.height, "pixels do not match the size");
    Require(s.initialColumn < s.width, "first column outside the picture");
    Require(s.spots.size() <= 1000, "more than 1000 hot spots");
    std::string out = "VLBUBBLE";
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(s.spots.size()));
    Put32(out, s.width);
    Put32(out, s.height);
    Put32(out, s.initialColumn);
    for (const auto& c : s.rgb) {
        out += static_cast<char>(c[2]);
        out += static_cast<char>(c[1]);
        out += static_cast<char>(c[0]);
        out += '\0';
    }
    out.append(reinterpret_cast<const char*>(s.pixels.data()), s.pixels.size());
    for (const BubSpotSource& spot : s.spots) {
        Require(spot.left >= 0 && spot.top >= 0 && spot.left < spot.right && spot.top < spot.bottom &&
                    static_cast<std::uint32_t>(spot.right) <= s.width &&
                    static_cast<std::uint32_t>(spot.bottom) <= s.height,
                "hot spot outside the picture or empty");
        Require(!spot.text.empty() && spot.text.size() <= 831, "hot spot text empty or longer than 831 bytes");
        Put32(out, static_cast<std::uint32_t>(spot.left));
        Put32(out, static_cast<std::uint32_t>(spot.top));
        Put32(out, static_cast<std::uint32_t>(spot.right));
        Put32(out, static_cast<std::uint32_t>(spot.bottom));
        Put16(out, static_cast<std::uint32_t>(spot.text.size()));
        out += spot.text;
    }
    Put32(out, static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()))));
    return out;
}

}  // namespace discbuilder
