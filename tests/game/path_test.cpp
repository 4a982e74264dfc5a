#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "wordrules_fixture.h"

namespace {

class PathTest : public ::testing::Test {
protected:
    void SetUp() override {
        wordRulesReset();
        ASSERT_TRUE(wordRulesLoadWords({"cat", "cap", "caps", "slaps", "wow", "ab"}));
        setUpGrids();
    }

    static void setUpGrids() {
        const char* rows[GRID_SIZE] = {
            "CAT AWO",  // (3,0) is blank
            "PSLEEEE",
            "EPAEEEE",
            "EEEEEEE",
            "EEEEEEE",
            "EEEEEEE",
            "EEEEEEE",
        };
        wordRulesSetGrid(0, rows);
        wordRulesFillGrid(1, 'E');
    }
};

TEST_F(PathTest, NeighboursAreTheEightSurroundingCellsWithoutWrap) {
    struct Case { int32_t x0, y0, x1, y1; bool adjacent; };
    const Case cases[] = {
        {3, 3, 3, 4, true},  {3, 3, 4, 3, true},  {3, 3, 2, 2, true},  {3, 3, 4, 2, true},
        {3, 3, 3, 3, false}, {3, 3, 5, 4, false}, {3, 3, 5, 3, false}, {0, 2, 6, 2, false},
        {2, 0, 2, 6, false}, {0, 0, 6, 6, false}, {INT32_MIN, 0, INT32_MAX, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellsAdjacent(c.x0, c.y0, c.x1, c.y1), c.adjacent) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
}

TEST_F(PathTest, RowZeroShowsTheWordAndItsLiveValueOnceItIsAWord) {
    struct Step { int32_t x, y; const char* word; int32_t score; };
    const Step steps[] = {
        {0, 0, "C", 0}, {1, 0, "CA", 0}, {2, 0, "CAT", 8},
        {2, 0, "CAT", 8},   // the same cell again changes nothing
        {2, 1, "CATL", 0},
    };
    for (const Step& s : steps) {
        wordRulesSpell(0, {{s.x, s.y}});
        EXPECT_STREQ(playerState[0].recentWords[0], s.word);
        EXPECT_STREQ(wordLetters[0], s.word);
        EXPECT_EQ(wordLength[0], static_cast<int32_t>(std::strlen(s.word)));
        EXPECT_EQ(playerState[0].recentScores[0], s.score) << s.word;
        EXPECT_EQ(playerState[0].wordRowCount, 1);
    }
    EXPECT_EQ(pathX[0][3], 2);
    EXPECT_EQ(pathY[0][3], 1);
}

TEST_F(PathTest, SteppingBackUndoesSoALetterIsNeverUsedTwiceInARow) {
    // Back and forth between C and A never grows past two letters; W, O, W leaves W.
    const char* expected[4] = {"C", "CA", "C", "CA"};
    for (int i = 0; i < 4; i++) {
        wordRulesSpell(0, {{i % 2, 0}});
        EXPECT_STREQ(wordLetters[0], expected[i]) << "step " << i;
    }

    ClearWord(0);
    wordRulesSpell(0, {{5, 0}, {6, 0}, {5, 0}});
    EXPECT_STREQ(wordLetters[0], "W");
    EXPECT_EQ(wordLength[0], 1);
    EXPECT_STREQ(playerState[0].recentWords[0], "W");
}

TEST_F(PathTest, ACellMayBeUsedAgainLaterInTheWord) {
    // S L / P A in a 2 x 2 block: S, L, A, P, S spells SLAPS with one S twice.
    wordRulesSpell(0, {{1, 1}, {2, 1}, {2, 2}, {1, 2}, {1, 1}});
    EXPECT_STREQ(wordLetters[0], "SLAPS");
    EXPECT_EQ(playerState[0].recentScores[0], 30);

    FinishWord(0);
    int marked = 0;
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++) marked += vanishMark[0][y][x];
    EXPECT_EQ(marked, 4);
    EXPECT_EQ(vanishMark[0][1][1], 1);
    EXPECT_EQ(vanishPending[0], 1);
    EXPECT_EQ(playerState[0].score, 30);
    EXPECT_STREQ(playerState[0].recentWords[1], "SLAPS");
    EXPECT_EQ(playerState[0].recentWordCount, 1);
    // The path is emptied.
    EXPECT_EQ(wordLength[0], 0);
    EXPECT_EQ(highlightOn[0], 0);
    EXPECT_STREQ(playerState[0].recentWords[0], "");
    EXPECT_EQ(playerState[0].recentScores[0], 0);
}

TEST_F(PathTest, FifteenLettersAtMostAndTheFourteenthCellStillUndoes) {
    const std::pair<int32_t, int32_t> loop[4] = {{3, 3}, {4, 3}, {4, 4}, {3, 4}};
    for (int k = 0; k < 15; k++) wordRulesSpell(0, {loop[k % 4]});
    EXPECT_EQ(wordLength[0], 15);
    wordRulesSpell(0, {loop[15 % 4]});
    EXPECT_EQ(wordLength[0], 15);
    EXPECT_EQ(std::strlen(wordLetters[0]), 15u);
    EXPECT_EQ(std::strlen(playerState[0].recentWords[0]), 15u);
    // The 14th letter's cell removes the 15th.
    wordRulesSpell(0, {loop[13 % 4]});
    EXPECT_EQ(wordLength[0], 14);
    EXPECT_EQ(std::strlen(wordLetters[0]), 14u);
}

TEST_F(PathTest, WordsThroughABlankOrShorterThanThreeAreDropped) {
    struct Case { const char* name; std::vector<std::pair<int32_t, int32_t>> cells; const char* word; };
    const Case cases[] = {
        {"through the blank", {{1, 0}, {2, 0}, {3, 0}}, "AT "},
        {"blank in the middle", {{2, 0}, {3, 0}, {4, 0}}, "T A"},
        {"one letter", {{0, 0}}, "C"},
        {"two letters in the dictionary", {{4, 0}, {4, 1}}, "AE"},
        {"not a word", {{0, 0}, {0, 1}, {1, 2}}, "CPP"},
    };
    for (const Case& c : cases) {
        wordRulesReset();
        setUpGrids();
        wordRulesSpell(0, c.cells);
        EXPECT_STREQ(wordLetters[0], c.word) << c.name;
        highlightOn[0] = 1;
        FinishWord(0);
        EXPECT_EQ(playerState[0].score, 0) << c.name;
        EXPECT_EQ(playerState[0].recentWordCount, 0) << c.name;
        EXPECT_EQ(vanishPending[0], 0) << c.name;
        EXPECT_EQ(wordLength[0], 0) << c.name;
        EXPECT_EQ(highlightOn[0], 0) << c.name;
    }
}

TEST_F(PathTest, APathOfThreeOrMoreThatIsNotAWordIsKeptForTheRedMark) {
    struct Case {
        const char* name;
        std::vector<std::pair<int32_t, int32_t>> cells;
        bool refused;
    };
    const Case cases[] = {
        {"not a word", {{0, 0}, {0, 1}, {1, 2}}, true},
        {"through the blank", {{1, 0}, {2, 0}, {3, 0}}, true},
        {"four letters, a word's start", {{0, 0}, {1, 0}, {2, 0}, {2, 1}}, true},
        {"a word", {{0, 0}, {1, 0}, {2, 0}}, false},
        {"two letters", {{4, 0}, {4, 1}}, false},
        {"one letter", {{0, 0}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wordRulesReset();
        setUpGrids();
        frameInput.time = 7000;
        wordRulesSpell(0, c.cells);
        FinishWord(0);
        if (!c.refused) {
            EXPECT_EQ(notWordLength[0], 0);
            continue;
        }
        ASSERT_EQ(notWordLength[0], static_cast<int32_t>(c.cells.size()));
        for (size_t i = 0; i < c.cells.size(); i++) {
            EXPECT_EQ(notWordX[0][i], c.cells[i].first) << i;
            EXPECT_EQ(notWordY[0][i], c.cells[i].second) << i;
        }
        EXPECT_EQ(notWordTime[0], 7000u);
        EXPECT_EQ(notWordLength[1], 0);
    }
}

TEST_F(PathTest, TheRedMarkLastsHalfASecondAcrossTheTickCountsWrap) {
    for (uint32_t start : {7000u, 0xFFFFFF00u}) {
        SCOPED_TRACE(start);
        wordRulesReset();
        setUpGrids();
        frameInput.time = start;
        wordRulesSpell(1, {{0, 0}, {1, 1}, {2, 2}});
        FinishWord(1);
        ASSERT_EQ(notWordLength[1], 3);
        NotWordStep(1, start + 499);
        EXPECT_EQ(notWordLength[1], 3);
        NotWordStep(0, start + 600);  // the other player's step leaves it
        EXPECT_EQ(notWordLength[1], 3);
        NotWordStep(1, start + 500);
        EXPECT_EQ(notWordLength[1], 0);
    }
    // A later refusal replaces the earlier one and starts its own half second.
    frameInput.time = 1000;
    wordRulesSpell(0, {{0, 0}, {0, 1}, {1, 2}});
    FinishWord(0);
    frameInput.time = 1300;
    wordRulesSpell(0, {{6, 6}, {5, 5}, {4, 4}, {3, 3}});
    FinishWord(0);
    EXPECT_EQ(notWordLength[0], 4);
    EXPECT_EQ(notWordX[0][0], 6);
    NotWordStep(0, 1700);
    EXPECT_EQ(notWordLength[0], 4);
    NotWordStep(0, 1800);
    EXPECT_EQ(notWordLength[0], 0);
}

TEST_F(PathTest, TwoLetterWordsAreNeverLookedUp) {
    // AB is in the dictionary but too short to count.
    const char* rows[GRID_SIZE] = {"ABEEEEE", "EEEEEEE", "EEEEEEE", "EEEEEEE", "EEEEEEE", "EEEEEEE", "EEEEEEE"};
    wordRulesSetGrid(0, rows);
    wordRulesSpell(0, {{0, 0}, {1, 0}});
    EXPECT_EQ(playerState[0].recentScores[0], 0);
    FinishWord(0);
    EXPECT_EQ(playerState[0].recentWordCount, 0);
}

TEST_F(PathTest, EachPlayerHasItsOwnPath) {
    wordRulesSpell(0, {{0, 0}, {1, 0}, {2, 0}});
    wordRulesSpell(1, {{0, 0}, {1, 0}});
    EXPECT_STREQ(wordLetters[0], "CAT");
    EXPECT_STREQ(wordLetters[1], "EE");
    FinishWord(1);
    EXPECT_STREQ(wordLetters[0], "CAT");
    FinishWord(0);
    EXPECT_EQ(playerState[0].score, 8);
    EXPECT_EQ(playerState[1].score, 0);
    EXPECT_EQ(vanishPending[1], 0);
}

TEST_F(PathTest, CellsOffTheGridAndUnknownPlayersAreIgnored) {
    const std::pair<int32_t, int32_t> offGrid[] = {{-1, 0}, {0, -1}, {7, 0}, {0, 7}, {INT32_MAX, INT32_MIN}};
    for (const auto& cell : offGrid) wordRulesSpell(0, {cell});
    EXPECT_EQ(wordLength[0], 0);
    wordRulesSpell(0, {{0, 0}});
    for (const auto& cell : offGrid) wordRulesSpell(0, {cell});
    EXPECT_STREQ(wordLetters[0], "C");

    for (int32_t p : {-1, 2, INT32_MAX}) {
        AddLetter(p);
        RefreshWord(p);
        ClearWord(p);
        FinishWord(p);
    }
    EXPECT_STREQ(wordLetters[0], "C");
}

}  // namespace
