#include "flow/screens.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "Core/cmrand.h"
#include "flow/frame.h"
#include "flow/gridwords.h"
#include "game/gamestate.h"
#include "flow/keydefs.h"
#include "flow/layout.h"
#include "flow/soundkeys.h"
#include "game/banner.h"
#include "game/dragmode.h"
#include "game/gauge.h"
#include "game/grid.h"
#include "game/level.h"
#include "game/objective.h"
#include "game/path.h"
#include "game/pointer.h"
#include "game/score.h"
#include "game/solver.h"
#include "game/tips.h"
#include "persist/hiscores.h"
#include "video/display.h"
#include "video/sheetlayout.h"
#include "video/sprite.h"
#include "video/text.h"

int32_t scrCellX(int32_t p, int32_t c)
{
    // A one-player game has only player 0's grid; anything asked of player 1 draws there too.
    const int32_t player = twoPlayer && p == 1 ? 1 : 0;
    return layoutNow().players[player].grid.x + LAYOUT_CELL_PITCH * c;
}

int32_t scrCellY(int32_t r)
{
    return layoutNow().players[0].grid.y + LAYOUT_CELL_PITCH * r;
}

// Where player p's cell (c, r) is drawn: on a turned view, where the cell
// opposite the grid's centre would stand.
static LayoutPoint scrCellAt(int32_t p, int32_t c, int32_t r)
{
    if (p >= 0 && p < MAX_PLAYERS && viewTurned[p]) {
        c = GRID_SIZE - 1 - c;
        r = GRID_SIZE - 1 - r;
    }
    return LayoutPoint{scrCellX(p, c), scrCellY(r)};
}

static void scrDrawMark(int32_t p, int32_t c, int32_t r, int32_t kind)
{
    const LayoutPoint at = scrCellAt(p, c, r);
    sprDrawCellMark(at.x, at.y, kind, frameCounter);
}

// -1, 0 or +1; the two draws are sequenced so a seed replays the same shake.
static int32_t scrShake()
{
    int32_t a = cmRand() % 2;
    int32_t b = cmRand() % 2;
    return a - b;
}

static void scrDrawShakingText(const char* text, int32_t x, int32_t y, int32_t align)
{
    int32_t dx = scrShake();
    int32_t dy = scrShake();
    txtDrawSmallString(text, x + dx, y + dy, align);
}

static void scrDrawNumber(int32_t value, int32_t x, int32_t y, int32_t align)
{
    // Written out by hand, as "%d" would: the play screen draws several numbers
    // every frame and the general formatter costs more than the drawing.
    char text[16];
    char* p = text + sizeof text - 1;
    *p = '\0';
    // Digits from the magnitude in an unsigned type, so the most negative value works.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--p = '-';
    }
    txtDrawSmallString(p, x, y, align);
}

// A word row of a fixed-size record, drawn even if it lost its terminator.
static void scrDrawRow(const char* row, int32_t size, int32_t x, int32_t y, int32_t align)
{
    char text[64];
    int32_t n = static_cast<int32_t>(strnlen(row, static_cast<size_t>(size)));
    if (n > static_cast<int32_t>(sizeof text) - 1) {
        n = static_cast<int32_t>(sizeof text) - 1;
    }
    memcpy(text, row, static_cast<size_t>(n));
    text[n] = '\0';
    txtDrawSmallString(text, x, y, align);
}

static void scrDrawButton(LayoutPoint at, const SheetRect& r)
{
    vidBlitRect(at.x, at.y, r.left, r.top, r.right, r.bottom);
}

static void scrDrawText(const LayoutText& at, const char* text)
{
    if (at.shown) {
        txtDrawSmallString(text, at.x, at.y, at.align);
    }
}

static void scrDrawNumberAt(const LayoutText& at, int32_t value)
{
    if (at.shown) {
        scrDrawNumber(value, at.x, at.y, at.align);
    }
}

