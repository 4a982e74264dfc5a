// Reading WAV files: RIFF WAVE with 16-bit PCM samples, one or two channels.
// Our tool writes the plainest form; the reader also takes what other tools
// write (extra chunks, odd-sized chunks, a cut-off data chunk), so a player
// may drop in sounds of their own.
#pragma once

#include <cstddef>
#include <cstdint>

struct WavClip {
    const uint8_t* samples;  // little-endian 16-bit samples, channels interleaved
    int32_t frames;
    int32_t channels;  // 1 or 2
    int32_t rate;      // frames a second, 8000 to 192000
};

// Finds the samples in a whole file's bytes. False for anything that is not
// a WAV file of that kind.
bool wavParse(const uint8_t* bytes, size_t size, WavClip* clip);
