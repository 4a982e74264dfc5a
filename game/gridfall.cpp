#include "game/grid.h"
#include "game/level.h"
#include "game/gamestate.h"

void FallStep(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS || vanishPending[p]) return;
    const uint32_t now = frameInput.time;
    if (!gridTimeElapsed(now, gridStepTime[p], fallInterval[p])) return;

    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    bool blankFound = false;
    // Each column closes only its lowest gap per step; everything above it drops one row.
    for (int32_t x = 0; x < cols; x++) {
        int32_t b = rows - 1;
        while (b >= 0 && wordgrid[p][b][x] != GRID_BLANK) b--;
        if (b < 0) continue;
        blankFound = true;
        for (int32_t r = b; r >= 1; r--) {
            const char moved = wordgrid[p][r - 1][x];
            wordgrid[p][r][x] = moved;
            if (moved != GRID_BLANK) gridStepTime[p] = now;
        }
        wordgrid[p][0][x] = GRID_BLANK;
    }

    // One new letter per step for the whole grid, leftmost column first.
    for (int32_t x = 0; x < cols; x++) {
        if (rows > 0 && wordgrid[p][0][x] == GRID_BLANK) {
            wordgrid[p][0][x] = RandomLetter();
            break;
        }
    }

    if (!blankFound) levelCheckComplete(p);
}
