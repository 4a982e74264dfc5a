#include "sound/soundbank.h"

#include <cstdio>

#include "Core/cmpath.h"
#include "Core/filetext.h"
#include "sound/wavfile.h"

SoundBank soundBank;

namespace {

const char* const soundFileNames[SOUND_COUNT] = {
    "letter.wav", "undo.wav",  "word.wav",    "refused.wav",  "land.wav",       "button.wav",
    "tip.wav",    "dragstart.wav", "dragstop.wav", "swap.wav", "turn.wav",       "lowlife.wav",
    "levelbonus.wav", "levelintro.wav", "gameover.wav", "highscore.wav",
};

bool soundBankLoadOne(SoundId id) {
    char relative[64];
    char path[CM_PATH_SIZE];
    std::snprintf(relative, sizeof relative, "sounds/%s", sndFileName(id));
    if (!cmPathJoin(CM_PATH_DATA, relative, path, sizeof path) || !fileReadWhole(path)) return false;
    WavClip clip;
    if (!wavParse(reinterpret_cast<const uint8_t*>(fileTextBytes()), static_cast<size_t>(fileTextLength), &clip)) {
        return false;
    }
    return soundBankAdd(id, clip);
}

}  // namespace

const char* sndFileName(SoundId id) { return id < SOUND_COUNT ? soundFileNames[id] : ""; }

void soundBankClear() {
    for (SoundClip& c : soundBank.clips) c = SoundClip{};
    soundBank.used = 0;
}

bool soundBankAdd(SoundId id, const WavClip& clip) {
    soundBank.clips[id] = SoundClip{};
    if (clip.frames > SOUND_BANK_FRAMES - soundBank.used) return false;
    int16_t* out = soundBank.frames + soundBank.used;
    const uint8_t* in = clip.samples;
    for (int32_t f = 0; f < clip.frames; f++) {
        int32_t sum = 0;
        for (int32_t c = 0; c < clip.channels; c++, in += 2) sum += static_cast<int16_t>(in[0] | in[1] << 8);
        out[f] = static_cast<int16_t>(sum / clip.channels);
    }
    soundBank.clips[id] = SoundClip{soundBank.used, clip.frames, clip.rate};
    soundBank.used += clip.frames;
    return true;
}

int32_t soundBankLoad(char* firstMissing, int32_t size) {
    soundBankClear();
    int32_t missing = 0;
    for (int32_t i = 0; i < SOUND_COUNT; i++) {
        if (soundBankLoadOne(static_cast<SoundId>(i))) continue;
        if (missing++ == 0 && size > 0) std::snprintf(firstMissing, static_cast<size_t>(size), "%s", soundFileNames[i]);
    }
    return missing;
}
