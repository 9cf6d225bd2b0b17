// Draws one row's look with the platform's GDI into a 24-bit picture.
#pragma once

#include "ArtFiles.h"
#include "ArtTable.h"

#include <windows.h>

#include <functional>

namespace art {

// The colour icons are drawn on; it becomes their transparent part.
constexpr std::uint32_t kIconKeyBgr = 0xFF00FF;  // magenta (blue, green, red bytes: FF 00 FF)

// A 24-bit picture of the size that `draw` paints with the GDI on a memory DC (empty when the
// surface cannot be made).
Picture PaintWith(int width, int height, const std::function<void(HDC)>& draw);

// label: the text that the menu's looks carry (ArtTable's Label).
Picture Paint(Look look, int width, int height, const char* label = "");

}  // namespace art
