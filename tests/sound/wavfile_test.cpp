#include "sound/wavfile.h"

#include <gtest/gtest.h>

#include <string>

#include "wavbytes.h"

namespace {

bool parse(const std::string& b, WavClip* clip) {
    return wavParse(reinterpret_cast<const uint8_t*>(b.data()), b.size(), clip);
}

int16_t sampleAt(const WavClip& c, int32_t i) {
    return static_cast<int16_t>(c.samples[2 * i] | c.samples[2 * i + 1] << 8);
}

TEST(WavFile, PlainFilesAndWhatOtherToolsWriteAreRead) {
    // An odd-sized chunk is padded to an even length before the next.
    std::string listChunk = "LIST";
    wavPut(&listChunk, 3, 4);
    listChunk += std::string("abc\0", 4);
    const std::string stereo = wavBytes({100, -100, 7, 9}, 44100, 2);
    struct Case {
        const char* what;
        std::string bytes;
        int32_t frames, channels, rate;
        int16_t first;
    };
    const Case cases[] = {
        {"mono at 48 kHz", wavBytes({1, -2, 3}, 48000), 3, 1, 48000, 1},
        {"stereo at 44.1 kHz", stereo, 2, 2, 44100, 100},
        {"a chunk of its own before the data", wavBytes({5, 6}, 22050, 1, listChunk), 2, 1, 22050, 5},
        {"its data cut in the middle of a frame", stereo.substr(0, stereo.size() - 3), 1, 2, 44100, 100},
    };
    for (const Case& c : cases) {
        WavClip clip = {};
        ASSERT_TRUE(parse(c.bytes, &clip)) << c.what;
        EXPECT_EQ(clip.frames, c.frames) << c.what;
        EXPECT_EQ(clip.channels, c.channels) << c.what;
        EXPECT_EQ(clip.rate, c.rate) << c.what;
        EXPECT_EQ(sampleAt(clip, 0), c.first) << c.what;
    }
}

TEST(WavFile, AnythingElseIsRefused) {
    const std::string good = wavBytes({1, 2, 3, 4}, 48000);
    auto with = [&](size_t at, const std::string& bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    std::string hugeChunk = good.substr(0, 12) + "junk";
    wavPut(&hugeChunk, 0xFFFFFFF0u, 4);
    std::string oddLast = good.substr(0, 12) + "junk";
    wavPut(&oddLast, 1, 4);
    oddLast += "x";  // padded past the end of the file
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"not RIFF", with(0, "RIFX")},
        {"not WAVE", with(8, "AVI ")},
        {"8-bit samples", with(34, std::string("\x08\x00", 2))},
        {"compressed", with(20, std::string("\x02\x00", 2))},
        {"three channels", with(22, std::string("\x03\x00", 2))},
        {"a rate of 0", with(24, std::string(4, '\0'))},
        {"a rate beyond 192 kHz", with(24, std::string("\x00\x00\x10\x00", 4))},
        {"no data chunk", good.substr(0, 36)},
        {"data before its format", good.substr(0, 12) + good.substr(36)},
        {"a chunk longer than the file", hugeChunk},
        {"an odd last chunk", oddLast},
    };
    for (const Case& c : cases) {
        WavClip clip = {};
        EXPECT_FALSE(parse(c.bytes, &clip)) << c.what;
    }
}

}  // namespace
