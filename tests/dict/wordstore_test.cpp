#include "dict/wordstore.h"

#include <gtest/gtest.h>

class WordStore : public ::testing::Test {
protected:
    void SetUp() override { wsArenaReset(); }
};

TEST_F(WordStore, NewListIsEmptyAndTakesOneCell) {
    wsList* list = nullptr;
    ASSERT_EQ(wsListCreate(&list), WS_OK);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(wsArenaUsed, WS_CELL_SIZE);
    EXPECT_EQ(list->first, WS_NULL);
    EXPECT_EQ(list->last, WS_NULL);
    EXPECT_EQ(list->cursor, WS_NULL);

    uint32_t result = 1234;
    EXPECT_EQ(wsListGet(list, 0, &result), WS_ERR_RANGE);
    EXPECT_EQ(result, 1234u);
    uint32_t count = 99;
    EXPECT_EQ(wsListCount(list, &count), WS_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(WordStore, ValuesComeBackInAppendOrderAndThePastTheEndIndexFails) {
    wsList* a = nullptr;
    wsList* b = nullptr;
    ASSERT_EQ(wsListCreate(&a), WS_OK);
    ASSERT_EQ(wsListCreate(&b), WS_OK);
    // Interleaved appends: both lists draw cells from the same block.
    for (uint32_t v = 0; v < 5; v++) {
        ASSERT_EQ(wsListAppend(a, 100 + v), WS_OK);
        ASSERT_EQ(wsListAppend(b, 200 + v), WS_OK);
    }
    EXPECT_EQ(wsArenaUsed, 12u * WS_CELL_SIZE);
    uint32_t count = 0;
    EXPECT_EQ(wsListCount(a, &count), WS_OK);
    EXPECT_EQ(count, 5u);
    for (uint32_t i = 0; i < 5; i++) {
        uint32_t va = 0;
        uint32_t vb = 0;
        EXPECT_EQ(wsListGet(a, i, &va), WS_OK);
        EXPECT_EQ(wsListGet(b, i, &vb), WS_OK);
        EXPECT_EQ(va, 100 + i);
        EXPECT_EQ(vb, 200 + i);
    }
    uint32_t result = 77;
    EXPECT_EQ(wsListGet(a, 5, &result), WS_ERR_RANGE);
    EXPECT_EQ(wsListGet(a, 0xFFFFFFFFu, &result), WS_ERR_RANGE);
    EXPECT_EQ(result, 77u);

    // The cursor stays where creation put it until a rewind.
    EXPECT_EQ(a->cursor, WS_NULL);
    EXPECT_EQ(wsListRewind(a), WS_OK);
    EXPECT_EQ(a->cursor, a->first);
    EXPECT_NE(a->first, WS_NULL);
}

TEST_F(WordStore, FullBlockRefusesCellsWithoutWritingAnything) {
    wsList* list = nullptr;
    ASSERT_EQ(wsListCreate(&list), WS_OK);
    uint32_t appended = 0;
    while (wsListAppend(list, appended) == WS_OK) appended++;
    // One cell went to the head; 291,666 cells in all.
    EXPECT_EQ(appended, WS_ARENA_CELLS - 1);
    EXPECT_EQ(wsArenaUsed, WS_ARENA_CELLS * WS_CELL_SIZE);
    EXPECT_LE(wsArenaUsed, WS_ARENA_SIZE);
    EXPECT_EQ(wsCellsFree(), 0u);

    wsList* refused = list;
    EXPECT_EQ(wsListCreate(&refused), WS_ERR_FULL);
    EXPECT_EQ(refused, list);
    EXPECT_EQ(wsListAppend(list, 1), WS_ERR_FULL);
    uint32_t count = 0;
    wsListCount(list, &count);
    EXPECT_EQ(count, appended);
    uint32_t last = 0;
    EXPECT_EQ(wsListGet(list, appended - 1, &last), WS_OK);
    EXPECT_EQ(last, appended - 1);
}