static void scrClearLayoutRect(const LayoutRect& r)
{
    if (r.right > r.left && r.bottom > r.top) {
        sprClearRect(r.left, r.top, r.right, r.bottom);
    }
}

void scrDrawPauseLine()
{
    const char* notice = soundNoticeText(frameInput.time);
    scrDrawShakingText(notice != nullptr ? notice : "PAUSED - PRESS P TO UNPAUSE", 320, 230, TXT_ALIGN_CENTRE);
}

void scrDrawSoundNotice()
{
    if (const char* notice = soundNoticeText(frameInput.time)) txtDrawSmallString(notice, 320, 230, TXT_ALIGN_CENTRE);
}

int32_t scrTwoPlayerResult()
{
    int64_t s0 = playerState[0].score;
    int64_t s1 = playerState[1].score;
    if (s0 == s1) {
        return 0;
    }
    // Twice the other's score (or anything against nothing) is a rout.
    if (s0 > s1) {
        return s0 >= 2 * s1 ? 2 : 1;
    }
    return s1 >= 2 * s0 ? -2 : -1;
}

void scrDrawGameOverText()
{
    const ScreenLayout& layout = layoutNow();
    if (!twoPlayer) {
        const LayoutText& at = layout.gameOver;
        scrDrawShakingText("GAME OVER", at.x, at.y, at.align);
        return;
    }
    static const char* const leftTexts[5] = {"DISASTER", "YOU LOSE", "", "YOU WIN", "TRIUMPH"};
    static const char* const rightTexts[5] = {"TRIUMPH", "YOU WIN", "", "YOU LOSE", "DISASTER"};
    int32_t result = scrTwoPlayerResult();
    if (result == 0) {
        return;
    }
    // Each under its own player's words.
    const LayoutText& left = layout.players[0].result;
    const LayoutText& right = layout.players[1].result;
    scrDrawShakingText(leftTexts[result + 2], left.x, left.y, left.align);
    scrDrawShakingText(rightTexts[result + 2], right.x, right.y, right.align);
}

static void scrDrawButtonColumn(const ScreenLayout& layout)
{
    scrClearLayoutRect(layout.buttonBlank);
    // The mouse is player 0's: START DRAG also lets it join player 1's Drag Mode.
    if (dragStartAvailableFor(0) || (gameState == STATE_TIP && tipIndex == TIP_DRAG_AVAILABLE)) {
        scrDrawButton(layout.upperButton, SHEET_BUTTON_START_DRAG);
        tipShowIfAllowed(TIP_DRAG_AVAILABLE);
        // The tip opened over it (now or earlier): the button cannot be used meanwhile.
        if (gameState == STATE_TIP) {
            scrDrawButton(layout.upperButton, SHEET_BUTTON_HATCHING);
        }
    } else if (dragModeActive()) {
        scrDrawButton(layout.lowerButton, SHEET_BUTTON_STOP_DRAG);
        tipShowIfAllowed(TIP_DRAG_RUNNING);
        if (gameState == STATE_TIP) {
            scrDrawButton(layout.lowerButton, SHEET_BUTTON_HATCHING);
        }
    } else if (enterGameButtonShown()) {
        scrDrawButton(layout.lowerButton, SHEET_BUTTON_ENTER_GAME);
    }
}

static void scrDrawGaugeBars(const ScreenLayout& layout)
{
    if (gameState == STATE_TIP) {
        // The tip screen hides the gauges; in a one-player game its buttons stand there.
        scrClearLayoutRect(layout.life.row);
        scrClearLayoutRect(layout.drag.row);
    } else {
        sprDrawBarCover(layout.life.bar.x, layout.life.bar.y, lifeGauge.level, lifeGauge.fullLevel, false);
        // Hidden on every other frame while Drag Mode runs, so it blinks.
        sprDrawBarCover(layout.drag.bar.x, layout.drag.bar.y, dragGauge.level, dragGauge.fullLevel,
                        blinkPhase && dragGauge.running);
    }
    // The CYCLE gauge is never shown.
    scrClearLayoutRect(layout.cycle.row);
}

