// Two players on one screen, driven through the window procedure and whole
// frames: player 0 by the mouse and the first key column, player 1 by the
// keypad column.
#include <cstdio>
#include <functional>
#include <string>

#include "flow/layout.h"
#include "tests/flow/flowfixture.h"

namespace {

constexpr uint32_t P2_LEFT = 100, P2_RIGHT = 102, P2_UP = 104, P2_DOWN = 101, P2_DROP = 98, P2_DRAG_MODE = 107;
constexpr uint32_t P1_DRAG_MODE = VK_TAB;

class TwoPlayer : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        writeFile("worddiction.txt", "cat\r\ndog\r\nhen\r\n");
        ASSERT_TRUE(dictLoad());
        gridTotalLetterWeights();
        // The tips have their own tests; here they would only stand in the way.
        for (uint8_t& flag : tipDoNotShow) flag = 1;
        headlessSetTicksPerFlip(16);
        twoPlayer = 1;
        gameNew();
    }

    // Frames with the mouse still until `done` holds; false when it did not
    // within `limit` frames.
    static bool framesUntil(const std::function<bool()>& done, bool button = false, int limit = 300) {
        for (int i = 0; i < limit && !done(); i++) frameWithButton(button);
        return done();
    }

    // One frame with the mouse on the letter of player 0's grid cell (c, r), where the two-player screen draws it.
    static void frameWithMouseOnCell(int32_t c, int32_t r, bool button) {
        const LayoutPoint g = LAYOUT_TWO_PLAYER.players[0].grid;
        frameWithMouseAt(static_cast<float>(g.x + LAYOUT_CELL_PITCH * c) + LAYOUT_TILE_SIZE / 2.0f,
                         static_cast<float>(g.y + LAYOUT_CELL_PITCH * r) + LAYOUT_TILE_SIZE / 2.0f, button);
    }

    // Each world cell tells its player and where it stands.
    static void markWorlds() {
        for (int32_t p = 0; p < MAX_PLAYERS; p++) {
            for (int32_t r = 0; r < WORLD_SIZE; r++)
                for (int32_t c = 0; c < WORLD_SIZE; c++)
                    letterWorld[p][r][c] = static_cast<char>('A' + (r + 2 * c + 5 * p) % 26);
            SetGrid(p);
        }
    }

    static void press(uint32_t key) {
        keyDown(key);
        keyUp(key);
    }

    // One frame; true when it drew the sheet's button r anywhere.
    static bool frameDrawsButton(const SheetRect& r) {
        headlessClearCopies();
        frameWithButton(false);
        for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
            const HeadlessCopy& c = headless.copies[i];
            if (c.left == r.left && c.top == r.top && c.right == r.right && c.bottom == r.bottom) return true;
        }
        return false;
    }

    static void expectGridShowsOwnWindow(int32_t p) {
        for (int32_t y = 0; y < GRID_SIZE; y++)
            for (int32_t x = 0; x < GRID_SIZE; x++)
                ASSERT_EQ(wordgrid[p][y][x],
                          letterWorld[p][(worldOffsetY[p] + y) % WORLD_SIZE][(worldOffsetX[p] + x) % WORLD_SIZE])
                    << "player " << p << " cell " << x << "," << y;
    }
};

TEST_F(TwoPlayer, PlayerOneSpellsWithTheKeypadWhilePlayerZeroSpellsWithTheMouse) {
    levelStart();
    std::memcpy(&wordgrid[0][3][2], "CAT", 3);
    std::memcpy(&wordgrid[1][0][0], "DOG", 3);
    cursorX[1] = 0, cursorY[1] = 0;
    keyDown(P2_DROP);
    keyDown(P2_RIGHT);
    frameWithMouseOnCell(2, 3, true);
    frameWithMouseOnCell(3, 3, true);
    frameWithMouseOnCell(4, 3, true);
    EXPECT_STREQ(wordLetters[0], "CAT");
    ASSERT_TRUE(framesUntil([] { return cursorX[1] == 2; }, true));
    keyUp(P2_RIGHT);
    EXPECT_STREQ(wordLetters[1], "DOG");
    EXPECT_STREQ(wordLetters[0], "CAT");  // the held button kept player 0's word meanwhile

    frameWithButton(false);
    keyUp(P2_DROP);
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        EXPECT_EQ(pointerHeld[p], 0) << p;
        EXPECT_EQ(playerState[p].recentWordCount, 1) << p;
        EXPECT_GT(playerState[p].score, 0) << p;
    }
    EXPECT_STREQ(playerState[0].recentWords[1], "CAT");
    EXPECT_STREQ(playerState[1].recentWords[1], "DOG");
    // Each word's letters are marked on its own player's grid only.
    EXPECT_EQ(vanishMark[0][3][2] + vanishMark[0][3][3] + vanishMark[0][3][4], 3);
    EXPECT_EQ(vanishMark[1][0][0] + vanishMark[1][0][1] + vanishMark[1][0][2], 3);
    EXPECT_EQ(vanishMark[0][0][0] + vanishMark[1][3][2], 0);
}

