#include "video/display.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Core/cmpath.h"
#include "platform/headless/headless.h"

namespace {

// A 4 x 3 8-bit bitmap file: index 0 black, 1 red, 2 green, 3 blue, the rest grey.
constexpr int32_t SHEET_W = 4;
constexpr int32_t SHEET_H = 3;
const uint8_t sheetRows[SHEET_H][SHEET_W] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {2, 3, 0, 1}};

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void writeSheet(const char* name) {
    const uint32_t rowBytes = 4;  // 4 pixels, already a multiple of four
    const uint32_t offset = 14 + 40 + 1024;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + rowBytes * SHEET_H);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, SHEET_W);
    put32(b, SHEET_H);
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);
    put32(b, rowBytes * SHEET_H);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int i = 0; i < 256; i++) {  // blue, green, red, reserved
        uint8_t r = 128, g = 128, bl = 128;
        if (i == 0) r = g = bl = 0;
        if (i == 1) r = 255, g = 0, bl = 0;
        if (i == 2) r = 0, g = 255, bl = 0;
        if (i == 3) r = 0, g = 0, bl = 255;
        b.push_back(bl);
        b.push_back(g);
        b.push_back(r);
        b.push_back(0);
    }
    for (int row = SHEET_H - 1; row >= 0; row--) {  // bottom-up
        for (int x = 0; x < SHEET_W; x++) b.push_back(sheetRows[row][x]);
    }
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

class Display : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        std::snprintf(tempDir, sizeof tempDir, "/tmp/tq_display_XXXXXX");
        ASSERT_NE(mkdtemp(tempDir), nullptr);
        ASSERT_EQ(chdir(tempDir), 0);
        reset();
    }
    void TearDown() override {
        reset();
        std::remove("ALL");
        EXPECT_EQ(chdir(oldDir), 0);
        rmdir(tempDir);
    }
    // No display, no input objects, a fresh headless backend.
    static void reset() {
        displayRelease();
        headlessReset();
        gMainWindow = nullptr;
        gDirectInput = nullptr;
        gMouseDevice = nullptr;
        gMouseEvent = nullptr;
        gInputResult = 0;
        vidDisplayUnavailable = false;
    }
    // Start-up with the sheet in place; the test stops if it fails.
    void startUp() {
        writeSheet("ALL");
        ASSERT_TRUE(vidInit(nullptr, 1));
        headlessClearCopies();
    }
    char oldDir[4096];
    char tempDir[64];
};

// ---- start-up ----

TEST_F(Display, StartUpMakesEveryObjectAndLoadsSheetPaletteAndKey) {
    writeSheet("ALL");
    ASSERT_TRUE(vidInit(nullptr, 1));
    EXPECT_NE(gMainWindow, nullptr);
    EXPECT_NE(gDirectDraw, nullptr);
    EXPECT_TRUE(headless.displayOpen);
    ASSERT_NE(gPrimarySurface, nullptr);
    ASSERT_NE(gBackSurface, nullptr);
    EXPECT_EQ(gBackSurface, headlessBackBuffer());
    EXPECT_EQ(gBackSurface->width, VID_SCREEN_WIDTH);
    EXPECT_EQ(gBackSurface->height, VID_SCREEN_HEIGHT);
    ASSERT_NE(gSheetSurface, nullptr);
    EXPECT_EQ(gSheetSurface->width, SHEET_W);
    EXPECT_EQ(gSheetSurface->height, SHEET_H);
    for (int y = 0; y < SHEET_H; y++) {
        for (int x = 0; x < SHEET_W; x++) {
            EXPECT_EQ(gSheetSurface->pixels[y * gSheetSurface->pitch + x], sheetRows[y][x]) << x << "," << y;
        }
    }
    // The file's colours are on the display, black is the key.
    ASSERT_NE(gSheetPalette, nullptr);
    EXPECT_GE(headless.paletteSetCount, 1);
    EXPECT_EQ(headless.palette[1].r, 255);
    EXPECT_EQ(headless.palette[1].b, 0);
    EXPECT_EQ(headless.palette[3].b, 255);
    EXPECT_EQ(gSheetSurface->colorKey, 0);
    EXPECT_NE(gDirectInput, nullptr);
    EXPECT_NE(gMouseDevice, nullptr);
    EXPECT_NE(gMouseEvent, nullptr);
    EXPECT_EQ(gInputResult, DI_OK);
    EXPECT_EQ(headless.messageBoxCount, 0);
    EXPECT_FALSE(vidDisplayUnavailable);
    EXPECT_EQ(headless.iconSize, 0);  // a sheet without the letter tiles gives no icon
}

