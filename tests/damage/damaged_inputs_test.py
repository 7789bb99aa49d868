#!/usr/bin/env python3
"""Damaged input, as a careless or hostile user gives it: course files, input scripts and run
traces made from the game's own by a seeded generator (cut short, bytes flipped, words replaced,
records moved, matrices that cannot be inverted, gates far away, far too many records), and
folders, devices, pipes and missing files in their place. Each goes to the headless game and to
korvelin-assets. Nothing may crash or hang (every run under 2 s of processor time), every
refusal names the file, the checker calls NOT OK every course the game refuses, and every
course the game accepts reaches its goal when flown without enemies.

Usage: damaged_inputs_test.py --binary korvelin --tool korvelin-assets --game-dir build/game
                              --out DIR [--seed N]"""
import argparse
import concurrent.futures
import json
import math
import os
import random
import resource
import shutil
import signal
import subprocess
import sys
import threading

CPU_LIMIT = 2.0        # seconds of processor time a run may take
HARD_CPU_LIMIT = 20    # a run still going after this much is stopped and counted as a hang
WALL_LIMIT = 120.0     # the same for a run that waits instead of working
WHITESPACE = b" \t\n\r\x0b\x0c"


class Run:
    def __init__(self, cmd, cwd, out_dir):
        self.cmd = cmd
        out = os.path.join(out_dir, ".run-%d" % threading.get_ident())

        def limits():
            resource.setrlimit(resource.RLIMIT_CPU, (HARD_CPU_LIMIT, HARD_CPU_LIMIT + 1))

        with open(out + ".out", "wb") as so, open(out + ".err", "wb") as se:
            p = subprocess.Popen(cmd, cwd=cwd, stdout=so, stderr=se, stdin=subprocess.DEVNULL, preexec_fn=limits)
            timer = threading.Timer(WALL_LIMIT, lambda: os.kill(p.pid, signal.SIGKILL))
            timer.start()
            _, status, usage = os.wait4(p.pid, 0)
            timer.cancel()
            p.returncode = 0  # reaped here; keeps Popen from waiting again
        self.cpu = usage.ru_utime + usage.ru_stime
        self.signal = os.WTERMSIG(status) if os.WIFSIGNALED(status) else None
        self.status = os.WEXITSTATUS(status) if os.WIFEXITED(status) else None
        with open(out + ".out", "rb") as f:
            self.stdout = f.read().decode("utf-8", "replace")
        with open(out + ".err", "rb") as f:
            self.stderr = f.read().decode("utf-8", "replace")
        os.remove(out + ".out")
        os.remove(out + ".err")

    def trouble(self):
        """A crash or a hang, said in a line; None when the run ended by itself in time."""
        if self.signal in (signal.SIGXCPU, signal.SIGKILL):
            return "hang (stopped after %.1f s of processor time)" % self.cpu
        if self.signal is not None:
            return "crash (signal %d)" % self.signal
        if self.status in (134, 139) or "Sanitizer" in self.stderr or "terminate called" in self.stderr:
            return "crash (status %s): %s" % (self.status, self.stderr[-300:])
        if self.cpu > CPU_LIMIT:
            return "took %.2f s of processor time" % self.cpu
        return None


# --- courses ---------------------------------------------------------------------------------

def parse_int(word):
    """A word as the course reader takes an integer: its leading digits, or None."""
    if word.startswith(b"+") and not word.startswith(b"+-"):
        word = word[1:]
    i = 1 if word.startswith(b"-") else 0
    j = i
    while j < len(word) and 48 <= word[j] <= 57:
        j += 1
    if j == i:
        return None
    value = int(word[:j])
    return value if -2**31 <= value < 2**31 else None


def records_of(data):
    words = data.split()
    return [words[i:i + 18] for i in range(0, len(words), 18)]


def players_course(records):
    """The records from the first to the goal, as the game finds the goal; None without one."""
    kinds, groups = [], []
    for r in records:
        k, g = parse_int(r[0]), parse_int(r[1])
        kinds.append(k if k is not None else 0)
        groups.append(g if g is not None else 0)
    for i in range(1, len(records)):
        if groups[i] != 0:
            return None
        if kinds[i] == 2:
            return records[:i + 1]
    return None


