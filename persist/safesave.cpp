#include "persist/safesave.h"

#include "Core/cmpath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t SAFE_SAVE_NAME = CM_PATH_SIZE + 8;

bool safeSaveWriteAll(int fd, const char* bytes, int32_t length) {
    int32_t done = 0;
    while (done < length) {
        ssize_t n = write(fd, bytes + done, static_cast<size_t>(length - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<int32_t>(n);
    }
    return true;
}

}  // namespace

bool safeSaveFile(const char* name, const char* bytes, int32_t length) {
    if (length < 0) {
        errno = EINVAL;
        return false;
    }
    // Beside the old file, so the rename stays within one file system and is atomic.
    char tempName[SAFE_SAVE_NAME];
    int n = snprintf(tempName, sizeof tempName, "%s.tmp", name);
    if (n < 0 || n >= static_cast<int>(sizeof tempName)) {
        errno = ENAMETOOLONG;
        return false;
    }
    int fd = open(tempName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    // The data must be on disk before the rename makes it the file, or a power
    // cut could leave the new name over empty blocks.
    bool ok = safeSaveWriteAll(fd, bytes, length) && fsync(fd) == 0;
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
    char folder[CM_PATH_SIZE];
    int dirFd = cmPathParent(name, folder, sizeof folder) ? open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}
