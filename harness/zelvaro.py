# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The running program as a user meets it: controls found through the
accessibility tree, pressed with the mouse (or, without X, through their
accessible actions), letters typed on the keyboard."""

import os
import re
import subprocess

from .processes import wait_for

# The main window's client area, in logical pixels, and its letter boxes.
CLIENT = (510, 387)
LANES = 5  # game::Lanes (game/rules.h)

# The controls that make up the main window's state, as expect_controls() names
# them: their accessible names and roles.
CONTROLS = {
    "Start": ("Start", "push button"),
    "Stop": ("Stop", "push button"),
    "Exit": ("Exit", "push button"),
    "Pause": ("Pause", "check box"),
    "Options": ("Options", "menu item"),
    "Help": ("Help", "menu item"),
    "GameOver": ("Game Over", "label"),
    "Smiley": ("Smiley", "label"),
}


def qt_version(program):
    """The version of the Qt GUI library the program loads, as a tuple of numbers
    such as (6, 8, 2), read from the name of the file the dynamic linker finds."""
    linked = subprocess.run(["ldd", str(program)], capture_output=True, text=True).stdout
    found = re.search(r"libQt6Gui\.so\.6 => (\S+)", linked)
    if not found:
        raise AssertionError(f"{program} loads no libQt6Gui.so.6: {linked}")
    version = re.search(r"\.so\.([0-9.]+)$", os.path.realpath(found.group(1)))
    if not version:
        raise AssertionError(f"no version in the name of {os.path.realpath(found.group(1))}")
    return tuple(int(part) for part in version.group(1).split("."))


class Zelvaro:
    """One run of the program in a desktop with accessibility=True.

    Starting it waits until the main window shows. scale is Qt's scale factor; env
    adds to the program's environment; arguments follow the program's name."""

    def __init__(self, desktop, program, scale=None, env=None, timeout=30.0, arguments=()):
        from . import accessible  # only now: the desktop's accessibility bus runs

        self.a11y = accessible
        self.desktop = desktop
        self.scale = scale or 1
        extra = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
        if scale:
            extra.update(QT_SCALE_FACTOR=str(scale), QT_ENABLE_HIGHDPI_SCALING="1")
        extra.update(env or {})
        name = f"zelvaro@{scale}" if scale else "zelvaro"
        self.process = desktop.start(name, [str(program), *arguments], extra)
        self.tree = accessible.Tree(self.process.pid)
        wait_for(lambda: self.showing("Start", "push button"), timeout, "the main window")

    # --- Reading ---------------------------------------------------------------------
    # Single looks, for conditions that wait_for() polls.

    def node(self, name, role=None, within=None):
        """A snapshot of the object with this name and role (see accessible.node)."""
        if within is None and role is not None:
            return self.a11y.node(self.tree.control(name, role))
        return self.a11y.node(self.tree.get(name, role, within))

    def showing(self, name, role=None):
        """Whether an object with this name and role exists and is on the screen."""
        acc = self.tree.find(name, role)
        return acc is not None and "showing" in self.a11y.node(acc).states

    def has(self, name, role, *states):
        """Whether the object is in all of these states ("enabled", "checked", ...)."""
        return set(states) <= self.node(name, role).states

    def lacks(self, name, role, *states):
        """Whether the object is in none of these states."""
        return not set(states) & self.node(name, role).states

    def caption(self, name):
        """What a value label shows: its name says what it is, its description the value."""
        return self.node(name, "label").description

    def client(self):
        """The client area's rectangle on the screen, in logical pixels."""
        frame = self.tree.control("Zelvaro", "frame")
        return self.a11y.node(self.tree.get(role="filler", within=frame)).rect

    def lane(self, k):
        """A snapshot of lane k's letter box (1..5); its description is its letter."""
        return self.node(f"Lane {k}", "filler")

    def lane_left(self, k):
        """Where lane k's box stands from the client area's left edge."""
        return self.lane(k).rect.x - self.client().x

    def lane_top(self, k):
        """Where lane k's box stands from the client area's top edge."""
        return self.lane(k).rect.y - self.client().y

    def letters(self, lanes=LANES):
        """The letters that lanes 1..lanes show; "" for a lane that shows none."""
        return [self.lane(k).description for k in range(1, lanes + 1)]

    def menu_item(self, *path):
        """The menu item at the end of a path of captions, such as ("Options", "Level", "III")."""
        within = self.tree.get(role="menu bar", within=self.tree.control("Zelvaro", "frame"))
        for caption in path:
            within = self.tree.get(caption, "menu item", within)
        return within

    def ticks(self, submenu):
        """The captions of the ticked items of Options > submenu."""
        items = self.tree.find_all(role="menu item", within=self.menu_item("Options", submenu))
        return [item.name for item in items if "checked" in self.a11y.node(item).states]

    def controls(self, *names):
        """The states of these CONTROLS by name and, for "lanes", how many letter
        boxes show."""
        states = {name: self.node(*CONTROLS[name]).states for name in names if name != "lanes"}
        if "lanes" in names:
            states["lanes"] = sum("showing" in self.lane(k).states for k in range(1, LANES + 1))
        return states

    # --- Waiting ---------------------------------------------------------------------

    def expect_controls(self, after, timeout=10.0, **wanted):
        """Waits until each named control is as wanted: a string of states it must
        be in and, marked with "-", states it must not be in ("enabled -checked"),
        or for lanes the number of letter boxes that show. Fails naming after (the
        moment checked) and every control that differs."""

        def differences():
            now = self.controls(*wanted)
            wrong = []
            for name, want in wanted.items():
                if name == "lanes":
                    ok = now[name] == want
                else:
                    has = now[name]
                    ok = all(w[1:] not in has if w[0] == "-" else w in has for w in want.split())
                if not ok:
                    wrong.append(f"{name} is {now[name]}, not {want}")
            return wrong

        try:
            wait_for(lambda: not differences(), timeout, "the controls")
        except AssertionError:
            raise AssertionError(f"after {after}: " + "; ".join(differences())) from None

    def window(self, timeout=30.0):
        """The X window of the main window, once it is mapped."""
        return self.desktop.wait_window("Zelvaro", self.process.pid, timeout=timeout)

    def on_screen(self, find, what, timeout=10.0):
        """Waits until the object find() returns shows on the screen and, under X, its
        window stands where the program believes it stands, so that a click at its
        centre lands on it; returns its snapshot."""

        def ready():
            acc = find()
            node = self.a11y.node(acc)
            if "showing" not in node.states:
                return None
            if not self.desktop.x_input:
                return node
            w = self.a11y.node(self.a11y.window_of(acc)).rect
            placed = tuple(round(v * self.scale) for v in w)
            rects = [self.desktop.geometry(i) for i in self.desktop.windows(pid=self.process.pid)]
            return node if placed in rects else None

        return wait_for(ready, timeout, f"{what} on the screen")

    # --- Acting ----------------------------------------------------------------------

    def click(self, find, what):
        """Clicks the centre of the object find() returns, once it is on the screen
        (see on_screen); without X input, runs its first action instead."""
        node = self.on_screen(find, what)
        if not self.desktop.x_input:
            self.a11y.act(find())
            return
        x, y = self.a11y.centre(node.rect)
        self.desktop.click(x * self.scale, y * self.scale)  # device pixels

    def press(self, name, role="push button"):
        """Presses the control with this name and role."""
        self.click(lambda: self.tree.control(name, role), name)

    def choose(self, *path):
        """Opens the menu bar's menu path[0] and chooses through the rest of the
        path, such as ("Options", "Level", "III"); waits until the menu has closed."""
        for depth in range(1, len(path) + 1):
            find = lambda: self.menu_item(*path[:depth])  # noqa: E731
            what = " > ".join(path[:depth])
            if depth > 1 and self.desktop.x_input:
                # The pointer on the item first: a menu takes a click only on the
                # item that its last pointer motion made current.
                node = self.on_screen(find, what)
                x, y = (v * self.scale for v in self.a11y.centre(node.rect))
                self.desktop.x("xdotool", "mousemove", "--sync", str(round(x)), str(round(y)))
                wait_for(lambda: "focused" in self.a11y.node(find()).states, what=f"{what} current")
            self.click(find, what)
        wait_for(
            lambda: "showing" not in self.a11y.node(self.menu_item(*path)).states,
            what="the menu to close",
        )
        if self.desktop.x_input:
            # Until the X server has unmapped the popups they hold the pointer, and
            # the next click would only close them.
            wait_for(lambda: not self.desktop.popups(self.process.pid), what="the menus to go")

    def type(self, text):
        """Types text into the main window, which gets the keyboard first (without a
        window manager nobody hands it over)."""
        self.desktop.focus(self.window())
        self.desktop.type(text)


