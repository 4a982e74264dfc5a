// The screen layouts: what each element of the two-player screen takes, worked
// out from the layout and from what the element holds, must stay on the screen
// and clear of every other element; the texts that vary must fit their places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Core/cmrand.h"
#include "dict/wordstore.h"
#include "flow/layout.h"
#include "flow/screens.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gamestate.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/prompt.h"
#include "game/score.h"
#include "game/tips.h"
#include "support/builtsheet.h"
#include "support/gamereset.h"
#include "video/drawrecord.h"
#include "video/sprite.h"
#include "video/text.h"

namespace {

struct Element {
    std::string name;
    LayoutRect r;
};

bool overlaps(const LayoutRect& a, const LayoutRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const LayoutRect& inner, const LayoutRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string describe(const LayoutRect& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
    return text;
}

int32_t digits(int64_t v) {
    int32_t n = 1;
    while (v >= 10) {
        v /= 10;
        n++;
    }
    return n;
}

// A line of `chars` small characters placed as the string drawer places it.
LayoutRect textRect(const LayoutText& t, int32_t chars) {
    int32_t width = chars * TXT_SMALL_ADVANCE;
    int32_t left = t.x;
    if (t.align == TXT_ALIGN_RIGHT) left = t.x - width;
    if (t.align == TXT_ALIGN_CENTRE) left = t.x - width / 2;
    return LayoutRect{left, t.y, left + width, t.y + TXT_SMALL_HEIGHT};
}

int32_t length(const char* text) { return static_cast<int32_t>(std::strlen(text)); }

// The highest score one word can earn: the dearest letter all along the
// longest word, at that length's multiplier, made for the first time.
int32_t highestWordScore() {
    int32_t dearest = 0;
    for (char c = 'A'; c <= 'Z'; c++) dearest = std::max(dearest, letterValue[static_cast<unsigned char>(c)]);
    return dearest * (SCORE_LENGTHS - 1) * lengthMultiplier[SCORE_LENGTHS - 1];
}

// Rows of words: the longest word a row holds, right-aligned, and the highest
// word score after it.
LayoutRect wordRowsRect(const LayoutWordList& list) {
    return LayoutRect{list.wordRight - (WORD_ROW_CHARS - 1) * TXT_SMALL_ADVANCE, list.top,
                      list.scoreLeft + digits(highestWordScore()) * TXT_SMALL_ADVANCE,
                      list.top + (list.rows - 1) * list.pitch + TXT_SMALL_HEIGHT};
}

LayoutRect boxRect(const LayoutTextBox& box) {
    return LayoutRect{box.x, box.y, box.x + box.width, box.y + (box.maxLines - 1) * box.lineHeight + TXT_SMALL_HEIGHT};
}

LayoutRect buttonRect(LayoutPoint p) {
    return LayoutRect{p.x, p.y, p.x + SHEET_BUTTON_WIDTH, p.y + SHEET_BUTTON_HEIGHT};
}

LayoutRect panelRect(const LayoutPanel& p) {
    return LayoutRect{p.x, p.y, p.x + 92 + 100 * p.columns, p.y + 92 + 100 * p.rows};
}

std::vector<Element> twoPlayerElements() {
    const ScreenLayout& L = LAYOUT_TWO_PLAYER;
    std::vector<Element> out;
    int32_t longestPrompt = 0;
    for (int32_t i = 0; i < PROMPT_COUNT; i++) longestPrompt = std::max(longestPrompt, length(promptTexts[i]));
    // The shaking result moves a pixel each way.
    const int32_t longestResult = std::max({length("DISASTER"), length("YOU LOSE"), length("YOU WIN"), length("TRIUMPH")});
    for (int32_t p = 0; p < 2; p++) {
        const LayoutPlayer& player = L.players[p];
        const std::string who = p == 0 ? "player 0 " : "player 1 ";
        out.push_back({who + "grid", layoutGridWell(player.grid)});
        LayoutRect label = textRect(player.scoreLabel, length("Score:"));
        // A whole positive 32-bit score.
        LayoutRect value = textRect(player.scoreValue, digits(INT32_MAX));
        out.push_back({who + "score label", label});
        out.push_back({who + "score", value});
        out.push_back({who + "word lists", player.wordPanel});
        LayoutRect result = textRect(player.result, longestResult);
        out.push_back({who + "result", {result.left - 1, result.top - 1, result.right + 1, result.bottom + 1}});
    }
    out.push_back({"level label", textRect(L.levelLabel, length("Level"))});
    out.push_back({"level number", textRect(L.levelValue, digits(LEVEL_COUNT))});
    out.push_back({"upper button", buttonRect(L.upperButton)});
    out.push_back({"lower button", buttonRect(L.lowerButton)});
    out.push_back({"LIFE row", L.life.row});
    out.push_back({"DRAG row", L.drag.row});
    out.push_back({"objective label", textRect(L.objectiveLabel, length("Objective:"))});
    out.push_back({"objective", boxRect(L.objectiveText)});
    out.push_back({"status line", textRect(L.prompt, longestPrompt)});
    out.push_back({"footer", textRect(L.footer, length("Press P to pause and view instructions"))});
    out.push_back({"name in tiles", layoutTitle(L.titleRight)});
    return out;
}

TEST(ScreenLayout, NothingOnTheTwoPlayerScreenOverlapsOrLeavesIt) {
    const std::vector<Element> elements = twoPlayerElements();
    const LayoutRect screen = {0, 0, 640, 480};
    for (size_t i = 0; i < elements.size(); i++) {
        const Element& a = elements[i];
        EXPECT_LT(a.r.left, a.r.right) << a.name;
        EXPECT_LT(a.r.top, a.r.bottom) << a.name;
        EXPECT_TRUE(inside(a.r, screen)) << a.name << " " << describe(a.r);
        for (size_t j = i + 1; j < elements.size(); j++) {
            const Element& b = elements[j];
            EXPECT_FALSE(overlaps(a.r, b.r)) << a.name << " " << describe(a.r) << " and " << b.name << " "
                                             << describe(b.r);
        }
    }
}

TEST(ScreenLayout, WhatTheTwoPlayerElementsHoldStaysInsideThem) {
    const ScreenLayout& L = LAYOUT_TWO_PLAYER;
    for (int32_t p = 0; p < 2; p++) {
        SCOPED_TRACE(p);
        const LayoutPlayer& player = L.players[p];
        // Marks and shaking letters on every cell stay inside the grid's well.
        const int32_t last = (LAYOUT_GRID_CELLS - 1) * LAYOUT_CELL_PITCH;
        const LayoutRect marks = {player.grid.x - LAYOUT_MARK_OVERHANG, player.grid.y - LAYOUT_MARK_OVERHANG,
                                  player.grid.x + last + LAYOUT_TILE_SIZE + LAYOUT_MARK_OVERHANG,
                                  player.grid.y + last + LAYOUT_TILE_SIZE + LAYOUT_MARK_OVERHANG};
        EXPECT_TRUE(inside(marks, layoutGridWell(player.grid))) << describe(marks);
        // The lists and their headings inside the plate, clear of its 3-pixel frame.
        const LayoutRect plate = {player.wordPanel.left + 3, player.wordPanel.top + 3, player.wordPanel.right - 4,
                                  player.wordPanel.bottom - 4};
        for (const LayoutWordList* list : {&player.recent, &player.best}) {
            const char* heading = list == &player.recent ? "Most recent words:" : "Best words:";
            EXPECT_TRUE(inside(textRect(list->heading, length(heading)), plate)) << heading;
            EXPECT_TRUE(inside(wordRowsRect(*list), plate)) << heading << " " << describe(wordRowsRect(*list));
        }
        EXPECT_FALSE(overlaps(textRect(player.recent.heading, length("Most recent words:")), wordRowsRect(player.recent)));
        EXPECT_FALSE(overlaps(wordRowsRect(player.recent), textRect(player.best.heading, length("Best words:"))));
        EXPECT_FALSE(overlaps(textRect(player.best.heading, length("Best words:")), wordRowsRect(player.best)));
        EXPECT_EQ(player.best.rows, 4);
    }
    // Each full bar with its end marks inside its row.
    for (const LayoutGauge* g : {&L.life, &L.drag}) {
        const LayoutRect bar = {g->bar.x - 2, g->bar.y, g->bar.x + SPR_GAUGE_WIDTH + 2, g->bar.y + SPR_GAUGE_HEIGHT + 2};
        EXPECT_TRUE(inside(bar, g->row)) << describe(bar);
    }
    // The mouse reaches both buttons and every cell of player 0's grid, and the
    // hover boxes are what is drawn.
    const LayoutHover& grid = L.gridHover;
    EXPECT_EQ(grid.left, static_cast<int32_t>(L.gridHitLeft));
    EXPECT_EQ(grid.top, static_cast<int32_t>(L.gridHitTop));
    for (LayoutPoint b : {L.upperButton, L.lowerButton, L.continueButton, L.doNotShowButton}) {
        const LayoutRect r = buttonRect(b);
        EXPECT_GE(r.left, 10);
        EXPECT_LE(r.bottom, 440);
    }
    const std::pair<LayoutPoint, LayoutHover> hovers[] = {{L.upperButton, L.upperHover},
                                                          {L.lowerButton, L.lowerHover},
                                                          {L.continueButton, L.continueHover},
                                                          {L.doNotShowButton, L.doNotShowHover}};
    for (const auto& [at, hover] : hovers) {
        EXPECT_EQ(hover.left, at.x);
        EXPECT_EQ(hover.top, at.y);
        EXPECT_EQ(hover.right, at.x + SHEET_BUTTON_WIDTH - 1);
        EXPECT_EQ(hover.bottom, at.y + SHEET_BUTTON_HEIGHT - 1);
    }
}

// What a grid held, at its longest: a 15-letter word at the highest score one
// word can earn, and more words than the word store can hold.
TEST(ScreenLayout, WhatAGridHeldFitsAFifteenLetterWordClearOfEverythingElse) {
    const LayoutRect screen = {0, 0, 640, 480};
    const int32_t best = length("BEST: ") + 15 + 1 + digits(highestWordScore());
    const int32_t count = digits(WS_ARENA_CELLS) + length(" WORDS");
    int32_t longestPrompt = 0;
    for (int32_t i = 0; i < PROMPT_COUNT; i++) longestPrompt = std::max(longestPrompt, length(promptTexts[i]));

    // One player: one line, under the gauges.
    const ScreenLayout& one = LAYOUT_ONE_PLAYER;
    const LayoutPlayer& solo = one.players[0];
    ASSERT_EQ(solo.gridWords.secondLineDy, 0);
    const LayoutRect line = textRect(solo.gridWords.line, best + length(" - ") + count);
    EXPECT_TRUE(inside(line, screen)) << describe(line);
    const LayoutText objectiveLine = {one.objectiveText.x, one.objectiveText.y, TXT_ALIGN_LEFT, true};
    const std::vector<Element> soloElements = {
        {"grid", layoutGridWell(solo.grid)},
        {"score label", textRect(solo.scoreLabel, length("Score:"))},
        {"score", textRect(solo.scoreValue, digits(INT32_MAX))},
        {"level bonus label", textRect(one.levelBonusLabel, length("Level bonus:"))},
        {"level bonus", textRect(one.levelBonusValue, digits(INT32_MAX))},
        {"recent words", wordRowsRect(solo.recent)},
        {"best words", wordRowsRect(solo.best)},
        {"LIFE row", one.life.row},
        {"DRAG row", one.drag.row},
        {"status line", textRect(one.prompt, longestPrompt)},
        {"objective label", textRect(one.objectiveLabel, length("Objective:"))},
        {"objective", textRect(objectiveLine, OBJECTIVE_TEXT_SIZE - 1)},
        {"footer", textRect(one.footer, length("Press P to pause and view instructions"))},
        {"GAME OVER", textRect(one.gameOver, length("GAME OVER"))},
        {"name in tiles", layoutTitle(one.titleRight)},
    };
    for (const Element& e : soloElements) EXPECT_FALSE(overlaps(line, e.r)) << e.name << " " << describe(e.r);

    // Two players: two lines on each player's word plate.
    const std::vector<Element> elements = twoPlayerElements();
    for (int32_t p = 0; p < 2; p++) {
        SCOPED_TRACE(p);
        const LayoutPlayer& player = LAYOUT_TWO_PLAYER.players[p];
        const LayoutGridWords& g = player.gridWords;
        ASSERT_NE(g.secondLineDy, 0);
        const LayoutText second = {g.line.x, g.line.y + g.secondLineDy, g.line.align, true};
        const LayoutRect lines[2] = {textRect(g.line, best), textRect(second, count)};
        const std::string plate = std::string(p == 0 ? "player 0 " : "player 1 ") + "word lists";
        for (const LayoutRect& r : lines) {
            EXPECT_TRUE(inside(r, screen)) << describe(r);
            for (const Element& e : elements) {
                if (e.name == plate) continue;
                EXPECT_FALSE(overlaps(r, e.r)) << describe(r) << " and " << e.name << " " << describe(e.r);
            }
            // Where the rows of recent words it leaves end, and above the best words.
            EXPECT_GE(r.top, player.recent.top + player.recent.pitch * g.recentRows);
            EXPECT_FALSE(overlaps(r, textRect(player.best.heading, length("Best words:"))));
            EXPECT_FALSE(overlaps(r, wordRowsRect(player.best)));
        }
        EXPECT_LT(g.recentRows, player.recent.rows);
    }
}

class LayoutDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        drawSetUp();
        resetGameRecords();
        cmSrand(99);
        twoPlayer = 1;
        gameState = STATE_PLAYING;
        lifeGauge.fullLevel = 10000;
        lifeGauge.level = 6000;
        dragGauge.fullLevel = 180;
    }

