// The port layer over SDL2: one window showing the 8-bit back buffer through a
// palette, scaled by whole factors; keys and focus as window messages; the
// mouse as relative motion read once a frame.
#include <SDL2/SDL.h>
#include <errno.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/blit.h"
#include "platform/redraw.h"
#include "platform/exefolder.h"
#include "platform/files.h"
#include "platform/surfaceslots.h"
#include "platform/platform.h"
#include "platform/sdl/sdl.h"
#include "platform/sdl/sdlchanges.h"
#include "platform/sdl/sdlkeys.h"
#include "platform/sdl/sdlscale.h"

namespace {

// DIERR_OTHERAPPHASPRIO: the device cannot be acquired while another
// application has the focus.
constexpr int32_t SDL_DIERR_OTHERAPPHASPRIO = static_cast<int32_t>(0x80070005);

constexpr int SDL_QUEUE_SIZE = 512;
// The longest a wait for messages sleeps before it looks at the hang-up flag.
constexpr int SDL_WAIT_SLICE_MS = 100;
constexpr int64_t SDL_FRAME_NS = 1000000000 / 60;
constexpr int64_t SDL_CAP_NS = 1000000000 / 62;

struct SdlState {
    PlatWindowProc windowProc;
    PlatMsg queue[SDL_QUEUE_SIZE];
    int32_t queueHead;
    int32_t queueCount;

    bool videoUp;      // SDL's video subsystem is running
    bool noDisplay;    // the display could not be opened at all
    char error[256];
    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    bool textureInvalid;  // gone with a device reset: made again on restore
    bool softwareRenderer;  // SDL's own: draws into the window's memory, which keeps what it shows
    PlatDisplayMode mode;  // full screen or not, and the window's scale
    bool vsync;
    bool pacing;
    bool displayIsSixty;  // vsync alone gives 60 frames a second
    int64_t nextFrame;    // monotonic nanoseconds of the next frame; 0: none yet
    bool swallowReturnUp;  // the Enter of Alt+Enter does not reach the game

    PlatSurfaceSlots slots;
    PlatSurface* primary;
    PlatSurface* back;
    uint32_t colors[256];
    // The primary holds the picture last shown, and the texture the same in
    // colour. Only the rows the copies touched are compared with it at a flip.
    SdlChanges changes;
    Redraw redraw;    // the back buffer's copies, drawn again only where they changed
    bool uploadAll;   // the texture holds nothing yet, or another palette's colours
    bool presentAll;  // the window lost, never had or resized its picture
    SdlPresentCounts counts;

    bool focused;
    bool acquired;
    bool lostPending;  // the first read after focus loss reports input lost
    int32_t mouseX, mouseY, mouseZ;
    uint8_t buttons[4];
};

SdlState sdl = {.mode = {true, 0}, .pacing = true};

// SDL turns SIGINT and SIGTERM into SDL_QUIT but leaves SIGHUP (a closed
// terminal, a logout) to kill the game unsaved. Its handler may only set this
// flag; the message pump turns it into the same close message.
volatile sig_atomic_t hangUpPending = 0;

void sdlOnHangUp(int) { hangUpPending = 1; }

void catchHangUp() {
    struct sigaction action;
    if (sigaction(SIGHUP, nullptr, &action) != 0) return;
    // Only where nobody chose otherwise: under nohup it stays ignored.
    if (action.sa_handler != SIG_DFL) return;
    std::memset(&action, 0, sizeof action);
    sigemptyset(&action.sa_mask);
    action.sa_handler = sdlOnHangUp;
    sigaction(SIGHUP, &action, nullptr);
}

void queuePush(uint32_t message, uint32_t wParam, int32_t lParam) {
    if (sdl.queueCount >= SDL_QUEUE_SIZE) return;  // a flood of input drops the newest
    sdl.queue[(sdl.queueHead + sdl.queueCount) % SDL_QUEUE_SIZE] = PlatMsg{message, wParam, lParam};
    sdl.queueCount++;
}

PlatSurface* newSurface(int32_t width, int32_t height) { return surfaceSlotsNew(sdl.slots, width, height); }
void freeSurface(PlatSurface* s) { surfaceSlotsFree(sdl.slots, s); }

void loseAllSurfaces() {
    redrawSpoil(sdl.redraw);
    for (int i = 0; i < PLAT_SURFACE_SLOTS; i++) {
        if (sdl.slots.used[i]) sdl.slots.surfaces[i].lost = true;
    }
}

void mouseUnacquire() {
    if (sdl.acquired) sdl.lostPending = true;
    sdl.acquired = false;
    sdl.mouseX = sdl.mouseY = sdl.mouseZ = 0;
    std::memset(sdl.buttons, 0, sizeof sdl.buttons);
    if (sdl.videoUp) SDL_SetRelativeMouseMode(SDL_FALSE);
}

void checkRefreshRate() {
    SDL_DisplayMode mode;
    sdl.displayIsSixty = false;
    if (sdl.window && SDL_GetWindowDisplayMode(sdl.window, &mode) == 0) {
        sdl.displayIsSixty = mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
    }
}

// The desktop's usable area (less panels and docks) on the window's display.
SdlViewport usableArea() {
    int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
    SDL_Rect r;
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &r) != 0) {
        if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &r) != 0) r = SDL_Rect{0, 0, 0, 0};
    }
    // The frame a window manager adds must fit as well, once it is known.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (sdl.window && SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right) == 0) {
        r.x += left;
        r.y += top;
        r.w -= left + right;
        r.h -= top + bottom;
    }
    return SdlViewport{r.x, r.y, r.w, r.h};
}

