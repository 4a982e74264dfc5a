#include "flow/launch.h"

#include <cstdio>

#include "flow/cmdline.h"
#include "flow/folders.h"
#include "flow/startup.h"
#include "persist/savereport.h"
#include "persist/settings.h"
#include "platform/platform.h"
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
void launchRememberDisplayMode(const PlatDisplayMode& started) {
    PlatDisplayMode ended;
    platGetDisplayMode(&ended);
    const Settings before = settings;
    if (ended.fullscreen != started.fullscreen) settings.fullscreen = ended.fullscreen;
    if (ended.scale != started.scale) settings.scale = ended.scale;
    if (settings.fullscreen == before.fullscreen && settings.scale == before.scale) return;
    saveReportingFailure(settingsSave, SETTINGS_FILE);
}

}  // namespace

int gameMain(int argc, char** argv) {
    LaunchOptions options;
    switch (cmdLineParse(argc, argv, &options, stdout, stderr)) {
        case CMDLINE_EXIT_OK: return 0;
        case CMDLINE_EXIT_USAGE: return CMDLINE_USAGE_STATUS;
        case CMDLINE_RUN: break;
    }
    foldersFind(options.saveDir);
    settingsLoad();
    const PlatDisplayMode started = launchDisplayMode(options);
    platSetDisplayMode(&started);
    // Shown normally (SW_SHOWNORMAL); the game's own entry point does the rest.
    const int32_t code = WinMain(nullptr, nullptr, "", 1);
    // The mouse device exists exactly when start-up got through; a game that
    // could not start must not report success.
    if (!gMouseDevice) return 1;
    launchRememberDisplayMode(started);
    return code;
}
