#include "dict/dictionary.h"

#include <bit>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Core/cmdebug.h"
#include "Core/cmhash.h"
#include "Core/cmpath.h"
#include "Core/cmrand.h"
#include "Core/cmstream/cmstream.h"
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

// The pool holds each bucket's words as one run, buckets in order: bucket b's
// words lie from dictRunEnd[b - 1] (0 for bucket 0) up to dictRunEnd[b]. A
// lookup reads its run straight from here, two neighbouring entries of a table
// small enough to stay cached, then one stretch of the pool, instead of
// following the bucket pointer, the list head and its nodes: three scattered
// reads for every word looked up. The lists stay as they are for the picker.
// While loading, the entries count bytes and then serve as write positions.
uint32_t dictRunEnd[DICT_BUCKETS];

// One bit per bucket that holds a word: small enough to stay in the nearest
// cache, it answers most missing words without touching the tables above.
uint64_t dictBucketFilled[(DICT_BUCKETS + 63) / 64];

// Each loaded word's bucket, in file order, from the first pass of a load to
// the second, which then need not hash the word again. Every word takes a cell
// of the word store, so there are never more words than cells.
int32_t dictLoadBucketOf[WS_ARENA_CELLS];

}  // namespace

void dictClear() {
    std::memset(dictBuckets, 0, sizeof dictBuckets);
    std::memset(dictBucketSizes, 0, sizeof dictBucketSizes);
    std::memset(dictRunEnd, 0, sizeof dictRunEnd);
    std::memset(dictBucketFilled, 0, sizeof dictBucketFilled);
    dictWordPoolUsed = 0;
    dictLoadedHash = 0;
    wsArenaReset();
    dictIndexClear();
}

