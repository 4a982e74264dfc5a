// What the game calls to make sounds, and the player's sound settings. The
// game thread only records and queues: the device's thread mixes.
#pragma once

#include <cstdint>

#include "sound/soundid.h"

constexpr int32_t SOUND_RATE = 48000;
constexpr int32_t SOUND_BUFFER_FRAMES = 512;  // about 11 ms at 48 kHz
constexpr int32_t SOUND_VOLUME_STEP = 10;
constexpr int32_t SOUND_VOLUME_MAX = 100;
constexpr int32_t SOUND_LOG_SIZE = 32;
// Pitch steps are semitones; a step is clamped to this many either way.
constexpr int32_t SOUND_MAX_STEP = 24;

struct SoundEvent {
    SoundId sound;
    int8_t step;  // semitones above the recorded pitch
};

// The sounds asked for since the frame began, in order, whether or not a
// device plays them: what the tests read. A full log keeps its first entries.
struct SoundLog {
    SoundEvent events[SOUND_LOG_SIZE];
    int32_t count;
};

struct SoundSettings {
    bool muted;
    int32_t volume;  // percent, 0 to SOUND_VOLUME_MAX
};

struct SoundState {
    SoundSettings settings;
    bool deviceOpen;
    int32_t deviceRate;
    int32_t deviceBufferFrames;
};

extern SoundLog soundLog;
extern SoundState soundState;

// Loads the sounds and opens the audio device unless `silent`. With no
// device, or silent, the game plays on without sound after one line on
// standard error; missing sound files are said in one line too. Nothing
// waits for a device.
void sndOpen(bool silent);
void sndClose();
// Asks for a sound, `step` semitones higher. Letters landing sound at most
// once a frame.
void sndPlay(SoundId sound, int32_t step = 0);
// Asks for a sound that follows another asked for at the same time: it starts
// when `after` ends.
void sndPlayAfter(SoundId sound, SoundId after);
// Clears the log; the frame calls it first.
void sndFrameStart();
// Settings take effect at once; the volume is clamped to its range.
void sndApply(const SoundSettings& settings);
// Back to unmuted at full volume, no device, an empty log (for tests).
void sndReset();
