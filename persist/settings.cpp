#include "persist/settings.h"

#include <strings.h>
#ifndef TQ_OWN_INI_READER
#include <ini.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Core/cmpath.h"
#include "platform/platform.h"
#include "persist/inireader.h"
#include "persist/safesave.h"

Settings settings;

namespace {

constexpr int32_t SETTINGS_TEXT_SIZE = 512;

struct SettingsParse {
    Settings read;
    char problem[160];  // the first thing that made no sense
};

bool settingsParseBool(const char* value, bool* out) {
    const char* const yes[] = {"true", "yes", "on", "1"};
    const char* const no[] = {"false", "no", "off", "0"};
    for (int i = 0; i < 4; i++) {
        if (strcasecmp(value, yes[i]) == 0 || strcasecmp(value, no[i]) == 0) {
            *out = strcasecmp(value, yes[i]) == 0;
            return true;
        }
    }
    return false;
}

bool settingsParseNumber(const char* value, int32_t most, int32_t* out) {
    char* end = nullptr;
    long n = std::strtol(value, &end, 10);
    if (end == value || *end != '\0' || n < 0 || n > most) return false;
    *out = static_cast<int32_t>(n);
    return true;
}

int settingsHandler(void* user, const char* section, const char* name, const char* value) {
    SettingsParse* parse = static_cast<SettingsParse*>(user);
    Settings& read = parse->read;
    bool ok = true;
    if (strcasecmp(section, "display") == 0) {
        if (strcasecmp(name, "fullscreen") == 0) {
            ok = settingsParseBool(value, &read.fullscreen);
        } else if (strcasecmp(name, "scale") == 0) {
            ok = settingsParseNumber(value, PLAT_MAX_SCALE, &read.scale);
        }
    } else if (strcasecmp(section, "sound") == 0) {
        if (strcasecmp(name, "muted") == 0) {
            ok = settingsParseBool(value, &read.muted);
        } else if (strcasecmp(name, "volume") == 0) {
            ok = settingsParseNumber(value, SETTINGS_VOLUME_MAX, &read.volume);
        }
    }
    if (!ok && parse->problem[0] == '\0') {
        std::snprintf(parse->problem, sizeof parse->problem, "%s = \"%s\" is not a value it can take", name, value);
    }
    return ok ? 1 : 0;
}

}  // namespace

void settingsReset() { settings = Settings{true, 0, false, SETTINGS_DEFAULT_VOLUME}; }

bool settingsLoad() {
    settingsReset();
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, SETTINGS_FILE, path, sizeof path)) return true;
    const PlatPathKind kind = platPathKind(path);
    if (kind == PLAT_PATH_NONE) return true;  // none yet: the defaults

    SettingsParse parse = {};
    parse.read = settings;
#ifdef TQ_OWN_INI_READER
    int result = kind == PLAT_PATH_FILE ? iniReaderParse(path, settingsHandler, &parse) : -1;
#else
    int result = kind == PLAT_PATH_FILE ? ini_parse(path, settingsHandler, &parse) : -1;
#endif
    if (result == 0) {
        settings = parse.read;
        return true;
    }
    if (result < 0) {
        std::fprintf(stderr, "%s cannot be read; using the default settings.\n", path);
    } else if (parse.problem[0] != '\0') {
        std::fprintf(stderr, "%s, line %d: %s; using the default settings.\n", path, result, parse.problem);
    } else {
        std::fprintf(stderr, "%s, line %d, makes no sense; using the default settings.\n", path, result);
    }
    return false;
}

bool settingsSave() {
    char text[SETTINGS_TEXT_SIZE];
    int length = std::snprintf(text, sizeof text,
                               "; How Tarvo Quelms is shown and how it sounds. The game changes it (Alt+Enter, M, "
                               "and - or + while paused); delete the file for the defaults.\n"
                               "[display]\n"
                               "; true: full screen; false: a window\n"
                               "fullscreen = %s\n"
                               "; the window's size in whole steps of 640 x 480 (0: the largest that fits)\n"
                               "scale = %d\n"
                               "[sound]\n"
                               "; true: no sound (M in the game)\n"
                               "muted = %s\n"
                               "; 0 to 100\n"
                               "volume = %d\n",
                               settings.fullscreen ? "true" : "false", settings.scale, settings.muted ? "true" : "false",
                               settings.volume);
    if (length < 0 || length >= SETTINGS_TEXT_SIZE) return false;
    char path[CM_PATH_SIZE];
    return cmPathJoin(CM_PATH_SAVE, SETTINGS_FILE, path, sizeof path) && safeSaveFile(path, text, length);
}