def fmt(v):
    return ("%.6g" % v).encode()


def record(kind, group, m):
    return [str(kind).encode(), str(group).encode()] + [fmt(v) for v in m]


def matrix(r):
    return [float(w) for w in r[2:18]]


def translated(m, dx=0.0, dy=0.0, dz=0.0):
    m = list(m)
    m[12] += dx
    m[13] += dy
    m[14] += dz
    return m


def rotated_y(m, a):
    c, s = math.cos(a), math.sin(a)
    rot = [c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1]
    return multiply(rot, m)


def rotated_x(m, a):
    c, s = math.cos(a), math.sin(a)
    rot = [1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1]
    return multiply(rot, m)


def scaled(m, s):
    return multiply([s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1], m)


def multiply(a, b):
    return [sum(a[r * 4 + k] * b[k * 4 + c] for k in range(4)) for r in range(4) for c in range(4)]


def text(records):
    return b"\n".join(b"\t".join(r) for r in records)


class Courses:
    """Short courses cut from the game's own: its first few gates, a goal straight ahead of the
    last (the craft never turns towards a goal), and some of its enemy routes."""

    def __init__(self, game_dir):
        with open(os.path.join(game_dir, "data", "data", "cpdata.dat"), "rb") as f:
            self.stock = f.read()
        recs = records_of(self.stock)
        self.main = [r for r in recs if r[1] == b"0"]
        self.routes = {}
        for r in recs:
            if r[1] != b"0":
                self.routes.setdefault(int(r[1]), []).append(r)

    def base(self, rng):
        gates = rng.randint(2, 5)
        main = [list(r) for r in self.main[:gates]]
        main[0][0] = b"0"
        for r in main[1:]:
            r[0] = rng.choice([b"1", b"1", b"3"])
        a, b = matrix(main[-2]), matrix(main[-1])
        dx, dz = b[12] - a[12], b[14] - a[14]
        length = math.hypot(dx, dz)
        ahead = rng.uniform(250, 600)
        goal = translated(b, dx / length * ahead, 0, dz / length * ahead)
        recs = main + [record(2, 0, goal)]
        for n in range(1, rng.randint(0, 2) + 1):
            for r in self.routes[n]:
                recs.append([r[0], str(n).encode()] + r[2:])
        return recs


def cut_or_flipped(data, rng, flips):
    """The damage every reader meets: the file cut at some byte, or up to `flips` bytes changed."""
    if data and rng.randrange(2) == 0:
        cut = rng.randrange(len(data))
        return data[:cut], "cut at byte %d" % cut
    b = bytearray(data)
    for _ in range(rng.randint(1, flips) if b else 0):
        b[rng.randrange(len(b))] = rng.randrange(256)
    return bytes(b), "bytes flipped"


def damage_text(data, rng):
    what = rng.randrange(10)
    if what < 2:
        return cut_or_flipped(data, rng, 6)
    if what == 2:
        words = data.split(b"\t")
        i = rng.randrange(len(words))
        new = rng.choice([b"nan", b"inf", b"-inf", b"1e9", b"2e7", b"-1e9", b"3.4e38", b"1e-45", b"0", b"-0", b"x",
                          b"1e39", b"999999999999", b"+5", b"--1", b"0x10", b"1,5", b"", b"\x00", b"\xff\xfe"])
        words[i] = new + (b"\n" if words[i].endswith(b"\n") else b"")
        return b"\t".join(words), "word %d made %r" % (i, new)
    lines = data.split(b"\n")
    if what == 3:
        i = rng.randrange(len(lines))
        del lines[i]
        return b"\n".join(lines), "line %d left out" % i
    if what == 4:
        i = rng.randrange(len(lines))
        lines.insert(i, lines[i])
        return b"\n".join(lines), "line %d twice" % i
    if what == 5:
        i, j = rng.randrange(len(lines)), rng.randrange(len(lines))
        lines[i], lines[j] = lines[j], lines[i]
        return b"\n".join(lines), "lines %d and %d swapped" % (i, j)
    if what == 6:
        return data.replace(b"\n", b"\r\n") + b"\r\n", "CR LF line ends"
    if what == 7:
        return b"\xef\xbb\xbf" + data, "a byte-order mark"
    if what == 8:
        return data + bytes(rng.randrange(256) for _ in range(rng.randint(1, 40))), "junk at the end"
    return data.replace(b"\t", b" \x0b "), "odd whitespace"


