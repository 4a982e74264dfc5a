// Test controls of the headless backend: a settable clock, scripted messages and
// mouse states, captured debugger output, a record of every copy and injected
// faults. Only tests, tools and benchmarks include this.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct HeadlessCopy {
    const PlatSurface* dst;
    const PlatSurface* src;
    int32_t x, y, left, top, right, bottom;
    bool keyed;
    bool turned;  // by platBltFastTurned
};

// Faults for the next calls of one kind: each call takes the next code until
// `count` are used; 0 means "succeed as usual".
enum HeadlessFaultKind { HEADLESS_FAULT_BLT, HEADLESS_FAULT_FLIP, HEADLESS_FAULT_RESTORE, HEADLESS_FAULT_MOUSE_READ,
                         HEADLESS_FAULT_MOUSE_ACQUIRE, HEADLESS_FAULT_DISPLAY_OPEN, HEADLESS_FAULT_CREATE_PRIMARY,
                         HEADLESS_FAULT_CREATE_SURFACE, HEADLESS_FAULT_MOUSE_OPEN, HEADLESS_FAULT_AUDIO_OPEN,
                         HEADLESS_FAULT_KINDS };

constexpr int HEADLESS_MAX_COPIES = 8192;
constexpr int HEADLESS_MAX_MESSAGES = 1024;
constexpr int HEADLESS_DEBUG_TEXT = 1 << 16;
constexpr int HEADLESS_ICON_MAX = 64;

struct HeadlessRecord {
    uint32_t ticks;
    // Copies since the last headlessClearCopies (the first HEADLESS_MAX_COPIES kept
    // while recordCopies is on; all are counted).
    HeadlessCopy copies[HEADLESS_MAX_COPIES];
    int32_t copyCount;
    bool recordCopies;      // keep each copy's record for the test to read (off: only count them)
    bool realCopies;        // also move the pixels (off: only record them)
    int32_t flipCount;
    // What the last flip's frame drew of the back buffer: its pixels, and
    // whether it drew all its copies (else only where they changed).
    int64_t frameDrawnPixels;
    bool frameDrawnWhole;
    int32_t messageBoxCount;
    char lastMessageBoxText[512];
    char lastMessageBoxCaption[128];
    int32_t debugBreakCount;
    char debugText[HEADLESS_DEBUG_TEXT];  // everything sent to the debugger output, in order
    int32_t debugTextLength;
    PlatColor palette[256];
    int32_t paletteSetCount;
    bool displayOpen;
    int32_t quitPosted;     // number of WM_QUIT messages posted
    int32_t idleCalls;      // platWaitMessage calls that found the queue empty
    PlatDisplayMode displayMode;  // as the game set it; a test may change it as a player would
    int32_t displayModeSetCount;
    char executableFolder[256];   // what platExecutableFolder tells; empty: it cannot tell
    int32_t iconSize;             // the last icon set, kept when it is at most HEADLESS_ICON_MAX
    uint8_t icon[HEADLESS_ICON_MAX * HEADLESS_ICON_MAX * 4];
    // The audio device: open or not, and the format it gave. It plays nothing
    // and pulls nothing by itself; headlessAudioPull runs its callback.
    bool audioOpen;
    PlatAudioFormat audioFormat;
    int32_t audioDeviceRate;  // the rate the device gives; 0: whatever is asked
};

extern HeadlessRecord headless;

// Back to a known state: clock 0, empty queue, no faults, nothing recorded,
// no display, full screen at the largest scale, no executable folder; copies
// recorded, real pixel copies on.
void headlessReset();
void headlessSetTicks(uint32_t ticks);
void headlessAdvanceTicks(uint32_t ms);
// Ticks added after every platFlip (a frame's length); 0 by default.
void headlessSetTicksPerFlip(uint32_t ms);
void headlessPushMessage(uint32_t message, uint32_t wParam, int32_t lParam);
int headlessPendingMessages();
// Called by platWaitMessage when the queue is empty; it may push messages.
// Without one, an empty wait posts WM_QUIT with code -1 so a loop under test ends.
void headlessSetIdleHook(void (*hook)());
// The state the next mouse read returns; motion is consumed by the read.
void headlessSetMouse(int32_t dx, int32_t dy, bool button);
void headlessFail(HeadlessFaultKind kind, int32_t code, int32_t count = 1);
void headlessClearCopies();
// The surfaces the backend made, for pixel checks.
PlatSurface* headlessBackBuffer();
// Files the backend reports sizes for are looked up on disk; this forces a size.
void headlessSetFileSizeOverride(int64_t size);
// After this many more flips the backend posts WM_QUIT with code 0, so a whole
// start-up and message loop can run to a known end; 0 turns it off.
void headlessQuitAfterFlips(int32_t flips);
// Runs the open audio device's callback for `frames` stereo frames into `out`,
// as the device's thread would; false, leaving `out` alone, when none is open.
bool headlessAudioPull(int16_t* out, int32_t frames);
