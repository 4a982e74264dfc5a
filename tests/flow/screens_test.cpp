#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Core/cmrand.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/layout.h"
#include "flow/screens.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/score.h"
#include "game/solver.h"
#include "game/tips.h"
#include "persist/hiscores.h"
#include "video/drawrecord.h"
#include "video/sprite.h"
#include "video/text.h"

namespace {

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drawSetUp();
        gaugeClearAll();
        gridClearAll();
        pathClearAll();
        scoreClearAll();
        levelClearAll();
        solverClearAll();
        bannerClearAll();
        dragModeClearAll();
        pointerClearAll();
        hiScoresReset();
        tipsClear();
        keyInstallDefaults();
        cmSrand(1234);
        std::memset(gridMessageRows, 0, sizeof gridMessageRows);
        objective = Objective{0, 3, 5, 0, ""};
        gameState = STATE_PLAYING;
        frameInput.players[0].hoverTarget = HOVER_NONE;
        for (int32_t p = 0; p < MAX_PLAYERS; p++) {
            for (int32_t r = 0; r < GRID_SIZE; r++) {
                for (int32_t c = 0; c < GRID_SIZE; c++) wordgrid[p][r][c] = GRID_BLANK;
            }
        }
        // A running LIFE gauge as at a level start; the Drag Bar empty.
        lifeGauge.fullLevel = 10000;
        lifeGauge.level = 6000;
        lifeGauge.running = 1;
        dragGauge.fullLevel = 180;
    }
    // The bindings are shared with every other test.
    void TearDown() override { keyInstallDefaults(); }

    static DrawCopy letterAt(char letter, int32_t x, int32_t y) { return drawCopy(x, y, sheetBigLetter(letter - 'A')); }
    static DrawCopy markAt(int32_t position, int32_t cellX, int32_t cellY)
    {
        return drawCopy(cellX - 2, cellY - 2, sheetCellMark(position));
    }
    static int32_t countOf(const std::vector<DrawCopy>& copies, const SheetRect& r)
    {
        int32_t n = 0;
        for (const DrawCopy& c : copies) n += c.left == r.left && c.top == r.top && c.right == r.right && c.bottom == r.bottom;
        return n;
    }
};

TEST_F(ScreensTest, GridLetterStandsAtItsCell)
{
    const LayoutPoint g0 = LAYOUT_TWO_PLAYER.players[0].grid;
    const LayoutPoint g1 = LAYOUT_TWO_PLAYER.players[1].grid;
    struct Case {
        int32_t two, p, c, r, x, y;
    } cases[] = {
        {0, 0, 0, 0, 150, 27},           {0, 0, 3, 2, 258, 99},           {0, 0, 6, 6, 366, 243},
        {1, 0, 0, 0, g0.x, g0.y},        {1, 0, 6, 1, g0.x + 216, g0.y + 36},
        {1, 1, 0, 0, g1.x, g1.y},        {1, 1, 6, 6, g1.x + 216, g1.y + 216},
    };
    for (const Case& k : cases) {
        SetUp();
        twoPlayer = k.two;
        wordgrid[k.p][k.r][k.c] = 'Q';
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        EXPECT_EQ(countOf(got, sheetBigLetter('Q' - 'A')), 1);
        EXPECT_NE(drawIndexOf(got, letterAt('Q', k.x, k.y)), -1) << k.two << " p" << k.p << " " << k.c << "," << k.r;
        EXPECT_EQ(scrCellX(k.p, k.c), k.x);
        EXPECT_EQ(scrCellY(k.r), k.y);
    }
}

TEST_F(ScreensTest, PathMarksGoUnderTheLettersAndTheCursorOverThem)
{
    for (int32_t r = 0; r < GRID_SIZE; r++) {
        for (int32_t c = 0; c < GRID_SIZE; c++) wordgrid[0][r][c] = 'A';
    }
    // A three-letter path (0,0) (1,1) (2,1), its last cell highlighted.
    const int32_t xs[3] = {0, 1, 2}, ys[3] = {0, 1, 1};
    for (int32_t i = 0; i < 3; i++) {
        pathX[0][i] = xs[i];
        pathY[0][i] = ys[i];
    }
    wordLength[0] = 3;
    highlightOn[0] = 1;
    prevCellX[0] = 2;
    prevCellY[0] = 1;
    cursorX[0] = 4;
    cursorY[0] = 5;
    frameInput.players[0].hoverTarget = HOVER_GRID;
    frameCounter = 5;  // the blinking mark shows white
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();

    int32_t pathMark = drawIndexOf(got, markAt(SHEET_MARK_MAGENTA, 150, 27));
    int32_t beforeLast = drawIndexOf(got, markAt(SHEET_MARK_RED, 186, 63));
    int32_t blink = drawIndexOf(got, markAt(SHEET_MARK_WHITE, 222, 63));
    int32_t firstLetter = drawIndexOf(got, letterAt('A', 150, 27));
    int32_t lastLetter = drawIndexOf(got, letterAt('A', 366, 243));
    int32_t cursor = drawIndexOf(got, markAt(SHEET_MARK_GREEN, 294, 207));
    ASSERT_NE(pathMark, -1);
    ASSERT_NE(beforeLast, -1);
    ASSERT_NE(blink, -1);
    ASSERT_NE(cursor, -1);
    EXPECT_LT(pathMark, beforeLast);
    EXPECT_LT(beforeLast, blink);
    EXPECT_LT(blink, firstLetter);
    EXPECT_LT(lastLetter, cursor);
    // The last cell has no path mark of its own; only the blinking one.
    EXPECT_EQ(countOf(got, sheetCellMark(SHEET_MARK_MAGENTA)), 1);
    EXPECT_EQ(countOf(got, sheetCellMark(SHEET_MARK_RED)), 1);
}

