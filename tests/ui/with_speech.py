#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a test program beside the harness's private speech-dispatcher.

    /usr/bin/python3 with_speech.py PROGRAM [ARGUMENT...]

The service does not run at first: the program's first connection starts it, as
on a desktop where it is not running yet. The program finds it as every client
does (XDG_RUNTIME_DIR) and SPOKEN_FILE names the file its voice writes each
message to, a line "zelvaro: TEXT" for a client named "USER:zelvaro:...". Exits
with the program's status, or 77 when something the service needs is missing
(scripts/setup test installs it).
"""

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
from harness import XDesktop  # noqa: E402
from harness.speech import Speech  # noqa: E402

SKIPPED = 77


def main():
    desktop = XDesktop()
    missing = desktop.missing() + [tool for tool in ["speech-dispatcher"] if not shutil.which(tool)]
    if missing:
        print(f"skipped: missing {', '.join(missing)}; run scripts/setup test", flush=True)
        return SKIPPED
    with desktop, Speech(desktop, marked=["zelvaro"], start=False) as speech:
        env = {"SPOKEN_FILE": speech.file, "QT_QPA_PLATFORM": "offscreen"}
        test = desktop.start("test", sys.argv[1:], env, stdout=sys.stdout)
        return test.wait()


if __name__ == "__main__":
    sys.exit(main())