// A room that cannot be read gives the picture's own size.
SdlViewport placeWindow() {
    SdlViewport room = usableArea();
    if (room.w <= 0 || room.h <= 0) return SdlViewport{0, 0, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT};
    return sdlPlaceWindow(sdl.mode.scale, room);
}

void applyWindowMode() {
    if (sdl.mode.fullscreen) {
        // Desktop-sized first, for a desktop without a window manager to do it.
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(sdl.window), &desktop) == 0) {
            SDL_SetWindowSize(sdl.window, desktop.w, desktop.h);
            SDL_SetWindowPosition(sdl.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(sdl.window, 0);
        SdlViewport v = placeWindow();
        SDL_SetWindowSize(sdl.window, v.w, v.h);
        SDL_SetWindowPosition(sdl.window, v.x, v.y);
    }
    checkRefreshRate();
    sdl.presentAll = true;
}

int32_t buttonIndex(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        default: return -1;
    }
}

// Key messages carry a repeat count of 1, bit 30 for "was already down" and
// bit 31 for a release, as Windows sets them.
void keyEvent(const SDL_KeyboardEvent& key) {
    bool down = key.type == SDL_KEYDOWN;
    SDL_Scancode sc = key.keysym.scancode;
    bool isReturn = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
    if (isReturn && down && (key.keysym.mod & KMOD_ALT)) {
        if (!key.repeat) sdlToggleFullscreen();
        sdl.swallowReturnUp = true;
        return;
    }
    if (isReturn && !down && sdl.swallowReturnUp) {
        sdl.swallowReturnUp = false;
        return;
    }
    uint32_t vk = sdlVirtualKey(sc, (key.keysym.mod & KMOD_NUM) != 0);
    if (vk == 0) return;
    uint32_t lParam = 1;
    if (!down || key.repeat) lParam |= 1u << 30;
    if (!down) lParam |= 1u << 31;
    queuePush(down ? WM_KEYDOWN : WM_KEYUP, vk, static_cast<int32_t>(lParam));
}

void handleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            // The window's close button (and a polite kill) asks the game to close.
            queuePush(WM_CLOSE, 0, 0);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            keyEvent(e.key);
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    if (!sdl.focused) {
                        sdl.focused = true;
                        queuePush(WM_ACTIVATEAPP, 1, 0);
                    }
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    if (sdl.focused) {
                        sdl.focused = false;
                        mouseUnacquire();
                        queuePush(WM_ACTIVATEAPP, 0, 0);
                    }
                    break;
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                case SDL_WINDOWEVENT_MOVED:
                    checkRefreshRate();
                    break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    // Flips present only what changed; a window shown again needs all of it.
                    sdl.presentAll = true;
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    sdl.presentAll = true;
                    // The player's resizing is remembered as the scale it shows;
                    // the window's own placement (the largest scale, say) is not.
                    if (!sdl.mode.fullscreen && sdl.window) {
                        int w = 0, h = 0;
                        SDL_GetWindowSize(sdl.window, &w, &h);
                        const SdlViewport planned = placeWindow();
                        const int32_t shown = sdlScaleForSize(w, h);
                        if (shown != sdlScaleForSize(planned.w, planned.h)) sdl.mode.scale = shown;
                    }
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEMOTION:
            if (sdl.acquired) {
                sdl.mouseX += e.motion.xrel;
                sdl.mouseY += e.motion.yrel;
            }
            break;
        case SDL_MOUSEWHEEL:
            if (sdl.acquired) sdl.mouseZ += e.wheel.y * 120;  // one notch is 120 units
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int32_t i = buttonIndex(e.button.button);
            if (i >= 0 && sdl.acquired) sdl.buttons[i] = e.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
            break;
        }
        case SDL_RENDER_DEVICE_RESET:
            sdl.textureInvalid = true;
            loseAllSurfaces();
            break;
        case SDL_RENDER_TARGETS_RESET:
            loseAllSurfaces();
            sdl.uploadAll = true;
            sdl.presentAll = true;
            break;
        default:
            break;
    }
}

void pumpEvents() {
    if (!sdl.videoUp) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) handleEvent(e);
    if (hangUpPending) {
        hangUpPending = 0;
        queuePush(WM_CLOSE, 0, 0);
    }
}

bool makeTexture() {
    if (sdl.texture) SDL_DestroyTexture(sdl.texture);
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                    PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
    sdl.textureInvalid = sdl.texture == nullptr;
    sdl.uploadAll = true;
    sdl.presentAll = true;
    return sdl.texture != nullptr;
}

int64_t monotonicNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Frame-counted gauges, banners and blinking assume 60 frames a second, so
// frames never come faster whatever the monitor does. On a 60 Hz display with
// vsync the wait for the vertical blank paces the frames that present; the
// timer then only caps them at 62 a second, in case the driver ignores vsync,
// and never makes a frame miss its blank. A frame that presents nothing has no
// blank to wait for: the timer alone gives it its sixtieth of a second.
// The sleep runs to the very time, with no spinning: a still screen costs
// next to nothing.
void paceFrame(bool vsyncWaits) {
    if (!sdl.pacing) return;
    const int64_t period = vsyncWaits && sdl.vsync && sdl.displayIsSixty ? SDL_CAP_NS : SDL_FRAME_NS;
    const int64_t now = monotonicNs();
    if (sdl.nextFrame == 0 || now > sdl.nextFrame + 2 * period) {
        // First frame, or far behind (a pause in the debugger, a slow frame): start afresh.
        sdl.nextFrame = now + period;
        return;
    }
    if (now < sdl.nextFrame) {
        const timespec until{static_cast<time_t>(sdl.nextFrame / 1000000000),
                             static_cast<long>(sdl.nextFrame % 1000000000)};
        // To a fixed time, so a signal's interruption just sleeps on.
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
    }
    sdl.nextFrame += period;
}

// True for an OpenGL renderer that Mesa runs on the processor (llvmpipe,
// softpipe), as on a machine or virtual screen without a graphics card. Its
// every present redraws and copies the whole window; SDL's own software
// renderer presents only what changed, for a fraction of the work. A renderer
// the player chose (SDL_RENDER_DRIVER) stays.
bool rendersOnTheProcessor(SDL_Renderer* renderer) {
    const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (chosen != nullptr && *chosen != '\0') return false;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    constexpr unsigned GL_RENDERER_NAME = 0x1F01;  // GL_RENDERER
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const char* name = getString ? reinterpret_cast<const char*>(getString(GL_RENDERER_NAME)) : nullptr;
    if (name == nullptr) return false;
    static const char* const software[] = {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"};
    for (const char* kind : software) {
        if (std::strstr(name, kind) != nullptr) return true;
    }
    return false;
}

bool debuggerAttached() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return false;
    char line[256];
    bool attached = false;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "TracerPid:", 10) == 0) {
            attached = std::atoi(line + 10) != 0;
            break;
        }
    }
    std::fclose(f);
    return attached;
}

}  // namespace

