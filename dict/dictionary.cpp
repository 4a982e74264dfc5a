#include "dict/dictionary.h"

#include <bit>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include "Core/cmdebug.h"
#include "Core/cmhash.h"
#include "Core/cmpath.h"
#include "Core/cmrand.h"
#include "Core/cmstream/cmstream.h"
#include "dict/dictbytes.h"
#include "dict/dicthash.h"
#include "dict/dictindex.h"
#include "platform/platform.h"

wsList* dictBuckets[DICT_BUCKETS];
int32_t dictBucketSizes[DICT_BUCKETS];
char dictWordPool[DICT_POOL_SIZE + DICT_POOL_SLACK];
uint32_t dictWordPoolUsed = 0;
int32_t (*dictTraceScore)(const char* word) = nullptr;

static_assert(std::endian::native == std::endian::little, "lookups compare words as little-endian words");

namespace {

uint64_t dictLoadedHash;

// Random draws before dictPickWord falls back to a scan of every bucket. The
// shipped list needs a few hundred draws for its rarest length.
constexpr int32_t DICT_PICK_TRIES = 20000;

// The lookup table: every stored word of up to 15 bytes, zero-padded to 16,
// in open addressing by a hash of a few multiplications. dictIsWord finds a
// word, or finds it missing, with one read of the table where the buckets
// cost the design's hash (a chain of divisions), a table entry and the pool:
// the buckets stay as they are for the picker. Twice as many slots as words,
// or more, so that a miss meets an empty slot soon. An empty slot has a zero
// first byte, which no stored word has.
struct DictSlot {
    uint64_t k0, k1;
};
constexpr uint32_t DICT_SLOTS_MAX = 1u << 20;  // twice the word store's cells, rounded up
static_assert(DICT_SLOTS_MAX >= 2 * WS_ARENA_CELLS);
DictSlot dictSlots[DICT_SLOTS_MAX];
uint32_t dictSlotMask = 0;   // slots in use - 1
uint32_t dictSlotShift = 63;  // 64 - log2(slots in use)
uint32_t dictSlotsUsed = 1;   // slots the table spans, for dictClear to empty

// Each stored word's pool offset and bucket, in file order, from the pass that
// reads the file to the passes that build the lists and the lookup table. Every
// word takes a cell of the word store, so there are never more words than cells.
uint32_t dictLoadWordAt[WS_ARENA_CELLS];
int32_t dictLoadBucketOf[WS_ARENA_CELLS];
// The word offsets sorted by bucket, file order kept within each, and each
// bucket's next place among them.
uint32_t dictLoadByBucket[WS_ARENA_CELLS];
uint32_t dictLoadCursor[DICT_BUCKETS];
// One bit per bucket that has a word: small enough to stay in the nearest cache
// while the file is read.
uint64_t dictLoadBucketSeen[(DICT_BUCKETS + 63) / 64];

// The slot a word starts its search at.
inline uint32_t dictSlotOf(uint64_t k0, uint64_t k1) {
    const uint64_t h = (k0 ^ (k1 * 0x9E3779B97F4A7C15u)) * 0xD6E8FEB86659FD93u;
    return static_cast<uint32_t>((h ^ (h >> 29)) * 0xBF58476D1CE4E5B9u >> dictSlotShift) & dictSlotMask;
}

}  // namespace

bool dictFingerprint = true;

void dictClear() {
    std::memset(dictBuckets, 0, sizeof dictBuckets);
    std::memset(dictBucketSizes, 0, sizeof dictBucketSizes);
    std::memset(dictSlots, 0, sizeof(DictSlot) * dictSlotsUsed);
    dictSlotsUsed = 1;
    dictSlotMask = 0;
    dictSlotShift = 63;
    dictWordPoolUsed = 0;
    dictLoadedHash = 0;
    wsArenaReset();
    dictIndexClear();
}

