// Every record of the game rules back to its start-up value: the known state
// that tests, fuzz targets and benchmarks begin from.
#pragma once

#include "game/gamestate.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/score.h"
#include "game/solver.h"
#include "game/tips.h"
#include "sound/sound.h"

inline void resetGameRecords() {
    gameStateReset();
    gaugeClearAll();
    gridClearAll();
    pathClearAll();
    scoreClearAll();
    levelClearAll();
    dragModeClearAll();
    bannerClearAll();
    pointerClearAll();
    promptClearAll();
    tipsClear();
    solverClearAll();
    sndReset();
}
