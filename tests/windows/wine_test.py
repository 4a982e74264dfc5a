#!/usr/bin/env python3
"""The Windows build under Wine.

  wine_test.py prefix PREFIX              a fresh Wine prefix for this test run
  wine_test.py unit PREFIX TEST.EXE       a GoogleTest program built for Windows
  wine_test.py smoke PREFIX ZIP SCREEN PATH SHOT
                                          the game from its zip on a virtual X
                                          screen (WxHxDEPTH): it starts, shows
                                          the first tip (saved as SHOT), quits
                                          on Escape twice with status 0, and
                                          leaves the default hi.txt and
                                          prefs.txt in %APPDATA%\\Tarvo Quelms,
                                          and its sounds reach the sound
                                          device (ALSA's file plugin under
                                          Wine's waveOut); PATH is the display
                                          path that must run: DirectDraw or GDI.
  wine_test.py toggle PREFIX ZIP SCREEN SHOT
                                          the same, started with --window: Alt+Enter
                                          takes it to DirectDraw's full screen
                                          and back to the window, the tip
                                          shown each time.
  wine_test.py startfail PREFIX ZIP SCREEN SHOT
                                          the game without its picture file: a
                                          message box names the file, OK
                                          closes it and the status is 1.

Wine's first start in a prefix takes a while, so one prefix serves a whole
test run."""

import glob
import os
import struct
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_test import launch_xvfb  # noqa: E402

DEFAULT_PREFS = b"1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;"
EMPTY_HISCORES = b"0;6;"
PICTURE_W, PICTURE_H = 640, 480
# The first tip's CONTINUE button, in picture pixels: mostly green.
BUTTON = (160, 300, 240, 319)


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def check(condition, text):
    if not condition:
        fail(text)
    print("ok: " + text)


def wine_env(prefix, display=None, debug="-all"):
    env = dict(os.environ)
    env["WINEPREFIX"] = prefix
    env["WINEDEBUG"] = debug
    # No .NET or HTML engine to offer to install: nothing here needs them.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env.pop("DISPLAY", None)
    if display:
        env["DISPLAY"] = display
    return env


def make_prefix(prefix):
    shutil.rmtree(prefix, ignore_errors=True)
    start = time.time()
    env = wine_env(prefix)
    subprocess.run(["wineboot", "--init"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=600, check=True)
    subprocess.run(["wineserver", "--wait"], env=env, timeout=600)
    check(os.path.isdir(os.path.join(prefix, "drive_c")), "a Wine prefix in %s (%.0f s)" % (prefix, time.time() - start))


def run_unit(prefix, program):
    result = subprocess.run(["wine", program, "--gtest_color=no"], env=wine_env(prefix), timeout=600)
    return result.returncode


def start_xvfb(screen):
    xvfb, display = launch_xvfb(screen)
    check(display is not None, "a virtual X server with a %s screen" % screen)
    return xvfb, display


def screenshot(display, path):
    env = dict(os.environ, DISPLAY=display)
    subprocess.run(["import", "-window", "root", path], env=env, check=True, timeout=60)
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True)
    w, h = (int(v) for v in size.stdout.split())
    rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return w, h, rgb


