#include "game/level.h"

#include <cstdio>
#include <cstring>

#include "Core/cmdebug.h"
#include "Core/cmrand.h"
#include "game/dragmode.h"
#include "game/gamestate.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/score.h"
#include "game/solver.h"
#include "game/tips.h"
#include "sound/sound.h"

// Level 6 asks for a 7-letter word before levels 7 and 8 ask for 6-letter ones;
// that is how the game has always played.
const LevelRow levelTable[LEVEL_COUNT] = {
    {3, 5},  {3, 0},  {4, 5},   {4, 0},  {5, 3},   {5, 0},  {7, 1},  {6, 0},  {6, 4},  {7, 0},  {8, 2},  {8, 0},
    {9, 2},  {9, 0},  {10, 2},  {10, 0}, {11, 1},  {11, 0}, {12, 1}, {12, 0}, {13, 1}, {13, 0}, {14, 1}, {14, 0},
    {15, 1}, {15, 0}, {15, 2},  {15, 0}, {15, 3},  {15, 0}, {15, 4}, {15, 0}, {15, 5}, {15, 0}, {15, 10},
};

int32_t levelNumber;
int32_t levelHintCost;
char gridMessageRows[2][GRID_MESSAGE_ROW_COUNT][GRID_MESSAGE_ROW_SIZE];

static bool levelPlayerValid(int32_t p) { return p >= 0 && p < MAX_PLAYERS; }

// Every player in the game sees the intro in their own grid.
static void levelComposeIntros() {
    for (int32_t q = 0; q < (twoPlayer ? MAX_PLAYERS : 1); q++) bannerCompose(q);
}

int32_t levelBonus() {
    int32_t bonus = (levelNumber * 5 + 5) * 2;
    const uint32_t frames = playFrameCounter;
    if (frames < 900) {
        bonus += 200;
    } else if (frames < 1800) {
        bonus += 100;
    } else if (frames < 3600) {
        bonus += 50;
    } else if (frames < 7200) {
        bonus += 25;
    } else if (frames < 18000) {
        bonus += 10;
    }
    bonus += gaugeSecondsLeft(lifeGauge) / 5;
    bonus += gaugeSecondsLeft(dragGauge) / 2;
    // The bonus falls as the level goes on, the price of earlier hints does
    // not: finishing a level never costs points.
    bonus -= levelHintCost;
    return bonus > 0 ? bonus : 0;
}

void levelBonusTakeTenth() { levelHintCost += levelBonus() / 10; }

void levelAdvance(int32_t p) {
    if (!levelPlayerValid(p)) return;
    // What each grid held as the level ended, for the intro of the next.
    solverNoteEnd();
    playerState[p].score += levelBonus();
    levelHintCost = 0;
    if (levelNumber < LEVEL_LAST) levelNumber += 1;
    objectiveNew();
    levelComposeIntros();
    gameState = STATE_LEVEL_INTRO;
    sndPlay(SOUND_LEVEL_BONUS);
    sndPlayAfter(SOUND_LEVEL_INTRO, SOUND_LEVEL_BONUS);
}

void levelCheckComplete(int32_t p) {
    if (objectiveIsComplete()) levelAdvance(p);
}

void levelStart() {
    gameState = STATE_PLAYING;
    playFrameCounter = 0;
    gaugesLevelStart();
}

void bannerCompose(int32_t p) {
    if (!levelPlayerValid(p)) return;
    char scoreText[24];
    snprintf(scoreText, sizeof scoreText, "%d", playerState[p].score);
    while (strlen(scoreText) < 7) {
        cmDebugPrint("scorestr was: %s", scoreText);
        char padded[sizeof scoreText];
        snprintf(padded, sizeof padded, "0%s", scoreText);
        memcpy(scoreText, padded, sizeof scoreText);
        cmDebugPrint("scorestr is: %s", scoreText);
    }

    char goal[OBJECTIVE_TEXT_SIZE];
    objectiveText(goal, OBJECTIVE_FORM_SHORT);

    // Both forms fill the seven cells of row 0.
    char levelText[24];
    snprintf(levelText, sizeof levelText, levelNumber <= 9 ? "LEVEL %d" : "LEVEL%d", levelNumber);

    const char* rows[GRID_MESSAGE_ROW_COUNT];
    if (levelNumber == 0) {
        const char* welcome[GRID_MESSAGE_ROW_COUNT] = {"WELCOME", "  TO   ", " TARVO ", "QUELMS ", "GOAL IS", goal, "WORD ON"};
        memcpy(rows, welcome, sizeof rows);
    } else {
        const char* success[GRID_MESSAGE_ROW_COUNT] = {levelText, "SUCCESS", " SCORE ", scoreText, "GOAL IS", goal, "WORD UP"};
        memcpy(rows, success, sizeof rows);
    }
    for (int32_t r = 0; r < GRID_MESSAGE_ROW_COUNT; r++) {
        snprintf(gridMessageRows[p][r], GRID_MESSAGE_ROW_SIZE, "%s", rows[r]);
    }
}

void levelClearAll() {
    levelNumber = 0;
    levelHintCost = 0;
    memset(&objective, 0, sizeof objective);
    memset(gridMessageRows, 0, sizeof gridMessageRows);
}

void gameNew() {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        PlayerState& player = playerState[p];
        player.wordRowCount = 0;
        player.recentWordCount = 0;
        for (int32_t i = 0; i < BEST_WORD_ROWS; i++) player.bestWords[i].score = 0;
    }
    levelNumber = 0;
    levelHintCost = 0;
    solverClearAll();

    // Level 0 needs no random word, so the first objective comes before the seeding.
    objectiveNew();
    levelComposeIntros();
    gameState = STATE_LEVEL_INTRO;
    cmSrand(frameInput.time);

    // Both players, whether or not the game has two.
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        heldLeft[p] = heldRight[p] = heldUp[p] = heldDown[p] = 0;
        pointerHeld[p] = 0;
        wordLength[p] = 0;
        highlightOn[p] = 0;
        notWordLength[p] = 0;
        dragModeOn[p] = 0;
        prevCellX[p] = 0;
        prevCellY[p] = 0;
        gridNewGame(p);
        playerState[p].score = 0;
    }

    memset(tipShown, 0, sizeof tipShown);
    // The tip, when it opens, covers the welcome and has its own sound.
    if (!tipShowIfAllowed(TIP_HOW_TO_PLAY)) sndPlay(SOUND_LEVEL_INTRO);
}
