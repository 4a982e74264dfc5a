// What a grid held when a level or the game ended, shown to its player during
// the next level's intro and on the game-over screen: the best word with its
// score and how many words the grid held.
#pragma once

#include <cstdint>

#include "flow/layout.h"

// Room for either part of the text, terminator included.
constexpr int32_t GRID_WORDS_TEXT_SIZE = 48;

// True while player p's line shows: in a level's intro and at game over,
// once that player's grid was solved as the level or the game ended.
bool gridWordsShown(int32_t p);
// The best word with its score ("BEST: QUARTZ 96") and the count ("41
// WORDS"); for a grid without a word, "NO WORD ON THE GRID" and "".
void gridWordsText(int32_t p, char* best, char* count);
// Player p's line where the layout puts it, when it shows.
void gridWordsDraw(const LayoutGridWords& at, int32_t p);
