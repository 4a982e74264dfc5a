// One displayed frame: counts it, advances the game, redraws the screen, reads
// the mouse, dispatches presses and releases, draws the pointer and flips.
#pragma once

#include <cstdint>

#include "Core/cminput.h"

// A live frame: reads the clock once into the frame's input record, runs, and
// reads the mouse into the record.
void gameRunFrame();
// A frame from a recording: the record's time, mouse and drawing outcome are
// taken as they stand in frameInput.
void frameRunRecorded();

// Called with each finished record (recording); null when nobody records.
extern void (*frameRecordHook)(const FrameInput& record);
// Hands the record to frameRecordHook and starts the next one empty. Every
// live frame ends with it, and so does the program when messages came after
// the last frame.
void frameInputConsumed();
// Adds a message to the record in arrival order. False when it does not fit
// (more keys between two frames than anyone can press, or a key code above
// 255): the message must then be dropped, not acted on, or a replay would
// miss it. The messages that end the program always fit.
bool frameInputAdd(uint8_t kind, uint32_t key);

// Once per unpaused frame: promptStep and draw the prompt's text.
void StatusPrompt();

// ---- framepointer.cpp: the frame's input arithmetic, each step usable on its own

// The cell of player 0's grid under a pointer position, in the layout of the
// game now running.
int32_t gridColumnAt(float x);
int32_t gridRowAt(float y);

// The lower button reads ENTER GAME in these states.
bool enterGameButtonShown();

// Moves player p's cursor one cell for the first held cursor key, once the
// key repeat time since the last move has passed. True when it moved.
bool frameCursorKeys(int32_t p);
// Adds half the mouse motion to the pointer and keeps it on the screen.
void framePointerMove(const PlayerInput& mouse);
// Sets player 0's hover target from the pointer; over a grid cell that is not
// player 0's cursor cell it moves the cursor there. True when the cursor moved.
bool frameHoverTest();
