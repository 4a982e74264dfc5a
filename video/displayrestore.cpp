#include "video/display.h"
#include "video/sheet.h"

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
