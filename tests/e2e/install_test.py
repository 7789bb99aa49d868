#!/usr/bin/env python3
# The game installed as a Linux program: `cmake --install` into a DESTDIR lays out bin/,
# share/korvelin/, the desktop entry, the metainfo, the icons and the manual pages (English, and
# the game's in Japanese), which the desktop's own checkers and man accept; the installed program, started from another folder, shows the
# title with one line about sound on a machine without a sound card; and the editor's Save from
# the installed (read-only) data lands in $XDG_DATA_HOME/korvelin/test2.dat.
# Usage: install_test.py <test> --binary build/game/korvelin --game-dir build/game --out <folder>
# (the build folder is the game folder's parent)
import os
import shutil
import stat
import struct
import subprocess
import time

import korvelin_driver as kd
from editor_test import FILE_MENU, SAVE_ITEM, SET_BUTTON, EditorTrace
from title_test import start_title
from game_test import enter_run
from startup_test import shows_a_picture

ICON_SIZES = (32, 48, 64, 128, 256)


def build_dir(args):
    return os.path.dirname(os.path.abspath(args.game_dir))


def install(args, name):
    """A fresh install of the build into <out>/<name>/dest with the prefix /usr; the prefix
    folder as it lies in the DESTDIR. Its manifest goes to <out>/<name>/install_manifest.txt:
    the build folder keeps the one of the developer's own last install, for their uninstall."""
    root = os.path.join(args.out, name)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    manifest = os.path.join(build_dir(args), "install_manifest.txt")
    kept = os.path.join(root, "developers_manifest.txt")
    if os.path.exists(manifest):
        shutil.move(manifest, kept)
    try:
        env = dict(os.environ, DESTDIR=os.path.join(root, "dest"))
        p = subprocess.run(["cmake", "--install", build_dir(args), "--prefix", "/usr"], env=env,
                           capture_output=True, text=True)
        kd.check(p.returncode == 0, f"cmake --install failed:\n{p.stdout}\n{p.stderr}")
        shutil.move(manifest, os.path.join(root, "install_manifest.txt"))
    finally:
        if os.path.exists(kept):
            shutil.move(kept, manifest)
    return os.path.join(root, "dest", "usr")


def app_id(usr):
    """The desktop's name for the game: that of its one desktop entry."""
    entries = os.listdir(os.path.join(usr, "share", "applications"))
    kd.check(len(entries) == 1 and entries[0].endswith(".desktop"), f"desktop entries: {entries}")
    return entries[0][:-len(".desktop")]


