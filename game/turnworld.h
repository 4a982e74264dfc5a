// Turning the world: before every third level the grid becomes a window that
// the player drags across the 14 x 14 letter world.
#pragma once

#include <cstdint>

// The phase's LIFE gauge preset; the Drag Bar is emptied.
void gaugesTurnStart();
// Begins the phase for player p (the press that leaves the level intro).
void TurnWorldBegin(int32_t p);
// Moves the window by the step from the previous cell to the cursor's cell.
void TurnWorldStep(int32_t p);