static void scrDrawTipButtons(const ScreenLayout& layout)
{
    if (gameState == STATE_TIP && !bannerShowing()) {
        scrDrawButton(layout.continueButton, SHEET_BUTTON_CONTINUE);
        scrDrawButton(layout.doNotShowButton, SHEET_BUTTON_DO_NOT_SHOW);
    }
}

static void scrDrawTipText(const ScreenLayout& layout)
{
    if (gameState == STATE_TIP && !bannerShowing() && tipIndex >= 0 && tipIndex < TIP_COUNT) {
        const LayoutTextBox& box = layout.tipText;
        txtDrawWrappedSmall(tipTexts[tipIndex], box.x, box.y, box.width, box.lineHeight);
    }
}

static int32_t scrClampCount(int32_t n, int32_t max)
{
    return n < 0 ? 0 : (n > max ? max : n);
}

static void scrDrawPathMarks(int32_t p)
{
    // The hint lights its cells under everything else.
    for (int32_t i = 0; i < scrClampCount(solverHintCells[p], SOLVER_HINT_LETTERS); i++) {
        scrDrawMark(p, solverHintX[p][i], solverHintY[p][i], SPR_MARK_HINT);
    }
    // Under the path: a new word over the same cells hides them.
    int32_t refused = scrClampCount(notWordLength[p], maxWordLength);
    for (int32_t i = 0; i < refused; i++) {
        scrDrawMark(p, notWordX[p][i], notWordY[p][i], SPR_MARK_NOT_A_WORD);
    }
    int32_t n = scrClampCount(wordLength[p], maxWordLength);
    for (int32_t i = 0; i + 1 < n; i++) {
        int32_t kind = i == n - 2 ? SPR_MARK_PREVIOUS : SPR_MARK_PATH;
        scrDrawMark(p, pathX[p][i], pathY[p][i], kind);
    }
    if (highlightOn[p]) {
        scrDrawMark(p, prevCellX[p], prevCellY[p], SPR_MARK_BLINK);
    }
}

// Row 5 of the level intro, a line of text: on a turned view the line stands
// upside down where the turn takes it, its last letter first.
static void scrDrawMessageLine(int32_t p, const char* row)
{
    char text[GRID_MESSAGE_ROW_SIZE + 1];
    const int32_t n = static_cast<int32_t>(strnlen(row, GRID_MESSAGE_ROW_SIZE));
    memcpy(text, row, static_cast<size_t>(n));
    text[n] = '\0';
    const int32_t x = scrCellX(p, 0) + LAYOUT_MESSAGE_TEXT_DX;
    const int32_t y = scrCellY(0) + LAYOUT_MESSAGE_TEXT_DY;
    if (!(p >= 0 && p < MAX_PLAYERS && viewTurned[p])) {
        txtDrawSmallString(text, x, y, TXT_ALIGN_LEFT);
        return;
    }
    // The grid's letters span this much; the turn maps a point at d from its
    // origin to span - d.
    constexpr int32_t span = (GRID_SIZE - 1) * LAYOUT_CELL_PITCH + LAYOUT_TILE_SIZE;
    const int32_t left = scrCellX(p, 0) + span - LAYOUT_MESSAGE_TEXT_DX - n * TXT_SMALL_ADVANCE;
    const int32_t top = scrCellY(0) + span - LAYOUT_MESSAGE_TEXT_DY - TXT_SMALL_HEIGHT;
    txtDrawSmallStringTurned(text, left, top);
}

