#include "video/display.h"

#include <cstring>

#include "video/sheet.h"

VidWindow* gMainWindow;
VidDirectDraw* gDirectDraw;
PlatSurface* gPrimarySurface;
PlatSurface* gBackSurface;
PlatSurface* gSheetSurface;
VidPalette* gSheetPalette;
VidDirectInput* gDirectInput;
VidMouseDevice* gMouseDevice;
VidEvent* gMouseEvent;
int32_t gInputResult;
bool vidDisplayUnavailable;
char vidSheetPath[CM_PATH_SIZE] = "ALL";

namespace {

// Two palette slots: a restore releases the old palette before it loads the
// new one, but a loader may build one while another is still held.
constexpr int VID_PALETTE_SLOTS = 2;
VidPalette vidPaletteSlots[VID_PALETTE_SLOTS];
bool vidPaletteUsed[VID_PALETTE_SLOTS];

// The retry rule shared by every copy and the flip: still drawing repeats; a
// lost surface is restored and ends the call. `lostResult` is what a
// successful restore gives back.
template <typename Call>
int32_t vidRetry(Call call, int32_t lostResult) {
    for (;;) {
        int32_t result = call();
        if (result == DD_OK) return DD_OK;
        if (result == DDERR_WASSTILLDRAWING) continue;
        if (result == DDERR_SURFACELOST) {
            int32_t restored = vidRestoreAll();
            return restored != DD_OK ? restored : lostResult;
        }
        return result;
    }
}

}  // namespace

VidPalette* vidCreatePalette(VidDirectDraw* directDraw, const PlatColor entries[256]) {
    if (!directDraw || !entries) return nullptr;
    for (int i = 0; i < VID_PALETTE_SLOTS; i++) {
        if (vidPaletteUsed[i]) continue;
        vidPaletteUsed[i] = true;
        std::memcpy(vidPaletteSlots[i].entries, entries, sizeof vidPaletteSlots[i].entries);
        return &vidPaletteSlots[i];
    }
    return nullptr;
}

void vidReleasePalette(VidPalette* palette) {
    for (int i = 0; i < VID_PALETTE_SLOTS; i++) {
        if (palette == &vidPaletteSlots[i]) vidPaletteUsed[i] = false;
    }
}

void vidSetPalette(PlatSurface* primary, const VidPalette* palette) {
    if (!primary || !palette) return;
    platSetPalette(palette->entries);
}

void displayRelease() {
    if (!gDirectDraw) return;
    if (gPrimarySurface) {
        platSurfaceRelease(gPrimarySurface);  // takes the back buffer with it
        gPrimarySurface = nullptr;
        gBackSurface = nullptr;
    }
    if (gSheetSurface) {
        platSurfaceRelease(gSheetSurface);
        gSheetSurface = nullptr;
    }
    if (gSheetPalette) {
        vidReleasePalette(gSheetPalette);
        gSheetPalette = nullptr;
    }
    platDisplayClose();
    gDirectDraw->displayOpen = false;
    gDirectDraw = nullptr;
}

bool vidInitFail(VidWindow* window) {
    displayRelease();
    platMessageBox("DirectDraw Init FAILED", "TARVOQUE");
    if (window) {
        // Destroying the window: the display behind it goes too.
        platDisplayClose();
        if (window == gMainWindow) gMainWindow = nullptr;
    }
    return false;
}

int32_t vidBlitRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return vidRetry([&] { return platBltFast(gBackSurface, x, y, gSheetSurface, left, top, right, bottom, true); },
                    DD_OK);
}

void vidBlitRects(const PlatBlt* blts, int32_t count) {
    for (int32_t at = 0; at < count;) {
        int32_t made = 0;
        const int32_t result = platBltFastRun(gBackSurface, gSheetSurface, blts + at, count - at, true, &made);
        at += made;
        if (result == DD_OK) return;
        // The copy that failed, under the retry rule as vidBlitRect makes it.
        if (result == DDERR_WASSTILLDRAWING) continue;
        if (result == DDERR_SURFACELOST) vidRestoreAll();
        at++;
    }
}

int32_t vidBlitRectTurned(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return vidRetry(
        [&] { return platBltFastTurned(gBackSurface, x, y, gSheetSurface, left, top, right, bottom, true); }, DD_OK);
}

int32_t vidFrameBlit(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom, bool keyed) {
    return vidRetry([&] { return platBltFast(gBackSurface, x, y, gSheetSurface, left, top, right, bottom, keyed); },
                    DDERR_SURFACELOST);
}

int32_t vidFlip() {
    return vidRetry([] { return platFlip(gPrimarySurface); }, DDERR_SURFACELOST);
}

int32_t vidReadMouse(PlatMouseState* state) {
    std::memset(state, 0, sizeof *state);
    if (!gMouseDevice) return DIERR_NOTACQUIRED;
    int32_t result = platMouseRead(state);
    if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) {
        const bool lost = result == DIERR_INPUTLOST;
        result = platMouseAcquire();
        // Input lost and taken back at once: one more read keeps this frame's
        // motion and button. Never more: a device that stays lost gives a
        // frame with no motion and the button up, and the game runs on.
        if (lost && result == DI_OK) {
            std::memset(state, 0, sizeof *state);
            result = platMouseRead(state);
        }
    }
    gInputResult = result;
    return result;
}

int32_t vidRestoreAll() {
    // The primary brings its back buffer back with it.
    int32_t result = platSurfaceRestore(gPrimarySurface);
    if (result != DD_OK) return result;
    result = platSurfaceRestore(gSheetSurface);
    if (result != DD_OK) return result;
    vidReloadBitmap(gSheetSurface, vidSheetPath);
    if (gSheetPalette) {
        vidReleasePalette(gSheetPalette);
        gSheetPalette = nullptr;
    }
    gSheetPalette = vidLoadPalette(gDirectDraw, vidSheetPath);
    if (gSheetPalette) vidSetPalette(gPrimarySurface, gSheetPalette);
    return DD_OK;
}
