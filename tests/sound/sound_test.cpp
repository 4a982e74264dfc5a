#include "sound/sound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Core/cmpath.h"
#include "platform/headless/headless.h"
#include "sound/mixer.h"
#include "sound/soundbank.h"
#include "wavbytes.h"

namespace {

class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        sndReset();
        folder = std::filesystem::temp_directory_path() / ("tqsound" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "sounds");
        ASSERT_TRUE(cmPathSetFolder(CM_PATH_DATA, folder.c_str()));
    }
    void TearDown() override {
        sndReset();
        cmPathReset();
        headlessReset();
        std::filesystem::remove_all(folder);
    }

    // Every sound a steady tone of its own level (its number times 100),
    // `frames` long.
    void writeAllSounds(int32_t frames = 4800) {
        for (int i = 0; i < SOUND_COUNT; i++) writeSound(static_cast<SoundId>(i), frames, static_cast<int16_t>(100 * (i + 1)));
    }
    void writeSound(SoundId id, int32_t frames, int16_t level) {
        std::ofstream out(folder / "sounds" / sndFileName(id), std::ios::binary);
        const std::string b = wavBytes(std::vector<int16_t>(static_cast<size_t>(frames), level), 48000);
        out.write(b.data(), static_cast<std::streamsize>(b.size()));
    }

    // Opens the sound as the game does; returns what it said.
    static std::string open(bool silent = false) {
        testing::internal::CaptureStderr();
        sndOpen(silent);
        return testing::internal::GetCapturedStderr();
    }

    static std::vector<int16_t> pull(int32_t frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 12345);
        EXPECT_TRUE(headlessAudioPull(out.data(), frames));
        return out;
    }

    std::filesystem::path folder;
};

TEST_F(Sound, TheDeviceIsAskedFor48kHzStereoInSmallBuffersAndPlaysWhatIsAsked) {
    writeAllSounds();
    EXPECT_EQ(open(), "");
    ASSERT_TRUE(headless.audioOpen);
    EXPECT_EQ(headless.audioFormat.rate, 48000);
    EXPECT_LE(headless.audioFormat.bufferFrames, 512);
    EXPECT_EQ(pull(16), std::vector<int16_t>(32, 0));
    sndPlay(SOUND_TIP);
    const int16_t tip = 100 * (SOUND_TIP + 1) * 80 * 80 / 10000;  // at the default volume
    sndApply(SoundSettings{false, 80});
    EXPECT_NEAR(pull(1)[0], tip, 1);
    sndClose();
    EXPECT_FALSE(headless.audioOpen);
}

TEST_F(Sound, WithoutADeviceOrSoundFilesTheGamePlaysSilentlyAfterOneLine) {
    struct Case {
        const char* what;
        bool files, failDevice, silent;
        const char* said;
    };
    const Case cases[] = {
        {"no device", true, true, false, "No sound device"},
        {"asked for silence", true, false, true, "Sound is off"},
        {"no sound files", false, false, false, "No sound files"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder / "sounds");
        std::filesystem::create_directories(folder / "sounds");
        if (c.files) writeAllSounds();
        if (c.failDevice) headlessFail(HEADLESS_FAULT_AUDIO_OPEN, 1);
        const std::string said = open(c.silent);
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << c.what << ": one line: " << said;
        EXPECT_FALSE(soundState.deviceOpen) << c.what;
        EXPECT_FALSE(headless.audioOpen) << c.what;
        // The events are still told, for the game's own record.
        sndFrameStart();
        sndPlay(SOUND_WORD);
        EXPECT_EQ(soundLog.count, 1) << c.what;
    }
}

TEST_F(Sound, AMissingOrDamagedFileSilencesOnlyItsOwnSound) {
    writeAllSounds();
    std::filesystem::remove(folder / "sounds" / sndFileName(SOUND_SWAP));
    std::ofstream(folder / "sounds" / sndFileName(SOUND_TURN)) << "not a wav";
    const std::string said = open();
    EXPECT_NE(said.find("2 sound file(s)"), std::string::npos) << said;
    EXPECT_NE(said.find("swap.wav"), std::string::npos) << said;
    ASSERT_TRUE(soundState.deviceOpen);
    sndPlay(SOUND_TURN);
    EXPECT_EQ(pull(4), std::vector<int16_t>(8, 0));
    sndPlay(SOUND_WORD);
    EXPECT_NE(pull(1)[0], 0);
}

TEST_F(Sound, TheLogKeepsEveryEventOfTheFrameButLettersLandOnceAFrame) {
    sndPlay(SOUND_LAND);
    sndPlay(SOUND_LETTER, 3);
    sndPlay(SOUND_LAND);
    sndPlay(SOUND_WORD, 99);  // clamped
    ASSERT_EQ(soundLog.count, 3);
    EXPECT_EQ(soundLog.events[0].sound, SOUND_LAND);
    EXPECT_EQ(soundLog.events[1].sound, SOUND_LETTER);
    EXPECT_EQ(soundLog.events[1].step, 3);
    EXPECT_EQ(soundLog.events[2].step, SOUND_MAX_STEP);
    sndFrameStart();
    EXPECT_EQ(soundLog.count, 0);
    sndPlay(SOUND_LAND);
    EXPECT_EQ(soundLog.count, 1);
}

TEST_F(Sound, StepsRaiseThePitchBySemitones) {
    writeAllSounds(48000);
    open();
    struct Case {
        int32_t step;
        double speed;  // of the recorded pitch
    };
    const Case cases[] = {{0, 1.0}, {12, 2.0}, {7, 1.4983}, {-12, 0.5}, {24, 4.0}};
    for (const Case& c : cases) {
        mixerReset(48000);
        sndPlay(SOUND_LETTER, c.step);
        pull(1);
        const double step = static_cast<double>(mixer.voices[0].step) / 4294967296.0;
        EXPECT_NEAR(step, c.speed, 0.0005) << c.step;
    }
}

TEST_F(Sound, VolumeFollowsItsSquareAndMutingSilencesAtOnce) {
    writeAllSounds(48000);
    open();
    struct Case {
        SoundSettings settings;
        int16_t heard;  // of SOUND_GAME_OVER's 1500
    };
    const Case cases[] = {
        {{false, 100}, 1500}, {{false, 50}, 375}, {{false, 10}, 15}, {{false, 0}, 0},
        {{true, 100}, 0},     {{false, 150}, 1500},  // clamped
    };
    for (const Case& c : cases) {
        mixerReset(48000);
        sndApply(c.settings);
        sndPlay(SOUND_GAME_OVER);
        EXPECT_NEAR(pull(1)[0], c.heard, 1) << c.settings.volume << " " << c.settings.muted;
    }
    EXPECT_EQ(soundState.settings.volume, 100);
    // A sound already playing stops with the mute.
    sndApply(SoundSettings{false, 100});
    sndPlay(SOUND_GAME_OVER);
    EXPECT_NE(pull(1)[0], 0);
    sndApply(SoundSettings{true, 100});
    EXPECT_EQ(pull(100), std::vector<int16_t>(200, 0));
}

}  // namespace
