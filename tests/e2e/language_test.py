#!/usr/bin/env python3
# The game's words in the player's language: with LANGUAGE=en (and under LC_ALL=C) the title's
# quit question is English in the system's box (its caption "Confirm") and in the game's drawn
# box (its buttons "Yes" and "No"); with LANGUAGE=ja both are the game's first words exactly.
# Usage: language_test.py <test> --binary korvelin --game-dir build/game --out <folder for shots>
import os

import korvelin_driver as kd
from fullscreen_test import wait_frames
from question_test import NO_BOXES, YES_BUTTON, start_windowed, wait_for_drawn_box

# The drawn box's two buttons on the 1280 x 720 window, for a one-line question.
BUTTONS = (YES_BUTTON[0] - 50, YES_BUTTON[1] - 16, YES_BUTTON[0] + 190, YES_BUTTON[1] + 16)


def title_question(args, name, env, caption=None):
    """Escape on the title of a game started with `env`: the system box with `caption` (then
    answered No with Escape), or with no caption the drawn box; returns its screenshot."""
    game, window, trace = start_windowed(args, name, env)
    with game:
        kd.key("Escape")
        if caption:
            box = kd.wait_for_window(caption, game.process)
            shot = kd.screenshot(box.wid, os.path.join(args.out, name + ".png"))
            kd.focus(box.wid)
            kd.key("Escape")
            kd.wait_until_gone(caption)
        else:
            shot = wait_for_drawn_box(window, game, os.path.join(args.out, name + ".png"))
            kd.key("Escape")
        wait_frames(trace, 10, game)
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, "did not end cleanly when closed")
        return shot


def test_language_boxes(args):
    title_question(args, "language_system_en", {"LANGUAGE": "en"}, caption="Confirm")
    title_question(args, "language_system_c", {"LANGUAGE": None, "LC_ALL": "C"}, caption="Confirm")
    title_question(args, "language_system_ja", {"LANGUAGE": "ja"}, caption="確認")
    english = title_question(args, "language_drawn_en", dict(NO_BOXES, LANGUAGE="en"))
    japanese = title_question(args, "language_drawn_ja", dict(NO_BOXES, LANGUAGE="ja"))
    x0, y0, x1, y1 = BUTTONS
    differing = sum(1 for y in range(y0, y1) for x in range(x0, x1)
                    if max(abs(a - b) for a, b in zip(english.pixel(x, y), japanese.pixel(x, y))) > 60)
    kd.check(differing > 150, f"the drawn buttons read the same in English and Japanese ({differing} pixels differ)")
    print(f"system box: Confirm (en, C), 確認 (ja); drawn buttons differ in {differing} pixels")


if __name__ == "__main__":
    kd.run_main({"language_boxes": test_language_boxes})