namespace {

// The length of the word a line of `lineBytes` bytes (its line feed
// included) holds, or 0 when it holds none.
inline uint32_t dictLineWord(const char* line, uint32_t lineBytes) {
    // A line with its line end must fit the 256-byte line buffer.
    if (lineBytes >= DICT_LINE_SIZE) return 0;
    if (line[0] == '\r' || line[0] == '/') return 0;
    uint32_t n = lineBytes - 1;
    // A CR LF end loses its CR; a bare line feed keeps the whole word.
    if (n > 0 && line[n - 1] == '\r') n--;
    return n;
}

// Finds the next line that holds a word, from *next up to end; false when no
// line feed is left (text after the last line feed is not read).
bool dictNextWord(const char** next, const char* end, const char** word, uint32_t* length) {
    for (;;) {
        const char* line = *next;
        const char* lineFeed = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (lineFeed == nullptr) return false;
        const uint32_t lineBytes = static_cast<uint32_t>(lineFeed - line) + 1;
        *next = lineFeed + 1;
        const uint32_t n = dictLineWord(line, lineBytes);
        if (n == 0) continue;
        *word = line;
        *length = n;
        return true;
    }
}

// dictNextWord for the common line, a short word: its line end is found among
// the 16 bytes read from its start, which then are the word's key as well.
// *hasKey says whether *k0 and *k1 hold the word zero-padded to 16 bytes (a
// word of at most 15 bytes, with 16 bytes of text from its start).
inline bool dictNextWordKeyed(const char** next, const char* end, const char** word, uint32_t* length, uint64_t* k0,
                              uint64_t* k1, bool* hasKey) {
    for (;;) {
        const char* line = *next;
        const bool wide = end - line >= 16;
        uint64_t v0 = 0, v1 = 0;
        const char* lineFeed = nullptr;
        if (wide) {
            v0 = dictLoad8(line);
            v1 = dictLoad8(line + 8);
            const uint64_t lf = 0x0A0A0A0A0A0A0A0Au;
            const uint64_t z0 = dictZeroBytesApprox(v0 ^ lf);
            const uint64_t z1 = dictZeroBytesApprox(v1 ^ lf);
            if (z0 != 0) {
                lineFeed = line + std::countr_zero(z0) / 8;
            } else if (z1 != 0) {
                lineFeed = line + 8 + std::countr_zero(z1) / 8;
            } else {
                lineFeed = static_cast<const char*>(std::memchr(line + 16, '\n', end - line - 16));
            }
        } else {
            lineFeed = static_cast<const char*>(std::memchr(line, '\n', end - line));
        }
        if (lineFeed == nullptr) return false;
        const uint32_t lineBytes = static_cast<uint32_t>(lineFeed - line) + 1;
        *next = lineFeed + 1;
        const uint32_t n = dictLineWord(line, lineBytes);
        if (n == 0) continue;
        *word = line;
        *length = n;
        *hasKey = wide && n < 16;
        if (*hasKey) {
            *k0 = v0 & dictByteMask(n);
            *k1 = n > 8 ? v1 & dictByteMask(n - 8) : 0;
        }
        return true;
    }
}

}  // namespace

namespace {

DictLoadFailure dictLastFailure = DICT_LOADED;

// Says why on standard error and remembers the reason; always false.
CM_PRINTF_FORMAT(2, 3) bool dictRefuse(DictLoadFailure why, const char* format, ...) {
    dictLastFailure = why;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    return false;
}

bool dictOnlyWhiteSpace(const char* text, uint32_t size) {
    for (uint32_t i = 0; i < size; i++) {
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') return false;
    }
    return true;
}

}  // namespace

