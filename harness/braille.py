# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A braille display in a desktop: brltty with its virtual driver, whose display is
this process, reading the text that each braille line shows."""

import importlib.util
import os
import re
import shutil
import socket
import threading

from .processes import wait_for

# Where BrlAPI clients (Orca) find brltty's server by number: one socket and one lock
# file for each number, shared by the whole machine.
BRLAPI_DIR = "/var/lib/BrlAPI"
CELLS = 40
# The virtual driver's line for the text of the braille window; a string in quotes
# with \\, \" and \Xhh escapes.
VISUAL = re.compile(r'^Visual "((?:[^"\\]|\\.)*)"')


def _unescape(text):
    def one(match):
        escaped = match.group(1)
        return chr(int(escaped[1:], 16)) if len(escaped) == 3 else escaped

    return re.sub(r"\\(X[0-9A-Fa-f]{2}|.)", one, text)


class Braille:
    """A braille display of CELLS cells for every program that the desktop starts
    from now on: brltty, whose BrlAPI server (no authorisation) the variables
    BRLAPI_HOST and BRLAPI_AUTH point them at, shows its braille window on this
    display through its virtual driver. shown() is what the display has shown.

    A context manager inside the desktop's block (brltty ends with the desktop)."""

    def __init__(self, desktop):
        self.desktop = desktop
        self._shown = []
        self._lock = threading.Lock()
        self._server = self._connection = self._reader = None

    @staticmethod
    def missing():
        """What this needs and the machine lacks: brltty, and Orca's way to it."""
        lacking = [] if shutil.which("brltty") else ["brltty"]
        if importlib.util.find_spec("brlapi") is None:
            lacking.append("the Python module brlapi (python3-brlapi)")
        return lacking

    def __enter__(self):
        path = os.path.join(self.desktop.dir, "braille-display.sock")
        self._server = socket.socket(socket.AF_UNIX)
        self._server.bind(path)
        self._server.listen(1)
        number = next(n for n in range(100, 1000) if not self._taken(n))
        folder = os.path.join(self.desktop.dir, "brltty")
        os.makedirs(folder)
        self.desktop.start("brltty", [
            "brltty", "--no-daemon", "--standard-error", "--stay-privileged",
            "--braille-driver=vr", f"--braille-device=client:{path}",
            "--screen-driver=no", "--speech-driver=no", "--quiet",
            f"--api-parameters=auth=none,host=:{number}",
            f"--writable-directory={folder}", f"--pid-file={folder}/brltty.pid",
        ])
        # brltty connects, asks the display its size, then shows its window.
        self._server.settimeout(30)
        try:
            self._connection, _ = self._server.accept()
        except socket.timeout:
            raise AssertionError("brltty did not reach its display within 30 s") from None
        self._connection.sendall(b"cells %d\n" % CELLS)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        socket_path = os.path.join(BRLAPI_DIR, str(number))
        wait_for(lambda: os.path.exists(socket_path), 30, f"brltty's BrlAPI at {socket_path}")
        self.desktop.env.update(BRLAPI_HOST=f":{number}", BRLAPI_AUTH="none")
        return self

    def __exit__(self, *exc):
        for end in (self._connection, self._server):
            if end is not None:
                end.close()
        return False

    @staticmethod
    def _taken(number):
        return any(os.path.exists(os.path.join(BRLAPI_DIR, name))
                   for name in (str(number), f".{number}"))

    def _read(self):
        buffer = b""
        while True:
            try:
                chunk = self._connection.recv(4096)
            except OSError:
                return
            if not chunk:
                return
            buffer += chunk
            *lines, buffer = buffer.split(b"\n")
            for line in lines:
                found = VISUAL.match(line.decode("utf-8", "replace").rstrip("\r"))
                if found:
                    with self._lock:
                        self._shown.append(_unescape(found.group(1)).rstrip())

    def shown(self):
        """The texts the display has shown so far, one for each change of it, without
        the blank cells after them."""
        with self._lock:
            return list(self._shown)
