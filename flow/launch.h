// The program as a desktop starts it: the command line, the folders, the
// display settings, then the game itself.
#pragma once

// Returns the process's exit status: 0 after a normal quit or --help, 2 for a
// mistake on the command line, 1 when the game could not start.
int gameMain(int argc, char** argv);
