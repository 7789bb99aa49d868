#!/usr/bin/env python3
# The README's own commands, taken from the README and run in order in a fresh copy of the
# source tree, as a new player and course maker would: ./run.sh builds and plays, ./run.sh --dev
# places gates and saves them, the course tool draws the saved course, ./run.sh keeps the
# caller's folder for the files it is given, the build ./run.sh made installs into ~/.local and
# uninstalls leaving nothing.
# The copy holds what git would commit (uncommitted changes included, build folders left out), as
# scripts/fresh-debian-check.sh copies the tree.
# Its build is a true fresh one of what ./run.sh builds; with ccache on the machine (test.sh
# turns it on) it finds the objects the test build made, so only linking and the data are new.
# Usage: readme_test.py <test> --binary build/game/korvelin --game-dir build/game --out <folder>
import os
import re
import shlex
import shutil
import subprocess
import time

import korvelin_driver as kd
from editor_test import FILE_MENU, SAVE_ITEM, EditorTrace, fly, place
from game_test import enter_run
from startup_test import shows_a_picture
from title_test import start_title

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
BUILD_MINUTES = 25  # a first build without ccache on two cores


def readme_commands():
    """Every line of the README's command blocks, without its comment."""
    lines, inside = [], False
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("```"):
                inside = not inside
            elif inside and line.strip():
                lines.append(line.split("  #")[0].strip())
    return lines


def readme_command(start):
    """The README's command that begins with `start`, as written there."""
    commands = readme_commands()
    found = [c for c in commands if c == start] + [c for c in commands if c.startswith(start)]
    kd.check(found, f"the README shows no command beginning {start!r}")
    return found[0]


