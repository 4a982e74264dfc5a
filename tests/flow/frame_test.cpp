// One frame: its order of copies, the state step, the mouse and the flip.
#include "tests/flow/flowfixture.h"
#include "flow/layout.h"

#include <algorithm>
#include <vector>

namespace {

using Frame = FlowTest;

bool copyIs(const HeadlessCopy& c, int32_t x, int32_t y, const SheetRect& r, bool keyed) {
    return c.src == gSheetSurface && c.dst == gBackSurface && c.x == x && c.y == y && c.left == r.left &&
           c.top == r.top && c.right == r.right && c.bottom == r.bottom && c.keyed == keyed;
}

TEST_F(Frame, BackgroundFirstPointerLastThenTheFlip) {
    struct Case {
        int32_t twoPlayer;
        const SheetRect& background;
    };
    const Case cases[] = {{0, SHEET_BACKGROUND_ONE_PLAYER}, {1, SHEET_BACKGROUND_TWO_PLAYER}};
    for (const Case& c : cases) {
        twoPlayer = c.twoPlayer;
        startPlay();
        frameCounter = 0;
        blinkPhase = 0;
        headless.flipCount = 0;
        pointerX = 100.0f;
        pointerY = 200.0f;
        headlessClearCopies();
        headlessSetMouse(1, 1, false);  // half a pixel each way
        gameRunFrame();
        ASSERT_GE(headless.copyCount, 2);
        EXPECT_TRUE(copyIs(headless.copies[0], 0, 0, c.background, false));
        EXPECT_TRUE(copyIs(headless.copies[headless.copyCount - 1], 97, 200, SHEET_POINTER, true));
        EXPECT_EQ(headless.flipCount, 1);
        EXPECT_EQ(frameCounter, 1u);
        EXPECT_EQ(playFrameCounter, 1u);
        EXPECT_EQ(blinkPhase, 1);
    }
}

TEST_F(Frame, APausedFrameTilesTheScreenAndDoesNotCountAsPlay) {
    startPlay();
    paused = 1;
    headlessClearCopies();
    gameRunFrame();
    ASSERT_GE(headless.copyCount, 48);
    for (int32_t k = 0; k < 48; k++) {
        EXPECT_TRUE(copyIs(headless.copies[k], (k / 6) * 80, (k % 6) * 80, SHEET_PAUSE_TILE, false)) << "tile " << k;
    }
    EXPECT_EQ(frameCounter, 1u);
    EXPECT_EQ(playFrameCounter, 0u);
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);  // no gauge drains while paused
    EXPECT_EQ(headless.flipCount, 1);
}

TEST_F(Frame, AFailedCopyOrFlipAbandonsTheFrameAndStillDrawingIsRetried) {
    struct Case {
        HeadlessFaultKind kind;
        int32_t code;
        int32_t count;
        int32_t flips;
        bool stateStepRan;
    };
    const Case cases[] = {
        {HEADLESS_FAULT_BLT, DDERR_GENERIC, 1, 0, false},
        {HEADLESS_FAULT_BLT, DDERR_SURFACELOST, 1, 0, false},
        {HEADLESS_FAULT_BLT, DDERR_WASSTILLDRAWING, 3, 1, true},
        {HEADLESS_FAULT_FLIP, DDERR_WASSTILLDRAWING, 2, 1, true},
        {HEADLESS_FAULT_FLIP, DDERR_GENERIC, 1, 0, true},
    };
    for (const Case& c : cases) {
        startPlay();
        headless.flipCount = 0;
        headlessFail(c.kind, c.code, c.count);
        gameRunFrame();
        EXPECT_EQ(headless.flipCount, c.flips) << "fault " << c.kind << " code " << c.code;
        EXPECT_EQ(lifeGauge.level < 6000.0f, c.stateStepRan) << "fault " << c.kind << " code " << c.code;
        // The next frame is whole again.
        if (gDirectDraw == nullptr) openDisplay();
        gameRunFrame();
        EXPECT_EQ(headless.flipCount, c.flips + 1);
    }
}

TEST_F(Frame, TheLifeGaugeRunningOutInPlayEndsTheGameWithItsBanner) {
    struct Case {
        int32_t score;
        int32_t banner;
        int32_t framesLeft;  // after this frame's banner step
        int32_t tableRows;
    };
    const Case cases[] = {
        {0, BANNER_GAME_OVER, 149, 0},
        {500, BANNER_GAME_OVER_HIGH_SCORE, 249, 1},
    };
    for (const Case& c : cases) {
        hiScoresReset();
        startPlay();
        playerState[0].score = c.score;
        lifeGauge.level = 0.5f;
        gameRunFrame();
        EXPECT_EQ(gameState, STATE_GAME_OVER);
        EXPECT_EQ(lifeGauge.drainTicks, 0);
        EXPECT_EQ(bannerIndex, c.banner);
        EXPECT_EQ(bannerFrames, c.framesLeft);
        EXPECT_EQ(hiScoreCount, c.tableRows);
    }
}

