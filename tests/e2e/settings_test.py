#!/usr/bin/env python3
# The player's own game: a settings file that moves slide-left to the Left arrow and fire to
# Return plays with those keys (and no longer with A); the pause key and a lost focus stop the
# run's frames until it goes on; the options screen turns the music down with keys alone and
# the file holds the new level afterwards.
# Usage: settings_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import json
import os
import subprocess
import time

import korvelin_driver as kd

BINDINGS = """[keys]
slide_left = ["Left"]
fire = ["Return"]

[display]
fullscreen = "no"
"""


def config_file(out, name):
    return os.path.join(out, name + "-config", "korvelin", "settings.toml")


def write_settings(out, name, text):
    path = config_file(out, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def frames(trace):
    """The trace's lines so far (a line being written is left for the next look)."""
    with open(trace, encoding="utf-8") as f:
        return [json.loads(line) for line in f.read().splitlines()[:-1] if line]


def wait_for(trace, test, what, timeout=180):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        lines = frames(trace)
        if lines and test(lines[-1]):
            return lines
        time.sleep(0.2)
    kd.check(False, "timed out waiting for " + what)


def held(trace, key, count=30):
    """Holds the key for `count` frames of the run (however fast they come); returns the lines
    of those frames and a few after."""
    start = len(frames(trace))
    subprocess.run(["xdotool", "keydown", key], check=True)
    wait_for(trace, lambda l: l["frame"] >= start + count, f"{count} frames with {key} held", 60)
    subprocess.run(["xdotool", "keyup", key], check=True)
    wait_for(trace, lambda l: l["frame"] >= start + count + 5, "frames after letting go", 60)
    return frames(trace)[start:]


def test_bindings_and_pause(args):
    """Left banks and Return fires, A does nothing; P and a lost focus hold the frames."""
    write_settings(args.out, "bindings", BINDINGS)
    trace = os.path.join(args.out, "bindings.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "bindings", args=["--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)  # no question: "no" in the file
        kd.focus(window.wid)
        kd.key("space")
        wait_for(trace, lambda l: l["scene"] == "game" and not l["introActive"], "the run after Space")

        def banks_while(key):
            return max(abs(l["player"]["bank"]) for l in held(trace, key))

        kd.check(banks_while("a") == 0, "A still slides although the file moved slide-left to Left")
        kd.check(banks_while("Left") > 0.1, "the Left arrow does not bank the craft")
        shots = max(l["shots"]["active"] for l in held(trace, "Return"))
        kd.check(shots > 0, "Return does not fire")
        print(f"Left banks, A does not; Return fired {shots} shot(s) at once")

        for how, hold, let_go in (("the pause key", lambda: kd.key("p"), lambda: kd.key("p")),
                                  ("a lost focus", kd.unfocus, lambda: (kd.focus(window.wid), kd.key("p")))):
            hold()
            # Held once the frame that was running has ended; then 2 s with no frame at all.
            kd.wait_for_trace_to_stop(trace, 60, f"frames kept running after {how}")
            stopped = len(frames(trace))
            shot = kd.screenshot(window.wid, os.path.join(args.out, "paused.png"))
            time.sleep(2.0)
            kd.check(len(frames(trace)) == stopped, f"frames ran on after {how}")
            kd.check(game.process.poll() is None, f"the game ended after {how}")
            let_go()
            wait_for(trace, lambda l: l["frame"] > stopped + 10, f"frames again after {how}", 60)
            print(f"{how}: the trace stood at {stopped} frames for 2 s, then went on")
        kd.check(shot.lit_pixels(threshold=60) > 0, "the paused picture is black")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")


def test_options_music(args):
    """O on the title, Left three times on the music, Escape: the file says 70."""
    path = write_settings(args.out, "options", '[display]\nfullscreen = "no"\n')
    trace = os.path.join(args.out, "options.jsonl")
    with kd.Game(args.binary, args.game_dir, args.out, "options", args=["--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_for(trace, lambda l: l["frame"] >= 10, "the title running")
        kd.key("o")
        kd.wait_for_trace_to_stop(trace, 60, "O did not hold the title for the options")
        for _ in range(3):
            kd.key("Left")
        kd.wait_for_stillness(window.wid, 30, "the options screen kept changing")
        kd.screenshot(window.wid, os.path.join(args.out, "options.png"))
        kd.key("Escape")

        def saved():
            with open(path, encoding="utf-8") as f:
                return f.read()

        kd.wait_until(lambda: "music = 70\n" in saved(), 30, lambda: "the file does not hold the new level:\n" + saved())
        text = saved()
        kd.check('fullscreen = "no"' in text, "the file lost the player's own setting:\n" + text)
        kd.check(game.process.poll() is None, "Escape on the options screen ended the game")
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")
        kd.check("settings" not in game.stderr(), "said something of the settings: " + game.stderr())


if __name__ == "__main__":
    kd.run_main({"bindings_and_pause": test_bindings_and_pause, "options_music": test_options_music})
