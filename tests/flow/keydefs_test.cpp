#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Core/cmrand.h"
#include "flow/keydefs.h"
#include "game/tips.h"
#include "persist/prefs.h"
#include "persist/testfolder.h"
#include "platform/headless/headless.h"
#include "video/drawrecord.h"

namespace {

constexpr uint32_t KEY_ENTER = 13;
constexpr uint32_t KEY_ESCAPE = 27;
constexpr uint32_t KEY_UP = 38;
constexpr uint32_t KEY_DOWN = 40;
constexpr uint32_t KEY_F12 = 123;

std::string keyName(int32_t k, int32_t row = 0) {
    char buffer[KEY_NAME_SIZE];
    keyNameFormat(buffer, k, row);
    return buffer;
}

std::string rowLabel(int32_t row) {
    char buffer[KEY_NAME_SIZE];
    keyDefRowLabel(buffer, row);
    return buffer;
}

std::vector<std::string> screenTexts() {
    KeyDefTextLine lines[KEYDEF_TEXT_LINES];
    int32_t n = keyDefTextLines(lines);
    std::vector<std::string> texts;
    for (int32_t i = 0; i < n; i++) {
        texts.push_back(std::to_string(lines[i].y) + " " + lines[i].text);
    }
    return texts;
}

class KeyDefs : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        keyDefReset();
        tipsClear();
        prefsReset();
        cmSrand(1);
    }
};

TEST_F(KeyDefs, EachRowShowsItsControlWithTheDefaultKey) {
    struct Case {
        int32_t row;
        const char* label;
        const char* name;
        int32_t y;
    };
    const Case cases[] = {
        {0, "P1 LEFT", "A", 131},
        {1, "P1 RIGHT", "D", 142},
        {2, "P1 UP", "W", 153},
        {3, "P1 DOWN", "S", 164},
        {4, "P1 DROP", "SPACE", 175},
        {5, "P1 DRAG MODE", "TAB", 186},
        {6, "P1 SCRAMBLE NEXT", "W", 197},
        {7, "P2 LEFT", "NUMPAD4", 251},
        {8, "P2 RIGHT", "NUMPAD6", 262},
        {9, "P2 UP", "NUMPAD8", 273},
        {10, "P2 DOWN", "NUMPAD5", 284},
        {11, "P2 DROP", "NUMPAD2", 295},
        {12, "P2 DRAG MODE", "ADD", 306},
        {13, "P2 SCRAMBLE NEXT", "NUMPAD8", 317},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(rowLabel(c.row), c.label);
        EXPECT_EQ(keyName(*keyDefBinding(c.row), c.row), c.name);
        EXPECT_EQ(keyDefRowY(c.row), c.y);
    }
    EXPECT_EQ(keyDefBinding(2), &keyUp[0]);
    EXPECT_EQ(keyDefBinding(11), &keyDrop[1]);
    EXPECT_EQ(keyDefBinding(14), nullptr);
    EXPECT_EQ(keyDefBinding(-1), nullptr);
}

TEST_F(KeyDefs, KeyCodesReadAsTheirNames) {
    struct Case {
        int32_t code;
        const char* name;
    };
    const Case cases[] = {
        {48, "0"}, {57, "9"}, {65, "A"}, {90, "Z"},
        {8, "BACKSPACE"}, {9, "TAB"}, {12, "NOT NUMPAD5"}, {13, "ENTER"}, {16, "SHIFT"}, {17, "CONTROL"},
        {19, "BREAK"}, {20, "CAPSLOCK"}, {32, "SPACE"}, {33, "PAGEUP"}, {34, "PAGEDOWN"}, {35, "END"},
        {36, "HOME"}, {37, "LEFT CURSOR"}, {38, "UP CURSOR"}, {39, "RIGHT CURSOR"}, {40, "DOWN CURSOR"},
        {45, "INSERT"}, {46, "DELETE"}, {91, "LEFTWINDOWS"}, {92, "RIGHTWINDOWS"}, {93, "APPS"},
        {96, "NUMPAD0"}, {97, "NUMPAD1"}, {105, "NUMPAD9"}, {106, "MULTIPLY"}, {107, "ADD"},
        {108, "SEPARATOR"}, {109, "SUBTRACT"}, {110, "DECIMAL"}, {111, "DIVIDE"}, {112, "F1"}, {113, "F2"},
        {114, "F3 (Don't use)"}, {115, "F4 (Don't use)"}, {116, "F5 (Don't use)"}, {117, "F6"}, {123, "F12"},
        {135, "F24"}, {144, "NUM LOCK (CONFUSES NUMERIC KEYPAD)"}, {145, "SCROLL LOCK"}, {186, "SEMICOLON"},
        {187, "="}, {188, ","}, {189, "-"}, {190, "."}, {192, "'"}, {219, "LEFT SQUARE BRACKET"},
        {221, "RIGHT SQUARE BRACKET"}, {222, "HASH"}, {223, "TWIDDLE"},
        // Codes without a name.
        {1, "UNKNOWN KEY 1"}, {27, "UNKNOWN KEY 27"}, {47, "UNKNOWN KEY 47"}, {64, "UNKNOWN KEY 64"},
        {95, "UNKNOWN KEY 95"}, {136, "UNKNOWN KEY 136"}, {191, "UNKNOWN KEY 191"}, {200, "UNKNOWN KEY 200"},
        {220, "UNKNOWN KEY 220"}, {224, "UNKNOWN KEY 224"}, {255, "UNKNOWN KEY 255"}, {-5, "UNKNOWN KEY -5"},
        {INT32_MAX, "UNKNOWN KEY 2147483647"}, {INT32_MIN, "UNKNOWN KEY -2147483648"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyName(c.code), c.name) << c.code;
    }
}