TEST_F(Frame, TheDragBarRunningOutEndsDragMode) {
    startPlay();
    dragGauge.running = 1;
    dragGauge.level = 0.1f;
    dragModeOn[0] = 1;
    gameRunFrame();
    EXPECT_EQ(dragGauge.running, 0);
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 220.0f);
    EXPECT_EQ(gameState, STATE_PLAYING);
}

TEST_F(Frame, TheTurnTheWorldTimerRunsWhilePausedAndPlayBeginsStillPaused) {
    gameNew();
    gaugesTurnStart();
    gameState = STATE_TURN_WORLD;
    paused = 1;
    lifeGauge.level = 2.0f;
    playFrameCounter = 77;
    gameRunFrame();
    EXPECT_EQ(gameState, STATE_TURN_WORLD);
    EXPECT_FLOAT_EQ(lifeGauge.level, 1.0f);
    gameRunFrame();
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(playFrameCounter, 0u);
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
    EXPECT_EQ(lifeGauge.running, 1);
}

TEST_F(Frame, AHeldKeyMovesTheCursorAtMostFiveTimesASecond) {
    startPlay();
    headlessSetTicksPerFlip(16);
    const uint32_t start = platGetTickCount();
    keyDown('D');
    int moves = 0;
    int32_t lastX = cursorX[0];
    while (platGetTickCount() - start < 1000) {
        gameRunFrame();
        if (cursorX[0] != lastX) moves++;
        lastX = cursorX[0];
    }
    EXPECT_EQ(moves, 5);
}

TEST_F(Frame, HoldingLeftAndRightMovesLeft) {
    startPlay();
    cursorX[0] = 3;
    keyDown('D');
    keyDown('A');
    gameRunFrame();
    EXPECT_EQ(cursorX[0], 2);
}

TEST_F(Frame, MarkedLettersVanishInEveryStateForEachPlayerInTheGame) {
    struct Case {
        int32_t twoPlayer;
        int32_t state;
        char player1Cell;  // after the frame
    };
    const Case cases[] = {
        {1, STATE_GAME_OVER, ' '},
        {1, STATE_TIP, ' '},
        {0, STATE_GAME_OVER, 'Q'},  // no player 1 in a one-player game
    };
    for (const Case& c : cases) {
        twoPlayer = c.twoPlayer;
        startPlay();
        gameState = c.state;
        for (int32_t p = 0; p < 2; p++) {
            wordgrid[p][2][2] = 'Q';
            vanishMark[p][2][2] = 1;
            vanishPending[p] = 1;
            gridStepTime[p] = platGetTickCount() - 1001;
        }
        gameRunFrame();
        EXPECT_EQ(wordgrid[0][2][2], ' ');
        EXPECT_EQ(wordgrid[1][2][2], c.player1Cell);
    }
}

TEST_F(Frame, BannerCountsDownPausedOrNot) {
    startPlay();
    ShowBanner(BANNER_TURN_WORLD);
    bannerFrames = 2;
    paused = 1;
    gameRunFrame();
    EXPECT_EQ(bannerIndex, BANNER_TURN_WORLD);
    EXPECT_EQ(bannerFrames, 1);
    gameRunFrame();
    EXPECT_EQ(bannerIndex, BANNER_NONE);
}

// C, A and T along row 3 from column 2.
void writeCat() {
    wordgrid[0][3][2] = 'C';
    wordgrid[0][3][3] = 'A';
    wordgrid[0][3][4] = 'T';
}

class FrameWithWords : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        writeFile("worddiction.txt", "cat\r\n");
        ASSERT_TRUE(dictLoad());
        startPlay();
        writeCat();
    }
};

TEST_F(FrameWithWords, AMouseDragSpellsAWordAndTheReleaseScoresIt) {
    frameWithMouseAt(cellX(2), cellY(3), true);
    EXPECT_EQ(wordLength[0], 1);
    frameWithMouseAt(cellX(3), cellY(3), true);
    frameWithMouseAt(cellX(4), cellY(3), true);
    EXPECT_EQ(wordLength[0], 3);
    EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_GRID);
    frameWithButton(false);
    EXPECT_EQ(pointerHeld[0], 0);
    EXPECT_EQ(playerState[0].score, 8);
}

