// What the player sees of the words on the board, in whole frames over the
// headless backend: the line under each grid in the next level's intro and at
// game over, and the hint the H key buys.
#include <string>
#include <vector>

#include "flow/gridwords.h"
#include "flow/layout.h"
#include "flow/screens.h"
#include "game/objective.h"
#include "game/solver.h"
#include "tests/flow/flowfixture.h"
#include "video/drawrecord.h"
#include "video/sprite.h"

namespace {

constexpr uint32_t KEY_HINT = 'H';
constexpr const char* QS = "QQQQQQQ";

class GridWords : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        writeFile("worddiction.txt", "star\r\nrats\r\ntab\r\nbat\r\ndog\r\ncat\r\nhen\r\nsteam\r\n");
        ASSERT_TRUE(dictLoad());
        dictIndexBuild();
        gridTotalLetterWeights();
        // The tips have their own tests; here they would only stand in the way.
        for (uint8_t& flag : tipDoNotShow) flag = 1;
        headlessSetTicksPerFlip(16);
    }

    // STAR, RATS, TAB, BAT and DOG: RATS is the best (16, alphabetically
    // before STAR), from R at (3, 0) and A at (2, 0).
    static void fiveWordGrid(int32_t p) { setGrid(p, {"STARQQQ", "QQBQQQQ", "DOGQQQQ", QS, QS, QS, QS}); }
    static void setGrid(int32_t p, const std::vector<std::string>& rows) {
        for (int32_t y = 0; y < GRID_SIZE; y++) std::memcpy(wordgrid[p][y], rows[static_cast<size_t>(y)].data(), GRID_SIZE);
    }

    // Every copy of one whole frame.
    static std::vector<DrawCopy> frameCopies() {
        headlessClearCopies();
        frameWithButton(false);
        std::vector<DrawCopy> out;
        for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
            const HeadlessCopy& c = headless.copies[i];
            out.push_back(DrawCopy{c.x, c.y, c.left, c.top, c.right, c.bottom});
        }
        return out;
    }

    // Where a line of small text centred on x starts.
    static int32_t centredLeft(const char* text, int32_t x) {
        return x - static_cast<int32_t>(std::strlen(text)) * TXT_SMALL_ADVANCE / 2;
    }

    static DrawCopy hintMark(int32_t p, int32_t c, int32_t r) {
        return drawCopy(scrCellX(p, c) - 2, scrCellY(r) - 2, sheetCellMark(SHEET_MARK_WHITE));
    }
    static bool has(const std::vector<DrawCopy>& copies, const DrawCopy& c) { return drawIndexOf(copies, c) != -1; }
};

TEST_F(GridWords, TheNextIntroTellsTheBestWordTheEndedLevelsGridHeldAndHowManyClearOfTheObjective) {
    startPlay();
    fiveWordGrid(0);
    keyDown(VK_G);
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO);
    const std::vector<DrawCopy> copies = frameCopies();
    const LayoutText& at = LAYOUT_ONE_PLAYER.players[0].gridWords.line;
    EXPECT_TRUE(drawHasSmallText(copies, "BEST: RATS 16 - 5 WORDS", at.x, at.y));
    // The objective stands in the intro's own line and in the HUD.
    char goal[OBJECTIVE_TEXT_SIZE];
    objectiveText(goal, OBJECTIVE_FORM_PROGRESS);
    EXPECT_TRUE(drawHasSmallText(copies, goal, 50, 413)) << goal;
    EXPECT_TRUE(drawHasSmallText(copies, gridMessageRows[0][5], 155, 219)) << gridMessageRows[0][5];

    // Into the level: the line goes.
    frameWithMouseAt(300, 100, true);
    frameWithButton(false);
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_FALSE(drawHasSmallText(frameCopies(), "BEST: RATS 16 - 5 WORDS", at.x, at.y));
}

TEST_F(GridWords, GameOverTellsWhatTheFinalGridHeldAndAGridWithoutAWordSaysSo) {
    startPlay();
    fiveWordGrid(0);
    keyDown(VK_G);
    frameWithMouseAt(300, 100, true);
    frameWithButton(false);
    ASSERT_EQ(gameState, STATE_PLAYING);
    // The grid the game ends on holds one word.
    setGrid(0, {QS, QS, QS, "QQQHENQ", QS, QS, QS});
    keyDown(VK_ESCAPE);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    const LayoutText& at = LAYOUT_ONE_PLAYER.players[0].gridWords.line;
    EXPECT_TRUE(drawHasSmallText(frameCopies(), "BEST: HEN 9 - 1 WORD", at.x, at.y));

    // A new game; its first level ends on a grid without a word.
    keyDown(VK_F1);
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_FALSE(drawHasSmallText(frameCopies(), "BEST: HEN 9 - 1 WORD", at.x, at.y));
    frameWithMouseAt(300, 100, true);
    frameWithButton(false);
    setGrid(0, {QS, QS, QS, QS, QS, QS, QS});
    keyDown(VK_G);
    EXPECT_TRUE(drawHasSmallText(frameCopies(), "NO WORD ON THE GRID", at.x, at.y));
}

