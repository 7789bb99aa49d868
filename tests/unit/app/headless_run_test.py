#!/usr/bin/env python3
"""The real program run headless from the game folder: a script of keys, the trace it writes,
the summary line and the exit status. One case per run: headless_run_test.py CASE --binary B
--game-dir D --out DIR."""
import argparse
import concurrent.futures
import json
import os
import shutil
import subprocess
import sys

TAP_SPACE = "# tap Space on the title\n10 down Space\n11 up Space\n"


def language_env(**changes):
    """This environment without its language, then `changes`."""
    env = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    env.update(changes)
    return env


# The runs speak English whoever runs the tests; the language case chooses its own.
ENGLISH = language_env(LANGUAGE="en")


def run(args, binary, game_dir, script_text, out, name, env=None):
    """Runs the program with a script; returns (status, stdout, stderr, trace path)."""
    os.makedirs(out, exist_ok=True)
    script = os.path.join(out, name + ".txt")
    trace = os.path.join(out, name + ".jsonl")
    with open(script, "w", encoding="utf-8") as f:
        f.write(script_text)
    if os.path.exists(trace):
        os.remove(trace)
    cmd = [binary, "--headless", "--input", script, "--trace", trace] + args
    p = subprocess.run(cmd, cwd=game_dir, capture_output=True, text=True, timeout=600, env=env or ENGLISH)
    sys.stderr.write(p.stderr)
    return p.returncode, p.stdout, p.stderr, trace


def summary(stdout):
    lines = stdout.splitlines()
    check(len(lines) == 1, "one summary line on standard output, got %r" % stdout)
    s = json.loads(lines[0])
    check(list(s) == ["frames", "scene", "score", "runOver", "goal", "hits", "gate", "msPerFrame"],
          "summary keys: %r" % s)
    check(isinstance(s["msPerFrame"], (int, float)) and s["msPerFrame"] >= 0, "msPerFrame: %r" % s)
    return s


def check(condition, message):
    if not condition:
        print("FAIL: " + message)
        sys.exit(1)


def title_zooms_into_game(a):
    status, stdout, _, trace = run(["--frames", "200"], a.binary, a.game_dir, TAP_SPACE, a.out, "zoom")
    check(status == 0, "exit status %d" % status)
    s = summary(stdout)
    check(s["frames"] == 200 and s["scene"] == "game", "summary: %r" % s)
    check(s["score"] == 0 and s["runOver"] is False, "no run played yet: %r" % s)
    with open(trace, encoding="utf-8") as f:
        lines = [json.loads(line) for line in f]
    check([l["frame"] for l in lines] == list(range(200)), "one line per frame, in order")
    title = [l for l in lines if l["scene"] == "title"]
    check(title[0]["fov"] == 80 and title[0]["fade"] == 0, "the title starts at 80 degrees: %r" % title[0])
    check(all(l["fov"] == 80 for l in title[:10]), "nothing moves before Space")
    fovs = [l["fov"] for l in title[10:]]
    check(all(b > a for a, b in zip(fovs, fovs[1:])), "the field of view rises every frame after Space")
    check(title[-1]["fade"] > 255, "the title's last frame has faded out: %r" % title[-1])
    first_game = len(title)
    check(all(l["scene"] == "game" for l in lines[first_game:]), "the game follows the title and stays")
    # Space at frame 10, about 67 frames of zoom and 86 steps of fade.
    check(abs(first_game - (10 + 67 + 86)) <= 2, "the game starts at frame %d" % first_game)


