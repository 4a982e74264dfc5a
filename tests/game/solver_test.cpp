// The words a grid holds: found by the rules a player spells by, scored by the
// game's own scoring, the best of them chosen; what the end of a level and the
// hint make of them.
#include <map>
#include <set>
#include <string>

#include "game/solver.h"
#include "play_fixture.h"

namespace {

std::map<std::string, int32_t> solverHeard;

// Every word a solve of player p's grid reports, with its score.
std::map<std::string, int32_t> wordsOnGrid(int32_t p, SolverResult* result = nullptr) {
    SolverResult local;
    solverHeard.clear();
    solverWordHook = [](const char* word, int32_t score) {
        EXPECT_EQ(solverHeard.count(word), 0u) << word << " reported twice";
        solverHeard[word] = score;
    };
    solverSolve(p, result != nullptr ? result : &local);
    solverWordHook = nullptr;
    return solverHeard;
}

std::set<std::string> keysOf(const std::map<std::string, int32_t>& words) {
    std::set<std::string> out;
    for (const auto& [word, score] : words) out.insert(word);
    return out;
}

// Q stands where no word of the test's lists goes.
constexpr const char* QS = "QQQQQQQ";

class SolverTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        dictIndexBuild();
    }
    static void useWords(const std::vector<std::string>& words) {
        ASSERT_TRUE(playLoadWords(words));
        dictIndexBuild();
    }
};

TEST_F(SolverTest, AHandMadeGridHoldsExactlyItsWordsEachAtItsScore) {
    // STAR, RATS, TAB, BAT along the top, DOG below; CAT, HEN and the rest of
    // the list are not there.
    const char* rows[GRID_SIZE] = {"STARQQQ", "QQBQQQQ", "DOGQQQQ", QS, QS, QS, QS};
    playSetGrid(0, rows);
    SolverResult r;
    const std::map<std::string, int32_t> found = wordsOnGrid(0, &r);
    const std::map<std::string, int32_t> expected = {{"STAR", 16}, {"RATS", 16}, {"TAB", 9}, {"BAT", 9}, {"DOG", 9}};
    EXPECT_EQ(found, expected);
    for (const auto& [word, score] : found) EXPECT_EQ(score, wordBaseScore(word.c_str())) << word;
    EXPECT_EQ(r.wordCount, 5);
    // STAR and RATS score alike: the alphabetically first is the best.
    EXPECT_STREQ(r.best, "RATS");
    EXPECT_EQ(r.bestScore, 16);
    ASSERT_EQ(r.bestLength, 4);
    const int32_t xs[] = {3, 2, 1, 0};
    for (int32_t i = 0; i < 4; i++) {
        EXPECT_EQ(r.bestPathX[i], xs[i]) << i;
        EXPECT_EQ(r.bestPathY[i], 0) << i;
    }
}

TEST_F(SolverTest, PathRulesAtTheirCorners) {
    struct Case {
        const char* rule;
        const char* rows[GRID_SIZE];
        std::vector<std::string> words;
        std::set<std::string> found;
    };
    const Case cases[] = {
        {"A-B-A steps back onto the cell before the last: that undoes, so it is no path",
         {"ABQQQQQ", QS, QS, QS, QS, QS, QS},
         {"aba", "abab"},
         {}},
        {"A-B-C-A round three neighbouring cells uses A again, not straight after itself",
         {"ABQQQQQ", "CQQQQQQ", QS, QS, QS, QS, QS},
         {"aba", "abca", "abcab", "acba", "acab"},
         {"ABCA", "ABCAB", "ACBA"}},
        {"a second A cell makes A-B-A a path",
         {"ABAQQQQ", QS, QS, QS, QS, QS, QS},
         {"aba", "abab"},
         {"ABA"}},
        {"at most fifteen letters, however long the loop",
         {"ABQQQQQ", "CQQQQQQ", QS, QS, QS, QS, QS},
         {"abcabcabcabcabc", "abcabcabcabcabca"},
         {"ABCABCABCABCABC"}},
        {"the grid does not wrap, across or down",
         {"ATQQQQC", QS, QS, QS, QS, QS, "DQQQQQQ"},
         {"cat", "tad", "dat"},
         {}},
        {"diagonal steps are neighbours, a knight's move is not",
         {"CQQQQQQ", "QAQQQQQ", "QQTQQQQ", "DQQQQQQ", QS, QS, QS},
         {"cat", "tad", "dat", "cad"},
         {"CAT"}},
        {"a blank cell is never part of a word",
         {"C TQQQQ", "Q QQQQQ", QS, QS, QS, QS, QS},
         {"cat", "ct"},
         {}},
    };
    for (const Case& c : cases) {
        useWords(c.words);
        playSetGrid(0, c.rows);
        EXPECT_EQ(keysOf(wordsOnGrid(0)), c.found) << c.rule;
    }
}

