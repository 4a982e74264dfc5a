#include "dict/dictionary.h"

#include "Core/cmhash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <cctype>
#include <map>
#include <set>
#include <vector>
#include <string>

#include "Core/cmpath.h"
#include "Core/cmrand.h"
#include "dict/dicthash.h"
#include "dicttestdir.h"

namespace {

// The nth word of four lower-case letters, counting from "aaaa".
std::string fourLetters(uint32_t n) {
    std::string w(4, 'a');
    for (int i = 3; i >= 0; i--) {
        w[i] = static_cast<char>('a' + n % 26);
        n /= 26;
    }
    return w;
}

std::string upper(std::string w) {
    for (char& c : w)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return w;
}

using Dictionary = DictTest;

}  // namespace

TEST(DictHash, KnownBuckets) {
    struct Case {
        const char* text;
        int32_t bucket;
    };
    const Case cases[] = {
        {"CAT", 80283},
        {"", 1},
        {"AB", 4355},        // 65, then (66 + 1) * 65
        {"\xE9", 99980},     // -23 folded into the table
        {"\xFF\x01", 100001},  // -1, then (1 + 1) * -1 = -2 folded
    };
    for (const Case& c : cases) EXPECT_EQ(dictHash(c.text), c.bucket) << c.text;
}

// The rule itself, one byte at a time in 64 bits.
static int32_t referenceHash(const std::string& text) {
    int64_t h = 1;
    for (size_t i = 0; i < text.size(); i++)
        h = ((static_cast<signed char>(text[i]) + static_cast<int64_t>(i)) * h) % 100003;
    return static_cast<int32_t>(h < 0 ? h + 100003 : h);
}

TEST(DictHash, AgreesWithTheByteByByteRuleForAnyBytesAndLength) {
    cmSrand(5);
    for (int n = 0; n < 3000; n++) {
        std::string text(static_cast<size_t>(cmRand() % 300), 'x');
        for (char& c : text) c = static_cast<char>(1 + cmRand() % 255);
        ASSERT_EQ(dictHash(text.c_str()), referenceHash(text)) << n;
    }
}

TEST(DictHash, TheShortWordFormAgreesWithTheRuleForAnyBytesUpTo15) {
    cmSrand(6);
    for (int n = 0; n < 3000; n++) {
        std::string text(static_cast<size_t>(1 + cmRand() % 15), 'x');
        // Half of them plain ASCII, which has a path of its own.
        const uint32_t top = n % 2 == 0 ? 127 : 255;
        for (char& c : text) c = static_cast<char>(1 + cmRand() % top);
        char padded[16] = {};
        std::memcpy(padded, text.data(), text.size());
        uint64_t k0, k1;
        std::memcpy(&k0, padded, 8);
        std::memcpy(&k1, padded + 8, 8);
        ASSERT_EQ(dictHashShort(k0, k1, static_cast<uint32_t>(text.size())), referenceHash(text)) << n;
    }
}

TEST(DictHash, StaysInTheTableForAnyBytesAndLength) {
    std::string text(100000, 'Z');
    for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>(128 + i % 128);
    const int32_t h = dictHash(text.c_str());
    EXPECT_GE(h, 0);
    EXPECT_LT(h, DICT_BUCKETS);
    EXPECT_EQ(h, referenceHash(text));
}

TEST_F(Dictionary, LoadsCrLfLinesUpperCasedSkippingCommentsAndEmptyLines) {
    ASSERT_TRUE(load("cat\r\n/comment\r\n\r\n dog\r\nEmu\r\ncat\r\nGnu\r\nzebra"));
    EXPECT_TRUE(dictIsWord("CAT"));
    EXPECT_TRUE(dictIsWord("EMU"));
    EXPECT_TRUE(dictIsWord("GNU"));
    EXPECT_FALSE(dictIsWord("cat"));  // lookups are exact; callers pass upper case
    EXPECT_FALSE(dictIsWord("COMMENT"));
    EXPECT_FALSE(dictIsWord("/COMMENT"));
    EXPECT_FALSE(dictIsWord("ZEBRA"));  // no line feed after it
    EXPECT_FALSE(dictIsWord("DOG"));
    EXPECT_FALSE(dictIsWord(" DOG"));  // stored with its space, never matched
    EXPECT_FALSE(dictIsWord("CA T"));
    EXPECT_FALSE(dictIsWord("CAT "));
    // CAT twice, " DOG", EMU, GNU: each with its zero in the pool.
    EXPECT_EQ(storedWords(), 5);
    EXPECT_EQ(dictBucketSizes[dictHash("CAT")], 2);
    EXPECT_EQ(dictWordPoolUsed, 4u + 4u + 5u + 4u + 4u);
}