def damage_gate(recs, rng):
    """One gate of the player's course made one no craft can pass, or one far away."""
    goal = next(i for i, r in enumerate(recs) if i > 0 and r[0] == b"2")
    i = rng.randint(1, goal)
    m = matrix(recs[i])
    what = rng.randrange(16)
    new, why = None, None
    if what == 0:
        new, why = [0.0] * 16, "all zeros"
    elif what == 1:
        new, why = list(m), "scale 0 on x"
        new[0:3] = [0, 0, 0]
    elif what == 2:
        new, why = list(m), "w = 0"
        new[15] = 0
    elif what == 3:
        new, why = list(m), "a flat axis"
        new[8:11] = new[0:3]
    elif what == 4:
        new, why = scaled(m, 1e-45), "scale 1e-45"
        new[12:15] = m[12:15]
    elif what == 5:
        new, why = scaled(m, 3.4e38), "scale 3.4e38"
        new[12:15] = m[12:15]
    elif what == 6:
        new, why = rotated_y(m, math.pi / 2), "turned edge-on"
    elif what == 7:
        new, why = rotated_x(m, math.pi / 2), "laid flat"
    elif what == 8:
        far = rng.choice([1e9, 2e7, 5000.0, -4000.0])
        new, why = translated(m, far, 0, 0), "moved %g on x" % far
    elif what == 9:
        up = rng.choice([-2000.0, -500.0, 500.0, 2000.0])
        new, why = translated(m, 0, up, 0), "moved %g on y" % up
    elif what == 10:
        new, why = matrix(recs[0]), "the goal on the start"
        i = goal
    elif what == 11:
        new, why = scaled(m, 0.02), "a fiftieth of its size"
        new[12:15] = m[12:15]
    elif what == 12:
        new, why = translated(m, rng.uniform(-300, 300), 0, rng.uniform(-300, 300)), "moved a little"
    elif what == 13:
        new, why = matrix(recs[i - 1]), "on the gate before it"
    elif what == 14:
        recs = [list(r) for r in recs]
        recs[goal][0] = b"1"
        return recs, "no goal"
    else:
        # A route's last gate far away (the checker once timed it for ever).
        routes = [k for k, r in enumerate(recs) if r[1] != b"0"]
        if not routes:
            return recs, "nothing changed"
        k = rng.choice(routes)
        recs = [list(r) for r in recs]
        recs[k] = recs[k][:2] + [fmt(v) for v in translated(matrix(recs[k]), 1e9, 0, 2e8)]
        return recs, "route record %d far away" % (k + 1)
    recs = [list(r) for r in recs]
    recs[i] = recs[i][:2] + [fmt(v) for v in new]
    return recs, "record %d: %s" % (i + 1, why)


def large_courses(courses, rng):
    base = courses.base(rng)
    plain = record(1, 9, [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 7, 0, 1])
    spawn = [record(0, 1, [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 7, 0, 1]),
             record(2, 1, [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 50, 7, 0, 1])]
    six = [list(r) for r in base if r[1] == b"0"]
    for n in range(1, 7):
        six += [[r[0], str(n).encode()] + r[2:] for r in courses.routes[(n - 1) % 5 + 1]][:12]
        six[-1][0] = b"2"
    at_most = six + [plain] * (256 - len(six))
    yield text(at_most), "256 records, 6 enemies"
    yield text(at_most + [plain]), "257 records"
    yield text(six + [[r[0], b"7"] + r[2:] for r in spawn]), "7 enemies"
    yield text(base + spawn * 50000), "100,000 records, 50,000 spawn gates"
    yield b"0 0 " * 600000, "a number repeated over a MiB"


