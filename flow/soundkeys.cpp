#include "flow/soundkeys.h"

#include <cstdio>

#include "game/gamestate.h"
#include "platform/platform.h"
#include "sound/sound.h"

SoundNotice soundNotice;
bool soundKeysOn = true;

namespace {

// The small font has no per-cent sign.
void soundNoticeSet(const char* what) {
    const SoundSettings& s = soundState.settings;
    if (what != nullptr) {
        std::snprintf(soundNotice.text, sizeof soundNotice.text, "%s", what);
    } else {
        std::snprintf(soundNotice.text, sizeof soundNotice.text, s.muted ? "VOLUME %d/%d - SOUND IS OFF (M)" : "VOLUME %d/%d",
                      s.volume, SOUND_VOLUME_MAX);
    }
    soundNotice.shownAt = frameInput.time;
    soundNotice.set = true;
}

}  // namespace

bool soundKeyDown(uint32_t k) {
    if (!soundKeysOn) return false;
    SoundSettings s = soundState.settings;
    if (k == VK_M) {
        s.muted = !s.muted;
        sndApply(s);
        if (s.muted) {
            soundNoticeSet("SOUND OFF");
        } else {
            char text[SOUND_NOTICE_SIZE];
            std::snprintf(text, sizeof text, "SOUND ON - VOLUME %d/%d", s.volume, SOUND_VOLUME_MAX);
            soundNoticeSet(text);
        }
        return true;
    }
    if (!paused) return false;
    int32_t change = 0;
    if (k == VK_OEM_MINUS || k == VK_SUBTRACT) change = -SOUND_VOLUME_STEP;
    if (k == VK_OEM_PLUS || k == VK_ADD) change = SOUND_VOLUME_STEP;
    if (change == 0) return false;
    // Onto the steps, whatever settings.ini held.
    s.volume = (s.volume + change + (change < 0 ? SOUND_VOLUME_STEP - 1 : 0)) / SOUND_VOLUME_STEP * SOUND_VOLUME_STEP;
    sndApply(s);
    soundNoticeSet(nullptr);
    return true;
}

const char* soundNoticeText(uint32_t now) {
    if (!soundNotice.set) return nullptr;
    // Elapsed time, not a sum: the tick count wraps.
    if (now - soundNotice.shownAt >= SOUND_NOTICE_MS) {
        soundNotice.set = false;
        return nullptr;
    }
    return soundNotice.text;
}

void soundNoticeClear() {
    soundNotice = SoundNotice{};
    soundKeysOn = true;
}
