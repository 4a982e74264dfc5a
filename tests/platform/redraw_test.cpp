#include "platform/redraw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Core/cmrand.h"
#include "platform/blit.h"

namespace {

constexpr int32_t BACK_W = 96, BACK_H = 72, SRC_W = 40, SRC_H = 30;

// A copy as the backend is asked for it.
struct Copy {
    const PlatSurface* src;
    int32_t x, y, left, top, right, bottom;
    bool keyed, turned;
};

int32_t randomBelow(int32_t n) { return static_cast<int32_t>(cmRand() % static_cast<uint32_t>(n)); }

// A back buffer kept by Redraw beside one drawn the plain way, copy by copy:
// after every frame the two must hold the same picture.
class RedrawFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cmSrand(11);
        for (int32_t i = 0; i < SRC_W * SRC_H; i++) srcPixels[i] = static_cast<uint8_t>(randomBelow(3) == 0 ? 0 : 1 + randomBelow(200));
        std::memset(backPixels, 0, sizeof backPixels);
        std::memset(plainPixels, 0, sizeof plainPixels);
        redrawStart(*redraw, &back);
    }
    void TearDown() override { delete redraw; }

    void copy(const Copy& c) {
        redrawCopy(*redraw, c.src, c.x, c.y, c.left, c.top, c.right, c.bottom, c.keyed, c.turned);
        if (c.turned) {
            blitPixelsTurned(&plain, c.x, c.y, &src, c.left, c.top, c.right, c.bottom, c.keyed);
        } else {
            blitPixels(&plain, c.x, c.y, &src, c.left, c.top, c.right, c.bottom, c.keyed);
        }
    }
    void frame(const std::vector<Copy>& copies) {
        for (const Copy& c : copies) copy(c);
        redrawFinish(*redraw);
    }
    bool samePicture() const { return std::memcmp(backPixels, plainPixels, sizeof backPixels) == 0; }

    Copy randomCopy() {
        // Mostly small, as glyphs and marks are; now and then a large one.
        const bool large = randomBelow(8) == 0;
        const int32_t w = 1 + randomBelow(large ? SRC_W : 12), h = 1 + randomBelow(large ? SRC_H : 10);
        const int32_t left = randomBelow(SRC_W - w + 1), top = randomBelow(SRC_H - h + 1);
        const int32_t x = randomBelow(BACK_W - w + 1), y = randomBelow(BACK_H - h + 1);
        return Copy{&src, x, y, left, top, left + w, top + h, randomBelow(4) != 0, randomBelow(5) == 0};
    }

    uint8_t srcPixels[SRC_W * SRC_H];
    uint8_t backPixels[BACK_W * BACK_H];
    uint8_t plainPixels[BACK_W * BACK_H];
    PlatSurface src{srcPixels, SRC_W, SRC_H, SRC_W, 0, false};
    PlatSurface back{backPixels, BACK_W, BACK_H, BACK_W, 0, false};
    PlatSurface plain{plainPixels, BACK_W, BACK_H, BACK_W, 0, false};
    Redraw* redraw = new Redraw{};
};