TEST_F(Dictionary, EachBucketListHoldsItsWordsInFileOrder) {
    // Three-letter words sharing buckets, written in descending order.
    std::map<int32_t, std::vector<std::string>> byBucket;
    for (char a = 'Z'; a >= 'A'; a--)
        for (char b = 'Z'; b >= 'A'; b--)
            for (char c = 'Z'; c >= 'A'; c--) byBucket[dictHash(std::string{a, b, c}.c_str())].push_back({a, b, c});
    std::string text;
    size_t words = 0;
    for (const auto& [bucket, list] : byBucket) {
        if (list.size() < 3) continue;
        for (const std::string& w : list) text += w + "\r\n";
        words += list.size();
        if (words > 300) break;
    }
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(load(lower));

    size_t seen = 0;
    for (const auto& [bucket, list] : byBucket) {
        if (dictBuckets[bucket] == nullptr) continue;
        uint32_t count = 0;
        wsListCount(dictBuckets[bucket], &count);
        ASSERT_EQ(count, list.size());
        EXPECT_EQ(dictBucketSizes[bucket], static_cast<int32_t>(count));
        for (uint32_t i = 0; i < count; i++) {
            uint32_t offset = 0;
            ASSERT_EQ(wsListGet(dictBuckets[bucket], i, &offset), WS_OK);
            EXPECT_EQ(std::string(dictWordPool + offset), list[i]);
            EXPECT_TRUE(dictIsWord(list[i].c_str()));
        }
        seen += count;
    }
    EXPECT_EQ(seen, words);
}

TEST_F(Dictionary, LookupAnswersExactlyTheStoredWordsOfEveryLength) {
    std::set<std::string> stored;
    // A chain of prefixes up to 40 letters, random words of 1 to 40 letters,
    // and three-letter words that share buckets.
    std::string chain;
    for (int i = 0; i < 40; i++) stored.insert(chain += static_cast<char>('A' + (i * 7) % 26));
    cmSrand(9);
    for (int n = 0; n < 2000; n++) {
        std::string w(static_cast<size_t>(1 + cmRand() % 40), 'A');
        for (char& c : w) c = static_cast<char>('A' + cmRand() % 26);
        stored.insert(w);
    }
    std::map<int32_t, int> perBucket;
    for (char a = 'A'; a <= 'Z'; a++)
        for (char b = 'A'; b <= 'Z'; b++)
            for (char c = 'A'; c <= 'Z'; c++) {
                const std::string w{a, b, c};
                if (++perBucket[dictHash(w.c_str())] <= 4 && cmRand() % 8 == 0) stored.insert(w);
            }
    std::string text;
    for (const std::string& w : stored) text += w + "\r\n";
    ASSERT_TRUE(load(text));

    std::vector<std::string> queries;
    for (const std::string& w : stored) {
        queries.push_back(w);
        queries.push_back(w + "E");
        queries.push_back(w.substr(0, w.size() - 1));
        queries.push_back(w.substr(1));
        std::string changed = w;
        changed.back() = static_cast<char>(changed.back() == 'Z' ? 'A' : changed.back() + 1);
        queries.push_back(changed);
        std::string spaced = w;
        spaced[spaced.size() / 2] = ' ';
        queries.push_back(spaced);
    }
    for (const std::string& q : queries) {
        const bool expected = stored.count(q) != 0 && q.find(' ') == std::string::npos;
        ASSERT_EQ(dictIsWord(q.c_str()), expected) << '"' << q << '"';
    }
}

