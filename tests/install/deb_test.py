#!/usr/bin/env python3
"""Builds the Debian package from a build folder, as the README's Install
section does, and checks what dpkg would see: the game, the headless replay
program beside it and the data inside, and xfonts-base recommended (SDL's
message boxes on X11 need the X core fonts; without them a missing picture
file is told on standard error only). The unpacked game runs its headless
program from beside itself.

    deb_test.py CPACK BUILD_DIR

CPACK is the cpack beside the cmake that configured BUILD_DIR. Needs dpkg-deb.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

failures = []
# The sounds the game loads from share/tarvoquelms/sounds.
SOUNDS = ["letter", "undo", "word", "refused", "land", "button", "tip", "dragstart", "dragstop", "swap", "turn",
          "lowlife", "levelbonus", "levelintro", "gameover", "highscore"]


def check(cond, what):
    print(("ok   " if cond else "FAIL ") + what, flush=True)
    if not cond:
        failures.append(what)
    return cond


def main():
    cpack, build = sys.argv[1], os.path.abspath(sys.argv[2])
    out = tempfile.mkdtemp(prefix="tq-deb-")
    try:
        r = subprocess.run([cpack, "-G", "DEB", "-B", out], cwd=build, capture_output=True, text=True)
        debs = glob.glob(os.path.join(out, "*.deb"))
        if not check(r.returncode == 0 and len(debs) == 1, "cpack -G DEB makes one package (%s)" %
                     (r.stdout + r.stderr).strip()[-400:]):
            return 1
        deb = debs[0]
        fields = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Recommends"], capture_output=True,
                                text=True, check=True).stdout
        values = dict(line.split(": ", 1) for line in fields.splitlines() if ": " in line)
        check(values.get("Package") == "tarvoquelms", "the package is tarvoquelms (%r)" % values.get("Package"))
        recommends = [p.strip().split()[0] for p in values.get("Recommends", "").split(",") if p.strip()]
        check("xfonts-base" in recommends, "it recommends xfonts-base (Recommends: %r)" % values.get("Recommends"))
        files = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True, check=True).stdout
        sounds = ["./usr/share/tarvoquelms/sounds/%s.wav" % s for s in SOUNDS]
        for path in ["./usr/bin/tarvoquelms", "./usr/bin/tarvoquelms-headless", "./usr/share/tarvoquelms/ALL",
                     "./usr/share/tarvoquelms/worddiction.txt"] + sounds:
            check(any(line.split()[-1] == path for line in files.splitlines() if line.split()),
                  "it holds %s" % path)
        # Without a display the game hands --headless to the program beside it,
        # which says in one line that the file is missing.
        root = os.path.join(out, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        missing = os.path.join(out, "missing.tqr")
        r = subprocess.run([os.path.join(root, "usr/bin/tarvoquelms"), "--replay", missing, "--headless"],
                           capture_output=True, text=True, env=env, cwd=out, timeout=30)
        lines = r.stderr.splitlines()
        check(r.returncode == 2 and len(lines) == 1 and "cannot play" in lines[0],
              "the unpacked tarvoquelms --replay MISSING --headless exits 2 with one line (got %d, %r)" %
              (r.returncode, lines))
    finally:
        shutil.rmtree(out, ignore_errors=True)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
