// Draws one row's look with the platform's GDI into a 24-bit picture.
#pragma once

#include "ArtFiles.h"
#include "ArtTable.h"

namespace art {

// The colour icons are drawn on; it becomes their transparent part.
constexpr std::uint32_t kIconKeyBgr = 0xFF00FF;  // magenta (blue, green, red bytes: FF 00 FF)

// label: the text that the menu's looks carry (ArtTable's Label).
Picture Paint(Look look, int width, int height, const char* label = "");

}  // namespace art
