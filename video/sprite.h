// Shapes drawn from the sprite sheet: the marks around letter tiles, blanking a
// screen area with the plain background, the nine-piece panel and the gauge
// cover. Every copy is keyed, from the sheet to the back buffer, unclipped.
#pragma once

#include <cstdint>

// Mark kinds; any other value draws the magenta square.
constexpr int32_t SPR_MARK_PATH = 0;     // magenta square
constexpr int32_t SPR_MARK_BLINK = 1;    // nothing for four frames, a white square for four
constexpr int32_t SPR_MARK_CURSOR = 2;   // green outline
constexpr int32_t SPR_MARK_PREVIOUS = 3; // red outline
constexpr int32_t SPR_MARK_NOT_A_WORD = 4; // red outline
constexpr int32_t SPR_MARK_HINT = 5;       // white square, steady

constexpr int32_t SPR_GAUGE_WIDTH = 132;
constexpr int32_t SPR_GAUGE_HEIGHT = 14;

// The 31 x 31 mark of that kind at x - 2, y - 2, around a 27 x 27 tile at x, y;
// `frame` is the frame counter, whose phase sets the blinking mark.
// Returns the copy's result.
int32_t sprDrawCellMark(int32_t x, int32_t y, int32_t kind, uint32_t frame);
// Fills the screen rectangle with the plain background colour; the size must
// stay inside the sheet's plain area (at most 250 x 20 or 95 x 63 here).
// Returns the copy's result.
int32_t sprClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// A framed box of (columns + 2) x (rows + 2) pieces, (92 + 100 columns) by
// (92 + 100 rows) pixels, with its top-left corner at x, y.
void sprDrawPanel(int32_t x, int32_t y, int32_t columns, int32_t rows);
// Blanks the part of the 132 x 14 gauge bar at x, y that a gauge at `level` of
// `size` leaves empty, or all of it when `full`. Returns the copy's result.
int32_t sprDrawBarCover(int32_t x, int32_t y, float level, float size, bool full);
