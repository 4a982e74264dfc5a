#include "Core/cmrand.h"
#include "game/grid.h"
#include "game/gridlog.h"
#include "game/objective.h"

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
