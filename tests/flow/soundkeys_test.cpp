// The sound keys: M at any time, minus and plus while paused, and the notice
// that stands in for the status prompt or the pause line for a second.
#include "flow/soundkeys.h"

#include <cstring>
#include <string>
#include <vector>

#include "flow/layout.h"
#include "sound/sound.h"
#include "tests/flow/flowfixture.h"
#include "tests/video/drawrecord.h"

namespace {

class SoundKeys : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        sndApply(SoundSettings{false, 80});
        appActive = 1;
        headlessSetTicksPerFlip(17);
        // As start-up leaves it: keys between frames read the last frame's time.
        frameInput.time = platGetTickCount();
    }

    // The small-font text centred on x at y, as the frame last drew it.
    static bool drawnCentred(const char* text, int32_t x, int32_t y) {
        std::vector<DrawCopy> keyed;
        for (int32_t i = 0; i < headless.copyCount && i < HEADLESS_MAX_COPIES; i++) {
            const HeadlessCopy& c = headless.copies[i];
            if (c.keyed) keyed.push_back(DrawCopy{c.x, c.y, c.left, c.top, c.right, c.bottom});
        }
        const int32_t left = x - static_cast<int32_t>(std::strlen(text)) * 4;
        return drawHasSmallText(keyed, text, left, y);
    }
    // A frame drawn from a clean record of copies.
    static void frame() {
        headlessClearCopies();
        gameRunFrame();
    }
};

TEST_F(SoundKeys, MMutesAtAnyTimeAndMinusAndPlusStepTheVolumeOnlyWhilePaused) {
    struct Case {
        const char* what;
        SoundSettings before;
        uint8_t paused;
        uint32_t key;
        SoundSettings after;
        const char* notice;  // null: none
    };
    const Case cases[] = {
        {"M in play", {false, 80}, 0, VK_M, {true, 80}, "SOUND OFF"},
        {"M again", {true, 80}, 0, VK_M, {false, 80}, "SOUND ON - VOLUME 80/100"},
        {"M while paused", {false, 50}, 1, VK_M, {true, 50}, "SOUND OFF"},
        {"minus", {false, 80}, 1, VK_OEM_MINUS, {false, 70}, "VOLUME 70/100"},
        {"keypad minus", {false, 80}, 1, VK_SUBTRACT, {false, 70}, "VOLUME 70/100"},
        {"plus", {false, 80}, 1, VK_OEM_PLUS, {false, 90}, "VOLUME 90/100"},
        {"keypad plus at the top", {false, 100}, 1, VK_ADD, {false, 100}, "VOLUME 100/100"},
        {"minus at the bottom", {false, 0}, 1, VK_OEM_MINUS, {false, 0}, "VOLUME 0/100"},
        {"plus from between the steps", {false, 75}, 1, VK_OEM_PLUS, {false, 80}, "VOLUME 80/100"},
        {"minus from between the steps", {false, 75}, 1, VK_OEM_MINUS, {false, 70}, "VOLUME 70/100"},
        {"minus while muted", {true, 80}, 1, VK_OEM_MINUS, {true, 70}, "VOLUME 70/100 - SOUND IS OFF (M)"},
        {"minus in play", {false, 80}, 0, VK_OEM_MINUS, {false, 80}, nullptr},
        {"keypad plus in play", {false, 80}, 0, VK_ADD, {false, 80}, nullptr},
    };
    for (const Case& c : cases) {
        startPlay();
        soundNoticeClear();
        sndApply(c.before);
        paused = c.paused;
        keyDown(c.key);
        EXPECT_EQ(soundState.settings.muted, c.after.muted) << c.what;
        EXPECT_EQ(soundState.settings.volume, c.after.volume) << c.what;
        const char* notice = soundNoticeText(frameInput.time);
        EXPECT_STREQ(notice != nullptr ? notice : "(none)", c.notice != nullptr ? c.notice : "(none)") << c.what;
    }
}

TEST_F(SoundKeys, TheTipKeyOpensItsTipWithTheTipsSound) {
    startPlay();
    sndFrameStart();
    keyDown(VK_T);
    ASSERT_EQ(gameState, STATE_TIP);
    ASSERT_EQ(soundLog.count, 1);
    EXPECT_EQ(soundLog.events[0].sound, SOUND_TIP);
}

TEST_F(SoundKeys, KeypadPlusInPlayStaysPlayerTwosDragModeKey) {
    twoPlayer = 1;
    startPlay();
    dragGauge.level = dragGauge.fullLevel;
    keyDown(VK_ADD);
    EXPECT_EQ(dragModeOn[1], 1);
    EXPECT_EQ(soundNoticeText(frameInput.time), nullptr);
}

TEST_F(SoundKeys, TheNoticeStandsInForThePromptForASecond) {
    startPlay();
    const LayoutText& at = layoutNow().prompt;
    frame();
    keyDown(VK_M);
    const uint32_t pressed = frameInput.time;
    frame();
    EXPECT_TRUE(drawnCentred("SOUND OFF", at.x, at.y));
    while (frameInput.time - pressed < SOUND_NOTICE_MS - 17) frame();
    EXPECT_TRUE(drawnCentred("SOUND OFF", at.x, at.y)) << "still there just before the second is up";
    frame();
    frame();
    EXPECT_FALSE(drawnCentred("SOUND OFF", at.x, at.y)) << "gone once it is";
}

TEST_F(SoundKeys, WhilePausedTheNoticeTakesThePauseLinesPlaceAndShakesLikeIt) {
    struct Case {
        const char* what;
        int32_t state;
    };
    const Case cases[] = {
        {"in play", STATE_PLAYING},
        {"on the tip", STATE_TIP},
        {"at game over, which has no pause line", STATE_GAME_OVER},
        {"turning the world, which has no pause line", STATE_TURN_WORLD},
    };
    for (const Case& c : cases) {
        startPlay();
        soundNoticeClear();
        gameState = c.state;
        paused = 1;
        keyDown(VK_OEM_MINUS);
        frame();
        bool shown = false;
        for (int32_t dx = -1; dx <= 1; dx++)
            for (int32_t dy = -1; dy <= 1; dy++) shown = shown || drawnCentred("VOLUME 70/100", 320 + dx, 230 + dy);
        EXPECT_TRUE(shown) << c.what;
        EXPECT_FALSE(drawnCentred("PAUSED - PRESS P TO UNPAUSE", 320, 230)) << c.what;
        sndApply(SoundSettings{false, 80});
    }
}

}  // namespace
