// The port layer on Windows: a real window and message loop, the tick count,
// message boxes and the debugger, and the display. Full screen is DirectDraw's
// exclusive 640 x 480 x 8 mode with a flipping primary surface and a back
// buffer; where that mode cannot be had, and for a window, the 8-bit picture
// goes to the window through GDI (StretchDIBits), scaled by whole factors.
#include "platform/win32/win32.h"

#include <ddraw.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/blit.h"
#include "platform/exefolder.h"
#include "platform/files.h"
#include "platform/winsys/utf8.h"

namespace {

constexpr int WIN_QUEUE_SIZE = 512;
constexpr int WIN_SURFACE_SLOTS = 8;
constexpr const char* WIN_CLASS_NAME = "TarvoQuelms";
constexpr int32_t WIN_FRAMES_PER_SECOND = 60;

enum WinPath { WIN_PATH_NONE, WIN_PATH_DIRECTDRAW, WIN_PATH_GDI };

// A surface is DirectDraw's while the display is, else the program's own memory.
struct WinSlot {
    bool used;
    PlatSurface plat;
    IDirectDrawSurface* dd;  // null: a surface in memory
    int32_t locks;
    int32_t key;  // the colour key DirectDraw holds for it; -1 none
};

struct WinRect {
    int32_t x, y, w, h;
};

struct WinState {
    PlatWindowProc windowProc;
    PlatMsg queue[WIN_QUEUE_SIZE];
    int32_t queueHead;
    int32_t queueCount;

    HINSTANCE instance;
    bool classRegistered;
    HWND window;
    bool destroying;     // our own DestroyWindow: no WM_DESTROY for the game
    bool focused;
    HICON icon;
    PlatDisplayMode mode = {true, 0};
    int32_t placedScale;   // the scale the window was last placed at
    bool swallowReturnUp;  // the Enter of Alt+Enter does not reach the game
    WinPath path;
    char error[256];

    IDirectDraw* directDraw;
    IDirectDrawPalette* palette;
    WinSlot slots[WIN_SURFACE_SLOTS];
    PlatSurface* primary;
    PlatSurface* back;
    PlatColor colors[256];

    // GDI: the back buffer as an 8-bit device-independent bitmap.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } dib;

    LARGE_INTEGER frequency;
    LONGLONG nextFrame;
    bool timerPeriodSet;
};

WinState win;

void queuePush(uint32_t message, uint32_t wParam, int32_t lParam) {
    if (win.queueCount >= WIN_QUEUE_SIZE) return;  // a flood of input drops the newest
    win.queue[(win.queueHead + win.queueCount) % WIN_QUEUE_SIZE] = PlatMsg{message, wParam, lParam};
    win.queueCount++;
}

void winLog(const char* format, const char* detail, long code) {
    char line[320];
    std::snprintf(line, sizeof line, format, detail, static_cast<unsigned long>(code));
    OutputDebugStringA(line);
}

// ---- surfaces ----

WinSlot* slotOf(const PlatSurface* surface) {
    for (WinSlot& s : win.slots) {
        if (s.used && &s.plat == surface) return &s;
    }
    return nullptr;
}

WinSlot* freeSlot() {
    for (WinSlot& s : win.slots) {
        if (!s.used) return &s;
    }
    return nullptr;
}

PlatSurface* newMemorySurface(int32_t width, int32_t height) {
    WinSlot* slot = freeSlot();
    if (!slot) return nullptr;
    uint8_t* pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 1));
    if (!pixels) return nullptr;
    *slot = WinSlot{true, PlatSurface{pixels, width, height, width, 0, false}, nullptr, 0, -1};
    return &slot->plat;
}

PlatSurface* newDirectDrawSurface(IDirectDrawSurface* dd, int32_t width, int32_t height) {
    WinSlot* slot = freeSlot();
    if (!slot) return nullptr;
    // The pixels are there only while the surface is locked.
    *slot = WinSlot{true, PlatSurface{nullptr, width, height, 0, 0, false}, dd, 0, -1};
    return &slot->plat;
}

void freeSlotOf(PlatSurface* surface) {
    WinSlot* slot = slotOf(surface);
    if (!slot) return;
    if (slot->dd) {
        if (slot->locks > 0) slot->dd->Unlock(nullptr);
        slot->dd->Release();
    } else {
        std::free(slot->plat.pixels);
    }
    *slot = WinSlot{};
}

