#include <gtest/gtest.h>

#include "video/drawrecord.h"
#include "video/sprite.h"

namespace {

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override { drawSetUp(); }
};

TEST_F(SpriteTest, CellMarkKindPicksItsSquareAndSurroundsTheTile)
{
    struct Case {
        int32_t kind;
        int32_t position;
    } cases[] = {{0, SHEET_MARK_MAGENTA}, {2, SHEET_MARK_GREEN},   {3, SHEET_MARK_RED},      {4, SHEET_MARK_RED},
                 {5, SHEET_MARK_WHITE},   {6, SHEET_MARK_MAGENTA},  {-1, SHEET_MARK_MAGENTA},
                 {1000, SHEET_MARK_MAGENTA}};
    for (const Case& c : cases) {
        headlessClearCopies();
        EXPECT_EQ(sprDrawCellMark(150, 27, c.kind, 0), DD_OK);
        EXPECT_EQ(drawCopies(), (std::vector<DrawCopy>{drawCopy(148, 25, sheetCellMark(c.position))})) << c.kind;
    }
}

TEST_F(SpriteTest, BlinkingMarkIsWhiteInTheSecondHalfOfEveryEightFrames)
{
    for (uint32_t frame : {0u, 1u, 3u, 4u, 7u, 8u, 12u, 0xFFFFFFFFu}) {
        headlessClearCopies();
        sprDrawCellMark(10, 10, SPR_MARK_BLINK, frame);
        // The all-black mark shows nothing.
        int32_t position = (frame % 8) >= 4 ? SHEET_MARK_WHITE : SHEET_MARK_NOTHING;
        EXPECT_EQ(drawCopies(), (std::vector<DrawCopy>{drawCopy(8, 8, sheetCellMark(position))})) << frame;
    }
}

TEST_F(SpriteTest, CellMarkAndClearReturnTheCopyResult)
{
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC);
    EXPECT_EQ(sprDrawCellMark(150, 27, 0, 0), DDERR_GENERIC);
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC);
    EXPECT_EQ(sprClearRect(0, 0, 10, 10), DDERR_GENERIC);
}

TEST_F(SpriteTest, ClearRectCopiesThePlainCornerOfTheSheet)
{
    EXPECT_EQ(sprClearRect(150, 293, 400, 313), DD_OK);
    EXPECT_EQ(sprClearRect(43, 100, 138, 163), DD_OK);
    EXPECT_EQ(drawCopies(), (std::vector<DrawCopy>{{150, 293, 0, 0, 250, 20}, {43, 100, 0, 0, 95, 63}}));
}

TEST_F(SpriteTest, PanelIsDrawnColumnByColumnFromNineKindsOfPiece)
{
    sprDrawPanel(150, 100, 2, 1);
    std::vector<DrawCopy> want;
    const int32_t xs[4] = {150, 196, 296, 396};
    const int32_t columnKind[4] = {0, 1, 1, 2};
    const int32_t ys[3] = {100, 146, 246};
    const int32_t rowKind[3] = {0, 1, 2};
    for (int32_t i = 0; i < 4; i++) {
        for (int32_t j = 0; j < 3; j++) want.push_back(drawCopy(xs[i], ys[j], sheetPanelPiece(columnKind[i], rowKind[j])));
    }
    std::vector<DrawCopy> got = drawCopies();
    EXPECT_EQ(got, want);
    // It covers 150..442 across and 100..292 down.
    const DrawCopy& last = got.back();
    EXPECT_EQ(last.x + last.right - last.left, 442);
    EXPECT_EQ(last.y + last.bottom - last.top, 292);
}

TEST_F(SpriteTest, PanelPieceCounts)
{
    struct Case {
        int32_t columns, rows, copies;
    } cases[] = {{2, 1, 12}, {2, 2, 16}, {0, 0, 4}, {-1, 3, 5}, {-2, 1, 0}, {1, -2, 0}, {-5, -5, 0}};
    for (const Case& c : cases) {
        headlessClearCopies();
        sprDrawPanel(0, 0, c.columns, c.rows);
        EXPECT_EQ(headless.copyCount, c.copies) << c.columns << " x " << c.rows;
    }
}

TEST_F(SpriteTest, AFailedPieceEndsThePanel)
{
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC);
    sprDrawPanel(150, 100, 2, 1);
    EXPECT_EQ(headless.copyCount, 0);
}

TEST_F(SpriteTest, BarCoverBlanksWhatThePercentageLeavesEmpty)
{
    struct Case {
        float level, fullLevel;
        bool full;
        int32_t blanked;  // width of the cover at the right end of the bar
    } cases[] = {
        {25, 100, false, 99}, {6000, 10000, false, 52}, {0, 180, false, 132}, {5700, 10000, false, 56},
        {100, 100, true, 132}, {10, 100, true, 132},   {1, 3, false, 88},
    };
    for (const Case& c : cases) {
        headlessClearCopies();
        EXPECT_EQ(sprDrawBarCover(236, 293, c.level, c.fullLevel, c.full), DD_OK);
        EXPECT_EQ(drawCopies(), (std::vector<DrawCopy>{{368 - c.blanked, 293, 0, 0, c.blanked, 14}}))
            << c.level << "/" << c.fullLevel;
    }
}

TEST_F(SpriteTest, AFullOrOverfullGaugeBlanksNothing)
{
    for (float level : {100.0f, 150.0f}) {
        headlessClearCopies();
        // An empty or reversed rectangle: the platform refuses the copy.
        EXPECT_NE(sprDrawBarCover(236, 293, level, 100, false), DD_OK);
        ASSERT_EQ(headless.copyCount, 1);
        EXPECT_LE(headless.copies[0].right, 0);
    }
}

}  // namespace
