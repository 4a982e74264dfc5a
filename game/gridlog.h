// The game rules' progress lines, formatted and sent to the debug log.
#pragma once

#if defined(__GNUC__)
#define GAME_LOG_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define GAME_LOG_FORMAT
#endif

void gameLog(const char* format, ...) GAME_LOG_FORMAT;