TEST_F(Dictionary, WordIsNotFoundThroughALongerWordInItsBucket) {
    // Words u and u + suffix that share a bucket, found by search, for prefix
    // lengths that put the end of u on either side of the eighth byte. Only
    // the lengths decide whether a suffix keeps the bucket.
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* u : {"QU", "ZEBRA", "BANANAS", "PINEAPPLE", "WATERMELONS"}) {
        const int32_t bucket = dictHash(u);
        // Suffix bytes from '!' to '`' (upper-case letters, digits and signs).
        std::string v = std::string(u) + "!!!!";
        const size_t at = v.size() - 4;
        for (int n = 0; n < 64 * 64 * 64 * 64; n++) {
            for (int k = 0, m = n; k < 4; k++, m /= 64) v[at + k] = static_cast<char>('!' + m % 64);
            if (dictHash(v.c_str()) == bucket) {
                pairs.push_back({u, v});
                break;
            }
        }
    }
    ASSERT_GE(pairs.size(), 3u);
    std::string text;
    for (const auto& [u, v] : pairs) text += v + "\r\n";
    ASSERT_TRUE(load(text));
    for (const auto& [u, v] : pairs) {
        EXPECT_TRUE(dictIsWord(v.c_str())) << v;
        EXPECT_FALSE(dictIsWord(u.c_str())) << u << " through " << v;
    }
}

TEST_F(Dictionary, BareLineFeedsKeepTheWholeWord) {
    ASSERT_TRUE(load("cat\nox\nq\n\n\nzebu\r\nyak\r\r\n"));
    EXPECT_TRUE(dictIsWord("CAT"));
    EXPECT_TRUE(dictIsWord("OX"));
    EXPECT_TRUE(dictIsWord("Q"));
    EXPECT_TRUE(dictIsWord("ZEBU"));
    EXPECT_FALSE(dictIsWord("CA"));
    // Only the CR right before the line feed belongs to the line end.
    EXPECT_TRUE(dictIsWord("YAK\r"));
    EXPECT_FALSE(dictIsWord(""));
    EXPECT_EQ(storedWords(), 5);
}

TEST_F(Dictionary, LinesLongerThan255BytesAreSkippedWhole) {
    const std::string fits(253, 'l');  // 255 bytes with CR LF
    const std::string tooLong(254, 'm');
    const std::string huge(5000, 'h');
    ASSERT_TRUE(load(fits + "\r\n" + tooLong + "\r\n" + huge + "\nyak\r\n" + huge + "\r\n"));
    EXPECT_TRUE(dictIsWord(upper(fits).c_str()));
    EXPECT_FALSE(dictIsWord(upper(tooLong).c_str()));
    EXPECT_FALSE(dictIsWord(upper(huge).c_str()));
    EXPECT_TRUE(dictIsWord("YAK"));
    EXPECT_EQ(storedWords(), 2);
}

TEST_F(Dictionary, OnlyAToZAreUpperCasedWhateverTheWordsLengthOrPlaceInTheFile) {
    // Every byte a line can hold, inside a short word, a long one (16 bytes and
    // more) and a short one on the file's last line, with less than 16 bytes left.
    std::vector<std::string> lines;
    for (int b = 1; b < 256; b++) {
        if (b == '\n') continue;
        const std::string c(1, static_cast<char>(b));
        lines.push_back("q" + c + "z");
        lines.push_back("longer word " + c + " here");
    }
    lines.push_back("tail\xe9m");
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    ASSERT_TRUE(load(text));
    ASSERT_EQ(storedWords(), static_cast<int64_t>(lines.size()));
    uint32_t at = 0;
    for (const std::string& l : lines) {
        const std::string expected = upper(l);
        ASSERT_EQ(std::string(dictWordPool + at), expected) << "stored in file order";
        EXPECT_GT(dictBucketSizes[dictHash(expected.c_str())], 0) << expected;
        if (expected.find(' ') == std::string::npos) {
            EXPECT_TRUE(dictIsWord(expected.c_str())) << expected;
            if (expected != l) {
                EXPECT_FALSE(dictIsWord(l.c_str())) << l;
            }
        }
        at += static_cast<uint32_t>(expected.size()) + 1;
    }
}

TEST_F(Dictionary, LinesOfEveryLengthAreReadWhereverTheyEnd) {
    // Words of 1 to 20 letters, then the file ends 0 to 20 bytes after the last
    // one's line feed with a line that has none.
    for (size_t tail = 0; tail <= 20; tail++) {
        std::string text;
        std::vector<std::string> words;
        for (size_t n = 1; n <= 20; n++) {
            words.push_back(std::string(n, static_cast<char>('a' + n)) + "x");
            text += words.back() + (n % 2 ? "\r\n" : "\n");
        }
        text += std::string(tail, 'y');
        ASSERT_TRUE(load(text)) << tail;
        for (const std::string& w : words) EXPECT_TRUE(dictIsWord(upper(w).c_str())) << w << ", tail " << tail;
        EXPECT_EQ(storedWords(), 20) << tail;
        if (tail > 0) {
            EXPECT_FALSE(dictIsWord(upper(std::string(tail, 'y')).c_str())) << tail;
        }
    }
}

