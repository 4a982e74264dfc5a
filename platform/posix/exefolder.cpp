#include "platform/exefolder.h"

#include <unistd.h>

#include <cstring>

bool exeFolderRead(char* out, int32_t size) {
    if (size <= 1) return false;
    ssize_t n = readlink("/proc/self/exe", out, static_cast<size_t>(size) - 1);
    if (n <= 0 || n >= size - 1) return false;
    out[n] = '\0';
    char* slash = std::strrchr(out, '/');
    if (!slash) return false;
    if (slash == out) slash++;  // the root keeps its slash
    *slash = '\0';
    return true;
}
