#!/usr/bin/env python3
# The real program from start-up to shutdown under an X display: the full-screen question, the
# window it leads to, what the window shows, closing it, and starting without a display.
# Usage: startup_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import signal
import subprocess
import time

import korvelin_driver as kd

# The client area the game asks for.
WIDTH, HEIGHT = 1280, 720
# The version text sits in the bottom right-hand corner of the title.
VERSION_CORNER = (WIDTH - 100, HEIGHT - 25, WIDTH, HEIGHT)


def screen_size():
    out = subprocess.run(["xwininfo", "-root"], capture_output=True, check=True).stdout.decode()
    size = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        if key in ("Width", "Height"):
            size[key] = int(value)
    return size["Width"], size["Height"]


def shows_a_picture(window, shot_path, game_dir):
    """Soon the window is not black, and the version corner is lit. With the title's background
    picture in the game folder, the picture fills the window. (A second of frames is enough on a
    quiet machine; a busy one may take several for its first frame.)"""
    deadline = time.monotonic() + 15.0
    while True:
        time.sleep(1.0)
        picture = kd.screenshot(window.wid, shot_path)
        if picture.lit_pixels() > 0 or time.monotonic() > deadline:
            break
    kd.check((picture.width, picture.height) == (window.width, window.height),
             f"screenshot is {picture.width}x{picture.height}, the window {window.width}x{window.height}")
    lit = picture.lit_pixels()
    kd.check(lit > 0, f"the window is still all black after 15 s (screenshot {shot_path})")
    # The corner is measured on the 1280 x 720 picture; a bigger window scales it.
    sx, sy = picture.width / WIDTH, picture.height / HEIGHT
    x0, y0, x1, y1 = VERSION_CORNER
    corner = (int(x0 * sx), int(y0 * sy), picture.width, picture.height)
    kd.check(picture.lit_pixels(threshold=128, region=corner) > 0,
             f"nothing bright where the version text belongs (screenshot {shot_path})")
    if os.path.exists(os.path.join(game_dir, "data", "Texture", "back.png")):
        kd.check(lit > picture.width * picture.height // 2,
                 f"only {lit} pixels lit although there is a background picture (screenshot {shot_path})")
    return lit


def close_and_expect_exit(game, window, limit=1.0):
    kd.send_delete_window(window.wid)
    status = game.wait(limit)
    kd.check(status is not None, f"still running {limit:.0f} s after the window was asked to close")
    kd.check(status == 0, f"ended with status {status} after closing; stderr:\n{game.stderr()}")


def test_question_no(args):
    """The question box comes first, over a hidden game window; Return answers No and gives a
    1280 x 720 window at the top-left corner that shows the title."""
    with kd.FullScreenRequests() as requests, kd.Game(args.binary, args.game_dir, args.out, "question_no") as game:
        box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
        early = [w for w in kd.list_windows() if w.name == kd.GAME_CAPTION and kd.is_viewable(w.wid)]
        kd.check(not early, f"the game window is shown before the question is answered: {early}")
        kd.focus(box.wid)
        kd.key("Return")
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        attrs = kd.window_attributes(window.wid)
        size = (int(attrs["Width"]), int(attrs["Height"]))
        corner = (int(attrs["Absolute upper-left X"]), int(attrs["Absolute upper-left Y"]))
        kd.check(size == (WIDTH, HEIGHT), f"client area is {size[0]}x{size[1]}, not {WIDTH}x{HEIGHT}")
        kd.check(corner == (0, 0), f"window at {corner}, not at the top-left corner")
        lit = shows_a_picture(window, os.path.join(args.out, "title_windowed.png"), args.game_dir)
        kd.check(not requests.poll(), f"No asked for full screen (windows {requests.poll()})")
        print(f"title: {lit} lit pixels of {WIDTH * HEIGHT}")
        close_and_expect_exit(game, window, limit=10.0)


