#!/usr/bin/env python3
"""The real game under a virtual X server loses nothing however it is ended:
a game in progress keeps its score when SIGTERM arrives, when the window's
close button is used, and when SIGHUP arrives while the game waits in the
background; a save that fails at quit is said on standard error, and S on the
key-definition screen shows SAVE FAILED.

    quit_test.py GAME_DIR

GAME_DIR holds tarvoquelms, ALL and worddiction.txt (a build folder's game/).
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import (CONTINUE_RECT, SMALL_FONT, Game, cell_centre, check, failures, find_word,  # noqa: E402
                      grid_letter_at, read_small_right, small_glyph_rect, tile_compare, tile_mismatch, wait_for)

# The X requests xdotool cannot make, sent with python3-xlib. The interpreter
# running the tests may not have it; Debian's own python3 does.
X_REQUEST = r"""
import sys
from Xlib import X, display, protocol
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[2]))
if sys.argv[1] == "close":
    # What a window manager's close button sends.
    protocols, delete = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("WM_DELETE_WINDOW")
    w.send_event(protocol.event.ClientMessage(window=w, client_type=protocols,
                                              data=(32, [delete, X.CurrentTime, 0, 0, 0])))
else:
    # The focus leaves the game for nowhere: the game is in the background.
    d.set_input_focus(X.NONE, X.RevertToNone, X.CurrentTime)
# A round trip, not just a flush: a connection closed while the server has not
# yet read its last request may lose it.
d.sync()
d.close()
"""


def xlib_python():
    for candidate in (sys.executable, "/usr/bin/python3"):
        if candidate and subprocess.run([candidate, "-c", "import Xlib"], capture_output=True).returncode == 0:
            return candidate
    return None


def x_request(game, what):
    python = xlib_python()
    if not check(python is not None, "a python3 with python3-xlib is there to send the X request"):
        return False
    window = subprocess.run(["xdotool", "search", "--name", "Tarvo Quelms"], env=game.env,
                            capture_output=True, text=True).stdout.split()
    if not check(bool(window), "the game's window is there for the X request"):
        return False
    r = subprocess.run([python, "-c", X_REQUEST, what, window[0]], env=game.env, capture_output=True, text=True)
    return check(r.returncode == 0, "the X request %s was sent (%s)" % (what, r.stderr.strip()))


def read_small_left(screen, sheet, x, y, alphabet="0123456789", max_chars=12):
    """Reads small-font text left-aligned at x, stopping at a cell no glyph matches."""
    text = ""
    for n in range(max_chars):
        best, best_ink = None, 0
        for ch in alphabet:
            ink, bad = tile_compare(screen, sheet, x + 8 * n, y, small_glyph_rect(ch))
            if ink and bad <= ink // 20 and ink - bad > best_ink:
                best, best_ink = ch, ink - bad
        if best is None:
            break
        text += best
    return text


def small_text_shown(screen, sheet, text, x, y):
    """True when every glyph of `text` (spaces skipped) shows at x, y, 8 pixels apart."""
    for i, ch in enumerate(text):
        if ch == " ":
            continue
        if ch not in SMALL_FONT:
            return False
        ink, bad = tile_compare(screen, sheet, x + 8 * i, y, small_glyph_rect(ch))
        if not ink or bad > ink // 20:
            return False
    return True


def saved(game, name):
    path = os.path.join(game.saves, name)
    return open(path, "rb").read() if os.path.isfile(path) else None


def hiscore_rows(game):
    """The rows of hi.txt as (score, word, word score); None without a file."""
    data = saved(game, "hi.txt")
    if data is None:
        return None
    fields = data.decode("ascii", "replace").split(";")
    count = int(fields[0])
    return [(int(fields[1 + 3 * i]), fields[2 + 3 * i], fields[3 + 3 * i]) for i in range(count)]


def dictionary_words(game):
    words = set()
    for line in open(os.path.join(game.game, "worddiction.txt"), "rb"):
        w = line.strip().decode("ascii", "replace").upper()
        if 3 <= len(w) <= 6:
            words.add(w)
    return words


def enter_first_level(game):
    sheet = game.sheet
    wait_for(game, lambda s: tile_mismatch(s, sheet, 152, 290, CONTINUE_RECT) < 0.05)
    game.move_to(200, 320)
    game.click()   # leaves the tip
    time.sleep(0.3)
    game.click()   # enters the level
    game.move_to(600, 440)
    time.sleep(0.5)


def spell_a_word(game):
    """Spells a word found in the grid with the mouse; the word, once the game took it, else None."""
    sheet = game.sheet
    screen = game.shot()
    grid = [[grid_letter_at(screen, sheet, c, r) for c in range(7)] for r in range(7)]
    found = find_word(grid, dictionary_words(game))
    if not check(found is not None, "the grid holds a word to spell"):
        return None
    word, path = found
    print("     spelling %s along %s" % (word, path))
    game.drag_along(path)
    seen = lambda s: read_small_right(s, sheet, 544, 72) == word
    screen = wait_for(game, seen, 5)
    if not check(seen(screen), "the game took the word %s" % word):
        return None
    return word


def shown_score(game):
    """The score on the one-player screen once the grid has settled."""
    time.sleep(2.5)  # the word's letters vanish and the grid refills
    text = read_small_left(game.shot(), game.sheet, 50, 211)
    return int(text) if text else None


def wake_ups(game, seconds):
    """How often the game's main thread goes to sleep by itself in the next `seconds`."""
    def slept():
        for line in open("/proc/%d/task/%d/status" % (game.proc.pid, game.proc.pid)):
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
        return 0
    before = slept()
    time.sleep(seconds)
    return slept() - before