TEST_F(SolverTest, OfTwoPathsForTheBestWordTheFirstFoundStands) {
    // CAT twice: the search starts from the top-left cell, row by row.
    const char* rows[GRID_SIZE] = {QS, QS, "QQQQCAT", QS, "TACQQQQ", QS, QS};
    playSetGrid(0, rows);
    SolverResult r;
    wordsOnGrid(0, &r);
    EXPECT_EQ(r.wordCount, 1);
    ASSERT_STREQ(r.best, "CAT");
    EXPECT_EQ(r.bestPathX[0], 4);
    EXPECT_EQ(r.bestPathY[0], 2);
}

TEST_F(SolverTest, AGridWithoutAWordHasNoBest) {
    const char* rows[GRID_SIZE] = {QS, QS, QS, "QQQ QQQ", QS, QS, QS};
    playSetGrid(0, rows);
    SolverResult r;
    EXPECT_TRUE(wordsOnGrid(0, &r).empty());
    EXPECT_EQ(r.wordCount, 0);
    EXPECT_EQ(r.bestScore, 0);
    EXPECT_STREQ(r.best, "");
    EXPECT_EQ(r.bestLength, 0);
}

TEST_F(SolverTest, EachPlayerIsSolvedOnTheirOwnGrid) {
    const char* left[GRID_SIZE] = {"CATQQQQ", QS, QS, QS, QS, QS, QS};
    const char* right[GRID_SIZE] = {"HENQQQQ", QS, QS, QS, QS, QS, QS};
    playSetGrid(0, left);
    playSetGrid(1, right);
    EXPECT_EQ(keysOf(wordsOnGrid(0)), (std::set<std::string>{"CAT"}));
    EXPECT_EQ(keysOf(wordsOnGrid(1)), (std::set<std::string>{"HEN"}));
}

// Every path of the path rules up to six letters, the letters looked up one
// by one: what the index search must find among its words of up to six.
void bruteForce(int32_t p, int32_t* xs, int32_t* ys, int32_t n, std::string& word, std::set<std::string>& out) {
    if (n >= 3 && dictIsWord(word.c_str())) out.insert(word);
    if (n == 6) return;
    for (int32_t y = 0; y < GRID_SIZE; y++) {
        for (int32_t x = 0; x < GRID_SIZE; x++) {
            const char c = wordgrid[p][y][x];
            if (c == GRID_BLANK) continue;
            if (n > 0 && !CellsAdjacent(xs[n - 1], ys[n - 1], x, y)) continue;
            if (n > 1 && xs[n - 2] == x && ys[n - 2] == y) continue;
            xs[n] = x;
            ys[n] = y;
            word.push_back(c);
            bruteForce(p, xs, ys, n + 1, word, out);
            word.pop_back();
        }
    }
}

TEST_F(SolverTest, RandomBoardsAgreeWithAPlainSearchOfEveryShortPath) {
    // The shipped list: tests run in the build folder's tests/, the game's files are in game/.
    FILE* f = std::fopen("../game/worddiction.txt", "rb");
    if (f == nullptr) GTEST_SKIP() << "game/worddiction.txt is not built";
    std::fclose(f);
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("../game"), 0);
    const bool loaded = dictLoad();
    ASSERT_EQ(chdir(old), 0);
    ASSERT_TRUE(loaded);
    dictIndexBuild();

    struct Board {
        uint32_t seed;
        int32_t blanks;  // cells emptied at random, as vanished letters leave them
    };
    const Board boards[] = {{1, 0}, {2, 0}, {7, 0}, {42, 0}, {1000, 0}, {65535, 0}, {123456, 0},
                            {3, 5}, {99, 12}, {2024, 20}, {31337, 30}, {77, 48}};
    for (const Board& b : boards) {
        cmSrand(b.seed);
        gridNewGame(0);
        for (int32_t i = 0; i < b.blanks; i++) wordgrid[0][cmRand() % GRID_SIZE][cmRand() % GRID_SIZE] = GRID_BLANK;

        const std::map<std::string, int32_t> found = wordsOnGrid(0);
        std::set<std::string> shortFound;
        for (const auto& [word, score] : found) {
            EXPECT_TRUE(dictIsWord(word.c_str())) << word;
            EXPECT_GE(word.size(), 3u);
            EXPECT_LE(word.size(), 15u);
            EXPECT_EQ(score, wordBaseScore(word.c_str())) << word;
            if (word.size() <= 6) shortFound.insert(word);
        }
        std::set<std::string> plain;
        int32_t xs[6], ys[6];
        std::string word;
        bruteForce(0, xs, ys, 0, word, plain);
        EXPECT_EQ(shortFound, plain) << "seed " << b.seed;
        if (b.blanks == 0) {
            EXPECT_FALSE(plain.empty()) << "seed " << b.seed << ": a full grid without a word";
        }
    }
}

