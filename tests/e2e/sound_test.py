#!/usr/bin/env python3
"""The game's sound, heard through SDL's disk audio driver, which writes the mixed
output to a file as it plays: the real game under a virtual X server, a click on the
first tip's CONTINUE and a word spelt with the mouse each sound, and after M nothing
sounds any more; M is remembered in settings.ini.

    sound_test.py GAME_DIR

GAME_DIR holds tarvoquelms, ALL, worddiction.txt and sounds/ (a build folder's game/).
"""
import array
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_test import (CONTINUE_RECT, Game, check, failures, find_word, grid_letter_at, read_small_right,  # noqa: E402
                      tile_mismatch, wait_for)
from quit_test import dictionary_words  # noqa: E402

RATE = 48000     # the rate the game asks for; SDL's disk driver takes it as asked
FRAME_BYTES = 4  # 16-bit stereo


class Recording:
    """The audio file as SDL writes it, read by frame position."""

    def __init__(self, path):
        self.path = path

    def frames(self):
        return os.path.getsize(self.path) // FRAME_BYTES if os.path.exists(self.path) else 0

    def peak(self, start, end):
        """The loudest sample between two frame positions (end None: to the end)."""
        with open(self.path, "rb") as f:
            f.seek(start * FRAME_BYTES)
            data = f.read(None if end is None else max(0, end - start) * FRAME_BYTES)
        samples = array.array("h")
        samples.frombytes(data[:len(data) // 2 * 2])
        if sys.byteorder != "little":
            samples.byteswap()
        return max((abs(s) for s in samples), default=0)


def sounds_after(audio, action, what, quiet_before=0.15, within=0.6):
    """Does `action`, then checks the output was silent just before it and sounds
    right after it."""
    at = audio.frames()
    action()
    time.sleep(within + 0.2)
    before = audio.peak(max(0, at - int(quiet_before * RATE)), at)
    after = audio.peak(at, at + int(within * RATE))
    check(before == 0, "silence just before %s (peak %d)" % (what, before))
    check(after > 1000, "%s sounds within %.1f s (peak %d)" % (what, within, after))


def main():
    game_dir = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="tq-e2e-sound-")
    game = Game(game_dir, work)
    audio = Recording(os.path.join(work, "audio.raw"))
    try:
        check("sounds" in game.files, "the game folder holds its sounds")
        game.start("--window", audio={"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": audio.path})
        sheet = game.sheet
        words = dictionary_words(game)
        tip = lambda s: tile_mismatch(s, sheet, 152, 290, CONTINUE_RECT) < 0.05
        check(tip(wait_for(game, tip)), "a new game opens with a tutorial tip")
        check(audio.peak(0, None) > 1000, "the tip opening sounded")
        game.move_to(200, 320)
        time.sleep(0.5)
        sounds_after(audio, game.click, "a click on CONTINUE")

        game.click()   # enters the level
        game.move_to(600, 440)
        time.sleep(0.5)
        screen = game.shot()
        grid = [[grid_letter_at(screen, sheet, c, r) for c in range(7)] for r in range(7)]
        found = find_word(grid, words)
        if not check(found is not None, "the grid holds a word to spell"):
            return 1
        word, path = found
        print("     spelling %s along %s" % (word, path))
        game.drag_along(path, let_go=lambda: sounds_after(audio, lambda: game.xdo("mouseup", 1),
                                                         "letting go of the word %s" % word))
        screen = wait_for(game, lambda s: read_small_right(s, sheet, 544, 72) == word, 5)
        check(read_small_right(screen, sheet, 544, 72) == word, "%s was taken as a word" % word)

        game.key("m")
        time.sleep(0.3)
        muted_at = audio.frames()
        # Another word's letters, and the Drag Mode key: each would sound.
        screen = game.shot()
        grid = [[grid_letter_at(screen, sheet, c, r) for c in range(7)] for r in range(7)]
        again = find_word(grid, words) or (word, path)
        game.drag_along(again[1])
        game.key("Tab")
        time.sleep(1.0)
        written = audio.frames() - muted_at
        check(written > RATE, "SDL went on writing after M (%d frames)" % written)
        check(audio.peak(muted_at, None) == 0, "after M nothing sounds (peak %d)" % audio.peak(muted_at, None))

        game.key("Escape")
        game.key("Escape")
        code = game.wait_exit()
        check(code == 0, "Escape twice quits with status 0 (got %r)" % code)
        settings = os.path.join(game.saves, "settings.ini")
        text = open(settings).read() if os.path.exists(settings) else ""
        check("muted = true" in text, "settings.ini remembers the mute (%r)" % text)
    finally:
        game.stop()
        if os.environ.get("TQ_E2E_KEEP") is None:
            shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print("failed: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
