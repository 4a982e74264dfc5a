// The port layer: the few operating-system, display and input services the game
// relies on. The game was shaped around Win32 messages, DirectDraw surfaces and a
// DirectInput mouse, so the services keep their message numbers, key codes and
// result codes; two backends implement them: platform/sdl for the real game and
// platform/headless for tests. Game code includes only this header.
#pragma once

#include <cstdint>
#include <cstdio>

// ---- Window messages (Win32 numbers) -------------------------------------
// WM_CLOSE comes from the window's close button and from a request to end the
// program (SIGINT, SIGTERM, SIGHUP), also while the game waits inactive.

enum : uint32_t {
    WM_DESTROY = 0x0002,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ACTIVATEAPP = 0x001C,
    WM_SETCURSOR = 0x0020,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
};

// ---- Virtual-key codes (Windows numbers) -----------------------------------
// The one list of them: the backends produce these codes and the game reads
// them. Letters and digits are their upper-case ASCII codes.
enum : uint32_t {
    VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
    VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35,
    VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_SELECT = 41, VK_EXECUTE = 43,
    VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_HELP = 47, VK_LWIN = 91, VK_RWIN = 92, VK_APPS = 93,
    VK_SLEEP = 95, VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109,
    VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_F2 = 113, VK_F3 = 114, VK_F4 = 115, VK_F12 = 123, VK_F13 = 124, VK_NUMLOCK = 144, VK_SCROLL = 145,
    VK_VOLUME_MUTE = 173, VK_VOLUME_DOWN = 174, VK_VOLUME_UP = 175, VK_MEDIA_NEXT_TRACK = 176,
    VK_MEDIA_PREV_TRACK = 177, VK_MEDIA_STOP = 178, VK_MEDIA_PLAY_PAUSE = 179,
    // The letters the command keys use.
    VK_G = 'G', VK_K = 'K', VK_L = 'L', VK_M = 'M', VK_P = 'P', VK_S = 'S', VK_T = 'T', VK_X = 'X',
    // Punctuation as a United Kingdom layout names it.
    VK_OEM_1 = 186,       // ; :
    VK_OEM_PLUS = 187,    // = +
    VK_OEM_COMMA = 188,   // , <
    VK_OEM_MINUS = 189,   // - _
    VK_OEM_PERIOD = 190,  // . >
    VK_OEM_2 = 191,       // / ?
    VK_OEM_3 = 192,       // ' @
    VK_OEM_4 = 219,       // [ {
    VK_OEM_5 = 220,       // \ | beside the left Shift
    VK_OEM_6 = 221,       // ] }
    VK_OEM_7 = 222,       // # ~ beside Enter
    VK_OEM_8 = 223,       // ` ¬ left of 1
};

struct PlatMsg {
    uint32_t message;
    uint32_t wParam;  // key messages: the Windows virtual-key code
    int32_t lParam;
};

using PlatWindowProc = int32_t (*)(uint32_t message, uint32_t wParam, int32_t lParam);

// The procedure that platDispatchMessage hands every message to.
void platSetWindowProc(PlatWindowProc proc);
// True when a message waits; nothing is removed.
bool platPeekMessage(PlatMsg* msg);
// Takes the next message, waiting for one; returns 0 for WM_QUIT, else 1.
int platGetMessage(PlatMsg* msg);
void platTranslateMessage(const PlatMsg* msg);
int32_t platDispatchMessage(const PlatMsg* msg);
// Sleeps until a message waits.
void platWaitMessage();
void platPostQuitMessage(int32_t exitCode);
// Puts a message on the queue (used for messages the game sends itself).
void platPostMessage(uint32_t message, uint32_t wParam, int32_t lParam);

// ---- Kernel services ------------------------------------------------------

// Milliseconds since some start; unsigned, it wraps after 49.7 days.
uint32_t platGetTickCount();
// A modal box with an OK button.
void platMessageBox(const char* text, const char* caption);
void platDebugOutput(const char* text);
// Stops in the debugger when one is attached; otherwise does nothing.
void platDebugBreak();
// The folder holding the running program, without a trailing '/'; false when
// it cannot be told.
bool platExecutableFolder(char* out, int32_t size);