TEST_F(Dictionary, HighBytesLoadAndAreFoundInTheirBucket) {
    ASSERT_TRUE(load("caf\xE9\r\n\xFF\x01\r\n"));
    EXPECT_TRUE(dictIsWord("CAF\xE9"));
    EXPECT_TRUE(dictIsWord("\xFF\x01"));
    EXPECT_EQ(dictBucketSizes[100001], 1);
}

TEST_F(Dictionary, UnusableFilesAreRefusedSayingWhyAndLeaveTheTableAsItWas) {
    ASSERT_TRUE(load("cat\r\n"));
    EXPECT_EQ(dictLoadFailure(), DICT_LOADED);
    const uint32_t poolUsed = dictWordPoolUsed;

    struct Case {
        const char* what;
        std::string bytes;  // written as worddiction.txt
        int kind;           // 0: that file, 1: no file, 2: a folder of that name
        DictLoadFailure why;
        const char* stderrText;  // after the file's full path
    };
    const std::string oversized(FILE_TEXT_SIZE, 'a');
    const Case cases[] = {
        {"missing", "", 1, DICT_MISSING, " is missing (No such file or directory).\n"},
        {"a folder", "", 2, DICT_UNREADABLE, " cannot be read (Is a directory).\n"},
        {"empty", "", 0, DICT_EMPTY, " is empty: it holds no words.\n"},
        {"only blank lines", "\r\n\n\r\n", 0, DICT_EMPTY, " is empty: it holds no words.\n"},
        {"2,000,000 bytes", oversized, 0, DICT_TOO_BIG, " is too big: 2000000 bytes; it must be smaller than 2000000.\n"},
        {"binary", std::string("dog\r\n\0\x01\x02\r\nemu\r\n", 14), 0, DICT_NOT_A_WORD_LIST,
         " is not a word list: it holds a zero byte.\n"},
        {"comments and a line without its end", "/only a comment\r\n\r\nno line feed", 0, DICT_NOT_A_WORD_LIST,
         " is not a word list: none of its lines holds a word.\n"},
    };
    const std::string file = std::string(dir) + "/worddiction.txt";
    cmPathSetFolder(CM_PATH_DATA, dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("worddiction.txt");
        if (c.kind == 0) writeFile("worddiction.txt", c.bytes);
        if (c.kind == 2) {
            ASSERT_EQ(mkdir("worddiction.txt", 0755), 0);
        }
        testing::internal::CaptureStderr();
        EXPECT_FALSE(dictLoad());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(dictLoadFailure(), c.why);
        EXPECT_EQ(err, "tarvoquelms: the dictionary " + file + c.stderrText);
        EXPECT_TRUE(dictIsWord("CAT"));
        EXPECT_FALSE(dictIsWord("DOG"));
        EXPECT_EQ(dictWordPoolUsed, poolUsed);
        EXPECT_EQ(cmHeapTable[0].block, nullptr);  // the stream was destroyed
    }

    // Without a data folder there is no path to name.
    cmPathSetFolder(CM_PATH_DATA, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dictLoad());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tarvoquelms: the dictionary worddiction.txt cannot be found: the game cannot tell which folder holds "
              "its data.\n");
    EXPECT_EQ(dictLoadFailure(), DICT_MISSING);
    cmPathReset();

    ASSERT_TRUE(load("dog\r\n"));
    EXPECT_EQ(dictLoadFailure(), DICT_LOADED);
}

TEST_F(Dictionary, FileWithNoWordIsRefused) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load("/only a comment\r\n\r\nno line feed"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(storedWords(), 0);
    EXPECT_EQ(dictPickWord(3), nullptr);
}

TEST_F(Dictionary, ALoadReplacesTheWordsOfTheLastOne) {
    ASSERT_TRUE(load("cat\r\n"));
    ASSERT_TRUE(load("dog\r\n"));
    EXPECT_FALSE(dictIsWord("CAT"));
    EXPECT_TRUE(dictIsWord("DOG"));
    EXPECT_EQ(storedWords(), 1);
}

