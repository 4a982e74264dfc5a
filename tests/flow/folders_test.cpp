// Where the game finds its data and keeps its saves, from the program's own
// folder, the command line and the environment.
#include "flow/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Core/cmpath.h"
#include "platform/headless/headless.h"

namespace fs = std::filesystem;

namespace {

const char* const ENVIRONMENT[] = {"TQ_SAVE_DIR", "XDG_DATA_HOME", "HOME"};

class Folders : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/tqfoldersXXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        top = name;
        for (int i = 0; i < 3; i++) {
            const char* v = std::getenv(ENVIRONMENT[i]);
            hadEnv[i] = v != nullptr;
            oldEnv[i] = v ? v : "";
            unsetenv(ENVIRONMENT[i]);
        }
        setenv("HOME", (top / "home").c_str(), 1);
        headlessReset();
        cmPathReset();
        place(top / "prefix" / "bin");
    }

    void TearDown() override {
        for (int i = 0; i < 3; i++) {
            if (hadEnv[i]) {
                setenv(ENVIRONMENT[i], oldEnv[i].c_str(), 1);
            } else {
                unsetenv(ENVIRONMENT[i]);
            }
        }
        cmPathReset();
        headlessReset();
        std::error_code ignored;
        fs::remove_all(top, ignored);
    }

    // The program runs from `folder`.
    void place(const fs::path& folder) {
        fs::create_directories(folder);
        std::snprintf(headless.executableFolder, sizeof headless.executableFolder, "%s", folder.c_str());
    }

    static void writeFile(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static std::string readFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Runs foldersFind and returns what went to standard error.
    static std::string find(const char* option = nullptr) {
        testing::internal::CaptureStderr();
        foldersFind(option);
        return testing::internal::GetCapturedStderr();
    }

    static std::string folder(CmPathKind kind) {
        const char* f = cmPathFolder(kind);
        return f ? f : "<unusable>";
    }

    fs::path top;
    bool hadEnv[3];
    std::string oldEnv[3];
};

TEST_F(Folders, DataIsBesideTheProgramElseInTheSharedFolderOfItsPrefix) {
    writeFile(top / "prefix/share/tarvoquelms/ALL", "sheet");
    find();
    EXPECT_EQ(folder(CM_PATH_DATA), (top / "prefix/share/tarvoquelms").string());

    // A build folder keeps its data beside the program, and that wins.
    writeFile(top / "prefix/bin/ALL", "sheet");
    find();
    EXPECT_EQ(folder(CM_PATH_DATA), (top / "prefix/bin").string());

    // With neither, the errors name the folder beside the program, never the working folder.
    place(top / "elsewhere");
    find();
    EXPECT_EQ(folder(CM_PATH_DATA), (top / "elsewhere").string());

    // An installed game that lost its sheet: the errors name the installed folder.
    place(top / "installed/bin");
    writeFile(top / "installed/share/tarvoquelms/worddiction.txt", "cat\n");
    find();
    EXPECT_EQ(folder(CM_PATH_DATA), (top / "installed/share/tarvoquelms").string());

    headless.executableFolder[0] = '\0';
    const std::string said = find();
    EXPECT_EQ(folder(CM_PATH_DATA), "<unusable>");
    EXPECT_NE(said.find("cannot tell where the program is"), std::string::npos) << said;
}

TEST_F(Folders, TheSaveFolderComesFromTheOptionThenTheVariablesThenHome) {
    struct Case {
        const char* option;
        const char* tqSaveDir;
        const char* xdgDataHome;
        const char* expected;
    };
    // Names starting with '/' are taken under the test's folder; others stay as they are.
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "/home/.local/share/tarvoquelms"},
        {nullptr, nullptr, "/xdg", "/xdg/tarvoquelms"},
        {nullptr, nullptr, "relative/xdg", "/home/.local/share/tarvoquelms"},  // a relative XDG_DATA_HOME is invalid
        {nullptr, "/tq", "/xdg", "/tq"},
        {nullptr, "", "/xdg", "/xdg/tarvoquelms"},  // an empty variable counts as unset
        {"/opt", "/tq", "/xdg", "/opt"},
    };
    auto value = [this](const char* v) { return v[0] == '/' ? top.string() + v : std::string(v); };
    for (const Case& c : cases) {
        unsetenv("TQ_SAVE_DIR");
        unsetenv("XDG_DATA_HOME");
        if (c.tqSaveDir) setenv("TQ_SAVE_DIR", value(c.tqSaveDir).c_str(), 1);
        if (c.xdgDataHome) setenv("XDG_DATA_HOME", value(c.xdgDataHome).c_str(), 1);
        const std::string option = c.option ? value(c.option) : "";
        EXPECT_EQ(find(c.option ? option.c_str() : nullptr), "") << c.expected;
        EXPECT_EQ(folder(CM_PATH_SAVE), value(c.expected));
        EXPECT_TRUE(fs::is_directory(value(c.expected))) << c.expected;
    }
}

TEST_F(Folders, AMissingSaveFolderIsMadeForItsOwnerAlone) {
    find();
    struct stat st;
    ASSERT_EQ(stat((top / "home/.local/share/tarvoquelms").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A folder that is there already keeps the mode its owner gave it.
    chmod((top / "home/.local/share/tarvoquelms").c_str(), 0750);
    find();
    ASSERT_EQ(stat((top / "home/.local/share/tarvoquelms").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0750u);
}

TEST_F(Folders, ASaveFolderThatCannotBeMadeIsSaidOnceAndNothingIsSavedElsewhere) {
    writeFile(top / "blocked", "a file where the folder should be");
    const std::string said = find((top / "blocked/saves").c_str());
    EXPECT_EQ(folder(CM_PATH_SAVE), "<unusable>");
    EXPECT_NE(said.find((top / "blocked/saves").string()), std::string::npos) << said;
    EXPECT_NE(said.find("nothing will be saved"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;

    unsetenv("HOME");
    const std::string nowhere = find();
    EXPECT_EQ(folder(CM_PATH_SAVE), "<unusable>");
    EXPECT_NE(nowhere.find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << nowhere;
}

TEST_F(Folders, OldSavesBesideTheProgramAreCopiedOnlyWhereTheSaveFolderHasNone) {
    writeFile(top / "prefix/bin/hi.txt", "1;250;ESCAPES;105;1506;");
    writeFile(top / "prefix/bin/prefs.txt", "old prefs");
    const fs::path save = top / "home/.local/share/tarvoquelms";
    writeFile(save / "prefs.txt", "newer prefs");
    find();
    EXPECT_EQ(readFile(save / "hi.txt"), "1;250;ESCAPES;105;1506;");
    EXPECT_EQ(readFile(save / "prefs.txt"), "newer prefs");  // never overwritten
    EXPECT_EQ(readFile(top / "prefix/bin/hi.txt"), "1;250;ESCAPES;105;1506;");  // never lost
    EXPECT_FALSE(fs::exists(save / "hi.txt.tmp"));

    // Saving beside the program needs no copy of a file onto itself.
    const std::string said = find((top / "prefix/bin").c_str());
    EXPECT_EQ(said, "");
    EXPECT_EQ(readFile(top / "prefix/bin/prefs.txt"), "old prefs");
}

}  // namespace
