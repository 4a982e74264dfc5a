#include "Core/cmrand.h"

#include <gtest/gtest.h>

TEST(CmRand, SeedOneGivesTheKnownSequence) {
    cmSrand(1);
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169};
    for (int32_t e : expected) EXPECT_EQ(cmRand(), e);
}

TEST(CmRand, SameSeedSameSequenceAndResultsStayInRange) {
    cmSrand(0xDEADBEEF);
    int32_t first[64];
    for (int32_t& v : first) {
        v = cmRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CM_RAND_MAX);
    }
    cmSrand(0xDEADBEEF);
    for (int32_t v : first) EXPECT_EQ(cmRand(), v);
}
