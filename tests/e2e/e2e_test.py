#!/usr/bin/env python3
"""Plays the real game as a player would: under a virtual X server, through the
mouse and the keyboard, judging what the screen shows by comparing regions of
screenshots with the tiles of the sprite sheet.

    e2e_test.py GAME_DIR [--screenshot PNG]

With --screenshot it also saves a picture of the game in play (for the README).

GAME_DIR holds tarvoquelms, ALL and worddiction.txt (a build folder's game/),
and tarvoquelms-headless where it was built.
The screen is 640 x 480, so the game shows its picture unscaled at (0, 0).
"""
import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 640, 480
DEFAULT_PREFS = b"1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;"
EMPTY_HISCORES = b"0;6;"
SMALL_FONT = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789,.'\"!-?():/"


class Sheet:
    """The 8-bit sprite sheet as RGB, with the key (index 0) marked."""

    def __init__(self, path):
        data = open(path, "rb").read()
        offset = struct.unpack_from("<I", data, 10)[0]
        self.w, h = struct.unpack_from("<ii", data, 18)
        self.h = abs(h)
        colours = struct.unpack_from("<I", data, 46)[0] or 256
        pal = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(colours)]
        pitch = (self.w + 3) & ~3
        self.index = []
        for y in range(self.h):
            row = (self.h - 1 - y) if h > 0 else y
            start = offset + row * pitch
            self.index.append(data[start:start + self.w])
        self.pal = pal

    def pixel(self, x, y):
        i = self.index[y][x]
        return None if i == 0 else self.pal[i]


class Screen:
    def __init__(self, rgb):
        self.rgb = rgb

    def pixel(self, x, y):
        o = 3 * (y * SCREEN_W + x)
        return tuple(self.rgb[o:o + 3])


def tile_mismatch(screen, sheet, sx, sy, rect, inset=0):
    """Share of the tile's opaque pixels that differ on the screen at (sx, sy)."""
    total, bad = tile_compare(screen, sheet, sx, sy, rect, inset)
    return bad / total if total else 1.0


def tile_compare(screen, sheet, sx, sy, rect, inset=0):
    """The tile's opaque pixels, and how many of them differ on the screen."""
    left, top, right, bottom = rect
    total = bad = 0
    for y in range(top + inset, bottom - inset):
        for x in range(left + inset, right - inset):
            want = sheet.pixel(x, y)
            if want is None:
                continue
            total += 1
            got = screen.pixel(sx + x - left, sy + y - top)
            if max(abs(a - b) for a, b in zip(want, got)) > 8:
                bad += 1
    return total, bad


def big_letter_rect(ch):
    i = ord(ch) - ord("A")
    return (28 * i, 509, 28 * i + 27, 536)


def small_glyph_rect(ch):
    i = SMALL_FONT.index(ch)
    return (8 * i, 552, 8 * i + 8, 564)


CONTINUE_RECT = (673, 44, 768, 107)
DO_NOT_SHOW_RECT = (673, 107, 768, 170)


def launch_xvfb(screen, extra=()):
    """A virtual X server with a `screen` such as "640x480x24" on a display number of
    its own choosing (-displayfd), so tests running side by side never share one.
    Returned once it accepts clients, with its display name, or None when it did not
    start."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                             "-nolisten", "tcp"] + list(extra), pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.time() + 60
    while not number.endswith(b"\n") and time.time() < deadline:
        ready, _, _ = select.select([read_end], [], [], 1.0)
        if ready:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    return xvfb, (":" + number.decode().strip()) if number.strip().isdigit() else None


def start_xvfb(extra=()):
    """The game's own screen size, checked to have started."""
    xvfb, display = launch_xvfb("%dx%dx24" % (SCREEN_W, SCREEN_H), extra)
    check(display is not None, "the virtual X server started (display %r)" % display)
    return xvfb, display