TEST_F(TwoPlayer, AMouseAtRestLeavesPlayerZerosCursorToTheKeysAndAPressBringsItBack) {
    levelStart();
    frameWithMouseOnCell(3, 3, false);
    ASSERT_EQ(cursorX[0], 3);
    keyDown('D');  // player 0's RIGHT
    ASSERT_TRUE(framesUntil([] { return cursorX[0] == 5; }));
    keyUp('D');
    for (int32_t i = 0; i < 30; i++) frameWithButton(false);
    EXPECT_EQ(cursorX[0], 5) << "the pointer resting on another cell took the cursor back";
    // The mouse's press is made where the pointer stands.
    frameWithButton(true);
    EXPECT_EQ(cursorX[0], 3);
    ASSERT_EQ(wordLength[0], 1);
    EXPECT_EQ(pathX[0][0], 3);
}

TEST_F(TwoPlayer, EachPlayerTurnsTheirOwnWorldWithTheirOwnCursorKeysAndDrop) {
    markWorlds();
    // Letters changed in play by each player, kept in that player's world when
    // the phase begins, whoever's press begins it.
    wordgrid[0][2][3] = 'Q';
    wordgrid[1][1][1] = 'Q';
    levelNumber = 2;
    gameState = STATE_LEVEL_INTRO;
    keyDown(P2_DROP);
    keyUp(P2_DROP);
    ASSERT_EQ(gameState, STATE_TURN_WORLD);
    EXPECT_EQ(letterWorld[0][2][3], 'Q');
    EXPECT_EQ(letterWorld[1][1][1], 'Q');
    ASSERT_TRUE(framesUntil([] { return !bannerShowing(); }));

    cursorX[0] = 3, cursorY[0] = 3;
    cursorX[1] = 2, cursorY[1] = 4;
    keyDown(VK_SPACE);
    keyDown(P2_DROP);
    keyDown('D');
    keyDown(P2_UP);
    // Both drags at once, two cells each: player 0 to the right, player 1 up.
    ASSERT_TRUE(framesUntil([] { return cursorX[0] == 5 && cursorY[1] == 2; }));
    keyUp('D');
    keyUp(P2_UP);
    keyUp(VK_SPACE);
    keyUp(P2_DROP);
    EXPECT_EQ(cursorY[0], 3);
    EXPECT_EQ(cursorX[1], 2);
    EXPECT_EQ(worldOffsetX[0], 12);
    EXPECT_EQ(worldOffsetY[0], 0);
    EXPECT_EQ(worldOffsetX[1], 0);
    EXPECT_EQ(worldOffsetY[1], 2);
    expectGridShowsOwnWindow(0);
    expectGridShowsOwnWindow(1);

    // A cursor moved with its DROP key up only sets where that player's next drag starts.
    keyDown(P2_LEFT);
    ASSERT_TRUE(framesUntil([] { return cursorX[1] == 1; }));
    keyUp(P2_LEFT);
    EXPECT_EQ(worldOffsetX[1], 0);
    EXPECT_EQ(prevCellX[1], 1);

    // Turning back brings each player's own changed letter back into view.
    keyDown(P2_DROP);
    keyDown(P2_DOWN);
    ASSERT_TRUE(framesUntil([] { return cursorY[1] == 4; }));
    keyUp(P2_DOWN);
    keyUp(P2_DROP);
    keyDown(VK_SPACE);
    keyDown('A');
    ASSERT_TRUE(framesUntil([] { return cursorX[0] == 3; }));
    keyUp('A');
    keyUp(VK_SPACE);
    EXPECT_EQ(worldOffsetX[0], 0);
    EXPECT_EQ(worldOffsetY[1], 0);
    EXPECT_EQ(wordgrid[0][2][3], 'Q');
    EXPECT_EQ(wordgrid[1][1][1], 'Q');
    EXPECT_EQ(gameState, STATE_TURN_WORLD);
}

