#include "platform/headless/headless.h"

#include "platform/blit.h"
#include "platform/files.h"
#include "platform/redraw.h"
#include "platform/surfaceslots.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

HeadlessRecord headless;

namespace {

struct Fault {
    int32_t code;
    int32_t count;
};

struct HeadlessState {
    PlatWindowProc windowProc;
    PlatMsg queue[HEADLESS_MAX_MESSAGES];
    int32_t queueHead;
    int32_t queueCount;
    void (*idleHook)();
    uint32_t ticksPerFlip;
    PlatMouseState mouse;
    Fault faults[HEADLESS_FAULT_KINDS];
    int64_t fileSizeOverride;
    bool hasFileSizeOverride;
    int32_t quitAfterFlips;
    PlatSurfaceSlots slots;
    PlatSurface* primary;
    PlatSurface* back;
    Redraw redraw;  // the back buffer's copies, drawn again only where they changed
    PlatAudioCallback audioCallback;
    void* audioUser;
};

HeadlessState hs;

int32_t takeFault(HeadlessFaultKind kind) {
    Fault& f = hs.faults[kind];
    if (f.count <= 0) return 0;
    f.count--;
    return f.code;
}

PlatSurface* newSurface(int32_t width, int32_t height) { return surfaceSlotsNew(hs.slots, width, height); }
void freeSurface(PlatSurface* s) { surfaceSlotsFree(hs.slots, s); }

}  // namespace

void headlessReset() {
    for (PlatSurface& s : hs.slots.surfaces) freeSurface(&s);
    PlatWindowProc proc = hs.windowProc;
    std::memset(&hs, 0, sizeof hs);
    hs.windowProc = proc;
    std::memset(&headless, 0, sizeof headless);
    headless.recordCopies = true;
    headless.realCopies = true;
    headless.displayMode = PlatDisplayMode{true, 0};
}

void headlessSetTicks(uint32_t ticks) { headless.ticks = ticks; }
void headlessAdvanceTicks(uint32_t ms) { headless.ticks += ms; }
void headlessSetTicksPerFlip(uint32_t ms) { hs.ticksPerFlip = ms; }

void headlessPushMessage(uint32_t message, uint32_t wParam, int32_t lParam) {
    if (hs.queueCount >= HEADLESS_MAX_MESSAGES) return;
    hs.queue[(hs.queueHead + hs.queueCount) % HEADLESS_MAX_MESSAGES] = PlatMsg{message, wParam, lParam};
    hs.queueCount++;
}

int headlessPendingMessages() { return hs.queueCount; }
void headlessSetIdleHook(void (*hook)()) { hs.idleHook = hook; }

void headlessSetMouse(int32_t dx, int32_t dy, bool button) {
    hs.mouse.x = dx;
    hs.mouse.y = dy;
    hs.mouse.buttons[0] = button ? 0x80 : 0;
}

void headlessFail(HeadlessFaultKind kind, int32_t code, int32_t count) { hs.faults[kind] = Fault{code, count}; }
void headlessClearCopies() { headless.copyCount = 0; }
PlatSurface* headlessBackBuffer() {
    // The test may read or write it as it likes.
    redrawSpoil(hs.redraw);
    return hs.back;
}

void headlessSetFileSizeOverride(int64_t size) {
    hs.fileSizeOverride = size;
    hs.hasFileSizeOverride = true;
}

void headlessQuitAfterFlips(int32_t flips) { hs.quitAfterFlips = flips; }

// ---- messages ----

void platSetWindowProc(PlatWindowProc proc) { hs.windowProc = proc; }

bool platPeekMessage(PlatMsg* msg) {
    if (hs.queueCount == 0) return false;
    *msg = hs.queue[hs.queueHead];
    return true;
}

int platGetMessage(PlatMsg* msg) {
    while (hs.queueCount == 0) platWaitMessage();
    *msg = hs.queue[hs.queueHead];
    hs.queueHead = (hs.queueHead + 1) % HEADLESS_MAX_MESSAGES;
    hs.queueCount--;
    return msg->message == WM_QUIT ? 0 : 1;
}