def same_input_same_trace(a):
    """The same input twice: the same trace, and the same draws frame by frame (the draw log)."""
    traces, logs = [], []
    for name in ("again1", "again2"):
        log = os.path.join(a.out, name + "-draws.jsonl")
        status, _, _, trace = run(["--frames", "180", "--draw-log", log], a.binary, a.game_dir, TAP_SPACE, a.out, name)
        check(status == 0, "exit status %d" % status)
        with open(trace, "rb") as f:
            traces.append(f.read())
        with open(log, encoding="utf-8") as f:
            logs.append([json.loads(line) for line in f])
    check(len(traces[0]) > 0 and traces[0] == traces[1], "the two traces differ")
    frames = logs[0]
    check([f["frame"] for f in frames] == list(range(180)), "the draw log has a line per frame")
    check(all(f["draws"] > 0 for f in frames), "a frame drew nothing: %r" % frames[:3])
    check(len({f["digest"] for f in frames}) > 100, "the frames' digests hardly change over a zoom into the game")
    check(logs[0] == logs[1], "the same input drew differently")


def script_error_stops_before_start(a):
    bad = "0 down Space\n\n5 down Enter\n"
    status, stdout, stderr, trace = run(["--frames", "10"], a.binary, a.game_dir, bad, a.out, "bad")
    check(status == 2, "exit status %d" % status)
    script = os.path.join(a.out, "bad.txt")
    expected = "korvelin: %s:3: unknown key 'Enter' (keys: A D E F Q R S W Z Space Escape LeftButton " \
               "RightButton)\n" % script
    check(stderr == expected, "stderr: %r" % stderr)
    check(stdout == "" and not os.path.exists(trace), "nothing ran")


def escape_and_yes_end_the_game(a):
    # The first question finds no answer and gets the default, No; the answer of frame 10
    # waits for the next question, at frame 20. The developer overlay runs along unseen.
    keys = "5 down Escape\n6 up Escape\n10 answer yes\n20 down Escape\n"
    status, stdout, stderr, trace = run(["--frames", "500", "--dev"], a.binary, a.game_dir, keys, a.out, "quit")
    check(status == 0, "exit status %d" % status)
    s = summary(stdout)
    check(s["frames"] == 21 and s["scene"] == "title", "the game ends after frame 20: %r" % s)
    check("frame 5: Confirm: Quit the game? -> no (the default)" in stderr, "stderr: %r" % stderr)
    check("frame 20: Confirm: Quit the game? -> yes (from the script)" in stderr, "stderr: %r" % stderr)
    with open(trace, encoding="utf-8") as f:
        check(len(f.readlines()) == 21, "one trace line per frame run")


def load(trace):
    with open(trace, encoding="utf-8") as f:
        return [json.loads(line) for line in f]


def run_story(lines):
    """What a player would notice of the first run in a trace: the gates the player headed for,
    the frames enemies were released, hits, the run's end and the return to the title."""
    story = {"gates": [], "released": [], "hits": [], "over": None, "title": None, "over_state": None}
    prev = None
    for line in lines:
        if line.get("demo"):
            break  # the pilot's demo is not the player's run
        if line["scene"] == "game" and "player" in line:
            current = line["player"]["current"]
            if not story["gates"] or story["gates"][-1] != current:
                story["gates"].append(current)
            if prev is not None:
                if line["hitsLeft"] < prev["hitsLeft"]:
                    story["hits"].append(line["frame"])
                for k, (before, now) in enumerate(zip(prev["enemies"], line["enemies"])):
                    if now["released"] and not before["released"]:
                        story["released"].append((k + 1, line["frame"], prev["player"]["current"]))
            if line["runOver"] and story["over"] is None:
                story["over"], story["over_state"] = line["frame"], line
            prev = line
        elif line["scene"] == "title" and prev is not None and story["title"] is None:
            story["title"] = line["frame"]
    return story


def check_story(story, course_gates=None):
    gates = story["gates"]
    check(gates[0] == 1, "the player heads for gate 1 first: %r" % gates[:3])
    check(all(b == a + 1 for a, b in zip(gates, gates[1:])), "gates one after the other: %r" % gates)
    order = [k for k, _, _ in story["released"]]
    check(order == list(range(1, len(order) + 1)), "enemies released in order: %r" % story["released"])
    check(story["over"] is not None, "the run ends")
    check(story["title"] == story["over"] + 501, "the title 501 frames after the end: %r" % story)


