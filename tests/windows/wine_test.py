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
import select
import struct
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

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
    """A virtual X server on a display number of its own choosing (-displayfd)."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
    check(number.strip().isdigit(), "a virtual X server with a %s screen" % screen)
    return xvfb, ":" + number.decode().strip()


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


def smoke(prefix, zip_path, screen, expected_path, shot, toggle=False):
    work = tempfile.mkdtemp(prefix="tq-wine-")
    xvfb = None
    game = None
    try:
        with zipfile.ZipFile(zip_path) as z:
            names = z.namelist()
            z.extractall(work)
        for wanted in ("tarvoquelms.exe", "ALL", "worddiction.txt", "README.txt", "sounds/word.wav"):
            check(any(n.endswith("/" + wanted) for n in names), "the zip holds %s" % wanted)
        exe = glob.glob(os.path.join(work, "*", "tarvoquelms.exe"))[0]
        for old in appdata_files(prefix):
            shutil.rmtree(old)

        xvfb, display = start_xvfb(screen)
        # Wine's waveOut plays into ALSA, whose default device here writes
        # what it is given to a file.
        sound = os.path.join(work, "sound.raw")
        alsa = os.path.join(work, "asoundrc")
        with open(alsa, "w") as f:
            f.write('pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' % sound)
        env = wine_env(prefix, display, "-all,+debugstr")
        env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + alsa
        # The debugger output tells which display path ran.
        log = open(os.path.join(work, "stderr.txt"), "wb")
        game = subprocess.Popen(["wine", exe] + (["--window"] if toggle else []), cwd=work, env=env,
                                stdout=subprocess.DEVNULL, stderr=log)
        check(wait_for_tip(game, display, shot, toggle), "the game shows its first tip (%s)" % shot)
        time.sleep(1.0)
        env = dict(os.environ, DISPLAY=display)
        for where in ("full screen", "a window") if toggle else ():
            subprocess.run(["xdotool", "key", "alt+Return"], env=env, check=True)
            time.sleep(1.5)
            check(wait_for_tip(game, display, shot, True), "after Alt+Enter the tip shows again, in %s" % where)
        for _ in range(2):
            subprocess.run(["xdotool", "key", "Escape"], env=env, check=True)
            time.sleep(1.5)
        try:
            status = game.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("the game did not quit after Escape twice")
        game = None
        log.close()
        said = open(os.path.join(work, "stderr.txt"), "rb").read().decode("utf-8", "replace")
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
        if game is not None and game.poll() is None:
            game.kill()
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
        subprocess.run(["wineserver", "--kill"], env=wine_env(prefix), stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


def start_fail(prefix, zip_path, screen, shot):
    work = tempfile.mkdtemp(prefix="tq-wine-")
    xvfb = None
    game = None
    try:
        with zipfile.ZipFile(zip_path) as z:
            z.extractall(work)
        exe = glob.glob(os.path.join(work, "*", "tarvoquelms.exe"))[0]
        os.remove(os.path.join(os.path.dirname(exe), "ALL"))
        xvfb, display = start_xvfb(screen)
        log = open(os.path.join(work, "stderr.txt"), "wb")
        game = subprocess.Popen(["wine", exe], cwd=work, env=wine_env(prefix, display), stdout=subprocess.DEVNULL,
                                stderr=log)
        env = dict(os.environ, DISPLAY=display)
        deadline = time.time() + 120
        light = 0
        # The box is the one light thing on the screen; the game's window is gone.
        while time.time() < deadline and game.poll() is None and light < 5000:
            time.sleep(1.0)
            w, h, rgb = screenshot(display, shot)
            light = sum(1 for o in range(0, len(rgb) - 2, 3) if rgb[o] > 200 and rgb[o + 1] > 200 and rgb[o + 2] > 200)
        check(light >= 5000, "a message box stands on the screen (%s)" % shot)
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tarvo Quelms$"], env=env,
                               capture_output=True, text=True)
        check(found.stdout.strip() != "", "the box is titled Tarvo Quelms")
        subprocess.run(["xdotool", "key", "Return"], env=env, check=True)
        try:
            status = game.wait(timeout=60)
        except subprocess.TimeoutExpired:
            fail("the game did not end after OK")
        game = None
        log.close()
        said = open(os.path.join(work, "stderr.txt"), "rb").read().decode("utf-8", "replace")
        check(status == 1, "the game that could not start ended with status 1 (got %s)" % status)
        check("picture file is missing or damaged" in said and "/ALL" in said,
              "standard error names the missing picture file: %s" % said.strip().splitlines()[-1:])
    finally:
        if game is not None and game.poll() is None:
            game.kill()
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
        subprocess.run(["wineserver", "--kill"], env=wine_env(prefix), stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


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