TEST_F(ScreensTest, WhichStatesShowPathMarksAndTheCursor)
{
    struct Case {
        int32_t state;
        bool banner;
        bool pathMarks, cursor;
    } cases[] = {
        {STATE_PLAYING, false, true, true},           {STATE_TURN_WORLD, false, true, true},
        {STATE_GAME_OVER, false, true, true},         {STATE_LEVEL_INTRO, false, false, false},
        {STATE_NO_DICTIONARY, false, false, true},    {STATE_TIP, false, false, false},
        {STATE_TIP, true, false, true},
    };
    for (const Case& k : cases) {
        SetUp();
        pathX[0][0] = 0;
        pathY[0][0] = 0;
        pathX[0][1] = 1;
        pathY[0][1] = 0;
        wordLength[0] = 2;
        frameInput.players[0].hoverTarget = HOVER_GRID;
        tipShown[1] = tipShown[2] = 1;
        gameState = k.state;
        if (k.banner) ShowBanner(BANNER_TURN_WORLD);
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        EXPECT_EQ(countOf(got, sheetCellMark(SHEET_MARK_RED)), k.pathMarks ? 1 : 0) << k.state << " " << k.banner;
        EXPECT_EQ(countOf(got, sheetCellMark(SHEET_MARK_GREEN)), k.cursor ? 1 : 0) << k.state << " " << k.banner;
    }
}

TEST_F(ScreensTest, TwoPlayerMarksStandUnderThatPlayersLetters)
{
    twoPlayer = 1;
    pathX[1][0] = 2;
    pathY[1][0] = 3;
    pathX[1][1] = 3;
    pathY[1][1] = 3;
    wordLength[1] = 2;
    cursorX[1] = 5;
    cursorY[1] = 0;
    frameInput.players[0].hoverTarget = HOVER_GRID;
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();
    const LayoutPoint g1 = LAYOUT_TWO_PLAYER.players[1].grid;
    EXPECT_NE(drawIndexOf(got, markAt(SHEET_MARK_RED, g1.x + 72, g1.y + 108)), -1);
    EXPECT_NE(drawIndexOf(got, markAt(SHEET_MARK_GREEN, g1.x + 180, g1.y)), -1);
    // Player 0's mouse is beside the grid: only player 1's cursor shows.
    headlessClearCopies();
    frameInput.players[0].hoverTarget = HOVER_NONE;
    scrDrawPlayScreen();
    got = drawCopies();
    EXPECT_EQ(countOf(got, sheetCellMark(SHEET_MARK_GREEN)), 1);
    EXPECT_NE(drawIndexOf(got, markAt(SHEET_MARK_GREEN, g1.x + 180, g1.y)), -1);
}

TEST_F(ScreensTest, MarkedLettersShakeByAtMostOnePixel)
{
    wordgrid[0][2][3] = 'K';
    vanishMark[0][2][3] = 1;
    bool moved = false;
    for (int32_t frame = 0; frame < 20; frame++) {
        headlessClearCopies();
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        ASSERT_EQ(countOf(got, sheetBigLetter('K' - 'A')), 1);
        for (const DrawCopy& c : got) {
            if (c.top != SHEET_BIG_LETTER_TOP) continue;
            EXPECT_LE(std::abs(c.x - 258), 1);
            EXPECT_LE(std::abs(c.y - 99), 1);
            moved = moved || c.x != 258 || c.y != 99;
        }
    }
    EXPECT_TRUE(moved);
}

