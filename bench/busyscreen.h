// The scene both frame benchmarks draw: the ready game folder as the working
// directory and a play screen with everything on it.
#pragma once

#include <unistd.h>

#include <climits>
#include <cstdio>

#include "game/gamestate.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/score.h"
#include "game/tips.h"
#include "platform/platform.h"

namespace bench {

// Runs with the ready game folder as the working directory, as the game does.
class GameFolder {
public:
    GameFolder() {
        if (!getcwd(old, sizeof old) || chdir(TQ_GAME_DIR) != 0) std::perror("game folder");
    }
    ~GameFolder() {
        if (chdir(old) != 0) std::perror("back");
    }

private:
    char old[PATH_MAX];
};

// Full word panels, a 15-letter path, letters shaking to vanish and the Drag
// Bar blinking: everything the play screen can draw at once.
inline void makeBusyPlayScreen() {
    gameNew();
    // Every tip counts as seen, so the buttons drawn below open none over the grid.
    for (uint8_t& shown : tipShown) shown = 1;
    levelStart();
    gameState = STATE_PLAYING;
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        PlayerState& ps = playerState[p];
        ps.score = 1234567;
        ps.wordRowCount = WORD_ROWS_SHOWN;
        for (int32_t i = 0; i < WORD_ROWS_SHOWN; i++) {
            std::snprintf(ps.recentWords[i], WORD_ROW_CHARS, "%s", "QUIZZICALNESS");
            ps.recentScores[i] = 900 + i;
            std::snprintf(ps.bestWords[i].word, WORD_ROW_CHARS, "%s", "ESCAPES");
            ps.bestWords[i].score = 105 - i;
        }
    }
    // A snake through the grid: 15 neighbouring cells.
    wordLength[0] = maxWordLength;
    for (int32_t i = 0; i < maxWordLength; i++) {
        int32_t row = i / GRID_SIZE;
        int32_t col = row % 2 == 0 ? i % GRID_SIZE : GRID_SIZE - 1 - i % GRID_SIZE;
        pathX[0][i] = col;
        pathY[0][i] = row;
        wordLetters[0][i] = wordgrid[0][row][col];
    }
    wordLetters[0][maxWordLength] = '\0';
    highlightOn[0] = 1;
    for (int32_t c = 0; c < GRID_SIZE; c++) vanishMark[0][5][c] = vanishMark[0][6][c] = 1;
    vanishPending[0] = 1;
    gridStepTime[0] = platGetTickCount();
    dragGauge.level = dragGauge.fullLevel;
    gaugeStart(dragGauge);
    dragModeOn[0] = 1;
    pointerX = 146 + 36 * 3 + 18;
    pointerY = 27 + 36 * 3 + 17;
}

}  // namespace bench
