#include <gtest/gtest.h>

#include <string>

#include "video/drawrecord.h"
#include "video/text.h"

namespace {

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { drawSetUp(); }
};

TEST_F(TextTest, AlignmentCodePlacesATwoCharacterStringAroundX)
{
    struct Case {
        int32_t align;
        int32_t firstX;
    } cases[] = {
        {TXT_ALIGN_LEFT, 100}, {TXT_ALIGN_RIGHT, 84}, {TXT_ALIGN_CENTRE, 92}, {0, 100}, {1003, 100}, {-1001, 100},
    };
    for (const Case& c : cases) {
        headlessClearCopies();
        txtDrawSmallString("AB", 100, 40, c.align);
        std::vector<DrawCopy> want = {drawCopy(c.firstX, 40, sheetSmallGlyph(0)),
                                      drawCopy(c.firstX + 8, 40, sheetSmallGlyph(1))};
        EXPECT_EQ(drawCopies(), want) << "align " << c.align;
    }
}

TEST_F(TextTest, BigStringCentresOnHalfItsAdvance)
{
    txtDrawBigString("AB", 200, 10, TXT_ALIGN_CENTRE);
    std::vector<DrawCopy> want = {drawCopy(164, 10, sheetBigLetter(0)), drawCopy(200, 10, sheetBigLetter(1))};
    EXPECT_EQ(drawCopies(), want);
    headlessClearCopies();
    txtDrawBigString("AB", 200, 10, TXT_ALIGN_RIGHT);
    EXPECT_EQ(drawCopies()[0], drawCopy(128, 10, sheetBigLetter(0)));
}

TEST_F(TextTest, BigGlyphsComeFromTheLetterAndDigitRows)
{
    struct Case {
        char c;
        DrawCopy copy;
    } cases[] = {
        {'7', {150, 27, 560, 481, 588, 508}}, {'A', {150, 27, 0, 509, 27, 536}}, {'Z', {150, 27, 700, 509, 727, 536}},
        {'0', {150, 27, 364, 481, 392, 508}}, {'9', {150, 27, 616, 481, 644, 508}},
    };
    for (const Case& c : cases) {
        headlessClearCopies();
        const char text[2] = {c.c, '\0'};
        txtDrawBigString(text, 150, 27, TXT_ALIGN_LEFT);
        EXPECT_EQ(drawCopies(), std::vector<DrawCopy>{c.copy}) << c.c;
    }
}

TEST_F(TextTest, SmallGlyphsAreEightByTwelveCellsOfRow552)
{
    struct Case {
        char c;
        int32_t left;
    } cases[] = {{'A', 0}, {'a', 208}, {'0', 416}, {',', 496}, {'"', 520}, {'/', 576}};
    for (const Case& c : cases) {
        headlessClearCopies();
        txtDrawSmallChar(c.c, 3, 4);
        EXPECT_EQ(drawCopies(), (std::vector<DrawCopy>{{3, 4, c.left, 552, c.left + 8, 564}})) << c.c;
    }
}

TEST_F(TextTest, CharactersWithoutAGlyphDrawNothingButTakeTheirAdvance)
{
    txtDrawSmallString("A B#C", 10, 0, TXT_ALIGN_LEFT);
    std::vector<DrawCopy> want = {drawCopy(10, 0, sheetSmallGlyph(0)), drawCopy(26, 0, sheetSmallGlyph(1)),
                                  drawCopy(42, 0, sheetSmallGlyph(2))};
    EXPECT_EQ(drawCopies(), want);

    headlessClearCopies();
    txtDrawBigString("a,1", 0, 0, TXT_ALIGN_LEFT);  // the big font has capitals and digits only
    EXPECT_EQ(drawCopies(), std::vector<DrawCopy>{drawCopy(72, 0, sheetBigDigit(1))});

    headlessClearCopies();
    txtDrawSmallString("", 100, 100, TXT_ALIGN_RIGHT);
    txtDrawBigChar(' ', 0, 0);
    txtDrawSmallChar('\n', 0, 0);
    EXPECT_EQ(headless.copyCount, 0);
}