TEST_F(ScreensTest, LevelIntroShowsTheMessageRowsWithRowFiveAsText)
{
    gameState = STATE_LEVEL_INTRO;
    const char* rows[7] = {"WELCOME", "  TO   ", " TARVO ", "QUELMS ", "GOAL IS", "Make 5 3-letter words", "WORD ON"};
    for (int32_t r = 0; r < 7; r++) std::strcpy(gridMessageRows[0][r], rows[r]);
    // Old text past a shorter row's end is not shown.
    std::strcpy(gridMessageRows[0][1], "ZZZZZZZ");
    std::strcpy(gridMessageRows[0][1], "  TO");
    vanishMark[0][0][0] = 1;  // no shaking between levels
    wordgrid[0][0][0] = 'X';
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();

    EXPECT_NE(drawIndexOf(got, letterAt('W', 150, 27)), -1);
    EXPECT_NE(drawIndexOf(got, letterAt('E', 150 + 36 * 6, 27)), -1);
    EXPECT_NE(drawIndexOf(got, letterAt('T', 150 + 36 * 2, 63)), -1);
    EXPECT_EQ(countOf(got, sheetBigLetter('Z' - 'A')), 0);
    EXPECT_EQ(countOf(got, sheetBigLetter('X' - 'A')), 0);
    EXPECT_TRUE(drawHasSmallText(got, "Make 5 3-letter words", 155, 219));
    EXPECT_NE(drawIndexOf(got, letterAt('N', 150 + 36 * 6, 243)), -1);
    // Row 5's letters are not tiles.
    for (const DrawCopy& c : got) EXPECT_FALSE(c.y == scrCellY(5) && c.top == SHEET_BIG_LETTER_TOP) << c;
}

TEST_F(ScreensTest, TwoPlayerIntroTextStandsInEachPlayersOwnGrid)
{
    twoPlayer = 1;
    gameState = STATE_LEVEL_INTRO;
    std::strcpy(gridMessageRows[0][5], "Make 5 3-letter words");
    std::strcpy(gridMessageRows[1][5], "Make word: CAT");
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();
    const LayoutPoint g0 = LAYOUT_TWO_PLAYER.players[0].grid;
    const LayoutPoint g1 = LAYOUT_TWO_PLAYER.players[1].grid;
    EXPECT_TRUE(drawHasSmallText(got, "Make 5 3-letter words", g0.x + 5, g0.y + 192));
    EXPECT_TRUE(drawHasSmallText(got, "Make word: CAT", g1.x + 5, g1.y + 192));
}

TEST_F(ScreensTest, ButtonColumn)
{
    struct Case {
        const char* name;
        int32_t state;
        float dragLevel;
        bool dragRunning;
        bool tipAllowed;
        int32_t stateAfter;
        std::vector<DrawCopy> buttons;
    } cases[] = {
        {"nothing to offer", STATE_PLAYING, 0, false, true, STATE_PLAYING, {}},
        {"start drag opens tip 1", STATE_PLAYING, 90, false, true, STATE_TIP,
         {drawCopy(43, 44, SHEET_BUTTON_START_DRAG), drawCopy(43, 44, SHEET_BUTTON_HATCHING)}},
        {"start drag, tip not allowed", STATE_PLAYING, 90, false, false, STATE_PLAYING,
         {drawCopy(43, 44, SHEET_BUTTON_START_DRAG)}},
        {"stop drag opens tip 2", STATE_PLAYING, 50, true, true, STATE_TIP,
         {drawCopy(43, 110, SHEET_BUTTON_STOP_DRAG), drawCopy(43, 110, SHEET_BUTTON_HATCHING)}},
        {"stop drag, tip not allowed", STATE_PLAYING, 50, true, false, STATE_PLAYING,
         {drawCopy(43, 110, SHEET_BUTTON_STOP_DRAG)}},
        {"game over", STATE_GAME_OVER, 0, false, true, STATE_GAME_OVER, {drawCopy(43, 110, SHEET_BUTTON_ENTER_GAME)}},
        {"turn the world", STATE_TURN_WORLD, 0, false, true, STATE_TURN_WORLD,
         {drawCopy(43, 110, SHEET_BUTTON_ENTER_GAME)}},
        {"intro", STATE_LEVEL_INTRO, 90, false, true, STATE_LEVEL_INTRO, {}},
    };
    const SheetRect buttons[] = {SHEET_BUTTON_START_DRAG, SHEET_BUTTON_STOP_DRAG, SHEET_BUTTON_ENTER_GAME,
                                 SHEET_BUTTON_HATCHING, SHEET_BUTTON_CONTINUE, SHEET_BUTTON_DO_NOT_SHOW};
    for (const Case& k : cases) {
        SetUp();
        gameState = k.state;
        dragGauge.level = k.dragLevel;
        dragGauge.running = k.dragRunning;
        if (!k.tipAllowed) tipDoNotShow[1] = tipDoNotShow[2] = 1;
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got[0], (DrawCopy{43, 100, 0, 0, 95, 63})) << k.name;  // the lower button's place is blanked first
        std::vector<DrawCopy> drawn;
        for (const DrawCopy& c : got) {
            for (const SheetRect& b : buttons) {
                if (c.left == b.left && c.top == b.top && c.right == b.right) drawn.push_back(c);
            }
        }
        if (k.stateAfter == STATE_TIP) {
            // The tip's own buttons come only from the next frame on.
            EXPECT_EQ(drawn.size(), k.buttons.size() + 2) << k.name;
            drawn.resize(k.buttons.size());
        }
        EXPECT_EQ(drawn, k.buttons) << k.name;
        EXPECT_EQ(gameState, k.stateAfter) << k.name;
    }
}

