// The program's command line:
//   tarvoquelms [--window | --fullscreen] [--scale N] [--save-dir DIR] [--mute]
//               [--record FILE | --replay FILE [--headless]] [--help] [--version]
#pragma once

#include <cstdint>
#include <cstdio>

struct LaunchOptions {
    int32_t fullscreen;   // -1: as settings.ini says; 0: a window; 1: full screen
    int32_t scale;        // 0: as settings.ini says; else the window's scale for this run
    const char* saveDir;  // null: the usual save folder
    const char* recordFile;  // null: no recording
    const char* replayFile;  // null: a game played live
    bool headless;           // the replay without a window
    bool mute;               // no audio device for this run
};

enum CmdLineResult {
    CMDLINE_RUN,         // start the game with the options
    CMDLINE_EXIT_OK,     // help or version printed on `out`
    CMDLINE_EXIT_USAGE,  // a mistake: the reason and the usage printed on `err`
};

// Exit status for CMDLINE_EXIT_USAGE, as command-line tools use it.
constexpr int CMDLINE_USAGE_STATUS = 2;

CmdLineResult cmdLineParse(int argc, char** argv, LaunchOptions* options, FILE* out, FILE* err);