    // Where the small-font glyphs among the copies lie, as one rectangle.
    static LayoutRect smallTextExtent(const std::vector<DrawCopy>& copies) {
        LayoutRect r = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const DrawCopy& c : copies) {
            if (c.top != SHEET_SMALL_TOP) continue;
            r.left = std::min(r.left, c.x);
            r.top = std::min(r.top, c.y);
            r.right = std::max(r.right, c.x + SHEET_SMALL_WIDTH);
            r.bottom = std::max(r.bottom, c.y + SHEET_SMALL_HEIGHT);
        }
        return r;
    }
};

// Every level's objective, as far as it can get, in the objective's box.
TEST_F(LayoutDrawing, EveryObjectiveFitsItsTwoPlayerBox) {
    const LayoutTextBox& box = LAYOUT_TWO_PLAYER.objectiveText;
    for (int32_t level = 0; level < LEVEL_COUNT; level++) {
        SCOPED_TRACE(level);
        const LevelRow& row = levelTable[level];
        objective = Objective{row.count == 0 ? 1 : 0, row.length, row.count == 0 ? 1 : row.count, 0, ""};
        if (row.count == 0) {
            for (int32_t i = 0; i < row.length && i < 15; i++) objective.word[i] = 'W';
        }
        objective.done = objective.target;
        char text[OBJECTIVE_TEXT_SIZE];
        objectiveText(text, OBJECTIVE_FORM_PROGRESS);
        headlessClearCopies();
        txtDrawWrappedSmall(text, box.x, box.y, box.width, box.lineHeight);
        std::vector<DrawCopy> got = drawCopies();
        // Every character but the blanks is drawn: nothing was cut off.
        int32_t visible = 0;
        for (const char* c = text; *c; c++) visible += *c != ' ';
        EXPECT_EQ(static_cast<int32_t>(got.size()), visible) << text;
        EXPECT_TRUE(inside(smallTextExtent(got), boxRect(box))) << text << " " << describe(smallTextExtent(got));
    }
}

