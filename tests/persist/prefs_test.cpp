#include <gtest/gtest.h>

#include <array>
#include <string>

#include "Core/cmrand.h"
#include "flow/keydefs.h"
#include "game/tips.h"
#include "persist/prefs.h"
#include "platform/headless/headless.h"
#include "testfolder.h"

namespace {

const char* const defaultPrefs = "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;";

struct PrefsValues {
    std::array<int32_t, KEYDEF_ROWS> bindings;
    std::array<uint8_t, TIP_COUNT> tips;
    uint8_t spare;
    bool operator==(const PrefsValues&) const = default;
};

PrefsValues currentValues() {
    PrefsValues v{};
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
        v.bindings[row] = *keyDefBinding(row);
    }
    for (int32_t k = 0; k < TIP_COUNT; k++) {
        v.tips[k] = tipDoNotShow[k];
    }
    v.spare = prefsSpareFlag;
    return v;
}

class Prefs : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        headlessReset();
        keyDefReset();
        tipsClear();
        prefsReset();
    }
};

TEST_F(Prefs, DefaultsSaveAsTheKnownRunOfFieldsAndLoadBackUnchanged) {
    const PrefsValues defaults = currentValues();
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(readFile("prefs.txt"), defaultPrefs);

    keysChanged = 1;
    ASSERT_TRUE(prefsLoad());
    EXPECT_EQ(currentValues(), defaults);
    EXPECT_EQ(keysChanged, 0);
}

TEST_F(Prefs, ChangedValuesSurviveASaveAndLoad) {
    keyLeft[0] = 37;
    keyDrop[1] = 0;
    keyScrambleNext[1] = -12;
    keyUp[0] = 2147483647;
    tipDoNotShow[0] = 1;
    tipDoNotShow[7] = 1;
    prefsSpareFlag = 0;
    const PrefsValues saved = currentValues();
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(readFile("prefs.txt"), "1;37;68;2147483647;83;32;9;87;0;100;102;104;101;0;107;-12;0;1;0;0;0;0;0;0;1;0;");

    keyDefReset();
    tipsClear();
    prefsReset();
    ASSERT_TRUE(prefsLoad());
    EXPECT_EQ(currentValues(), saved);
}

TEST_F(Prefs, SavingClearsKeysChangedAndWritesEvenWithoutChanges) {
    keysChanged = 1;
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(keysChanged, 0);
    ASSERT_EQ(remove("prefs.txt"), 0);
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(readFile("prefs.txt"), defaultPrefs);
}

TEST_F(Prefs, AShortFileSetsTheFieldsItHasAndZeroesTheRest) {
    writeFile("prefs.txt", "1;1;2;3;4;5;6;7;");
    ASSERT_TRUE(prefsLoad());
    PrefsValues expected{};
    for (int32_t c = 0; c < KEYDEF_CONTROLS; c++) {
        expected.bindings[c] = c + 1;
    }
    EXPECT_EQ(currentValues(), expected);
}

TEST_F(Prefs, TipFlagsAndSpareFlagLoadAsZeroOrOneAndTheLeadingFieldIsIgnored) {
    writeFile("prefs.txt", "7;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;2;0;-1;0;0;0;0;99;5;");
    ASSERT_TRUE(prefsLoad());
    EXPECT_EQ(keyLeft[0], 65);
    EXPECT_EQ(keyScrambleNext[1], 104);
    EXPECT_EQ(currentValues().tips, (std::array<uint8_t, TIP_COUNT>{1, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(prefsSpareFlag, 1);
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(readFile("prefs.txt"), "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;1;0;0;0;0;1;1;");
}

TEST_F(Prefs, AMissingFileLeavesEveryValueAndKeysChanged) {
    keyLeft[1] = 55;
    tipDoNotShow[3] = 1;
    keysChanged = 1;
    const PrefsValues before = currentValues();
    EXPECT_FALSE(prefsLoad());
    EXPECT_EQ(currentValues(), before);
    EXPECT_EQ(keysChanged, 1);
}

// What loading makes of files that were not written by the game.
TEST_F(Prefs, AnyBytesLoadWithoutHarm) {
    const std::string digits300(300, '7');
    const char withZero[] = "1;65\r\n;6\08;87;83;32;9;87;0;100;";
    struct Case {
        const char* what;
        std::string bytes;
        int32_t left0, right0, up0, left1;
        uint8_t spare;
    };
    const Case cases[] = {
        {"empty file: every field reads as empty", "", 0, 0, 0, 0, 0},
        {"no ';' at all: one field, the rest empty", "hello world", 0, 0, 0, 0, 0},
        {"numbers beyond 32 bits stop at the range's ends", "1;99999999999999999999;-99999999999;4294967361;", INT32_MAX,
         INT32_MIN, INT32_MAX, 0, 0},
        {"blanks, signs and trailing text", "1; 65;+68abc;-;0x41;", 65, 68, 0, 0, 0},
        {"a 300-digit field is cut into pieces of 100", "1;" + digits300 + ";5;", INT32_MAX, INT32_MAX, INT32_MAX, 0, 0},
        {"line ends end a number; a zero byte ends the field's text", std::string(withZero, sizeof withZero - 1), 65, 6,
         87, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keyDefReset();
        prefsReset();
        writeFile("prefs.txt", c.bytes);
        ASSERT_TRUE(prefsLoad());
        EXPECT_EQ(keyLeft[0], c.left0);
        EXPECT_EQ(keyRight[0], c.right0);
        EXPECT_EQ(keyUp[0], c.up0);
        EXPECT_EQ(keyLeft[1], c.left1);
        EXPECT_EQ(prefsSpareFlag, c.spare);
    }
}

TEST_F(Prefs, RandomBytesNeverBreakTheFlags) {
    cmSrand(2024);
    for (int run = 0; run < 200; run++) {
        std::string bytes(static_cast<size_t>(cmRand() % 700), '\0');
        for (char& b : bytes) {
            int r = cmRand() % 8;
            b = r == 0 ? ';' : r < 4 ? static_cast<char>('0' + cmRand() % 10) : static_cast<char>(cmRand() % 256);
        }
        writeFile("prefs.txt", bytes);
        ASSERT_TRUE(prefsLoad());
        for (uint8_t tip : currentValues().tips) {
            ASSERT_LE(tip, 1);
        }
        ASSERT_LE(prefsSpareFlag, 1);
    }
}

TEST_F(Prefs, AFileTooBigForTheReadBufferIsRefusedLikeAMissingOne) {
    const PrefsValues defaults = currentValues();
    // The buffer holds 1,999,999 bytes and an end mark; a file that size still loads.
    std::string fits = std::string("1;11;") + std::string(1999999 - 5, 'x');
    writeFile("prefs.txt", fits);
    ASSERT_TRUE(prefsLoad());
    EXPECT_EQ(keyLeft[0], 11);

    keyDefReset();
    prefsReset();
    for (size_t size : {size_t{2000000}, size_t{3500000}}) {
        std::string tooBig = std::string("1;11;") + std::string(size - 5, 'x');
        writeFile("prefs.txt", tooBig);
        EXPECT_FALSE(prefsLoad());
        EXPECT_EQ(currentValues(), defaults);
    }
}

TEST_F(Prefs, AFolderThatCannotBeWrittenFailsTheSaveSilently) {
    removeFolder();
    keysChanged = 1;
    EXPECT_FALSE(prefsSave());
    EXPECT_EQ(keysChanged, 1);
    EXPECT_FALSE(fileExists("prefs.txt"));
}

}  // namespace
