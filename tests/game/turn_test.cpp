#include <string>

#include "game/turnworld.h"
#include "play_fixture.h"

namespace {

class TurnTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        // A world whose every cell tells where it stands: letter (row + 2 x column) mod 26.
        for (int32_t r = 0; r < WORLD_SIZE; r++)
            for (int32_t c = 0; c < WORLD_SIZE; c++) letterWorld[0][r][c] = static_cast<char>('A' + (r + 2 * c) % 26);
        SetGrid(0);
        tipShown[TIP_TURN_WORLD] = 1;  // the tip has its own test
    }
    // The intro of level 2 dismissed: the phase begins with its banner already gone.
    void beginPhase() {
        levelNumber = 2;
        gameState = STATE_LEVEL_INTRO;
        playClick(0, HOVER_NONE);
        ASSERT_EQ(gameState, STATE_TURN_WORLD);
        bannerClearAll();
    }
    void expectGridShowsWindow() {
        for (int32_t y = 0; y < GRID_SIZE; y++)
            for (int32_t x = 0; x < GRID_SIZE; x++)
                ASSERT_EQ(wordgrid[0][y][x],
                          letterWorld[0][(worldOffsetY[0] + y) % WORLD_SIZE][(worldOffsetX[0] + x) % WORLD_SIZE])
                    << x << "," << y;
    }
};

TEST_F(TurnTest, DraggingRightLowersTheColumnOffsetCellByCell) {
    beginPhase();
    playPressAt(0, 3, 3);
    playMoveTo(0, 4, 3);
    EXPECT_EQ(worldOffsetX[0], 13);
    EXPECT_EQ(worldOffsetY[0], 0);
    playMoveTo(0, 5, 3);
    EXPECT_EQ(worldOffsetX[0], 12);
    EXPECT_EQ(wordgrid[0][0][0], letterWorld[0][0][12]);
    expectGridShowsWindow();
}

TEST_F(TurnTest, ADiagonalStepUpLeftRaisesBothOffsets) {
    beginPhase();
    playPressAt(0, 3, 3);
    playMoveTo(0, 2, 2);
    EXPECT_EQ(worldOffsetX[0], 1);
    EXPECT_EQ(worldOffsetY[0], 1);
    expectGridShowsWindow();
}

TEST_F(TurnTest, FourteenCellsInOneDirectionBringTheSameLettersBack) {
    beginPhase();
    char before[GRID_SIZE][GRID_SIZE];
    std::memcpy(before, wordgrid[0], sizeof before);
    int32_t moved = 0;
    while (moved < WORLD_SIZE) {
        playMoveTo(0, 0, 4);  // button up: the next drag starts here
        frameInput.players[0].hoverTarget = HOVER_GRID;
        PointerPress(0);
        for (int32_t x = 1; x < GRID_SIZE && moved < WORLD_SIZE; x++, moved++) playMoveTo(0, x, 4);
        PointerRelease(0);
        if (moved < WORLD_SIZE) {
            EXPECT_NE(worldOffsetX[0], 0);
        }
    }
    EXPECT_EQ(worldOffsetX[0], 0);
    EXPECT_EQ(std::memcmp(before, wordgrid[0], sizeof before), 0);
}

TEST_F(TurnTest, WithTheButtonUpAMoveOnlySetsWhereTheNextDragStarts) {
    beginPhase();
    playMoveTo(0, 1, 1);
    playMoveTo(0, 5, 6);
    EXPECT_EQ(worldOffsetX[0], 0);
    EXPECT_EQ(worldOffsetY[0], 0);
    EXPECT_EQ(prevCellX[0], 5);
    EXPECT_EQ(prevCellY[0], 6);
    // Off the grid the start stays where it was.
    frameInput.players[0].hoverTarget = HOVER_NONE;
    cursorX[0] = 2;
    PointerCellChanged(0);
    EXPECT_EQ(prevCellX[0], 5);
}

TEST_F(TurnTest, ALetterChangedInPlayIsFoundAgainAfterTurningAwayAndBack) {
    wordgrid[0][2][3] = '#';  // a swap or a new letter made in play
    beginPhase();
    EXPECT_EQ(letterWorld[0][2][3], '#');
    playPressAt(0, 0, 0);
    playMoveTo(0, 1, 1);
    playMoveTo(0, 2, 2);
    EXPECT_NE(wordgrid[0][2][3], '#');
    playMoveTo(0, 1, 1);
    playMoveTo(0, 0, 0);
    EXPECT_EQ(wordgrid[0][2][3], '#');
}

