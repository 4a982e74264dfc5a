#include "flow/folders.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "Core/cmpath.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/safesave.h"
#include "platform/platform.h"
#include "video/sheetlayout.h"

namespace fs = std::filesystem;

namespace {

// The sheet marks a folder as the game's data folder.
bool foldersHoldsData(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / SHEET_NAME, ec);
}

void foldersFindData(const char* executableFolder) {
    if (!executableFolder) {
        std::fprintf(stderr, "tarvoquelms: cannot tell where the program is, so its data cannot be found.\n");
        cmPathSetFolder(CM_PATH_DATA, nullptr);
        return;
    }
    const fs::path beside(executableFolder);
    const fs::path installed = (beside.parent_path() / "share" / FOLDERS_GAME_NAME).lexically_normal();
    // Where neither holds the data, the errors name the installed folder when
    // it is there (an installed game that lost its sheet), else the folder
    // beside the program.
    std::error_code ec;
    const bool useInstalled =
        !foldersHoldsData(beside) && (foldersHoldsData(installed) || fs::is_directory(installed, ec));
    const fs::path& data = useInstalled ? installed : beside;
    cmPathSetFolder(CM_PATH_DATA, data.c_str());
}

// Empty when no variable names a place for it.
fs::path foldersSaveFolder(const char* saveDirOption) {
    if (saveDirOption && saveDirOption[0]) return saveDirOption;
    const char* own = std::getenv("TQ_SAVE_DIR");
    if (own && own[0]) return own;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return fs::path(xdg) / FOLDERS_GAME_NAME;
    const char* home = std::getenv("HOME");
    if (home && home[0]) return fs::path(home) / ".local" / "share" / FOLDERS_GAME_NAME;
    return {};
}

// Makes each missing folder of the path with mode 0700: saved games are the
// player's own.
bool foldersMake(const fs::path& folder, std::error_code& ec) {
    ec.clear();
    if (fs::is_directory(folder, ec)) return true;
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !foldersMake(parent, ec)) return false;
    if (!fs::create_directory(folder, ec) && !fs::is_directory(folder, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
        return false;
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    ec.clear();
    return true;
}

// Copies one old save across when the save folder has none: never lost, never
// overwritten.
void foldersCopyOldSave(const fs::path& from, const fs::path& to, const char* name) {
    std::error_code ec;
    if (!fs::is_regular_file(from / name, ec) || fs::exists(to / name, ec)) return;
    std::ifstream in(from / name, std::ios::binary);
    if (!in) return;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!safeSaveFile((to / name).c_str(), bytes.data(), static_cast<int32_t>(bytes.size()))) {
        std::fprintf(stderr, "tarvoquelms: could not copy %s into %s; it stays where it is.\n",
                     (from / name).c_str(), to.c_str());
    }
}

void foldersFindSave(const char* saveDirOption, const char* executableFolder) {
    const fs::path save = foldersSaveFolder(saveDirOption);
    if (save.empty()) {
        std::fprintf(stderr, "tarvoquelms: neither XDG_DATA_HOME nor HOME is set, so nothing will be saved.\n");
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    std::error_code ec;
    if (!foldersMake(save, ec)) {
        std::fprintf(stderr, "tarvoquelms: cannot make the save folder %s (%s), so nothing will be saved.\n",
                     save.c_str(), ec.message().c_str());
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    if (!cmPathSetFolder(CM_PATH_SAVE, save.c_str())) {
        std::fprintf(stderr, "tarvoquelms: the save folder's name is too long, so nothing will be saved.\n");
        cmPathSetFolder(CM_PATH_SAVE, nullptr);
        return;
    }
    // Still read from, so the player's scores show even when they cannot be written.
    if (access(save.c_str(), W_OK | X_OK) != 0) {
        std::fprintf(stderr, "tarvoquelms: the save folder %s cannot be written, so nothing will be saved.\n",
                     save.c_str());
        return;
    }
    if (executableFolder && !fs::equivalent(executableFolder, save, ec)) {
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
