// Every dictionary word a player's grid holds, found by the rules a player
// spells by, with the best of them: what the player missed when a level or the
// game ends, and the hint.
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "game/path.h"

struct SolverResult {
    int32_t wordCount;              // different words the grid holds
    int32_t bestScore;              // 0 when it holds none
    char best[maxWordLength + 1];   // "" when it holds none
    int32_t bestLength;
    int32_t bestPathX[maxWordLength];  // the first path found that spells it
    int32_t bestPathY[maxWordLength];
};

// Told every different word a solve finds, once, with its score; null in the
// game (tests and benchmarks listen).
extern void (*solverWordHook)(const char* word, int32_t score);

// Finds every word of 3 to 15 letters on player p's grid that a player could
// spell: each letter a neighbour of the one before (the grid does not wrap),
// never the cell of the letter before the last (stepping there undoes), no
// blank cell. Words are scored by wordBaseScore: a word made lately would earn
// less, but what a grid holds does not depend on it. The best word scores
// most; of equal scores, the alphabetically first; its path is the first the
// search found. Uses the prefix index, so it finds nothing until
// dictIndexBuild has run.
void solverSolve(int32_t p, SolverResult* result);

// Each player's grid as it stood when the last level or the game ended, for
// the next intro and the game-over screen; solverEndSolved[p] is 0 when there
// is none (a new game, or a player not in the game).
extern SolverResult solverEnd[MAX_PLAYERS];
extern uint8_t solverEndSolved[MAX_PLAYERS];
// Solves the grid of every player in the game into solverEnd: run when a level
// or the game ends, before anything moves.
void solverNoteEnd();

// The hint: the cells of the first two letters of the best word on each
// player's grid, lit for SOLVER_HINT_MS. solverHintCells[p] is 0 while
// nothing is lit on player p's grid.
constexpr uint32_t SOLVER_HINT_MS = 2000;
constexpr int32_t SOLVER_HINT_LETTERS = 2;
extern int32_t solverHintX[MAX_PLAYERS][SOLVER_HINT_LETTERS];
extern int32_t solverHintY[MAX_PLAYERS][SOLVER_HINT_LETTERS];
extern int32_t solverHintCells[MAX_PLAYERS];
extern uint32_t solverHintTime[MAX_PLAYERS];

// A hint on every grid in the game, bought with a tenth of the level bonus as
// it stands. Nothing happens, and nothing is paid, while a hint is still lit
// or when no grid holds a word. No random draw is made.
void solverHint();
// Once a frame, with that frame's tick count: the light goes out when
// SOLVER_HINT_MS have passed.
void solverHintStep(int32_t p, uint32_t now);

// No grid solved at an end and no hint lit (for a new game, tests and a cold
// start).
void solverClearAll();
