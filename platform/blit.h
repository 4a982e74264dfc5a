// The rectangle copy both backends share: the bounds rule and the pixel loop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// True when [left, right) x [top, bottom) of src lies inside src and, placed
// at (x, y), inside dst. Copies are never clipped, only refused. Inline: it
// runs for each of a frame's hundreds of small copies.
inline bool blitFits(const PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                     int32_t right, int32_t bottom) {
    if (!dst || !src || !dst->pixels || !src->pixels) return false;
    if (left < 0 || top < 0 || right <= left || bottom <= top) return false;
    if (right > src->width || bottom > src->height) return false;
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    return x >= 0 && y >= 0 && x <= dst->width - w && y <= dst->height - h;
}
// Moves the pixels of a rectangle that fits; keyed leaves out src->colorKey.
void blitPixels(PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                int32_t right, int32_t bottom, bool keyed);
// The same, the rectangle turned half a turn in place: its top-right pixel
// lands at the bottom left.
void blitPixelsTurned(PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                      int32_t right, int32_t bottom, bool keyed);
// One row of a keyed copy.
void blitKeyedRow(uint8_t* dst, const uint8_t* src, int32_t width, uint8_t key);