// Each tip's text and its buttons inside the panel's plate, the text above the buttons.
TEST_F(LayoutDrawing, EveryTipFitsItsTwoPlayerPanelAboveItsButtons) {
    const ScreenLayout& L = LAYOUT_TWO_PLAYER;
    const LayoutRect panel = panelRect(L.tipPanel);
    const LayoutRect plate = {panel.left + 8, panel.top + 8, panel.right - 8, panel.bottom - 8};
    int32_t tips = 0;
    for (int32_t t = 0; t < TIP_COUNT; t++) {
        if (tipTexts[t][0] == '\0') continue;
        SCOPED_TRACE(t);
        tips++;
        SetUp();
        gameState = STATE_TIP;
        tipIndex = t;
        tipShown[TIP_DRAG_AVAILABLE] = tipShown[TIP_DRAG_RUNNING] = 1;
        scrDrawPlayScreen();
        std::vector<DrawCopy> got = drawCopies();
        // The panel is drawn after everything else but its text and buttons.
        const DrawCopy firstPiece = drawCopy(L.tipPanel.x, L.tipPanel.y, sheetPanelPiece(SHEET_PANEL_FIRST, SHEET_PANEL_FIRST));
        const int32_t panelAt = drawIndexOf(got, firstPiece);
        ASSERT_NE(panelAt, -1);
        std::vector<DrawCopy> after(got.begin() + panelAt, got.end());
        std::vector<DrawCopy> text;
        for (const DrawCopy& c : after) {
            if (c.top == SHEET_SMALL_TOP) text.push_back(c);
        }
        int32_t visible = 0;
        for (const char* c = tipTexts[t]; *c; c++) visible += *c != ' ';
        EXPECT_EQ(static_cast<int32_t>(text.size()), visible);
        const LayoutRect extent = smallTextExtent(text);
        EXPECT_TRUE(inside(extent, plate)) << describe(extent);
        for (LayoutPoint b : {L.continueButton, L.doNotShowButton}) {
            EXPECT_TRUE(inside(buttonRect(b), plate)) << describe(buttonRect(b));
            EXPECT_FALSE(overlaps(extent, buttonRect(b))) << describe(extent);
        }
        EXPECT_NE(drawIndexOf(after, drawCopy(L.continueButton.x, L.continueButton.y, SHEET_BUTTON_CONTINUE)), -1);
        EXPECT_NE(drawIndexOf(after, drawCopy(L.doNotShowButton.x, L.doNotShowButton.y, SHEET_BUTTON_DO_NOT_SHOW)), -1);
        // Nothing but the tip comes after the panel.
        for (const DrawCopy& c : after) {
            const bool piece = c.left >= SHEET_PANEL_COLUMN_X[0] && c.top >= SHEET_PANEL_COLUMN_Y[0];
            const bool tipButton = c.left == SHEET_BUTTON_CONTINUE.left;
            EXPECT_TRUE(piece || tipButton || c.top == SHEET_SMALL_TOP) << c;
        }
    }
    EXPECT_GT(tips, 0);
}