// The same drag in a two-player game, on player 0's grid where it is drawn;
// player 1's grid holds the same letters and nothing happens there.
TEST_F(FrameWithWords, InATwoPlayerGameTheMouseSpellsOnPlayerZerosGridWhereItIsDrawn) {
    twoPlayer = 1;
    startPlay();
    writeCat();
    for (int32_t c = 2; c <= 4; c++) wordgrid[1][3][c] = wordgrid[0][3][c];
    const LayoutPoint g = LAYOUT_TWO_PLAYER.players[0].grid;
    auto letterX = [&](int32_t c) { return static_cast<float>(g.x + LAYOUT_CELL_PITCH * c + LAYOUT_TILE_SIZE / 2); };
    const float rowY = static_cast<float>(g.y + LAYOUT_CELL_PITCH * 3 + LAYOUT_TILE_SIZE / 2);
    frameWithMouseAt(letterX(2), rowY, true);
    EXPECT_EQ(wordLength[0], 1);
    frameWithMouseAt(letterX(3), rowY, true);
    frameWithMouseAt(letterX(4), rowY, true);
    EXPECT_EQ(wordLength[0], 3);
    EXPECT_EQ(wordLength[1], 0);
    frameWithButton(false);
    EXPECT_EQ(playerState[0].score, 8);
    EXPECT_EQ(playerState[1].score, 0);
}

// The tip of a new two-player game closes with a click on its CONTINUE, where
// the tip's panel shows it.
TEST_F(Frame, InATwoPlayerGameTheMouseClosesTheTipWithItsContinueButton) {
    twoPlayer = 1;
    gameNew();
    ASSERT_EQ(gameState, STATE_TIP);
    const LayoutPoint b = LAYOUT_TWO_PLAYER.continueButton;
    const float x = static_cast<float>(b.x + SHEET_BUTTON_WIDTH / 2);
    const float y = static_cast<float>(b.y + SHEET_BUTTON_HEIGHT / 2);
    frameWithMouseAt(x, y, false);
    EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_CONTINUE);
    frameWithButton(true);
    frameWithButton(false);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
}

TEST_F(FrameWithWords, TheKeyboardAloneSpellsAWordWithTheDropKey) {
    headlessSetTicksPerFlip(16);
    cursorX[0] = 2;
    cursorY[0] = 3;
    keyDown(VK_SPACE);
    keyDown('D');
    // The mouse button stays up all along; the DROP press lasts until its key is let go.
    for (int i = 0; i < 40 && wordLength[0] < 3; i++) frameWithButton(false);
    keyUp('D');
    EXPECT_EQ(wordLength[0], 3);
    EXPECT_EQ(pointerHeld[0], 1);
    frameWithButton(false);
    EXPECT_EQ(pointerHeld[0], 1);
    keyUp(VK_SPACE);
    EXPECT_EQ(pointerHeld[0], 0);
    EXPECT_EQ(playerState[0].score, 8);
}

// The red marks each frame draws on player 0's grid cells in row 3.
std::vector<int32_t> redMarkColumnsInRow3() {
    std::vector<int32_t> columns;
    const SheetRect red = sheetCellMark(SHEET_MARK_RED);
    for (int32_t i = 0; i < headless.copyCount; i++) {
        const HeadlessCopy& c = headless.copies[i];
        if (c.left != red.left || c.top != red.top || c.right != red.right || c.bottom != red.bottom) continue;
        if (c.y == 27 + 36 * 3 - 2 && (c.x - 148) % 36 == 0) columns.push_back((c.x - 148) / 36);
    }
    return columns;
}

