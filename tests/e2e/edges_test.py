#!/usr/bin/env python3
"""The edges of the real game's screen under a virtual X server: a one-player
screen, then a two-player one (F2 on the game-over screen), each with nothing
of the cell marks at its edges, the bottom rows above all.

    edges_test.py GAME_DIR

GAME_DIR holds tarvoquelms, ALL and worddiction.txt (a build folder's game/).
Where the marks stand on the sheet is read from the layout the game is built
with, so the test looks for the colours of the sheet it is given.
"""
import os
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import CONTINUE_RECT, SCREEN_H, SCREEN_W, Game, check, failures, tile_mismatch, wait_for  # noqa: E402

LAYOUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "video", "sheetlayout.h")
# Pixels looked at in from each edge.
EDGE = 3


def layout_number(name):
    text = open(LAYOUT).read()
    m = re.search(r"constexpr int32_t %s = (\d+);" % name, text)
    if not m:
        raise SystemExit("no %s in %s" % (name, LAYOUT))
    return int(m.group(1))


def two_player_top():
    m = re.search(r"SHEET_BACKGROUND_TWO_PLAYER = \{0, (\d+), 640, 1044\}", open(LAYOUT).read())
    if not m:
        raise SystemExit("no two-player background in %s" % LAYOUT)
    return int(m.group(1))


def mark_colours(sheet):
    """Every colour of the four visible cell marks (position 1 shows nothing)."""
    left, top, size = layout_number("SHEET_MARK_LEFT"), layout_number("SHEET_MARK_TOP"), layout_number("SHEET_MARK_SIZE")
    colours = set()
    for k in (0, 2, 3, 4):
        for y in range(top, top + size):
            for x in range(left + size * k, left + size * (k + 1)):
                c = sheet.pixel(x, y)
                if c is not None:
                    colours.add(c)
    return colours


def marks_at_edges(screen, colours):
    """The pixels within EDGE of the screen's border that have a mark's colour."""
    found = []
    for y in range(SCREEN_H):
        for x in range(SCREEN_W):
            if EDGE <= y < SCREEN_H - EDGE and EDGE <= x < SCREEN_W - EDGE:
                continue
            if screen.pixel(x, y) in colours:
                found.append((x, y))
    return found


def describe(found):
    rows = sorted({y for _, y in found})
    return "%d pixels, first at %s, in rows %s" % (len(found), found[0], rows[:6]) if found else "none"


def run(game_dir):
    work = tempfile.mkdtemp(prefix="tq-e2e-edges-")
    game = Game(game_dir, work)
    try:
        colours = mark_colours(game.sheet)
        check(len(colours) >= 4, "the sheet's cell marks have their colours (%d found)" % len(colours))
        game.start()
        sheet = game.sheet
        tip = lambda s: tile_mismatch(s, sheet, 152, 290, CONTINUE_RECT) < 0.05
        screen = wait_for(game, tip)
        check(tip(screen), "a one-player game opens with its first tip")
        game.move_to(320, 240)
        time.sleep(0.3)
        found = marks_at_edges(game.shot(), colours)
        check(not found, "the one-player screen shows no cell mark's colour at its edges (%s)" % describe(found))

        # Escape ends the game; F2 on the game-over screen starts a two-player one.
        game.key("Escape")
        time.sleep(0.3)
        game.key("F2")
        time.sleep(0.5)
        # The two-player tip stands in a panel over both grids, its CONTINUE at (220, 221);
        # left of the LIFE row, plain on the one-player screen, the two-player screen
        # shows player 0's word plate.
        top = two_player_top()
        two = lambda s: (tile_mismatch(s, sheet, 220, 221, CONTINUE_RECT) < 0.05 and
                         tile_mismatch(s, sheet, 20, 300, (20, top + 300, 120, top + 375)) < 0.05)
        screen = wait_for(game, two)
        check(two(screen), "F2 on the game-over screen opens a two-player game with its first tip")
        found = marks_at_edges(screen, colours)
        check(not found, "the two-player screen shows no cell mark's colour at its edges (%s)" % describe(found))
        bottom = [p for p in found if p[1] >= SCREEN_H - EDGE]
        check(not bottom, "nothing of the one-player screen stays in the two-player screen's bottom rows (%s)" %
              describe(bottom))

        game.key("Escape")
        game.key("Escape")
        code = game.wait_exit()
        check(code == 0, "two presses of Escape quit the game with status 0 (got %r)" % code)
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)


def main():
    run(os.path.abspath(sys.argv[1]))
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