void platTranslateMessage(const PlatMsg*) {}

int32_t platDispatchMessage(const PlatMsg* msg) {
    if (!hs.windowProc) return 0;
    return hs.windowProc(msg->message, msg->wParam, msg->lParam);
}

void platWaitMessage() {
    if (hs.queueCount > 0) return;
    headless.idleCalls++;
    if (hs.idleHook) hs.idleHook();
    if (hs.queueCount == 0) platPostQuitMessage(-1);
}

void platPostQuitMessage(int32_t exitCode) {
    headless.quitPosted++;
    headlessPushMessage(WM_QUIT, static_cast<uint32_t>(exitCode), 0);
}

void platPostMessage(uint32_t message, uint32_t wParam, int32_t lParam) { headlessPushMessage(message, wParam, lParam); }

// ---- kernel ----

uint32_t platGetTickCount() { return headless.ticks; }

int64_t platFileSize(const char* name) {
    if (hs.hasFileSizeOverride) return hs.fileSizeOverride;
    return filesSystemSize(name);
}

void platMessageBox(const char* text, const char* caption) {
    headless.messageBoxCount++;
    std::snprintf(headless.lastMessageBoxText, sizeof headless.lastMessageBoxText, "%s", text ? text : "");
    std::snprintf(headless.lastMessageBoxCaption, sizeof headless.lastMessageBoxCaption, "%s", caption ? caption : "");
}

void platDebugOutput(const char* text) {
    if (!text) return;
    size_t room = sizeof headless.debugText - 1 - static_cast<size_t>(headless.debugTextLength);
    size_t n = std::strlen(text);
    if (n > room) n = room;
    std::memcpy(headless.debugText + headless.debugTextLength, text, n);
    headless.debugTextLength += static_cast<int32_t>(n);
    headless.debugText[headless.debugTextLength] = '\0';
}

void platDebugBreak() { headless.debugBreakCount++; }

// ---- display ----

bool platExecutableFolder(char* out, int32_t size) {
    if (headless.executableFolder[0] == '\0' || size <= 0) return false;
    int n = std::snprintf(out, static_cast<size_t>(size), "%s", headless.executableFolder);
    return n > 0 && n < size;
}

void platSetDisplayMode(const PlatDisplayMode* mode) {
    headless.displayMode = *mode;
    headless.displayModeSetCount++;
}

void platGetDisplayMode(PlatDisplayMode* mode) { *mode = headless.displayMode; }

void platSetWindowIcon(const uint8_t* rgba, int32_t size) {
    headless.iconSize = size;
    if (size > 0 && size <= HEADLESS_ICON_MAX) std::memcpy(headless.icon, rgba, static_cast<size_t>(size) * size * 4);
}

int32_t platDisplayOpen(const char*) {
    if (int32_t f = takeFault(HEADLESS_FAULT_DISPLAY_OPEN)) return f;
    headless.displayOpen = true;
    return DD_OK;
}

const char* platDisplayError() { return "headless display refused by the test"; }

int32_t platCreatePrimary(bool, PlatSurface** primary) {
    if (int32_t f = takeFault(HEADLESS_FAULT_CREATE_PRIMARY)) return f;
    if (!hs.primary) hs.primary = newSurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
    if (!hs.back) hs.back = newSurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
    if (!hs.primary || !hs.back) return DDERR_OUTOFVIDEOMEMORY;
    if (hs.redraw.back != hs.back) redrawStart(hs.redraw, hs.back);
    *primary = hs.primary;
    return DD_OK;
}

int32_t platGetBackBuffer(PlatSurface* primary, PlatSurface** back) {
    if (!primary || primary != hs.primary) return DDERR_INVALIDPARAMS;
    *back = hs.back;
    return DD_OK;
}