TEST_F(ScreensTest, GaugeBarsShowTheirPercentageAndTheDragBarBlinks)
{
    struct Case {
        uint8_t blink;
        uint8_t running;
        int32_t dragBlanked;
    } cases[] = {{0, 0, 66}, {1, 0, 66}, {0, 1, 66}, {1, 1, 132}};
    for (const Case& k : cases) {
        SetUp();
        lifeGauge.level = 2500;  // 25 per cent
        dragGauge.level = 90;    // 50 per cent
        dragGauge.running = k.running;
        tipShown[1] = tipShown[2] = 1;
        blinkPhase = k.blink;
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        int32_t life = drawIndexOf(got, DrawCopy{269, 293, 0, 0, 99, 14});
        int32_t drag = drawIndexOf(got, DrawCopy{368 - k.dragBlanked, 322, 0, 0, k.dragBlanked, 14});
        int32_t cycle = drawIndexOf(got, DrawCopy{150, 350, 0, 0, 250, 20});
        EXPECT_NE(life, -1);
        EXPECT_GT(drag, life) << int(k.blink) << int(k.running);
        EXPECT_GT(cycle, drag);
    }
}

TEST_F(ScreensTest, TipScreenHidesTheGaugesAndShowsTheTipAndItsButtons)
{
    gameState = STATE_TIP;
    tipIndex = 3;
    wordgrid[0][0][0] = 'Q';
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();
    EXPECT_NE(drawIndexOf(got, DrawCopy{150, 293, 0, 0, 250, 20}), -1);
    EXPECT_NE(drawIndexOf(got, DrawCopy{150, 322, 0, 0, 250, 20}), -1);
    EXPECT_NE(drawIndexOf(got, drawCopy(152, 290, SHEET_BUTTON_CONTINUE)), -1);
    EXPECT_NE(drawIndexOf(got, drawCopy(300, 290, SHEET_BUTTON_DO_NOT_SHOW)), -1);
    EXPECT_EQ(countOf(got, sheetBigLetter('Q' - 'A')), 0);
    // The first line of the tip, centred in 155..395.
    headlessClearCopies();
    txtDrawWrappedSmall(tipTexts[3], 155, 30, 240, 11);
    std::vector<DrawCopy> tip = drawCopies();
    ASSERT_FALSE(tip.empty());
    EXPECT_EQ(tip[0].y, 30);
    for (const DrawCopy& c : tip) EXPECT_NE(drawIndexOf(got, c), -1);

    // With a banner showing the grid comes back and the tip buttons go.
    SetUp();
    gameState = STATE_TIP;
    wordgrid[0][0][0] = 'Q';
    ShowBanner(BANNER_GAME_OVER);
    scrDrawPlayScreen();
    got = drawCopies();
    EXPECT_EQ(countOf(got, sheetBigLetter('Q' - 'A')), 1);
    EXPECT_EQ(countOf(got, SHEET_BUTTON_CONTINUE), 0);
}

