// The port layer's files and folders, as the system under the backend gives
// them: on Linux the POSIX calls, on Windows the wide-character ones (these
// tests run there under Wine). Names are UTF-8 in any language.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "Core/cmpath.h"
#include "flow/folders.h"
#include "flow/keydefs.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/settings.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// A user name no single-byte code page holds.
const char* const WIDE_NAME = "J\xC3\xBCrgen \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC";

fs::path pathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        const fs::path base = fs::temp_directory_path();
        for (int i = 0; i < 100 && top.empty(); i++) {
            const fs::path candidate = base / ("tqfiles" + std::to_string(random()));
            if (fs::create_directory(candidate)) top = utf8Of(candidate);
        }
        ASSERT_FALSE(top.empty());
        headlessReset();
        cmPathReset();
    }
    void TearDown() override {
        cmPathReset();
        headlessReset();
        std::error_code ignored;
        fs::remove_all(pathOf(top), ignored);
    }

    std::string at(const std::string& name) const { return top + "/" + name; }

    static std::string readAll(const std::string& name) {
        FILE* f = platFileOpen(name.c_str(), "rb");
        if (!f) return "<cannot open>";
        std::string bytes;
        char chunk[512];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
        std::fclose(f);
        return bytes;
    }

    std::string top;
};

TEST_F(Files, NamesInAnyLanguageMakeSaveReadAndRenameTheRightFiles) {
    const std::string folder = at(WIDE_NAME) + "/deeper/still";
    ASSERT_TRUE(platFolderMake(folder.c_str()));
    EXPECT_EQ(platPathKind(folder.c_str()), PLAT_PATH_FOLDER);
    // The system shows the same name, not one spelled in another code page.
    EXPECT_TRUE(fs::is_directory(pathOf(folder)));

    const std::string name = folder + "/" + WIDE_NAME + ".txt";
    const std::string bytes("first;\r\n\0second\n", 16);
    ASSERT_TRUE(platFileSave(name.c_str(), bytes.data(), static_cast<int32_t>(bytes.size())));
    EXPECT_EQ(platPathKind(name.c_str()), PLAT_PATH_FILE);
    EXPECT_EQ(platFileSize(name.c_str()), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(readAll(name), bytes) << "the bytes as given, line ends too";

    const std::string other = folder + "/other.txt";
    ASSERT_TRUE(platFileSave(other.c_str(), "old", 3));
    ASSERT_TRUE(platFileRename(name.c_str(), other.c_str())) << "a rename replaces the file of the new name";
    EXPECT_EQ(readAll(other), bytes);
    EXPECT_EQ(platPathKind(name.c_str()), PLAT_PATH_NONE);
    EXPECT_EQ(platFileSize(name.c_str()), -1);
}

TEST_F(Files, ASaveReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    const std::string name = at("data.txt");
    const std::string longer(5000, 'a');
    ASSERT_TRUE(platFileSave(name.c_str(), longer.data(), static_cast<int32_t>(longer.size())));
    ASSERT_TRUE(platFileSave(name.c_str(), "short", 5));
    EXPECT_EQ(readAll(name), "short");
    EXPECT_EQ(platPathKind((name + ".tmp").c_str()), PLAT_PATH_NONE);
    ASSERT_TRUE(platFileSave(name.c_str(), "", 0));
    EXPECT_EQ(platFileSize(name.c_str()), 0);
}

TEST_F(Files, AFailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    struct Case {
        const char* what;
        const char* inTheWay;  // made a folder, so that step must fail
        int reason;
    };
    const Case cases[] = {
        {"the temporary file cannot be made", "data.txt.tmp", EISDIR},
        {"the file cannot be replaced", "data.txt", EISDIR},
    };
    for (const Case& c : cases) {
        const std::string name = at("data.txt");
        platFolderRemoveAll(name.c_str());
        platFolderRemoveAll((name + ".tmp").c_str());
        if (std::string(c.inTheWay) != "data.txt") {
            ASSERT_TRUE(platFileSave(name.c_str(), "old", 3));
        }
        ASSERT_TRUE(platFolderMake(at(c.inTheWay).c_str()));
        errno = 0;
        EXPECT_FALSE(platFileSave(name.c_str(), "new", 3)) << c.what;
        EXPECT_EQ(errno, c.reason) << c.what;
        if (std::string(c.inTheWay) != "data.txt") {
            EXPECT_EQ(readAll(name), "old") << c.what;
        } else {
            EXPECT_EQ(platPathKind((name + ".tmp").c_str()), PLAT_PATH_NONE) << c.what;
        }
    }
}

TEST_F(Files, FoldersAreMadeOnceAndAFileInTheWayIsRefused) {
    const std::string folder = at("a/b/c");
    ASSERT_TRUE(platFolderMake(folder.c_str()));
    EXPECT_TRUE(platFolderMake(folder.c_str())) << "there already";
    EXPECT_TRUE(platFolderWritable(folder.c_str()));
    ASSERT_TRUE(platFileSave(at("file").c_str(), "x", 1));
    errno = 0;
    EXPECT_FALSE(platFolderMake(at("file/below").c_str()));
    EXPECT_NE(errno, 0);
    EXPECT_FALSE(platFolderWritable(at("missing").c_str()));
}

TEST_F(Files, TheSameFolderIsKnownUnderAnotherSpelling) {
    ASSERT_TRUE(platFolderMake(at("one/two").c_str()));
    ASSERT_TRUE(platFolderMake(at("three").c_str()));
    EXPECT_TRUE(platSameFolder(at("one").c_str(), at("one/two/..").c_str()));
    EXPECT_TRUE(platSameFolder(at("one/two").c_str(), at("one/./two").c_str()));
    EXPECT_FALSE(platSameFolder(at("one").c_str(), at("three").c_str()));
    EXPECT_FALSE(platSameFolder(at("one").c_str(), at("missing").c_str()));
}

TEST_F(Files, AScratchFolderIsNewEmptyAndGoesWithAllItHolds) {
    char first[CM_PATH_SIZE];
    char second[CM_PATH_SIZE];
    ASSERT_TRUE(platScratchFolderMake(first, sizeof first));
    ASSERT_TRUE(platScratchFolderMake(second, sizeof second));
    EXPECT_STRNE(first, second);
    EXPECT_TRUE(fs::is_empty(pathOf(first)));
    EXPECT_TRUE(platFolderWritable(first));
    ASSERT_TRUE(platFolderMake((std::string(first) + "/inside/deeper").c_str()));
    ASSERT_TRUE(platFileSave((std::string(first) + "/inside/file").c_str(), "x", 1));
    platFolderRemoveAll(first);
    platFolderRemoveAll(second);
    EXPECT_EQ(platPathKind(first), PLAT_PATH_NONE);
    EXPECT_EQ(platPathKind(second), PLAT_PATH_NONE);
}

TEST_F(Files, TheUserSaveFolderIsTheSystemsPlaceForIt) {
    char folder[CM_PATH_SIZE];
    const char* why = "";
    ASSERT_TRUE(platUserSaveFolder(folder, sizeof folder, &why)) << why;
    const std::string f = folder;
    EXPECT_EQ(f.find('\\'), std::string::npos) << "'/' between folders: " << f;
#ifdef _WIN32
    const std::string end = "/AppData/Roaming/Tarvo Quelms";
#else
    const std::string end = "tarvoquelms";
#endif
    ASSERT_GE(f.size(), end.size());
    EXPECT_EQ(f.substr(f.size() - end.size()), end) << f;
}

// hi.txt, prefs.txt and settings.ini go to and come back from a save folder
// whose name holds the user's name, wherever the option puts it.
TEST_F(Files, TheGameSavesAndLoadsInAFolderNamedInAnyLanguage) {
    const std::string saves = at(WIDE_NAME) + "/saves";
    testing::internal::CaptureStderr();
    foldersFind(saves.c_str());
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_STREQ(cmPathFolder(CM_PATH_SAVE), saves.c_str()) << said;
    EXPECT_EQ(platPathKind(saves.c_str()), PLAT_PATH_FOLDER);

    hiScoresReset();
    prefsReset();
    settings = Settings{false, 3, true, 40};
    ASSERT_TRUE(hiScoresSave());
    ASSERT_TRUE(prefsSave());
    ASSERT_TRUE(settingsSave());
    for (const char* name : {HISCORES_FILE, PREFS_FILE, SETTINGS_FILE}) {
        EXPECT_TRUE(fs::is_regular_file(pathOf(saves + "/" + name))) << name;
    }
    settingsReset();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(settingsLoad());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, 3);
    EXPECT_TRUE(settings.muted);
    EXPECT_EQ(settings.volume, 40);
}

