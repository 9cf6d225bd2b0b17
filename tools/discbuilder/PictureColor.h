// A colour of a picture's colour table: red, green and blue, 0 to 255 each.
#pragma once

#include <cstdint>

namespace discbuilder {

struct PictureColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PictureColor&) const = default;
};

}  // namespace discbuilder