// ---- backend controls ----

void sdlSetFramePacing(bool on) {
    sdl.pacing = on;
    sdl.nextFrame = 0;
}

bool sdlVsyncOn() { return sdl.vsync; }

void sdlToggleFullscreen() {
    if (!sdl.window) return;
    sdl.mode.fullscreen = !sdl.mode.fullscreen;
    applyWindowMode();
}

bool sdlReadPixel(int32_t x, int32_t y, uint32_t* argb) {
    if (!sdl.renderer) return false;
    SDL_Rect r{x, y, 1, 1};
    return SDL_RenderReadPixels(sdl.renderer, &r, SDL_PIXELFORMAT_ARGB8888, argb, 4) == 0;
}

void sdlGetPresentCounts(SdlPresentCounts* counts) { *counts = sdl.counts; }

void sdlShowWholePicture() {
    sdl.uploadAll = true;
    sdl.presentAll = true;
}

void sdlOutputSize(int32_t* width, int32_t* height) {
    int w = 0, h = 0;
    if (sdl.renderer) SDL_GetRendererOutputSize(sdl.renderer, &w, &h);
    *width = w;
    *height = h;
}

// ---- messages ----

void platSetWindowProc(PlatWindowProc proc) { sdl.windowProc = proc; }

bool platPeekMessage(PlatMsg* msg) {
    pumpEvents();
    if (sdl.queueCount == 0) return false;
    *msg = sdl.queue[sdl.queueHead];
    return true;
}

int platGetMessage(PlatMsg* msg) {
    pumpEvents();
    while (sdl.queueCount == 0) platWaitMessage();
    *msg = sdl.queue[sdl.queueHead];
    sdl.queueHead = (sdl.queueHead + 1) % SDL_QUEUE_SIZE;
    sdl.queueCount--;
    return msg->message == WM_QUIT ? 0 : 1;
}

void platTranslateMessage(const PlatMsg*) {}

int32_t platDispatchMessage(const PlatMsg* msg) {
    if (!sdl.windowProc) return 0;
    return sdl.windowProc(msg->message, msg->wParam, msg->lParam);
}

void platWaitMessage() {
    pumpEvents();
    if (sdl.queueCount == 0 && !sdl.videoUp) {
        // Without a display nothing can ever arrive: end the loop rather than spin.
        queuePush(WM_QUIT, 0, 0);
        return;
    }
    // In slices: SDL's own wait carries on through a signal that is not its own.
    while (sdl.queueCount == 0 && sdl.videoUp) {
        SDL_Event e;
        const uint64_t start = SDL_GetTicks64();
        if (SDL_WaitEventTimeout(&e, SDL_WAIT_SLICE_MS)) {
            handleEvent(e);
        } else if (SDL_GetTicks64() - start < SDL_WAIT_SLICE_MS / 2) {
            SDL_Delay(10);  // a broken event queue must not make the caller spin
        }
        pumpEvents();
    }
}

void platPostQuitMessage(int32_t exitCode) { queuePush(WM_QUIT, static_cast<uint32_t>(exitCode), 0); }

void platPostMessage(uint32_t message, uint32_t wParam, int32_t lParam) { queuePush(message, wParam, lParam); }

// ---- kernel ----

uint32_t platGetTickCount() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

int64_t platFileSize(const char* name) { return filesSystemSize(name); }

void platMessageBox(const char* text, const char* caption) {
    // Without any display the reason is already on standard error.
    if (sdl.noDisplay) return;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "", text ? text : "", sdl.window) != 0) {
        // On X11 SDL's box needs the X core fonts (xfonts-base). Without a box
        // the text goes to standard error on one line, with the reason.
        char line[8192];
        std::snprintf(line, sizeof line, "%s", text ? text : "");
        for (char* c = line; *c; c++) {
            if (*c == '\n') *c = ' ';
        }
        std::fprintf(stderr, "%s: %s [no message box: %s]\n", caption ? caption : "", line, SDL_GetError());
    }
}

