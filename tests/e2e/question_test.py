#!/usr/bin/env python3
# Questions where no system box can be shown (made so with KORVELIN_NO_SYSTEM_BOXES): every
# question is the game's own box, drawn over the frozen picture with the same caption, text,
# buttons and default, and answered with the keyboard and the mouse: the start-up question before
# any frame, the title's quit question, and the run's return question over the run's picture.
# Usage: question_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import time

import korvelin_driver as kd
from fullscreen_test import drawn_box_seen, frames, wait_frames

NO_BOXES = {"KORVELIN_NO_SYSTEM_BOXES": "1"}
# Where the drawn box puts its buttons on the 1280 x 720 window, for a one-line question.
YES_BUTTON = (556, 409)


def wait_for_drawn_box(window, game, shot_path):
    kd.wait_until(lambda: drawn_box_seen(kd.screenshot(window.wid)) or game.process.poll() is not None, 30.0,
                  "no drawn question")
    kd.check(game.process.poll() is None, f"the game ended; stderr:\n{game.stderr()}")
    kd.check(kd.QUESTION_CAPTION not in [w.name for w in kd.list_windows()], "a system box was opened")
    return kd.screenshot(window.wid, shot_path)


def start_windowed(args, name, env=NO_BOXES):
    """The game in a window (by default with no system boxes), writing its trace; returns it, its
    window and the trace's path once frames run."""
    trace = os.path.join(args.out, name + ".jsonl")
    game = kd.Game(args.binary, args.game_dir, args.out, name, env_changes=env,
                   args=["--windowed", "--trace", trace])
    try:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_frames(trace, 10, game)
    except BaseException:
        game.stop()
        raise
    return game, window, trace


def test_startup_drawn(args):
    """No system box: the full-screen question is drawn in the shown window before any frame;
    Return takes the default, a window, and the title starts."""
    trace = os.path.join(args.out, "startup_drawn.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "startup_drawn", env_changes=NO_BOXES,
                 args=["--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        wait_for_drawn_box(window, game, os.path.join(args.out, "startup_drawn.png"))
        time.sleep(0.5)
        kd.check(frames(trace) == 0, "frames ran before the start-up question was answered")
        kd.focus(window.wid)
        kd.key("Return")
        wait_frames(trace, 20, game)
        kd.check(not kd.is_fullscreen(window.wid), "Return (いいえ) gave full screen")
        # Said in the game's language, Japanese here.
        kd.check("システムのメッセージボックスがありません" in game.stderr(), "the missing system box was not said")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


def test_title_drawn(args):
    """The title's quit question, drawn: Return answers いいえ and the title goes on; a click on
    はい ends the game."""
    game, window, trace = start_windowed(args, "title_drawn")
    with game:
        kd.key("Escape")
        wait_for_drawn_box(window, game, os.path.join(args.out, "title_drawn.png"))
        kd.key("Return")
        wait_frames(trace, 10, game)
        kd.key("Escape")
        wait_for_drawn_box(window, game, os.path.join(args.out, "title_drawn_again.png"))
        kd.click(window.wid, *YES_BUTTON)
        kd.check(game.wait(20.0) == 0, f"a click on はい did not end the game; stderr:\n{game.stderr()}")


def test_run_drawn(args):
    """In the run, Escape's question is drawn over the run's frozen picture; Y answers はい and
    the title comes back."""
    game, window, trace = start_windowed(args, "run_drawn")
    with game:
        kd.key("space")
        kd.wait_until(lambda: any(l["scene"] == "game" and not l["introActive"] for l in kd.trace_lines(trace)),
                      180.0, "the run never began")
        kd.key("Escape")
        shot = wait_for_drawn_box(window, game, os.path.join(args.out, "run_drawn.png"))
        # The run's picture is still there around the box: the lit canyon, dimmed.
        kd.check(shot.lit_pixels(threshold=25, region=(0, 0, 300, 720)) > 20000, "no frozen run behind the box")
        kd.key("y")
        kd.wait_until(lambda: kd.trace_lines(trace)[-1]["scene"] == "title", 30.0, "はい did not return to the title")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


if __name__ == "__main__":
    kd.run_main({"startup_drawn": test_startup_drawn, "title_drawn": test_title_drawn, "run_drawn": test_run_drawn})
