// The private heap table: blocks come from malloc, and every live one is
// recorded with its owner's name and a tag.
#pragma once

#include <cstdint>

constexpr int32_t CM_HEAP_ENTRIES = 16384;
constexpr int32_t CM_HEAP_OWNER_SIZE = 256;

// Result codes of cmHeapMallocPrivate besides 0.
constexpr int32_t CM_HEAP_ERR_NOMEM = 12;  // malloc gave nothing
constexpr int32_t CM_HEAP_ERR_FULL = 13;   // every entry holds a live block; nothing was allocated

struct cmHeapEntry {
    char owner[CM_HEAP_OWNER_SIZE];  // zero-padded; unterminated when the owner was 256 bytes or longer
    uint32_t tag;
    void* block;  // null marks a free entry
};

extern cmHeapEntry cmHeapTable[CM_HEAP_ENTRIES];

// Clears every entry. Returns 0.
int32_t cmHeapInit();
// Allocates size bytes into *out and records it in the first free entry. On
// failure *out is null and the result is a CM_HEAP_ERR_* code.
int32_t cmHeapMallocPrivate(void** out, uint32_t size, uint32_t tag, const char* owner);
// Frees the block and releases its entry (if the table holds it). Returns 0.
int32_t cmHeapFreePrivate(void* block, uint32_t tag, const char* owner);
