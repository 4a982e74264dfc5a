#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
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

PrefsValues defaultValues() {
    PrefsValues v{};
    const int32_t keys[KEYDEF_ROWS] = {65, 68, 87, 83, 32, 9, 87, 100, 102, 104, 101, 98, 107, 104};
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
        v.bindings[row] = keys[row];
    }
    v.spare = 1;
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
    keyScrambleNext[1] = 1;
    keyUp[0] = 255;
    tipDoNotShow[0] = 1;
    tipDoNotShow[7] = 1;
    prefsSpareFlag = 0;
    const PrefsValues saved = currentValues();
    ASSERT_TRUE(prefsSave());
    EXPECT_EQ(readFile("prefs.txt"), "1;37;68;255;83;32;9;87;0;100;102;104;101;0;107;1;0;1;0;0;0;0;0;0;1;0;");

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

// Files the game could have written, however odd, load as they always did.
TEST_F(Prefs, FilesTheGameCouldHaveWrittenLoadAsTheyAre) {
    const std::string twentySixFields = "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;";
    struct Case {
        const char* what;
        std::string bytes;
        int32_t left0, up0, left1;
        uint8_t tip0, spare;
    };
    const Case cases[] = {
        {"a line end after the last field", twentySixFields + "\r\n", 65, 87, 100, 0, 1},
        {"blanks and tabs after the last field", twentySixFields + " \t \n\n", 65, 87, 100, 0, 1},
        {"the last field without its ';'", "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;0;0;0;0;0;0;1", 65,
         87, 100, 1, 1},
        {"keys 0 and 255, written as -0 and with leading zeros", "1;-0;68;00255;83;32;9;87;", 0, 255, 0, 0, 0},
        {"the unused fields and the flags may hold any whole number",
         "-9;65;68;87;83;32;9;87;99999999999;100;102;104;101;98;107;104;-4;-1;0;0;0;0;0;0;0;-7;", 65, 87, 100, 1, 1},
        {"more than 26 fields", twentySixFields + "5;6;7;", 65, 87, 100, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keyDefReset();
        tipsClear();
        prefsReset();
        writeFile("prefs.txt", c.bytes);
        testing::internal::CaptureStderr();
        const bool loaded = prefsLoad();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(loaded);
        EXPECT_EQ(keyLeft[0], c.left0);
        EXPECT_EQ(keyUp[0], c.up0);
        EXPECT_EQ(keyLeft[1], c.left1);
        EXPECT_EQ(tipDoNotShow[0], c.tip0);
        EXPECT_EQ(prefsSpareFlag, c.spare);
        EXPECT_EQ(readFile("prefs.txt"), c.bytes);
        EXPECT_FALSE(fileExists("prefs.txt.bad"));
    }
}

// A file the game could not have written is set aside whole, never loaded in
// part, and the next save cannot destroy it.
TEST_F(Prefs, FilesTheGameCouldNotHaveWrittenAreSetAsideForTheDefaults) {
    const std::string random = {'\x8f', 'P', '\x01', ';', '\xff', '7', ';', 'q', '\x00', ';', '\xc3', '\x28'};
    const char withZero[] = "1;65;6\08;87;83;32;9;87;";
    struct Case {
        const char* what;
        std::string bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"random bytes", random, "(field 1 is not a whole number)"},
        {"an empty file", "", "(only 0 fields, fewer than 8)"},
        {"only blanks", " \r\n", "(only 0 fields, fewer than 8)"},
        {"seven fields", "1;65;68;87;83;32;9;", "(only 7 fields, fewer than 8)"},
        {"a blank before a number", "1; 65;68;87;83;32;9;87;", "(field 2 is not a whole number)"},
        {"a plus sign", "1;65;+68;87;83;32;9;87;", "(field 3 is not a whole number)"},
        {"a minus sign alone", "1;65;68;-;83;32;9;87;", "(field 4 is not a whole number)"},
        {"an empty field", "1;65;68;87;;32;9;87;", "(field 5 is not a whole number)"},
        {"a hexadecimal number", "1;65;68;87;83;0x20;9;87;", "(field 6 is not a whole number)"},
        {"text after the number", "1;65;68;87;83;32;9abc;87;", "(field 7 is not a whole number)"},
        {"a zero byte inside a field", std::string(withZero, sizeof withZero - 1), "(field 3 is not a whole number)"},
        {"a line end between fields", "1;65;68;87;83;32;9;87;\n0;100;", "(field 9 is not a whole number)"},
        {"text after the last field", "1;65;68;87;83;32;9;87;junk", "(field 9 is not a whole number)"},
        {"a key above 255", "1;65;68;87;83;256;9;87;", "(field 6, a key, is 256, not 0 to 255)"},
        {"a negative key", "1;65;68;87;83;32;9;-1;", "(field 8, a key, is -1, not 0 to 255)"},
        {"player two's key beyond 32 bits", "1;65;68;87;83;32;9;87;0;100;102;104;101;98;99999999999;104;",
         "(field 15, a key, is 99999999999, not 0 to 255)"},
        {"a 300-digit key, read in pieces of 100", "1;" + std::string(300, '7') + ";",
         "(field 2, a key, is 77777777777777777777, not 0 to 255)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keyDefReset();
        tipsClear();
        prefsReset();
        // Values that differ from every default, so that the defaults' return shows.
        keyLeft[0] = 1;
        keyDrop[1] = 2;
        tipDoNotShow[4] = 1;
        prefsSpareFlag = 0;
        keysChanged = 1;
        writeFile("prefs.txt", c.bytes);
        testing::internal::CaptureStderr();
        const bool loaded = prefsLoad();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(loaded);
        EXPECT_EQ(err, std::string("tarvoquelms: prefs.txt is damaged ") + c.problem +
                           "; it is kept as prefs.txt.bad and the default keys are used.\n");
        EXPECT_EQ(currentValues(), defaultValues());
        EXPECT_EQ(keysChanged, 0);
        EXPECT_FALSE(fileExists("prefs.txt"));
        EXPECT_EQ(readFile("prefs.txt.bad"), c.bytes);

        ASSERT_TRUE(prefsSave());
        EXPECT_EQ(readFile("prefs.txt"), defaultPrefs);
        EXPECT_EQ(readFile("prefs.txt.bad"), c.bytes);
        ASSERT_EQ(remove("prefs.txt"), 0);
        ASSERT_EQ(remove("prefs.txt.bad"), 0);
    }
}

TEST_F(Prefs, ADamagedFileThatCannotBeSetAsideSaysSoAndStillGivesTheDefaults) {
    writeFile("prefs.txt", "1;65;68;87;83;32;9;999;");
    // A folder in the way of the new name makes the rename fail.
    ASSERT_TRUE(std::filesystem::create_directory("prefs.txt.bad"));
    keyLeft[0] = 1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(prefsLoad());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("tarvoquelms: prefs.txt is damaged (field 8, a key, is 999, not 0 to 255) and could not be "
                        "kept as prefs.txt.bad (",
                        0),
              0u)
        << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_EQ(currentValues(), defaultValues());
    EXPECT_EQ(readFile("prefs.txt"), "1;65;68;87;83;32;9;999;");
}

