// The pictures of the sprite sheet, each drawn at its place in the layout.
#pragma once

#include <vector>

#include "tools/sheet/canvas.h"

// The plain background colour (blanking copies take it from the sheet).
constexpr Rgb ART_PLAIN = {48, 84, 152};

// Draws the whole 800 x 1044 sheet; false when a font is missing.
bool artDrawSheet(Canvas& canvas);
// The colours the drawing asked to keep exactly in the palette.
const std::vector<Rgb>& artKeyColours();