TEST_F(TextTest, AFailedGlyphCopyDoesNotStopTheRestOfTheString)
{
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC);
    txtDrawSmallString("AB", 100, 40, TXT_ALIGN_LEFT);
    EXPECT_EQ(drawCopies(), std::vector<DrawCopy>{drawCopy(108, 40, sheetSmallGlyph(1))});
}

// Each glyph of a string, drawn in one run, keeps the copy rule of its own:
// still drawing tries it again, any other failure (a lost surface too) ends
// only that glyph, and the glyphs after it are drawn.
TEST_F(TextTest, EachGlyphOfAStringFollowsTheCopyRuleOnItsOwn)
{
    struct Case {
        int32_t fault, count;
        const char* drawn;  // the glyphs that reach the screen
    } cases[] = {
        {DDERR_WASSTILLDRAWING, 3, "ABC"},  // the first glyph, three times over
        {DDERR_SURFACELOST, 1, "BC"},
        {DDERR_GENERIC, 2, "C"},
        {DDERR_INVALIDPARAMS, 3, ""},
    };
    for (const Case& c : cases) {
        headlessClearCopies();
        headlessFail(HEADLESS_FAULT_BLT, c.fault, c.count);
        txtDrawSmallString("ABC", 100, 40, TXT_ALIGN_LEFT);
        std::vector<DrawCopy> want;
        for (const char* g = c.drawn; *g != '\0'; g++) {
            want.push_back(drawCopy(100 + 8 * (*g - 'A'), 40, sheetSmallGlyph(*g - 'A')));
        }
        EXPECT_EQ(drawCopies(), want) << c.fault;
    }
    // A string longer than one run of copies.
    headlessClearCopies();
    const std::string text(70, 'Z');
    headlessFail(HEADLESS_FAULT_BLT, DDERR_GENERIC, 1);
    txtDrawSmallString(text.c_str(), 0, 40, TXT_ALIGN_LEFT);
    const std::vector<DrawCopy> copies = drawCopies();
    ASSERT_EQ(copies.size(), 69u);
    for (size_t i = 0; i < copies.size(); i++) {
        EXPECT_EQ(copies[i], drawCopy(8 * static_cast<int32_t>(i + 1), 40, sheetSmallGlyph(25))) << i;
    }
}

TEST_F(TextTest, LayoutWordKeepsATrailingSpaceOrHyphenAndStopsBeforeALineFeed)
{
    struct Case {
        const char* text;
        int32_t length;
    } cases[] = {{"ABC DEF", 4}, {"AB-CD", 3}, {"ABC\nDEF", 3}, {"\nAB CD", 4}, {"\n\nAB", 1}, {"ABC", 3}, {" X", 1}};
    for (const Case& c : cases) {
        int32_t cursor = 10;
        const char* end = txtLayoutWord(c.text, &cursor, 0, 1000, false, true);
        EXPECT_EQ(end - c.text, c.length) << c.text;
        EXPECT_EQ(cursor, 10 + 8 * c.length) << c.text;
    }
    EXPECT_EQ(headless.copyCount, 0);  // measuring draws nothing
}

TEST_F(TextTest, LayoutWordThatDoesNotFitLeavesCursorAndPosition)
{
    const char* text = "ABC DEF";
    int32_t cursor = 10;
    EXPECT_EQ(txtLayoutWord(text, &cursor, 0, 41, false, false), text);  // needs up to 42
    EXPECT_EQ(cursor, 10);
    EXPECT_EQ(txtLayoutWord(text, &cursor, 0, 42, false, false), text + 4);
    EXPECT_EQ(cursor, 42);
    std::vector<DrawCopy> want = {drawCopy(10, 0, sheetSmallGlyph(0)), drawCopy(18, 0, sheetSmallGlyph(1)),
                                  drawCopy(26, 0, sheetSmallGlyph(2))};
    EXPECT_EQ(drawCopies(), want);
}

TEST_F(TextTest, LayoutWordAtTheEndOfTheTextLaysOutNothing)
{
    const char text[] = "AB";
    int32_t cursor = 10;
    EXPECT_EQ(txtLayoutWord(text + 2, &cursor, 0, 1000, true, false), text + 2);
    EXPECT_EQ(cursor, 10);
    EXPECT_EQ(headless.copyCount, 0);
}

