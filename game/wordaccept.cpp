#include <cstring>

#include "Core/cmdebug.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/objective.h"
#include "game/score.h"

// Copies a word into a row of WORD_ROW_CHARS, cut to fit and always terminated.
static void scoreCopyWord(char* row, const char* word) {
    std::strncpy(row, word, WORD_ROW_CHARS - 1);
    row[WORD_ROW_CHARS - 1] = 0;
}

void wordAccept(int32_t p, const char* word) {
    if (p < 0 || p >= MAX_PLAYERS || word == nullptr) return;
    PlayerState& ps = playerState[p];
    const int32_t s = wordScore(p, word);
    cmDebugPrint("life:");

    const size_t length = std::strlen(word);
    const int32_t l = length < static_cast<size_t>(SCORE_LENGTHS) ? static_cast<int32_t>(length) : SCORE_LENGTHS - 1;
    gaugeAdd(lifeGauge, wordLifeFeed[l]);
    gaugeAdd(dragGauge, wordDragFeed[l]);
    gaugeAdd(cycleGauge, wordCycleFeed[l]);

    ps.score += s;

    std::memmove(ps.recentWords[2], ps.recentWords[1], sizeof ps.recentWords[1] * (RECENT_WORD_ROWS - 2));
    scoreCopyWord(ps.recentWords[1], word);
    std::memmove(&ps.recentScores[2], &ps.recentScores[1], sizeof ps.recentScores[1] * (RECENT_SCORE_ROWS - 2));
    ps.recentScores[1] = s;

    // Equal scores keep the older word first.
    for (int32_t i = 0; i < BEST_WORD_ROWS; i++) {
        if (ps.bestWords[i].score < s) {
            std::memmove(&ps.bestWords[i + 1], &ps.bestWords[i], sizeof ps.bestWords[0] * (BEST_WORD_ROWS - 1 - i));
            scoreCopyWord(ps.bestWords[i].word, word);
            ps.bestWords[i].score = s;
            break;
        }
    }

    if (ps.wordRowCount < WORD_ROWS_SHOWN) ps.wordRowCount++;
    if (ps.recentWordCount < RECENT_WORD_ROWS) ps.recentWordCount++;

    // Long words speed the falls up; the next word brings the interval back to a third of the default.
    const int32_t floor = fallIntervalDefault / 3;
    if (fallInterval[p] < floor) fallInterval[p] = floor;
    if (l >= LONG_WORD_LENGTH) fallInterval[p] -= LONG_WORD_SPEEDUP;

    objectiveNoteWord(word);
}