static void scrDrawPlayerGrid(const ScreenLayout& layout, int32_t p)
{
    if (gameState == STATE_TIP && !bannerShowing() && layout.tipHidesGrids) {
        scrDrawTipText(layout);
        return;
    }
    bool messageRows = gameState == STATE_LEVEL_INTRO || gameState == STATE_NO_DICTIONARY;
    if (!messageRows && gameState != STATE_TIP) {
        scrDrawPathMarks(p);
    }

    int32_t rows = scrClampCount(gridRows, GRID_SIZE);
    int32_t cols = scrClampCount(gridCols, GRID_SIZE);
    for (int32_t r = 0; r < rows; r++) {
        const char* messageRow = gridMessageRows[p][r];
        int32_t messageLength = static_cast<int32_t>(strnlen(messageRow, GRID_MESSAGE_ROW_SIZE));
        if (messageRows && r == 5) {
            // The objective line is text, not tiles.
            scrDrawMessageLine(p, messageRow);
            continue;
        }
        for (int32_t c = 0; c < cols; c++) {
            char letter[2] = {'\0', '\0'};
            if (messageRows) {
                // Past a short row's end stands old text: the row ends at its terminator.
                letter[0] = c < messageLength ? messageRow[c] : '\0';
            } else {
                letter[0] = wordgrid[p][r][c];
            }
            const LayoutPoint at = scrCellAt(p, c, r);
            int32_t x = at.x;
            int32_t y = at.y;
            if (vanishMark[p][r][c] && gameState != STATE_LEVEL_INTRO) {
                x += scrShake();
                y += scrShake();
            }
            if (viewTurned[p]) {
                txtDrawBigCharTurned(letter[0], x, y);
            } else {
                txtDrawBigString(letter, x, y, TXT_ALIGN_LEFT);
            }
        }
    }

    // Each player's box while that player's pointer or cursor stands on a cell.
    if (gameState != STATE_LEVEL_INTRO && frameInput.players[p].hoverTarget == HOVER_GRID) {
        scrDrawMark(p, cursorX[p], cursorY[p], SPR_MARK_CURSOR);
    }
}

// Rows of words with their scores. A best-word row with score 0 is empty: it
// holds an earlier game's word. A recent row shows its word always (row 0 is
// the word in progress) and its score when it has one.
static void scrDrawWordList(const LayoutWordList& list, const PlayerState& ps, bool best)
{
    scrDrawText(list.heading, best ? "Best words:" : "Most recent words:");
    int32_t rows = scrClampCount(ps.wordRowCount, list.rows < WORD_ROWS_SHOWN ? list.rows : WORD_ROWS_SHOWN);
    for (int32_t i = 0; i < rows; i++) {
        int32_t y = list.top + list.pitch * i;
        int32_t score = best ? ps.bestWords[i].score : ps.recentScores[i];
        if (best && score == 0) {
            continue;
        }
        if (score != 0) {
            scrDrawNumber(score, list.scoreLeft, y, TXT_ALIGN_LEFT);
        }
        scrDrawRow(best ? ps.bestWords[i].word : ps.recentWords[i], WORD_ROW_CHARS, list.wordRight, y,
                   TXT_ALIGN_RIGHT);
    }
}

static void scrDrawPlayerTexts(const LayoutPlayer& at, const PlayerState& ps, int32_t p)
{
    scrDrawText(at.scoreLabel, "Score:");
    scrDrawNumberAt(at.scoreValue, ps.score);
    LayoutWordList recent = at.recent;
    if (gridWordsShown(p)) {
        recent.rows = scrClampCount(recent.rows, at.gridWords.recentRows);
        gridWordsDraw(at.gridWords, p);
    }
    scrDrawWordList(recent, ps, false);
    scrDrawWordList(at.best, ps, true);
}

