// One displayed frame: counts it, advances the game, redraws the screen, reads
// the mouse, dispatches presses and releases, draws the pointer and flips.
#pragma once

#include <cstdint>

#include "platform/platform.h"

void gameRunFrame();

// The grid cell under a pointer position, in the one-player layout.
int32_t gridColumnAt(float x);
int32_t gridRowAt(float y);

// The lower button reads ENTER GAME in these states.
bool enterGameButtonShown();

// Once per unpaused frame: promptStep and draw the prompt's text.
void StatusPrompt();

// The frame's input steps, each usable on its own.

// Moves player p's cursor one cell for the first held cursor key, once the
// key repeat time since the last move has passed. True when it moved.
bool frameCursorKeys(int32_t p);
// Adds half the mouse motion to the pointer and keeps it on the screen.
void framePointerMove(const PlatMouseState& mouse);
// Sets hoverTarget from the pointer; over a grid cell that is not player 0's
// cursor cell it moves the cursor there. True when the cursor moved.
bool frameHoverTest();
