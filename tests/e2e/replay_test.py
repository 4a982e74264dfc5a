#!/usr/bin/env python3
"""A game played under a virtual X server with --record plays back headless
exactly: the replay saves the same hi.txt and prefs.txt and prints the score
the game entered in its table. A recording cut in the middle of a block, or
left by a game that was killed, plays up to its last whole block. Garbage, a
damaged header, or a recording made with another word list is refused with one
line and status 2, touching no saved file; a replay that is only watched saves
nothing of the player's and leaves no scratch folder behind.

    replay_test.py GAME_DIR

GAME_DIR holds tarvoquelms, tarvoquelms-headless, ALL and worddiction.txt (a
build folder's game/).
"""
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import Game, check, failures  # noqa: E402
from quit_test import enter_first_level, hiscore_rows, saved, spell_a_word  # noqa: E402

MAGIC = b"TQREPLAY"
# The table the played game starts from: low enough that any word's score enters it.
START_ROWS = [(3, "ELK", "3"), (2, "OWL", "2"), (1, "YAK", "1")]


def hiscores_bytes(rows):
    """hi.txt for `rows`: the count, each row's score, word and word score, then
    the check value (s1 + 3) * (s2 + 2) * (s0 + 1) in 32 bits over the first
    three scores (0 where a row is missing)."""
    s = [score for score, _, _ in rows[:3]] + [0] * (3 - min(len(rows), 3))
    value = ((s[1] + 3) * (s[2] + 2) * (s[0] + 1)) & 0xFFFFFFFF
    if value >= 1 << 31:
        value -= 1 << 32
    text = "%d;" % len(rows) + "".join("%d;%s;%s;" % row for row in rows) + "%d;" % value
    return text.encode("ascii")


def block_starts(data):
    """The offsets of the blocks after the header, and whether they end exactly at
    the end of the file. Each block is its payload length (u32), its record count
    (u32), the payload and a CRC-32 (u32)."""
    header_payload = struct.unpack_from("<I", data, len(MAGIC) + 2)[0]
    pos = len(MAGIC) + 2 + 4 + header_payload + 4
    starts = []
    while pos + 8 <= len(data):
        starts.append(pos)
        pos += 12 + struct.unpack_from("<I", data, pos)[0]
    return starts, pos == len(data)


def folder_contents(top):
    """Every file under top, by relative path, with its bytes."""
    found = {}
    for root, _, files in os.walk(top):
        for name in files:
            path = os.path.join(root, name)
            found[os.path.relpath(path, top)] = open(path, "rb").read()
    return found


def folder_state(top):
    """Every file under top with its bytes and modification time: a save of the
    same bytes shows too."""
    return {name: (data, os.stat(os.path.join(top, name)).st_mtime_ns)
            for name, data in folder_contents(top).items()}


def parse_printed(stdout):
    """The replay's lines as a dictionary: frames, score 1, score 2, picture, and
    cut short (present or not)."""
    printed = {}
    for line in stdout.splitlines():
        if line.startswith("cut short"):
            printed["cut short"] = True
        elif line.startswith("score "):
            printed["score " + line.split()[1]] = int(line.split()[2])
        elif line.startswith("frames "):
            printed["frames"] = int(line.split()[1])
        elif line.startswith("picture "):
            printed["picture"] = line.split()[1]
    return printed


