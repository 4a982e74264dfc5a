// The port layer's files and folders on Linux, for the SDL and headless
// backends: names are passed to the system as they are.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/platform.h"

namespace {

constexpr int32_t POSIX_PATH_SIZE = 4096;

bool posixWriteAll(int fd, const char* bytes, int32_t length) {
    int32_t done = 0;
    while (done < length) {
        ssize_t n = write(fd, bytes + done, static_cast<size_t>(length - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<int32_t>(n);
    }
    return true;
}

bool posixCopyOut(const std::string& text, char* out, int32_t size) {
    if (size <= 0 || text.size() >= static_cast<size_t>(size)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

int64_t filesSystemSize(const char* name) {
    struct stat st;
    if (!name || stat(name, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

FILE* platFileOpen(const char* name, const char* mode) { return std::fopen(name, mode); }

bool platFileSave(const char* name, const char* bytes, int32_t length) {
    if (length < 0) {
        errno = EINVAL;
        return false;
    }
    // Beside the old file, so the rename stays within one file system and is atomic.
    char tempName[POSIX_PATH_SIZE + 8];
    int n = std::snprintf(tempName, sizeof tempName, "%s.tmp", name);
    if (n < 0 || n >= static_cast<int>(sizeof tempName)) {
        errno = ENAMETOOLONG;
        return false;
    }
    int fd = open(tempName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    // The data must be on disk before the rename makes it the file, or a power
    // cut could leave the new name over empty blocks.
    bool ok = posixWriteAll(fd, bytes, length) && fsync(fd) == 0;
    // The first failure is the reason; what the clean-up does must not replace it.
    int reason = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && rename(tempName, name) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        unlink(tempName);
        errno = reason;
        return false;
    }
    // Makes the rename itself survive a power cut; a folder that cannot be
    // opened or synced does not undo a save that has already taken place.
    std::string folder(name);
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

bool platFileRename(const char* from, const char* to) { return rename(from, to) == 0; }

PlatPathKind platPathKind(const char* path) {
    struct stat st;
    if (!path || stat(path, &st) != 0) return PLAT_PATH_NONE;
    if (S_ISREG(st.st_mode)) return PLAT_PATH_FILE;
    if (S_ISDIR(st.st_mode)) return PLAT_PATH_FOLDER;
    return PLAT_PATH_OTHER;
}

bool platFolderMake(const char* path) {
    if (!path || !path[0]) {
        errno = ENOENT;
        return false;
    }
    const PlatPathKind kind = platPathKind(path);
    if (kind == PLAT_PATH_FOLDER) return true;
    if (kind != PLAT_PATH_NONE) {
        errno = ENOTDIR;
        return false;
    }
    std::string parent(path);
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    const size_t slash = parent.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        parent.resize(slash);
        if (!platFolderMake(parent.c_str())) return false;
    }
    if (mkdir(path, 0700) != 0) {
        if (platPathKind(path) == PLAT_PATH_FOLDER) return true;
        if (errno == EEXIST) errno = ENOTDIR;
        return false;
    }
    chmod(path, 0700);  // whatever the umask says
    return true;
}

bool platFolderWritable(const char* path) { return access(path, W_OK | X_OK) == 0; }

bool platSameFolder(const char* a, const char* b) {
    struct stat sa, sb;
    if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool platUserSaveFolder(char* out, int32_t size, const char** why) {
    *why = "";
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return posixCopyOut(std::string(xdg) + "/tarvoquelms", out, size);
    const char* home = std::getenv("HOME");
    if (home && home[0]) return posixCopyOut(std::string(home) + "/.local/share/tarvoquelms", out, size);
    *why = "neither XDG_DATA_HOME nor HOME is set";
    return false;
}

bool platScratchFolderMake(char* out, int32_t size) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/tarvoquelms-replay-XXXXXX";
    if (mkdtemp(name.data()) == nullptr) return false;
    if (!posixCopyOut(name, out, size)) {
        rmdir(name.c_str());
        return false;
    }
    return true;
}

void platFolderRemoveAll(const char* path) {
    struct stat st;
    if (lstat(path, &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* dir = opendir(path)) {
            while (const dirent* entry = readdir(dir)) {
                if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
                platFolderRemoveAll((std::string(path) + "/" + entry->d_name).c_str());
            }
            closedir(dir);
        }
        rmdir(path);
    } else {
        unlink(path);
    }
}

bool platGetEnv(const char* name, char* out, int32_t size) {
    const char* value = std::getenv(name);
    return value && posixCopyOut(value, out, size);
}
