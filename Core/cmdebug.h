// Diagnostics: the debug log, warnings, and the hooks the rest of the program
// sends its status and error texts to.
#pragma once

#include <cstdarg>
#include <cstdint>

// printf-style format checking. MinGW's printf family is the C99 one, not
// Microsoft's, so %zu and %lld are checked as GNU's.
#ifdef __MINGW32__
#define CM_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define CM_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

// Debug-log result codes.
constexpr int32_t CM_LOG_OK = 0;
constexpr int32_t CM_LOG_ERR_OPEN = 3;
constexpr int32_t CM_LOG_ERR_CLOSE = 4;
constexpr int32_t CM_LOG_ERR_WRITE = 6;

// A formatted line is cut to this many bytes, terminator included.
constexpr int32_t CM_DEBUG_LINE_SIZE = 512;
constexpr int32_t CM_DEBUG_PATH_SIZE = 260;

// Empty: the log goes to the debugger output. Set it to append to a file instead.
extern char gDebugLogPath[CM_DEBUG_PATH_SIZE];

// The text of the last cmReportError call, kept only so that a debugger or a test
// can see why an operation failed; nothing ever prints it.
extern char cmLastReportedError[CM_DEBUG_LINE_SIZE];

// Formats one line and writes it to the debugger output (with a line feed) or,
// when gDebugLogPath is set, appends it to that file. Returns a CM_LOG_* code.
int32_t cmDebugLogV(const char* format, va_list args);

// When condition is zero: logs the text, shows it in a "Debug Warning" box and
// breaks into the debugger. Returns 0.
int32_t cmWarning(int32_t condition, const char* format, ...) CM_PRINTF_FORMAT(2, 3);

// The debug-print sink for status texts: takes them and shows them nowhere.
void cmDebugPrint(const char* format, ...) CM_PRINTF_FORMAT(1, 2);

// The error-report hook of the stream module: shows nothing. Returns 0.
int32_t cmReportError(const char* format, ...) CM_PRINTF_FORMAT(1, 2);

// Called at start-up with the log path the program would like; the log stays on
// the debugger output, so the path is ignored. Returns 0.
int32_t cmDebugSetLogFile(const char* path);
