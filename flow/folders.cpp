#include "flow/folders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Core/cmpath.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/safesave.h"
#include "platform/platform.h"
#include "video/sheetlayout.h"

namespace {

// Paths are UTF-8 with '/' between folders on every system.
std::string foldersJoin(const std::string& folder, const char* name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The folder holding `folder`; the root is its own.
std::string foldersParent(const std::string& folder) {
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// The sheet marks a folder as the game's data folder.
bool foldersHoldsData(const std::string& folder) {
    return platPathKind(foldersJoin(folder, SHEET_NAME).c_str()) == PLAT_PATH_FILE;
}

void foldersFindData(const char* executableFolder) {
    if (!executableFolder) {
        std::fprintf(stderr, "tarvoquelms: cannot tell where the program is, so its data cannot be found.\n");
        cmPathSetFolder(CM_PATH_DATA, nullptr);
        return;
    }
    const std::string beside(executableFolder);
    const std::string installed = foldersJoin(foldersJoin(foldersParent(beside), "share"), FOLDERS_GAME_NAME);
    // Where neither holds the data, the errors name the installed folder when
    // it is there (an installed game that lost its sheet), else the folder
    // beside the program.
    const bool useInstalled = !foldersHoldsData(beside) &&
                              (foldersHoldsData(installed) || platPathKind(installed.c_str()) == PLAT_PATH_FOLDER);
    cmPathSetFolder(CM_PATH_DATA, (useInstalled ? installed : beside).c_str());
}

// Empty when no variable names a place for it; *why then says what is missing.
std::string foldersSaveFolder(const char* saveDirOption, const char** why) {
    *why = "";
    if (saveDirOption && saveDirOption[0]) return saveDirOption;
    char found[CM_PATH_SIZE];
    if (platGetEnv("TQ_SAVE_DIR", found, sizeof found) && found[0]) return found;
    if (platUserSaveFolder(found, sizeof found, why)) return found;
    return {};
}

// Copies one old save across when the save folder has none: never lost, never
// overwritten.
void foldersCopyOldSave(const std::string& from, const std::string& to, const char* name) {
    const std::string source = foldersJoin(from, name);
    const std::string target = foldersJoin(to, name);
    if (platPathKind(source.c_str()) != PLAT_PATH_FILE || platPathKind(target.c_str()) != PLAT_PATH_NONE) return;
    FILE* in = platFileOpen(source.c_str(), "rb");
    if (!in) return;
    std::vector<char> bytes;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    const bool readWhole = !std::ferror(in);
    std::fclose(in);
    if (!readWhole) return;
    if (!safeSaveFile(target.c_str(), bytes.data(), static_cast<int32_t>(bytes.size()))) {
        std::fprintf(stderr, "tarvoquelms: could not copy %s into %s; it stays where it is.\n", source.c_str(),
                     to.c_str());
    }
}

void foldersFindSave(const char* saveDirOption, const char* executableFolder) {
    const char* why = "";
    const std::string save = foldersSaveFolder(saveDirOption, &why);
    if (save.empty()) {
        std::fprintf(stderr, "tarvoquelms: %s, so nothing will be saved.\n", why);
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    errno = 0;
    if (!platFolderMake(save.c_str())) {
        std::fprintf(stderr, "tarvoquelms: cannot make the save folder %s (%s), so nothing will be saved.\n",
                     save.c_str(), std::strerror(errno));
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    if (!cmPathSetFolder(CM_PATH_SAVE, save.c_str())) {
        std::fprintf(stderr, "tarvoquelms: the save folder's name is too long, so nothing will be saved.\n");
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    // Still read from, so the player's scores show even when they cannot be written.
    if (!platFolderWritable(save.c_str())) {
        std::fprintf(stderr, "tarvoquelms: the save folder %s cannot be written, so nothing will be saved.\n",
                     save.c_str());
        return;
    }
    if (executableFolder && !platSameFolder(executableFolder, save.c_str())) {
        for (const char* name : {HISCORES_FILE, PREFS_FILE}) foldersCopyOldSave(executableFolder, save, name);
    }
}

}  // namespace

void foldersFind(const char* saveDirOption) {
    char executableFolder[CM_PATH_SIZE];
    const bool known = platExecutableFolder(executableFolder, static_cast<int32_t>(sizeof executableFolder));
    foldersFindData(known ? executableFolder : nullptr);
    foldersFindSave(saveDirOption, known ? executableFolder : nullptr);
}
