#include "Core/cmpath.h"

#include <cstdio>
#include <cstring>

namespace {

struct CmPathFolder {
    char name[CM_PATH_SIZE];
    bool usable;
};

CmPathFolder cmPathFolders[CM_PATH_KINDS] = {{"", true}, {"", true}};

}  // namespace

bool cmPathSetFolder(CmPathKind kind, const char* folder) {
    CmPathFolder& f = cmPathFolders[kind];
    if (!folder) {
        f.name[0] = '\0';
        f.usable = false;
        return true;
    }
    size_t length = std::strlen(folder);
    if (length >= sizeof f.name) return false;
    std::memcpy(f.name, folder, length + 1);
    f.usable = true;
    return true;
}

const char* cmPathFolder(CmPathKind kind) { return cmPathFolders[kind].usable ? cmPathFolders[kind].name : nullptr; }

bool cmPathJoin(CmPathKind kind, const char* name, char* out, size_t size) {
    if (size == 0) return false;
    out[0] = '\0';
    const CmPathFolder& f = cmPathFolders[kind];
    if (!f.usable || !name) return false;
    const size_t folderLength = std::strlen(f.name);
    const char* separator = folderLength == 0 || f.name[folderLength - 1] == '/' ? "" : "/";
    int n = std::snprintf(out, size, "%s%s%s", f.name, separator, name);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool cmPathParent(const char* path, char* out, size_t size) {
    if (size == 0) return false;
    const char* slash = std::strrchr(path, '/');
    if (!slash) {
        if (size < 2) return false;
        std::memcpy(out, ".", 2);
        return true;
    }
    // The root keeps its slash.
    size_t length = slash == path ? 1 : static_cast<size_t>(slash - path);
    if (length >= size) {
        out[0] = '\0';
        return false;
    }
    std::memcpy(out, path, length);
    out[length] = '\0';
    return true;
}

void cmPathReset() {
    for (CmPathFolder& f : cmPathFolders) f = CmPathFolder{"", true};
}
