// The game's icon, drawn from the sprite sheet: the big letter tiles T and Q,
// the Q laid over the T's lower right corner. The window icon and the desktop
// icons are both made here, so they always match the sheet.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "video/sheetlayout.h"

// The square sizes the desktop icon theme is given, smallest first.
constexpr int32_t VID_ICON_SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int32_t VID_ICON_SIZE_COUNT = sizeof VID_ICON_SIZES / sizeof VID_ICON_SIZES[0];
constexpr int32_t VID_ICON_MAX_SIZE = 256;

// The two tiles as they stand in the icon at its own pixel size; larger icons
// show it enlarged by a whole number, smaller ones shrunk by a whole number.
constexpr int32_t VID_ICON_TILE_OFFSET = 17;  // the Q's offset right and down from the T
static_assert(SHEET_BIG_LETTER_WIDTH == SHEET_BIG_HEIGHT, "the art is square because the tiles are");
constexpr int32_t VID_ICON_ART_SIZE = SHEET_BIG_LETTER_WIDTH + VID_ICON_TILE_OFFSET;

// Draws the `size` x `size` icon into `rgba` (4 bytes a pixel, straight alpha,
// top row first) from the sheet's palette indices (`sheetPitch` bytes a row)
// and its palette. Index 0 is transparent. At VID_ICON_ART_SIZE and above every
// art pixel becomes a square block of one palette colour, centred; below it
// each pixel is the average of a square block of art pixels, so the letters
// stay readable down to 16 pixels. Nothing is allocated and nothing is read
// but the arguments.
void vidIconDraw(const uint8_t* sheetPixels, int32_t sheetPitch, const PlatColor palette[256], int32_t size,
                 uint8_t* rgba);
