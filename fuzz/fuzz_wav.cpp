// wavParse on any bytes: it either refuses them or describes samples that lie
// inside them, and the bank takes what it describes.
#include <cstddef>
#include <cstdint>

#include "sound/soundbank.h"
#include "sound/wavfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavClip clip;
    if (!wavParse(data, size, &clip)) return 0;
    const size_t bytes = static_cast<size_t>(clip.frames) * 2 * static_cast<size_t>(clip.channels);
    if (clip.samples < data || clip.samples + bytes > data + size) __builtin_trap();
    if (clip.channels < 1 || clip.channels > 2 || clip.rate < 8000 || clip.rate > 192000) __builtin_trap();
    soundBankClear();
    soundBankAdd(SOUND_WORD, clip);
    return 0;
}
