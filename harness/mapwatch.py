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
