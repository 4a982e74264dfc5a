#include "game/pointer.h"

#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gamestate.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/tips.h"
#include "game/turnworld.h"
#include "sound/sound.h"

int32_t prevCellX[2];
int32_t prevCellY[2];
uint8_t pointerHeld[2];

static bool pointerPlayerValid(int32_t p) { return p >= 0 && p < MAX_PLAYERS; }

// A cursor outside the grid arrays is never acted on.
static bool pointerCellValid(int32_t p) {
    return cursorX[p] >= 0 && cursorX[p] < GRID_SIZE && cursorY[p] >= 0 && cursorY[p] < GRID_SIZE;
}

static void pointerTakeCell(int32_t p) {
    prevCellX[p] = cursorX[p];
    prevCellY[p] = cursorY[p];
}

// A press made while the pressing device is over `hoverTarget`.
static void pointerPressOver(int32_t p, int32_t hoverTarget) {
    // A press acts once, until it is released.
    if (pointerHeld[p]) return;

    if (bannerShowing()) {
        pointerHeld[p] = 1;
        bannerFrames /= 2;
        return;
    }

    switch (gameState) {
        case STATE_TIP:
            pointerHeld[p] = 1;
            if (hoverTarget == HOVER_CONTINUE) {
                sndPlay(SOUND_BUTTON);
                gameState = previousState;
            } else if (hoverTarget == HOVER_DO_NOT_SHOW) {
                sndPlay(SOUND_BUTTON);
                if (tipIndex >= 0 && tipIndex < TIP_COUNT) tipDoNotShow[tipIndex] = 1;
                gameState = previousState;
            }
            return;

        case STATE_LEVEL_INTRO:
            gameLog("Level intro: Go to next stage.");
            pointerHeld[p] = 1;
            if (levelNumber % 3 == 2) {
                TurnWorldBegin(p);
            } else {
                levelStart();
            }
            return;

        case STATE_TURN_WORLD:
            gameLog("Rotate the world.");
            pointerHeld[p] = 1;
            if (hoverTarget == HOVER_GRID && pointerCellValid(p)) {
                pointerTakeCell(p);
                gameLog("xy = %d, %d", prevCellX[p], prevCellY[p]);
            } else if (hoverTarget == HOVER_LOWER_BUTTON) {
                sndPlay(SOUND_BUTTON);
                levelStart();
            }
            return;

        case STATE_GAME_OVER:
            pointerHeld[p] = 1;
            if (hoverTarget == HOVER_LOWER_BUTTON) {
                sndPlay(SOUND_BUTTON);
                gameNew();
                // The new game clears the flag; the press that started it must not
                // also dismiss its intro on the next frame.
                pointerHeld[p] = 1;
            }
            return;

        default:
            break;
    }

    // Play (and the missing-dictionary screen, which plays alike).
    // A button clicks only when it is shown, that is when it would act.
    if (hoverTarget == HOVER_UPPER_BUTTON) {
        if (dragStartAvailableFor(p)) sndPlay(SOUND_BUTTON);
        dragModeStart(p);
    } else if (hoverTarget == HOVER_LOWER_BUTTON) {
        if (dragModeOn[p]) sndPlay(SOUND_BUTTON);
        dragModeStop(p);
    } else if (hoverTarget == HOVER_GRID) {
        if (!pointerCellValid(p)) return;
        pointerTakeCell(p);
        highlightOn[p] = 1;
        // In Drag Mode the pressed letter is now the carried one.
        if (!dragModeOn[p]) AddLetter(p);
    }
    // Pressed beside everything: the press is offered again next frame, so
    // sliding onto a cell with the button down starts a word there.
    if (hoverTarget != HOVER_NONE) pointerHeld[p] = 1;
}

void PointerPress(int32_t p) {
    if (pointerPlayerValid(p)) pointerPressOver(p, frameInput.players[p].hoverTarget);
}

void PointerPressOnCursor(int32_t p) {
    if (pointerPlayerValid(p)) pointerPressOver(p, HOVER_GRID);
}

void PointerRelease(int32_t p) {
    if (!pointerPlayerValid(p)) return;
    pointerHeld[p] = 0;
    if (bannerShowing()) return;
    if (gameState == STATE_LEVEL_INTRO || gameState == STATE_TIP || gameState == STATE_GAME_OVER ||
        gameState == STATE_TURN_WORLD) {
        return;
    }
    if (dragModeOn[p]) {
        gameLog("HIGHLIGHT OFF, at end of a drag.");
        ClearWord(p);
    } else if (wordLength[p] > 0) {
        FinishWord(p);
    } else {
        // A highlight left by a Drag Mode that ended under the held button goes off too.
        ClearWord(p);
    }
}

// A move of player p's cursor made while the moving device is over `hoverTarget`.
static void pointerCellChangedOver(int32_t p, int32_t hoverTarget) {
    lastMoveTime[p] = frameInput.time;

    // The grid is frozen once the objective is met, until the level ends.
    if (bannerShowing() || gameState == STATE_GAME_OVER || (gameState == STATE_PLAYING && objectiveIsComplete())) {
        return;
    }
    if (!pointerCellValid(p)) return;
    if (!pointerHeld[p]) {
        // A drag of the world always starts where the pointer is.
        if (gameState == STATE_TURN_WORLD && hoverTarget == HOVER_GRID) pointerTakeCell(p);
        return;
    }
    if (gameState == STATE_TURN_WORLD) {
        if (hoverTarget == HOVER_GRID) TurnWorldStep(p);
        return;
    }
    if (gameState != STATE_PLAYING) return;

    if (dragModeOn[p]) {
        dragSwap(p);
        return;
    }
    if (wordLength[p] > 0 && CellsAdjacent(prevCellX[p], prevCellY[p], cursorX[p], cursorY[p])) {
        pointerTakeCell(p);
        AddLetter(p);
    }
}

void PointerCellChanged(int32_t p) {
    if (pointerPlayerValid(p)) pointerCellChangedOver(p, frameInput.players[p].hoverTarget);
}

void PointerCursorMoved(int32_t p) {
    if (pointerPlayerValid(p)) pointerCellChangedOver(p, HOVER_GRID);
}

void pointerClearAll() {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        prevCellX[p] = 0;
        prevCellY[p] = 0;
        pointerHeld[p] = 0;
    }
}