namespace {

// The word of `length` bytes (1 to 15) and its zero as two 64-bit words, the
// bytes past the zero zero too. Read as two overlapping loads of 4 or 8 bytes
// each, so no load passes the zero.
inline void dictShortKey(const char* word, size_t length, uint64_t* k0, uint64_t* k1) {
    const size_t n = length + 1;
    *k0 = 0;
    *k1 = 0;
    if (n >= 8) {
        *k0 = dictLoad8(word);
        const uint64_t tail = dictLoad8(word + n - 8);
        *k1 = n > 8 ? tail >> (8 * (16 - n)) : 0;
    } else if (n >= 4) {
        uint32_t head;
        uint32_t tail;
        std::memcpy(&head, word, 4);
        std::memcpy(&tail, word + n - 4, 4);
        *k0 = head | (static_cast<uint64_t>(tail) >> (8 * (8 - n))) << 32;
    } else {
        for (size_t i = 0; i < length; i++) *k0 |= static_cast<uint64_t>(static_cast<unsigned char>(word[i])) << (8 * i);
    }
}

// The lookup table for the `words` words just stored, right after dictClear
// emptied it: at least twice as many slots as words, a power of two. The slots
// are scattered over megabytes, so each word's slot is fetched a few words
// ahead of its turn, and the reads overlap instead of waiting one by one.
void dictBuildLookup(uint32_t words) {
    uint32_t bits = 1;
    while ((1u << bits) < 2 * words) bits++;
    const uint32_t slots = 1u << bits;
    dictSlotsUsed = slots;
    dictSlotMask = slots - 1;
    dictSlotShift = 64 - bits;
    constexpr uint32_t AHEAD = 16;
    struct Pending {
        uint64_t k0, k1;
        uint32_t slot;
        bool longer;  // 16 bytes or more: looked up through its bucket instead
    } pending[AHEAD];
    for (uint32_t n = 0; n < words + AHEAD; n++) {
        if (n >= AHEAD) {
            const Pending& p = pending[n % AHEAD];
            if (!p.longer) {
                uint32_t i = p.slot;
                while (dictSlots[i].k0 != 0 && (dictSlots[i].k0 != p.k0 || dictSlots[i].k1 != p.k1)) {
                    i = (i + 1) & dictSlotMask;
                }
                dictSlots[i] = DictSlot{p.k0, p.k1};
            }
        }
        if (n < words) {
            const uint32_t at = dictLoadWordAt[n];
            const uint32_t end = n + 1 < words ? dictLoadWordAt[n + 1] : dictWordPoolUsed;
            const size_t length = end - at - 1;
            Pending& p = pending[n % AHEAD];
            p.longer = length >= 16;
            if (p.longer) continue;
            // The pool's slack makes 16 bytes readable from any word.
            p.k0 = dictLoad8(dictWordPool + at) & dictByteMask(length);
            p.k1 = length > 8 ? dictLoad8(dictWordPool + at + 8) & dictByteMask(length - 8) : 0;
            p.slot = dictSlotOf(p.k0, p.k1);
            __builtin_prefetch(&dictSlots[p.slot], 1);
        }
    }
}

// Each bucket's list, holding its words in file order. The lists are made
// bucket by bucket, so that a list's head and nodes lie side by side in the
// word store and every cell is written once, in order.
void dictBuildLists(uint32_t words) {
    // A loop of its own: the counts are scattered, and here their reads overlap.
    for (uint32_t n = 0; n < words; n++) dictBucketSizes[dictLoadBucketOf[n]]++;
    uint32_t at = 0;
    for (int32_t b = 0; b < DICT_BUCKETS; b++) {
        dictLoadCursor[b] = at;
        at += static_cast<uint32_t>(dictBucketSizes[b]);
    }
    for (uint32_t n = 0; n < words; n++) dictLoadByBucket[dictLoadCursor[dictLoadBucketOf[n]]++] = dictLoadWordAt[n];
    uint32_t next = 0;
    for (int32_t b = 0; b < DICT_BUCKETS; b++) {
        const uint32_t end = next + static_cast<uint32_t>(dictBucketSizes[b]);
        if (next == end) continue;
        wsListCreate(&dictBuckets[b]);
        for (; next < end; next++) wsListAppend(dictBuckets[b], dictLoadByBucket[next]);
    }
}

// The load's trace: each stored word, in file order, that scores more than any before it.
void dictTraceBest(uint32_t words) {
    if (dictTraceScore == nullptr) return;
    int32_t bestScore = 0;
    for (uint32_t n = 0; n < words; n++) {
        const char* word = dictWordPool + dictLoadWordAt[n];
        const int32_t score = dictTraceScore(word);
        if (score > bestScore) {
            bestScore = score;
            cmDebugPrint("Best word found so far: %s, scores %d.", word, score);
        }
    }
}

}  // namespace

DictLoadFailure dictLoadFailure() { return dictLastFailure; }

uint64_t dictFileHash() { return dictLoadedHash; }

