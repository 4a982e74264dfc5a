// The program as a desktop starts it: command line, folders, display settings,
// the game, and what it leaves behind.
#include "flow/launch.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Core/cmpath.h"
#include "persist/settings.h"
#include "tests/flow/flowfixture.h"

namespace {

class Launch : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        leaveStartUpToTheEntryPoint();
        settingsReset();
        cmPathReset();
        // The program's folder holds its data, as a build folder's game/ does.
        std::filesystem::create_directory("game");
        writeFile("game/ALL", tinySheet());
        writeFile("game/worddiction.txt", "cat\r\n");
        const std::string game = std::string(folder) + "/game";
        std::snprintf(headless.executableFolder, sizeof headless.executableFolder, "%s", game.c_str());
        saves = std::string(folder) + "/saves";
    }

    void TearDown() override {
        cmPathReset();
        settingsReset();
        FlowTest::TearDown();
    }

    int run(std::vector<std::string> words, int (*entry)(int, char**) = gameMain) {
        words.insert(words.begin(), "tarvoquelms");
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        return entry(static_cast<int>(words.size()), argv.data());
    }

    // The headless program's entry, as tarvoquelms --headless runs it.
    int runHeadless(std::vector<std::string> words) { return run(std::move(words), gameMainHeadless); }

    // Escape ends the game, a second Escape quits and saves.
    static void quitWithEscapes() {
        headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    }

    std::vector<std::string> workingFolderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string saves;
};

TEST_F(Launch, ThePlayersFilesGoToTheSaveFolderAndNothingToTheWorkingFolder) {
    quitWithEscapes();
    EXPECT_EQ(run({"--save-dir", saves}), 0);
    EXPECT_EQ(readFile((saves + "/hi.txt").c_str()), "0;6;");
    EXPECT_EQ(readFile((saves + "/prefs.txt").c_str()), DEFAULT_PREFS);
    EXPECT_EQ(workingFolderEntries(), (std::vector<std::string>{"game", "saves"}));
    EXPECT_FALSE(fileExists((saves + "/settings.ini").c_str()));  // nothing about the display changed
    EXPECT_EQ(letterWeightTotal, 3053);
    EXPECT_NE(gameState, STATE_NO_DICTIONARY);  // the dictionary came from the program's folder
}

TEST_F(Launch, TheCommandLineWinsOverSettingsForItsRunOnly) {
    std::filesystem::create_directory(saves);
    writeFile((saves + "/settings.ini").c_str(), "[display]\nfullscreen=true\nscale=2\n");
    const std::string before = readFile((saves + "/settings.ini").c_str());
    struct Case {
        std::vector<std::string> words;
        PlatDisplayMode expected;
    };
    const Case cases[] = {
        {{}, {true, 2}},
        {{"--window"}, {false, 2}},
        {{"--window", "--scale", "3"}, {false, 3}},
        {{"--scale", "1"}, {true, 1}},
    };
    for (const Case& c : cases) {
        quitWithEscapes();
        std::vector<std::string> words = c.words;
        words.insert(words.end(), {"--save-dir", saves});
        EXPECT_EQ(run(words), 0);
        EXPECT_EQ(headless.displayMode.fullscreen, c.expected.fullscreen);
        EXPECT_EQ(headless.displayMode.scale, c.expected.scale);
        EXPECT_EQ(readFile((saves + "/settings.ini").c_str()), before);  // not rewritten
    }
}

// What a player does with the window while the game waits for input.
PlatDisplayMode playerChoice;
void playerChangesTheDisplay() {
    headless.displayMode = playerChoice;
    headlessSetIdleHook(nullptr);
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(Launch, WhatThePlayerChangesWhilePlayingIsRememberedForTheNextStart) {
    // Started with --scale 3, switched to a window: the window is remembered,
    // the command line's scale is not.
    playerChoice = PlatDisplayMode{false, 3};
    headlessSetIdleHook(playerChangesTheDisplay);
    EXPECT_EQ(run({"--scale", "3", "--save-dir", saves}), 0);
    settingsReset();
    cmPathSetFolder(CM_PATH_SAVE, saves.c_str());
    ASSERT_TRUE(settingsLoad());
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 0);

    // Resized to 2x in the next run: that is kept too.
    playerChoice = PlatDisplayMode{false, 2};
    headlessSetIdleHook(playerChangesTheDisplay);
    EXPECT_EQ(run({"--save-dir", saves}), 0);
    EXPECT_FALSE(headless.displayMode.fullscreen);
    ASSERT_TRUE(settingsLoad());
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 2);
}

TEST_F(Launch, EveryFailedSaveAtQuitSaysOneLineWithItsPathAndReasonAndTheOthersAreStillSaved) {
    // Folders where two of the files should go: even root cannot write over them.
    std::filesystem::create_directories(saves + "/prefs.txt");
    std::filesystem::create_directories(saves + "/settings.ini");
    playerChoice = PlatDisplayMode{false, 2};  // so settings.ini is saved too
    headlessSetIdleHook(playerChangesTheDisplay);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"--save-dir", saves}), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    // Start-up may have its own words about the files it could not read.
    std::vector<std::string> quitLines;
    for (size_t at = said.find("could not save"); at != std::string::npos; at = said.find("could not save", at + 1)) {
        const size_t start = said.rfind('\n', at);
        const size_t begin = start == std::string::npos ? 0 : start + 1;
        quitLines.push_back(said.substr(begin, said.find('\n', at) - begin));
    }
    EXPECT_EQ(quitLines, (std::vector<std::string>{
                             "tarvoquelms: could not save " + saves + "/prefs.txt: Is a directory.",
                             "tarvoquelms: could not save " + saves + "/settings.ini: Is a directory.",
                         }))
        << said;
    EXPECT_EQ(readFile((saves + "/hi.txt").c_str()), "0;6;");
}

