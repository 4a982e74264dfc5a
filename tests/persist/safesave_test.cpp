#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>

#include "Core/cmrand.h"
#include "flow/keydefs.h"
#include "game/tips.h"
#include "persist/prefs.h"
#include "persist/safesave.h"
#include "testfolder.h"

namespace {

class SafeSave : public TestFolder {};

TEST_F(SafeSave, ReplacesTheFileWithExactlyTheNewBytesAndLeavesNoTemporaryFile) {
    writeFile("data.txt", "an older and longer content");
    const std::string bytes("1;2;\0;x", 7);
    ASSERT_TRUE(safeSaveFile("data.txt", bytes.data(), static_cast<int32_t>(bytes.size())));
    EXPECT_EQ(readFile("data.txt"), bytes);
    EXPECT_FALSE(fileExists("data.txt.tmp"));
}

TEST_F(SafeSave, AFailedSaveLeavesTheOldFileWhole) {
    writeFile("data.txt", "old");
    // A folder where the temporary file would go: it cannot be created.
    ASSERT_TRUE(makeFolder("data.txt.tmp"));
    EXPECT_FALSE(safeSaveFile("data.txt", "new", 3));
    EXPECT_EQ(readFile("data.txt"), "old");
}

TEST_F(SafeSave, AFileThatCannotBeReplacedFailsAndCleansUp) {
    ASSERT_TRUE(makeFolder("data.txt"));
    EXPECT_FALSE(safeSaveFile("data.txt", "new", 3));
    EXPECT_FALSE(fileExists("data.txt.tmp"));
}

#ifndef _WIN32
// Killing a child at a random moment needs fork.
// Runs `saveForever` in a child, kills it at a random moment, and hands back
// what the file holds then.
template <typename Save>
std::string killDuringSaves(Save saveForever, int32_t maxDelayUs) {
    pid_t child = fork();
    if (child == 0) {
        saveForever();
        _exit(0);
    }
    usleep(static_cast<useconds_t>(200 + cmRand() % maxDelayUs));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return TestFolder::readFile("data.txt");
}

TEST_F(SafeSave, AProcessKilledWhileSavingLeavesTheOldOrTheNewFileWhole) {
    // Big files keep each write busy long enough for kills to land inside it.
    const std::string a(400000, 'a');
    const std::string b(300000, 'b');
    ASSERT_TRUE(safeSaveFile("data.txt", a.data(), static_cast<int32_t>(a.size())));
    cmSrand(7);
    for (int run = 0; run < 60; run++) {
        std::string found = killDuringSaves(
            [&] {
                for (int i = 0;; i++) {
                    const std::string& s = i % 2 ? a : b;
                    safeSaveFile("data.txt", s.data(), static_cast<int32_t>(s.size()));
                }
            },
            20000);
        ASSERT_TRUE(found == a || found == b) << "run " << run << ": " << found.size() << " bytes";
    }
}

TEST_F(SafeSave, APreferencesSaveKilledAtAnyMomentLeavesAWholePreferencesFile) {
    keyDefReset();
    tipsClear();
    prefsReset();
    ASSERT_TRUE(prefsSave());
    const std::string defaults = readFile("prefs.txt");
    keyLeft[0] = 37;
    tipDoNotShow[4] = 1;
    ASSERT_TRUE(prefsSave());
    const std::string changed = readFile("prefs.txt");
    ASSERT_NE(defaults, changed);
    cmSrand(11);
    for (int run = 0; run < 60; run++) {
        pid_t child = fork();
        if (child == 0) {
            for (int i = 0;; i++) {
                keyLeft[0] = i % 2 ? 65 : 37;
                tipDoNotShow[4] = static_cast<uint8_t>(i % 2 ? 0 : 1);
                prefsSave();
            }
        }
        usleep(static_cast<useconds_t>(200 + cmRand() % 5000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        std::string found = readFile("prefs.txt");
        ASSERT_TRUE(found == defaults || found == changed) << "run " << run << ": " << found;
    }
}

#endif

}  // namespace
