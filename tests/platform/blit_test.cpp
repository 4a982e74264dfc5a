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
