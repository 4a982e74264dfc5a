// dictLoad on any file, then lookups and picks on whatever it stored.
#include <cstring>

#include "Core/cmrand.h"
#include "dict/dictionary.h"
#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEnterScratchFolder();
    fuzzWriteFile("worddiction.txt", data, size);
    if (!dictLoad()) return 0;
    cmSrand(static_cast<uint32_t>(size));
    char word[32];
    for (int32_t length = 0; length <= 16; length++) {
        const char* w = dictPickWord(length);
        if (w && dictIsWord(w) == false && std::strchr(w, ' ') == nullptr) __builtin_trap();
    }
    size_t n = size < sizeof word - 1 ? size : sizeof word - 1;
    std::memcpy(word, data, n);
    word[n] = '\0';
    dictIsWord(word);
    return 0;
}
