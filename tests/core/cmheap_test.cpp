#include "Core/cmheap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless/headless.h"

namespace {

class CmHeap : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        cmHeapInit();
    }
    void TearDown() override {
        for (cmHeapEntry& e : cmHeapTable)
            if (e.block != nullptr && e.block != &dummy) std::free(e.block);
        cmHeapInit();
    }
    char dummy = 0;
};

cmHeapEntry tableCopy[CM_HEAP_ENTRIES];

}  // namespace

TEST_F(CmHeap, FirstFreeEntryIsUsedAndReusedAfterAFree) {
    void* a = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&a, 20, 42, "Core/cmstream"), 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(cmHeapTable[0].block, a);
    EXPECT_EQ(cmHeapTable[0].tag, 42u);
    EXPECT_STREQ(cmHeapTable[0].owner, "Core/cmstream");
    EXPECT_EQ(cmHeapTable[0].owner[CM_HEAP_OWNER_SIZE - 1], '\0');  // zero-padded

    void* b = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&b, 8, 43, "other"), 0);
    EXPECT_EQ(cmHeapTable[1].block, b);

    EXPECT_EQ(cmHeapFreePrivate(a, 0, nullptr), 0);
    EXPECT_EQ(cmHeapTable[0].block, nullptr);
    // The freed entry keeps its owner and tag until it is used again.
    EXPECT_EQ(cmHeapTable[0].tag, 42u);
    EXPECT_STREQ(cmHeapTable[0].owner, "Core/cmstream");

    void* c = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&c, 4, 44, "again"), 0);
    EXPECT_EQ(cmHeapTable[0].block, c);
    EXPECT_EQ(cmHeapTable[0].tag, 44u);
    EXPECT_STREQ(cmHeapTable[0].owner, "again");
    EXPECT_EQ(cmHeapTable[1].block, b);
}

TEST_F(CmHeap, FreeingABlockTheTableDoesNotHoldLeavesTheTableAsItWas) {
    void* recorded = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&recorded, 16, 1, "kept"), 0);
    std::memcpy(tableCopy, cmHeapTable, sizeof tableCopy);
    // The sanitizer build reports a leak if this block is not freed.
    void* stranger = std::malloc(32);
    EXPECT_EQ(cmHeapFreePrivate(stranger, 0, nullptr), 0);
    EXPECT_EQ(std::memcmp(tableCopy, cmHeapTable, sizeof tableCopy), 0);
}

TEST_F(CmHeap, LongOwnerIsCutTo256BytesWithoutATerminator) {
    const std::string owner(300, 'o');
    void* block = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&block, 1, 0, owner.c_str()), 0);
    EXPECT_EQ(std::memcmp(cmHeapTable[0].owner, owner.data(), CM_HEAP_OWNER_SIZE), 0);
    EXPECT_EQ(cmHeapTable[0].owner[CM_HEAP_OWNER_SIZE - 1], 'o');
}

TEST_F(CmHeap, FullTableWarnsAndAllocatesNothing) {
    for (cmHeapEntry& e : cmHeapTable) e.block = &dummy;
    void* block = &dummy;
    EXPECT_EQ(cmHeapMallocPrivate(&block, 16, 7, "late"), CM_HEAP_ERR_FULL);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(headless.messageBoxCount, 1);
    EXPECT_STREQ(headless.lastMessageBoxText, "cmHeapMallocPrivate(): Heap table full");
    EXPECT_STREQ(headless.lastMessageBoxCaption, "Debug Warning");
    EXPECT_EQ(headless.debugBreakCount, 1);

    // One free entry, at the end, is found and used without a warning.
    cmHeapTable[CM_HEAP_ENTRIES - 1].block = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&block, 16, 7, "last"), 0);
    EXPECT_EQ(cmHeapTable[CM_HEAP_ENTRIES - 1].block, block);
    EXPECT_EQ(headless.messageBoxCount, 1);
}

TEST_F(CmHeap, InitClearsEveryEntry) {
    void* block = nullptr;
    ASSERT_EQ(cmHeapMallocPrivate(&block, 16, 9, "owner"), 0);
    std::free(block);
    EXPECT_EQ(cmHeapInit(), 0);
    static const cmHeapEntry zero[CM_HEAP_ENTRIES] = {};
    EXPECT_EQ(std::memcmp(zero, cmHeapTable, sizeof zero), 0);
}
