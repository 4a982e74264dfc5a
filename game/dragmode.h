// Drag Mode: carrying letters across the grid, paid for with the Drag Bar, and
// the level-start presets of the three gauges. There is one Drag Bar for both
// players; Drag Mode belongs to each player who started or joined it.
#pragma once

#include <cstdint>

// The player's presses carry letters instead of spelling words.
extern uint8_t dragModeOn[2];
// Frames the Drag Bar keeps draining after STOP DRAG.
constexpr int32_t dragStopTicks = 30;

// Presets all three gauges for a new level; the LIFE gauge starts running.
void gaugesLevelStart();
// The bar may be started: playing, bar not running, at least half full, not holding.
bool dragStartAvailable();
// Player p may enter Drag Mode: the bar may be started, or it runs for the
// other player and p may join them.
bool dragStartAvailableFor(int32_t p);
// The Drag Bar runs.
bool dragModeActive();
// Player p enters Drag Mode, starting the bar or joining the other player's.
void dragModeStart(int32_t p);
// Player p leaves Drag Mode; the bar stops, with its growth and hold, only
// when no player is left in it.
void dragModeStop(int32_t p);
// The Drag Mode key: player p leaves Drag Mode, putting down a carried letter,
// or enters it when allowed, giving up a word being spelt so that a held press
// carries the letter under the cursor.
void dragModeToggle(int32_t p);
// The bar ran empty: Drag Mode ends for every player.
void dragBarEmptied();
// Exchanges the carried letter with the letter in the cursor's cell.
void dragSwap(int32_t p);

// Drag Mode flags clear (for tests and a cold start).
void dragModeClearAll();
