#!/usr/bin/env python3
"""The real game started without a usable picture file (ALL missing, or cut
short), under a virtual X server: a box names the file and where the game
looked, the game waits until OK is clicked, then exits with status 1, and
standard error names the file with the reason. Without the X core fonts SDL
shows no box, and the game still exits with status 1 at once.

    startfail_test.py GAME_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import SCREEN_H, SCREEN_W, Screen, check, failures, start_xvfb  # noqa: E402

TITLE = "Tarvo Quelms"


class Run:
    """One start of the game from its own folder, with ALL as `prepare` leaves it."""

    def __init__(self, game_dir, prepare, core_fonts=True):
        self.work = tempfile.mkdtemp(prefix="tq-startfail-")
        self.game = os.path.join(self.work, "game")
        self.cwd = os.path.join(self.work, "elsewhere")
        os.makedirs(self.game)
        os.makedirs(self.cwd)
        for name in ("tarvoquelms", "ALL", "worddiction.txt"):
            shutil.copy(os.path.join(game_dir, name), self.game)
        self.sheet = os.path.join(self.game, "ALL")
        prepare(self.sheet)
        self.xvfb = None
        self.proc = None
        # Only the server's built-in fonts: as on a machine without xfonts-base.
        fonts = [] if core_fonts else ["-fp", "built-ins"]
        self.xvfb, self.display = start_xvfb(fonts)
        self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy", SDL_RENDER_DRIVER="software",
                        HOME=os.path.join(self.work, "home"), XDG_DATA_HOME=os.path.join(self.work, "data"))
        self.env.pop("SDL_VIDEODRIVER", None)
        self.env.pop("TQ_SAVE_DIR", None)
        self.err_path = os.path.join(self.work, "stderr.txt")
        self.err_file = open(self.err_path, "w")
        self.proc = subprocess.Popen([os.path.join(self.game, "tarvoquelms")], cwd=self.cwd, env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=self.err_file)

    def windows(self):
        """(id, x, y, width, height) of every top-level window named like the
        game. From xwininfo: xdotool's search does not see SDL's box."""
        r = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, capture_output=True, text=True)
        found = []
        for line in r.stdout.splitlines():
            # 0x200002 "Tarvo Quelms": ()  352x127+144+117  +144+117
            m = re.match(r'\s*(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)', line)
            if m and m.group(2) == TITLE:
                w, h, x, y = (int(m.group(i)) for i in (3, 4, 5, 6))
                found.append((m.group(1), x, y, w, h))
        return found

    def shot(self):
        png = os.path.join(self.work, "shot.png")
        subprocess.run(["import", "-display", self.display, "-window", "root", png], check=True)
        rgb = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return Screen(rgb)

    def wait_exit(self, seconds):
        try:
            return self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def stderr(self):
        self.err_file.flush()
        return open(self.err_path).read()

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.err_file.close()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(self.work, ignore_errors=True)


def find_box(run, seconds=15):
    """The box: the one window of the game's name, smaller than the screen (the
    game's own window is gone by then)."""
    deadline = time.time() + seconds
    while time.time() < deadline and run.proc.poll() is None:
        found = run.windows()
        if len(found) == 1 and found[0][3] < SCREEN_W and found[0][4] < SCREEN_H:
            time.sleep(0.5)   # drawn
            return found[0]
        time.sleep(0.2)
    return None


def button_of(screen, box):
    """The OK button inside the box: the bounding box of the box's second most
    common colour (its face), with the colours of the box's upper part."""
    _, bx, by, bw, bh = box
    counts = Counter(screen.pixel(x, y) for y in range(by, by + bh) for x in range(bx, bx + bw))
    (background, _), (face, _) = counts.most_common(2)
    xs, ys = [], []
    for y in range(by, by + bh):
        for x in range(bx, bx + bw):
            if screen.pixel(x, y) == face:
                xs.append(x)
                ys.append(y)
    upper = {screen.pixel(x, y) for y in range(by, min(ys)) for x in range(bx, bx + bw)}
    return (min(xs), min(ys), max(xs), max(ys)), background, upper


def missing(sheet):
    os.remove(sheet)


def cut_short(sheet):
    with open(sheet, "r+b") as f:
        f.truncate(100000)   # its headers and colours whole, most of its pixels gone


def with_box(game_dir, what, prepare, reason):
    run = Run(game_dir, prepare)
    try:
        box = find_box(run)
        if not check(box is not None, "%s: a box of its own appears (windows: %r)" % (what, run.windows())):
            return
        screen = run.shot()
        button, background, upper = button_of(screen, box)
        lines = upper - {background}
        check(len(lines) >= 1, "%s: the box shows text above its button" % what)
        check(button[1] > box[2] + box[4] // 2 and button[2] - button[0] > 20,
              "%s: the button sits in the lower half of the box (%r in %r)" % (what, button, box))
        time.sleep(1.0)
        check(run.proc.poll() is None, "%s: the game waits while the box is up" % what)
        cx, cy = (button[0] + button[2]) // 2, (button[1] + button[3]) // 2
        subprocess.run(["xdotool", "mousemove", str(cx), str(cy), "click", "1"], env=run.env, check=True)
        code = run.wait_exit(10)
        check(code == 1, "%s: a click on OK ends the game with status 1 (got %r)" % (what, code))
        check(run.windows() == [], "%s: no window is left" % what)
        err = run.stderr()
        check(run.sheet in err and reason in err,
              "%s: standard error names %s and why (%r)" % (what, run.sheet, err.strip()))
    finally:
        run.stop()


def without_fonts(game_dir):
    what = "ALL missing, no X core fonts"
    run = Run(game_dir, missing, core_fonts=False)
    try:
        code = run.wait_exit(15)
        check(code == 1, "%s: the game exits with status 1 without a click (got %r)" % (what, code))
        err = run.stderr()
        check(run.sheet + " (No such file or directory)" in err,
              "%s: standard error names %s and why (%r)" % (what, run.sheet, err.strip()))
    finally:
        run.stop()


def main():
    game_dir = os.path.abspath(sys.argv[1])
    with_box(game_dir, "ALL missing", missing, "(No such file or directory)")
    with_box(game_dir, "ALL cut short", cut_short, "(it ends after 100000 bytes;")
    without_fonts(game_dir)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