TEST_F(ScreensTest, OnePlayerHudTexts)
{
    PlayerState& ps = playerState[0];
    ps.score = 1234;
    ps.wordRowCount = 3;
    std::strcpy(ps.recentWords[0], "CA");
    ps.recentScores[0] = 0;  // not a word yet: no value
    std::strcpy(ps.recentWords[1], "CAPES");
    ps.recentScores[1] = 36;
    std::strcpy(ps.recentWords[2], "CAT");
    ps.recentScores[2] = 8;
    std::strcpy(ps.bestWords[0].word, "CAPES");
    ps.bestWords[0].score = 36;
    std::strcpy(ps.bestWords[1].word, "CAT");
    ps.bestWords[1].score = 8;
    std::strcpy(ps.bestWords[2].word, "OLD");
    ps.bestWords[2].score = 0;
    std::strcpy(ps.recentWords[3], "HIDDEN");  // beyond wordRowCount
    objective.done = 2;
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();

    struct Text {
        const char* text;
        int32_t x, y;
    } texts[] = {
        {"Score:", 50, 200}, {"1234", 50, 211}, {"Level bonus:", 50, 230}, {"210", 50, 241},
        {"Objective:", 50, 400}, {"Make 3-letter words - done 2 of 5", 50, 413},
        {"Most recent words:", 518 - 72, 46}, {"Best words:", 518 - 44, 240},
        {"Press P to pause and view instructions", 320 - 152, 440},
        {"CA", 544 - 16, 61}, {"CAPES", 544 - 40, 72}, {"36", 552, 72}, {"CAT", 544 - 24, 83}, {"8", 552, 83},
        {"CAPES", 544 - 40, 255}, {"36", 552, 255}, {"CAT", 544 - 24, 266}, {"8", 552, 266},
    };
    for (const Text& t : texts) EXPECT_TRUE(drawHasSmallText(got, t.text, t.x, t.y)) << t.text;
    EXPECT_FALSE(drawHasSmallText(got, "0", 552, 61));
    EXPECT_FALSE(drawHasSmallText(got, "0", 552, 277));
    EXPECT_FALSE(drawHasSmallText(got, "OLD", 544 - 24, 277));  // a best row of score 0 is empty
    EXPECT_FALSE(drawHasSmallText(got, "HIDDEN", 544 - 48, 94));

    // The level bonus shows only in play.
    SetUp();
    gameState = STATE_TURN_WORLD;
    scrDrawPlayScreen();
    got = drawCopies();
    EXPECT_FALSE(drawHasSmallText(got, "Level bonus:", 50, 230));
    EXPECT_TRUE(drawHasSmallText(got, "Objective:", 50, 400));
}

TEST_F(ScreensTest, TwoPlayerHudTexts)
{
    twoPlayer = 1;
    levelNumber = 11;
    objective.done = 2;
    playerState[0].score = 77;
    playerState[1].score = 5;
    for (int32_t p = 0; p < 2; p++) {
        PlayerState& ps = playerState[p];
        ps.wordRowCount = 12;
        for (int32_t i = 0; i < 12; i++) {
            std::snprintf(ps.recentWords[i], WORD_ROW_CHARS, "DOG%c", 'A' + i + 12 * p);
            ps.recentScores[i] = 10 + i;
            std::snprintf(ps.bestWords[i].word, WORD_ROW_CHARS, "EEL%c", 'A' + i + 12 * p);
            ps.bestWords[i].score = 90 - i;
        }
    }
    scrDrawPlayScreen();
    std::vector<DrawCopy> got = drawCopies();
    const ScreenLayout& L = LAYOUT_TWO_PLAYER;
    for (int32_t p = 0; p < 2; p++) {
        SCOPED_TRACE(p);
        const LayoutPlayer& at = L.players[p];
        EXPECT_TRUE(drawHasSmallText(got, "Score:", at.scoreLabel.x, at.scoreLabel.y));
        EXPECT_TRUE(drawHasSmallText(got, p == 0 ? "77" : "5", at.scoreValue.x, at.scoreValue.y));
        EXPECT_TRUE(drawHasSmallText(got, "Most recent words:", at.recent.heading.x - 72, at.recent.heading.y));
        EXPECT_TRUE(drawHasSmallText(got, "Best words:", at.best.heading.x - 44, at.best.heading.y));
        // As many rows as the layout has room for, each word ending where its score starts.
        for (int32_t i = 0; i < 12; i++) {
            char word[8];
            char score[8];
            std::snprintf(word, sizeof word, "DOG%c", 'A' + i + 12 * p);
            std::snprintf(score, sizeof score, "%d", 10 + i);
            const int32_t y = at.recent.top + at.recent.pitch * i;
            EXPECT_EQ(drawHasSmallText(got, word, at.recent.wordRight - 32, y), i < at.recent.rows) << word;
            EXPECT_EQ(drawHasSmallText(got, score, at.recent.scoreLeft, y), i < at.recent.rows) << word;
            std::snprintf(word, sizeof word, "EEL%c", 'A' + i + 12 * p);
            std::snprintf(score, sizeof score, "%d", 90 - i);
            const int32_t by = at.best.top + at.best.pitch * i;
            EXPECT_EQ(drawHasSmallText(got, word, at.best.wordRight - 32, by), i < 4) << word;
            EXPECT_EQ(drawHasSmallText(got, score, at.best.scoreLeft, by), i < 4) << word;
        }
    }
    // The shared texts: the level counted from 1, the objective, the footer.
    EXPECT_TRUE(drawHasSmallText(got, "Level", L.levelLabel.x - 20, L.levelLabel.y));
    EXPECT_TRUE(drawHasSmallText(got, "12", L.levelValue.x - 8, L.levelValue.y));
    EXPECT_TRUE(drawHasSmallText(got, "Objective:", L.objectiveLabel.x - 40, L.objectiveLabel.y));
    headlessClearCopies();
    txtDrawWrappedSmall("Make 3-letter words - done 2 of 5", L.objectiveText.x, L.objectiveText.y,
                        L.objectiveText.width, L.objectiveText.lineHeight);
    for (const DrawCopy& c : drawCopies()) EXPECT_NE(drawIndexOf(got, c), -1) << c;
    EXPECT_TRUE(drawHasSmallText(got, "Press P to pause and view instructions", L.footer.x - 152, L.footer.y));
    // None of the one-player places.
    EXPECT_FALSE(drawHasSmallText(got, "Objective:", 50, 400));
    EXPECT_FALSE(drawHasSmallText(got, "Score:", 50, 200));
    EXPECT_FALSE(drawHasSmallText(got, "Level bonus:", 50, 230));
}