TEST_F(KeyDefs, NoKeyReadsChooseAKeyOnlyOnTheRowBeingCaptured) {
    EXPECT_EQ(keyName(0, 0), "NOT DEFINED");
    keyDefSelected = 3;
    keyDefCaptureBegin();
    EXPECT_EQ(keyName(*keyDefBinding(3), 3), "CHOOSE A KEY");
    EXPECT_EQ(keyName(0, 4), "NOT DEFINED");
    keyDefCaptureKey(KEY_ESCAPE);
    EXPECT_EQ(keyName(0, 3), "NOT DEFINED");
}

TEST_F(KeyDefs, OnlyTheSelectedRowShakesByAtMostOnePixel) {
    keyDefSelected = 5;
    std::set<int32_t> seen;
    for (int i = 0; i < 200; i++) {
        for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
            if (row != 5) {
                ASSERT_EQ(keyDefRowJitter(row), 0);
            }
        }
        int32_t j = keyDefRowJitter(5);
        ASSERT_GE(j, -1);
        ASSERT_LE(j, 1);
        seen.insert(j);
    }
    EXPECT_EQ(seen, (std::set<int32_t>{-1, 0, 1}));
}

TEST_F(KeyDefs, UpAndDownWrapAroundTheFourteenRows) {
    keyDefOpen();
    EXPECT_TRUE(keyDefCommandKey(KEY_UP));
    EXPECT_EQ(keyDefSelected, 13);
    EXPECT_TRUE(keyDefCommandKey(KEY_DOWN));
    EXPECT_EQ(keyDefSelected, 0);
    EXPECT_TRUE(keyDefCommandKey(KEY_DOWN));
    EXPECT_EQ(keyDefSelected, 1);
    keyDefMoveSelection(-15);
    EXPECT_EQ(keyDefSelected, 0);
}

