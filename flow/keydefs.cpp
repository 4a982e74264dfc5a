#include "flow/keydefs.h"

#include <cstdio>

#include "Core/cmrand.h"
#include "platform/platform.h"
#include "video/text.h"

int32_t keyLeft[MAX_PLAYERS];
int32_t keyRight[MAX_PLAYERS];
int32_t keyUp[MAX_PLAYERS];
int32_t keyDown[MAX_PLAYERS];
int32_t keyDrop[MAX_PLAYERS];
int32_t keyToggleWordRecognition[MAX_PLAYERS];
int32_t keyScrambleNext[MAX_PLAYERS];

uint8_t keyDefActive;
int32_t keyDefSelected;
uint8_t keyCaptureActive;
int32_t keyCaptureSlot;
int32_t keyCapturePrevious;
uint8_t keysChanged;
uint8_t keyDefSaveFailed;

namespace {

// Controls in row order, each one binding per player.
int32_t* const keyDefControls[KEYDEF_CONTROLS] = {keyLeft, keyRight, keyUp, keyDown,
                                                 keyDrop, keyToggleWordRecognition, keyScrambleNext};

const char* const keyDefLabels[KEYDEF_CONTROLS] = {"P%d LEFT", "P%d RIGHT", "P%d UP", "P%d DOWN", "P%d DROP",
                                                   "P%d DRAG MODE", "P%d SCRAMBLE NEXT"};

const int32_t keyDefaults[MAX_PLAYERS][KEYDEF_CONTROLS] = {
    {65, 68, 87, 83, 32, 9, 87},
    {100, 102, 104, 101, 98, 107, 104},
};

// Names of the codes that are neither digits, letters nor a numbered run
// (keypad digits, F6 to F24); null where the code has no name. The punctuation
// is that of a United Kingdom layout, where 222 is the # key.
const char* const keyNames[224] = {
    /*   0 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*   8 */ "BACKSPACE", "TAB", nullptr, nullptr, "NOT NUMPAD5", "ENTER", nullptr, nullptr,
    /*  16 */ "SHIFT", "CONTROL", nullptr, "BREAK", "CAPSLOCK", nullptr, nullptr, nullptr,
    /*  24 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  32 */ "SPACE", "PAGEUP", "PAGEDOWN", "END", "HOME", "LEFT CURSOR", "UP CURSOR", "RIGHT CURSOR",
    /*  40 */ "DOWN CURSOR", nullptr, nullptr, nullptr, nullptr, "INSERT", "DELETE", nullptr,
    /*  48 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  56 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  64 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  72 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  80 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /*  88 */ nullptr, nullptr, nullptr, "LEFTWINDOWS", "RIGHTWINDOWS", "APPS", nullptr, nullptr,
    /*  96 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 104 */ nullptr, nullptr, "MULTIPLY", "ADD", "SEPARATOR", "SUBTRACT", "DECIMAL", "DIVIDE",
    /* 112 */ "F1", "F2", "F3 (Don't use)", "F4 (Don't use)", "F5 (Don't use)", nullptr, nullptr, nullptr,
    /* 120 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 128 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 136 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 144 */ "NUM LOCK (CONFUSES NUMERIC KEYPAD)", "SCROLL LOCK", nullptr, nullptr,
    /* 148 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 156 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 164 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 172 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 180 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "SEMICOLON", "=",
    // 188 is the comma key.
    /* 188 */ ",", "-", ".", nullptr, "'", nullptr, nullptr, nullptr,
    /* 196 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 204 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 212 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "LEFT SQUARE BRACKET",
    /* 220 */ nullptr, "RIGHT SQUARE BRACKET", "HASH", "TWIDDLE",
};

}  // namespace

void keyInstallDefaults() {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        for (int32_t c = 0; c < KEYDEF_CONTROLS; c++) {
            keyDefControls[c][p] = keyDefaults[p][c];
        }
    }
}

int32_t* keyDefBinding(int32_t row) {
    if (row < 0 || row >= KEYDEF_ROWS) {
        return nullptr;
    }
    return &keyDefControls[row % KEYDEF_CONTROLS][row / KEYDEF_CONTROLS];
}

void keyNameFormat(char* buffer, int32_t k, int32_t row) {
    if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z')) {
        snprintf(buffer, KEY_NAME_SIZE, "%c", static_cast<char>(k));
    } else if (k == 0) {
        snprintf(buffer, KEY_NAME_SIZE, "%s",
                 keyCaptureActive && row == keyDefSelected ? "CHOOSE A KEY" : "NOT DEFINED");
    } else if (k >= 96 && k <= 105) {
        snprintf(buffer, KEY_NAME_SIZE, "NUMPAD%d", k - 96);
    } else if (k >= 117 && k <= 135) {
        snprintf(buffer, KEY_NAME_SIZE, "F%d", k - 111);
    } else if (k > 0 && k < 224 && keyNames[k] != nullptr) {
        snprintf(buffer, KEY_NAME_SIZE, "%s", keyNames[k]);
    } else {
        snprintf(buffer, KEY_NAME_SIZE, "UNKNOWN KEY %d", k);
    }
}

