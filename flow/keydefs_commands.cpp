// The screen's command keys reach prefs.txt, so they live apart from the
// bindings and names, which link without the file code.
#include "flow/keydefs.h"

#include <cstring>

#include "game/gamestate.h"
#include "game/tips.h"
#include "persist/prefs.h"
#include "platform/platform.h"

namespace {

static_assert(PREFS_PLAYERS * PREFS_CONTROLS == KEYDEF_ROWS && PREFS_PLAYERS == MAX_PLAYERS &&
                  PREFS_CONTROLS == KEYDEF_CONTROLS && PREFS_TIPS == TIP_COUNT,
              "prefs.txt holds every binding and tip choice");

}  // namespace

void prefsGather(PrefsRecord* record) {
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) record->bindings[row] = *keyDefBinding(row);
    std::memcpy(record->tipDoNotShow, tipDoNotShow, sizeof record->tipDoNotShow);
}

void prefsApply(const PrefsRecord& record) {
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) *keyDefBinding(row) = record.bindings[row];
    std::memcpy(tipDoNotShow, record.tipDoNotShow, sizeof tipDoNotShow);
}

bool prefsSave() {
    PrefsRecord record;
    prefsGather(&record);
    if (!prefsWrite(record)) {
        // The changes are not saved, so they must still look unsaved.
        return false;
    }
    keysChanged = 0;
    return true;
}

bool prefsLoad() {
    PrefsRecord record;
    const PrefsReadResult result = prefsRead(&record);
    if (result == PREFS_NOT_READ) return false;
    if (result == PREFS_DAMAGED) {
        // The file's own values are unknown, so all of them go back to their defaults.
        keyInstallDefaults();
        std::memset(tipDoNotShow, 0, sizeof tipDoNotShow);
    } else {
        prefsApply(record);
    }
    keysChanged = 0;
    return result == PREFS_READ;
}

bool keyDefSave() {
    // prefsSave clears keysChanged itself, and only when the file was written.
    const bool saved = prefsSave();
    keyDefSaveFailed = saved ? 0 : 1;
    return saved;
}

bool keyDefLoad() {
    return prefsLoad();
}

bool keyDefCommandKey(uint32_t k) {
    if (!keyDefActive) {
        return false;
    }
    keyDefSaveFailed = 0;  // shown until the next key press
    switch (k) {
    case VK_RETURN:
        keyDefCaptureBegin();
        return true;
    case VK_ESCAPE:
    case VK_F12:
        keyDefClose();
        return true;
    case VK_UP:
        keyDefMoveSelection(-1);
        return true;
    case VK_DOWN:
        keyDefMoveSelection(1);
        return true;
    case VK_L:
        keyDefLoad();
        return true;
    case VK_S:
        keyDefSave();
        return true;
    default:
        return false;
    }
}
