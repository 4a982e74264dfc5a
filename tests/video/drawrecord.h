// Shared by the drawing tests: a back buffer and a sheet surface on the
// headless backend, and readers of its record of copies.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/gamestate.h"
#include "platform/headless/headless.h"
#include "video/display.h"
#include "video/sheetlayout.h"

struct DrawCopy {
    int32_t x, y, left, top, right, bottom;
    bool operator==(const DrawCopy&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const DrawCopy& c)
{
    return os << "(" << c.x << "," << c.y << " <- " << c.left << "," << c.top << "-" << c.right << "," << c.bottom
              << ")";
}

inline DrawCopy drawCopy(int32_t x, int32_t y, const SheetRect& r)
{
    return DrawCopy{x, y, r.left, r.top, r.right, r.bottom};
}

// A fresh headless backend with the two surfaces every drawer copies between.
inline void drawSetUp()
{
    headlessReset();
    headless.realCopies = false;
    gBackSurface = nullptr;
    gSheetSurface = nullptr;
    ASSERT_EQ(platCreateSurface(640, 480, &gBackSurface), DD_OK);
    ASSERT_EQ(platCreateSurface(SHEET_WIDTH, SHEET_HEIGHT, &gSheetSurface), DD_OK);
    gameStateReset();
    frameCounter = 0;
}

// Every copy recorded since the last reset; all of them must be keyed sheet-to-back copies.
inline std::vector<DrawCopy> drawCopies()
{
    std::vector<DrawCopy> out;
    for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
        const HeadlessCopy& c = headless.copies[i];
        EXPECT_EQ(c.dst, gBackSurface);
        EXPECT_EQ(c.src, gSheetSurface);
        EXPECT_TRUE(c.keyed);
        out.push_back(DrawCopy{c.x, c.y, c.left, c.top, c.right, c.bottom});
    }
    return out;
}

inline int32_t drawSmallIndex(char c)
{
    const char* at = c ? std::strchr(SHEET_SMALL_CHARS, c) : nullptr;
    return at ? static_cast<int32_t>(at - SHEET_SMALL_CHARS) : -1;
}

// The copies the small font makes for `text` with its first character at x, y.
inline std::vector<DrawCopy> drawSmallTextCopies(const char* text, int32_t x, int32_t y)
{
    std::vector<DrawCopy> out;
    for (int32_t i = 0; text[i]; i++) {
        int32_t g = drawSmallIndex(text[i]);
        if (g >= 0) out.push_back(drawCopy(x + 8 * i, y, sheetSmallGlyph(g)));
    }
    return out;
}

// True when the copies hold the small-font text at x, y as one unbroken run.
inline bool drawHasSmallText(const std::vector<DrawCopy>& copies, const char* text, int32_t x, int32_t y)
{
    std::vector<DrawCopy> want = drawSmallTextCopies(text, x, y);
    if (want.empty() || copies.size() < want.size()) return false;
    for (size_t i = 0; i + want.size() <= copies.size(); i++) {
        if (std::equal(want.begin(), want.end(), copies.begin() + static_cast<std::ptrdiff_t>(i))) return true;
    }
    return false;
}

// Where in the copies a given copy first stands, or -1.
inline int32_t drawIndexOf(const std::vector<DrawCopy>& copies, const DrawCopy& c)
{
    for (size_t i = 0; i < copies.size(); i++) {
        if (copies[i] == c) return static_cast<int32_t>(i);
    }
    return -1;
}
