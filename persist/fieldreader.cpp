#include "persist/fieldreader.h"

#include "Core/cmdebug.h"

void fileReadField(char* field) {
    int32_t n = 0;
    while (fileReadPos >= 0 && fileReadPos < fileTextLength) {
        char c = fileText[fileReadPos++];
        if (c == ';') {
            break;
        }
        field[n++] = c;
        if (n == FILE_FIELD_CUT) {
            // The rest of the field is read as the next one.
            cmDebugPrint("line too long in file. failed to load.");
            break;
        }
    }
    field[n] = '\0';
}

int32_t fileFieldToInt(const char* field) {
    const char* p = field;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') {
        p++;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        p++;
    }
    // Held one past the 32-bit range at most, so any run of digits is safe.
    constexpr int64_t limit = 2147483648LL;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) {
        value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}