class Game:
    def __init__(self, game_dir, work):
        self.work = work
        self.display = None
        self.xvfb = None
        self.proc = None
        self.pointer = [10.0, 10.0]
        # The game from its own folder, started from another, saving in its XDG folder.
        self.game = os.path.join(work, "game")
        self.cwd = os.path.join(work, "elsewhere")
        self.saves = os.path.join(work, "data", "tarvoquelms")
        os.makedirs(self.game)
        os.makedirs(self.cwd)
        # The headless program plays recordings back; tarvoquelms runs it from its own folder.
        self.files = ["tarvoquelms", "ALL", "worddiction.txt"]
        if os.path.exists(os.path.join(game_dir, "tarvoquelms-headless")):
            self.files.append("tarvoquelms-headless")
        for name in self.files:
            shutil.copy(os.path.join(game_dir, name), self.game)
        if os.path.isdir(os.path.join(game_dir, "sounds")):
            shutil.copytree(os.path.join(game_dir, "sounds"), os.path.join(self.game, "sounds"))
            self.files.append("sounds")
        self.sheet = Sheet(os.path.join(self.game, "ALL"))

    def start(self, *args, audio=None):
        """Starts the game with the command-line arguments `args` under a new virtual X server;
        `audio` adds to the environment what SDL's audio needs (SDL's dummy driver by default)."""
        self.xvfb, self.display = start_xvfb()
        # The software renderer: a virtual X server's OpenGL is slow enough to merge frames.
        env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy", SDL_RENDER_DRIVER="software",
                   HOME=os.path.join(self.work, "home"), XDG_DATA_HOME=os.path.join(self.work, "data"))
        env.update(audio or {})
        env.pop("SDL_VIDEODRIVER", None)
        env.pop("TQ_SAVE_DIR", None)
        self.env = env
        self.log = open(os.path.join(self.work, "game.log"), "w")
        self.proc = subprocess.Popen([os.path.join(self.game, "tarvoquelms")] + list(args), cwd=self.cwd,
                                     env=env, stdout=self.log, stderr=self.log)
        window = ""
        for _ in range(100):
            r = subprocess.run(["xdotool", "search", "--name", "Tarvo Quelms"], env=env, capture_output=True, text=True)
            window = r.stdout.split()[0] if r.stdout.split() else ""
            if window:
                break
            time.sleep(0.1)
        check(window, "the game's window Tarvo Quelms appeared")
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, stderr=subprocess.DEVNULL)
        time.sleep(1.0)

    def shot(self):
        png = os.path.join(self.work, "shot.png")
        subprocess.run(["import", "-display", self.display, "-window", "root", png], check=True)
        rgb = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return Screen(rgb)

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True)
        time.sleep(0.12)

    def move_to(self, x, y):
        """Moves the game's pointer to (x, y); the game moves it by half the device motion."""
        # Against the top-left clamp first, so the position is known whatever came before.
        self.xdo("mousemove_relative", "--", -2000, -2000)
        self.pointer = [10.0, 10.0]
        dx, dy = int(round((x - 10) * 2)), int(round((y - 10) * 2))
        self.xdo("mousemove_relative", "--", dx, dy)
        self.pointer = [x, y]

    def step_to(self, x, y):
        dx, dy = int(round((x - self.pointer[0]) * 2)), int(round((y - self.pointer[1]) * 2))
        self.xdo("mousemove_relative", "--", dx, dy)
        self.pointer = [self.pointer[0] + dx / 2, self.pointer[1] + dy / 2]

    def drag_along(self, path, centre=None, let_go=None):
        """Spells along grid cells (column, row) with the mouse, `centre` giving a cell's
        middle on the screen (the one-player grid's by default). Each step gets frames
        of its own: the press, every cell, the release (by `let_go` when given); then
        the pointer leaves the grid."""
        centre = centre or cell_centre
        self.move_to(*centre(*path[0]))
        time.sleep(0.4)
        self.xdo("mousedown", 1)
        time.sleep(0.4)
        for c, r in path[1:]:
            self.step_to(*centre(c, r))
            time.sleep(0.4)
        (let_go or (lambda: self.xdo("mouseup", 1)))()
        time.sleep(0.4)
        self.move_to(600, 440)

    def click(self):
        self.xdo("mousedown", 1)
        self.xdo("mouseup", 1)

    def key(self, name):
        self.xdo("key", name)

    def wait_exit(self, seconds=10):
        try:
            return self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()


failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what)
    if not cond:
        failures.append(what)
    return cond


def wait_for(game, predicate, seconds=10):
    deadline = time.time() + seconds
    screen = game.shot()
    while not predicate(screen) and time.time() < deadline:
        time.sleep(0.3)
        screen = game.shot()
    return screen


def grid_letter_at(screen, sheet, c, r, origin=(150, 27)):
    """The letter tile at cell (c, r) of the grid whose letter (0, 0) is at `origin`
    (the one-player grid's by default), or None."""
    x, y = origin[0] + 36 * c, origin[1] + 36 * r
    best, best_score = None, 1.0
    for ch in "ABCDEFGHIJKLMNOPQRSTUVWXYZ":
        score = tile_mismatch(screen, sheet, x, y, big_letter_rect(ch), inset=3)
        if score < best_score:
            best, best_score = ch, score
    return best if best_score < 0.15 else None


def read_small_right(screen, sheet, right_x, y, max_chars=15):
    """Reads small-font text right-aligned at right_x, stopping at a cell no glyph matches."""
    text = ""
    for n in range(1, max_chars + 1):
        x = right_x - 8 * n
        # Of the glyphs whose ink all shows, the one with the most ink: an H
        # shows wherever an N stands, but not the other way round.
        best, best_ink = None, 0
        for ch in "ABCDEFGHIJKLMNOPQRSTUVWXYZ":
            ink, bad = tile_compare(screen, sheet, x, y, small_glyph_rect(ch))
            if ink and bad <= ink // 20 and ink - bad > best_ink:
                best, best_ink = ch, ink - bad
        if best is None:
            break
        text = best + text
    return text


def find_word(grid, words, diagonal=True):
    """A dictionary word of 3 to 6 letters spelt by a path of neighbouring grid cells;
    without `diagonal` each step goes left, right, up or down, as cursor keys move."""
    best = None
    prefixes = set()
    for w in words:
        for i in range(1, len(w) + 1):
            prefixes.add(w[:i])

    def walk(path, text):
        nonlocal best
        if text not in prefixes:
            return
        if len(text) >= 3 and text in words and (best is None or len(text) > len(best[0])):
            best = (text, list(path))
        if len(text) == 6:
            return
        c, r = path[-1]
        for dc in (-1, 0, 1):
            for dr in (-1, 0, 1):
                nc, nr = c + dc, r + dr
                if (dc or dr) and (diagonal or not (dc and dr)) and 0 <= nc < 7 and 0 <= nr < 7 and (nc, nr) not in path and grid[nr][nc]:
                    walk(path + [(nc, nr)], text + grid[nr][nc])

    for r in range(7):
        for c in range(7):
            if grid[r][c]:
                walk([(c, r)], grid[r][c])
    return best


def cell_centre(c, r):
    return 146 + 36 * c + 18, 27 + (244 / 7) * r + 17


