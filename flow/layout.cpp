#include "flow/layout.h"

#include "game/gamestate.h"
#include "game/grid.h"

static_assert(LAYOUT_GRID_CELLS == GRID_SIZE, "the layout's grids have the game's size");
static_assert(MAX_PLAYERS == 2, "the layout places two players");

const ScreenLayout& layoutNow() { return twoPlayer ? LAYOUT_TWO_PLAYER : LAYOUT_ONE_PLAYER; }
