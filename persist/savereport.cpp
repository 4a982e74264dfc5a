#include "persist/savereport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Core/cmpath.h"

bool saveReportingFailure(bool (*save)(), const char* fileName) {
    errno = 0;
    if (save()) return true;
    const int reason = errno;
    const char* folder = cmPathFolder(CM_PATH_SAVE);
    if (!folder) return false;
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, fileName, path, sizeof path)) {
        std::fprintf(stderr, "tarvoquelms: could not save %s in %s: the path is too long.\n", fileName, folder);
    } else {
        std::fprintf(stderr, "tarvoquelms: could not save %s: %s.\n", path,
                     reason != 0 ? std::strerror(reason) : "the reason is unknown");
    }
    return false;
}
