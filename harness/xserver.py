# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Connections of their own to the X server, through xcffib (Debian's
python3-xcffib, generated from the X protocol's own descriptions): the moment a
window's pixels change (the DAMAGE extension), keys pressed as the keyboard presses
them (the XTEST extension) and a window's pixels read back; mapwatch.py adds the
moment a window is mapped. Each event is timed when it arrives, not at the next look
of a poll (which would also take the processor from the program being timed)."""

import importlib.util
import select
import time
from collections import namedtuple

MODULE = "the Python module xcffib (Debian's python3-xcffib for /usr/bin/python3)"

Rect = namedtuple("Rect", "x y width height")

# The core protocol's codes of the key events, which XTEST's FakeInput takes as
# the kind of input to give.
_KEY_PRESS, _KEY_RELEASE = 2, 3


def missing():
    """What this module needs and this Python lacks, as a list of names."""
    return [] if importlib.util.find_spec("xcffib") else [MODULE]


def _xcffib():
    # The extensions' modules first: a connection learns the events of the
    # extensions imported when it is made.
    import xcffib
    import xcffib.damage  # noqa: F401
    import xcffib.xproto  # noqa: F401
    import xcffib.xtest  # noqa: F401

    return xcffib


class Connection:
    """One connection to an X display; a context manager, closed on leaving."""

    def __init__(self, display):
        self.xcffib = _xcffib()
        self.connection = None
        try:
            self.connection = self.xcffib.connect(display=display)
        except self.xcffib.ConnectionException as error:
            raise RuntimeError(f"cannot connect to the X display {display}: {error}") from None
        self.core = self.connection.core
        self.setup = self.connection.get_setup()
        self.root = self.setup.roots[self.connection.pref_screen].root

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        if self.connection is not None:
            self.connection.disconnect()
            self.connection = None

    def next_event(self, deadline):
        """The next event from the server and the time.monotonic() of its arrival,
        or None at the deadline (a time.monotonic())."""
        while True:
            try:
                event = self.connection.poll_for_event()
            except self.xcffib.ConnectionException:
                raise RuntimeError("the connection to the X display broke") from None
            except self.xcffib.Error as error:  # a request of ours refused
                raise RuntimeError(f"the X server refused a request: {type(error).__name__}")
            if event is not None:
                return event, time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.connection.get_file_descriptor()], [], [], left)


class WindowWatch(Connection):
    """One window's pixels as the X server holds them: every change drawn into it
    (DAMAGE, each drawing request's rectangle as it is done), its pixels read back,
    and keys pressed through the server as the keyboard presses them (XTEST), so
    that they reach whichever window has the keyboard.

    Rectangles are in the window's own pixels, from its top-left corner."""

    def __init__(self, display, window):
        super().__init__(display)
        xcffib = self.xcffib
        self.window = window
        self._damage = self.connection(xcffib.damage.key)
        self._damage.QueryVersion(xcffib.damage.MAJOR_VERSION, xcffib.damage.MINOR_VERSION).reply()
        self._xtest = self.connection(xcffib.xtest.key)
        self._xtest.GetVersion(2, 2).reply()
        first, last = self.setup.min_keycode, self.setup.max_keycode
        mapping = self.core.GetKeyboardMapping(first, last - first + 1).reply()
        per = mapping.keysyms_per_keycode
        # The key that types each character unshifted: its keysym is the
        # character's code for Latin-1 characters such as the letters.
        self._keys = {}
        for i in range(last - first + 1):
            keysym = mapping.keysyms[i * per]
            if 0x20 <= keysym <= 0xFF:
                self._keys.setdefault(chr(keysym), first + i)
        self._id = self.connection.generate_id()
        try:
            self._damage.Create(self._id, window, xcffib.damage.ReportLevel.RawRectangles,
                                is_checked=True).check()
        except xcffib.Error:
            self.close()
            raise RuntimeError(f"cannot watch window {window} for damage") from None

    def key(self, character, press=True):
        """Presses (or with press=False releases) the key that types character, and
        returns the time.monotonic() just before the request left for the server."""
        code = self._keys.get(character)
        if code is None:
            raise ValueError(f"no key types {character!r} without a modifier")
        kind = _KEY_PRESS if press else _KEY_RELEASE
        self._xtest.FakeInput(kind, code, self.xcffib.xproto.Time.CurrentTime, self.root, 0, 0, 0)
        sent = time.monotonic()
        self.connection.flush()
        return sent

    def drain(self):
        """Forgets the changes reported so far."""
        while self.damage(0) is not None:
            pass

    def damage(self, deadline):
        """The next rectangle drawn into the window and the time.monotonic() at which
        the server's report of it arrived, or None at the deadline."""
        while True:
            arrived = self.next_event(deadline)
            if arrived is None:
                return None
            event, when = arrived
            if isinstance(event, self.xcffib.damage.NotifyEvent) and event.damage == self._id:
                area = event.area
                return Rect(area.x, area.y, area.width, area.height), when

    def pixels(self, rect):
        """The pixels of a rectangle of the window as the server holds them now, row by
        row, 4 bytes each: blue, green, red and one unused (a 24-bit TrueColor
        screen, as Xvfb's)."""
        z_pixmap, all_planes = self.xcffib.xproto.ImageFormat.ZPixmap, 0xFFFFFFFF
        cookie = self.core.GetImage(z_pixmap, self.window, *rect, all_planes)
        # The reply's raw bytes: its 32-byte head, then the pixels. (Its parsed form
        # makes a Python number of every byte, a tenth of a second for a window.)
        reply = self.connection.wait_for_reply(cookie.sequence)
        return bytes(reply.buf[32 : 32 + 4 * rect[2] * rect[3]])
