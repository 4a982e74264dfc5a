#include <string>

#include "flow/frame.h"
#include "game/turnworld.h"
#include "play_fixture.h"
#include "video/display.h"
#include "video/sheetlayout.h"

namespace {

const char* const catRows[GRID_SIZE] = {"CATKVWB", "KVWBKVW", "BKVWBKV", "WBKVWBK", "VWBKVWB", "KVWBKVW", "BKVWBKV"};

class PointerTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        startPlaying();
        playSetGrid(0, catRows);
    }
};

TEST_F(PointerTest, APressActsOnceUntilItIsReleased) {
    playPressAt(0, 0, 0);
    EXPECT_EQ(pointerHeld[0], 1);
    EXPECT_EQ(wordLength[0], 1);
    PointerPress(0);
    EXPECT_EQ(wordLength[0], 1);
    EXPECT_STREQ(wordLetters[0], "C");
}

TEST_F(PointerTest, APressBesideTheGridIsOfferedAgainSoSlidingOntoACellStartsAWord) {
    frameInput.players[0].hoverTarget = HOVER_NONE;
    PointerPress(0);
    EXPECT_EQ(pointerHeld[0], 0);
    // The frame presses again while the button is down; now over the grid.
    playPressAt(0, 1, 0);
    EXPECT_EQ(pointerHeld[0], 1);
    EXPECT_STREQ(wordLetters[0], "A");
}

TEST_F(PointerTest, APressInTheIntroEntersTheLevelWhateverItIsOver) {
    const int32_t targets[] = {HOVER_NONE, HOVER_GRID, HOVER_UPPER_BUTTON, HOVER_LOWER_BUTTON};
    for (int32_t target : targets) {
        gameState = STATE_LEVEL_INTRO;
        levelNumber = 0;
        playFrameCounter = 99;
        dragGauge.level = 170.0f;
        frameInput.players[0].hoverTarget = target;
        cursorX[0] = 1;
        PointerPress(0);
        EXPECT_EQ(gameState, STATE_PLAYING) << target;
        EXPECT_EQ(playFrameCounter, 0u);
        EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
        EXPECT_FLOAT_EQ(dragGauge.level, 0.0f);  // START DRAG was not pressed
        EXPECT_EQ(dragModeOn[0], 0);
        EXPECT_EQ(wordLength[0], 0) << target;  // never starts a word
        EXPECT_EQ(pointerHeld[0], 1);
        PointerRelease(0);
    }
}

TEST_F(PointerTest, AJumpAddsNothingAndTheWordGoesOnFromTheLastAcceptedCell) {
    playPressAt(0, 0, 0);
    playMoveTo(0, 2, 0);  // over one cell
    EXPECT_STREQ(wordLetters[0], "C");
    EXPECT_EQ(prevCellX[0], 0);
    playMoveTo(0, 1, 1);  // next to C again
    EXPECT_STREQ(wordLetters[0], "CV");
    playMoveTo(0, 1, 0);
    playMoveTo(0, 2, 0);
    EXPECT_STREQ(wordLetters[0], "CVAT");
}

