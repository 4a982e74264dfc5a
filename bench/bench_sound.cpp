// What sound costs: the mixer's work for one frame's worth of output with
// every voice busy, and the game thread's cost of asking for a sound.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "Core/cmpath.h"
#include "platform/headless/headless.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "sound/soundbank.h"

namespace {

// The built game's own sounds.
bool benchLoadSounds() {
    cmPathSetFolder(CM_PATH_DATA, TQ_GAME_DIR);
    char missing[64];
    const bool all = soundBankLoad(missing, sizeof missing) == 0;
    cmPathReset();
    return all;
}

// One 60 Hz frame of output at 48 kHz: 800 stereo frames, mixed in the
// device's 512-frame buffers, all eight voices sounding (longest sounds,
// pitched up, so they resample).
void BM_MixFrame(benchmark::State& state) {
    if (!benchLoadSounds()) {
        state.SkipWithError("the built game's sounds are missing");
        return;
    }
    mixerReset(48000);
    static int16_t out[2 * 512];
    int64_t frames = 0;
    for (auto _ : state) {
        for (int32_t v = 0; v < MIXER_VOICES; v++) {
            if (!mixer.voices[v].active) mixerRequest(MixerRequest{SOUND_GAME_OVER, SOUND_COUNT, 70000});
        }
        int32_t left = 800;
        while (left > 0) {
            const int32_t n = left < 512 ? left : 512;
            mixerRender(out, n);
            left -= n;
        }
        benchmark::DoNotOptimize(out);
        frames += 800;
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MixFrame);

// The game thread's part: the log and the queue, never a wait.
void BM_SoundPlay(benchmark::State& state) {
    headlessReset();
    sndReset();
    cmPathSetFolder(CM_PATH_DATA, TQ_GAME_DIR);
    sndOpen(false);
    cmPathReset();
    if (!soundState.deviceOpen) {
        state.SkipWithError("no sound device on the headless backend");
        return;
    }
    static int16_t drain[2];
    uint32_t asked = 0;
    for (auto _ : state) {
        sndFrameStart();
        sndPlay(SOUND_LETTER, 5);
        // The device's thread keeps the queue from filling; its share here is
        // one frame mixed every 32 sounds.
        if (++asked % 32 == 0) headlessAudioPull(drain, 1);
    }
    sndReset();
}
BENCHMARK(BM_SoundPlay);

}  // namespace
