#include <string>

#include "play_fixture.h"

namespace {

class LevelTest : public PlayTest {};

std::string objectiveString(int32_t form) {
    char text[OBJECTIVE_TEXT_SIZE];
    objectiveText(text, form);
    return text;
}

TEST_F(LevelTest, ObjectiveTextInBothFormsForCountAndWordObjectives) {
    struct Case {
        int32_t level;
        int32_t done;
        const char* shortForm;
        const char* progressForm;
    };
    const Case cases[] = {
        {0, 0, "Make 5 3-letter words", "Make 3-letter words - done 0 of 5"},
        {0, 2, "Make 5 3-letter words", "Make 3-letter words - done 2 of 5"},
        {0, 6, "Make 5 3-letter words", "Make 3-letter words - done 6 of 5"},
        {6, 0, "Make 1 7-letter word", "Make one 7-letter word - done 0 of 1"},
        {34, 3, "Make 10 15-letter words", "Make 15-letter words - done 3 of 10"},
    };
    for (const Case& c : cases) {
        levelNumber = c.level;
        objectiveNew();
        objective.done = c.done;
        EXPECT_EQ(objectiveString(OBJECTIVE_FORM_SHORT), c.shortForm) << c.level;
        EXPECT_EQ(objectiveString(OBJECTIVE_FORM_PROGRESS), c.progressForm) << c.level;
    }

    objective = Objective{1, 3, 1, 0, "CAT"};
    EXPECT_EQ(objectiveString(OBJECTIVE_FORM_SHORT), "Make word: CAT");
    EXPECT_EQ(objectiveString(OBJECTIVE_FORM_PROGRESS), "Make word: CAT");
}

TEST_F(LevelTest, WordLevelsAskForADictionaryWordOfTheirLength) {
    const int32_t wordLevels[] = {1, 3, 5};  // lengths 3, 4, 5
    for (int32_t level : wordLevels) {
        levelNumber = level;
        objectiveNew();
        EXPECT_EQ(objective.isWordObjective, 1) << level;
        EXPECT_EQ(objective.target, 1);
        EXPECT_EQ(objective.done, 0);
        EXPECT_EQ(static_cast<int32_t>(std::strlen(objective.word)), levelTable[level].length);
        EXPECT_TRUE(dictIsWord(objective.word)) << objective.word;
    }
    levelNumber = 2;
    objectiveNew();
    EXPECT_EQ(objective.isWordObjective, 0);
    EXPECT_STREQ(objective.word, "");
}

TEST_F(LevelTest, WordLevelWithoutAWordOfItsLengthAsksForOneWordOfThatLength) {
    ASSERT_TRUE(playLoadWords({"star", "rats"}));  // no 3-letter word at all
    levelNumber = 1;
    objectiveNew();
    EXPECT_EQ(objective.isWordObjective, 0);
    EXPECT_EQ(objective.requiredLength, 3);
    EXPECT_EQ(objective.target, 1);
    EXPECT_STREQ(objective.word, "");
    EXPECT_EQ(objectiveString(OBJECTIVE_FORM_SHORT), "Make 1 3-letter word");
    objectiveNoteWord("ABC");
    EXPECT_TRUE(objectiveIsComplete());
}

TEST_F(LevelTest, CountObjectiveCountsOnlyWordsOfItsLength) {
    levelNumber = 0;
    objectiveNew();
    const char* words[] = {"CAT", "STAR", "DOG", "HEN", "CAPES", "PIG"};
    for (const char* w : words) objectiveNoteWord(w);
    EXPECT_EQ(objective.done, 4);
    EXPECT_FALSE(objectiveIsComplete());
    objectiveNoteWord("SUN");
    EXPECT_TRUE(objectiveIsComplete());
    objectiveNoteWord("BAT");
    EXPECT_EQ(objective.done, 6);
}

TEST_F(LevelTest, WordObjectiveIsMetOnlyByTheExactWordFromEitherPlayer) {
    objective = Objective{1, 3, 1, 0, "TAB"};
    objectiveNoteWord("BAT");  // the same letters
    objectiveNoteWord("TABS");
    EXPECT_FALSE(objectiveIsComplete());
    // The second player's word counts for the shared objective.
    wordAccept(1, "TAB");
    EXPECT_TRUE(objectiveIsComplete());
    EXPECT_EQ(objective.done, 1);
}

// Gauges that add nothing to the bonus: no drain gives 1 second, and 1 / 5 and 1 / 2 are 0.
void stillGauges() {
    lifeGauge.drainRate = 0.0f;
    dragGauge.drainRate = 0.0f;
}

TEST_F(LevelTest, BonusGrowsWithTheLevelAndRewardsSpeed) {
    stillGauges();
    struct Case {
        int32_t level;
        uint32_t frames;
        int32_t bonus;
    };
    const Case cases[] = {
        {0, 0, 210},      {0, 899, 210},     {0, 900, 110},    {0, 1799, 110},  {0, 1800, 60},
        {0, 3599, 60},    {0, 3600, 35},     {0, 7199, 35},    {0, 7200, 20},   {0, 17999, 20},
        {0, 18000, 10},   {0, 1000000, 10},  {7, 18000, 80},   {34, 900, 450},
    };
    for (const Case& c : cases) {
        levelNumber = c.level;
        playFrameCounter = c.frames;
        EXPECT_EQ(levelBonus(), c.bonus) << "level " << c.level << ", frames " << c.frames;
    }
}

TEST_F(LevelTest, BonusAddsAFifthOfTheTimerSecondsAndHalfTheDragBarSeconds) {
    // Level 0 within 15 seconds, LIFE 4500 at 0.75 a frame (100 s), Drag Bar 50 at 0.125 (6 s).
    levelNumber = 0;
    playFrameCounter = 600;
    lifeGauge.level = 4500.0f;
    lifeGauge.drainRate = 0.75f;
    dragGauge.level = 50.0f;
    dragGauge.drainRate = 0.125f;
    EXPECT_EQ(levelBonus(), 233);
}

TEST_F(LevelTest, AdvanceAwardsTheBonusMovesOnAndShowsTheIntro) {
    stillGauges();
    twoPlayer = 1;
    gameState = STATE_PLAYING;
    levelNumber = 3;
    playFrameCounter = 2000;  // 40 + 50
    playerState[1].score = 30;
    std::snprintf(gridMessageRows[0][0], GRID_MESSAGE_ROW_SIZE, "OLDROW0");
    levelAdvance(1);
    EXPECT_EQ(playerState[1].score, 120);
    EXPECT_EQ(playerState[0].score, 0);
    EXPECT_EQ(levelNumber, 4);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(objective.requiredLength, 5);
    EXPECT_EQ(objective.target, 3);
    EXPECT_STREQ(gridMessageRows[1][0], "LEVEL 4");
    EXPECT_STREQ(gridMessageRows[1][3], "0000120");
    // The other player's intro shows the next level too, with their own score.
    EXPECT_STREQ(gridMessageRows[0][0], "LEVEL 4");
    EXPECT_STREQ(gridMessageRows[0][3], "0000000");
}

TEST_F(LevelTest, AdvanceFromTheLastLevelRepeatsIt) {
    stillGauges();
    levelNumber = LEVEL_LAST;
    playFrameCounter = 20000;
    objective.done = 10;
    levelAdvance(0);
    EXPECT_EQ(levelNumber, 34);
    EXPECT_EQ(playerState[0].score, 350);
    EXPECT_EQ(objective.isWordObjective, 0);
    EXPECT_EQ(objective.requiredLength, 15);
    EXPECT_EQ(objective.target, 10);
    EXPECT_EQ(objective.done, 0);
    EXPECT_STREQ(gridMessageRows[0][0], "LEVEL34");
}

TEST_F(LevelTest, BannerRowsForTheFirstLevelAndForLaterLevels) {
    struct Case {
        int32_t level;
        int32_t score;
        const char* rows[GRID_MESSAGE_ROW_COUNT];
    };
    const Case cases[] = {
        {0, 0, {"WELCOME", "  TO   ", " TARVO ", "QUELMS ", "GOAL IS", "Make 5 3-letter words", "WORD ON"}},
        {1, 0, {"LEVEL 1", "SUCCESS", " SCORE ", "0000000", "GOAL IS", "Make 5 3-letter words", "WORD UP"}},
        {9, 120, {"LEVEL 9", "SUCCESS", " SCORE ", "0000120", "GOAL IS", "Make 5 3-letter words", "WORD UP"}},
        {10, 1234567, {"LEVEL10", "SUCCESS", " SCORE ", "1234567", "GOAL IS", "Make 5 3-letter words", "WORD UP"}},
        {34, 12345678, {"LEVEL34", "SUCCESS", " SCORE ", "12345678", "GOAL IS", "Make 5 3-letter words", "WORD UP"}},
    };
    for (const Case& c : cases) {
        objective = Objective{0, 3, 5, 0, ""};
        levelNumber = c.level;
        playerState[0].score = c.score;
        bannerCompose(0);
        for (int32_t r = 0; r < GRID_MESSAGE_ROW_COUNT; r++) {
            EXPECT_STREQ(gridMessageRows[0][r], c.rows[r]) << "level " << c.level << " row " << r;
        }
    }
}

TEST_F(LevelTest, BannerOfAWordLevelShowsTheWord) {
    objective = Objective{1, 3, 1, 0, "HEN"};
    levelNumber = 1;
    playerState[1].score = 44;
    bannerCompose(1);
    EXPECT_STREQ(gridMessageRows[1][0], "LEVEL 1");
    EXPECT_STREQ(gridMessageRows[1][3], "0000044");
    EXPECT_STREQ(gridMessageRows[1][5], "Make word: HEN");
}

const char* const fullGrid[GRID_SIZE] = {"KVWBKVW", "BKVWBKV", "WBKVWBK", "VWBKVWB", "KVWBKVW", "BKVWBKV", "WBKVWBK"};

TEST_F(LevelTest, LevelEndsOnlyOnTheFirstFallStepThatFindsTheGridFullAndSettled) {
    startPlaying();
    playSetGrid(0, fullGrid);
    objective.done = 5;
    wordgrid[0][4][2] = GRID_BLANK;
    gridStepTime[0] = 5000;

    // Within the fall interval nothing happens.
    frameInput.time = 5100;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    // The step that closes the gap and refills the top has found a blank.
    frameInput.time = 5101;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_FALSE(playGridHasBlank(0));
    EXPECT_EQ(levelNumber, 0);
    // The next due step finds the grid full.
    frameInput.time = 5202;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 1);
}

