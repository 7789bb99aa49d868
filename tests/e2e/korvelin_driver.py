# Drives the real game under an X display the way a player and a window manager would: starts
# it in its game folder, finds its windows, presses keys, clicks, takes screenshots and asks the
# window to close. Standard library plus xdotool, xwininfo and ImageMagick's import.
import ctypes
import ctypes.util
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

QUESTION_CAPTION = "確認"
GAME_CAPTION = "-KORVELIN-"


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


# ---------------------------------------------------------------------------------------------
# Windows

class WindowInfo:
    def __init__(self, wid, name, x, y, width, height):
        self.wid, self.name, self.x, self.y, self.width, self.height = wid, name, x, y, width, height

    def __repr__(self):
        return f"{self.wid:#x} {self.name!r} {self.width}x{self.height}+{self.x}+{self.y}"


# One line of `xwininfo -root -tree`:  0x200007 "確認": ("title" "Class")  456x132+0+0  +412+294
_TREE_LINE = re.compile(r'^\s*(0x[0-9a-fA-F]+) "(.*)":.*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)\s*$')


def list_windows():
    """Every named window on the display with its absolute position."""
    # A window that goes away while xwininfo walks the tree makes it fail: walk again.
    for _ in range(20):
        result = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True)
        if result.returncode == 0:
            break
        time.sleep(0.05)
    else:
        raise TestFailure(f"xwininfo cannot list the windows: {result.stderr.decode(errors='replace')}")
    out = result.stdout
    windows = []
    for line in out.decode("utf-8", "replace").splitlines():
        m = _TREE_LINE.match(line)
        if m:
            wid, name = int(m.group(1), 16), m.group(2)
            width, height, ax, ay = int(m.group(3)), int(m.group(4)), int(m.group(7)), int(m.group(8))
            windows.append(WindowInfo(wid, name, ax, ay, width, height))
    return windows


def window_attributes(wid):
    """xwininfo's attributes of one window as a dict (keys as xwininfo writes them)."""
    out = subprocess.run(["xwininfo", "-id", str(wid)], capture_output=True, check=True).stdout
    attrs = {}
    for line in out.decode("utf-8", "replace").splitlines():
        key, sep, value = line.strip().partition(":")
        if sep and value:
            attrs[key.strip()] = value.strip()
    return attrs


def is_viewable(wid):
    try:
        return window_attributes(wid).get("Map State") == "IsViewable"
    except subprocess.CalledProcessError:
        return False  # gone meanwhile