# --- scripts and traces ----------------------------------------------------------------------

SCRIPT = b"""# seed 3
0 cursor 640 360
5 down Space
6 up Space
20 down Escape
21 up Escape
21 answer no
40 down A
60 up A
70 down LeftButton
90 cursor 900 200
100 up LeftButton
"""


def damaged_script(rng):
    lines = SCRIPT.split(b"\n")
    what = rng.randrange(9)
    if what == 0:
        i = rng.randrange(len(lines))
        lines[i] = rng.choice([b"5 down Enter", b"-1 down A", b"99999999999999999999 up A", b"7 cursor 200000 0",
                               b"7 cursor 1 2 3", b"7 answer maybe", b"7", b"down A", b"7 quit now", b"\xff\xfe 7 down A",
                               b"7 down A # fine", b"0x10 down A", b"7\tdown\tA", b"7 cursor -100000 100000"])
        return b"\n".join(lines), "line %d: %r" % (i + 1, lines[i])
    data = b"\n".join(lines)
    if what in (1, 2):
        return cut_or_flipped(data, rng, 4)
    if what == 3:
        return b"\xef\xbb\xbf" + data.replace(b"\n", b"\r\n"), "byte-order mark and CR LF"
    if what == 4:
        return data + b"7 down A" * rng.randint(1, 20000), "a very long last line"
    if what == 5:
        return b"\n".join(rng.sample(lines, len(lines))), "lines shuffled"
    if what == 6:
        return data + b"\x00" * rng.randint(1, 100), "NUL bytes"
    if what == 7:
        return data + b"30 quit\n", "quit at frame 30"
    return bytes(rng.randrange(256) for _ in range(rng.randint(0, 400))), "random bytes"


def damaged_trace(base, rng):
    lines = base.split(b"\n")
    game = [i for i, l in enumerate(lines) if b'"scene":"game"' in l]
    what = rng.randrange(10)
    if what < 2:
        return cut_or_flipped(base, rng, 8)
    if what == 2:
        i = rng.choice(game)
        lines[i] = lines[i].replace(b'"pos":[', b'"pos":[' + rng.choice([b"1e999,", b"null,", b'"x",', b"-1e38,"]), 1)
        return b"\n".join(lines), "line %d: a position spoilt" % (i + 1)
    if what == 3:
        return b"\n".join(l.replace(b'"released":false', b'"released":7') for l in lines), "released as a number"
    if what == 4:
        return b"\n".join(lines + [b"{" * rng.randint(1, 5000)]), "unbalanced braces"
    if what == 5:
        return b"\n".join(lines + [b"x" * (1 << 20) + b"y"]), "a line over a MiB"
    if what == 6:
        frames = rng.randint(1000, 40000)
        zig = [b'{"frame":%d,"scene":"game","player":{"pos":[%d,7,%d]}}' % (f, (f % 2) * 7000 - 3500, (f % 7) * 1000 - 3500)
               for f in range(frames)]
        return b"\n".join(zig), "%d frames zigzagging across the map" % frames
    if what == 7:
        hits = rng.randint(1000, 20000)
        h = [b'{"frame":%d,"scene":"game","player":{"pos":[%d,7,0]},"hitsLeft":%d,"runOver":%s}'
             % (f, f % 500, -f, b"true" if f % 3 == 0 else b"false") for f in range(hits)]
        return b"\n".join(h), "%d hits" % hits
    if what == 8:
        many = b'{"frame":1,"scene":"game","player":{"pos":[0,7,0]},"enemies":[' + \
               b",".join([b'{"released":true}'] * rng.randint(1, 30000)) + b"]}"
        return b"\n".join(lines[:5] + [many]), "an enemy list of thousands"
    return b"\r\n".join(rng.sample(lines, len(lines))), "lines shuffled, CR LF"


# --- the suite ---------------------------------------------------------------------------------

