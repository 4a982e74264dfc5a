#include <string>

#include "play_fixture.h"

namespace {

class DragTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        startPlaying();
    }
    // The Drag Bar at `level` of its full level, Drag Mode on for player p.
    void dragOn(int32_t p, float level) {
        dragGauge.level = level;
        playClick(p, HOVER_UPPER_BUTTON);
        ASSERT_TRUE(dragModeActive());
        ASSERT_EQ(dragModeOn[p], 1);
    }
};

TEST_F(DragTest, LevelStartPresetsTheThreeGauges) {
    dragGauge.level = 77.0f;
    dragGauge.fullLevel = 300.0f;
    lifeGauge.level = 12.0f;
    gaugesLevelStart();
    EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
    EXPECT_FLOAT_EQ(lifeGauge.fullLevel, 10000.0f);
    EXPECT_FLOAT_EQ(lifeGauge.drainRate, 0.75f);
    EXPECT_EQ(lifeGauge.running, 1);
    EXPECT_FLOAT_EQ(dragGauge.level, 0.0f);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 180.0f);
    EXPECT_FLOAT_EQ(dragGauge.drainRate, 0.125f);
    EXPECT_EQ(dragGauge.running, 0);
    EXPECT_FLOAT_EQ(cycleGauge.level, 0.0f);
    EXPECT_FLOAT_EQ(cycleGauge.fullLevel, 200.0f);
    EXPECT_EQ(cycleGauge.running, 0);
    // About 133 seconds of timer before any word.
    EXPECT_EQ(gaugeSecondsLeft(lifeGauge), 133);
}

TEST_F(DragTest, StartIsAvailableFromHalfTheFullLevelWhilePlayingAndIdle) {
    struct Case {
        const char* name;
        int32_t state;
        float level;
        uint8_t running;
        int32_t drainTicks;
        bool available;
    };
    const Case cases[] = {
        {"just under half", STATE_PLAYING, 89.9f, 0, 0, false},
        {"exactly half", STATE_PLAYING, 90.0f, 0, 0, true},
        {"full", STATE_PLAYING, 180.0f, 0, 0, true},
        {"already running", STATE_PLAYING, 180.0f, 1, 0, false},
        {"still holding after a stop", STATE_PLAYING, 180.0f, 0, 1, false},
        {"level intro", STATE_LEVEL_INTRO, 180.0f, 0, 0, false},
        {"turning the world", STATE_TURN_WORLD, 180.0f, 0, 0, false},
        {"tip open", STATE_TIP, 180.0f, 0, 0, false},
    };
    for (const Case& c : cases) {
        gameState = c.state;
        dragGauge.level = c.level;
        dragGauge.running = c.running;
        dragGauge.drainTicks = c.drainTicks;
        EXPECT_EQ(dragStartAvailable(), c.available) << c.name;
        // START DRAG does just what availability says.
        dragModeOn[0] = 0;
        dragModeStart(0);
        EXPECT_EQ(dragModeOn[0] == 1, c.available) << c.name;
    }
}

TEST_F(DragTest, OneMoreThreeLetterWordMakesDragModeAvailable) {
    dragGauge.level = 89.9f;
    playClick(0, HOVER_UPPER_BUTTON);
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_FALSE(dragModeActive());
    wordAccept(0, "CAT");  // 0.5 x 15 = 7.5
    EXPECT_FLOAT_EQ(dragGauge.level, 97.4f);
    playClick(0, HOVER_UPPER_BUTTON);
    EXPECT_EQ(dragModeOn[0], 1);
    EXPECT_TRUE(dragModeActive());
    EXPECT_FALSE(dragStartAvailable());
}

TEST_F(DragTest, StopDragHoldsTheBarFor30FramesAndGrowsItsFullLevel) {
    dragOn(0, 180.0f);
    playClick(0, HOVER_LOWER_BUTTON);
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_FALSE(dragModeActive());
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 220.0f);
    EXPECT_EQ(dragGauge.drainTicks, 30);
    for (int frame = 1; frame < 30; frame++) {
        gaugeTick(dragGauge);
        playClick(0, HOVER_UPPER_BUTTON);
        ASSERT_EQ(dragModeOn[0], 0) << "frame " << frame;
    }
    gaugeTick(dragGauge);
    // 3.75 units drained over the hold; 176.25 is at least half of 220.
    EXPECT_FLOAT_EQ(dragGauge.level, 176.25f);
    gaugeTick(dragGauge);
    EXPECT_FLOAT_EQ(dragGauge.level, 176.25f);
    playClick(0, HOVER_UPPER_BUTTON);
    EXPECT_EQ(dragModeOn[0], 1);
}