void platDebugOutput(const char* text) {
#ifdef TQ_DEBUG_OUTPUT
    if (text) std::fputs(text, stderr);
#else
    (void)text;
#endif
}

void platDebugBreak() {
    if (debuggerAttached()) raise(SIGTRAP);
}

bool platExecutableFolder(char* out, int32_t size) { return exeFolderRead(out, size); }

void platSetDisplayMode(const PlatDisplayMode* mode) {
    sdl.mode = *mode;
    if (sdl.mode.scale < 0 || sdl.mode.scale > PLAT_MAX_SCALE) sdl.mode.scale = 0;
    if (sdl.window) applyWindowMode();
}

void platGetDisplayMode(PlatDisplayMode* mode) { *mode = sdl.mode; }

void platSetWindowIcon(const uint8_t* rgba, int32_t size) {
    if (!sdl.window || !rgba || size <= 0) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), size, size, 32, size * 4,
                                                           SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(sdl.window, icon);
    SDL_FreeSurface(icon);
}

// ---- display ----

int32_t platDisplayOpen(const char* title) {
    if (sdl.window) return DD_OK;
    sdl.noDisplay = false;
    sdl.counts = SdlPresentCounts{};
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Only a real desktop will do: left to itself SDL would fall back to its
    // invisible offscreen driver and the game would run where nobody sees it.
    // Wayland is tried only where a compositor says it is there, so a machine
    // without one prints nothing of its own. SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, std::getenv("WAYLAND_DISPLAY") ? "x11,wayland" : "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::snprintf(sdl.error, sizeof sdl.error, "%s", SDL_GetError());
        sdl.noDisplay = true;
        return DDERR_GENERIC;
    }
    sdl.videoUp = true;
    // SDL's software renderer draws into the window's memory, which X shows
    // straight from there, a changed rectangle at a time. Left to itself SDL
    // would show that memory through a hidden OpenGL renderer instead, as a
    // whole texture every frame: on a machine without a graphics card that
    // costs far more than the drawing. The environment variable still wins.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    catchHangUp();
    // Full screen is made as large as the desktop: without a window manager to
    // make it full screen it still covers the screen and agrees with what SDL
    // reports.
    SdlViewport place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 2 * PLAT_SCREEN_WIDTH, 2 * PLAT_SCREEN_HEIGHT};
    SDL_DisplayMode desktop;
    if (!sdl.mode.fullscreen) {
        place = placeWindow();
    } else if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        place.w = desktop.w;
        place.h = desktop.h;
    }
    // Untitled and hidden until the renderer is made: making it may replace the
    // window, and nothing should find or see the one that goes away.
    const uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                           (sdl.mode.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    sdl.window = SDL_CreateWindow("", place.x, place.y, place.w, place.h, flags);
    if (sdl.window) {
        SDL_SetWindowMinimumSize(sdl.window, PLAT_SCREEN_WIDTH / 2, PLAT_SCREEN_HEIGHT / 2);
        sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (sdl.renderer && rendersOnTheProcessor(sdl.renderer)) {
            SDL_DestroyRenderer(sdl.renderer);
            sdl.renderer = nullptr;
        }
        if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (sdl.window && sdl.renderer) {
        SDL_SetWindowTitle(sdl.window, title);
        SDL_ShowWindow(sdl.window);
    }
    if (!sdl.window || !sdl.renderer || !makeTexture()) {
        std::snprintf(sdl.error, sizeof sdl.error, "%s", SDL_GetError());
        platDisplayClose();
        return DDERR_GENERIC;
    }
    SDL_RendererInfo info;
    const bool known = SDL_GetRendererInfo(sdl.renderer, &info) == 0;
    sdl.vsync = known && (info.flags & SDL_RENDERER_PRESENTVSYNC);
    sdl.softwareRenderer = known && (info.flags & SDL_RENDERER_SOFTWARE);
    checkRefreshRate();
    sdl.nextFrame = 0;
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StopTextInput();
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderPresent(sdl.renderer);
    return DD_OK;
}

const char* platDisplayError() { return sdl.error; }

int32_t platCreatePrimary(bool, PlatSurface** primary) {
    if (!sdl.renderer) return DDERR_GENERIC;
    if (!sdl.primary || !sdl.back) {
        // New surfaces: the texture no longer holds what the primary does.
        sdl.uploadAll = true;
        sdl.presentAll = true;
    }
    if (!sdl.primary) sdl.primary = newSurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
    if (!sdl.back) sdl.back = newSurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
    if (!sdl.primary || !sdl.back) return DDERR_OUTOFVIDEOMEMORY;
    if (sdl.redraw.back != sdl.back) {
        redrawStart(sdl.redraw, sdl.back);
        sdl.redraw.drew = [](int32_t, int32_t y, int32_t, int32_t h) { sdlTouchRows(sdl.changes, y, h); };
    }
    *primary = sdl.primary;
    return DD_OK;
}

int32_t platGetBackBuffer(PlatSurface* primary, PlatSurface** back) {
    if (!primary || primary != sdl.primary || !sdl.back) return DDERR_INVALIDPARAMS;
    *back = sdl.back;
    return DD_OK;
}

int32_t platCreateSurface(int32_t width, int32_t height, PlatSurface** surface) {
    if (width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
    PlatSurface* s = newSurface(width, height);
    if (!s) return DDERR_OUTOFVIDEOMEMORY;
    *surface = s;
    return DD_OK;
}

int32_t platSurfaceRestore(PlatSurface* surface) {
    if (!surface) return DDERR_INVALIDPARAMS;
    redrawSpoil(sdl.redraw);
    if (surface == sdl.primary) {
        if (!sdl.renderer) return DDERR_GENERIC;
        if ((sdl.textureInvalid || !sdl.texture) && !makeTexture()) return DDERR_OUTOFVIDEOMEMORY;
        if (sdl.back) sdl.back->lost = false;
    }
    surface->lost = false;
    return DD_OK;
}

// Surfaces in the program's own memory: their pixels never move. Whoever locks
// one may read or write any of it.
int32_t platSurfaceLock(PlatSurface* surface) {
    if (!surface || !surface->pixels) return DDERR_INVALIDPARAMS;
    redrawSpoil(sdl.redraw);
    if (surface == sdl.back) sdlTouchAll(sdl.changes);
    return DD_OK;
}
void platSurfaceUnlock(PlatSurface*) {}

void platSurfaceRelease(PlatSurface* surface) {
    if (!surface) return;
    redrawSpoil(sdl.redraw);
    if (surface == sdl.primary) {
        redrawStart(sdl.redraw, nullptr);
        // The back buffer goes with its primary.
        freeSurface(sdl.back);
        sdl.back = nullptr;
        sdl.primary = nullptr;
    }
    freeSurface(surface);
}

void platSetPalette(const PlatColor palette[256]) {
    uint32_t colors[256];
    sdlBuildColorTable(palette, colors);
    // Another palette recolours every pixel shown; the same one (a restore) none.
    if (std::memcmp(colors, sdl.colors, sizeof colors) == 0) return;
    std::memcpy(sdl.colors, colors, sizeof colors);
    sdl.uploadAll = true;
}

namespace {

// Both copies: the checks, then the pixel loop of the kind asked for.
template <void (*movePixels)(PlatSurface*, int32_t, int32_t, const PlatSurface*, int32_t, int32_t, int32_t, int32_t,
                             bool)>
int32_t sdlCopy(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top, int32_t right,
                int32_t bottom, bool keyed) {
    if (!dst || !src || !dst->pixels || !src->pixels) return DDERR_INVALIDPARAMS;
    if (dst->lost || src->lost) return DDERR_SURFACELOST;
    // No clipping: a copy that does not lie wholly inside both surfaces is refused.
    if (!blitFits(dst, x, y, src, left, top, right, bottom)) return DDERR_INVALIDPARAMS;
    if (dst == sdl.back) {
        redrawCopy(sdl.redraw, src, x, y, left, top, right, bottom, keyed, movePixels == blitPixelsTurned);
        return DD_OK;
    }
    // A surface the back buffer's copies may read from.
    redrawSpoil(sdl.redraw);
    movePixels(dst, x, y, src, left, top, right, bottom, keyed);
    return DD_OK;
}

}  // namespace

int32_t platBltFast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                    int32_t right, int32_t bottom, bool keyed) {
    return sdlCopy<blitPixels>(dst, x, y, src, left, top, right, bottom, keyed);
}

int32_t platBltFastTurned(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                          int32_t right, int32_t bottom, bool keyed) {
    return sdlCopy<blitPixelsTurned>(dst, x, y, src, left, top, right, bottom, keyed);
}

int32_t platBltFastRun(PlatSurface* dst, PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed,
                       int32_t* made) {
    *made = 0;
    if (!dst || !src || !dst->pixels || !src->pixels) return DDERR_INVALIDPARAMS;
    if (dst->lost || src->lost) return DDERR_SURFACELOST;
    // The surfaces' checks once for the run; each copy's bounds its own. The
    // copies before one refused are made.
    int32_t fit = 0;
    while (fit < count && blitFits(dst, blts[fit].x, blts[fit].y, src, blts[fit].left, blts[fit].top,
                                   blts[fit].right, blts[fit].bottom)) {
        fit++;
    }
    if (dst == sdl.back) {
        redrawCopyRun(sdl.redraw, src, blts, fit, keyed);
    } else {
        redrawSpoil(sdl.redraw);
        for (int32_t i = 0; i < fit; i++) {
            const PlatBlt& b = blts[i];
            blitPixels(dst, b.x, b.y, src, b.left, b.top, b.right, b.bottom, keyed);
        }
    }
    *made = fit;
    return fit < count ? DDERR_INVALIDPARAMS : DD_OK;
}

namespace {

// Converts the changed rectangles into the texture; false when it cannot be locked.
bool uploadChanges(const SdlRect* rects, int32_t count) {
    for (int32_t i = 0; i < count; i++) {
        const SdlRect& r = rects[i];
        const SDL_Rect area{r.x, r.y, r.w, r.h};
        void* pixels;
        int pitch;
        if (SDL_LockTexture(sdl.texture, &area, &pixels, &pitch) != 0) return false;
        sdlConvertRect(sdl.back, sdl.colors, r.x, r.y, r.w, r.h, static_cast<uint32_t*>(pixels), pitch);
        SDL_UnlockTexture(sdl.texture);
        sdl.counts.convertedPixels += r.w * r.h;
    }
    return true;
}

// The whole picture, centred on black: the renderer's buffers keep nothing
// from one present to the next.
void presentWhole(const SdlViewport& v) {
    const SDL_Rect dst{v.x, v.y, v.w, v.h};
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &dst);
    paceFrame(true);
    SDL_RenderPresent(sdl.renderer);
}

// Only the changed rectangles, scaled by the whole factor `f`, drawn into the
// window's memory and shown from it: the rest of the window keeps what it
// shows. For SDL's software renderer alone.
void presentChanges(const SdlViewport& v, int32_t f, const SdlRect* rects, int32_t count) {
    SDL_Rect shown[SDL_MAX_CHANGED_RECTS];
    for (int32_t i = 0; i < count; i++) {
        const SdlRect& r = rects[i];
        const SDL_Rect from{r.x, r.y, r.w, r.h};
        shown[i] = SDL_Rect{v.x + r.x * f, v.y + r.y * f, r.w * f, r.h * f};
        SDL_RenderCopy(sdl.renderer, sdl.texture, &from, &shown[i]);
    }
    SDL_RenderFlush(sdl.renderer);
    paceFrame(false);
    SDL_UpdateWindowSurfaceRects(sdl.window, shown, count);
    sdl.counts.partialPresents++;
}

}  // namespace

