#include "dict/dictindex.h"

#include <cstring>

#include "dict/wordstore.h"

DictIndexNode dictIndexNodes[DICT_INDEX_NODES];
uint32_t dictIndexNodeCount = 1;
uint32_t dictIndexWordCount = 0;

namespace {

constexpr uint32_t DICT_INDEX_LETTERS = 26;

// Pool offsets of the words being placed, sorted letter by letter into the
// other array and back. Every stored word takes a cell of the word store, so
// there are never more words than cells.
uint32_t dictIndexWordsA[WS_ARENA_CELLS];
uint32_t dictIndexWordsB[WS_ARENA_CELLS];

// The words from[lo..hi) share their first `depth` letters, the path to
// `node`. The node gets its children, side by side in letter order, and each
// child the words that continue with its letter, sorted into `to`.
void dictIndexGrow(uint32_t node, uint32_t* from, uint32_t* to, uint32_t lo, uint32_t hi, uint32_t depth) {
    if (hi - lo == 1) {
        // One word below: a chain of single children, most of the index's
        // nodes, laid without counting.
        for (const char* c = dictWordPool + from[lo] + depth; *c != '\0'; c++) {
            const uint32_t child = dictIndexNodeCount++;
            dictIndexNodes[node] = DictIndexNode{1u << (*c - 'A'), child};
            node = child;
        }
        dictIndexNodes[node] = DictIndexNode{DICT_INDEX_WORD, dictIndexNodeCount};
        dictIndexWordCount++;
        return;
    }
    uint32_t count[DICT_INDEX_LETTERS] = {};
    uint32_t children = 0;
    bool ends = false;
    for (uint32_t i = lo; i < hi; i++) {
        const char c = dictWordPool[from[i] + depth];
        if (c == '\0') {
            ends = true;
        } else {
            count[c - 'A']++;
            children |= 1u << (c - 'A');
        }
    }
    const uint32_t first = dictIndexNodeCount;
    dictIndexNodeCount += static_cast<uint32_t>(std::popcount(children));
    dictIndexNodes[node] = DictIndexNode{children | (ends ? DICT_INDEX_WORD : 0), first};
    if (ends) dictIndexWordCount++;

    // Words that end here take no place below; the rest go by their next
    // letter, in letter order.
    uint32_t start[DICT_INDEX_LETTERS];
    uint32_t next[DICT_INDEX_LETTERS];
    uint32_t at = lo;
    for (uint32_t m = children; m != 0; m &= m - 1) {
        const int l = std::countr_zero(m);
        start[l] = next[l] = at;
        at += count[l];
    }
    for (uint32_t i = lo; i < hi; i++) {
        const char c = dictWordPool[from[i] + depth];
        if (c != '\0') to[next[c - 'A']++] = from[i];
    }
    uint32_t child = first;
    for (uint32_t m = children; m != 0; m &= m - 1) {
        const int l = std::countr_zero(m);
        dictIndexGrow(child++, to, from, start[l], start[l] + count[l], depth + 1);
    }
}

}  // namespace

void dictIndexClear() {
    dictIndexNodes[DICT_INDEX_ROOT] = DictIndexNode{0, 0};
    dictIndexNodeCount = 1;
    dictIndexWordCount = 0;
}

void dictIndexBuild() {
    dictIndexClear();
    // The pool holds each stored word once per line that held it, one after
    // another with their zero bytes.
    uint32_t words = 0;
    for (uint32_t at = 0; at < dictWordPoolUsed;) {
        const char* word = dictWordPool + at;
        uint32_t length = 0;
        bool letters = true;
        for (; word[length] != '\0'; length++) letters = letters && word[length] >= 'A' && word[length] <= 'Z';
        // Only words of 3 to 15 of A to Z can come off a grid of letters.
        if (letters && length >= DICT_INDEX_MIN_LENGTH && length <= DICT_INDEX_MAX_LENGTH) {
            dictIndexWordsA[words++] = at;
        }
        at += length + 1;
    }
    dictIndexGrow(DICT_INDEX_ROOT, dictIndexWordsA, dictIndexWordsB, 0, words, 0);
}
