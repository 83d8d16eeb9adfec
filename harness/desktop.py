# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop for one run: a display server of its own (Xvfb, or weston
without any X server), a session bus, if asked the accessibility bus and a window
manager, and the programs started in it."""

import importlib.util
import os
import shlex
import shutil
import subprocess

from .processes import Processes, read_line, wait_equal, wait_for

AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# What describes the desktop this process runs in, if any; the private desktop
# sets its own or none.
OUTER = ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "XDG_CURRENT_DESKTOP")
OUTER += ("XDG_SESSION_TYPE", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION")


class CannotStart(RuntimeError):
    """The desktop's display server ended before it took clients: it cannot run on
    this machine."""


class Desktop:
    """What both kinds of desktop share; use XDesktop or WaylandDesktop.

    A context manager: entering starts the display server and a session bus, and
    with accessibility=True the accessibility bus (screen_reader=True: one that
    reports a screen reader on), and points this process's own
    environment at them (a process reads one accessibility bus for its whole life,
    so it can read one such desktop only). Leaving ends everything started, also
    on an exception, Ctrl-C, SIGTERM or SIGHUP, and prints the programs' output
    when an exception leaves the block."""

    TOOLS = ("dbus-daemon", "dbus-send")
    x_input = False  # whether X input tools (xdotool) reach the programs

    def __init__(self, accessibility=False, screen_reader=False):
        self.accessibility = accessibility
        self.screen_reader = screen_reader
        self.env = None  # every program's environment, once the desktop runs
        self.dir = None  # once it runs, a private directory (0700) for the run's files
        self._processes = None
        self._saved_environ = {}

    def missing(self):
        """What this desktop needs and this machine lacks, as a list of names."""
        tools = list(self.TOOLS)
        if self.accessibility:
            tools.append(AT_SPI_BUS_LAUNCHER)
        lacking = [t for t in tools if not (shutil.which(t) or os.access(t, os.X_OK))]
        if self.accessibility and importlib.util.find_spec("pyatspi") is None:
            lacking.append("the Python module pyatspi (Debian's /usr/bin/python3 has it)")
        return lacking

    def __enter__(self):
        self._processes = Processes()
        self.dir = self._processes.dir  # also the runtime directory
        try:
            outer = {key: value for key, value in os.environ.items() if key not in OUTER}
            self.env = self._environment(dict(outer, XDG_RUNTIME_DIR=self.dir))
            self._start_display()
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self.new_bus()
            if self.accessibility:
                launcher = [AT_SPI_BUS_LAUNCHER, "--launch-immediately"]
                # As a desktop reports it once the user turns the screen reader on.
                launcher += ["--screen-reader=1"] if self.screen_reader else []
                self.start("at-spi-bus-launcher", launcher)
                wait_for(lambda: self._bus_has("org.a11y.Bus"), what="the accessibility bus")
                self._point_environ_here()
            self._start_more()
        except CannotStart:
            self.__exit__(None, None, None)  # the reason is all there is to tell
            raise
        except BaseException:
            self.__exit__(True, None, None)
            raise
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None and self._processes is not None:
            print(self._processes.logs(), flush=True)
        if self._processes is not None:
            self._processes.close()
        for key, old in self._saved_environ.items():
            if old is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = old
        self._saved_environ = {}
        return False

    def start(self, name, argv, env=None, own_bus=False, stdout=None):
        """Starts argv in this desktop and returns its Popen.

        The program gets the desktop's environment (self.env), updated by env (a
        value of None removes a variable) and with own_bus=True a session bus of its
        own, as each program on a desktop has (which puts it out of reach of the
        accessibility bus). Its output goes to a log named after name (printed when
        a check fails) unless stdout is given."""
        full = dict(self.env)
        if own_bus:
            full["DBUS_SESSION_BUS_ADDRESS"] = self.new_bus()
        for key, value in (env or {}).items():
            if value is None:
                full.pop(key, None)
            else:
                full[key] = value
        return self._processes.start(name, argv, full, stdout=stdout)

    def stop(self, process):
        """Ends a program started here (its whole process group); returns its status."""
        return self._processes.stop(process)

    def wait_exit(self, process, timeout=10.0):
        """The exit status of a program that is to end by itself within timeout s."""
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{process.args[0]} still runs {timeout:g} s after it should end")

    def new_bus(self, services=True):
        """Starts one more session bus for this desktop and returns its address. With
        services=False the bus starts no service on demand: what a program asks of a
        name nobody owns fails at once."""
        read, write = os.pipe()
        try:
            argv = ["dbus-daemon", "--nofork", "--nopidfile"]
            argv.append("--session" if services else f"--config-file={self._bus_config()}")
            argv.append(f"--print-address={write}")
            bus = self._processes.start("dbus-daemon", argv, self.env, pass_fds=(write,))
            os.close(write)
            write = None
            return read_line(read, bus, 30, "the session bus")
        finally:
            os.close(read)
            if write is not None:
                os.close(write)

    def _bus_config(self):
        """A session bus's configuration without the folders of services to start."""
        path = os.path.join(self.dir, "bus-without-services.conf")
        if not os.path.exists(path):
            with open(path, "w") as f:
                f.write(BUS_WITHOUT_SERVICES)
        return path

    def _bus_has(self, name):
        argv = ["dbus-send", "--bus=" + self.env["DBUS_SESSION_BUS_ADDRESS"], "--print-reply"]
        argv += ["--dest=org.freedesktop.DBus", "/org/freedesktop/DBus"]
        argv += ["org.freedesktop.DBus.NameHasOwner", f"string:{name}"]
        result = subprocess.run(argv, capture_output=True, text=True, env=self.env, timeout=20)
        return "boolean true" in result.stdout

    def _point_environ_here(self):
        for key in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR") + OUTER:
            self._saved_environ[key] = os.environ.get(key)
            if key in self.env:
                os.environ[key] = self.env[key]
            else:
                os.environ.pop(key, None)

    # What each kind of desktop adds.
    def _environment(self, env):
        return env

    def _start_display(self):
        raise NotImplementedError

    def _start_more(self):
        pass


