// A module calling DirectDraw itself rather than through the port layer: the
// check must name this include.
#include <DDraw.h>
#include "platform/platform.h"