TEST_F(TwoPlayer, BothPlayersShareTheDragBarAndItRunningEmptyEndsDragModeForBoth) {
    levelStart();
    dragGauge.level = 180.0f;
    press(P2_DRAG_MODE);
    ASSERT_EQ(dragModeOn[1], 1);
    ASSERT_TRUE(dragModeActive());
    // The mouse's START DRAG is still offered to player 0, to join.
    EXPECT_TRUE(frameDrawsButton(SHEET_BUTTON_START_DRAG));
    press(P1_DRAG_MODE);
    EXPECT_EQ(dragModeOn[0], 1);
    EXPECT_TRUE(frameDrawsButton(SHEET_BUTTON_STOP_DRAG));
    EXPECT_LT(dragGauge.level, 180.0f);

    // One leaves: the bar runs on for the other, neither grown nor held.
    press(P2_DRAG_MODE);
    EXPECT_EQ(dragModeOn[1], 0);
    EXPECT_EQ(dragModeOn[0], 1);
    const float before = dragGauge.level;
    frameWithButton(false);
    EXPECT_TRUE(dragModeActive());
    EXPECT_LT(dragGauge.level, before);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 180.0f);
    EXPECT_EQ(dragGauge.drainTicks, 0);

    // Back in, and the bar runs empty: Drag Mode ends for both.
    press(P2_DRAG_MODE);
    ASSERT_EQ(dragModeOn[1], 1);
    dragGauge.level = 0.1f;  // under one frame's drain
    frameWithButton(false);
    EXPECT_FALSE(dragModeActive());
    EXPECT_EQ(dragModeOn[0], 0);
    EXPECT_EQ(dragModeOn[1], 0);
    EXPECT_FLOAT_EQ(dragGauge.fullLevel, 220.0f);
    // Neither may start again on an empty bar.
    press(P1_DRAG_MODE);
    press(P2_DRAG_MODE);
    EXPECT_EQ(dragModeOn[0] + dragModeOn[1], 0);
    EXPECT_FALSE(dragModeActive());
}

// Player p's game: its score and its best word.
void scoreGame(int32_t p, int32_t score, const char* word, int32_t wordScore) {
    playerState[p].score = score;
    std::snprintf(playerState[p].bestWords[0].word, sizeof playerState[p].bestWords[0].word, "%s", word);
    playerState[p].bestWords[0].score = wordScore;
}

TEST_F(TwoPlayer, BothScoresReachHiTxtEachWithItsOwnBestWordPlayerZeroFirst) {
    struct Case {
        const char* name;
        int32_t score0, score1;
        const char* rows;  // hi.txt without its check value
    };
    const Case cases[] = {
        {"equal scores", 236, 236, "2;236;QUELM;40;236;TARVO;55;"},
        {"player 1 ahead", 236, 300, "2;300;TARVO;55;236;QUELM;40;"},
    };
    for (const Case& c : cases) {
        hiScoresReset();
        frameInputConsumed();
        gameNew();
        levelStart();
        scoreGame(0, c.score0, "QUELM", 40);
        scoreGame(1, c.score1, "TARVO", 55);
        keyDown(VK_ESCAPE);  // ends the game
        ASSERT_EQ(gameState, STATE_GAME_OVER) << c.name;
        keyDown(VK_ESCAPE);  // quits, saving the table
        EXPECT_EQ(readFile("hi.txt"), std::string(c.rows) + std::to_string(hiScoresCheck()) + ";") << c.name;
    }
}

TEST_F(TwoPlayer, TheBannerSaysNewHighScoreWhenEitherPlayersScoreEntered) {
    struct Case {
        int32_t score0, score1;
        int32_t banner;
    };
    const Case cases[] = {
        {100, 400, BANNER_GAME_OVER_HIGH_SCORE},
        {400, 100, BANNER_GAME_OVER_HIGH_SCORE},
        {100, 100, BANNER_GAME_OVER},
    };
    for (const Case& c : cases) {
        // A full table whose lowest score is 250.
        hiScoresReset();
        for (HiScoreRow& row : hiScores) row.score = 250;
        hiScoreCount = HISCORE_ROWS;
        gameNew();
        levelStart();
        scoreGame(0, c.score0, "QUELM", 40);
        scoreGame(1, c.score1, "TARVO", 55);
        lifeGauge.level = 0.5f;
        frameWithButton(false);
        ASSERT_EQ(gameState, STATE_GAME_OVER);
        EXPECT_EQ(bannerIndex, c.banner) << c.score0 << " " << c.score1;
    }
}

}  // namespace

