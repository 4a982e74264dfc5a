#!/usr/bin/env python3
"""How much of one core the real game uses on three screens, under a virtual X
server, as a player would leave it or play it:

    cpu_screens.py [--seconds 10] [--screen 1280x1024x24] [--renderer software]
                   [--shots DIR] [LABEL=]GAME_DIR ...

  still  the first tip of a new game, untouched: nothing on it moves;
  busy   play, the pointer circling over the grid once a second with the
         button held, let go once a round: the path, the cursor and the
         pointer change every frame;
  pause  the pause screen, whose line shakes every frame.

Each GAME_DIR (a build folder's game/: tarvoquelms, ALL, worddiction.txt) is
started once, full screen on its own virtual X server with an empty save folder,
and taken through the three screens in that order, recording itself, so that
the frames it ran can be counted afterwards. For each screen the game's
CPU time (user and system, every thread) is read from /proc/PID/stat at the
start and the end of the measured seconds; the X server's likewise, since it
does the last copy to the screen. Several folders are measured one after the
other in the same run, so a before and an after meet the same machine. Use
/proc/loadavg (printed) to judge how busy the machine was.

Needs Xvfb and xdotool; SDL_AUDIODRIVER=dummy keeps the game off any sound
device. --renderer sets SDL_RENDER_DRIVER (software by default, as the
end-to-end tests use; opengl draws through Mesa's software rasteriser; default
leaves the choice to the game and SDL).
"""
import argparse
import math
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")
SCREENS = ("still", "busy", "pause")


def cpu_seconds(pid):
    """User and system time of the whole process so far, in seconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # Fields 14 and 15 of the file; the split starts at field 3.
    return (int(fields[11]) + int(fields[12])) / TICKS


def launch_xvfb(screen):
    """A virtual X server on a display number of its own choosing, once it takes clients."""
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
    if not number.strip().isdigit():
        xvfb.kill()
        sys.exit("cpu_screens: the virtual X server did not start")
    return xvfb, ":" + number.decode().strip()


class Run:
    def __init__(self, game_dir, args):
        self.work = tempfile.mkdtemp(prefix="tq-cpu-")
        self.game = os.path.join(self.work, "game")
        shutil.copytree(game_dir, self.game)
        self.xvfb, display = launch_xvfb(args.screen)
        self.env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", SDL_RENDER_DRIVER=args.renderer,
                        HOME=os.path.join(self.work, "home"), XDG_DATA_HOME=os.path.join(self.work, "data"))
        for name in ("SDL_VIDEODRIVER", "TQ_SAVE_DIR") + (("SDL_RENDER_DRIVER",) if args.renderer == "default" else ()):
            self.env.pop(name, None)
        self.log = open(os.path.join(self.work, "game.log"), "w")
        # A recording tells afterwards how many frames ran.
        self.record = os.path.join(self.work, "run.tqr")
        self.proc = subprocess.Popen([os.path.join(self.game, "tarvoquelms"), "--record", self.record], cwd=self.work,
                                     env=self.env, stdout=self.log, stderr=self.log)
        self.shown = time.monotonic()
        window = ""
        for _ in range(100):
            r = subprocess.run(["xdotool", "search", "--name", "Tarvo Quelms"], env=self.env, capture_output=True,
                               text=True)
            window = r.stdout.split()[0] if r.stdout.split() else ""
            if window:
                break
            time.sleep(0.1)
        if not window:
            self.stop()
            sys.exit("cpu_screens: no game window appeared; see the game's output above")
        self.shown = time.monotonic()
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=self.env, stderr=subprocess.DEVNULL)
        time.sleep(1.0)

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True)
        time.sleep(0.12)

    def click(self):
        """A press the game sees: it reads the button once a frame."""
        self.xdo("mousedown", 1)
        self.xdo("mouseup", 1)

    def move_to(self, x, y):
        """The game's pointer to (x, y) of its picture: it moves by half the device motion."""
        self.xdo("mousemove_relative", "--", -2000, -2000)
        self.xdo("mousemove_relative", "--", int((x - 10) * 2), int((y - 10) * 2))

    def measure(self, seconds, during=None):
        """CPU seconds of the game and of the X server over `seconds`, while `during` runs."""
        game0, x0, t0 = cpu_seconds(self.proc.pid), cpu_seconds(self.xvfb.pid), time.monotonic()
        if during:
            during(seconds)
        else:
            time.sleep(seconds)
        wall = time.monotonic() - t0
        game1, x1 = cpu_seconds(self.proc.pid), cpu_seconds(self.xvfb.pid)
        return 100.0 * (game1 - game0) / wall, 100.0 * (x1 - x0) / wall

    def circle(self, seconds):
        """The pointer round a circle of 80 pixels' radius once a second, 60 steps a second,
        all from one xdotool, so that starting programs does not load the machine."""
        steps = int(seconds * 60)
        chain = []
        radius = 160  # device units: twice the game's pixels
        for i in range(steps):
            if i > 0 and i % 60 == 0:
                # Let go once a round, so a word is tried and a new path starts.
                chain += ["mouseup", "1", "sleep", "0.05", "mousedown", "1"]
            a, b = 2 * math.pi * i / 60, 2 * math.pi * (i + 1) / 60
            dx = round(radius * (math.cos(b) - math.cos(a)))
            dy = round(radius * (math.sin(b) - math.sin(a)))
            chain += ["mousemove_relative", "--", str(dx), str(dy), "sleep", "0.0166"]
        subprocess.run(["xdotool"] + chain, env=self.env, check=True)

    def shot(self, shots, name):
        if shots:
            subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root",
                            os.path.join(shots, name + ".png")], stderr=subprocess.DEVNULL)

    def stop(self):
        """Ends the game; the frames it ran a second from its window's showing to its end, or None."""
        rate = None
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=10)
                rate = self.frame_rate(time.monotonic() - self.shown)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        self.log.close()
        shutil.rmtree(self.work, ignore_errors=True)
        return rate

    def frame_rate(self, seconds):
        replay = os.path.join(self.game, "tarvoquelms")
        r = subprocess.run([replay, "--replay", self.record, "--headless"], capture_output=True, text=True)
        for line in r.stdout.splitlines():
            if line.startswith("frames "):
                return int(line.split()[1]) / seconds
        return None


