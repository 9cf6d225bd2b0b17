// The files the resource compiler reads: BMP, ICO and WAV, from pixels the painter drew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// 24-bit pixels, rows bottom-up and padded to 4 bytes, as a DIB section holds them.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bgr;
    std::size_t Stride() const { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
};

std::string BmpFile(const Picture& picture);
// An 8-bit bitmap over the menu's fixed table of 236 colours (a 6x6x6 cube and 20 greys); each
// pixel takes the nearest of them.
std::string IndexedBmpFile(const Picture& picture);
// One icon image per picture; pixels of the key colour are transparent.
std::string IcoFile(const std::vector<Picture>& images, std::uint32_t keyColourBgr);
// A cursor file of one image: the icon file's layout with type 2 and the hot spot in the
// directory entry.
std::string CurFile(const Picture& image, std::uint32_t keyColourBgr, int hotX, int hotY);
// 8-bit mono PCM at 11025 Hz: a sine of the pitch, faded in and out.
std::string WavFile(int hertz, int milliseconds);

}  // namespace art
