#include "flow/gameend.h"

#include <cstdio>
#include <cstring>

#include "game/gamestate.h"
#include "game/score.h"
#include "game/solver.h"
#include "persist/hiscores.h"
#include "sound/sound.h"

bool hiScoreInsert(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) {
        return false;
    }
    const PlayerState& player = playerState[p];
    int32_t s = player.score;
    if (s <= 0) {
        return false;
    }
    int32_t i = 0;
    while (i < HISCORE_ROWS && hiScores[i].score >= s) {
        i++;
    }
    if (i == HISCORE_ROWS) {
        return false;
    }
    memmove(&hiScores[i + 1], &hiScores[i], sizeof(HiScoreRow) * static_cast<size_t>(HISCORE_ROWS - 1 - i));
    HiScoreRow& row = hiScores[i];
    const BestWord& best = player.bestWords[0];
    // A game without a word keeps a word from an earlier game in that row; it
    // does not belong to this score.
    if (best.score == 0) {
        row.word[0] = '\0';
    } else {
        size_t length = strnlen(best.word, HISCORE_TEXT - 1);
        memcpy(row.word, best.word, length);
        row.word[length] = '\0';
    }
    row.score = s;
    snprintf(row.wordScoreText, HISCORE_TEXT, "%d", best.score);
    if (hiScoreCount < HISCORE_ROWS) {
        hiScoreCount++;
    }
    return true;
}


bool gameEnd() {
    if (gameState == STATE_GAME_OVER || gameState == STATE_NO_DICTIONARY) return false;
    gameState = STATE_GAME_OVER;
    // What each final grid held, for the game-over screen.
    solverNoteEnd();
    // Player 0 first, so of two equal scores player 0's stands higher.
    bool entered = hiScoreInsert(0);
    if (twoPlayer && hiScoreInsert(1)) entered = true;
    sndPlay(SOUND_GAME_OVER);
    if (entered) sndPlayAfter(SOUND_HIGH_SCORE, SOUND_GAME_OVER);
    return entered;
}
