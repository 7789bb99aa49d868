#!/usr/bin/env python3
# The game on a Wayland desktop: weston of the test's own, with WAYLAND_DISPLAY and DISPLAY both
# set as on a desktop that also runs an X server. The game opens on Wayland, in a window with a
# title bar (libdecor's, as weston leaves decorations to the program); Alt+Enter goes to full
# screen and back while the frames go on; the questions are the game's own drawn box (SDL has no
# Wayland message box of its own) and answer keys; on an output scaled by 2 the picture fills the
# screen at its full resolution and a click lands on the button under the pointer.
# Usage: wayland_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os

import korvelin_driver as kd
from fullscreen_test import drawn_box_seen, letterboxed, wait_frames

PICTURE = (1280, 720)       # the game's window, in points
BUTTON = (52, 64, 90)       # the drawn box's buttons but the highlighted one (はい at first)


def ground(r, g, b):
    """weston's plain ground, or the shadow a window casts on it."""
    return r < 8 and b < 8 and g > 40


def window_rect(shot):
    """(left, top, right, bottom) of what covers weston's ground; None when nothing does."""
    w, rgb = shot.width, shot.rgb

    def covered(line):
        return any(not ground(*line[i:i + 3]) for i in range(0, len(line), 12))  # every 4th pixel

    rows = [y for y in range(shot.height) if covered(rgb[y * w * 3:(y + 1) * w * 3])]
    columns = [x for x in range(w) if covered(b"".join(rgb[(y * w + x) * 3:(y * w + x) * 3 + 3]
                                                        for y in range(0, shot.height, 4)))]
    return (columns[0], rows[0], columns[-1] + 1, rows[-1] + 1) if rows and columns else None


def decorated_window(shot):
    """The game's picture in a window whose title bar stands above it: (bar height, picture's
    rect), or None while the window is not there as such."""
    rect = window_rect(shot)
    if not rect:
        return None
    left, top, right, bottom = rect
    bar = (bottom - top) - PICTURE[1]
    if right - left != PICTURE[0] or not 16 <= bar <= 64:
        return None
    picture = (left, bottom - PICTURE[1], right, bottom)
    if shot.lit_pixels(threshold=40, region=picture) < PICTURE[0] * PICTURE[1] // 4:
        return None
    return bar, picture


def title_text_pixels(shot, rect, bar):
    """Light pixels in the title bar: its caption."""
    left, top, right, _ = rect
    return sum(1 for y in range(top - bar, top) for x in range(left, right)
               if min(shot.pixel(x, y)) > 200)


def full_screen(shot):
    """Nothing of weston's ground shows, and the picture fills the screen between black bars,
    lit in each of its four quarters (a picture sized in points on a scaled output would fill
    only one)."""
    if window_rect(shot) != (0, 0, shot.width, shot.height) or not letterboxed(shot):
        return False
    w, h = shot.width // 2, shot.height // 2
    quarters = [(x, y, x + w, y + h - 50) for x in (0, w) for y in (50, h)]
    return all(shot.lit_pixels(threshold=40, region=q) > w * (h - 50) // 8 for q in quarters)


def wait_for(weston, judge, timeout, message, save_as):
    """Takes screenshots until judge(shot) gives something, and returns that; saves the shot
    as save_as (in the test's folder), the last one seen when the wait fails."""
    seen = []

    def probe():
        seen[:] = [weston.screenshot()]
        seen.append(judge(seen[0]))
        return seen[1]

    try:
        kd.wait_until(probe, timeout, message)
    finally:
        if seen:
            seen[0].save_png(save_as)
    return seen[1]


def start(weston, args, name, options):
    trace = os.path.join(args.out, name + ".jsonl")
    game = kd.Game(args.binary, args.game_dir, args.out, name, env_changes=weston.env,
                   args=[*options, "--trace", trace])
    try:
        wait_frames(trace, 10, game, timeout=120.0)
        kd.check(kd.GAME_CAPTION not in [w.name for w in kd.list_windows()], "the game opened on X11, not on Wayland")
    except BaseException:
        game.stop()
        raise
    return game, trace


def test_wayland_window(args):
    """A decorated window on Wayland; Alt+Enter to full screen and back; the title's quit
    question drawn by the game: Return answers いいえ and the title goes on, Y answers はい."""
    shot_path = lambda name: os.path.join(args.out, name + ".png")
    with kd.Weston(1600, 1000, log=os.path.join(args.out, "wayland_window.weston.txt")) as weston:
        game, trace = start(weston, args, "wayland_window", ["--windowed"])
        with game:
            bar, picture = wait_for(weston, decorated_window, 60.0, "no decorated 1280 x 720 window with the title in it",
                                    shot_path("wayland_window"))
            kd.check(title_text_pixels(weston.screenshot(), picture, bar) > 50, "the title bar shows no caption")

            weston.key("alt+Return")
            wait_for(weston, full_screen, 60.0, "Alt+Enter did not give full screen", shot_path("wayland_fullscreen"))
            wait_frames(trace, 10, game)
            weston.key("alt+Return")
            _, picture = wait_for(weston, decorated_window, 60.0, "Alt+Enter did not give the decorated window back",
                                  shot_path("wayland_window_again"))
            wait_frames(trace, 10, game)

            centre = ((picture[0] + picture[2]) // 2, (picture[1] + picture[3]) // 2)
            box = lambda shot: drawn_box_seen(shot, centre)
            weston.key("Escape")
            wait_for(weston, box, 60.0, "no drawn question after Escape", shot_path("wayland_question"))
            kd.check("システムのメッセージボックスがありません" in game.stderr(),
                     f"no word of the missing box:\n{game.stderr()}")
            weston.key("Return")  # いいえ
            wait_frames(trace, 10, game)
            weston.key("Escape")
            wait_for(weston, box, 60.0, "no drawn question the second time", shot_path("wayland_question_again"))
            weston.key("y")  # はい, quit
            kd.check(game.wait(30.0) == 0, f"はい did not end the game; stderr:\n{game.stderr()}")
            print(f"title bar {bar} px; {len(kd.trace_lines(trace))} frames")


def test_wayland_scaled(args):
    """On an output scaled by 2, --fullscreen fills all its pixels; the quit question's はい,
    clicked where it shows, ends the game."""
    shot_path = lambda name: os.path.join(args.out, name + ".png")
    with kd.Weston(800, 500, scale=2, log=os.path.join(args.out, "wayland_scaled.weston.txt")) as weston:
        game, trace = start(weston, args, "wayland_scaled", ["--fullscreen"])
        with game:
            wait_for(weston, full_screen, 60.0, "the picture does not fill the scaled output between its bars",
                     shot_path("wayland_scaled"))
            weston.key("Escape")
            shot = wait_for(weston, lambda shot: drawn_box_seen(shot) and shot, 60.0, "no drawn question after Escape",
                            shot_path("wayland_scaled_question"))
            button = [(x, y) for y in range(shot.height // 4, shot.height * 3 // 4, 2)
                      for x in range(shot.width // 4, shot.width * 3 // 4, 2) if shot.pixel(x, y) == BUTTON]
            kd.check(len(button) > 200, "no はい button in the drawn box")
            xs, ys = sorted(x for x, _ in button), sorted(y for _, y in button)
            weston.click(xs[len(xs) // 2], ys[len(ys) // 2])
            kd.check(game.wait(30.0) == 0, f"a click on はい did not end the game; stderr:\n{game.stderr()}")


if __name__ == "__main__":
    kd.run_main({"wayland_window": test_wayland_window, "wayland_scaled": test_wayland_scaled})
