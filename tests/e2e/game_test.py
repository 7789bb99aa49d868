#!/usr/bin/env python3
# A run as a player meets it: Space on the title leads into the run, which shows the maps, the
# craft, the reticle at the centre and the score and life panels; the left button fires; Escape
# asks whether to go back to the title, No goes on, Yes returns, and the title then waits
# without asking to quit.
# Usage: game_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import subprocess
import time

import korvelin_driver as kd
from title_test import escape_answered_no, start_title, white_fraction

CENTRE = (600, 320, 680, 400)    # the reticle
SCORE = (1080, 560, 1230, 680)   # the score panel, right of the craft
LIVES = (40, 520, 400, 680)      # the life icons, left of the craft
CRAFT = (540, 520, 740, 660)


def count(picture, region, test, step=2):
    x0, y0, x1, y1 = region
    return sum(1 for y in range(y0, y1, step) for x in range(x0, x1, step) if test(picture.pixel(x, y)))


def cyan(p):
    return p[1] > 170 and p[2] > 170 and p[0] < 170


def pink(p):
    return p[0] > 200 and p[2] > 120 and p[1] < 140


def sky_brightness(picture):
    """Mean brightness of the night sky at the top of the backdrop; the opening's white veil
    lifts it."""
    return sum(sum(picture.pixel(x, y)) for y in range(4, 60, 4) for x in range(4, 300, 8)) / (14 * 37 * 3)


def enter_run(game, window, out, name):
    """Space on the title; returns once the opening's white veil has lifted."""
    kd.focus(window.wid)
    kd.key("space")
    whitest, sky, deadline = 0.0, 255.0, time.monotonic() + 180
    while time.monotonic() < deadline:
        shot = kd.screenshot(window.wid)
        whitest = max(whitest, white_fraction(shot))
        sky = sky_brightness(shot)
        if whitest > 0.5 and sky < 70:
            break
        time.sleep(0.3)
    kd.check(whitest > 0.5 and sky < 70, f"no clear run after Space (white {whitest:.0%}, sky {sky:.0f})")
    return kd.screenshot(window.wid, os.path.join(out, name))


def test_run_shows(args):
    """The run's picture: maps, craft, reticle, score and lives; holding the button fires."""
    trace = os.path.join(args.out, "run_shows.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "run_shows", args=["--trace", trace]) as game:
        window = start_title(game)
        play = enter_run(game, window, args.out, "run_play.png")
        kd.check(play.lit_pixels(threshold=60) > 0.8 * (play.width // 2) * (play.height // 2) * 4 * 0.5,
                 "the maps are not there: the picture is mostly dark")
        kd.check(count(play, CRAFT, lambda p: min(p) > 200) > 80, "no white craft ahead of the camera")
        kd.check(count(play, CENTRE, pink) > 10, "no reticle at the centre")
        kd.check(count(play, SCORE, cyan) > 20, "no score panel")
        kd.check(count(play, LIVES, cyan) > 200, "no life icons")
        subprocess.run(["xdotool", "mousedown", "1"], check=True)
        start = len(kd.trace_lines(trace))

        def shots_in_flight():
            return max([l["shots"]["active"] for l in kd.trace_lines(trace)[start:] if l["scene"] == "game"] + [0])

        # The shots in flight are read from the trace, however slowly the frames come; the
        # reticle's pulse swells with every shot, and a screenshot may fall between two pulses.
        pulses = 0
        for i in range(8):
            shot = kd.screenshot(window.wid, os.path.join(args.out, f"run_fire{i}.png"))
            pulses += count(shot, (560, 280, 720, 440), pink) > 2 * count(play, (560, 280, 720, 440), pink)
        kd.wait_until(lambda: shots_in_flight() > 0, 60, "holding the left button never fired")
        subprocess.run(["xdotool", "mouseup", "1"], check=True)
        print(f"firing: {shots_in_flight()} shots in flight at most; the pulse was seen in {pulses} of 8 shots")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


def test_escape_in_run(args):
    """Escape asks; No goes on; Yes returns to the title, which then waits without asking."""
    with kd.Game(args.binary, args.game_dir, args.out, "escape_in_run") as game:
        window = start_title(game)
        enter_run(game, window, args.out, "escape_before.png")
        escape_answered_no(game, window, os.path.join(args.out, "return_question.png"), 3000, "run")
        kd.answer_question(game, yes=True)
        kd.wait_for_picture(window.wid, lambda p: p.lit_pixels(threshold=150, region=(320, 100, 960, 220)) > 200, 60,
                            "the title's logo is not back", os.path.join(args.out, "back_on_title.png"))
        names = [w.name for w in kd.list_windows()]
        kd.check(kd.QUESTION_CAPTION not in names, "the title asked to quit with the Escape that left the run")
        kd.check(game.process.poll() is None, "the game ended")
        print("Escape: No went on, Yes returned to a waiting title")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


if __name__ == "__main__":
    kd.run_main({"run_shows": test_run_shows, "escape_in_run": test_escape_in_run})