// A best word row of score 0 holds a word of an earlier game: nothing of it
// shows, in either game, while the rows around it do.
TEST_F(ScreensTest, BestWordRowsOfScoreZeroDrawNothing)
{
    for (int32_t two = 0; two < 2; two++) {
        SCOPED_TRACE(two);
        SetUp();
        twoPlayer = two;
        for (int32_t p = 0; p < 1 + two; p++) {
            PlayerState& ps = playerState[p];
            ps.wordRowCount = 4;
            const char* words[4] = {"CAT", "QUIZ", "JUNK", "FIX"};
            const int32_t scores[4] = {9, 0, 0, 0};
            for (int32_t i = 0; i < 4; i++) {
                std::strcpy(ps.bestWords[i].word, words[i]);
                ps.bestWords[i].score = scores[i];
            }
        }
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        const ScreenLayout& L = two ? LAYOUT_TWO_PLAYER : LAYOUT_ONE_PLAYER;
        for (int32_t p = 0; p < 1 + two; p++) {
            const LayoutWordList& best = L.players[p].best;
            EXPECT_TRUE(drawHasSmallText(got, "CAT", best.wordRight - 24, best.top)) << p;
            EXPECT_TRUE(drawHasSmallText(got, "9", best.scoreLeft, best.top)) << p;
        }
        // Not a glyph of the emptied words anywhere: none of their letters is in another text.
        for (char c : {'Q', 'U', 'I', 'Z', 'J', 'N', 'K', 'F', 'X'}) {
            EXPECT_EQ(countOf(got, sheetSmallGlyph(drawSmallIndex(c))), 0) << c;
        }
    }
}

TEST_F(ScreensTest, PauseScreenListsHighScoresAndKeys)
{
    hiScoreCount = 2;
    hiScores[0] = HiScoreRow{250, "ESCAPES", "105"};
    hiScores[1] = HiScoreRow{90, "CAT", "8"};
    hiScores[2] = HiScoreRow{0, "UNUSED", "1"};
    scrDrawPauseScreen();
    std::vector<DrawCopy> got = drawCopies();
    struct Text {
        const char* text;
        int32_t x, y;
    } texts[] = {
        {"High scores:", 272, 50},
        {"MR ESCAPES", 315 - 80, 61}, {"250/105", 325, 61}, {"MR CAT", 315 - 48, 72}, {"90/8", 325, 72},
        {"Keys:", 300, 273},
        {"K", 202, 295}, {"-", 216, 295}, {"View/Redefine Player Keys (from this screen)", 230, 295},
        {"F1", 194, 306}, {"New One Player Game", 230, 306},
        {"F2", 194, 317}, {"New Two Player Game", 230, 317},
        {"F3", 194, 328}, {"Player One View Upside-Down", 230, 328},
        {"F4", 194, 339}, {"Player Two View Upside-Down", 230, 339},
        {"Escape", 162, 350}, {"-", 216, 350}, {"Quit", 230, 350},
        {"Instructions:", 320 - 52, 363},
    };
    for (const Text& t : texts) EXPECT_TRUE(drawHasSmallText(got, t.text, t.x, t.y)) << t.text;
    EXPECT_FALSE(drawHasSmallText(got, "MR UNUSED", 315 - 72, 83));
}

