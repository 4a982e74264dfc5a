// Controls of the SDL2 backend beyond the port layer, for the program's entry
// point and the benchmarks.
#pragma once

#include <cstdint>

// Frames are paced at 60 a second by default; benchmarks turn pacing off.
void sdlSetFramePacing(bool on);
// True when presenting waits for the monitor's vertical blank.
bool sdlVsyncOn();
// Switches between desktop full screen and a window at the remembered scale
// that fits the desktop (Alt+Enter does this).
void sdlToggleFullscreen();
// The colour (0xAARRGGBB) of one pixel of the window as last presented, for
// screenshots and tests; false when it cannot be read back.
bool sdlReadPixel(int32_t x, int32_t y, uint32_t* argb);
// The size of what the picture is shown on, in pixels.
void sdlOutputSize(int32_t* width, int32_t* height);

// What the flips did since the display opened: a flip whose picture came out
// as the one shown presents nothing; one that changed converts and uploads
// only the changed rectangles, and with SDL's software renderer presents only
// them too.
struct SdlPresentCounts {
    int32_t flips;
    int32_t presents;         // whole or partial
    int32_t partialPresents;  // of only the changed rectangles
    int32_t convertedPixels;  // palette lookups into the texture
};
void sdlGetPresentCounts(SdlPresentCounts* counts);
// The next flip converts and presents the whole picture, as after a palette
// change (for benchmarks of the whole present path).
void sdlShowWholePicture();
