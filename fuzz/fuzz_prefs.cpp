// prefsLoad on any file. Whatever it took in, saving and loading again is
// stable: the second save writes the same bytes as the first.
#include <cstdio>
#include <cstring>

#include "flow/keydefs.h"
#include "fuzzfile.h"
#include "persist/prefs.h"

namespace {
size_t readAll(const char* name, char* buffer, size_t room) {
    FILE* f = std::fopen(name, "rb");
    if (!f) return 0;
    size_t n = std::fread(buffer, 1, room, f);
    std::fclose(f);
    return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static char first[4096];
    static char second[4096];
    fuzzEnterScratchFolder();
    fuzzWriteFile("prefs.txt", data, size);
    prefsLoad();
    if (!prefsSave()) return 0;
    size_t a = readAll("prefs.txt", first, sizeof first);
    if (!prefsLoad() || !prefsSave()) __builtin_trap();
    size_t b = readAll("prefs.txt", second, sizeof second);
    if (a != b || std::memcmp(first, second, a) != 0) __builtin_trap();
    return 0;
}
