// The display and input objects of the game and their set-up: one window, the
// 640 x 480 x 8 display with a flipping back buffer, the sprite sheet surface
// with its palette, and the relative mouse. Every picture is made by copying
// rectangles of the sheet onto the back buffer and flipping.
#pragma once

#include <cstdint>

#include "Core/cmpath.h"
#include "platform/platform.h"

// The window and the DirectDraw/DirectInput objects of the original design are
// records of their own here; a null pointer means "not created" exactly as a
// null interface pointer did.
struct VidWindow {
    const char* title;
};
struct VidDirectDraw {
    bool displayOpen;
};
struct VidPalette {
    PlatColor entries[256];
};
struct VidDirectInput {
    uint32_t version;
};
struct VidMouseDevice {
    bool dataFormatSet;
    bool exclusiveForeground;
    int32_t bufferSize;
};
struct VidEvent {
    bool signalled;
};

constexpr int32_t VID_SCREEN_WIDTH = 640;
constexpr int32_t VID_SCREEN_HEIGHT = 480;
constexpr int32_t VID_BITS_PER_PIXEL = 8;
constexpr int32_t VID_BACK_BUFFERS = 1;
constexpr uint32_t VID_DIRECTINPUT_VERSION = 0x0300;
constexpr int32_t VID_MOUSE_STATE_SIZE = 16;
constexpr int32_t VID_MOUSE_BUFFER_SIZE = 16;

extern VidWindow* gMainWindow;
extern VidDirectDraw* gDirectDraw;
extern PlatSurface* gPrimarySurface;
extern PlatSurface* gBackSurface;   // every drawing call targets it
extern PlatSurface* gSheetSurface;  // the sprite sheet, exactly the bitmap's size
extern VidPalette* gSheetPalette;   // may be null
extern VidDirectInput* gDirectInput;
extern VidMouseDevice* gMouseDevice;  // null until input set-up has created it
extern VidEvent* gMouseEvent;
extern int32_t gInputResult;  // result of the most recent input call

// The sprite sheet's file in the data folder, found by vidInit; the restore
// after a lost surface reads it again.
extern char vidSheetPath[CM_PATH_SIZE];

// The window's title, as the desktop and the task bar show it.
constexpr const char* VID_WINDOW_TITLE = "Tarvo Quelms";

// True after vidInit failed because no display could be opened at all (the
// program then exits with a non-zero status).
extern bool vidDisplayUnavailable;

// ---- displayinit.cpp: start-up

// Whole start-up of window, display, sheet and mouse; true when all are ready.
// `instance` and `showCommand` are passed through as the entry point got them.
bool vidInit(void* instance, int32_t showCommand);

// ---- display.cpp: everything after start-up

// Releases the display, shows "DirectDraw Init FAILED", closes the window;
// always false.
bool vidInitFail(VidWindow* window);
// Releases primary (with its back buffer), sheet, palette, then the display;
// does nothing without a display, so a second call is harmless. Input objects
// are never released.
void displayRelease();
// Brings back lost surfaces, the sheet's pixels and the palette; 0 or the
// first failing restore's result.
int32_t vidRestoreAll();
// Keyed copy of the sheet rectangle [left, right) x [top, bottom) to (x, y) on
// the back buffer under the retry rule: still drawing repeats, a lost surface
// runs vidRestoreAll and ends the copy with its result (0 when restored).
int32_t vidBlitRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The same with the rectangle turned half a turn in place.
int32_t vidBlitRectTurned(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom);
// vidBlitRect for each of `count` sheet rectangles in turn, in one call to the
// display where nothing fails: a copy that fails ends only itself, and the rest
// are made.
void vidBlitRects(const PlatBlt* blts, int32_t count);

// ---- The frame update's own copies, flip and mouse read -----------------------
// These end the frame on any non-zero result, so a lost surface is reported as
// DDERR_SURFACELOST even after a successful restore (or as the restore's own
// failure code).

// Keyed or opaque copy from the sheet to the back buffer; 0 only when made.
int32_t vidFrameBlit(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom, bool keyed);
// Shows the back buffer; 0 only when shown.
int32_t vidFlip();
// Clears *state and reads the mouse. A read that finds the device lost or not
// acquired acquires it; after a loss a successful acquire reads once more. The
// result is stored in gInputResult and returned. Without a mouse device the state
// stays clear and DIERR_NOTACQUIRED comes back (gInputResult untouched).
int32_t vidReadMouse(PlatMouseState* state);

// ---- For the sheet loaders: the display object's palette operations ---------

// A palette object holding the 256 entries; null when none can be made.
VidPalette* vidCreatePalette(VidDirectDraw* directDraw, const PlatColor entries[256]);
void vidReleasePalette(VidPalette* palette);
// Shows the primary surface with this palette.
void vidSetPalette(PlatSurface* primary, const VidPalette* palette);