// Frames that keep most of the last one's copies and change a few in every
// way a frame can: a copy moved, gone, added, two swapped, one drawn twice.
TEST_F(RedrawFixture, EveryFrameComesOutAsDrawingAllItsCopiesWould) {
    std::vector<Copy> copies;
    for (int32_t i = 0; i < 30; i++) copies.push_back(randomCopy());
    int32_t partial = 0;
    for (int32_t f = 0; f < 600; f++) {
        const int32_t edits = randomBelow(4);
        for (int32_t e = 0; e < edits && !copies.empty(); e++) {
            const size_t at = static_cast<size_t>(randomBelow(static_cast<int32_t>(copies.size())));
            switch (randomBelow(6)) {
            case 0: copies[at].x = randomBelow(BACK_W - (copies[at].right - copies[at].left) + 1); break;
            case 1: copies.erase(copies.begin() + static_cast<ptrdiff_t>(at)); break;
            case 2: copies.insert(copies.begin() + static_cast<ptrdiff_t>(at), randomCopy()); break;
            case 3: std::swap(copies[at], copies[static_cast<size_t>(randomBelow(static_cast<int32_t>(copies.size())))]); break;
            case 4: copies.insert(copies.begin() + static_cast<ptrdiff_t>(at), copies[at]); break;
            default: copies[at].keyed = !copies[at].keyed; break;
            }
        }
        if (copies.size() < 5) copies.push_back(randomCopy());
        frame(copies);
        ASSERT_TRUE(samePicture()) << "frame " << f;
        if (!redraw->lastWhole) partial++;
    }
    EXPECT_GT(partial, 300) << "most frames were drawn in part, so the test saw that path";
}

TEST_F(RedrawFixture, TheSameFrameAgainDrawsNothingAndOneMovedCopyDrawsOnlyWhereItWasAndIs) {
    // A backdrop over [0, 80) x [0, 60).
    std::vector<Copy> copies{{&src, 0, 0, 0, 0, SRC_W, SRC_H, false, false},
                                   {&src, SRC_W, 0, 0, 0, SRC_W, SRC_H, false, false},
                                   {&src, 0, SRC_H, 0, 0, SRC_W, SRC_H, false, false},
                                   {&src, SRC_W, SRC_H, 0, 0, SRC_W, SRC_H, false, false}};
    copies.push_back(Copy{&src, 60, 40, 0, 0, 4, 3, true, false});
    copies.push_back(Copy{&src, 10, 50, 2, 2, 6, 5, true, true});
    frame(copies);
    EXPECT_TRUE(redraw->lastWhole);
    frame(copies);
    EXPECT_FALSE(redraw->lastWhole);
    EXPECT_EQ(redraw->lastDrawnPixels, 0);
    copies[4].x = 80;
    frame(copies);
    EXPECT_TRUE(samePicture());
    // Only the old and the new place of the 4 x 3 copy: the old one gets the
    // background back, the new one, beside the background, the copy alone.
    EXPECT_EQ(redraw->lastDrawnPixels, 12 + 12);
}

// A lock, a copy onto another surface or a frame too long to keep: what is
// pending is drawn at once, and the next frame is drawn whole.
TEST_F(RedrawFixture, AnythingElseTouchingTheSurfacesHasTheNextFrameDrawnWhole) {
    std::vector<Copy> copies{{&src, 0, 0, 0, 0, SRC_W, SRC_H, false, false},
                                   {&src, 5, 6, 0, 0, 8, 8, true, false}};
    frame(copies);
    frame(copies);
    ASSERT_FALSE(redraw->lastWhole);
    copy(copies[0]);
    redrawSpoil(*redraw);
    EXPECT_TRUE(samePicture()) << "the pending copy is drawn before the lock gives the pixels away";
    backPixels[7 * BACK_W + 7] = plainPixels[7 * BACK_W + 7] = 250;  // written under the lock
    copy(copies[1]);
    EXPECT_TRUE(samePicture()) << "the rest of the frame is drawn as it comes";
    redrawFinish(*redraw);
    frame(copies);
    EXPECT_TRUE(redraw->lastWhole);
    EXPECT_TRUE(samePicture());
    frame(copies);
    EXPECT_FALSE(redraw->lastWhole);

    // A frame of more copies than are kept.
    std::vector<Copy> many(REDRAW_MAX_COPIES + 10, copies[1]);
    many.front() = copies[0];
    many.back() = Copy{&src, 50, 50, 0, 0, 8, 8, false, false};
    frame(many);
    EXPECT_TRUE(samePicture());
    frame(copies);
    EXPECT_TRUE(redraw->lastWhole);
    EXPECT_TRUE(samePicture());
}

}  // namespace
