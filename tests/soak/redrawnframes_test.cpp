// The backend draws a frame again only where its copies changed. Random play
// over the shipped sheet checks that every frame still comes out as drawing
// each of its copies in turn would draw it.
#include <filesystem>

#include "flow/flowfixture.h"
#include "platform/blit.h"
#include "video/sheet.h"

namespace {

uint64_t inputState;
uint32_t inputBelow(uint32_t n) {
    inputState = inputState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(inputState >> 33) % n;
}

// Keys that change the picture: pause, tips, hints, the views turned for the
// other side of the table, Drag Mode and the first player's moves.
constexpr uint32_t pictureKeys[] = {VK_P, VK_T, 72, VK_F3, VK_F4, VK_SPACE, 65, 68, 87, 83, 9, VK_RETURN};

uint8_t plainPixels[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT];

}  // namespace

class RedrawnFrames : public FlowTest {};

TEST_F(RedrawnFrames, RandomPlayLooksAsDrawingEveryCopyWould) {
    std::filesystem::copy_file(TQ_GAME_DIR "/worddiction.txt", "worddiction.txt");
    ASSERT_TRUE(dictLoad());
    dictIndexBuild();
    gridTotalLetterWeights();
    ASSERT_EQ(vidReloadBitmap(gSheetSurface, TQ_GAME_DIR "/ALL"), DD_OK);
    headless.realCopies = true;
    headlessSetTicksPerFlip(16);
    frameInput.time = platGetTickCount();
    for (uint8_t& shown : tipShown) shown = 1;
    twoPlayer = 1;
    gameNew();
    inputState = 7;

    // The plain picture starts as the back buffer does; both are read without
    // a lock, which would have the next frame drawn whole.
    PlatSurface plain{plainPixels, PLAT_SCREEN_WIDTH, PLAT_SCREEN_HEIGHT, PLAT_SCREEN_WIDTH, 0, false};
    const PlatSurface* back = gBackSurface;
    for (int32_t y = 0; y < PLAT_SCREEN_HEIGHT; y++) {
        std::memcpy(plainPixels + y * PLAT_SCREEN_WIDTH, back->pixels + y * back->pitch, PLAT_SCREEN_WIDTH);
    }
    bool button = false;
    int32_t partial = 0, turned = 0;
    constexpr int32_t FRAMES = 3000;
    for (int32_t frame = 1; frame <= FRAMES; frame++) {
        if (inputBelow(8) == 0) {
            const uint32_t key = pictureKeys[inputBelow(std::size(pictureKeys))];
            gameWindowProc(WM_KEYDOWN, key, 0);
            gameWindowProc(WM_KEYUP, key, 0);
        }
        if (inputBelow(15) == 0) button = !button;
        headlessSetMouse(static_cast<int32_t>(inputBelow(41)) - 20, static_cast<int32_t>(inputBelow(41)) - 20, button);
        if (inputBelow(100) == 0) headlessAdvanceTicks(inputBelow(3000));
        if (gameState == STATE_GAME_OVER) gameWindowProc(WM_KEYDOWN, VK_F2, 0);
        headlessClearCopies();
        const int32_t flips = headless.flipCount;
        gameRunFrame();
        ASSERT_LE(headless.copyCount, HEADLESS_MAX_COPIES);
        for (int32_t i = 0; i < headless.copyCount; i++) {
            const HeadlessCopy& c = headless.copies[i];
            if (c.dst != back) continue;
            if (c.turned) {
                turned++;
                blitPixelsTurned(&plain, c.x, c.y, c.src, c.left, c.top, c.right, c.bottom, c.keyed);
            } else {
                blitPixels(&plain, c.x, c.y, c.src, c.left, c.top, c.right, c.bottom, c.keyed);
            }
        }
        if (headless.flipCount == flips) continue;
        if (!headless.frameDrawnWhole) partial++;
        for (int32_t y = 0; y < PLAT_SCREEN_HEIGHT; y++) {
            ASSERT_EQ(std::memcmp(plainPixels + y * PLAT_SCREEN_WIDTH, back->pixels + y * back->pitch,
                                  PLAT_SCREEN_WIDTH),
                      0)
                << "frame " << frame << ", row " << y;
        }
    }
    EXPECT_GT(partial, FRAMES * 9 / 10) << "nearly every frame was drawn only where it changed";
    EXPECT_GT(turned, 0) << "the turned views were drawn too";
}
