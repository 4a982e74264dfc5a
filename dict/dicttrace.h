// The score the loader's trace reports for each word: what player 0 would
// score for it now.
#pragma once

#include <cstdint>

int32_t dictTraceScore(const char* word);
