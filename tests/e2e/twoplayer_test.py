#!/usr/bin/env python3
"""Two players on one screen, played through the real game under a virtual X
server as two people sharing a keyboard and mouse would: F2 at game over starts
the game, the left player spells with the mouse while the right one spells with
keypad keys alone, both at the same time, and both scores reach hi.txt.

    twoplayer_test.py GAME_DIR [--screenshot PNG]

With --screenshot it also saves a picture of the two-player game in play (for the README).

GAME_DIR holds tarvoquelms, ALL and worddiction.txt (a build folder's game/).
"""
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import Game, check, failures, find_word, grid_letter_at, read_small_right, tile_mismatch, wait_for  # noqa: E402
from quit_test import dictionary_words, hiscore_rows, read_small_left, saved  # noqa: E402

# The default keys, each player's list ended by 0, then all eight tips marked seen,
# so no tip stands between the key presses and the grids.
PREFS_TIPS_SEEN = b"1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;1;1;1;1;1;1;1;1;1;"

# The two-player screen as flow/layout.h places it (LAYOUT_TWO_PLAYER).
GRID_ORIGIN = [(20, 12), (376, 12)]  # letter (0, 0) of each player's grid
CELL_PITCH = 36
PANEL = [(16, 268), (424, 268)]      # each player's score line; the word lists hang from it
SCORE_VALUE_DX = 56
WORD_RIGHT_DX = 152                  # words end here, right-aligned
RECENT_TOP_DY = 29                   # row 0 of the recent words: the word in progress
ROW_PITCH = 11
POINTER_REST = (600, 452)            # below the right-hand list, clear of everything in play

# The cursor box is the sheet's green outline, drawn 2 pixels up and left of the letter.
CURSOR_MARK_RECT = (643 + 3 * 31, 440, 643 + 4 * 31, 471)

# Player 2's keys by default: keypad 4 6 8 5 move the cursor, keypad 2 is DROP.
# The test turns Num Lock on first, so they arrive as digits; they are sent by
# their Num Lock-off names, else xdotool presses Num Lock around each key itself.
KEYPAD_STEP = {(-1, 0): "KP_Left", (1, 0): "KP_Right", (0, -1): "KP_Up", (0, 1): "KP_Begin"}
KEYPAD_DROP = "KP_Down"


def cell_origin(p, c, r):
    return GRID_ORIGIN[p][0] + CELL_PITCH * c, GRID_ORIGIN[p][1] + CELL_PITCH * r


def mouse_cell_centre(c, r):
    """The middle of player 1's cell (c, r): the mouse selects the cell drawn under it."""
    x, y = cell_origin(0, c, r)
    return x + 13, y + 13


def read_grid(screen, sheet, p):
    return [[grid_letter_at(screen, sheet, c, r, GRID_ORIGIN[p]) for c in range(7)] for r in range(7)]


def recent_word(screen, sheet, p, row):
    x, y = PANEL[p]
    return read_small_right(screen, sheet, x + WORD_RIGHT_DX, y + RECENT_TOP_DY + ROW_PITCH * row)


def shown_score(screen, sheet, p):
    x, y = PANEL[p]
    text = read_small_left(screen, sheet, x + SCORE_VALUE_DX, y)
    return int(text) if text else None


def cursor_cell(screen, sheet, p):
    """The cell of player p's grid with the cursor box round it, or None."""
    for r in range(7):
        for c in range(7):
            x, y = cell_origin(p, c, r)
            if tile_mismatch(screen, sheet, x - 2, y - 2, CURSOR_MARK_RECT) < 0.1:
                return c, r
    return None


def keypad_press(game, name):
    # Held for a frame or two and let go, and then a pause longer than the
    # cursor's 200 ms repeat, so each press moves it exactly one cell.
    game.xdo("keydown", name, "sleep", 0.06, "keyup", name)
    time.sleep(0.15)


def keypad_moves(start, end):
    """Keypad key names that take the cursor from `start` to `end`, columns first."""
    (c, r), (ec, er) = start, end
    keys = [KEYPAD_STEP[(1 if ec > c else -1, 0)]] * abs(ec - c)
    keys += [KEYPAD_STEP[(0, 1 if er > r else -1)]] * abs(er - r)
    return keys


def start_two_player_game(game):
    os.makedirs(game.saves, exist_ok=True)
    with open(os.path.join(game.saves, "prefs.txt"), "wb") as f:
        f.write(PREFS_TIPS_SEEN)
    game.start()
    sheet = game.sheet
    # Keypad keys are digits only with Num Lock on.
    game.key("Num_Lock")
    game.key("Escape")   # ends the first game: F2 acts at game over
    game.key("F2")
    welcome = lambda s: all(all(grid_letter_at(s, sheet, c, 0, GRID_ORIGIN[p]) == ch
                                for c, ch in enumerate("WELCOME")) for p in (0, 1))
    screen = wait_for(game, welcome, 5)
    check(welcome(screen), "F2 at game over starts a two-player game with the welcome rows on both grids")
    # Player 2's DROP leaves the intro for both.
    keypad_press(game, KEYPAD_DROP)
    game.move_to(*POINTER_REST)
    filled = lambda s: all(all(row) for p in (0, 1) for row in read_grid(s, sheet, p))
    screen = wait_for(game, filled, 5)
    return screen if check(filled(screen), "DROP on the keypad leaves the intro: both grids are whole, "
                                           "side by side, every cell a letter tile") else None