namespace {

// Finds the next line that holds a word, from *next up to end; false when no
// line feed is left (text after the last line feed is not read).
bool dictNextWord(const char** next, const char* end, const char** word, uint32_t* length) {
    for (;;) {
        const char* line = *next;
        const char* lineFeed = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (lineFeed == nullptr) return false;
        const uint32_t lineBytes = static_cast<uint32_t>(lineFeed - line) + 1;
        *next = lineFeed + 1;

        // A line with its line end must fit the 256-byte line buffer.
        if (lineBytes >= DICT_LINE_SIZE) continue;
        if (line[0] == '\r' || line[0] == '/') continue;
        uint32_t n = lineBytes - 1;
        // A CR LF end loses its CR; a bare line feed keeps the whole word.
        if (n > 0 && line[n - 1] == '\r') n--;
        if (n == 0) continue;
        *word = line;
        *length = n;
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

DictLoadFailure dictLoadFailure() { return dictLastFailure; }

uint64_t dictFileHash() { return dictLoadedHash; }

bool dictLoad() {
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
    dictLoadedHash = cmHashBytes(CM_HASH_START, fileText, size);
    // First pass, in file order: count each bucket's pool bytes, and
    // trace the best-scoring word. The words that fit the word store are those
    // before the first that does not.
    const char* cut = textEnd;
    uint32_t cellsLeft = WS_ARENA_CELLS;
    uint32_t poolLeft = DICT_POOL_SIZE;
    uint32_t loaded = 0;
    int32_t bestScore = 0;
    char lineBuffer[DICT_LINE_SIZE];
    do {
        for (uint32_t i = 0; i < length; i++) {
            const char c = line[i];
            lineBuffer[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
        lineBuffer[length] = '\0';
        const int32_t bucket = dictHashBytes<false>(lineBuffer, length);
        // Every word takes at least two bytes, so a bucket with none is new.
        const uint32_t cellsNeeded = dictRunEnd[bucket] == 0 ? 2 : 1;
        if (cellsLeft < cellsNeeded || poolLeft < length + 1) {
            cut = line;
            break;
        }
        const int32_t score = dictTraceScore ? dictTraceScore(lineBuffer) : 0;
        if (score > bestScore) {
            bestScore = score;
            cmDebugPrint("Best word found so far: %s, scores %d.", lineBuffer, score);
        }
        cellsLeft -= cellsNeeded;
        poolLeft -= length + 1;
        dictRunEnd[bucket] += length + 1;
        dictLoadBucketOf[loaded] = bucket;
        loaded++;
    } while (dictNextWord(&next, textEnd, &line, &length));
    if (cut != textEnd) {
        uint32_t refused = 1;
        while (dictNextWord(&next, textEnd, &line, &length)) refused++;
        std::fprintf(stderr, "worddiction.txt: the word store is full; %u words were loaded and %u refused.\n",
                     loaded, refused);
    }

    // Each bucket gets one run of the pool, in bucket order, so that a lookup
    // finds a bucket's words side by side.
    uint32_t poolAt = 0;
    for (uint32_t& bytes : dictRunEnd) {
        const uint32_t n = bytes;
        bytes = poolAt;
        poolAt += n;
    }
    dictWordPoolUsed = poolAt;

    // Second pass, in file order: each word is upper-cased into its bucket's
    // run; within a bucket the file order stays.
    next = fileText;
    for (uint32_t n = 0; dictNextWord(&next, cut, &line, &length); n++) {
        const int32_t bucket = dictLoadBucketOf[n];
        char* word = dictWordPool + dictRunEnd[bucket];
        for (uint32_t i = 0; i < length; i++) {
            const char c = line[i];
            word[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
        word[length] = '\0';
        dictRunEnd[bucket] += length + 1;
    }

    // The lists, bucket by bucket: a bucket's head and nodes lie side by side in
    // the word store too.
    uint32_t at = 0;
    for (int32_t bucket = 0; bucket < DICT_BUCKETS; bucket++) {
        const uint32_t end = dictRunEnd[bucket];
        if (at == end) continue;
        wsListCreate(&dictBuckets[bucket]);
        dictBucketFilled[bucket / 64] |= uint64_t{1} << (bucket % 64);
        for (; at < end; at += static_cast<uint32_t>(std::strlen(dictWordPool + at)) + 1) {
            wsListAppend(dictBuckets[bucket], at);
            dictBucketSizes[bucket]++;
        }
    }
    return true;
}

namespace {

// Mask of the first n bytes (n = 0 to 8) of a 64-bit word.
uint64_t dictByteMask(size_t n) { return n >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * n)) - 1; }

uint64_t dictLoad8(const char* bytes) {
    uint64_t v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

// The top bit of each byte that is zero in v, exact up to the first zero byte
// (a byte after a zero one may be flagged wrongly).
uint64_t dictZeroBytesApprox(uint64_t v) { return (v - 0x0101010101010101u) & ~v & 0x8080808080808080u; }

// The top bit of each byte that is zero in v, exactly.
uint64_t dictZeroBytes(uint64_t v) {
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Fu;
    return ~(((v & low7) + low7) | v | low7);
}

// A word of up to 15 bytes (the game's longest is 15 letters) is looked up
// without a branch on each letter: it is held zero-padded in two 64-bit words,
// hashed with every factor past its end set to 1, and compared with each stored
// word 16 bytes at a time, terminator included. A lookup then takes few wrong
// turns, and the processor keeps several lookups' memory reads going at once.
bool dictIsShortWord(const char* word, size_t length) {
    // The word and its zero, n bytes, read as two overlapping loads of 4 or 8
    // bytes each, so no load passes the zero; bytes past it are zero.
    const size_t n = length + 1;
    uint64_t k0 = 0;
    uint64_t k1 = 0;
    if (n >= 8) {
        k0 = dictLoad8(word);
        const uint64_t tail = dictLoad8(word + n - 8);
        k1 = n > 8 ? tail >> (8 * (16 - n)) : 0;
    } else if (n >= 4) {
        uint32_t head;
        uint32_t tail;
        std::memcpy(&head, word, 4);
        std::memcpy(&tail, word + n - 4, 4);
        k0 = head | (static_cast<uint64_t>(tail) >> (8 * (8 - n))) << 32;
    } else {
        for (size_t i = 0; i < length; i++) k0 |= static_cast<uint64_t>(static_cast<unsigned char>(word[i])) << (8 * i);
    }
    char key[16];
    std::memcpy(key, &k0, 8);
    std::memcpy(key + 8, &k1, 8);
    // A blank grid cell shows as a space, so a path through one is never a word.
    const uint64_t m0 = dictByteMask(length);
    const uint64_t m1 = length > 8 ? dictByteMask(length - 8) : 0;
    const uint64_t spaces = 0x2020202020202020u;
    const uint64_t notSpace0 = ~dictZeroBytes(k0 ^ spaces) | ~m0;
    const uint64_t notSpace1 = ~dictZeroBytes(k1 ^ spaces) | ~m1;
    if ((notSpace0 & notSpace1 & 0x8080808080808080u) != 0x8080808080808080u) return false;

    // The same hash as dictHashBytes: products of five factors, then reduced.
    // Three groups in three variables: independent chains the processor runs
    // side by side (an array here went through memory on every factor).
    auto factor = [&](uint32_t i) -> int64_t {
        return i < length ? static_cast<signed char>(key[i]) + static_cast<int64_t>(i) : 1;
    };
    int64_t group0 = 1, group1 = 1, group2 = 1;
    for (uint32_t i = 0; i < 5; i++) {
        group0 *= factor(i);
        group1 *= factor(i + 5);
        group2 *= factor(i + 10);
    }
    int64_t h = group0 % DICT_HASH_MODULUS;
    h = h * group1 % DICT_HASH_MODULUS;
    h = h * group2 % DICT_HASH_MODULUS;
    if (h < 0) h += DICT_HASH_MODULUS;
    const int32_t bucket = static_cast<int32_t>(h);
    if ((dictBucketFilled[bucket / 64] >> (bucket % 64) & 1) == 0) return false;

    uint32_t at = bucket == 0 ? 0 : dictRunEnd[bucket - 1];
    const uint32_t end = dictRunEnd[bucket];
    const uint64_t t0 = dictByteMask(length + 1);
    const uint64_t t1 = length + 1 > 8 ? dictByteMask(length + 1 - 8) : 0;
    // The run holds a word (its bucket is filled). A stored word is read 16
    // bytes at a time; the pool's slack makes that safe at its very end.
    bool found = false;
    do {
        const char* stored = dictWordPool + at;
        const uint64_t s0 = dictLoad8(stored);
        const uint64_t s1 = dictLoad8(stored + 8);
        found = (((s0 ^ k0) & t0) | ((s1 ^ k1) & t1)) == 0;
        const uint32_t zero0 = static_cast<uint32_t>(std::countr_zero(dictZeroBytesApprox(s0))) / 8;
        const uint32_t zero1 = static_cast<uint32_t>(std::countr_zero(dictZeroBytesApprox(s1))) / 8;
        uint32_t storedLength = zero0 < 8 ? zero0 : 8 + zero1;
        if (storedLength == 16) storedLength = static_cast<uint32_t>(std::strlen(stored));
        at += storedLength + 1;
    } while (!found && at < end);
    return found;
}

}  // namespace

bool dictIsWord(const char* word) {
    const size_t length = std::strlen(word);
    if (length < 16) return dictIsShortWord(word, length);
    // A blank grid cell shows as a space, so a path through one is never a word.
    if (std::memchr(word, ' ', length) != nullptr) return false;
    const int32_t bucket = dictHashBytes<false>(word, static_cast<uint32_t>(length));
    // The bucket's words in list order, as its list would give them.
    uint32_t at = bucket == 0 ? 0 : dictRunEnd[bucket - 1];
    const uint32_t end = dictRunEnd[bucket];
    while (at < end) {
        const char* stored = dictWordPool + at;
        if (std::strcmp(stored, word) == 0) return true;
        at += static_cast<uint32_t>(std::strlen(stored)) + 1;
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