// Every copy of the instructions: below the heading, above the screen's bottom
// rows, inside its width, and every character one the small font has.
static void expectInstructionsFit(const ScrTextLine* lines, int32_t count)
{
    ASSERT_GE(count, 1);
    ASSERT_LE(count, SCR_HELP_MAX_LINES);
    for (int32_t i = 0; i < count; i++) {
        const size_t length = std::strlen(lines[i].text);
        EXPECT_EQ(lines[i].y, 374 + 11 * i);
        EXPECT_LE(lines[i].y + TXT_SMALL_HEIGHT, 477) << lines[i].text;
        EXPECT_LE(length * TXT_SMALL_ADVANCE, 640u) << lines[i].text;
        for (size_t c = 0; c < length; c++) {
            EXPECT_TRUE(lines[i].text[c] == ' ' || drawSmallIndex(lines[i].text[c]) >= 0) << lines[i].text;
        }
    }
    headlessClearCopies();
    scrDrawPauseScreen();
    std::vector<DrawCopy> got = drawCopies();
    for (int32_t i = 0; i < count; i++) {
        const int32_t x = 320 - static_cast<int32_t>(std::strlen(lines[i].text)) * TXT_SMALL_ADVANCE / 2;
        EXPECT_TRUE(drawHasSmallText(got, lines[i].text, x, lines[i].y)) << lines[i].text;
    }
    for (const DrawCopy& c : got) {
        if (c.y <= 363) continue;
        EXPECT_GE(c.y, 374) << c;
        EXPECT_LE(c.y + (c.bottom - c.top), 477) << c;
        EXPECT_GE(c.x, 0) << c;
        EXPECT_LE(c.x + (c.right - c.left), 640) << c;
    }
}

static std::string joinedLines(const ScrTextLine* lines, int32_t count)
{
    std::string all;
    for (int32_t i = 0; i < count; i++) all += std::string(i ? " " : "") + lines[i].text;
    return all;
}

TEST_F(ScreensTest, InstructionsTellTheGoalAndTheKeysAsTheyAreBound)
{
    keyInstallDefaults();
    ScrTextLine lines[SCR_HELP_MAX_LINES];
    int32_t count = scrInstructionLines(lines);
    expectInstructionsFit(lines, count);
    std::string all = joinedLines(lines, count);
    EXPECT_NE(all.find("to spell a word of 3 to 15 letters"), std::string::npos) << all;
    EXPECT_NE(all.find("when it runs out, the game is over"), std::string::npos) << all;
    EXPECT_NE(all.find("Meet the objective"), std::string::npos) << all;
    EXPECT_NE(all.find("H for a hint"), std::string::npos) << all;
    // One line for each player's keys.
    bool p1 = false, p2 = false;
    for (int32_t i = 0; i < count; i++) {
        p1 |= std::strcmp(lines[i].text, "P1: LEFT A, RIGHT D, UP W, DOWN S, DROP SPACE") == 0;
        p2 |= std::strcmp(lines[i].text, "P2: LEFT NUMPAD4, RIGHT NUMPAD6, UP NUMPAD8, DOWN NUMPAD5, DROP NUMPAD2") == 0;
    }
    EXPECT_TRUE(p1) << all;
    EXPECT_TRUE(p2) << all;

    // Changed keys show by the names the key screen gives them.
    keyLeft[0] = 37;
    keyDrop[0] = 0;
    keyUp[1] = 188;
    keyDown[1] = 144;
    count = scrInstructionLines(lines);
    expectInstructionsFit(lines, count);
    all = joinedLines(lines, count);
    EXPECT_NE(all.find("P1: LEFT LEFT CURSOR, RIGHT D, UP W, DOWN S, DROP NOT DEFINED"), std::string::npos) << all;
    EXPECT_NE(all.find("UP ,, DOWN NUM LOCK (CONFUSES NUMERIC KEYPAD), DROP NUMPAD2"), std::string::npos) << all;
}

TEST_F(ScreensTest, InstructionsStillFitWhenEveryKeyHasTheLongestName)
{
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) *keyDefBinding(row) = 144;
    ScrTextLine lines[SCR_HELP_MAX_LINES];
    int32_t count = scrInstructionLines(lines);
    expectInstructionsFit(lines, count);
    std::string all = joinedLines(lines, count);
    EXPECT_NE(all.find("Meet the objective"), std::string::npos) << all;
    EXPECT_NE(all.find("Press K to see both players' keys."), std::string::npos) << all;
    EXPECT_NE(all.find("H for a hint"), std::string::npos) << all;
    EXPECT_EQ(all.find("NUM LOCK"), std::string::npos) << all;
}

