// Sprite sheet loaders: the sheet bitmap into an off-screen surface, the display
// palette from the bitmap's colour table, and the transparent colour. The bitmap
// is read from the file of the given name in the working directory with our own
// reader (uncompressed 1-, 4- or 8-bit Windows bitmaps); there are no bitmap
// resources on this platform.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "video/display.h"

// Palette entry as handed to the display: red, green, blue, flags.
struct VidPaletteEntry {
    uint8_t red, green, blue, flags;
};
static_assert(sizeof(VidPaletteEntry) == 4);

// A loaded bitmap: palette indices, top row first, `width` bytes per row.
struct VidBitmap {
    const uint8_t* pixels;
    int32_t width;
    int32_t height;
};

// The largest bitmap the loader holds (the sheet's size in pixels).
constexpr int32_t VID_BITMAP_MAX_PIXELS = 800 * 1044;
// CLR_INVALID: a colour value that names no colour.
constexpr uint32_t VID_CLR_INVALID = 0xFFFFFFFFu;
// The colour value of black (0x00BBGGRR).
constexpr uint32_t VID_COLOR_BLACK = 0x00000000u;

// `directDraw` is the display object; null means there is none and nothing can be
// created. Width and height of 0 keep the bitmap's own size; others stretch it.
PlatSurface* vidLoadBitmapSurface(VidDirectDraw* directDraw, const char* name, int32_t width, int32_t height);
int32_t vidReloadBitmap(PlatSurface* surface, const char* name);
// Stretches the bitmap's rectangle (x, y, width, height) over the whole surface;
// 0 width or height means the bitmap's own. Returns the surface access result.
int32_t vidCopyBitmap(PlatSurface* surface, const VidBitmap* bitmap, int32_t x, int32_t y, int32_t width,
                      int32_t height);
// Builds the 256 entries (the default 3-3-2 palette unless the file's colour
// table replaces them) and creates the palette; null when none was created.
VidPalette* vidLoadPalette(VidDirectDraw* directDraw, const char* name);
// The entries vidLoadPalette built last, before they went to the display.
const VidPaletteEntry* vidLastPaletteEntries();
// The pixel value (palette index) a 0x00BBGGRR colour takes on the surface, or
// 0xFFFFFFFF when the surface cannot be read. Colours are matched against the
// display's palette (gSheetPalette), or the default 3-3-2 palette without one.
uint32_t vidColorMatch(PlatSurface* surface, uint32_t colour);
int32_t vidSetColorKey(PlatSurface* surface, uint32_t colour);

// The bitmap reader the loaders use: the file into the loader's fixed buffer.
// Null when the file is missing, truncated or not a bitmap it reads.
const VidBitmap* vidBitmapLoad(const char* name);
// Why the last vidBitmapLoad gave null, in a few words for a person ("No such
// file or directory", "it ends after 5000 bytes; ..."); empty after one that loaded.
const char* vidBitmapLoadError();
