// Known starting state for the level, Drag Mode, turning and pointer tests: every
// game-rule record reset, a fixed seed, a set clock and a small dictionary.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "game/gamestate.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/score.h"
#include "game/tips.h"
#include "platform/headless/headless.h"
#include "support/gamereset.h"

// Writes the words (one per CR LF line) to worddiction.txt in a fresh temporary
// folder and loads it; the working folder is restored and the file removed.
inline bool playLoadWords(const std::vector<std::string>& words) {
    char oldDir[PATH_MAX];
    if (getcwd(oldDir, sizeof oldDir) == nullptr) return false;
    char dir[] = "/tmp/tq_play_XXXXXX";
    if (mkdtemp(dir) == nullptr) return false;
    if (chdir(dir) != 0) return false;
    bool loaded = false;
    if (FILE* f = std::fopen("worddiction.txt", "wb")) {
        for (const std::string& w : words) std::fprintf(f, "%s\r\n", w.c_str());
        std::fclose(f);
        loaded = dictLoad();
        std::remove("worddiction.txt");
    }
    const bool back = chdir(oldDir) == 0;
    rmdir(dir);
    return loaded && back;
}

// The words most tests spell; lower case as the shipped list has them.
inline const std::vector<std::string>& playWords() {
    static const std::vector<std::string> words = {"cat", "dog", "hen", "pig", "sun", "star", "rats", "tab", "bat",
                                                   "steam", "planet", "capes"};
    return words;
}

inline void playReset() {
    headlessReset();
    frameInput.time = 5000;
    resetGameRecords();
    gridTotalLetterWeights();
    cmSrand(1);
}

// Writes seven rows of seven characters into player p's grid.
inline void playSetGrid(int32_t p, const char* const rows[GRID_SIZE]) {
    for (int32_t y = 0; y < GRID_SIZE; y++) {
        ASSERT_EQ(std::strlen(rows[y]), static_cast<size_t>(GRID_SIZE));
        std::memcpy(wordgrid[p][y], rows[y], GRID_SIZE);
    }
}

inline std::string playGridRow(int32_t p, int32_t y) { return std::string(wordgrid[p][y], GRID_SIZE); }

inline bool playGridHasBlank(int32_t p) {
    for (int32_t y = 0; y < GRID_SIZE; y++)
        for (int32_t x = 0; x < GRID_SIZE; x++)
            if (wordgrid[p][y][x] == GRID_BLANK) return true;
    return false;
}

// The pointer of player p over grid cell (x, y), as the frame reports a move.
inline void playMoveTo(int32_t p, int32_t x, int32_t y) {
    frameInput.players[p].hoverTarget = HOVER_GRID;
    if (cursorX[p] == x && cursorY[p] == y) return;
    cursorX[p] = x;
    cursorY[p] = y;
    PointerCellChanged(p);
}

inline void playPressAt(int32_t p, int32_t x, int32_t y) {
    playMoveTo(p, x, y);
    PointerPress(p);
}

// A press and release on something other than the grid.
inline void playClick(int32_t p, int32_t target) {
    frameInput.players[p].hoverTarget = target;
    PointerPress(p);
    PointerRelease(p);
}

// Presses on the first cell, moves through the others and releases.
inline void playSpell(int32_t p, const std::vector<std::pair<int32_t, int32_t>>& cells) {
    playPressAt(p, cells[0].first, cells[0].second);
    for (size_t i = 1; i < cells.size(); i++) playMoveTo(p, cells[i].first, cells[i].second);
    PointerRelease(p);
}

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        playReset();
        ASSERT_TRUE(playLoadWords(playWords()));
    }
    // Play of level 0 under way, as after the press that leaves the intro.
    void startPlaying() {
        levelNumber = 0;
        objectiveNew();
        levelStart();
    }
};
