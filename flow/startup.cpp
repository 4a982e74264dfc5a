// The program's entry point: the start-up steps in their order, then the
// message loop until the quit message.
#include "flow/startup.h"

#include <cstdio>

#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "flow/keydefs.h"
#include "flow/winproc.h"
#include "game/gamestate.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/score.h"
#include "game/tips.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "platform/platform.h"
#include "video/display.h"

StartCourse startCourse;

namespace {

// Rows 0-4 and 6 fill the seven cells of their grid row; row 5 is a line of
// text that says why, no wider than the grid.
const char* const missingDictionaryRows[GRID_MESSAGE_ROW_COUNT] = {
    "ERROR  ", "DICTION", "FILE   ", "NOT    ", "FOUND  ", nullptr, "SORRY  ",
};
constexpr int32_t MISSING_DICTIONARY_REASON_ROW = 5;

const char* missingDictionaryReason(DictLoadFailure why) {
    switch (why) {
        case DICT_UNREADABLE: return "Can't read 'worddiction.txt'.";
        case DICT_EMPTY: return "'worddiction.txt' is empty.";
        case DICT_TOO_BIG: return "'worddiction.txt' is too big.";
        case DICT_NOT_A_WORD_LIST: return "The file is not a word list.";
        case DICT_LOADED:
        case DICT_MISSING: break;
    }
    return "'worddiction.txt' is missing.";
}

}  // namespace

void startShowMissingDictionary(DictLoadFailure why) {
    gameState = STATE_NO_DICTIONARY;
    for (int32_t r = 0; r < GRID_MESSAGE_ROW_COUNT; r++) {
        const char* row =
            r == MISSING_DICTIONARY_REASON_ROW ? missingDictionaryReason(why) : missingDictionaryRows[r];
        std::snprintf(gridMessageRows[0][r], GRID_MESSAGE_ROW_SIZE, "%s", row);
    }
}

int32_t WinMain(void* instance, void* previousInstance, const char* commandLine, int32_t showCommand) {
    (void)previousInstance;
    (void)commandLine;
    // A replay brings its own table, keys and tips: the save folder is not
    // even read, so nothing in it is set aside as damaged.
    if (!startCourse.ownSavedState) hiScoresLoad();
    // No load-time trace of the best-scoring word: its lines would go to the
    // debug-print sink, which shows nothing, and scoring every word would add
    // almost 2 ms to start-up. A developer can set dictTraceScore to see it.
    // Only a recording or a replay names the word list by its fingerprint.
    dictFingerprint = startCourse.begin != nullptr;
    // The index from the words just stored, so the grid search and dictIsWord agree.
    const bool dictionaryMissing = !dictLoadIndexed();
    gridTotalLetterWeights();
    keyInstallDefaults();
    tipsClear();
    // After the defaults, so saved bindings and tip choices win.
    if (!startCourse.ownSavedState) prefsLoad();
    // Until the first frame reads the clock, the start time stands in: the
    // first game is seeded from it.
    frameInput.time = platGetTickCount();
    if (startCourse.begin != nullptr && !startCourse.begin()) return 0;
    // The window's procedure gets every message the display delivers.
    platSetWindowProc(startCourse.windowProc != nullptr ? startCourse.windowProc : gameWindowProc);
    if (!vidInit(instance, showCommand)) return 0;
    // The first game is a one-player game unless a recording says otherwise.
    gameNew();
    // After the new game, so the error rows replace the first intro.
    if (dictionaryMissing) startShowMissingDictionary(dictLoadFailure());
    return startMessageLoop(startCourse.frame != nullptr ? startCourse.frame : gameRunFrame);
}


int32_t appActive = 0;

int32_t startMessageLoop(void (*frame)()) {
    PlatMsg msg;
    for (;;) {
        // Look first without taking: a frame runs only when nothing waits.
        if (platPeekMessage(&msg)) {
            if (platGetMessage(&msg) == 0) return static_cast<int32_t>(msg.wParam);
            platTranslateMessage(&msg);
            platDispatchMessage(&msg);
        } else if (appActive != 0) {
            frame();
        } else {
            platWaitMessage();
        }
    }
}
