#include "sound/sound.h"

#include <cstdio>

#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/soundbank.h"

SoundLog soundLog;
SoundState soundState;

namespace {

// 2^(n/12) in 16.16 for n = 0 to SOUND_MAX_STEP, by repeated multiplication
// in integers, so every build hears the same pitches.
uint32_t sndPitchUp(int32_t step) {
    // 2^(1/12) in 0.32.
    constexpr uint64_t SEMITONE = 4550359342ull;
    uint64_t pitch = uint64_t{1} << 16;
    for (int32_t i = 0; i < step; i++) pitch = (pitch * SEMITONE + (uint64_t{1} << 31)) >> 32;
    return static_cast<uint32_t>(pitch);
}

uint32_t sndPitch(int32_t step) {
    if (step >= 0) return sndPitchUp(step);
    return static_cast<uint32_t>((uint64_t{1} << 32) / sndPitchUp(-step));
}

// The player hears volume in ratios: the square of the percentage spreads the
// ten steps more evenly than the percentage itself.
int32_t sndGain() {
    if (soundState.settings.muted) return 0;
    const int32_t v = soundState.settings.volume;
    return v * v * MIXER_UNITY_GAIN / (SOUND_VOLUME_MAX * SOUND_VOLUME_MAX);
}

void sndMix(int16_t* out, int32_t frames, void*) { mixerRender(out, frames); }

}  // namespace

void sndReset() {
    sndClose();
    soundState = SoundState{{false, SOUND_VOLUME_MAX}, false, 0, 0};
    soundLog.count = 0;
    mixerReset(SOUND_RATE);
}

void sndOpen(bool silent) {
    sndClose();
    if (silent) {
        std::fprintf(stderr, "Sound is off for this run.\n");
        return;
    }
    char missing[64] = "";
    const int32_t missingCount = soundBankLoad(missing, sizeof missing);
    if (missingCount == SOUND_COUNT) {
        std::fprintf(stderr, "No sound files (%s and the rest) found; playing without sound.\n", missing);
        return;
    }
    if (missingCount > 0) {
        std::fprintf(stderr, "%d sound file(s) missing or unreadable, the first %s; those events are silent.\n",
                     missingCount, missing);
    }
    const PlatAudioFormat want = {SOUND_RATE, SOUND_BUFFER_FRAMES};
    PlatAudioFormat got = {};
    // Reset before the device starts pulling: the callback starts at once.
    mixerReset(SOUND_RATE);
    mixerSetGain(sndGain());
    if (!platAudioOpen(&want, sndMix, nullptr, &got)) {
        std::fprintf(stderr, "No sound device (%s); playing without sound.\n", platAudioError());
        return;
    }
    soundState.deviceOpen = true;
    soundState.deviceRate = got.rate;
    soundState.deviceBufferFrames = got.bufferFrames;
}

void sndClose() {
    if (!soundState.deviceOpen) return;
    platAudioClose();
    soundState.deviceOpen = false;
}

namespace {

void sndAsk(SoundId sound, SoundId after, int32_t step) {
    if (sound >= SOUND_COUNT) return;
    if (sound == SOUND_LAND) {
        for (int32_t i = 0; i < soundLog.count; i++) {
            if (soundLog.events[i].sound == SOUND_LAND) return;
        }
    }
    step = step > SOUND_MAX_STEP ? SOUND_MAX_STEP : (step < -SOUND_MAX_STEP ? -SOUND_MAX_STEP : step);
    if (soundLog.count < SOUND_LOG_SIZE) soundLog.events[soundLog.count++] = SoundEvent{sound, static_cast<int8_t>(step)};
    if (soundState.deviceOpen && !soundState.settings.muted) mixerRequest(MixerRequest{sound, after, sndPitch(step)});
}

}  // namespace

void sndPlay(SoundId sound, int32_t step) { sndAsk(sound, SOUND_COUNT, step); }

void sndPlayAfter(SoundId sound, SoundId after) { sndAsk(sound, after, 0); }

void sndFrameStart() { soundLog.count = 0; }

void sndApply(const SoundSettings& settings) {
    soundState.settings.muted = settings.muted;
    const int32_t v = settings.volume;
    soundState.settings.volume = v < 0 ? 0 : (v > SOUND_VOLUME_MAX ? SOUND_VOLUME_MAX : v);
    mixerSetGain(sndGain());
}