TEST_F(KeyDefs, ACaptureTakesTheNextKeyWhateverItIs) {
    struct Case {
        uint32_t key;
        int32_t binding;
        uint8_t changed;
    };
    const Case cases[] = {
        {KEY_ESCAPE, 87, 0},  // cancels: the old key comes back
        {87, 87, 0},          // the same key again is no change
        {75, 75, 1},          // K: a command key may be bound
        {KEY_ENTER, 13, 1},
        {200, 200, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        keyDefReset();
        keyDefOpen();
        keyDefSelected = 2;
        EXPECT_TRUE(keyDefCommandKey(KEY_ENTER));
        EXPECT_EQ(keyCaptureActive, 1);
        EXPECT_EQ(keyUp[0], 0);
        EXPECT_EQ(keyCapturePrevious, 87);

        EXPECT_TRUE(keyDefCaptureKey(c.key));
        EXPECT_EQ(keyUp[0], c.binding);
        EXPECT_EQ(keysChanged, c.changed);
        EXPECT_EQ(keyCaptureActive, 0);
        EXPECT_EQ(keyDefActive, 1);  // Escape cancelled the capture, not the screen
        EXPECT_EQ(keyScrambleNext[0], 87);

        // The capture lasted one key: the next goes on to the commands.
        EXPECT_FALSE(keyDefCaptureKey(65));
        EXPECT_EQ(keyUp[0], c.binding);
    }
}

TEST_F(KeyDefs, EscapeOrF12ClosesTheScreenAndKeepsTheSelection) {
    for (uint32_t key : {KEY_ESCAPE, KEY_F12}) {
        keyDefOpen();
        keyDefSelected = 9;
        EXPECT_TRUE(keyDefCommandKey(key));
        EXPECT_EQ(keyDefActive, 0);
        EXPECT_EQ(keyDefSelected, 9);
    }
    // With the screen closed its keys belong to the rest of the game.
    for (uint32_t key : {KEY_ENTER, KEY_ESCAPE, KEY_UP, KEY_DOWN, uint32_t{'S'}, uint32_t{'L'}}) {
        EXPECT_FALSE(keyDefCommandKey(key));
    }
    EXPECT_EQ(keyCaptureActive, 0);
    EXPECT_EQ(keyDefSelected, 9);
    EXPECT_FALSE(keyDefCaptureKey(65));
}

TEST_F(KeyDefs, TheInstructionsFollowTheCaptureAndTheUnsavedChanges) {
    const std::vector<std::string> common = {
        "43 Key Definition:", "54 In a one player game, either player's controls may be used.",
        "65 Use the up and down cursor to highlight a control.", "76 Press Enter to change a key."};
    auto with = [&](std::vector<std::string> tail) {
        std::vector<std::string> all = common;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    EXPECT_EQ(screenTexts(), with({"87 Press Escape when finished.", "98 These are the default keys."}));
    keysChanged = 1;
    EXPECT_EQ(screenTexts(), with({"87 Press Escape when finished.", "98 Press S to save changes permanently.",
                                   "109 Press L to load previously saved keys."}));
    keyDefCaptureBegin();
    EXPECT_EQ(screenTexts(), with({"87 Press Escape to cancel."}));
}

TEST_F(KeyDefs, AFailedSaveTakesTheLineThatTellsWhetherTheKeysAreTheDefaults) {
    const std::vector<std::string> head = {
        "43 Key Definition:", "54 In a one player game, either player's controls may be used.",
        "65 Use the up and down cursor to highlight a control.", "76 Press Enter to change a key.",
        "87 Press Escape when finished."};
    struct Case {
        uint8_t changed;
        std::vector<std::string> tail;
    };
    const Case cases[] = {
        {0, {"98 SAVE FAILED"}},
        {1, {"98 SAVE FAILED", "109 Press L to load previously saved keys."}},
    };
    for (const Case& c : cases) {
        keysChanged = c.changed;
        keyDefSaveFailed = 1;
        std::vector<std::string> all = head;
        all.insert(all.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(screenTexts(), all) << "keysChanged " << int{c.changed};
    }
}

// Where the label of a row stands in this drawing, as an offset from its
// resting place; false when it is not drawn within one pixel of it.
bool findLabel(const std::vector<DrawCopy>& copies, int32_t row, std::pair<int32_t, int32_t>* offset) {
    std::string label = rowLabel(row);
    int32_t x = 315 - 8 * static_cast<int32_t>(label.size());
    for (int32_t dy = -1; dy <= 1; dy++) {
        for (int32_t dx = -1; dx <= 1; dx++) {
            if (drawHasSmallText(copies, label.c_str(), x + dx, keyDefRowY(row) + dy)) {
                *offset = {dx, dy};
                return true;
            }
        }
    }
    return false;
}

TEST_F(KeyDefs, TheScreenDrawsInstructionsAndEveryRowWithOnlyTheSelectedOneShaking) {
    drawSetUp();
    keyDefReset();
    keyDefSelected = 3;
    keyRight[1] = 188;
    std::set<std::pair<int32_t, int32_t>> selectedOffsets;
    for (int frame = 0; frame < 30; frame++) {
        headlessClearCopies();
        keyDefScreenDraw();
        std::vector<DrawCopy> copies = drawCopies();
        EXPECT_TRUE(drawHasSmallText(copies, "Key Definition:", 320 - 4 * 15, 43));
        EXPECT_TRUE(drawHasSmallText(copies, "These are the default keys.", 320 - 4 * 27, 98));
        EXPECT_TRUE(drawHasSmallText(copies, "P1 LEFT", 315 - 8 * 7, 131));
        EXPECT_TRUE(drawHasSmallText(copies, "A", 325, 131));
        EXPECT_TRUE(drawHasSmallText(copies, "P2 RIGHT", 315 - 8 * 8, 262));
        EXPECT_TRUE(drawHasSmallText(copies, ",", 325, 262));
        EXPECT_TRUE(drawHasSmallText(copies, "P2 SCRAMBLE NEXT", 315 - 8 * 16, 317));
        EXPECT_TRUE(drawHasSmallText(copies, "NUMPAD8", 325, 317));
        std::pair<int32_t, int32_t> offset;
        ASSERT_TRUE(findLabel(copies, 3, &offset));
        selectedOffsets.insert(offset);
    }
    EXPECT_GT(selectedOffsets.size(), 2u);
}

class KeyDefFiles : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        headlessReset();
        keyDefReset();
        tipsClear();
        prefsReset();
        keyDefOpen();
    }
};

TEST_F(KeyDefFiles, SSavesTheBindingsAndClearsKeysChanged) {
    keyDefSelected = 0;
    keyDefCommandKey(KEY_ENTER);
    keyDefCaptureKey(37);
    ASSERT_EQ(keysChanged, 1);
    EXPECT_TRUE(keyDefCommandKey('S'));
    EXPECT_EQ(keysChanged, 0);
    EXPECT_EQ(readFile("prefs.txt"), "1;37;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;");
}

TEST_F(KeyDefFiles, SInAFolderThatCannotBeWrittenKeepsTheChangesMarkedUnsavedAndSaysSoUntilTheNextKey) {
    keyDefCommandKey(KEY_ENTER);
    keyDefCaptureKey(37);
    removeFolder();
    EXPECT_TRUE(keyDefCommandKey('S'));
    EXPECT_EQ(keyDefSaveFailed, 1);
    EXPECT_FALSE(keyDefSave());
    EXPECT_EQ(keysChanged, 1);
    EXPECT_EQ(keyLeft[0], 37);

    drawSetUp();
    keyDefOpen();
    headlessClearCopies();
    keyDefScreenDraw();
    EXPECT_TRUE(drawHasSmallText(drawCopies(), "SAVE FAILED", 320 - 4 * 11, 98));

    EXPECT_TRUE(keyDefCommandKey(KEY_DOWN));
    EXPECT_EQ(keyDefSaveFailed, 0);
}

TEST_F(KeyDefFiles, AFileThatIsAFolderCannotBeSavedOverAndSaysSo) {
    std::filesystem::create_directory("prefs.txt");
    EXPECT_FALSE(keyDefSave());
    EXPECT_EQ(keyDefSaveFailed, 1);
    std::filesystem::remove("prefs.txt");
    EXPECT_TRUE(keyDefSave());
    EXPECT_EQ(keyDefSaveFailed, 0);
}

TEST_F(KeyDefFiles, LLoadsTheSavedKeysBackOrChangesNothingWithoutAFile) {
    keyDefCommandKey(KEY_ENTER);
    keyDefCaptureKey(37);
    EXPECT_TRUE(keyDefCommandKey('L'));  // no file yet
    EXPECT_EQ(keyLeft[0], 37);
    EXPECT_EQ(keysChanged, 1);

    writeFile("prefs.txt", "1;66;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;0;0;0;0;0;0;1;");
    EXPECT_TRUE(keyDefCommandKey('L'));
    EXPECT_EQ(keyLeft[0], 66);
    EXPECT_EQ(tipDoNotShow[0], 1);
    EXPECT_EQ(keysChanged, 0);
}

TEST_F(KeyDefFiles, LWithADamagedFileSetsItAsideAndShowsTheDefaultKeys) {
    keyDefCommandKey(KEY_ENTER);
    keyDefCaptureKey(37);
    tipDoNotShow[2] = 1;
    ASSERT_EQ(keysChanged, 1);
    const std::string damaged = "1;37;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;0;0;0;0;0;0;0;1;\x1a\x1a";
    writeFile("prefs.txt", damaged);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(keyDefCommandKey('L'));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tarvoquelms: prefs.txt is damaged (field 27 is not a whole number); it is kept as prefs.txt.bad and the "
              "default keys are used.\n");
    EXPECT_EQ(keyLeft[0], 65);
    EXPECT_EQ(tipDoNotShow[2], 0);
    EXPECT_EQ(keysChanged, 0);
    KeyDefTextLine lines[KEYDEF_TEXT_LINES];
    int32_t n = keyDefTextLines(lines);
    EXPECT_STREQ(lines[n - 1].text, "These are the default keys.");
    EXPECT_FALSE(fileExists("prefs.txt"));
    EXPECT_EQ(readFile("prefs.txt.bad"), damaged);
}

}  // namespace
