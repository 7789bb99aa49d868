#!/usr/bin/env python3
"""Checks that every source file under src/ includes only folders of lower layers.

The layers are read from KORVELIN_LAYERS in the top-level CMakeLists.txt, lowest first; folders
named together in one entry share a layer and may not include each other. Dear ImGui may be
included only by the developer overlay (src/editor/) and the UI binding (src/app/ui_binding.*).
Prints one line per offending include and exits 1 when there is any.
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
cmake = (root / "CMakeLists.txt").read_text(encoding="utf-8")
m = re.search(r"set\(KORVELIN_LAYERS\s+(.*?)\)", cmake, re.S)
if not m:
    sys.exit("check-layers: KORVELIN_LAYERS not found in CMakeLists.txt")
rank = {}
for i, entry in enumerate(re.findall(r'"([^"]*)"|(\S+)', m.group(1))):
    for folder in (entry[0] or entry[1]).split():
        rank[folder] = i

include = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)
problems = []
for path in sorted((root / "src").rglob("*")):
    if path.suffix not in (".hpp", ".cpp", ".h", ".c"):
        continue
    rel = path.relative_to(root / "src")
    own = rel.parts[0]
    if own not in rank:
        problems.append(f"src/{rel}: folder '{own}' is in no layer of KORVELIN_LAYERS")
        continue
    text = path.read_text(encoding="utf-8", errors="replace")
    for line_no, target in ((text.count("\n", 0, mm.start()) + 1, mm.group(1)) for mm in include.finditer(text)):
        first = target.split("/")[0]
        if first in rank and first != own and rank[first] >= rank[own]:
            problems.append(f"src/{rel}:{line_no}: '{own}' includes \"{target}\" of a layer not below its own")
        if target.startswith(("imgui", "backends/imgui")) and own != "editor" and not rel.name.startswith("ui_binding"):
            problems.append(f"src/{rel}:{line_no}: Dear ImGui belongs to the overlay and the UI binding only")

for p in problems:
    print(p)
print(f"layers: {len(problems)} problem(s) in src/")
sys.exit(1 if problems else 0)