int32_t platCreateSurface(int32_t width, int32_t height, PlatSurface** surface) {
    if (int32_t f = takeFault(HEADLESS_FAULT_CREATE_SURFACE)) return f;
    if (width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
    PlatSurface* s = newSurface(width, height);
    if (!s) return DDERR_OUTOFVIDEOMEMORY;
    *surface = s;
    return DD_OK;
}

int32_t platSurfaceRestore(PlatSurface* surface) {
    if (int32_t f = takeFault(HEADLESS_FAULT_RESTORE)) return f;
    if (!surface) return DDERR_INVALIDPARAMS;
    redrawSpoil(hs.redraw);
    surface->lost = false;
    if (surface == hs.primary && hs.back) hs.back->lost = false;
    return DD_OK;
}

// Surfaces in the program's own memory: their pixels never move. Whoever locks
// one may read or write any of it.
int32_t platSurfaceLock(PlatSurface* surface) {
    if (!surface || !surface->pixels) return DDERR_INVALIDPARAMS;
    redrawSpoil(hs.redraw);
    return DD_OK;
}
void platSurfaceUnlock(PlatSurface*) {}

void platSurfaceRelease(PlatSurface* surface) {
    if (!surface) return;
    redrawSpoil(hs.redraw);
    if (surface == hs.primary) {
        redrawStart(hs.redraw, nullptr);
        // The back buffer goes with its primary.
        freeSurface(hs.back);
        hs.back = nullptr;
        hs.primary = nullptr;
    }
    freeSurface(surface);
}

void platSetPalette(const PlatColor palette[256]) {
    std::memcpy(headless.palette, palette, sizeof headless.palette);
    headless.paletteSetCount++;
}

namespace {

// What a copy's surfaces must pass: the test's fault, if one is armed, then
// the surfaces themselves.
int32_t headlessCheck(const PlatSurface* dst, const PlatSurface* src) {
    if (int32_t f = takeFault(HEADLESS_FAULT_BLT)) return f;
    if (!dst || !src) return DDERR_INVALIDPARAMS;
    if (dst->lost || src->lost) return DDERR_SURFACELOST;
    return DD_OK;
}

// A copy whose surfaces passed: recorded, checked against both surfaces, made.
inline int32_t headlessPlace(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                             int32_t right, int32_t bottom, bool keyed, bool turned) {
    if (headless.recordCopies && headless.copyCount < HEADLESS_MAX_COPIES) {
        headless.copies[headless.copyCount] = HeadlessCopy{dst, src, x, y, left, top, right, bottom, keyed, turned};
    }
    headless.copyCount++;
    // The real display would fault on a copy outside either surface; here it is refused.
    if (!blitFits(dst, x, y, src, left, top, right, bottom)) return DDERR_INVALIDPARAMS;
    if (!headless.realCopies) {
        // The back buffer no longer holds what the copies draw.
        redrawSpoil(hs.redraw);
        return DD_OK;
    }
    if (dst == hs.back) {
        redrawCopy(hs.redraw, src, x, y, left, top, right, bottom, keyed, turned);
        return DD_OK;
    }
    // A surface the back buffer's copies may read from.
    redrawSpoil(hs.redraw);
    if (turned) {
        blitPixelsTurned(dst, x, y, src, left, top, right, bottom, keyed);
    } else {
        blitPixels(dst, x, y, src, left, top, right, bottom, keyed);
    }
    return DD_OK;
}

int32_t headlessCopy(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                     int32_t right, int32_t bottom, bool keyed, bool turned) {
    if (int32_t result = headlessCheck(dst, src)) return result;
    return headlessPlace(dst, x, y, src, left, top, right, bottom, keyed, turned);
}

}  // namespace

int32_t platBltFast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                    int32_t right, int32_t bottom, bool keyed) {
    return headlessCopy(dst, x, y, src, left, top, right, bottom, keyed, false);
}

int32_t platBltFastTurned(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                          int32_t right, int32_t bottom, bool keyed) {
    return headlessCopy(dst, x, y, src, left, top, right, bottom, keyed, true);
}

