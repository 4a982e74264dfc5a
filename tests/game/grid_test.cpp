#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "wordrules_fixture.h"

namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override { wordRulesReset(); }
};

std::string gridColumn(int32_t p, int32_t x) {
    std::string s;
    for (int32_t y = 0; y < GRID_SIZE; y++) s += wordgrid[p][y][x];
    return s;
}

// What RandomLetter gives without a target word from the state one draw on;
// the generator is left where it was and the target word restored.
char untargetedLetterAfterOneDraw(const char* target) {
    const uint32_t saved = cmRandState();
    cmRand();
    objective.word[0] = 0;
    const char letter = RandomLetter();
    std::strcpy(objective.word, target);
    cmSrand(saved);
    return letter;
}

void setColumn(int32_t p, int32_t x, const char* rows) {
    for (int32_t y = 0; y < GRID_SIZE; y++) wordgrid[p][y][x] = rows[y];
}

// ---- letter weights and RandomLetter ---------------------------------------

TEST_F(GridTest, LetterWeightsTotal3053) {
    letterWeightTotal = 0;
    gridTotalLetterWeights();
    EXPECT_EQ(letterWeightTotal, 3053);
}

TEST_F(GridTest, WithoutTargetWordOneDrawWalksTheWeights) {
    // r = draw mod 3053; the letter at which r minus the running weights first goes negative.
    struct Case { int32_t r; char letter; };
    const Case cases[] = {
        {0, 'A'}, {235, 'A'}, {236, 'B'}, {293, 'B'}, {294, 'C'}, {1502, 'L'}, {1503, 'M'}, {1601, 'N'}, {3034, 'Y'}, {3035, 'Z'}, {3052, 'Z'},
    };
    for (const Case& c : cases) {
        wordRulesSeedWhere([&](int32_t v) { return v % 3053 == c.r; });
        const uint32_t afterOne = wordRulesStateAfter(1);
        EXPECT_EQ(RandomLetter(), c.letter) << "r = " << c.r;
        EXPECT_EQ(cmRandState(), afterOne) << "r = " << c.r;
    }
}

TEST_F(GridTest, TargetWordFavoursFirstShortfallFromAToZ) {
    // Player 0's grid is all 'E' apart from the letters placed; blanks are not counted.
    struct Case { const char* target; const char* placed; char expect; };
    const Case cases[] = {
        {"ZOO", "O", 'O'},     // O: 2 > 1 comes before Z
        {"ZOO", "OO", 'Z'},
        {"ZOO", "", 'O'},
        {"CAT", "  ", 'A'},    // blanks count for nothing
        {"TEA", "AT", 0},      // nothing missing: weighted draw follows
    };
    for (const Case& c : cases) {
        wordRulesFillGrid(0, 'E');
        for (size_t i = 0; i < std::strlen(c.placed); i++) wordgrid[0][3][i] = c.placed[i];
        wordRulesFillGrid(1, 'Z');  // the other player's grid never counts
        std::strcpy(objective.word, c.target);
        wordRulesSeedWhere([](int32_t v) { return (v & 7) == 0; });
        if (c.expect != 0) {
            const uint32_t afterOne = wordRulesStateAfter(1);
            EXPECT_EQ(RandomLetter(), c.expect) << c.target << " / " << c.placed;
            EXPECT_EQ(cmRandState(), afterOne) << c.target;
        } else {
            EXPECT_EQ(RandomLetter(), untargetedLetterAfterOneDraw(c.target)) << c.target;
        }
    }
}

TEST_F(GridTest, FailedBiasTestCostsTwoDrawsAndIgnoresTheTarget) {
    wordRulesFillGrid(0, 'E');
    int found = 0;
    for (uint32_t seed = 1; found < 20; seed++) {
        cmSrand(seed);
        if ((cmRand() & 7) == 0) continue;
        found++;
        std::strcpy(objective.word, "ZZZ");
        cmSrand(seed);
        const uint32_t afterTwo = wordRulesStateAfter(2);
        const char expected = untargetedLetterAfterOneDraw("ZZZ");
        EXPECT_EQ(RandomLetter(), expected) << "seed " << seed;
        EXPECT_EQ(cmRandState(), afterTwo) << "seed " << seed;
    }
}