TEST_F(PointerTest, ReleaseChecksTheWord) {
    playSpell(0, {{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(playerState[0].score, 8);
    EXPECT_STREQ(playerState[0].recentWords[1], "CAT");
    EXPECT_EQ(vanishMark[0][0][1], 1);
    EXPECT_EQ(wordLength[0], 0);
    EXPECT_EQ(highlightOn[0], 0);
    EXPECT_EQ(pointerHeld[0], 0);
    EXPECT_EQ(objective.done, 1);
}

TEST_F(PointerTest, MovesAreIgnoredOnceTheObjectiveIsMet) {
    objective.done = objective.target;
    playPressAt(0, 0, 0);
    playMoveTo(0, 1, 0);
    EXPECT_STREQ(wordLetters[0], "C");
    PointerRelease(0);
    EXPECT_EQ(playerState[0].recentWordCount, 0);
}

TEST_F(PointerTest, EveryMoveStampsItsTimeWhateverTheState) {
    const int32_t states[] = {STATE_GAME_OVER, STATE_PLAYING, STATE_LEVEL_INTRO, STATE_TURN_WORLD, STATE_TIP,
                              STATE_NO_DICTIONARY};
    uint32_t now = 7000;
    for (int32_t state : states) {
        gameState = state;
        frameInput.time = now;
        playMoveTo(0, (cursorX[0] + 1) % GRID_SIZE, 3);
        EXPECT_EQ(lastMoveTime[0], now) << state;
        now += 333;
    }
}

TEST_F(PointerTest, TheMissingDictionaryScreenTakesOneLetterPerPress) {
    gameState = STATE_NO_DICTIONARY;
    playPressAt(0, 0, 0);
    playMoveTo(0, 1, 0);
    EXPECT_STREQ(playerState[0].recentWords[0], "C");
    PointerRelease(0);
    EXPECT_STREQ(playerState[0].recentWords[0], "");
    EXPECT_EQ(gameState, STATE_NO_DICTIONARY);
}

TEST_F(PointerTest, TipButtonsReturnToTheStateBefore) {
    struct Case {
        int32_t target;
        int32_t state;
        uint8_t doNotShow;
    };
    const Case cases[] = {
        {HOVER_CONTINUE, STATE_PLAYING, 0},
        {HOVER_DO_NOT_SHOW, STATE_PLAYING, 1},
        {HOVER_GRID, STATE_TIP, 0},
        {HOVER_LOWER_BUTTON, STATE_TIP, 0},
        {HOVER_NONE, STATE_TIP, 0},
    };
    for (const Case& c : cases) {
        tipsClear();
        gameState = STATE_PLAYING;
        ASSERT_TRUE(tipShowIfAllowed(TIP_DRAG_AVAILABLE));
        frameInput.players[0].hoverTarget = c.target;
        PointerPress(0);
        EXPECT_EQ(pointerHeld[0], 1) << c.target;
        EXPECT_EQ(gameState, c.state) << c.target;
        EXPECT_EQ(tipDoNotShow[TIP_DRAG_AVAILABLE], c.doNotShow) << c.target;
        EXPECT_EQ(wordLength[0], 0);
        PointerRelease(0);
    }
}

TEST_F(PointerTest, ATipOpensOnceAGameAndNeverWhenSetAside) {
    gameState = STATE_PLAYING;
    EXPECT_TRUE(tipShowIfAllowed(TIP_DRAG_AVAILABLE));
    EXPECT_EQ(gameState, STATE_TIP);
    EXPECT_EQ(tipIndex, TIP_DRAG_AVAILABLE);
    EXPECT_EQ(previousState, STATE_PLAYING);
    gameState = STATE_PLAYING;
    EXPECT_FALSE(tipShowIfAllowed(TIP_DRAG_AVAILABLE));
    EXPECT_EQ(gameState, STATE_PLAYING);

    tipDoNotShow[TIP_DRAG_RUNNING] = 1;
    EXPECT_FALSE(tipShowIfAllowed(TIP_DRAG_RUNNING));
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(tipShown[TIP_DRAG_RUNNING], 0);

    EXPECT_FALSE(tipShowIfAllowed(-1));
    EXPECT_FALSE(tipShowIfAllowed(TIP_COUNT));
}

TEST_F(PointerTest, ATipOfferedOverAnOpenTipStillLeadsBackToPlay) {
    gameState = STATE_PLAYING;
    // The tip key opens a tip without the flags.
    previousState = STATE_PLAYING;
    gameState = STATE_TIP;
    tipIndex = TIP_HOW_TO_PLAY;
    EXPECT_TRUE(tipShowIfAllowed(TIP_DRAG_AVAILABLE));
    EXPECT_EQ(tipIndex, TIP_DRAG_AVAILABLE);
    EXPECT_EQ(previousState, STATE_PLAYING);
    playClick(0, HOVER_CONTINUE);
    EXPECT_EQ(gameState, STATE_PLAYING);
}

TEST_F(PointerTest, EnterGameStartsANewGameAndTheSamePressDoesNotLeaveItsIntro) {
    tipDoNotShow[TIP_HOW_TO_PLAY] = 1;
    gameState = STATE_GAME_OVER;
    levelNumber = 9;
    frameInput.players[0].hoverTarget = HOVER_GRID;
    PointerPress(0);  // anywhere but ENTER GAME: nothing
    EXPECT_EQ(gameState, STATE_GAME_OVER);
    PointerRelease(0);

    frameInput.players[0].hoverTarget = HOVER_LOWER_BUTTON;
    PointerPress(0);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 0);
    EXPECT_EQ(pointerHeld[0], 1);
    // The button is still down on the next frames.
    PointerPress(0);
    PointerPress(0);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    PointerRelease(0);
    PointerPress(0);
    EXPECT_EQ(gameState, STATE_PLAYING);
}

TEST_F(PointerTest, AReleaseTurnsOffAHighlightLeftByAnEndedDragMode) {
    dragGauge.level = 180.0f;
    playClick(0, HOVER_UPPER_BUTTON);
    ASSERT_EQ(dragModeOn[0], 1);
    playPressAt(0, 3, 3);
    EXPECT_EQ(highlightOn[0], 1);
    // The bar runs empty while the button is held; the frame ends Drag Mode.
    gaugeStop(dragGauge);
    dragModeOn[0] = 0;
    PointerRelease(0);
    EXPECT_EQ(highlightOn[0], 0);
    EXPECT_EQ(wordLength[0], 0);
}

TEST_F(PointerTest, HandlersForAPlayerOutsideTheGameOrACursorOffTheGridDoNothing) {
    const int32_t players[] = {-1, 2, 1000};
    for (int32_t p : players) {
        PointerPress(p);
        PointerCellChanged(p);
        PointerRelease(p);
        dragSwap(p);
        TurnWorldStep(p);
        levelAdvance(p);
        bannerCompose(p);
    }
    EXPECT_EQ(levelNumber, 0);
    EXPECT_EQ(gameState, STATE_PLAYING);

    cursorX[0] = 7;
    cursorY[0] = -1;
    frameInput.players[0].hoverTarget = HOVER_GRID;
    PointerPress(0);
    EXPECT_EQ(wordLength[0], 0);
    EXPECT_EQ(highlightOn[0], 0);
}

TEST_F(PointerTest, ThePromptFollowsTheStateAndBlinksAfterAChange) {
    struct Case {
        int32_t state;
        uint8_t dragMode;
        const char* text;
    };
    const Case cases[] = {
        {STATE_PLAYING, 0, "CLICK AND DRAG TO MAKE WORDS"},
        {STATE_PLAYING, 1, "CLICK AND DRAG TO REARRANGE GRID"},
        {STATE_TURN_WORLD, 0, "CLICK AND DRAG TO TURN THE WORLD"},
        {STATE_LEVEL_INTRO, 0, "CLICK ANYWHERE TO ENTER LEVEL"},
        {STATE_TIP, 0, "TUTORIAL TIP"},
        {STATE_GAME_OVER, 0, "PRESS ENTER GAME BUTTON TO BEGIN"},
        {STATE_NO_DICTIONARY, 0, ""},
    };
    for (const Case& c : cases) {
        gameState = c.state;
        dragModeOn[0] = c.dragMode;
        EXPECT_STREQ(promptTexts[promptChoose()], c.text);
    }

    // A new prompt shows 7 frames in every 16 while it blinks for 180 frames, then stays.
    gameState = STATE_PLAYING;
    dragModeOn[0] = 0;
    promptClearAll();
    std::string seen;
    for (int frame = 0; frame < 200; frame++) seen += promptStep() ? '#' : '.';
    EXPECT_EQ(promptIndex, 1);
    // Blink counts 179, 178, ...: shown when the count mod 16 is below 7.
    std::string expected;
    for (int blink = 179; blink >= 0; blink--) expected += blink % 16 < 7 ? '#' : '.';
    expected += std::string(20, '#');
    EXPECT_EQ(seen, expected);

    // Entering Drag Mode changes the prompt and restarts the blinking.
    dragGauge.level = 180.0f;
    playClick(0, HOVER_UPPER_BUTTON);
    EXPECT_TRUE(promptStep());
    EXPECT_EQ(promptIndex, 2);
    EXPECT_EQ(promptBlink, 179);
    for (int frame = 0; frame < 9; frame++) promptStep();
    EXPECT_FALSE(promptStep());  // 169 mod 16 = 9
}

TEST_F(PointerTest, TheNoTextPromptIsNeverShown) {
    gameState = STATE_NO_DICTIONARY;
    promptIndex = 1;
    for (int frame = 0; frame < 200; frame++) ASSERT_FALSE(promptStep());
    EXPECT_EQ(promptIndex, 0);
}

TEST_F(PointerTest, TheStatusPromptIsDrawnCentredUnderTheGridWhileVisible) {
    headless.realCopies = false;
    ASSERT_EQ(platCreateSurface(640, 480, &gBackSurface), DD_OK);
    ASSERT_EQ(platCreateSurface(SHEET_WIDTH, SHEET_HEIGHT, &gSheetSurface), DD_OK);
    gameState = STATE_PLAYING;
    promptClearAll();
    int32_t drawnFrames = 0;
    for (int frame = 0; frame < 16; frame++) {
        headlessClearCopies();
        StatusPrompt();
        if (headless.copyCount == 0) continue;
        drawnFrames++;
        // 28 characters of 8 pixels centred on x 275: the first starts at 163.
        EXPECT_EQ(headless.copies[0].x, 163);
        EXPECT_EQ(headless.copies[0].y, 370);
        EXPECT_EQ(headless.copies[0].dst, gBackSurface);
    }
    EXPECT_EQ(drawnFrames, 7);
    platSurfaceRelease(gBackSurface);
    platSurfaceRelease(gSheetSurface);
    gBackSurface = nullptr;
    gSheetSurface = nullptr;
}

}  // namespace
