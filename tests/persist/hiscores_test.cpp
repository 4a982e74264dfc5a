#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "flow/gameend.h"
#include "game/score.h"
#include "persist/hiscores.h"
#include "platform/headless/headless.h"
#include "testfolder.h"

namespace {

void setRow(int32_t i, int32_t score, const char* word, const char* text) {
    hiScores[i].score = score;
    snprintf(hiScores[i].word, HISCORE_TEXT, "%s", word);
    snprintf(hiScores[i].wordScoreText, HISCORE_TEXT, "%s", text);
}

// A table of n rows with scores 1200, 1100, ..., 100 and words W0, W1, ...
int32_t tableScore(int32_t i) {
    return 1200 - 100 * i;
}

void fillTable(int32_t n) {
    hiScoresReset();
    for (int32_t i = 0; i < n; i++) {
        char word[16];
        char text[16];
        snprintf(word, sizeof word, "W%d", i);
        snprintf(text, sizeof text, "%d", 10 + i);
        setRow(i, tableScore(i), word, text);
    }
    hiScoreCount = n;
}

void setGame(int32_t score, const char* bestWord, int32_t bestScore) {
    playerState[0].score = score;
    snprintf(playerState[0].bestWords[0].word, WORD_ROW_CHARS, "%s", bestWord);
    playerState[0].bestWords[0].score = bestScore;
}

class HiScores : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        headlessReset();
        hiScoresReset();
        scoreClearAll();
    }
};

TEST_F(HiScores, AnEmptyTableSavesAsCountAndCheckOnlyAndLoadsBackEmpty) {
    ASSERT_TRUE(hiScoresSave());
    EXPECT_EQ(readFile("hi.txt"), "0;6;");
    setRow(0, 77, "STALE", "1");
    hiScoreCount = 1;
    hiScoresLoad();
    EXPECT_EQ(hiScoreCount, 0);
    EXPECT_EQ(hiScores[0].score, 0);
}

TEST_F(HiScores, OneRowSavesWithItsCheckValue) {
    setRow(0, 250, "ESCAPES", "105");
    hiScoreCount = 1;
    EXPECT_EQ(hiScoresCheck(), 1506);
    ASSERT_TRUE(hiScoresSave());
    EXPECT_EQ(readFile("hi.txt"), "1;250;ESCAPES;105;1506;");
}

TEST_F(HiScores, AFullTableSurvivesASaveAndLoad) {
    fillTable(HISCORE_ROWS);
    setRow(4, tableScore(4), "QUIXOTICALLYSPOKEN", "");
    HiScoreRow saved[HISCORE_ROWS];
    memcpy(saved, hiScores, sizeof saved);
    ASSERT_TRUE(hiScoresSave());
    hiScoresReset();
    hiScoresLoad();
    EXPECT_EQ(hiScoreCount, HISCORE_ROWS);
    for (int32_t i = 0; i < HISCORE_ROWS; i++) {
        EXPECT_EQ(hiScores[i].score, saved[i].score) << i;
        EXPECT_STREQ(hiScores[i].word, saved[i].word) << i;
        EXPECT_STREQ(hiScores[i].wordScoreText, saved[i].wordScoreText) << i;
    }
}

// The check covers the top three scores only.
TEST_F(HiScores, AChangedTopThreeScoreZeroesEveryScoreOnTheNextLoad) {
    for (int32_t changedRow : {0, 1, 2, 3, 7}) {
        SCOPED_TRACE(changedRow);
        fillTable(8);
        ASSERT_TRUE(hiScoresSave());
        std::string text = readFile("hi.txt");
        char from[40];
        char to[40];
        snprintf(from, sizeof from, ";%d;W%d;", tableScore(changedRow), changedRow);
        snprintf(to, sizeof to, ";%d;W%d;", tableScore(changedRow) + 1, changedRow);
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, strlen(from), to);
        writeFile("hi.txt", text);

        hiScoresReset();
        hiScoresLoad();
        EXPECT_EQ(hiScoreCount, 8);
        // Not "W" + std::to_string: g++ 12 at -O3 gives that a false -Wrestrict (GCC bug 105329).
        char word[16];
        snprintf(word, sizeof word, "W%d", changedRow);
        EXPECT_STREQ(hiScores[changedRow].word, word);
        EXPECT_STREQ(hiScores[5].wordScoreText, "15");
        if (changedRow < 3) {
            for (const HiScoreRow& row : hiScores) {
                EXPECT_EQ(row.score, 0);
            }
        } else {
            EXPECT_EQ(hiScores[0].score, tableScore(0));
            EXPECT_EQ(hiScores[changedRow].score, tableScore(changedRow) + 1);
        }
    }
}