def spell_together(game, mouse_path, keypad_path):
    """Player 1 drags along `mouse_path` while player 2 holds DROP and steps along
    `keypad_path` with the keypad, a step of each in turn."""
    start = mouse_cell_centre(*mouse_path[0])
    game.move_to(*start)
    time.sleep(0.3)
    game.xdo("mousedown", 1)
    game.xdo("keydown", KEYPAD_DROP)
    time.sleep(0.3)
    for i in range(1, max(len(mouse_path), len(keypad_path))):
        if i < len(mouse_path):
            game.step_to(*mouse_cell_centre(*mouse_path[i]))
            time.sleep(0.3)
        if i < len(keypad_path):
            (c, r), (nc, nr) = keypad_path[i - 1], keypad_path[i]
            keypad_press(game, KEYPAD_STEP[(nc - c, nr - r)])
    game.xdo("mouseup", 1)
    game.xdo("keyup", KEYPAD_DROP)
    time.sleep(0.3)
    game.move_to(*POINTER_REST)


def play(game, screenshot):
    sheet = game.sheet
    screen = start_two_player_game(game)
    if screen is None:
        return
    words = dictionary_words(game)
    grids = [read_grid(screen, sheet, p) for p in (0, 1)]
    mouse_word = find_word(grids[0], words)
    # Cursor keys step left, right, up or down only: a diagonal would pass over another cell.
    keypad_word = find_word(grids[1], words, diagonal=False)
    if not (check(mouse_word is not None, "player 1's grid holds a word to spell with the mouse") and
            check(keypad_word is not None, "player 2's grid holds a word to spell with the keypad")):
        return
    print("     player 1 spells %s along %s with the mouse" % mouse_word)
    print("     player 2 spells %s along %s with the keypad" % keypad_word)

    cursor = cursor_cell(screen, sheet, 1)
    if not check(cursor is not None, "player 2's cursor box stands on a cell of the right-hand grid"):
        return
    for key in keypad_moves(cursor, keypad_word[1][0]):
        keypad_press(game, key)
    at = cursor_cell(game.shot(), sheet, 1)
    check(at == keypad_word[1][0], "the keypad moves player 2's cursor box a cell a press, to %r (at %r)" %
          (keypad_word[1][0], at))

    spell_together(game, mouse_word[1], keypad_word[1])
    # Row 0 is the word in progress; the newest accepted word is row 1.
    both = lambda s: recent_word(s, sheet, 0, 1) == mouse_word[0] and recent_word(s, sheet, 1, 1) == keypad_word[0]
    screen = wait_for(game, both, 5)
    check(recent_word(screen, sheet, 0, 1) == mouse_word[0],
          "player 1's recent words, under the left grid, start with %s (read %r)" %
          (mouse_word[0], recent_word(screen, sheet, 0, 1)))
    check(recent_word(screen, sheet, 1, 1) == keypad_word[0],
          "player 2's recent words, under the right grid, start with %s (read %r)" %
          (keypad_word[0], recent_word(screen, sheet, 1, 1)))

    time.sleep(2.5)  # the words' letters vanish and the grids refill
    screen = game.shot()
    scores = [shown_score(screen, sheet, p) for p in (0, 1)]
    check(all(s is not None and s > 0 for s in scores), "each player's score shows, above zero (read %r)" % scores)
    if screenshot:
        shutil.copy(os.path.join(game.work, "shot.png"), screenshot)

    game.key("Escape")   # ends the game: both scores are offered to the table
    game.key("Escape")   # quits
    code = game.wait_exit()
    check(code == 0, "Escape twice ends the game and quits with status 0 (got %r)" % code)
    rows = hiscore_rows(game)
    want = sorted([(scores[0], mouse_word[0]), (scores[1], keypad_word[0])], reverse=True)
    got = sorted([(s, w) for s, w, _ in rows or []], reverse=True)
    check(got == want, "hi.txt holds both players' scores, each with its own word: %r (got %r)" % (want, rows))
    prefs = saved(game, "prefs.txt")
    check(prefs == PREFS_TIPS_SEEN, "prefs.txt is saved back unchanged (got %r)" % prefs)


def main():
    game_dir = os.path.abspath(sys.argv[1])
    screenshot = None
    if "--screenshot" in sys.argv:
        screenshot = os.path.abspath(sys.argv[sys.argv.index("--screenshot") + 1])
    work = tempfile.mkdtemp(prefix="tq-2p-")
    game = Game(game_dir, work)
    try:
        play(game, screenshot)
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
