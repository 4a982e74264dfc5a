#include "fuzzfile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

void fuzzEnterScratchFolder() {
    static bool entered = false;
    if (entered) return;
    char dir[] = "/tmp/tq-fuzz-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) std::abort();
    entered = true;
}

void fuzzWriteFile(const char* name, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(name, "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}