TEST_F(Dictionary, TheFileHashNamesTheBytesOfTheListTheTableHolds) {
    EXPECT_EQ(dictFileHash(), 0u) << "an empty table names no list";
    ASSERT_TRUE(load("cat\r\n"));
    const uint64_t cat = dictFileHash();
    EXPECT_EQ(cat, cmHashBytes(CM_HASH_START, "cat\r\n", 5));
    ASSERT_TRUE(load("cat\n"));
    EXPECT_NE(dictFileHash(), cat) << "the same words in other bytes are another list";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load(""));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(dictFileHash(), cmHashBytes(CM_HASH_START, "cat\n", 4)) << "a refused file leaves the table's list";
}

TEST_F(Dictionary, LargestFileLoadsWhatFitsTheWordStoreAndRefusesTheRest) {
    // 333,333 four-letter words in 1,999,998 bytes, and one byte after the last
    // line feed: the largest file that loads. It holds more words than the
    // word store has cells for.
    const uint32_t words = 333333;
    std::string text;
    text.reserve(FILE_TEXT_SIZE);
    for (uint32_t n = 0; n < words; n++) text += fourLetters(n) + "\r\n";
    text += "x";
    ASSERT_EQ(text.size(), FILE_TEXT_SIZE - 1);

    testing::internal::CaptureStderr();
    ASSERT_TRUE(load(text));
    const std::string err = testing::internal::GetCapturedStderr();

    int64_t buckets = 0;
    for (wsList* list : dictBuckets) buckets += list != nullptr;
    const int64_t stored = storedWords();
    // Full, or one cell short when the first refused word needed a new bucket.
    EXPECT_GE(stored + buckets, WS_ARENA_CELLS - 1);
    EXPECT_EQ(wsCellsFree(), WS_ARENA_CELLS - stored - buckets);
    const std::string expected = "the word store is full; " + std::to_string(stored) + " words were loaded and " +
                                 std::to_string(words - stored) + " refused.";
    EXPECT_NE(err.find(expected), std::string::npos) << err;

    // The words that fit stay usable; the last line was refused.
    EXPECT_TRUE(dictIsWord("AAAA"));
    EXPECT_TRUE(dictIsWord(upper(fourLetters(1000)).c_str()));
    EXPECT_FALSE(dictIsWord(upper(fourLetters(words - 1)).c_str()));
    EXPECT_FALSE(dictIsWord("X"));
}

TEST_F(Dictionary, PickedWordsHaveTheLengthAskedForAndComeFromReachableBuckets) {
    // Every three-letter word from "baa" to "bzz" and from "caa" to "czz".
    std::string text;
    for (char a : {'b', 'c'})
        for (char b = 'a'; b <= 'z'; b++)
            for (char c = 'a'; c <= 'z'; c++) text += std::string{a, b, c} + "\r\n";
    text += "pneumonia\r\nhippopotamus\r\n";
    ASSERT_TRUE(load(text));

    std::set<std::string> seen;
    for (uint32_t seed = 1; seed <= 200; seed++) {
        cmSrand(seed);
        const char* word = dictPickWord(3);
        ASSERT_NE(word, nullptr);
        EXPECT_EQ(std::strlen(word), 3u);
        EXPECT_TRUE(dictIsWord(word));
        // The draws reach only buckets 0 to 32767.
        EXPECT_LE(dictHash(word), CM_RAND_MAX) << word;
        seen.insert(word);
    }
    EXPECT_GT(seen.size(), 50u);

    // The same seed picks the same word.
    cmSrand(77);
    const std::string first = dictPickWord(3);
    cmSrand(77);
    EXPECT_EQ(first, dictPickWord(3));
}

TEST_F(Dictionary, WordOnlyInUnreachableBucketsIsFoundByTheScanAndAMissingLengthGivesNull) {
    // CAT lies in bucket 80283, which the random draws never reach.
    ASSERT_TRUE(load("cat\r\npneumonia\r\n"));
    ASSERT_GT(dictHash("CAT"), CM_RAND_MAX);
    EXPECT_STREQ(dictPickWord(3), "CAT");
    for (int32_t length : {0, -1, 4, 15, 1000}) EXPECT_EQ(dictPickWord(length), nullptr) << length;
}

TEST_F(Dictionary, EmptyTableAnswersNoAndPicksNothing) {
    EXPECT_FALSE(dictIsWord("CAT"));
    EXPECT_FALSE(dictIsWord(""));
    EXPECT_EQ(dictPickWord(3), nullptr);
}
