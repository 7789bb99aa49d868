#!/usr/bin/env python3
# The developer overlay in a run: the "DebugState" window with its green title, Space placing
# a gate marker that is drawn in the world, and File > Save writing "test2.dat" next to the
# program, which the asset tool reads back.
# Usage: editor_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import subprocess
import time

import korvelin_driver as kd
from game_test import count, enter_run
from title_test import start_title

# Where the editor's window first stands, in client pixels: its title bar, its File menu, the
# menu's Save and the "Set" button (the font is the UI's own). A click lasts less than a frame;
# the UI still sees it.
TITLE_BAR = (12, 92, 360, 106)
FILE_MENU = (36, 118)
SAVE_ITEM = (45, 142)
SET_BUTTON = (32, 214)


def green_title(p):
    return p[1] > 150 and p[0] < 40 and p[2] < 90


def greenish(p):
    return p[1] > p[0] + 40 and p[1] > p[2] + 20


def test_editor_places_and_saves(args):
    saved = os.path.join(args.game_dir, "test2.dat")
    if os.path.exists(saved):
        os.remove(saved)
    with kd.Game(args.binary, args.game_dir, args.out, "editor", args=["--dev"]) as game:
        window = start_title(game)
        before = enter_run(game, window, args.out, "editor_run.png")
        kd.check(count(before, TITLE_BAR, green_title) > 300, "no green title bar of DebugState")
        kd.focus(window.wid)
        subprocess.run(["xdotool", "keydown", "space"], check=True)
        time.sleep(0.8)
        subprocess.run(["xdotool", "keyup", "space"], check=True)
        time.sleep(1.5)
        placed = kd.screenshot(window.wid, os.path.join(args.out, "editor_placed.png"))
        world = (400, 250, 1000, 700)
        kd.check(count(placed, world, greenish) > 3 * count(before, world, greenish) + 500,
                 "no marker drawn where the gate was placed")
        kd.click(window.wid, *FILE_MENU)
        time.sleep(1.5)
        kd.click(window.wid, *SAVE_ITEM)
        deadline = time.monotonic() + 20
        while not os.path.exists(saved) and time.monotonic() < deadline:
            time.sleep(0.2)
        kd.check(os.path.exists(saved), "File > Save wrote no test2.dat next to the program")
        kd.screenshot(window.wid, os.path.join(args.out, "editor_saved.png"))
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")
    tool = os.path.join(os.path.dirname(args.binary), "..", "bin", "korvelin-assets")
    models = os.path.join(args.game_dir, "data", "model")
    out = subprocess.run([tool, "course", saved, models], capture_output=True, text=True).stdout
    os.remove(saved)
    kd.check(": 1 records," in out, "korvelin-assets did not read the saved record back: %r" % out)
    print("placed and saved: " + out.splitlines()[0])


if __name__ == "__main__":
    kd.run_main({"editor_places_and_saves": test_editor_places_and_saves})