namespace {

// dictLoad; with `indexed`, the solver's index too, grown on a second thread
// from the words noted as they are stored, while the load makes its tables.
bool dictLoadInto(bool indexed) {
    dictLastFailure = DICT_LOADED;
    char name[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_DATA, DICT_FILE, name, sizeof name)) {
        return dictRefuse(DICT_MISSING, "tarvoquelms: the dictionary %s cannot be found: the game cannot tell "
                          "which folder holds its data.\n", DICT_FILE);
    }
    // Larger than the buffer, or than the stream's 32-bit size can tell.
    const int64_t fileSize = platFileSize(name);
    if (fileSize >= static_cast<int64_t>(FILE_TEXT_SIZE)) {
        return dictRefuse(DICT_TOO_BIG, "tarvoquelms: the dictionary %s is too big: %lld bytes; it must be "
                          "smaller than %u.\n", name, static_cast<long long>(fileSize), FILE_TEXT_SIZE);
    }
    cmStreamOpenDesc desc = {name, "rb", nullptr};
    cmStream* stream = nullptr;
    errno = 0;
    if (cmStreamOpenFile(&stream, &desc) != CM_OK) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            return dictRefuse(DICT_MISSING, "tarvoquelms: the dictionary %s is missing (%s).\n", name,
                              std::strerror(error));
        }
        return dictRefuse(DICT_UNREADABLE, "tarvoquelms: the dictionary %s cannot be read (%s).\n", name,
                          error ? std::strerror(error) : "it cannot be opened");
    }

    uint32_t size = 0;
    cmStreamGetSize(stream, &size);
    if (size >= FILE_TEXT_SIZE) {
        cmStreamDestroy(&stream);
        return dictRefuse(DICT_TOO_BIG, "tarvoquelms: the dictionary %s is too big: %u bytes; it must be smaller "
                          "than %u.\n", name, size, FILE_TEXT_SIZE);
    }
    errno = 0;
    if (cmStreamRead(stream, fileText, size) != CM_OK) {
        const int error = errno;
        cmStreamDestroy(&stream);
        return dictRefuse(DICT_UNREADABLE, "tarvoquelms: the dictionary %s cannot be read (%s).\n", name,
                          error ? std::strerror(error) : "it ended early");
    }
    cmStreamDestroy(&stream);
    fileText[size] = '\0';
    // A zero byte would end the text early: such a file is not a word list.
    if (std::memchr(fileText, '\0', size) != nullptr) {
        return dictRefuse(DICT_NOT_A_WORD_LIST, "tarvoquelms: the dictionary %s is not a word list: it holds a "
                          "zero byte.\n", name);
    }
    const char* const textEnd = fileText + size;
    const char* next = fileText;
    const char* line = nullptr;
    uint32_t length = 0;
    // A file without a single word is no dictionary; the last one stays.
    if (!dictNextWord(&next, textEnd, &line, &length)) {
        if (dictOnlyWhiteSpace(fileText, size)) {
            return dictRefuse(DICT_EMPTY, "tarvoquelms: the dictionary %s is empty: it holds no words.\n", name);
        }
        return dictRefuse(DICT_NOT_A_WORD_LIST, "tarvoquelms: the dictionary %s is not a word list: none of its "
                          "lines holds a word.\n", name);
    }

    dictClear();
    dictIndexNotesClear();
    if (dictFingerprint) dictLoadedHash = cmHashBytes(CM_HASH_START, fileText, size);
    // One pass in file order: each word upper-cased onto the end of the pool
    // and its bucket noted. The words that
    // fit the word store (a head for each bucket, a node for each word) are
    // those before the first that does not.
    std::memset(dictLoadBucketSeen, 0, sizeof dictLoadBucketSeen);
    uint32_t cellsLeft = WS_ARENA_CELLS;
    uint32_t loaded = 0;
    next = fileText;
    uint64_t k0 = 0, k1 = 0;
    bool hasKey = false;
    while (dictNextWordKeyed(&next, textEnd, &line, &length, &k0, &k1, &hasKey)) {
        if (hasKey) {
            k0 = dictUpperCase(k0);
            k1 = dictUpperCase(k1);
        }
        const int32_t bucket = hasKey ? dictHashShort(k0, k1, length) : dictHashBytes<true>(line, length);
        uint64_t& seen = dictLoadBucketSeen[bucket / 64];
        const uint64_t bit = uint64_t{1} << (bucket % 64);
        const uint32_t cellsNeeded = (seen & bit) != 0 ? 1 : 2;
        if (cellsLeft < cellsNeeded || DICT_POOL_SIZE - dictWordPoolUsed < length + 1) {
            uint32_t refused = 1;
            while (dictNextWord(&next, textEnd, &line, &length)) refused++;
            std::fprintf(stderr, "worddiction.txt: the word store is full; %u words were loaded and %u refused.\n",
                         loaded, refused);
            break;
        }
        seen |= bit;
        cellsLeft -= cellsNeeded;
        char* word = dictWordPool + dictWordPoolUsed;
        if (hasKey) {
            // Zero-padded: the word and its terminator in two stores (the pool's slack
            // takes the bytes past the last word).
            std::memcpy(word, &k0, 8);
            std::memcpy(word + 8, &k1, 8);
        } else {
            for (uint32_t i = 0; i < length; i++) {
                const char c = line[i];
                word[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            }
            word[length] = '\0';
        }
        if (indexed && length < 16) {
            if (!hasKey) {
                // Near the file's end the line was not read 16 bytes at a time.
                k0 = dictLoad8(word) & dictByteMask(length);
                k1 = length > 8 ? dictLoad8(word + 8) & dictByteMask(length - 8) : 0;
            }
            dictIndexNote(k0, k1, length, dictWordPoolUsed);
        }
        dictLoadWordAt[loaded] = dictWordPoolUsed;
        dictLoadBucketOf[loaded] = bucket;
        dictWordPoolUsed += length + 1;
        loaded++;
    }
    // The words are stored: the index may be grown from them while the
    // tables are made.
    std::thread helper;
    if (indexed) {
        try {
            helper = std::thread(dictIndexBuildNoted);
        } catch (const std::system_error&) {
            dictIndexBuildNoted();  // no second thread: the same work in turn
        }
    }
    dictBuildLists(loaded);
    dictBuildLookup(loaded);
    dictTraceBest(loaded);
    if (helper.joinable()) helper.join();
    return true;
}

}  // namespace