// The built sheet's two-player background against the two-player layout.
class TwoPlayerBackground : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes = readBuiltSheet();
        ASSERT_FALSE(bytes.empty()) << TQ_SHEET_FILE;
        ASSERT_EQ(bytes.size(), 1078u + size_t(SHEET_WIDTH) * SHEET_HEIGHT);
    }
    // Palette index at screen (x, y) of the two-player background.
    static uint8_t at(int32_t x, int32_t y) {
        const int32_t sy = SHEET_BACKGROUND_TWO_PLAYER.top + y;
        return bytes[1078 + size_t(SHEET_HEIGHT - 1 - sy) * SHEET_WIDTH + size_t(SHEET_BACKGROUND_TWO_PLAYER.left + x)];
    }
    static std::vector<uint8_t> bytes;
};
std::vector<uint8_t> TwoPlayerBackground::bytes;

// The bar covers blank what a gauge leaves empty, so the background must show
// the full bar exactly where the layout draws it, and the tip screen blanks
// the rows, so nothing of a row may lie outside it.
TEST_F(TwoPlayerBackground, ShowsFullGaugesInsideTheirRows) {
    const uint8_t plain = at(SHEET_PLAIN_LEFT_WIDTH / 2, 0);
    for (const LayoutGauge* g : {&LAYOUT_TWO_PLAYER.life, &LAYOUT_TWO_PLAYER.drag}) {
        SCOPED_TRACE(g->bar.y);
        for (int32_t y = g->bar.y; y < g->bar.y + SPR_GAUGE_HEIGHT; y++)
            for (int32_t x = g->bar.x; x < g->bar.x + SPR_GAUGE_WIDTH; x++) ASSERT_NE(at(x, y), plain) << x << "," << y;
        int32_t label = 0;
        for (int32_t y = g->row.top; y < g->row.bottom; y++)
            for (int32_t x = g->row.left; x < g->bar.x - 4; x++) label += at(x, y) != plain;
        EXPECT_GT(label, 30);
        for (int32_t x = g->row.left - 1; x <= g->row.right; x++) {
            EXPECT_EQ(at(x, g->row.top - 1), plain) << x;
            EXPECT_EQ(at(x, g->row.bottom), plain) << x;
        }
        for (int32_t y = g->row.top; y < g->row.bottom; y++) {
            EXPECT_EQ(at(g->row.left - 1, y), plain) << y;
            EXPECT_EQ(at(g->row.right, y), plain) << y;
        }
    }
    // No CYCLE row: nothing blanks one on this screen.
    EXPECT_EQ(LAYOUT_TWO_PLAYER.cycle.row.right, LAYOUT_TWO_PLAYER.cycle.row.left);
}

