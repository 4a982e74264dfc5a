// The window procedure: messages, the three stages of a key press, key
// release, the command keys and the ways the program ends.
#include <cstdio>

#include "tests/flow/flowfixture.h"

namespace {

using WindowProc = FlowTest;

TEST_F(WindowProc, ActivationSetsTheFlagAndTheSystemCursorIsRefused) {
    EXPECT_EQ(gameWindowProc(WM_ACTIVATEAPP, 1, 0), 0);
    EXPECT_EQ(appActive, 1);
    EXPECT_EQ(gameWindowProc(WM_ACTIVATEAPP, 0, 0), 0);
    EXPECT_EQ(appActive, 0);
    EXPECT_EQ(gameWindowProc(WM_SETCURSOR, 0, 0), 1);
}

TEST_F(WindowProc, EscapeInPlayEndsTheGameWithoutBannerKeepingItsScoreAndASecondEscapeQuitsSavingBoth) {
    startPlay();
    playerState[0].score = 500;
    keyDown(VK_ESCAPE);
    EXPECT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_EQ(bannerIndex, BANNER_NONE);
    ASSERT_EQ(hiScoreCount, 1);  // offered as a game over by the LIFE gauge is
    EXPECT_EQ(hiScores[0].score, 500);
    EXPECT_EQ(headless.quitPosted, 0);
    EXPECT_FALSE(fileExists("hi.txt"));

    // The second Escape comes through the loop: it quits before any frame runs,
    // and the score already offered is not offered again.
    appActive = 1;
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(startMessageLoop(gameRunFrame), 0);
    EXPECT_EQ(headless.flipCount, 0);
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_EQ(readFile("hi.txt"), "1;500;;0;3006;");
    EXPECT_EQ(readFile("prefs.txt"), DEFAULT_PREFS);
}

// A game with a score of 236 whose best word was QUELM for 40.
void scoreAGame() {
    playerState[0].score = 236;
    std::snprintf(playerState[0].bestWords[0].word, sizeof playerState[0].bestWords[0].word, "QUELM");
    playerState[0].bestWords[0].score = 40;
}
// That game alone in the table: (0 + 3) x (0 + 2) x (236 + 1) is the check value.
constexpr const char* HI_TXT_OF_THAT_GAME = "1;236;QUELM;40;1422;";

TEST_F(WindowProc, ClosingTheWindowWhileAGameIsOnKeepsItsScoreWhateverTheGameIsShowing) {
    struct Case {
        int32_t state;
        uint8_t paused;
    };
    const Case cases[] = {
        {STATE_PLAYING, 0}, {STATE_PLAYING, 1},   {STATE_LEVEL_INTRO, 0},
        {STATE_TIP, 0},     {STATE_TURN_WORLD, 1},
    };
    for (const Case& c : cases) {
        hiScoresReset();
        headless.quitPosted = 0;
        std::filesystem::remove("hi.txt");
        startPlay();
        scoreAGame();
        gameState = c.state;
        paused = c.paused;
        // As the backend sends it while the game waits inactive.
        appActive = 0;
        headlessPushMessage(WM_CLOSE, 0, 0);
        EXPECT_EQ(startMessageLoop(gameRunFrame), 0);
        EXPECT_EQ(headless.quitPosted, 1);
        EXPECT_EQ(gameState, STATE_GAME_OVER) << "state " << c.state << " paused " << int{c.paused};
        EXPECT_EQ(readFile("hi.txt"), HI_TXT_OF_THAT_GAME) << "state " << c.state << " paused " << int{c.paused};
    }
}

TEST_F(WindowProc, AGameAlreadyOverIsNotOfferedAgainWhenTheWindowCloses) {
    struct Case {
        const char* endedBy;
        void (*end)();
    };
    const Case cases[] = {
        {"Escape", [] { keyDown(VK_ESCAPE); }},
        {"the LIFE gauge", [] {
             lifeGauge.level = 0.5f;
             gameRunFrame();
         }},
    };
    for (const Case& c : cases) {
        hiScoresReset();
        std::filesystem::remove("hi.txt");
        if (gDirectDraw == nullptr) openDisplay();
        startPlay();
        scoreAGame();
        c.end();
        ASSERT_EQ(gameState, STATE_GAME_OVER) << c.endedBy;
        gameWindowProc(WM_CLOSE, 0, 0);
        EXPECT_EQ(readFile("hi.txt"), HI_TXT_OF_THAT_GAME) << c.endedBy;
    }
}

TEST_F(WindowProc, TheNextGameAfterAGameOverIsOfferedInItsTurn) {
    startPlay();
    scoreAGame();
    keyDown(VK_ESCAPE);
    keyDown(112);  // F1: a new game
    ASSERT_NE(gameState, STATE_GAME_OVER);
    playerState[0].score = 90;
    gameWindowProc(WM_CLOSE, 0, 0);
    EXPECT_EQ(readFile("hi.txt"), "2;236;QUELM;40;90;;0;44082;");
}

TEST_F(WindowProc, TheMissingDictionaryScreenHasNoGameToEnd) {
    gameState = STATE_NO_DICTIONARY;
    playerState[0].score = 50;  // cannot happen without words; still not a game's score
    gameWindowProc(WM_CLOSE, 0, 0);
    EXPECT_EQ(gameState, STATE_NO_DICTIONARY);
    EXPECT_EQ(readFile("hi.txt"), "0;6;");
}

TEST_F(WindowProc, EscapeQuitsFromTheMissingDictionaryScreenAndEscapeOrF12UnpauseFirst) {
    const uint32_t keys[] = {VK_ESCAPE, 123};
    for (uint32_t k : keys) {
        gameState = STATE_NO_DICTIONARY;
        paused = 1;
        keyDown(k);
        EXPECT_EQ(paused, 0);
        EXPECT_EQ(headless.quitPosted, 0);
        keyDown(k);
        EXPECT_EQ(headless.quitPosted, 1);
        EXPECT_EQ(readFile("prefs.txt"), DEFAULT_PREFS);
        std::filesystem::remove("prefs.txt");
        headless.quitPosted = 0;
    }
}

TEST_F(WindowProc, QuitStillQuitsWhenTheFilesCannotBeWritten) {
    gameState = STATE_GAME_OVER;
    removeFolder();
    keyDown(VK_ESCAPE);
    EXPECT_EQ(headless.quitPosted, 1);
    EXPECT_EQ(gDirectDraw, nullptr);
}

TEST_F(WindowProc, ClosingTheWindowSavesBothFilesAndQuits) {
    startPlay();
    keyDefBinding(0)[0] = 37;  // a binding changed and never saved
    gameWindowProc(WM_CLOSE, 0, 0);
    EXPECT_EQ(headless.quitPosted, 1);
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_EQ(readFile("hi.txt"), "0;6;");
    EXPECT_EQ(readFile("prefs.txt"), "1;37;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;");
}

TEST_F(WindowProc, ALostDisplayQuitsWithoutSaving) {
    startPlay();
    gameWindowProc(WM_DESTROY, 0, 0);
    EXPECT_EQ(headless.quitPosted, 1);
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_FALSE(fileExists("hi.txt"));
    EXPECT_FALSE(fileExists("prefs.txt"));
}

TEST_F(WindowProc, OneXPressQuadruplesTheLifeDrainRateOnlyInUnpausedPlay) {
    struct Case {
        int32_t state;
        uint8_t paused;
        int presses;
        float rate;
    };
    const Case cases[] = {
        {STATE_PLAYING, 0, 1, 3.0f},
        {STATE_PLAYING, 0, 2, 12.0f},
        {STATE_PLAYING, 1, 1, 0.75f},
        {STATE_TURN_WORLD, 0, 1, 0.75f},
    };
    for (const Case& c : cases) {
        startPlay();
        gameState = c.state;
        paused = c.paused;
        for (int i = 0; i < c.presses; i++) keyDown('X');
        EXPECT_FLOAT_EQ(lifeGauge.drainRate, c.rate) << "state " << c.state << " paused " << int{c.paused};
    }
}

TEST_F(WindowProc, TheTipKeyOpensTheTipThatFitsTheDragBarEvenIfMarkedDoNotShow) {
    struct Case {
        uint8_t running;
        float level;
        int32_t tip;
    };
    const Case cases[] = {
        {1, 100.0f, 2},  // Drag Mode runs
        {0, 90.0f, 1},   // Drag Mode may start
        {0, 89.0f, 0},
    };
    for (const Case& c : cases) {
        startPlay();
        tipDoNotShow[c.tip] = 1;
        dragGauge.running = c.running;
        dragGauge.level = c.level;
        const uint8_t shownBefore = tipShown[c.tip];
        keyDown('T');
        EXPECT_EQ(gameState, STATE_TIP);
        EXPECT_EQ(previousState, STATE_PLAYING);
        EXPECT_EQ(tipIndex, c.tip);
        EXPECT_EQ(tipShown[c.tip], shownBefore);  // not marked as shown
    }
}

TEST_F(WindowProc, TheLevelKeyFinishesTheLevelForPlayerZero) {
    startPlay();
    keyDown('G');
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_GT(playerState[0].score, 0);  // the level bonus
}

TEST_F(WindowProc, InAOnePlayerGameBothColumnsOfKeysDrivePlayerZero) {
    startPlay();
    keyDown(100);  // NUMPAD4: the second player's LEFT
    EXPECT_EQ(heldLeft[0], 1);
    EXPECT_EQ(heldLeft[1], 0);
    keyDown('D');
    EXPECT_EQ(heldRight[0], 1);
    keyUp(100);
    EXPECT_EQ(heldLeft[0], 0);
    EXPECT_EQ(heldRight[0], 1);

    cursorX[0] = 2;
    cursorY[0] = 3;
    keyDown(98);  // NUMPAD2: the second player's DROP
    EXPECT_EQ(pointerHeld[0], 1);
    EXPECT_EQ(pointerHeld[1], 0);
    EXPECT_EQ(wordLength[0], 1);
    keyUp(98);
    EXPECT_EQ(pointerHeld[0], 0);
    EXPECT_EQ(wordLength[0], 0);
}

TEST_F(WindowProc, InAOnePlayerGameEitherDragModeKeyStartsAndStopsDragMode) {
    struct Case {
        const char* name;
        uint32_t key;
        int32_t secondColumnKey;  // player 2's Drag Mode binding
        float barLevel;
        uint8_t paused;
        uint8_t started;
    };
    const Case cases[] = {
        {"Tab", VK_TAB, 107, 180.0f, 0, 1},
        {"keypad +", 107, 107, 180.0f, 0, 1},
        {"both columns on one key", VK_TAB, VK_TAB, 180.0f, 0, 1},
        {"bar under half full", VK_TAB, 107, 89.0f, 0, 0},
        {"paused", VK_TAB, 107, 180.0f, 1, 0},
    };
    for (const Case& c : cases) {
        frameInputConsumed();
        startPlay();
        keyToggleWordRecognition[1] = c.secondColumnKey;
        dragGauge.level = c.barLevel;
        paused = c.paused;
        keyDown(c.key);
        keyUp(c.key);
        EXPECT_EQ(dragModeOn[0], c.started) << c.name;
        EXPECT_EQ(dragModeActive(), c.started == 1) << c.name;
        EXPECT_EQ(dragModeOn[1], 0) << c.name;
        if (!c.started) continue;
        // The next press stops it as STOP DRAG does: the bar holds and grows.
        keyDown(c.key);
        EXPECT_EQ(dragModeOn[0], 0) << c.name;
        EXPECT_FALSE(dragModeActive()) << c.name;
        EXPECT_EQ(dragGauge.drainTicks, dragStopTicks) << c.name;
        EXPECT_FLOAT_EQ(dragGauge.fullLevel, 220.0f) << c.name;
        keyUp(c.key);
    }
}

TEST_F(WindowProc, InATwoPlayerGameEachColumnDrivesItsOwnPlayer) {
    twoPlayer = 1;
    startPlay();
    keyDown(100);
    keyDown('W');
    EXPECT_EQ(heldLeft[1], 1);
    EXPECT_EQ(heldLeft[0], 0);
    EXPECT_EQ(heldUp[0], 1);
    EXPECT_EQ(heldUp[1], 0);
    keyDown(98);
    EXPECT_EQ(pointerHeld[1], 1);
    EXPECT_EQ(pointerHeld[0], 0);
}

TEST_F(WindowProc, KeysReleasedInAnyStateClearTheirHeldFlagsButPressOnlyInPlayOrTurningTheWorld) {
    struct Case {
        int32_t state;
        uint8_t paused;
        uint8_t pressed;
    };
    const Case cases[] = {
        {STATE_PLAYING, 1, 0},     {STATE_GAME_OVER, 0, 0},  {STATE_TIP, 0, 0},
        {STATE_LEVEL_INTRO, 1, 0}, {STATE_TURN_WORLD, 1, 0}, {STATE_TURN_WORLD, 0, 1},
    };
    for (const Case& c : cases) {
        // As a frame between the cases would, so the frame's record has room for their keys.
        frameInputConsumed();
        startPlay();
        keyDown('A');
        keyDown(104);  // NUMPAD8: UP
        gameState = c.state;
        paused = c.paused;
        keyUp('A');
        keyUp(104);
        EXPECT_EQ(heldLeft[0], 0) << "state " << c.state;
        EXPECT_EQ(heldUp[0], 0) << "state " << c.state;
        keyDown('D');
        EXPECT_EQ(heldRight[0], c.pressed) << "state " << c.state << " paused " << int{c.paused};
        keyUp('D');
    }
}

TEST_F(WindowProc, ACursorKeyLetGoDuringAPauseDoesNotRunOnAfterIt) {
    startPlay();
    headlessSetTicksPerFlip(16);
    keyDown('D');
    keyDown('P');
    keyUp('D');
    keyDown('P');
    EXPECT_EQ(paused, 0);
    for (int i = 0; i < 30; i++) gameRunFrame();
    EXPECT_EQ(cursorX[0], 0);
}

TEST_F(WindowProc, TheDropKeyBeginsTheLevelFromTheIntroPausedOrNot) {
    const uint8_t pausedCases[] = {0, 1};
    for (uint8_t p : pausedCases) {
        gameNew();
        gameState = STATE_LEVEL_INTRO;
        paused = p;
        keyDown(VK_SPACE);
        EXPECT_EQ(gameState, STATE_PLAYING);
        EXPECT_FLOAT_EQ(lifeGauge.level, 6000.0f);
        EXPECT_EQ(pointerHeld[0], 1);
        // Its release ends the press; the next press is a new one.
        keyUp(VK_SPACE);
        EXPECT_EQ(pointerHeld[0], 0);
    }
}

TEST_F(WindowProc, TheDropKeyReleaseEndsAPressThatBeganTheTurnTheWorldPhase) {
    gameNew();
    levelNumber = 2;
    gameState = STATE_LEVEL_INTRO;
    tipDoNotShow[3] = 1;
    keyDown(VK_SPACE);
    EXPECT_EQ(gameState, STATE_TURN_WORLD);
    EXPECT_EQ(pointerHeld[0], 1);
    keyUp(VK_SPACE);
    EXPECT_EQ(pointerHeld[0], 0);
}

TEST_F(WindowProc, AutoRepeatedDropPressesDoNothingWhileThePressIsHeld) {
    startPlay();
    cursorX[0] = 2;
    cursorY[0] = 3;
    keyDown(VK_SPACE);
    EXPECT_EQ(wordLength[0], 1);
    cursorX[0] = 3;
    keyDown(VK_SPACE);
    keyDown(VK_SPACE);
    EXPECT_EQ(wordLength[0], 1);
    EXPECT_EQ(pathX[0][0], 2);
}

TEST_F(WindowProc, TheDropKeyPressesOnTheKeyboardCursorWhereverTheMouseIs) {
    startPlay();
    const float upperButtonX = 60.0f, upperButtonY = 60.0f;
    pointerX = upperButtonX;
    pointerY = upperButtonY;
    frameInput.players[0].hoverTarget = HOVER_UPPER_BUTTON;
    cursorX[0] = 4;
    cursorY[0] = 5;
    keyDown(VK_SPACE);
    EXPECT_EQ(wordLength[0], 1);
    EXPECT_EQ(pathX[0][0], 4);
    EXPECT_EQ(pathY[0][0], 5);
    EXPECT_EQ(frameInput.players[0].hoverTarget, HOVER_UPPER_BUTTON);
}

TEST_F(WindowProc, F1IsIgnoredDuringAGameAndStartsAGameThatStaysPausedFromThePausedGameOverScreen) {
    startPlay();
    levelNumber = 4;
    keyDown(112);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(levelNumber, 4);

    keyDown(VK_ESCAPE);
    keyDown('P');
    twoPlayer = 1;
    keyDown(112);
    EXPECT_EQ(twoPlayer, 0);
    EXPECT_EQ(levelNumber, 0);
    EXPECT_EQ(gameState, STATE_TIP);  // the new game offers its first tip
    EXPECT_EQ(previousState, STATE_LEVEL_INTRO);
    EXPECT_EQ(paused, 1);
}

TEST_F(WindowProc, F2StartsATwoPlayerGameOnlyFromGameOver) {
    startPlay();
    keyDown(113);
    EXPECT_EQ(twoPlayer, 0);
    gameState = STATE_GAME_OVER;
    keyDown(113);
    EXPECT_EQ(twoPlayer, 1);
    EXPECT_EQ(gameState, STATE_TIP);
}

TEST_F(WindowProc, PauseAndTheKeyDefinitionScreenNest) {
    startPlay();
    keyDown('K');
    EXPECT_EQ(keyDefActive, 0);  // only while paused
    keyDown('P');
    keyDown('K');
    EXPECT_EQ(keyDefActive, 1);
    keyDown('P');
    EXPECT_EQ(paused, 1);  // P is refused on the key-definition screen
    keyDown(40);
    keyDown(40);
    keyDown(38);
    EXPECT_EQ(keyDefSelected, 1);
    keyDown(38);
    keyDown(38);
    EXPECT_EQ(keyDefSelected, 13);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(keyDefActive, 0);
    EXPECT_EQ(paused, 1);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(gameState, STATE_PLAYING);
    keyDown('K');
    EXPECT_EQ(keyDefActive, 0);
    keyDown('P');
    keyDown('K');
    EXPECT_EQ(keyDefSelected, 13);  // kept from last time
}

TEST_F(WindowProc, ACapturedKeyGoesIntoTheBindingAndDoesNothingElse) {
    startPlay();
    keyDown('P');
    keyDown('K');
    keyDown(VK_RETURN);  // capture row 0, player 1 LEFT
    EXPECT_EQ(keyLeft[0], 0);
    keyDown('P');
    EXPECT_EQ(keyLeft[0], 'P');
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(keysChanged, 1);

    // Escape during a capture restores the binding and leaves the screen open.
    keyDown(VK_RETURN);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(keyLeft[0], 'P');
    EXPECT_EQ(keyDefActive, 1);
    EXPECT_EQ(paused, 1);
}

TEST_F(WindowProc, SaveOnTheKeyDefinitionScreenClearsKeysChangedOnlyWhenTheFileIsWritten) {
    startPlay();
    keyDown('P');
    keyDown('K');
    keyDown(VK_RETURN);
    keyDown('Q');
    ASSERT_EQ(keysChanged, 1);

    std::filesystem::create_directory("prefs.txt");  // the file cannot be written
    keyDown('S');
    EXPECT_EQ(keysChanged, 1);
    EXPECT_EQ(keyDefSaveFailed, 1);
    keyDown('S');
    EXPECT_EQ(keyDefSaveFailed, 1) << "a second try fails alike";
    keyUp('S');
    EXPECT_EQ(keyDefSaveFailed, 1) << "a release is not a key press";
    keyDown('Q');  // any key, even one that does nothing here
    EXPECT_EQ(keyDefSaveFailed, 0);
    std::filesystem::remove("prefs.txt");

    keyDown('S');
    EXPECT_EQ(keysChanged, 0);
    EXPECT_EQ(keyDefSaveFailed, 0);
    EXPECT_EQ(readFile("prefs.txt"), "1;81;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;");

    // L brings the saved keys back after another change.
    keyDown(40);
    keyDown(VK_RETURN);
    keyDown('Z');
    EXPECT_EQ(keyRight[0], 'Z');
    keyDown('L');
    EXPECT_EQ(keyRight[0], 'D');
    EXPECT_EQ(keysChanged, 0);
}

TEST_F(WindowProc, KeyDefinitionCommandsAreInertWhileTheScreenIsClosed) {
    startPlay();
    keyDown('P');
    keyDown(VK_RETURN);
    keyDown(40);
    keyDown('S');
    keyDown('L');
    EXPECT_EQ(keyCaptureActive, 0);
    EXPECT_EQ(keyDefSelected, 0);
    EXPECT_FALSE(fileExists("prefs.txt"));
}

}  // namespace

