#include "sound/mixer.h"

#include <cstring>

Mixer mixer;

namespace {

// Mixed in slices that fit an accumulator on the stack.
constexpr int32_t MIXER_SLICE = 256;

void mixerStart(const MixerRequest& r) {
    const SoundClip& clip = soundBank.clips[r.sound];
    if (clip.frames == 0 || mixer.rate <= 0) return;
    MixerVoice* voice = &mixer.voices[0];
    for (MixerVoice& v : mixer.voices) {
        if (!v.active) {
            voice = &v;
            break;
        }
        if (v.started - voice->started > UINT32_MAX / 2) voice = &v;  // older, counting across the wrap
    }
    // The clip's frames per output frame, times the pitch, in 32.32.
    const uint64_t step = (static_cast<uint64_t>(clip.rate) * r.pitch << 16) / static_cast<uint64_t>(mixer.rate);
    uint32_t wait = 0;
    if (r.after < SOUND_COUNT && soundBank.clips[r.after].rate > 0) {
        const SoundClip& before = soundBank.clips[r.after];
        wait = static_cast<uint32_t>(static_cast<int64_t>(before.frames) * mixer.rate / before.rate);
    }
    *voice = MixerVoice{true, r.sound, 0, step, wait, mixer.startCount++};
}

// Adds the voice into `sum` until it ends or the slice is full.
void mixerVoiceInto(MixerVoice& v, int32_t* sum, int32_t frames) {
    const SoundClip& clip = soundBank.clips[v.sound];
    const int16_t* s = soundBank.frames + clip.first;
    const uint64_t end = static_cast<uint64_t>(clip.frames) << 32;
    int32_t f = 0;
    if (v.wait > 0) {
        f = v.wait < static_cast<uint32_t>(frames) ? static_cast<int32_t>(v.wait) : frames;
        v.wait -= static_cast<uint32_t>(f);
    }
    for (; f < frames; f++) {
        if (v.position >= end) {
            v.active = false;
            return;
        }
        const uint32_t i = static_cast<uint32_t>(v.position >> 32);
        const int32_t frac = static_cast<int32_t>((v.position >> 17) & 0x7FFF);
        const int32_t a = s[i];
        const int32_t b = i + 1 < static_cast<uint32_t>(clip.frames) ? s[i + 1] : 0;
        sum[f] += a + (((b - a) * frac) >> 15);
        v.position += v.step;
    }
}

}  // namespace

void mixerReset(int32_t rate) {
    mixer.rate = rate;
    mixer.queueTail.store(0);
    mixer.queueHead.store(0);
    mixer.masterGain.store(MIXER_UNITY_GAIN);
    for (MixerVoice& v : mixer.voices) v = MixerVoice{};
    mixer.startCount = 0;
    mixer.framesRendered.store(0);
    mixer.dropped.store(0);
}

bool mixerRequest(const MixerRequest& request) {
    const uint32_t tail = mixer.queueTail.load(std::memory_order_relaxed);
    if (tail - mixer.queueHead.load(std::memory_order_acquire) >= MIXER_QUEUE_SIZE) {
        mixer.dropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    mixer.queue[tail % MIXER_QUEUE_SIZE] = request;
    mixer.queueTail.store(tail + 1, std::memory_order_release);
    return true;
}

void mixerSetGain(int32_t gain) { mixer.masterGain.store(gain, std::memory_order_relaxed); }

void mixerRender(int16_t* out, int32_t frames) {
    const uint32_t tail = mixer.queueTail.load(std::memory_order_acquire);
    uint32_t head = mixer.queueHead.load(std::memory_order_relaxed);
    const int32_t gain = mixer.masterGain.load(std::memory_order_relaxed);
    for (; head != tail; head++) {
        if (gain != 0) mixerStart(mixer.queue[head % MIXER_QUEUE_SIZE]);
    }
    mixer.queueHead.store(head, std::memory_order_release);
    mixer.framesRendered.fetch_add(static_cast<uint64_t>(frames), std::memory_order_relaxed);
    if (gain == 0) {
        for (MixerVoice& v : mixer.voices) v.active = false;
        std::memset(out, 0, static_cast<size_t>(frames) * 2 * sizeof *out);
        return;
    }
    int32_t sum[MIXER_SLICE];
    while (frames > 0) {
        const int32_t n = frames < MIXER_SLICE ? frames : MIXER_SLICE;
        std::memset(sum, 0, sizeof sum);
        for (MixerVoice& v : mixer.voices) {
            if (v.active) mixerVoiceInto(v, sum, n);
        }
        for (int32_t f = 0; f < n; f++) {
            int64_t x = (static_cast<int64_t>(sum[f]) * gain) >> 15;
            x = x > INT16_MAX ? INT16_MAX : (x < INT16_MIN ? INT16_MIN : x);
            out[2 * f] = out[2 * f + 1] = static_cast<int16_t>(x);
        }
        out += 2 * n;
        frames -= n;
    }
}
