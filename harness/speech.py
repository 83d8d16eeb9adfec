# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Speech in a desktop: a private speech-dispatcher whose only voice writes what it
would say to a file, and the Orca screen reader speaking through it."""

import json
import os
import shutil
import signal
import socket

from .processes import wait_for

TOOLS = ("speech-dispatcher", "orca")

# speechd.conf: one output module that appends each message to the spoken file as a
# line (the module splits a message at each "."), on ALSA's null device, so that no
# sound card is needed; a client started by a marked program gets a module of its
# own that puts the program's name in front of its lines. The service and each
# module log to a file named after them, in a folder of their own: beside the
# programs' logs, the module "spoken" would write into the spoken file.
CONFIG = """\
CommunicationMethod "unix_socket"
SocketPath "default"
Timeout {timeout}
LogLevel 3
LogDir "{logs}"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "spoken" "sd_generic" "spoken.conf"
DefaultModule "spoken"
"""
MARKED = """\
AddModule "{name}" "sd_generic" "{name}.conf"
BeginClient "*:{name}:*"
    DefaultModule "{name}"
EndClient
"""
MODULE = """\
GenericExecuteSynth "printf '{prefix}%s\\\\n' \\'$DATA\\' >> {file}"
AddVoice "en" "MALE1" "log"
DefaultVoice "log"
"""
# Orca's settings: speech through speech-dispatcher, keys echoed, nothing else.
ORCA = {
    "general": {
        "enableSpeech": True,
        "speechServerFactory": "speechdispatcherfactory",
        "enableKeyEcho": True,
        "enableTutorialMessages": False,
        "enableSound": False,
        "enableBraille": False,
    },
    "pronunciations": {},
    "keybindings": {},
    "profiles": {"default": {"profile": ["Default", "default"]}},
}


class Speech:
    """speech-dispatcher for every program that a desktop starts from now on, with
    its configuration and files in the desktop's private folder, at the usual
    socket in the desktop's runtime folder.

    The lines of the programs named in marked (by the application part of their
    speech client name, as "*:NAME:*" matches it, in lower case: speech-dispatcher
    matches the name so, and Orca's client is "orca") start with "NAME: ". With
    start=False only the configuration is written, and the first program that
    speaks starts the service itself. A context manager inside the desktop's block:
    leaving it ends a service that a program started (one started here ends with
    the desktop); should the run die, such a service ends by itself a minute after
    its last client."""

    def __init__(self, desktop, marked=(), start=True):
        self.desktop, self.marked, self.start_service = desktop, marked, start
        self.file = os.path.join(desktop.dir, "spoken.log")
        self._config = os.path.join(desktop.dir, "config")
        self._socket = os.path.join(desktop.dir, "speech-dispatcher", "speechd.sock")

    @staticmethod
    def missing():
        """The programs this needs and the machine lacks."""
        return [tool for tool in TOOLS if shutil.which(tool) is None]

    def __enter__(self):
        folder = os.path.join(self._config, "speech-dispatcher")
        modules = os.path.join(folder, "modules")
        os.makedirs(modules)
        logs = os.path.join(self.desktop.dir, "speech-dispatcher-logs")
        os.makedirs(logs)
        config = CONFIG.format(timeout=0 if self.start_service else 60, logs=logs)
        if self.start_service:
            # A client that loses the service must not start one that outlives the run.
            config += "DisableAutoSpawn\n"
        for name, prefix in [("spoken", "")] + [(name, f"{name}: ") for name in self.marked]:
            with open(os.path.join(modules, f"{name}.conf"), "w") as f:
                f.write(MODULE.format(prefix=prefix, file=self.file))
            if prefix:
                config += MARKED.format(name=name)
        with open(os.path.join(folder, "speechd.conf"), "w") as f:
            f.write(config)
        open(self.file, "w").close()
        for kind in ("home", "data", "cache"):
            os.makedirs(os.path.join(self.desktop.dir, kind))
        # speech-dispatcher refuses a locale that is not generated; GSettings stays in
        # memory, away from the user's own.
        for outer in ("LC_ALL", "SPEECHD_ADDRESS"):
            self.desktop.env.pop(outer, None)
        self.desktop.env.update(
            LANG="C.UTF-8",
            XDG_CONFIG_HOME=self._config,
            XDG_DATA_HOME=os.path.join(self.desktop.dir, "data"),
            XDG_CACHE_HOME=os.path.join(self.desktop.dir, "cache"),
            HOME=os.path.join(self.desktop.dir, "home"),
            GSETTINGS_BACKEND="memory",
        )
        if self.start_service:
            self.desktop.start("speech-dispatcher", ["speech-dispatcher", "--run-single"])
            wait_for(self._answers, 30, "speech-dispatcher to take connections")
        return self

    def __exit__(self, *exc):
        # A service started by a client leaves its process group: it ends here.
        if self.start_service:
            return False
        try:
            with open(os.path.join(self.desktop.dir, "speech-dispatcher", "pid",
                                   "speech-dispatcher.pid")) as f:
                os.kill(int(f.read()), signal.SIGTERM)
        except (OSError, ValueError):
            pass
        return False

    def _answers(self):
        with socket.socket(socket.AF_UNIX) as s:
            s.connect(self._socket)
        return True

    def lines(self):
        """Every line spoken so far."""
        with open(self.file) as f:
            return [line.rstrip("\n") for line in f]

    def said(self, name):
        """The lines of the marked program name, without its name."""
        prefix = f"{name}: "
        return [line[len(prefix):] for line in self.lines() if line.startswith(prefix)]

    def start_orca(self, timeout=60.0, settings=None):
        """Starts Orca, with its settings in the desktop's folder (ORCA's general ones
        updated by settings), and waits until it has said that it is on. It needs the
        desktop's accessibility bus and a window manager (without one no window is
        ever active for it). Orca runs once per user on the machine, whatever the
        desktop: starting it ends any other Orca of the user, so two runs must not
        start it at the same time (the end-to-end tests take turns, RESOURCE_LOCK orca)."""
        folder = os.path.join(self.desktop.env["XDG_DATA_HOME"], "orca")
        os.makedirs(folder)
        chosen = dict(ORCA, general=dict(ORCA["general"], **(settings or {})))
        with open(os.path.join(folder, "user-settings.conf"), "w") as f:
            json.dump(chosen, f)
        self.desktop.start("orca", ["orca", "--replace"])
        on = "Screen reader on."
        wait_for(lambda: on in self.lines() + self.said("orca"), timeout, "Orca to speak")
