#include "game/score.h"

#include <cstring>

#include "Core/cmdebug.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/objective.h"

PlayerState playerState[MAX_PLAYERS];

static constexpr std::array<int32_t, 256> scoreLetterValues() {
    std::array<int32_t, 256> v{};
    for (int32_t& x : v) x = 2;  // A E I L N O R T, and any byte that is not an upper-case letter
    const char* groups[] = {"S", "CDGMPU", "BFHY", "KVW", "XZ", "JQ"};
    const int32_t values[] = {1, 3, 4, 5, 8, 12};
    for (int g = 0; g < 6; g++)
        for (const char* c = groups[g]; *c; c++) v[static_cast<unsigned char>(*c)] = values[g];
    return v;
}

const std::array<int32_t, 256> letterValue = scoreLetterValues();

const int32_t lengthMultiplier[SCORE_LENGTHS] = {1, 1, 1, 1, 2, 3, 5, 7, 9, 12, 20, 30, 40, 50, 60, 75};

const float wordLifeFeed[SCORE_LENGTHS] = {0, 0, 0, 1.5f, 3, 5, 9, 15, 20, 25, 30, 35, 40, 45, 50, 60};
const float wordDragFeed[SCORE_LENGTHS] = {0, 0, 0, 0.5f, 1.5f, 3, 6, 8, 9, 10, 11, 12, 12.5f, 13, 13.5f, 14};
const float wordCycleFeed[SCORE_LENGTHS] = {0, 0, 0, 0.25f, 0.5f, 1.5f, 3, 6, 7, 8, 9, 10, 10, 10, 10, 10};

int32_t wordRepeatCount(int32_t p, const char* word) {
    if (p < 0 || p >= MAX_PLAYERS || word == nullptr) return 0;
    int32_t n = playerState[p].recentWordCount;
    if (n > RECENT_WORD_ROWS) n = RECENT_WORD_ROWS;
    if (n <= 1) return 0;
    // Rows 1 to n - 1: the oldest word made is not examined.
    int32_t count = 0;
    for (int32_t row = 1; row < n; row++)
        if (std::strncmp(playerState[p].recentWords[row], word, WORD_ROW_CHARS) == 0 &&
            std::strlen(word) < static_cast<size_t>(WORD_ROW_CHARS))
            count++;
    return count;
}

int32_t wordBaseScore(const char* word) {
    if (word == nullptr) return 1;
    int32_t letterSum = 1;
    int32_t length = 0;
    for (const char* c = word; *c; c++) {
        letterSum += letterValue[static_cast<unsigned char>(*c)];
        length++;
    }
    // Only the dictionary's load-time trace sees words over 15 letters; they
    // take the top multiplier.
    return lengthMultiplier[length < SCORE_LENGTHS ? length : SCORE_LENGTHS - 1] * letterSum;
}

int32_t wordScore(int32_t p, const char* word) {
    if (word == nullptr) return 1;
    int32_t result = wordBaseScore(word) / (wordRepeatCount(p, word) + 1);
    if (result < 1) result = 1;
    return result;
}

void scoreClearAll() { std::memset(playerState, 0, sizeof playerState); }

// Copies a word into a row of WORD_ROW_CHARS, cut to fit and always terminated.
static void scoreCopyWord(char* row, const char* word) {
    std::strncpy(row, word, WORD_ROW_CHARS - 1);
    row[WORD_ROW_CHARS - 1] = 0;
}

void wordAccept(int32_t p, const char* word) {
    if (p < 0 || p >= MAX_PLAYERS || word == nullptr) return;
    PlayerState& ps = playerState[p];
    const int32_t s = wordScore(p, word);
    cmDebugPrint("life:");

    const size_t length = std::strlen(word);
    const int32_t l = length < static_cast<size_t>(SCORE_LENGTHS) ? static_cast<int32_t>(length) : SCORE_LENGTHS - 1;
    gaugeAdd(lifeGauge, wordLifeFeed[l]);
    gaugeAdd(dragGauge, wordDragFeed[l]);
    gaugeAdd(cycleGauge, wordCycleFeed[l]);

    ps.score += s;

    std::memmove(ps.recentWords[2], ps.recentWords[1], sizeof ps.recentWords[1] * (RECENT_WORD_ROWS - 2));
    scoreCopyWord(ps.recentWords[1], word);
    std::memmove(&ps.recentScores[2], &ps.recentScores[1], sizeof ps.recentScores[1] * (RECENT_SCORE_ROWS - 2));
    ps.recentScores[1] = s;

    // Equal scores keep the older word first.
    for (int32_t i = 0; i < BEST_WORD_ROWS; i++) {
        if (ps.bestWords[i].score < s) {
            std::memmove(&ps.bestWords[i + 1], &ps.bestWords[i], sizeof ps.bestWords[0] * (BEST_WORD_ROWS - 1 - i));
            scoreCopyWord(ps.bestWords[i].word, word);
            ps.bestWords[i].score = s;
            break;
        }
    }

    if (ps.wordRowCount < WORD_ROWS_SHOWN) ps.wordRowCount++;
    if (ps.recentWordCount < RECENT_WORD_ROWS) ps.recentWordCount++;

    // Long words speed the falls up; the next word brings the interval back to a third of the default.
    const int32_t floor = fallIntervalDefault / 3;
    if (fallInterval[p] < floor) fallInterval[p] = floor;
    if (l >= LONG_WORD_LENGTH) fallInterval[p] -= LONG_WORD_SPEEDUP;

    objectiveNoteWord(word);
}