namespace {
FrameInput handedOver;
int32_t handOvers;
}  // namespace

TEST_F(WindowProc, EveryMessageActedOnJoinsTheFrameRecordInOrderAndTheFrameHandsItOver) {
    startPlay();
    handOvers = 0;
    frameRecordHook = [](const FrameInput& record) {
        handedOver = record;
        handOvers++;
    };
    gameWindowProc(WM_KEYDOWN, VK_P, 0);
    gameWindowProc(WM_ACTIVATEAPP, 1, 0);  // not input: it only says whether frames run
    gameWindowProc(WM_KEYUP, VK_P, 0);
    gameWindowProc(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(paused, 0);  // P paused, Escape unpaused: acted on as they came
    headlessSetTicks(4321);
    gameRunFrame();

    ASSERT_EQ(handOvers, 1);
    EXPECT_EQ(handedOver.time, 4321u);
    EXPECT_EQ(handedOver.flags, INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ);
    const InputEvent expected[] = {{INPUT_KEY_DOWN, VK_P}, {INPUT_KEY_UP, VK_P}, {INPUT_KEY_DOWN, VK_ESCAPE}};
    ASSERT_EQ(handedOver.eventCount, 3);
    for (int32_t i = 0; i < 3; i++) {
        EXPECT_EQ(handedOver.events[i].kind, expected[i].kind) << i;
        EXPECT_EQ(handedOver.events[i].key, expected[i].key) << i;
    }
    EXPECT_EQ(frameInput.eventCount, 0) << "the next frame's record starts empty";
}

TEST_F(WindowProc, AKeyThatDoesNotFitTheRecordIsNotActedOnButClosingAlwaysFits) {
    startPlay();
    for (int32_t i = 0; i < INPUT_MAX_EVENTS - 2; i++) gameWindowProc(WM_KEYDOWN, VK_P, 0);
    EXPECT_EQ(paused, 0);  // an even number of presses
    gameWindowProc(WM_KEYDOWN, VK_P, 0);
    EXPECT_EQ(paused, 0) << "a press the record could not hold must not act either";
    gameWindowProc(WM_KEYDOWN, 0x1234, 0);  // no key code is that large; it would not fit a byte
    EXPECT_EQ(frameInput.eventCount, INPUT_MAX_EVENTS - 2);
    gameWindowProc(WM_CLOSE, 0, 0);
    EXPECT_EQ(headless.quitPosted, 1);
    EXPECT_EQ(frameInput.events[INPUT_MAX_EVENTS - 2].kind, INPUT_CLOSE);
}
