// Known starting state for the letter-world, path and scoring tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictionary.h"
#include "game/gamestate.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/score.h"
#include "platform/headless/headless.h"

inline void wordRulesReset() {
    headlessReset();
    gameStateReset();
    gaugeClearAll();
    gridClearAll();
    pathClearAll();
    scoreClearAll();
    gridTotalLetterWeights();
    objective = Objective{};
    objective.requiredLength = 3;
    objective.target = 5;
    levelNumber = 0;
    cmSrand(12345);
}

// Writes seven rows of seven characters into player p's grid.
inline void wordRulesSetGrid(int32_t p, const char* const rows[GRID_SIZE]) {
    for (int32_t y = 0; y < GRID_SIZE; y++) {
        ASSERT_EQ(std::strlen(rows[y]), static_cast<size_t>(GRID_SIZE));
        std::memcpy(wordgrid[p][y], rows[y], GRID_SIZE);
    }
}

inline void wordRulesFillGrid(int32_t p, char c) { std::memset(wordgrid[p], c, sizeof wordgrid[p]); }

// The first seed whose next cmRand() result satisfies the test; the generator is
// left seeded with it.
inline uint32_t wordRulesSeedWhere(const std::function<bool(int32_t)>& test) {
    for (uint32_t seed = 1;; seed++) {
        cmSrand(seed);
        if (test(cmRand())) {
            cmSrand(seed);
            return seed;
        }
    }
}

// The generator state after n further draws from the current state.
inline uint32_t wordRulesStateAfter(int n) {
    const uint32_t saved = cmRandState();
    for (int i = 0; i < n; i++) cmRand();
    const uint32_t after = cmRandState();
    cmSrand(saved);
    return after;
}

// Writes the words as CR LF lines to worddiction.txt in a fresh temporary folder
// and loads them; the working folder is restored and the folder removed.
inline bool wordRulesLoadWords(const std::vector<std::string>& words) {
    char oldDir[PATH_MAX];
    if (getcwd(oldDir, sizeof oldDir) == nullptr) return false;
    char dir[] = "/tmp/tq_wordrules_XXXXXX";
    if (mkdtemp(dir) == nullptr) return false;
    bool loaded = false;
    if (chdir(dir) == 0) {
        if (FILE* f = std::fopen("worddiction.txt", "wb")) {
            for (const std::string& w : words) std::fprintf(f, "%s\r\n", w.c_str());
            std::fclose(f);
            loaded = dictLoad();
            std::remove("worddiction.txt");
        }
        if (chdir(oldDir) != 0) loaded = false;
    }
    rmdir(dir);
    return loaded;
}

// Moves player p's cursor over the cells in turn, offering each to the path.
inline void wordRulesSpell(int32_t p, const std::vector<std::pair<int32_t, int32_t>>& cells) {
    for (const auto& [x, y] : cells) {
        cursorX[p] = x;
        cursorY[p] = y;
        AddLetter(p);
    }
}