def ghost_run(a):
    # Nobody at the controls: the craft flies the course by itself until the enemies destroy
    # it or it reaches the goal, and the game goes back to the title.
    status, stdout, _, trace = run(["--start", "game", "--seed", "1", "--frames", "12000"], a.binary, a.game_dir,
                                   "# no input\n", a.out, "ghost")
    check(status == 0, "exit status %d" % status)
    s = summary(stdout)
    check(s["runOver"] is True and s["goal"] is False, "the run was lost: %r" % s)
    lines = load(trace)
    check(len(lines) == 12000, "a line per frame")
    story = run_story(lines)
    check_story(story)
    check(len(story["released"]) >= 1, "at least the first enemy was released")
    # What the title shows after the run: it waits for Space again, until the demo starts.
    after = [l for l in lines if l["frame"] > story["title"]]
    waiting = after[:1874]
    check(all(l["scene"] == "title" and l["fade"] == 0 for l in waiting), "the title waits")
    check(after[1874].get("demo") and not any(l.get("demo") for l in lines[:after[1874]["frame"]]),
          "the demo starts after 1,875 idle updates on the title: %r" % after[1874]["frame"])


def holding_fire_scores_points(a):
    # Space tapped during the run must not start a new one when the title comes back.
    keys = "0 down LeftButton\n3000 down Space\n3001 up Space\n"
    status, stdout, _, trace = run(["--start", "game", "--seed", "1", "--frames", "11000"], a.binary, a.game_dir,
                                   keys, a.out, "fire")
    check(status == 0, "exit status %d" % status)
    s = summary(stdout)
    check(s["score"] > 0 and s["runOver"] is True, "shots destroyed units: %r" % s)
    lines = load(trace)
    story = run_story(lines)
    check_story(story)
    end = story["over_state"]
    check(end["shownScore"] <= end["score"] and end["score"] % 100 == 0, "100 a unit: %r" % end["score"])
    after = [l for l in lines if l["frame"] >= story["title"]][:1874]
    check(all(l["fov"] == 80 for l in after), "the Space of the run did not start another")


def same_seed_same_run(a):
    traces = []
    for name in ("seed1", "seed2"):
        _, _, _, trace = run(["--start", "game", "--seed", "7", "--frames", "2500"], a.binary, a.game_dir,
                             "0 down LeftButton\n700 down A\n760 up A\n", a.out, name)
        with open(trace, "rb") as f:
            traces.append(f.read())
    check(len(traces[0]) > 0 and traces[0] == traces[1], "the same seed and input gave different traces")


def escape_yes_returns_and_the_title_stays(a):
    # Yes at the run's question returns to the title with Escape still held: the title must not
    # ask to quit until Escape is pressed again.
    keys = "300 down Escape\n300 answer yes\n"
    status, stdout, stderr, trace = run(["--start", "game", "--seed", "1", "--frames", "500"], a.binary, a.game_dir,
                                        keys, a.out, "leave")
    check(status == 0, "exit status %d" % status)
    check(stderr.count("Return to the title?") == 1, "asked once: %r" % stderr)
    check("Quit the game?" not in stderr, "the title did not ask to quit: %r" % stderr)
    lines = load(trace)
    check(lines[300]["scene"] == "game" and lines[301]["scene"] == "title", "back on the title after frame 300")
    check(all(l["scene"] == "title" and l["fov"] == 80 for l in lines[301:]), "the title waits")
    check(summary(stdout)["frames"] == 500, "the program runs on")


def short_course(a, gates):
    """The first `gates` main-course records of the game's course, the last made the goal."""
    with open(os.path.join(a.game_dir, "data", "data", "cpdata.dat"), encoding="utf-8") as f:
        records = [line.split() for line in f.read().splitlines() if line.strip()]
    main = [r for r in records if r[1] == "0"][:gates]
    main[-1][0] = "2"
    os.makedirs(a.out, exist_ok=True)
    path = os.path.join(a.out, "short_course.dat")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join("\t".join(r) for r in main))
    return path


