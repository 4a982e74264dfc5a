// The SDL backend itself, over SDL's dummy video driver: events become window
// messages, the mouse follows focus, surfaces are lost on a device reset, and
// the flip shows the palette-converted picture centred and scaled, converting
// and presenting only what changed.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/platform.h"
#include "platform/sdl/sdl.h"
#include "platform/sdl/sdlscale.h"

namespace {

constexpr int32_t DIERR_OTHERAPPHASPRIO = static_cast<int32_t>(0x80070005);

class SdlBackend : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const PlatDisplayMode fullscreen{true, 0};
        platSetDisplayMode(&fullscreen);
        ASSERT_EQ(platDisplayOpen("Tarvo Quelms"), DD_OK) << platDisplayError();
        sdlSetFramePacing(false);
        ASSERT_EQ(platCreatePrimary(true, &primary), DD_OK);
        ASSERT_EQ(platGetBackBuffer(primary, &back), DD_OK);
        ASSERT_EQ(platMouseOpen(), DI_OK);
        drain();
    }
    void TearDown() override {
        if (sheet) platSurfaceRelease(sheet);
        platDisplayClose();
        drain();
    }
    // Takes every waiting message.
    static void drain() {
        PlatMsg m;
        while (platPeekMessage(&m)) platGetMessage(&m);
    }
    static bool next(PlatMsg* m) {
        if (!platPeekMessage(m)) return false;
        platGetMessage(m);
        return true;
    }
    static void pushKey(uint32_t type, SDL_Scancode sc, uint16_t mod = KMOD_NONE, bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.scancode = sc;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    static void pushWindow(uint8_t event) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = event;
        SDL_PushEvent(&e);
    }
    static void pushMotion(int32_t dx, int32_t dy) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.xrel = dx;
        e.motion.yrel = dy;
        SDL_PushEvent(&e);
    }
    static void pushButton(uint32_t type, uint8_t button) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        SDL_PushEvent(&e);
    }
    void focus() {
        pushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
        drain();
    }
    PlatSurface* primary = nullptr;
    PlatSurface* back = nullptr;
    PlatSurface* sheet = nullptr;
};

TEST_F(SdlBackend, KeysArriveAsKeyMessagesWithWindowsCodesAndFlags) {
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A, KMOD_NONE, true);
    pushKey(SDL_KEYUP, SDL_SCANCODE_A);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_4, KMOD_NUM);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_LANG9);  // no Windows code: no message
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    PlatMsg m;
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_EQ(m.wParam, 65u);
    EXPECT_EQ(m.lParam & (1 << 30), 0);
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_KEYDOWN) << "auto-repeat is a key-down too";
    EXPECT_NE(m.lParam & (1 << 30), 0);
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_KEYUP);
    EXPECT_EQ(m.wParam, 65u);
    EXPECT_LT(m.lParam, 0);  // bit 31: a release
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.wParam, 100u);  // NUMPAD4
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.wParam, 27u);
    EXPECT_FALSE(next(&m));
}

TEST_F(SdlBackend, AltEnterSwitchesTheWindowAndNeverReachesTheGame) {
    int32_t w, h;
    sdlOutputSize(&w, &h);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT);
    pushKey(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT);
    PlatMsg m;
    EXPECT_FALSE(next(&m));
    // A window at the largest whole scale the desktop has room for.
    SDL_Rect usable;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
    SdlViewport expected = sdlPlaceWindow(0, SdlViewport{usable.x, usable.y, usable.w, usable.h});
    int32_t w2, h2;
    sdlOutputSize(&w2, &h2);
    EXPECT_EQ(w2, expected.w);
    EXPECT_EQ(h2, expected.h);
    PlatDisplayMode mode;
    platGetDisplayMode(&mode);
    EXPECT_FALSE(mode.fullscreen);
    // A plain Enter still is a key.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.wParam, 13u);
    // And back.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_RALT);
    EXPECT_FALSE(next(&m));
    sdlOutputSize(&w2, &h2);
    EXPECT_EQ(w2, w);
    EXPECT_EQ(h2, h);
    platGetDisplayMode(&mode);
    EXPECT_TRUE(mode.fullscreen);
}

