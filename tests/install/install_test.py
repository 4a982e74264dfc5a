#!/usr/bin/env python3
"""Installs the built game the way a package would, checks the installed desktop
files, then plays the INSTALLED game under a virtual X server from an unrelated
working folder and checks that it saved where it should and nowhere else, and
that its recording of that game replays headless, with no display, to the same
saved files. The installed data holds the game's sounds.

    install_test.py CMAKE BUILD_DIR VERSION ICON_SIZES

CMAKE is the cmake that configured BUILD_DIR; ICON_SIZES a comma-separated list
(16,22,...). Needs desktop-file-validate, appstreamcli, groff, xvfb-run and xdotool.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

APP_ID = "org.tarvoquelms.TarvoQuelms"
EMPTY_HISCORES = b"0;6;"
# What a first game that is ended and quit at once saves: the default key
# bindings (player 1 on A D W S, player 2 on the keypad) and no tip turned off.
DEFAULT_PREFS = b"1;65;68;87;83;32;9;87;0;100;102;104;101;98;107;104;0;0;0;0;0;0;0;0;0;1;"
SAVED_FILES = {"hi.txt", "prefs.txt", "settings.ini"}
# The sounds the game loads from share/tarvoquelms/sounds.
SOUNDS = ["letter", "undo", "word", "refused", "land", "button", "tip", "dragstart", "dragstop", "swap", "turn",
          "lowlife", "levelbonus", "levelintro", "gameover", "highscore"]

failures = []


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what, flush=True)
    if not cond:
        failures.append(what)
    return cond


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


# ---- The installed files ------------------------------------------------------


def desktop_entry(path):
    entry = {}
    for line in open(path, encoding="utf-8"):
        if "=" in line and not line.startswith("#"):
            key, value = line.rstrip("\n").split("=", 1)
            entry.setdefault(key, value)
    return entry


def check_desktop_files(usr, version):
    desktop = os.path.join(usr, "share/applications", APP_ID + ".desktop")
    if check(os.path.isfile(desktop), "the desktop entry is installed"):
        r = run(["desktop-file-validate", desktop])
        check(r.returncode == 0 and not (r.stdout + r.stderr).strip(),
              "desktop-file-validate passes with nothing to say: %r" % (r.stdout + r.stderr))
        entry = desktop_entry(desktop)
        exe = entry.get("Exec", "").split()[0] if entry.get("Exec") else ""
        check(exe and "/" not in exe and os.access(os.path.join(usr, "bin", exe), os.X_OK),
              "the entry's Exec (%r) is an installed executable in bin/" % exe)
        icon = entry.get("Icon", "")
        found = [d for d in os.listdir(os.path.join(usr, "share/icons/hicolor"))
                 if os.path.isfile(os.path.join(usr, "share/icons/hicolor", d, "apps", icon + ".png"))] \
            if icon and os.path.isdir(os.path.join(usr, "share/icons/hicolor")) else []
        check(found, "the entry's Icon (%r) is an installed hicolor icon" % icon)

    metainfo = os.path.join(usr, "share/metainfo", APP_ID + ".metainfo.xml")
    if check(os.path.isfile(metainfo), "the AppStream metainfo is installed"):
        r = run(["appstreamcli", "validate", "--no-net", metainfo])
        problems = [l for l in (r.stdout + r.stderr).splitlines() if re.match(r"\s*[EW]:", l)]
        check(r.returncode == 0 and not problems,
              "appstreamcli validate --no-net passes without errors or warnings: %s" % (r.stdout + r.stderr).strip())
        text = open(metainfo, encoding="utf-8").read()
        check("<id>%s</id>" % APP_ID in text, "the metainfo's id is " + APP_ID)
        check('<launchable type="desktop-id">%s.desktop</launchable>' % APP_ID in text,
              "the metainfo launches the installed desktop entry")
        check('<release version="%s"' % version in text, "the metainfo's release is %s" % version)


def png_size(path):
    data = open(path, "rb").read(32)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def check_icons(usr, sizes):
    for size in sizes:
        path = os.path.join(usr, "share/icons/hicolor/%dx%d/apps" % (size, size), APP_ID + ".png")
        got = png_size(path) if os.path.isfile(path) else None
        check(got == (size, size), "the %d-pixel icon is a PNG of %d x %d (got %r)" % (size, size, size, got))


def check_man_page(usr):
    page = os.path.join(usr, "share/man/man6/tarvoquelms.6")
    if check(os.path.isfile(page), "the man page is installed in section 6"):
        r = run(["groff", "-man", "-Tutf8", "-ww", "-z", page])
        check(r.returncode == 0 and not r.stderr.strip(), "groff formats the man page without warnings: %r" % r.stderr)


def check_sounds(usr, build):
    """Every sound the game loads is installed as the build made it, and nothing else."""
    installed = os.path.join(usr, "share/tarvoquelms/sounds")
    built = os.path.join(build, "game/sounds")
    names = sorted(os.listdir(installed)) if os.path.isdir(installed) else []
    check(names == sorted(s + ".wav" for s in SOUNDS),
          "share/tarvoquelms/sounds holds exactly the game's sixteen sounds (got %r)" % names)
    for name in names:
        data = open(os.path.join(installed, name), "rb").read()
        check(data[:4] == b"RIFF" and data[8:12] == b"WAVE" and len(data) > 44,
              "the installed %s is a WAVE file" % name)
        check(os.path.isfile(os.path.join(built, name)) and open(os.path.join(built, name), "rb").read() == data,
              "the installed %s is the built game/sounds/%s" % (name, name))


# ---- The installed game ---------------------------------------------------------


def snapshot(top):
    """Every file and folder under top with its size and modification time."""
    seen = {}
    for root, dirs, files in os.walk(top):
        for name in dirs + files:
            path = os.path.join(root, name)
            st = os.lstat(path)
            seen[os.path.relpath(path, top)] = (st.st_mode, st.st_size, st.st_mtime_ns)
    return seen


def game_env(home):
    env = dict(os.environ)
    # Every place the game might write defaults to inside HOME, so nothing escapes the check.
    for name in ("TQ_SAVE_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "SDL_VIDEODRIVER"):
        env.pop(name, None)
    env.update(HOME=home, XDG_DATA_HOME=os.path.join(home, ".local", "share"),
               SDL_AUDIODRIVER="dummy", SDL_RENDER_DRIVER="software")
    return env


def check_command_line(exe, work, env, version):
    # No display at all: these must answer without opening a window.
    quiet = dict(env)
    quiet.pop("DISPLAY", None)
    quiet.pop("WAYLAND_DISPLAY", None)

    def call(*args):
        try:
            return run([exe] + list(args), cwd=work, env=quiet, timeout=10)
        except subprocess.TimeoutExpired:
            return None

    def got(r, stream):
        return "timed out" if r is None else "got %d, %r" % (r.returncode, getattr(r, stream)[:200])

    r = call("--help")
    check(r is not None and r.returncode == 0 and "Usage" in r.stdout,
          "--help prints the usage and exits 0 (%s)" % got(r, "stdout"))
    r = call("--version")
    check(r is not None and r.returncode == 0 and r.stdout.strip() == "tarvoquelms " + version,
          "--version prints 'tarvoquelms %s' and exits 0 (%s)" % (version, got(r, "stdout")))
    for args in (["--bogus"], ["--scale", "0"], ["--scale", "9"], ["--scale", "two"], ["--scale"], ["--save-dir"]):
        r = call(*args)
        check(r is not None and r.returncode == 2 and "Usage" in r.stderr,
              "%s prints the usage on stderr and exits 2 (%s)" % (" ".join(args), got(r, "stderr")))


def play(exe, work, home, recording):
    """Runs inside xvfb-run: starts the game recording into `recording`, ends the
    game and quits with Escape."""
    env = game_env(home)
    log = open(os.path.join(os.path.dirname(work), "game.log"), "w")
    proc = subprocess.Popen([exe, "--record", recording], cwd=work, env=env, stdout=log, stderr=log)
    try:
        window = ""
        deadline = time.time() + 20
        while not window and time.time() < deadline and proc.poll() is None:
            r = run(["xdotool", "search", "--name", "^Tarvo Quelms$"], env=env)
            window = r.stdout.split()[0] if r.stdout.split() else ""
            if not window:
                time.sleep(0.2)
        if not check(window, "the installed game opens a window named 'Tarvo Quelms'"):
            return
        run(["xdotool", "windowfocus", "--sync", window], env=env)
        time.sleep(1.0)
        # The first Escape ends the game, the second quits and saves.
        run(["xdotool", "key", "Escape"], env=env)
        time.sleep(0.5)
        run(["xdotool", "key", "Escape"], env=env)
        try:
            code = proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            code = None
        check(code == 0, "two presses of Escape quit the game with status 0 (got %r)" % code)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        log.close()


def check_saves(home):
    save_dir = os.path.join(home, ".local", "share", "tarvoquelms")

    def read(name):
        path = os.path.join(save_dir, name)
        return open(path, "rb").read() if os.path.isfile(path) else None

    his, prefs = read("hi.txt"), read("prefs.txt")
    check(his == EMPTY_HISCORES, "$XDG_DATA_HOME/tarvoquelms/hi.txt holds the empty table (got %r)" % his)
    check(prefs == DEFAULT_PREFS, "$XDG_DATA_HOME/tarvoquelms/prefs.txt holds the defaults (got %r)" % prefs)
    # Only the saved files themselves, and the folders leading to them.
    allowed_dirs = {".local", os.path.join(".local", "share"), os.path.join(".local", "share", "tarvoquelms")}
    stray = []
    for path in snapshot(home):
        if path in allowed_dirs:
            continue
        folder, name = os.path.split(path)
        if folder == os.path.join(".local", "share", "tarvoquelms") and name in SAVED_FILES:
            continue
        stray.append(path)
    check(not stray, "nothing else was written in HOME: %s" % sorted(stray))


def check_replay(exe, work, home, recording, replay_saves):
    """The headless program beside the game plays the recording back with no
    display, saving what the played game saved; a missing file is one line and 2."""
    headless = os.path.join(os.path.dirname(exe), "tarvoquelms-headless")
    check(os.access(headless, os.X_OK), "tarvoquelms-headless is installed beside tarvoquelms")
    env = game_env(home)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    try:
        r = run([exe, "--replay", os.path.join(work, "missing.tqr"), "--headless"], cwd=work, env=env, timeout=10)
        missing = (r.returncode, r.stderr.splitlines())
    except subprocess.TimeoutExpired:
        missing = None
    check(missing is not None and missing[0] == 2 and len(missing[1]) == 1 and "cannot play" in missing[1][0],
          "--replay of a missing file --headless says so in one line and exits 2 (got %r)" % (missing,))
    if not check(os.path.isfile(recording), "the played game left its recording"):
        return
    try:
        r = run([exe, "--replay", recording, "--headless", "--save-dir", replay_saves], cwd=work, env=env,
                timeout=60)
        played = (r.returncode, r.stdout, r.stderr)
    except subprocess.TimeoutExpired:
        played = None
    frames = [int(l.split()[1]) for l in played[1].splitlines() if l.startswith("frames ")] if played else []
    check(played is not None and played[0] == 0 and frames and frames[0] > 0,
          "the installed game replays its recording --headless with no display, exit status 0 (got %r)" % (played,))
    save_dir = os.path.join(home, ".local", "share", "tarvoquelms")
    for name in ("hi.txt", "prefs.txt"):
        got = os.path.join(replay_saves, name)
        want = os.path.join(save_dir, name)
        check(os.path.isfile(got) and os.path.isfile(want) and open(got, "rb").read() == open(want, "rb").read(),
              "the replay saved the same %s as the played game" % name)


def main():
    if len(sys.argv) == 6 and sys.argv[1] == "--play":
        play(*sys.argv[2:6])
        return 1 if failures else 0

    cmake, build, version = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    sizes = [int(s) for s in sys.argv[4].split(",")]
    scratch = tempfile.mkdtemp(prefix="tq-install-")
    try:
        dest = os.path.join(scratch, "dest")
        r = run([cmake, "--install", build, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=dest))
        if not check(r.returncode == 0, "cmake --install into DESTDIR succeeds"):
            print(r.stdout + r.stderr)
            return 1
        usr = os.path.join(dest, "usr")
        check_desktop_files(usr, version)
        check_icons(usr, sizes)
        check_man_page(usr)
        check_sounds(usr, build)

        exe = os.path.join(usr, "bin", "tarvoquelms")
        installed = snapshot(dest)
        home = os.path.join(scratch, "home")
        work = os.path.join(scratch, "work")
        recording = os.path.join(scratch, "game.tqr")
        replay_saves = os.path.join(scratch, "replay-saves")
        os.mkdir(home)
        os.mkdir(work)
        check_command_line(exe, work, game_env(home), version)
        r = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 640x480x24 -nolisten tcp",
                            sys.executable, os.path.abspath(__file__), "--play", exe, work, home, recording])
        if r.returncode != 0:
            failures.append("the game under xvfb-run")
            log = os.path.join(scratch, "game.log")
            if os.path.exists(log):
                print("game output:\n" + open(log, errors="replace").read())
        # The replay first: nothing it does may show in HOME either.
        check_replay(exe, work, home, recording, replay_saves)
        check_saves(home)
        check(os.listdir(work) == [], "the working folder stays empty: %s" % sorted(os.listdir(work)))
        now = snapshot(dest)
        changed = sorted(p for p in set(installed) | set(now) if installed.get(p) != now.get(p))
        check(not changed, "nothing in the install tree changed: %s" % changed)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
