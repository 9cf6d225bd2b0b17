// Writes the palette files of the picture views: a 212-byte header, the colours as PALETTEENTRY
// records (red, green, blue, flags; one byte each), and a 4-byte trailer. The reader copies the
// records over the view's palette from entry 63 on, so a file brings at most 193 colours.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct PaletteColor {
    std::uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

constexpr std::size_t kPaletteFileHeader = 212;
constexpr std::size_t kPaletteFileTrailer = 4;
constexpr std::size_t kPaletteFileMaxColors = 193;

// The bytes of a palette file with these colours. More than 193 colours would not fit a
// palette: it throws std::invalid_argument.
std::string PaletteFileBytes(const std::vector<PaletteColor>& colors);

// Writes PaletteFileBytes to a host file, creating its folder; std::runtime_error on failure.
void WritePaletteFile(const std::filesystem::path& file, const std::vector<PaletteColor>& colors);

}  // namespace discbuilder
