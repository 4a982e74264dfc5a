// The play-field pointer handlers: every press, release and cell change of the
// mouse or of a keyboard cursor ends here.
#pragma once

#include <cstdint>

// The last cell at which a press or a move was accepted.
extern int32_t prevCellX[2];
extern int32_t prevCellY[2];
// Set from a press that was acted on until the release.
extern uint8_t pointerHeld[2];

// A press of player p's pointer, on what that player's hover target says.
void PointerPress(int32_t p);
// A press of player p's DROP key: a keyboard cursor always stands on a grid
// cell, so it presses there wherever the mouse pointer happens to be.
void PointerPressOnCursor(int32_t p);
void PointerRelease(int32_t p);
// Called after the cursor of player p moved to another cell.
void PointerCellChanged(int32_t p);
// Called after a cursor key moved player p's cursor: a keyboard cursor always
// stands on a grid cell, wherever the mouse pointer happens to be.
void PointerCursorMoved(int32_t p);

// Previous cells and press flags back to zero (for tests and a cold start).
void pointerClearAll();
