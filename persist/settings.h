// settings.ini: how the game is shown (full screen or a window, and the
// window's scale) and how it sounds, which prefs.txt has no field for. A small INI file in the
// save folder, so a player can read and edit it; sections and keys it does not
// know are skipped, so a newer game's file still loads.
#pragma once

#include <cstdint>

constexpr const char* SETTINGS_FILE = "settings.ini";

constexpr int32_t SETTINGS_VOLUME_MAX = 100;
constexpr int32_t SETTINGS_DEFAULT_VOLUME = 80;

struct Settings {
    bool fullscreen;
    int32_t scale;  // the window's whole scale of the picture; 0: the largest that fits
    bool muted;
    int32_t volume;  // percent, 0 to SETTINGS_VOLUME_MAX
};

extern Settings settings;

// Full screen, the largest scale, sound on at SETTINGS_DEFAULT_VOLUME.
void settingsReset();

// Replaces `settings` with settings.ini's. A missing file is the defaults; an
// unreadable file or one with a line or value that makes no sense is the
// defaults too, with one line on standard error. False in those two cases.
bool settingsLoad();

// Writes settings.ini through a temporary file like every save; false when it
// could not be written (errno tells why).
bool settingsSave();
