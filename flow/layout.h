// Where everything of the play screen stands, in the one-player and in the
// two-player game. The screens draw from these records, the pointer's hit and
// hover tests read the same ones, and the sheet tool paints the two-player
// background to them, so the three cannot disagree.
#pragma once

#include <cstdint>

#include "video/sheetlayout.h"
#include "video/text.h"

constexpr int32_t LAYOUT_GRID_CELLS = 7;
constexpr int32_t LAYOUT_CELL_PITCH = 36;
// A letter tile is 27 pixels square at its cell's origin; a cell mark is 31
// square, 2 pixels up and left of it.
constexpr int32_t LAYOUT_TILE_SIZE = 27;
constexpr int32_t LAYOUT_MARK_OVERHANG = 2;
// Row 5 of the level intro is a line of text, not tiles: it starts this far
// right of the grid's origin and this far down.
constexpr int32_t LAYOUT_MESSAGE_TEXT_DX = 5;
constexpr int32_t LAYOUT_MESSAGE_TEXT_DY = 192;

struct LayoutPoint {
    int32_t x, y;
};
// Screen pixels, left and top inclusive, right and bottom exclusive; an empty
// rectangle stands for a part this screen does not have.
struct LayoutRect {
    int32_t left, top, right, bottom;
};
// Where the pointer counts as over something: every edge inclusive, as the
// pointer's position is tested.
struct LayoutHover {
    int32_t left, top, right, bottom;
};
// One line of small text; a line with `shown` false is not on this screen.
struct LayoutText {
    int32_t x, y, align;
    bool shown;
};
// Small text wrapped into `width` pixels from x, centred line by line, at most
// maxLines lines lineHeight apart; width 0 draws one line left-aligned at x.
struct LayoutTextBox {
    int32_t x, y, width, lineHeight, maxLines;
};
// A framed panel (sprDrawPanel) of columns x rows middle pieces; columns < 0: none.
struct LayoutPanel {
    int32_t x, y, columns, rows;
};
// Rows of words: a word ends at wordRight, its score starts at scoreLeft.
struct LayoutWordList {
    LayoutText heading;
    int32_t wordRight, scoreLeft, top, pitch, rows;
};
// The full bar of a gauge (132 x 14) and the row of the background that holds
// it with its label and scale; the row is what the tip screen blanks.
struct LayoutGauge {
    LayoutPoint bar;
    LayoutRect row;
};

// What a grid held when the level or the game ended, its best word with its
// score and how many words it held: on one line at `line`, or, when
// secondLineDy is not 0, the count on a line of its own that far below. While
// it shows, the recent-word list keeps to recentRows rows.
struct LayoutGridWords {
    LayoutText line;
    int32_t secondLineDy;
    int32_t recentRows;
};

struct LayoutPlayer {
    LayoutPoint grid;  // the letter of column 0, row 0
    LayoutText scoreLabel, scoreValue;
    LayoutRect wordPanel;  // the framed dark plate the background shows behind both lists
    LayoutWordList recent, best;
    LayoutText result;  // the two-player result at game over
    LayoutGridWords gridWords;
};

struct ScreenLayout {
    LayoutPlayer players[2];
    // Player 0's grid as the mouse sees it: the cell under a pointer position
    // is found in this span, seven cells each way, and the pointer counts as
    // over the grid inside gridHover.
    float gridHitLeft, gridHitTop, gridHitWidth, gridHitHeight;
    LayoutHover gridHover;

    LayoutPoint upperButton, lowerButton;  // START DRAG above; STOP DRAG or ENTER GAME below
    LayoutHover upperHover, lowerHover;
    LayoutRect buttonBlank;  // blanked before the buttons are drawn

    LayoutGauge life, drag, cycle;  // the CYCLE gauge is never shown: its row is blanked

    LayoutPanel tipPanel;  // behind the tip's text and buttons
    LayoutTextBox tipText;
    bool tipHidesGrids;    // the tip's text stands where the grid is
    LayoutPoint continueButton, doNotShowButton;
    LayoutHover continueHover, doNotShowHover;

    LayoutText levelBonusLabel, levelBonusValue;  // in play only
    LayoutText levelLabel, levelValue;
    LayoutText objectiveLabel;
    LayoutTextBox objectiveText;
    LayoutText prompt;  // the blinking status line
    LayoutText footer;
    LayoutText gameOver;  // the one-player GAME OVER
    LayoutPoint titleRight;  // right end and top of the name in tiles on the background
};

