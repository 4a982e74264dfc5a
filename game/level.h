// The run of levels: the level table, the level number, the bonus, level
// completion and advance, the intro banner rows and the start of a new game.
#pragma once

#include <cstdint>

struct LevelRow {
    int32_t length;
    int32_t count;  // 0: make one given word of `length`
};

constexpr int32_t LEVEL_COUNT = 35;
constexpr int32_t LEVEL_LAST = LEVEL_COUNT - 1;
extern const LevelRow levelTable[LEVEL_COUNT];

// 0-based, 0..LEVEL_LAST.
extern int32_t levelNumber;

constexpr int32_t GRID_MESSAGE_ROW_COUNT = 7;
constexpr int32_t GRID_MESSAGE_ROW_SIZE = 50;
// Shown in the grid instead of the letters between levels (and when the
// dictionary is missing): rows 0-4 and 6 one character per cell, row 5 a line of text.
extern char gridMessageRows[2][GRID_MESSAGE_ROW_COUNT][GRID_MESSAGE_ROW_SIZE];

// What hints have taken off the current level's bonus.
extern int32_t levelHintCost;

// The bonus for completing the current level now; never below 0.
int32_t levelBonus();
// A hint's price: a tenth of the level bonus as it stands now.
void levelBonusTakeTenth();
// Awards the bonus to player p, moves to the next level and shows its intro
// to every player in the game.
void levelAdvance(int32_t p);
// Run when a fall step finds player p's grid full and settled: the first
// player's grid to settle once the objective is met completes the level.
void levelCheckComplete(int32_t p);
// The level begins: play, the frame count of the level from 0, the gauges preset.
void levelStart();
// Fills player p's gridMessageRows with the intro of the current level.
void bannerCompose(int32_t p);
// A new game (twoPlayer is chosen by the caller beforehand).
void gameNew();

// Level, objective and message rows back to zero (for tests and a cold start).
void levelClearAll();
