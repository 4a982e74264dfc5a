// Cursor-key repeat, pointer motion and the hover regions of the frame update.
#include <gtest/gtest.h>

#include "flow/frame.h"
#include "flow/layout.h"
#include "game/gamestate.h"
#include "game/grid.h"
#include "platform/headless/headless.h"

namespace {

class FramePointer : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        gameStateReset();
    }
};

struct CellCase {
    float at;
    int32_t cell;
};

TEST_F(FramePointer, GridColumnAtTruncatesAndFoldsTheEdgesIntoTheGrid) {
    const CellCase cases[] = {
        {146.0f, 0}, {181.9f, 0}, {182.0f, 1}, {397.9f, 6},
        {398.0f, 6},  // 7 becomes 6
        {139.0f, 0},  // -0.19 truncates to 0
        {111.0f, 0},  // -1 becomes 0
        {405.0f, 6},
    };
    for (const CellCase& c : cases) EXPECT_EQ(gridColumnAt(c.at), c.cell) << "x " << c.at;
}

TEST_F(FramePointer, GridRowAtDividesBy244OverSevenInFloatingPoint) {
    // With a whole-number pitch of 34 the rows at 61.5 and 200 would read 1 and 5.
    const CellCase cases[] = {
        {27.0f, 0}, {61.5f, 0}, {62.0f, 1}, {200.0f, 4}, {201.5f, 5},
        {271.0f, 6}, {282.0f, 6},  // 7 becomes 6
        {23.0f, 0},  {-20.0f, 0},  // -1 becomes 0
    };
    for (const CellCase& c : cases) EXPECT_EQ(gridRowAt(c.at), c.cell) << "y " << c.at;
}

TEST_F(FramePointer, EnterGameButtonShowsInGameOverAndTurnTheWorld) {
    const int32_t shown[] = {1, 0, 0, 1, 0, 0};  // by state 0..5
    for (int32_t s = STATE_GAME_OVER; s <= STATE_NO_DICTIONARY; s++) {
        gameState = s;
        EXPECT_EQ(enterGameButtonShown(), shown[s] == 1) << "state " << s;
    }
}

TEST_F(FramePointer, HeldLeftWrapsFromColumnZeroToSix) {
    frameInput.time = 1000;
    heldLeft[0] = 1;
    EXPECT_TRUE(frameCursorKeys(0));
    EXPECT_EQ(cursorX[0], 6);
    EXPECT_EQ(cursorY[0], 0);
}

TEST_F(FramePointer, OnlyTheFirstHeldDirectionCounts) {
    struct Case {
        uint8_t left, right, up, down;
        int32_t x, y;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 2, 3},  // left and right: left
        {0, 1, 1, 1, 4, 3},  // right before up and down
        {0, 0, 1, 1, 3, 2},  // up before down
        {0, 0, 0, 1, 3, 4},
    };
    for (const Case& c : cases) {
        gameStateReset();
        frameInput.time = 5000;
        cursorX[1] = 3;
        cursorY[1] = 3;
        heldLeft[1] = c.left;
        heldRight[1] = c.right;
        heldUp[1] = c.up;
        heldDown[1] = c.down;
        EXPECT_TRUE(frameCursorKeys(1));
        EXPECT_EQ(cursorX[1], c.x);
        EXPECT_EQ(cursorY[1], c.y);
    }
}

TEST_F(FramePointer, AKeyMovesOnlyAfterMoreThan200MillisecondsSinceTheLastMove) {
    struct Case {
        uint32_t lastMove, now;
        bool moves;
    };
    const Case cases[] = {
        {1000, 1200, false},
        {1000, 1201, true},
        {0xFFFFFFF0u, 0x00000100u, true},   // 272 ms across the wrap of the tick count
        {0xFFFFFF80u, 0xFFFFFFF0u, false},  // 112 ms, though lastMove + 200 wraps below now
    };
    for (const Case& c : cases) {
        gameStateReset();
        lastMoveTime[0] = c.lastMove;
        frameInput.time = c.now;
        heldRight[0] = 1;
        EXPECT_EQ(frameCursorKeys(0), c.moves) << c.lastMove << " -> " << c.now;
        EXPECT_EQ(cursorX[0], c.moves ? 1 : 0);
    }
}

TEST_F(FramePointer, AHeldKeyNotYetDueBlocksTheKeysAfterIt) {
    frameInput.time = 1100;
    lastMoveTime[0] = 1000;
    heldUp[0] = 1;
    heldDown[0] = 1;
    EXPECT_FALSE(frameCursorKeys(0));
    EXPECT_EQ(cursorY[0], 0);
    EXPECT_FALSE(frameCursorKeys(1));  // nothing held
}

