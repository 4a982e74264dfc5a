#include "game/turnworld.h"

#include "game/banner.h"
#include "game/gamestate.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/pointer.h"
#include "game/tips.h"
#include "sound/sound.h"

void gaugesTurnStart() {
    lifeGauge.resetLevel = 3600.0f;
    lifeGauge.initialFullLevel = 3600.0f;
    lifeGauge.softCap = 8000.0f;
    lifeGauge.initialDrainRate = 1.0f;
    lifeGauge.drainRateGrowth = 0.025f;
    lifeGauge.gainWhileRunning = 180.0f;
    lifeGauge.gainWhileStopped = 120.0f;
    lifeGauge.fullLevelGrowth = 0.0f;
    dragGauge.resetLevel = 0.0f;
    gaugeReset(lifeGauge);
    gaugeStart(lifeGauge);
    gaugeReset(dragGauge);
}

void TurnWorldBegin(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    gameLog("But first, turn the world.");
    ShowBanner(BANNER_TURN_WORLD);
    // Changes made to the grids in play are kept in the worlds before they turn,
    // whichever player's press began the phase.
    for (int32_t q = 0; q < (twoPlayer ? MAX_PLAYERS : 1); q++) StoreGrid(q);
    gameState = STATE_TURN_WORLD;
    if (cursorX[p] >= 0 && cursorX[p] < GRID_SIZE && cursorY[p] >= 0 && cursorY[p] < GRID_SIZE) {
        prevCellX[p] = cursorX[p];
        prevCellY[p] = cursorY[p];
    }
    gameLog("xy = %d, %d", prevCellX[p], prevCellY[p]);
    gaugesTurnStart();
    tipShowIfAllowed(TIP_TURN_WORLD);
}

// Into 0..13 whatever the step, so the window never leaves the world.
static int32_t turnWrap(int32_t v) { return ((v % WORLD_SIZE) + WORLD_SIZE) % WORLD_SIZE; }

void TurnWorldStep(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    if (prevCellX[p] != cursorX[p] || prevCellY[p] != cursorY[p]) sndPlay(SOUND_TURN);
    // The letters follow the pointer: a step right shows the world column to the left.
    worldOffsetX[p] = turnWrap(prevCellX[p] - cursorX[p] + worldOffsetX[p] + WORLD_SIZE);
    prevCellX[p] = cursorX[p];
    worldOffsetY[p] = turnWrap(prevCellY[p] - cursorY[p] + worldOffsetY[p] + WORLD_SIZE);
    prevCellY[p] = cursorY[p];
    gameLog("Set grid to %d, %d.", worldOffsetX[p], worldOffsetY[p]);
    SetGrid(p);
}