class Replays:
    """Runs tarvoquelms --replay REC --headless with no display and TMPDIR a folder of its own."""

    def __init__(self, work, env):
        self.tmp = os.path.join(work, "tmp")
        os.makedirs(self.tmp)
        self.env = dict(env, TMPDIR=self.tmp)
        self.env.pop("DISPLAY", None)
        self.cwd = os.path.join(work, "replay-cwd")
        os.makedirs(self.cwd)

    def run(self, game_folder, recording, save_dir=None):
        """The exit status, the printed lines (parse_printed) and the lines on stderr."""
        args = [os.path.join(game_folder, "tarvoquelms"), "--replay", recording, "--headless"]
        if save_dir is not None:
            args += ["--save-dir", save_dir]
        started = time.time()
        try:
            r = subprocess.run(args, cwd=self.cwd, env=self.env, capture_output=True, text=True, timeout=60)
        except subprocess.TimeoutExpired:
            return None, {}, ["timed out"]
        print("     replay exited %d in %.1f s: %s" % (r.returncode, time.time() - started,
                                                       " | ".join(r.stdout.splitlines() + r.stderr.splitlines())))
        return r.returncode, parse_printed(r.stdout), r.stderr.splitlines()


def play_and_replay(game_dir, work):
    """The played game, its replay into an empty folder, a cut copy of its
    recording, the refused files, and a replay that is only watched."""
    game = Game(game_dir, work)
    recording = os.path.join(work, "game.tqr")
    os.makedirs(game.saves)
    open(os.path.join(game.saves, "hi.txt"), "wb").write(hiscores_bytes(START_ROWS))
    try:
        game.start("--record", recording)
        enter_first_level(game)
        word = spell_a_word(game)
        if word is None:
            return
        game.key("Escape")   # ends the game: its score enters the table
        time.sleep(0.5)
        game.key("Escape")   # quits, saving
        code = game.wait_exit()
        check(code == 0, "two presses of Escape quit the recorded game with status 0 (got %r)" % code)
    finally:
        game.stop()

    played_hi, played_prefs = saved(game, "hi.txt"), saved(game, "prefs.txt")
    rows = hiscore_rows(game) or []
    new_rows = [row for row in rows if row not in START_ROWS]
    check(all(row in rows for row in START_ROWS) and len(new_rows) == 1 and new_rows[0][1] == word and
          not os.path.exists(os.path.join(game.saves, "hi.txt.bad")),
          "the played game kept the starting table and entered one new row for %s (got %r)" % (word, rows))
    if len(new_rows) != 1 or played_prefs is None:
        return
    played_score = new_rows[0][0]

    replays = Replays(work, game.env)
    # The whole game into an empty save folder: the same files, the same score.
    empty = os.path.join(work, "empty")
    os.makedirs(empty)
    code, whole, stderr = replays.run(game.game, recording, empty)
    check(code == 0 and stderr == [], "the recording replays headless with status 0 and nothing on stderr "
          "(got %r, %r)" % (code, stderr))
    check(whole.get("score 1") == played_score and "score 2" not in whole,
          "the replay prints the score %d that the played game entered in its table (got %r)" %
          (played_score, whole.get("score 1")))
    check(whole.get("frames", 0) > 0 and "cut short" not in whole and len(whole.get("picture", "")) == 16,
          "the whole recording plays every frame, not cut short, and prints its picture's hash (got %r)" % whole)
    replayed = folder_contents(empty)
    check(replayed.get("hi.txt") == played_hi,
          "the replay's hi.txt is byte for byte the played game's (got %r, played %r)" %
          (replayed.get("hi.txt"), played_hi))
    check(replayed.get("prefs.txt") == played_prefs,
          "the replay's prefs.txt is byte for byte the played game's (got %r, played %r)" %
          (replayed.get("prefs.txt"), played_prefs))

    # Cut in the middle of its last block: the blocks before it still play.
    data = open(recording, "rb").read()
    starts, exact = block_starts(data) if data[:len(MAGIC)] == MAGIC else ([], False)
    if check(exact and len(starts) >= 2, "the recording is a header and %d blocks that end with the file" %
             len(starts)):
        last = starts[-1]
        cut = os.path.join(work, "cut.tqr")
        open(cut, "wb").write(data[:last + 8 + max(1, struct.unpack_from("<I", data, last)[0] // 2)])
        code, part, stderr = replays.run(game.game, cut)
        check(code == 0 and part.get("cut short") is True and 0 < part.get("frames", 0) < whole["frames"],
              "cut in the middle of its last block it replays with status 0, says it was cut short and plays "
              "fewer frames (%r of %d)" % (part, whole["frames"]))

    # Refused: one line on stderr, status 2, and the save folder as it was. It
    # holds the table the game started from, which a replay would change.
    rng = random.Random(7)
    garbage = os.path.join(work, "garbage.tqr")
    open(garbage, "wb").write(bytes(rng.randrange(256) for _ in range(4096)))
    flipped = os.path.join(work, "flipped.tqr")
    header_byte = len(MAGIC) + 2 + 4 + 5   # inside the seed
    open(flipped, "wb").write(data[:header_byte] + bytes([data[header_byte] ^ 0x10]) + data[header_byte + 1:])
    other_words = os.path.join(work, "other-words")
    os.makedirs(other_words)
    for name in game.files:
        source = os.path.join(game.game, name)
        if os.path.isdir(source):
            shutil.copytree(source, os.path.join(other_words, name))
        else:
            shutil.copy(source, other_words)
    with open(os.path.join(other_words, "worddiction.txt"), "ab") as f:
        f.write(b"quelm\n")
    for what, folder, path in [("a file of garbage", game.game, garbage),
                               ("a recording with a flipped byte in its header", game.game, flipped),
                               ("a recording played by a game whose worddiction.txt has one more line",
                                other_words, recording)]:
        save_dir = tempfile.mkdtemp(prefix="saves-", dir=work)
        open(os.path.join(save_dir, "hi.txt"), "wb").write(hiscores_bytes(START_ROWS))
        before = folder_state(save_dir)
        code, printed, stderr = replays.run(folder, path, save_dir)
        check(code == 2 and len(stderr) == 1 and not printed,
              "%s is refused with status 2 and one line on stderr (got %r, %r)" % (what, code, stderr))
        check(folder_state(save_dir) == before, "refusing %s leaves the save folder as it was" % what)

    # Only watched: the player's save folder stays as it is, and the scratch
    # folder is gone. The player's table is put back to the one the game started
    # from, which a replay saving there would change.
    open(os.path.join(game.saves, "hi.txt"), "wb").write(hiscores_bytes(START_ROWS))
    before = folder_state(game.saves)
    code, watched, stderr = replays.run(game.game, recording)
    check(code == 0 and watched == whole,
          "replayed without --save-dir it prints the same as into a save folder (got %r, %r)" % (code, watched))
    check(folder_state(game.saves) == before, "a replay without --save-dir leaves the player's saves as they were")
    left = [name for name in os.listdir(replays.tmp) if name.startswith("tarvoquelms-replay-")]
    check(left == [], "no tarvoquelms-replay-* folder is left in TMPDIR (found %r)" % left)


def killed_game(game_dir, work):
    """A recorded game killed with SIGKILL after some seconds of play, as by a crash."""
    game = Game(game_dir, work)
    recording = os.path.join(work, "killed.tqr")
    try:
        game.start("--record", recording)
        enter_first_level(game)
        # Five seconds of play: the pointer wanders over the grid.
        started, step = time.time(), 0
        while time.time() - started < 5:
            game.move_to(170 + 36 * (step % 7), 45 + 34 * (step % 6))
            time.sleep(0.15)
            step += 1
        game.proc.send_signal(signal.SIGKILL)
        game.wait_exit()
    finally:
        game.stop()
    code, printed, stderr = Replays(work, game.env).run(game.game, recording)
    check(code == 0 and printed.get("frames", 0) > 0,
          "the recording of a game killed with SIGKILL replays with status 0 and some frames (got %r, %r, %r)" %
          (code, printed, stderr))


def run(game_dir, body):
    work = tempfile.mkdtemp(prefix="tq-replay-")
    try:
        body(game_dir, work)
    finally:
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print("     kept " + work)


def main():
    game_dir = os.path.abspath(sys.argv[1])
    run(game_dir, play_and_replay)
    run(game_dir, killed_game)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
