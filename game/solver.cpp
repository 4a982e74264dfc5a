#include "game/solver.h"

#include <cstring>

#include "dict/dictindex.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/score.h"

void (*solverWordHook)(const char* word, int32_t score) = nullptr;
SolverResult solverEnd[MAX_PLAYERS];
uint8_t solverEndSolved[MAX_PLAYERS];
int32_t solverHintX[MAX_PLAYERS][SOLVER_HINT_LETTERS];
int32_t solverHintY[MAX_PLAYERS][SOLVER_HINT_LETTERS];
int32_t solverHintCells[MAX_PLAYERS];
uint32_t solverHintTime[MAX_PLAYERS];

namespace {

constexpr int32_t SOLVER_CELLS = GRID_SIZE * GRID_SIZE;
constexpr int32_t SOLVER_NO_CELL = -1;
// The letter bits of an index node's children.
constexpr uint32_t SOLVER_LETTER_BITS = (1u << LETTER_COUNT) - 1;

// The solve under way. Cells are numbered y * GRID_SIZE + x.
int32_t solverLetter[SOLVER_CELLS];  // 0 for A to 25 for Z; -1 for a blank or any other byte
int32_t solverNeighbours[SOLVER_CELLS][8];
int32_t solverNeighbourCount[SOLVER_CELLS];
int32_t solverPath[maxWordLength];
char solverWord[maxWordLength + 1];
SolverResult* solverResult;

// The number of the solve that last found the word ending at each index node:
// a word that several paths spell counts once, and its first path stands.
uint32_t solverSeen[DICT_INDEX_NODES];
uint32_t solverStamp;

void solverFound(uint32_t node, int32_t length) {
    if (solverSeen[node] == solverStamp) return;
    solverSeen[node] = solverStamp;
    solverWord[length] = '\0';
    SolverResult& r = *solverResult;
    r.wordCount++;
    const int32_t score = wordBaseScore(solverWord);
    if (solverWordHook != nullptr) solverWordHook(solverWord, score);
    if (score < r.bestScore || (score == r.bestScore && std::strcmp(solverWord, r.best) >= 0)) return;
    r.bestScore = score;
    r.bestLength = length;
    std::memcpy(r.best, solverWord, static_cast<size_t>(length) + 1);
    for (int32_t i = 0; i < length; i++) {
        r.bestPathX[i] = solverPath[i] % GRID_SIZE;
        r.bestPathY[i] = solverPath[i] / GRID_SIZE;
    }
}

// The path's `length` letters spell the prefix that leads to `node`; its last
// cell is `cell`, the one before it `before`, where the next step may not go.
void solverWalk(uint32_t node, int32_t cell, int32_t before, int32_t length) {
    if (dictIndexEndsWord(node)) solverFound(node, length);
    if (length == maxWordLength || (dictIndexNodes[node].children & SOLVER_LETTER_BITS) == 0) return;
    for (int32_t i = 0; i < solverNeighbourCount[cell]; i++) {
        const int32_t next = solverNeighbours[cell][i];
        const int32_t l = solverLetter[next];
        if (next == before || l < 0) continue;
        const uint32_t child = dictIndexChild(node, static_cast<uint32_t>(l));
        if (child == DICT_INDEX_NONE) continue;
        solverPath[length] = next;
        solverWord[length] = static_cast<char>('A' + l);
        solverWalk(child, next, cell, length + 1);
    }
}

// The grid's letters and each cell's neighbours, within the rows and columns
// in use.
void solverReadGrid(int32_t p) {
    const int32_t rows = gridRowLimit();
    const int32_t cols = gridColLimit();
    for (int32_t y = 0; y < GRID_SIZE; y++) {
        for (int32_t x = 0; x < GRID_SIZE; x++) {
            const int32_t cell = y * GRID_SIZE + x;
            const char c = wordgrid[p][y][x];
            const bool inUse = y < rows && x < cols;
            solverLetter[cell] = inUse && c >= 'A' && c <= 'Z' ? c - 'A' : -1;
            solverNeighbourCount[cell] = 0;
            for (int32_t dy = -1; dy <= 1; dy++) {
                for (int32_t dx = -1; dx <= 1; dx++) {
                    const int32_t nx = x + dx;
                    const int32_t ny = y + dy;
                    if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= cols || ny >= rows) continue;
                    solverNeighbours[cell][solverNeighbourCount[cell]++] = ny * GRID_SIZE + nx;
                }
            }
        }
    }
}

}  // namespace

void solverSolve(int32_t p, SolverResult* result) {
    *result = SolverResult{};
    if (p < 0 || p >= MAX_PLAYERS) return;
    solverResult = result;
    if (++solverStamp == 0) {
        // After four billion solves the numbers come round again.
        std::memset(solverSeen, 0, sizeof solverSeen);
        solverStamp = 1;
    }
    solverReadGrid(p);
    for (int32_t cell = 0; cell < SOLVER_CELLS; cell++) {
        const int32_t l = solverLetter[cell];
        if (l < 0) continue;
        const uint32_t child = dictIndexChild(DICT_INDEX_ROOT, static_cast<uint32_t>(l));
        if (child == DICT_INDEX_NONE) continue;
        solverPath[0] = cell;
        solverWord[0] = static_cast<char>('A' + l);
        solverWalk(child, cell, SOLVER_NO_CELL, 1);
    }
    solverResult = nullptr;
}

void solverNoteEnd() {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        const bool inGame = p == 0 || twoPlayer;
        if (inGame) solverSolve(p, &solverEnd[p]);
        solverEndSolved[p] = inGame ? 1 : 0;
    }
}

void solverHint() {
    const int32_t players = twoPlayer ? MAX_PLAYERS : 1;
    for (int32_t p = 0; p < players; p++) {
        if (solverHintCells[p] != 0) return;
    }
    bool lit = false;
    for (int32_t p = 0; p < players; p++) {
        SolverResult found;
        solverSolve(p, &found);
        if (found.bestLength < SOLVER_HINT_LETTERS) continue;
        for (int32_t i = 0; i < SOLVER_HINT_LETTERS; i++) {
            solverHintX[p][i] = found.bestPathX[i];
            solverHintY[p][i] = found.bestPathY[i];
        }
        solverHintCells[p] = SOLVER_HINT_LETTERS;
        solverHintTime[p] = frameInput.time;
        lit = true;
    }
    if (lit) levelBonusTakeTenth();
}

void solverHintStep(int32_t p, uint32_t now) {
    if (p < 0 || p >= MAX_PLAYERS || solverHintCells[p] == 0) return;
    // Elapsed time, not a sum: the tick count wraps after 49.7 days.
    if (now - solverHintTime[p] >= SOLVER_HINT_MS) solverHintCells[p] = 0;
}

void solverClearAll() {
    std::memset(solverEnd, 0, sizeof solverEnd);
    std::memset(solverEndSolved, 0, sizeof solverEndSolved);
    std::memset(solverHintX, 0, sizeof solverHintX);
    std::memset(solverHintY, 0, sizeof solverHintY);
    std::memset(solverHintCells, 0, sizeof solverHintCells);
    std::memset(solverHintTime, 0, sizeof solverHintTime);
}