TEST_F(SdlBackend, AWindowOpensAtTheScaleAskedButNeverLargerThanTheDesktop) {
    SDL_Rect usable;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
    for (int32_t scale : {1, PLAT_MAX_SCALE}) {
        platDisplayClose();
        const PlatDisplayMode window{false, scale};
        platSetDisplayMode(&window);
        ASSERT_EQ(platDisplayOpen("Tarvo Quelms"), DD_OK) << platDisplayError();
        int32_t w, h;
        sdlOutputSize(&w, &h);
        SdlViewport expected = sdlPlaceWindow(scale, SdlViewport{usable.x, usable.y, usable.w, usable.h});
        EXPECT_EQ(w, expected.w) << scale;
        EXPECT_EQ(h, expected.h) << scale;
        EXPECT_LE(w, usable.w);
        EXPECT_LE(h, usable.h);
        PlatDisplayMode mode;
        platGetDisplayMode(&mode);
        EXPECT_FALSE(mode.fullscreen);
        EXPECT_EQ(mode.scale, scale);  // what was asked stays asked, for a larger desktop next time
    }
    ASSERT_EQ(platCreatePrimary(true, &primary), DD_OK);
    ASSERT_EQ(platGetBackBuffer(primary, &back), DD_OK);
}

TEST_F(SdlBackend, FocusCloseAndQuitBecomeTheirMessages) {
    pushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
    pushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
    PlatMsg m;
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_ACTIVATEAPP);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_ACTIVATEAPP);
    EXPECT_EQ(m.wParam, 0u);
    ASSERT_TRUE(next(&m));
    EXPECT_EQ(m.message, WM_CLOSE);
    platPostQuitMessage(3);
    ASSERT_TRUE(platPeekMessage(&m));
    EXPECT_EQ(platGetMessage(&m), 0);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
}

// The display opened again with `hangUp` as SIGHUP's action and SIGINT and
// SIGTERM at their defaults (a shell may start a background job with SIGINT
// ignored, and SDL then leaves it so).
void reopenWithSignals(PlatSurface** primary, PlatSurface** back, void (*hangUp)(int)) {
    platDisplayClose();
    signal(SIGHUP, hangUp);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    ASSERT_EQ(platDisplayOpen("Tarvo Quelms"), DD_OK) << platDisplayError();
    ASSERT_EQ(platCreatePrimary(true, primary), DD_OK);
    ASSERT_EQ(platGetBackBuffer(*primary, back), DD_OK);
}

TEST_F(SdlBackend, HangUpInterruptAndTerminateEachAskTheGameToCloseOnce) {
    reopenWithSignals(&primary, &back, SIG_DFL);
    drain();
    for (int sig : {SIGHUP, SIGINT, SIGTERM}) {
        ASSERT_EQ(raise(sig), 0);
        PlatMsg m;
        ASSERT_TRUE(next(&m)) << strsignal(sig);
        EXPECT_EQ(m.message, WM_CLOSE) << strsignal(sig);
        EXPECT_FALSE(next(&m)) << strsignal(sig);
    }
}

TEST_F(SdlBackend, AHangUpIgnoredByWhoeverStartedTheGameStaysIgnored) {
    reopenWithSignals(&primary, &back, SIG_IGN);  // as nohup starts it
    drain();
    ASSERT_EQ(raise(SIGHUP), 0);
    PlatMsg m;
    EXPECT_FALSE(next(&m));
    signal(SIGHUP, SIG_DFL);
}

TEST_F(SdlBackend, AGameWaitingWhileInactiveWakesForASignalToEnd) {
    for (int sig : {SIGHUP, SIGTERM}) {
        reopenWithSignals(&primary, &back, SIG_DFL);
        drain();
        std::atomic<bool> woke{false};
        std::thread sender([sig, &woke] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            kill(getpid(), sig);
            // A wait that never wakes is ended by a key, so the test fails instead of hanging.
            for (int i = 0; i < 50 && !woke; i++) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!woke) {
                SDL_Event e{};
                e.type = SDL_KEYDOWN;
                e.key.type = SDL_KEYDOWN;
                e.key.keysym.scancode = SDL_SCANCODE_A;
                SDL_PushEvent(&e);
            }
        });
        const auto start = std::chrono::steady_clock::now();
        platWaitMessage();
        const auto waited = std::chrono::steady_clock::now() - start;
        woke = true;
        sender.join();
        PlatMsg m;
        ASSERT_TRUE(next(&m)) << strsignal(sig);
        EXPECT_EQ(m.message, WM_CLOSE) << strsignal(sig);
        EXPECT_LT(waited, std::chrono::milliseconds(1500)) << strsignal(sig);
        drain();
    }
}

