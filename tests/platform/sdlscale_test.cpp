#include "platform/sdl/sdlscale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(SdlScale, PictureTakesTheLargestWholeFactorCentredWithBorders) {
    struct Case {
        int32_t outW, outH;
        SdlViewport expected;
    };
    const Case cases[] = {
        {640, 480, {0, 0, 640, 480}},          // exact
        {1280, 1024, {0, 32, 1280, 960}},      // factor 2, bands above and below
        {1920, 1080, {320, 60, 1280, 960}},    // 1080 / 480 is 2.25: factor 2
        {2560, 1440, {320, 0, 1920, 1440}},    // factor 3, bands left and right
        {3840, 2160, {640, 120, 2560, 1920}}, // 6 across but 4.5 down: factor 4
        {1279, 959, {319, 239, 640, 480}},     // just short of factor 2
        {800, 600, {80, 60, 640, 480}},
    };
    for (const Case& c : cases) {
        SdlViewport v = sdlFitPicture(c.outW, c.outH);
        EXPECT_EQ(v.x, c.expected.x) << c.outW << "x" << c.outH;
        EXPECT_EQ(v.y, c.expected.y) << c.outW << "x" << c.outH;
        EXPECT_EQ(v.w, c.expected.w) << c.outW << "x" << c.outH;
        EXPECT_EQ(v.h, c.expected.h) << c.outW << "x" << c.outH;
    }
}

TEST(SdlScale, AWindowOpensAtTheScaleAskedButNeverLargerThanTheUsableArea) {
    struct Case {
        int32_t scale;
        SdlViewport room;
        SdlViewport expected;
    };
    const Case cases[] = {
        {0, {0, 0, 1366, 740}, {363, 130, 640, 480}},      // a 1366 x 768 laptop with a panel: 2x would not fit
        {2, {0, 0, 1366, 740}, {363, 130, 640, 480}},      // a remembered 2x does not fit there either
        {0, {0, 28, 1920, 1052}, {320, 74, 1280, 960}},    // usable area below a top panel
        {1, {0, 28, 1920, 1052}, {640, 314, 640, 480}},
        {8, {1920, 0, 2560, 1440}, {2240, 0, 1920, 1440}}, // second screen, clamped to 3x
        {0, {0, 0, 600, 400}, {33, 0, 533, 400}},          // smaller than the picture: shrunk, shape kept
    };
    for (const Case& c : cases) {
        SdlViewport v = sdlPlaceWindow(c.scale, c.room);
        EXPECT_EQ(v.x, c.expected.x) << c.scale << " in " << c.room.w << "x" << c.room.h;
        EXPECT_EQ(v.y, c.expected.y) << c.scale << " in " << c.room.w << "x" << c.room.h;
        EXPECT_EQ(v.w, c.expected.w) << c.scale << " in " << c.room.w << "x" << c.room.h;
        EXPECT_EQ(v.h, c.expected.h) << c.scale << " in " << c.room.w << "x" << c.room.h;
    }
}

TEST(SdlScale, AResizedWindowIsRememberedAtTheWholeScaleItShows) {
    EXPECT_EQ(sdlScaleForSize(640, 480), 1);
    EXPECT_EQ(sdlScaleForSize(1919, 1440), 2);  // one pixel short of 3x across
    EXPECT_EQ(sdlScaleForSize(1920, 1440), 3);
    EXPECT_EQ(sdlScaleForSize(3000, 960), 2);   // the height decides
    EXPECT_EQ(sdlScaleForSize(320, 240), 1);    // below the picture still counts as 1
}

TEST(SdlScale, TooSmallAnOutputShrinksThePictureKeepingItsShape) {
    SdlViewport v = sdlFitPicture(320, 480);
    EXPECT_EQ(v.w, 320);
    EXPECT_EQ(v.h, 240);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 120);
    v = sdlFitPicture(640, 240);
    EXPECT_EQ(v.w, 320);
    EXPECT_EQ(v.h, 240);
    EXPECT_EQ(v.x, 160);
    EXPECT_EQ(v.y, 0);
    v = sdlFitPicture(0, 480);
    EXPECT_EQ(v.w, 0);
    EXPECT_EQ(v.h, 0);
}

TEST(SdlScale, FrameConversionLooksEachIndexUpInThePalette) {
    PlatColor palette[256] = {};
    palette[0] = PlatColor{0, 0, 0};
    palette[7] = PlatColor{0x12, 0x34, 0x56};
    palette[255] = PlatColor{255, 255, 255};
    uint32_t table[256];
    sdlBuildColorTable(palette, table);
    EXPECT_EQ(table[0], 0xFF000000u);
    EXPECT_EQ(table[7], 0xFF123456u);
    EXPECT_EQ(table[255], 0xFFFFFFFFu);

    // A 3 x 2 surface with a wider pitch, into rows with padding of their own.
    uint8_t pixels[2 * 5] = {7, 0, 255, 9, 9, 255, 7, 0, 9, 9};
    PlatSurface s{pixels, 3, 2, 5, 0, false};
    std::vector<uint32_t> out(2 * 4, 0xDEADBEEFu);
    sdlConvertFrame(&s, table, out.data(), 4 * sizeof(uint32_t));
    const uint32_t expected[8] = {0xFF123456u, 0xFF000000u, 0xFFFFFFFFu, 0xDEADBEEFu,
                                  0xFFFFFFFFu, 0xFF123456u, 0xFF000000u, 0xDEADBEEFu};
    for (int i = 0; i < 8; i++) EXPECT_EQ(out[i], expected[i]) << i;
}

}  // namespace
