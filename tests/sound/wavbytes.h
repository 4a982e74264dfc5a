// Small WAV files built in memory, for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline void wavPut(std::string* b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) b->push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

// A plain 16-bit PCM file; `samples` interleaved when there are two channels.
inline std::string wavBytes(const std::vector<int16_t>& samples, uint32_t rate, uint16_t channels = 1,
                            const std::string& chunksBeforeData = "") {
    std::string fmt, b;
    wavPut(&fmt, 1, 2);
    wavPut(&fmt, channels, 2);
    wavPut(&fmt, rate, 4);
    wavPut(&fmt, rate * channels * 2, 4);
    wavPut(&fmt, channels * 2u, 2);
    wavPut(&fmt, 16, 2);
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    b = "RIFF";
    wavPut(&b, static_cast<uint32_t>(4 + 8 + fmt.size() + chunksBeforeData.size() + 8 + dataSize), 4);
    b += "WAVEfmt ";
    wavPut(&b, static_cast<uint32_t>(fmt.size()), 4);
    b += fmt + chunksBeforeData + "data";
    wavPut(&b, dataSize, 4);
    for (int16_t s : samples) wavPut(&b, static_cast<uint16_t>(s), 2);
    return b;
}
