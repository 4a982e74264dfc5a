#include "game/prompt.h"

#include "game/dragmode.h"
#include "game/gamestate.h"

const char* const promptTexts[PROMPT_COUNT] = {
    "",
    "CLICK AND DRAG TO MAKE WORDS",
    "CLICK AND DRAG TO REARRANGE GRID",
    "CLICK AND DRAG TO TURN THE WORLD",
    "CLICK ANYWHERE TO ENTER LEVEL",
    "TUTORIAL TIP",
    "PRESS ENTER GAME BUTTON TO BEGIN",
};

int32_t promptIndex;
int32_t promptBlink;

int32_t promptChoose() {
    switch (gameState) {
        case STATE_PLAYING: return dragModeOn[0] ? 2 : 1;
        case STATE_TURN_WORLD: return 3;
        case STATE_LEVEL_INTRO: return 4;
        case STATE_TIP: return 5;
        case STATE_GAME_OVER: return 6;
        default: return 0;
    }
}

bool promptStep() {
    const int32_t chosen = promptChoose();
    if (chosen != promptIndex) {
        promptIndex = chosen;
        promptBlink = PROMPT_BLINK_FRAMES;
    }
    if (promptBlink > 0) promptBlink -= 1;
    // A new prompt shows 7 frames in 16 while it blinks, then stays on.
    return promptTexts[promptIndex][0] != '\0' && promptBlink % 16 < 7;
}

void promptClearAll() {
    promptIndex = 0;
    promptBlink = 0;
}
