#include "sound/wavfile.h"

#include <cstring>

namespace {

uint32_t wavU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t wavU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint16_t WAV_FORMAT_PCM = 1;
constexpr uint16_t WAV_FORMAT_EXTENSIBLE = 0xFFFE;

}  // namespace

bool wavParse(const uint8_t* bytes, size_t size, WavClip* clip) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false;
    WavClip found = {};
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* chunk = bytes + at;
        const size_t length = wavU32(chunk + 4);
        const size_t room = size - at - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > room) return false;
            const uint16_t format = wavU16(chunk + 8);
            found.channels = wavU16(chunk + 10);
            found.rate = static_cast<int32_t>(wavU32(chunk + 12) > 192000 ? 0 : wavU32(chunk + 12));
            const uint16_t bits = wavU16(chunk + 22);
            if ((format != WAV_FORMAT_PCM && format != WAV_FORMAT_EXTENSIBLE) || bits != 16) return false;
            if (found.channels < 1 || found.channels > 2 || found.rate < 8000) return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return false;
            // A file cut short keeps the whole frames it still holds.
            const size_t held = length < room ? length : room;
            const size_t frameBytes = 2 * static_cast<size_t>(found.channels);
            if (held / frameBytes > INT32_MAX) return false;
            found.samples = chunk + 8;
            found.frames = static_cast<int32_t>(held / frameBytes);
            *clip = found;
            return true;
        }
        if (length > room) return false;
        at += 8 + length + (length & 1);  // chunks are padded to an even length
        if (at > size) return false;
    }
    return false;
}