def goal_returns_and_the_title_waits(a):
    # A short course flown to its goal; Space and Escape pressed during the run are used up
    # there and do not start a new run, or ask to quit, on the title.
    course = short_course(a, 3)  # nearly straight: the craft does not turn towards a goal
    keys = "100 down Space\n101 up Space\n150 down Escape\n151 up Escape\n151 answer no\n"
    status, stdout, stderr, trace = run(["--start", "game", "--course", course, "--frames", "2500"], a.binary,
                                        a.game_dir, keys, a.out, "goal")
    check(status == 0, "exit status %d" % status)
    story = run_story(load(trace))
    check_story(story)
    end = story["over_state"]
    check(end["hitsLeft"] == 2 and end["player"]["current"] == 2, "the goal without a hit: %r" % end)
    after = [l for l in load(trace) if l["frame"] >= story["title"]]
    check(len(after) > 100 and all(l["fov"] == 80 for l in after), "the title waits after the goal")
    check("Quit the game?" not in stderr, "the title asked to quit")
    check(summary(stdout)["runOver"] is True, "summary: %r" % stdout)


def attract_mode(a):
    # Left alone on the title for 30 s (1,875 updates), the pilot flies a demo; Space in the demo
    # goes back to the title at once and starts nothing. A slide key ends the next demo alike.
    keys = "2500 down Space\n2501 up Space\n4600 down A\n4601 up A\n"
    status, stdout, _, trace = run(["--frames", "4700"], a.binary, a.game_dir, keys, a.out, "attract")
    check(status == 0, "exit status %d" % status)
    lines = load(trace)
    demo = [l["frame"] for l in lines if l.get("demo")]
    check(demo and demo[0] == 1875, "the demo starts after 1,875 idle frames: %r" % demo[:1])
    check(all(l["scene"] == "game" for l in lines if l.get("demo")), "demo frames are game frames")
    check(not any(l.get("demo") for l in lines if l["scene"] == "title"), "the title is no demo")
    # A frame's line is written by the scene that ran its update; the title runs the next one.
    check(lines[2500].get("demo") and lines[2501]["scene"] == "title", "Space ends the demo in its frame")
    back = lines[2501:2501 + 1875]
    check(all(l["scene"] == "title" and l["fov"] == 80 for l in back), "the title waits again, nothing started")
    check(lines[2501 + 1875].get("demo"), "the next demo after another 1,875 idle frames")
    check(lines[4600].get("demo") and lines[4601]["scene"] == "title", "A ends the demo in its frame")
    flown = [l for l in lines[1875:2500]]
    check(flown[-1]["player"]["current"] > flown[0]["player"]["current"], "the pilot flies the demo")
    check(summary(stdout)["score"] == 0, "a demo is not a run of the player's")


def damaged_scores_kept_aside(a):
    # A scores file that does not read is moved aside and named, and the run is kept in a new one.
    course = short_course(a, 2)
    scores = os.path.join(a.out, "scores.json")
    for case, text in (("truncated", '{"version": 1, "courses": {"x": [{"score": 1'),
                       ("wrong types", '{"version": 1, "courses": {"x": [{"score": "high"}]}}'),
                       ("20 MB", " " * (20 << 20))):
        for old in (scores, scores + ".broken"):
            if os.path.exists(old):
                os.remove(old)
        with open(scores, "w", encoding="utf-8") as f:
            f.write(text)
        status, stdout, stderr, _ = run(["--start", "game", "--course", course, "--frames", "400", "--scores", scores],
                                        a.binary, a.game_dir, "# no input\n", a.out, "scores")
        check(status == 0 and summary(stdout)["goal"], "%s: the game plays on: %r" % (case, stdout))
        check(scores in stderr and scores + ".broken" in stderr, "%s: not named: %r" % (case, stderr))
        with open(scores + ".broken", encoding="utf-8") as f:
            check(f.read() == text, "%s: the damaged file was not kept as it was" % case)
        with open(scores, encoding="utf-8") as f:
            runs = [r for rs in json.load(f)["courses"].values() for r in rs]
        check(len(runs) == 1 and runs[0]["score"] == 6000 and runs[0]["goal"], "%s: the new list: %r" % (case, runs))


