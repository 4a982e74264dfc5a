// The dictionary: every word of worddiction.txt in a hash table of word-store
// lists over one pool of upper-case word texts, in file order; lookups go
// through a table of their own (see dictionary.cpp).
#pragma once

#include <cstdint>

#include "Core/filetext.h"
#include "dict/wordstore.h"

constexpr int32_t DICT_BUCKETS = 100003;  // prime: bucket count and hash modulus
constexpr uint32_t DICT_POOL_SIZE = 2000000;
constexpr int32_t DICT_LINE_SIZE = 256;  // a line with its line end must be shorter

extern wsList* dictBuckets[DICT_BUCKETS];
extern int32_t dictBucketSizes[DICT_BUCKETS];
// Bytes after the pool's end, so that the loader and the lookup table may
// read or write any stored word 16 bytes at a time.
constexpr uint32_t DICT_POOL_SLACK = 16;
extern char dictWordPool[DICT_POOL_SIZE + DICT_POOL_SLACK];  // list values are offsets into it
extern uint32_t dictWordPoolUsed;

// The loader's trace reports each word that scores more than any before it,
// to cmDebugPrint, with the score this gives (the rules' own, such as
// wordScore for player 0). No trace while unset, as start-up leaves it.
extern int32_t (*dictTraceScore)(const char* word);
// Whether dictLoad works out dictFileHash. Only a recording or a replay names
// the list by it, and hashing the file byte by byte costs more than a
// millisecond: start-up asks for it only then. True unless set otherwise.
extern bool dictFingerprint;

// The word list, in the data folder.
constexpr const char* DICT_FILE = "worddiction.txt";

// Reads worddiction.txt from the data folder into the table, replacing
// what an earlier load stored. False when the file is missing, unreadable, of
// FILE_TEXT_SIZE bytes or more, holds a zero byte or holds no word; the table
// is then left as it was, and one line on standard error names the file and
// says why.
bool dictLoad();

// Why the last dictLoad returned false (DICT_LOADED after one that loaded).
enum DictLoadFailure : int32_t {
    DICT_LOADED,
    DICT_MISSING,
    DICT_UNREADABLE,       // there, but it cannot be opened or read
    DICT_EMPTY,            // nothing but white space
    DICT_TOO_BIG,          // FILE_TEXT_SIZE bytes or more
    DICT_NOT_A_WORD_LIST,  // a zero byte, or no line that holds a word
};
DictLoadFailure dictLoadFailure();
// cmHashBytes over the bytes of the word list the table holds; 0 when it holds
// none, or when it was loaded without dictFingerprint. A recorded game names
// its word list by this.
uint64_t dictFileHash();
// True when exactly this zero-terminated upper-case word is stored. A word with
// a space is never a word.
bool dictIsWord(const char* word);
// A random stored word of exactly length letters (through cmRand), or null when
// the dictionary has no word of that length at all.
const char* dictPickWord(int32_t length);
// Empties the table, the word store and the prefix index. The game loads once;
// tests start here.
void dictClear();
// Bucket index 0 to DICT_BUCKETS - 1 of a zero-terminated text.
int32_t dictHash(const char* text);