TEST_F(ScreensTest, BannerPanelGrowsForSixteenCharactersOrMore)
{
    struct Case {
        int32_t banner;
        int32_t panelCopies;
        DrawCopy firstLetter;
    } cases[] = {
        {BANNER_TURN_WORLD, 12, drawCopy(240, 150, sheetBigLetter('T' - 'A'))},
        {BANNER_GAME_OVER, 12, drawCopy(240, 150, sheetBigLetter('G' - 'A'))},
        {BANNER_GAME_OVER_HIGH_SCORE, 16, drawCopy(240, 150, sheetBigLetter('G' - 'A'))},
    };
    for (const Case& k : cases) {
        SetUp();
        bannerIndex = k.banner;
        scrDrawBanner();
        std::vector<DrawCopy> got = drawCopies();
        ASSERT_GT(got.size(), static_cast<size_t>(k.panelCopies));
        EXPECT_EQ(got[0], drawCopy(150, 100, sheetPanelPiece(0, 0)));
        EXPECT_EQ(got[static_cast<size_t>(k.panelCopies)], k.firstLetter) << bannerTexts[k.banner];
    }
    SetUp();
    scrDrawBanner();
    EXPECT_EQ(headless.copyCount, 0);
}

TEST_F(ScreensTest, NewHighScoreBannerCarriesItsLineFeedWithNew)
{
    bannerIndex = BANNER_GAME_OVER_HIGH_SCORE;
    scrDrawBanner();
    std::vector<DrawCopy> got = drawCopies();
    // GAME / OVER / (line feed) / NEW / HIGH / SCORE, 28 pixels apart.
    EXPECT_NE(drawIndexOf(got, drawCopy(240, 178, sheetBigLetter('O' - 'A'))), -1);
    EXPECT_NE(drawIndexOf(got, drawCopy(254, 234, sheetBigLetter('N' - 'A'))), -1);
    EXPECT_NE(drawIndexOf(got, drawCopy(240, 262, sheetBigLetter('H' - 'A'))), -1);
    EXPECT_NE(drawIndexOf(got, drawCopy(240, 290, sheetBigLetter('S' - 'A'))), -1);
}

TEST_F(ScreensTest, StateTextsShake)
{
    for (int32_t i = 0; i < 10; i++) {
        headlessClearCopies();
        scrDrawPauseLine();
        std::vector<DrawCopy> got = drawCopies();
        ASSERT_EQ(got.size(), drawSmallTextCopies("PAUSED - PRESS P TO UNPAUSE", 0, 0).size());
        int32_t dx = got[0].x - 212, dy = got[0].y - 230;
        EXPECT_LE(std::abs(dx), 1);
        EXPECT_LE(std::abs(dy), 1);
        EXPECT_TRUE(drawHasSmallText(got, "PAUSED - PRESS P TO UNPAUSE", 212 + dx, 230 + dy));

        headlessClearCopies();
        scrDrawGameOverText();
        got = drawCopies();
        ASSERT_EQ(got.size(), 8u);
        dx = got[0].x - 20;
        dy = got[0].y - 435;
        EXPECT_LE(std::abs(dx), 1);
        EXPECT_LE(std::abs(dy), 1);
        EXPECT_TRUE(drawHasSmallText(got, "GAME OVER", 20 + dx, 435 + dy));
    }
}

TEST_F(ScreensTest, TwoPlayerGameOverShowsTheResult)
{
    struct Case {
        int32_t s0, s1, result;
        const char* left;
        const char* right;
    } cases[] = {
        {100, 40, 2, "TRIUMPH", "DISASTER"}, {100, 60, 1, "YOU WIN", "YOU LOSE"}, {60, 100, -1, "YOU LOSE", "YOU WIN"},
        {0, 5, -2, "DISASTER", "TRIUMPH"},   {50, 50, 0, nullptr, nullptr},
    };
    for (const Case& k : cases) {
        SetUp();
        twoPlayer = 1;
        playerState[0].score = k.s0;
        playerState[1].score = k.s1;
        EXPECT_EQ(scrTwoPlayerResult(), k.result);
        scrDrawGameOverText();
        std::vector<DrawCopy> got = drawCopies();
        if (!k.left) {
            EXPECT_TRUE(got.empty());
            continue;
        }
        // Under each player's words: player 0's starting at its left edge, player 1's ending at its right.
        const LayoutText& l = LAYOUT_TWO_PLAYER.players[0].result;
        const LayoutText& r = LAYOUT_TWO_PLAYER.players[1].result;
        ASSERT_EQ(l.align, TXT_ALIGN_LEFT);
        ASSERT_EQ(r.align, TXT_ALIGN_RIGHT);
        int32_t rightX = r.x - 8 * static_cast<int32_t>(std::strlen(k.right));
        bool left = false, right = false;
        for (int32_t dx = -1; dx <= 1; dx++) {
            for (int32_t dy = -1; dy <= 1; dy++) {
                left = left || drawHasSmallText(got, k.left, l.x + dx, l.y + dy);
                right = right || drawHasSmallText(got, k.right, rightX + dx, r.y + dy);
            }
        }
        EXPECT_TRUE(left) << k.left;
        EXPECT_TRUE(right) << k.right;
        EXPECT_FALSE(drawHasSmallText(got, "GAME OVER", 20, 435));
    }
}

}  // namespace