TEST_F(TextTest, BigLayoutAdvancesTwentyEightPixels)
{
    const char* text = "AB";
    int32_t cursor = 0;
    txtLayoutWord(text, &cursor, 5, 1000, true, false);
    EXPECT_EQ(cursor, 56);
    std::vector<DrawCopy> want = {drawCopy(0, 5, sheetBigLetter(0)), drawCopy(28, 5, sheetBigLetter(1))};
    EXPECT_EQ(drawCopies(), want);
}

TEST_F(TextTest, WrappedWordsThatOverflowGoToTheNextCentredLine)
{
    txtDrawWrappedSmall("ABC DEF", 100, 20, 40, 11);
    std::vector<DrawCopy> want = drawSmallTextCopies("ABC", 104, 20);
    std::vector<DrawCopy> line2 = drawSmallTextCopies("DEF", 108, 31);
    want.insert(want.end(), line2.begin(), line2.end());
    EXPECT_EQ(drawCopies(), want);
}

TEST_F(TextTest, WrappedTextStopsAtAWordWiderThanTheBox)
{
    txtDrawWrappedSmall("ABCDEF GH", 100, 20, 40, 11);
    EXPECT_EQ(headless.copyCount, 0);

    // Lines before the wide word stay drawn.
    headlessClearCopies();
    txtDrawWrappedSmall("AB ABCDEFGHIJ CD", 100, 20, 40, 11);
    EXPECT_EQ(drawCopies(), drawSmallTextCopies("AB", 108, 20));
}

TEST_F(TextTest, LineFeedsInWrappedText)
{
    struct Case {
        const char* text;
        int32_t width;
        std::vector<DrawCopy> copies;
    } cases[] = {
        // One line feed travels with the next word as an invisible character.
        {"AB\nCD", 200, {{drawCopy(80, 0, sheetSmallGlyph(0)), drawCopy(88, 0, sheetSmallGlyph(1)),
                          drawCopy(104, 0, sheetSmallGlyph(2)), drawCopy(112, 0, sheetSmallGlyph(3))}}},
        // Two put the second word two lines lower.
        {"AB\n\nCD", 200, {{drawCopy(88, 0, sheetSmallGlyph(0)), drawCopy(96, 0, sheetSmallGlyph(1)),
                            drawCopy(92, 20, sheetSmallGlyph(2)), drawCopy(100, 20, sheetSmallGlyph(3))}}},
        // Four after a word with room for one more advance: three empty lines.
        {"AB\n\n\n\nCD", 24, {{drawCopy(0, 0, sheetSmallGlyph(0)), drawCopy(8, 0, sheetSmallGlyph(1)),
                                drawCopy(4, 40, sheetSmallGlyph(2)), drawCopy(12, 40, sheetSmallGlyph(3))}}},
        // Without room: four empty lines.
        {"AB\n\n\n\nCD", 16, {{drawCopy(0, 0, sheetSmallGlyph(0)), drawCopy(8, 0, sheetSmallGlyph(1)),
                                drawCopy(0, 50, sheetSmallGlyph(2)), drawCopy(8, 50, sheetSmallGlyph(3))}}},
        // Leading and trailing line feeds only move the lines.
        {"\nAB\n", 16, {{drawCopy(0, 10, sheetSmallGlyph(0)), drawCopy(8, 10, sheetSmallGlyph(1))}}},
        {"\n\n", 16, {}},
        {"", 16, {}},
    };
    for (const Case& c : cases) {
        headlessClearCopies();
        txtDrawWrapped(c.text, 0, 0, c.width, 10, false);
        EXPECT_EQ(drawCopies(), c.copies) << c.text << " in " << c.width;
    }
}

TEST_F(TextTest, WrappedBigTextUsesTheTwentyEightPixelAdvance)
{
    txtDrawWrappedBig("TURN THE WORLD", 200, 150, 220, 28);
    std::vector<DrawCopy> want;
    auto line = [&](const char* word, int32_t x, int32_t y) {
        for (int32_t i = 0; word[i]; i++) want.push_back(drawCopy(x + 28 * i, y, sheetBigLetter(word[i] - 'A')));
    };
    line("TURN", 240, 150);  // "TURN " is 140 wide: centred in 220
    line("THE", 254, 178);
    line("WORLD", 240, 206);
    EXPECT_EQ(drawCopies(), want);
}

}  // namespace