TEST_F(Display, TheSheetComesFromTheDataFolderAndGivesTheWindowTheGamesIcon) {
    std::filesystem::create_directory("data");
    std::filesystem::copy_file(TQ_SHEET_FILE, "data/ALL");
    cmPathSetFolder(CM_PATH_DATA, "data");
    const bool started = vidInit(nullptr, 1);
    cmPathReset();
    ASSERT_TRUE(started);
    EXPECT_STREQ(vidSheetPath, "data/ALL");
    ASSERT_EQ(headless.iconSize, 64);
    auto alpha = [](int x, int y) { return headless.icon[(y * 64 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(63, 0), 0);
    EXPECT_EQ(alpha(32, 32), 255);
    std::filesystem::remove_all("data");
}

TEST_F(Display, AMissingOrDamagedSheetTellsThePlayerWhereItLookedAndReleasesTheDisplay) {
    struct Case {
        const char* what;
        long keepBytes;      // of a good sheet; -1: no file at all
        const char* bytes;   // instead of a sheet, when not null
        const char* reason;  // what standard error adds
        bool folder = false;  // ALL is a folder
    };
    const Case cases[] = {
        {"missing", -1, nullptr, "(No such file or directory)"},
        {"cut short in its pixels", 1084, nullptr, "(it ends after 1084 bytes; its 4 x 3 pixels need 1090)"},
        {"cut short in its headers", 30, nullptr, "(it is only 30 bytes long, less than a bitmap's headers)"},
        {"empty", 0, nullptr, "(it is empty)"},
        {"not a bitmap", 0, "<html>Not found</html>", "(it is not a Windows bitmap)"},
        {"a folder", -1, nullptr, "(Is a directory)", true},
    };
    const std::string sheet = std::string(tempDir) + "/ALL";
    for (const Case& c : cases) {
        reset();
        std::remove("ALL");
        if (c.folder) std::filesystem::create_directory("ALL");
        if (c.keepBytes >= 0) {
            writeSheet("ALL");
            std::filesystem::resize_file("ALL", static_cast<uintmax_t>(c.keepBytes));
        }
        if (c.bytes) {
            FILE* f = std::fopen("ALL", "wb");
            ASSERT_NE(f, nullptr);
            std::fputs(c.bytes, f);
            std::fclose(f);
        }
        cmPathSetFolder(CM_PATH_DATA, tempDir);
        ::testing::internal::CaptureStderr();
        const bool started = vidInit(nullptr, 1);
        const std::string err = ::testing::internal::GetCapturedStderr();
        cmPathReset();
        EXPECT_FALSE(started) << c.what;
        EXPECT_EQ(headless.messageBoxCount, 1) << c.what;
        EXPECT_EQ(std::string(headless.lastMessageBoxText),
                  "The game's picture file is missing or damaged:\n" + sheet + ".\nReinstall the game.")
            << c.what;
        EXPECT_STREQ(headless.lastMessageBoxCaption, "Tarvo Quelms") << c.what;
        EXPECT_EQ(err, "tarvoquelms: the game's picture file is missing or damaged: " + sheet + " " + c.reason +
                           ". Reinstall the game.\n")
            << c.what;
        EXPECT_EQ(gDirectDraw, nullptr) << c.what;
        EXPECT_EQ(gPrimarySurface, nullptr) << c.what;
        EXPECT_EQ(gBackSurface, nullptr) << c.what;
        EXPECT_EQ(gSheetSurface, nullptr) << c.what;
        EXPECT_EQ(gSheetPalette, nullptr) << c.what;
        EXPECT_EQ(gMainWindow, nullptr) << c.what;
        EXPECT_EQ(gMouseDevice, nullptr) << c.what;
        EXPECT_FALSE(headless.displayOpen) << c.what;
    }
}

TEST_F(Display, WithoutADataFolderTheBoxSaysTheGameCannotTellWhereItIs) {
    cmPathSetFolder(CM_PATH_DATA, nullptr);
    ::testing::internal::CaptureStderr();
    const bool started = vidInit(nullptr, 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    cmPathReset();
    EXPECT_FALSE(started);
    EXPECT_STREQ(headless.lastMessageBoxText,
                 "The game's picture file ALL cannot be found:\nthe game cannot tell which folder it is in.\n"
                 "Reinstall the game.");
    EXPECT_NE(err.find("picture file ALL cannot be found"), std::string::npos) << err;
}

TEST_F(Display, ASheetReadButRefusedASurfaceIsADisplayFailure) {
    writeSheet("ALL");
    headlessFail(HEADLESS_FAULT_CREATE_SURFACE, DDERR_OUTOFVIDEOMEMORY);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(vidInit(nullptr, 1));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(headless.messageBoxCount, 1);
    EXPECT_STREQ(headless.lastMessageBoxText, "DirectDraw Init FAILED");
    EXPECT_STREQ(headless.lastMessageBoxCaption, "TARVOQUE");
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_FALSE(headless.displayOpen);
}

TEST_F(Display, NoDisplayAtAllSaysWhyOnOneLineOfStandardError) {
    writeSheet("ALL");
    headlessFail(HEADLESS_FAULT_DISPLAY_OPEN, DDERR_GENERIC);
    ::testing::internal::CaptureStderr();
    bool ok = vidInit(nullptr, 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ok);
    EXPECT_EQ(err, "cannot open the display: headless display refused by the test\n");
    EXPECT_TRUE(vidDisplayUnavailable);
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_EQ(gMouseDevice, nullptr);
}

TEST_F(Display, PrimaryOutOfVideoMemoryFallsBackToSystemMemory) {
    writeSheet("ALL");
    headlessFail(HEADLESS_FAULT_CREATE_PRIMARY, DDERR_OUTOFVIDEOMEMORY, 1);
    EXPECT_TRUE(vidInit(nullptr, 1));
    EXPECT_NE(gPrimarySurface, nullptr);
    EXPECT_NE(gBackSurface, nullptr);
    EXPECT_EQ(headless.messageBoxCount, 0);
}

TEST_F(Display, PrimaryRefusedFailsStartUpAfterAtMostTheOneRetryForMemory) {
    struct Case {
        int32_t code;
        int callsMade;  // CreatePrimary calls vidInit makes before giving up
    };
    const Case cases[] = {{DDERR_OUTOFVIDEOMEMORY, 2}, {DDERR_GENERIC, 1}, {DDERR_INVALIDPARAMS, 1}};
    for (const Case& c : cases) {
        reset();
        writeSheet("ALL");
        headlessFail(HEADLESS_FAULT_CREATE_PRIMARY, c.code, 3);
        EXPECT_FALSE(vidInit(nullptr, 1)) << c.code;
        EXPECT_EQ(headless.messageBoxCount, 1);
        EXPECT_STREQ(headless.lastMessageBoxText, "DirectDraw Init FAILED");
        EXPECT_EQ(gDirectDraw, nullptr);
        EXPECT_EQ(gPrimarySurface, nullptr);
        // The faults left over show how many calls were made.
        PlatSurface* primary = nullptr;
        int left = 0;
        while (left < 3 && platCreatePrimary(true, &primary) == c.code) left++;
        EXPECT_EQ(left, 3 - c.callsMade) << c.code;
    }
}

TEST_F(Display, InputFailureLeavesTheDisplayRunningButStartUpFails) {
    writeSheet("ALL");
    headlessFail(HEADLESS_FAULT_MOUSE_OPEN, DIERR_GENERIC);
    EXPECT_FALSE(vidInit(nullptr, 1));
    EXPECT_EQ(gInputResult, DIERR_GENERIC);
    EXPECT_EQ(headless.messageBoxCount, 0);
    EXPECT_NE(gDirectDraw, nullptr);
    EXPECT_NE(gPrimarySurface, nullptr);
    EXPECT_NE(gSheetSurface, nullptr);
    EXPECT_TRUE(headless.displayOpen);
    EXPECT_EQ(gMouseDevice, nullptr);
}

// ---- release ----

TEST_F(Display, ReleaseDropsDisplayObjectsOnceAndKeepsInput) {
    startUp();
    displayRelease();
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_EQ(gPrimarySurface, nullptr);
    EXPECT_EQ(gBackSurface, nullptr);
    EXPECT_EQ(gSheetSurface, nullptr);
    EXPECT_EQ(gSheetPalette, nullptr);
    EXPECT_FALSE(headless.displayOpen);
    EXPECT_NE(gDirectInput, nullptr);
    EXPECT_NE(gMouseDevice, nullptr);
    displayRelease();  // harmless the second time
    EXPECT_EQ(gDirectDraw, nullptr);
    // Start-up can run again after a release: the palette slot was given back.
    EXPECT_TRUE(vidInit(nullptr, 1));
    EXPECT_NE(gSheetPalette, nullptr);
}

// ---- the retry rule ----

TEST_F(Display, BlitRectIsAKeyedCopyFromTheSheetToTheBackBuffer) {
    startUp();
    EXPECT_EQ(vidBlitRect(100, 50, 1, 0, 4, 2), DD_OK);
    ASSERT_EQ(headless.copyCount, 1);
    const HeadlessCopy& c = headless.copies[0];
    EXPECT_EQ(c.dst, gBackSurface);
    EXPECT_EQ(c.src, gSheetSurface);
    EXPECT_TRUE(c.keyed);
    EXPECT_EQ(c.x, 100);
    EXPECT_EQ(c.y, 50);
    EXPECT_EQ(c.left, 1);
    EXPECT_EQ(c.top, 0);
    EXPECT_EQ(c.right, 4);
    EXPECT_EQ(c.bottom, 2);
    // Index 0 is left out: the pixel under the sheet's black keeps its old value.
    const uint8_t* row1 = gBackSurface->pixels + 51 * gBackSurface->pitch;
    EXPECT_EQ(row1[100], 0);  // sheet (1,1) is black: nothing copied over the cleared buffer
    gBackSurface->pixels[51 * gBackSurface->pitch + 100] = 77;
    EXPECT_EQ(vidBlitRect(100, 50, 1, 0, 4, 2), DD_OK);
    EXPECT_EQ(row1[100], 77);
    EXPECT_EQ(row1[101], 3);
}

TEST_F(Display, StillDrawingRepeatsTheSameCallUntilItGoesThrough) {
    startUp();
    headlessFail(HEADLESS_FAULT_BLT, DDERR_WASSTILLDRAWING, 3);
    EXPECT_EQ(vidBlitRect(0, 0, 0, 0, 2, 2), DD_OK);
    EXPECT_EQ(headless.copyCount, 1);
    headlessFail(HEADLESS_FAULT_BLT, DDERR_WASSTILLDRAWING, 2);
    EXPECT_EQ(vidFrameBlit(0, 0, 0, 0, 2, 2, false), DD_OK);
    EXPECT_EQ(headless.copyCount, 2);
    EXPECT_FALSE(headless.copies[1].keyed);
    headlessFail(HEADLESS_FAULT_FLIP, DDERR_WASSTILLDRAWING, 4);
    EXPECT_EQ(vidFlip(), DD_OK);
    EXPECT_EQ(headless.flipCount, 1);
}

TEST_F(Display, LostSurfaceRestoresAndEndsTheCallWithoutRepeatingIt) {
    struct Case {
        const char* what;
        int32_t expected;  // after a successful restore
    };
    const Case cases[] = {{"blit rect", DD_OK}, {"frame blit", DDERR_SURFACELOST}, {"flip", DDERR_SURFACELOST}};
    for (const Case& c : cases) {
        reset();
        startUp();
        int palettesBefore = headless.paletteSetCount;
        std::string what = c.what;
        int32_t result;
        if (what == "flip") {
            headlessFail(HEADLESS_FAULT_FLIP, DDERR_SURFACELOST);
            result = vidFlip();
        } else {
            headlessFail(HEADLESS_FAULT_BLT, DDERR_SURFACELOST);
            result = what == "blit rect" ? vidBlitRect(0, 0, 0, 0, 2, 2) : vidFrameBlit(0, 0, 0, 0, 2, 2, true);
        }
        EXPECT_EQ(result, c.expected) << c.what;
        EXPECT_EQ(headless.copyCount, 0) << c.what;
        EXPECT_EQ(headless.flipCount, 0) << c.what;
        EXPECT_EQ(headless.paletteSetCount, palettesBefore + 1) << c.what << ": palette loaded again";
        EXPECT_NE(gSheetPalette, nullptr);
    }
}

TEST_F(Display, FailedRestoreEndsTheCallWithTheRestoreResult) {
    startUp();
    const int32_t busy = static_cast<int32_t>(0x887601AE);  // surface busy
    int palettesBefore = headless.paletteSetCount;
    headlessFail(HEADLESS_FAULT_BLT, DDERR_SURFACELOST);
    headlessFail(HEADLESS_FAULT_RESTORE, busy);
    EXPECT_EQ(vidBlitRect(0, 0, 0, 0, 2, 2), busy);
    EXPECT_EQ(headless.paletteSetCount, palettesBefore);
    headlessFail(HEADLESS_FAULT_FLIP, DDERR_SURFACELOST);
    headlessFail(HEADLESS_FAULT_RESTORE, busy);
    EXPECT_EQ(vidFlip(), busy);
    EXPECT_EQ(headless.flipCount, 0);
    // The next frame tries again and gets through.
    EXPECT_EQ(vidBlitRect(0, 0, 0, 0, 2, 2), DD_OK);
    EXPECT_EQ(vidFlip(), DD_OK);
}

TEST_F(Display, OtherFailuresEndTheCallWithoutARestore) {
    startUp();
    int palettesBefore = headless.paletteSetCount;
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC);
    EXPECT_EQ(vidBlitRect(0, 0, 0, 0, 2, 2), DDERR_GENERIC);
    headlessFail(HEADLESS_FAULT_BLT, DDERR_INVALIDPARAMS);
    EXPECT_EQ(vidFrameBlit(0, 0, 0, 0, 2, 2, true), DDERR_INVALIDPARAMS);
    headlessFail(HEADLESS_FAULT_FLIP, DDERR_GENERIC);
    EXPECT_EQ(vidFlip(), DDERR_GENERIC);
    EXPECT_EQ(headless.paletteSetCount, palettesBefore);
}

// A run of copies stops at the first one refused, with the ones before it
// made, whether the backend records each copy or only counts them; an armed
// fault meets the run's first copy.
TEST_F(Display, ARunOfCopiesStopsAtTheFirstRefusedWithTheOnesBeforeItMade) {
    struct Case {
        bool recorded;
        int32_t fault;
        int32_t result, made, counted;
    } cases[] = {
        {true, 0, DDERR_INVALIDPARAMS, 1, 2},
        {false, 0, DDERR_INVALIDPARAMS, 1, 2},
        {false, DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING, 0, 0},
    };
    // The middle copy reaches past the screen's right edge.
    const PlatBlt run[] = {{10, 10, 0, 0, 2, 2}, {639, 10, 0, 0, 2, 2}, {20, 10, 0, 0, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorded ? "recorded" : c.fault ? "fault" : "counted");
        reset();
        startUp();
        // Two empty frames: the copies that follow wait for the flip.
        ASSERT_EQ(vidFlip(), DD_OK);
        ASSERT_EQ(vidFlip(), DD_OK);
        headless.recordCopies = c.recorded;
        headlessClearCopies();
        if (c.fault) headlessFail(HEADLESS_FAULT_BLT, c.fault);
        int32_t made = -1;
        EXPECT_EQ(platBltFastRun(gBackSurface, gSheetSurface, run, 3, true, &made), c.result);
        EXPECT_EQ(made, c.made);
        EXPECT_EQ(headless.copyCount, c.counted);
        ASSERT_EQ(vidFlip(), DD_OK);
        EXPECT_FALSE(headless.frameDrawnWhole) << "the run was kept for the flip";
        const PlatSurface* back = headlessBackBuffer();
        // Sheet pixel (1, 0) is red; (0, 0) is black, the key, and leaves the cleared buffer.
        EXPECT_EQ(back->pixels[10 * back->pitch + 11], c.made >= 1 ? sheetRows[0][1] : 0);
        EXPECT_EQ(back->pixels[10 * back->pitch + 10], 0);
        EXPECT_EQ(back->pixels[10 * back->pitch + 21], 0) << "nothing after the refused copy";
    }
    // The whole run, once nothing is refused.
    const PlatBlt fits[] = {run[0], run[2]};
    int32_t made = -1;
    EXPECT_EQ(platBltFastRun(gBackSurface, gSheetSurface, fits, 2, true, &made), DD_OK);
    EXPECT_EQ(made, 2);
    ASSERT_EQ(vidFlip(), DD_OK);
    EXPECT_EQ(headlessBackBuffer()->pixels[10 * gBackSurface->pitch + 21], sheetRows[0][1]);
}

TEST_F(Display, RealLossBringsBackBothSurfacesAndTheSheetsPixels) {
    startUp();
    gSheetSurface->pixels[0 * gSheetSurface->pitch + 1] = 99;  // the lost memory's contents are gone
    gSheetSurface->lost = true;
    gBackSurface->lost = true;
    gPrimarySurface->lost = true;
    EXPECT_EQ(vidFrameBlit(0, 0, 0, 0, 4, 3, false), DDERR_SURFACELOST);
    EXPECT_FALSE(gPrimarySurface->lost);
    EXPECT_FALSE(gBackSurface->lost);
    EXPECT_FALSE(gSheetSurface->lost);
    EXPECT_EQ(gSheetSurface->pixels[1], sheetRows[0][1]);
    // The next frame's copies and flip go through.
    EXPECT_EQ(vidFrameBlit(0, 0, 0, 0, 4, 3, false), DD_OK);
    EXPECT_EQ(vidFlip(), DD_OK);
    EXPECT_EQ(gBackSurface->pixels[1], sheetRows[0][1]);
}

// ---- the mouse ----

TEST_F(Display, MouseReadGivesMotionAndButtons) {
    startUp();
    headlessSetMouse(5, -3, true);
    PlatMouseState s;
    std::memset(&s, 0x55, sizeof s);
    EXPECT_EQ(vidReadMouse(&s), DI_OK);
    EXPECT_EQ(s.x, 5);
    EXPECT_EQ(s.y, -3);
    EXPECT_EQ(s.z, 0);
    EXPECT_NE(s.buttons[0], 0);
    EXPECT_EQ(s.buttons[1], 0);
    EXPECT_EQ(gInputResult, DI_OK);
}

TEST_F(Display, LostOrUnacquiredMouseIsAcquiredAgain) {
    struct Case {
        const char* what;
        int32_t readFault;
        int readFaults;
        int32_t acquireFault;
        int acquireFaults;
        int32_t result;
        bool kept;  // this frame's motion and button were read
    };
    const int32_t otherApp = static_cast<int32_t>(0x80070005);
    const Case cases[] = {
        {"lost, acquired: read once more", DIERR_INPUTLOST, 1, 0, 0, DI_OK, true},
        {"not acquired, acquired: nothing read this frame", DIERR_NOTACQUIRED, 1, 0, 0, DI_OK, false},
        {"lost, acquire refused", DIERR_INPUTLOST, 1, otherApp, 1, otherApp, false},
        {"lost, acquire lost too: no read again", DIERR_INPUTLOST, 1, DIERR_INPUTLOST, 1, DIERR_INPUTLOST, false},
        {"lost, acquired, lost again: no third read", DIERR_INPUTLOST, 2, 0, 0, DIERR_INPUTLOST, false},
        {"other read failure is kept", DIERR_GENERIC, 1, 0, 0, DIERR_GENERIC, false},
    };
    for (const Case& c : cases) {
        reset();
        startUp();
        headlessSetMouse(7, 9, true);
        headlessFail(HEADLESS_FAULT_MOUSE_READ, c.readFault, c.readFaults);
        if (c.acquireFaults) headlessFail(HEADLESS_FAULT_MOUSE_ACQUIRE, c.acquireFault, c.acquireFaults);
        PlatMouseState s;
        std::memset(&s, 0x55, sizeof s);
        EXPECT_EQ(vidReadMouse(&s), c.result) << c.what;
        EXPECT_EQ(gInputResult, c.result) << c.what;
        EXPECT_EQ(s.x, c.kept ? 7 : 0) << c.what;
        EXPECT_EQ(s.y, c.kept ? 9 : 0) << c.what;
        EXPECT_EQ(s.buttons[0] != 0, c.kept) << c.what;
    }
}

TEST_F(Display, AMouseThatStaysLostIsTriedOncePerFrame) {
    startUp();
    headlessSetMouse(7, 9, true);
    // Lost for three reads, and each acquire finds it lost again.
    headlessFail(HEADLESS_FAULT_MOUSE_READ, DIERR_INPUTLOST, 3);
    headlessFail(HEADLESS_FAULT_MOUSE_ACQUIRE, DIERR_INPUTLOST, 3);
    PlatMouseState s;
    for (int frame = 0; frame < 3; frame++) {
        EXPECT_EQ(vidReadMouse(&s), DIERR_INPUTLOST) << frame;
        EXPECT_EQ(s.x, 0) << frame;
        EXPECT_EQ(s.buttons[0], 0) << frame;
    }
    // One read and one acquire a frame: the fourth frame finds the device back.
    EXPECT_EQ(vidReadMouse(&s), DI_OK);
    EXPECT_EQ(s.x, 7);
    EXPECT_NE(s.buttons[0], 0);
}

TEST_F(Display, NoMouseDeviceReadsNothing) {
    startUp();
    gMouseDevice = nullptr;
    gInputResult = 1234;
    headlessSetMouse(4, 4, true);
    PlatMouseState s;
    std::memset(&s, 0x55, sizeof s);
    EXPECT_EQ(vidReadMouse(&s), DIERR_NOTACQUIRED);
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.buttons[0], 0);
    EXPECT_EQ(gInputResult, 1234);
}

}  // namespace
