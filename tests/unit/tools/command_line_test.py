#!/usr/bin/env python3
"""The command lines of every program: --help prints the usage on standard output and ends
with 0, --version prints the name and the version, and a wrong command line says so on
standard error with status 2 and leaves nothing behind.
Usage: command_line_test.py CASE --version V --out DIR PROGRAM..."""
import argparse
import os
import shutil
import subprocess
import sys


def check(condition, message):
    if not condition:
        print("FAIL: " + message)
        sys.exit(1)


def run(program, args, cwd):
    return subprocess.run([program] + args, cwd=cwd, capture_output=True, text=True, timeout=30,
                          stdin=subprocess.DEVNULL)


def help_and_version(a, cwd):
    for program in a.programs:
        name = os.path.basename(program)
        for option in ("--help", "-h"):
            p = run(program, [option], cwd)
            check(p.returncode == 0, f"{name} {option}: status {p.returncode}; stderr {p.stderr!r}")
            check(p.stdout.startswith("usage: " + name), f"{name} {option}: no usage on stdout: {p.stdout!r}")
            check(p.stderr == "", f"{name} {option}: said something on stderr: {p.stderr!r}")
        p = run(program, ["--version"], cwd)
        check((p.returncode, p.stdout, p.stderr) == (0, f"{name} {a.version}\n", ""),
              f"{name} --version: status {p.returncode}, stdout {p.stdout!r}, stderr {p.stderr!r}")
        print(f"{name}: --help, -h and --version answered")


def wrong_command_lines(a, cwd):
    programs = {os.path.basename(p): p for p in a.programs}
    cases = [
        ("korvelin", ["--bogus"], "unknown option"),
        ("korvelin-assets", [], "usage: korvelin-assets"),
        ("korvelin-assets", ["bogus"], "unknown command"),
        ("assetgen", [], "usage: assetgen"),
        ("assetgen", ["--bogus"], "usage: assetgen"),
        ("assetgen", ["--icons", "icons"], "usage: assetgen"),
        ("assetgen", ["--icons", "icons", "8"], "usage: assetgen"),
        ("korvelin-contact-sheet", ["--bogus"], "usage: korvelin-contact-sheet"),
    ]
    for name, args, says in cases:
        if name not in programs:
            continue
        p = run(programs[name], args, cwd)
        what = " ".join([name] + args)
        check(p.returncode == 2, f"{what}: status {p.returncode}")
        check(says in p.stderr, f"{what}: stderr does not say {says!r}: {p.stderr!r}")
        check(p.stdout == "", f"{what}: wrote to stdout: {p.stdout!r}")
    # Neither these nor --help made anything in the folder they ran in.
    check(os.listdir(cwd) == [], f"files left behind: {os.listdir(cwd)}")
    print(f"{len(cases)} wrong command lines refused, nothing left behind")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=["help_and_version", "wrong_command_lines"])
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("programs", nargs="+")
    a = parser.parse_args()
    # An empty folder of its own, so anything a program makes by mistake shows.
    cwd = os.path.join(a.out, a.case)
    shutil.rmtree(cwd, ignore_errors=True)
    os.makedirs(cwd)
    globals()[a.case](a, cwd)
    check(os.listdir(cwd) == [], f"files left behind: {os.listdir(cwd)}")
    print("PASS")


if __name__ == "__main__":
    main()
