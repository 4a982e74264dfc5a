#include "tools/sounds/wavfile.h"

#include <cstdio>

#include "tools/sounds/synth.h"

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
// Byte by byte: g++ 12 warns falsely about a vector insert here (GCC bug 105329).
void putTag(std::vector<uint8_t>& b, const char* tag) {
    for (int k = 0; k < 4; k++) b.push_back(static_cast<uint8_t>(tag[k]));
}

}  // namespace

std::vector<uint8_t> wavBytes(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 1);  // channels
    put32(b, synth::RATE);
    put32(b, synth::RATE * 2);  // bytes a second
    put16(b, 2);                // bytes a frame
    put16(b, 16);               // bits a sample
    putTag(b, "data");
    put32(b, dataBytes);
    // Little-endian whatever the machine's own order.
    for (int16_t s : samples) put16(b, static_cast<uint16_t>(s));
    return b;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples) {
    const std::vector<uint8_t> bytes = wavBytes(samples);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
