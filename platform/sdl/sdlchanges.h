// What a frame changed on the screen: the rows the frame's copies wrote, and,
// compared with the picture last shown, the rectangles that differ. A still
// screen then costs no conversion and no present, and a busy one only the
// parts that moved.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// A rectangle of the 640 x 480 picture.
struct SdlRect {
    int32_t x, y, w, h;
};

// More runs of changed rows than this are joined into the last one.
constexpr int32_t SDL_MAX_CHANGED_RECTS = 32;
// Runs of changed rows at most this many rows apart are joined: one larger
// upload and present cost less than two small ones.
constexpr int32_t SDL_JOIN_GAP_ROWS = 8;

struct SdlChanges {
    // Rows written since the last time they were compared; only they can differ
    // from the picture shown.
    uint8_t touched[PLAT_SCREEN_HEIGHT];
};

// Rows top to top + count - 1 were written (clamped to the picture).
inline void sdlTouchRows(SdlChanges& changes, int32_t top, int32_t count) {
    if (top < 0) {
        count += top;
        top = 0;
    }
    if (count > PLAT_SCREEN_HEIGHT - top) count = PLAT_SCREEN_HEIGHT - top;
    for (int32_t row = top; row < top + count; row++) changes.touched[row] = 1;
}
void sdlTouchAll(SdlChanges& changes);

// Compares the touched rows of `drawn` with `shown` (both the picture's size),
// brings `shown` up to date, forgets the touched rows and writes the changed
// rectangles to `rects`, top to bottom; returns how many (0: nothing changed).
// Each rectangle spans from the first to the last changed column of its rows.
int32_t sdlTakeChanges(SdlChanges& changes, const PlatSurface* drawn, PlatSurface* shown,
                       SdlRect rects[SDL_MAX_CHANGED_RECTS]);
