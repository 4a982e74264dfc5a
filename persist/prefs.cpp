#include "persist/prefs.h"

#include <cstdio>

#include "Core/cmpath.h"
#include "flow/keydefs.h"
#include "game/tips.h"
#include "persist/fieldreader.h"
#include "persist/safesave.h"

uint8_t prefsSpareFlag = 1;

namespace {

// 26 fields of at most 11 digits and sign with their ';'.
constexpr int32_t PREFS_TEXT_SIZE = 512;

void prefsAppend(char* text, int32_t* length, int32_t value) {
    *length += snprintf(text + *length, PREFS_TEXT_SIZE - *length, "%d;", value);
}

}  // namespace

bool prefsSave() {
    char text[PREFS_TEXT_SIZE];
    int32_t length = 0;
    prefsAppend(text, &length, 1);
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        for (int32_t c = 0; c < KEYDEF_CONTROLS; c++) {
            prefsAppend(text, &length, *keyDefBinding(KEYDEF_CONTROLS * p + c));
        }
        prefsAppend(text, &length, 0);
    }
    for (int32_t k = 0; k < TIP_COUNT; k++) {
        prefsAppend(text, &length, tipDoNotShow[k]);
    }
    prefsAppend(text, &length, prefsSpareFlag);
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, PREFS_FILE, path, sizeof path) || !safeSaveFile(path, text, length)) {
        // The changes are not saved, so they must still look unsaved.
        return false;
    }
    keysChanged = 0;
    return true;
}

bool prefsLoad() {
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, PREFS_FILE, path, sizeof path) || !fileReadWhole(path)) {
        return false;
    }
    char field[FILE_FIELD_SIZE];
    fileReadField(field);  // the leading 1 is not checked
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        for (int32_t c = 0; c < KEYDEF_CONTROLS; c++) {
            fileReadField(field);
            *keyDefBinding(KEYDEF_CONTROLS * p + c) = fileFieldToInt(field);
        }
        fileReadField(field);
    }
    for (int32_t k = 0; k < TIP_COUNT; k++) {
        fileReadField(field);
        tipDoNotShow[k] = fileFieldToInt(field) != 0 ? 1 : 0;
    }
    keysChanged = 0;
    fileReadField(field);
    prefsSpareFlag = fileFieldToInt(field) != 0 ? 1 : 0;
    return true;
}

void prefsReset() {
    prefsSpareFlag = 1;
}
