// The sounds' samples, loaded once at start-up into fixed storage: mono
// 16-bit, each at its own file's rate.
#pragma once

#include <cstdint>

#include "sound/soundid.h"

// Room for about 20 seconds at 48 kHz, several times what the game's own
// sounds take.
constexpr int32_t SOUND_BANK_FRAMES = 1 << 20;

struct SoundClip {
    int32_t first;   // index of its first frame in soundBank.frames
    int32_t frames;  // 0: the sound is silent
    int32_t rate;
};

struct SoundBank {
    SoundClip clips[SOUND_COUNT];
    int16_t frames[SOUND_BANK_FRAMES];
    int32_t used;
};

extern SoundBank soundBank;

// Empties the bank: every sound silent.
void soundBankClear();
// Adds a parsed file's samples as `id`'s clip, stereo mixed down to mono;
// false, leaving it silent, when the bank has no room for it.
struct WavClip;
bool soundBankAdd(SoundId id, const WavClip& clip);
// Loads every sound from the data folder's sounds/ folder. A file that is
// missing, unreadable or not a WAV file of 16-bit samples leaves its sound
// silent; the number of those is returned, and the first one's name is put in
// `firstMissing` (of `size` bytes).
int32_t soundBankLoad(char* firstMissing, int32_t size);