class XDesktop(Desktop):
    """A desktop on a private Xvfb, which picks a free display number itself.

    window_manager=True runs openbox, for frames, placement and close requests;
    screen is the screen's size in pixels. monitors, if given, splits the screen into
    monitors, each a rectangle (x, y, width, height), of which the one at index
    primary is the primary monitor. Programs are driven through real X input
    (xdotool) and watched through screenshots and window geometry."""

    TOOLS = Desktop.TOOLS + ("Xvfb", "xdotool", "xwininfo", "xprop", "import")
    x_input = True

    def __init__(self, window_manager=False, accessibility=False, screen=(1280, 1024),
                 screen_reader=False, monitors=None, primary=0):
        super().__init__(accessibility, screen_reader)
        self.window_manager = window_manager
        self.screen = screen
        self.monitors, self.primary = monitors, primary
        # Where a program centres its main window: the primary monitor's rectangle.
        self.area = monitors[primary] if monitors else (0, 0) + tuple(screen)
        self.display = None
        self.server = None  # the Xvfb process, once it runs
        if window_manager:
            self.TOOLS += ("openbox", "wmctrl")
        if monitors:
            self.TOOLS += ("xrandr",)

    def _environment(self, env):
        env.pop("WAYLAND_DISPLAY", None)
        return dict(env, QT_QPA_PLATFORM="xcb")

    def _start_display(self):
        read, write = os.pipe()
        try:
            width, height = self.screen
            argv = ["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp"]
            argv += ["-screen", "0", f"{width}x{height}x24"]
            self.server = self._processes.start("Xvfb", argv, self.env, pass_fds=(write,))
            os.close(write)
            write = None
            # Xvfb writes the number once it accepts clients.
            self.display = ":" + read_line(read, self.server, 30, "Xvfb")
        finally:
            os.close(read)
            if write is not None:
                os.close(write)
        self.env["DISPLAY"] = self.display

    def _start_more(self):
        if self.monitors:
            self.set_monitors(self.monitors, self.primary)
        if self.window_manager:
            self.start("openbox", ["openbox", "--sm-disable"])
            wait_for(lambda: "openbox" in self.x("wmctrl", "-m").lower(), what="the window manager")

    def set_monitors(self, monitors, primary=0):
        """Splits the screen into monitors (see the class), in place of those set before."""
        for line in self.x("xrandr", "--listmonitors").splitlines()[1:]:
            name = line.split()[1].lstrip("*+")
            if name.startswith("monitor"):
                self.x("xrandr", "--delmonitor", name)
        # The first monitor takes over the screen's one output; at 96 dots an inch.
        output = self.x("xrandr", "--listmonitors").splitlines()[1].split()[-1]
        for i, (x, y, width, height) in enumerate(monitors):
            name = ("*" if i == primary else "") + f"monitor{i}"
            size = f"{width}/{round(width * 25.4 / 96)}x{height}/{round(height * 25.4 / 96)}"
            outputs = output if i == 0 else "none"
            self.x("xrandr", "--setmonitor", name, f"{size}+{x}+{y}", outputs)
        wanted = [f"{'*' if i == primary else ''}monitor{i}" for i in range(len(monitors))]
        names = lambda: sorted(line.split()[1] for line in  # noqa: E731
                               self.x("xrandr", "--listmonitors").splitlines()[1:])
        wait_equal(names, sorted(wanted), what="the monitors")
        self.monitors, self.primary, self.area = monitors, primary, monitors[primary]

    # --- Looking -------------------------------------------------------------------
    # Single looks, for conditions that wait_for() polls.

    def x(self, *argv, timeout=20.0):
        """Runs an X client tool on this display and returns its output; a failure
        raises RuntimeError."""
        result = subprocess.run(argv, capture_output=True, text=True, env=self.env, timeout=timeout)
        if result.returncode != 0:
            raise RuntimeError(f"{' '.join(argv)} failed: {result.stderr.strip()}")
        return result.stdout

    def windows(self, title=None, pid=None):
        """Ids of the mapped windows with exactly this title, of this process, or both."""
        argv = ["xdotool", "search", "--all", "--onlyvisible"]
        argv += ["--pid", str(pid)] if pid is not None else []
        if title is not None:
            argv += ["--name", f"^{title}$"]  # the pattern comes last
        elif pid is None:
            argv += ["--name", ""]  # without any, xdotool would find no window at all
        result = subprocess.run(argv, capture_output=True, text=True, env=self.env, timeout=20)
        return [int(line) for line in result.stdout.split()]

    def popups(self, pid):
        """Ids of the process's mapped override-redirect windows: its open menus."""
        return [w for w in self.windows(pid=pid)
                if "Override Redirect State: yes" in self.x("xwininfo", "-id", str(w))]

    def geometry(self, window):
        """The window's rectangle without the window manager's frame: x, y, width,
        height on the screen."""
        values = {}
        for line in self.x("xwininfo", "-id", str(window)).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(values[key]) for key in keys)

    def frame_geometry(self, window):
        """The window's rectangle with the window manager's frame: x, y, width, height."""
        x, y, width, height = self.geometry(window)
        output = self.x("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
        if "=" not in output:
            return x, y, width, height
        left, right, top, bottom = (int(v) for v in output.split("=")[1].split(","))
        return x - left, y - top, width + left + right, height + top + bottom

    def focused(self):
        """The top-level window that has the keyboard (the X input focus); 0 for none."""
        return int(self.x("xdotool", "getwindowfocus"))

    def title_bar(self, window):
        """The centre of the window manager's title bar above the window: x, y."""
        x, y, width, _ = self.frame_geometry(window)
        return x + width / 2, (y + self.geometry(window)[1]) / 2

    def screenshot(self, window="root"):
        """A picture of the window as it is on the screen now."""
        path = os.path.join(self.dir, "shot.ppm")
        self.x("import", "-window", str(window), "-depth", "8", f"ppm:{path}")
        return Image(path)

    # --- Waiting -------------------------------------------------------------------

    def wait_window(self, title=None, pid=None, other_than=(), timeout=30.0, interval=0.05):
        """Waits until a window with this title, of this process or both is mapped,
        and returns its id; windows in other_than do not count."""

        def found():
            return [w for w in self.windows(title, pid) if w not in other_than]

        what = f"a window titled {title!r} of process {pid}"
        return wait_for(found, timeout, what, interval)[0]

    def wait_gone(self, window, timeout=10.0):
        """Waits until the window is no longer mapped."""
        wait_for(lambda: window not in self.windows(), timeout, f"window {window} to go")

    # --- Acting --------------------------------------------------------------------

    def click(self, x, y):
        """A click of the left button at a point of the screen."""
        # No --sync: it waits seconds when the pointer is there already. The server
        # takes the motion and the click in order anyway.
        self.x("xdotool", "mousemove", str(round(x)), str(round(y)), "click", "1")

    def key(self, *keys):
        """Presses keys by their X names, as "Return" or "Down", in the focused window."""
        self.x("xdotool", "key", "--delay", "30", *keys)

    def type(self, text, delay_ms=30):
        """Types text into the focused window, one key every delay_ms; returns when
        all are sent."""
        seconds = 20 + len(text) * delay_ms / 1000
        self.x("xdotool", "type", "--delay", str(delay_ms), text, timeout=seconds)

    def focus(self, window):
        """Gives the window the keyboard and waits until it has it."""
        self.x("xdotool", "windowfocus", "--sync", str(window))

    def activate(self, window, timeout=10.0):
        """Asks the window manager to activate the window, as a switch between windows
        does, and waits until the window has the keyboard."""
        self.x("xdotool", "windowactivate", str(window))
        has_keys = lambda: self.focused() == window  # noqa: E731
        wait_for(has_keys, timeout, f"window {window} to have the keyboard")

    def close_window(self, window, timeout=10.0):
        """Asks the window manager to close the window, as its close box does, once
        it manages the window."""

        def managed():
            listed = self.x("wmctrl", "-l").splitlines()
            return any(int(line.split()[0], 16) == window for line in listed)

        wait_for(managed, timeout, f"the window manager to manage window {window}")
        self.x("wmctrl", "-i", "-c", str(window))

    def sync_window_manager(self, timeout=10.0):
        """Returns once the window manager has acted on every request sent to it
        before: it changes the number of desktops and waits until that shows."""

        def desktops():
            return int(self.x("xprop", "-root", "_NET_NUMBER_OF_DESKTOPS").split("=")[1])

        wanted = desktops() % 4 + 1  # 1..4, never the current number
        self.x("wmctrl", "-n", str(wanted))
        wait_for(lambda: desktops() == wanted, timeout, f"{wanted} desktops")


# dbus-daemon's session configuration (/usr/share/dbus-1/session.conf) without
# <standard_session_servicedirs/>.
BUS_WITHOUT_SERVICES = """\
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


class CompositorDesktop(XDesktop):
    """A Wayland compositor's desktop with its XWayland, as a Wayland session has it:
    programs get DISPLAY and XAUTHORITY of that X server and WAYLAND_DISPLAY, and no
    QT_QPA_PLATFORM, so a Qt program chooses its platform itself. The compositor is
    also the X window manager, with a session bus of its own, apart from the
    programs' one, that starts no service. X input tools reach the programs as under
    XDesktop. Use MutterDesktop or KWinDesktop."""

    TOOLS = Desktop.TOOLS + ("Xwayland", "xdotool", "xwininfo", "xprop", "sh")
    NAME = None  # the compositor's program

    def __init__(self, accessibility=False, screen=(1024, 768)):
        super().__init__(accessibility=accessibility, screen=screen)

    def _environment(self, env):
        for key in ("DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(key, None)
        return dict(env, XDG_SESSION_TYPE="wayland")

    def _start_display(self):
        # The compositor runs a command once its displays accept clients, with their
        # names in its environment; the command writes them to a file and stays while
        # the compositor runs (mutter ends when it ends).
        names = os.path.join(self.dir, "displays")
        report = 'printf "%s\\n" "$DISPLAY" "$XAUTHORITY" "$WAYLAND_DISPLAY" > "$1.new"'
        report += ' && mv "$1.new" "$1" && while kill -0 "$PPID" 2>/dev/null; do sleep 1; done'
        argv, env = self._compositor(["sh", "-c", report, "sh", names])
        # The compositor's bus starts no service: KWin 6 would have it start an
        # accessibility bus of its own, which names itself on the X root window
        # (AT_SPI_BUS) half a second on; Qt programs started after that would take
        # it for the desktop's and never show on the desktop's accessibility bus.
        env = dict(self.env, DBUS_SESSION_BUS_ADDRESS=self.new_bus(services=False), **env)
        self.server = self.start(self.NAME, argv, env)

        def reported():
            if self.server.poll() is not None:
                return ["", "", ""]
            with open(names) as f:
                return f.read().split("\n")[:3]

        display, authority, wayland = wait_for(reported, 60, f"{self.NAME}'s displays")
        if not display:
            with open(os.path.join(self.dir, f"{self.NAME}.log"), errors="replace") as log:
                last = (log.read().strip().splitlines() or ["no output"])[-1]
            status = self.server.poll()
            raise CannotStart(f"{self.NAME} started no X server (exit status {status}: {last})")
        self.display = display
        self.env.update(DISPLAY=display, WAYLAND_DISPLAY=wayland)
        if authority:
            self.env["XAUTHORITY"] = authority

    def _compositor(self, command):
        """The compositor's command line, which runs command once its displays are up,
        and what it adds to the desktop's environment for the compositor alone."""
        raise NotImplementedError


class MutterDesktop(CompositorDesktop):
    """GNOME's compositor, mutter, headless on a virtual monitor of the given size."""

    TOOLS = CompositorDesktop.TOOLS + ("mutter",)
    NAME = "mutter"
    # What mutter needs on its command line: the options it has and we need.
    OPTIONS = ("--headless", "--virtual-monitor")

    def missing(self):
        lacking = super().missing()
        if not lacking:
            lacking += [f"mutter {option}" for option in self.OPTIONS
                        if option not in self._mutter_help()]
        return lacking

    def _mutter_help(self):
        result = subprocess.run(["mutter", "--help"], capture_output=True, text=True, timeout=20)
        return result.stdout + result.stderr

    def _compositor(self, command):
        width, height = self.screen
        # mutter 43 runs as a Wayland compositor only when asked to; later ones always do.
        argv = ["mutter"] + (["--wayland"] if "--wayland " in self._mutter_help() else [])
        return argv + ["--headless", "--virtual-monitor", f"{width}x{height}", "--"] + command, {}


class KWinDesktop(CompositorDesktop):
    """KDE Plasma's compositor, KWin, headless (its virtual output) at the given size.

    KWin keeps its configuration, data and caches in the desktop's private folder,
    never in the home folder. It runs from a copy of its program: the installed one
    carries a file capability, which makes it refuse to start where the capability
    cannot be granted (as root in a container)."""

    TOOLS = CompositorDesktop.TOOLS + ("kwin_wayland",)
    NAME = "kwin_wayland"
    SOCKET = "wayland-zelvaro"  # inside the desktop's private runtime directory

    def _compositor(self, command):
        home = os.path.join(self.dir, "kwin")
        env = {"HOME": home}
        for name in ("config", "data", "cache", "state"):
            env[f"XDG_{name.upper()}_HOME"] = os.path.join(home, name)
            os.makedirs(env[f"XDG_{name.upper()}_HOME"])
        program = os.path.join(self.dir, "kwin_wayland")
        shutil.copyfile(shutil.which("kwin_wayland"), program)
        os.chmod(program, 0o700)
        width, height = self.screen
        argv = [program, "--virtual", "--xwayland", "--socket", self.SOCKET]
        # KWin splits the command it runs from one argument, as a shell would.
        return argv + ["--width", str(width), "--height", str(height), shlex.join(command)], env


class WaylandDesktop(Desktop):
    """A desktop on weston's headless backend with no X server: programs get only
    WAYLAND_DISPLAY (and Qt programs QT_QPA_PLATFORM=wayland). No X input tool
    reaches them; drive them through AT-SPI actions."""

    TOOLS = Desktop.TOOLS + ("weston",)
    SOCKET = "wayland-zelvaro"  # inside the desktop's private runtime directory

    def __init__(self, accessibility=False, shell="desktop-shell.so"):
        super().__init__(accessibility)
        self.shell = shell

    def _environment(self, env):
        env.pop("DISPLAY", None)
        return dict(env, WAYLAND_DISPLAY=self.SOCKET, QT_QPA_PLATFORM="wayland")

    def _start_display(self):
        argv = ["weston", "--backend=headless-backend.so", f"--socket={self.SOCKET}"]
        argv += ["--use-pixman", "--no-config", "--idle-time=0", f"--shell={self.shell}"]
        weston = self.start("weston", argv)
        socket = os.path.join(self.dir, self.SOCKET)
        wait_for(lambda: weston.poll() is None and os.path.exists(socket), 30, "weston's socket")


class Image:
    """A screenshot in RGB, read from the binary PPM that ImageMagick writes."""

    def __init__(self, path):
        with open(path, "rb") as f:
            kind, size, depth, self.pixels = f.read().split(b"\n", 3)
        if kind != b"P6" or depth != b"255":
            raise ValueError(f"{path}: not an 8-bit binary PPM")
        self.width, self.height = map(int, size.split())

    def pixel(self, x, y):
        """The (red, green, blue) of one pixel."""
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i : i + 3])

    def region(self, left, top, width, height):
        """The pixels of a rectangle, row by row."""
        return [
            [self.pixel(x, y) for x in range(left, left + width)] for y in range(top, top + height)
        ]
