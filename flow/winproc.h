// The window procedure: keys, activation and the ways the program ends. It
// changes flags and states and never draws.
#pragma once

#include <cstdint>

#include "Core/cminput.h"

// Adds each key, close and destroy message to the frame's input record and
// acts on it.
int32_t gameWindowProc(uint32_t message, uint32_t wParam, int32_t lParam);
// Acts on one message of the record, as the window procedure does when it
// arrives (a replay calls this).
void winApplyInput(const InputEvent& event);
