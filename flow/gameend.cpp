#include "flow/gameend.h"

#include "flow/gamestate.h"
#include "persist/hiscores.h"

bool gameEnd() {
    if (gameState == STATE_GAME_OVER || gameState == STATE_NO_DICTIONARY) return false;
    gameState = STATE_GAME_OVER;
    return hiScoreInsert(0);
}