def wait_for_window(name, process, timeout=20.0, viewable=True):
    """The first window called `name` (mapped, unless viewable is False). Fails early when the
    program has ended instead."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for w in list_windows():
            if w.name == name and (not viewable or is_viewable(w.wid)):
                return w
        if process is not None and process.poll() is not None:
            raise TestFailure(f"the game ended (status {process.returncode}) before a window "
                              f"{name!r} appeared")
        time.sleep(0.1)
    raise TestFailure(f"no window {name!r} within {timeout:.0f} s; windows: {list_windows()}")


def wait_until_gone(name, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if not any(w.name == name and is_viewable(w.wid) for w in list_windows()):
            return
        time.sleep(0.1)
    raise TestFailure(f"window {name!r} still shown after {timeout:.0f} s")


def unfocus():
    """Takes the input focus away from every window, as switching to another program does."""
    x11 = _xlib()
    display = x11.XOpenDisplay(None)
    check(display, "cannot open the display")
    x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x11.XSetInputFocus(display, 0, 0, _CURRENT_TIME)  # None, RevertToNone
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XSync(display, 0)
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay(display)


def focus(wid):
    # Without a window manager keys go nowhere until a window has the input focus.
    subprocess.run(["xdotool", "windowfocus", "--sync", str(wid)], check=True)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def click(wid, x, y):
    subprocess.run(["xdotool", "mousemove", "--window", str(wid), str(x), str(y)], check=True)
    subprocess.run(["xdotool", "click", "1"], check=True)


# ---------------------------------------------------------------------------------------------
# Asking a window to close, as a window manager's close button does: a WM_PROTOCOLS client
# message carrying WM_DELETE_WINDOW (xdotool's windowclose destroys the window instead).

class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


_CLIENT_MESSAGE = 33
_NO_EVENT_MASK = 0
_CURRENT_TIME = 0


_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


def _xlib():
    path = ctypes.util.find_library("X11") or "libX11.so.6"
    x11 = ctypes.CDLL(path)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x11.XPending.argtypes = [ctypes.c_void_p]
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


class FullScreenRequests:
    """Listens on the root window for what a window manager would be asked: a program asking
    for full screen sends _NET_WM_STATE (add _NET_WM_STATE_FULLSCREEN) there. Without a window
    manager nobody answers, so the request itself is what shows the choice. Start listening
    before the program could ask."""

    def __init__(self):
        self._x11 = _xlib()
        self._display = self._x11.XOpenDisplay(None)
        check(self._display, "cannot open the display to listen on the root window")
        self._state = self._x11.XInternAtom(self._display, b"_NET_WM_STATE", 0)
        self._full = self._x11.XInternAtom(self._display, b"_NET_WM_STATE_FULLSCREEN", 0)
        self._x11.XSelectInput(self._display, self._x11.XDefaultRootWindow(self._display),
                               _SUBSTRUCTURE_NOTIFY_MASK)
        self._x11.XSync(self._display, 0)
        self.windows = []

    def poll(self):
        """The windows that have asked for full screen so far."""
        event = _XEvent()
        while self._x11.XPending(self._display):
            self._x11.XNextEvent(self._display, ctypes.byref(event))
            m = event.xclient
            if (m.type == _CLIENT_MESSAGE and m.message_type == self._state and m.data[0] == 1
                    and self._full in (m.data[1] & 0xFFFFFFFF, m.data[2] & 0xFFFFFFFF)):
                self.windows.append(m.window)
        return self.windows

    def close(self):
        if self._display:
            self._x11.XCloseDisplay(self._display)
            self._display = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


def send_delete_window(wid):
    x11 = _xlib()
    display = x11.XOpenDisplay(None)
    check(display, "cannot open the display to send WM_DELETE_WINDOW")
    try:
        protocols = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        delete = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = wid
        event.xclient.message_type = protocols
        event.xclient.format = 32
        event.xclient.data[0] = delete
        event.xclient.data[1] = _CURRENT_TIME
        check(x11.XSendEvent(display, wid, 0, _NO_EVENT_MASK, ctypes.byref(event)) != 0,
              "XSendEvent refused the WM_DELETE_WINDOW message")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


# ---------------------------------------------------------------------------------------------
# Screenshots

class Picture:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def lit_pixels(self, threshold=16, region=None):
        """How many pixels have a channel above threshold, in region (x0, y0, x1, y1) or all."""
        x0, y0, x1, y1 = region or (0, 0, self.width, self.height)
        count = 0
        for y in range(y0, y1):
            row = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            count += sum(1 for i in range(0, len(row), 3) if max(row[i], row[i + 1], row[i + 2]) > threshold)
        return count

    def save_png(self, path):
        raw = b"".join(b"\0" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def _parse_ppm(data):
    # P6 <width> <height> <maxval> then one whitespace byte and the samples.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    check(fields[0] == b"P6" and fields[3] == b"255", f"unexpected screenshot format {fields}")
    width, height = int(fields[1]), int(fields[2])
    rgb = data[pos + 1:pos + 1 + width * height * 3]
    check(len(rgb) == width * height * 3, "screenshot cut short")
    return Picture(width, height, rgb)


def screenshot(wid, save_as=None):
    """The window's current contents; also written as a PNG when save_as is given."""
    data = subprocess.run(["import", "-window", str(wid), "-depth", "8", "ppm:-"],
                          capture_output=True, check=True).stdout
    picture = _parse_ppm(data)
    if save_as:
        os.makedirs(os.path.dirname(save_as), exist_ok=True)
        picture.save_png(save_as)
    return picture