// Whatever the bytes, what is left loads back and saves the same, and every
// binding is a key code.
TEST_F(Prefs, RandomBytesAlwaysLeaveValuesThatSaveAndLoadBack) {
    cmSrand(2024);
    int32_t loadedCount = 0;
    for (int run = 0; run < 400; run++) {
        // Mostly numbers near the key range, so that some files pass and load.
        std::string bytes;
        const int fields = cmRand() % 30;
        for (int f = 0; f < fields; f++) {
            const int r = cmRand() % 40;
            if (r == 0) {
                bytes += static_cast<char>(cmRand() % 256);
            } else {
                char number[16];
                snprintf(number, sizeof number, "%d", r == 1 ? -(cmRand() % 5) : cmRand() % 262);
                bytes += number;
            }
            if (f + 1 < fields || cmRand() % 2 == 0) bytes += ';';
        }
        writeFile("prefs.txt", bytes);
        testing::internal::CaptureStderr();
        bool loaded = prefsLoad();
        testing::internal::GetCapturedStderr();
        loadedCount += loaded;
        EXPECT_EQ(fileExists("prefs.txt.bad"), !loaded);
        std::remove("prefs.txt.bad");
        for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
            ASSERT_GE(*keyDefBinding(row), 0);
            ASSERT_LE(*keyDefBinding(row), 255);
        }
        for (uint8_t tip : currentValues().tips) {
            ASSERT_LE(tip, 1);
        }
        ASSERT_LE(prefsSpareFlag, 1);
        const PrefsValues values = currentValues();
        ASSERT_TRUE(prefsSave());
        ASSERT_TRUE(prefsLoad());
        ASSERT_EQ(currentValues(), values);
    }
    // Both ways were taken.
    EXPECT_GT(loadedCount, 0);
    EXPECT_LT(loadedCount, 400);
}

TEST_F(Prefs, AFileTooBigForTheReadBufferIsRefusedLikeAMissingOne) {
    const PrefsValues defaults = currentValues();
    // The buffer holds 1,999,999 bytes and an end mark; a file that size still
    // loads (the blanks after the last field do not count).
    const std::string fields = "1;11;68;87;83;32;9;87;";
    std::string fits = fields + std::string(1999999 - fields.size(), ' ');
    writeFile("prefs.txt", fits);
    ASSERT_TRUE(prefsLoad());
    EXPECT_EQ(keyLeft[0], 11);

    keyDefReset();
    prefsReset();
    for (size_t size : {size_t{2000000}, size_t{3500000}}) {
        std::string tooBig = fields + std::string(size - fields.size(), ' ');
        writeFile("prefs.txt", tooBig);
        EXPECT_FALSE(prefsLoad());
        EXPECT_EQ(currentValues(), defaults);
        EXPECT_FALSE(fileExists("prefs.txt.bad"));
    }
}

#ifndef _WIN32
// Windows keeps a process's working folder from being removed.
TEST_F(Prefs, AFolderThatCannotBeWrittenFailsTheSaveSilently) {
    removeFolder();
    keysChanged = 1;
    EXPECT_FALSE(prefsSave());
    EXPECT_EQ(keysChanged, 1);
    EXPECT_FALSE(fileExists("prefs.txt"));
}
#endif

}  // namespace