def run_game(game_dir, body):
    work = tempfile.mkdtemp(prefix="tq-quit-")
    game = Game(game_dir, work)
    try:
        body(game)
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)


def game_log(game):
    game.log.flush()
    return open(os.path.join(game.work, "game.log")).read()


def score_kept_when_ended(how):
    """A word is made in the first level, then the game is ended by `how` in the middle of it."""
    def body(game):
        game.start()
        enter_first_level(game)
        word = spell_a_word(game)
        if word is None:
            return
        score = shown_score(game)
        if not check(score is not None and score > 0, "the screen shows the game's score (read %r)" % score):
            return
        if how == "close":
            x_request(game, "close")
            # A loaded machine may be slow to act on it; a player would click again.
            code = game.wait_exit(5)
            if code is None:
                print("     the game was still running 5 s after the close request: sending it again")
                x_request(game, "close")
        else:
            game.proc.send_signal(how)
        code = game.wait_exit()
        what = "the close button" if how == "close" else signal.Signals(how).name
        check(code == 0, "%s in the middle of a level quits with status 0 (got %r)" % (what, code))
        rows = hiscore_rows(game)
        check(rows is not None and len(rows) == 1 and rows[0][0] == score and rows[0][1] == word,
              "after %s hi.txt holds that game's score %d with its word %s, once (got %r)" % (what, score, word, rows))
        check(saved(game, "prefs.txt") is not None, "prefs.txt was saved as well")
    return body


def hang_up_while_in_the_background(game):
    """The level is finished with G, so the score is the level bonus; then the game
    goes to the background, where it waits, and SIGHUP arrives."""
    game.start()
    enter_first_level(game)
    game.key("g")
    score = shown_score(game)
    if not check(score is not None and score > 0, "G gives the level bonus as the score (read %r)" % score):
        return
    # The level intro's picture stands still either way, and a still picture
    # costs next to no processor time. A game running its frames sleeps between
    # each two of them, 60 times a second; one in its wait wakes a few times a
    # second at most.
    busy = wake_ups(game, 1.0)
    if not x_request(game, "unfocus"):
        return
    # A loaded machine may deliver the focus change late: give it a few seconds,
    # asking again.
    for attempt in range(5):
        time.sleep(0.5)
        idle = wake_ups(game, 1.0)
        if idle * 4 < busy and idle <= 15:
            break
        if attempt == 2:
            x_request(game, "unfocus")
    check(busy >= 50 and idle * 4 < busy and idle <= 15,
          "in the background the game sleeps in its wait (%d wake-ups in a second, %d in front)" % (idle, busy))
    game.proc.send_signal(signal.SIGHUP)
    code = game.wait_exit(5)
    check(code == 0, "SIGHUP wakes the waiting game and it quits with status 0 (got %r)" % code)
    rows = hiscore_rows(game)
    check(rows is not None and len(rows) == 1 and rows[0][0] == score,
          "after SIGHUP hi.txt holds the level intro's score %d (got %r)" % (score, rows))


def failed_saves_are_said(game):
    """prefs.txt is a folder in the save folder: S on the key screen shows SAVE FAILED
    until the next key, and the save at quit says which file and why on standard error."""
    os.makedirs(os.path.join(game.saves, "prefs.txt"))
    game.start()
    sheet = game.sheet
    heading = lambda text: (lambda s: small_text_shown(s, sheet, text, 320 - 4 * len(text), 98))
    game.key("p")
    game.key("k")
    screen = wait_for(game, heading("These are the default keys."), 5)
    check(heading("These are the default keys.")(screen), "the key-definition screen says these are the default keys")
    game.key("s")
    screen = wait_for(game, heading("SAVE FAILED"), 5)
    check(heading("SAVE FAILED")(screen), "S with prefs.txt a folder shows SAVE FAILED in that line")
    game.key("Down")
    screen = wait_for(game, heading("These are the default keys."), 5)
    check(heading("These are the default keys.")(screen) and not heading("SAVE FAILED")(screen),
          "the next key press puts the line back")
    for _ in range(4):
        game.key("Escape")   # the key screen, the pause, the game, the program
    code = game.wait_exit()
    check(code == 0, "the game still quits with status 0 (got %r)" % code)
    path = os.path.join(game.saves, "prefs.txt")
    lines = [l for l in game_log(game).splitlines() if "could not save" in l]
    check(lines == ["tarvoquelms: could not save %s: Is a directory." % path],
          "standard error has one line naming prefs.txt's path and the reason (got %r)" % lines)
    check(saved(game, "hi.txt") is not None, "hi.txt was saved all the same")


def main():
    game_dir = os.path.abspath(sys.argv[1])
    run_game(game_dir, score_kept_when_ended(signal.SIGTERM))
    run_game(game_dir, score_kept_when_ended("close"))
    run_game(game_dir, hang_up_while_in_the_background)
    run_game(game_dir, failed_saves_are_said)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