int32_t platFlip(PlatSurface* primary) {
    if (!primary || primary != sdl.primary || !sdl.back) return DDERR_INVALIDPARAMS;
    // The frame's copies are made whatever the flip does.
    redrawFinish(sdl.redraw);
    if (primary->lost || sdl.back->lost) return DDERR_SURFACELOST;
    if (!sdl.renderer) return DDERR_GENERIC;
    if (sdl.textureInvalid || !sdl.texture) {
        loseAllSurfaces();
        return DDERR_SURFACELOST;
    }
    sdl.counts.flips++;
    // The visible surface is brought up to what is shown on the way.
    SdlRect rects[SDL_MAX_CHANGED_RECTS];
    int32_t count;
    if (sdl.uploadAll) {
        std::memcpy(primary->pixels, sdl.back->pixels, static_cast<size_t>(sdl.back->pitch) * sdl.back->height);
        std::memset(sdl.changes.touched, 0, sizeof sdl.changes.touched);
        rects[0] = SdlRect{0, 0, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT};
        count = 1;
    } else {
        count = sdlTakeChanges(sdl.changes, sdl.back, primary, rects);
    }
    if (!uploadChanges(rects, count)) {
        loseAllSurfaces();
        sdl.uploadAll = true;
        return DDERR_SURFACELOST;
    }
    sdl.uploadAll = false;
    if (count == 0 && !sdl.presentAll) {
        // The same picture: the window keeps showing it.
        paceFrame(false);
        return DD_OK;
    }
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(sdl.renderer, &outW, &outH);
    const SdlViewport v = sdlFitPicture(outW, outH);
    const int32_t f = v.w / PLAT_SCREEN_WIDTH;
    if (!sdl.presentAll && sdl.softwareRenderer && f >= 1 && v.w == PLAT_SCREEN_WIDTH * f &&
        v.h == PLAT_SCREEN_HEIGHT * f) {
        presentChanges(v, f, rects, count);
    } else {
        presentWhole(v);
        sdl.presentAll = false;
    }
    sdl.counts.presents++;
    return DD_OK;
}

