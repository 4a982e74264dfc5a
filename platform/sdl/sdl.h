// Controls of the SDL2 backend beyond the port layer, for the program's entry
// point and the benchmarks.
#pragma once

#include <cstdint>

// Frames are paced at 60 a second by default; benchmarks turn pacing off.
void sdlSetFramePacing(bool on);
// True when presenting waits for the monitor's vertical blank.
bool sdlVsyncOn();
// Switches between desktop full screen and a window of twice the picture's
// size (Alt+Enter does this).
void sdlToggleFullscreen();