def picture_place(w, h):
    """Where the 640 x 480 picture stands on a screen of this size: the largest
    whole scale, centred (DirectDraw's own mode is the picture's size)."""
    scale = max(1, min(w // PICTURE_W, h // PICTURE_H))
    return scale, (w - PICTURE_W * scale) // 2, (h - PICTURE_H * scale) // 2


def button_is_green(w, h, rgb):
    scale, ox, oy = picture_place(w, h)
    total = green = 0
    for py in range(BUTTON[1], BUTTON[3]):
        for px in range(BUTTON[0], BUTTON[2]):
            o = 3 * ((oy + py * scale) * w + ox + px * scale)
            r, g, b = rgb[o], rgb[o + 1], rgb[o + 2]
            total += 1
            if g > 120 and g > r + 40 and g > b + 40:
                green += 1
    # An 8-bit screen's capture shows the root window's colours, not the
    # game's palette: the button is then only partly green.
    return green / total > 0.3


def green_somewhere(w, h, rgb):
    """For a window of unknown place and scale: the button's green covers a
    part of the screen that no other picture of the first moments shows."""
    green = 0
    for o in range(0, len(rgb) - 2, 3):
        r, g, b = rgb[o], rgb[o + 1], rgb[o + 2]
        if g > 120 and g > r + 40 and g > b + 40:
            green += 1
    return green > w * h // 500


def appdata_files(prefix):
    folders = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming", "Tarvo Quelms"))
    return folders


def wait_for_tip(game, display, shot, anywhere):
    deadline = time.time() + 120
    while time.time() < deadline and game.poll() is None:
        time.sleep(1.0)
        w, h, rgb = screenshot(display, shot)
        if green_somewhere(w, h, rgb) if anywhere else button_is_green(w, h, rgb):
            return True
    return False


class WineGame:
    """The zip unpacked into a scratch folder, a virtual X server, and the game run in
    it under Wine with its standard error kept."""

    def __init__(self, prefix, zip_path, screen):
        self.prefix = prefix
        self.work = tempfile.mkdtemp(prefix="tq-wine-")
        self.xvfb = None
        self.game = None
        with zipfile.ZipFile(zip_path) as z:
            self.names = z.namelist()
            z.extractall(self.work)
        self.exe = glob.glob(os.path.join(self.work, "*", "tarvoquelms.exe"))[0]
        self.xvfb, self.display = start_xvfb(screen)
        self.env = dict(os.environ, DISPLAY=self.display)

    def start(self, args, env):
        self.log = open(os.path.join(self.work, "stderr.txt"), "wb")
        self.game = subprocess.Popen(["wine", self.exe] + args, cwd=self.work, env=env, stdout=subprocess.DEVNULL,
                                     stderr=self.log)

    def key(self, name):
        subprocess.run(["xdotool", "key", name], env=self.env, check=True)

    def finish(self, after):
        """The exit status once the game ends `after` something, and what it said."""
        status = None
        try:
            status = self.game.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("the game did not end after %s" % after)
        self.game = None
        self.log.close()
        return status, open(os.path.join(self.work, "stderr.txt"), "rb").read().decode("utf-8", "replace")

    def close(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait()
        subprocess.run(["wineserver", "--kill"], env=wine_env(self.prefix), stderr=subprocess.DEVNULL)
        shutil.rmtree(self.work, ignore_errors=True)


def smoke(prefix, zip_path, screen, expected_path, shot, toggle=False):
    for old in appdata_files(prefix):
        shutil.rmtree(old)
    run = WineGame(prefix, zip_path, screen)
    try:
        for wanted in ("tarvoquelms.exe", "ALL", "worddiction.txt", "README.txt", "sounds/word.wav"):
            check(any(n.endswith("/" + wanted) for n in run.names), "the zip holds %s" % wanted)
        # Wine's waveOut plays into ALSA, whose default device here writes
        # what it is given to a file.
        sound = os.path.join(run.work, "sound.raw")
        alsa = os.path.join(run.work, "asoundrc")
        with open(alsa, "w") as f:
            f.write('pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' % sound)
        # The debugger output tells which display path ran.
        env = wine_env(prefix, run.display, "-all,+debugstr")
        env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + alsa
        run.start(["--window"] if toggle else [], env)
        check(wait_for_tip(run.game, run.display, shot, toggle), "the game shows its first tip (%s)" % shot)
        time.sleep(1.0)
        for where in ("full screen", "a window") if toggle else ():
            run.key("alt+Return")
            time.sleep(1.5)
            check(wait_for_tip(run.game, run.display, shot, True), "after Alt+Enter the tip shows again, in %s" % where)
        for _ in range(2):
            run.key("Escape")
            time.sleep(1.5)
        status, said = run.finish("Escape twice")
        check(status == 0, "the game quit with status 0 (got %s)" % status)
        for line in said.splitlines():
            if "OutputDebugStringA" in line and "display" in line:
                print("debugger output: " + line.split("OutputDebugStringA ", 1)[1])
        paths = [line.split("display path: ", 1)[1].split("\\n")[0] for line in said.splitlines()
                 if "OutputDebugStringA" in line and "display path: " in line]
        if toggle:
            check(paths == ["GDI window", "DirectDraw", "GDI window"],
                  "the window, DirectDraw's full screen and the window again ran (%s)" % paths)
        else:
            ran = paths[-1] if paths else "<not said>"
            check(ran.startswith(expected_path), "the %s display path ran (%s)" % (expected_path, ran))
        folders = appdata_files(prefix)
        check(len(folders) == 1, "the save folder %%APPDATA%%\\Tarvo Quelms was made (%s)" % folders)
        hi = open(os.path.join(folders[0], "hi.txt"), "rb").read()
        prefs = open(os.path.join(folders[0], "prefs.txt"), "rb").read()
        check(hi == EMPTY_HISCORES, "hi.txt holds the empty table (got %r)" % hi)
        check(prefs == DEFAULT_PREFS, "prefs.txt holds the default keys (got %r)" % prefs)
        check("No sound device" not in said, "the game opened the sound device")
        data = open(sound, "rb").read() if os.path.exists(sound) else b""
        samples = struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])
        heard = sum(1 for s in samples if abs(s) > 256)
        check(heard > 1000, "the start's sounds reached the device through waveOut (%d of %d samples heard)"
              % (heard, len(samples)))
    finally:
        run.close()


def start_fail(prefix, zip_path, screen, shot):
    run = WineGame(prefix, zip_path, screen)
    try:
        os.remove(os.path.join(os.path.dirname(run.exe), "ALL"))
        run.start([], wine_env(prefix, run.display))
        deadline = time.time() + 120
        light = 0
        # The box is the one light thing on the screen; the game's window is gone.
        while time.time() < deadline and run.game.poll() is None and light < 5000:
            time.sleep(1.0)
            w, h, rgb = screenshot(run.display, shot)
            light = sum(1 for o in range(0, len(rgb) - 2, 3) if rgb[o] > 200 and rgb[o + 1] > 200 and rgb[o + 2] > 200)
        check(light >= 5000, "a message box stands on the screen (%s)" % shot)
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tarvo Quelms$"], env=run.env,
                               capture_output=True, text=True)
        check(found.stdout.strip() != "", "the box is titled Tarvo Quelms")
        run.key("Return")
        status, said = run.finish("OK")
        check(status == 1, "the game that could not start ended with status 1 (got %s)" % status)
        check("picture file is missing or damaged" in said and "/ALL" in said,
              "standard error names the missing picture file: %s" % said.strip().splitlines()[-1:])
    finally:
        run.close()


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        sys.exit(2)
    what, prefix = sys.argv[1], sys.argv[2]
    if what == "prefix":
        make_prefix(prefix)
    elif what == "unit":
        sys.exit(run_unit(prefix, sys.argv[3]))
    elif what == "smoke":
        smoke(prefix, sys.argv[3], sys.argv[4], sys.argv[5], sys.argv[6])
    elif what == "startfail":
        start_fail(prefix, sys.argv[3], sys.argv[4], sys.argv[5])
    elif what == "toggle":
        smoke(prefix, sys.argv[3], sys.argv[4], "", sys.argv[5], toggle=True)
    else:
        print(__doc__)
        sys.exit(2)


if __name__ == "__main__":
    main()
