#include "heapcount.h"

#if defined(__SANITIZE_ADDRESS__)

// The sanitizer runtime's own count of live heap bytes; gcc ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();

int64_t heapAllocations() { return 0; }
void heapCountingOn(bool) {}
int64_t heapLiveBytes() { return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes()); }
bool heapCountsAllocations() { return false; }

#else

#include <malloc.h>

#include <cstdlib>

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);
extern "C" void* __libc_memalign(size_t alignment, size_t size);
extern "C" void __libc_free(void* block);

namespace {
bool counting = false;
int64_t allocations = 0;
int64_t liveBytes = 0;

void* noted(void* block) {
    if (block) liveBytes += static_cast<int64_t>(malloc_usable_size(block));
    return block;
}
void forget(void* block) {
    if (block) liveBytes -= static_cast<int64_t>(malloc_usable_size(block));
}
}  // namespace

// operator new of the C++ library comes through malloc too.
extern "C" void* malloc(size_t size) noexcept {
    if (counting) allocations++;
    return noted(__libc_malloc(size));
}
extern "C" void* calloc(size_t count, size_t size) noexcept {
    if (counting) allocations++;
    return noted(__libc_calloc(count, size));
}
extern "C" void* realloc(void* block, size_t size) noexcept {
    if (counting) allocations++;
    forget(block);
    return noted(__libc_realloc(block, size));
}
extern "C" void* memalign(size_t alignment, size_t size) noexcept {
    if (counting) allocations++;
    return noted(__libc_memalign(alignment, size));
}
extern "C" void free(void* block) noexcept {
    forget(block);
    __libc_free(block);
}

int64_t heapAllocations() { return allocations; }
void heapCountingOn(bool on) {
    if (on) allocations = 0;
    counting = on;
}
int64_t heapLiveBytes() { return liveBytes; }
bool heapCountsAllocations() { return true; }

#endif