# The centres of the main window's buttons and of the Pause box's tick square, in
# pixels of the client area, and of the Options menu's caption in the menu bar, from
# the left.
BUTTONS = {"Start": (434, 96), "Stop": (434, 144), "Exit": (434, 256), "Pause": (399, 192)}
OPTIONS_X = 25


class Blind:
    """The main window driven through X alone, for a run that must not have the
    accessibility bridge on (one being measured, or one under valgrind): clicks
    at the controls' known places, keys, and only X windows watched. Under X only.

    Waits for the program's main window (or takes window, its id) and gives it
    the keyboard."""

    def __init__(self, desktop, process, timeout=30.0, window=None):
        self.desktop, self.pid = desktop, process.pid
        self.window = window or desktop.wait_window("Zelvaro", self.pid, timeout=timeout)
        height = lambda: desktop.geometry(self.window)[3] - CLIENT[1]  # noqa: E731
        self.menu_bar = wait_for(height, timeout, "the main window's menu bar")
        desktop.focus(self.window)

    def _click(self, x, y):
        where = ["--window", str(self.window), str(x), str(y)]
        self.desktop.x("xdotool", "mousemove", *where, "click", "1")

    def _wait_windows(self, count, timeout):
        windows = lambda: len(self.desktop.windows(pid=self.pid))  # noqa: E731
        wait_for(lambda: windows() == count, timeout, f"{count} windows (menus open: {count - 1})")

    def press(self, name):
        """Clicks Start, Stop, Exit or Pause."""
        x, y = BUTTONS[name]
        self._click(x, self.menu_bar + y)

    def choose(self, submenu, item, timeout=30.0):
        """Options > Level (submenu 1) or Acceleration (2) > item 1..4, by the arrow
        keys (the menus have no access keys); waits until each menu is open and,
        at the end, all are closed."""
        self._click(OPTIONS_X, self.menu_bar // 2)
        self._wait_windows(2, timeout)
        self.desktop.key(*["Down"] * submenu, "Right")  # the submenu opens at its item I
        self._wait_windows(3, timeout)
        self.desktop.key(*["Down"] * (item - 1), "Return")
        self._wait_windows(1, timeout)

    def type(self, text, delay_ms=30):
        """Types text into the main window, one key every delay_ms."""
        self.desktop.focus(self.window)
        self.desktop.type(text, delay_ms)

    def farewell(self, timeout=30.0):
        """Waits for the farewell message and closes it with Return."""
        message = self.desktop.wait_window("Zelvaro", self.pid, [self.window], timeout)
        self.desktop.focus(message)
        self.desktop.key("Return")