def test_close_window(args):
    """Closing the window as a window manager does ends the program at once with status 0;
    a window destroyed by another program ends it with status 1, without an abort."""
    with kd.Game(args.binary, args.game_dir, args.out, "close_window") as game:
        kd.answer_question(game, yes=False)
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        # Frames run, so the close arrives in the middle of the loop.
        kd.wait_for_picture(window.wid, lambda p: p.lit_pixels() > 0, 60, "the window stays black")
        close_and_expect_exit(game, window, limit=1.0)

    # A window destroyed under the game by another program: the display library ends the
    # program with its own message; the game must not abort on its way out.
    with kd.Game(args.binary, args.game_dir, args.out, "window_destroyed") as game:
        kd.answer_question(game, yes=False)
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.wait_for_picture(window.wid, lambda p: p.lit_pixels() > 0, 60, "the window stays black")
        subprocess.run(["xdotool", "windowclose", str(window.wid)], check=True)
        status = game.wait(10.0)
        err = game.stderr()
    kd.check(status == 1 and "terminate" not in err and "pure virtual" not in err,
             f"a destroyed window ended the game with status {status}; stderr:\n{err}")


def test_question_yes(args):
    """Yes (a click on はい) makes the game ask for full screen; its window covers the screen and
    still draws. (Without a window manager nobody grants the request, so the request is what
    is checked.)"""
    with kd.FullScreenRequests() as requests, kd.Game(args.binary, args.game_dir, args.out, "question_yes") as game:
        kd.answer_question(game, yes=True)
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        screen = screen_size()
        attrs = kd.window_attributes(window.wid)
        size = (int(attrs["Width"]), int(attrs["Height"]))
        kd.check(size == screen, f"full-screen window is {size[0]}x{size[1]}, the screen {screen[0]}x{screen[1]}")
        lit = shows_a_picture(window, os.path.join(args.out, "title_fullscreen.png"), args.game_dir)
        kd.check(window.wid in requests.poll(),
                 f"Yes did not ask for full screen for the game window (requests for {requests.poll()})")
        print(f"full screen: {lit} lit pixels")
        close_and_expect_exit(game, window, limit=10.0)


def test_started_elsewhere(args):
    """Started from another folder (as a launcher does), the game finds its data and shaders
    beside itself: no error box, and the title shows."""
    with kd.Game(args.binary, args.game_dir, args.out, "started_elsewhere", cwd="/") as game:
        kd.answer_question(game, yes=False)
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        shows_a_picture(window, os.path.join(args.out, "title_started_elsewhere.png"), args.game_dir)
        kd.check("shader compile error" not in game.stderr(), f"effects were not found:\n{game.stderr()}")
        close_and_expect_exit(game, window, limit=10.0)


def free_display():
    for n in range(200, 400):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return f":{n}"
    raise kd.TestFailure("no free display number to point at")


def test_no_display(args):
    """Without a display the program ends at once, non-zero, and says why on standard error."""
    cases = [
        ("unset", {"DISPLAY": None, "WAYLAND_DISPLAY": None, "LANGUAGE": "en"}),
        ("missing", {"DISPLAY": free_display(), "WAYLAND_DISPLAY": None, "LANGUAGE": "en"}),
    ]
    faults = []
    for name, env in cases:
        game = kd.Game(args.binary, args.game_dir, args.out, "no_display_" + name, env)
        try:
            status = game.wait(5.0)
            err = game.stderr()
            if status is None:
                faults.append(f"DISPLAY {name}: still running after 5 s; stderr:\n{err}")
            elif status == 0:
                faults.append(f"DISPLAY {name}: ended with status 0; stderr:\n{err}")
            elif "cannot start" not in err or "display" not in err.lower():
                faults.append(f"DISPLAY {name}: no clear reason on standard error:\n{err}")
            else:
                print(f"DISPLAY {name}: status {status}, {err.strip()}")
        finally:
            game.stop()
    kd.check(not faults, "\n".join(faults))


