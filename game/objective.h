// The objective of the current level: make a number of words of one length, or
// make one given word. One record for the whole game, shared by both players.
#pragma once

#include <cstdint>

struct Objective {
    int32_t isWordObjective;  // 1: make `word`; 0: make `target` words of `requiredLength`
    int32_t requiredLength;
    int32_t target;           // the count, or 1 for a word objective
    int32_t done;             // progress; may pass `target` for a count objective
    char word[16];            // the word to make, or "" for a count objective
};

extern Objective objective;

constexpr int32_t OBJECTIVE_FORM_PROGRESS = 0;
constexpr int32_t OBJECTIVE_FORM_SHORT = 1;
// objectiveText never writes more than this, terminator included.
constexpr int32_t OBJECTIVE_TEXT_SIZE = 64;

// Sets `objective` from levelTable[levelNumber]. A word objective whose length the
// dictionary cannot supply becomes a count objective of that length with target 1.
void objectiveNew();
// Writes the objective's text into `buffer` (at least OBJECTIVE_TEXT_SIZE bytes):
// form 1 the short form of the level banner, 0 the progress form of the HUD.
void objectiveText(char* buffer, int32_t form);
// Counts one accepted word (of either player) toward the objective.
void objectiveNoteWord(const char* word);
bool objectiveIsComplete();
