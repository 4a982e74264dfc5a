// Turning the world: before every third level the grid becomes a window that
// the player drags across the 14 x 14 letter world.
#pragma once

#include <cstdint>

// The phase's LIFE gauge preset; the Drag Bar is emptied.
void gaugesTurnStart();
// Begins the phase with player p's press (the press that leaves the level
// intro); every player in the game turns their own world in it.
void TurnWorldBegin(int32_t p);
// Moves player p's window by the step from p's previous cell to p's cursor cell.
void TurnWorldStep(int32_t p);
