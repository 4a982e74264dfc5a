// The window procedure and the frame update fed any sequence of messages,
// mouse states and clock steps, from a new game each time.
#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/startup.h"
#include "flow/winproc.h"
#include "fuzzfile.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/score.h"
#include "game/tips.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "platform/headless/headless.h"
#include "tests/support/gamereset.h"
#include "video/display.h"
#include "video/sheetlayout.h"

namespace {

VidDirectDraw directDraw;
VidMouseDevice mouse;

void setUpOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    fuzzEnterScratchFolder();
    static const char words[] = "cat\r\ncap\r\ncaps\r\ncape\r\ncapes\r\nescapes\r\ndog\r\ngod\r\nzoo\r\nquiz\r\nabcdefghijklmno\r\n";
    fuzzWriteFile("worddiction.txt", reinterpret_cast<const uint8_t*>(words), sizeof words - 1);
    if (!dictLoad()) __builtin_trap();
    dictIndexBuild();
    gridTotalLetterWeights();
}

void newGame() {
    headlessReset();
    headless.realCopies = false;
    headlessSetTicks(100000);
    resetGameRecords();
    keyDefReset();
    hiScoresReset();
    prefsReset();
    appActive = 1;
    cmSrand(1);
    directDraw = VidDirectDraw{true};
    gDirectDraw = &directDraw;
    if (platDisplayOpen("TARVOQUE") != DD_OK || platCreatePrimary(true, &gPrimarySurface) != DD_OK ||
        platGetBackBuffer(gPrimarySurface, &gBackSurface) != DD_OK ||
        platCreateSurface(SHEET_WIDTH, SHEET_HEIGHT, &gSheetSurface) != DD_OK) {
        __builtin_trap();
    }
    mouse = VidMouseDevice{true, true, 16};
    gMouseDevice = &mouse;
    platSetWindowProc(gameWindowProc);
    gameNew();
}

bool invariantsHold() {
    if (gameState < STATE_GAME_OVER || gameState > STATE_NO_DICTIONARY) return false;
    if (levelNumber < 0 || levelNumber > LEVEL_LAST) return false;
    for (int p = 0; p < MAX_PLAYERS; p++) {
        if (worldOffsetX[p] < 0 || worldOffsetX[p] >= WORLD_SIZE || worldOffsetY[p] < 0 || worldOffsetY[p] >= WORLD_SIZE)
            return false;
        for (int y = 0; y < GRID_SIZE; y++) {
            for (int x = 0; x < GRID_SIZE; x++) {
                char c = wordgrid[p][y][x];
                if (c != GRID_BLANK && (c < 'A' || c > 'Z')) return false;
            }
        }
        if (wordLength[p] < 0 || wordLength[p] > maxWordLength) return false;
    }
    for (const Gauge& g : gaugeTable) {
        if (!(g.level >= 0.0f) || g.level > g.fullLevel) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setUpOnce();
    newGame();
    // Four bytes a step: what, then three arguments.
    for (size_t i = 0; i + 4 <= size && headless.quitPosted == 0; i += 4) {
        const uint8_t what = data[i] % 8;
        const uint8_t a = data[i + 1], b = data[i + 2], c = data[i + 3];
        switch (what) {
            case 0: gameWindowProc(WM_KEYDOWN, a, 0); break;
            case 1: gameWindowProc(WM_KEYUP, a, 0); break;
            case 2:
                headlessSetMouse(static_cast<int8_t>(a) * 4, static_cast<int8_t>(b) * 4, c & 1);
                gameRunFrame();
                break;
            case 3: headlessAdvanceTicks(static_cast<uint32_t>(a) << (b % 24)); break;
            case 4: gameWindowProc(WM_ACTIVATEAPP, a & 1, 0); break;
            case 5:
                for (int n = 0; n < a % 64; n++) gameRunFrame();
                break;
            case 6: gameWindowProc(a % 2 ? WM_CLOSE : WM_SETCURSOR, 0, 0); break;
            default:
                headlessFail(static_cast<HeadlessFaultKind>(a % HEADLESS_FAULT_KINDS),
                             b % 2 ? DDERR_SURFACELOST : DIERR_INPUTLOST, c % 4);
                gameRunFrame();
                break;
        }
        if (!invariantsHold()) __builtin_trap();
    }
    if (gDirectDraw) displayRelease();
    return 0;
}