// ---- Files and folders -----------------------------------------------------
// Names are UTF-8 and '/' separates folders on every system (Windows takes it
// too); the backends convert at the system's boundary, so a name in any
// language works. A call that fails leaves errno telling why.

// Size in bytes of the named file, or -1 when it cannot be found.
int64_t platFileSize(const char* name);
// std::fopen for a UTF-8 name.
FILE* platFileOpen(const char* name, const char* mode);
// Writes `length` bytes as the whole new content of the file `name` so that a
// crash or power cut during the save leaves either the old file or the new
// one whole: a temporary file beside it, flushed to disk, then moved over the
// old one. False, with the old file untouched, when any step fails.
bool platFileSave(const char* name, const char* bytes, int32_t length);
// Renames a file, replacing one of the new name.
bool platFileRename(const char* from, const char* to);

enum PlatPathKind { PLAT_PATH_NONE, PLAT_PATH_FILE, PLAT_PATH_FOLDER, PLAT_PATH_OTHER };
PlatPathKind platPathKind(const char* path);
// Makes the folder and every missing one above it, each for the user alone
// where the system has owners' rights (saved games are the player's own);
// true when it is there already.
bool platFolderMake(const char* path);
// True when files can be made in the folder.
bool platFolderWritable(const char* path);
// True when both names reach the same folder.
bool platSameFolder(const char* a, const char* b);
// The system's place for this user's saved games (not made here):
// $XDG_DATA_HOME/tarvoquelms or ~/.local/share/tarvoquelms on Linux,
// %APPDATA%/Tarvo Quelms on Windows. False when the system cannot tell;
// *why then says what is missing.
bool platUserSaveFolder(char* out, int32_t size, const char** why);
// Makes a new empty folder for this run alone in the system's temporary
// folder; false when none can be made.
bool platScratchFolderMake(char* out, int32_t size);
// Removes the folder and everything in it, as far as it can.
void platFolderRemoveAll(const char* path);
// The environment variable's value, UTF-8; false when it is unset or does
// not fit.
bool platGetEnv(const char* name, char* out, int32_t size);

// ---- Display (DirectDraw result codes) -------------------------------------

constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017C);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2);
constexpr int32_t DDERR_WASSTILLDRAWING = static_cast<int32_t>(0x8876021C);
constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005);
constexpr int32_t DDERR_INVALIDPARAMS = static_cast<int32_t>(0x80070057);
constexpr int32_t DDERR_NODIRECTDRAWHW = static_cast<int32_t>(0x88760233);
constexpr int32_t E_FAIL = static_cast<int32_t>(0x80004005);

constexpr int PLAT_SCREEN_WIDTH = 640;
constexpr int PLAT_SCREEN_HEIGHT = 480;

// An 8-bit surface of palette indices.
struct PlatSurface {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;
    uint8_t colorKey;  // keyed copies leave out source pixels of this index
    bool lost;         // contents gone until restored
};

struct PlatColor {
    uint8_t r, g, b;
};

// How the 640 x 480 picture is shown: full screen, or in a window `scale`
// times its size (0: the largest whole scale that fits the desktop). Set
// before platDisplayOpen; the player may change it while the game runs
// (Alt+Enter, resizing the window), and platGetDisplayMode tells the mode as
// it stands, also after the display is closed.
struct PlatDisplayMode {
    bool fullscreen;
    int32_t scale;
};
constexpr int32_t PLAT_MAX_SCALE = 8;
void platSetDisplayMode(const PlatDisplayMode* mode);
void platGetDisplayMode(PlatDisplayMode* mode);
// The window's icon: `size` x `size` pixels of straight RGBA, top row first.
void platSetWindowIcon(const uint8_t* rgba, int32_t size);

