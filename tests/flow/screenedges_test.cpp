// The edges of every screen, drawn from the built sheet: nothing of the cell
// marks may show there, and nothing of an earlier frame may stay behind.
#include <set>

#include "tests/flow/flowfixture.h"
#include "video/sheet.h"

namespace {

#ifndef TQ_SHEET_FILE
#define TQ_SHEET_FILE "../game/ALL"
#endif

// How many pixels in from each edge are looked at.
constexpr int32_t EDGE = 3;

class ScreenEdges : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        headless.realCopies = true;
        platSurfaceRelease(gSheetSurface);
        gSheetSurface = vidLoadBitmapSurface(&directDraw, TQ_SHEET_FILE, 0, 0);
        ASSERT_NE(gSheetSurface, nullptr) << TQ_SHEET_FILE;
        ASSERT_EQ(vidSetColorKey(gSheetSurface, VID_COLOR_BLACK), DD_OK);
        for (int32_t k : {SHEET_MARK_MAGENTA, SHEET_MARK_WHITE, SHEET_MARK_GREEN, SHEET_MARK_RED}) {
            const SheetRect r = sheetCellMark(k);
            for (int32_t y = r.top; y < r.bottom; y++)
                for (int32_t x = r.left; x < r.right; x++) {
                    uint8_t index = gSheetSurface->pixels[y * gSheetSurface->pitch + x];
                    if (index != gSheetSurface->colorKey) markColours.insert(index);
                }
        }
    }

    // The first pixel within EDGE of the screen's border that has a cell
    // mark's colour, as "x,y index", or "" when there is none.
    std::string markColourAtAnEdge() const {
        const PlatSurface* back = headlessBackBuffer();
        for (int32_t y = 0; y < back->height; y++)
            for (int32_t x = 0; x < back->width; x++) {
                bool edge = y < EDGE || y >= back->height - EDGE || x < EDGE || x >= back->width - EDGE;
                uint8_t index = back->pixels[y * back->pitch + x];
                if (edge && markColours.count(index)) {
                    return std::to_string(x) + "," + std::to_string(y) + " index " + std::to_string(index);
                }
            }
        return "";
    }

    std::set<uint8_t> markColours;
};

TEST_F(ScreenEdges, NoScreenShowsACellMarksColourAtItsEdges) {
    ASSERT_GE(markColours.size(), 4u);
    struct Case {
        const char* what;
        int32_t two;
        int32_t state;
        bool paused;
        bool keyScreen;
    };
    const Case cases[] = {
        {"one player, in play", 0, STATE_PLAYING, false, false},
        {"one player, paused", 0, STATE_PLAYING, true, false},
        {"one player, the key screen", 0, STATE_PLAYING, true, true},
        {"one player, game over", 0, STATE_GAME_OVER, false, false},
        {"one player, level intro", 0, STATE_LEVEL_INTRO, false, false},
        {"one player, a tip", 0, STATE_TIP, false, false},
        {"two players, in play", 1, STATE_PLAYING, false, false},
        {"two players, paused", 1, STATE_PLAYING, true, false},
        {"two players, game over", 1, STATE_GAME_OVER, false, false},
        {"two players, a tip", 1, STATE_TIP, false, false},
    };
    const uint8_t stale = *markColours.begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        twoPlayer = c.two;
        startPlay();
        previousState = STATE_PLAYING;
        gameState = c.state;
        tipIndex = 0;
        paused = c.paused;
        if (c.keyScreen) keyDefOpen();
        pointerX = 320.0f;
        pointerY = 240.0f;
        // Whatever an earlier frame left must be drawn over.
        PlatSurface* back = headlessBackBuffer();
        std::memset(back->pixels, stale, static_cast<size_t>(back->pitch) * static_cast<size_t>(back->height));
        const int32_t flips = headless.flipCount;
        frameWithButton(false);
        ASSERT_EQ(headless.flipCount, flips + 1);
        EXPECT_EQ(markColourAtAnEdge(), "");
        keyDefClose();
        paused = 0;
    }
}

// The way a player meets it: one-player frames, then F2 on the game-over screen.
TEST_F(ScreenEdges, ATwoPlayerGameAfterAOnePlayerGameKeepsNothingOfItAtTheBottom) {
    startPlay();
    for (int32_t i = 0; i < 3; i++) frameWithButton(false);
    keyDown(VK_ESCAPE);
    frameWithButton(false);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    keyDown(113);  // F2
    ASSERT_EQ(twoPlayer, 1);
    for (int32_t i = 0; i < 3; i++) frameWithButton(false);
    EXPECT_EQ(markColourAtAnEdge(), "");
}

}  // namespace
