// prefs.txt: the fourteen key bindings, the tips' DO NOT SHOW AGAIN choices and
// one spare flag, as 26 decimal fields each ended by ';'.
#pragma once

#include <cstdint>

// In the save folder.
constexpr const char* PREFS_FILE = "prefs.txt";

// Saved and loaded; nothing else reads it. 1 until a file says otherwise.
extern uint8_t prefsSpareFlag;

// Writes prefs.txt (in the save folder) from the bindings, tip choices and spare flag and clears
// keysChanged. False when the file could not be written (errno tells why):
// nothing changes then, keysChanged included.
bool prefsSave();

// Replaces the bindings, tip choices and spare flag with those of prefs.txt and
// clears keysChanged. False when the file is missing, unreadable or too big for
// the read buffer: the current values stay. False too when the game could not
// have written it (a field other than an optional '-' and digits, fewer than 8
// fields, or a binding outside 0 to 255; white space after the last field
// aside): it is renamed prefs.txt.bad, one line on standard error says so, and
// every value goes back to its default, keysChanged cleared.
bool prefsLoad();

// The spare flag back to 1 (for tests).
void prefsReset();
