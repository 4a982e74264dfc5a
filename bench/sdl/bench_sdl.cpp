// The SDL backend's present path and a whole frame over it, with SDL's dummy
// video driver (no screen needed) and frame pacing off.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <vector>

#include "../busyscreen.h"
#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/winproc.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/score.h"
#include "platform/sdl/sdl.h"
#include "platform/sdl/sdlscale.h"
#include "video/display.h"
#include "video/sheetlayout.h"

namespace {

using bench::GameFolder;
using bench::makeBusyPlayScreen;

// The display over the dummy driver; `factor` 1 shows the picture unscaled
// in the dummy desktop, 2 in a window of twice its size.
bool openDisplay(benchmark::State& state, int factor) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    cmSrand(1);
    dictLoad();
    dictIndexBuild();
    gridTotalLetterWeights();
    keyDefReset();
    platSetWindowProc(gameWindowProc);
    if (!vidInit(nullptr, 1)) {
        state.SkipWithError("the display did not open (is ALL in the game folder?)");
        return false;
    }
    sdlSetFramePacing(false);
    if (factor == 2) sdlToggleFullscreen();
    return true;
}

// Palette lookup of the 8-bit frame into 32-bit colours alone.
void BM_SdlPaletteConvert(benchmark::State& state) {
    static uint8_t pixels[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT];
    for (int i = 0; i < PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT; i++) pixels[i] = static_cast<uint8_t>(i * 7);
    PlatSurface s{pixels, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, PLAT_SCREEN_WIDTH, 0, false};
    PlatColor palette[256];
    for (int i = 0; i < 256; i++) palette[i] = PlatColor{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
    uint32_t table[256];
    sdlBuildColorTable(palette, table);
    std::vector<uint32_t> out(PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT);
    for (auto _ : state) {
        sdlConvertFrame(&s, table, out.data(), PLAT_SCREEN_WIDTH * 4);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(out[1000]);
}
BENCHMARK(BM_SdlPaletteConvert)->Unit(benchmark::kMicrosecond);

// One flip of the whole picture: the back buffer through the palette into the
// texture, scaled onto the window and presented.
void BM_SdlPresent(benchmark::State& state) {
    GameFolder folder;
    if (!openDisplay(state, static_cast<int>(state.range(0)))) return;
    vidFrameBlit(0, 0, SHEET_BACKGROUND_ONE_PLAYER.left, SHEET_BACKGROUND_ONE_PLAYER.top, SHEET_BACKGROUND_ONE_PLAYER.right,
                 SHEET_BACKGROUND_ONE_PLAYER.bottom, false);
    for (auto _ : state) {
        sdlShowWholePicture();
        if (vidFlip() != DD_OK) {
            state.SkipWithError("flip failed");
            break;
        }
    }
    displayRelease();
}
BENCHMARK(BM_SdlPresent)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One flip of a picture drawn again exactly as shown: the compare alone.
void BM_SdlPresentUnchanged(benchmark::State& state) {
    GameFolder folder;
    if (!openDisplay(state, 1)) return;
    const SheetRect& b = SHEET_BACKGROUND_ONE_PLAYER;
    vidFrameBlit(0, 0, b.left, b.top, b.right, b.bottom, false);
    vidFlip();
    for (auto _ : state) {
        vidFrameBlit(0, 0, b.left, b.top, b.right, b.bottom, false);
        if (vidFlip() != DD_OK) {
            state.SkipWithError("flip failed");
            break;
        }
    }
    SdlPresentCounts counts;
    sdlGetPresentCounts(&counts);
    state.counters["presents"] = counts.presents;
    displayRelease();
}
BENCHMARK(BM_SdlPresentUnchanged)->Unit(benchmark::kMicrosecond);

// A whole busy play frame over the SDL backend, present included: its
// blinking parts change from frame to frame, the rest does not.
void BM_SdlFrame(benchmark::State& state) {
    GameFolder folder;
    if (!openDisplay(state, static_cast<int>(state.range(0)))) return;
    makeBusyPlayScreen();
    for (auto _ : state) {
        lifeGauge.level = lifeGauge.fullLevel;
        dragGauge.level = dragGauge.fullLevel;
        gameRunFrame();
    }
    displayRelease();
}
BENCHMARK(BM_SdlFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
