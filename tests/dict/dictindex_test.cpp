// The prefix index: exactly the stored words a grid can spell, each once, in
// fixed storage that the largest file that loads cannot overflow.
#include "dict/dictindex.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dicttestdir.h"

namespace {

void collect(uint32_t node, std::string& prefix, std::vector<std::string>& out) {
    if (dictIndexEndsWord(node)) out.push_back(prefix);
    for (uint32_t l = 0; l < 26; l++) {
        const uint32_t child = dictIndexChild(node, l);
        if (child == DICT_INDEX_NONE) continue;
        prefix.push_back(static_cast<char>('A' + l));
        collect(child, prefix, out);
        prefix.pop_back();
    }
}

// Every word of the index, in the order a walk of it gives them.
std::vector<std::string> indexWords() {
    std::vector<std::string> out;
    std::string prefix;
    collect(DICT_INDEX_ROOT, prefix, out);
    return out;
}

bool indexHolds(const std::string& word) {
    uint32_t node = DICT_INDEX_ROOT;
    for (char c : word) {
        if (c < 'A' || c > 'Z') return false;
        node = dictIndexChild(node, static_cast<uint32_t>(c - 'A'));
        if (node == DICT_INDEX_NONE) return false;
    }
    return dictIndexEndsWord(node);
}

// `count` words of 3 to 15 letters of A to F: few letters, many shared prefixes.
std::vector<std::string> randomWords(uint64_t state, int count) {
    std::vector<std::string> words;
    for (int n = 0; n < count; n++) {
        std::string w(3 + n % 13, 'A');
        for (char& c : w) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            c = static_cast<char>('A' + (state >> 33) % 6);
        }
        words.push_back(w);
    }
    return words;
}

using DictIndex = DictTest;

TEST_F(DictIndex, HoldsEachStoredWordAGridCanSpellOnceAndNothingElse) {
    ASSERT_TRUE(load("cat\r\nCAT\r\ndog\r\ndo\r\nabcdefghijklmno\r\nabcdefghijklmnop\r\ncan't\r\n"
                     "/zoo\r\n\r\n d g\r\nq2q\r\ncaf\xe9\r\nzoo\r\nzoos\r\nzo\r\n"));
    dictIndexBuild();
    const std::vector<std::string> words = indexWords();
    // Walked in letter order, so sorted; a word listed twice is there once.
    EXPECT_EQ(words, (std::vector<std::string>{"ABCDEFGHIJKLMNO", "CAT", "DOG", "ZOO", "ZOOS"}));
    EXPECT_EQ(dictIndexWordCount, 5u);
    for (const std::string& w : words) EXPECT_TRUE(dictIsWord(w.c_str())) << w;
    // Stored, but no grid of letters can spell them.
    for (const char* w : {"DO", "ABCDEFGHIJKLMNOP", "CAN'T", "Q2Q"}) {
        EXPECT_TRUE(dictIsWord(w)) << w;
        EXPECT_FALSE(indexHolds(w)) << w;
    }
    // A prefix of a word is no word.
    EXPECT_FALSE(indexHolds("ZO"));
    EXPECT_FALSE(indexHolds("CA"));
}

TEST_F(DictIndex, AReloadEmptiesItUntilItIsBuiltAgainAndAFailedLoadLeavesIt) {
    ASSERT_TRUE(load("cat\r\ndog\r\n"));
    dictIndexBuild();
    ASSERT_TRUE(indexHolds("CAT"));

    ASSERT_TRUE(load("hen\r\n"));
    EXPECT_TRUE(indexWords().empty()) << "an index outlived the words it was built from";
    dictIndexBuild();
    EXPECT_EQ(indexWords(), (std::vector<std::string>{"HEN"}));

    std::remove("worddiction.txt");
    ASSERT_FALSE(dictLoad());
    EXPECT_TRUE(dictIsWord("HEN"));
    EXPECT_EQ(indexWords(), (std::vector<std::string>{"HEN"}));
}

// A file in any order gives the very same index as the same words sorted,
// node for node: the index sorts what the file does not.
TEST_F(DictIndex, WordsInAnyOrderGiveTheSameIndexAsSorted) {
    std::vector<std::string> words = randomWords(99, 3000);
    words.push_back(words[17]);  // one listed twice
    std::vector<std::string> sorted = words;
    std::sort(sorted.begin(), sorted.end());
    auto build = [](const std::vector<std::string>& list) {
        std::string text;
        for (const std::string& w : list) text += w + "\r\n";
        EXPECT_TRUE(load(text));
        dictIndexBuild();
        return std::vector<DictIndexNode>(dictIndexNodes, dictIndexNodes + dictIndexNodeCount);
    };
    const std::vector<DictIndexNode> fromSorted = build(sorted);
    const uint32_t sortedWords = dictIndexWordCount;
    const std::vector<DictIndexNode> fromShuffled = build(words);
    ASSERT_EQ(fromShuffled.size(), fromSorted.size());
    EXPECT_EQ(dictIndexWordCount, sortedWords);
    for (size_t i = 0; i < fromSorted.size(); i++) {
        ASSERT_EQ(fromShuffled[i].children, fromSorted[i].children) << i;
        ASSERT_EQ(fromShuffled[i].first, fromSorted[i].first) << i;
    }
    std::set<std::string> distinct(words.begin(), words.end());
    EXPECT_EQ(indexWords(), std::vector<std::string>(distinct.begin(), distinct.end()));
}

