#include "Core/cmheap.h"

#include <cstdlib>
#include <cstring>

#include "Core/cmdebug.h"

cmHeapEntry cmHeapTable[CM_HEAP_ENTRIES];

int32_t cmHeapInit() {
    std::memset(cmHeapTable, 0, sizeof cmHeapTable);
    return 0;
}

int32_t cmHeapMallocPrivate(void** out, uint32_t size, uint32_t tag, const char* owner) {
    int32_t entry = 0;
    while (entry < CM_HEAP_ENTRIES && cmHeapTable[entry].block != nullptr) entry++;
    cmWarning(entry < CM_HEAP_ENTRIES, "cmHeapMallocPrivate(): Heap table full");
    if (entry == CM_HEAP_ENTRIES) {
        // A block the table cannot record would never be found by a free.
        *out = nullptr;
        return CM_HEAP_ERR_FULL;
    }

    void* block = std::malloc(size);
    *out = block;
    if (block == nullptr) return CM_HEAP_ERR_NOMEM;

    cmHeapEntry& e = cmHeapTable[entry];
    e.block = block;
    std::strncpy(e.owner, owner, CM_HEAP_OWNER_SIZE);
    e.tag = tag;
    return 0;
}

int32_t cmHeapFreePrivate(void* block, uint32_t, const char*) {
    int32_t entry = 0;
    while (entry < CM_HEAP_ENTRIES && cmHeapTable[entry].block != block) entry++;
    std::free(block);
    if (entry < CM_HEAP_ENTRIES) cmHeapTable[entry].block = nullptr;
    return 0;
}
