// The program's entry point and the message loop that interleaves window
// messages with frames.
#pragma once

#include <cstdint>

#include "dict/dictionary.h"
#include "platform/platform.h"

// Non-zero while the game is the active application; written only by the
// window procedure. Frames run only while it is set.
extern int32_t appActive;

// What a recording or a replay changes in start-up; all null for a plain game.
struct StartCourse {
    // After the saved files and the dictionary are read and the start time is
    // taken, before the display opens. False stops start-up there.
    bool (*begin)();
    // The window procedure and the loop's frame in place of the game's own.
    PlatWindowProc windowProc;
    void (*frame)();
    // begin puts the high scores, keys and tips in place: hi.txt and
    // prefs.txt are not read.
    bool ownSavedState;
};
extern StartCourse startCourse;

// Loads the saved files and the dictionary, opens the display, starts a
// one-player game and runs the message loop. Returns the quit message's code,
// or 0 when the display cannot be opened. Only the instance and the show
// command are used.
int32_t WinMain(void* instance, void* previousInstance, const char* commandLine, int32_t showCommand);

// Every waiting message is dispatched before `frame` runs; `frame` runs only
// while appActive is set, and the loop sleeps while it is clear. Returns the
// quit message's code.
int32_t startMessageLoop(void (*frame)());

// Puts the game into the missing-dictionary state with its error text in
// player 0's grid rows; row 5 says why in a few words.
void startShowMissingDictionary(DictLoadFailure why);
