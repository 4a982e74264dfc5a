// One displayed frame. The window procedure never runs during it, so the state
// it reads stays put from the first step to the flip.
#include "flow/frame.h"

#include "flow/gameend.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/layout.h"
#include "flow/screens.h"
#include "flow/soundkeys.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/solver.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/sheetlayout.h"
#include "video/text.h"

void StatusPrompt() {
    const LayoutText& at = layoutNow().prompt;
    // The prompt keeps its own timing while a sound notice stands in for it.
    const bool prompt = promptStep();
    if (const char* notice = soundNoticeText(frameInput.time)) {
        txtDrawSmallString(notice, at.x, at.y, at.align);
    } else if (prompt) {
        txtDrawSmallString(promptTexts[promptIndex], at.x, at.y, at.align);
    }
}

namespace {

int32_t framePlayers() { return twoPlayer ? 2 : 1; }

int32_t frameBlit(int32_t x, int32_t y, const SheetRect& r, bool keyed) {
    return vidFrameBlit(x, y, r.left, r.top, r.right, r.bottom, keyed);
}

// Non-zero when a copy failed: the frame is then abandoned, flip included.
int32_t frameBackground() {
    if (paused) {
        for (int32_t x = 0; x < VID_SCREEN_WIDTH; x += SHEET_PAUSE_TILE_SIZE) {
            for (int32_t y = 0; y < VID_SCREEN_HEIGHT; y += SHEET_PAUSE_TILE_SIZE) {
                if (int32_t result = frameBlit(x, y, SHEET_PAUSE_TILE, false)) return result;
            }
        }
        return 0;
    }
    playFrameCounter++;
    return frameBlit(0, 0, twoPlayer ? SHEET_BACKGROUND_TWO_PLAYER : SHEET_BACKGROUND_ONE_PLAYER, false);
}

void frameGaugeEmptied(int32_t i) {
    gaugeTable[i].drainTicks = 0;
    if (i == GAUGE_LIFE) {
        ShowBanner(gameEnd() ? BANNER_GAME_OVER_HIGH_SCORE : BANNER_GAME_OVER);
    } else {
        gaugeStop(gaugeTable[i]);
        if (i == GAUGE_DRAG) dragBarEmptied();
    }
}

void framePlayStep() {
    for (int32_t i = 0; i < GAUGE_COUNT; i++) {
        Gauge& g = gaugeTable[i];
        gaugeTick(g);
        // The other gauges still tick and the rest of the step still runs.
        if (g.running && gaugeIsEmpty(g)) frameGaugeEmptied(i);
    }
    if (gameState == STATE_PLAYING) gaugeWarnLowLife(frameInput.time);
    for (int32_t p = 0; p < framePlayers(); p++) {
        if (frameCursorKeys(p)) PointerCursorMoved(p);
        FallStep(p);
    }
}

void frameTurnWorldStep() {
    // The phase's timer runs on while paused; the cursors stand still.
    for (int32_t p = 0; p < framePlayers(); p++) {
        if (!paused && frameCursorKeys(p)) PointerCursorMoved(p);
        FallStep(p);
    }
    gaugeTick(lifeGauge);
    if (gaugeIsEmpty(lifeGauge)) {
        gameState = STATE_PLAYING;
        playFrameCounter = 0;
        gaugesLevelStart();
    }
}

void frameStateStep() {
    switch (gameState) {
        case STATE_PLAYING:
            if (paused) {
                scrDrawPauseLine();
            } else {
                framePlayStep();
            }
            break;
        case STATE_TURN_WORLD:
            frameTurnWorldStep();
            // No pause line here, but a sound notice still shows.
            if (paused) scrDrawSoundNotice();
            break;
        case STATE_GAME_OVER:
            if (!paused) {
                scrDrawGameOverText();
            } else {
                scrDrawSoundNotice();
            }
            break;
        default:
            if (paused) scrDrawPauseLine();
            break;
    }
}

void frameBanner() {
    if (bannerIndex == BANNER_NONE) return;
    scrDrawBanner();
    bannerFrames--;
    if (bannerFrames < 1) bannerIndex = BANNER_NONE;
}

void frameMouseButton(const PlayerInput& mouse) {
    if (mouse.button != 0) {
        mouseButtonHeld = 1;
        PointerPress(0);
        return;
    }
    // Only a press made with the mouse ends when the button is up; a DROP key's
    // press lasts until that key is released.
    if (!mouseButtonHeld) return;
    mouseButtonHeld = 0;
    if (pointerHeld[0]) PointerRelease(0);
}

// Fills player 0's part of the record from the mouse; false when there is no
// mouse to read.
bool frameReadMouse() {
    if (gMouseDevice == nullptr) return false;
    PlatMouseState mouse;
    if (vidReadMouse(&mouse) < 0) mouse = PlatMouseState{};  // unreadable: no motion, button up
    PlayerInput& in = frameInput.players[0];
    in.moveX = mouse.x;
    in.moveY = mouse.y;
    in.button = mouse.buttons[0] != 0 ? 1 : 0;
    frameInput.flags |= INPUT_POINTER_READ;
    return true;
}

// Non-zero when drawing the pointer failed.
int32_t framePointer(bool live) {
    if (live ? !frameReadMouse() : (frameInput.flags & INPUT_POINTER_READ) == 0) return 0;
    const PlayerInput& mouse = frameInput.players[0];
    framePointerMove(mouse);
    if (frameHoverTest()) PointerCellChanged(0);
    frameMouseButton(mouse);
    if (gMouseDevice == nullptr) return 0;
    return frameBlit(static_cast<int32_t>(pointerX) - SHEET_POINTER_HOT_X, static_cast<int32_t>(pointerY), SHEET_POINTER,
                     true);
}

// A live frame learns from the display whether its background was drawn and
// whether a mouse was read; a recorded one repeats what the record says, so a
// display that fails differently cannot change the game's course.
void frameRun(bool live) {
    frameCounter++;
    sndFrameStart();
    const bool drawn = frameBackground() == 0;
    if (live ? !drawn : (frameInput.flags & INPUT_FRAME_DRAWN) == 0) return;
    frameInput.flags |= INPUT_FRAME_DRAWN;
    if (!paused) StatusPrompt();
    frameStateStep();
    for (int32_t p = 0; p < framePlayers(); p++) {
        VanishStep(p);
        NotWordStep(p, frameInput.time);
        solverHintStep(p, frameInput.time);
    }
    blinkPhase = blinkPhase ? 0 : 1;
    if (!paused) {
        scrDrawPlayScreen();
    } else if (keyDefActive) {
        keyDefScreenDraw();
    } else {
        scrDrawPauseScreen();
    }
    frameBanner();
    if (framePointer(live) != 0) return;
    vidFlip();
}

}  // namespace

void (*frameRecordHook)(const FrameInput& record);

void gameRunFrame() {
    frameInput.time = platGetTickCount();
    frameInput.flags = INPUT_FRAME_RAN;
    frameRun(true);
    frameInputConsumed();
}

void frameRunRecorded() { frameRun(false); }

void frameInputConsumed() {
    if (frameRecordHook != nullptr) frameRecordHook(frameInput);
    frameInput.eventCount = 0;
    frameInput.flags = 0;
}

bool frameInputAdd(uint8_t kind, uint32_t key) {
    // The last two places are kept for the messages that end the program.
    const bool ends = kind == INPUT_CLOSE || kind == INPUT_DESTROY;
    if (frameInput.eventCount >= INPUT_MAX_EVENTS - (ends ? 0 : 2) || key > UINT8_MAX) return false;
    frameInput.events[frameInput.eventCount++] = InputEvent{kind, static_cast<uint8_t>(key)};
    return true;
}