TEST_F(SdlBackend, AfterTheDisplayIsClosedTheLoopEndsInsteadOfWaitingForEver) {
    platDisplayClose();
    PlatMsg m;
    EXPECT_EQ(platGetMessage(&m), 0);
    EXPECT_EQ(m.message, WM_QUIT);
    platWaitMessage();
    EXPECT_TRUE(platPeekMessage(&m));
    EXPECT_EQ(m.message, WM_QUIT);
    drain();
}

TEST_F(SdlBackend, MouseIsReadOnlyWhileAcquiredAndFocusLossIsReportedOnce) {
    PlatMouseState s{};
    EXPECT_EQ(platMouseRead(&s), DIERR_NOTACQUIRED);
    EXPECT_EQ(platMouseAcquire(), DIERR_OTHERAPPHASPRIO) << "no focus yet";
    focus();
    EXPECT_EQ(platMouseAcquire(), DI_OK);
    pushMotion(3, -2);
    pushMotion(4, 1);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    drain();
    ASSERT_EQ(platMouseRead(&s), DI_OK);
    EXPECT_EQ(s.x, 7);
    EXPECT_EQ(s.y, -1);
    EXPECT_NE(s.buttons[0], 0);
    EXPECT_EQ(s.buttons[1], 0);
    // Motion is consumed by the read; the button stays down until released.
    ASSERT_EQ(platMouseRead(&s), DI_OK);
    EXPECT_EQ(s.x, 0);
    EXPECT_NE(s.buttons[0], 0);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    drain();
    ASSERT_EQ(platMouseRead(&s), DI_OK);
    EXPECT_EQ(s.buttons[0], 0);

    pushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
    pushMotion(50, 50);  // motion while away is not the game's
    drain();
    EXPECT_EQ(platMouseRead(&s), DIERR_INPUTLOST);
    EXPECT_EQ(platMouseRead(&s), DIERR_NOTACQUIRED);
    EXPECT_EQ(platMouseAcquire(), DIERR_OTHERAPPHASPRIO);
    focus();
    EXPECT_EQ(platMouseAcquire(), DI_OK);
    ASSERT_EQ(platMouseRead(&s), DI_OK);
    EXPECT_EQ(s.x, 0);
}

TEST_F(SdlBackend, CopiesAreKeyedOrOpaqueAndNeverClipped) {
    ASSERT_EQ(platCreateSurface(4, 2, &sheet), DD_OK);
    const uint8_t px[8] = {0, 5, 6, 0, 7, 0, 8, 9};
    std::memcpy(sheet->pixels, px, sizeof px);
    sheet->colorKey = 0;
    std::memset(back->pixels, 1, static_cast<size_t>(back->pitch) * back->height);
    ASSERT_EQ(platBltFast(back, 10, 20, sheet, 0, 0, 4, 2, true), DD_OK);
    const uint8_t* r0 = back->pixels + 20 * back->pitch + 10;
    const uint8_t* r1 = r0 + back->pitch;
    const uint8_t keyed0[4] = {1, 5, 6, 1}, keyed1[4] = {7, 1, 8, 9};
    EXPECT_EQ(std::memcmp(r0, keyed0, 4), 0);
    EXPECT_EQ(std::memcmp(r1, keyed1, 4), 0);
    ASSERT_EQ(platBltFast(back, 10, 20, sheet, 0, 0, 4, 2, false), DD_OK);
    EXPECT_EQ(std::memcmp(r0, px, 4), 0);
    EXPECT_EQ(std::memcmp(r1, px + 4, 4), 0);
    // Anything reaching outside either surface is refused, not cut.
    EXPECT_EQ(platBltFast(back, 637, 0, sheet, 0, 0, 4, 2, true), DDERR_INVALIDPARAMS);
    EXPECT_EQ(platBltFast(back, -1, 0, sheet, 0, 0, 4, 2, true), DDERR_INVALIDPARAMS);
    EXPECT_EQ(platBltFast(back, 0, 479, sheet, 0, 0, 4, 2, true), DDERR_INVALIDPARAMS);
    EXPECT_EQ(platBltFast(back, 0, 0, sheet, 0, 0, 5, 2, true), DDERR_INVALIDPARAMS);
    EXPECT_EQ(platBltFast(back, 0, 0, sheet, 2, 0, 2, 2, true), DDERR_INVALIDPARAMS);
}