TEST_F(TurnTest, ThePhaseBeginsWithItsBannerTimerAndAnEmptyDragBar) {
    tipShown[TIP_TURN_WORLD] = 0;
    levelNumber = 5;
    gameState = STATE_LEVEL_INTRO;
    dragGauge.level = 120.0f;
    dragGauge.resetLevel = 50.0f;
    cursorX[0] = 4;
    cursorY[0] = 2;
    playClick(0, HOVER_GRID);
    EXPECT_EQ(bannerIndex, BANNER_TURN_WORLD);
    EXPECT_EQ(bannerFrames, 150);
    EXPECT_FLOAT_EQ(lifeGauge.level, 3600.0f);
    EXPECT_FLOAT_EQ(lifeGauge.fullLevel, 3600.0f);
    EXPECT_FLOAT_EQ(lifeGauge.drainRate, 1.0f);
    EXPECT_EQ(lifeGauge.running, 1);
    EXPECT_FLOAT_EQ(dragGauge.level, 0.0f);
    EXPECT_EQ(prevCellX[0], 4);
    EXPECT_EQ(prevCellY[0], 2);
    // The tip about turning opens over the phase the first time.
    EXPECT_EQ(gameState, STATE_TIP);
    EXPECT_EQ(tipIndex, TIP_TURN_WORLD);
    EXPECT_EQ(previousState, STATE_TURN_WORLD);
    EXPECT_EQ(levelNumber, 5);
}

TEST_F(TurnTest, OnlyEveryThirdLevelTurnsTheWorld) {
    struct Case {
        int32_t level;
        int32_t state;
    };
    const Case cases[] = {{0, STATE_PLAYING}, {1, STATE_PLAYING}, {2, STATE_TURN_WORLD}, {3, STATE_PLAYING},
                          {32, STATE_TURN_WORLD}, {33, STATE_PLAYING}, {34, STATE_PLAYING}};
    for (const Case& c : cases) {
        levelNumber = c.level;
        gameState = STATE_LEVEL_INTRO;
        bannerClearAll();
        playClick(0, HOVER_LOWER_BUTTON);
        EXPECT_EQ(gameState, c.state) << c.level;
    }
}

TEST_F(TurnTest, EnterGameStartsTheLevelWithTheGridAsItStands) {
    beginPhase();
    char before[GRID_SIZE][GRID_SIZE];
    std::memcpy(before, wordgrid[0], sizeof before);
    playFrameCounter = 500;
    playClick(0, HOVER_LOWER_BUTTON);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(playFrameCounter, 0u);
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
    EXPECT_FLOAT_EQ(lifeGauge.fullLevel, 10000.0f);
    EXPECT_EQ(std::memcmp(before, wordgrid[0], sizeof before), 0);
}

TEST_F(TurnTest, ReleasingInThePhaseDoesNothing) {
    beginPhase();
    playPressAt(0, 3, 3);
    PointerRelease(0);
    EXPECT_EQ(gameState, STATE_TURN_WORLD);
    EXPECT_EQ(pointerHeld[0], 0);
    playMoveTo(0, 4, 3);
    EXPECT_EQ(worldOffsetX[0], 0);
}

TEST_F(TurnTest, BannersLastByTheLengthOfTheirText) {
    const int32_t frames[BANNER_COUNT] = {150, 150, 250};
    for (int32_t i = 0; i < BANNER_COUNT; i++) {
        ShowBanner(i);
        EXPECT_EQ(bannerIndex, i);
        EXPECT_EQ(bannerFrames, frames[i]) << bannerTexts[i];
    }
    EXPECT_STREQ(bannerTexts[BANNER_GAME_OVER_HIGH_SCORE], "GAME OVER \nNEW HIGH SCORE");
}

TEST_F(TurnTest, PressesWhileABannerShowsOnlyHalveItsTime) {
    startPlaying();
    const char* const rows[GRID_SIZE] = {"CATKVWB", "KVWBKVW", "BKVWBKV", "WBKVWBK", "VWBKVWB", "KVWBKVW", "BKVWBKV"};
    playSetGrid(0, rows);
    ShowBanner(BANNER_GAME_OVER);
    playPressAt(0, 0, 0);
    EXPECT_EQ(bannerFrames, 75);
    EXPECT_EQ(wordLength[0], 0);
    EXPECT_EQ(highlightOn[0], 0);
    PointerPress(0);  // still held: acts once
    EXPECT_EQ(bannerFrames, 75);
    PointerRelease(0);
    PointerPress(0);
    PointerRelease(0);
    EXPECT_EQ(bannerFrames, 37);
    // Moves are ignored while it shows; once gone the next press starts a word.
    bannerClearAll();
    PointerPress(0);
    EXPECT_EQ(wordLength[0], 1);
}

}  // namespace