class Suite:
    def __init__(self, a):
        self.a = a
        self.failures = []
        self.counts = {}
        self.lock = threading.Lock()
        self.model_dir = os.path.join(a.game_dir, "data", "model")

    def fail(self, case, message):
        with self.lock:
            self.failures.append("%s: %s" % (case, message))

    def count(self, what):
        with self.lock:
            self.counts[what] = self.counts.get(what, 0) + 1

    def run(self, case, cmd):
        r = Run(cmd, self.a.game_dir, self.a.out)
        trouble = r.trouble()
        if trouble:
            self.fail(case, "%s\n    %s" % (trouble, " ".join(cmd)))
            return None
        return r

    def names(self, case, r, path, who):
        """A refusal is one line on standard error naming the file."""
        line = r.stderr.strip()
        if path not in line or not line.startswith(who + ": "):
            self.fail(case, "the refusal does not name %s: %r" % (path, r.stderr[-400:]))

    def course(self, case, path):
        game = self.run(case, [self.a.binary, "--headless", "--start", "game", "--course", path])
        tool = self.run(case, [self.a.tool, "--json", "course", path, self.model_dir])
        if not game or not tool:
            return
        accepted = game.status == 0
        if not accepted:
            self.count("courses refused")
            if game.status != 2 or game.stdout:
                self.fail(case, "refused with status %s and output %r" % (game.status, game.stdout))
            self.names(case, game, path, "korvelin")
        if tool.status == 1:
            self.names(case, tool, path, "korvelin-assets")
            if accepted:
                self.fail(case, "the game plays a course the checker cannot read")
            return
        if tool.status not in (0, 3):
            self.fail(case, "korvelin-assets course ended with %s" % tool.status)
            return
        report = json.loads(tool.stdout)
        rules = next(f for f in report["findings"] if f["check"] == "game-rules") if report["findings"] and \
            any(f["check"] == "game-rules" for f in report["findings"]) else None
        if not accepted and tool.status == 0:
            self.fail(case, "the checker calls OK a course the game refuses: %s" % game.stderr.strip())
        if rules is not None and rules["ok"] != accepted and report["load_message"] == "":
            self.fail(case, "the checker's game rules say %s, the game %s" % (rules["detail"], game.stderr.strip()))
        if accepted:
            self.count("courses played")
            summary = json.loads(game.stdout)
            if not summary["runOver"] or summary["scene"] != "title":
                self.fail(case, "the run did not end: %r" % summary)
            self.flown_alone(case, path)

    def flown_alone(self, case, path):
        """The player's course alone (no enemy to end the run): the craft reaches the goal."""
        with open(path, "rb") as f:
            mine = players_course(records_of(f.read()))
        if mine is None:
            self.fail(case, "the game accepted a course without a goal the suite can find")
            return
        alone = path + ".alone"
        with open(alone, "wb") as f:
            f.write(text(mine))
        r = self.run(case + " (alone)", [self.a.binary, "--headless", "--start", "game", "--course", alone])
        if not r:
            return
        if r.status != 0:
            self.fail(case, "the player's course alone is refused: %s" % r.stderr.strip())
            return
        summary = json.loads(r.stdout)
        if not summary["runOver"]:
            self.fail(case, "flown without enemies, the craft never reached the goal: %r" % summary)
        else:
            self.count("goals reached")

    def outcome(self, case, r, path, who, refused, taken, what):
        """A run that either refused the file, naming it, or took it."""
        if r.status == refused:
            self.count(what + " refused")
            self.names(case, r, path, who)
            return False
        if r.status not in taken:
            self.fail(case, "status %s: %s" % (r.status, r.stderr[-300:]))
            return False
        self.count(what + " taken")
        return True

    def script(self, case, path, course):
        r = self.run(case, [self.a.binary, "--headless", "--input", path, "--course", course, "--frames", "120"])
        if r:
            self.outcome(case, r, path, "korvelin", 2, (0,), "scripts")

    def trace(self, case, path, course):
        png = path + ".png"
        r = self.run(case, [self.a.tool, "course", course, self.model_dir, "--png", png, "--trace", path])
        if r and self.outcome(case, r, path, "korvelin-assets", 1, (0, 3), "traces") and not os.path.exists(png):
            self.fail(case, "no picture")
        if os.path.exists(png):
            os.remove(png)