// The zeroed table is what the next save writes, so the file as it was is kept
// beside it first.
TEST_F(HiScores, AFileFailingItsCheckIsKeptAsHiTxtBadBeforeTheNextSave) {
    const std::string damaged = "2;2360;QUARTZ;88;1200;JAM;40;99;";
    writeFile("hi.txt", damaged);
    testing::internal::CaptureStderr();
    hiScoresLoad();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tarvoquelms: hi.txt fails its check value, so its scores read as 0; it is kept as hi.txt.bad.\n");
    EXPECT_EQ(hiScoreCount, 2);
    EXPECT_EQ(hiScores[0].score, 0);
    EXPECT_STREQ(hiScores[0].word, "QUARTZ");
    EXPECT_EQ(readFile("hi.txt.bad"), damaged);

    ASSERT_TRUE(hiScoresSave());
    EXPECT_EQ(readFile("hi.txt"), "2;0;QUARTZ;88;0;JAM;40;6;");
    EXPECT_EQ(readFile("hi.txt.bad"), damaged);
}

TEST_F(HiScores, OnlyAFailedCheckKeepsACopy) {
    struct Case {
        const char* what;
        std::string bytes;
        bool kept;
    };
    const Case cases[] = {
        {"a good table", "1;250;ESCAPES;105;1506;", false},
        {"a good empty table", "0;6;", false},
        {"a count above 12 is read no further", "13;5;A;1;", false},
        {"an empty file has a check of 0", "", true},
        {"a changed score", "1;251;ESCAPES;105;1506;", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove("hi.txt.bad");
        writeFile("hi.txt", c.bytes);
        testing::internal::CaptureStderr();
        hiScoresLoad();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(fileExists("hi.txt.bad"), c.kept);
        EXPECT_EQ(err.empty(), !c.kept) << err;
        EXPECT_EQ(readFile("hi.txt"), c.bytes);
    }
}

TEST_F(HiScores, TheCheckValueKeepsTheLow32BitsOfEachProduct) {
    setRow(0, 2000000000, "", "");
    setRow(1, 1500000000, "", "");
    setRow(2, -7, "", "");
    int64_t product = (1500000000LL + 3) * (-7 + 2);
    product = static_cast<int32_t>(static_cast<uint32_t>(product));
    product *= 2000000000LL + 1;
    EXPECT_EQ(hiScoresCheck(), static_cast<int32_t>(static_cast<uint32_t>(product)));
}

TEST_F(HiScores, FilesNotWrittenByTheGameLoadAsTheirCountAllows) {
    struct Case {
        const char* what;
        std::string bytes;
        int32_t count;
        int32_t score0;
        const char* word0;
    };
    const Case cases[] = {
        {"a count above 12 gives an empty table", "13;5;A;1;", 0, 0, ""},
        {"a negative count is taken as 0", "-3;6;", 0, 0, ""},
        {"a huge negative count is taken as 0", "-99999999999;6;", 0, 0, ""},
        {"an empty file: no rows and a check of 0 that fails", "", 0, 0, ""},
        {"no ';' at all", "garbage", 0, 0, ""},
        {"texts are cut to 19 characters", "1;5;ABCDEFGHIJKLMNOPQRSTUVWXYZ;12;36;", 1, 5, "ABCDEFGHIJKLMNOPQRS"},
        // (2147483647 + 1) wraps to -2147483648; times 3 x 2 keeps 0 in the low 32 bits.
        {"a score beyond 32 bits stops at the range's end", "1;99999999999;W;1;0;", 1, INT32_MAX, "W"},
        {"rows past the end of the text are empty and fail the check", "3;50;A;1;", 3, 0, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hiScoresReset();
        writeFile("hi.txt", c.bytes);
        hiScoresLoad();
        EXPECT_EQ(hiScoreCount, c.count);
        EXPECT_EQ(hiScores[0].score, c.score0);
        EXPECT_STREQ(hiScores[0].word, c.word0);
    }
}

TEST_F(HiScores, AMissingOrOversizedFileLeavesTheTable) {
    fillTable(3);
    hiScoresLoad();
    EXPECT_EQ(hiScoreCount, 3);
    EXPECT_EQ(hiScores[2].score, tableScore(2));

    writeFile("hi.txt", "0;6;" + std::string(2000000, ' '));
    hiScoresLoad();
    EXPECT_EQ(hiScoreCount, 3);
    EXPECT_EQ(hiScores[2].score, tableScore(2));
}

#ifndef _WIN32
// Windows keeps a process's working folder from being removed.
TEST_F(HiScores, AFolderThatCannotBeWrittenFailsTheSaveSilently) {
    fillTable(2);
    removeFolder();
    EXPECT_FALSE(hiScoresSave());
    EXPECT_FALSE(fileExists("hi.txt"));
}
#endif

TEST_F(HiScores, AGameEntersBelowEqualScoresAndPushesOutTheLastRow) {
    struct Case {
        const char* what;
        int32_t rows;
        int32_t score;
        bool entered;
        int32_t row;  // where it lands
        int32_t count;
    };
    const Case cases[] = {
        {"score 0 never enters", 3, 0, false, -1, 3},
        {"a negative score never enters", 3, -5, false, -1, 3},
        {"equal to the lowest of twelve: no entry", 12, 100, false, -1, 12},
        {"one above the lowest of twelve: last row", 12, 101, true, 11, 12},
        {"a new best of five rows goes first", 5, 5000, true, 0, 6},
        {"equal to a stored score goes after it", 5, 1000, true, 3, 6},
        {"into an empty table", 0, 1, true, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fillTable(c.rows);
        HiScoreRow before[HISCORE_ROWS];
        memcpy(before, hiScores, sizeof before);
        setGame(c.score, "QUELM", 42);
        EXPECT_EQ(hiScoreInsert(0), c.entered);
        EXPECT_EQ(hiScoreCount, c.count);
        if (!c.entered) {
            EXPECT_EQ(memcmp(before, hiScores, sizeof before), 0);
            continue;
        }
        EXPECT_EQ(hiScores[c.row].score, c.score);
        EXPECT_STREQ(hiScores[c.row].word, "QUELM");
        EXPECT_STREQ(hiScores[c.row].wordScoreText, "42");
        for (int32_t i = 0; i < HISCORE_ROWS; i++) {
            int32_t from = i < c.row ? i : i - 1;
            if (i != c.row) {
                EXPECT_EQ(hiScores[i].score, before[from].score) << i;
                EXPECT_STREQ(hiScores[i].word, before[from].word) << i;
            }
        }
    }
}

TEST_F(HiScores, AGameWithoutAWordEntersWithAnEmptyWordNotAnOldOne) {
    setGame(300, "LEFTOVER", 0);
    ASSERT_TRUE(hiScoreInsert(0));
    EXPECT_EQ(hiScores[0].score, 300);
    EXPECT_STREQ(hiScores[0].word, "");
    EXPECT_STREQ(hiScores[0].wordScoreText, "0");
}

TEST_F(HiScores, TheSecondPlayersScoreIsReadFromTheSecondPlayer) {
    playerState[1].score = 70;
    snprintf(playerState[1].bestWords[0].word, WORD_ROW_CHARS, "TWO");
    playerState[1].bestWords[0].score = 9;
    ASSERT_TRUE(hiScoreInsert(1));
    EXPECT_EQ(hiScores[0].score, 70);
    EXPECT_STREQ(hiScores[0].word, "TWO");
}

}  // namespace
