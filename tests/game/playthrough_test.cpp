#include <string>

#include "play_fixture.h"

namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;

// HEN across the top, STAR and PIG on the right, DOG down a diagonal, CAT and SUN
// along the bottom; the rest is filler that spells nothing.
const char* const levelGrid[GRID_SIZE] = {
    "HENKVWB",
    "KVWSTAR",
    "BKVWBKP",
    "DWBKVWI",
    "KOKWBKG",
    "VWGBKVW",
    "CATKSUN",
};

std::string progressText() {
    char text[OBJECTIVE_TEXT_SIZE];
    objectiveText(text, OBJECTIVE_FORM_PROGRESS);
    return text;
}

bool gridLettersValid() {
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++) {
            const char c = wordgrid[0][y][x];
            if (c != GRID_BLANK && (c < 'A' || c > 'Z')) return false;
        }
    return true;
}

class PlaythroughTest : public PlayTest {};

TEST_F(PlaythroughTest, TheFirstLevelPlayedWithThePointerAlone) {
    frameInput.time = 5000;
    gameNew();
    ASSERT_EQ(gameState, STATE_TIP);
    playClick(0, HOVER_CONTINUE);
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_STREQ(gridMessageRows[0][0], "WELCOME");
    playClick(0, HOVER_NONE);
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
    EXPECT_EQ(progressText(), "Make 3-letter words - done 0 of 5");

    playSetGrid(0, levelGrid);

    // CAT, with a jump over A on the way that adds nothing.
    playPressAt(0, 0, 6);
    playMoveTo(0, 2, 6);
    playMoveTo(0, 1, 6);
    playMoveTo(0, 2, 6);
    EXPECT_STREQ(playerState[0].recentWords[0], "CAT");
    EXPECT_EQ(playerState[0].recentScores[0], 8);  // the live value
    PointerRelease(0);
    EXPECT_EQ(playerState[0].score, 8);
    EXPECT_EQ(progressText(), "Make 3-letter words - done 1 of 5");

    // Too short, and not a word: dropped without effect.
    playSpell(0, {{3, 0}, {4, 0}});
    playSpell(0, {{3, 0}, {4, 0}, {5, 0}});
    EXPECT_EQ(playerState[0].score, 8);
    EXPECT_EQ(playerState[0].recentWordCount, 1);

    // A four-letter word scores but does not count toward three-letter words.
    playSpell(0, {{3, 1}, {4, 1}, {5, 1}, {6, 1}});
    EXPECT_EQ(playerState[0].score, 24);
    EXPECT_EQ(progressText(), "Make 3-letter words - done 1 of 5");

    playSpell(0, {{0, 3}, {1, 4}, {2, 5}});  // DOG, diagonally
    playSpell(0, {{6, 2}, {6, 3}, {6, 4}});  // PIG, downwards
    playSpell(0, {{4, 6}, {5, 6}, {6, 6}});  // SUN
    EXPECT_EQ(progressText(), "Make 3-letter words - done 4 of 5");
    EXPECT_FALSE(objectiveIsComplete());
    playSpell(0, {{0, 0}, {1, 0}, {2, 0}});  // HEN
    EXPECT_TRUE(objectiveIsComplete());
    EXPECT_EQ(gameState, STATE_PLAYING);  // not before the grid settles

    // The grid is frozen now: a press takes one letter, moves add none.
    playPressAt(0, 0, 1);
    playMoveTo(0, 1, 1);
    EXPECT_EQ(wordLength[0], 1);
    PointerRelease(0);

    // Score and word lists.
    const PlayerState& player = playerState[0];
    EXPECT_EQ(player.score, 58);
    EXPECT_EQ(player.recentWordCount, 6);
    EXPECT_EQ(player.wordRowCount, 7);
    const char* recent[] = {"HEN", "SUN", "PIG", "DOG", "STAR", "CAT"};
    const int32_t recentScores[] = {9, 7, 9, 9, 16, 8};
    for (int32_t i = 0; i < 6; i++) {
        EXPECT_STREQ(player.recentWords[i + 1], recent[i]);
        EXPECT_EQ(player.recentScores[i + 1], recentScores[i]);
    }
    // Equal scores keep the older word first.
    const char* best[] = {"STAR", "DOG", "PIG", "HEN", "CAT", "SUN"};
    for (int32_t i = 0; i < 6; i++) EXPECT_STREQ(player.bestWords[i].word, best[i]);
    EXPECT_EQ(player.bestWords[6].score, 0);

    // Gauges: five three-letter words and one of four letters.
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f + 5 * 270.0f + 540.0f);
    EXPECT_NEAR(lifeGauge.drainRate, 0.75f + 6 * 0.025f, 1e-5);
    EXPECT_FLOAT_EQ(dragGauge.level, 5 * 7.5f + 22.5f);
    EXPECT_FLOAT_EQ(cycleGauge.level, 5 * 5.0f + 10.0f);
    EXPECT_FALSE(dragStartAvailable());  // 60 of 180

    // Every letter of the six words is marked, and only those.
    int32_t marked = 0;
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++) marked += vanishMark[0][y][x];
    EXPECT_EQ(marked, 19);
    EXPECT_EQ(vanishPending[0], 1);

    // Frames of about 17 ms: the grid has been still since the game began, so the
    // words vanish at once; then letters fall and new ones come in at the top.
    playFrameCounter = 1000;
    bool vanished = false;
    bool firstFallChecked = false;
    bool fullWhilePlaying = false;
    int frame = 0;
    for (; frame < 3000 && gameState == STATE_PLAYING; frame++) {
        frameInput.time += 17;
        playFrameCounter += 1;
        VanishStep(0);
        if (!vanished) {
            ASSERT_EQ(vanishPending[0], 0);
            EXPECT_EQ(playGridRow(0, 0), "   KVWB");
            EXPECT_EQ(playGridRow(0, 1), "KVW    ");
            EXPECT_EQ(playGridRow(0, 3), " WBKVW ");
            EXPECT_EQ(playGridRow(0, 6), "   K   ");
            vanished = true;
        }
        const std::string bottomBefore = playGridRow(0, 6);
        FallStep(0);
        ASSERT_TRUE(gridLettersValid());
        if (!firstFallChecked && playGridRow(0, 6) != bottomBefore) {
            // Column 0 closes its lowest gap: everything above row 6 drops one row.
            EXPECT_EQ(wordgrid[0][6][0], 'V');
            EXPECT_EQ(wordgrid[0][5][0], 'K');
            EXPECT_EQ(wordgrid[0][4][0], GRID_BLANK);
            EXPECT_NE(wordgrid[0][0][0], GRID_BLANK);  // the one new letter, leftmost column
            EXPECT_EQ(wordgrid[0][0][1], GRID_BLANK);
            firstFallChecked = true;
        }
        if (gameState == STATE_PLAYING && !playGridHasBlank(0)) fullWhilePlaying = true;
        if (gameState != STATE_PLAYING) {
            EXPECT_FALSE(playGridHasBlank(0));
        }
    }
    ASSERT_EQ(gameState, STATE_LEVEL_INTRO) << "after " << frame << " frames";
    EXPECT_TRUE(firstFallChecked);
    // The step that put the last letter in found a blank; the level ended on the next one.
    EXPECT_TRUE(fullWhilePlaying);
    ASSERT_LT(playFrameCounter, 1800u);

    // Bonus: 10 for level 0, 100 for under 30 seconds, 146 seconds of timer / 5,
    // 8 seconds of Drag Bar / 2.
    EXPECT_EQ(playerState[0].score, 58 + 143);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(objective.isWordObjective, 1);
    EXPECT_EQ(std::strlen(objective.word), 3u);
    EXPECT_TRUE(dictIsWord(objective.word));
    const std::string goal = std::string("Make word: ") + objective.word;
    const char* rows[GRID_MESSAGE_ROW_COUNT] = {"LEVEL 1", "SUCCESS", " SCORE ", "0000201", "GOAL IS", goal.c_str(),
                                                "WORD UP"};
    for (int32_t r = 0; r < GRID_MESSAGE_ROW_COUNT; r++) EXPECT_STREQ(gridMessageRows[0][r], rows[r]) << r;

    // The next press starts level 1 with fresh gauges.
    playClick(0, HOVER_GRID);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(playFrameCounter, 0u);
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
    EXPECT_FLOAT_EQ(dragGauge.level, 0.0f);
    EXPECT_EQ(progressText(), goal);
    EXPECT_EQ(wordLength[0], 0);
}

}  // namespace