// The copy rule without looking at the pixels, which a DirectDraw surface
// has only while locked.
bool copyFits(const PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
              int32_t right, int32_t bottom) {
    if (left < 0 || top < 0 || right <= left || bottom <= top) return false;
    if (right > src->width || bottom > src->height) return false;
    return x >= 0 && y >= 0 && x <= dst->width - (right - left) && y <= dst->height - (bottom - top);
}

// ---- the picture in a window ----

// The picture scaled by the largest whole factor that fits, centred; a
// window smaller than the picture gets it shrunk with its shape kept.
WinRect fitPicture(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return WinRect{0, 0, 0, 0};
    const int32_t factor = std::min(width / PLAT_SCREEN_WIDTH, height / PLAT_SCREEN_HEIGHT);
    int32_t w, h;
    if (factor >= 1) {
        w = PLAT_SCREEN_WIDTH * factor;
        h = PLAT_SCREEN_HEIGHT * factor;
    } else if (static_cast<int64_t>(width) * PLAT_SCREEN_HEIGHT <= static_cast<int64_t>(height) * PLAT_SCREEN_WIDTH) {
        w = width;
        h = static_cast<int32_t>(static_cast<int64_t>(width) * PLAT_SCREEN_HEIGHT / PLAT_SCREEN_WIDTH);
    } else {
        h = height;
        w = static_cast<int32_t>(static_cast<int64_t>(height) * PLAT_SCREEN_WIDTH / PLAT_SCREEN_HEIGHT);
    }
    return WinRect{(width - w) / 2, (height - h) / 2, w, h};
}

RECT monitorArea(bool work) {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HMONITOR monitor = MonitorFromWindow(win.window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) r = work ? info.rcWork : info.rcMonitor;
    return r;
}

constexpr DWORD WIN_WINDOW_STYLE = WS_OVERLAPPEDWINDOW;
constexpr DWORD WIN_FULL_STYLE = WS_POPUP;

// Full screen covers the monitor; a window shows the picture `scale` times
// (0: the largest whole scale that fits the work area).
void applyWindowMode() {
    if (!win.window) return;
    if (win.mode.fullscreen || win.path == WIN_PATH_DIRECTDRAW) {
        const RECT r = monitorArea(false);
        SetWindowLongPtrA(win.window, GWL_STYLE, WIN_FULL_STYLE | WS_VISIBLE);
        SetWindowPos(win.window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW);
        return;
    }
    const RECT work = monitorArea(true);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WIN_WINDOW_STYLE, FALSE, 0);
    const int32_t roomW = (work.right - work.left) - (frame.right - frame.left);
    const int32_t roomH = (work.bottom - work.top) - (frame.bottom - frame.top);
    const int32_t fit = std::max(1, std::min(roomW / PLAT_SCREEN_WIDTH, roomH / PLAT_SCREEN_HEIGHT));
    const int32_t scale = win.mode.scale > 0 && win.mode.scale < fit ? win.mode.scale : fit;
    win.placedScale = scale;
    RECT r{0, 0, PLAT_SCREEN_WIDTH * scale, PLAT_SCREEN_HEIGHT * scale};
    AdjustWindowRectEx(&r, WIN_WINDOW_STYLE, FALSE, 0);
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;
    const int32_t x = work.left + std::max<int32_t>(0, ((work.right - work.left) - w) / 2);
    const int32_t y = work.top + std::max<int32_t>(0, ((work.bottom - work.top) - h) / 2);
    SetWindowLongPtrA(win.window, GWL_STYLE, WIN_WINDOW_STYLE | WS_VISIBLE);
    SetWindowPos(win.window, HWND_NOTOPMOST, x, y, w, h, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void buildDibColors() {
    for (int i = 0; i < 256; i++) {
        win.dib.colors[i] = RGBQUAD{win.colors[i].b, win.colors[i].g, win.colors[i].r, 0};
    }
}

// Draws the primary surface's picture into the window, black around it.
void gdiPresent(HDC dc) {
    if (!win.primary || !win.primary->pixels) return;
    RECT client;
    GetClientRect(win.window, &client);
    const WinRect v = fitPicture(client.right, client.bottom);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT margins[4] = {{0, 0, client.right, v.y},
                             {0, v.y + v.h, client.right, client.bottom},
                             {0, v.y, v.x, v.y + v.h},
                             {v.x + v.w, v.y, client.right, v.y + v.h}};
    for (const RECT& m : margins) {
        if (m.right > m.left && m.bottom > m.top) FillRect(dc, &m, black);
    }
    win.dib.header.biWidth = win.primary->pitch;
    win.dib.header.biHeight = -win.primary->height;  // top row first
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, v.x, v.y, v.w, v.h, 0, 0, win.primary->width, win.primary->height, win.primary->pixels,
                  reinterpret_cast<const BITMAPINFO*>(&win.dib), DIB_RGB_COLORS, SRCCOPY);
}

