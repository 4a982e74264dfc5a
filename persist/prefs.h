// prefs.txt: the fourteen key bindings, the tips' DO NOT SHOW AGAIN choices and
// one spare flag, as 26 decimal fields each ended by ';'.
#pragma once

#include <cstdint>

// In the save folder.
constexpr const char* PREFS_FILE = "prefs.txt";

constexpr int32_t PREFS_PLAYERS = 2;
constexpr int32_t PREFS_CONTROLS = 7;  // bindings per player
constexpr int32_t PREFS_TIPS = 8;

// What prefs.txt holds besides the spare flag. The caller gathers it from the
// key bindings and tip choices, and hands what was read back to them.
struct PrefsRecord {
    int32_t bindings[PREFS_PLAYERS * PREFS_CONTROLS];  // player 1's seven, then player 2's
    uint8_t tipDoNotShow[PREFS_TIPS];
};

// Saved and loaded; nothing else reads it. 1 until a file says otherwise.
extern uint8_t prefsSpareFlag;

// Writes prefs.txt (in the save folder) from the record and the spare flag.
// False when the file could not be written (errno tells why).
bool prefsWrite(const PrefsRecord& record);

enum PrefsReadResult : int32_t {
    PREFS_READ,      // the record and the spare flag hold the file's values
    PREFS_NOT_READ,  // missing, unreadable or too big for the read buffer: nothing changed
    PREFS_DAMAGED,   // set aside; the spare flag is back to 1, the record untouched
};

// Reads prefs.txt into the record and the spare flag. A file the game could
// not have written (a field other than an optional '-' and digits, fewer than
// 8 fields, or a binding outside 0 to 255; white space after the last field
// aside) is renamed prefs.txt.bad and one line on standard error says so.
PrefsReadResult prefsRead(PrefsRecord* record);

// The spare flag back to 1 (for tests).
void prefsReset();