def measure_game(label, game_dir, args):
    run = Run(game_dir, args)
    result = {}
    shots = os.path.join(args.shots, label) if args.shots else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    try:
        # The first tip, as a new game opens with it.
        time.sleep(1.0)
        result["still"] = run.measure(args.seconds)
        run.shot(shots, "still")
        # CONTINUE leaves the tip; the next press starts the first level.
        run.move_to(200, 320)
        run.click()
        time.sleep(0.3)
        run.click()
        time.sleep(0.5)
        # Hold the button over the grid and keep moving: a path grows and shrinks.
        run.move_to(272 + 80, 150)
        run.xdo("mousedown", 1)
        result["busy"] = run.measure(args.seconds, run.circle)
        run.shot(shots, "busy")
        run.xdo("mouseup", 1)
        run.xdo("key", "p")
        time.sleep(1.0)
        result["pause"] = run.measure(args.seconds)
        run.shot(shots, "pause")
        if run.proc.poll() is not None:
            sys.exit("cpu_screens: %s ended early with status %d" % (label, run.proc.returncode))
    finally:
        result["frames a second"] = run.stop()
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("games", nargs="+", metavar="[LABEL=]GAME_DIR")
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--screen", default="1280x1024x24")
    parser.add_argument("--renderer", default="software")
    parser.add_argument("--shots", help="save a screenshot of each screen under DIR/LABEL/")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            sys.exit("cpu_screens: %s is missing (apt-get install xvfb xdotool)" % tool)
    games = []
    for g in args.games:
        label, _, path = g.rpartition("=")
        path = os.path.abspath(path)
        if not os.access(os.path.join(path, "tarvoquelms"), os.X_OK):
            sys.exit("cpu_screens: %s holds no tarvoquelms" % path)
        games.append((label or os.path.basename(os.path.dirname(path)) or path, path))
    print("screen %s, renderer %s, %g s a screen; load average before: %s" %
          (args.screen, args.renderer, args.seconds, open("/proc/loadavg").read().split(" ", 3)[:3]))
    results = [(label, measure_game(label, path, args)) for label, path in games]
    print("load average after: %s" % open("/proc/loadavg").read().split(" ", 3)[:3])
    print("%-8s %-20s %12s %12s" % ("screen", "game", "game % core", "X server %"))
    for screen in SCREENS:
        for label, result in results:
            game, xserver = result[screen]
            print("%-8s %-20s %12.1f %12.1f" % (screen, label, game, xserver))
    for label, result in results:
        rate = result["frames a second"]
        print("%s: %s frames a second over the whole run (from a recording of it)" %
              (label, "%.1f" % rate if rate else "unknown"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
