#include "game/tips.h"

#include <cstring>

#include "game/gamestate.h"
#include "sound/sound.h"

const char* const tipTexts[TIP_COUNT] = {
    "To play Tarvo Quelms, try to find words within the grid. Click on any letter, hold the button down, and drag "
    "the cursor over other letters to spell a word. You can make words moving horizontally, vertically or "
    "diagonally. The letters do not have to be in a straight line. When your word is complete, release the button. "
    "If the word is valid, you will score points and the letters used will disappear. Any word in the dictionary "
    "with three to fifteen letters is valid. To reset the timer and earn bonus points, complete the current level "
    "objective - in this case, to make five three-letter words.",
    "You have created enough words to enable Drag Mode, which allows you to rearrange the letters in the grid in "
    "order to make better words. To enter Drag Mode, click the START DRAG button.",
    "Click on any letter and drag it horizontally, vertically or diagonally to swap its location with adjacent "
    "letters. You have a limited amount of time to arrange the grid, indicated by the Drag Bar. To preserve your "
    "Drag Bar, or go back to word-making mode, click the STOP DRAG button. You can build up your Drag Bar by "
    "making longer words.",
    "Before every third level, you can Turn The World. If your letter grid is getting clogged up with awkward "
    "letters, just click on it and drag to bring on new letters from around the tarvo-quelm. When you're ready to "
    "advance, hit ENTER GAME.",
    "",
    "",
    "",
    "",
};

uint8_t tipShown[TIP_COUNT];
uint8_t tipDoNotShow[TIP_COUNT];

bool tipShowIfAllowed(int32_t t) {
    if (t < 0 || t >= TIP_COUNT) return false;
    if (tipShown[t] || tipDoNotShow[t]) return false;
    // A tip offered over an open tip must not make the open one its way back.
    if (gameState != STATE_TIP) previousState = gameState;
    gameState = STATE_TIP;
    tipIndex = t;
    tipShown[t] = 1;
    sndPlay(SOUND_TIP);
    return true;
}

void tipsClear() {
    memset(tipShown, 0, sizeof tipShown);
    memset(tipDoNotShow, 0, sizeof tipDoNotShow);
}
