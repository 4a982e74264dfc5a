// The sound keys: M mutes and unmutes at any time; while paused, - and +
// (main keyboard or keypad) change the volume in steps of a tenth. Paused
// only, because keypad + is player 2's Drag Mode key in play. Each change is
// shown for a second in place of the status prompt, or of the pause line.
#pragma once

#include <cstdint>

constexpr uint32_t SOUND_NOTICE_MS = 1000;
constexpr int32_t SOUND_NOTICE_SIZE = 40;

struct SoundNotice {
    char text[SOUND_NOTICE_SIZE];
    uint32_t shownAt;  // the frame time it was set at
    bool set;
};

extern SoundNotice soundNotice;
// Off while a recording made before the game had sound plays: its sound keys
// did nothing then.
extern bool soundKeysOn;

// Acts on a key press; true when it was a sound key that did something.
bool soundKeyDown(uint32_t k);
// The notice while it is due at `now`, else null.
const char* soundNoticeText(uint32_t now);
// No notice, the keys on.
void soundNoticeClear();