// Frame-counted gauges and banners assume 60 frames a second: frames never
// come faster, whatever the display does.
void paceFrame() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONGLONG period = win.frequency.QuadPart / WIN_FRAMES_PER_SECOND;
    if (win.nextFrame == 0 || now.QuadPart > win.nextFrame + 2 * period) {
        // First frame, or far behind (a pause in the debugger, a slow frame): start afresh.
        win.nextFrame = now.QuadPart + period;
        return;
    }
    while (now.QuadPart < win.nextFrame) {
        const LONGLONG left = (win.nextFrame - now.QuadPart) * 1000 / win.frequency.QuadPart;
        Sleep(left > 1 ? static_cast<DWORD>(left - 1) : 0);
        QueryPerformanceCounter(&now);
    }
    win.nextFrame += period;
}

// ---- DirectDraw ----

void directDrawClose() {
    if (win.palette) win.palette->Release();
    win.palette = nullptr;
    if (win.directDraw) {
        win.directDraw->RestoreDisplayMode();
        win.directDraw->SetCooperativeLevel(win.window, DDSCL_NORMAL);
        win.directDraw->Release();
    }
    win.directDraw = nullptr;
}

// Exclusive full screen at 640 x 480 x 8; false, with everything undone and
// the reason in the debugger output, when any step is refused.
bool directDrawOpen() {
    HRESULT result = DirectDrawCreate(nullptr, &win.directDraw, nullptr);
    const char* step = "DirectDrawCreate";
    if (result == DD_OK) {
        step = "SetCooperativeLevel";
        result = win.directDraw->SetCooperativeLevel(win.window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    }
    if (result == DD_OK) {
        step = "SetDisplayMode";
        result = win.directDraw->SetDisplayMode(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, 8);
    }
    if (result == DD_OK) return true;
    winLog("display: DirectDraw's full screen is not available (%s: 0x%08lx); a GDI window instead\n", step, result);
    if (win.directDraw == nullptr) return false;
    directDrawClose();
    return false;
}

void directDrawSetPalette() {
    if (!win.directDraw) return;
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; i++) entries[i] = PALETTEENTRY{win.colors[i].r, win.colors[i].g, win.colors[i].b, 0};
    if (!win.palette) {
        if (win.directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &win.palette, nullptr) != DD_OK) {
            win.palette = nullptr;
            return;
        }
    } else {
        win.palette->SetEntries(0, 0, 256, entries);
    }
    WinSlot* primary = slotOf(win.primary);
    if (primary && primary->dd) primary->dd->SetPalette(win.palette);
}

// The flipping primary surface and its back buffer.
HRESULT directDrawPrimary(bool videoMemory, IDirectDrawSurface** front, IDirectDrawSurface** backBuffer) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                          (videoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    HRESULT result = win.directDraw->CreateSurface(&desc, front, nullptr);
    // A display without hardware has no video memory at all: the game then
    // asks for system memory, as when video memory is full.
    if (videoMemory && result == DDERR_NODIRECTDRAWHW) result = DDERR_OUTOFVIDEOMEMORY;
    if (!videoMemory && result != DD_OK) {
        // Where system memory cannot be named, DirectDraw's own choice.
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        result = win.directDraw->CreateSurface(&desc, front, nullptr);
    }
    if (result != DD_OK) {
        // Out of video memory is no failure yet: the game asks for system memory next.
        if (result != DDERR_OUTOFVIDEOMEMORY) winLog("display: %s refused: 0x%08lx\n", "the primary surface", result);
        return result;
    }
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    result = (*front)->GetAttachedSurface(&caps, backBuffer);
    if (result != DD_OK) {
        winLog("display: %s refused: 0x%08lx\n", "the back buffer", result);
        (*front)->Release();
        *front = nullptr;
    }
    return result;
}

