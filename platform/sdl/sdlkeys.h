// The keyboard as the game knows it: every physical key is given the Windows
// virtual-key code that a United Kingdom keyboard layout reports for it.
#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>

// Windows virtual-key code of the key, or 0 for a key Windows has no code
// for. With Num Lock off the keypad reports the cursor-block codes, as on
// Windows (keypad 5 is VK_CLEAR).
uint32_t sdlVirtualKey(SDL_Scancode scancode, bool numLock);
