#!/usr/bin/env python3
# Full screen at any time, under a window manager (openbox on a display of the test's own, larger
# than the game's picture): Alt+Enter and F11 switch between the window and full screen while the
# frames go on, the picture letterboxed; --fullscreen starts there without asking; and in full
# screen a question is the game's own box, drawn over the frozen picture while no frame runs.
# Usage: fullscreen_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os
import time

import korvelin_driver as kd

SCREEN = (1600, 1000)
# The 1280 x 720 picture scaled into 1600 x 1000: 1600 x 900 between two bars of 50.
BAR = 50
EDGE = (70, 210, 230)  # the drawn box's cyan edge


def frames(trace):
    return len(kd.trace_lines(trace))


def wait_frames(trace, more, game, timeout=60.0):
    """Waits until the trace has `more` lines beyond what it has now; the frames go on."""
    start = frames(trace)
    kd.wait_until(lambda: frames(trace) >= start + more or game.process.poll() is not None, timeout,
                  lambda: f"the frames stopped at {frames(trace)} (from {start}); stderr:\n{game.stderr()[-2000:]}")
    kd.check(game.process.poll() is None, "the game ended")


def window_size(wid):
    attrs = kd.window_attributes(wid)
    return int(attrs["Width"]), int(attrs["Height"])


def letterboxed(picture):
    """Black bars above and below the picture, a lit picture between them."""
    top = picture.lit_pixels(threshold=8, region=(0, 0, picture.width, BAR - 2))
    bottom = picture.lit_pixels(threshold=8, region=(0, picture.height - BAR + 2, picture.width, picture.height))
    middle = picture.lit_pixels(threshold=40, region=(0, BAR, picture.width, picture.height - BAR))
    return top == 0 and bottom == 0 and middle > picture.width * (picture.height - 2 * BAR) // 4


def drawn_box_seen(picture, centre=None):
    """The drawn box's cyan edge around the middle of the screen (or of the game's picture
    centred at centre): a straight line of it at least 200 pixels long with another going down
    from one of its ends, a corner that nothing cyan in the game's own pictures has. (The
    pointer, where it is drawn on the picture, may cut one line, never both ends.)"""
    cx, cy = centre or (picture.width // 2, picture.height // 2)
    x0, x1 = max(cx - 400, 0), min(cx + 400, picture.width)
    y0, y1 = max(cy - 200, 0), min(cy + 200, picture.height)

    def edge(x, y):
        p = picture.pixel(x, y)
        return all(abs(p[i] - EDGE[i]) < 12 for i in range(3))

    def down(x, y):
        n = 0
        while y + n < y1 and edge(x, y + n):
            n += 1
        return n

    step = 25  # a line of 200 pixels covers at least 7 samples in a row
    for y in range(y0, y1):
        samples = [edge(x, y) for x in range(x0, x1, step)]
        i = 0
        while i < len(samples):
            if not samples[i]:
                i += 1
                continue
            j = i
            while j < len(samples) and samples[j]:
                j += 1
            if j - i >= 7:
                left, right = x0 + i * step, x0 + (j - 1) * step
                while left > x0 and edge(left - 1, y):
                    left -= 1
                while right + 1 < x1 and edge(right + 1, y):
                    right += 1
                corners = [left, left + 1, left + 2, right - 2, right - 1, right]
                if right - left >= 200 and max(down(x, y) for x in corners) >= 100:
                    return True
            i = j
    return False


def test_alt_enter(args):
    """Alt+Enter to full screen and F11 back, the frame counter running on through both; in full
    screen Escape asks in the game's own box, which holds the frames still until answered."""
    trace = os.path.join(args.out, "alt_enter.jsonl")
    with kd.PrivateDisplay(*SCREEN), kd.Game(args.binary, args.game_dir, args.out, "alt_enter",
                                             args=["--windowed", "--trace", trace]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.focus(window.wid)
        wait_frames(trace, 20, game)
        kd.check(not kd.is_fullscreen(window.wid) and window_size(window.wid) == (1280, 720), "not a window at first")

        kd.key("alt+Return")
        kd.wait_until(lambda: kd.is_fullscreen(window.wid) and window_size(window.wid) == SCREEN, 20.0,
                      "Alt+Enter did not give full screen")
        wait_frames(trace, 20, game)
        shot = kd.screenshot(window.wid, os.path.join(args.out, "fullscreen_title.png"))
        kd.check(letterboxed(shot), "the full-screen picture is not letterboxed")

        kd.key("F11")
        kd.wait_until(lambda: not kd.is_fullscreen(window.wid) and window_size(window.wid) == (1280, 720), 20.0,
                      "F11 did not give the window back")
        wait_frames(trace, 20, game)

        kd.focus(window.wid)
        kd.key("F11")
        kd.wait_until(lambda: kd.is_fullscreen(window.wid), 20.0, "F11 did not give full screen")
        wait_frames(trace, 10, game)
        kd.key("Escape")
        kd.wait_until(lambda: drawn_box_seen(kd.screenshot(window.wid)), 20.0, "no drawn question after Escape")
        shot = kd.screenshot(window.wid, os.path.join(args.out, "fullscreen_question.png"))
        kd.check(kd.QUESTION_CAPTION not in [w.name for w in kd.list_windows()],
                 "a system box opened behind the full-screen game")
        held = frames(trace)
        time.sleep(1.0)
        kd.check(frames(trace) == held, "frames ran while the question asked")
        kd.key("Return")  # いいえ
        wait_frames(trace, 10, game)
        kd.check(kd.is_fullscreen(window.wid), "the answer left full screen")
        kd.key("Escape")
        kd.wait_until(lambda: drawn_box_seen(kd.screenshot(window.wid)), 20.0, "no drawn question the second time")
        kd.key("y")  # はい, quit
        kd.check(game.wait(20.0) == 0, f"Y on the question did not end the game; stderr:\n{game.stderr()}")
        print(f"full screen and back with the frames going on; {frames(trace)} frames in all")


def test_fullscreen_option(args):
    """--fullscreen starts in full screen without the question."""
    with kd.PrivateDisplay(*SCREEN), kd.Game(args.binary, args.game_dir, args.out, "fullscreen_option",
                                             args=["--fullscreen"]) as game:
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        kd.wait_until(lambda: kd.is_fullscreen(window.wid) and window_size(window.wid) == SCREEN, 20.0,
                      "--fullscreen did not start in full screen")
        kd.check(kd.QUESTION_CAPTION not in [w.name for w in kd.list_windows()], "the start-up question was asked")
        kd.wait_for_picture(window.wid, letterboxed, 60, "the full-screen picture is not letterboxed",
                            os.path.join(args.out, "fullscreen_option.png"))
        kd.send_delete_window(window.wid)
        kd.check(game.wait(20.0) == 0, "did not end cleanly when closed")


if __name__ == "__main__":
    kd.run_main({"alt_enter": test_alt_enter, "fullscreen_option": test_fullscreen_option})
