// The program as a desktop starts it: the command line, the folders, the
// display settings, then the game itself, live, recorded or played back.
#pragma once

// What gameMain returns for --headless: the headless replay is a program of
// its own (the headless backend in place of the display), which the caller
// runs instead, with the same arguments.
constexpr int LAUNCH_RUN_HEADLESS = -1;
constexpr const char* LAUNCH_HEADLESS_PROGRAM = "tarvoquelms-headless";

// Returns the process's exit status: 0 after a normal quit or --help, 2 for a
// mistake on the command line or a recording that cannot be made or played, 1
// when the game could not start.
int gameMain(int argc, char** argv);
// The headless program's entry: only --replay, played as fast as it goes;
// prints the frames played, the scores and a hash of the last picture.
int gameMainHeadless(int argc, char** argv);