def unnamed_box(game, timeout=20.0):
    """The first small viewable window without a name (a box with an empty caption)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        out = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True).stdout.decode("utf-8", "replace")
        for line in out.splitlines():
            fields = line.split()
            if len(fields) > 2 and fields[0].startswith("0x") and "(has no name)" in line and "root window" not in line:
                wid = int(fields[0], 16)
                if kd.is_viewable(wid):
                    return wid
        kd.check(game.process.poll() is None, f"the game ended before its last box; stderr:\n{game.stderr()}")
        time.sleep(0.1)
    raise kd.TestFailure("no box without a caption appeared")


def test_no_opengl33(args):
    """A display whose OpenGL stops below 3.3: both device kinds are refused, the two error
    boxes follow ("Direct3Dの初期化に失敗" / "Direct3D初期化", then "Direct3D初期化ミス" with no
    caption), and the program ends non-zero saying why."""
    env = {"MESA_GL_VERSION_OVERRIDE": "3.0"}
    with kd.Game(args.binary, args.game_dir, args.out, "no_opengl33", env) as game:
        kd.answer_question(game, yes=False)
        first = kd.wait_for_window("Direct3D初期化", game.process)
        kd.screenshot(first.wid, os.path.join(args.out, "device_failed.png"))
        kd.focus(first.wid)
        kd.key("Return")
        kd.wait_until_gone("Direct3D初期化")
        second = unnamed_box(game)
        kd.screenshot(second, os.path.join(args.out, "device_failed_2.png"))
        kd.focus(second)
        kd.key("Return")
        status = game.wait(5.0)
        err = game.stderr()
        kd.check(status not in (None, 0), f"expected a non-zero exit, got {status}; stderr:\n{err}")
        kd.check("OpenGL 3.3" in err, f"standard error does not say what is missing:\n{err}")
        print(f"status {status}: {err.strip().splitlines()[-1]}")


def test_question_without_locale(args):
    """A console with no locale at all, only LANGUAGE=ja, still gets a readable Japanese
    question: the box is as wide as its text, and its はい / いいえ buttons are real buttons."""
    unset = {name: None for name in ("LANG", "LC_ALL", "LC_CTYPE", "LC_MESSAGES")}
    with kd.Game(args.binary, args.game_dir, args.out, "question_without_locale", env_changes=unset) as game:
        box = kd.wait_for_window(kd.QUESTION_CAPTION, game.process)
        picture = kd.screenshot(box.wid, os.path.join(args.out, "question_without_locale.png"))
        text = picture.lit_pixels(threshold=180)
        kd.check(text > 150, f"the box shows no text ({text} light pixels, {box.width}x{box.height})")
        kd.focus(box.wid)
        kd.key("Return")
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        close_and_expect_exit(game, window, limit=10.0)


def test_crash_report(args):
    """SIGSEGV ends the game as that signal ends a program, and leaves a report naming the
    game's own functions; the next start names it once (standard error, and the title)."""
    state = os.path.join(args.out, "crash-state")
    if os.path.isdir(state):
        for name in os.listdir(os.path.join(state, "korvelin")) if os.path.isdir(os.path.join(state, "korvelin")) else []:
            os.remove(os.path.join(state, "korvelin", name))
    env = {"XDG_STATE_HOME": state}
    folder = os.path.join(state, "korvelin")
    with kd.Game(args.binary, args.game_dir, args.out, "crash", env_changes=env, args=["--windowed"]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        shows_a_picture(window, os.path.join(args.out, "crash-before.png"), args.game_dir)
        game.process.send_signal(signal.SIGSEGV)
        status = game.wait(20.0)
        kd.check(status == -signal.SIGSEGV, f"ended with {status}, not as SIGSEGV ends a program")
        reports = sorted(n for n in os.listdir(folder) if n.startswith("crash-") and n.endswith(".txt"))
        kd.check(len(reports) == 1, f"reports: {reports}; stderr:\n{game.stderr()}")
        report = os.path.join(folder, reports[0])
        kd.check(report in game.stderr(), "standard error does not name the report: " + game.stderr())
        with open(report, encoding="utf-8") as f:
            text = f.read()
        for part in ("version: ", "SIGSEGV", "scene: title", "Application::", "settings in effect:",
                     "display.fullscreen"):
            kd.check(part in text, f"the report lacks {part!r}:\n{text}")
    for start, told in ((1, True), (2, False)):
        with kd.Game(args.binary, args.game_dir, args.out, "crash", env_changes=env, args=["--windowed"]) as game:
            window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
            shows_a_picture(window, os.path.join(args.out, f"crash-after-{start}.png"), args.game_dir)
            close_and_expect_exit(game, window, limit=10.0)
            said = report in game.stderr()
            kd.check(said == told, f"start {start} after the crash: named {said}; stderr:\n{game.stderr()}")


if __name__ == "__main__":
    kd.run_main({
        "crash_report": test_crash_report,
        "question_without_locale": test_question_without_locale,
        "question_no": test_question_no,
        "close_window": test_close_window,
        "question_yes": test_question_yes,
        "no_display": test_no_display,
        "no_opengl33": test_no_opengl33,
        "started_elsewhere": test_started_elsewhere,
    })
