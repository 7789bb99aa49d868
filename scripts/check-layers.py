#!/usr/bin/env python3
"""Checks the shape of src/: layers that only look down, and links that cover every include.

1. Layers. KORVELIN_LAYERS in the top-level CMakeLists.txt lists the folders of src/, lowest
   first; folders named together in one entry share a layer and may not include each other. A
   folder may be a part of another ("platform/mesh"); a file belongs to the deepest folder listed.
   A file may include its own folder and folders of lower layers, never one of its own layer or
   above.
2. Links. Every library of src/ is read from the CMakeLists.txt files below src/ (add_library
   with its sources, target_link_libraries) and the game's own program from the top-level one. A
   file belongs to the library that lists it (a header to the library of the source beside it
   with the same name, else to the first library of its folder). When a file includes a file of
   another library, its own library must link that one, directly or through a chain of PUBLIC
   links; so no file compiles only because some other library happened to bring the headers.
3. Dear ImGui is included only by the developer overlay (src/editor/) and the UI binding
   (src/app/ui_binding.*).

Prints one line per problem and exits 1 when there is any.
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
src = root / "src"
top = (root / "CMakeLists.txt").read_text(encoding="utf-8")

m = re.search(r"set\(KORVELIN_LAYERS\s+(.*?)\)", top, re.S)
if not m:
    sys.exit("check-layers: KORVELIN_LAYERS not found in CMakeLists.txt")
rank = {}
for i, entry in enumerate(re.findall(r'"([^"]*)"|(\S+)', m.group(1))):
    for folder in (entry[0] or entry[1]).split():
        rank[folder] = i


def folder_of(rel):
    """The deepest listed folder holding src/REL, or None."""
    parts = pathlib.PurePosixPath(rel).parts[:-1]
    for n in range(len(parts), 0, -1):
        name = "/".join(parts[:n])
        if name in rank:
            return name
    return None


def strip_comments(text):
    return re.sub(r"#[^\n]*", "", text)


# Libraries: name -> {"files": set of src-relative paths, "links": {visibility: [names]}, "dir": folder}
libraries = {}
first_library_of_dir = {}


def read_cmake(path, base):
    text = strip_comments(path.read_text(encoding="utf-8"))
    for call in re.finditer(r"\badd_(library|executable)\(\s*([\w-]+)([^)]*)\)", text):
        name, args = call.group(2), call.group(3).split()
        files = set()
        for word in args:
            if word in ("STATIC", "SHARED", "OBJECT", "INTERFACE", "ALIAS") or "$" in word:
                continue
            p = (base / word).resolve()
            if p.suffix in (".cpp", ".hpp", ".h", ".c") and src in p.parents:
                files.add(p.relative_to(src).as_posix())
        lib = libraries.setdefault(name, {"files": set(), "links": {}, "dir": None})
        lib["files"] |= files
        if base != root:
            lib["dir"] = base.relative_to(src).as_posix()
            first_library_of_dir.setdefault(lib["dir"], name)
    # set(VAR file ...) lists that add_library(${VAR}) used: followed through one level.
    for var in re.finditer(r"\bset\(\s*(\w+)\s+([^)]*)\)", text):
        used = re.search(r"\badd_library\(\s*([\w-]+)[^)]*\$\{" + var.group(1) + r"\}", text)
        if used:
            for word in var.group(2).split():
                p = (base / word).resolve()
                if p.suffix in (".cpp", ".hpp") and src in p.parents:
                    libraries[used.group(1)]["files"].add(p.relative_to(src).as_posix())
    for call in re.finditer(r"\btarget_link_libraries\(\s*([\w-]+)([^)]*)\)", text):
        lib = libraries.setdefault(call.group(1), {"files": set(), "links": {}, "dir": None})
        visibility = "PUBLIC"
        for word in call.group(2).split():
            if word in ("PUBLIC", "PRIVATE", "INTERFACE"):
                visibility = word
            else:
                lib["links"].setdefault(visibility, []).append(word)


for cmake in sorted(src.rglob("CMakeLists.txt")):
    read_cmake(cmake, cmake.parent)
read_cmake(root / "CMakeLists.txt", root)

owner = {}
for name, lib in libraries.items():
    for f in lib["files"]:
        owner.setdefault(f, name)


def library_of(rel):
    if rel in owner:
        return owner[rel]
    stem = pathlib.PurePosixPath(rel)
    for suffix in (".cpp", ".c"):
        sibling = stem.with_suffix(suffix).as_posix()
        if sibling in owner:
            return owner[sibling]
    return first_library_of_dir.get(stem.parent.as_posix())


def reachable(name):
    """Every library whose headers `name`'s own files may use."""
    lib = libraries.get(name, {"links": {}})
    seen = set()
    todo = [d for words in lib["links"].values() for d in words]
    while todo:
        d = todo.pop()
        if d in seen:
            continue
        seen.add(d)
        dep = libraries.get(d)
        if dep:
            todo += dep["links"].get("PUBLIC", []) + dep["links"].get("INTERFACE", [])
    return seen


include = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)
problems = []
reach_cache = {}
for path in sorted(src.rglob("*")):
    if path.suffix not in (".hpp", ".cpp", ".h", ".c"):
        continue
    rel = path.relative_to(src).as_posix()
    own = folder_of(rel)
    if own is None:
        problems.append(f"src/{rel}: its folder is in no layer of KORVELIN_LAYERS")
        continue
    mine = library_of(rel)
    if mine is None:
        problems.append(f"src/{rel}: no library of src/ builds it or its folder")
    text = path.read_text(encoding="utf-8", errors="replace")
    for mm in include.finditer(text):
        line_no = text.count("\n", 0, mm.start()) + 1
        target = mm.group(1)
        where = f"src/{rel}:{line_no}"
        if target.startswith(("imgui", "backends/imgui")) and own != "editor" and \
                not pathlib.PurePosixPath(rel).name.startswith("ui_binding"):
            problems.append(f"{where}: Dear ImGui belongs to the overlay and the UI binding only")
        if not (src / target).is_file():
            continue
        theirs = folder_of(target)
        if theirs is not None and theirs != own and rank[theirs] >= rank[own]:
            problems.append(f"{where}: '{own}' includes \"{target}\" of a layer not below its own")
        lib = library_of(target)
        if mine and lib and lib != mine:
            if mine not in reach_cache:
                reach_cache[mine] = reachable(mine)
            if lib not in reach_cache[mine]:
                problems.append(f"{where}: {mine} includes \"{target}\" of {lib}, which it does not link")

for p in problems:
    print(p)
print(f"layers: {len(problems)} problem(s) in src/")
sys.exit(1 if problems else 0)
