#include <cstring>

#include "Core/cmrand.h"
#include "game/gamestate.h"
#include "game/dragmode.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/score.h"
#include "game/tips.h"

void gameNew() {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        PlayerState& player = playerState[p];
        player.wordRowCount = 0;
        player.recentWordCount = 0;
        for (int32_t i = 0; i < BEST_WORD_ROWS; i++) player.bestWords[i].score = 0;
    }
    levelNumber = 0;
    worldOffsetX = 0;
    worldOffsetY = 0;

    // Level 0 needs no random word, so the first objective comes before the seeding.
    objectiveNew();
    bannerCompose(0);
    gameState = STATE_LEVEL_INTRO;
    cmSrand(frameInput.time);

    // Both players, whether or not the game has two.
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        heldLeft[p] = heldRight[p] = heldUp[p] = heldDown[p] = 0;
        pointerHeld[p] = 0;
        wordLength[p] = 0;
        highlightOn[p] = 0;
        notWordLength[p] = 0;
        dragModeOn[p] = 0;
        prevCellX[p] = 0;
        prevCellY[p] = 0;
        gridNewGame(p);
        playerState[p].score = 0;
    }

    memset(tipShown, 0, sizeof tipShown);
    tipShowIfAllowed(TIP_HOW_TO_PLAY);
}
