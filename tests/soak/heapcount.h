// Counts the general heap from inside the test executable: the C library's
// allocator and operator new are wrapped, so every block the game asks for is
// seen. Under AddressSanitizer its own allocator counts instead.
#pragma once

#include <cstddef>
#include <cstdint>

// Blocks handed out while counting was on (0 under the sanitizers, which
// replace the allocator: there only heapLiveBytes is meaningful).
int64_t heapAllocations();
void heapCountingOn(bool on);
// Bytes held by live blocks now.
int64_t heapLiveBytes();
// True when heapAllocations() sees every allocation in this build.
bool heapCountsAllocations();
