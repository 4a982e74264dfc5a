// The end of a game, however it comes: the LIFE gauge running empty, Escape,
// or the window closing while a game is still on.
#pragma once

#include <cstdint>

// Enters player p's game score with the best word of the game into the
// high-score table; true when it entered the table.
bool hiScoreInsert(int32_t p);

// Ends the game in progress (in play, paused, in a level intro, a tip or Turn
// The World): the game-over screen, and each player's score offered to the
// high-score table, player 0's first. True when any score entered it. A game that is
// already over, or the missing-dictionary screen, is left as it is and false
// returned, so a game's score is offered once only.
bool gameEnd();
