#include "platform/exefolder.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/winsys/utf8.h"

bool exeFolderRead(char* out, int32_t size) {
    if (size <= 1) return false;
    wchar_t path[32768];
    const DWORD n = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
    if (n == 0 || n >= sizeof path / sizeof path[0]) return false;
    std::string text = wideToUtf8(path);
    // Inside the game folders are written with '/'.
    for (char& c : text) {
        if (c == '\\') c = '/';
    }
    const size_t slash = text.rfind('/');
    if (slash == std::string::npos) return false;
    // A drive's root keeps its slash ("C:/").
    text.resize(slash > 0 && text[slash - 1] == ':' ? slash + 1 : slash);
    if (text.size() >= static_cast<size_t>(size)) return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}
