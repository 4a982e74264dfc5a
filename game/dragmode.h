// Drag Mode: carrying letters across the grid, paid for with the Drag Bar, and
// the level-start presets of the three gauges.
#pragma once

#include <cstdint>

// The player's presses carry letters instead of spelling words.
extern uint8_t dragModeOn[2];
// Frames the Drag Bar keeps draining after STOP DRAG.
constexpr int32_t dragStopTicks = 30;

// Presets all three gauges for a new level; the LIFE gauge starts running.
void gaugesLevelStart();
// START DRAG may be pressed: playing, bar not running, at least half full, not holding.
bool dragStartAvailable();
// The Drag Bar runs (STOP DRAG is shown).
bool dragModeActive();
void dragModeStart(int32_t p);
void dragModeStop(int32_t p);
// Exchanges the carried letter with the letter in the cursor's cell.
void dragSwap(int32_t p);

// Drag Mode flags clear (for tests and a cold start).
void dragModeClearAll();