// The name the background spells in small tiles, and their size and pitch.
constexpr const char* LAYOUT_TITLE = "TARVO QUELMS";
constexpr int32_t LAYOUT_TITLE_TILE = 15;
constexpr int32_t LAYOUT_TITLE_PITCH = 16;

constexpr LayoutText LAYOUT_NO_TEXT = {0, 0, TXT_ALIGN_LEFT, false};
constexpr LayoutRect LAYOUT_NO_RECT = {0, 0, 0, 0};

// The sunken well the background shows around a grid whose letter (0, 0) is
// at `grid`, with its shadow: 4 pixels round the tiles, 2 more right and below.
constexpr LayoutRect layoutGridWell(LayoutPoint grid) {
    constexpr int32_t span = (LAYOUT_GRID_CELLS - 1) * LAYOUT_CELL_PITCH + LAYOUT_TILE_SIZE;
    return LayoutRect{grid.x - 4, grid.y - 4, grid.x + span + 6, grid.y + span + 6};
}

// The name in tiles ending at titleRight.x, with the tiles' shadow.
constexpr LayoutRect layoutTitle(LayoutPoint right) {
    int32_t n = 0;
    while (LAYOUT_TITLE[n] != '\0') n++;
    return LayoutRect{right.x - n * LAYOUT_TITLE_PITCH + 1, right.y, right.x + 1, right.y + LAYOUT_TITLE_TILE + 1};
}

constexpr LayoutHover layoutButtonHover(LayoutPoint p) {
    return LayoutHover{p.x, p.y, p.x + SHEET_BUTTON_WIDTH - 1, p.y + SHEET_BUTTON_HEIGHT - 1};
}

// The one-player screen, as it has always been.
constexpr LayoutWordList layoutOnePlayerList(int32_t headingY, int32_t top) {
    return LayoutWordList{{518, headingY, TXT_ALIGN_CENTRE, true}, 544, 552, top, 11, 12};
}

constexpr ScreenLayout LAYOUT_ONE_PLAYER = {
    .players = {{.grid = {150, 27},
                 .scoreLabel = {50, 200, TXT_ALIGN_LEFT, true},
                 .scoreValue = {50, 211, TXT_ALIGN_LEFT, true},
                 .wordPanel = LAYOUT_NO_RECT,  // two plates of their own, one for each list
                 .recent = layoutOnePlayerList(46, 61),
                 .best = layoutOnePlayerList(240, 255),
                 .result = LAYOUT_NO_TEXT,
                 // Under the gauges, where the CYCLE row never shows, clear of
                 // the word panels at the right.
                 .gridWords = {{50, 352, TXT_ALIGN_LEFT, true}, 0, 12}},
                {.grid = {150, 27},
                 .scoreLabel = LAYOUT_NO_TEXT,
                 .scoreValue = LAYOUT_NO_TEXT,
                 .wordPanel = LAYOUT_NO_RECT,
                 .recent = {LAYOUT_NO_TEXT, 0, 0, 0, 0, 0},
                 .best = {LAYOUT_NO_TEXT, 0, 0, 0, 0, 0},
                 .result = LAYOUT_NO_TEXT,
                 .gridWords = {LAYOUT_NO_TEXT, 0, 0}}},
    // Columns are hit-tested 4 pixels left of the letters, rows from the
    // letters' top at 244 / 7 pixels each.
    .gridHitLeft = 146.0f,
    .gridHitTop = 27.0f,
    .gridHitWidth = 252.0f,
    .gridHitHeight = 244.0f,
    .gridHover = {146, 23, 398, 275},
    .upperButton = {43, 44},
    .lowerButton = {43, 110},
    .upperHover = {43, 44, 138, 107},
    .lowerHover = {43, 110, 138, 167},
    .buttonBlank = {43, 100, 138, 163},
    .life = {{SHEET_GAUGE_LEFT, SHEET_GAUGE_LIFE_TOP}, {150, SHEET_GAUGE_LIFE_TOP, 400, SHEET_GAUGE_LIFE_TOP + 20}},
    .drag = {{SHEET_GAUGE_LEFT, SHEET_GAUGE_DRAG_TOP}, {150, SHEET_GAUGE_DRAG_TOP, 400, SHEET_GAUGE_DRAG_TOP + 20}},
    .cycle = {{SHEET_GAUGE_LEFT, SHEET_GAUGE_CYCLE_TOP}, {150, SHEET_GAUGE_CYCLE_TOP, 400, SHEET_GAUGE_CYCLE_TOP + 20}},
    .tipPanel = {0, 0, -1, -1},
    .tipText = {155, 30, 240, 11, 22},
    .tipHidesGrids = true,
    .continueButton = {152, 290},
    .doNotShowButton = {300, 290},
    .continueHover = {152, 290, 247, 353},
    .doNotShowHover = {300, 290, 395, 353},
    .levelBonusLabel = {50, 230, TXT_ALIGN_LEFT, true},
    .levelBonusValue = {50, 241, TXT_ALIGN_LEFT, true},
    .levelLabel = LAYOUT_NO_TEXT,
    .levelValue = LAYOUT_NO_TEXT,
    .objectiveLabel = {50, 400, TXT_ALIGN_LEFT, true},
    .objectiveText = {50, 413, 0, 11, 1},
    .prompt = {275, 370, TXT_ALIGN_CENTRE, true},
    .footer = {320, 440, TXT_ALIGN_CENTRE, true},
    .gameOver = {20, 435, TXT_ALIGN_LEFT, true},
    .titleRight = {626, 414},
};

