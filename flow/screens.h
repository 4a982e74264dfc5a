// What each screen shows and where: the HUD and grids of the play screen, the
// state texts, the pause screen and the banner. The frame update calls these
// in its fixed order; the background and the pointer are its own.
#pragma once

#include <cstdint>

// "PAUSED - PRESS P TO UNPAUSE", shaking, centred under the grid.
void scrDrawPauseLine();
// The sound notice, when one is due, where the pause line stands; for the
// paused screens that show no pause line.
void scrDrawSoundNotice();
// The shaking "GAME OVER" of a one-player game, or the result texts of a
// two-player game (none on a draw).
void scrDrawGameOverText();
// The unpaused screen, placed by the layout of the game now running: buttons,
// gauge bars, each player's grid and texts, the shared texts, and an open tip
// (in place of the grid, or in a panel over both grids). Drawing START DRAG
// or STOP DRAG offers its tip, which may switch the state to the tip screen.
void scrDrawPlayScreen();
// The paused screen's contents over the tiled background: high scores, keys
// and the instructions under their heading. Not drawn while the
// key-definition screen is open; that screen draws itself (keyDefScreenDraw).
void scrDrawPauseScreen();

// The instructions under the pause screen's "Instructions:" heading, in the
// small font, centred at x 320: the goal, then each player's keys as the
// bindings now stand. At most SCR_HELP_MAX_LINES lines of SCR_HELP_CHARS
// characters, from y SCR_HELP_TOP, so the last ends above the screen's bottom.
constexpr int32_t SCR_HELP_TOP = 374;
constexpr int32_t SCR_HELP_PITCH = 11;
constexpr int32_t SCR_HELP_MAX_LINES = 9;
constexpr int32_t SCR_HELP_CHARS = 74;
struct ScrTextLine {
    int32_t y;
    char text[SCR_HELP_CHARS + 1];
};
// Fills `lines` (SCR_HELP_MAX_LINES of them); returns how many.
int32_t scrInstructionLines(ScrTextLine* lines);
// The banner box with its text, when a banner is set.
void scrDrawBanner();

// Screen x of the letter in column c of player p's grid (the grids stand side
// by side in a two-player game); rows are at scrCellY.
int32_t scrCellX(int32_t p, int32_t c);
int32_t scrCellY(int32_t r);
// The two-player result shown at game over: -2 player 0 is routed, -1 player 0
// loses, 0 a draw (nothing shown), 1 player 0 wins, 2 player 0 triumphs.
int32_t scrTwoPlayerResult();
