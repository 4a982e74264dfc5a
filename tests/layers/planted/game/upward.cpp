// A rule reaching up to the frame: the check must name this include.
#include "flow/frame.h"
#include "game/grid.h"
#include "dict/dictionary.h"
