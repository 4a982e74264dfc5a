#include "platform/sdl/sdlchanges.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A drawn and a shown picture, equal to start with, and the record between them.
class SdlChangesTest : public ::testing::Test {
protected:
    SdlChangesTest()
        : drawnPixels(PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT, 3), shownPixels(drawnPixels),
          drawn{drawnPixels.data(), PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, PLAT_SCREEN_WIDTH, 0, false},
          shown{shownPixels.data(), PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, PLAT_SCREEN_WIDTH, 0, false} {}
    // Draws a w x h block of colour c at x, y and records its rows, as a copy would.
    void draw(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t c) {
        for (int32_t row = y; row < y + h; row++) std::memset(drawnPixels.data() + row * PLAT_SCREEN_WIDTH + x, c, w);
        sdlTouchRows(changes, y, h);
    }
    int32_t take() { return sdlTakeChanges(changes, &drawn, &shown, rects); }

    std::vector<uint8_t> drawnPixels, shownPixels;
    PlatSurface drawn, shown;
    SdlChanges changes{};
    SdlRect rects[SDL_MAX_CHANGED_RECTS];
};

TEST_F(SdlChangesTest, ACopyThatLeavesThePictureAsItWasChangesNothing) {
    draw(0, 0, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, 3);  // the background, drawn again as every frame does
    EXPECT_EQ(take(), 0);
    EXPECT_EQ(take(), 0) << "and nothing is left to compare";
}

TEST_F(SdlChangesTest, EachChangeIsReportedAsTheColumnsAndRowsThatDiffer) {
    struct Case {
        const char* what;
        int32_t x, y, w, h;
    };
    const Case cases[] = {
        {"one pixel", 100, 200, 1, 1},
        {"the top-left corner", 0, 0, 9, 3},
        {"the bottom-right corner", 631, 470, 9, 10},
        {"whole rows", 0, 50, PLAT_SCREEN_WIDTH, 4},
        {"a glyph at an odd column", 13, 301, 8, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The background all over again, then the change on it.
        draw(0, 0, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, 3);
        draw(c.x, c.y, c.w, c.h, 9);
        ASSERT_EQ(take(), 1);
        EXPECT_EQ(rects[0].x, c.x);
        EXPECT_EQ(rects[0].y, c.y);
        EXPECT_EQ(rects[0].w, c.w);
        EXPECT_EQ(rects[0].h, c.h);
        EXPECT_EQ(shownPixels, drawnPixels) << "the shown picture is brought up to date";
        // Gone again: the same area changes back.
        draw(0, 0, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, 3);
        ASSERT_EQ(take(), 1);
        EXPECT_EQ(rects[0].x, c.x);
        EXPECT_EQ(rects[0].h, c.h);
    }
}

TEST_F(SdlChangesTest, ChangesFarApartAreSeparateAndCloseOnesJoined) {
    draw(10, 10, 5, 5, 9);                             // rows 10-14
    draw(300, 14 + SDL_JOIN_GAP_ROWS + 1, 4, 2, 9);    // a gap of exactly the joining distance: joined
    draw(600, 100, 2, 2, 9);                           // far below: its own
    ASSERT_EQ(take(), 2);
    EXPECT_EQ(rects[0].x, 10);
    EXPECT_EQ(rects[0].y, 10);
    EXPECT_EQ(rects[0].w, 304 - 10);
    EXPECT_EQ(rects[0].h, 14 + SDL_JOIN_GAP_ROWS + 3 - 10);
    EXPECT_EQ(rects[1].x, 600);
    EXPECT_EQ(rects[1].y, 100);
    EXPECT_EQ(rects[1].w, 2);
    EXPECT_EQ(rects[1].h, 2);
}

TEST_F(SdlChangesTest, MoreChangesThanRectanglesEndInOneCoveringTheRest) {
    // A pixel every few rows, each too far from the next to join: more runs than rectangles.
    for (int32_t row = 0; row < PLAT_SCREEN_HEIGHT; row += SDL_JOIN_GAP_ROWS + 2) draw(row % 600, row, 1, 1, 9);
    const int32_t runs = (PLAT_SCREEN_HEIGHT + SDL_JOIN_GAP_ROWS + 1) / (SDL_JOIN_GAP_ROWS + 2);
    ASSERT_GT(runs, SDL_MAX_CHANGED_RECTS);
    ASSERT_EQ(take(), SDL_MAX_CHANGED_RECTS);
    const SdlRect& last = rects[SDL_MAX_CHANGED_RECTS - 1];
    const int32_t lastRow = (runs - 1) * (SDL_JOIN_GAP_ROWS + 2);
    EXPECT_EQ(last.y + last.h, lastRow + 1) << "the last rectangle reaches the last change";
    EXPECT_EQ(shownPixels, drawnPixels);
}

TEST_F(SdlChangesTest, OnlyRowsTheCopiesTouchedAreCompared) {
    // Rows written behind the record's back stay unseen until something touches them.
    drawnPixels[7 * PLAT_SCREEN_WIDTH + 5] = 9;
    EXPECT_EQ(take(), 0);
    sdlTouchRows(changes, 7, 1);
    ASSERT_EQ(take(), 1);
    EXPECT_EQ(rects[0].y, 7);
    drawnPixels[9 * PLAT_SCREEN_WIDTH + 5] = 9;
    sdlTouchAll(changes);
    ASSERT_EQ(take(), 1);
    EXPECT_EQ(rects[0].y, 9);
}

TEST_F(SdlChangesTest, RowsOutsideThePictureAreLeftOut) {
    sdlTouchRows(changes, -5, 10);
    sdlTouchRows(changes, PLAT_SCREEN_HEIGHT - 2, 10);
    for (int32_t row = 0; row < PLAT_SCREEN_HEIGHT; row++) {
        const bool expected = row < 5 || row >= PLAT_SCREEN_HEIGHT - 2;
        EXPECT_EQ(changes.touched[row] != 0, expected) << row;
    }
}

}  // namespace
