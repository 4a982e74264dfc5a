#include "persist/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Core/cmpath.h"
#include "testfolder.h"

namespace {

class SettingsFile : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        cmPathReset();
        settings = Settings{false, 5, true, 30};  // not the defaults, so a load must set all
    }
    void TearDown() override {
        cmPathReset();
        TestFolder::TearDown();
    }

    // Loads and returns what went to standard error.
    static std::string load(bool* ok) {
        testing::internal::CaptureStderr();
        *ok = settingsLoad();
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(SettingsFile, AMissingFileIsTheDefaultsWithoutAWord) {
    bool ok = false;
    EXPECT_EQ(load(&ok), "");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 0);
    EXPECT_FALSE(settings.muted);
    EXPECT_EQ(settings.volume, SETTINGS_DEFAULT_VOLUME);
}

TEST_F(SettingsFile, WhatWasSavedLoadsBackAndReadsAsPlainText) {
    settings = Settings{false, 3, true, 40};
    ASSERT_TRUE(settingsSave());
    const std::string text = readFile(SETTINGS_FILE);
    EXPECT_NE(text.find("[display]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("fullscreen = false\n"), std::string::npos) << text;
    EXPECT_NE(text.find("scale = 3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[sound]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("muted = true\n"), std::string::npos) << text;
    EXPECT_NE(text.find("volume = 40\n"), std::string::npos) << text;
    settingsReset();
    bool ok = false;
    EXPECT_EQ(load(&ok), "");
    EXPECT_TRUE(ok);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 3);
    EXPECT_TRUE(settings.muted);
    EXPECT_EQ(settings.volume, 40);
}

TEST_F(SettingsFile, HandWrittenFilesLoadWhatTheySayAndSkipWhatTheyDoNotKnow) {
    struct Case {
        const char* text;
        bool fullscreen;
        int32_t scale;
        bool muted;
        int32_t volume;
    };
    constexpr int32_t V = SETTINGS_DEFAULT_VOLUME;
    const Case cases[] = {
        {"[display]\nfullscreen=no\nscale=2\n", false, 2, false, V},
        {"[Display]\r\nFullScreen = YES\r\nscale = 8\r\n", true, 8, false, V},
        {"[display]\nscale=1 ; a note\n", true, 1, false, V},  // the rest stays default
        {"[sound]\nvolume=35\n[display]\nfullscreen=0\n", false, 0, false, 35},
        {"[SOUND]\nMuted = on\nvolume = 0\n", true, 0, true, 0},
        {"[network]\nport=80\n[display]\nfullscreen=0\n", false, 0, false, V},  // a later game's section
        {"[display]\nfullscreen=off\nborder=thin\n", false, 0, false, V},      // a later game's key
        {"", true, 0, false, V},
        {"\xEF\xBB\xBF[display]\nscale=4\n", true, 4, false, V},  // saved by an editor with a byte-order mark
    };
    for (const Case& c : cases) {
        writeFile(SETTINGS_FILE, c.text);
        bool ok = false;
        EXPECT_EQ(load(&ok), "") << c.text;
        EXPECT_TRUE(ok) << c.text;
        EXPECT_EQ(settings.fullscreen, c.fullscreen) << c.text;
        EXPECT_EQ(settings.scale, c.scale) << c.text;
        EXPECT_EQ(settings.muted, c.muted) << c.text;
        EXPECT_EQ(settings.volume, c.volume) << c.text;
    }
}

TEST_F(SettingsFile, NonsenseIsTheDefaultsWithOneLineNamingTheFileAndTheLine) {
    struct Case {
        const char* text;
        const char* said;  // part of the line on standard error
    };
    const Case cases[] = {
        {"[display]\nfullscreen=maybe\nscale=2\n", "line 2: fullscreen = \"maybe\""},
        {"[display]\nscale=9\n", "line 2: scale = \"9\""},
        {"[display]\nscale=-1\n", "line 2"},
        {"[display]\nscale=2x\n", "line 2"},
        {"[display]\nscale=\n", "line 2"},
        {"[display]\nfullscreen=no\nthis is not a setting\n", "line 3"},
        {"[sound]\nvolume=101\n", "line 2: volume = \"101\""},
        {"[sound]\nmuted=loud\n", "line 2: muted = \"loud\""},
        {"\x89PNG\r\n\x1a\n\x01\x02", "line 1"},
    };
    for (const Case& c : cases) {
        writeFile(SETTINGS_FILE, c.text);
        bool ok = true;
        const std::string said = load(&ok);
        EXPECT_FALSE(ok) << c.text;
        EXPECT_TRUE(settings.fullscreen) << c.text;
        EXPECT_EQ(settings.scale, 0) << c.text;
        EXPECT_EQ(settings.volume, SETTINGS_DEFAULT_VOLUME) << c.text;
        EXPECT_NE(said.find("settings.ini"), std::string::npos) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    }
}

TEST_F(SettingsFile, AFileThatCannotBeReadIsTheDefaultsWithOneLine) {
    std::filesystem::create_directory(SETTINGS_FILE);
    bool ok = true;
    const std::string said = load(&ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
}

TEST_F(SettingsFile, SavingGoesToTheSaveFolderAndFailsWhenThereIsNone) {
    std::filesystem::create_directory("saves");
    ASSERT_TRUE(cmPathSetFolder(CM_PATH_SAVE, "saves"));
    settings = Settings{false, 2, false, 50};
    ASSERT_TRUE(settingsSave());
    EXPECT_TRUE(fileExists("saves/settings.ini"));
    EXPECT_FALSE(fileExists(SETTINGS_FILE));

    ASSERT_TRUE(cmPathSetFolder(CM_PATH_SAVE, nullptr));
    EXPECT_FALSE(settingsSave());
    bool ok = false;
    EXPECT_EQ(load(&ok), "");  // nowhere to read from: the defaults
    EXPECT_TRUE(settings.fullscreen);
}

}  // namespace
