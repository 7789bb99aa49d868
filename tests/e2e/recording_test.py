#!/usr/bin/env python3
# A run recorded while xdotool plays it in the window (Space on the title, the left button held
# while the mouse turns the camera, D held, Escape asked and answered いいえ in the system's box,
# the window closed), then played again: headless it gives the same trace, byte for byte, and
# the same score as the window run wrote; in the window it plays itself to the same end. The
# window draws fewer frames than it runs updates where the machine is slow (the title alone takes
# longer than 16 ms on a software renderer): the traces match all the same, update for update,
# over everything but the frames drawn.
# Usage: recording_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import json
import os
import subprocess
import time

import korvelin_driver as kd
from fullscreen_test import wait_frames


def game_lines(trace_path):
    """The trace without the frames drawn so far, which only the window's speed decides."""
    lines = kd.trace_lines(trace_path)
    for line in lines:
        line.pop("drawn", None)
    return lines


def skipped(trace_path):
    """Updates that ran without a frame drawn after them."""
    lines = kd.trace_lines(trace_path)
    return len(lines) - len({l["drawn"] for l in lines})


def score_of(trace_path):
    games = [l for l in kd.trace_lines(trace_path) if l["scene"] == "game"]
    return games[-1]["score"] if games else 0


def test_record_replay(args):
    record = os.path.join(args.out, "recorded_run.txt")
    window_trace = os.path.join(args.out, "recorded_run.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "record_replay",
                 args=["--windowed", "--record", record, "--trace", window_trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_frames(window_trace, 10, game)
        kd.key("space")
        kd.wait_until(lambda: any(l["scene"] == "game" and not l["introActive"]
                                  for l in kd.trace_lines(window_trace)), 180.0, "the run never began")
        subprocess.run(["xdotool", "mousedown", "1"], check=True)
        for dx, dy in ((40, -6), (40, -6), (30, 0), (-20, 8), (-60, 4), (25, 0)):
            subprocess.run(["xdotool", "mousemove_relative", "--", str(dx), str(dy)], check=True)
            wait_frames(window_trace, 4, game)
        subprocess.run(["xdotool", "keydown", "d"], check=True)
        wait_frames(window_trace, 20, game)
        subprocess.run(["xdotool", "keyup", "d"], check=True)
        subprocess.run(["xdotool", "mouseup", "1"], check=True)
        kd.key("Escape")
        box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
        kd.focus(box.wid)
        kd.key("Return")  # いいえ
        kd.wait_until_gone(kd.QUESTION_CAPTION)
        kd.focus(window.wid)
        wait_frames(window_trace, 30, game)
        kd.send_delete_window(window.wid)
        kd.check(game.wait(20.0) == 0, f"did not end cleanly when closed; stderr:\n{game.stderr()}")

    lines = open(record, encoding="utf-8").read().splitlines()
    frames = len(kd.trace_lines(window_trace))
    kd.check(lines[0].startswith("# seed "), f"no seed on the first line: {lines[0]!r}")
    for what in (" down Space", " down LeftButton", " cursor ", " down D", " up D", " down Escape", " answer no"):
        kd.check(any(what in l for l in lines), f"the recording has no{what!r}")
    kd.check(lines[-1] == f"{frames} quit", f"the recording ends {lines[-1]!r}, the window ran {frames} frames")

    head_trace = os.path.join(args.out, "replayed_run.jsonl")
    p = subprocess.run([args.binary, "--headless", "--input", record, "--trace", head_trace], cwd=args.game_dir,
                       capture_output=True, text=True, timeout=600)
    kd.check(p.returncode == 0, f"the headless replay failed ({p.returncode}): {p.stderr}")
    summary = json.loads(p.stdout)
    kd.check(summary["frames"] == frames, f"the replay ran {summary['frames']} frames, the window {frames}")
    kd.check(summary["score"] == score_of(window_trace), f"score {summary['score']} against {score_of(window_trace)}")
    kd.check(game_lines(head_trace) == game_lines(window_trace), "the headless trace differs from the recorded run's")
    kd.check("-> no (from the script)" in p.stderr, "the recorded answer was not replayed")

    replay_trace = os.path.join(args.out, "window_replay.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "window_replay",
                 args=["--windowed", "--replay", record, "--trace", replay_trace]) as game:
        kd.check(game.wait(300.0) == 0, f"the replay did not end by itself; stderr:\n{game.stderr()}")
    kd.check(game_lines(replay_trace) == game_lines(window_trace),
             "the window replay's trace differs from the recorded run's")
    print(f"recorded {frames} updates ({skipped(window_trace)} without a frame drawn), {len(lines) - 2} events, "
          f"score {summary['score']}; replayed headless and in the window ({skipped(replay_trace)} updates without "
          f"a frame drawn) with the same trace")


if __name__ == "__main__":
    kd.run_main({"record_replay": test_record_replay})
