// Counts general-heap allocations made while the dictionary loads. The C
// library's allocator is wrapped for the whole executable; the sanitizers
// bring their own allocator, so there the count is not taken.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Core/cmstream/cmstream.h"
#include "dict/dictindex.h"
#include "dicttestdir.h"

#if !defined(__SANITIZE_ADDRESS__)

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* block, size_t size);
extern "C" void __libc_free(void* block);

namespace {
bool counting = false;
int allocations = 0;
}  // namespace

// operator new of the C++ library comes through malloc as well.
extern "C" void* malloc(size_t size) noexcept {
    if (counting) allocations++;
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) noexcept {
    if (counting) allocations++;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, size_t size) noexcept {
    if (counting) allocations++;
    return __libc_realloc(block, size);
}
extern "C" void free(void* block) noexcept { __libc_free(block); }

namespace {

int allocationsDuring(bool (*work)()) {
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations;
}

// What opening, sizing, reading and destroying the file costs by itself: the
// stream record from the private heap table and the buffered file's own blocks.
bool streamOnly() {
    char name[] = "worddiction.txt";
    cmStreamOpenDesc desc = {name, "rb", nullptr};
    cmStream* s = nullptr;
    if (cmStreamOpenFile(&s, &desc) != CM_OK) return false;
    uint32_t size = 0;
    cmStreamGetSize(s, &size);
    cmStreamRead(s, fileText, size);
    cmStreamDestroy(&s);
    return true;
}

}  // namespace

using DictAllocation = DictTest;

TEST_F(DictAllocation, LoadingWordsTakesNothingFromTheGeneralHeap) {
    std::string text;
    // Appended: g++ 12 at -O3 gives "literal" + std::string a false -Wrestrict (GCC bug 105329).
    for (int n = 0; n < 100000; n++) text.append("w").append(std::to_string(n)).append("\r\n");
    writeFile("worddiction.txt", text);

    const int streamCost = allocationsDuring(streamOnly);
    const int loadCost = allocationsDuring(dictLoad);
    EXPECT_TRUE(dictIsWord("W99999"));
    // Everything beyond the file access itself (100,000 words) is allocation-free.
    EXPECT_EQ(loadCost - streamCost, 0);
    EXPECT_LE(streamCost, 3);  // the record, the FILE and its buffer
}

TEST_F(DictAllocation, BuildingThePrefixIndexTakesNothingFromTheGeneralHeap) {
    std::string text;
    for (int n = 0; n < 100000; n++) {
        std::string w;
        for (int v = n; w.size() < 5; v /= 26) w.push_back(static_cast<char>('a' + v % 26));
        text.append(w).append("\r\n");
    }
    writeFile("worddiction.txt", text);
    ASSERT_TRUE(dictLoad());

    const int indexCost = allocationsDuring([] {
        dictIndexBuild();
        return true;
    });
    EXPECT_EQ(dictIndexWordCount, 100000u);
    EXPECT_EQ(indexCost, 0);
}

#endif
