// The word being spelt by each player: a path of neighbouring grid cells, its
// letters, the live row 0 of the word list, and the hand-over of a finished word
// to scoring.
#pragma once

#include <cstdint>

#include "game/gamestate.h"

constexpr int32_t maxWordLength = 15;
constexpr int32_t minWordLength = 3;

// The word being spelt, upper case, zero-terminated, at most 15 letters.
extern char wordLetters[MAX_PLAYERS][maxWordLength + 1];
extern int32_t wordLength[MAX_PLAYERS];
// Grid column and row of each letter, in spelling order.
extern int32_t pathX[MAX_PLAYERS][maxWordLength];
extern int32_t pathY[MAX_PLAYERS][maxWordLength];
// 1 from a press on a grid cell until the word is cleared.
extern uint8_t highlightOn[MAX_PLAYERS];

// Neighbours horizontally, vertically or diagonally; the grid does not wrap.
bool CellsAdjacent(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// Offers the cursor's cell to player p's path: extends it, undoes the last
// letter when it is the cell before the last, or ignores it.
void AddLetter(int32_t p);
// Row 0 of the word list and its live score from the word in progress.
void RefreshWord(int32_t p);
// Empties the path and row 0, and turns the highlight off.
void ClearWord(int32_t p);
// On release: a valid word of 3 letters or more is marked to vanish and
// accepted; the path is emptied either way.
void FinishWord(int32_t p);

// The cells of the last released path of 3 letters or more that was not a
// word, marked red for NOT_A_WORD_MS after the release (notWordTime, in the
// port layer's tick count); notWordLength is 0 when nothing is marked.
constexpr uint32_t NOT_A_WORD_MS = 500;
extern int32_t notWordX[MAX_PLAYERS][maxWordLength];
extern int32_t notWordY[MAX_PLAYERS][maxWordLength];
extern int32_t notWordLength[MAX_PLAYERS];
extern uint32_t notWordTime[MAX_PLAYERS];

// Player p released a path of 3 letters or more that is not a word: the one
// place where everything a refused word sets off begins. Keeps the path's
// cells for the red mark.
void WordRefused(int32_t p);
// Once a frame, with that frame's tick count: the red mark ends when
// NOT_A_WORD_MS have passed since the refusal.
void NotWordStep(int32_t p, uint32_t now);

// Every path record back to empty (for tests and a cold start).
void pathClearAll();