int32_t keyDefRowJitter(int32_t row) {
    if (row != keyDefSelected) {
        return 0;
    }
    // Two draws in a fixed order, so a seed always shakes the same way.
    int32_t a = cmRand() % 2;
    int32_t b = cmRand() % 2;
    return a - b;
}

void keyDefRowLabel(char* buffer, int32_t row) {
    if (row < 0 || row >= KEYDEF_ROWS) {
        buffer[0] = '\0';
        return;
    }
    snprintf(buffer, KEY_NAME_SIZE, keyDefLabels[row % KEYDEF_CONTROLS], row / KEYDEF_CONTROLS + 1);
}

int32_t keyDefRowY(int32_t row) {
    return 131 + 120 * (row / KEYDEF_CONTROLS) + 11 * (row % KEYDEF_CONTROLS);
}

int32_t keyDefTextLines(KeyDefTextLine* lines) {
    int32_t n = 0;
    lines[n++] = {43, "Key Definition:"};
    lines[n++] = {54, "In a one player game, either player's controls may be used."};
    lines[n++] = {65, "Use the up and down cursor to highlight a control."};
    lines[n++] = {76, "Press Enter to change a key."};
    if (keyCaptureActive) {
        lines[n++] = {87, "Press Escape to cancel."};
    } else {
        lines[n++] = {87, "Press Escape when finished."};
        // A failed save takes the line that tells whether these are the default keys.
        if (keyDefSaveFailed) {
            lines[n++] = {98, "SAVE FAILED"};
        } else if (keysChanged) {
            lines[n++] = {98, "Press S to save changes permanently."};
        } else {
            lines[n++] = {98, "These are the default keys."};
        }
        if (keysChanged) lines[n++] = {109, "Press L to load previously saved keys."};
    }
    return n;
}

bool keyDefCaptureKey(uint32_t k) {
    if (!keyCaptureActive) {
        return false;
    }
    int32_t* binding = keyDefBinding(keyCaptureSlot);
    if (binding != nullptr) {
        if (k == VK_ESCAPE) {
            *binding = keyCapturePrevious;
        } else {
            *binding = static_cast<int32_t>(k);
            if (*binding != keyCapturePrevious) {
                keysChanged = 1;
            }
        }
    }
    keyCaptureActive = 0;
    return true;
}

void keyDefOpen() {
    keyDefActive = 1;
}

void keyDefClose() {
    keyDefActive = 0;
}

void keyDefMoveSelection(int32_t step) {
    keyDefSelected = ((keyDefSelected + step) % KEYDEF_ROWS + KEYDEF_ROWS) % KEYDEF_ROWS;
}

void keyDefCaptureBegin() {
    int32_t* binding = keyDefBinding(keyDefSelected);
    if (binding == nullptr) {
        return;
    }
    keyCaptureSlot = keyDefSelected;
    keyCapturePrevious = *binding;
    *binding = 0;
    keyCaptureActive = 1;
}

void keyDefReset() {
    keyInstallDefaults();
    keyDefActive = 0;
    keyDefSelected = 0;
    keyCaptureActive = 0;
    keyCaptureSlot = 0;
    keyCapturePrevious = 0;
    keysChanged = 0;
    keyDefSaveFailed = 0;
}

void keyDefScreenDraw() {
    KeyDefTextLine lines[KEYDEF_TEXT_LINES];
    int32_t count = keyDefTextLines(lines);
    for (int32_t i = 0; i < count; i++) {
        txtDrawSmallString(lines[i].text, 320, lines[i].y, TXT_ALIGN_CENTRE);
    }
    char label[KEY_NAME_SIZE];
    char name[KEY_NAME_SIZE];
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
        keyDefRowLabel(label, row);
        keyNameFormat(name, *keyDefBinding(row), row);
        int32_t y = keyDefRowY(row);
        // Each coordinate shakes on its own, in this order.
        int32_t labelY = y + keyDefRowJitter(row);
        int32_t labelX = 315 + keyDefRowJitter(row);
        int32_t nameY = y + keyDefRowJitter(row);
        int32_t nameX = 325 + keyDefRowJitter(row);
        txtDrawSmallString(label, labelX, labelY, TXT_ALIGN_RIGHT);
        txtDrawSmallString(name, nameX, nameY, TXT_ALIGN_LEFT);
    }
}
