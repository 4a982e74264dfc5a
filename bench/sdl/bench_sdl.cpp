// The SDL backend's present path and a whole frame over it, with SDL's dummy
// video driver (no screen needed) and frame pacing off.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "flow/gamestate.h"
#include "flow/keydefs.h"
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

// The display over the dummy driver; `factor` 1 shows the picture unscaled
// in the dummy desktop, 2 in a window of twice its size.
bool openDisplay(benchmark::State& state, int factor) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    cmSrand(1);
    dictLoad();
    gridTotalLetterWeights();
    keyDefReset();
    if (!vidInit(nullptr, 1)) {
        state.SkipWithError("the display did not open (is ALL in the game folder?)");
        return false;
    }
    sdlSetFramePacing(false);
    if (factor == 2) sdlToggleFullscreen();
    return true;
}

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

// One flip: the back buffer through the palette into the texture, scaled onto
// the window and presented.
void BM_SdlPresent(benchmark::State& state) {
    GameFolder folder;
    if (!openDisplay(state, static_cast<int>(state.range(0)))) return;
    vidFrameBlit(0, 0, SHEET_BACKGROUND_ONE_PLAYER.left, SHEET_BACKGROUND_ONE_PLAYER.top, SHEET_BACKGROUND_ONE_PLAYER.right,
                 SHEET_BACKGROUND_ONE_PLAYER.bottom, false);
    for (auto _ : state) {
        if (vidFlip() != DD_OK) {
            state.SkipWithError("flip failed");
            break;
        }
    }
    displayRelease();
}
BENCHMARK(BM_SdlPresent)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A whole busy play frame over the SDL backend, present included.
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
