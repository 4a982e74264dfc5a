// A busy frame against one plain copy of the screen, and start-up to the first
// frame, over the headless backend with the shipped sheet and dictionary.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "Core/cmrand.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "flow/gamestate.h"
#include "flow/keydefs.h"
#include "flow/startup.h"
#include "flow/winproc.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/score.h"
#include "platform/headless/headless.h"
#include "video/display.h"

namespace {

// Runs with the ready game folder as the working directory, as the game does.
class GameFolder {
public:
    GameFolder() {
        if (!getcwd(old, sizeof old) || chdir(TQ_GAME_DIR) != 0) std::perror("game folder");
    }
    ~GameFolder() {
        if (chdir(old) != 0) std::perror("back");
    }

private:
    char old[PATH_MAX];
};

// Full word panels, a 15-letter path, letters shaking to vanish and the Drag
// Bar blinking: everything the play screen can draw at once.
void makeBusyPlayScreen() {
    gameNew();
    levelStart();
    gameState = STATE_PLAYING;
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        PlayerState& ps = playerState[p];
        ps.score = 1234567;
        ps.wordRowCount = WORD_ROWS_SHOWN;
        for (int32_t i = 0; i < WORD_ROWS_SHOWN; i++) {
            std::snprintf(ps.recentWords[i], WORD_ROW_CHARS, "%s", "QUIZZICALNESS");
            ps.recentScores[i] = 900 + i;
            std::snprintf(ps.bestWords[i].word, WORD_ROW_CHARS, "%s", "ESCAPES");
            ps.bestWords[i].score = 105 - i;
        }
    }
    // A snake through the grid: 15 neighbouring cells.
    wordLength[0] = maxWordLength;
    for (int32_t i = 0; i < maxWordLength; i++) {
        int32_t row = i / GRID_SIZE;
        int32_t col = row % 2 == 0 ? i % GRID_SIZE : GRID_SIZE - 1 - i % GRID_SIZE;
        pathX[0][i] = col;
        pathY[0][i] = row;
        wordLetters[0][i] = wordgrid[0][row][col];
    }
    wordLetters[0][maxWordLength] = '\0';
    highlightOn[0] = 1;
    for (int32_t c = 0; c < GRID_SIZE; c++) vanishMark[0][5][c] = vanishMark[0][6][c] = 1;
    vanishPending[0] = 1;
    gridStepTime[0] = platGetTickCount();
    dragGauge.level = dragGauge.fullLevel;
    gaugeStart(dragGauge);
    dragModeOn[0] = 1;
    pointerX = 146 + 36 * 3 + 18;
    pointerY = 27 + 36 * 3 + 17;
}

void BM_Frame(benchmark::State& state) {
    GameFolder folder;
    headlessReset();
    headless.realCopies = true;
    cmSrand(1);
    dictLoad();
    gridTotalLetterWeights();
    keyDefReset();
    if (!vidInit(nullptr, 0)) {
        state.SkipWithError("the display did not open (is ALL in the game folder?)");
        return;
    }
    makeBusyPlayScreen();
    for (auto _ : state) {
        // Keep the timer and the Drag Bar full, so every frame is a busy play frame.
        lifeGauge.level = lifeGauge.fullLevel;
        dragGauge.level = dragGauge.fullLevel;
        headlessClearCopies();
        gameRunFrame();
    }
    state.counters["copies"] = static_cast<double>(headless.copyCount);
    benchmark::DoNotOptimize(headlessBackBuffer()->pixels[0]);
    displayRelease();
}
BENCHMARK(BM_Frame);

void BM_ScreenCopy(benchmark::State& state) {
    static uint8_t from[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT];
    static uint8_t to[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT];
    std::memset(from, 7, sizeof from);
    for (auto _ : state) {
        std::memcpy(to, from, sizeof to);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(to[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT - 1]);
}
BENCHMARK(BM_ScreenCopy);

// WinMain from its first step to the end of the first frame.
void BM_StartUp(benchmark::State& state) {
    GameFolder folder;
    for (auto _ : state) {
        headlessReset();
        headlessPushMessage(WM_ACTIVATEAPP, 1, 0);
        headlessQuitAfterFlips(1);
        int32_t code = WinMain(nullptr, nullptr, "", 1);
        benchmark::DoNotOptimize(code);
        state.PauseTiming();
        if (headless.flipCount != 1) state.SkipWithError("start-up did not reach its first frame");
        displayRelease();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace
