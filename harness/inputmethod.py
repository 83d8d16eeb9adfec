# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""An input method in a desktop: a private ibus daemon, as GNOME runs one, and a
watch on every call a program makes to it."""

import shutil
from pathlib import Path

from .processes import wait_for

TOOLS = ("ibus-daemon", "dbus-monitor")


class IBus:
    """ibus in desktop, on a bus of its own with its address in a home folder of its
    own; env() is what a Qt program needs to type through it, and calls(member)
    counts the calls to ibus of that name since the daemon started; log holds them
    all, one line each, as dbus-monitor writes them."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.home = Path(desktop.dir) / "home-ibus"
        self.home.mkdir(mode=0o700, exist_ok=True)
        self.log = Path(desktop.dir) / "ibus-calls.txt"

    @staticmethod
    def missing():
        return [tool for tool in TOOLS if not shutil.which(tool)]

    def __enter__(self):
        env = {"HOME": str(self.home), "DBUS_SESSION_BUS_ADDRESS": self.desktop.new_bus()}
        argv = ["ibus-daemon", "--panel=disable", "--config=disable", "--replace"]
        self.desktop.start("ibus-daemon", argv, env)
        # The daemon writes its address where its clients look for it.
        folder = self.home / ".config" / "ibus" / "bus"
        found = wait_for(lambda: sorted(folder.glob("*")), 30, "ibus's address file")
        self.address = wait_for(lambda: self._address(found[0]), 30, "ibus's address")
        with open(self.log, "w") as log:
            argv = ["dbus-monitor", "--address", self.address]
            self.desktop.start("dbus-monitor", argv, env, stdout=log)
        # The monitor is on the bus once it has seen its own name given.
        wait_for(lambda: "NameAcquired" in self.log.read_text(), 30, "the monitor on ibus's bus")
        return self

    def __exit__(self, *exc):
        return False

    @staticmethod
    def _address(path):
        for line in path.read_text().splitlines():
            if line.startswith("IBUS_ADDRESS="):
                return line.partition("=")[2]
        return None

    def env(self):
        """A program of the same user: its home holds the daemon's address."""
        return {"QT_IM_MODULE": "ibus", "IBUS_ADDRESS": self.address, "HOME": str(self.home)}

    def calls(self, member):
        return self.log.read_text().count(f"member={member}\n")