#ifdef _WIN32
// Windows' own places: %APPDATA%/Tarvo Quelms by default, made when missing,
// with the saves an older game kept beside the program copied in; and
// TQ_SAVE_DIR read as the wide variable it is.
TEST_F(Files, WithoutAnOptionTheSavesGoToAppDataAndOldOnesFromBesideTheProgramCome) {
    char appData[CM_PATH_SIZE];
    const char* why = "";
    ASSERT_TRUE(platUserSaveFolder(appData, sizeof appData, &why)) << why;
    platFolderRemoveAll(appData);
    const std::string program = at("program");
    ASSERT_TRUE(platFolderMake(program.c_str()));
    ASSERT_TRUE(platFileSave((program + "/hi.txt").c_str(), "0;6;", 4));
    std::snprintf(headless.executableFolder, sizeof headless.executableFolder, "%s", program.c_str());
    _wputenv_s(L"TQ_SAVE_DIR", L"");

    testing::internal::CaptureStderr();
    foldersFind(nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_STREQ(cmPathFolder(CM_PATH_SAVE), appData) << said;
    EXPECT_EQ(platPathKind(appData), PLAT_PATH_FOLDER);
    EXPECT_EQ(readAll(std::string(appData) + "/hi.txt"), "0;6;");
    EXPECT_STREQ(cmPathFolder(CM_PATH_DATA), program.c_str());

    // "Jürgen" in the variable reaches the game as UTF-8.
    _wputenv_s(L"TQ_SAVE_DIR", (pathOf(top).wstring() + L"\\J\u00FCrgen").c_str());
    foldersFind(nullptr);
    _wputenv_s(L"TQ_SAVE_DIR", L"");
    EXPECT_EQ(std::string(cmPathFolder(CM_PATH_SAVE)), top + "\\J\xC3\xBCrgen");
    EXPECT_TRUE(fs::is_directory(pathOf(top) / L"J\u00FCrgen"));
    platFolderRemoveAll(appData);
}
#endif

}  // namespace
