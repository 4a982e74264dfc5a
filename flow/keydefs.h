// Key bindings of both players and the key-definition screen that shows and
// changes them (opened with K from the pause screen).
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "persist/prefs.h"

constexpr int32_t KEYDEF_CONTROLS = 7;  // controls per player
constexpr int32_t KEYDEF_ROWS = 14;     // row 7p + c: player p, control c
constexpr int32_t KEY_NAME_SIZE = 64;   // enough for every name keyNameFormat writes
constexpr int32_t KEYDEF_TEXT_LINES = 7;

// Windows virtual-key codes, index 0 for player 1 on screen, 1 for player 2;
// 0 means no key. keyToggleWordRecognition starts and stops its player's Drag
// Mode; keyScrambleNext is only shown, redefined and saved.
extern int32_t keyLeft[MAX_PLAYERS];
extern int32_t keyRight[MAX_PLAYERS];
extern int32_t keyUp[MAX_PLAYERS];
extern int32_t keyDown[MAX_PLAYERS];
extern int32_t keyDrop[MAX_PLAYERS];
extern int32_t keyToggleWordRecognition[MAX_PLAYERS];
extern int32_t keyScrambleNext[MAX_PLAYERS];

extern uint8_t keyDefActive;        // the screen is shown (only while paused)
extern int32_t keyDefSelected;      // highlighted row 0..13, kept between openings
extern uint8_t keyCaptureActive;    // the next key press goes into a binding
extern int32_t keyCaptureSlot;      // the row whose binding is being captured
extern int32_t keyCapturePrevious;  // that binding's value before the capture
extern uint8_t keysChanged;         // a binding changed since prefs.txt was saved or loaded
extern uint8_t keyDefSaveFailed;    // S could not write prefs.txt; cleared by the next key press

// A, D, W, S, space, Tab, W for player 1; keypad 4, 6, 8, 5, 2, add, 8 for player 2.
void keyInstallDefaults();

// The binding row 0..13 shows and redefines; null for any other row.
int32_t* keyDefBinding(int32_t row);

// The display name of key code k into buffer (KEY_NAME_SIZE bytes). The row
// matters only for code 0, which reads "CHOOSE A KEY" on the row being captured.
void keyNameFormat(char* buffer, int32_t k, int32_t row);

// -1, 0 or +1 for the selected row (a new value each call), 0 for the others.
int32_t keyDefRowJitter(int32_t row);

// Row label such as "P1 LEFT" into buffer (KEY_NAME_SIZE bytes).
void keyDefRowLabel(char* buffer, int32_t row);
// Screen y of a row's label and name.
int32_t keyDefRowY(int32_t row);

struct KeyDefTextLine {
    int32_t y;
    const char* text;
};
// The instruction lines the screen shows now, centred at x = 320; returns how
// many were written (at most KEYDEF_TEXT_LINES).
int32_t keyDefTextLines(KeyDefTextLine* lines);

// ---- What the window procedure calls ----------------------------------------

// Stage one of a key press: while a capture runs the key goes into the binding
// (Escape restores the old value instead); true when the key was taken that
// way and must have no other effect.
bool keyDefCaptureKey(uint32_t k);

void keyDefOpen();
void keyDefClose();
// Moves the selection by step rows, wrapping between 0 and 13.
void keyDefMoveSelection(int32_t step);
// The selected row's binding becomes 0 ("CHOOSE A KEY") until the next key.
void keyDefCaptureBegin();
// Draws the screen over the pause background (instead of the pause screen's lists).
void keyDefScreenDraw();

// Defaults and a closed screen with row 0 selected (for tests and a cold start).
void keyDefReset();

// ---- keydefs_commands.cpp: the command keys of the open screen, and prefs.txt

// The key-definition screen's command keys, while it is open: Enter begins a
// capture of the selected row, Up and Down move the selection with wrap-around,
// Escape and F12 close the screen, S saves and L loads prefs.txt. True when the
// key was one of them (Escape and F12 then do nothing else).
bool keyDefCommandKey(uint32_t k);

// prefsSave; keysChanged is cleared only when the file was written, and
// keyDefSaveFailed is set when it was not.
bool keyDefSave();
// prefsLoad; without a readable file nothing changes, and a damaged one is set
// aside for the default keys.
bool keyDefLoad();

// The bindings and tip choices as prefs.txt keeps them, and back.
void prefsGather(PrefsRecord* record);
void prefsApply(const PrefsRecord& record);

// Writes prefs.txt from the bindings, tip choices and spare flag and clears
// keysChanged. False when the file could not be written (errno tells why):
// nothing changes then, keysChanged included.
bool prefsSave();

// Replaces the bindings, tip choices and spare flag with those of prefs.txt and
// clears keysChanged. False when the file is missing, unreadable or too big for
// the read buffer: the current values stay. False too when the game could not
// have written it: it is set aside as prefs.txt.bad and every value goes back
// to its default, keysChanged cleared.
bool prefsLoad();
