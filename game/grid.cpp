#include "game/grid.h"

#include <cstdarg>
#include <cstring>

#include "Core/cmdebug.h"
#include "Core/cmrand.h"
#include "game/gamestate.h"
#include "game/level.h"
#include "game/objective.h"
#include "sound/sound.h"

int32_t gridRows = GRID_SIZE;
int32_t gridCols = GRID_SIZE;
int32_t worldOffsetX[MAX_PLAYERS];
int32_t worldOffsetY[MAX_PLAYERS];
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
    if (!gridPlayerValid(p)) return;
    gameLog("\nSetGrid: Offsets %d, %d.", worldOffsetX[p], worldOffsetY[p]);
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < cols; x++)
            wordgrid[p][y][x] = letterWorld[p][gridWorldIndex(worldOffsetY[p], y)][gridWorldIndex(worldOffsetX[p], x)];
}

void StoreGrid(int32_t p) {
    if (!gridPlayerValid(p)) return;
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < cols; x++)
            letterWorld[p][gridWorldIndex(worldOffsetY[p], y)][gridWorldIndex(worldOffsetX[p], x)] = wordgrid[p][y][x];
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
    std::memset(worldOffsetX, 0, sizeof worldOffsetX);
    std::memset(worldOffsetY, 0, sizeof worldOffsetY);
    fallIntervalDefault = 100;
    std::memset(letterWorld, GRID_BLANK, sizeof letterWorld);
    std::memset(wordgrid, GRID_BLANK, sizeof wordgrid);
    std::memset(vanishMark, 0, sizeof vanishMark);
    std::memset(vanishPending, 0, sizeof vanishPending);
    std::memset(gridStepTime, 0, sizeof gridStepTime);
    for (int32_t& f : fallInterval) f = 100;
}

void gridNewGame(int32_t p) {
    if (!(p >= 0 && p < MAX_PLAYERS)) return;
    worldOffsetX[p] = 0;
    worldOffsetY[p] = 0;
    for (int32_t r = 0; r < WORLD_SIZE; r++)
        for (int32_t c = 0; c < WORLD_SIZE; c++) letterWorld[p][r][c] = RandomLetter();
    SetGrid(p);
    std::memset(vanishMark[p], 0, sizeof vanishMark[p]);
    gridStepTime[p] = 0;
    fallInterval[p] = 100;
    fallIntervalDefault = 100;
}

void FallStep(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS || vanishPending[p]) return;
    const uint32_t now = frameInput.time;
    if (!gridTimeElapsed(now, gridStepTime[p], fallInterval[p])) return;

    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    bool blankFound = false;
    bool landed = false;
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
        // The letter dropped into the lowest gap now rests on what is below it.
        if (wordgrid[p][b][x] != GRID_BLANK) landed = true;
        wordgrid[p][0][x] = GRID_BLANK;
    }

    // One new letter per step for the whole grid, leftmost column first.
    for (int32_t x = 0; x < cols; x++) {
        if (rows > 0 && wordgrid[p][0][x] == GRID_BLANK) {
            wordgrid[p][0][x] = RandomLetter();
            break;
        }
    }

    if (landed) sndPlay(SOUND_LAND);
    if (!blankFound) levelCheckComplete(p);
}

// One time in eight, a letter the target word needs more of than player 0's
// grid holds; 0 when the test fails or nothing is missing.
static char gridMissingTargetLetter() {
    if ((cmRand() & 7) != 0) return 0;
    int32_t inGrid[LETTER_COUNT] = {};
    int32_t inWord[LETTER_COUNT] = {};
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < rows; y++) {
        for (int32_t x = 0; x < cols; x++) {
            const char c = wordgrid[0][y][x];
            if (c >= 'A' && c <= 'Z') inGrid[c - 'A']++;
        }
    }
    for (int32_t i = 0; i < static_cast<int32_t>(sizeof objective.word) && objective.word[i] != 0; i++) {
        const char c = objective.word[i];
        if (c >= 'A' && c <= 'Z') inWord[c - 'A']++;
    }
    for (int32_t l = 0; l < LETTER_COUNT; l++)
        if (inWord[l] > inGrid[l]) return static_cast<char>('A' + l);
    return 0;
}

char RandomLetter() {
    if (objective.word[0] != 0) {
        const char missing = gridMissingTargetLetter();
        if (missing != 0) return missing;
    }
    // A total of 0 (weights never totalled) would divide by zero; the walk then
    // overruns and reports, as it would for any total above the table's sum.
    int32_t r = letterWeightTotal > 0 ? cmRand() % letterWeightTotal : cmRand();
    for (int32_t l = 0; l < LETTER_COUNT; l++) {
        r -= letterWeights[l];
        if (r < 0) return static_cast<char>('A' + l);
    }
    gameLog("RANDOM LETTER ERROR! FINAL rgen %d!\n", r);
    return 'Z';
}

void gameLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    cmDebugLogV(format, args);
    va_end(args);
}
