// A busy frame against one plain copy of the screen, and start-up to the first
// frame, over the headless backend with the shipped sheet and dictionary.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "Core/cmrand.h"
#include "busyscreen.h"
#include "headlessgame.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "game/gamestate.h"
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

using bench::GameFolder;
using bench::makeBusyPlayScreen;
using bench::openHeadlessGame;

void BM_Frame(benchmark::State& state) {
    GameFolder folder;
    if (!openHeadlessGame()) {
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
    state.counters["drawn"] = static_cast<double>(headless.frameDrawnPixels);
    state.counters["whole"] = headless.frameDrawnWhole ? 1 : 0;
    if (gameState != STATE_PLAYING) state.SkipWithError("the busy screen left play");
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
