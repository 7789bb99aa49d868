#!/usr/bin/env python3
# The game keeps real time in the window: a run started with Space and fire held for a stretch of
# wall-clock time (KORVELIN_CLOCK_SECONDS, 15 by default; 60 for the full measurement) runs the
# updates that real time asks for. Always checked, whatever the machine's load: the game never
# runs ahead of real time, and it runs every update that was due except those a frame slower than
# four updates (64 ms) could not take. How close to real time it keeps and how many frames a
# second it draws at the render scale `auto` chose are printed, not judged: they measure the
# machine's drawing speed, which is the benchmarks' business.
# Usage: clock_test.py <test> --binary korvelin --game-dir build/game --out <folder>
import os
import subprocess
import time

import korvelin_driver as kd
from fullscreen_test import wait_frames


def test_real_time_run(args):
    seconds = float(os.environ.get("KORVELIN_CLOCK_SECONDS", "15"))
    trace = os.path.join(args.out, "real_time_run.jsonl")
    # In English: the software renderer's line is read below.
    with kd.Game(args.binary, args.game_dir, args.out, "real_time_run", env_changes={"LANGUAGE": "en"},
                 args=["--windowed", "--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_frames(trace, 10, game)
        kd.key("space")
        kd.wait_until(lambda: any(l["scene"] == "game" and not l["introActive"] for l in kd.trace_lines(trace)),
                      180.0, "the run never began")
        subprocess.run(["xdotool", "mousedown", "1"], check=True)
        first = kd.trace_lines(trace)[-1]
        begin = time.monotonic()
        load = os.getloadavg()[0]
        time.sleep(seconds)  # the stretch measured: the game runs meanwhile
        last = kd.trace_lines(trace)[-1]
        wall = time.monotonic() - begin
        load = max(load, os.getloadavg()[0])
        subprocess.run(["xdotool", "mouseup", "1"], check=True)
        kd.send_delete_window(window.wid)
        kd.check(game.wait(30.0) == 0, f"did not end cleanly when closed; stderr:\n{game.stderr()}")
        stderr = game.stderr()

    updates, drawn = last["frame"] - first["frame"], last["drawn"] - first["drawn"]
    game_time = updates * 0.016
    scale = [l for l in stderr.splitlines() if "render scale" in l]
    print(f"{wall:.1f} s of wall time: {updates} updates ({game_time:.2f} s of game time, "
          f"{game_time / wall:.1%} of real time), {drawn} frames drawn ({drawn / wall:.1f} a second); "
          f"load {load:.1f}; {scale[0] if scale else 'no software renderer named'}")
    kd.check(last["scene"] == "game", "the run ended while fire was held")
    # The line read last may be a few updates old: half a frame of slack either way.
    kd.check(game_time <= wall + 0.1, "the game ran ahead of real time")
    # Updates are dropped only by a drawn frame slower than four updates, which then runs four:
    # without such a frame every update real time asked for ran. (A busy machine makes some
    # frames that slow; then the four a frame is what is checked.)
    lines = [l for l in kd.trace_lines(trace) if first["frame"] < l["frame"] <= last["frame"]]
    per_frame = {}
    for l in lines:
        per_frame[l["drawn"]] = per_frame.get(l["drawn"], 0) + 1
    kd.check(max(per_frame.values(), default=0) <= 4, "a drawn frame ran more than four updates")
    slow = sum(1 for n in per_frame.values() if n == 4)
    if slow == 0:
        kd.check(updates >= 0.98 * wall / 0.016 - 8,
                 f"{updates} updates where real time asked for {wall / 0.016:.0f}, with no frame slower than 64 ms")
    print(f"{slow} drawn frame(s) slower than four updates")
    # How close to real time and how many frames a second depend on how fast this machine draws
    # (on a software renderer, on how much of the CPU it gets): figures for the benchmark notes,
    # printed above, not judged by a test.


if __name__ == "__main__":
    kd.run_main({"real_time_run": test_real_time_run})
