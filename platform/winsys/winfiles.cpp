// The port layer's files and folders on Windows, for the Win32 backend and
// the headless one built for Windows: UTF-8 names go to the wide-character
// functions, so a user name in any language works.
#include "platform/files.h"
#include "platform/platform.h"

#include <windows.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/winsys/utf8.h"

namespace {

void setErrnoFromLastError() { errno = winErrno(GetLastError()); }

// Windows says "access denied" where a folder stands in a file's way; the
// player is told what is really wrong.
int fileErrno(DWORD error, const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return EISDIR;
    return winErrno(error);
}

// A UTF-8 name as the wide functions take it; empty (errno EINVAL) when the
// name is not UTF-8.
std::wstring widePath(const char* path) {
    std::wstring wide = utf8ToWidePath(path);
    if (wide.empty()) errno = path && path[0] ? EINVAL : ENOENT;
    return wide;
}

bool copyOut(const std::string& text, char* out, int32_t size) {
    if (size <= 0 || text.size() >= static_cast<size_t>(size)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

// Inside the game folders are written with '/'.
std::string gamePath(const wchar_t* path) {
    std::string text = wideToUtf8(path);
    for (char& c : text) {
        if (c == '\\') c = '/';
    }
    while (text.size() > 3 && text.back() == '/') text.pop_back();
    return text;
}

bool writeAll(HANDLE file, const char* bytes, int32_t length) {
    int32_t done = 0;
    while (done < length) {
        DWORD wrote = 0;
        if (!WriteFile(file, bytes + done, static_cast<DWORD>(length - done), &wrote, nullptr)) return false;
        done += static_cast<int32_t>(wrote);
    }
    return true;
}

// The folder's identity: its volume and index.
bool folderIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    const std::wstring wide = widePath(path);
    if (wide.empty()) return false;
    HANDLE h = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

void removeAll(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
            removeAll(path + L"\\" + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

int64_t filesSystemSize(const char* name) {
    const std::wstring wide = widePath(name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

FILE* platFileOpen(const char* name, const char* mode) {
    const std::wstring wide = widePath(name);
    const std::wstring wideMode = utf8ToWide(mode);
    if (wide.empty() || wideMode.empty()) return nullptr;
    return _wfopen(wide.c_str(), wideMode.c_str());
}

bool platFileSave(const char* name, const char* bytes, int32_t length) {
    if (length < 0) {
        errno = EINVAL;
        return false;
    }
    const std::wstring target = widePath(name);
    if (target.empty()) return false;
    // Beside the old file, so the move stays on one volume and replaces it whole.
    const std::wstring temp = target + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = fileErrno(GetLastError(), temp);
        return false;
    }
    // On the disk before the move makes it the file, or a power cut could
    // leave the new name over nothing.
    bool ok = writeAll(file, bytes, length) && FlushFileBuffers(file);
    // The first failure is the reason; what the clean-up does must not replace it.
    DWORD reason = ok ? 0 : GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        reason = GetLastError();
    }
    bool moving = false;
    if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        moving = true;
        reason = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        errno = moving ? fileErrno(reason, target) : winErrno(reason);
        return false;
    }
    return true;
}

bool platFileRename(const char* from, const char* to) {
    const std::wstring a = widePath(from);
    const std::wstring b = widePath(to);
    if (a.empty() || b.empty()) return false;
    if (!MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        setErrnoFromLastError();
        return false;
    }
    return true;
}

PlatPathKind platPathKind(const char* path) {
    const std::wstring wide = widePath(path);
    if (wide.empty()) return PLAT_PATH_NONE;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PLAT_PATH_NONE;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PLAT_PATH_FOLDER;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return PLAT_PATH_OTHER;
    return PLAT_PATH_FILE;
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
    while (parent.size() > 1 && (parent.back() == '/' || parent.back() == '\\')) parent.pop_back();
    const size_t slash = parent.find_last_of("/\\");
    // A drive ("C:") or the top of a share needs no making.
    if (slash != std::string::npos && slash > 0 && parent[slash - 1] != ':' && parent[slash - 1] != '/' &&
        parent[slash - 1] != '\\') {
        parent.resize(slash);
        if (!platFolderMake(parent.c_str())) return false;
    }
    const std::wstring wide = widePath(path);
    if (wide.empty()) return false;
    // The folder takes the rights of the one above it: under %APPDATA% the
    // user's alone.
    if (!CreateDirectoryW(wide.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (platPathKind(path) == PLAT_PATH_FOLDER) return true;
        errno = error == ERROR_ALREADY_EXISTS ? ENOTDIR : winErrno(error);
        return false;
    }
    return true;
}

bool platFolderWritable(const char* path) {
    if (platPathKind(path) != PLAT_PATH_FOLDER) return false;
    // Windows tells this only by trying.
    const std::wstring probe = widePath(path) + L"\\.tarvoquelms-" + std::to_wstring(GetCurrentProcessId());
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        setErrnoFromLastError();
        return false;
    }
    CloseHandle(file);
    return true;
}

bool platSameFolder(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!folderIdentity(a, &ia) || !folderIdentity(b, &ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

bool platUserSaveFolder(char* out, int32_t size, const char** why) {
    *why = "";
    wchar_t folder[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK || !folder[0]) {
        *why = "Windows does not tell where the application data folder (%APPDATA%) is";
        return false;
    }
    return copyOut(gamePath(folder) + "/Tarvo Quelms", out, size);
}

bool platScratchFolderMake(char* out, int32_t size) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) {
        setErrnoFromLastError();
        return false;
    }
    const std::string base = gamePath(temp);
    for (uint32_t attempt = 0; attempt < 100; attempt++) {
        char name[64];
        std::snprintf(name, sizeof name, "/tarvoquelms-replay-%lu-%lu-%u", static_cast<unsigned long>(GetCurrentProcessId()),
                      static_cast<unsigned long>(GetTickCount()), attempt);
        const std::string folder = base + name;
        if (CreateDirectoryW(widePath(folder.c_str()).c_str(), nullptr)) {
            if (copyOut(folder, out, size)) return true;
            RemoveDirectoryW(widePath(folder.c_str()).c_str());
            return false;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            setErrnoFromLastError();
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

void platFolderRemoveAll(const char* path) {
    const std::wstring wide = widePath(path);
    if (!wide.empty()) removeAll(wide);
}

bool platGetEnv(const char* name, char* out, int32_t size) {
    const std::wstring wideName = utf8ToWide(name);
    if (wideName.empty()) return false;
    const DWORD n = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0) return false;
    std::wstring value(n, L'\0');
    const DWORD got = GetEnvironmentVariableW(wideName.c_str(), value.data(), n);
    if (got == 0 || got >= n) return false;
    value.resize(got);
    return copyOut(wideToUtf8(value.c_str()), out, size);
}
