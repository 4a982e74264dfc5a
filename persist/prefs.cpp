#include "persist/prefs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Core/cmpath.h"
#include "persist/fieldreader.h"
#include "persist/safesave.h"
#include "platform/platform.h"

uint8_t prefsSpareFlag = 1;

namespace {

// 26 fields of at most 11 digits and sign with their ';'.
constexpr int32_t PREFS_TEXT_SIZE = 512;

void prefsAppend(char* text, int32_t* length, int32_t value) {
    *length += snprintf(text + *length, PREFS_TEXT_SIZE - *length, "%d;", value);
}

constexpr int32_t PREFS_PROBLEM_SIZE = 96;
// The first flag and player one's seven bindings: a file the game wrote never
// has fewer.
constexpr int32_t PREFS_MIN_FIELDS = 1 + PREFS_CONTROLS;
constexpr int32_t PREFS_KEY_MAX = 255;

bool prefsIsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// An optional '-' and at least one digit, nothing else (a zero byte included).
bool prefsIsWholeNumber(const char* text, int32_t length) {
    int32_t i = length > 0 && text[0] == '-' ? 1 : 0;
    if (i == length) return false;
    for (; i < length; i++) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// Fields 2 to 8 and 10 to 16 (counted from 1) hold the two players' bindings.
bool prefsIsBindingField(int32_t number) {
    int32_t inPlayer = (number - 2) % (PREFS_CONTROLS + 1);
    return number >= 2 && number <= 1 + PREFS_PLAYERS * (PREFS_CONTROLS + 1) && inPlayer < PREFS_CONTROLS;
}

// Whether the text of the file just read is one the game could have written:
// every field an optional '-' and digits, at least the first flag and player
// one's bindings, and every binding a key code of 0 to 255. White space after
// the last field does not count. Fields are taken exactly as loading takes
// them, so what passes here loads with every binding in range. When it is
// not, `problem` says why in a few words.
bool prefsTextIsOurs(char* problem) {
    const char* text = fileTextBytes();
    const int32_t fileLength = fileTextLength;
    int32_t end = fileLength;
    while (end > 0 && prefsIsBlank(text[end - 1])) end--;
    fileTextLength = end;
    fileReadPos = 0;
    bool ours = true;
    int32_t count = 0;
    char field[FILE_FIELD_SIZE];
    while (ours && fileReadPos < end) {
        const int32_t start = fileReadPos;
        fileReadField(field);
        count++;
        // The field's own bytes: a zero byte would end the copied text early.
        int32_t length = fileReadPos - start;
        if (text[fileReadPos - 1] == ';') length--;
        if (!prefsIsWholeNumber(text + start, length)) {
            snprintf(problem, PREFS_PROBLEM_SIZE, "field %d is not a whole number", count);
            ours = false;
        } else if (prefsIsBindingField(count)) {
            int32_t key = fileFieldToInt(field);
            if (key < 0 || key > PREFS_KEY_MAX) {
                snprintf(problem, PREFS_PROBLEM_SIZE, "field %d, a key, is %.20s, not 0 to %d", count, field,
                         PREFS_KEY_MAX);
                ours = false;
            }
        }
    }
    if (ours && count < PREFS_MIN_FIELDS) {
        snprintf(problem, PREFS_PROBLEM_SIZE, "only %d fields, fewer than %d", count, PREFS_MIN_FIELDS);
        ours = false;
    }
    fileTextLength = fileLength;
    fileReadPos = 0;
    return ours;
}

// Moves a damaged file out of the way, so that the next save cannot destroy
// what it held, and says so in one line.
void prefsSetAside(const char* path, const char* problem) {
    char badPath[CM_PATH_SIZE + 8];
    snprintf(badPath, sizeof badPath, "%s.bad", path);
    if (platFileRename(path, badPath)) {
        fprintf(stderr, "tarvoquelms: %s is damaged (%s); it is kept as %s and the default keys are used.\n", path,
                problem, badPath);
    } else {
        fprintf(stderr, "tarvoquelms: %s is damaged (%s) and could not be kept as %s (%s); the default keys are used.\n",
                path, problem, badPath, strerror(errno));
    }
}

}  // namespace

bool prefsWrite(const PrefsRecord& record) {
    char text[PREFS_TEXT_SIZE];
    int32_t length = 0;
    prefsAppend(text, &length, 1);
    for (int32_t p = 0; p < PREFS_PLAYERS; p++) {
        for (int32_t c = 0; c < PREFS_CONTROLS; c++) {
            prefsAppend(text, &length, record.bindings[PREFS_CONTROLS * p + c]);
        }
        prefsAppend(text, &length, 0);
    }
    for (int32_t k = 0; k < PREFS_TIPS; k++) {
        prefsAppend(text, &length, record.tipDoNotShow[k]);
    }
    prefsAppend(text, &length, prefsSpareFlag);
    char path[CM_PATH_SIZE];
    return cmPathJoin(CM_PATH_SAVE, PREFS_FILE, path, sizeof path) && safeSaveFile(path, text, length);
}

PrefsReadResult prefsRead(PrefsRecord* record) {
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, PREFS_FILE, path, sizeof path) || !fileReadWhole(path)) {
        return PREFS_NOT_READ;
    }
    char problem[PREFS_PROBLEM_SIZE];
    if (!prefsTextIsOurs(problem)) {
        prefsSetAside(path, problem);
        prefsSpareFlag = 1;
        return PREFS_DAMAGED;
    }
    char field[FILE_FIELD_SIZE];
    fileReadField(field);  // the leading 1 is not checked
    for (int32_t p = 0; p < PREFS_PLAYERS; p++) {
        for (int32_t c = 0; c < PREFS_CONTROLS; c++) {
            fileReadField(field);
            record->bindings[PREFS_CONTROLS * p + c] = fileFieldToInt(field);
        }
        fileReadField(field);
    }
    for (int32_t k = 0; k < PREFS_TIPS; k++) {
        fileReadField(field);
        record->tipDoNotShow[k] = fileFieldToInt(field) != 0 ? 1 : 0;
    }
    fileReadField(field);
    prefsSpareFlag = fileFieldToInt(field) != 0 ? 1 : 0;
    return PREFS_READ;
}

void prefsReset() {
    prefsSpareFlag = 1;
}
