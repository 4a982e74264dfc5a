#include "video/text.h"

#include <cstring>

#include "Core/cmdebug.h"
#include "video/display.h"
#include "video/sheetlayout.h"

static void txtBlit(int32_t x, int32_t y, const SheetRect& r)
{
    vidBlitRect(x, y, r.left, r.top, r.right, r.bottom);
}

namespace {

// Each byte's position in a character set, or -1: looked up for every
// character drawn, so it is a table rather than a search.
struct GlyphIndex {
    int16_t of[256];
    constexpr GlyphIndex(const char* set, int32_t count) : of{} {
        for (int16_t& i : of) i = -1;
        // The first occurrence wins, as a search from the start would find it.
        for (int32_t i = count - 1; i >= 0; i--) of[static_cast<uint8_t>(set[i])] = static_cast<int16_t>(i);
    }
};

constexpr GlyphIndex smallGlyphs(SHEET_SMALL_CHARS, SHEET_SMALL_CHAR_COUNT);
constexpr GlyphIndex bigGlyphs(SHEET_BIG_CHARS, SHEET_BIG_CHAR_COUNT);

// The sheet rectangle of a character's glyph; false for a character without one.
bool txtSmallGlyph(char c, SheetRect* r)
{
    const int32_t i = smallGlyphs.of[static_cast<uint8_t>(c)];
    if (i < 0) return false;
    *r = sheetSmallGlyph(i);
    return true;
}

bool txtBigGlyph(char c, SheetRect* r)
{
    const int32_t i = bigGlyphs.of[static_cast<uint8_t>(c)];
    if (i < 0) return false;
    // Letters come first in the set; the digits follow at position 26.
    *r = i < 26 ? sheetBigLetter(i) : sheetBigDigit(i - 26);
    return true;
}

// Copies gathered before they go to the display together.
constexpr int32_t TXT_RUN = 32;

// n characters from x on, `advance` apart, as one run of copies: a busy frame
// draws hundreds of glyphs, and a call to the display for each costs more
// than the glyph's pixels.
template <bool (*glyph)(char, SheetRect*)>
void txtDrawRun(const char* text, int32_t n, int32_t x, int32_t y, int32_t advance)
{
    PlatBlt run[TXT_RUN];
    int32_t count = 0;
    for (int32_t i = 0; i < n; i++, x += advance) {
        SheetRect r;
        if (!glyph(text[i], &r)) continue;
        run[count++] = PlatBlt{x, y, r.left, r.top, r.right, r.bottom};
        if (count == TXT_RUN) {
            vidBlitRects(run, count);
            count = 0;
        }
    }
    if (count > 0) vidBlitRects(run, count);
}

}  // namespace

void txtDrawSmallChar(char c, int32_t x, int32_t y)
{
    SheetRect r;
    if (txtSmallGlyph(c, &r)) txtBlit(x, y, r);
}

void txtDrawBigChar(char c, int32_t x, int32_t y)
{
    SheetRect r;
    if (txtBigGlyph(c, &r)) txtBlit(x, y, r);
}

void txtDrawBigCharTurned(char c, int32_t x, int32_t y)
{
    SheetRect r;
    if (txtBigGlyph(c, &r)) vidBlitRectTurned(x, y, r.left, r.top, r.right, r.bottom);
}

void txtDrawSmallStringTurned(const char* text, int32_t x, int32_t y)
{
    for (int32_t i = static_cast<int32_t>(strlen(text)) - 1; i >= 0; i--, x += TXT_SMALL_ADVANCE) {
        SheetRect r;
        if (txtSmallGlyph(text[i], &r)) vidBlitRectTurned(x, y, r.left, r.top, r.right, r.bottom);
    }
}

template <bool (*glyph)(char, SheetRect*), int32_t advance>
static void txtDrawString(const char* text, int32_t x, int32_t y, int32_t align)
{
    int32_t n = static_cast<int32_t>(strlen(text));
    if (align == TXT_ALIGN_RIGHT) {
        x -= n * advance;
    } else if (align == TXT_ALIGN_CENTRE) {
        x -= n * advance / 2;
    }
    txtDrawRun<glyph>(text, n, x, y, advance);
}

void txtDrawSmallString(const char* text, int32_t x, int32_t y, int32_t align)
{
    txtDrawString<txtSmallGlyph, TXT_SMALL_ADVANCE>(text, x, y, align);
}

void txtDrawBigString(const char* text, int32_t x, int32_t y, int32_t align)
{
    txtDrawString<txtBigGlyph, TXT_BIG_ADVANCE>(text, x, y, align);
}

const char* txtLayoutWord(const char* p, int32_t* cursor, int32_t y, int32_t right, bool big, bool measureOnly)
{
    // Nothing is laid out at the end of the text: a word never takes the terminator.
    if (*p == '\0') {
        return p;
    }
    int32_t advance = big ? TXT_BIG_WRAP_ADVANCE : TXT_SMALL_ADVANCE;
    // A line feed ends a word only after its first character, so a word that
    // starts with one carries it along as an invisible character.
    int32_t n = 1;
    while (p[n - 1] != ' ' && p[n - 1] != '-' && p[n] != '\0' && p[n] != '\n') {
        n++;
    }
    if (*cursor + n * advance > right) {
        return p;
    }
    // Measuring, the first of the two passes over each line, only moves the cursor.
    if (!measureOnly) {
        if (big) {
            txtDrawRun<txtBigGlyph>(p, n, *cursor, y, advance);
        } else {
            txtDrawRun<txtSmallGlyph>(p, n, *cursor, y, advance);
        }
    }
    *cursor += n * advance;
    return p + n;
}

// Lays out the words of one line from p; returns the position after the last
// one that fitted. A word that starts with a line feed or fails to fit ends the line.
static const char* txtLayoutLine(const char* p, int32_t* cursor, int32_t y, int32_t right, bool big, bool measureOnly)
{
    const char* w = p;
    const char* q = txtLayoutWord(w, cursor, y, right, big, measureOnly);
    while (*w != '\0' && *w != '\n' && q != w) {
        w = q;
        q = txtLayoutWord(w, cursor, y, right, big, measureOnly);
    }
    return q;
}

void txtDrawWrapped(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight, bool big)
{
    int32_t right = x + width;
    const char* p = text;
    while (*p != '\0') {
        while (*p == '\n') {
            y += lineHeight;
            p++;
        }
        if (*p == '\0') {
            return;
        }
        int32_t cursor = x;
        txtLayoutLine(p, &cursor, y, right, big, true);
        if (cursor == x) {
            cmDebugPrint("Word is longer than wrap width.\n");
            return;
        }
        cursor = x + (right - cursor) / 2;
        p = txtLayoutLine(p, &cursor, y, right, big, false);
        y += lineHeight;
    }
}

void txtDrawWrappedSmall(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight)
{
    txtDrawWrapped(text, x, y, width, lineHeight, false);
}

void txtDrawWrappedBig(const char* text, int32_t x, int32_t y, int32_t width, int32_t lineHeight)
{
    txtDrawWrapped(text, x, y, width, lineHeight, true);
}
