// Play allocates nothing on the general heap: ten thousand frames of word
// making, Drag Mode, turning the world, tips and hints, with the allocator
// counted and the sound playing.
#include <filesystem>

#include "Core/cmpath.h"
#include "flow/flowfixture.h"
#include "game/solver.h"
#include "heapcount.h"
#include "sound/mixer.h"
#include "sound/sound.h"

namespace {

uint32_t inputState = 7;
int32_t inputBelow(int32_t n) {
    inputState = inputState * 1103515245u + 12345u;
    return static_cast<int32_t>((inputState >> 8) % static_cast<uint32_t>(n));
}

}  // namespace

class AllocationFree : public FlowTest {
protected:
    // Frames of pointer work over the grid: presses, drags across cells, releases.
    void frames(int32_t count) {
        bool button = false;
        for (int32_t i = 0; i < count; i++) {
            if (inputBelow(12) == 0) button = !button;
            float x = cellX(inputBelow(GRID_SIZE));
            float y = cellY(inputBelow(GRID_SIZE));
            if (inputBelow(3) == 0) frameWithMouseAt(x, y, button);
            else frameWithButton(button);
            if (inputBelow(40) == 0) keyDown(65 + static_cast<uint32_t>(inputBelow(4)));
            if (inputBelow(40) == 0) keyUp(65 + static_cast<uint32_t>(inputBelow(4)));
            // What the device's thread mixes in a frame's time.
            static int16_t audio[2 * 800];
            headlessAudioPull(audio, 800);
        }
        frameWithButton(false);
    }
    void pressAt(float x, float y) {
        frameWithMouseAt(x, y, true);
        frameWithButton(false);
    }
    // CONTINUE on an open tip; a banner over it takes a few presses to clear.
    void closeTip() {
        for (int32_t i = 0; i < 20 && gameState == STATE_TIP; i++) pressAt(200, 320);
    }
};

TEST_F(AllocationFree, TenThousandFramesOfPlayDragTurningAndTipsAllocateNothing) {
    if (!heapCountsAllocations()) GTEST_SKIP() << "the sanitizers' allocator is not counted";
    std::filesystem::copy_file(TQ_GAME_DIR "/worddiction.txt", "worddiction.txt");
    ASSERT_TRUE(dictLoad());
    dictIndexBuild();
    gridTotalLetterWeights();
    headlessSetTicksPerFlip(16);
    cmPathSetFolder(CM_PATH_DATA, TQ_GAME_DIR);
    sndOpen(false);
    cmPathReset();
    ASSERT_TRUE(soundState.deviceOpen);
    gameNew();

    // The test's own checks allocate: they are noted now and asserted at the end.
    heapCountingOn(true);
    // The first tip, then into the level.
    closeTip();
    pressAt(300, 100);
    const bool playing = gameState == STATE_PLAYING;
    frames(2500);

    // Drag Mode: a full bar, START DRAG, letters carried about, STOP DRAG.
    gameState = STATE_PLAYING;
    dragGauge.level = dragGauge.fullLevel;
    pressAt(90, 70);
    closeTip();  // the Drag Mode tip, if it opened
    pressAt(90, 70);
    const bool dragging = dragModeOn[0] != 0;
    frames(2500);
    pressAt(90, 140);

    // Turning the world: levels skipped with G until the next level turns it.
    while (levelNumber % 3 != 2) {
        gameState = STATE_PLAYING;
        keyDown(71);
    }
    pressAt(300, 100);
    closeTip();  // the Turn The World tip
    const bool turning = gameState == STATE_TURN_WORLD;
    frames(2500);

    // Tips opened with T and closed with both buttons.
    for (int32_t i = 0; i < 250; i++) {
        gameState = STATE_PLAYING;
        keyDown(84);
        frames(3);
        pressAt(i % 2 ? 200.0f : 340.0f, 320);
        frames(2);
    }

    // Hints asked with H, each once the last has gone out.
    bool hinted = false;
    for (int32_t i = 0; i < 20; i++) {
        gameState = STATE_PLAYING;
        keyDown(72);
        hinted = hinted || solverHintCells[0] != 0;
        frames(130);
    }
    heapCountingOn(false);
    EXPECT_TRUE(playing);
    EXPECT_TRUE(dragging);
    EXPECT_TRUE(turning);
    EXPECT_GT(mixer.startCount, 100u) << "sounds played";
    EXPECT_TRUE(hinted);
    EXPECT_EQ(heapAllocations(), 0);
    sndReset();
}