TEST_F(DragTest, AfterTheHoldTheBarMustReachHalfItsGrownFullLevel) {
    dragOn(0, 112.0f);
    playClick(0, HOVER_LOWER_BUTTON);
    for (int frame = 0; frame < 30; frame++) gaugeTick(dragGauge);
    // 108.25 of 220: under half.
    EXPECT_FALSE(dragStartAvailable());
    wordAccept(0, "CAT");
    EXPECT_TRUE(dragStartAvailable());
}

TEST_F(DragTest, StopDragOutsideDragModeOnlyLeavesADebugLine) {
    dragGauge.level = 150.0f;
    playClick(0, HOVER_LOWER_BUTTON);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 180.0f);
    EXPECT_EQ(dragGauge.drainTicks, 0);
    EXPECT_NE(std::string(headless.debugText, headless.debugTextLength).find("point at stop drag but can't"),
              std::string::npos);
}

TEST_F(DragTest, CarryingALetterAlongARowShiftsThePassedLettersBack) {
    const char* const rows[GRID_SIZE] = {"ABCDEFG", "HIJKLMN", "OPQRSTU", "VWXYZAB", "CDEFGHI", "JKLMNOP", "QRSTUVW"};
    playSetGrid(0, rows);
    dragOn(0, 180.0f);
    playPressAt(0, 0, 2);
    EXPECT_EQ(wordLength[0], 0);  // no word is started in Drag Mode
    EXPECT_EQ(highlightOn[0], 1);
    for (int32_t x = 1; x < GRID_SIZE; x++) playMoveTo(0, x, 2);
    EXPECT_EQ(playGridRow(0, 2), "PQRSTUO");
    EXPECT_EQ(prevCellX[0], 6);
    PointerRelease(0);
    EXPECT_EQ(highlightOn[0], 0);
    EXPECT_EQ(dragModeOn[0], 1);  // Drag Mode stays on
    EXPECT_EQ(playerState[0].recentWordCount, 0);

    // The next press carries another letter, here down a column.
    playPressAt(0, 3, 0);
    playMoveTo(0, 3, 1);
    playMoveTo(0, 4, 2);  // diagonal
    PointerRelease(0);
    EXPECT_EQ(playGridRow(0, 0), "ABCKEFG");
    EXPECT_EQ(playGridRow(0, 1), "HIJTLMN");
    EXPECT_EQ(playGridRow(0, 2), "PQRSDUO");
}

TEST_F(DragTest, AJumpingCursorTradesDistantCells) {
    const char* const rows[GRID_SIZE] = {"ABCDEFG", "HIJKLMN", "OPQRSTU", "VWXYZAB", "CDEFGHI", "JKLMNOP", "QRSTUVW"};
    playSetGrid(0, rows);
    wordgrid[0][6][6] = GRID_BLANK;
    dragOn(0, 180.0f);
    playPressAt(0, 0, 0);
    playMoveTo(0, 6, 0);  // the keyboard cursor wrapping from one edge to the other
    EXPECT_EQ(playGridRow(0, 0), "GBCDEFA");
    playMoveTo(0, 6, 6);  // a swap may involve a blank
    EXPECT_EQ(playGridRow(0, 0), "GBCDEF ");
    EXPECT_EQ(wordgrid[0][6][6], 'A');
}

TEST_F(DragTest, CarriedLettersStayPutOnceTheObjectiveIsMet) {
    const char* const rows[GRID_SIZE] = {"ABCDEFG", "HIJKLMN", "OPQRSTU", "VWXYZAB", "CDEFGHI", "JKLMNOP", "QRSTUVW"};
    playSetGrid(0, rows);
    dragOn(0, 180.0f);
    objective.done = objective.target;
    playPressAt(0, 0, 0);
    playMoveTo(0, 1, 0);
    EXPECT_EQ(playGridRow(0, 0), "ABCDEFG");
}

