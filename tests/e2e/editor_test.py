#!/usr/bin/env python3
# The developer overlay in a run: the "DebugState" window with its green title, Space placing
# a gate marker that is drawn in the world, File > Save writing "test2.dat" next to the program,
# which the asset tool reads back, and a course saved under a name of the maker's own with Save
# as, opened again over unsaved gates after a question, and played from another folder; the
# window closed over unsaved gates asks first.
# Usage: editor_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import json
import os
import shutil
import subprocess
import tempfile

import korvelin_driver as kd
from game_test import count, enter_run
from title_test import start_title

# Where the editor's window first stands, in client pixels: its title bar, its File menu, the
# menu's items, the "Set" button and the CPID slider (the font is the UI's own). A click lasts
# less than a frame; the UI still sees it. A key must be held for a frame or two: the UI reads
# the keys' state, not their presses.
TITLE_BAR = (12, 92, 360, 106)
FILE_MENU = (36, 118)
SAVE_ITEM = (45, 142)
SET_BUTTON = (32, 214)
OPEN_ITEM = (45, 181)
SAVE_AS_ITEM = (45, 198)
CPID_SLIDER = (134, 191)


def green_title(p):
    return p[1] > 150 and p[0] < 40 and p[2] < 90


def greenish(p):
    return p[1] > p[0] + 40 and p[1] > p[2] + 20


class EditorTrace:
    """The overlay's editor as the run's trace tells it, frame by frame."""

    def __init__(self, path):
        self.path = path

    def last(self):
        """(drawn frames, editor state) of the last whole line that has the editor; (-1, {}) before
        any. The editor's UI sees the keys once a drawn frame, however many updates it runs."""
        try:
            with open(self.path, "rb") as f:
                f.seek(max(0, os.path.getsize(self.path) - 65536))
                lines = f.read().split(b"\n")[:-1]
        except FileNotFoundError:
            return -1, {}
        for line in reversed(lines):
            try:
                entry = json.loads(line)
            except ValueError:
                continue  # the first line cut by the seek
            if "editor" in entry:
                return entry.get("drawn", entry["frame"]), entry["editor"]
        return -1, {}

    def wait(self, what, condition, timeout=60.0):
        kd.wait_until(lambda: condition(self.last()[1]), timeout, what)
        return self.last()[1]

    def frames(self, n):
        """Returns once n more frames have been drawn: a key held that long is seen by the UI."""
        start = self.last()[0]
        kd.wait_until(lambda: self.last()[0] >= start + n, 30.0, f"{n} frames did not run")


def hold(trace, name):
    subprocess.run(["xdotool", "keydown", name], check=True)
    trace.frames(2)
    subprocess.run(["xdotool", "keyup", name], check=True)
    trace.frames(2)


def fly(trace, frames):
    subprocess.run(["xdotool", "keydown", "w"], check=True)
    trace.frames(frames)
    subprocess.run(["xdotool", "keyup", "w"], check=True)


def place(trace, count):
    hold(trace, "space")
    trace.wait(f"Space placed no gate number {count}", lambda e: e.get("records") == count)


def choose(window, trace, item, dialog):
    kd.click(window.wid, *FILE_MENU)
    trace.frames(2)
    kd.click(window.wid, *item)
    trace.wait(f"File > {dialog} shows no dialog", lambda e: e.get("dialog") == dialog)
    trace.frames(2)


