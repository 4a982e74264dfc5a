// Where every picture sits on the sprite sheet "ALL". Rectangles are sheet
// pixels, left and top inclusive, right and bottom exclusive. The sheet tool
// draws to these numbers and the game copies from them, so both include this.
#pragma once

#include <cstdint>

struct SheetRect {
    int32_t left, top, right, bottom;
};

constexpr const char* SHEET_NAME = "ALL";
constexpr int32_t SHEET_WIDTH = 800;
constexpr int32_t SHEET_HEIGHT = 1044;

// Palette indices with a fixed meaning: black is the transparent colour of
// every keyed copy.
constexpr uint8_t SHEET_INDEX_BLACK = 0;
constexpr uint8_t SHEET_INDEX_WHITE = 255;

// ---- Backgrounds (copied opaque to 0,0) ------------------------------------

// Both cover the whole screen, so nothing of an earlier frame is left at an edge.
constexpr SheetRect SHEET_BACKGROUND_ONE_PLAYER = {0, 0, 640, 480};
constexpr SheetRect SHEET_BACKGROUND_TWO_PLAYER = {0, 564, 640, 1044};

// Tiled over the whole screen while paused (8 x 6 copies, opaque).
constexpr SheetRect SHEET_PAUSE_TILE = {440, 110, 520, 190};
constexpr int32_t SHEET_PAUSE_TILE_SIZE = 80;

// The plain background colour fills rows 0..20 across the sheet and columns
// 0..145 down to row 476; blanking copies take (0,0)-(w,h) from inside it.
constexpr int32_t SHEET_PLAIN_TOP_HEIGHT = 21;
constexpr int32_t SHEET_PLAIN_LEFT_WIDTH = 146;
constexpr int32_t SHEET_PLAIN_LEFT_HEIGHT = 477;
constexpr SheetRect sheetPlainPatch(int32_t width, int32_t height) { return SheetRect{0, 0, width, height}; }

// The full gauges the backgrounds show (screen position = sheet position).
constexpr int32_t SHEET_GAUGE_LEFT = 236;
constexpr int32_t SHEET_GAUGE_WIDTH = 132;
constexpr int32_t SHEET_GAUGE_HEIGHT = 14;
constexpr int32_t SHEET_GAUGE_LIFE_TOP = 293;
constexpr int32_t SHEET_GAUGE_DRAG_TOP = 322;
constexpr int32_t SHEET_GAUGE_CYCLE_TOP = 350;

// ---- Cell marks: 31 x 31, five in a row, keyed --------------------------------

// Right of the one-player background and below the buttons, where no
// background copy reaches: marks inside a background showed at the screen's edge.
constexpr int32_t SHEET_MARK_LEFT = 643;
constexpr int32_t SHEET_MARK_TOP = 440;
constexpr int32_t SHEET_MARK_SIZE = 31;
constexpr int32_t SHEET_MARK_MAGENTA = 0;   // filled square
constexpr int32_t SHEET_MARK_NOTHING = 1;   // all black: shows nothing
constexpr int32_t SHEET_MARK_WHITE = 2;     // filled square
constexpr int32_t SHEET_MARK_GREEN = 3;     // outline
constexpr int32_t SHEET_MARK_RED = 4;       // outline
constexpr int32_t SHEET_MARK_COUNT = 5;
constexpr SheetRect sheetCellMark(int32_t position) {
    return SheetRect{SHEET_MARK_LEFT + SHEET_MARK_SIZE * position, SHEET_MARK_TOP,
                     SHEET_MARK_LEFT + SHEET_MARK_SIZE * (position + 1), SHEET_MARK_TOP + SHEET_MARK_SIZE};
}

// ---- Big font: yellow tiles, keyed ------------------------------------------