def first_run(game_dir):
    work = tempfile.mkdtemp(prefix="tq-e2e-")
    game = Game(game_dir, work)
    try:
        game.start()
        sheet = game.sheet
        tip = lambda s: (tile_mismatch(s, sheet, 152, 290, CONTINUE_RECT) < 0.05 and
                         tile_mismatch(s, sheet, 300, 290, DO_NOT_SHOW_RECT) < 0.05)
        screen = wait_for(game, tip)
        check(tip(screen), "a new game opens with a tutorial tip and its CONTINUE and DO NOT SHOW AGAIN buttons")
        game.move_to(200, 320)
        game.click()
        welcome = lambda s: all(grid_letter_at(s, sheet, c, 0) == ch for c, ch in enumerate("WELCOME"))
        screen = wait_for(game, welcome, 5)
        check(welcome(screen), "CONTINUE leaves the tip and the grid shows the welcome banner")
        game.key("Escape")
        game.key("Escape")
        code = game.wait_exit()
        check(code == 0, "two presses of Escape quit the game with status 0 (got %r)" % code)
        saved = lambda name: open(os.path.join(game.saves, name), "rb").read() if os.path.exists(os.path.join(game.saves, name)) else None
        prefs, his = saved("prefs.txt"), saved("hi.txt")
        check(prefs == DEFAULT_PREFS, "prefs.txt in the XDG data folder holds the default bindings (got %r)" % prefs)
        check(his == EMPTY_HISCORES, "hi.txt in the XDG data folder holds the empty table (got %r)" % his)
        check(os.listdir(game.cwd) == [] and sorted(os.listdir(game.game)) == sorted(game.files),
              "nothing was written to the working folder or beside the program")
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)


def second_run(game_dir, screenshot=None):
    work = tempfile.mkdtemp(prefix="tq-e2e-")
    game = Game(game_dir, work)
    try:
        game.start()
        sheet = game.sheet
        words = set()
        for line in open(os.path.join(game.game, "worddiction.txt"), "rb"):
            w = line.strip().decode("ascii", "replace").upper()
            if 3 <= len(w) <= 6:
                words.add(w)
        wait_for(game, lambda s: tile_mismatch(s, sheet, 152, 290, CONTINUE_RECT) < 0.05)
        game.move_to(200, 320)
        game.click()   # leaves the tip
        time.sleep(0.3)
        game.click()   # enters the level
        game.move_to(600, 440)
        time.sleep(0.5)
        screen = game.shot()
        grid = [[grid_letter_at(screen, sheet, c, r) for c in range(7)] for r in range(7)]
        check(all(all(row) for row in grid), "every grid cell shows a letter tile once the level starts")
        found = find_word(grid, words)
        if not check(found is not None, "the grid holds a word to spell"):
            return
        word, path = found
        print("     spelling %s along %s" % (word, path))
        game.drag_along(path)
        # Row 0 of the list is the word in progress; the newest accepted word is row 1.
        seen = lambda s: read_small_right(s, sheet, 544, 72) == word
        screen = wait_for(game, seen, 5)
        check(seen(screen), "the spelt word %s heads the list of recent words (read %r)" %
              (word, read_small_right(screen, sheet, 544, 72)))
        if screenshot:
            # In the middle of the next word, the way a player sees the game.
            time.sleep(0.5)
            if tile_mismatch(game.shot(), sheet, 152, 290, CONTINUE_RECT) < 0.05:
                game.move_to(200, 320)
                game.click()
                game.move_to(600, 440)
                time.sleep(0.5)
            screen = game.shot()
            grid = [[grid_letter_at(screen, sheet, c, r) for c in range(7)] for r in range(7)]
            found = find_word(grid, words)
            if found:
                game.move_to(*cell_centre(*found[1][0]))
                time.sleep(0.4)
                game.xdo("mousedown", 1)
                time.sleep(0.4)
                for c, r in found[1][1:-1]:
                    game.step_to(*cell_centre(c, r))
                    time.sleep(0.4)
            game.shot()
            shutil.copy(os.path.join(work, "shot.png"), screenshot)
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)


def main():
    game_dir = os.path.abspath(sys.argv[1])
    screenshot = None
    if "--screenshot" in sys.argv:
        screenshot = os.path.abspath(sys.argv[sys.argv.index("--screenshot") + 1])
    first_run(game_dir)
    second_run(game_dir, screenshot)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