TEST_F(Launch, HelpVersionAndMistakesEndBeforeAnyWindowOrFile) {
    struct Case {
        std::vector<std::string> words;
        int status;
    };
    const Case cases[] = {
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{"--bogus"}, 2},
        {{"--scale", "12"}, 2},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        std::vector<std::string> words = c.words;
        words.insert(words.end(), {"--save-dir", saves});
        EXPECT_EQ(run(words), c.status) << c.words[0];
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_FALSE(headless.displayOpen) << c.words[0];
        EXPECT_FALSE(fileExists(saves.c_str())) << c.words[0];
    }
}

TEST_F(Launch, AGameWithoutItsPictureFileNamesItAndExitsWithOne) {
    std::filesystem::remove("game/ALL");
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"--save-dir", saves}), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string sheet = std::string(folder) + "/game/ALL";
    EXPECT_EQ(headless.messageBoxCount, 1);
    EXPECT_NE(std::string(headless.lastMessageBoxText).find(sheet), std::string::npos) << headless.lastMessageBoxText;
    EXPECT_NE(err.find(sheet + " (No such file or directory)"), std::string::npos) << err;
    EXPECT_FALSE(headless.displayOpen);
}

TEST_F(Launch, AGameWhoseDisplayFailsExitsWithOne) {
    headlessFail(HEADLESS_FAULT_CREATE_PRIMARY, DDERR_GENERIC);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"--save-dir", saves}), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(headless.messageBoxCount, 1);
    EXPECT_STREQ(headless.lastMessageBoxText, "DirectDraw Init FAILED");
}

TEST_F(Launch, AReplayIsWatchedInAScratchFolderThatGoesAwayAndPrintsItsResultHeadless) {
    quitWithEscapes();
    ASSERT_EQ(run({"--record", "game.tqr", "--save-dir", saves}), 0);
    const std::string hiSaved = readFile((saves + "/hi.txt").c_str());
    std::filesystem::remove_all(saves);

    // Neither the player's save folder nor the temporary folder keeps anything.
    std::filesystem::create_directory("tmp");
    const std::string tmp = std::string(folder) + "/tmp";
    setenv("TQ_SAVE_DIR", saves.c_str(), 1);
    setenv("TMPDIR", tmp.c_str(), 1);
    EXPECT_EQ(run({"--headless", "--replay", "game.tqr"}), LAUNCH_RUN_HEADLESS) << "the headless program plays it";
    testing::internal::CaptureStdout();
    const int status = runHeadless({"--headless", "--replay", "game.tqr"});
    const std::string out = testing::internal::GetCapturedStdout();
    unsetenv("TQ_SAVE_DIR");
    unsetenv("TMPDIR");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.rfind("frames 0\nscore 1 0\npicture ", 0), 0u) << out;
    EXPECT_FALSE(fileExists(saves.c_str()));
    EXPECT_TRUE(std::filesystem::is_empty(tmp));

    // With --save-dir the replay's files are kept: the recorded game's own.
    EXPECT_EQ(runHeadless({"--replay", "game.tqr", "--save-dir", saves}), 0);
    EXPECT_EQ(readFile((saves + "/hi.txt").c_str()), hiSaved);
}

TEST_F(Launch, AReplayThatCannotBePlayedSaysWhyExitsWithTwoAndTouchesNoFile) {
    quitWithEscapes();
    ASSERT_EQ(run({"--record", "game.tqr", "--save-dir", saves}), 0);
    const std::string recording = readFile("game.tqr");
    writeFile("garbage.tqr", "not a recording at all");
    writeFile("cut.tqr", recording.substr(0, 20));
    writeFile((saves + "/hi.txt").c_str(), "1;500;QUELM;0;3006;");
    writeFile((saves + "/prefs.txt").c_str(), "1;81;");
    struct Case {
        const char* file;
        const char* said;
        bool otherWords;
    };
    const Case cases[] = {
        {"missing.tqr", "cannot play missing.tqr", false},
        {"garbage.tqr", "cannot play garbage.tqr: not a Tarvo Quelms replay", false},
        {"cut.tqr", "cannot play cut.tqr: damaged", false},
        {"game.tqr", "another word list", true},
    };
    for (const Case& c : cases) {
        writeFile("game/worddiction.txt", c.otherWords ? "cat\r\ndog\r\n" : "cat\r\n");
        for (auto entry : {gameMain, gameMainHeadless}) {
            testing::internal::CaptureStderr();
            EXPECT_EQ(run({"--replay", c.file, "--save-dir", saves}, entry), 2) << c.file;
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_NE(err.find(c.said), std::string::npos) << err;
            EXPECT_FALSE(headless.displayOpen) << c.file;
            EXPECT_EQ(readFile((saves + "/hi.txt").c_str()), "1;500;QUELM;0;3006;") << c.file;
            EXPECT_EQ(readFile((saves + "/prefs.txt").c_str()), "1;81;") << c.file;
        }
    }
}

}  // namespace