def test_editor_places_and_saves(args):
    """Gates placed with Space (their markers drawn), saved with File > Save next to the program
    (the course tool reads them back) and with Save as under ~/courses/a.dat; one more placed,
    the course opened again: asked first, then the three gates; closing the window over an
    unsaved gate asked first; the file plays from another folder. One game for it all: starting
    a run under Xvfb costs most of the time."""
    home = tempfile.mkdtemp(prefix="korvelin-home-")
    start = os.path.join(home, "elsewhere")
    os.makedirs(start)
    saved = os.path.join(args.game_dir, "test2.dat")
    if os.path.exists(saved):
        os.remove(saved)
    saved_as = os.path.join(home, "courses", "a.dat")
    trace = EditorTrace(os.path.join(args.out, "editor.trace.jsonl"))
    if os.path.exists(trace.path):
        os.remove(trace.path)
    env = {"HOME": home, "XDG_DATA_HOME": None, "XDG_STATE_HOME": None}
    try:
        with kd.Game(args.binary, args.game_dir, args.out, "editor", env_changes=env, cwd=start,
                     args=["--dev", "--trace", trace.path]) as game:
            window = start_title(game)
            before = enter_run(game, window, args.out, "editor_run.png")
            kd.check(count(before, TITLE_BAR, green_title) > 300, "no green title bar of DebugState")
            kd.focus(window.wid)
            place(trace, 1)
            placed = kd.screenshot(window.wid, os.path.join(args.out, "editor_placed.png"))
            world = (400, 250, 1000, 700)
            kd.check(count(placed, world, greenish) > 3 * count(before, world, greenish) + 500,
                     "no marker drawn where the gate was placed")
            # Gates 40 units apart or more (the overlay's craft flies 2 units a frame with W).
            fly(trace, 25)
            place(trace, 2)
            fly(trace, 25)
            # The last gate is the goal (kind 2), typed into the CPID slider with Ctrl+click.
            subprocess.run(["xdotool", "mousemove", "--window", str(window.wid), *map(str, CPID_SLIDER)], check=True)
            subprocess.run(["xdotool", "keydown", "ctrl", "click", "1"], check=True)
            trace.frames(2)
            subprocess.run(["xdotool", "keyup", "ctrl"], check=True)
            trace.frames(2)
            subprocess.run(["xdotool", "type", "2"], check=True)
            hold(trace, "Return")
            trace.wait("the goal's kind was not typed in", lambda e: e.get("kind") == 2)
            place(trace, 3)

            kd.click(window.wid, *FILE_MENU)
            trace.frames(2)
            kd.click(window.wid, *SAVE_ITEM)
            trace.wait("File > Save did not save", lambda e: not e.get("unsaved"))
            kd.check(os.path.exists(saved), "File > Save wrote no test2.dat next to the program")

            trace.frames(2)
            choose(window, trace, SAVE_AS_ITEM, "save as")
            subprocess.run(["xdotool", "type", "~/courses/a.dat"], check=True)
            hold(trace, "Return")
            state = trace.wait("Save as did not save", lambda e: e.get("file") == "~/courses/a.dat")
            kd.check(not state.get("unsaved") and not state.get("dialog"), f"after Save as: {state}")
            with open(saved_as) as f:
                kinds = [line.split("\t")[0] for line in f.read().splitlines() if line]
            kd.check(kinds == ["0", "0", "2"], f"~/courses/a.dat holds gates of kinds {kinds}, not 0 0 2")

            place(trace, 4)
            choose(window, trace, OPEN_ITEM, "open")  # the last course is offered
            kd.screenshot(window.wid, os.path.join(args.out, "editor_open_dialog.png"))
            # The question stops the frames: Return is let go once it shows.
            subprocess.run(["xdotool", "keydown", "Return"], check=True)
            box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
            subprocess.run(["xdotool", "keyup", "Return"], check=True)
            kd.check(trace.last()[1].get("records") == 4, "the gates went before the answer")
            kd.click(box.wid, *kd.find_yes_button(box))
            kd.wait_until_gone(kd.QUESTION_CAPTION)
            trace.wait("Open did not bring the three gates back", lambda e: e.get("records") == 3 and not e.get("unsaved"))
            kd.screenshot(window.wid, os.path.join(args.out, "editor_opened.png"))
            # Closing the window over an unsaved gate asks first: Return (No, the default) keeps
            # the game and the gates, Yes closes it.
            kd.focus(window.wid)
            place(trace, 4)
            kd.send_delete_window(window.wid)
            kd.answer_question(game, yes=False)
            trace.frames(2)
            kd.check(game.process.poll() is None, "the game closed although the answer was No")
            kd.send_delete_window(window.wid)
            box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
            kd.click(box.wid, *kd.find_yes_button(box))
            kd.check(game.wait(30.0) == 0, "did not end cleanly when closed")

        tool = os.path.join(os.path.dirname(args.binary), "..", "bin", "korvelin-assets")
        models = os.path.join(args.game_dir, "data", "model")
        out = subprocess.run([tool, "course", saved, models], capture_output=True, text=True).stdout
        kd.check(": 3 records," in out, "korvelin-assets did not read the saved records back: %r" % out)

        # Played as the README says (--course, a path from the folder one is in), headless, to
        # its goal. ./run.sh itself is the README test's; here the built program starts the same way.
        played = os.path.join(start, "played.jsonl")
        run = subprocess.run([args.binary, "--headless", "--start", "game", "--course", "courses/a.dat",
                              "--frames", "1500", "--trace", played],
                             cwd=home, env=dict(os.environ, HOME=home), capture_output=True, text=True, timeout=120)
        kd.check(run.returncode == 0, f"the saved course did not play: {run.stderr.strip()}")
        frames = kd.trace_lines(played)
        kd.check(not any("courseError" in f for f in frames), f"the saved course was refused: {run.stderr.strip()}")
        kd.check(any(f.get("runOver") for f in frames), "the run on the saved course never reached its goal")
        print("placed, saved, saved as, opened again and played: " + out.splitlines()[0])
    finally:
        shutil.rmtree(home, ignore_errors=True)
        if os.path.exists(saved):
            os.remove(saved)

if __name__ == "__main__":
    kd.run_main({"editor_places_and_saves": test_editor_places_and_saves})
