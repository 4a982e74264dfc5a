// The window procedure: activation, the ways the program ends, and the keys.
// A key press goes through three stages: a running key capture takes it whole;
// otherwise it acts as a player's control, and then as a command key.
#include "flow/winproc.h"

#include "flow/frame.h"
#include "flow/gameend.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/soundkeys.h"
#include "flow/startup.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/level.h"
#include "game/pointer.h"
#include "game/solver.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/savereport.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"

namespace {

bool isKey(uint32_t k, int32_t binding) { return static_cast<int64_t>(k) == binding; }

// A command key, not a binding: one press, one hint on every grid.
constexpr uint32_t WIN_KEY_HINT = 'H';

// Released here, the display can no longer be drawn on; the quit message ends
// the loop before another frame runs.
void winQuit() {
    displayRelease();
    saveReportingFailure(hiScoresSave, HISCORES_FILE);
    saveReportingFailure(prefsSave, PREFS_FILE);
    platPostQuitMessage(0);
}

void winOpenTipKey() {
    // Chosen while still in play: dragStartAvailable holds only there.
    const int32_t tip = dragModeActive() ? 2 : dragStartAvailable() ? 1 : 0;
    previousState = gameState;
    gameState = STATE_TIP;
    tipIndex = tip;
    sndPlay(SOUND_TIP);
}

// In a one-player game both columns of bindings act on player 0.
int32_t winPlayerOf(int32_t column) { return twoPlayer * column; }

// Key column p's cursor keys hold player i's cursor direction.
void winCursorKeys(uint32_t k, int32_t p, int32_t i) {
    if (isKey(k, keyLeft[p])) heldLeft[i] = 1;
    if (isKey(k, keyRight[p])) heldRight[i] = 1;
    if (isKey(k, keyUp[p])) heldUp[i] = 1;
    if (isKey(k, keyDown[p])) heldDown[i] = 1;
}

void winPlayKeys(uint32_t k) {
    // In a one-player game both columns' Drag Mode keys may be the same key:
    // one press still toggles once.
    uint8_t toggled[MAX_PLAYERS] = {};
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        const int32_t i = winPlayerOf(p);
        if (!paused && gameState == STATE_PLAYING) {
            winCursorKeys(k, p, i);
            // Tested in both passes: one press doubles the drain rate twice.
            if (k == VK_X) lifeGauge.drainRate *= 2.0f;
            if (k == VK_T) winOpenTipKey();
            if (k == VK_G) {
                levelAdvance(0);
                gameState = STATE_LEVEL_INTRO;
            }
            if (isKey(k, keyToggleWordRecognition[p]) && !toggled[i]) {
                toggled[i] = 1;
                dragModeToggle(i);
            }
            if (isKey(k, keyDrop[p])) PointerPressOnCursor(i);
        } else if (!paused && gameState == STATE_TURN_WORLD) {
            // Each player's cursor drag turns that player's own world.
            winCursorKeys(k, p, i);
            if (isKey(k, keyDrop[p])) PointerPressOnCursor(i);
        } else if (gameState == STATE_LEVEL_INTRO) {
            if (isKey(k, keyDrop[p])) PointerPress(i);
        }
    }
}

void winCommandKeys(uint32_t k) {
    // The key-definition screen, the innermost, takes its own keys first.
    if (keyDefCommandKey(k)) return;
    if (soundKeyDown(k)) return;
    switch (k) {
        case VK_ESCAPE:
        case VK_F12:
            if (paused) {
                paused = 0;
            } else if (gameState == STATE_GAME_OVER || gameState == STATE_NO_DICTIONARY) {
                winQuit();
            } else {
                // The game-over screen without a banner, but the score is kept.
                gameEnd();
            }
            break;
        case VK_K:
            if (paused) keyDefOpen();
            break;
        case WIN_KEY_HINT:
            if (!paused && gameState == STATE_PLAYING) solverHint();
            break;
        case VK_P:
            if (!keyDefActive) paused = paused ? 0 : 1;
            break;
        case VK_F3:
        case VK_F4:
            // In any state, paused or not: it only turns a picture.
            viewTurned[k == VK_F3 ? 0 : 1] ^= 1;
            break;
        case VK_F1:
        case VK_F2:
            if (gameState == STATE_GAME_OVER) {
                twoPlayer = k == VK_F2 ? 1 : 0;
                gameNew();
            }
            break;
        default:
            break;
    }
}

void winKeyDown(uint32_t k) {
    // A failed save is shown until the player presses the next key.
    keyDefSaveFailed = 0;
    if (keyDefCaptureKey(k)) return;
    winPlayKeys(k);
    winCommandKeys(k);
}

void winKeyUp(uint32_t k) {
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        const int32_t i = winPlayerOf(p);
        // Held flags clear in every state, paused or not: a key let go during a
        // pause must not keep the cursor running afterwards.
        if (isKey(k, keyLeft[p])) heldLeft[i] = 0;
        if (isKey(k, keyRight[p])) heldRight[i] = 0;
        if (isKey(k, keyUp[p])) heldUp[i] = 0;
        if (isKey(k, keyDown[p])) heldDown[i] = 0;
        if (!isKey(k, keyDrop[p])) continue;
        // DROP is the keyboard's mouse button: its release ends its press in any
        // state, as the button's does; in play it always finishes the word.
        if ((!paused && gameState == STATE_PLAYING) || pointerHeld[i]) PointerRelease(i);
    }
}

}  // namespace

void winApplyInput(const InputEvent& event) {
    switch (event.kind) {
        case INPUT_DESTROY:
            // The display is gone for good: quit, but save nothing.
            displayRelease();
            platPostQuitMessage(0);
            break;
        case INPUT_CLOSE:
            // The window's close button is how desktop players quit, and a signal
            // asking the game to end comes here too: a game still on ends first,
            // so its score reaches the table before it is saved.
            gameEnd();
            winQuit();
            break;
        case INPUT_KEY_DOWN:
            winKeyDown(event.key);
            break;
        case INPUT_KEY_UP:
            winKeyUp(event.key);
            break;
        default:
            break;
    }
}

int32_t gameWindowProc(uint32_t message, uint32_t wParam, int32_t lParam) {
    (void)lParam;
    uint8_t kind = 0;
    switch (message) {
        case WM_SETCURSOR:
            // The game draws its own pointer; the system one is never shown.
            return 1;
        case WM_ACTIVATEAPP:
            appActive = static_cast<int32_t>(wParam);
            return 0;
        case WM_DESTROY: kind = INPUT_DESTROY; break;
        case WM_CLOSE: kind = INPUT_CLOSE; break;
        case WM_KEYDOWN: kind = INPUT_KEY_DOWN; break;
        case WM_KEYUP: kind = INPUT_KEY_UP; break;
        default: return 0;
    }
    // What the game does between frames is the record's, so a replay of the
    // record does it again; a message that does not fit is not acted on.
    const uint32_t key = kind == INPUT_KEY_DOWN || kind == INPUT_KEY_UP ? wParam : 0;
    if (frameInputAdd(kind, key)) winApplyInput(InputEvent{kind, static_cast<uint8_t>(key)});
    // Nothing in the port layer needs the system's default handling.
    return 0;
}
