// The dictionary the build writes from Debian's word list.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "Core/cmheap.h"
#include "Core/cmrand.h"
#include "dict/dictionary.h"

TEST(ShippedDictionary, LoadsAndGivesAWordOfEveryGameLength) {
    // Tests run in the build folder's tests/; the game's files are in game/.
    FILE* f = std::fopen("../game/worddiction.txt", "rb");
    if (f == nullptr) GTEST_SKIP() << "game/worddiction.txt is not built";
    std::fclose(f);
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("../game"), 0);
    cmHeapInit();
    const bool loaded = dictLoad();
    ASSERT_EQ(chdir(old), 0);
    ASSERT_TRUE(loaded);

    EXPECT_TRUE(dictIsWord("CAT"));
    EXPECT_TRUE(dictIsWord("AARDVARK"));
    EXPECT_FALSE(dictIsWord("XQZT"));
    cmSrand(12345);
    for (int32_t length = 3; length <= 15; length++) {
        const char* word = dictPickWord(length);
        ASSERT_NE(word, nullptr) << length;
        EXPECT_EQ(std::strlen(word), static_cast<size_t>(length));
        EXPECT_LE(dictHash(word), CM_RAND_MAX) << word;  // found by the draws, not the scan
    }
}
