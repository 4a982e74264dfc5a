#include "platform/blit.h"

#include <gtest/gtest.h>

#include "Core/cmrand.h"

// The wide paths must give exactly what a pixel-by-pixel keyed copy gives, for
// every width around the 8- and 16-pixel steps and any position of the key.
TEST(Blit, KeyedRowsMatchThePixelByPixelRuleAtEveryWidth) {
    cmSrand(5);
    for (int32_t width = 1; width <= 70; width++) {
        uint8_t src[80], dst[80], want[80];
        const uint8_t key = static_cast<uint8_t>(cmRand() % 4);
        for (int32_t i = 0; i < 80; i++) {
            src[i] = static_cast<uint8_t>(cmRand() % 4);  // a quarter of the pixels are the key
            dst[i] = want[i] = static_cast<uint8_t>(100 + cmRand() % 100);
        }
        for (int32_t i = 0; i < width; i++) {
            if (src[i] != key) want[i] = src[i];
        }
        blitKeyedRow(dst, src, width, key);
        for (int32_t i = 0; i < 80; i++) ASSERT_EQ(dst[i], want[i]) << "width " << width << ", pixel " << i;
    }
}

TEST(Blit, ACopyMustLieWhollyInsideBothSurfaces) {
    uint8_t a[64 * 32] = {}, b[16 * 16] = {};
    PlatSurface dst{a, 64, 32, 64, 0, false};
    PlatSurface src{b, 16, 16, 16, 0, false};
    struct Case {
        int32_t x, y, left, top, right, bottom;
        bool fits;
    } cases[] = {
        {0, 0, 0, 0, 16, 16, true},     {48, 16, 0, 0, 16, 16, true},  {49, 16, 0, 0, 16, 16, false},
        {48, 17, 0, 0, 16, 16, false},  {-1, 0, 0, 0, 4, 4, false},    {0, 0, 0, 0, 17, 4, false},
        {0, 0, -1, 0, 4, 4, false},     {0, 0, 4, 4, 4, 8, false},     {0, 0, 8, 8, 4, 12, false},
        {0, 0, 0, 0, 16, 17, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(blitFits(&dst, c.x, c.y, &src, c.left, c.top, c.right, c.bottom), c.fits)
            << c.x << "," << c.y << " " << c.left << "," << c.top << "-" << c.right << "," << c.bottom;
    }
}

// Whole-surface copies, the glyph width and odd widths must each give what the
// pixel-by-pixel rule gives, touching nothing outside the rectangle.
TEST(Blit, RectanglesMatchThePixelByPixelRule) {
    constexpr int32_t W = 40, H = 20;
    struct Case {
        int32_t srcWidth, dstWidth;  // the pitches
        int32_t x, y, left, top, right, bottom;
        bool keyed;
    } cases[] = {
        {W, W, 0, 0, 0, 0, W, H, false},      // rows end to end: one run
        {W, W, 0, 3, 0, 0, W, 12, false},     // whole rows, lower down
        {W, 32, 2, 1, 5, 2, 35, 9, false},    // pitches differ
        {32, W, 4, 2, 0, 0, 32, 9, false},    // whole source rows into a wider surface
        {W, 32, 3, 4, 8, 1, 16, 13, true},    // a small glyph
        {W, 32, 24, 0, 16, 2, 24, 9, true},   // 8 wide, an odd number of rows
        {W, W, 0, 0, 0, 0, W, H, true},       // keyed over the whole surface
        {W, 32, 1, 2, 3, 0, 30, 7, true},     // 27 wide: a step and an overlapping end
        {W, 32, 5, 5, 0, 3, 5, 8, true},      // narrower than a step
    };
    for (const Case& c : cases) {
        cmSrand(9);
        uint8_t a[W * H], b[W * H], want[W * H];
        PlatSurface src{a, c.srcWidth, H, c.srcWidth, 2, false};
        PlatSurface dst{b, c.dstWidth, H, c.dstWidth, 0, false};
        for (int32_t i = 0; i < W * H; i++) {
            a[i] = static_cast<uint8_t>(cmRand() % 4);
            b[i] = want[i] = static_cast<uint8_t>(100 + cmRand() % 100);
        }
        for (int32_t row = c.top; row < c.bottom; row++) {
            for (int32_t col = c.left; col < c.right; col++) {
                uint8_t p = a[row * src.pitch + col];
                if (!c.keyed || p != src.colorKey) want[(c.y + row - c.top) * dst.pitch + c.x + col - c.left] = p;
            }
        }
        ASSERT_TRUE(blitFits(&dst, c.x, c.y, &src, c.left, c.top, c.right, c.bottom));
        blitPixels(&dst, c.x, c.y, &src, c.left, c.top, c.right, c.bottom, c.keyed);
        for (int32_t i = 0; i < W * H; i++) {
            ASSERT_EQ(b[i], want[i]) << "case " << (&c - cases) << ", pixel " << i;
        }
    }
}

// Turned half a turn: the pixel at (i, j) of the rectangle lands at
// (w - 1 - i, h - 1 - j); keyed pixels leave the destination as it was;
// nothing outside the rectangle changes.
TEST(Blit, ATurnedCopyPutsEachPixelAtThePointOppositeTheCentre) {
    constexpr int32_t W = 30, H = 20;
    uint8_t from[W * H], to[W * H];
    cmSrand(9);
    for (uint8_t& p : from) p = static_cast<uint8_t>(cmRand() % 3);  // index 0 is the key
    PlatSurface src{from, W, H, W, 0, false};
    PlatSurface dst{to, W, H, W, 0, false};
    struct Case {
        int32_t x, y, left, top, right, bottom;
        bool keyed;
    } cases[] = {{0, 0, 0, 0, W, H, false}, {3, 2, 5, 4, 12, 15, true}, {20, 9, 1, 1, 9, 2, false}};
    for (const Case& c : cases) {
        for (uint8_t& p : to) p = 200;
        blitPixelsTurned(&dst, c.x, c.y, &src, c.left, c.top, c.right, c.bottom, c.keyed);
        const int32_t w = c.right - c.left, h = c.bottom - c.top;
        for (int32_t y = 0; y < H; y++) {
            for (int32_t x = 0; x < W; x++) {
                const bool inside = x >= c.x && x < c.x + w && y >= c.y && y < c.y + h;
                uint8_t want = 200;
                if (inside) {
                    const uint8_t p = from[(c.bottom - 1 - (y - c.y)) * W + (c.right - 1 - (x - c.x))];
                    if (!c.keyed || p != 0) want = p;
                }
                ASSERT_EQ(to[y * W + x], want) << x << "," << y;
            }
        }
    }
}