// The two-player screen: both grids whole at the top with the level and the
// two buttons between them, in the mouse's reach; under each grid its
// player's score and words; in the middle the shared gauges and the
// objective; the status line and the footer at the bottom.
constexpr int32_t LAYOUT_TWO_GRID_TOP = 12;
constexpr int32_t LAYOUT_TWO_GRID_LEFT[2] = {20, 376};
constexpr int32_t LAYOUT_TWO_PANEL_LEFT[2] = {16, 424};  // score and word lists
constexpr int32_t LAYOUT_TWO_PANEL_TOP = 268;
constexpr int32_t LAYOUT_TWO_BAR_LEFT = 282;
constexpr int32_t LAYOUT_TWO_LIFE_TOP = 272;
constexpr int32_t LAYOUT_TWO_DRAG_TOP = 300;
constexpr int32_t LAYOUT_TWO_GAUGE_ROW_LEFT = 226;
constexpr int32_t LAYOUT_TWO_GAUGE_ROW_RIGHT = 418;
constexpr LayoutPoint LAYOUT_TWO_UPPER_BUTTON = {320 - SHEET_BUTTON_WIDTH / 2, 44};
constexpr LayoutPoint LAYOUT_TWO_LOWER_BUTTON = {320 - SHEET_BUTTON_WIDTH / 2, 110};
// The tip: a panel of 3 x 2 middle pieces over the middle of the screen, the
// text in its upper part and the two buttons side by side at its bottom.
constexpr LayoutPanel LAYOUT_TWO_TIP_PANEL = {124, 8, 3, 2};
constexpr int32_t LAYOUT_TWO_TIP_BUTTON_Y = 221;
constexpr LayoutPoint LAYOUT_TWO_CONTINUE = {320 - 5 - SHEET_BUTTON_WIDTH, LAYOUT_TWO_TIP_BUTTON_Y};
constexpr LayoutPoint LAYOUT_TWO_DO_NOT_SHOW = {320 + 5, LAYOUT_TWO_TIP_BUTTON_Y};

constexpr LayoutPlayer layoutTwoPlayer(int32_t p) {
    const int32_t x = LAYOUT_TWO_PANEL_LEFT[p];
    const int32_t y = LAYOUT_TWO_PANEL_TOP;
    // A word of up to 19 letters ends 152 pixels in; the scores follow it.
    const int32_t wordRight = x + 152;
    const int32_t headingX = wordRight - 26;
    return LayoutPlayer{
        .grid = {LAYOUT_TWO_GRID_LEFT[p], LAYOUT_TWO_GRID_TOP},
        .scoreLabel = {x, y, TXT_ALIGN_LEFT, true},
        .scoreValue = {x + 56, y, TXT_ALIGN_LEFT, true},
        .wordPanel = {x - 5, y + 13, x + 206, y + 176},
        .recent = {{headingX, y + 16, TXT_ALIGN_CENTRE, true}, wordRight, wordRight + 8, y + 29, 11, 7},
        .best = {{headingX, y + 112, TXT_ALIGN_CENTRE, true}, wordRight, wordRight + 8, y + 125, 11, 4},
        // Player 0's at the left edge, player 1's at the right, clear of the status line.
        .result = p == 0 ? LayoutText{x, y + 182, TXT_ALIGN_LEFT, true}
                         : LayoutText{x + 200, y + 182, TXT_ALIGN_RIGHT, true},
        // In place of the last two rows of recent words, centred on the plate,
        // so that the longest line stays clear of the objective between the
        // two panels.
        .gridWords = {{x + 102, y + 84, TXT_ALIGN_CENTRE, true}, 11, 5},
    };
}

