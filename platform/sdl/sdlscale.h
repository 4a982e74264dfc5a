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

// Where a window of the picture opens in `room` (the desktop's usable area):
// `scale` times the picture (0: the largest whole scale), never more than fits,
// centred. A room smaller than the picture gets a window of the picture's shape
// that fills it.
SdlViewport sdlPlaceWindow(int32_t scale, SdlViewport room);
// The whole scale a window of this size shows the picture at; at least 1.
int32_t sdlScaleForSize(int32_t width, int32_t height);

// 0xAARRGGBB of each palette entry, opaque.
void sdlBuildColorTable(const PlatColor palette[256], uint32_t table[256]);
// Converts the surface's palette indices to colours, row by row; `outPitch`
// is in bytes.
void sdlConvertFrame(const PlatSurface* surface, const uint32_t table[256], uint32_t* out, int32_t outPitch);
// The same for the rectangle at x, y of w x h pixels alone: `out` receives its
// top-left pixel first.
void sdlConvertRect(const PlatSurface* surface, const uint32_t table[256], int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t* out, int32_t outPitch);
