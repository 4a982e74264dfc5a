// The game-state machine's variables, read by the game rules, the screens and
// the window procedure.
#pragma once

#include <cstdint>

#include "Core/cminput.h"

constexpr int32_t STATE_GAME_OVER = 0;
constexpr int32_t STATE_PLAYING = 1;
constexpr int32_t STATE_LEVEL_INTRO = 2;
constexpr int32_t STATE_TURN_WORLD = 3;
constexpr int32_t STATE_TIP = 4;
constexpr int32_t STATE_NO_DICTIONARY = 5;

// What the pointer is over; 2, 5 and 6 are not used.
constexpr int32_t HOVER_NONE = 0;
constexpr int32_t HOVER_GRID = 1;
constexpr int32_t HOVER_UPPER_BUTTON = 3;
constexpr int32_t HOVER_LOWER_BUTTON = 4;
constexpr int32_t HOVER_CONTINUE = 7;
constexpr int32_t HOVER_DO_NOT_SHOW = 8;

constexpr int32_t MAX_PLAYERS = 2;

extern int32_t gameState;
extern int32_t previousState;
extern int32_t tipIndex;
extern uint8_t paused;
extern int32_t twoPlayer;
extern uint32_t frameCounter;
extern uint32_t playFrameCounter;
extern uint8_t blinkPhase;
// Each player's view of the grid turned upside down (F3, F4), for players on
// opposite sides of a table. A view only: letters, words and scores are the same.
extern uint8_t viewTurned[MAX_PLAYERS];

extern int32_t cursorX[MAX_PLAYERS];
extern int32_t cursorY[MAX_PLAYERS];
extern uint8_t heldLeft[MAX_PLAYERS];
extern uint8_t heldRight[MAX_PLAYERS];
extern uint8_t heldUp[MAX_PLAYERS];
extern uint8_t heldDown[MAX_PLAYERS];
extern uint32_t lastMoveTime[MAX_PLAYERS];

// This frame's input. The rules read the time from it, never from the clock,
// and each player's hover target. Player 1 has no pointer of its own: its
// keyboard cursor always stands on a grid cell.
extern FrameInput frameInput;

extern float pointerX;
extern float pointerY;
// The mouse button was down at the last frame's read. Only a press made with
// the mouse is released when the button goes up; a DROP key's press is
// released by the key.
extern uint8_t mouseButtonHeld;
// The grid cell the mouse pointer last stood on, -1 when off the grid. The
// pointer moves player 0's cursor only when it comes onto another cell or
// while its button is down, so a mouse at rest leaves the keys the cursor.
extern int32_t mouseCellX;
extern int32_t mouseCellY;

// Back to the values the program starts with (for tests).
void gameStateReset();
