#include "flow/gridwords.h"

#include <cstdio>

#include "game/gamestate.h"
#include "game/solver.h"
#include "video/text.h"

bool gridWordsShown(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS || !solverEndSolved[p]) return false;
    return gameState == STATE_LEVEL_INTRO || gameState == STATE_GAME_OVER;
}

void gridWordsText(int32_t p, char* best, char* count) {
    best[0] = '\0';
    count[0] = '\0';
    if (p < 0 || p >= MAX_PLAYERS) return;
    const SolverResult& r = solverEnd[p];
    if (r.wordCount == 0) {
        std::snprintf(best, GRID_WORDS_TEXT_SIZE, "NO WORD ON THE GRID");
        return;
    }
    std::snprintf(best, GRID_WORDS_TEXT_SIZE, "BEST: %s %d", r.best, r.bestScore);
    std::snprintf(count, GRID_WORDS_TEXT_SIZE, "%d WORD%s", r.wordCount, r.wordCount == 1 ? "" : "S");
}

void gridWordsDraw(const LayoutGridWords& at, int32_t p) {
    if (!at.line.shown || !gridWordsShown(p)) return;
    char best[GRID_WORDS_TEXT_SIZE];
    char count[GRID_WORDS_TEXT_SIZE];
    gridWordsText(p, best, count);
    if (at.secondLineDy != 0) {
        txtDrawSmallString(best, at.line.x, at.line.y, at.line.align);
        txtDrawSmallString(count, at.line.x, at.line.y + at.secondLineDy, at.line.align);
        return;
    }
    char line[2 * GRID_WORDS_TEXT_SIZE + 4];
    if (count[0] != '\0') {
        std::snprintf(line, sizeof line, "%s - %s", best, count);
    } else {
        std::snprintf(line, sizeof line, "%s", best);
    }
    txtDrawSmallString(line, at.line.x, at.line.y, at.line.align);
}