TEST_F(DragTest, DragModeBelongsToThePlayerWhoStartedIt) {
    twoPlayer = 1;
    const char* const rows[GRID_SIZE] = {"CATKVWB", "KVWBKVW", "BKVWBKV", "WBKVWBK", "VWBKVWB", "KVWBKVW", "BKVWBKV"};
    playSetGrid(0, rows);
    playSetGrid(1, rows);
    dragOn(1, 180.0f);
    // Player 0 still spells words while player 1 carries letters.
    playSpell(0, {{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(playerState[0].recentWordCount, 1);
    EXPECT_STREQ(playerState[0].recentWords[1], "CAT");
    playSpell(1, {{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(playerState[1].recentWordCount, 0);
    EXPECT_EQ(playGridRow(1, 0), "ATCKVWB");
    // The prompt follows player 0.
    EXPECT_EQ(promptChoose(), 1);
}

TEST_F(DragTest, TheOtherPlayerJoinsTheRunningBarAndOnlyTheLastToLeaveStopsIt) {
    twoPlayer = 1;
    dragOn(0, 180.0f);
    EXPECT_FALSE(dragStartAvailable());
    EXPECT_FALSE(dragStartAvailableFor(0));
    EXPECT_TRUE(dragStartAvailableFor(1));
    playClick(1, HOVER_UPPER_BUTTON);
    EXPECT_EQ(dragModeOn[1], 1);
    EXPECT_FLOAT_EQ(dragGauge.level, 180.0f);  // joining costs nothing more

    // STOP DRAG ends only its own player's Drag Mode while the other is in it.
    playClick(0, HOVER_LOWER_BUTTON);
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_EQ(dragModeOn[1], 1);
    EXPECT_TRUE(dragModeActive());
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 180.0f);
    EXPECT_EQ(dragGauge.drainTicks, 0);
    // A player not in Drag Mode stops nothing.
    playClick(0, HOVER_LOWER_BUTTON);
    EXPECT_EQ(dragModeOn[1], 1);
    EXPECT_TRUE(dragModeActive());
    // The one who left may join again, but only in play.
    EXPECT_TRUE(dragStartAvailableFor(0));
    gameState = STATE_TIP;
    EXPECT_FALSE(dragStartAvailableFor(0));
    gameState = STATE_PLAYING;

    // The last one out stops the bar, with its growth and hold.
    playClick(1, HOVER_LOWER_BUTTON);
    EXPECT_EQ(dragModeOn[1], 0);
    EXPECT_FALSE(dragModeActive());
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 220.0f);
    EXPECT_EQ(dragGauge.drainTicks, dragStopTicks);
    EXPECT_FALSE(dragStartAvailableFor(0));
    EXPECT_FALSE(dragStartAvailableFor(1));
}

TEST_F(DragTest, TheDragModeKeyTurnsAHeldWordIntoACarryOfTheLetterUnderTheCursorAndPutsItDownToStop) {
    const char* const rows[GRID_SIZE] = {"ABCDEFG", "HIJKLMN", "OPQRSTU", "VWXYZAB", "CDEFGHI", "JKLMNOP", "QRSTUVW"};
    playSetGrid(0, rows);
    dragGauge.level = 180.0f;
    playPressAt(0, 0, 0);
    playMoveTo(0, 1, 0);
    playMoveTo(0, 3, 2);  // a jump: the word stays "AB"
    ASSERT_EQ(wordLength[0], 2);
    dragModeToggle(0);
    EXPECT_EQ(dragModeOn[0], 1);
    EXPECT_EQ(wordLength[0], 0);
    EXPECT_STREQ(playerState[0].recentWords[0], "");
    EXPECT_EQ(highlightOn[0], 1);
    playMoveTo(0, 4, 2);
    EXPECT_EQ(playGridRow(0, 2), "OPQSRTU");
    EXPECT_EQ(playGridRow(0, 0), "ABCDEFG");

    dragModeToggle(0);
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_FALSE(dragModeActive());
    EXPECT_EQ(highlightOn[0], 0);
    // The press is still held, but carries and spells nothing until released.
    playMoveTo(0, 5, 2);
    EXPECT_EQ(playGridRow(0, 2), "OPQSRTU");
    EXPECT_EQ(wordLength[0], 0);
    PointerRelease(0);
    EXPECT_EQ(playerState[0].recentWordCount, 0);
}

TEST_F(DragTest, ANewLevelEmptiesARunningBarWithoutStoppingIt) {
    dragOn(0, 150.0f);
    gaugesLevelStart();
    EXPECT_TRUE(dragModeActive());
    EXPECT_FLOAT_EQ(dragGauge.level, 0.0f);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 180.0f);
    EXPECT_TRUE(gaugeIsEmpty(dragGauge));
}

}  // namespace