bool dictLoad() { return dictLoadInto(false); }

bool dictLoadIndexed() {
    if (dictLoadInto(true)) return true;
    // A load that failed kept the words before it: their index, as ever.
    dictIndexBuild();
    return false;
}

namespace {

// A word of up to 15 bytes (the game's longest is 15 letters) is looked up
// without a branch on each letter: it is held zero-padded in two 64-bit words
// and compared with a slot 16 bytes at a time, so a lookup takes few wrong
// turns and the processor keeps several lookups' memory reads going at once.
bool dictIsShortWord(const char* word, size_t length) {
    if (length == 0) return false;
    uint64_t k0, k1;
    dictShortKey(word, length, &k0, &k1);
    // A blank grid cell shows as a space, so a path through one is never a word.
    const uint64_t m0 = dictByteMask(length);
    const uint64_t m1 = length > 8 ? dictByteMask(length - 8) : 0;
    const uint64_t spaces = 0x2020202020202020u;
    const uint64_t notSpace0 = ~dictZeroBytes(k0 ^ spaces) | ~m0;
    const uint64_t notSpace1 = ~dictZeroBytes(k1 ^ spaces) | ~m1;
    if ((notSpace0 & notSpace1 & 0x8080808080808080u) != 0x8080808080808080u) return false;
    for (uint32_t i = dictSlotOf(k0, k1);; i = (i + 1) & dictSlotMask) {
        const DictSlot& slot = dictSlots[i];
        if (slot.k0 == k0 && slot.k1 == k1) return true;
        if (slot.k0 == 0) return false;
    }
}

}  // namespace

bool dictIsWord(const char* word) {
    const size_t length = std::strlen(word);
    if (length < 16) return dictIsShortWord(word, length);
    // A blank grid cell shows as a space, so a path through one is never a word.
    if (std::memchr(word, ' ', length) != nullptr) return false;
    const wsList* list = dictBuckets[dictHashBytes<false>(word, static_cast<uint32_t>(length))];
    if (list == nullptr) return false;
    for (uint32_t at = list->first; at != WS_NULL; at = wsArena[at / WS_CELL_SIZE].node.next) {
        if (std::strcmp(dictWordPool + wsArena[at / WS_CELL_SIZE].node.value, word) == 0) return true;
    }
    return false;
}

const char* dictPickWord(int32_t length) {
    for (int32_t attempt = 0; attempt < DICT_PICK_TRIES; attempt++) {
        // Draws reach buckets 0 to 32767 only.
        const int32_t bucket = cmRand() % DICT_BUCKETS;
        const wsList* list = dictBuckets[bucket];
        if (list == nullptr) continue;
        uint32_t count = 0;
        wsListCount(list, &count);
        if (count == 0) continue;
        const uint32_t index = static_cast<uint32_t>(cmRand()) % count;
        uint32_t offset = 0;
        wsListGet(list, index, &offset);
        const char* word = dictWordPool + offset;
        if (std::strlen(word) == static_cast<size_t>(length)) {
            cmDebugPrint("Chose word: %s", word);
            return word;
        }
        cmDebugPrint("Rejected word: %s", word);
    }

    // Every bucket, including those the draws cannot reach, in order.
    for (int32_t bucket = 0; bucket < DICT_BUCKETS; bucket++) {
        const wsList* list = dictBuckets[bucket];
        if (list == nullptr) continue;
        uint32_t count = 0;
        wsListCount(list, &count);
        for (uint32_t i = 0; i < count; i++) {
            uint32_t offset = 0;
            wsListGet(list, i, &offset);
            const char* word = dictWordPool + offset;
            if (std::strlen(word) == static_cast<size_t>(length)) {
                cmDebugPrint("Chose word: %s", word);
                return word;
            }
        }
    }
    return nullptr;
}
