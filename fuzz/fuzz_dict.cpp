// dictLoad on any file, then lookups and picks on whatever it stored, and the
// prefix index built from it checked against the stored words.
#include <cstring>

#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "fuzzfile.h"

namespace {

// Every word the index holds below `node` (spelt so far in word[0..length))
// is a stored word.
void checkIndexWords(uint32_t node, char* word, int32_t length) {
    word[length] = '\0';
    if (dictIndexEndsWord(node) && (length < DICT_INDEX_MIN_LENGTH || !dictIsWord(word))) __builtin_trap();
    for (uint32_t l = 0; l < 26; l++) {
        const uint32_t child = dictIndexChild(node, l);
        if (child == DICT_INDEX_NONE) continue;
        if (length == DICT_INDEX_MAX_LENGTH || child >= dictIndexNodeCount) __builtin_trap();
        word[length] = static_cast<char>('A' + l);
        checkIndexWords(child, word, length + 1);
    }
}

// Whether the index holds exactly this word.
bool indexHolds(const char* word) {
    uint32_t node = DICT_INDEX_ROOT;
    for (const char* c = word; *c != '\0'; c++) {
        if (*c < 'A' || *c > 'Z') return false;
        node = dictIndexChild(node, static_cast<uint32_t>(*c - 'A'));
        if (node == DICT_INDEX_NONE) return false;
    }
    return dictIndexEndsWord(node);
}

}  // namespace

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

    // The index holds each stored word of 3 to 15 of A to Z, and nothing else.
    dictIndexBuild();
    if (dictIndexNodeCount > DICT_INDEX_NODES) __builtin_trap();
    for (uint32_t at = 0; at < dictWordPoolUsed; at += static_cast<uint32_t>(std::strlen(dictWordPool + at)) + 1) {
        const char* stored = dictWordPool + at;
        const size_t length = std::strlen(stored);
        bool letters = true;
        for (const char* c = stored; *c != '\0'; c++) letters = letters && *c >= 'A' && *c <= 'Z';
        const bool spellable = letters && length >= DICT_INDEX_MIN_LENGTH && length <= DICT_INDEX_MAX_LENGTH;
        if (indexHolds(stored) != spellable) __builtin_trap();
    }
    char spelt[DICT_INDEX_MAX_LENGTH + 1];
    checkIndexWords(DICT_INDEX_ROOT, spelt, 0);
    return 0;
}