TEST_F(SdlBackend, DeviceResetLosesSurfacesUntilRestored) {
    ASSERT_EQ(platCreateSurface(4, 2, &sheet), DD_OK);
    SDL_Event e{};
    e.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&e);
    drain();
    EXPECT_EQ(platBltFast(back, 0, 0, sheet, 0, 0, 4, 2, true), DDERR_SURFACELOST);
    EXPECT_EQ(platFlip(primary), DDERR_SURFACELOST);
    EXPECT_EQ(platSurfaceRestore(primary), DD_OK);
    EXPECT_EQ(platFlip(primary), DD_OK) << "the primary brings its back buffer and texture back";
    EXPECT_EQ(platBltFast(back, 0, 0, sheet, 0, 0, 4, 2, true), DDERR_SURFACELOST) << "the sheet is still lost";
    EXPECT_EQ(platSurfaceRestore(sheet), DD_OK);
    EXPECT_EQ(platBltFast(back, 0, 0, sheet, 0, 0, 4, 2, true), DD_OK);
}

TEST_F(SdlBackend, FlipShowsThePaletteColoursCentredAtTheLargestWholeFactor) {
    PlatColor palette[256] = {};
    palette[1] = PlatColor{255, 0, 0};
    palette[2] = PlatColor{0, 0, 255};
    platSetPalette(palette);
    std::memset(back->pixels, 1, static_cast<size_t>(back->pitch) * back->height);
    back->pixels[0] = 2;                                   // top-left pixel blue
    back->pixels[479 * back->pitch + 639] = 2;             // bottom-right pixel blue
    for (int factorCase = 0; factorCase < 2; factorCase++) {
        ASSERT_EQ(platFlip(primary), DD_OK);
        int32_t w, h;
        sdlOutputSize(&w, &h);
        int32_t f = std::min(w / PLAT_SCREEN_WIDTH, h / PLAT_SCREEN_HEIGHT);
        ASSERT_GE(f, 1);
        int32_t x0 = (w - PLAT_SCREEN_WIDTH * f) / 2, y0 = (h - PLAT_SCREEN_HEIGHT * f) / 2;
        uint32_t c = 0;
        ASSERT_TRUE(sdlReadPixel(x0, y0, &c));
        EXPECT_EQ(c & 0xFFFFFF, 0x0000FFu) << "factor " << f;
        ASSERT_TRUE(sdlReadPixel(x0 + f - 1, y0 + f - 1, &c));
        EXPECT_EQ(c & 0xFFFFFF, 0x0000FFu) << "a whole block per pixel, sharp";
        ASSERT_TRUE(sdlReadPixel(x0 + f, y0, &c));
        EXPECT_EQ(c & 0xFFFFFF, 0xFF0000u);
        ASSERT_TRUE(sdlReadPixel(x0 + PLAT_SCREEN_WIDTH * f - 1, y0 + PLAT_SCREEN_HEIGHT * f - 1, &c));
        EXPECT_EQ(c & 0xFFFFFF, 0x0000FFu);
        if (x0 > 0) {
            ASSERT_TRUE(sdlReadPixel(x0 - 1, y0, &c));
            EXPECT_EQ(c & 0xFFFFFF, 0u) << "black border";
        }
        if (y0 > 0) {
            ASSERT_TRUE(sdlReadPixel(x0, y0 - 1, &c));
            EXPECT_EQ(c & 0xFFFFFF, 0u) << "black border";
        }
        sdlToggleFullscreen();  // the second pass in a window of twice the size
    }
    // The visible surface holds what was shown.
    EXPECT_EQ(primary->pixels[0], 2);
}

// The window's colour at picture pixel (x, y), its top-left block.
uint32_t shownColour(int32_t x, int32_t y) {
    int32_t w, h;
    sdlOutputSize(&w, &h);
    const SdlViewport v = sdlFitPicture(w, h);
    const int32_t f = v.w / PLAT_SCREEN_WIDTH;
    uint32_t c = 0;
    EXPECT_TRUE(sdlReadPixel(v.x + x * f, v.y + y * f, &c));
    return c & 0xFFFFFF;
}

