#include "game/grid.h"

#include <cstring>

#include "game/gridlog.h"
#include "game/gamestate.h"

int32_t gridRows = GRID_SIZE;
int32_t gridCols = GRID_SIZE;
int32_t worldOffsetX;
int32_t worldOffsetY;
int32_t letterWeightTotal;
int32_t fallIntervalDefault = 100;

const int32_t letterWeights[LETTER_COUNT] = {
    236, 58, 121, 106, 357, 38, 83, 72, 226, 9, 27, 170, 98,   // A..M
    210, 203, 90, 9, 220, 290, 206, 95, 25, 27, 10, 49, 18,    // N..Z
};

char letterWorld[MAX_PLAYERS][WORLD_SIZE][WORLD_SIZE];
char wordgrid[MAX_PLAYERS][GRID_SIZE][GRID_SIZE];
uint8_t vanishMark[MAX_PLAYERS][GRID_SIZE][GRID_SIZE];
uint8_t vanishPending[MAX_PLAYERS];
uint32_t gridStepTime[MAX_PLAYERS];
int32_t fallInterval[MAX_PLAYERS];

static bool gridPlayerValid(int32_t p) { return p >= 0 && p < MAX_PLAYERS; }

// A world index from an offset and a grid index; any offset maps into 0..13.
static int32_t gridWorldIndex(int32_t offset, int32_t i) {
    int32_t w = (offset % WORLD_SIZE + i) % WORLD_SIZE;
    return w < 0 ? w + WORLD_SIZE : w;
}

int32_t gridRowLimit() { return gridRows < 0 ? 0 : (gridRows > GRID_SIZE ? GRID_SIZE : gridRows); }
int32_t gridColLimit() { return gridCols < 0 ? 0 : (gridCols > GRID_SIZE ? GRID_SIZE : gridCols); }

bool gridTimeElapsed(uint32_t now, uint32_t since, int64_t interval) {
    return static_cast<int64_t>(static_cast<uint32_t>(now - since)) > interval;
}

void gridTotalLetterWeights() {
    letterWeightTotal = 0;
    for (int32_t w : letterWeights) letterWeightTotal += w;
}

void SetGrid(int32_t p) {
    gameLog("\nSetGrid: Offsets %d, %d.", worldOffsetX, worldOffsetY);
    if (!gridPlayerValid(p)) return;
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < cols; x++)
            wordgrid[p][y][x] = letterWorld[p][gridWorldIndex(worldOffsetY, y)][gridWorldIndex(worldOffsetX, x)];
}

void StoreGrid(int32_t p) {
    if (!gridPlayerValid(p)) return;
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < cols; x++)
            letterWorld[p][gridWorldIndex(worldOffsetY, y)][gridWorldIndex(worldOffsetX, x)] = wordgrid[p][y][x];
}

void VanishStep(int32_t p) {
    if (!gridPlayerValid(p) || !vanishPending[p]) return;
    const uint32_t now = frameInput.time;
    if (!gridTimeElapsed(now, gridStepTime[p], VANISH_DELAY)) return;
    vanishPending[p] = 0;
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++)
            if (vanishMark[p][y][x]) wordgrid[p][y][x] = GRID_BLANK;
    std::memset(vanishMark[p], 0, sizeof vanishMark[p]);
    gridStepTime[p] = now;
}

void gridClearAll() {
    gridRows = GRID_SIZE;
    gridCols = GRID_SIZE;
    worldOffsetX = 0;
    worldOffsetY = 0;
    fallIntervalDefault = 100;
    std::memset(letterWorld, GRID_BLANK, sizeof letterWorld);
    std::memset(wordgrid, GRID_BLANK, sizeof wordgrid);
    std::memset(vanishMark, 0, sizeof vanishMark);
    std::memset(vanishPending, 0, sizeof vanishPending);
    std::memset(gridStepTime, 0, sizeof gridStepTime);
    for (int32_t& f : fallInterval) f = 100;
}
