#include "game/gamestate.h"

int32_t gameState = STATE_PLAYING;
int32_t previousState = STATE_PLAYING;
int32_t tipIndex;
uint8_t paused;
int32_t twoPlayer;
uint32_t frameCounter;
uint32_t playFrameCounter;
uint8_t blinkPhase;
uint8_t viewTurned[MAX_PLAYERS];

int32_t cursorX[MAX_PLAYERS];
int32_t cursorY[MAX_PLAYERS];
uint8_t heldLeft[MAX_PLAYERS];
uint8_t heldRight[MAX_PLAYERS];
uint8_t heldUp[MAX_PLAYERS];
uint8_t heldDown[MAX_PLAYERS];
uint32_t lastMoveTime[MAX_PLAYERS];

float pointerX = 10.0f;
float pointerY = 10.0f;
uint8_t mouseButtonHeld;
int32_t mouseCellX = -1;
int32_t mouseCellY = -1;
namespace {
// One start for the program and for every reset: player 1's keyboard cursor
// always stands on a grid cell.
constexpr FrameInput FRAME_INPUT_START = {0, 0, 0, {}, {{0, 0, 0, HOVER_NONE}, {0, 0, 0, HOVER_GRID}}};
}  // namespace

FrameInput frameInput = FRAME_INPUT_START;

void gameStateReset() {
    gameState = STATE_PLAYING;
    previousState = STATE_PLAYING;
    tipIndex = 0;
    paused = 0;
    twoPlayer = 0;
    frameCounter = 0;
    playFrameCounter = 0;
    blinkPhase = 0;
    for (int p = 0; p < MAX_PLAYERS; p++) {
        cursorX[p] = cursorY[p] = 0;
        heldLeft[p] = heldRight[p] = heldUp[p] = heldDown[p] = 0;
        lastMoveTime[p] = 0;
        viewTurned[p] = 0;
    }
    pointerX = pointerY = 10.0f;
    frameInput = FRAME_INPUT_START;
    mouseButtonHeld = 0;
    mouseCellX = mouseCellY = -1;
}