class SdlPresent : public SdlBackend {
protected:
    void SetUp() override {
        SdlBackend::SetUp();
        PlatColor palette[256] = {};
        palette[1] = PlatColor{255, 0, 0};
        palette[2] = PlatColor{0, 0, 255};
        palette[3] = PlatColor{0, 255, 0};
        platSetPalette(palette);
        ASSERT_EQ(platCreateSurface(4, 2, &sheet), DD_OK);
        std::memset(sheet->pixels, 2, 8);
        fill(1);
        ASSERT_EQ(platFlip(primary), DD_OK);
        sdlGetPresentCounts(&before);
    }
    // The whole back buffer in one colour, as the frame's background copy draws it.
    void fill(uint8_t c) {
        ASSERT_EQ(platSurfaceLock(back), DD_OK);
        std::memset(back->pixels, c, static_cast<size_t>(back->pitch) * back->height);
        platSurfaceUnlock(back);
    }
    SdlPresentCounts since() {
        SdlPresentCounts now;
        sdlGetPresentCounts(&now);
        return SdlPresentCounts{now.flips - before.flips, now.presents - before.presents,
                                now.partialPresents - before.partialPresents,
                                now.convertedPixels - before.convertedPixels};
    }
    SdlPresentCounts before{};
};

TEST_F(SdlPresent, APictureThatComesOutTheSameIsNeitherConvertedNorPresented) {
    for (int i = 0; i < 3; i++) {
        fill(1);  // every row drawn again, every row the same
        ASSERT_EQ(platFlip(primary), DD_OK);
    }
    const SdlPresentCounts n = since();
    EXPECT_EQ(n.flips, 3);
    EXPECT_EQ(n.presents, 0);
    EXPECT_EQ(n.convertedPixels, 0);
    EXPECT_EQ(shownColour(0, 0), 0xFF0000u) << "the window keeps the picture";
}

TEST_F(SdlPresent, OnlyTheChangedRectangleIsConvertedAndShown) {
    fill(1);
    ASSERT_EQ(platBltFast(back, 100, 50, sheet, 0, 0, 4, 2, false), DD_OK);
    ASSERT_EQ(platFlip(primary), DD_OK);
    const SdlPresentCounts n = since();
    EXPECT_EQ(n.presents, 1);
    EXPECT_EQ(n.partialPresents, 1) << "SDL's software renderer draws over the dummy display";
    EXPECT_EQ(n.convertedPixels, 4 * 2);
    EXPECT_EQ(shownColour(100, 50), 0x0000FFu);
    EXPECT_EQ(shownColour(103, 51), 0x0000FFu);
    EXPECT_EQ(shownColour(104, 51), 0xFF0000u);
    EXPECT_EQ(shownColour(99, 50), 0xFF0000u);
    EXPECT_EQ(shownColour(639, 479), 0xFF0000u) << "the rest stays as shown";
    EXPECT_EQ(std::memcmp(primary->pixels, back->pixels, static_cast<size_t>(back->pitch) * back->height), 0)
        << "the visible surface holds what is shown";
    // And back: the same rectangle again.
    fill(1);
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(since().convertedPixels, 2 * 4 * 2);
    EXPECT_EQ(shownColour(100, 50), 0xFF0000u);
}

TEST_F(SdlPresent, TurnedCopiesAndPixelsWrittenUnderLockAreSeenToo) {
    ASSERT_EQ(platBltFastTurned(back, 200, 300, sheet, 0, 0, 4, 2, false), DD_OK);
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(shownColour(203, 301), 0x0000FFu);
    ASSERT_EQ(platSurfaceLock(back), DD_OK);
    back->pixels[400 * back->pitch + 600] = 3;
    platSurfaceUnlock(back);
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(shownColour(600, 400), 0x00FF00u);
    EXPECT_EQ(since().presents, 2);
}

TEST_F(SdlPresent, AWindowShownAgainOrResizedGetsTheWholePictureWithoutConvertingIt) {
    for (uint8_t event : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_RESTORED}) {
        pushWindow(event);
        drain();
        const SdlPresentCounts was = since();
        ASSERT_EQ(platFlip(primary), DD_OK);
        const SdlPresentCounts n = since();
        EXPECT_EQ(n.presents, was.presents + 1) << int(event);
        EXPECT_EQ(n.partialPresents, was.partialPresents) << int(event);
        EXPECT_EQ(n.convertedPixels, 0) << int(event);
    }
    // Alt+Enter too, and the picture lands in the new window whole.
    sdlToggleFullscreen();
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(shownColour(0, 0), 0xFF0000u);
    EXPECT_EQ(shownColour(639, 479), 0xFF0000u);
    EXPECT_EQ(since().presents, 4);
}

