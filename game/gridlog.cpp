#include "game/gridlog.h"

#include <cstdarg>

#include "Core/cmdebug.h"

void gameLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    cmDebugLogV(format, args);
    va_end(args);
}
