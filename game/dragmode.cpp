#include "game/dragmode.h"

#include "game/gamestate.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/path.h"
#include "game/pointer.h"
#include "sound/sound.h"

uint8_t dragModeOn[2];

static void dragPreset(Gauge& g, float resetLevel, float initialFullLevel, float softCap, float initialDrainRate,
                       float drainRateGrowth, float gainWhileRunning, float gainWhileStopped, float fullLevelGrowth) {
    g.resetLevel = resetLevel;
    g.initialFullLevel = initialFullLevel;
    g.softCap = softCap;
    g.initialDrainRate = initialDrainRate;
    g.drainRateGrowth = drainRateGrowth;
    g.gainWhileRunning = gainWhileRunning;
    g.gainWhileStopped = gainWhileStopped;
    g.fullLevelGrowth = fullLevelGrowth;
}

void gaugesLevelStart() {
    dragPreset(lifeGauge, 6000.0f, 10000.0f, 8000.0f, 0.75f, 0.025f, 180.0f, 120.0f, 0.0f);
    dragPreset(dragGauge, 0.0f, 180.0f, 180.0f, 0.125f, 0.0f, 15.0f, 15.0f, 40.0f);
    dragPreset(cycleGauge, 0.0f, 200.0f, 200.0f, 0.05f, 0.008f, 12.0f, 20.0f, 100.0f);
    gaugeReset(lifeGauge);
    gaugeStart(lifeGauge);
    gaugeReset(dragGauge);
    gaugeReset(cycleGauge);
}

bool dragStartAvailable() {
    return gameState == STATE_PLAYING && !dragGauge.running && dragGauge.fullLevel * 0.5f <= dragGauge.level &&
           dragGauge.drainTicks == 0;
}

bool dragModeActive() { return dragGauge.running != 0; }

static bool dragAnyPlayerOn() {
    for (int32_t q = 0; q < MAX_PLAYERS; q++)
        if (dragModeOn[q]) return true;
    return false;
}

// The bar already runs for another player, so p only joins them.
static bool dragJoinAvailable(int32_t p) {
    return gameState == STATE_PLAYING && dragModeActive() && !dragModeOn[p] && dragAnyPlayerOn();
}

bool dragStartAvailableFor(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return false;
    return dragStartAvailable() || dragJoinAvailable(p);
}

void dragModeStart(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    if (dragStartAvailable()) {
        dragModeOn[p] = 1;
        gaugeStart(dragGauge);
    } else if (dragJoinAvailable(p)) {
        dragModeOn[p] = 1;
    } else {
        return;
    }
    sndPlay(SOUND_DRAG_START);
}

void dragModeStop(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    if (!dragModeActive()) {
        gameLog("point at stop drag but can't");
        return;
    }
    if (!dragModeOn[p]) {
        gameLog("point at stop drag but player %d is not dragging", p);
        return;
    }
    dragModeOn[p] = 0;
    sndPlay(SOUND_DRAG_STOP);
    // The other player's Drag Mode keeps the bar running.
    if (dragAnyPlayerOn()) return;
    gaugeStop(dragGauge);
    // The bar goes on draining for a moment, and Drag Mode cannot restart meanwhile.
    dragGauge.drainTicks = dragStopTicks;
}

void dragModeToggle(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    if (dragModeOn[p]) {
        dragModeStop(p);
        if (highlightOn[p]) ClearWord(p);
        return;
    }
    dragModeStart(p);
    if (!dragModeOn[p] || wordLength[p] == 0) return;
    ClearWord(p);
    if (pointerHeld[p]) {
        highlightOn[p] = 1;
        prevCellX[p] = cursorX[p];
        prevCellY[p] = cursorY[p];
    }
}

void dragBarEmptied() {
    if (dragAnyPlayerOn()) sndPlay(SOUND_DRAG_STOP);
    for (int32_t q = 0; q < MAX_PLAYERS; q++) dragModeOn[q] = 0;
}

static bool dragCellValid(int32_t x, int32_t y) { return x >= 0 && x < GRID_SIZE && y >= 0 && y < GRID_SIZE; }

void dragSwap(int32_t p) {
    if (p < 0 || p >= MAX_PLAYERS) return;
    const int32_t fromX = prevCellX[p], fromY = prevCellY[p];
    const int32_t toX = cursorX[p], toY = cursorY[p];
    if (!dragCellValid(fromX, fromY) || !dragCellValid(toX, toY)) return;
    if (fromX != toX || fromY != toY) sndPlay(SOUND_SWAP);
    // No adjacency test: a cursor that jumps trades two distant cells.
    const char carried = wordgrid[p][fromY][fromX];
    wordgrid[p][fromY][fromX] = wordgrid[p][toY][toX];
    wordgrid[p][toY][toX] = carried;
    prevCellX[p] = toX;
    prevCellY[p] = toY;
}

void dragModeClearAll() {
    dragModeOn[0] = 0;
    dragModeOn[1] = 0;
}