// The game's window, for tests that resize it as a player would.
SDL_Window* gameWindow() {
    for (uint32_t id = 1; id < 64; id++) {
        SDL_Window* w = SDL_GetWindowFromID(id);
        if (w && std::strcmp(SDL_GetWindowTitle(w), "Tarvo Quelms") == 0) return w;
    }
    return nullptr;
}

TEST_F(SdlPresent, ScaledUpAChangedRectangleLandsOnExactlyItsBlocks) {
    SDL_Window* window = gameWindow();
    ASSERT_NE(window, nullptr);
    const PlatDisplayMode windowed{false, 1};
    platSetDisplayMode(&windowed);
    for (int32_t f : {2, 3}) {
        SDL_SetWindowSize(window, PLAT_SCREEN_WIDTH * f + 10, PLAT_SCREEN_HEIGHT * f + 6);
        drain();
        fill(1);
        ASSERT_EQ(platFlip(primary), DD_OK);
        const int32_t partial = since().partialPresents;
        ASSERT_EQ(platBltFast(back, 101, 51, sheet, 0, 0, 4, 2, false), DD_OK);
        ASSERT_EQ(platFlip(primary), DD_OK);
        EXPECT_EQ(since().partialPresents, partial + 1) << f;
        int32_t w, h;
        sdlOutputSize(&w, &h);
        const SdlViewport v = sdlFitPicture(w, h);
        ASSERT_EQ(v.w, PLAT_SCREEN_WIDTH * f);
        // Every window pixel of the picture's rows 50 to 53 and columns 100 to 105.
        for (int32_t y = 50 * f; y < 54 * f; y++) {
            for (int32_t x = 100 * f; x < 106 * f; x++) {
                const bool inside = x / f >= 101 && x / f < 105 && y / f >= 51 && y / f < 53;
                uint32_t c = 0;
                ASSERT_TRUE(sdlReadPixel(v.x + x, v.y + y, &c));
                ASSERT_EQ(c & 0xFFFFFF, inside ? 0x0000FFu : 0xFF0000u) << "factor " << f << " at " << x << ", " << y;
            }
        }
    }
}

TEST_F(SdlPresent, AnotherPaletteRecoloursTheWholePictureAndTheSameOneNothing) {
    PlatColor palette[256] = {};
    palette[1] = PlatColor{255, 0, 0};
    palette[2] = PlatColor{0, 0, 255};
    palette[3] = PlatColor{0, 255, 0};
    platSetPalette(palette);  // as a restore sets it again
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(since().presents, 0);
    palette[1] = PlatColor{255, 255, 255};
    platSetPalette(palette);
    ASSERT_EQ(platFlip(primary), DD_OK);
    EXPECT_EQ(since().convertedPixels, PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT);
    EXPECT_EQ(shownColour(320, 240), 0xFFFFFFu);
}

TEST_F(SdlPresent, AfterADeviceResetTheNewTextureGetsTheWholePicture) {
    SDL_Event e{};
    e.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&e);
    drain();
    EXPECT_EQ(platFlip(primary), DDERR_SURFACELOST);
    ASSERT_EQ(platSurfaceRestore(primary), DD_OK);
    ASSERT_EQ(platFlip(primary), DD_OK);
    const SdlPresentCounts n = since();
    EXPECT_EQ(n.convertedPixels, PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT);
    EXPECT_EQ(n.presents, 1);
    EXPECT_EQ(shownColour(320, 240), 0xFF0000u);
}

}  // namespace

namespace {

TEST_F(SdlBackend, FlipsNeverComeFasterThanSixtyASecond) {
    sdlSetFramePacing(true);
    ASSERT_EQ(platFlip(primary), DD_OK);  // the first flip sets the beat
    const uint64_t start = SDL_GetPerformanceCounter();
    const int frames = 30;
    for (int i = 0; i < frames; i++) ASSERT_EQ(platFlip(primary), DD_OK);
    const double seconds =
        static_cast<double>(SDL_GetPerformanceCounter() - start) / static_cast<double>(SDL_GetPerformanceFrequency());
    EXPECT_GE(seconds, (frames - 1) / 60.0) << "a busy machine may be slower, never faster";
}

}  // namespace