TEST_F(FramePointer, PointerMovesByHalfTheMotionAndStaysOnScreen) {
    struct Case {
        float startX, startY;
        int32_t dx, dy;
        float x, y;
    };
    const Case cases[] = {
        {10.0f, 10.0f, 7, 3, 13.5f, 11.5f},
        {20.0f, 20.0f, -100, -100, 10.0f, 10.0f},
        {500.0f, 400.0f, 2000, 2000, 600.0f, 440.0f},
        {300.0f, 200.0f, -1, 0, 299.5f, 200.0f},
    };
    for (const Case& c : cases) {
        pointerX = c.startX;
        pointerY = c.startY;
        PlayerInput m{c.dx, c.dy, 0, HOVER_NONE};
        framePointerMove(m);
        EXPECT_FLOAT_EQ(pointerX, c.x);
        EXPECT_FLOAT_EQ(pointerY, c.y);
    }
}

// Centre of grid cell (c, r) as the hit test sees it.
float cellCentreX(int32_t c) { return 146.0f + 36.0f * static_cast<float>(c) + 18.0f; }
float cellCentreY(int32_t r) { return 27.0f + 244.0f / 7.0f * (static_cast<float>(r) + 0.5f); }

TEST_F(FramePointer, PointerWellInsideACellMovesTheCursorThere) {
    cursorX[0] = 5;
    cursorY[0] = 5;
    pointerX = cellCentreX(2);
    pointerY = cellCentreY(3);
    EXPECT_TRUE(frameHoverTest());
    EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_GRID);
    EXPECT_EQ(cursorX[0], 2);
    EXPECT_EQ(cursorY[0], 3);
    // Again: over the grid, but the cell has not changed.
    EXPECT_FALSE(frameHoverTest());
    EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_GRID);
}

TEST_F(FramePointer, NearABorderTheOldCellStays) {
    struct Case {
        float x, y;
        bool taken;  // the cell under the pointer becomes the cursor's
    };
    const float rowTop1 = 27.0f + 244.0f / 7.0f;  // first pixel row of row 1
    const Case cases[] = {
        {182.0f, cellCentreY(1), false},        // exactly on the column border
        {182.0f + 3.0f, cellCentreY(1), false}, // 3 inside: less than 4
        {182.0f + 5.0f, cellCentreY(1), true},  // 5 inside the column, the row 7 inside
        {cellCentreX(1), rowTop1 + 5.0f, true}, // 5 inside the row, the column 7 inside
        {182.0f + 5.0f, rowTop1 + 5.0f, false}, // 5 inside on both axes: 7 on neither
        {182.0f + 8.0f, rowTop1 + 5.0f, true},
    };
    for (const Case& c : cases) {
        gameStateReset();
        cursorX[0] = 4;
        cursorY[0] = 4;
        pointerX = c.x;
        pointerY = c.y;
        EXPECT_EQ(frameHoverTest(), c.taken) << c.x << ", " << c.y;
        EXPECT_EQ(frameInput.players[0].hoverTarget, c.taken ? HOVER_GRID : HOVER_NONE);
        EXPECT_EQ(cursorX[0], c.taken ? 1 : 4);
        EXPECT_EQ(cursorY[0], c.taken ? 1 : 4);
    }
}

TEST_F(FramePointer, HoverRegionsByState) {
    struct Case {
        float x, y;
        int32_t state;
        int32_t hover;
    };
    const Case cases[] = {
        {43.0f, 44.0f, STATE_PLAYING, HOVER_UPPER_BUTTON},
        {138.0f, 107.0f, STATE_PLAYING, HOVER_UPPER_BUTTON},
        {100.0f, 108.0f, STATE_PLAYING, HOVER_NONE},  // between the buttons
        {43.0f, 110.0f, STATE_GAME_OVER, HOVER_LOWER_BUTTON},
        {138.0f, 167.0f, STATE_TIP, HOVER_LOWER_BUTTON},
        {139.0f, 120.0f, STATE_PLAYING, HOVER_NONE},
        {152.0f, 290.0f, STATE_TIP, HOVER_CONTINUE},
        {247.0f, 353.0f, STATE_TIP, HOVER_CONTINUE},
        {200.0f, 300.0f, STATE_PLAYING, HOVER_NONE},  // tip buttons only on a tip
        {300.0f, 290.0f, STATE_TIP, HOVER_DO_NOT_SHOW},
        {395.0f, 353.0f, STATE_TIP, HOVER_DO_NOT_SHOW},
        {396.0f, 353.0f, STATE_TIP, HOVER_NONE},
        {600.0f, 440.0f, STATE_PLAYING, HOVER_NONE},
    };
    for (const Case& c : cases) {
        gameStateReset();
        gameState = c.state;
        pointerX = c.x;
        pointerY = c.y;
        EXPECT_FALSE(frameHoverTest());
        EXPECT_EQ(frameInput.players[0].hoverTarget, c.hover) << c.x << ", " << c.y << " in state " << c.state;
    }
}

