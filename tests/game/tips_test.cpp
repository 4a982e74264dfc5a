#include <gtest/gtest.h>

#include <string>

#include "game/tips.h"

namespace {

// The texts word for word: tip 0 with "to spell a word", the others exactly as
// they always read.
TEST(TipTexts, ReadWordForWord) {
    const char* const expected[TIP_COUNT] = {
        "To play Tarvo Quelms, try to find words within the grid. Click on any letter, hold the button down, and "
        "drag the cursor over other letters to spell a word. You can make words moving horizontally, vertically or "
        "diagonally. The letters do not have to be in a straight line. When your word is complete, release the "
        "button. If the word is valid, you will score points and the letters used will disappear. Any word in the "
        "dictionary with three to fifteen letters is valid. To reset the timer and earn bonus points, complete the "
        "current level objective - in this case, to make five three-letter words.",
        "You have created enough words to enable Drag Mode, which allows you to rearrange the letters in the grid "
        "in order to make better words. To enter Drag Mode, click the START DRAG button.",
        "Click on any letter and drag it horizontally, vertically or diagonally to swap its location with adjacent "
        "letters. You have a limited amount of time to arrange the grid, indicated by the Drag Bar. To preserve your "
        "Drag Bar, or go back to word-making mode, click the STOP DRAG button. You can build up your Drag Bar by "
        "making longer words.",
        "Before every third level, you can Turn The World. If your letter grid is getting clogged up with awkward "
        "letters, just click on it and drag to bring on new letters from around the tarvo-quelm. When you're ready "
        "to advance, hit ENTER GAME.",
        "",
        "",
        "",
        "",
    };
    for (int32_t t = 0; t < TIP_COUNT; t++) {
        EXPECT_EQ(std::string(tipTexts[t]), expected[t]) << "tip " << t;
    }
    EXPECT_EQ(std::string(tipTexts[0]).find("a words"), std::string::npos);
}

}  // namespace