def fresh_copy(root):
    """The source tree as git would commit it, in root/korvelin; without git (a copied tree),
    all of it but the build folders."""
    tree = os.path.join(root, "korvelin")
    try:
        listed = subprocess.run(["git", "-C", SOURCE, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                capture_output=True, check=True).stdout.decode().split("\0")
    except (OSError, subprocess.CalledProcessError):
        shutil.copytree(SOURCE, tree, symlinks=True,
                        ignore=lambda folder, names: [n for n in names if folder == SOURCE and
                                                      (n.startswith("build") or n == ".git")])
        return tree
    for name in filter(None, listed):
        source = os.path.join(SOURCE, name)
        if not os.path.lexists(source):
            continue  # deleted, not yet committed
        os.makedirs(os.path.dirname(os.path.join(tree, name)), exist_ok=True)
        shutil.copy2(source, os.path.join(tree, name), follow_symlinks=False)
    return tree


def environment(root):
    """A new user's: a fresh home; the player's own files (the editor's recent courses and the
    like) apart from ~/.local, which is the install's; ccache on when the machine has it."""
    home = os.path.join(root, "home")
    os.makedirs(home)
    changes = {"HOME": home, "XDG_DATA_HOME": os.path.join(root, "xdg", "data"),
               "XDG_STATE_HOME": os.path.join(root, "xdg", "state"),
               "XDG_CONFIG_HOME": os.path.join(root, "xdg", "config")}
    if shutil.which("ccache"):
        changes["CMAKE_C_COMPILER_LAUNCHER"] = os.environ.get("CMAKE_C_COMPILER_LAUNCHER", "ccache")
        changes["CMAKE_CXX_COMPILER_LAUNCHER"] = os.environ.get("CMAKE_CXX_COMPILER_LAUNCHER", "ccache")
        # Paths below it are hashed relative to the compiler's folder: alike in both trees.
        changes["CCACHE_BASEDIR"] = SOURCE
        # The cache of the machine's user, not one of the fresh home's.
        changes["CCACHE_DIR"] = subprocess.run(["ccache", "--get-config=cache_dir"], capture_output=True, text=True,
                                               check=True).stdout.strip()
    return home, changes


def shell(command, cwd, env_changes, timeout=600):
    """A README command as a shell runs it (~ and all)."""
    p = subprocess.run(["bash", "-c", command], cwd=cwd, env=dict(os.environ, **env_changes), capture_output=True,
                       text=True, timeout=timeout, stdin=subprocess.DEVNULL)
    return p.returncode, p.stdout, p.stderr


def play(tree, out, env, command, name, more=()):
    """The README's `command` (./run.sh ...) under the test's display, with the test's `more`
    arguments after it: it builds, asks about full screen and shows the title. Returns the
    running game and its window."""
    words = shlex.split(readme_command(command))
    kd.check(words == shlex.split(command), f"the README's command is {' '.join(words)!r}, not {command!r}")
    game = kd.Game(words[0], tree, out, name, env, args=[*words[1:], *more])
    kd.wait_for_window(kd.QUESTION_CAPTION, game.process, timeout=BUILD_MINUTES * 60)
    window = start_title(game)
    # In a fresh home the fonts are looked up without a cache: the first picture takes seconds.
    kd.wait_until(lambda: max(kd.screenshot(window.wid).rgb) > 16, 60.0, "the title stays black")
    return game, window


def place_and_save(game, window, tree, out, trace):
    """Three gates along the way in a run, then File > Save: build/game/test2.dat. Each step waits
    for the run's trace to show it, however slowly the frames come."""
    saved = os.path.join(tree, "build", "game", "test2.dat")
    enter_run(game, window, out, "readme_dev_run.png")
    kd.focus(window.wid)
    for gate in range(3):
        if gate:
            fly(trace, 60)
        place(trace, gate + 1)
    kd.click(window.wid, *FILE_MENU)
    trace.frames(2)
    kd.click(window.wid, *SAVE_ITEM)
    kd.wait_until(lambda: os.path.exists(saved), 20.0, "File > Save wrote no build/game/test2.dat")
    kd.screenshot(window.wid, os.path.join(out, "readme_dev_saved.png"))
    with open(saved) as f:
        records = [line for line in f if line.strip()]
    kd.check(len(records) == 3, f"saved {len(records)} gate records, not 3")
    return saved


def below(folder):
    return sorted(os.path.relpath(os.path.join(base, name), folder)
                  for base, dirs, files in os.walk(folder) for name in dirs + files)


def test_readme_commands(args):
    root = os.path.join(args.out, "readme")
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    tree = fresh_copy(root)
    home, env = environment(root)
    started = time.monotonic()

    # Play.
    game, window = play(tree, args.out, env, "./run.sh", "readme_play")
    with game:
        built = time.monotonic() - started
        lit = shows_a_picture(window, os.path.join(args.out, "readme_play.png"), os.path.join(tree, "build", "game"))
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, f"./run.sh did not end cleanly; stderr:\n{game.stderr()}")
    print(f"./run.sh: built in {built:.0f} s, the title shows ({lit} lit pixels)")

    # Making courses: gates placed with --dev and saved.
    trace = EditorTrace(os.path.join(args.out, "readme_dev.jsonl"))
    if os.path.exists(trace.path):
        os.remove(trace.path)
    game, window = play(tree, args.out, env, "./run.sh --dev", "readme_dev", more=["--trace", trace.path])
    with game:
        saved = place_and_save(game, window, tree, args.out, trace)
        kd.send_delete_window(window.wid)
        kd.check(game.wait(10.0) == 0, f"./run.sh --dev did not end cleanly; stderr:\n{game.stderr()}")
    print(f"./run.sh --dev: three gates saved in {os.path.relpath(saved, tree)}")

    # The course picture of the saved course, the README's command as written. Three gates are
    # no game course: the checks say so with status 3, and the picture is drawn all the same.
    command = readme_command("build/bin/korvelin-assets course build/game/test2.dat")
    status, said, err = shell(command, tree, env)
    png = os.path.join(tree, "course.png")
    kd.check(status == 3 and "NOT OK" in said and "FAIL " in said,
             f"{command}: status {status}\n{said}{err}")
    kd.check(os.path.getsize(png) > 10000, f"{command}: no picture")
    shutil.copy(png, os.path.join(args.out, "readme_course.png"))
    print(f"{command}: status {status}, " + said.splitlines()[-1])

    # The README's table of the checks is the tool's own, limits and all.
    status, said, err = shell("build/bin/korvelin-assets --help", tree, env)
    rules = said.split("The checks, and the rule each holds the course to:\n")[1].split("\n  Exit status")[0]
    with open(os.path.join(tree, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    for rule in re.split(r"\n(?=    \S)", rules):
        check, text = " ".join(rule.split()).split(": ", 1)
        kd.check(f"| `{check}` | {text} |" in readme, f"the README does not give the rule of {check}: {text}")

    # A course named on the command line is read from the caller's folder, wherever that is.
    elsewhere = os.path.join(home, "elsewhere")
    os.makedirs(elsewhere)
    shutil.copy(os.path.join(tree, "build", "game", "data", "data", "cpdata.dat"), os.path.join(elsewhere, "mine.dat"))
    status, said, err = shell(os.path.join(tree, "run.sh") + " --headless --start game --course mine.dat"
                              " --frames 100 --trace run.jsonl", elsewhere, env)
    kd.check(status == 0 and len(said.splitlines()) == 1 and '"scene": "game"' in said,
             f"run.sh from another folder: status {status}\nstdout:\n{said}\nstderr:\n{err}")
    with open(os.path.join(elsewhere, "run.jsonl")) as f:
        trace = f.read()
    kd.check("courseError" not in trace and '"scene":"game"' in trace, "mine.dat was not played: " + trace[-300:])
    print("run.sh from another folder: mine.dat played, run.jsonl written there")

    # Install for yourself alone, then uninstall.
    local = os.path.join(home, ".local")
    command = readme_command("cmake --install build --prefix ~/.local")
    status, said, err = shell(command, tree, env)
    kd.check(status == 0, f"{command}: status {status}\n{said}{err}")
    installed = below(local)
    for wanted in ("bin/korvelin", "bin/korvelin-assets", "share/korvelin/data/data/cpdata.dat",
                   "share/icons/hicolor/256x256/apps"):
        kd.check(wanted in installed, f"{command} did not put down {wanted}")
    # The installed tool finds the installed game's maps for a course of the user's.
    shutil.copy(saved, os.path.join(home, "a.dat"))
    status, said, err = shell("~/.local/bin/korvelin-assets course a.dat", home, env)
    kd.check(status == 3 and f"maps: {local}/share/korvelin/data/model" in said,
             f"the installed korvelin-assets: status {status}\n{said}{err}")
    print(f"{command}: {len(installed)} files and folders")

    command = readme_command("cmake --build build --target uninstall")
    status, said, err = shell(command, tree, env)
    kd.check(status == 0, f"{command}: status {status}\n{said}{err}")
    kd.check(os.path.isdir(local) and below(local) == [], f"{command} left {below(local)[:10]} in ~/.local")
    print(f"{command}: ~/.local is empty again; {time.monotonic() - started:.0f} s in all")
    shutil.rmtree(root)


if __name__ == "__main__":
    kd.run_main({"readme_commands": test_readme_commands})