constexpr ScreenLayout LAYOUT_TWO_PLAYER = {
    .players = {layoutTwoPlayer(0), layoutTwoPlayer(1)},
    // Each cell is hit-tested over its whole pitch, centred on its letter.
    .gridHitLeft = static_cast<float>(LAYOUT_TWO_GRID_LEFT[0] - 4),
    .gridHitTop = static_cast<float>(LAYOUT_TWO_GRID_TOP - 4),
    .gridHitWidth = static_cast<float>(LAYOUT_GRID_CELLS * LAYOUT_CELL_PITCH),
    .gridHitHeight = static_cast<float>(LAYOUT_GRID_CELLS * LAYOUT_CELL_PITCH),
    .gridHover = {LAYOUT_TWO_GRID_LEFT[0] - 4, LAYOUT_TWO_GRID_TOP - 4,
                  LAYOUT_TWO_GRID_LEFT[0] - 4 + LAYOUT_GRID_CELLS * LAYOUT_CELL_PITCH,
                  LAYOUT_TWO_GRID_TOP - 4 + LAYOUT_GRID_CELLS * LAYOUT_CELL_PITCH},
    .upperButton = LAYOUT_TWO_UPPER_BUTTON,
    .lowerButton = LAYOUT_TWO_LOWER_BUTTON,
    .upperHover = layoutButtonHover(LAYOUT_TWO_UPPER_BUTTON),
    .lowerHover = layoutButtonHover(LAYOUT_TWO_LOWER_BUTTON),
    .buttonBlank = LAYOUT_NO_RECT,
    .life = {{LAYOUT_TWO_BAR_LEFT, LAYOUT_TWO_LIFE_TOP},
             {LAYOUT_TWO_GAUGE_ROW_LEFT, LAYOUT_TWO_LIFE_TOP, LAYOUT_TWO_GAUGE_ROW_RIGHT, LAYOUT_TWO_LIFE_TOP + 20}},
    .drag = {{LAYOUT_TWO_BAR_LEFT, LAYOUT_TWO_DRAG_TOP},
             {LAYOUT_TWO_GAUGE_ROW_LEFT, LAYOUT_TWO_DRAG_TOP, LAYOUT_TWO_GAUGE_ROW_RIGHT, LAYOUT_TWO_DRAG_TOP + 20}},
    // The two-player background has no CYCLE row at all.
    .cycle = {{0, 0}, LAYOUT_NO_RECT},
    .tipPanel = LAYOUT_TWO_TIP_PANEL,
    .tipText = {140, 26, 360, 12, 16},
    .tipHidesGrids = false,
    .continueButton = LAYOUT_TWO_CONTINUE,
    .doNotShowButton = LAYOUT_TWO_DO_NOT_SHOW,
    .continueHover = layoutButtonHover(LAYOUT_TWO_CONTINUE),
    .doNotShowHover = layoutButtonHover(LAYOUT_TWO_DO_NOT_SHOW),
    .levelBonusLabel = LAYOUT_NO_TEXT,
    .levelBonusValue = LAYOUT_NO_TEXT,
    .levelLabel = {320, 14, TXT_ALIGN_CENTRE, true},
    .levelValue = {320, 27, TXT_ALIGN_CENTRE, true},
    .objectiveLabel = {320, 328, TXT_ALIGN_CENTRE, true},
    .objectiveText = {LAYOUT_TWO_GAUGE_ROW_LEFT, 341, 192, 11, 3},
    .prompt = {320, 450, TXT_ALIGN_CENTRE, true},
    .footer = {320, 464, TXT_ALIGN_CENTRE, true},
    .gameOver = LAYOUT_NO_TEXT,
    .titleRight = {320 + 6 * LAYOUT_TITLE_PITCH - 1, 392},
};

// The layout of the game now running: one or two players.
const ScreenLayout& layoutNow();