std::vector<std::string> tracedWords;

// The index built on a second thread during the load, from the words noted
// as they are stored: the same index and tables as building it after the
// load, the trace shown the same words in the same order, for a file in any
// order and in sorted order; a failed load keeps the old words' index.
TEST_F(DictIndex, BuiltBesideTheLoadItIsWhatItIsBuiltAfter) {
    std::vector<std::string> words = randomWords(7, 5000);
    // Words no grid can spell, and a short last line read near the file's end.
    for (const char* w : {"can't", "ab", "abcdefabcdefabcdef", "q2q", "cafe"}) words.emplace_back(w);
    std::vector<std::string> sorted = words;
    std::sort(sorted.begin(), sorted.end());
    dictTraceScore = [](const char* word) {
        tracedWords.emplace_back(word);
        return 0;
    };
    struct Result {
        std::vector<DictIndexNode> nodes;
        uint32_t words;
        std::vector<std::string> traced;
        std::vector<int32_t> bucketSizes;
    };
    auto take = [] {
        Result r{std::vector<DictIndexNode>(dictIndexNodes, dictIndexNodes + dictIndexNodeCount), dictIndexWordCount,
                 tracedWords, std::vector<int32_t>(dictBucketSizes, dictBucketSizes + DICT_BUCKETS)};
        tracedWords.clear();
        return r;
    };
    for (const std::vector<std::string>* list : {&words, &sorted}) {
        SCOPED_TRACE(list == &words ? "in any order" : "sorted");
        std::string text;
        for (const std::string& w : *list) text += w + "\r\n";
        writeFile("worddiction.txt", text);
        ASSERT_TRUE(dictLoad());
        dictIndexBuild();
        const Result after = take();
        ASSERT_TRUE(dictLoadIndexed());
        const Result beside = take();
        EXPECT_GT(after.words, 1000u);
        EXPECT_EQ(after.traced.size(), list->size());
        EXPECT_EQ(beside.words, after.words);
        EXPECT_EQ(beside.traced, after.traced);
        EXPECT_EQ(beside.bucketSizes, after.bucketSizes);
        ASSERT_EQ(beside.nodes.size(), after.nodes.size());
        for (size_t i = 0; i < after.nodes.size(); i++) {
            ASSERT_EQ(beside.nodes[i].children, after.nodes[i].children) << i;
            ASSERT_EQ(beside.nodes[i].first, after.nodes[i].first) << i;
        }
        EXPECT_TRUE(indexHolds(list == &words ? "CAFE" : words[0]));
        EXPECT_FALSE(indexHolds("CAN'T"));

        std::remove("worddiction.txt");
        EXPECT_FALSE(dictLoadIndexed());
        EXPECT_EQ(dictIndexWordCount, after.words) << "the words kept keep their index";
    }
    dictTraceScore = nullptr;
}

// The largest file that loads, of 15-letter words that share few letters, on
// bare line feeds: as many index nodes per byte as a file can bring.
TEST_F(DictIndex, TheLargestFileThatLoadsFitsTheIndex) {
    std::string text;
    std::vector<std::string> words;
    uint64_t state = 12345;
    while (text.size() + 16 < FILE_TEXT_SIZE) {
        std::string w(15, 'A');
        for (char& c : w) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            c = static_cast<char>('A' + (state >> 33) % 26);
        }
        text += w + "\n";
        words.push_back(w);
    }
    ASSERT_TRUE(load(text));
    dictIndexBuild();

    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    // One node for every different prefix: a word adds its letters past the
    // prefix it shares with the word before it in sorted order.
    uint64_t nodes = 1;
    for (size_t i = 0; i < words.size(); i++) {
        size_t shared = 0;
        if (i > 0) {
            while (shared < 15 && words[i][shared] == words[i - 1][shared]) shared++;
        }
        nodes += 15 - shared;
    }
    EXPECT_EQ(dictIndexNodeCount, nodes);
    EXPECT_LE(dictIndexNodeCount, DICT_INDEX_NODES);
    EXPECT_GT(dictIndexNodeCount, DICT_INDEX_NODES * 7 / 10) << "not the crowded file this test means";
    EXPECT_EQ(dictIndexWordCount, words.size());
    for (const std::string& w : words) ASSERT_TRUE(indexHolds(w)) << w;
}

TEST(DictIndexShipped, AgreesWithDictIsWordOnTheShippedList) {
    // Tests run in the build folder's tests/; the game's files are in game/.
    FILE* f = std::fopen("../game/worddiction.txt", "rb");
    if (f == nullptr) GTEST_SKIP() << "game/worddiction.txt is not built";
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(f);
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("../game"), 0);
    const bool loaded = dictLoad();
    ASSERT_EQ(chdir(old), 0);
    ASSERT_TRUE(loaded);
    dictIndexBuild();

    std::set<std::string> listed;
    size_t start = 0;
    for (size_t lf = text.find('\n'); lf != std::string::npos; start = lf + 1, lf = text.find('\n', start)) {
        std::string w = text.substr(start, lf - start);
        if (!w.empty() && w.back() == '\r') w.pop_back();
        for (char& c : w) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        listed.insert(w);
    }
    const std::vector<std::string> words = indexWords();
    EXPECT_EQ(std::set<std::string>(words.begin(), words.end()), listed);
    EXPECT_EQ(words.size(), listed.size());
    for (const std::string& w : words) ASSERT_TRUE(dictIsWord(w.c_str())) << w;
}

}  // namespace
