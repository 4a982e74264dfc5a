#include "dict/dicttrace.h"

#include "game/score.h"

int32_t dictTraceScore(const char* word) { return wordScore(0, word); }