int32_t platBltFastRun(PlatSurface* dst, PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed,
                       int32_t* made) {
    // Each copy as platBltFast makes it: recorded, and open to its own fault
    // while one is armed; otherwise the surfaces are checked once for the run.
    const bool eachChecked = hs.faults[HEADLESS_FAULT_BLT].count > 0;
    *made = 0;
    if (!eachChecked) {
        if (int32_t result = headlessCheck(dst, src)) return result;
        if (dst == hs.back && headless.realCopies && !headless.recordCopies) {
            // Counted and checked, then kept in one go up to any copy refused.
            int32_t fit = 0;
            while (fit < count && blitFits(dst, blts[fit].x, blts[fit].y, src, blts[fit].left, blts[fit].top,
                                           blts[fit].right, blts[fit].bottom)) {
                fit++;
            }
            redrawCopyRun(hs.redraw, src, blts, fit, keyed);
            headless.copyCount += fit < count ? fit + 1 : count;
            *made = fit;
            return fit < count ? DDERR_INVALIDPARAMS : DD_OK;
        }
    }
    for (int32_t i = 0; i < count; i++) {
        const PlatBlt& b = blts[i];
        int32_t result = eachChecked ? headlessCheck(dst, src) : DD_OK;
        if (result == DD_OK) result = headlessPlace(dst, b.x, b.y, src, b.left, b.top, b.right, b.bottom, keyed, false);
        if (result != DD_OK) {
            *made = i;
            return result;
        }
    }
    *made = count;
    return DD_OK;
}

int32_t platFlip(PlatSurface* primary) {
    // The frame's copies are made whatever the flip does.
    if (primary == hs.primary) {
        redrawFinish(hs.redraw);
        headless.frameDrawnPixels = hs.redraw.lastDrawnPixels;
        headless.frameDrawnWhole = hs.redraw.lastWhole;
    }
    if (int32_t f = takeFault(HEADLESS_FAULT_FLIP)) return f;
    if (!primary) return DDERR_INVALIDPARAMS;
    if (primary->lost) return DDERR_SURFACELOST;
    headless.flipCount++;
    headless.ticks += hs.ticksPerFlip;
    if (hs.quitAfterFlips > 0 && --hs.quitAfterFlips == 0) platPostQuitMessage(0);
    return DD_OK;
}

void platDisplayClose() {
    if (hs.primary) platSurfaceRelease(hs.primary);
    headless.displayOpen = false;
}

// ---- mouse ----

int32_t platMouseOpen() { return takeFault(HEADLESS_FAULT_MOUSE_OPEN); }

int32_t platMouseRead(PlatMouseState* state) {
    if (int32_t f = takeFault(HEADLESS_FAULT_MOUSE_READ)) return f;
    *state = hs.mouse;
    hs.mouse.x = 0;
    hs.mouse.y = 0;
    hs.mouse.z = 0;
    return DI_OK;
}

int32_t platMouseAcquire() { return takeFault(HEADLESS_FAULT_MOUSE_ACQUIRE); }

// ---- audio ----

bool platAudioOpen(const PlatAudioFormat* want, PlatAudioCallback callback, void* user, PlatAudioFormat* got) {
    platAudioClose();
    if (takeFault(HEADLESS_FAULT_AUDIO_OPEN) != 0) return false;
    hs.audioCallback = callback;
    hs.audioUser = user;
    headless.audioOpen = true;
    headless.audioFormat = *want;
    if (headless.audioDeviceRate != 0) headless.audioFormat.rate = headless.audioDeviceRate;
    *got = headless.audioFormat;
    return true;
}

const char* platAudioError() { return "headless audio refused by the test"; }

void platAudioClose() {
    headless.audioOpen = false;
    hs.audioCallback = nullptr;
}

bool headlessAudioPull(int16_t* out, int32_t frames) {
    if (!headless.audioOpen || hs.audioCallback == nullptr) return false;
    hs.audioCallback(out, frames, hs.audioUser);
    return true;
}
