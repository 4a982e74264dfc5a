#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/dragmode.h"
#include "wordrules_fixture.h"

namespace {

class ScoreTest : public ::testing::Test {
protected:
    void SetUp() override { wordRulesReset(); }
};

// A distinct word for each n: four letters from A..Z in base 26 (never with S,
// so each scores at least 10).
std::string numberedWord(int n) {
    std::string w = "AAAA";
    for (int i = 3; i >= 0; i--) {
        char c = static_cast<char>('A' + n % 25);
        if (c >= 'S') c++;
        w[i] = c;
        n /= 25;
    }
    return w;
}

TEST_F(ScoreTest, WorkedValuesForAPlayerWithNoRecentWords) {
    struct Case { const char* word; int32_t score; };
    const Case cases[] = {
        {"CAT", 8}, {"CAP", 9}, {"CAPS", 20}, {"CAPE", 22}, {"CAPES", 36}, {"ESCAPES", 105},
        {"QUIZ", 52},                  // J Q 12, X Z 8
        {"KEYWORD", 168},              // (1 + 5+2+4+5+2+2+3) x 7
        {"SSSSSSSSSSSSSSS", 1200},     // 15 letters: (1 + 15) x 75
        {"SSSSSSSSSSSSSSSS", 1275},    // longer words (only the load-time trace) take the top multiplier
        {"A1#", 7},                    // any byte that is not a capital counts 2
        {"", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(wordScore(0, c.word), c.score) << c.word;
}

TEST_F(ScoreTest, SecondMakingInARowScoresFullThirdHalfFourthAThird) {
    const int32_t expected[] = {8, 8, 4, 2};
    int32_t total = 0;
    for (int32_t e : expected) {
        EXPECT_EQ(wordScore(0, "CAT"), e);
        wordAccept(0, "CAT");
        EXPECT_EQ(playerState[0].recentScores[1], e);
        total += e;
    }
    EXPECT_EQ(playerState[0].score, total);
    EXPECT_EQ(playerState[0].recentScores[4], 8);
}

TEST_F(ScoreTest, TheOldestWordMadeIsNotCountedAgainstARepeat) {
    wordAccept(0, "CAT");
    wordAccept(0, "DOG");
    EXPECT_EQ(wordRepeatCount(0, "CAT"), 0);
    EXPECT_EQ(wordRepeatCount(0, "DOG"), 1);
    EXPECT_EQ(wordScore(0, "CAT"), 8);
    wordAccept(0, "CAT");
    EXPECT_EQ(playerState[0].recentScores[1], 8);
    // Now CAT stands in the newest rows 1..2: once.
    EXPECT_EQ(wordRepeatCount(0, "CAT"), 1);
    // The other player's words never count.
    EXPECT_EQ(wordRepeatCount(1, "CAT"), 0);
}

TEST_F(ScoreTest, RepeatsNeverBringAScoreBelowOne) {
    for (int i = 0; i < 40; i++) wordAccept(0, "CAT");
    EXPECT_EQ(wordScore(0, "CAT"), 1);
    EXPECT_EQ(playerState[0].recentScores[1], 1);
}

TEST_F(ScoreTest, BestWordsKeepDescendingScoresWithOlderWordsFirst) {
    wordAccept(0, "CAT");    // 8
    wordAccept(0, "TAC");    // 8: after CAT
    wordAccept(0, "CAPES");  // 36: on top
    wordAccept(0, "CAP");    // 9: between
    const char* words[] = {"CAPES", "CAP", "CAT", "TAC"};
    const int32_t scores[] = {36, 9, 8, 8};
    for (int i = 0; i < 4; i++) {
        EXPECT_STREQ(playerState[0].bestWords[i].word, words[i]) << i;
        EXPECT_EQ(playerState[0].bestWords[i].score, scores[i]) << i;
    }
    EXPECT_EQ(playerState[0].bestWords[4].score, 0);
}

TEST_F(ScoreTest, AWordBelowTwelveBestRowsChangesNothingThere) {
    for (int n = 0; n < 12; n++) wordAccept(0, numberedWord(n).c_str());
    BestWord before[BEST_WORD_ROWS];
    std::memcpy(before, playerState[0].bestWords, sizeof before);
    wordAccept(0, "CAT");
    EXPECT_EQ(std::memcmp(before, playerState[0].bestWords, sizeof before), 0);
    EXPECT_STREQ(playerState[0].recentWords[1], "CAT");
}

TEST_F(ScoreTest, ListsAndCountsStopAtTheirLimits) {
    for (int n = 0; n < 600; n++) wordAccept(0, numberedWord(n).c_str());
    const PlayerState& ps = playerState[0];
    EXPECT_EQ(ps.wordRowCount, 12);
    EXPECT_EQ(ps.recentWordCount, 500);
    EXPECT_EQ(std::string(ps.recentWords[1]), numberedWord(599));
    EXPECT_EQ(std::string(ps.recentWords[499]), numberedWord(101));
    EXPECT_EQ(ps.recentScores[11], wordScore(1, numberedWord(589).c_str()));
    // A repeat is looked for in the newest 499 rows only.
    EXPECT_EQ(wordRepeatCount(0, numberedWord(101).c_str()), 1);
    EXPECT_EQ(wordRepeatCount(0, numberedWord(100).c_str()), 0);
}

TEST_F(ScoreTest, EveryWordFeedsTheThreeGaugesByItsLength) {
    gaugesLevelStart();
    wordAccept(0, "CAT");
    // Running LIFE: 1.5 x 180; stopped Drag Bar: 0.5 x 15; stopped third gauge: 0.25 x 20.
    EXPECT_FLOAT_EQ(lifeGauge.level, 6270.0f);
    EXPECT_FLOAT_EQ(lifeGauge.drainRate, 0.775f);
    EXPECT_FLOAT_EQ(dragGauge.level, 7.5f);
    EXPECT_FLOAT_EQ(cycleGauge.level, 5.0f);

    // 7 letters: 15 x 180 = 2700 reaches the soft cap of 8000, so only half counts.
    wordAccept(1, "ESCAPES");
    EXPECT_FLOAT_EQ(lifeGauge.level, 6270.0f + 1350.0f);
    EXPECT_FLOAT_EQ(dragGauge.level, 7.5f + 120.0f);
    EXPECT_FLOAT_EQ(cycleGauge.level, 5.0f + 120.0f);
}

TEST_F(ScoreTest, LongWordsSpeedTheFallsUpUntilTheNextWord) {
    struct Step { const char* word; int32_t interval; };
    const Step steps[] = {
        {"ABCDEFGHIJ", 25},   // 10 letters: 100 - 75
        {"ABCDEFGHIK", -42},  // raised to 33 first, then - 75
        {"CAT", 33},
        {"DOG", 33},
    };
    fallInterval[1] = 100;
    for (const Step& s : steps) {
        wordAccept(1, s.word);
        EXPECT_EQ(fallInterval[1], s.interval) << s.word;
    }
    EXPECT_EQ(fallInterval[0], 100);
    fallInterval[0] = 50;
    wordAccept(0, "CAT");
    EXPECT_EQ(fallInterval[0], 50);
}

TEST_F(ScoreTest, AcceptedWordsCountTowardTheObjective) {
    wordAccept(0, "CAT");
    wordAccept(1, "DOG");
    wordAccept(0, "CAPS");
    EXPECT_EQ(objective.done, 2);
}

TEST_F(ScoreTest, UnknownPlayersAndOverlongWordsStayInBounds) {
    gaugesLevelStart();
    const float life = lifeGauge.level;
    for (int32_t p : {-1, 2, INT32_MIN}) {
        wordAccept(p, "CAT");
        EXPECT_EQ(wordRepeatCount(p, "CAT"), 0);
        EXPECT_EQ(wordScore(p, "CAT"), 8);
    }
    EXPECT_FLOAT_EQ(lifeGauge.level, life);
    EXPECT_EQ(playerState[0].recentWordCount + playerState[1].recentWordCount, 0);

    const char* longWord = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    wordAccept(0, longWord);
    EXPECT_EQ(std::strlen(playerState[0].recentWords[1]), static_cast<size_t>(WORD_ROW_CHARS - 1));
    EXPECT_EQ(std::strlen(playerState[0].bestWords[0].word), static_cast<size_t>(WORD_ROW_CHARS - 1));
    // A word longer than a row never matches the cut copy.
    EXPECT_EQ(wordRepeatCount(0, longWord), 0);
}

}  // namespace
