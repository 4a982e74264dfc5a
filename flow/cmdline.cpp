#include "flow/cmdline.h"

#include <getopt.h>

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

#ifndef TQ_VERSION
#define TQ_VERSION "unknown"
#endif

namespace {

constexpr const char* CMDLINE_USAGE =
    "Usage: tarvoquelms [--window | --fullscreen] [--scale N] [--save-dir DIR] [--mute]\n"
    "                   [--record FILE | --replay FILE [--headless]] [--help] [--version]\n";

constexpr const char* CMDLINE_HELP =
    "Tarvo Quelms, a word-puzzle game: drag across the letters to spell words.\n"
    "\n"
    "  --window          play in a window\n"
    "  --fullscreen      play full screen (the default)\n"
    "  --scale N         show the window N times the 640 x 480 picture (1 to 8)\n"
    "  --save-dir DIR    keep high scores, keys and settings in DIR\n"
    "                    (default: $XDG_DATA_HOME/tarvoquelms, or ~/.local/share/tarvoquelms)\n"
    "  --mute            play without sound, and leave the audio device alone\n"
    "  --record FILE     record this game into FILE, to replay it or send with a bug report\n"
    "  --replay FILE     play back a recorded game; it saves into a scratch folder\n"
    "                    unless --save-dir names one\n"
    "  --headless        with --replay: play it back as fast as possible without a\n"
    "                    window, then print the scores and a hash of the last picture\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "The options hold for this run only. Alt+Enter switches between full screen and\n"
    "a window, M mutes and unmutes, and - or + while paused change the volume; the\n"
    "game remembers those choices in settings.ini.\n"
    "The environment variable TQ_SAVE_DIR sets the save folder like --save-dir.\n";

enum CmdLineOption { OPT_WINDOW = 256, OPT_FULLSCREEN, OPT_SCALE, OPT_SAVE_DIR, OPT_VERSION, OPT_RECORD, OPT_REPLAY,
                     OPT_HEADLESS, OPT_MUTE };

const option cmdLineOptions[] = {
    {"window", no_argument, nullptr, OPT_WINDOW},
    {"fullscreen", no_argument, nullptr, OPT_FULLSCREEN},
    {"scale", required_argument, nullptr, OPT_SCALE},
    {"save-dir", required_argument, nullptr, OPT_SAVE_DIR},
    {"record", required_argument, nullptr, OPT_RECORD},
    {"replay", required_argument, nullptr, OPT_REPLAY},
    {"headless", no_argument, nullptr, OPT_HEADLESS},
    {"mute", no_argument, nullptr, OPT_MUTE},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, OPT_VERSION},
    {nullptr, 0, nullptr, 0},
};

CmdLineResult cmdLineMistake(FILE* err, const char* what, const char* detail) {
    std::fprintf(err, "tarvoquelms: %s%s\n%s", what, detail, CMDLINE_USAGE);
    return CMDLINE_EXIT_USAGE;
}

}  // namespace

CmdLineResult cmdLineParse(int argc, char** argv, LaunchOptions* options, FILE* out, FILE* err) {
    *options = LaunchOptions{-1, 0, nullptr, nullptr, nullptr, false, false};
    // getopt keeps its place in globals: 0 starts it afresh, and our own
    // messages replace its own.
    optind = 0;
    opterr = 0;
    bool help = false, version = false;
    for (;;) {
        int c = getopt_long(argc, argv, ":h", cmdLineOptions, nullptr);
        if (c == -1) break;
        switch (c) {
            case OPT_WINDOW:
            case OPT_FULLSCREEN: {
                const int32_t wanted = c == OPT_FULLSCREEN ? 1 : 0;
                if (options->fullscreen != -1 && options->fullscreen != wanted) {
                    return cmdLineMistake(err, "--window and --fullscreen cannot both be given", "");
                }
                options->fullscreen = wanted;
                break;
            }
            case OPT_SCALE: {
                char* end = nullptr;
                long n = std::strtol(optarg, &end, 10);
                if (end == optarg || *end != '\0' || n < 1 || n > PLAT_MAX_SCALE) {
                    return cmdLineMistake(err, "--scale takes a whole number from 1 to 8, not ", optarg);
                }
                options->scale = static_cast<int32_t>(n);
                break;
            }
            case OPT_SAVE_DIR:
                if (optarg[0] == '\0') return cmdLineMistake(err, "--save-dir needs a folder", "");
                options->saveDir = optarg;
                break;
            case OPT_RECORD:
            case OPT_REPLAY:
                if (optarg[0] == '\0') return cmdLineMistake(err, c == OPT_RECORD ? "--record" : "--replay", " needs a file");
                (c == OPT_RECORD ? options->recordFile : options->replayFile) = optarg;
                break;
            case OPT_HEADLESS:
                options->headless = true;
                break;
            case OPT_MUTE:
                options->mute = true;
                break;
            case 'h':
                help = true;
                break;
            case OPT_VERSION:
                version = true;
                break;
            case ':':
                return cmdLineMistake(err, "this option needs a value: ", argv[optind - 1]);
            default: {
                // A short option names itself in optopt; a long one is the word just read.
                char shortName[3] = {'-', static_cast<char>(optopt), '\0'};
                return cmdLineMistake(err, "unknown option: ", optopt != 0 ? shortName : argv[optind - 1]);
            }
        }
    }
    if (optind < argc) return cmdLineMistake(err, "unexpected argument: ", argv[optind]);
    if (options->recordFile != nullptr && options->replayFile != nullptr) {
        return cmdLineMistake(err, "--record and --replay cannot both be given", "");
    }
    if (options->headless && options->replayFile == nullptr) {
        return cmdLineMistake(err, "--headless only plays back a recording: give --replay FILE too", "");
    }
    if (help) {
        std::fprintf(out, "%s%s", CMDLINE_USAGE, CMDLINE_HELP);
        return CMDLINE_EXIT_OK;
    }
    if (version) {
        std::fprintf(out, "tarvoquelms %s\n", TQ_VERSION);
        return CMDLINE_EXIT_OK;
    }
    return CMDLINE_RUN;
}
