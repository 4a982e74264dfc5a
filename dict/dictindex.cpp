#include "dict/dictindex.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dict/dictbytes.h"
#include "dict/wordstore.h"

DictIndexNode dictIndexNodes[DICT_INDEX_NODES];
uint32_t dictIndexNodeCount = 1;
uint32_t dictIndexWordCount = 0;

namespace {

constexpr uint32_t DICT_INDEX_LETTERS = 26;

// Pool offsets of the words to place, sorted, and for each the number of
// letters it shares with the word before it. Every stored word takes a cell of
// the word store, so there are never more words than cells.
uint32_t dictIndexWords[WS_ARENA_CELLS];
uint8_t dictIndexShared[WS_ARENA_CELLS];

// Every node in the order a walk of the trie meets it (the root first, then
// each word's letters past what it shares with the word before): its depth,
// its place among its parent's children, how many children it has, and their
// letters with DICT_INDEX_WORD. Read back in the same order to lay the nodes.
uint8_t dictIndexDepthOf[DICT_INDEX_NODES];
uint8_t dictIndexRankOf[DICT_INDEX_NODES];
uint8_t dictIndexChildCount[DICT_INDEX_NODES];
uint32_t dictIndexChildren[DICT_INDEX_NODES];

// The sorted words, one after another. Each node's children get a block of
// their own, side by side in letter order, when the walk reaches the node: the
// children of the nodes near the root lie near them, as a search over a grid
// walks them. Two straight passes: the first counts each node's children, the
// second lays the blocks.
void dictIndexGrow(uint32_t words) {
    uint32_t nodes = 1;
    dictIndexDepthOf[0] = 0;
    dictIndexChildCount[0] = 0;
    dictIndexChildren[0] = 0;
    uint32_t path[DICT_INDEX_MAX_LENGTH + 1] = {};  // the walk's nodes down to the last word's end
    for (uint32_t n = 0; n < words; n++) {
        const char* word = dictWordPool + dictIndexWords[n];
        uint32_t depth = n == 0 ? 0 : dictIndexShared[n];
        for (; word[depth] != '\0'; depth++) {
            const uint32_t parent = path[depth];
            const uint32_t node = nodes++;
            dictIndexDepthOf[node] = static_cast<uint8_t>(depth + 1);
            dictIndexRankOf[node] = dictIndexChildCount[parent]++;
            dictIndexChildCount[node] = 0;
            dictIndexChildren[node] = 0;
            dictIndexChildren[parent] |= 1u << (word[depth] - 'A');
            path[depth + 1] = node;
        }
        dictIndexChildren[path[depth]] |= DICT_INDEX_WORD;
    }
    uint32_t firstAt[DICT_INDEX_MAX_LENGTH + 2];  // the block of the walk's last node at each depth
    uint32_t next = 1;
    for (uint32_t node = 0; node < nodes; node++) {
        const uint32_t depth = dictIndexDepthOf[node];
        const uint32_t at = depth == 0 ? DICT_INDEX_ROOT : firstAt[depth - 1] + dictIndexRankOf[node];
        firstAt[depth] = next;
        dictIndexNodes[at] = DictIndexNode{dictIndexChildren[node], next};
        next += dictIndexChildCount[node];
        if (dictIndexChildren[node] & DICT_INDEX_WORD) dictIndexWordCount++;
    }
    dictIndexNodeCount = next;
}

}  // namespace

void dictIndexClear() {
    dictIndexNodes[DICT_INDEX_ROOT] = DictIndexNode{0, 0};
    dictIndexNodeCount = 1;
    dictIndexWordCount = 0;
}

namespace {

// What the notes have found so far.
struct DictIndexNotes {
    uint32_t words;
    bool sorted;
    uint64_t previous0, previous1;  // the last word noted, zero-padded
};
DictIndexNotes dictIndexNotes{0, true, 0, 0};

}  // namespace

