#include "game/path.h"

#include <cstring>

#include "dict/dictionary.h"
#include "game/gamestate.h"
#include "game/grid.h"
#include "game/score.h"
#include "sound/sound.h"

char wordLetters[MAX_PLAYERS][maxWordLength + 1];
int32_t wordLength[MAX_PLAYERS];
int32_t pathX[MAX_PLAYERS][maxWordLength];
int32_t pathY[MAX_PLAYERS][maxWordLength];
uint8_t highlightOn[MAX_PLAYERS];
int32_t notWordX[MAX_PLAYERS][maxWordLength];
int32_t notWordY[MAX_PLAYERS][maxWordLength];
int32_t notWordLength[MAX_PLAYERS];
uint32_t notWordTime[MAX_PLAYERS];

static bool pathPlayerValid(int32_t p) { return p >= 0 && p < MAX_PLAYERS; }

static bool pathCellValid(int32_t x, int32_t y) { return x >= 0 && x < gridColLimit() && y >= 0 && y < gridRowLimit(); }

bool CellsAdjacent(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t dx = x0 > x1 ? static_cast<int64_t>(x0) - x1 : static_cast<int64_t>(x1) - x0;
    const int64_t dy = y0 > y1 ? static_cast<int64_t>(y0) - y1 : static_cast<int64_t>(y1) - y0;
    return dx + dy == 1 || (dx == 1 && dy == 1);
}

void AddLetter(int32_t p) {
    if (!pathPlayerValid(p)) return;
    const int32_t x = cursorX[p];
    const int32_t y = cursorY[p];
    if (!pathCellValid(x, y)) return;
    const int32_t n = wordLength[p];
    if (n > 0 && pathX[p][n - 1] == x && pathY[p][n - 1] == y) return;
    // Stepping back onto the cell before the last undoes the last letter, so a
    // letter is never used twice in a row.
    if (n >= 2 && pathX[p][n - 2] == x && pathY[p][n - 2] == y) {
        gameLog("Remove last letter of word.");
        wordLength[p] = n - 1;
        wordLetters[p][n - 1] = 0;
        sndPlay(SOUND_UNDO);
        RefreshWord(p);
        return;
    }
    if (n < maxWordLength) {
        pathX[p][n] = x;
        pathY[p][n] = y;
        wordLetters[p][n] = wordgrid[p][y][x];
        wordLength[p] = n + 1;
        wordLetters[p][n + 1] = 0;
        // A semitone higher for every letter: the path's length can be heard.
        sndPlay(SOUND_LETTER, n);
        gameLog("Letter at %d, %d is <%c>. l = %d", x, y, wordgrid[p][y][x], n + 1);
        gameLog("Add letter: %s", wordLetters[p]);
    }
    RefreshWord(p);
}

void RefreshWord(int32_t p) {
    if (!pathPlayerValid(p)) return;
    PlayerState& ps = playerState[p];
    std::memcpy(ps.recentWords[0], wordLetters[p], sizeof wordLetters[p]);
    if (wordLength[p] >= minWordLength && dictIsWord(wordLetters[p]))
        ps.recentScores[0] = wordScore(p, wordLetters[p]);
    else
        ps.recentScores[0] = 0;
    if (ps.wordRowCount == 0) ps.wordRowCount = 1;
}

void ClearWord(int32_t p) {
    gameLog("Unhighlight, set l0");
    if (!pathPlayerValid(p)) return;
    wordLetters[p][0] = 0;
    wordLength[p] = 0;
    highlightOn[p] = 0;
    playerState[p].recentWords[0][0] = 0;
    playerState[p].recentScores[0] = 0;
}

void FinishWord(int32_t p) {
    if (!pathPlayerValid(p) || wordLength[p] == 0) return;
    gameLog("Checking word: %s", wordLetters[p]);
    if (wordLength[p] >= minWordLength && dictIsWord(wordLetters[p])) {
        for (int32_t k = 0; k < wordLength[p]; k++) {
            if (pathCellValid(pathX[p][k], pathY[p][k])) vanishMark[p][pathY[p][k]][pathX[p][k]] = 1;
        }
        vanishPending[p] = 1;
        // Longer words ring higher, two semitones a letter.
        sndPlay(SOUND_WORD, 2 * (wordLength[p] - minWordLength));
        wordAccept(p, wordLetters[p]);
    } else if (wordLength[p] >= minWordLength) {
        WordRefused(p);
    }
    ClearWord(p);
    gameLog("HIGHLIGHT OFF in Lifted.");
}

void WordRefused(int32_t p) {
    if (!pathPlayerValid(p)) return;
    gameLog("Not a word: %s", wordLetters[p]);
    const int32_t n = wordLength[p] < maxWordLength ? wordLength[p] : maxWordLength;
    std::memcpy(notWordX[p], pathX[p], sizeof notWordX[p][0] * static_cast<size_t>(n));
    std::memcpy(notWordY[p], pathY[p], sizeof notWordY[p][0] * static_cast<size_t>(n));
    notWordLength[p] = n;
    notWordTime[p] = frameInput.time;
    sndPlay(SOUND_REFUSED);
}

void NotWordStep(int32_t p, uint32_t now) {
    if (!pathPlayerValid(p) || notWordLength[p] == 0) return;
    // Elapsed time, not a sum: the tick count wraps after 49.7 days.
    if (now - notWordTime[p] >= NOT_A_WORD_MS) notWordLength[p] = 0;
}

void pathClearAll() {
    std::memset(wordLetters, 0, sizeof wordLetters);
    std::memset(wordLength, 0, sizeof wordLength);
    std::memset(pathX, 0, sizeof pathX);
    std::memset(pathY, 0, sizeof pathY);
    std::memset(highlightOn, 0, sizeof highlightOn);
    std::memset(notWordX, 0, sizeof notWordX);
    std::memset(notWordY, 0, sizeof notWordY);
    std::memset(notWordLength, 0, sizeof notWordLength);
    std::memset(notWordTime, 0, sizeof notWordTime);
}
