#include <cstdio>

#include "Core/cmdebug.h"
#include "Core/cmheap.h"
#include "video/display.h"
#include "video/dxresults.h"
#include "video/icon.h"
#include "video/sheet.h"
#include "video/sheetlayout.h"

namespace {

// The objects behind the g* pointers; set-up points at them as it creates them.
VidWindow vidWindowRecord;
VidDirectDraw vidDirectDrawRecord;
VidDirectInput vidDirectInputRecord;
VidMouseDevice vidMouseDeviceRecord;
VidEvent vidMouseEventRecord;

// The window manager scales it for the title bar and the task switcher.
constexpr int32_t VID_WINDOW_ICON_SIZE = 64;
uint8_t vidWindowIcon[VID_WINDOW_ICON_SIZE * VID_WINDOW_ICON_SIZE * 4];

// Drawn from the loaded sheet, so the window shows the same icon as the desktop.
void vidSetWindowIcon() {
    if (!gSheetPalette || gSheetSurface->width < SHEET_WIDTH || gSheetSurface->height < SHEET_HEIGHT) return;
    if (platSurfaceLock(gSheetSurface) != DD_OK) return;
    if (gSheetSurface->pixels) {
        vidIconDraw(gSheetSurface->pixels, gSheetSurface->pitch, gSheetPalette->entries, VID_WINDOW_ICON_SIZE,
                    vidWindowIcon);
    }
    platSurfaceUnlock(gSheetSurface);
    platSetWindowIcon(vidWindowIcon, VID_WINDOW_ICON_SIZE);
}

// The player is told which file to put back: the display goes first, so the
// box stands alone rather than over a black window.
bool vidSheetFail(VidWindow* window) {
    char text[CM_PATH_SIZE + 128];
    if (vidSheetPath[0]) {
        std::fprintf(stderr, "tarvoquelms: the game's picture file is missing or damaged: %s (%s). Reinstall the game.\n",
                     vidSheetPath, vidBitmapLoadError());
        std::snprintf(text, sizeof text, "The game's picture file is missing or damaged:\n%s.\nReinstall the game.",
                      vidSheetPath);
    } else {
        std::fprintf(stderr, "tarvoquelms: the game's picture file %s cannot be found: the game cannot tell which "
                     "folder it is in. Reinstall the game.\n", SHEET_NAME);
        std::snprintf(text, sizeof text, "The game's picture file %s cannot be found:\nthe game cannot tell which "
                      "folder it is in.\nReinstall the game.", SHEET_NAME);
    }
    displayRelease();
    platMessageBox(text, VID_WINDOW_TITLE);
    platDisplayClose();
    if (window == gMainWindow) gMainWindow = nullptr;
    return false;
}

}  // namespace

bool vidInit(void* instance, int32_t showCommand) {
    (void)instance;
    (void)showCommand;
    vidDisplayUnavailable = false;
    // The log stays on the debugger output whatever path is asked for.
    cmDebugSetLogFile(".\\Desktop\\VSKdebug.log");
    if (cmHeapInit() != 0) return false;

    vidWindowRecord = VidWindow{VID_WINDOW_TITLE};
    gMainWindow = &vidWindowRecord;
    // An unusable data folder leaves the path empty, and the sheet's load fails.
    cmPathJoin(CM_PATH_DATA, SHEET_NAME, vidSheetPath, sizeof vidSheetPath);

    // Opening the display is also the full-screen, exclusive 640 x 480 x 8 mode.
    int32_t result = platDisplayOpen(VID_WINDOW_TITLE);
    if (result != DD_OK) {
        vidDisplayUnavailable = true;
        std::fprintf(stderr, "cannot open the display: %s\n", platDisplayError());
        return vidInitFail(gMainWindow);
    }
    vidDirectDrawRecord = VidDirectDraw{true};
    gDirectDraw = &vidDirectDrawRecord;

    result = platCreatePrimary(true, &gPrimarySurface);
    if (result == DD_OK) {
        cmDebugPrint("vid mem OK.");
    } else if (result == DDERR_OUTOFVIDEOMEMORY) {
        cmDebugPrint("No video memory.\n");
        result = platCreatePrimary(false, &gPrimarySurface);
    }
    if (result != DD_OK) {
        gPrimarySurface = nullptr;
        cmDebugPrint("Couldn't create surface.");
        vidDescribeDisplayResult(result);
        return vidInitFail(gMainWindow);
    }
    cmDebugPrint("created surface");

    result = platGetBackBuffer(gPrimarySurface, &gBackSurface);
    cmDebugPrint("get attached surface.");
    if (result != DD_OK) {
        gBackSurface = nullptr;
        cmDebugPrint("failed to get attached surface.");
        vidDescribeDisplayResult(result);
        return vidInitFail(gMainWindow);
    }

    cmDebugPrint("ok. now load palette");
    gSheetPalette = vidLoadPalette(gDirectDraw, vidSheetPath);
    if (gSheetPalette) {
        vidSetPalette(gPrimarySurface, gSheetPalette);
        cmDebugPrint("found a palette");
    } else {
        cmDebugPrint("no palette.");
    }

    cmDebugPrint("load bitmap");
    gSheetSurface = vidLoadBitmapSurface(gDirectDraw, vidSheetPath, 0, 0);
    if (!gSheetSurface) {
        cmDebugPrint("load failed");
        // A sheet that was read but found no surface is the display's failure.
        if (vidBitmapLoadError()[0] == '\0') return vidInitFail(gMainWindow);
        return vidSheetFail(gMainWindow);
    }
    cmDebugPrint("load succeeded");
    vidSetColorKey(gSheetSurface, VID_COLOR_BLACK);
    vidSetWindowIcon();

    // Creating the input object is where the port opens the mouse.
    gInputResult = platMouseOpen();
    if (gInputResult < 0) {
        cmDebugPrint("failed to create input. Error:");
        vidDescribeInputResult(gInputResult);
        return false;
    }
    vidDirectInputRecord = VidDirectInput{VID_DIRECTINPUT_VERSION};
    gDirectInput = &vidDirectInputRecord;

    // The device, its data format, cooperative level, notification event and
    // buffer size are records of ours here: the port's mouse has nothing more
    // to refuse once it is open.
    vidMouseDeviceRecord = VidMouseDevice{true, true, VID_MOUSE_BUFFER_SIZE};
    gMouseDevice = &vidMouseDeviceRecord;
    vidMouseEventRecord = VidEvent{false};
    gMouseEvent = &vidMouseEventRecord;
    gInputResult = DI_OK;
    return true;
}
