// What the Win32 backend's parts share: the game window, and the mouse that
// follows its focus. Only the backend includes this.
#pragma once

#include <cstdint>

// Includes <windows.h> after the port layer's header: its macros then stand
// for the same numbers the port layer's names do.
#include "platform/platform.h"

#include <windows.h>

// The game window; null while none is open.
HWND winMainWindow();
// The display path in use, for the log and the tests: "DirectDraw", "GDI
// full screen", "GDI window", or "" while no display is open.
const char* winDisplayPath();
// The mouse is acquired while the window has the focus and let go when it
// loses it (winmouse.cpp).
void winMouseFocus(bool focused);
// Ends the mouse device with the window.
void winMouseClose();