TEST_F(FrameWithWords, AReleasedPathThatIsNotAWordShowsRedOnItsCellsForHalfASecond) {
    struct Case {
        const char* what;
        std::vector<int32_t> columns;  // along row 3
        std::vector<int32_t> marked;
    };
    const Case cases[] = {
        {"TAC is not a word", {4, 3, 2}, {4, 3, 2}},
        {"CAT is a word", {2, 3, 4}, {}},
        {"two letters are too few to be refused", {2, 3}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startPlay();
        writeCat();
        headlessSetTicks(200000);
        for (int32_t column : c.columns) frameWithMouseAt(cellX(column), cellY(3), true);
        ASSERT_EQ(wordLength[0], static_cast<int32_t>(c.columns.size()));
        frameWithButton(false);
        ASSERT_EQ(wordLength[0], 0);
        // From the frame after the release until half a second has passed.
        for (uint32_t after : {0u, 250u, 499u}) {
            headlessSetTicks(200000 + after);
            headlessClearCopies();
            frameWithButton(false);
            EXPECT_EQ(redMarkColumnsInRow3(), c.marked) << after << " ms";
        }
        headlessSetTicks(200500);
        headlessClearCopies();
        frameWithButton(false);
        EXPECT_EQ(redMarkColumnsInRow3(), std::vector<int32_t>{});
    }
}

TEST_F(FrameWithWords, AnUnreadableMouseMovesNothingAndCountsAsButtonUp) {
    frameWithMouseAt(cellX(2), cellY(3), true);
    ASSERT_EQ(pointerHeld[0], 1);
    const float x = pointerX;
    headlessSetMouse(40, 40, true);
    headlessFail(HEADLESS_FAULT_MOUSE_READ, DIERR_GENERIC);
    gameRunFrame();
    EXPECT_FLOAT_EQ(pointerX, x);
    EXPECT_EQ(pointerHeld[0], 0);
}

TEST_F(FrameWithWords, APressInTheFrameTheMouseCameBackIsKept) {
    frameWithMouseAt(cellX(2), cellY(3), false);
    const float x = pointerX;
    headlessSetMouse(72, 0, true);  // one cell to the right, button down
    headlessFail(HEADLESS_FAULT_MOUSE_READ, DIERR_INPUTLOST);
    gameRunFrame();
    EXPECT_FLOAT_EQ(pointerX, x + 36);
    EXPECT_EQ(cursorX[0], 3);
    EXPECT_EQ(pointerHeld[0], 1);
    EXPECT_EQ(wordLength[0], 1);
}

TEST_F(FrameWithWords, AMouseThatStaysLostReleasesTheButton) {
    frameWithMouseAt(cellX(2), cellY(3), true);
    ASSERT_EQ(pointerHeld[0], 1);
    // The next read would find the button still down, but this frame gives up
    // after one acquire that fails.
    headlessSetMouse(0, 0, true);
    headlessFail(HEADLESS_FAULT_MOUSE_READ, DIERR_INPUTLOST, 2);
    headlessFail(HEADLESS_FAULT_MOUSE_ACQUIRE, DIERR_INPUTLOST, 2);
    gameRunFrame();
    EXPECT_EQ(pointerHeld[0], 0);
}

TEST_F(Frame, WithoutAMouseDeviceThereIsNoPointerButTheFrameFlips) {
    startPlay();
    gMouseDevice = nullptr;
    headlessClearCopies();
    gameRunFrame();
    ASSERT_GE(headless.copyCount, 1);
    EXPECT_FALSE(copyIs(headless.copies[headless.copyCount - 1], 7, 10, SHEET_POINTER, true));
    EXPECT_EQ(headless.flipCount, 1);
}

TEST_F(Frame, EveryReasonOnTheMissingDictionaryScreenFitsInsideTheGrid) {
    // The grid's last letter tiles end here; the reason's line must too.
    const int32_t gridRight = 150 + 36 * 6 + 27;
    for (DictLoadFailure why : {DICT_MISSING, DICT_UNREADABLE, DICT_EMPTY, DICT_TOO_BIG, DICT_NOT_A_WORD_LIST}) {
        startPlay();
        startShowMissingDictionary(why);
        const std::string line = gridMessageRows[0][5];
        headlessClearCopies();
        gameRunFrame();
        int32_t glyphs = 0;
        int32_t right = 0;
        for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
            const HeadlessCopy& c = headless.copies[i];
            if (c.top != SHEET_SMALL_TOP || c.y < 215 || c.y > 223 || c.x < 146) continue;
            glyphs++;
            right = std::max(right, c.x + SHEET_SMALL_WIDTH);
        }
        EXPECT_EQ(glyphs, static_cast<int32_t>(line.size() - std::count(line.begin(), line.end(), ' '))) << line;
        EXPECT_LE(right, gridRight) << line;
    }
}

TEST_F(Frame, NothingDrainsOrFallsOnTheMissingDictionaryScreen) {
    startPlay();
    wordgrid[0][6][0] = ' ';
    startShowMissingDictionary(DICT_MISSING);
    const float life = lifeGauge.level;
    headlessSetTicksPerFlip(16);
    for (int i = 0; i < 30; i++) gameRunFrame();
    EXPECT_EQ(gameState, STATE_NO_DICTIONARY);
    EXPECT_FLOAT_EQ(lifeGauge.level, life);
    EXPECT_EQ(wordgrid[0][6][0], ' ');
    EXPECT_EQ(headless.flipCount, 30);
}

}  // namespace
