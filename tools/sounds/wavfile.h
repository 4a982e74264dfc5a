// The game's sound file: RIFF WAVE, PCM, one channel, 16-bit little-endian at
// synth::RATE, a 44-byte header and the samples, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> wavBytes(const std::vector<int16_t>& samples);
bool writeWav(const std::string& path, const std::vector<int16_t>& samples);
