#include "Core/cmdebug.h"

#include <cstdio>

#include "platform/platform.h"

char gDebugLogPath[CM_DEBUG_PATH_SIZE];
char cmLastReportedError[CM_DEBUG_LINE_SIZE];

int32_t cmDebugLogV(const char* format, va_list args) {
    // One byte more than a line so the line feed fits after a cut line.
    char line[CM_DEBUG_LINE_SIZE + 1];
    std::vsnprintf(line, CM_DEBUG_LINE_SIZE, format, args);

    if (gDebugLogPath[0] == '\0') {
        size_t n = 0;
        while (line[n] != '\0') n++;
        line[n] = '\n';
        line[n + 1] = '\0';
        platDebugOutput(line);
        return CM_LOG_OK;
    }

    // Opened and closed for every line, so a crash loses no earlier line.
    FILE* file = platFileOpen(gDebugLogPath, "a");
    if (file == nullptr) return CM_LOG_ERR_OPEN;
    if (std::fprintf(file, "%s\n", line) < 0) {
        std::fclose(file);  // not left open: a failing log must not use up file handles
        return CM_LOG_ERR_WRITE;
    }
    if (std::fclose(file) != 0) return CM_LOG_ERR_CLOSE;
    return CM_LOG_OK;
}

int32_t cmWarning(int32_t condition, const char* format, ...) {
    if (condition != 0) return 0;

    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    cmDebugLogV(format, args);
    char text[CM_DEBUG_LINE_SIZE];
    std::vsnprintf(text, sizeof text, format, again);
    va_end(again);
    va_end(args);

    platMessageBox(text, "Debug Warning");
    platDebugBreak();
    return 0;
}

void cmDebugPrint(const char*, ...) {}

int32_t cmReportError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(cmLastReportedError, sizeof cmLastReportedError, format, args);
    va_end(args);
    return 0;
}

int32_t cmDebugSetLogFile(const char*) { return 0; }
