# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The moment a window is mapped, as the X server tells it: a connection of its
own that watches the root window, so that a start-up is timed to the event rather
than to the next look of a poll (which also takes the processor from the program
being timed)."""

import ctypes
import select
import time

_MAP_NOTIFY = 19
_CW_EVENT_MASK = 1 << 11
_EVENT_MASK_SUBSTRUCTURE_NOTIFY = 1 << 19


class _Iterator(ctypes.Structure):
    _fields_ = [("data", ctypes.c_void_p), ("rem", ctypes.c_int), ("index", ctypes.c_int)]


class _Cookie(ctypes.Structure):
    _fields_ = [("sequence", ctypes.c_uint)]


class MapWatch:
    """Watches one X display for top-level windows being mapped (those a window
    manager would manage: menus and other override-redirect windows do not count).

    Make it before starting the program, so that no mapping is missed; a context
    manager, closed on leaving. It reports the first such window of any client, and
    under a window manager that frames windows it reports the frame: use it on a
    desktop without one, where the program is the only client mapping windows."""

    def __init__(self, display):
        xcb = self._xcb = ctypes.CDLL("libxcb.so.1")
        self._free = ctypes.CDLL(None).free
        self._free.argtypes = [ctypes.c_void_p]
        xcb.xcb_connect.restype = ctypes.c_void_p
        xcb.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
        for name in ("xcb_connection_has_error", "xcb_get_file_descriptor"):
            getattr(xcb, name).argtypes = [ctypes.c_void_p]
        xcb.xcb_get_setup.restype = ctypes.c_void_p
        xcb.xcb_get_setup.argtypes = [ctypes.c_void_p]
        xcb.xcb_setup_roots_iterator.restype = _Iterator
        xcb.xcb_setup_roots_iterator.argtypes = [ctypes.c_void_p]
        xcb.xcb_change_window_attributes_checked.restype = _Cookie
        xcb.xcb_change_window_attributes_checked.argtypes = [
            ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32, ctypes.c_void_p]
        xcb.xcb_request_check.restype = ctypes.c_void_p
        xcb.xcb_request_check.argtypes = [ctypes.c_void_p, _Cookie]
        xcb.xcb_poll_for_event.restype = ctypes.c_void_p
        xcb.xcb_poll_for_event.argtypes = [ctypes.c_void_p]
        xcb.xcb_disconnect.argtypes = [ctypes.c_void_p]

        self._connection = xcb.xcb_connect(display.encode(), None)
        if xcb.xcb_connection_has_error(self._connection):
            xcb.xcb_disconnect(self._connection)
            raise RuntimeError(f"cannot connect to the X display {display}")
        screen = xcb.xcb_setup_roots_iterator(xcb.xcb_get_setup(self._connection)).data
        root = ctypes.cast(screen, ctypes.POINTER(ctypes.c_uint32))[0]  # xcb_screen_t.root
        mask = ctypes.c_uint32(_EVENT_MASK_SUBSTRUCTURE_NOTIFY)
        cookie = xcb.xcb_change_window_attributes_checked(
            self._connection, root, _CW_EVENT_MASK, ctypes.byref(mask))
        # Waits until the server has taken the request: from here on nothing is missed.
        error = xcb.xcb_request_check(self._connection, cookie)
        if error:
            self._free(error)
            self.close()
            raise RuntimeError("cannot watch the root window")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        if self._connection:
            self._xcb.xcb_disconnect(self._connection)
            self._connection = None

    def wait(self, timeout=30.0):
        """Waits for the next top-level window to be mapped; returns its id and the
        time.monotonic() at which the server's event arrived."""
        deadline = time.monotonic() + timeout
        descriptor = self._xcb.xcb_get_file_descriptor(self._connection)
        while True:
            event = self._xcb.xcb_poll_for_event(self._connection)
            if event:
                arrived = time.monotonic()
                data = ctypes.string_at(event, 32)
                self._free(event)
                # xcb_map_notify_event_t: the window at byte 8, override_redirect at 12.
                if data[0] & 0x7F == _MAP_NOTIFY and not data[12]:
                    return int.from_bytes(data[8:12], "little"), arrived
                continue
            if self._xcb.xcb_connection_has_error(self._connection):
                raise RuntimeError("the connection to the X display broke")
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError(f"no window was mapped within {timeout:g} s")
            select.select([descriptor], [], [], left)