constexpr const char* SHEET_BIG_CHARS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int32_t SHEET_BIG_CHAR_COUNT = 36;
constexpr int32_t SHEET_BIG_PITCH = 28;
constexpr int32_t SHEET_BIG_HEIGHT = 27;
// Letters A..Z: 27 x 27 at 28 i, row 509.
constexpr int32_t SHEET_BIG_LETTER_TOP = 509;
constexpr int32_t SHEET_BIG_LETTER_WIDTH = 27;
constexpr SheetRect sheetBigLetter(int32_t i) {
    return SheetRect{SHEET_BIG_PITCH * i, SHEET_BIG_LETTER_TOP, SHEET_BIG_PITCH * i + SHEET_BIG_LETTER_WIDTH,
                     SHEET_BIG_LETTER_TOP + SHEET_BIG_HEIGHT};
}
// Digits 0..9: 28 x 27 at 364 + 28 d, row 481.
constexpr int32_t SHEET_BIG_DIGIT_LEFT = 364;
constexpr int32_t SHEET_BIG_DIGIT_TOP = 481;
constexpr int32_t SHEET_BIG_DIGIT_WIDTH = 28;
constexpr SheetRect sheetBigDigit(int32_t d) {
    return SheetRect{SHEET_BIG_DIGIT_LEFT + SHEET_BIG_PITCH * d, SHEET_BIG_DIGIT_TOP,
                     SHEET_BIG_DIGIT_LEFT + SHEET_BIG_PITCH * d + SHEET_BIG_DIGIT_WIDTH,
                     SHEET_BIG_DIGIT_TOP + SHEET_BIG_HEIGHT};
}

// ---- Small font: 8 x 12, white on black, keyed ------------------------------

constexpr const char* SHEET_SMALL_CHARS =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789,.'\"!-?():/";
constexpr int32_t SHEET_SMALL_CHAR_COUNT = 73;
constexpr int32_t SHEET_SMALL_TOP = 552;
constexpr int32_t SHEET_SMALL_WIDTH = 8;
constexpr int32_t SHEET_SMALL_HEIGHT = 12;
constexpr SheetRect sheetSmallGlyph(int32_t i) {
    return SheetRect{SHEET_SMALL_WIDTH * i, SHEET_SMALL_TOP, SHEET_SMALL_WIDTH * (i + 1),
                     SHEET_SMALL_TOP + SHEET_SMALL_HEIGHT};
}

// ---- Mouse pointer: keyed, its left edge 3 pixels left of the hot spot --------

constexpr SheetRect SHEET_POINTER = {602, 537, 623, 556};
constexpr int32_t SHEET_POINTER_HOT_X = 3;

// ---- Panel: nine pieces, keyed --------------------------------------------------

// In the strip right of the two-player background, where no opaque copy
// reaches: pieces inside a background showed as a stray frame on every frame.
// The first and middle columns stand side by side, the last column below the
// first; in each column the rows follow one another from its top.
constexpr int32_t SHEET_PANEL_FIRST = 0;   // left column / top row
constexpr int32_t SHEET_PANEL_MIDDLE = 1;
constexpr int32_t SHEET_PANEL_LAST = 2;    // right column / bottom row
constexpr int32_t SHEET_PANEL_WIDTH[3] = {46, 100, 46};
constexpr int32_t SHEET_PANEL_HEIGHT[3] = {46, 100, 46};
constexpr int32_t SHEET_PANEL_COLUMN_X[3] = {648, 694, 648};
constexpr int32_t SHEET_PANEL_COLUMN_Y[3] = {566, 566, 760};
constexpr int32_t SHEET_PANEL_ROW_OFFSET[3] = {0, 46, 146};
constexpr SheetRect sheetPanelPiece(int32_t columnKind, int32_t rowKind) {
    const int32_t left = SHEET_PANEL_COLUMN_X[columnKind];
    const int32_t top = SHEET_PANEL_COLUMN_Y[columnKind] + SHEET_PANEL_ROW_OFFSET[rowKind];
    return SheetRect{left, top, left + SHEET_PANEL_WIDTH[columnKind], top + SHEET_PANEL_HEIGHT[rowKind]};
}

// ---- Buttons: 95 x 63, keyed ----------------------------------------------------

constexpr int32_t SHEET_BUTTON_WIDTH = 95;
constexpr int32_t SHEET_BUTTON_HEIGHT = 63;
constexpr SheetRect SHEET_BUTTON_CONTINUE = {673, 44, 768, 107};
constexpr SheetRect SHEET_BUTTON_DO_NOT_SHOW = {673, 107, 768, 170};
constexpr SheetRect SHEET_BUTTON_START_DRAG = {673, 170, 768, 233};
constexpr SheetRect SHEET_BUTTON_STOP_DRAG = {673, 234, 768, 297};
constexpr SheetRect SHEET_BUTTON_ENTER_GAME = {673, 298, 768, 361};
// Laid over a button that cannot be used now.
constexpr SheetRect SHEET_BUTTON_HATCHING = {673, 362, 768, 425};
