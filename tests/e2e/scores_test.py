#!/usr/bin/env python3
# Best runs kept across two starts in a fresh user data folder: the first window run (a short
# course, two gates, flown to its goal untouched) lands in scores.json with its recording, which played
# headless gives the same score; the second start's title shows that best score.
# Usage: scores_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import glob
import json
import os
import shutil
import subprocess

import korvelin_driver as kd
from fullscreen_test import wait_frames


def short_course(game_dir, out, gates=2):
    """The first gates of the game's course, the last made the goal: a run of a few seconds."""
    with open(os.path.join(game_dir, "data", "data", "cpdata.dat"), encoding="utf-8") as f:
        records = [line.split() for line in f.read().splitlines() if line.strip()]
    main = [r for r in records if r[1] == "0"][:gates]
    main[-1][0] = "2"
    path = os.path.join(out, "scores_course.dat")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join("\t".join(r) for r in main))
    return path


def bright(picture):
    """Near-white pixels at the bottom left, where the title shows the best score."""
    return picture.lit_pixels(threshold=235, region=(20, 600, 560, 716))


def start(args, env, course, name, then):
    """The game in its window on the course; `then(window, trace, game)` plays it, then the
    window is closed. Returns what `then` returned."""
    trace = os.path.join(args.out, name + ".jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, name, env_changes=env,
                 args=["--windowed", "--course", course, "--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_frames(trace, 20, game)
        seen = then(window, trace, game)
        kd.send_delete_window(window.wid)
        kd.check(game.wait(20.0) == 0, f"did not end cleanly when closed; stderr:\n{game.stderr()}")
    return seen


def test_best_run_kept(args):
    home = os.path.join(args.out, "scores-home")
    shutil.rmtree(home, ignore_errors=True)
    os.makedirs(home)
    env = {"XDG_DATA_HOME": home}
    course = short_course(args.game_dir, args.out)
    def first_run(window, trace, game):
        before = bright(kd.screenshot(window.wid, os.path.join(args.out, "scores_title_first.png")))
        kd.key("space")
        kd.wait_until(lambda: any(l["scene"] == "game" and l["runOver"] for l in kd.trace_lines(trace)), 240.0,
                      "the run never ended")
        wait_frames(trace, 10, game)
        kd.screenshot(window.wid, os.path.join(args.out, "scores_result.png"))
        return before

    before = start(args, env, course, "scores_first", first_run)

    folder = os.path.join(home, "korvelin")
    with open(os.path.join(folder, "scores.json"), encoding="utf-8") as f:
        kept = json.load(f)
    runs = [run for runs in kept["courses"].values() for run in runs]
    kd.check(len(runs) == 1, f"one run kept: {kept}")
    run = runs[0]
    kd.check(run["goal"] and run["livesLeft"] == 3 and run["score"] == 6000, f"the goal untouched: {run}")
    recording = os.path.join(folder, run["recording"])
    kd.check(run["recording"] and os.path.isfile(recording), f"no recording beside the list: {run}")
    kd.check(not glob.glob(os.path.join(folder, "session-*.txt")), "the session recording was left behind")

    p = subprocess.run([args.binary, "--headless", "--input", recording, "--course", course], cwd=args.game_dir,
                       capture_output=True, text=True, timeout=600)
    kd.check(p.returncode == 0, f"the headless replay failed ({p.returncode}): {p.stderr}")
    summary = json.loads(p.stdout)
    kd.check(summary["goal"] and summary["score"] + 2000 * 3 == run["score"],
             f"the replay scored {summary}, the list holds {run['score']}")

    after = start(args, env, course, "scores_second", lambda window, trace, game: bright(
        kd.screenshot(window.wid, os.path.join(args.out, "scores_title_second.png"))))
    kd.check(after > before + 500, f"the title shows no best score ({before} bright pixels before, {after} after)")
    print(f"kept {run}; replayed headless to {summary['score']} points; title bright pixels {before} -> {after}")


if __name__ == "__main__":
    kd.run_main({"best_run_kept": test_best_run_kept})
