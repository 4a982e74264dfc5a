#include "platform/surfaceslots.h"

#include <cstddef>
#include <cstdlib>

PlatSurface* surfaceSlotsNew(PlatSurfaceSlots& slots, int32_t width, int32_t height) {
    for (int i = 0; i < PLAT_SURFACE_SLOTS; i++) {
        if (slots.used[i]) continue;
        PlatSurface& s = slots.surfaces[i];
        s = PlatSurface{};
        s.pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 1));
        if (!s.pixels) return nullptr;
        s.width = width;
        s.height = height;
        s.pitch = width;
        slots.used[i] = true;
        return &s;
    }
    return nullptr;
}

void surfaceSlotsFree(PlatSurfaceSlots& slots, PlatSurface* surface) {
    for (int i = 0; i < PLAT_SURFACE_SLOTS; i++) {
        if (slots.used[i] && &slots.surfaces[i] == surface) {
            std::free(surface->pixels);
            surface->pixels = nullptr;
            slots.used[i] = false;
        }
    }
}