TEST_F(SolverTest, TheEndOfALevelSolvesEveryGridInTheGameAndANewGameForgetsThem) {
    const char* left[GRID_SIZE] = {"CATQQQQ", QS, QS, QS, QS, QS, QS};
    const char* right[GRID_SIZE] = {"HENQQQQ", "QSTEAMQ", QS, QS, QS, QS, QS};
    for (int32_t two = 0; two <= 1; two++) {
        twoPlayer = two;
        startPlaying();
        playSetGrid(0, left);
        playSetGrid(1, right);
        levelAdvance(0);
        ASSERT_EQ(solverEndSolved[0], 1);
        EXPECT_STREQ(solverEnd[0].best, "CAT");
        EXPECT_EQ(solverEnd[0].wordCount, 1);
        EXPECT_EQ(solverEndSolved[1], two);
        if (two) {
            EXPECT_EQ(solverEnd[1].wordCount, 2);
            EXPECT_STREQ(solverEnd[1].best, "STEAM");  // STEAM 33, HEN 9
            EXPECT_EQ(solverEnd[1].bestScore, 33);
        }
        gameNew();
        EXPECT_EQ(solverEndSolved[0], 0);
        EXPECT_EQ(solverEndSolved[1], 0);
    }
}

class SolverHint : public SolverTest {
protected:
    void SetUp() override {
        SolverTest::SetUp();
        startPlaying();
        const char* rows[GRID_SIZE] = {"STARQQQ", "QQBQQQQ", "DOGQQQQ", QS, QS, QS, QS};
        playSetGrid(0, rows);
    }
};

TEST_F(SolverHint, LightsTheFirstTwoLettersOfTheBestWordForTwoSecondsForATenthOfTheBonus) {
    const int32_t bonus = levelBonus();
    ASSERT_GT(bonus, 100);
    const uint32_t randomState = cmRandState();
    frameInput.time = 7000;
    solverHint();
    // RATS, from its R.
    ASSERT_EQ(solverHintCells[0], 2);
    EXPECT_EQ(solverHintX[0][0], 3);
    EXPECT_EQ(solverHintY[0][0], 0);
    EXPECT_EQ(solverHintX[0][1], 2);
    EXPECT_EQ(solverHintY[0][1], 0);
    EXPECT_EQ(levelBonus(), bonus - bonus / 10);
    EXPECT_EQ(cmRandState(), randomState) << "the hint drew a random number";

    // Asked again while lit: nothing more is shown or paid.
    solverHint();
    EXPECT_EQ(levelBonus(), bonus - bonus / 10);
    solverHintStep(0, 7000 + SOLVER_HINT_MS - 1);
    EXPECT_EQ(solverHintCells[0], 2);
    solverHintStep(0, 7000 + SOLVER_HINT_MS);
    EXPECT_EQ(solverHintCells[0], 0);

    // The next hint takes a tenth of what is left.
    const int32_t left = levelBonus();
    solverHint();
    EXPECT_EQ(solverHintCells[0], 2);
    EXPECT_EQ(levelBonus(), left - left / 10);
}

TEST_F(SolverHint, AGridWithoutAWordLightsNothingAndCostsNothing) {
    const char* rows[GRID_SIZE] = {QS, QS, QS, QS, QS, QS, QS};
    playSetGrid(0, rows);
    const int32_t bonus = levelBonus();
    solverHint();
    EXPECT_EQ(solverHintCells[0], 0);
    EXPECT_EQ(levelBonus(), bonus);
}

TEST_F(SolverHint, TwoPlayersGetAHintEachOnTheirOwnGridForOneTenth) {
    twoPlayer = 1;
    const char* right[GRID_SIZE] = {QS, QS, QS, QS, QS, "QQQQHEN", QS};
    playSetGrid(1, right);
    const int32_t bonus = levelBonus();
    solverHint();
    ASSERT_EQ(solverHintCells[0], 2);
    ASSERT_EQ(solverHintCells[1], 2);
    EXPECT_EQ(solverHintX[1][0], 4);
    EXPECT_EQ(solverHintY[1][0], 5);
    EXPECT_EQ(solverHintX[1][1], 5);
    EXPECT_EQ(solverHintY[1][1], 5);
    EXPECT_EQ(levelBonus(), bonus - bonus / 10);
}

TEST_F(SolverHint, HintsNeverTurnTheBonusIntoAPenaltyAndTheNextLevelStartsWithoutTheirPrice) {
    // Hints bought early, when the bonus was high; it has fallen since.
    levelHintCost = 100000;
    EXPECT_EQ(levelBonus(), 0);
    const int32_t score = playerState[0].score;
    levelAdvance(0);
    EXPECT_EQ(playerState[0].score, score);
    EXPECT_EQ(levelHintCost, 0);
    EXPECT_GT(levelBonus(), 0);
}

}  // namespace