def not_files(out):
    """Things that are not course files, given where one is expected."""
    folder = os.path.join(out, "a-folder.dat")
    os.makedirs(folder, exist_ok=True)
    fifo = os.path.join(out, "a-pipe.dat")
    if not os.path.exists(fifo):
        os.mkfifo(fifo)
    loop = os.path.join(out, "a-loop.dat")
    if not os.path.lexists(loop):
        os.symlink(loop, loop)
    return [(folder, "a folder"), ("/dev/zero", "/dev/zero"), ("/dev/null", "/dev/null"), (fifo, "a pipe nobody writes"),
            (os.path.join(out, "missing.dat"), "a missing file"), (loop, "a link to itself")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--seed", type=int, default=19)
    parser.add_argument("--courses", type=int, default=160)
    parser.add_argument("--scripts", type=int, default=100)
    parser.add_argument("--traces", type=int, default=40)
    a = parser.parse_args()
    a.out, a.binary, a.tool, a.game_dir = (os.path.abspath(p) for p in (a.out, a.binary, a.tool, a.game_dir))
    shutil.rmtree(a.out, ignore_errors=True)
    os.makedirs(a.out)
    rng = random.Random(a.seed)
    suite = Suite(a)
    courses = Courses(a.game_dir)
    jobs = []

    def write(name, data):
        path = os.path.join(a.out, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    for path, what in not_files(a.out):
        jobs.append((suite.course, "course: " + what, path))
    for n in range(a.courses):
        recs = courses.base(rng)
        if n % 2:
            recs, why = damage_gate(recs, rng)
            data = text(recs)
        else:
            why = "as cut"
            data = text(recs)
            if n % 4 == 0:
                data, why = damage_text(data, rng)
        jobs.append((suite.course, "course %d (%s)" % (n, why), write("course-%03d.dat" % n, data)))
    for n, (data, why) in enumerate(large_courses(courses, rng)):
        jobs.append((suite.course, "course: " + why, write("large-%d.dat" % n, data)))

    short = write("short.dat", text(courses.base(random.Random(1))))
    for path, what in not_files(a.out):
        jobs.append((lambda c, p: suite.script(c, p, short), "script: " + what, path))
    jobs.append((lambda c, p: suite.script(c, p, short), "script: over 16 MiB",
                 write("huge-script.txt", b"0 down A\n" * (2 * 1024 * 1024))))
    for n in range(a.scripts):
        data, why = damaged_script(rng)
        jobs.append((lambda c, p: suite.script(c, p, short), "script %d (%s)" % (n, why),
                     write("script-%03d.txt" % n, data)))

    base_trace = os.path.join(a.out, "base.jsonl")
    r = Run([a.binary, "--headless", "--start", "game", "--course", short, "--seed", "2", "--frames", "600",
             "--trace", base_trace], a.game_dir, a.out)
    if r.status != 0:
        print("FAIL: the base trace could not be made: " + r.stderr)
        return 1
    with open(base_trace, "rb") as f:
        base = f.read()
    for path, what in not_files(a.out):
        jobs.append((lambda c, p: suite.trace(c, p, short), "trace: " + what, path))
    for n in range(a.traces):
        data, why = damaged_trace(base, rng)
        jobs.append((lambda c, p: suite.trace(c, p, short), "trace %d (%s)" % (n, why), write("trace-%03d.jsonl" % n, data)))

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for f in [pool.submit(job, case, path) for job, case, path in jobs]:
            f.result()
    print("%d cases (seed %d): %s" % (len(jobs), a.seed, ", ".join("%s %d" % kv for kv in sorted(suite.counts.items()))))
    for line in suite.failures:
        print("FAIL: " + line)
    if suite.failures:
        return 1
    print("ok: no crash, no hang, every refusal named its file, every course played reached its goal")
    return 0


if __name__ == "__main__":
    sys.exit(main())
