// What a word is worth and everything an accepted word changes: the score, the
// three gauges, the word lists, the fall speed and the level objective.
#pragma once

#include <array>
#include <cstdint>

#include "game/gamestate.h"

constexpr int32_t RECENT_WORD_ROWS = 500;  // row 0 is the word in progress
constexpr int32_t WORD_ROW_CHARS = 20;     // 19 letters and the zero
constexpr int32_t RECENT_SCORE_ROWS = 12;
constexpr int32_t BEST_WORD_ROWS = 12;
constexpr int32_t WORD_ROWS_SHOWN = 12;    // most rows the word panels show
constexpr int32_t SCORE_LENGTHS = 16;      // tables by word length 0..15
constexpr int32_t LONG_WORD_LENGTH = 10;   // words this long speed the falls up
constexpr int32_t LONG_WORD_SPEEDUP = 75;  // ms taken off the fall interval

struct BestWord {
    char word[WORD_ROW_CHARS];
    int32_t score;  // 0: the row is empty
};

struct PlayerState {
    int32_t score;
    char recentWords[RECENT_WORD_ROWS][WORD_ROW_CHARS];  // newest accepted in row 1
    int32_t recentScores[RECENT_SCORE_ROWS];             // row 0 live, newest accepted in row 1
    int32_t wordRowCount;                                // rows the word panels show, up to 12
    int32_t recentWordCount;                             // valid words made, up to 500
    BestWord bestWords[BEST_WORD_ROWS];                  // descending score
};

extern PlayerState playerState[MAX_PLAYERS];

// Value of each byte as a letter: 'S' 1 ... 'J','Q' 12; any byte that is not
// an upper-case letter counts 2.
extern const std::array<int32_t, 256> letterValue;
// By word length 0..15.
extern const int32_t lengthMultiplier[SCORE_LENGTHS];
// What a word of each length adds to each gauge, before the gauge's own gain.
extern const float wordLifeFeed[SCORE_LENGTHS];
extern const float wordDragFeed[SCORE_LENGTHS];
extern const float wordCycleFeed[SCORE_LENGTHS];

// Earlier makings counted against the word: the newest recentWordCount - 1 rows.
int32_t wordRepeatCount(int32_t p, const char* word);
// Letters and length alone, before any repeat counts against the word.
int32_t wordBaseScore(const char* word);
// Letters, length and repeats; at least 1. Changes nothing.
int32_t wordScore(int32_t p, const char* word);
// A word that passed the dictionary: score, gauges, word lists, fall speed, objective.
void wordAccept(int32_t p, const char* word);

// Both players' records back to zero and empty (for tests and a cold start).
void scoreClearAll();
