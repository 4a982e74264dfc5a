// The window procedure: keys, activation and the ways the program ends. It
// changes flags and states and never draws.
#pragma once

#include <cstdint>

int32_t gameWindowProc(uint32_t message, uint32_t wParam, int32_t lParam);
