#include "Core/cmpath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CmPath : public ::testing::Test {
protected:
    void SetUp() override { cmPathReset(); }
    void TearDown() override { cmPathReset(); }

    static std::string join(CmPathKind kind, const char* name) {
        char out[CM_PATH_SIZE];
        return cmPathJoin(kind, name, out, sizeof out) ? std::string(out) : std::string("<none>");
    }
};

TEST_F(CmPath, NamesJoinTheirFolderWithOneSlash) {
    struct Case {
        const char* folder;
        const char* expected;
    };
    const Case cases[] = {
        {"", "hi.txt"},  // the working folder
        {"/home/p/.local/share/tarvoquelms", "/home/p/.local/share/tarvoquelms/hi.txt"},
        {"/home/p/saves/", "/home/p/saves/hi.txt"},
        {"/", "/hi.txt"},
        {"relative/dir", "relative/dir/hi.txt"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(cmPathSetFolder(CM_PATH_SAVE, c.folder));
        EXPECT_EQ(join(CM_PATH_SAVE, "hi.txt"), c.expected) << c.folder;
    }
    EXPECT_EQ(join(CM_PATH_DATA, "ALL"), "ALL");  // the other folder is untouched
}

TEST_F(CmPath, AnUnusableFolderFormsNoPathRatherThanFallingBackToTheWorkingFolder) {
    ASSERT_TRUE(cmPathSetFolder(CM_PATH_SAVE, nullptr));
    EXPECT_EQ(cmPathFolder(CM_PATH_SAVE), nullptr);
    char out[CM_PATH_SIZE] = "stale";
    EXPECT_FALSE(cmPathJoin(CM_PATH_SAVE, "prefs.txt", out, sizeof out));
    EXPECT_STREQ(out, "");
}

TEST_F(CmPath, PathsThatDoNotFitAreRefusedWhole) {
    const std::string tooLong(CM_PATH_SIZE, 'a');
    ASSERT_TRUE(cmPathSetFolder(CM_PATH_DATA, "/usr/share/tarvoquelms"));
    EXPECT_FALSE(cmPathSetFolder(CM_PATH_DATA, tooLong.c_str()));
    EXPECT_STREQ(cmPathFolder(CM_PATH_DATA), "/usr/share/tarvoquelms");  // kept as it was

    char small[26];
    EXPECT_FALSE(cmPathJoin(CM_PATH_DATA, "worddiction.txt", small, sizeof small));
    EXPECT_STREQ(small, "");
    char exact[27];  // "/usr/share/tarvoquelms/ALL" and its end
    EXPECT_TRUE(cmPathJoin(CM_PATH_DATA, "ALL", exact, sizeof exact));
}

TEST_F(CmPath, TheParentIsTheFolderPartOrTheWorkingFolder) {
    struct Case {
        const char* path;
        const char* parent;
    };
    const Case cases[] = {
        {"/home/p/saves/prefs.txt", "/home/p/saves"},
        {"prefs.txt", "."},
        {"/prefs.txt", "/"},
        {"saves/prefs.txt", "saves"},
    };
    for (const Case& c : cases) {
        char out[CM_PATH_SIZE];
        ASSERT_TRUE(cmPathParent(c.path, out, sizeof out)) << c.path;
        EXPECT_STREQ(out, c.parent) << c.path;
    }
}

}  // namespace
