# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader learns about a program, read through AT-SPI.

Import this module only once a desktop with accessibility=True runs: a client
binds to one accessibility bus for its whole life.
"""

from collections import namedtuple

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

Node = namedtuple("Node", "name role description states rect")

# Roles by the names of AT-SPI 2.46 (Debian 12), which the checks use; later versions
# renamed some ("push button" is "button" since AT-SPI 2.50, Debian 13).
_ROLE_NAMES = {"button": "push button"}


def role_of(acc):
    """The object's role by its name, as AT-SPI 2.46 names it."""
    name = acc.getRoleName()
    return _ROLE_NAMES.get(name, name)
Rect = namedtuple("Rect", "x y width height")

_STATES = {
    "enabled": pyatspi.STATE_ENABLED,
    "showing": pyatspi.STATE_SHOWING,
    "visible": pyatspi.STATE_VISIBLE,
    "focused": pyatspi.STATE_FOCUSED,
    "checked": pyatspi.STATE_CHECKED,
    "active": pyatspi.STATE_ACTIVE,
}


def node(acc):
    """A snapshot of one object: name, role, description, a set of state names and
    its rectangle on the screen."""
    state_set = acc.getState()
    states = {name for name, state in _STATES.items() if state_set.contains(state)}
    try:
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        rect = Rect(box.x, box.y, box.width, box.height)
    except NotImplementedError:
        rect = None
    return Node(acc.name, role_of(acc), acc.description, states, rect)


def centre(rect):
    """The centre of a rectangle: x, y."""
    return rect.x + rect.width / 2, rect.y + rect.height / 2


def window_of(acc):
    """The object of the window that shows acc on the screen: the popup menu it is
    in, or else its top-level object (acc itself, if it is one)."""
    while True:
        parent = acc.parent
        if role_of(acc) == "popup menu" or role_of(parent) == "application":
            return acc
        acc = parent


def act(acc, name=None):
    """Runs the object's action called name, or its first one, as a screen reader
    does: no pointer and no keyboard involved."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index(name) if name else 0)


class Tree:
    """The accessible objects of one running program, read afresh on every query."""

    def __init__(self, pid):
        self.pid = pid  # the program's process id
        self._known = {}  # (name, role) -> an object found before

    def app(self):
        """The program's application object, or None while it has none."""
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clearCache()
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and child.get_process_id() == self.pid:
                # No cache: every query asks the program, as the checks need the
                # state of this moment.
                child.setCacheMask(Atspi.Cache.NONE)
                return child
        return None

    def find_all(self, name=None, role=None, within=None):
        """Every object below within (default: the whole program) with this name and
        role (None matches any), in document order."""
        root = within or self.app()
        if root is None:
            return []
        found = []
        stack = [root]
        while stack:
            acc = stack.pop()
            if acc is None:
                continue
            if (name is None or acc.name == name) and (role is None or role_of(acc) == role):
                if acc is not root:
                    found.append(acc)
            stack.extend(reversed([acc.getChildAtIndex(i) for i in range(acc.childCount)]))
        return found

    def find(self, name=None, role=None, within=None):
        """The first object in document order with this name and role, or None."""
        found = self.find_all(name, role, within)
        return found[0] if found else None

    def get(self, name=None, role=None, within=None):
        """Like find(), but a missing object fails the check."""
        acc = self.find(name, role, within)
        if acc is None:
            raise AssertionError(f"no accessible {role or 'object'} named {name!r}")
        return acc

    def control(self, name, role):
        """Like get(), for a control that lives as long as its window: found once,
        then asked directly (found again should the program have replaced it)."""
        acc = self._known.get((name, role))
        try:
            if acc is not None and acc.name == name and role_of(acc) == role:
                return acc
        except Exception:
            pass
        acc = self._known[name, role] = self.get(name, role)
        return acc

    def top_levels(self, role=None):
        """Top-level windows of the program: frames, dialogs, alerts and popups."""
        app = self.app()
        if app is None:
            return []
        children = [app.getChildAtIndex(i) for i in range(app.childCount)]
        return [c for c in children if c is not None and (role is None or role_of(c) == role)]


class Announcements:
    """Records the description changes the program announces, per object name."""

    def __init__(self):
        self.events = []
        self._listener = lambda event: self.events.append(event.source and event.source.name)
        pyatspi.Registry.registerEventListener(
            self._listener, "object:property-change:accessible-description"
        )

    def pump(self):
        """Takes in the events that have arrived."""
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def count(self, name):
        """How many changes the object with this name has announced so far."""
        self.pump()
        return self.events.count(name)

    def close(self):
        """Stops recording."""
        pyatspi.Registry.deregisterEventListener(
            self._listener, "object:property-change:accessible-description"
        )
