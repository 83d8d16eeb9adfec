# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop for one run of the program.

Desktop starts an X server of its own, the accessibility bus, optionally a window
manager, and then the program. The program is driven only through real X input
(xdotool) and watched through screenshots and the accessibility tree. Everything
it starts lives in a process group of its own and is ended when the desktop
closes, also when a check fails or the run is interrupted.
"""

import ctypes
import importlib.util
import os
import shutil
import signal
import subprocess
import tempfile
import time

# Display numbers this suite may take, the first free one is used.
DISPLAYS = range(60, 70)
SCREEN = (1280, 1024)

TOOLS = ("dbus-run-session", "Xvfb", "xdpyinfo", "xdotool", "xwininfo", "xprop", "import")
TOOLS += ("wmctrl", "openbox")
AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def missing_tools():
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("the Python module pyatspi")
    if not os.access(AT_SPI_BUS_LAUNCHER, os.X_OK):
        missing.append(AT_SPI_BUS_LAUNCHER)
    return missing


def end_with_parent():
    """Asks for SIGTERM when the parent process dies, even by SIGKILL. Each child
    started here asks for it, so no X server outlives an interrupted run."""
    libc = ctypes.CDLL("libc.so.6", use_errno=True)
    libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def wait_for(predicate, timeout=10.0, what="condition", interval=0.05):
    """Polls predicate() until it returns something true and returns that.

    On timeout an AssertionError names what was awaited and the last value seen."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = predicate()
        except Exception as error:  # the tree may change under a query
            last = error
        else:
            if last:
                return last
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:g} s waiting for {what}; got {last!r}")
        time.sleep(interval)


