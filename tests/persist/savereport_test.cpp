// The saves made at quit: each failure is one line on standard error with the
// file's path and the reason; a success, or a save folder already reported
// unusable at start-up, says nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "Core/cmpath.h"
#include "flow/keydefs.h"
#include "game/tips.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/safesave.h"
#include "persist/savereport.h"
#include "testfolder.h"

namespace {

class SaveReport : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        keyDefReset();
        tipsClear();
        prefsReset();
        hiScoresReset();
        ASSERT_TRUE(cmPathSetFolder(CM_PATH_SAVE, folder));
    }
    void TearDown() override {
        cmPathReset();
        TestFolder::TearDown();
    }

    // What the save said on standard error; `saved` gets its result.
    static std::string said(bool (*save)(), const char* name, bool* saved) {
        testing::internal::CaptureStderr();
        *saved = saveReportingFailure(save, name);
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(SaveReport, AFailedSaveSaysOneLineWithThePathAndTheReason) {
    struct Case {
        const char* name;
        bool (*save)();
        bool removeTheFolder;  // else the file is a folder
        const char* reason;
    };
    const Case cases[] = {
        {PREFS_FILE, prefsSave, false, "Is a directory"},
        {HISCORES_FILE, hiScoresSave, false, "Is a directory"},
#ifndef _WIN32
        // Windows keeps a process's working folder from being removed.
        {HISCORES_FILE, hiScoresSave, true, "No such file or directory"},
#endif
    };
    for (const Case& c : cases) {
        const std::string path = std::string(folder) + "/" + c.name;
        if (c.removeTheFolder) {
            removeFolder();
        } else {
            ASSERT_TRUE(makeFolder(path.c_str()));
        }
        bool saved = true;
        const std::string line = said(c.save, c.name, &saved);
        EXPECT_FALSE(saved) << c.name;
        EXPECT_EQ(line, "tarvoquelms: could not save " + path + ": " + c.reason + ".\n");
        if (c.removeTheFolder) {
            ASSERT_TRUE(makeFolder(folder));
        } else {
            ASSERT_TRUE(std::filesystem::remove(path));
        }
    }
}

TEST_F(SaveReport, ASaveThatWorksSaysNothing) {
    bool saved = false;
    EXPECT_EQ(said(prefsSave, PREFS_FILE, &saved), "");
    EXPECT_TRUE(saved);
    EXPECT_TRUE(fileExists("prefs.txt"));
}

TEST_F(SaveReport, WithoutASaveFolderStartUpHasAlreadySaidItAll) {
    cmPathSetFolder(CM_PATH_SAVE, nullptr);
    bool saved = true;
    EXPECT_EQ(said(hiScoresSave, HISCORES_FILE, &saved), "");
    EXPECT_FALSE(saved);
}

TEST_F(SaveReport, TheReasonIsTheFirstStepThatFailedNotTheCleanUp) {
    // The temporary file cannot be made: that is the reason given.
    ASSERT_TRUE(makeFolder("data.txt.tmp"));
    errno = 0;
    EXPECT_FALSE(safeSaveFile("data.txt", "new", 3));
    EXPECT_EQ(errno, EISDIR);
    // The rename over a folder fails after the temporary file was written and removed.
    ASSERT_TRUE(std::filesystem::remove("data.txt.tmp"));
    ASSERT_TRUE(makeFolder("data.txt"));
    errno = 0;
    EXPECT_FALSE(safeSaveFile("data.txt", "new", 3));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_FALSE(fileExists("data.txt.tmp"));
}

}  // namespace