# ---------------------------------------------------------------------------------------------
# The game process

class Game:
    """The program running in its game folder, with standard error kept for the report."""

    def __init__(self, binary, game_dir, out_dir, name, env_changes=None, cwd=None, args=()):
        env = dict(os.environ)
        env["ALSOFT_DRIVERS"] = "null"
        # The player's settings of this test alone, never the ones of whoever runs the tests.
        env["XDG_CONFIG_HOME"] = os.path.join(out_dir, name + "-config")
        # The game's first words, which the tests look for (確認, はい); the language tests choose
        # their own.
        for k in ("LC_ALL", "LC_MESSAGES"):
            env.pop(k, None)
        env["LANGUAGE"] = "ja"
        for k, v in (env_changes or {}).items():
            if v is None:
                env.pop(k, None)
            else:
                env[k] = v
        os.makedirs(out_dir, exist_ok=True)
        self.stderr_path = os.path.join(out_dir, name + ".stderr.txt")
        self._stderr = open(self.stderr_path, "wb")
        # A group of its own: a message box shown on X runs in a child process, which must go
        # with the game when a test stops it mid-question (else it stays on the display and the
        # next test finds it).
        self.process = subprocess.Popen([binary, *args], cwd=cwd or game_dir, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self._stderr, start_new_session=True)

    def wait(self, timeout):
        """The exit status, or None when the program is still running after timeout seconds."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stderr(self):
        self._stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stop(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        else:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)  # a box left behind by the game
            except ProcessLookupError:
                pass
        self._stderr.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


def answer_question(game, yes):
    """Answers the start-up full-screen question: Return takes the default (いいえ), a click on
    はい the other. Returns the question box as found."""
    box = wait_for_window(QUESTION_CAPTION, game.process)
    if yes:
        x, y = find_yes_button(box)
        click(box.wid, x, y)
    else:
        focus(box.wid)
        key("Return")
    wait_until_gone(QUESTION_CAPTION)
    return box


# The box draws its buttons as filled rectangles in this colour (SDL's default scheme).
_BUTTON_FILL = (105, 102, 99)


def find_yes_button(box):
    """Centre of the left-hand button (はい; the buttons run left to right) in box coordinates."""
    picture = screenshot(box.wid)
    columns = {}
    for y in range(picture.height):
        for x in range(picture.width):
            if picture.pixel(x, y) == _BUTTON_FILL:
                columns.setdefault(x, []).append(y)
    check(columns, "no buttons found in the question box")
    # Runs of neighbouring columns are the buttons; the first run is the left-hand one.
    xs = sorted(columns)
    run = [xs[0]]
    for x in xs[1:]:
        if x != run[-1] + 1:
            break
        run.append(x)
    ys = sorted(y for x in run for y in columns[x])
    return (run[0] + run[-1]) // 2, (ys[0] + ys[-1]) // 2


# ---------------------------------------------------------------------------------------------
# A display of the test's own, optionally with a window manager

class PrivateDisplay:
    """An Xvfb of the given size on a free display number, with openbox managing its windows when
    asked; DISPLAY points at it while the block runs. A window manager is what grants full
    screen, so the tests that need one get their own display and leave the shared one alone."""

    def __init__(self, width, height, window_manager=True):
        self.width, self.height, self.window_manager = width, height, window_manager
        self._processes, self._previous = [], None

    def __enter__(self):
        for n in range(200, 260):
            if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
                break
        else:
            raise TestFailure("no free display number")
        self.name = f":{n}"
        self._processes.append(subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", f"{self.width}x{self.height}x24", "-nolisten", "tcp",
             "-noreset"],  # a server resetting after its last client refuses the next one
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self._previous = os.environ.get("DISPLAY")
        os.environ["DISPLAY"] = self.name
        wait_until(lambda: subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0, 10.0,
                   f"Xvfb {self.name} did not start")
        if self.window_manager:
            self._processes.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                                    stderr=subprocess.DEVNULL))
            wait_until(lambda: "Openbox" in [w.name for w in list_windows()], 10.0, "openbox did not start")
        return self

    def __exit__(self, *exc):
        for process in reversed(self._processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if self._previous is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self._previous
        return False


class Weston:
    """A Wayland desktop of the test's own: weston with its X11 backend, in a private Xvfb (SDL
    2.26 crashes creating a window on weston's headless backend). Its ground is one plain colour
    with no panel and it never blanks, so a screenshot of weston's window shows the game's window
    on a known ground. env holds what the game needs to find it; DISPLAY stays the Xvfb's, as on
    a desktop that also runs an X server. The Xvfb is a little larger than weston's window:
    weston follows the X pointer by its relative moves and takes its true place only when the
    pointer enters the window, so the pointer leaves the window and comes back for each move.
    weston always draws its cursor, so between clicks the pointer rests at REST: on a 1600 x 1000
    output, a point that the game's 1280 x 720 window covers wherever weston places it and that
    its drawn question box never reaches."""

    GROUND = (0, 160, 0)
    REST = (360, 300)
    _MARGIN = 64

    def __init__(self, width, height, scale=1, log=None):
        self.width, self.height = width * scale, height * scale  # weston's window, in pixels
        self._args = [f"--width={width}", f"--height={height}", f"--scale={scale}"]
        self._log = log
        self._display = None
        self._process = None
        self._runtime = None
        self._log_file = None

    def __enter__(self):
        self._display = PrivateDisplay(self.width + self._MARGIN, self.height + self._MARGIN, window_manager=False)
        self._display.__enter__()
        try:
            self._runtime = tempfile.mkdtemp(prefix="korvelin-weston-")
            config = os.path.join(self._runtime, "weston.ini")
            with open(config, "w") as f:
                ground = "0xff%02x%02x%02x" % self.GROUND
                f.write(f"[core]\nidle-time=0\n[shell]\nbackground-color={ground}\npanel-position=none\n")
            log = subprocess.DEVNULL
            if self._log:
                os.makedirs(os.path.dirname(self._log), exist_ok=True)
                log = self._log_file = open(self._log, "wb")
            self._process = subprocess.Popen(
                ["weston", "--backend=x11-backend.so", "--use-pixman", "--socket=wayland-korvelin",
                 f"--config={config}", *self._args],
                env=dict(os.environ, XDG_RUNTIME_DIR=self._runtime), stdout=log, stderr=log)
            self.env = {"WAYLAND_DISPLAY": "wayland-korvelin", "XDG_RUNTIME_DIR": self._runtime}
            wait_until(lambda: self._find_window() or self._process.poll() is not None, 20.0, "weston did not start")
            check(self._process.poll() is None, f"weston ended at once (status {self._process.returncode})")
            self.wid = self._find_window()
            # The X focus settles on weston's window before any game starts: weston hands a focus
            # that X takes away and gives back to whichever window it held before.
            focus(self.wid)
            self.rest_pointer()
            wait_until(lambda: self.screenshot().pixel(self.width // 2, self.height // 2) == self.GROUND, 20.0,
                       "weston's desktop did not appear")
        except BaseException:
            self.__exit__()
            raise
        return self

    def _find_window(self):
        return next((w.wid for w in list_windows() if w.name.startswith("Weston Compositor")), None)

    def __exit__(self, *exc):
        if self._process and self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(5)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait()
        if self._log_file:
            self._log_file.close()
        if self._runtime:
            shutil.rmtree(self._runtime, ignore_errors=True)
        self._display.__exit__(*exc)
        return False

    def screenshot(self, save_as=None):
        return screenshot(self.wid, save_as)

    def key(self, name):
        """A key press on weston's keyboard, which weston gives the focused Wayland window."""
        focus(self.wid)
        key(name)

    def _point_at(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(self.width + self._MARGIN // 2),
                        str(self.height + self._MARGIN // 2)], check=True)
        subprocess.run(["xdotool", "mousemove", "--window", str(self.wid), str(x), str(y)], check=True)

    def rest_pointer(self):
        self._point_at(*self.REST)

    def click(self, x, y):
        """A left click at (x, y) pixels of weston's output."""
        self._point_at(x, y)
        subprocess.run(["xdotool", "click", "1"], check=True)
        self.rest_pointer()


def wait_until(condition, timeout, message):
    """Polls condition() until it holds; fails with message after timeout seconds (a callable
    message is asked then, so it can say how things stand at the end)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.1)
    raise TestFailure(message() if callable(message) else message)


def differing_pixels(a, b, region=None, threshold=24):
    """How many pixels of two pictures differ (every second row and column counted, times 4)."""
    x0, y0, x1, y1 = region or (0, 0, a.width, a.height)
    count = 0
    for y in range(y0, y1, 2):
        for x in range(x0, x1, 2):
            pa, pb = a.pixel(x, y), b.pixel(x, y)
            if max(abs(pa[i] - pb[i]) for i in range(3)) > threshold:
                count += 1
    return count * 4


def wait_for_picture(wid, test, timeout, what, save_as=None):
    """Screenshots of the window until test(picture) holds, however slowly the game draws on a
    busy machine; returns that picture (saved as save_as). Fails after timeout seconds."""
    found = []

    def shown():
        picture = screenshot(wid)
        if test(picture):
            found.append(picture)
            return True
        return False

    wait_until(shown, timeout, what)
    if save_as:
        found[0].save_png(save_as)
    return found[0]


def wait_for_motion(wid, before, moving, timeout, what):
    """Waits until more than `moving` pixels of the window differ from the picture `before`: the
    game drew on. Returns how many did."""
    moved = [0]

    def changed(picture):
        moved[0] = differing_pixels(before, picture)
        return moved[0] > moving

    wait_for_picture(wid, changed, timeout, lambda: f"{what}: at most {moved[0]} pixels changed")
    return moved[0]


def wait_for_stillness(wid, timeout, what):
    """Waits until two pictures of the window a moment apart are the same: a held screen has
    drawn what its last event asked for. Returns that picture."""
    last = [screenshot(wid)]

    def still(picture):
        same = differing_pixels(last[0], picture, threshold=0) == 0
        last[0] = picture
        return same

    return wait_for_picture(wid, still, timeout, what)


def wait_for_trace_to_stop(trace, timeout, what):
    """Waits until a window run's trace has not grown for half a second: no update runs (a held
    screen, a question). Returns its number of lines then."""
    deadline = time.monotonic() + timeout
    count = len(trace_lines(trace))
    still_since = time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.1)
        now = len(trace_lines(trace))
        if now != count:
            count, still_since = now, time.monotonic()
        elif time.monotonic() - still_since >= 0.5:
            return count
    raise TestFailure(what)


def is_fullscreen(wid):
    """Whether the window manager has put the window in full screen (_NET_WM_STATE)."""
    out = subprocess.run(["xprop", "-id", str(wid), "_NET_WM_STATE"], capture_output=True).stdout.decode()
    return "_NET_WM_STATE_FULLSCREEN" in out


def trace_lines(path):
    """The whole lines a window run's trace holds so far, read as JSON."""
    import json
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except FileNotFoundError:
        return []
    return [json.loads(line) for line in text.split("\n")[:-1]]


def run_main(tests):
    """Command line: <test name> --binary B --game-dir D --out O. Prints PASS or the fault."""
    import argparse
    parser = argparse.ArgumentParser()
    parser.add_argument("test", choices=sorted(tests))
    parser.add_argument("--binary", required=True)
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--out", required=True, help="folder for screenshots and logs")
    args = parser.parse_args()
    try:
        tests[args.test](args)
    except TestFailure as e:
        print(f"FAIL {args.test}: {e}")
        sys.exit(1)
    print(f"PASS {args.test}")