static void scrDrawSharedTexts(const ScreenLayout& layout)
{
    if (gameState == STATE_PLAYING) {
        scrDrawText(layout.levelBonusLabel, "Level bonus:");
        scrDrawNumberAt(layout.levelBonusValue, levelBonus());
    }
    scrDrawText(layout.levelLabel, "Level");
    // Counted from 1, as the intro's LEVEL n counts the levels done.
    scrDrawNumberAt(layout.levelValue, levelNumber + 1);
    scrDrawText(layout.objectiveLabel, "Objective:");
    char objectiveLine[OBJECTIVE_TEXT_SIZE];
    objectiveText(objectiveLine, OBJECTIVE_FORM_PROGRESS);
    const LayoutTextBox& box = layout.objectiveText;
    if (box.width > 0) {
        txtDrawWrappedSmall(objectiveLine, box.x, box.y, box.width, box.lineHeight);
    } else {
        txtDrawSmallString(objectiveLine, box.x, box.y, TXT_ALIGN_LEFT);
    }
    scrDrawText(layout.footer, "Press P to pause and view instructions");
}

// The tip over both grids: its panel as the backdrop, its text and buttons inside.
static void scrDrawTipPanel(const ScreenLayout& layout)
{
    if (gameState != STATE_TIP || bannerShowing() || layout.tipPanel.columns < 0) {
        return;
    }
    sprDrawPanel(layout.tipPanel.x, layout.tipPanel.y, layout.tipPanel.columns, layout.tipPanel.rows);
    scrDrawTipText(layout);
    scrDrawTipButtons(layout);
}

void scrDrawPlayScreen()
{
    const ScreenLayout& layout = layoutNow();
    scrDrawButtonColumn(layout);
    scrDrawGaugeBars(layout);
    if (layout.tipHidesGrids) {
        scrDrawTipButtons(layout);
    }
    int32_t players = twoPlayer ? 2 : 1;
    for (int32_t p = 0; p < players; p++) {
        scrDrawPlayerGrid(layout, p);
        scrDrawPlayerTexts(layout.players[p], playerState[p], p);
    }
    scrDrawSharedTexts(layout);
    scrDrawTipPanel(layout);
}

void scrDrawPauseScreen()
{
    txtDrawSmallString("High scores:", 320, 50, TXT_ALIGN_CENTRE);
    int32_t rows = scrClampCount(hiScoreCount, HISCORE_ROWS);
    for (int32_t i = 0; i < rows; i++) {
        const HiScoreRow& row = hiScores[i];
        char word[HISCORE_TEXT];
        char wordScore[HISCORE_TEXT];
        snprintf(word, sizeof word, "%.*s", HISCORE_TEXT - 1, row.word);
        snprintf(wordScore, sizeof wordScore, "%.*s", HISCORE_TEXT - 1, row.wordScoreText);
        char text[64];
        int32_t y = 61 + 11 * i;
        snprintf(text, sizeof text, "MR %s", word);
        txtDrawSmallString(text, 315, y, TXT_ALIGN_RIGHT);
        snprintf(text, sizeof text, "%d/%s", row.score, wordScore);
        txtDrawSmallString(text, 325, y, TXT_ALIGN_LEFT);
    }

    txtDrawSmallString("Keys:", 320, 273, TXT_ALIGN_CENTRE);
    static const char* const keys[6][2] = {
        {"K", "View/Redefine Player Keys (from this screen)"},
        {"F1", "New One Player Game"},
        {"F2", "New Two Player Game"},
        {"F3", "Player One View Upside-Down"},
        {"F4", "Player Two View Upside-Down"},
        {"Escape", "Quit"},
    };
    for (int32_t k = 0; k < 6; k++) {
        int32_t y = 295 + 11 * k;
        txtDrawSmallString(keys[k][0], 210, y, TXT_ALIGN_RIGHT);
        txtDrawSmallString("-", 220, y, TXT_ALIGN_CENTRE);
        txtDrawSmallString(keys[k][1], 230, y, TXT_ALIGN_LEFT);
    }
    txtDrawSmallString("Instructions:", 320, 363, TXT_ALIGN_CENTRE);
    ScrTextLine lines[SCR_HELP_MAX_LINES];
    int32_t count = scrInstructionLines(lines);
    for (int32_t i = 0; i < count; i++) {
        txtDrawSmallString(lines[i].text, 320, lines[i].y, TXT_ALIGN_CENTRE);
    }
}

