# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The letters one run of the program shows, as the game itself draws them.

The program's random numbers are never seeded, so a run shows the same letters
for the same play. The letters tool (harness/letters.cpp, built with the tests and
the benchmarks) plays the game's own handlers; this module only keeps the play.
"""

import json
import subprocess


class Letters:
    """The play of one run of the program so far, and what its lanes show.

    Each step is told here as it is done to the program: level(), speed(), start()
    and hit(); a miss, Stop, Pause and the end of a game draw no letter and need not
    be told. Letters that fall out of the field are not modelled."""

    def __init__(self, tool):
        self.tool = str(tool)
        self._steps = []
        self._states = []

    def _play(self, *step):
        output = subprocess.run(
            [self.tool, *self._steps, *map(str, step)], capture_output=True, text=True
        )
        if output.returncode != 0:
            refused = " ".join(map(str, step))
            raise ValueError(f"the letters tool refused {refused}: {output.stderr}")
        self._steps += map(str, step)
        self._states = json.loads(output.stdout)
        return self._states[-1]

    def level(self, level):
        """Options > Level, 1..4."""
        self._play("level", level)

    def speed(self, speed):
        """Options > Acceleration, 1..4."""
        self._play("speed", speed)

    def start(self):
        """Start; returns the letters of the active lanes."""
        return self._play("start")["letters"]

    def hit(self, lane):
        """The key of lane's letter (lane 1..active lanes); returns that letter."""
        return self._play("hit", lane)["typed"]

    def shown(self):
        """The letters of the active lanes, lane 1 first."""
        return self._states[-1]["letters"] if self._states else []

    def lefts(self):
        """Where Start puts the active lanes' boxes, lane 1 first: pixels from the
        client area's left edge."""
        return self._states[-1]["lefts"] if self._states else []

    def hits(self, count):
        """Hits the active lanes in turn, lane 1 first, count times; returns the
        keys typed, as one string (one run of the tool however long the play)."""
        lanes = len(self.shown())
        self._play(*(word for i in range(count) for word in ("hit", i % lanes + 1)))
        return "".join(state["typed"] for state in self._states[-count:])