def pilot_reaches_the_goal(a):
    # The course can be won: the pilot, with the player's controls, reaches the goal on at least
    # 16 of seeds 1-20, while the same seeds with nobody at the controls never do. Two at a time.
    def flown(seed, pilot):
        args = ["--seed", str(seed)] + (["--autopilot"] if pilot else ["--start", "game", "--frames", "3000"])
        status, stdout, _, _ = run(args, a.binary, a.game_dir, "# no input\n", a.out,
                                   "%s%d" % ("pilot" if pilot else "idle", seed))
        check(status == 0, "seed %d: exit status %d" % (seed, status))
        return seed, pilot, summary(stdout)

    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        results = list(pool.map(lambda job: flown(*job), [(s, p) for p in (True, False) for s in range(1, 21)]))
    for seed, pilot, s in results:
        print("seed %2d %s: goal %s, hits %d, score %d, gate %d" %
              (seed, "pilot" if pilot else "idle ", s["goal"], s["hits"], s["score"], s["gate"]))
    piloted = [s for _, pilot, s in results if pilot]
    idle = [s for _, pilot, s in results if not pilot]
    check(all(s["runOver"] and s["scene"] == "title" for s in piloted), "every piloted run ends on the title")
    check(sum(s["goal"] for s in piloted) >= 16, "the pilot reached the goal on fewer than 16 seeds")
    check(all(s["runOver"] and not s["goal"] for s in idle), "a run without input was not destroyed")


def dev_places_records_in_the_trace(a):
    # With the overlay on, Space drops one gate per press and the trace counts them.
    keys = "10 down Space\n30 up Space\n40 down Space\n41 up Space\n50 down Z\n51 up Z\n"
    status, _, _, trace = run(["--start", "game", "--dev", "--frames", "60"], a.binary, a.game_dir, keys, a.out, "dev")
    check(status == 0, "exit status %d" % status)
    lines = load(trace)
    check("editor" not in lines[0] or lines[0]["editor"]["records"] == 0, "no gate before Space: %r" % lines[0])
    check(lines[29]["editor"]["records"] == 1, "one gate for a held Space: %r" % lines[29]["editor"])
    check(lines[45]["editor"]["records"] == 2, "a second press, a second gate: %r" % lines[45]["editor"])
    check(lines[59]["editor"]["walkMode"] is True, "Z switched walk mode on: %r" % lines[59]["editor"])
    check(lines[45]["player"]["pos"] == lines[5]["player"]["pos"], "the overlay's craft does not fly by itself")


def unsaved_gates_are_asked_for_before_quitting(a):
    # A gate dropped and never saved: leaving the run asks nothing (the editor keeps it), and
    # quitting at the title asks about the gates instead; the default keeps the game running.
    keys = ("10 down Space\n11 up Space\n50 down Escape\n51 up Escape\n50 answer yes\n"
            "100 down Escape\n101 up Escape\n150 down Escape\n151 up Escape\n150 answer yes\n")
    status, stdout, stderr, trace = run(["--start", "game", "--dev", "--frames", "300"], a.binary, a.game_dir, keys,
                                        a.out, "unsaved")
    check(status == 0, "exit status %d" % status)
    asked = "Confirm: The gates have unsaved changes.\nQuit and lose them?"
    check("frame 100: " + asked + " -> no (the default)" in stderr, "stderr: %r" % stderr)
    check("frame 150: " + asked + " -> yes (from the script)" in stderr, "stderr: %r" % stderr)
    check("Quit the game?" not in stderr, "one question, about the gates: %r" % stderr)
    check(summary(stdout)["frames"] == 151, "the game ends after frame 150: %r" % stdout)
    lines = load(trace)
    check(lines[40]["editor"]["unsaved"] is True, "the gate is unsaved: %r" % lines[40]["editor"])