void dictIndexNotesClear() { dictIndexNotes = DictIndexNotes{0, true, 0, 0}; }

void dictIndexNote(uint64_t k0, uint64_t k1, uint32_t length, uint32_t at) {
    // Only words of 3 to 15 of A to Z can come off a grid of letters.
    static_assert(DICT_INDEX_MAX_LENGTH < 16);
    if (length < DICT_INDEX_MIN_LENGTH || length > DICT_INDEX_MAX_LENGTH) return;
    const uint64_t m0 = dictByteMask(length);
    const uint64_t m1 = length > 8 ? dictByteMask(length - 8) : 0;
    if (((dictNotLetters(k0) & m0) | (dictNotLetters(k1) & m1)) != 0) return;
    // Where it first differs from the word before.
    DictIndexNotes& notes = dictIndexNotes;
    const uint64_t d0 = k0 ^ notes.previous0, d1 = k1 ^ notes.previous1;
    const uint32_t shared = d0 != 0   ? static_cast<uint32_t>(std::countr_zero(d0)) / 8
                            : d1 != 0 ? 8 + static_cast<uint32_t>(std::countr_zero(d1)) / 8
                                      : 16;
    // Letters and the zero byte order as their codes do.
    if (shared < 16) {
        const uint32_t bit = 8 * (shared % 8);
        const uint64_t now = (shared < 8 ? k0 : k1) >> bit & 0xFF;
        const uint64_t before = (shared < 8 ? notes.previous0 : notes.previous1) >> bit & 0xFF;
        if (now < before) notes.sorted = false;
    }
    dictIndexShared[notes.words] = static_cast<uint8_t>(shared < length ? shared : length);
    dictIndexWords[notes.words++] = at;
    notes.previous0 = k0;
    notes.previous1 = k1;
}

void dictIndexBuildNoted() {
    dictIndexClear();
    const uint32_t words = dictIndexNotes.words;
    if (words == 0) return;
    if (!dictIndexNotes.sorted) {
        std::sort(dictIndexWords, dictIndexWords + words,
                  [](uint32_t a, uint32_t b) { return std::strcmp(dictWordPool + a, dictWordPool + b) < 0; });
        for (uint32_t i = 1; i < words; i++) {
            const char* a = dictWordPool + dictIndexWords[i - 1];
            const char* b = dictWordPool + dictIndexWords[i];
            uint32_t shared = 0;
            while (a[shared] == b[shared] && a[shared] != '\0') shared++;
            dictIndexShared[i] = static_cast<uint8_t>(shared);
        }
    }
    dictIndexGrow(words);
}

void dictIndexBuild() {
    // The pool holds each stored word once per line that held it, in file
    // order, one after another with their zero bytes; its slack lets any word
    // be read 16 bytes at a time. A sorted file (the shipped one is) gives the
    // words sorted; another is sorted here.
    dictIndexNotesClear();
    for (uint32_t at = 0; at < dictWordPoolUsed;) {
        const char* word = dictWordPool + at;
        const uint64_t v0 = dictLoad8(word);
        const uint64_t v1 = dictLoad8(word + 8);
        const uint64_t z0 = dictZeroBytesApprox(v0);
        const uint64_t z1 = dictZeroBytesApprox(v1);
        if (z0 == 0 && z1 == 0) {
            at += static_cast<uint32_t>(std::strlen(word)) + 1;  // too long for a grid
            continue;
        }
        const uint32_t length = z0 != 0 ? static_cast<uint32_t>(std::countr_zero(z0)) / 8
                                        : 8 + static_cast<uint32_t>(std::countr_zero(z1)) / 8;
        const uint64_t m0 = dictByteMask(length);
        const uint64_t m1 = length > 8 ? dictByteMask(length - 8) : 0;
        dictIndexNote(v0 & m0, v1 & m1, length, at);
        at += length + 1;
    }
    dictIndexBuildNoted();
}

