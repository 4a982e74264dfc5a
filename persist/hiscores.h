// The twelve best game scores of all time, each with the best word of that
// game, kept in hi.txt behind a check value over the top three scores.
#pragma once

#include <cstdint>

// In the save folder.
constexpr const char* HISCORES_FILE = "hi.txt";

constexpr int32_t HISCORE_ROWS = 12;
constexpr int32_t HISCORE_TEXT = 20;  // 19 characters and the end

struct HiScoreRow {
    int32_t score;
    char word[HISCORE_TEXT];
    char wordScoreText[HISCORE_TEXT];  // the best word's score as decimal text
};

// Descending score; rows from hiScoreCount on have score 0.
extern HiScoreRow hiScores[HISCORE_ROWS];
extern int32_t hiScoreCount;  // 0..12

// Reads hi.txt. A missing or unreadable file leaves the table as it is; a count
// above 12 gives an empty table; a wrong check value zeroes every score, and
// the file is copied to hi.txt.bad (named on standard error) before any save
// can replace it.
void hiScoresLoad();

// Writes hi.txt. False when it could not be written (the old file stays;
// errno tells why).
bool hiScoresSave();

// (s1 + 3) x (s2 + 2) x (s0 + 1) over the scores of rows 0 to 2, wrapping at 32 bits.
int32_t hiScoresCheck();

// Every row zero and the count 0, as at start-up.
void hiScoresReset();