// Every cell of both grids sits in its well, and the well ends where the layout says.
TEST_F(TwoPlayerBackground, HoldsAWellUnderEachGrid) {
    const uint8_t plain = at(SHEET_PLAIN_LEFT_WIDTH / 2, 0);
    for (const LayoutPlayer& player : LAYOUT_TWO_PLAYER.players) {
        SCOPED_TRACE(player.grid.x);
        for (int32_t r = 0; r < LAYOUT_GRID_CELLS; r++)
            for (int32_t c = 0; c < LAYOUT_GRID_CELLS; c++) {
                const int32_t x = player.grid.x + LAYOUT_CELL_PITCH * c;
                const int32_t y = player.grid.y + LAYOUT_CELL_PITCH * r;
                EXPECT_NE(at(x + LAYOUT_TILE_SIZE / 2, y + LAYOUT_TILE_SIZE / 2), plain) << c << "," << r;
            }
        const LayoutRect w = layoutGridWell(player.grid);
        for (int32_t x = w.left - 1; x <= w.right; x++) {
            EXPECT_EQ(at(x, w.top - 1), plain) << x;
            EXPECT_EQ(at(x, w.bottom), plain) << x;
        }
        EXPECT_NE(at(w.left, w.top), plain);
    }
}

}  // namespace
