#!/usr/bin/env python3
# Escape is the safe answer and a signal is always heard: on the title, Escape asks whether to
# quit and a second Escape answers No, so the title goes on; in a run, Escape asks whether to go
# back and a second Escape answers No, so the run goes on; both in the system's box and in the
# game's own drawn box. With the quit question open, SIGTERM (a desktop logging out) or SIGINT
# ends the game within a second, with the status it gives between frames.
# Usage: escape_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import signal
import time

import korvelin_driver as kd
from fullscreen_test import drawn_box_seen, frames, wait_frames
from question_test import NO_BOXES, start_windowed


def start(args, name, drawn):
    """The game in a window writing its trace, frames running on the title."""
    return start_windowed(args, name, NO_BOXES if drawn else None)


def ask(game, window, drawn, shot):
    """Escape on the game; waits for its question and returns the window that holds it."""
    kd.focus(window.wid)
    kd.key("Escape")
    if drawn:
        kd.wait_until(lambda: drawn_box_seen(kd.screenshot(window.wid)) or game.process.poll() is not None, 30.0,
                      "no drawn question after Escape")
        kd.check(game.process.poll() is None, f"the game ended; stderr:\n{game.stderr()}")
        kd.screenshot(window.wid, shot)
        return window
    box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
    kd.screenshot(box.wid, shot)
    return box


def escape_twice(args, drawn):
    name = "escape_drawn" if drawn else "escape_system"
    game, window, trace = start(args, name, drawn)
    with game:
        box = ask(game, window, drawn, os.path.join(args.out, name + "_title.png"))
        kd.focus(box.wid)
        kd.key("Escape")
        if not drawn:
            kd.wait_until_gone(kd.QUESTION_CAPTION)
        wait_frames(trace, 30, game)
        kd.check(kd.trace_lines(trace)[-1]["scene"] == "title", "Escape, Escape left the title")

        kd.focus(window.wid)
        kd.key("space")
        kd.wait_until(lambda: any(l["scene"] == "game" and not l["introActive"] for l in kd.trace_lines(trace)),
                      180.0, "the run never began")
        box = ask(game, window, drawn, os.path.join(args.out, name + "_run.png"))
        kd.focus(box.wid)
        kd.key("Escape")
        if not drawn:
            kd.wait_until_gone(kd.QUESTION_CAPTION)
        wait_frames(trace, 60, game)
        last = kd.trace_lines(trace)[-1]
        kd.check(last["scene"] == "game" and not last["runOver"], f"Escape, Escape did not keep the run going: {last}")
        print(f"{'drawn' if drawn else 'system'} box: Escape twice kept the title and then the run going")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


def signal_with_question_open(args, drawn, signum):
    name = ("sigterm" if signum == signal.SIGTERM else "sigint") + ("_drawn" if drawn else "_system")
    game, window, trace = start(args, name, drawn)
    with game:
        ask(game, window, drawn, os.path.join(args.out, name + ".png"))
        held = frames(trace)
        sent = time.monotonic()
        game.process.send_signal(signum)
        status = game.wait(1.0)
        took = time.monotonic() - sent
        kd.check(status is not None, f"still running a second after {signal.Signals(signum).name}; "
                                     f"stderr:\n{game.stderr()}")
        kd.check(status == 0, f"ended with status {status}; stderr:\n{game.stderr()}")
        # The frame that asked may end (the drawn box returns to it); no other runs.
        kd.check(frames(trace) <= held + 1, f"{frames(trace) - held} frames ran after the question was asked")
        # The system's box is shown by a process of its own, which must not outlive the game.
        kd.wait_until_gone(kd.QUESTION_CAPTION, 1.0)
        print(f"{signal.Signals(signum).name} with the {'drawn' if drawn else 'system'} question open: "
              f"ended in {took:.2f} s with status 0")


if __name__ == "__main__":
    kd.run_main({
        "escape_system": lambda a: escape_twice(a, drawn=False),
        "escape_drawn": lambda a: escape_twice(a, drawn=True),
        "sigterm_system": lambda a: signal_with_question_open(a, False, signal.SIGTERM),
        "sigterm_drawn": lambda a: signal_with_question_open(a, True, signal.SIGTERM),
        "sigint_system": lambda a: signal_with_question_open(a, False, signal.SIGINT),
    })