void platDisplayClose() {
    if (sdl.primary) platSurfaceRelease(sdl.primary);
    if (sdl.texture) SDL_DestroyTexture(sdl.texture);
    if (sdl.renderer) SDL_DestroyRenderer(sdl.renderer);
    if (sdl.window) SDL_DestroyWindow(sdl.window);
    sdl.texture = nullptr;
    sdl.renderer = nullptr;
    sdl.window = nullptr;
    sdl.acquired = false;
    sdl.focused = false;
    if (sdl.videoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    sdl.videoUp = false;
}

// ---- mouse ----

int32_t platMouseOpen() {
    if (!sdl.videoUp) return DIERR_GENERIC;
    sdl.acquired = false;
    sdl.lostPending = false;
    return DI_OK;
}

int32_t platMouseRead(PlatMouseState* state) {
    if (!sdl.acquired) {
        if (sdl.lostPending) {
            sdl.lostPending = false;
            return DIERR_INPUTLOST;
        }
        return DIERR_NOTACQUIRED;
    }
    state->x = sdl.mouseX;
    state->y = sdl.mouseY;
    state->z = sdl.mouseZ;
    std::memcpy(state->buttons, sdl.buttons, sizeof sdl.buttons);
    sdl.mouseX = sdl.mouseY = sdl.mouseZ = 0;
    return DI_OK;
}

int32_t platMouseAcquire() {
    if (!sdl.videoUp || !sdl.focused) return SDL_DIERR_OTHERAPPHASPRIO;
    if (sdl.acquired) return DI_OK;
    SDL_SetRelativeMouseMode(SDL_TRUE);
    sdl.acquired = true;
    sdl.lostPending = false;
    sdl.mouseX = sdl.mouseY = sdl.mouseZ = 0;
    // Buttons already held when the game takes the mouse count from now on.
    uint32_t held = SDL_GetMouseState(nullptr, nullptr);
    sdl.buttons[0] = (held & SDL_BUTTON_LMASK) ? 0x80 : 0;
    sdl.buttons[1] = (held & SDL_BUTTON_RMASK) ? 0x80 : 0;
    sdl.buttons[2] = (held & SDL_BUTTON_MMASK) ? 0x80 : 0;
    sdl.buttons[3] = (held & SDL_BUTTON_X1MASK) ? 0x80 : 0;
    return DI_OK;
}
