// The prefix index: every stored word a grid can spell (3 to 15 letters, A to
// Z) as a tree of letters, so a search over a grid drops a path as soon as no
// word begins with its letters. Built from the words dictLoad stored, so it and
// dictIsWord always agree on which words exist.
#pragma once

#include <bit>
#include <cstdint>

#include "dict/dictionary.h"

constexpr int32_t DICT_INDEX_MIN_LENGTH = 3;
constexpr int32_t DICT_INDEX_MAX_LENGTH = 15;

// A word of n letters adds at most n nodes and takes n + 1 bytes of the pool,
// which a file that loads never fills: the index cannot run out of nodes.
constexpr uint32_t DICT_INDEX_NODES = DICT_POOL_SIZE;
constexpr uint32_t DICT_INDEX_ROOT = 0;
constexpr uint32_t DICT_INDEX_NONE = 0xFFFFFFFFu;
// In a node's `children`: a word ends at this node.
constexpr uint32_t DICT_INDEX_WORD = 1u << 31;

struct DictIndexNode {
    uint32_t children;  // bit l set: a child for the letter 'A' + l; DICT_INDEX_WORD
    uint32_t first;     // the lowest letter's child; the others follow it in letter order
};

extern DictIndexNode dictIndexNodes[DICT_INDEX_NODES];
extern uint32_t dictIndexNodeCount;
// Different words in the index.
extern uint32_t dictIndexWordCount;

// Builds the index from the words the dictionary holds now. Run once, right
// after dictLoad; it takes nothing from the general heap.
void dictIndexBuild();
// dictLoad, then dictIndexBuild, as one: the load notes each word as it
// stores it, and the index is grown from the notes on a second thread while
// the load makes its other tables. The same result, sooner.
bool dictLoadIndexed();
// The steps dictIndexBuild and dictLoadIndexed share: forget the notes; note
// a stored word of 1 to 15 bytes, zero-padded in k0 and k1, at pool offset
// `at` (in file order; words no grid can spell are passed over); build the
// index of the noted words.
void dictIndexNotesClear();
void dictIndexNote(uint64_t k0, uint64_t k1, uint32_t length, uint32_t at);
void dictIndexBuildNoted();
// The index of no words: the root alone. dictClear empties it too, so an index
// never outlives the words it was built from.
void dictIndexClear();

// The child of `node` for letter l (0 for A to 25 for Z), or DICT_INDEX_NONE.
inline uint32_t dictIndexChild(uint32_t node, uint32_t l) {
    const DictIndexNode& n = dictIndexNodes[node];
    const uint32_t bit = 1u << l;
    if ((n.children & bit) == 0) return DICT_INDEX_NONE;
    return n.first + static_cast<uint32_t>(std::popcount(n.children & (bit - 1)));
}

inline bool dictIndexEndsWord(uint32_t node) { return (dictIndexNodes[node].children & DICT_INDEX_WORD) != 0; }
