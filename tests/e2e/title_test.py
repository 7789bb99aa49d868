#!/usr/bin/env python3
# The title screen as a player meets it: the turning tunnel with the logo, the prompt and the
# version; Space zooming and fading to white into the game; Escape asking whether to quit.
# Usage: title_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import time

import korvelin_driver as kd

WIDTH, HEIGHT = 1280, 720
LOGO = (320, 100, 960, 220)          # where title.png is drawn
PROMPT = (500, 500, 780, 560)        # start.png
VERSION = (WIDTH - 110, HEIGHT - 25, WIDTH, HEIGHT)


def start_title(game):
    """The start-up question answered No, and the window once it shows the title (its version
    text lit)."""
    kd.answer_question(game, yes=False)
    window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
    kd.wait_for_picture(window.wid, lambda p: p.lit_pixels(threshold=128, region=VERSION) > 30, 60,
                        "the title was never drawn")
    return window


differing_pixels = kd.differing_pixels


def escape_answered_no(game, window, shot, moving, what):
    """Escape on the window asks in the system's box (saved as shot); Return answers No, the
    default, and the picture goes on (more than `moving` pixels change). Then Escape asks again,
    for the caller to answer."""
    kd.focus(window.wid)
    kd.key("Escape")
    box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
    kd.screenshot(box.wid, shot)
    kd.focus(box.wid)
    kd.key("Return")  # いいえ, the default
    kd.wait_until_gone(kd.QUESTION_CAPTION)
    before = kd.screenshot(window.wid)
    kd.wait_for_motion(window.wid, before, moving, 60, f"the {what} stopped after No")
    kd.check(game.process.poll() is None, "No ended the game")
    kd.focus(window.wid)
    kd.key("Escape")


def white_fraction(picture):
    white = 0
    for y in range(0, picture.height, 4):
        for x in range(0, picture.width, 4):
            if min(picture.pixel(x, y)) > 230:
                white += 1
    return white / ((picture.width // 4) * (picture.height // 4))


def test_title_shows(args):
    """The tunnel turns between two shots; the logo, the prompt and the version are there."""
    with kd.Game(args.binary, args.game_dir, args.out, "title_shows") as game:
        window = start_title(game)
        first = kd.screenshot(window.wid, os.path.join(args.out, "title_a.png"))
        moved = kd.wait_for_motion(window.wid, first, 5000, 60, "the tunnel stands still")
        kd.screenshot(window.wid, os.path.join(args.out, "title_b.png"))
        for name, region in (("logo", LOGO), ("start prompt", PROMPT), ("version", VERSION)):
            lit = first.lit_pixels(threshold=150, region=region)
            kd.check(lit > 200 if name != "version" else lit > 30, f"no bright {name} where it belongs ({lit} pixels)")
        print(f"tunnel: {moved} pixels changed between shots")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(5.0) == 0, "did not end cleanly when closed")


def test_space_starts(args):
    """A tap of Space zooms, fades to white and leaves the title for the game scene."""
    with kd.Game(args.binary, args.game_dir, args.out, "space_starts") as game:
        window = start_title(game)
        kd.focus(window.wid)
        kd.key("space")
        whitest, left = 0.0, False
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            shot = kd.screenshot(window.wid)
            white = white_fraction(shot)
            whitest = max(whitest, white)
            # The veil only ever thickens on the title: colour after white is the next scene.
            if whitest > 0.5 and white < 0.2:
                shot.save_png(os.path.join(args.out, "left_title.png"))
                left = True
                break
            time.sleep(0.2)
        kd.check(whitest > 0.5, f"the picture never faded to white (at most {whitest:.0%} white)")
        kd.check(left, "the title never gave way to the game")
        kd.check(game.process.poll() is None, "the game ended instead of starting a run")
        print(f"faded to {whitest:.0%} white, then left the title")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(5.0) == 0, "did not end cleanly when closed")


def test_escape_asks(args):
    """Escape asks whether to quit: No keeps the title running, Yes ends the game with 0."""
    with kd.Game(args.binary, args.game_dir, args.out, "escape_asks") as game:
        window = start_title(game)
        escape_answered_no(game, window, os.path.join(args.out, "quit_question.png"), 5000, "title")
        kd.answer_question(game, yes=True)
        status = game.wait(5.0)
        kd.check(status == 0, f"Yes should end the game with status 0, got {status}")


if __name__ == "__main__":
    kd.run_main({
        "title_shows": test_title_shows,
        "space_starts": test_space_starts,
        "escape_asks": test_escape_asks,
    })
