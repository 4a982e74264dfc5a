#include "dict/dictionary.h"

#include <cstdio>
#include <cstring>

#include "Core/cmdebug.h"
#include "Core/cmrand.h"
#include "Core/cmstream/cmstream.h"
#include "dict/dicthash.h"
#include "dict/dicttrace.h"

char fileText[FILE_TEXT_SIZE];
wsList* dictBuckets[DICT_BUCKETS];
int32_t dictBucketSizes[DICT_BUCKETS];
char dictWordPool[DICT_POOL_SIZE];
uint32_t dictWordPoolUsed = 0;

namespace {

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

}  // namespace

void dictClear() {
    std::memset(dictBuckets, 0, sizeof dictBuckets);
    std::memset(dictBucketSizes, 0, sizeof dictBucketSizes);
    std::memset(dictRunEnd, 0, sizeof dictRunEnd);
    dictWordPoolUsed = 0;
    wsArenaReset();
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

bool dictLoad() {
    char name[] = "worddiction.txt";
    cmStreamOpenDesc desc = {name, "rb", nullptr};
    cmStream* stream = nullptr;
    if (cmStreamOpenFile(&stream, &desc) != CM_OK) return false;

    uint32_t size = 0;
    cmStreamGetSize(stream, &size);
    if (size >= FILE_TEXT_SIZE) {
        std::fprintf(stderr, "worddiction.txt is %u bytes; a dictionary must be smaller than %u bytes.\n", size,
                     FILE_TEXT_SIZE);
        cmStreamDestroy(&stream);
        return false;
    }
    if (cmStreamRead(stream, fileText, size) != CM_OK) {
        cmStreamDestroy(&stream);
        return false;
    }
    cmStreamDestroy(&stream);
    fileText[size] = '\0';
    // A zero byte would end the text early: such a file is not a word list.
    if (std::memchr(fileText, '\0', size) != nullptr) {
        std::fprintf(stderr, "worddiction.txt holds a zero byte; it is not a word list.\n");
        return false;
    }
    const char* const textEnd = fileText + size;
    const char* next = fileText;
    const char* line = nullptr;
    uint32_t length = 0;
    // A file without a single word is no dictionary; the last one stays.
    if (!dictNextWord(&next, textEnd, &line, &length)) return false;

    dictClear();
    // First pass: count each bucket's words and pool bytes. The words that fit
    // the word store are those before the first that does not.
    const char* cut = textEnd;
    uint32_t cellsLeft = WS_ARENA_CELLS;
    uint32_t poolLeft = DICT_POOL_SIZE;
    uint32_t loaded = 0;
    do {
        const int32_t bucket = dictHashBytes<true>(line, length);
        const uint32_t cellsNeeded = dictBucketSizes[bucket] == 0 ? 2 : 1;
        if (cellsLeft < cellsNeeded || poolLeft < length + 1) {
            cut = line;
            break;
        }
        cellsLeft -= cellsNeeded;
        poolLeft -= length + 1;
        dictBucketSizes[bucket]++;
        dictRunEnd[bucket] += length + 1;
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
    int32_t bestScore = 0;
    next = fileText;
    while (dictNextWord(&next, cut, &line, &length)) {
        const int32_t bucket = dictHashBytes<true>(line, length);
        char* word = dictWordPool + dictRunEnd[bucket];
        for (uint32_t i = 0; i < length; i++) {
            const char c = line[i];
            word[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
        word[length] = '\0';
        dictRunEnd[bucket] += length + 1;
        const int32_t score = dictTraceScore(word);
        if (score > bestScore) {
            bestScore = score;
            cmDebugPrint("Best word found so far: %s, scores %d.", word, score);
        }
    }

    // The lists, bucket by bucket: a bucket's head and nodes lie side by side in
    // the word store too.
    uint32_t offset = 0;
    for (int32_t bucket = 0; bucket < DICT_BUCKETS; bucket++) {
        if (dictBucketSizes[bucket] == 0) continue;
        wsListCreate(&dictBuckets[bucket]);
        for (int32_t k = 0; k < dictBucketSizes[bucket]; k++) {
            wsListAppend(dictBuckets[bucket], offset);
            offset += static_cast<uint32_t>(std::strlen(dictWordPool + offset)) + 1;
        }
    }
    return true;
}

bool dictIsWord(const char* word) {
    // A blank grid cell shows as a space, so a path through one is never a word.
    size_t length = 0;
    for (; word[length] != '\0'; length++)
        if (word[length] == ' ') return false;
    const int32_t bucket = dictHashBytes<false>(word, static_cast<uint32_t>(length));
    // The bucket's words in list order, as its list would give them.
    uint32_t at = bucket == 0 ? 0 : dictRunEnd[bucket - 1];
    const uint32_t end = dictRunEnd[bucket];
    while (at < end) {
        const char* stored = dictWordPool + at;
        uint32_t k = 0;
        while (stored[k] == word[k] && stored[k] != '\0') k++;
        if (stored[k] == word[k]) return true;
        while (stored[k] != '\0') k++;
        at += k + 1;
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
