# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The letters the program will show, worked out independently of it.

The program's random numbers come from a never seeded generator, so a run shows
the same letters for the same play; the suite follows the draws to know which
letter to type next.
"""


class Stream:
    """The program's random numbers: x <- (x * 1140671485 + 12820163) mod 2^24 from
    327680; a letter is 'a' + floor(x / 2^24 * 26). One stream lasts a whole run."""

    def __init__(self):
        self.state = 327680

    def letter(self):
        self.state = (self.state * 1140671485 + 12820163) % (1 << 24)
        return chr(97 + int(self.state / (1 << 24) * 26))


class Game:
    """The five lanes' letters of one game at a level (1..4, lanes 1..level+1 active)."""

    def __init__(self, stream, level):
        self.stream = stream
        self.active = level + 1
        # Start: lane 1 once, then lanes 2..5 again and again until all five differ.
        self.letters = [stream.letter()]
        while True:
            rest = [stream.letter() for _ in range(4)]
            if len(set(self.letters[:1] + rest)) == 5:
                self.letters += rest
                break

    def hit(self, lane):
        """Lane (1..5) was typed: it draws until it differs from the other active lanes."""
        while True:
            self.letters[lane - 1] = self.stream.letter()
            if len(set(self.letters[: self.active])) == self.active:
                return self.letters[lane - 1]

    def shown(self):
        """What the active lanes show once the next tick has printed them."""
        return self.letters[: self.active]
