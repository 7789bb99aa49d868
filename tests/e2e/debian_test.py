#!/usr/bin/env python3
# The Debian package's files agree with the build, without building the package (the fresh-system
# check does that): the changelog's version is the program's, debian/control's Build-Depends name
# every package whose headers or libraries the build used, and the packages the game loads at run
# time, named by hand in Depends, are installed for the tests as well.
# Usage: debian_test.py <test> --binary build/game/korvelin --game-dir build/game --out <folder>
# (the build folder is the game folder's parent)
import os
import re
import subprocess

import korvelin_driver as kd

SOURCE = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
# What every Debian build has without asking (build-essential): the C and C++ libraries' headers.
TOOLCHAIN = re.compile(r"^(libc6-dev|linux-libc-dev|libstdc\+\+-\d+-dev|libgcc-\d+-dev|gcc-\d+|g\+\+-\d+)$")


def control_fields(path):
    """Each paragraph of a deb822 file as {field: value}, comments left out, lines joined."""
    paragraphs, fields, name = [], {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            if not line.strip():
                if fields:
                    paragraphs.append(fields)
                fields, name = {}, None
            elif line[0] in " \t" and name:
                fields[name] += " " + line.strip()
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
    if fields:
        paragraphs.append(fields)
    return paragraphs


def package_names(relation):
    """The package names of a relation field, each alternative as a list, versions, profiles
    and substitution variables left out."""
    names = []
    for entry in relation.split(","):
        alternatives = [re.split(r"[\s(<\[]", a.strip())[0] for a in entry.split("|")]
        alternatives = [a for a in alternatives if a and not a.startswith("${")]
        if alternatives:
            names.append(alternatives)
    return names


def used_system_files(build):
    """The headers and libraries outside the source and build trees that the build of the game
    and its tools used (the compiler's dependency files and the link lines), tests and
    benchmarks left out."""
    used = set()
    for base, dirs, files in os.walk(build):
        dirs[:] = [d for d in dirs if os.path.relpath(os.path.join(base, d), build) not in ("tests", "bench")]
        for name in files:
            if not (name.endswith(".o.d") or name == "link.txt"):
                continue
            with open(os.path.join(base, name), encoding="utf-8", errors="replace") as f:
                words = f.read().replace("\\\n", " ").split()
            for word in words:
                path = word.rstrip(":")
                if name == "link.txt" and not path.startswith("/usr/lib/"):
                    continue
                if path.startswith("/") and not path.startswith((SOURCE + "/", os.path.abspath(build) + "/")):
                    used.add(os.path.normpath(path))
    return used


def owners(paths):
    """The packages that hold the paths; fails on a path no package holds."""
    p = subprocess.run(["dpkg", "-S", *sorted(paths)], capture_output=True, text=True)
    kd.check(not p.stderr.strip(), f"files of no package used by the build:\n{p.stderr}")
    found = set()
    for line in p.stdout.splitlines():
        for package in line.split(": ", 1)[0].split(", "):
            found.add(package.split(":")[0])  # without the architecture
    return found


def test_debian_files(args):
    source, binary = control_fields(os.path.join(SOURCE, "debian", "control"))[:2]

    p = subprocess.run(["dpkg-parsechangelog", "-l", os.path.join(SOURCE, "debian", "changelog"), "-S", "Version"],
                       capture_output=True, text=True)
    kd.check(p.returncode == 0, f"dpkg-parsechangelog: {p.stderr}")
    upstream = p.stdout.strip().rsplit("-", 1)[0]
    said = subprocess.run([args.binary, "--version"], capture_output=True, text=True).stdout.strip()
    kd.check(said == f"korvelin {upstream}", f"debian/changelog is at {p.stdout.strip()}, the program says {said!r}")

    build_depends = {n for alternatives in package_names(source["Build-Depends"]) for n in alternatives}
    used = owners(used_system_files(os.path.dirname(os.path.abspath(args.game_dir))))
    missing = sorted(p for p in used if not TOOLCHAIN.match(p) and p not in build_depends)
    kd.check(not missing, f"the build used packages debian/control's Build-Depends does not name: {missing}")

    with open(os.path.join(SOURCE, "scripts", "packages.txt"), encoding="utf-8") as f:
        installed = {line.strip() for line in f if line.strip() and not line.startswith("#")}
    by_hand = [alternatives[0] for alternatives in package_names(binary["Depends"])]
    kd.check(all(p in installed for p in by_hand),
             f"Depends names {[p for p in by_hand if p not in installed]}, which scripts/packages.txt lacks")
    print(f"version {upstream}; the build used {len(used)} packages; Depends by hand: {', '.join(by_hand)}")


if __name__ == "__main__":
    kd.run_main({"debian_files": test_debian_files})
