#!/usr/bin/env python3
"""Runs recorded inputs headless and compares the traces, frame by frame, with the ones kept in
tests/data/reference-traces: the game must play exactly as it did when they were made. Only the
fields of the kept traces are compared, so a field added later does not break them.
reference_trace_test.py CASE --binary B --game-dir D --data DIR --out DIR"""
import argparse
import json
import lzma
import os
import subprocess
import sys


def differences(kept, now, where, found, limit=5):
    """Adds to `found` the places where `now` differs from `kept` (fields of `kept` only)."""
    if len(found) >= limit:
        return
    if isinstance(kept, dict):
        if not isinstance(now, dict):
            found.append("%s: %r became %r" % (where, kept, now))
            return
        for key, value in kept.items():
            if key not in now:
                found.append("%s.%s: gone" % (where, key))
            else:
                differences(value, now[key], where + "." + key, found, limit)
    elif isinstance(kept, list):
        if not isinstance(now, list) or len(now) != len(kept):
            found.append("%s: %r became %r" % (where, kept, now))
            return
        for i, (a, b) in enumerate(zip(kept, now)):
            differences(a, b, "%s[%d]" % (where, i), found, limit)
    elif kept != now or isinstance(kept, bool) != isinstance(now, bool):
        found.append("%s: %r became %r" % (where, kept, now))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("case")
    p.add_argument("--binary", required=True)
    p.add_argument("--game-dir", required=True)
    p.add_argument("--data", required=True)
    p.add_argument("--out", required=True)
    a = p.parse_args()
    a.binary, a.data = os.path.abspath(a.binary), os.path.abspath(a.data)
    with open(os.path.join(a.data, "cases.json"), encoding="utf-8") as f:
        case = json.load(f)[a.case]
    os.makedirs(a.out, exist_ok=True)
    trace = os.path.join(a.out, a.case + ".jsonl")
    cmd = [a.binary, "--headless", "--input", os.path.join(a.data, case["script"]), "--trace", trace] + case["args"]
    run = subprocess.run(cmd, cwd=a.game_dir, capture_output=True, text=True, timeout=600)
    if run.returncode != 0:
        print("FAIL: %s exited %d\n%s" % (" ".join(cmd), run.returncode, run.stderr))
        return 1
    with lzma.open(os.path.join(a.data, a.case + ".jsonl.xz"), "rt", encoding="utf-8") as f:
        kept = [json.loads(line) for line in f]
    with open(trace, encoding="utf-8") as f:
        now = [json.loads(line) for line in f]
    if len(now) != len(kept):
        print("FAIL: %s (%s): %d frames, the kept trace has %d" % (a.case, case["what"], len(now), len(kept)))
        return 1
    for k, n in zip(kept, now):
        found = []
        differences(k, n, "frame %d" % k.get("frame", -1), found)
        if found:
            print("FAIL: %s (%s) first differs at\n  %s" % (a.case, case["what"], "\n  ".join(found)))
            return 1
    print("%s: %d frames as kept" % (a.case, len(kept)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
