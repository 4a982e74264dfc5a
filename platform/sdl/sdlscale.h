// Where the 640 x 480 picture goes in a window or screen of any size, and the
// palette conversion of the 8-bit frame into 32-bit colours.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SdlViewport {
    int32_t x, y, w, h;
};

// The picture scaled by the largest whole factor that fits, centred; an
// output smaller than the picture gets it shrunk to fit with its shape kept.
SdlViewport sdlFitPicture(int32_t outputWidth, int32_t outputHeight);

// 0xAARRGGBB of each palette entry, opaque.
void sdlBuildColorTable(const PlatColor palette[256], uint32_t table[256]);
// Converts the surface's palette indices to colours, row by row; `outPitch`
// is in bytes.
void sdlConvertFrame(const PlatSurface* surface, const uint32_t table[256], uint32_t* out, int32_t outPitch);