TEST_F(GridWords, TwoPlayersEachSeeTheirOwnGridsWordsOnTwoLinesInPlaceOfTheirOldestRecentWords) {
    twoPlayer = 1;
    startPlay();
    fiveWordGrid(0);
    setGrid(1, {"HENQQQQ", "QSTEAMQ", QS, QS, QS, QS, QS});
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        PlayerState& ps = playerState[p];
        ps.wordRowCount = 7;
        for (int32_t i = 0; i < 7; i++) std::snprintf(ps.recentWords[i], WORD_ROW_CHARS, "OLD%d", i);
    }
    keyDown(VK_G);
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO);
    std::vector<DrawCopy> copies = frameCopies();
    struct Lines {
        const char* best;
        const char* count;
    } lines[MAX_PLAYERS] = {{"BEST: RATS 16", "5 WORDS"}, {"BEST: STEAM 33", "2 WORDS"}};
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        const LayoutPlayer& at = LAYOUT_TWO_PLAYER.players[p];
        const LayoutText& line = at.gridWords.line;
        EXPECT_TRUE(drawHasSmallText(copies, lines[p].best, centredLeft(lines[p].best, line.x), line.y)) << p;
        EXPECT_TRUE(drawHasSmallText(copies, lines[p].count, centredLeft(lines[p].count, line.x),
                                     line.y + at.gridWords.secondLineDy))
            << p;
        for (int32_t i = 0; i < 7; i++) {
            char word[8];
            std::snprintf(word, sizeof word, "OLD%d", i);
            const int32_t y = at.recent.top + at.recent.pitch * i;
            EXPECT_EQ(drawHasSmallText(copies, word, at.recent.wordRight - 32, y), i < 5) << p << " " << word;
        }
    }

    // In play the list has all its rows again.
    frameWithMouseAt(300, 100, true);
    frameWithButton(false);
    ASSERT_EQ(gameState, STATE_PLAYING);
    copies = frameCopies();
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        const LayoutPlayer& at = LAYOUT_TWO_PLAYER.players[p];
        EXPECT_TRUE(drawHasSmallText(copies, "OLD6", at.recent.wordRight - 32, at.recent.top + at.recent.pitch * 6));
        EXPECT_FALSE(drawHasSmallText(copies, lines[p].best, centredLeft(lines[p].best, at.gridWords.line.x),
                                      at.gridWords.line.y));
    }
}

TEST_F(GridWords, HLightsTheBestWordsFirstTwoLettersForTwoSecondsAndTakesATenthOfTheLevelBonus) {
    startPlay();
    fiveWordGrid(0);
    frameWithButton(false);
    const int32_t bonus = levelBonus();
    const uint32_t randomState = cmRandState();
    keyDown(KEY_HINT);
    keyUp(KEY_HINT);
    EXPECT_EQ(levelBonus(), bonus - bonus / 10);
    EXPECT_EQ(cmRandState(), randomState) << "the hint drew a random number";

    std::vector<DrawCopy> copies = frameCopies();
    EXPECT_TRUE(has(copies, hintMark(0, 3, 0)));
    EXPECT_TRUE(has(copies, hintMark(0, 2, 0)));
    // Under the letters, as the path's marks are.
    EXPECT_LT(drawIndexOf(copies, hintMark(0, 3, 0)), drawIndexOf(copies, drawCopy(scrCellX(0, 3), scrCellY(0), sheetBigLetter('R' - 'A'))));
    char shown[16];
    std::snprintf(shown, sizeof shown, "%d", levelBonus());
    EXPECT_TRUE(drawHasSmallText(copies, shown, 50, 241)) << shown;

    // A second press while it is lit buys nothing.
    const int32_t left = levelBonus();
    keyDown(KEY_HINT);
    EXPECT_EQ(levelBonus(), left);

    // 16 ms a frame: lit until two seconds have passed since the press.
    const uint32_t pressed = solverHintTime[0];
    while (platGetTickCount() - pressed + 16 < SOLVER_HINT_MS) frameWithButton(false);
    EXPECT_TRUE(has(frameCopies(), hintMark(0, 3, 0)));
    frameWithButton(false);
    copies = frameCopies();
    EXPECT_FALSE(has(copies, hintMark(0, 3, 0)));
    EXPECT_FALSE(has(copies, hintMark(0, 2, 0)));
}

TEST_F(GridWords, HDoesNothingOutsidePlay) {
    startPlay();
    fiveWordGrid(0);
    keyDown(VK_P);
    ASSERT_TRUE(paused);
    const int32_t bonus = levelBonus();
    keyDown(KEY_HINT);
    EXPECT_EQ(solverHintCells[0], 0);
    EXPECT_EQ(levelBonus(), bonus);
    keyDown(VK_P);

    keyDown(VK_G);
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO);
    keyDown(KEY_HINT);
    EXPECT_EQ(solverHintCells[0], 0);
    EXPECT_FALSE(has(frameCopies(), hintMark(0, 3, 0)));
}

TEST_F(GridWords, HHintsOnBothGridsOfATwoPlayerGameForOneTenth) {
    twoPlayer = 1;
    startPlay();
    fiveWordGrid(0);
    setGrid(1, {QS, QS, QS, QS, QS, "QQQQHEN", QS});
    frameWithButton(false);
    const int32_t bonus = levelBonus();
    keyDown(KEY_HINT);
    EXPECT_EQ(levelBonus(), bonus - bonus / 10);
    const std::vector<DrawCopy> copies = frameCopies();
    EXPECT_TRUE(has(copies, hintMark(0, 3, 0)));
    EXPECT_TRUE(has(copies, hintMark(0, 2, 0)));
    EXPECT_TRUE(has(copies, hintMark(1, 4, 5)));
    EXPECT_TRUE(has(copies, hintMark(1, 5, 5)));
}

}  // namespace