class Image:
    """A screenshot in RGB, read from a binary PPM."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError(f"{path}: not an 8-bit binary PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1 : pos + 1 + 3 * self.width * self.height]

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i : i + 3])

    def region(self, left, top, width, height):
        """The pixels of a rectangle, row by row."""
        return [
            [self.pixel(x, y) for x in range(left, left + width)] for y in range(top, top + height)
        ]


class Desktop:
    def __init__(self, program, window_manager=False, scale=None):
        self.program = program
        self.window_manager = window_manager
        self.scale = scale
        self.display = None
        self.app = None
        self._processes = []  # (name, Popen), in the order started
        self._dir = tempfile.mkdtemp(prefix="zelvaro-e2e-")
        self._logs = []

    # --- Life ----------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, traceback):
        self.close()
        if kind is not None:
            self.print_logs()
        shutil.rmtree(self._dir, ignore_errors=True)
        return False

    def _start(self):
        self._start_x()
        os.environ["DISPLAY"] = self.display
        # The bus launcher publishes the accessibility bus on the session bus and on
        # the X display; the program and this process both find it there.
        self._spawn("at-spi-bus-launcher", [AT_SPI_BUS_LAUNCHER, "--launch-immediately"])
        if self.window_manager:
            self._spawn("openbox", ["openbox", "--sm-disable"])
            wait_for(self._window_manager_running, what="the window manager")
        self.start_program(self.scale)

    def start_program(self, scale=None):
        """Starts the program, ending the one started before; scale is Qt's scale factor."""
        for entry in [e for e in self._processes if e[1] is self.app]:
            self._stop(entry)
            self._processes.remove(entry)
        self.scale = scale
        env = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb"}
        if scale:
            env.update(QT_SCALE_FACTOR=str(scale), QT_ENABLE_HIGHDPI_SCALING="1")
        self.app = self._spawn(f"zelvaro{'@' + str(scale) if scale else ''}", [self.program], env)
        return self.app

    def _start_x(self):
        for number in DISPLAYS:
            if os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            display = f":{number}"
            width, height = SCREEN
            server = self._spawn(
                f"Xvfb{display}",
                ["Xvfb", display, "-noreset", "-nolisten", "tcp"]
                + ["-screen", "0", f"{width}x{height}x24"],
            )
            deadline = time.monotonic() + 10
            while server.poll() is None and time.monotonic() < deadline:
                answered = subprocess.run(
                    ["xdpyinfo", "-display", display],
                    stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL,
                )
                if answered.returncode == 0 and server.poll() is None:
                    self.display = display
                    return
                time.sleep(0.05)
            # Taken by another server that started at the same moment: try the next.
            self._stop(self._processes.pop())
        raise RuntimeError(f"no free X display among :{DISPLAYS[0]}..:{DISPLAYS[-1]}")

    def _window_manager_running(self):
        result = subprocess.run(["wmctrl", "-m"], capture_output=True, text=True)
        return result.returncode == 0 and "openbox" in result.stdout.lower()

    def _spawn(self, name, argv, env=None):
        log = open(os.path.join(self._dir, f"{name}.log"), "wb")
        self._logs.append((name, log.name))
        full_env = dict(os.environ)
        full_env["XDG_RUNTIME_DIR"] = self._dir
        full_env.update(env or {})
        process = subprocess.Popen(
            argv,
            stdin=subprocess.DEVNULL,
            stdout=log,
            stderr=subprocess.STDOUT,
            env=full_env,
            start_new_session=True,
            preexec_fn=end_with_parent,
        )
        log.close()
        self._processes.append((name, process))
        return process

    def _stop(self, entry):
        name, process = entry
        if process.poll() is None:
            for sig, grace in ((signal.SIGTERM, 3), (signal.SIGKILL, 3)):
                try:
                    os.killpg(process.pid, sig)
                except ProcessLookupError:
                    break
                try:
                    process.wait(grace)
                    break
                except subprocess.TimeoutExpired:
                    continue
        else:
            # The leader is gone; its group may not be.
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass

    def close(self):
        while self._processes:
            self._stop(self._processes.pop())

    def print_logs(self):
        for name, path in self._logs:
            try:
                with open(path, errors="replace") as f:
                    text = f.read().strip()
            except OSError:
                continue
            if text:
                print(f"--- output of {name} ---\n{text}")

    # --- X -----------------------------------------------------------------------

    def x(self, *argv):
        """Runs an X client tool on this display and returns its output."""
        result = subprocess.run(argv, capture_output=True, text=True, timeout=20)
        if result.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)} failed: {result.stderr.strip()}")
        return result.stdout

    def click(self, x, y):
        self.x("xdotool", "mousemove", str(round(x)), str(round(y)))
        time.sleep(0.05)
        self.x("xdotool", "click", "1")

    def type(self, text):
        self.x("xdotool", "type", "--delay", "30", text)

    def windows(self, title):
        """Ids of the mapped windows with exactly this title."""
        result = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
            capture_output=True,
            text=True,
        )
        return [int(line) for line in result.stdout.split()]

    def focus(self, window):
        self.x("xdotool", "windowfocus", "--sync", str(window))

    def geometry(self, window):
        """The window's client rectangle on the screen: x, y, width, height."""
        values = {}
        for line in self.x("xwininfo", "-id", str(window)).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(values[key]) for key in keys)

    def frame_geometry(self, window):
        """The outer rectangle with the window manager's frame: x, y, width, height."""
        x, y, width, height = self.geometry(window)
        output = self.x("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
        if "=" not in output:
            return x, y, width, height
        left, right, top, bottom = (int(v) for v in output.split("=")[1].split(","))
        return x - left, y - top, width + left + right, height + top + bottom

    def screenshot(self, window="root"):
        path = os.path.join(self._dir, "shot.ppm")
        self.x("import", "-window", str(window), "-depth", "8", f"ppm:{path}")
        return Image(path)

    def wait_for_exit(self, timeout=10.0):
        """The program's exit status once it has ended by itself."""
        try:
            return self.app.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program still runs {timeout:g} s after it should have ended")