def questions_speak_the_players_language(a):
    # The language follows LANGUAGE (a list: its first language the game has), then LC_ALL,
    # LC_MESSAGES, LANG, also under the C locale; the settings' language wins over all of them.
    # Japanese is the game's first words exactly; anything else is English.
    japanese, english = "確認: ゲームを終了しますか？", "Confirm: Quit the game?"
    settings = os.path.join(a.out, "language-%s.toml")
    for code in ("en", "ja"):
        with open(settings % code, "w", encoding="utf-8") as f:
            f.write('[display]\nlanguage = "%s"\n' % code)
    cases = [({"LANGUAGE": "ja"}, None, japanese), ({"LC_ALL": "C"}, None, english),
             ({"LANG": "ja_JP.UTF-8"}, None, japanese), ({"LANGUAGE": "fr:ja", "LANG": "fr_FR.UTF-8"}, None, japanese),
             ({"LANGUAGE": "de", "LC_ALL": "ja_JP.UTF-8"}, None, english), ({"LANGUAGE": "ja"}, "en", english),
             ({"LC_ALL": "C"}, "ja", japanese)]
    for changes, setting, words in cases:
        args = ["--frames", "100"] + (["--settings", settings % setting] if setting else [])
        status, _, stderr, _ = run(args, a.binary, a.game_dir, "5 down Escape\n6 up Escape\n5 answer yes\n", a.out,
                                   "language", env=language_env(**changes))
        check(status == 0, "exit status %d" % status)
        check("frame 5: " + words + " -> yes (from the script)" in stderr,
              "%r with the setting %r: %r" % (changes, setting, stderr))
    for changes, first in (({"LANGUAGE": "ja"}, "使い方: korvelin"), ({"LC_ALL": "C"}, "usage: korvelin")):
        p = subprocess.run([a.binary, "--help"], capture_output=True, text=True, env=language_env(**changes))
        check(p.returncode == 0 and p.stdout.startswith(first), "--help with %r: %r" % (changes, p.stdout[:80]))


def plain_run(a, args):
    """The program without script or trace; returns (status, stdout, stderr)."""
    p = subprocess.run([a.binary, "--headless"] + args, cwd=a.game_dir, capture_output=True, text=True, timeout=600,
                       env=ENGLISH)
    return p.returncode, p.stdout, p.stderr


