// A known state for the flow tests: every game record cleared, a fixed seed,
// a set clock, a display over the headless backend and a fresh working folder
// for the files the game reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/soundkeys.h"
#include "flow/startup.h"
#include "flow/winproc.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/score.h"
#include "game/tips.h"
#include "game/turnworld.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "platform/headless/headless.h"
#include "support/gamereset.h"
#include "video/display.h"
#include "video/sheetlayout.h"

constexpr const char* DEFAULT_PREFS = "1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;";

// An 8 x 8, 256-colour bitmap: enough of a sheet for the display to open.
inline std::string tinySheet() {
    std::string b;
    auto u16 = [&b](uint32_t v) {
        b += static_cast<char>(v & 0xFF);
        b += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t offset = 14 + 40 + 1024;
    b += "BM";
    u32(offset + 64);
    u32(0);
    u32(offset);
    u32(40);
    u32(8);
    u32(8);
    u16(1);
    u16(8);
    u32(0);
    u32(64);
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    for (int i = 0; i < 256; i++) u32(static_cast<uint32_t>(i * 0x010101));
    b += std::string(64, '\0');
    return b;
}

class FlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldFolder, sizeof oldFolder), nullptr);
        std::strcpy(folder, "/tmp/tqflowXXXXXX");
        ASSERT_NE(mkdtemp(folder), nullptr);
        ASSERT_EQ(chdir(folder), 0);

        headlessReset();
        headless.realCopies = false;
        headlessSetTicks(100000);
        resetGameRecords();
        keyDefReset();
        hiScoresReset();
        prefsReset();
        soundNoticeClear();
        appActive = 0;
        startCourse = StartCourse{};
        cmSrand(1);
        openDisplay();
        platSetWindowProc(gameWindowProc);
    }

    void TearDown() override {
        displayRelease();
        gMouseDevice = nullptr;
        platSetWindowProc(nullptr);
        frameRecordHook = nullptr;
        startCourse = StartCourse{};
        headlessSetIdleHook(nullptr);
        headlessReset();
        ASSERT_EQ(chdir(oldFolder), 0);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The display objects vidInit would make, without needing a sheet file.
    void openDisplay() {
        directDraw = VidDirectDraw{true};
        gDirectDraw = &directDraw;
        ASSERT_EQ(platDisplayOpen("TARVOQUE"), DD_OK);
        ASSERT_EQ(platCreatePrimary(true, &gPrimarySurface), DD_OK);
        ASSERT_EQ(platGetBackBuffer(gPrimarySurface, &gBackSurface), DD_OK);
        ASSERT_EQ(platCreateSurface(SHEET_WIDTH, SHEET_HEIGHT, &gSheetSurface), DD_OK);
        mouse = VidMouseDevice{true, true, 16};
        gMouseDevice = &mouse;
    }

    // The entry point makes its own display and installs the default keys
    // itself: nothing of the fixture's may stand in for them.
    void leaveStartUpToTheEntryPoint() {
        displayRelease();
        gMouseDevice = nullptr;
        platSetWindowProc(nullptr);
        keyLeft[0] = 0;
    }

    // What a new process starts from, display aside: a replay in the same
    // process must find nothing of the run it replays.
    static void coldStart() {
        resetGameRecords();
        keyDefReset();
        hiScoresReset();
        prefsReset();
        soundNoticeClear();
        cmSrand(1);
        headlessSetTicks(0);
        headless.quitPosted = 0;
    }

    // A new one-player game whose first level has begun.
    static void startPlay() {
        gameNew();
        levelStart();
    }

    static int32_t keyDown(uint32_t k) { return gameWindowProc(WM_KEYDOWN, k, 0); }
    static int32_t keyUp(uint32_t k) { return gameWindowProc(WM_KEYUP, k, 0); }

    // One frame with the mouse moved so that the pointer lands on (x, y).
    static void frameWithMouseAt(float x, float y, bool button) {
        headlessSetMouse(static_cast<int32_t>(2.0f * (x - pointerX)), static_cast<int32_t>(2.0f * (y - pointerY)),
                         button);
        gameRunFrame();
    }

    static void frameWithButton(bool button) {
        headlessSetMouse(0, 0, button);
        gameRunFrame();
    }

    static bool fileExists(const char* name) { return std::filesystem::exists(name); }

    static std::string readFile(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void writeFile(const char* name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // The working folder disappears: nothing can be written any more, even by root.
    void removeFolder() { std::filesystem::remove_all(folder); }

    char oldFolder[PATH_MAX];
    char folder[32];
    VidDirectDraw directDraw;
    VidMouseDevice mouse;
};

// Centre of grid cell (c, r) for the pointer, on whole pixels.
inline float cellX(int32_t c) { return 146.0f + 36.0f * static_cast<float>(c) + 18.0f; }
inline float cellY(int32_t r) { return static_cast<float>(static_cast<int32_t>(27.0f + 244.0f / 7.0f * (static_cast<float>(r) + 0.5f))); }