// Breaks `text` at blanks into lines of at most SCR_HELP_CHARS characters,
// appended from lines[count]; returns the new count. A line that would pass
// SCR_HELP_MAX_LINES is counted but not kept, so the caller sees the overflow.
static int32_t scrWrapInto(const char* text, ScrTextLine* lines, int32_t count)
{
    const char* p = text;
    while (*p != '\0') {
        while (*p == ' ') p++;
        if (*p == '\0') break;
        int32_t n = static_cast<int32_t>(strlen(p));
        if (n > SCR_HELP_CHARS) {
            // The last blank that leaves the line short enough; a word longer
            // than a line (none of ours is) is cut.
            n = SCR_HELP_CHARS;
            while (n > 0 && p[n] != ' ') n--;
            if (n == 0) n = SCR_HELP_CHARS;
        }
        if (count < SCR_HELP_MAX_LINES) {
            snprintf(lines[count].text, sizeof lines[count].text, "%.*s", static_cast<int>(n), p);
            lines[count].y = SCR_HELP_TOP + SCR_HELP_PITCH * count;
        }
        count++;
        p += n;
    }
    return count;
}

// "P1: LEFT A, RIGHT D, UP W, DOWN S, DROP SPACE", with the names the
// key-definition screen gives the current bindings.
static void scrPlayerKeysText(int32_t player, char* text, size_t size)
{
    char names[5][KEY_NAME_SIZE];
    const int32_t* keys[5] = {keyLeft, keyRight, keyUp, keyDown, keyDrop};
    for (int32_t c = 0; c < 5; c++) {
        keyNameFormat(names[c], keys[c][player], KEYDEF_CONTROLS * player + c);
    }
    snprintf(text, size, "P%d: LEFT %s, RIGHT %s, UP %s, DOWN %s, DROP %s", player + 1, names[0], names[1], names[2],
             names[3], names[4]);
}

int32_t scrInstructionLines(ScrTextLine* lines)
{
    static const char* const goal =
        "Press on a letter and drag across its neighbours, any way, to spell a word of 3 to 15 letters. Let go to "
        "score it. Words refill LIFE: when it runs out, the game is over. Meet the objective to finish the level. "
        "The keys below steer a cursor instead, and DROP works as the mouse button.";
    static const char* const tip = "Press T in play for a tip, H for a hint (a tenth of the level bonus).";
    static const char* const sound = "M turns the sound off and on. Minus and plus here set its volume.";
    char keys[MAX_PLAYERS][6 * KEY_NAME_SIZE];
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        scrPlayerKeysText(p, keys[p], sizeof keys[p]);
    }
    int32_t count = scrWrapInto(goal, lines, 0);
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        count = scrWrapInto(keys[p], lines, count);
    }
    count = scrWrapInto(tip, lines, count);
    count = scrWrapInto(sound, lines, count);
    if (count > SCR_HELP_MAX_LINES) {
        // Only very long key names get here; the key screen has room for them.
        count = scrWrapInto(goal, lines, 0);
        count = scrWrapInto("Press K to see both players' keys.", lines, count);
        count = scrWrapInto(tip, lines, count);
        count = scrWrapInto(sound, lines, count);
    }
    return count;
}

void scrDrawBanner()
{
    if (bannerIndex < 0 || bannerIndex >= BANNER_COUNT) {
        return;
    }
    const char* text = bannerTexts[bannerIndex];
    // A longer text wraps onto more lines and takes the taller box.
    int32_t rows = strlen(text) >= 16 ? 2 : 1;
    sprDrawPanel(150, 100, 2, rows);
    txtDrawWrappedBig(text, 200, 150, 220, 28);
}