def files_below(folder):
    found = set()
    for base, dirs, files in os.walk(folder):
        for f in files + [d for d in dirs if os.path.islink(os.path.join(base, d))]:
            found.add(os.path.relpath(os.path.join(base, f), folder))
    return found


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    kd.check(head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR", f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def run_tool(cmd):
    p = subprocess.run(cmd, capture_output=True, text=True)
    return p.returncode, p.stdout + p.stderr


def test_installed_files(args):
    """Every file where a Linux desktop and a packager look for it, and their checkers pass."""
    usr = install(args, "installed_files")
    app = app_id(usr)
    expected = ["bin/korvelin", "bin/korvelin-assets", "share/korvelin/Shader/Simple.fx",
                "share/korvelin/data/data/cpdata.dat", f"share/applications/{app}.desktop",
                f"share/metainfo/{app}.metainfo.xml", "share/man/man6/korvelin.6", "share/man/man6/korvelin-assets.6",
                "share/man/ja/man6/korvelin.6"]
    expected += [f"share/icons/hicolor/{s}x{s}/apps/{app}.png" for s in ICON_SIZES]
    missing = [f for f in expected if not os.path.isfile(os.path.join(usr, f))]
    kd.check(not missing, f"not installed: {missing}")
    for program in ("korvelin", "korvelin-assets"):
        mode = os.stat(os.path.join(usr, "bin", program)).st_mode
        kd.check(mode & stat.S_IXOTH, f"bin/{program} is not executable by everyone")

    # The whole data tree, its picture folder's second name included, and nothing of the build's.
    built = files_below(os.path.join(args.game_dir, "data")) - {".assetgen-stamp"}
    installed = files_below(os.path.join(usr, "share", "korvelin", "data"))
    kd.check(installed == built, f"the installed data differs from the built: {sorted(installed ^ built)[:10]}")
    kd.check(os.readlink(os.path.join(usr, "share", "korvelin", "data", "Texture")) == "texture",
             "data/Texture is not the link to texture/")

    for size in ICON_SIZES:
        path = os.path.join(usr, f"share/icons/hicolor/{size}x{size}/apps/{app}.png")
        kd.check(png_size(path) == (size, size), f"the {size} px icon is {png_size(path)}")

    status, said = run_tool(["desktop-file-validate", os.path.join(usr, f"share/applications/{app}.desktop")])
    kd.check(status == 0 and said.strip() == "", f"desktop-file-validate: status {status}\n{said}")
    print("desktop-file-validate: no complaints")
    status, said = run_tool(["appstreamcli", "validate", "--no-net", "--pedantic",
                             os.path.join(usr, f"share/metainfo/{app}.metainfo.xml")])
    kd.check(status == 0, f"appstreamcli validate: status {status}\n{said}")
    print("appstreamcli validate --no-net --pedantic:", said.strip().splitlines()[-1])

    # Each manual page reads without a warning from man and says what it is for.
    env = dict(os.environ, MANWIDTH="80", LANG="C.UTF-8")
    _, version = run_tool([args.binary, "--version"])
    pages = (("man6/korvelin.6", ["KORVELIN(6)", "OPTIONS", "--headless", "--version", "CONTROLS", "QWERTY",
                                  "XDG_DATA_HOME", version.strip().upper()]),
             ("man6/korvelin-assets.6", ["KORVELIN-ASSETS(6)", "course FILE", "--json", "EXIT STATUS"]),
             ("ja/man6/korvelin.6", ["korvelin - ネオンの峡谷を飛ぶ小さな 3D レールシューティング", "Alt+Enter"]))
    for page, wanted in pages:
        p = subprocess.run(["man", "--warnings", "-l", os.path.join(usr, "share/man", page)], env=env,
                           capture_output=True, text=True)
        kd.check(p.returncode == 0 and not p.stderr.strip(), f"man -l {page}: status {p.returncode}\n{p.stderr}")
        missing = [w for w in wanted if w not in p.stdout]
        kd.check(not missing, f"the manual page {page} does not say {missing}:\n{p.stdout}")
    print(f"man --warnings -l: {len(pages)} pages")

    # The Japanese name and summary, where a Japanese desktop looks for them.
    summary = "ネオンの峡谷を飛び、連なって迫る敵を撃ち落とせ"
    for path, wanted in ((f"share/applications/{app}.desktop", ["Name[ja]=KORVELIN", f"Comment[ja]={summary}"]),
                         (f"share/metainfo/{app}.metainfo.xml",
                          ['<name xml:lang="ja">KORVELIN</name>', f'<summary xml:lang="ja">{summary}</summary>'])):
        with open(os.path.join(usr, path), encoding="utf-8") as f:
            text = f.read()
        kd.check(all(w in text for w in wanted), f"{path} lacks one of {wanted}")

    status, said = run_tool([os.path.join(usr, "bin", "korvelin"), "--version"])
    kd.check((status, said) == (0, version), f"installed korvelin --version: {said!r}, the build's {version!r}")

    # Uninstalling (what the build's uninstall target runs) leaves no file of the game's.
    dest = os.path.dirname(usr)
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake", "Uninstall.cmake")
    p = subprocess.run(["cmake", "-DMANIFEST=" + os.path.join(os.path.dirname(dest), "install_manifest.txt"),
                        "-P", script], env=dict(os.environ, DESTDIR=dest), capture_output=True, text=True)
    kd.check(p.returncode == 0, f"uninstall failed:\n{p.stdout}\n{p.stderr}")
    left = files_below(dest)
    kd.check(not left, f"left after uninstalling: {sorted(left)[:10]}")
    # The folders it emptied go too, up to the prefix, which stays.
    kd.check(os.listdir(dest) == ["usr"] and os.listdir(usr) == [], f"folders left below the prefix: {os.listdir(usr)}")
    print(f"uninstalled: {len(expected)} checked files, the data tree and the emptied folders gone")


def no_sound_card(out):
    """The environment of a machine without a sound card, whatever this one has: OpenAL Soft
    on ALSA, pointed at a card that is not there, its own log level left alone."""
    conf = os.path.join(out, "no-card-alsoft.conf")
    with open(conf, "w") as f:
        f.write("[alsa]\ndevice = hw:CARD=KorvelinNoSuchCard\n")
    return {"ALSOFT_DRIVERS": "alsa", "ALSOFT_CONF": conf, "ALSOFT_LOGLEVEL": None}


def elsewhere_and_user_folder(args, name):
    """An empty folder to start the program in, and an empty XDG_DATA_HOME."""
    root = os.path.join(args.out, name)
    elsewhere, xdg = os.path.join(root, "elsewhere"), os.path.join(root, "xdg")
    os.makedirs(elsewhere)
    os.makedirs(xdg)
    return elsewhere, xdg


def test_installed_title(args):
    """The installed program, started in an empty folder, finds its data beside its bin folder
    and shows the title; without a sound card it says so in one line, and nothing else."""
    usr = install(args, "installed_title")
    elsewhere, xdg = elsewhere_and_user_folder(args, "installed_title")
    env = dict(no_sound_card(args.out), XDG_DATA_HOME=xdg)
    share_before = files_below(os.path.join(usr, "share"))
    with kd.Game(os.path.join(usr, "bin", "korvelin"), elsewhere, args.out, "installed_title", env) as game:
        kd.answer_question(game, yes=False)
        window = kd.wait_for_window(kd.GAME_CAPTION, game.process)
        lit = shows_a_picture(window, os.path.join(args.out, "installed_title.png"), os.path.join(usr, "share/korvelin"))
        kd.send_delete_window(window.wid)
        status = game.wait(10.0)
        err = game.stderr()
    kd.check(status == 0, f"ended with status {status}; stderr:\n{err}")
    # The software renderer's notice (this machine has no graphics card) is said besides.
    lines = [line for line in err.splitlines() if "ソフトウェアレンダラー" not in line]
    # In Japanese (the driver's LANGUAGE=ja): the installed catalogue was found.
    kd.check(len(lines) == 1 and "音なしで動きます" in lines[0],
             f"standard error should be the one line about sound, in Japanese, not:\n{err}")
    kd.check(files_below(os.path.join(usr, "share")) == share_before, "the installed files changed")
    kd.check(os.listdir(elsewhere) == [], f"files left where it was started: {os.listdir(elsewhere)}")
    print(f"installed title: {lit} lit pixels; stderr: {lines[0]}")


def test_installed_editor_save(args):
    """The developer overlay of the installed game saves its course in the user's folder:
    $XDG_DATA_HOME/korvelin/test2.dat, never in the installed data, and says so."""
    usr = install(args, "installed_editor_save")
    share = os.path.join(usr, "share", "korvelin")
    # As a system install would have it: nothing of the game's is the player's to write.
    subprocess.run(["chmod", "-R", "a-w", share], check=True)
    elsewhere, xdg = elsewhere_and_user_folder(args, "installed_editor_save")
    saved = os.path.join(xdg, "korvelin", "test2.dat")
    share_before = files_below(share)
    try:
        trace = EditorTrace(os.path.join(args.out, "installed_editor_save.jsonl"))
        if os.path.exists(trace.path):
            os.remove(trace.path)
        with kd.Game(os.path.join(usr, "bin", "korvelin"), elsewhere, args.out, "installed_editor_save",
                     {"XDG_DATA_HOME": xdg}, args=["--dev", "--trace", trace.path]) as game:
            window = start_title(game)
            enter_run(game, window, args.out, "installed_editor_run.png")
            kd.click(window.wid, *SET_BUTTON)  # the editor places a gate where the craft is
            trace.wait("Set placed no gate", lambda e: e.get("records") == 1)
            kd.click(window.wid, *FILE_MENU)
            trace.frames(2)
            kd.screenshot(window.wid, os.path.join(args.out, "installed_editor_menu.png"))
            kd.click(window.wid, *SAVE_ITEM)
            deadline = time.monotonic() + 20
            while not os.path.exists(saved) and time.monotonic() < deadline:
                time.sleep(0.2)
            trace.frames(2)
            kd.screenshot(window.wid, os.path.join(args.out, "installed_editor_saved.png"))
            kd.send_delete_window(window.wid)
            game.wait(10.0)
            err = game.stderr()
    finally:
        subprocess.run(["chmod", "-R", "u+w", share], check=True)
    kd.check(os.path.isfile(saved), f"nothing saved in {saved} (screenshots installed_editor_*.png); stderr:\n{err}")
    with open(saved) as f:
        records = f.read().split()
    kd.check(len(records) > 0, "the saved course holds no gate")
    kd.check(files_below(share) == share_before, "the installed data changed")
    kd.check(os.listdir(elsewhere) == [], f"files left where it was started: {os.listdir(elsewhere)}")
    print(f"saved {saved} ({len(records)} numbers)")


if __name__ == "__main__":
    kd.run_main({"installed_files": test_installed_files, "installed_title": test_installed_title,
                 "installed_editor_save": test_installed_editor_save})
