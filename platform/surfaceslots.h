// The fixed slots both backends keep their surfaces in, so that making and
// releasing surfaces never grows anything and a released one is found again.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int PLAT_SURFACE_SLOTS = 8;

struct PlatSurfaceSlots {
    PlatSurface surfaces[PLAT_SURFACE_SLOTS];
    bool used[PLAT_SURFACE_SLOTS];
};

// A cleared surface of the size in a free slot; null when no slot or memory is left.
PlatSurface* surfaceSlotsNew(PlatSurfaceSlots& slots, int32_t width, int32_t height);
// Frees the surface's pixels and its slot; a surface not in the slots is left alone.
void surfaceSlotsFree(PlatSurfaceSlots& slots, PlatSurface* surface);