// Opens the window titled `title` and the display behind it; DD_OK or a failure
// code. platDisplayError() then tells why in words.
int32_t platDisplayOpen(const char* title);
const char* platDisplayError();
// The visible surface with one back buffer of the screen's size.
int32_t platCreatePrimary(bool videoMemory, PlatSurface** primary);
int32_t platGetBackBuffer(PlatSurface* primary, PlatSurface** back);
// An off-screen surface; its pixels start at index 0.
int32_t platCreateSurface(int32_t width, int32_t height, PlatSurface** surface);
int32_t platSurfaceRestore(PlatSurface* surface);
// A surface's pixels may be read or written only between these two: a display
// surface's memory can move or vanish while it is not locked (DirectDraw's).
// Lock sets `pixels` and `pitch`; DD_OK or the display's failure code. On
// surfaces kept in the program's own memory the pair changes nothing.
int32_t platSurfaceLock(PlatSurface* surface);
void platSurfaceUnlock(PlatSurface* surface);
void platSurfaceRelease(PlatSurface* surface);
// Sets the 256-entry palette the primary surface is shown with.
void platSetPalette(const PlatColor palette[256]);
// Copies the source rectangle [left, right) x [top, bottom) to (x, y) on dst. No
// clipping: callers keep every copy inside both surfaces.
int32_t platBltFast(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                    int32_t right, int32_t bottom, bool keyed);
// platBltFast with the rectangle turned half a turn (upside down) in place,
// for a view seen from the other side of the table.
int32_t platBltFastTurned(PlatSurface* dst, int32_t x, int32_t y, PlatSurface* src, int32_t left, int32_t top,
                          int32_t right, int32_t bottom, bool keyed);
// One copy of a run: the source rectangle [left, right) x [top, bottom) to (x, y).
struct PlatBlt {
    int32_t x, y, left, top, right, bottom;
};
// platBltFast for each of `count` copies in turn, all from src to dst, all
// keyed or all not: a string's glyphs in one call rather than one call each.
// Stops at the first copy that fails and returns its result, *made telling
// how many were made before it; DD_OK with *made = count when all were.
int32_t platBltFastRun(PlatSurface* dst, PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed,
                       int32_t* made);
// Shows the back buffer; paced to 60 frames a second by the backend.
int32_t platFlip(PlatSurface* primary);
// Releases the display and closes the window.
void platDisplayClose();

// ---- Audio ------------------------------------------------------------------

// Fills `frames` frames of interleaved stereo 16-bit samples. It runs on the
// device's own thread, so it must neither block nor allocate.
using PlatAudioCallback = void (*)(int16_t* out, int32_t frames, void* user);

struct PlatAudioFormat {
    int32_t rate;          // frames a second
    int32_t bufferFrames;  // frames the callback is asked for at a time
};

// Opens the default audio device for stereo 16-bit samples, asking for
// `want`, and tells in `got` what it gives. The callback starts at once. False
// when there is no device to play on; platAudioError() then tells why.
bool platAudioOpen(const PlatAudioFormat* want, PlatAudioCallback callback, void* user, PlatAudioFormat* got);
const char* platAudioError();
// Stops the callback and closes the device; nothing when none is open.
void platAudioClose();

// ---- Mouse (DirectInput result codes) ---------------------------------------

constexpr int32_t DI_OK = 0;
constexpr int32_t DIERR_INPUTLOST = static_cast<int32_t>(0x8007001E);
constexpr int32_t DIERR_NOTACQUIRED = static_cast<int32_t>(0x8007000C);
constexpr int32_t DIERR_GENERIC = static_cast<int32_t>(0x80004005);

// The 16-byte mouse record: motion since the last read in device units, then
// four button bytes, non-zero while pressed.
struct PlatMouseState {
    int32_t x, y, z;
    uint8_t buttons[4];
};
static_assert(sizeof(PlatMouseState) == 16);

int32_t platMouseOpen();
int32_t platMouseRead(PlatMouseState* state);
int32_t platMouseAcquire();
