// The entry point: the start-up steps in their order, the missing-dictionary
// screen and the ways the program ends.
#include "tests/flow/flowfixture.h"

#include <cstdint>
#include <filesystem>
#include <string>

#include "Core/cmpath.h"
#include "game/solver.h"

namespace {

class StartUp : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        leaveStartUpToTheEntryPoint();
        writeFile("ALL", tinySheet());
    }
};

TEST_F(StartUp, WithoutADictionaryTheErrorRowsShowAndEscapeQuitsSavingBoth) {
    headlessPushMessage(WM_KEYDOWN, 112, 0);  // F1 is refused here
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
    EXPECT_EQ(gameState, STATE_NO_DICTIONARY);
    const char* rows[] = {"ERROR  ", "DICTION", "FILE   ", "NOT    ", "FOUND  ", "'worddiction.txt' is missing.", "SORRY  "};
    for (int r = 0; r < 7; r++) EXPECT_STREQ(gridMessageRows[0][r], rows[r]) << "row " << r;
    EXPECT_EQ(twoPlayer, 0);
    EXPECT_EQ(headless.flipCount, 0);  // never active, so no frame ran
    EXPECT_EQ(readFile("hi.txt"), "0;6;");
    EXPECT_EQ(readFile("prefs.txt"), DEFAULT_PREFS);
}

TEST_F(StartUp, TheErrorRowsSayWhyTheDictionaryWasRefusedAndStandardErrorNamesIt) {
    struct Case {
        const char* what;
        int kind;  // 0: the bytes as worddiction.txt, 1: no file, 2: a folder of that name
        std::string bytes;
        const char* row5;
        const char* said;  // on standard error, after the file's path
    };
    const Case cases[] = {
        {"missing", 1, "", "'worddiction.txt' is missing.", " is missing"},
        {"a folder", 2, "", "Can't read 'worddiction.txt'.", " cannot be read"},
        {"empty", 0, "", "'worddiction.txt' is empty.", " is empty"},
        {"too big", 0, std::string(FILE_TEXT_SIZE, 'a'), "'worddiction.txt' is too big.", " is too big"},
        {"binary", 0, std::string("\x7f" "ELF\x02\x01\x01\0\0\0\ncat\n", 14), "The file is not a word list.",
         " is not a word list"},
    };
    const std::string file = std::string(folder) + "/worddiction.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("worddiction.txt");
        if (c.kind == 0) writeFile("worddiction.txt", c.bytes);
        if (c.kind == 2) std::filesystem::create_directory("worddiction.txt");
        cmPathSetFolder(CM_PATH_DATA, folder);
        headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        testing::internal::CaptureStderr();
        EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
        const std::string err = testing::internal::GetCapturedStderr();
        cmPathReset();
        EXPECT_EQ(gameState, STATE_NO_DICTIONARY);
        const char* rows[] = {"ERROR  ", "DICTION", "FILE   ", "NOT    ", "FOUND  ", c.row5, "SORRY  "};
        for (int r = 0; r < 7; r++) EXPECT_STREQ(gridMessageRows[0][r], rows[r]) << "row " << r;
        EXPECT_NE(err.find(file + c.said), std::string::npos) << err;
    }
}

TEST_F(StartUp, SavedFilesWinOverTheDefaultsAndTheFirstGameIsOnePlayer) {
    const std::string prefs = "1;37;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;0;0;0;0;0;0;1;";
    const std::string hi = "1;250;ESCAPES;105;1506;";
    writeFile("prefs.txt", prefs);
    writeFile("hi.txt", hi);
    writeFile("worddiction.txt", "cat\r\n");
    twoPlayer = 0;
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
    EXPECT_EQ(keyLeft[0], 37);
    EXPECT_EQ(tipDoNotShow[0], 1);
    EXPECT_EQ(hiScoreCount, 1);
    EXPECT_EQ(letterWeightTotal, 3053);
    EXPECT_EQ(twoPlayer, 0);
    EXPECT_EQ(readFile("prefs.txt"), prefs);
    EXPECT_EQ(readFile("hi.txt"), hi);
}

TEST_F(StartUp, TipZeroMarkedDoNotShowLeavesTheFirstIntroOnScreen) {
    writeFile("prefs.txt", "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;0;0;0;0;0;0;1;");
    writeFile("worddiction.txt", "cat\r\n");
    headlessPushMessage(WM_ACTIVATEAPP, 0, 0);
    // Nothing more arrives: the headless wait then ends the loop with -1.
    EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), -1);
    EXPECT_EQ(gameState, STATE_LEVEL_INTRO);
    EXPECT_EQ(levelNumber, 0);
}

TEST_F(StartUp, TheGridSearchKnowsTheWordsStartUpLoaded) {
    writeFile("worddiction.txt", "hen\r\n");
    ASSERT_TRUE(dictLoad());
    dictIndexBuild();
    writeFile("worddiction.txt", "cat\r\n");
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
    std::memcpy(wordgrid[0][0], "CATQHEN", GRID_SIZE);
    SolverResult r;
    solverSolve(0, &r);
    EXPECT_EQ(r.wordCount, 1);
    EXPECT_STREQ(r.best, "CAT");
}

TEST_F(StartUp, ADisplayThatCannotOpenEndsTheProgramWithZeroAndNoLoop) {
    headlessFail(HEADLESS_FAULT_DISPLAY_OPEN, DDERR_GENERIC);
    headlessPushMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
    EXPECT_EQ(headlessPendingMessages(), 1);
    EXPECT_FALSE(fileExists("prefs.txt"));
    EXPECT_EQ(keyLeft[0], 65);  // the steps before the display still ran
}

}  // namespace