TEST_F(LevelTest, InATwoPlayerGameTheFirstGridToSettleOnceTheObjectiveIsMetCompletesTheLevel) {
    twoPlayer = 1;
    startPlaying();
    playSetGrid(0, fullGrid);
    playSetGrid(1, fullGrid);
    wordgrid[0][4][2] = GRID_BLANK;  // player 0's grid is still falling
    playerState[0].score = 40;
    objective.done = 5;
    frameInput.time = 9000;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    FallStep(1);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_GT(playerState[1].score, 0);  // the bonus is the settling player's
    EXPECT_EQ(playerState[0].score, 40);
    for (int32_t p = 0; p < MAX_PLAYERS; p++) EXPECT_STREQ(gridMessageRows[p][0], "LEVEL 1") << p;
    EXPECT_STREQ(gridMessageRows[0][3], "0000040");
}

TEST_F(LevelTest, FullGridWithTheObjectiveUnmetDoesNotEndTheLevel) {
    startPlaying();
    playSetGrid(0, fullGrid);
    objective.done = 4;
    frameInput.time = 9000;
    FallStep(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(levelNumber, 0);
}

TEST_F(LevelTest, NewGameStartsAtTheWelcomeWithTheHowToPlayTip) {
    // Left over from an earlier game.
    levelNumber = 7;
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        worldOffsetX[p] = 5 + p;
        worldOffsetY[p] = 9 + p;
        playerState[p].score = 999;
        playerState[p].wordRowCount = 12;
        playerState[p].recentWordCount = 40;
        playerState[p].bestWords[3].score = 77;
        pointerHeld[p] = 1;
        wordLength[p] = 4;
        highlightOn[p] = 1;
        dragModeOn[p] = 1;
        heldLeft[p] = heldDown[p] = 1;
    }
    for (uint8_t& shown : tipShown) shown = 1;

    frameInput.time = 1234;
    gameNew();

    EXPECT_EQ(levelNumber, 0);
    EXPECT_EQ(objective.target, 5);
    EXPECT_EQ(objective.requiredLength, 3);
    EXPECT_STREQ(gridMessageRows[0][0], "WELCOME");
    EXPECT_STREQ(gridMessageRows[0][5], "Make 5 3-letter words");
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        EXPECT_EQ(worldOffsetX[p], 0);
        EXPECT_EQ(worldOffsetY[p], 0);
        EXPECT_EQ(playerState[p].score, 0);
        EXPECT_EQ(playerState[p].wordRowCount, 0);
        EXPECT_EQ(playerState[p].recentWordCount, 0);
        EXPECT_EQ(playerState[p].bestWords[3].score, 0);
        EXPECT_EQ(pointerHeld[p], 0);
        EXPECT_EQ(wordLength[p], 0);
        EXPECT_EQ(highlightOn[p], 0);
        EXPECT_EQ(dragModeOn[p], 0);
        EXPECT_EQ(heldLeft[p] + heldDown[p], 0);
    }
    // Every shown flag of the last game is cleared, so the first tip opens over the intro.
    EXPECT_EQ(gameState, STATE_TIP);
    EXPECT_EQ(tipIndex, TIP_HOW_TO_PLAY);
    EXPECT_EQ(previousState, STATE_LEVEL_INTRO);
    for (int32_t t = 1; t < TIP_COUNT; t++) EXPECT_EQ(tipShown[t], 0) << t;

    // The generator is seeded with the tick count before the worlds are filled,
    // player 0's first.
    cmSrand(1234);
    for (int32_t r = 0; r < WORLD_SIZE; r++)
        for (int32_t c = 0; c < WORLD_SIZE; c++) ASSERT_EQ(letterWorld[0][r][c], RandomLetter()) << r << "," << c;
    for (int32_t y = 0; y < GRID_SIZE; y++) EXPECT_EQ(playGridRow(1, y), std::string(letterWorld[1][y], GRID_SIZE));
}

TEST_F(LevelTest, NewGameWithTheFirstTipSetAsideStaysInTheIntro) {
    tipDoNotShow[TIP_HOW_TO_PLAY] = 1;
    twoPlayer = 1;
    std::snprintf(gridMessageRows[1][0], GRID_MESSAGE_ROW_SIZE, "KEPT");
    gameNew();
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(tipShown[TIP_HOW_TO_PLAY], 0);
    // Both players' grids show the welcome.
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        EXPECT_STREQ(gridMessageRows[p][0], "WELCOME") << p;
        EXPECT_STREQ(gridMessageRows[p][5], "Make 5 3-letter words") << p;
    }
}

}  // namespace
