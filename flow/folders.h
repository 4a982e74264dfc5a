// Where the game finds its files on a desktop.
// - Read-only data (the sprite sheet, the dictionary): beside the executable,
//   as in a build folder, else in ../share/tarvoquelms/ from it, as installed
//   under any prefix. Never the working folder.
// - Saved files (hi.txt, prefs.txt, settings.ini): the folder given on the
//   command line, else $TQ_SAVE_DIR, else the system's place for them
//   ($XDG_DATA_HOME/tarvoquelms, else ~/.local/share/tarvoquelms on Linux;
//   %APPDATA%/Tarvo Quelms on Windows); made for the user alone when missing.
#pragma once

constexpr const char* FOLDERS_GAME_NAME = "tarvoquelms";

// Sets the data and save folders for the whole run. A save folder that cannot
// be made or written is said once on standard error; the game still plays.
// Saves that earlier builds wrote beside the executable are copied into a
// save folder that has none of its own. `saveDirOption` may be null.
void foldersFind(const char* saveDirOption);
