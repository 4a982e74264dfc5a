#include "Core/cmhash.h"

#include <gtest/gtest.h>

#include <cstring>

// The published FNV-1a 64 test vectors.
TEST(CmHash, KnownVectors) {
    struct Case {
        const char* text;
        uint64_t hash;
    } cases[] = {
        {"", 0xcbf29ce484222325ULL},
        {"a", 0xaf63dc4c8601ec8cULL},
        {"foobar", 0x85944171f73967e8ULL},
    };
    for (const Case& c : cases) EXPECT_EQ(cmHashBytes(CM_HASH_START, c.text, std::strlen(c.text)), c.hash) << c.text;
}

TEST(CmHash, ContinuingOverPiecesEqualsTheWhole) {
    const char text[] = "worddiction";
    const uint64_t whole = cmHashBytes(CM_HASH_START, text, 11);
    EXPECT_EQ(cmHashBytes(cmHashBytes(CM_HASH_START, text, 4), text + 4, 7), whole);
}