HRESULT directDrawOffscreen(int32_t width, int32_t height, IDirectDrawSurface** surface) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    HRESULT result = win.directDraw->CreateSurface(&desc, surface, nullptr);
    if (result == DDERR_OUTOFVIDEOMEMORY) {
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        result = win.directDraw->CreateSurface(&desc, surface, nullptr);
    }
    if (result != DD_OK) winLog("display: %s refused: 0x%08lx\n", "an off-screen surface", result);
    return result;
}

// Every surface the game holds gets new storage of the other kind in the same
// slot, so the game's pointers stay good. What they held is gone: they are
// lost, and the game restores them (the sheet and palette reloaded) with its
// next copy.
void releaseStorage(WinSlot& slot) {
    if (slot.dd) {
        if (slot.locks > 0) slot.dd->Unlock(nullptr);
        slot.dd->Release();
    } else {
        std::free(slot.plat.pixels);
    }
    slot.dd = nullptr;
    slot.plat.pixels = nullptr;
    slot.locks = 0;
    slot.key = -1;
    slot.plat.lost = true;
}

bool storeInMemory(WinSlot& slot) {
    releaseStorage(slot);
    slot.plat.pixels =
        static_cast<uint8_t*>(std::calloc(static_cast<size_t>(slot.plat.width) * static_cast<size_t>(slot.plat.height), 1));
    slot.plat.pitch = slot.plat.width;
    return slot.plat.pixels != nullptr;
}

void surfacesToMemory() {
    // The back buffer goes before the primary it belongs to.
    if (WinSlot* back = slotOf(win.back)) releaseStorage(*back);
    for (WinSlot& s : win.slots) {
        if (s.used) storeInMemory(s);
    }
}

bool surfacesToDirectDraw() {
    WinSlot* front = slotOf(win.primary);
    WinSlot* back = slotOf(win.back);
    if (front && back) {
        releaseStorage(*back);
        releaseStorage(*front);
        IDirectDrawSurface* made = nullptr;
        IDirectDrawSurface* madeBack = nullptr;
        HRESULT result = directDrawPrimary(true, &made, &madeBack);
        if (result == DDERR_OUTOFVIDEOMEMORY) result = directDrawPrimary(false, &made, &madeBack);
        if (result != DD_OK) return false;
        front->dd = made;
        back->dd = madeBack;
    }
    for (WinSlot& s : win.slots) {
        if (!s.used || &s == front || &s == back) continue;
        releaseStorage(s);
        IDirectDrawSurface* made = nullptr;
        if (directDrawOffscreen(s.plat.width, s.plat.height, &made) != DD_OK) return false;
        s.dd = made;
    }
    return true;
}

void logDisplayPath() {
    char line[96];
    std::snprintf(line, sizeof line, "display path: %s\n", winDisplayPath());
    OutputDebugStringA(line);
}

// ---- the window ----

// Alt+Enter: DirectDraw's full screen or GDI's goes to a window; a window
// goes to DirectDraw's full screen where the display allows it, else GDI's.
void toggleFullscreen() {
    if (win.path == WIN_PATH_DIRECTDRAW) {
        surfacesToMemory();
        directDrawClose();
        win.path = WIN_PATH_GDI;
        win.mode.fullscreen = false;
    } else if (!win.mode.fullscreen) {
        win.mode.fullscreen = true;
        if (directDrawOpen()) {
            win.path = WIN_PATH_DIRECTDRAW;
            if (surfacesToDirectDraw()) {
                directDrawSetPalette();
            } else {
                // Refused half-way: everything back to memory, full screen by GDI.
                surfacesToMemory();
                directDrawClose();
                win.path = WIN_PATH_GDI;
            }
        }
    } else {
        win.mode.fullscreen = false;
    }
    applyWindowMode();
    logDisplayPath();
}

