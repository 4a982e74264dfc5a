// The game as start-up leaves it, over the headless backend with the shipped
// sheet and dictionary, every copy drawn and none recorded: what the headless
// benchmarks start from.
#pragma once

#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "flow/keydefs.h"
#include "flow/winproc.h"
#include "game/grid.h"
#include "platform/headless/headless.h"
#include "video/display.h"

namespace bench {

// False when the display did not open (ALL missing from the game folder).
inline bool openHeadlessGame() {
    headlessReset();
    headless.realCopies = true;
    // The game keeps no record of its copies; only tests read one.
    headless.recordCopies = false;
    cmSrand(1);
    dictLoad();
    dictIndexBuild();
    gridTotalLetterWeights();
    keyDefReset();
    platSetWindowProc(gameWindowProc);
    return vidInit(nullptr, 0);
}

}  // namespace bench
