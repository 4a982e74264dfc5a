// The two sprite fonts and the text drawers: single glyphs, aligned strings and
// word-wrapped, centred text. Every glyph is a keyed copy from the sprite sheet
// to the back buffer; nothing is clipped, so callers keep text on the screen.
#pragma once

#include <cstdint>

// Alignment codes of the string drawers; any other code means left.
constexpr int32_t TXT_ALIGN_LEFT = 1000;    // x is the left edge
constexpr int32_t TXT_ALIGN_RIGHT = 1001;   // x is the right edge
constexpr int32_t TXT_ALIGN_CENTRE = 1002;  // x is the centre

// Small font: 8 x 12 glyphs, advance 8.
constexpr int32_t TXT_SMALL_ADVANCE = 8;
constexpr int32_t TXT_SMALL_WIDTH = 8;
constexpr int32_t TXT_SMALL_HEIGHT = 12;
// Big font: 27-pixel tiles, advance 36 in strings (the grid's cell pitch) and
// 28 when wrapped.
constexpr int32_t TXT_BIG_ADVANCE = 36;
constexpr int32_t TXT_BIG_WRAP_ADVANCE = 28;

// One glyph with its top-left corner at x, y; a character without a glyph draws nothing.
void txtDrawSmallChar(char c, int32_t x, int32_t y);
void txtDrawBigChar(char c, int32_t x, int32_t y);

// The same glyphs turned half a turn (upside down) in place.
void txtDrawBigCharTurned(char c, int32_t x, int32_t y);
// A string as it stands turned half a turn: its box starts at (x, y), its last
// character first, every glyph upside down.
void txtDrawSmallStringTurned(const char* text, int32_t x, int32_t y);

// A whole string, 8 (small) or 36 (big) pixels per character, placed by the
// alignment code. Characters without a glyph still take their advance.
void txtDrawSmallString(const char* text, int32_t x, int32_t y, int32_t align);
void txtDrawBigString(const char* text, int32_t x, int32_t y, int32_t align);

// Lays out the word at p from *cursor on line y: the word keeps a trailing
// space or hyphen and ends before a line feed or the end of the text. When it
// fits left of `right` the cursor moves past it (drawing it unless measureOnly)
// and the position after it is returned; otherwise, or at the end of the text,
// p is returned and nothing changes.
const char* txtLayoutWord(const char* p, int32_t* cursor, int32_t y, int32_t right, bool big, bool measureOnly);

// Word-wrapped text in the box from x to x + width, each line centred, the
// first line at y and lineHeight apart; a line feed starts a new line. A word
// wider than the box stops the drawing there.
void txtDrawWrapped(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight, bool big);
void txtDrawWrappedSmall(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight);
void txtDrawWrappedBig(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight);