TEST_F(GridTest, WalkOverrunLogsAndGivesZ) {
    letterWeightTotal = 30000;  // more than the weights sum to
    wordRulesSeedWhere([](int32_t v) { return v % 30000 >= 3053 + 100; });
    const uint32_t seed = cmRandState();
    const int32_t r = cmRand() % 30000;
    cmSrand(seed);
    EXPECT_EQ(RandomLetter(), 'Z');
    const std::string expected = "RANDOM LETTER ERROR! FINAL rgen " + std::to_string(r - 3053) + "!";
    EXPECT_NE(std::string(headless.debugText).find(expected), std::string::npos) << headless.debugText;
}

TEST_F(GridTest, UntotalledWeightsDoNotDivideByZero) {
    letterWeightTotal = 0;
    for (int i = 0; i < 50; i++) {
        const char c = RandomLetter();
        EXPECT_TRUE(c >= 'A' && c <= 'Z');
    }
}

// ---- world and grid --------------------------------------------------------

TEST_F(GridTest, GridShowsTheWorldThroughWrappingOffsets) {
    for (int32_t p = 0; p < MAX_PLAYERS; p++)
        for (int32_t r = 0; r < WORLD_SIZE; r++)
            for (int32_t c = 0; c < WORLD_SIZE; c++)
                letterWorld[p][r][c] = static_cast<char>('A' + (r * WORLD_SIZE + c + p * 7) % 26);
    worldOffsetX[1] = 10;
    worldOffsetY[1] = 12;
    worldOffsetX[0] = 3;
    worldOffsetY[0] = 0;
    SetGrid(1);
    EXPECT_EQ(wordgrid[1][3][2], letterWorld[1][1][12]);
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++)
            EXPECT_EQ(wordgrid[1][y][x], letterWorld[1][(12 + y) % 14][(10 + x) % 14]) << y << "," << x;
    // Player 0's grid is untouched, and shows its own window when set.
    EXPECT_EQ(wordgrid[0][0][0], GRID_BLANK);
    SetGrid(0);
    EXPECT_EQ(wordgrid[0][0][0], letterWorld[0][0][3]);
    EXPECT_EQ(wordgrid[0][6][6], letterWorld[0][6][9]);
}

TEST_F(GridTest, StoreGridWritesTheWindowBackAndOnlyIt) {
    for (int32_t r = 0; r < WORLD_SIZE; r++)
        for (int32_t c = 0; c < WORLD_SIZE; c++) letterWorld[0][r][c] = static_cast<char>('A' + (r + c) % 26);
    char before[WORLD_SIZE][WORLD_SIZE];
    std::memcpy(before, letterWorld[0], sizeof before);
    worldOffsetX[0] = 10;
    worldOffsetY[0] = 12;
    SetGrid(0);
    char grid[GRID_SIZE][GRID_SIZE];
    std::memcpy(grid, wordgrid[0], sizeof grid);

    StoreGrid(0);
    SetGrid(0);
    EXPECT_EQ(std::memcmp(grid, wordgrid[0], sizeof grid), 0);
    EXPECT_EQ(std::memcmp(before, letterWorld[0], sizeof before), 0);

    wordgrid[0][3][2] = '#';
    StoreGrid(0);
    EXPECT_EQ(letterWorld[0][1][12], '#');
    int changed = 0;
    for (int32_t r = 0; r < WORLD_SIZE; r++)
        for (int32_t c = 0; c < WORLD_SIZE; c++) changed += letterWorld[0][r][c] != before[r][c];
    EXPECT_EQ(changed, 1);
}

TEST_F(GridTest, NewGameFillsTheWorldRowByRowAndShowsItsCorner) {
    vanishMark[1][2][2] = 1;
    gridStepTime[1] = 777;
    fallInterval[1] = -42;
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        worldOffsetX[p] = 5;
        worldOffsetY[p] = 9;
    }
    cmSrand(99);
    const uint32_t after196 = wordRulesStateAfter(196);
    char expected[WORLD_SIZE * WORLD_SIZE];
    for (char& c : expected) c = RandomLetter();
    cmSrand(99);

    gridNewGame(1);
    EXPECT_EQ(cmRandState(), after196);
    EXPECT_EQ(std::memcmp(letterWorld[1], expected, sizeof expected), 0);
    EXPECT_EQ(worldOffsetX[1], 0);
    EXPECT_EQ(worldOffsetY[1], 0);
    // The other player's window stays where it was.
    EXPECT_EQ(worldOffsetX[0], 5);
    EXPECT_EQ(worldOffsetY[0], 9);
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++) EXPECT_EQ(wordgrid[1][y][x], letterWorld[1][y][x]);
    EXPECT_EQ(vanishMark[1][2][2], 0);
    EXPECT_EQ(gridStepTime[1], 0u);
    EXPECT_EQ(fallInterval[1], 100);
    EXPECT_EQ(fallIntervalDefault, 100);
}