namespace {

using TurnedView = TwoPlayer;

// Each grid letter's copy on the screen: where it stands and whether it was turned.
struct LetterCopy {
    int32_t x, y;
    bool turned;
};

LetterCopy letterCopyOf(char letter) {
    const SheetRect r = sheetBigLetter(letter - 'A');
    for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
        const HeadlessCopy& c = headless.copies[i];
        if (c.src == gSheetSurface && c.left == r.left && c.top == r.top) return LetterCopy{c.x, c.y, c.turned};
    }
    return LetterCopy{-1, -1, false};
}

TEST_F(TurnedView, F3AndF4TurnEachPlayersGridUpsideDownInPlaceAndBackAgain) {
    levelStart();
    // One letter of its own in the top-left cell of each grid.
    wordgrid[0][0][0] = 'Q';
    wordgrid[1][0][0] = 'Z';
    for (int32_t p = 0; p < MAX_PLAYERS; p++)
        for (int32_t r = 0; r < GRID_SIZE; r++)
            for (int32_t c = 0; c < GRID_SIZE; c++)
                if (r + c > 0) wordgrid[p][r][c] = 'A';
    struct Case {
        uint32_t key;
        bool turned0, turned1;
    } cases[] = {{VK_F3, true, false}, {VK_F4, true, true}, {VK_F3, false, true}, {VK_F4, false, false}};
    for (const Case& k : cases) {
        press(k.key);
        headlessClearCopies();
        frameWithButton(false);
        const char letters[2] = {'Q', 'Z'};
        const bool turned[2] = {k.turned0, k.turned1};
        for (int32_t p = 0; p < MAX_PLAYERS; p++) {
            const LayoutPoint g = LAYOUT_TWO_PLAYER.players[p].grid;
            const int32_t far = (GRID_SIZE - 1) * LAYOUT_CELL_PITCH;
            const LetterCopy copy = letterCopyOf(letters[p]);
            EXPECT_EQ(copy.turned, turned[p]) << "player " << p << " after key " << k.key;
            // Turned, cell (0, 0) stands where cell (6, 6) stood: the grid turns about its centre.
            EXPECT_EQ(copy.x, g.x + (turned[p] ? far : 0)) << "player " << p;
            EXPECT_EQ(copy.y, g.y + (turned[p] ? far : 0)) << "player " << p;
        }
    }
    EXPECT_STREQ(playerState[0].recentWords[0], "") << "a view only: nothing of the game changed";
}

TEST_F(TurnedView, WordsAreSpeltOnTurnedGridsWithTheMouseAndTheKeysAsThePicturesShowThem) {
    levelStart();
    press(VK_F3);
    press(VK_F4);
    // On the turned pictures CAT reads left to right along what the players see
    // as the top row: grid row 6, columns 6, 5, 4.
    wordgrid[0][6][6] = 'C', wordgrid[0][6][5] = 'A', wordgrid[0][6][4] = 'T';
    wordgrid[1][6][6] = 'D', wordgrid[1][6][5] = 'O', wordgrid[1][6][4] = 'G';
    // Player 0's mouse on the picture's top-left cells.
    frameWithMouseOnCell(0, 0, true);
    frameWithMouseOnCell(1, 0, true);
    frameWithMouseOnCell(2, 0, true);
    EXPECT_STREQ(wordLetters[0], "CAT");
    frameWithButton(false);
    // Player 1's cursor starts on the picture's top-left cell; RIGHT moves it
    // right on the picture, which is left in the grid.
    cursorX[1] = 6, cursorY[1] = 6;
    keyDown(P2_DROP);
    for (int32_t i = 0; i < 2; i++) {
        keyDown(P2_RIGHT);
        const int32_t before = cursorX[1];
        ASSERT_TRUE(framesUntil([before] { return cursorX[1] != before; }));
        keyUp(P2_RIGHT);
    }
    EXPECT_EQ(cursorX[1], 4);
    keyDown(P2_UP);
    keyUp(P2_UP);
    EXPECT_STREQ(wordLetters[1], "DOG");
    keyUp(P2_DROP);
    EXPECT_STREQ(playerState[0].recentWords[1], "CAT");
    EXPECT_STREQ(playerState[1].recentWords[1], "DOG");
}

}  // namespace
