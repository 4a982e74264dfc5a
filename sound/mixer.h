// The mixer: up to MIXER_VOICES sounds at once, resampled to the device's
// rate, run on the audio device's thread. The game thread hands it requests
// through a fixed single-producer, single-consumer queue and sets the master
// gain; neither side ever waits for the other or allocates.
#pragma once

#include <atomic>
#include <cstdint>

#include "sound/soundbank.h"
#include "sound/soundid.h"

constexpr int32_t MIXER_VOICES = 8;
constexpr uint32_t MIXER_QUEUE_SIZE = 64;  // a power of two
constexpr int32_t MIXER_UNITY_GAIN = 1 << 15;

struct MixerRequest {
    SoundId sound;
    SoundId after;   // starts once this sound would have ended; SOUND_COUNT: at once
    uint32_t pitch;  // playback speed, 1 << 16 for the recorded pitch
};

struct MixerVoice {
    bool active;
    SoundId sound;
    uint64_t position;  // in the clip's frames, 32.32 fixed point
    uint64_t step;      // added per output frame
    uint32_t wait;      // output frames of silence before it starts
    uint32_t started;   // order of starting, to find the oldest
};

struct Mixer {
    int32_t rate;  // the device's frames a second
    // Written by the game thread only.
    std::atomic<uint32_t> queueTail;
    // Written by the audio thread only.
    std::atomic<uint32_t> queueHead;
    MixerRequest queue[MIXER_QUEUE_SIZE];
    // 0 mutes: the voices playing stop and the output is silence.
    std::atomic<int32_t> masterGain;
    MixerVoice voices[MIXER_VOICES];
    uint32_t startCount;
    // Frames rendered in all, and requests dropped because the queue was full.
    std::atomic<uint64_t> framesRendered;
    std::atomic<uint32_t> dropped;
};

extern Mixer mixer;

// Silence, no voices, an empty queue, unity gain, for a device at `rate`.
void mixerReset(int32_t rate);
// Game thread: asks for a sound; false (and counted) when the queue is full.
bool mixerRequest(const MixerRequest& request);
// Game thread: the master gain, 0 to MIXER_UNITY_GAIN.
void mixerSetGain(int32_t gain);
// Audio thread: starts what was asked for, then fills `frames` stereo frames
// of `out`. A ninth sound takes the voice of the one started longest ago.
void mixerRender(int16_t* out, int32_t frames);
