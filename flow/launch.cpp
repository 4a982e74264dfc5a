#include "flow/launch.h"

#include <cstdio>
#include <cstdlib>

#include "Core/cmpath.h"
#include "flow/cmdline.h"
#include "flow/folders.h"
#include "flow/replay.h"
#include "flow/startup.h"
#include "game/gamestate.h"
#include "game/score.h"
#include "persist/savereport.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"

namespace {

// The mode settings.ini asks for, with this run's command line over it.
PlatDisplayMode launchDisplayMode(const LaunchOptions& options) {
    PlatDisplayMode mode{settings.fullscreen, settings.scale};
    if (options.fullscreen != -1) mode.fullscreen = options.fullscreen == 1;
    if (options.scale != 0) mode.scale = options.scale;
    return mode;
}

// Only what the player changed while playing is remembered, so the command
// line's choices stay for its own run.
void launchRememberSettings(const PlatDisplayMode& started) {
    PlatDisplayMode ended;
    platGetDisplayMode(&ended);
    const Settings before = settings;
    if (ended.fullscreen != started.fullscreen) settings.fullscreen = ended.fullscreen;
    if (ended.scale != started.scale) settings.scale = ended.scale;
    // Saved on the way out, never during play: a save would block the frame.
    settings.muted = soundState.settings.muted;
    settings.volume = soundState.settings.volume;
    if (settings.fullscreen == before.fullscreen && settings.scale == before.scale && settings.muted == before.muted &&
        settings.volume == before.volume) {
        return;
    }
    saveReportingFailure(settingsSave, SETTINGS_FILE);
}

const char* launchRecordFile;
bool launchRefused;  // a recording could not be made or played: status 2

bool launchBeginRecording() {
    launchRefused = !replayRecordStart(launchRecordFile);
    return !launchRefused;
}

bool launchBeginReplay() {
    launchRefused = !replayBegin();
    return !launchRefused;
}

// A replay that is only watched saves into a folder of its own, so it never
// changes the player's high scores; it is removed afterwards.
struct ScratchFolder {
    char path[CM_PATH_SIZE] = "";
    ~ScratchFolder() {
        if (path[0]) platFolderRemoveAll(path);
    }
};

bool launchMakeScratchFolder(ScratchFolder* scratch) {
    return platScratchFolderMake(scratch->path, static_cast<int32_t>(sizeof scratch->path));
}

void launchPrintReplay(bool headless) {
    const ReplaySummary summary = replaySummary();
    std::printf("frames %lld\n", static_cast<long long>(summary.frames));
    if (summary.cutShort) std::printf("cut short: played up to the last whole block\n");
    for (int32_t p = 0; p <= twoPlayer; p++) std::printf("score %d %d\n", p + 1, playerState[p].score);
    if (headless) std::printf("picture %016llx\n", static_cast<unsigned long long>(replayPictureHash()));
}

int launchRun(const LaunchOptions& options, bool headless) {
    const bool replaying = options.replayFile != nullptr;
    startCourse = StartCourse{};
    launchRefused = false;
    if (replaying) {
        const ReplayOpenResult opened = replayOpen(options.replayFile);
        if (opened != REPLAY_OPENED) {
            std::fprintf(stderr, "tarvoquelms: cannot play %s: %s.\n", options.replayFile, replayOpenText());
            return CMDLINE_USAGE_STATUS;
        }
    }
    ScratchFolder scratch;
    const char* saveDir = options.saveDir;
    if (replaying && saveDir == nullptr) {
        if (!launchMakeScratchFolder(&scratch)) {
            std::fprintf(stderr, "tarvoquelms: cannot make a scratch folder to replay in.\n");
            return 1;
        }
        saveDir = scratch.path;
    }
    foldersFind(saveDir);
    settingsLoad();
    const PlatDisplayMode started = launchDisplayMode(options);
    platSetDisplayMode(&started);
    sndApply(SoundSettings{settings.muted, settings.volume});
    // A replay without a window is a tool: it neither plays nor mentions sound.
    if (!headless) sndOpen(options.mute);
    if (replaying) {
        startCourse = StartCourse{launchBeginReplay, replayWindowProc, replayFrame, true};
        replayKeepPictures(headless);
        // Nothing activates a window that is never shown.
        if (headless) appActive = 1;
    } else if (options.recordFile != nullptr) {
        launchRecordFile = options.recordFile;
        startCourse = StartCourse{launchBeginRecording, nullptr, nullptr, false};
    }
    // Shown normally (SW_SHOWNORMAL); the game's own entry point does the rest.
    const int32_t code = WinMain(nullptr, nullptr, "", 1);
    sndClose();
    replayRecordFinish();
    if (launchRefused) return CMDLINE_USAGE_STATUS;
    // The mouse device exists exactly when start-up got through; a game that
    // could not start must not report success.
    if (!gMouseDevice) return 1;
    if (replaying) {
        launchPrintReplay(headless);
        replayClose();
        return 0;
    }
    launchRememberSettings(started);
    return code;
}

// The exit status when the command line asks for no game (help, version or a
// mistake); -1 when the game is to run.
int launchParse(int argc, char** argv, LaunchOptions* options) {
    switch (cmdLineParse(argc, argv, options, stdout, stderr)) {
        case CMDLINE_EXIT_OK: return 0;
        case CMDLINE_EXIT_USAGE: return CMDLINE_USAGE_STATUS;
        case CMDLINE_RUN: break;
    }
    return -1;
}

}  // namespace

int gameMain(int argc, char** argv) {
    LaunchOptions options;
    if (const int status = launchParse(argc, argv, &options); status != -1) return status;
    if (options.headless) return LAUNCH_RUN_HEADLESS;
    return launchRun(options, false);
}

int gameMainHeadless(int argc, char** argv) {
    LaunchOptions options;
    if (const int status = launchParse(argc, argv, &options); status != -1) return status;
    if (options.replayFile == nullptr) {
        std::fprintf(stderr, "tarvoquelms-headless: it only plays back recordings: give --replay FILE.\n");
        return CMDLINE_USAGE_STATUS;
    }
    return launchRun(options, true);
}