bool keyMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool alt = (lParam & (1 << 29)) != 0;
    if (wParam == VK_RETURN && down && alt) {
        if (!(lParam & (1 << 30))) toggleFullscreen();
        win.swallowReturnUp = true;
        return true;
    }
    if (wParam == VK_RETURN && !down && win.swallowReturnUp) {
        win.swallowReturnUp = false;
        return true;
    }
    // Alt+F4 and Alt+Space are the system's; any other key with Alt, and Alt
    // itself, are the game's, as on Linux, and so never open the window's menu.
    if ((message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) && (wParam == VK_F4 || wParam == VK_SPACE)) {
        return false;
    }
    queuePush(down ? WM_KEYDOWN : WM_KEYUP, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
    return true;
}

// The window's own procedure. The messages the port layer names are queued
// for the game's procedure, which sees them between frames; everything else
// is the system's (DefWindowProcA), or window creation itself would fail.
LRESULT CALLBACK winWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            // The game draws its own pointer over the picture.
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_ACTIVATEAPP:
            if (window == win.window) {
                win.focused = wParam != 0;
                winMouseFocus(win.focused);
                queuePush(WM_ACTIVATEAPP, wParam ? 1 : 0, 0);
            }
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            if (keyMessage(message, wParam, lParam)) return 0;
            break;
        case WM_CLOSE:
            // The game decides: it ends the game in progress, saves and quits.
            queuePush(WM_CLOSE, 0, 0);
            return 0;
        case WM_DESTROY:
            if (!win.destroying) queuePush(WM_DESTROY, 0, 0);
            if (window == win.window) win.window = nullptr;
            return 0;
        case WM_SIZE:
            // The player's resizing is remembered as the scale it shows; the
            // window's own placement is not.
            if (win.path == WIN_PATH_GDI && !win.mode.fullscreen && wParam != SIZE_MINIMIZED) {
                const int32_t shown = std::max(1, std::min(static_cast<int32_t>(LOWORD(lParam)) / PLAT_SCREEN_WIDTH,
                                                           static_cast<int32_t>(HIWORD(lParam)) / PLAT_SCREEN_HEIGHT));
                if (shown != win.placedScale) win.mode.scale = shown;
            }
            break;
        case WM_PAINT:
            if (win.path == WIN_PATH_GDI) {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(window, &paint);
                gdiPresent(dc);
                EndPaint(window, &paint);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            queuePush(WM_QUIT, static_cast<uint32_t>(msg.wParam), 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool registerClass() {
    if (win.classRegistered) return true;
    win.instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = winWindowProc;
    wc.hInstance = win.instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = WIN_CLASS_NAME;
    win.classRegistered = RegisterClassA(&wc) != 0;
    return win.classRegistered;
}

HICON makeIcon(const uint8_t* rgba, int32_t size) {
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color || !bits) return nullptr;
    uint8_t* out = static_cast<uint8_t*>(bits);
    for (int32_t i = 0; i < size * size; i++) {
        out[4 * i + 0] = rgba[4 * i + 2];
        out[4 * i + 1] = rgba[4 * i + 1];
        out[4 * i + 2] = rgba[4 * i + 0];
        out[4 * i + 3] = rgba[4 * i + 3];
    }
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

}  // namespace

const char* winDisplayPath() {
    switch (win.path) {
        case WIN_PATH_DIRECTDRAW: return "DirectDraw";
        case WIN_PATH_GDI: return win.mode.fullscreen ? "GDI full screen" : "GDI window";
        case WIN_PATH_NONE: break;
    }
    return "";
}

HWND winMainWindow() { return win.window; }

// ---- messages ----

void platSetWindowProc(PlatWindowProc proc) { win.windowProc = proc; }

bool platPeekMessage(PlatMsg* msg) {
    pumpMessages();
    if (win.queueCount == 0) return false;
    *msg = win.queue[win.queueHead];
    return true;
}

int platGetMessage(PlatMsg* msg) {
    pumpMessages();
    while (win.queueCount == 0) platWaitMessage();
    *msg = win.queue[win.queueHead];
    win.queueHead = (win.queueHead + 1) % WIN_QUEUE_SIZE;
    win.queueCount--;
    return msg->message == WM_QUIT ? 0 : 1;
}

void platTranslateMessage(const PlatMsg*) {}

int32_t platDispatchMessage(const PlatMsg* msg) {
    if (!win.windowProc) return 0;
    return win.windowProc(msg->message, msg->wParam, msg->lParam);
}

void platWaitMessage() {
    pumpMessages();
    if (win.queueCount == 0 && !win.window) {
        // Without a window nothing can ever arrive: end the loop rather than hang.
        queuePush(WM_QUIT, 0, 0);
        return;
    }
    while (win.queueCount == 0 && win.window) {
        WaitMessage();
        pumpMessages();
    }
}

void platPostQuitMessage(int32_t exitCode) { queuePush(WM_QUIT, static_cast<uint32_t>(exitCode), 0); }

void platPostMessage(uint32_t message, uint32_t wParam, int32_t lParam) { queuePush(message, wParam, lParam); }

// ---- kernel ----

uint32_t platGetTickCount() { return GetTickCount(); }

int64_t platFileSize(const char* name) { return filesSystemSize(name); }

void platMessageBox(const char* text, const char* caption) {
    // The texts are UTF-8 (a path may name the user): the wide box shows them as they are.
    const std::wstring wideText = utf8ToWide(text ? text : "");
    const std::wstring wideCaption = utf8ToWide(caption ? caption : "");
    MessageBoxW(win.window, wideText.c_str(), wideCaption.c_str(), MB_OK | MB_SETFOREGROUND);
}

void platDebugOutput(const char* text) {
    if (text) OutputDebugStringA(text);
}

void platDebugBreak() {
    if (IsDebuggerPresent()) DebugBreak();
}

bool platExecutableFolder(char* out, int32_t size) { return exeFolderRead(out, size); }

void platSetDisplayMode(const PlatDisplayMode* mode) {
    win.mode = *mode;
    if (win.mode.scale < 0 || win.mode.scale > PLAT_MAX_SCALE) win.mode.scale = 0;
    if (win.window && win.path == WIN_PATH_GDI) applyWindowMode();
}

void platGetDisplayMode(PlatDisplayMode* mode) { *mode = win.mode; }

void platSetWindowIcon(const uint8_t* rgba, int32_t size) {
    if (!win.window || !rgba || size <= 0) return;
    HICON icon = makeIcon(rgba, size);
    if (!icon) return;
    SendMessageA(win.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(win.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (win.icon) DestroyIcon(win.icon);
    win.icon = icon;
}

// ---- display ----

int32_t platDisplayOpen(const char* title) {
    if (win.window) return DD_OK;
    win.error[0] = '\0';
    if (!registerClass()) {
        std::snprintf(win.error, sizeof win.error, "the window class cannot be registered (error %lu)",
                      static_cast<unsigned long>(GetLastError()));
        return DDERR_GENERIC;
    }
    // Pixels are pixels: whole-number scales stay whole on a scaled desktop.
    SetProcessDPIAware();
    QueryPerformanceFrequency(&win.frequency);
    win.dib.header = BITMAPINFOHEADER{};
    win.dib.header.biSize = sizeof win.dib.header;
    win.dib.header.biPlanes = 1;
    win.dib.header.biBitCount = 8;
    win.dib.header.biCompression = BI_RGB;
    win.dib.header.biClrUsed = 256;
    win.nextFrame = 0;
    win.destroying = false;
    const RECT screen = monitorArea(false);
    win.window = CreateWindowExA(WS_EX_APPWINDOW, WIN_CLASS_NAME, title, WIN_FULL_STYLE, screen.left, screen.top,
                                 screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr,
                                 win.instance, nullptr);
    if (!win.window) {
        std::snprintf(win.error, sizeof win.error, "the window cannot be made (error %lu)",
                      static_cast<unsigned long>(GetLastError()));
        return DDERR_GENERIC;
    }
    // Sleep's steps of a millisecond keep the frames even.
    win.timerPeriodSet = timeBeginPeriod(1) == TIMERR_NOERROR;
    win.path = WIN_PATH_GDI;
    if (win.mode.fullscreen) {
        ShowWindow(win.window, SW_SHOWNORMAL);
        if (directDrawOpen()) win.path = WIN_PATH_DIRECTDRAW;
    }
    applyWindowMode();
    ShowWindow(win.window, SW_SHOWNORMAL);
    UpdateWindow(win.window);
    SetForegroundWindow(win.window);
    logDisplayPath();
    return DD_OK;
}

const char* platDisplayError() { return win.error; }

int32_t platCreatePrimary(bool videoMemory, PlatSurface** primary) {
    if (!win.window) return DDERR_GENERIC;
    if (win.primary) {
        *primary = win.primary;
        return DD_OK;
    }
    if (win.path == WIN_PATH_DIRECTDRAW) {
        IDirectDrawSurface* front = nullptr;
        IDirectDrawSurface* backBuffer = nullptr;
        const HRESULT result = directDrawPrimary(videoMemory, &front, &backBuffer);
        if (result != DD_OK) return result;
        win.primary = newDirectDrawSurface(front, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
        win.back = win.primary ? newDirectDrawSurface(backBuffer, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT) : nullptr;
        if (!win.primary || !win.back) {
            backBuffer->Release();
            if (!win.primary) front->Release();
            if (win.primary) freeSlotOf(win.primary);
            win.primary = nullptr;
            return DDERR_OUTOFVIDEOMEMORY;
        }
        if (win.palette) slotOf(win.primary)->dd->SetPalette(win.palette);
    } else {
        win.primary = newMemorySurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
        win.back = newMemorySurface(PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT);
        if (!win.primary || !win.back) {
            if (win.primary) freeSlotOf(win.primary);
            if (win.back) freeSlotOf(win.back);
            win.primary = win.back = nullptr;
            return DDERR_OUTOFVIDEOMEMORY;
        }
    }
    *primary = win.primary;
    return DD_OK;
}

int32_t platGetBackBuffer(PlatSurface* primary, PlatSurface** back) {
    if (!primary || primary != win.primary || !win.back) return DDERR_INVALIDPARAMS;
    *back = win.back;
    return DD_OK;
}

int32_t platCreateSurface(int32_t width, int32_t height, PlatSurface** surface) {
    if (width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
    if (win.path == WIN_PATH_DIRECTDRAW) {
        IDirectDrawSurface* dd = nullptr;
        const HRESULT result = directDrawOffscreen(width, height, &dd);
        if (result != DD_OK) return result;
        PlatSurface* s = newDirectDrawSurface(dd, width, height);
        if (!s) {
            dd->Release();
            return DDERR_OUTOFVIDEOMEMORY;
        }
        *surface = s;
        return DD_OK;
    }
    PlatSurface* s = newMemorySurface(width, height);
    if (!s) return DDERR_OUTOFVIDEOMEMORY;
    *surface = s;
    return DD_OK;
}

int32_t platSurfaceRestore(PlatSurface* surface) {
    WinSlot* slot = slotOf(surface);
    if (!slot) return DDERR_INVALIDPARAMS;
    if (slot->dd) {
        // The primary brings its back buffer back with it.
        const HRESULT result = slot->dd->Restore();
        if (result != DD_OK) return result;
        slot->key = -1;  // set again with the next keyed copy
    }
    if (surface == win.primary && win.back) win.back->lost = false;
    surface->lost = false;
    return DD_OK;
}

int32_t platSurfaceLock(PlatSurface* surface) {
    WinSlot* slot = slotOf(surface);
    if (!slot) return DDERR_INVALIDPARAMS;
    if (!slot->dd) return surface->pixels ? DD_OK : DDERR_INVALIDPARAMS;
    if (slot->locks == 0) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        const HRESULT result = slot->dd->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        if (result != DD_OK) {
            winLog("display: %s refused: 0x%08lx\n", "a lock", result);
            return result;
        }
        surface->pixels = static_cast<uint8_t*>(desc.lpSurface);
        surface->pitch = static_cast<int32_t>(desc.lPitch);
    }
    slot->locks++;
    return DD_OK;
}

void platSurfaceUnlock(PlatSurface* surface) {
    WinSlot* slot = slotOf(surface);
    if (!slot || !slot->dd || slot->locks == 0) return;
    if (--slot->locks == 0) {
        slot->dd->Unlock(nullptr);
        surface->pixels = nullptr;
    }
}

void platSurfaceRelease(PlatSurface* surface) {
    if (!surface) return;
    if (surface == win.primary) {
        // The back buffer goes with its primary.
        freeSlotOf(win.back);
        win.back = nullptr;
        win.primary = nullptr;
    }
    freeSlotOf(surface);
}

void platSetPalette(const PlatColor palette[256]) {
    std::memcpy(win.colors, palette, sizeof win.colors);
    buildDibColors();
    if (win.path == WIN_PATH_DIRECTDRAW) directDrawSetPalette();
}

namespace {

int32_t winCopy(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top, int32_t right,
                int32_t bottom, bool keyed, bool turned) {
    WinSlot* to = slotOf(dst);
    WinSlot* from = slotOf(src);
    if (!to || !from) return DDERR_INVALIDPARAMS;
    if (dst->lost || src->lost) return DDERR_SURFACELOST;
    // No clipping: a copy that does not lie wholly inside both surfaces is refused.
    if (!copyFits(dst, x, y, src, left, top, right, bottom)) return DDERR_INVALIDPARAMS;
    if (to->dd && from->dd && !turned) {
        if (keyed && from->key != src->colorKey) {
            DDCOLORKEY key = {src->colorKey, src->colorKey};
            const HRESULT result = from->dd->SetColorKey(DDCKEY_SRCBLT, &key);
            if (result != DD_OK) return result;
            from->key = src->colorKey;
        }
        RECT rect{left, top, right, bottom};
        return to->dd->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), from->dd, &rect,
                               keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
    }
    // DirectDraw cannot turn a copy: both surfaces are locked and the copy done here.
    HRESULT result = platSurfaceLock(dst);
    if (result != DD_OK) return result;
    result = platSurfaceLock(src);
    if (result != DD_OK) {
        platSurfaceUnlock(dst);
        return result;
    }
    if (turned) {
        blitPixelsTurned(dst, x, y, src, left, top, right, bottom, keyed);
    } else {
        blitPixels(dst, x, y, src, left, top, right, bottom, keyed);
    }
    platSurfaceUnlock(src);
    platSurfaceUnlock(dst);
    return DD_OK;
}

}  // namespace

int32_t platBltFast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                    int32_t right, int32_t bottom, bool keyed) {
    return winCopy(dst, x, y, src, left, top, right, bottom, keyed, false);
}

int32_t platBltFastTurned(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                          int32_t right, int32_t bottom, bool keyed) {
    return winCopy(dst, x, y, src, left, top, right, bottom, keyed, true);
}

int32_t platBltFastRun(PlatSurface* dst, PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed,
                       int32_t* made) {
    for (int32_t i = 0; i < count; i++) {
        const PlatBlt& b = blts[i];
        const int32_t result = winCopy(dst, b.x, b.y, src, b.left, b.top, b.right, b.bottom, keyed, false);
        if (result != DD_OK) {
            *made = i;
            return result;
        }
    }
    *made = count;
    return DD_OK;
}

int32_t platFlip(PlatSurface* primary) {
    if (!primary || primary != win.primary || !win.back) return DDERR_INVALIDPARAMS;
    WinSlot* slot = slotOf(primary);
    if (primary->lost || win.back->lost) return DDERR_SURFACELOST;
    if (slot->dd) {
        const HRESULT result = slot->dd->Flip(nullptr, 0);
        if (result == DD_OK) paceFrame();
        return result;
    }
    if (!win.window) return DDERR_GENERIC;
    // The visible surface now holds what is shown; WM_PAINT shows it again.
    std::memcpy(primary->pixels, win.back->pixels, static_cast<size_t>(win.back->pitch) * win.back->height);
    paceFrame();
    HDC dc = GetDC(win.window);
    if (!dc) return DDERR_GENERIC;
    gdiPresent(dc);
    ReleaseDC(win.window, dc);
    return DD_OK;
}

void platDisplayClose() {
    winMouseClose();
    for (WinSlot& s : win.slots) {
        if (s.used) freeSlotOf(&s.plat);
    }
    win.primary = win.back = nullptr;
    directDrawClose();
    if (win.window) {
        win.destroying = true;
        DestroyWindow(win.window);
        win.window = nullptr;
        win.destroying = false;
    }
    if (win.icon) DestroyIcon(win.icon);
    win.icon = nullptr;
    if (win.timerPeriodSet) timeEndPeriod(1);
    win.timerPeriodSet = false;
    win.path = WIN_PATH_NONE;
    win.focused = false;
    // What the window's destruction sent is no concern of the game's.
    pumpMessages();
}
