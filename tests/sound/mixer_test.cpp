#include "sound/mixer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "sound/soundbank.h"
#include "sound/wavfile.h"

namespace {

// A clip of `frames` frames all at `level`, straight into the bank.
void bankConstant(SoundId id, int32_t frames, int16_t level, int32_t rate = 48000) {
    std::vector<uint8_t> bytes(static_cast<size_t>(frames) * 2);
    for (int32_t i = 0; i < frames; i++) {
        bytes[2 * i] = static_cast<uint8_t>(level & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(level) >> 8);
    }
    ASSERT_TRUE(soundBankAdd(id, WavClip{bytes.data(), frames, 1, rate}));
}

std::vector<int16_t> render(int32_t frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 12345);
    mixerRender(out.data(), frames);
    return out;
}

// Frames until the left channel first falls to 0.
int32_t soundingFrames(const std::vector<int16_t>& out) {
    for (size_t f = 0; f < out.size() / 2; f++) {
        if (out[2 * f] == 0) return static_cast<int32_t>(f);
    }
    return static_cast<int32_t>(out.size() / 2);
}

class Mixing : public ::testing::Test {
protected:
    void SetUp() override {
        soundBankClear();
        mixerReset(48000);
    }
};

constexpr uint32_t AS_RECORDED = 1 << 16;

TEST_F(Mixing, ASoundStartsAtTheNextBufferAndPlaysItsLengthOnBothChannels) {
    bankConstant(SOUND_WORD, 300, 1000);
    EXPECT_EQ(render(64), std::vector<int16_t>(128, 0));  // nothing asked: silence
    ASSERT_TRUE(mixerRequest(MixerRequest{SOUND_WORD, SOUND_COUNT, AS_RECORDED}));
    const std::vector<int16_t> out = render(512);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[1], 1000);
    EXPECT_EQ(soundingFrames(out), 300);
}

TEST_F(Mixing, PitchAndTheDeviceRateSetHowFastAClipPlays) {
    struct Case {
        int32_t clipRate, deviceRate;
        uint32_t pitch;
        int32_t frames;  // output frames the 480-frame clip lasts
    };
    const Case cases[] = {
        {48000, 48000, AS_RECORDED, 480},
        {48000, 48000, 2 * AS_RECORDED, 240},  // an octave up
        {48000, 44100, AS_RECORDED, 441},
        {24000, 48000, AS_RECORDED, 960},
    };
    for (const Case& c : cases) {
        soundBankClear();
        mixerReset(c.deviceRate);
        bankConstant(SOUND_LETTER, 480, 500, c.clipRate);
        mixerRequest(MixerRequest{SOUND_LETTER, SOUND_COUNT, c.pitch});
        EXPECT_NEAR(soundingFrames(render(2000)), c.frames, 1) << c.clipRate << " " << c.deviceRate << " " << c.pitch;
    }
}

TEST_F(Mixing, VoicesAddUpAndTheSumIsClippedNotWrapped) {
    bankConstant(SOUND_LETTER, 100, 20000);
    bankConstant(SOUND_UNDO, 100, 3000);
    mixerRequest(MixerRequest{SOUND_LETTER, SOUND_COUNT, AS_RECORDED});
    mixerRequest(MixerRequest{SOUND_UNDO, SOUND_COUNT, AS_RECORDED});
    EXPECT_EQ(render(1)[0], 23000);
    mixerRequest(MixerRequest{SOUND_LETTER, SOUND_COUNT, AS_RECORDED});
    EXPECT_EQ(render(1)[0], INT16_MAX);
}

TEST_F(Mixing, ANinthSoundTakesTheVoiceStartedLongestAgo) {
    bankConstant(SOUND_LETTER, 1000, 100);
    bankConstant(SOUND_WORD, 10, 1);
    mixerRequest(MixerRequest{SOUND_LETTER, SOUND_COUNT, AS_RECORDED});
    render(50);  // the first voice is now the oldest
    for (int i = 0; i < MIXER_VOICES - 1; i++) mixerRequest(MixerRequest{SOUND_LETTER, SOUND_COUNT, AS_RECORDED});
    EXPECT_EQ(render(1)[0], 800);
    mixerRequest(MixerRequest{SOUND_WORD, SOUND_COUNT, AS_RECORDED});
    EXPECT_EQ(render(1)[0], 701);  // seven letters and the word
    int32_t playingWord = 0;
    for (const MixerVoice& v : mixer.voices) playingWord += v.active && v.sound == SOUND_WORD;
    EXPECT_EQ(playingWord, 1);
    EXPECT_EQ(mixer.voices[0].sound, SOUND_WORD);
}

