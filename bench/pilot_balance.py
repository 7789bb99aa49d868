#!/usr/bin/env python3
"""Whether the course can be won: the pilot flies seeds FIRST..LAST headless (korvelin --headless
--autopilot --seed N), and the same seeds run again with nobody at the controls. Writes a Markdown
table (goal reached, hits taken, score, the gate a destroyed run headed for last) and the wall
time it took; with --traces DIR, keeps the traces of the first --draw seeds' piloted runs and
draws them over the course with korvelin-assets.

  bench/pilot_balance.py --binary build/game/korvelin --game-dir build/game [--seeds 1-50]
                         [--jobs 2] [--out table.md] [--traces DIR --assets build/bin/korvelin-assets]
"""
import argparse
import concurrent.futures
import json
import os
import subprocess
import sys
import time

IDLE_FRAMES = 3500  # a run without input is destroyed well before this


def fly(a, seed, pilot):
    cmd = [os.path.abspath(a.binary), "--headless", "--seed", str(seed)]
    cmd += ["--autopilot"] if pilot else ["--start", "game", "--frames", str(IDLE_FRAMES)]
    if pilot and a.traces and seed < a.first + a.draw:
        cmd += ["--trace", os.path.abspath(os.path.join(a.traces, "pilot-seed%d.jsonl" % seed))]
    p = subprocess.run(cmd, cwd=a.game_dir, capture_output=True, text=True, timeout=900)
    if p.returncode != 0:
        sys.exit("seed %d: exit status %d: %s" % (seed, p.returncode, p.stderr))
    return json.loads(p.stdout.splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--seeds", default="1-50")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--out")
    parser.add_argument("--traces", help="keep the piloted traces of the first seeds here and draw them")
    parser.add_argument("--draw", type=int, default=5, help="how many seeds' paths to draw")
    parser.add_argument("--assets", help="korvelin-assets, for the picture")
    a = parser.parse_args()
    a.first, last = (int(x) for x in a.seeds.split("-"))
    seeds = list(range(a.first, last + 1))
    if a.traces:
        os.makedirs(a.traces, exist_ok=True)

    begin = time.monotonic()
    jobs = [(s, True) for s in seeds] + [(s, False) for s in seeds]
    with concurrent.futures.ThreadPoolExecutor(max_workers=a.jobs) as pool:
        results = list(pool.map(lambda job: fly(a, *job), jobs))
    seconds = time.monotonic() - begin
    piloted, idle = results[:len(seeds)], results[len(seeds):]

    rows = ["| seed | pilot: goal | hits taken | score | destroyed heading for gate | no input: destroyed at gate |",
            "|---:|:---:|---:|---:|---:|---:|"]
    for seed, p, i in zip(seeds, piloted, idle):
        rows.append("| %d | %s | %d | %d | %s | %s |" % (
            seed, "yes" if p["goal"] else "no", p["hits"], p["score"], "" if p["goal"] else p["gate"],
            ("goal!" if i["goal"] else i["gate"]) if i["runOver"] else "not over"))
    goals = sum(p["goal"] for p in piloted)
    idle_goals = sum(i["goal"] for i in idle)
    frames = sum(r["frames"] for r in results)
    rows.append("")
    rows.append("The pilot reached the goal on %d of %d seeds (%.0f %%); without input, %d of %d. "
                "%d headless runs, %d frames, %.0f s wall time with %d at a time." %
                (goals, len(seeds), 100.0 * goals / len(seeds), idle_goals, len(seeds), len(results), frames,
                 seconds, a.jobs))
    table = "\n".join(rows) + "\n"
    sys.stdout.write(table)
    if a.out:
        with open(a.out, "w", encoding="utf-8") as f:
            f.write(table)

    if a.traces and a.assets:
        traces = []
        for s in seeds[:a.draw]:
            traces += ["--trace", os.path.abspath(os.path.join(a.traces, "pilot-seed%d.jsonl" % s))]
        course = os.path.join(a.game_dir, "data", "data", "cpdata.dat")
        png = os.path.abspath(os.path.join(a.traces, "pilot-paths.png"))
        subprocess.run([a.assets, "course", course, "--png", png] + traces, check=False)


if __name__ == "__main__":
    main()
