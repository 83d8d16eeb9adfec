# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The moment a window is mapped, as the X server tells it: a connection of its
own that watches the root window, so that a start-up is timed to the event rather
than to the next look of a poll (which also takes the processor from the program
being timed)."""

import time

from .xserver import Connection


class MapWatch(Connection):
    """Watches one X display for top-level windows being mapped (those a window
    manager would manage: menus and other override-redirect windows do not count).

    Make it before starting the program, so that no mapping is missed. It reports
    the first such window of any client, and under a window manager that frames
    windows it reports the frame: use it on a desktop without one, where the
    program is the only client mapping windows."""

    def __init__(self, display):
        super().__init__(display)
        xproto = self.xcffib.xproto
        try:
            # Checked: once the server has taken the request nothing is missed.
            self.core.ChangeWindowAttributesChecked(
                self.root, xproto.CW.EventMask, [xproto.EventMask.SubstructureNotify]).check()
        except self.xcffib.Error:
            self.close()
            raise RuntimeError("cannot watch the root window") from None

    def wait(self, timeout=30.0):
        """Waits for the next top-level window to be mapped; returns its id and the
        time.monotonic() at which the server's event arrived."""
        deadline = time.monotonic() + timeout
        while True:
            arrived = self.next_event(deadline)
            if arrived is None:
                raise AssertionError(f"no window was mapped within {timeout:g} s")
            event, when = arrived
            if isinstance(event, self.xcffib.xproto.MapNotifyEvent) and not event.override_redirect:
                return event.window, when


class MoveWatch(MapWatch):
    """Watches one X display for the places top-level windows take once mapped: where
    each window manager's frame (or window without one) stands when it is mapped and
    every place it is moved to after. Make it before starting the program.

    Under a window manager that does not composite, such as openbox, a window mapped
    is a window on the screen, so these are the moves a user sees; a compositor may
    map a frame before it shows it, and move it meanwhile."""

    def __init__(self, display):
        super().__init__(display)
        self._at = {}  # each child of the root window: its place now
        self._places = {}  # each mapped one: its places since it was mapped

    def places(self, window):
        """The places (x, y) on the screen that the top-level window holding window
        (its frame, or itself) took since it was last mapped, in order."""
        xproto = self.xcffib.xproto
        while (arrived := self.next_event(0)) is not None:
            event = arrived[0]
            if isinstance(event, xproto.CreateNotifyEvent) and event.parent == self.root:
                self._at[event.window] = (event.x, event.y)
            elif isinstance(event, xproto.ReparentNotifyEvent) and event.parent == self.root:
                self._at[event.window] = (event.x, event.y)
            elif isinstance(event, xproto.ConfigureNotifyEvent) and event.event == self.root:
                self._at[event.window] = place = (event.x, event.y)
                places = self._places.get(event.window)
                if places and places[-1] != place:
                    places.append(place)
            elif isinstance(event, xproto.MapNotifyEvent) and event.event == self.root:
                self._places[event.window] = [self._at.get(event.window)]
        while True:
            parent = self.core.QueryTree(window).reply().parent
            if parent == self.root:
                return list(self._places.get(window, []))
            window = parent