TEST_F(Mixing, ASoundAskedToFollowAnotherStartsWhenThatOneEnds) {
    bankConstant(SOUND_GAME_OVER, 200, 300);
    bankConstant(SOUND_HIGH_SCORE, 100, 50, 24000);  // its own rate does not matter
    mixerRequest(MixerRequest{SOUND_GAME_OVER, SOUND_COUNT, AS_RECORDED});
    mixerRequest(MixerRequest{SOUND_HIGH_SCORE, SOUND_GAME_OVER, AS_RECORDED});
    const std::vector<int16_t> out = render(600);
    EXPECT_EQ(out[2 * 199], 300);
    EXPECT_EQ(out[2 * 200], 50);
    EXPECT_EQ(out[2 * 300], 50);
    EXPECT_EQ(out[2 * 400], 0);
}

TEST_F(Mixing, GainScalesAndZeroStopsWhatPlaysForGood) {
    bankConstant(SOUND_TIP, 1000, 8000);
    mixerRequest(MixerRequest{SOUND_TIP, SOUND_COUNT, AS_RECORDED});
    mixerSetGain(MIXER_UNITY_GAIN / 4);
    EXPECT_EQ(render(1)[0], 2000);
    mixerSetGain(0);
    EXPECT_EQ(render(10), std::vector<int16_t>(20, 0));
    // Asked for while muted: never heard, not even once the gain is back.
    mixerRequest(MixerRequest{SOUND_TIP, SOUND_COUNT, AS_RECORDED});
    render(1);
    mixerSetGain(MIXER_UNITY_GAIN);
    EXPECT_EQ(render(10), std::vector<int16_t>(20, 0));
}

TEST_F(Mixing, AFullQueueDropsAndCountsRatherThanWaits) {
    bankConstant(SOUND_LAND, 10, 1);
    for (uint32_t i = 0; i < MIXER_QUEUE_SIZE; i++) ASSERT_TRUE(mixerRequest(MixerRequest{SOUND_LAND, SOUND_COUNT, AS_RECORDED}));
    EXPECT_FALSE(mixerRequest(MixerRequest{SOUND_LAND, SOUND_COUNT, AS_RECORDED}));
    EXPECT_EQ(mixer.dropped.load(), 1u);
    render(1);  // the mixer takes them all
    EXPECT_TRUE(mixerRequest(MixerRequest{SOUND_LAND, SOUND_COUNT, AS_RECORDED}));
}

TEST_F(Mixing, TheBankRefusesAClipItHasNoRoomForAndKeepsItSilent) {
    bankConstant(SOUND_LETTER, SOUND_BANK_FRAMES - 10, 1);
    std::vector<uint8_t> bytes(40);
    EXPECT_FALSE(soundBankAdd(SOUND_WORD, WavClip{bytes.data(), 20, 1, 48000}));
    EXPECT_EQ(soundBank.clips[SOUND_WORD].frames, 0);
    mixerRequest(MixerRequest{SOUND_WORD, SOUND_COUNT, AS_RECORDED});
    render(1);
    for (const MixerVoice& v : mixer.voices) EXPECT_FALSE(v.active);
}

TEST_F(Mixing, StereoClipsAreMixedDownToMono) {
    const std::vector<uint8_t> bytes = {0x64, 0x00, 0x2C, 0x01};  // 100 and 300
    ASSERT_TRUE(soundBankAdd(SOUND_SWAP, WavClip{bytes.data(), 1, 2, 48000}));
    EXPECT_EQ(soundBank.frames[soundBank.clips[SOUND_SWAP].first], 200);
}

}  // namespace