// ---- vanishing -------------------------------------------------------------

TEST_F(GridTest, MarkedLettersVanishOneSecondAfterTheLastGridStep) {
    wordRulesFillGrid(0, 'K');
    vanishMark[0][6][1] = vanishMark[0][6][2] = vanishMark[0][5][2] = 1;
    vanishPending[0] = 1;
    gridStepTime[0] = 5000;

    frameInput.time = 6000;
    VanishStep(0);
    EXPECT_EQ(wordgrid[0][6][1], 'K');
    EXPECT_EQ(vanishPending[0], 1);

    frameInput.time = 6001;
    VanishStep(0);
    EXPECT_EQ(wordgrid[0][6][1], GRID_BLANK);
    EXPECT_EQ(wordgrid[0][6][2], GRID_BLANK);
    EXPECT_EQ(wordgrid[0][5][2], GRID_BLANK);
    EXPECT_EQ(wordgrid[0][5][1], 'K');
    EXPECT_EQ(vanishPending[0], 0);
    EXPECT_EQ(vanishMark[0][6][1] + vanishMark[0][6][2] + vanishMark[0][5][2], 0);
    EXPECT_EQ(gridStepTime[0], 6001u);
}

TEST_F(GridTest, NothingVanishesWithoutPending) {
    wordRulesFillGrid(0, 'K');
    vanishMark[0][0][0] = 1;
    frameInput.time = 100000;
    VanishStep(0);
    EXPECT_EQ(wordgrid[0][0][0], 'K');
}

TEST_F(GridTest, VanishDelaySurvivesTheTickCountWrap) {
    struct Case { uint32_t now; bool vanished; };
    const uint32_t last = 0xFFFFFF00u;
    const Case cases[] = {
        {last + 500u, false},   // wrapped past zero, 500 ms later
        {last + 1000u, false},
        {last + 1001u, true},
    };
    for (const Case& c : cases) {
        wordRulesFillGrid(0, 'K');
        vanishMark[0][0][0] = 1;
        vanishPending[0] = 1;
        gridStepTime[0] = last;
        frameInput.time = c.now;
        VanishStep(0);
        EXPECT_EQ(wordgrid[0][0][0] == GRID_BLANK, c.vanished) << c.now;
    }
}

TEST_F(GridTest, FallingLettersHoldTheVanishBackAndPendingHoldsTheFall) {
    wordRulesFillGrid(0, 'K');
    wordgrid[0][6][0] = GRID_BLANK;
    vanishMark[0][6][6] = 1;
    fallInterval[0] = 100;
    gridStepTime[0] = 0;

    // Letters fall at 200 ms; then the word is accepted.
    frameInput.time = 200;
    FallStep(0);
    EXPECT_EQ(gridStepTime[0], 200u);
    vanishPending[0] = 1;

    // While the vanish is pending nothing falls, even with a blank waiting.
    wordgrid[0][6][3] = GRID_BLANK;
    frameInput.time = 1200;
    FallStep(0);
    EXPECT_EQ(wordgrid[0][6][3], GRID_BLANK);
    VanishStep(0);
    EXPECT_EQ(wordgrid[0][6][6], 'K');
    frameInput.time = 1201;
    VanishStep(0);
    EXPECT_EQ(wordgrid[0][6][6], GRID_BLANK);
}

// ---- falling ---------------------------------------------------------------

TEST_F(GridTest, EachColumnClosesItsLowestGapPerStep) {
    wordRulesFillGrid(0, 'K');
    setColumn(0, 3, "ABCD E ");
    fallInterval[0] = 100;
    gridStepTime[0] = 0;

    frameInput.time = 1000;
    FallStep(0);
    std::string col = gridColumn(0, 3);
    EXPECT_EQ(col.substr(1), "ABCD E");  // rows 0..5 moved down, row 0 refilled
    EXPECT_TRUE(col[0] >= 'A' && col[0] <= 'Z');
    EXPECT_EQ(gridStepTime[0], 1000u);

    // The next step waits for the interval.
    frameInput.time = 1100;
    FallStep(0);
    EXPECT_EQ(gridColumn(0, 3), col);

    frameInput.time = 1101;
    FallStep(0);
    const std::string second = gridColumn(0, 3);
    EXPECT_EQ(second.substr(2), "ABCDE");
    EXPECT_EQ(second[1], col[0]);
    EXPECT_NE(second[0], GRID_BLANK);
    // The other columns never moved.
    EXPECT_EQ(gridColumn(0, 2), "KKKKKKK");
}