// In a two-player game the mouse works player 0's grid where it is drawn:
// the pointer on the middle of any letter selects that letter's cell.
TEST_F(FramePointer, TwoPlayerPointerOnALetterSelectsItsCell) {
    twoPlayer = 1;
    const LayoutPoint g = LAYOUT_TWO_PLAYER.players[0].grid;
    for (int32_t r = 0; r < GRID_SIZE; r++) {
        for (int32_t c = 0; c < GRID_SIZE; c++) {
            // From another cell, so that every one is a change.
            cursorX[0] = (c + 3) % GRID_SIZE;
            cursorY[0] = (r + 3) % GRID_SIZE;
            pointerX = static_cast<float>(g.x + LAYOUT_CELL_PITCH * c) + LAYOUT_TILE_SIZE / 2.0f;
            pointerY = static_cast<float>(g.y + LAYOUT_CELL_PITCH * r) + LAYOUT_TILE_SIZE / 2.0f;
            EXPECT_TRUE(frameHoverTest()) << c << "," << r;
            EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_GRID);
            EXPECT_EQ(cursorX[0], c);
            EXPECT_EQ(cursorY[0], r);
            // Player 1's cursor is the keyboard's alone.
            EXPECT_EQ(cursorX[1], 0);
            EXPECT_EQ(cursorY[1], 0);
        }
    }
}

// The same stability test as in the one-player game, on the two-player grid's
// own borders: the cells meet halfway between two letters.
TEST_F(FramePointer, TwoPlayerNearABorderTheOldCellStays) {
    const LayoutPoint g = LAYOUT_TWO_PLAYER.players[0].grid;
    // Column 1 begins halfway between the letters of columns 0 and 1, as row 1 does.
    const float border1X = static_cast<float>(g.x + LAYOUT_CELL_PITCH) - 4.0f;
    const float border1Y = static_cast<float>(g.y + LAYOUT_CELL_PITCH) - 4.0f;
    const float middle1X = static_cast<float>(g.x + LAYOUT_CELL_PITCH) + 13.5f;
    const float middle1Y = static_cast<float>(g.y + LAYOUT_CELL_PITCH) + 13.5f;
    struct Case {
        float x, y;
        int32_t c, r;  // the cursor afterwards; 4, 4 where it stays
    };
    const Case cases[] = {
        {border1X, middle1Y, 4, 4},
        {border1X + 3.0f, middle1Y, 4, 4},
        {border1X + 5.0f, middle1Y, 1, 1},
        {middle1X, border1Y + 5.0f, 1, 1},
        {border1X + 5.0f, border1Y + 5.0f, 4, 4},
        {border1X + 8.0f, border1Y + 5.0f, 1, 1},
        {border1X - 5.0f, middle1Y, 0, 1},
    };
    for (const Case& c : cases) {
        gameStateReset();
        twoPlayer = 1;
        cursorX[0] = 4;
        cursorY[0] = 4;
        pointerX = c.x;
        pointerY = c.y;
        frameHoverTest();
        EXPECT_EQ(cursorX[0], c.c) << c.x << ", " << c.y;
        EXPECT_EQ(cursorY[0], c.r) << c.x << ", " << c.y;
    }
}

TEST_F(FramePointer, TwoPlayerHoverRegionsAreWhereTheirPicturesAre) {
    const ScreenLayout& L = LAYOUT_TWO_PLAYER;
    struct Case {
        LayoutPoint at;
        float dx, dy;
        int32_t state;
        int32_t hover;
    };
    const float w = SHEET_BUTTON_WIDTH - 1, h = SHEET_BUTTON_HEIGHT - 1;
    const Case cases[] = {
        {L.upperButton, 0, 0, STATE_PLAYING, HOVER_UPPER_BUTTON},
        {L.upperButton, w, h, STATE_PLAYING, HOVER_UPPER_BUTTON},
        {L.upperButton, -1, 0, STATE_PLAYING, HOVER_NONE},
        {L.lowerButton, w / 2, h, STATE_GAME_OVER, HOVER_LOWER_BUTTON},
        {L.lowerButton, w / 2, h + 1, STATE_GAME_OVER, HOVER_NONE},
        {L.continueButton, 0, 0, STATE_TIP, HOVER_CONTINUE},
        {L.continueButton, w / 2, h / 2, STATE_TIP, HOVER_CONTINUE},  // over player 0's grid
        {L.continueButton, w, h, STATE_TIP, HOVER_CONTINUE},
        {L.doNotShowButton, w / 2, h / 2, STATE_PLAYING, HOVER_NONE},  // only on a tip
        {L.doNotShowButton, w, 0, STATE_TIP, HOVER_DO_NOT_SHOW},
        {L.doNotShowButton, w + 1, 0, STATE_TIP, HOVER_NONE},
    };
    for (const Case& c : cases) {
        gameStateReset();
        twoPlayer = 1;
        gameState = c.state;
        pointerX = static_cast<float>(c.at.x) + c.dx;
        pointerY = static_cast<float>(c.at.y) + c.dy;
        frameHoverTest();
        EXPECT_EQ(frameInput.players[0].hoverTarget, c.hover) << pointerX << ", " << pointerY << " in state " << c.state;
    }
}

}  // namespace