def courses_that_cannot_be_read_fail(a):
    # Whatever the first scene, a course that cannot be read or played ends the run before it
    # starts, with its reason and status 2 (the command line named it); nothing runs.
    os.makedirs(a.out, exist_ok=True)
    with open(os.path.join(a.game_dir, "data", "data", "cpdata.dat"), encoding="utf-8") as f:
        lines = f.read().split("\n")
    words = lines[3].split("\t")
    words[2:5] = ["0", "0", "0"]  # record 4's x axis: scale 0
    lines[3] = "\t".join(words)
    singular = os.path.join(a.out, "singular.dat")
    with open(singular, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    missing = os.path.join(a.out, "no-such-course.dat")
    cases = [(missing, "%s: cannot open: No such file or directory" % missing),
             (a.out, "%s: is a folder, not a file" % a.out),
             ("/dev/zero", "/dev/zero: is not a file (a device or a socket)"),
             (singular, "%s: record 4: the gate's matrix cannot be inverted (scale 0)" % singular)]
    for course, message in cases:
        for start in ("title", "game"):
            status, stdout, stderr = plain_run(a, ["--start", start, "--course", course, "--frames", "100"])
            check(status == 2, "%s, --start %s: exit status %d" % (course, start, status))
            check(stderr == "korvelin: %s\n" % message and stdout == "", "%s: %r %r" % (course, stderr, stdout))


def a_run_without_frames_ends_on_the_title(a):
    # Without --frames the run that --start game begins is played to its end, then the program
    # ends with the title back; a plain run says nothing on standard error.
    course = short_course(a, 3)
    status, stdout, stderr = plain_run(a, ["--start", "game", "--course", course])
    check(status == 0, "exit status %d" % status)
    check(stderr == "", "stderr: %r" % stderr)
    s = summary(stdout)
    check(s["scene"] == "title" and s["runOver"] is True, "summary: %r" % s)
    # About 8 s of flight to the goal, then 501 frames to the title.
    check(700 < s["frames"] < 1400, "frames: %r" % s)
    # On the title with nothing in the script to start a run, it ends at once.
    status, stdout, stderr = plain_run(a, [])
    check(status == 0 and stderr == "" and summary(stdout)["frames"] == 1, "%d %r %r" % (status, stdout, stderr))
    # A recording ends where it was closed, not when its first run has ended.
    status, stdout, _, _ = run(["--start", "game", "--course", course], a.binary, a.game_dir, "2000 quit\n", a.out, "quit")
    check(status == 0 and summary(stdout)["frames"] == 2000, "a recording closed at 2000: %r" % stdout)


def look_feel_from_settings(a):
    """The same cursor script turns the camera twice as far at sensitivity 2, and the pitch the
    other way with the vertical look inverted; without --settings a headless run plays the
    defaults whatever the player's own file says."""
    # After the opening (about 85 frames) the cursor is put right of and below the middle once;
    # the look pulls it back a tenth each frame.
    look = "0 cursor 640 360\n120 cursor 700 420\n"
    turns = {}
    for name, text in (("plain", None), ("twice", "[look]\nmouse_sensitivity = 2.0\n"),
                       ("inverted", "[look]\ninvert_vertical = true\n")):
        args = ["--frames", "140", "--start", "game", "--seed", "1"]
        if text is not None:
            path = os.path.join(a.out, name + ".toml")
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
            args += ["--settings", path]
        status, _, stderr, trace = run(args, a.binary, a.game_dir, look, a.out, "feel-" + name)
        check(status == 0 and "settings" not in stderr, "%s: status %d, %s" % (name, status, stderr))
        lines = load(trace)
        before, after = lines[119]["camera"], lines[139]["camera"]
        turns[name] = (after["yaw"] - before["yaw"], after["pitch"] - before["pitch"])
    yaw, pitch = turns["plain"]
    check(yaw > 1 and pitch > 1, "the cursor turns the camera right and down: %r" % (turns,))
    check(abs(turns["twice"][0] - 2 * yaw) < 1e-3 and abs(turns["twice"][1] - 2 * pitch) < 1e-3,
          "sensitivity 2 turns twice as far: %r" % (turns,))
    check(abs(turns["inverted"][0] - yaw) < 1e-4 and abs(turns["inverted"][1] + pitch) < 1e-4,
          "inverted: the same yaw, the pitch the other way: %r" % (turns,))


def damaged_settings_keep_the_file(a):
    """A damaged settings file starts the game with the defaults for what is wrong, says each
    problem in one line naming the file, and is left as it was."""
    cases = {
        "truncated": (b"[audio]\nmusic = 40\n[keys]\nfire = [\"Ret", 1),
        "types": (b"[audio]\nmusic = \"loud\"\n[look]\ninvert_vertical = 3\n", 2),
        "long": (b"[audio]\nmusic = 40\n# " + b"x" * (10 * 1024 * 1024) + b"\n", 1),
        "junk": (bytes(range(256)) * 64, 1),
    }
    for name, (data, problems) in cases.items():
        path = os.path.join(a.out, "damaged-" + name + ".toml")
        with open(path, "wb") as f:
            f.write(data)
        status, stdout, stderr, _ = run(["--frames", "3", "--settings", path], a.binary, a.game_dir, "", a.out,
                                        "damaged-" + name)
        check(status == 0 and summary(stdout)["frames"] == 3, "%s: the game did not run: %d" % (name, status))
        said = [l for l in stderr.splitlines() if path in l]
        check(len(said) == problems and all(l.startswith("korvelin: " + path + ":") for l in said),
              "%s: expected %d line(s) naming the file, got %r" % (name, problems, stderr[:500]))
        check(all(len(l) < 300 for l in said), "%s: a problem line runs long: %r" % (name, said))
        with open(path, "rb") as f:
            check(f.read() == data, "%s: the file was changed" % name)
        check(not os.path.exists(path + ".broken"), "%s: a headless run moved the file aside" % name)


def four_games_keep_all_their_runs(a):
    # Four games finishing a run at the same moment into one scores file: every run is kept,
    # round after round (each game takes the file's lock and reads the others' runs first).
    course = short_course(a, 2)
    rounds = int(os.environ.get("KORVELIN_SCORE_ROUNDS", "20"))
    script = os.path.join(a.out, "four.txt")
    with open(script, "w", encoding="utf-8") as f:
        f.write("# no input\n")
    for round_ in range(rounds):
        scores = os.path.join(a.out, "four", "scores.json")
        shutil.rmtree(os.path.dirname(scores), ignore_errors=True)
        games = [subprocess.Popen([a.binary, "--headless", "--input", script, "--start", "game", "--course", course,
                                   "--frames", "400", "--scores", scores, "--seed", str(game)],
                                  cwd=a.game_dir, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=ENGLISH)
                 for game in range(4)]
        said = [game.communicate(timeout=300) for game in games]
        for game, (stdout, stderr) in zip(games, said):
            check(game.returncode == 0 and summary(stdout)["goal"], "round %d: %r %r" % (round_, stdout, stderr))
            check("not kept" not in stderr, "round %d: a game could not keep its run: %r" % (round_, stderr))
        with open(scores, encoding="utf-8") as f:
            runs = [r for rs in json.load(f)["courses"].values() for r in rs]
        check(sorted(r["seed"] for r in runs) == [0, 1, 2, 3], "round %d: kept %r" % (round_, runs))
        left = sorted(os.listdir(os.path.dirname(scores)))
        check(left == ["scores.json", "scores.json.lock"], "round %d: left beside the list: %r" % (round_, left))


def a_run_that_cannot_be_kept_says_so(a):
    # The best list cannot be written (its lock is a folder, which even root cannot open as a
    # file): the old list stays byte for byte, standard error names the file, and the result
    # screen says NOT SAVED with the reason.
    course = short_course(a, 2)
    folder = os.path.join(a.out, "unkept")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "scores.json.lock"))
    scores = os.path.join(folder, "scores.json")
    old = '{"version": 1, "courses": {}}\n'
    with open(scores, "w", encoding="utf-8") as f:
        f.write(old)
    status, stdout, stderr, trace = run(["--start", "game", "--course", course, "--frames", "400", "--scores", scores],
                                        a.binary, a.game_dir, "# no input\n", a.out, "unkept")
    check(status == 0 and summary(stdout)["goal"], "the game plays on: %r" % stdout)
    check("the best runs were not kept" in stderr and scores in stderr, "not said on standard error: %r" % stderr)
    with open(scores, encoding="utf-8") as f:
        check(f.read() == old, "the old list was changed")
    said = [l["notSaved"] for l in load(trace) if "notSaved" in l]
    check(said and scores in said[0] and "Not saved" in said[0], "the result does not say it: %r" % said[:1])

CASES = {f.__name__: f for f in (courses_that_cannot_be_read_fail, a_run_without_frames_ends_on_the_title,
                                 title_zooms_into_game, same_input_same_trace, script_error_stops_before_start,
                                 escape_and_yes_end_the_game, ghost_run, holding_fire_scores_points,
                                 same_seed_same_run, escape_yes_returns_and_the_title_stays,
                                 goal_returns_and_the_title_waits, dev_places_records_in_the_trace,
                                 unsaved_gates_are_asked_for_before_quitting, look_feel_from_settings,
                                 damaged_settings_keep_the_file, pilot_reaches_the_goal, attract_mode,
                                 damaged_scores_kept_aside, questions_speak_the_players_language,
                                 four_games_keep_all_their_runs, a_run_that_cannot_be_kept_says_so)}

if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--binary", required=True)
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    CASES[args.case](args)
    print("ok")
