#include <cstring>

#include "game/grid.h"

void gridNewGame(int32_t p) {
    if (!(p >= 0 && p < MAX_PLAYERS)) return;
    worldOffsetX = 0;
    worldOffsetY = 0;
    for (int32_t r = 0; r < WORLD_SIZE; r++)
        for (int32_t c = 0; c < WORLD_SIZE; c++) letterWorld[p][r][c] = RandomLetter();
    SetGrid(p);
    std::memset(vanishMark[p], 0, sizeof vanishMark[p]);
    gridStepTime[p] = 0;
    fallInterval[p] = 100;
    fallIntervalDefault = 100;
}
