// Each player's 14 x 14 letter world, the 7 x 7 window onto it (the grid), the
// random letter source, and the two per-frame grid processes: vanishing the
// letters of accepted words and letting letters fall into the gaps.
#pragma once

#include <cstdint>

#include "Core/cmdebug.h"
#include "game/gamestate.h"

constexpr int32_t GRID_SIZE = 7;     // the grid arrays are fixed at 7 x 7
constexpr int32_t WORLD_SIZE = 14;   // the world wraps at 14 in both directions
constexpr int32_t LETTER_COUNT = 26;
constexpr uint32_t VANISH_DELAY = 1000;  // ms of stillness before marked letters vanish
constexpr char GRID_BLANK = ' ';

// Rows and columns every grid loop walks; never more than GRID_SIZE.
extern int32_t gridRows;
extern int32_t gridCols;
// gridRows and gridCols held to 0..GRID_SIZE, for loops over the fixed arrays.
int32_t gridRowLimit();
int32_t gridColLimit();
// World column and row shown in each player's grid column 0 and row 0 (0..13):
// each player turns their own world.
extern int32_t worldOffsetX[MAX_PLAYERS];
extern int32_t worldOffsetY[MAX_PLAYERS];
// Chance weights of 'A'..'Z' and their sum (3053), totalled at start-up.
extern const int32_t letterWeights[LETTER_COUNT];
extern int32_t letterWeightTotal;
// The fall interval a new game gives each player (ms).
extern int32_t fallIntervalDefault;

// [player][world row][world column], 'A'..'Z'.
extern char letterWorld[MAX_PLAYERS][WORLD_SIZE][WORLD_SIZE];
// [player][row y][column x], 'A'..'Z' or GRID_BLANK.
extern char wordgrid[MAX_PLAYERS][GRID_SIZE][GRID_SIZE];
// 1: the cell belongs to an accepted word and is blanked by the next vanish step.
extern uint8_t vanishMark[MAX_PLAYERS][GRID_SIZE][GRID_SIZE];
// 1 while marked cells wait for the vanish step.
extern uint8_t vanishPending[MAX_PLAYERS];
// Tick count of the last vanish step or of the last fall step that moved a letter.
extern uint32_t gridStepTime[MAX_PLAYERS];
// Minimum ms between fall steps; negative means no delay at all.
extern int32_t fallInterval[MAX_PLAYERS];

// Sums letterWeights into letterWeightTotal; runs once before any letter is drawn.
void gridTotalLetterWeights();
// One random letter 'A'..'Z', favouring letters of the objective's target word
// that player 0's grid lacks.
char RandomLetter();
// World to grid, for player p's window at player p's offsets.
void SetGrid(int32_t p);
// Grid back to the window's cells of the world.
void StoreGrid(int32_t p);
// Blanks the marked cells once the grid has been still for over a second.
void VanishStep(int32_t p);
// Closes one gap per column, lets one new letter in at the top, and on a full,
// settled grid runs the level-completion check.
void FallStep(int32_t p);
// A fresh world and grid for player p at the start of a game: offsets back to
// 0, 196 random letters row by row, the grid shown, marks and timing cleared.
void gridNewGame(int32_t p);

// The game rules' progress lines, formatted and sent to the debug log.
void gameLog(const char* format, ...) CM_PRINTF_FORMAT(1, 2);

// True when (now - since), read as elapsed unsigned time, exceeds interval;
// a negative interval is always exceeded, and the tick count's wrap is harmless.
bool gridTimeElapsed(uint32_t now, uint32_t since, int64_t interval);
// Every grid, world, mark and timing record back to zero/blank, offsets 0,
// gridRows and gridCols 7, fallIntervalDefault 100 (for tests and a cold start).
void gridClearAll();