TEST_F(GridTest, OneNewLetterPerStepLeftmostColumnFirst) {
    wordRulesFillGrid(0, 'K');
    wordgrid[0][0][4] = GRID_BLANK;
    wordgrid[0][0][1] = GRID_BLANK;
    gridStepTime[0] = 0;
    frameInput.time = 500;

    const uint32_t afterOne = wordRulesStateAfter(1);
    FallStep(0);
    EXPECT_EQ(cmRandState(), afterOne);  // one letter drawn
    EXPECT_NE(wordgrid[0][0][1], GRID_BLANK);
    EXPECT_EQ(wordgrid[0][0][4], GRID_BLANK);
    // Refilling a top cell moves no letter: the next step runs at once.
    EXPECT_EQ(gridStepTime[0], 0u);
    FallStep(0);
    EXPECT_NE(wordgrid[0][0][4], GRID_BLANK);
}

TEST_F(GridTest, NegativeFallIntervalMeansNoDelayEvenAfterANewGame) {
    struct Case { uint32_t stepTime; uint32_t now; int32_t interval; bool falls; };
    const Case cases[] = {
        {0, 0, -42, true},              // right after a new game
        {5000, 5000, -42, true},        // just moved
        {0, 100, 100, false},
        {0, 101, 100, true},
        {0xFFFFFFF0u, 0x10u, 25, true},   // 32 ms across the wrap
        {0xFFFFFFF0u, 0x08u, 25, false},  // 24 ms across the wrap
    };
    for (const Case& c : cases) {
        wordRulesFillGrid(0, 'K');
        wordgrid[0][6][5] = GRID_BLANK;
        gridStepTime[0] = c.stepTime;
        fallInterval[0] = c.interval;
        frameInput.time = c.now;
        FallStep(0);
        EXPECT_EQ(wordgrid[0][6][5] != GRID_BLANK, c.falls) << c.stepTime << " " << c.now << " " << c.interval;
    }
}

TEST_F(GridTest, LevelEndsOnlyOnAFullSettledGridWithTheObjectiveComplete) {
    gameState = STATE_PLAYING;
    objective.done = 5;  // 5 of 5 three-letter words
    wordRulesFillGrid(0, 'K');
    wordgrid[0][2][2] = GRID_BLANK;
    frameInput.time = 1000;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(levelNumber, 0);

    // The refill put a letter in; the grid is now full.
    frameInput.time = 1101;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 1);
}

TEST_F(GridTest, FullGridWithoutCompleteObjectiveKeepsPlaying) {
    gameState = STATE_PLAYING;
    objective.done = 4;
    wordRulesFillGrid(0, 'K');
    frameInput.time = 1000;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(levelNumber, 0);
}

// ---- bad input -------------------------------------------------------------

TEST_F(GridTest, OutOfRangePlayersAndOversizedGridDimensionsStayInBounds) {
    wordRulesFillGrid(0, 'K');
    wordRulesFillGrid(1, 'K');
    vanishPending[0] = vanishPending[1] = 1;
    frameInput.time = 50000;
    for (int32_t p : {-1, 2, 1000, INT32_MIN}) {
        SetGrid(p);
        StoreGrid(p);
        VanishStep(p);
        FallStep(p);
        gridNewGame(p);
    }
    EXPECT_EQ(vanishPending[0], 1);
    EXPECT_EQ(wordgrid[1][0][0], 'K');

    // Rows and columns beyond the fixed arrays are held to seven.
    gridRows = 12;
    gridCols = 40;
    worldOffsetX[0] = -3;
    worldOffsetY[0] = 99;
    SetGrid(0);
    StoreGrid(0);
    vanishPending[0] = 0;
    wordgrid[0][6][6] = GRID_BLANK;
    FallStep(0);
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++) EXPECT_NE(wordgrid[0][y][x], 0);
}

}  // namespace
