# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end scenarios: the built program in a private desktop (harness/),
played through real mouse clicks and key presses, watched through its
accessibility tree and screenshots.

    /usr/bin/python3 scenarios.py --program PATH --letters PATH SCENARIO

--letters is the letters tool (harness/letters.cpp). Exits 0 when the scenario
passes, 1 when it fails and 77 when a tool it needs is missing (scripts/setup test
installs them). Every look at the program waits for a condition with a deadline.
A new scenario is a function marked @scenario here and its name in CMakeLists.txt.
"""

import argparse
import math
import os
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
from harness import CannotStart, KWinDesktop, MutterDesktop, WaylandDesktop, XDesktop  # noqa: E402
from harness import hold, wait_equal, wait_for  # noqa: E402
from harness.inputmethod import IBus  # noqa: E402
from harness.letters import Letters  # noqa: E402
from harness.mapwatch import MapWatch, MoveWatch  # noqa: E402
from harness.braille import Braille  # noqa: E402
from harness.speech import Speech  # noqa: E402
from harness.xserver import Rect, WindowWatch  # noqa: E402
from harness.xserver import missing as x_missing  # noqa: E402
from harness.zelvaro import CLIENT, LANES, Blind, Zelvaro, qt_version  # noqa: E402

SKIPPED = 77
TIME_LIMIT = 150  # seconds; the test's own limit in CMake is higher

# Where Start places each lane's box, from the left of the client area, per level.
LANE_LEFTS = {1: [104, 200, -40, -40, -40], 3: [40, 104, 168, 232, -40]}

# The controls of the stopped and the lost state.
BETWEEN_GAMES = dict(lanes=0, Start="enabled", Stop="-enabled", Pause="-enabled -checked",
                     Options="enabled", Help="enabled")

SCENARIOS = {}


class Skipped(Exception):
    """The scenario cannot run on this machine, for the reason it gives."""


class OutOfTime(BaseException):
    """The scenario's time is up. Not an Exception, so no wait takes it for a
    passing error of the window system."""


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def needs(missing):
    """Marks a scenario that needs more than an X desktop: missing() names what of it
    is not installed, and the scenario is skipped then."""

    def mark(function):
        function.missing = missing
        return function

    return mark


speaking = needs(Speech.missing)  # speech-dispatcher and Orca


# --- Checks on screenshots ------------------------------------------------------------


def dark(pixel):
    return sum(pixel) < 3 * 96


def dark_runs(row):
    """(start, length) of each run of dark pixels in a row of pixels."""
    runs, start = [], None
    for x, pixel in enumerate(row + [(255, 255, 255)]):
        if dark(pixel) and start is None:
            start = x
        elif not dark(pixel) and start is not None:
            runs.append((start, x - start))
            start = None
    return runs


def field_rows(z, desktop, window, rows, width):
    """The dark runs of some rows of the client area's left part: rows and width in
    logical pixels, the runs in device pixels."""
    shot, frame, client = desktop.screenshot(window), z.node("Zelvaro", "frame").rect, z.client()
    left, top = (client.x - frame.x) * z.scale, (client.y - frame.y) * z.scale
    xs = range(left, left + width * z.scale)
    return [dark_runs([shot.pixel(x, top + y * z.scale) for x in xs]) for y in rows]


def glyph_pixels(region):
    """The pixels of a letter box's inside that differ from its background."""
    background = region[0][0]
    return [
        (x, y)
        for y, row in enumerate(region)
        for x, pixel in enumerate(row)
        if max(abs(a - b) for a, b in zip(pixel, background)) > 24
    ]


def mixed_blocks(region):
    """The number of aligned 2 x 2 blocks that are not of one colour."""
    return sum(
        1
        for y in range(0, len(region) - 1, 2)
        for x in range(0, len(region[0]) - 1, 2)
        if len({region[y][x], region[y][x + 1], region[y + 1][x], region[y + 1][x + 1]}) > 1
    )


def counters(z):
    return z.caption("Hits"), z.caption("Lost")


def lefts(z):
    return [z.lane_left(k) for k in range(1, LANES + 1)]


# --- Checks on the window system ----------------------------------------------------


def off_centre(outer, area):
    """How far the centre of a rectangle (x, y, width, height) lies from that of another."""
    return tuple(outer[i] + outer[i + 2] / 2 - area[i] - area[i + 2] / 2 for i in (0, 1))


def expect_centred(desktop, main, moves=None):
    """Waits until the main window's outer rectangle (with the window manager's frame)
    is centred on the primary monitor, to the pixel. With moves (a MoveWatch made
    before the program started), checks that the window stayed where it was mapped
    while the program could still move it to centre it, about a second."""
    offsets = lambda: off_centre(desktop.frame_geometry(main), desktop.area)  # noqa: E731
    try:
        wait_for(lambda: max(map(abs, offsets())) <= 1, what="the main window centred")
    except AssertionError:
        raise AssertionError(f"the main window is off the monitor's centre by {offsets()}") from None
    if moves:
        hold(lambda: len(moves.places(main)) == 1, 1.5,
             f"the main window in its first place, not moved from {moves.places(main)}")


def expect_about(desktop, main, about):
    """Waits until the about window is 312 x 184, centred over the main window's outer
    rectangle to the pixel, and out of task bars and switchers: skipped by both, a
    window of the main window's, and still captioned "Form2"; checks that the main
    window is still a single X window."""
    def placed():
        x, y, width, height = desktop.geometry(about)
        return (width, height) == (312, 184) and max(
            map(abs, off_centre((x, y, width, height), desktop.frame_geometry(main)))) <= 1

    wait_for(placed, what="the about window centred over the main window")
    wanted = ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
              f"WM_TRANSIENT_FOR(WINDOW): window id # {main:#x}", 'WM_NAME(STRING) = "Form2"')
    hints = lambda: desktop.x("xprop", "-id", str(about), "_NET_WM_STATE", "WM_TRANSIENT_FOR",  # noqa: E731
                              "WM_NAME")
    wait_for(lambda: all(w in hints() for w in wanted), what=f"the about window's {wanted}")
    # Its controls stay drawn inside the main window's one X window: native child
    # windows, once made, would cost every repaint and move of a letter box. (Qt may
    # add an invisible one that only carries the time of the user's last input.)
    children = [line.strip() for line in desktop.x("xwininfo", "-children", "-id", str(main))
                .splitlines() if line.strip().startswith("0x")]
    children = [child for child in children if '"Qt NET_WM User Time Window"' not in child]
    if children:
        raise AssertionError(f"the main window has X windows inside: {children}")


def environment_of(process):
    """The names of the variables in a running process's environment."""
    with open(f"/proc/{process.pid}/environ", "rb") as f:
        return {entry.partition(b"=")[0].decode() for entry in f.read().split(b"\0")}


# --- Scenarios ----------------------------------------------------------------------------


@scenario
def idle(args):
    """Right after start-up: the main window centred with its frame, where it first
    appeared; level I and acceleration I, no game, only Start to press."""
    with XDesktop(window_manager=True, accessibility=True) as desktop, \
            MoveWatch(desktop.display) as moves:
        z = Zelvaro(desktop, args.program)
        wait_for(lambda: z.has("Start", "push button", "focused"), what="the focus on Start")
        wait_equal(lambda: z.client()[2:], CLIENT, what="the client area's size")
        expect_centred(desktop, z.window(), moves)
        z.expect_controls("start-up", **dict(
            BETWEEN_GAMES, Start="enabled showing", Stop="enabled showing", Exit="enabled showing",
            Pause="showing -enabled -checked", GameOver="-showing", Smiley="-showing"))
        captions = ("Hits", "Lost", "Level", "Acceleration")
        wait_equal(lambda: [z.caption(n) for n in captions], list("0011"), what=str(captions))
        wait_equal(lambda: (z.ticks("Level"), z.ticks("Acceleration")), (["I"], ["I"]))
        wait_for(lambda: not (z.showing("Ok", "push button") or z.tree.top_levels("alert")),
                 what="neither the about window nor a message")

        # The screen agrees: an empty play field up to the 2-pixel rule, which runs
        # from the top edge down to the bottom.
        rows = (5, 100, 300, 386)
        window = z.window()
        wait_equal(lambda: field_rows(z, desktop, window, rows, 360), [[(351, 2)]] * len(rows),
                   what="an empty field up to the rule")
        hold(lambda: counters(z) == ("0", "0"), 1.0, "no count without a game")


@scenario
def game(args):
    """A level I game played to the end: hits while the letters fall, then misses
    until the penalty points exceed the hits; then the next game."""
    with XDesktop(accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        play = Letters(args.letters)
        announcements = z.a11y.Announcements()
        z.press("Start")
        play.start()

        wait_equal(z.letters, play.shown() + ["", "", ""], what="two lanes' letters")
        z.expect_controls("Start", Start="-enabled", Stop="enabled", Pause="enabled",
                          Options="-enabled", Help="-enabled")
        wait_for(lambda: z.has("Lane 1", "filler", "focused"), what="the keys going to lane 1")
        wait_equal(lambda: lefts(z), LANE_LEFTS[1], what="the lanes' left edges")

        # Let the letters fall a little, so a hit visibly sends its lane back up.
        wait_for(lambda: z.lane_top(1) > 30, what="lane 1 to fall")
        hits = 12
        changes = {1: 1, 2: 1}  # the first letter of each lane is one change
        for i in range(hits):
            lane = 1 + i % 2
            typed = play.hit(lane)
            z.type(typed)
            changes[lane] += play.shown()[lane - 1] != typed
            wait_equal(lambda: z.letters(2), play.shown(), what=f"the letters after hit {i + 1}")
            if i == 0:
                wait_for(lambda: z.lane_top(2) - z.lane_top(1) > 20, what="only lane 1 up")
        wait_equal(lambda: counters(z), (str(hits), "0"), what="hits and misses")

        # A letter box announces its letter once per change, not at every redraw.
        for lane in (1, 2):
            name, wanted = f"Lane {lane}", changes[lane]
            wait_for(lambda: announcements.count(name) >= wanted, what=f"{wanted} {name} news")
            hold(lambda: announcements.count(name) == wanted, 0.5, f"{wanted} {name} news")
        announcements.close()

        # A key that matches no lane costs a point; the game goes on while the
        # penalty points do not exceed the hits.
        z.type("1" * hits)
        wait_for(lambda: counters(z) == (str(hits),) * 2 and not z.showing("Game Over", "label"),
                 what=f"{hits} misses counted and the game going on")
        z.type("1")
        wait_for(lambda: z.showing("Game Over", "label"), what="Game Over")
        z.expect_controls("the game", **BETWEEN_GAMES)
        final = (str(hits), str(hits + 1))
        wait_equal(lambda: counters(z), final, what="the final counts")
        hold(lambda: counters(z) == final, 0.3, "the counts after the game")

        # The next game draws on from the same random numbers.
        z.press("Start")
        play.start()
        wait_equal(z.letters, play.shown() + ["", "", ""], what="the next game's letters")
        z.expect_controls("the next Start", GameOver="-showing")
        wait_equal(lambda: counters(z), ("0", "0"), what="the counts of the next game")


@scenario
def pause_stop(args):
    """Pause stops the letters and resuming moves them again; Stop ends the game,
    also a paused one, and the next game runs without further action."""
    with XDesktop(accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler") and z.lane_top(1) > 10, what="a fall")

        z.press("Pause", "check box")
        wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
        held = z.lane_top(1), z.lane_top(2)
        hold(lambda: (z.lane_top(1), z.lane_top(2)) == held, 0.6, f"the letters held at {held}")

        z.press("Pause", "check box")
        wait_for(lambda: z.lacks("Pause", "check box", "checked"), what="Pause cleared")
        wait_for(lambda: z.has("Lane 1", "filler", "focused"), what="the focus back on lane 1")
        wait_for(lambda: z.lane_top(1) > held[0] + 5, what="the letters to move again")

        z.press("Stop")
        z.expect_controls("Stop", GameOver="-showing", **BETWEEN_GAMES)

        # Stop while paused clears Pause, so the next game's letters fall at once.
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="the next game")
        z.press("Pause", "check box")
        wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
        z.press("Stop")
        z.expect_controls("a paused Stop", **BETWEEN_GAMES)
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="the third game")
        start = z.lane_top(1)
        wait_for(lambda: z.lane_top(1) > start + 5, what="the letters to fall after a paused Stop")


@scenario
@needs(IBus.missing)
def input_method(args):
    """A game typed through GNOME's input method, ibus, on three keyboard layouts:
    every key is judged by the character it types, and the game sends ibus nothing
    while it runs, though the focused letter box moves at every tick."""
    with XDesktop(accessibility=True) as desktop, IBus(desktop) as ibus:
        z = Zelvaro(desktop, args.program, env=ibus.env())
        wait_for(lambda: ibus.calls("CreateInputContext") > 0, what="the program at ibus")
        play = Letters(args.letters)
        z.press("Start")
        play.start()
        wait_equal(z.letters, play.shown() + ["", "", ""], what="two lanes' letters")
        wait_for(lambda: z.has("Lane 1", "filler", "focused"), what="the keys going to lane 1")
        calls = ibus.log.read_text().count("\n")
        hits = 0
        for layout in (["de"], ["fr"], ["us", "-variant", "dvorak"]):
            desktop.x("setxkbmap", *layout)
            for lane in (1, 2, 1, 2):
                z.type(play.hit(lane))
                hits += 1
                wait_equal(lambda: z.letters(2), play.shown(), what=f"hit {hits} ({layout[-1]})")
        wait_equal(lambda: counters(z), (str(hits), "0"), what="hits and no miss")
        # A second's worth of ticks at least has passed: each moved the focused box.
        sent = ibus.log.read_text().splitlines()[calls:]
        told = [line for line in sent if "interface=org.freedesktop.IBus.InputContext" in line]
        if told:
            raise AssertionError(f"the game told ibus {len(told)} times, as {told[0]}")


def expect_fall_step(z, lane, expected, timeout=20.0):
    """Waits until the distances that lane fell between samples have expected as
    their greatest common divisor.

    The samples come at moments out of step with the ticks, so the distances are
    varied multiples of the fall step. A lane that reaches the bottom goes back to
    the top, so a pair of samples across which the lane went up does not count, nor
    one more than 5 s apart (in which it could have gone round the field and down
    past its first place; that takes 9.6 s at 2 pixels a tick). At least 8
    distances are needed: enough that a gcd above the step is unlikely."""
    samples, distances = [], []

    def settled():
        samples.append((time.monotonic(), z.lane_top(lane)))
        if len(samples) > 1:
            (then, before), (now, after) = samples[-2:]
            if after > before and now - then < 5:
                distances.append(after - before)
        return math.gcd(*distances) == expected and len(distances) >= 8

    try:
        wait_for(settled, timeout, f"{expected} pixels a tick", interval=0.037)
    except AssertionError:
        fell = f"lane {lane} fell {distances}"
        raise AssertionError(f"not {expected} pixels a tick: {fell}") from None


@scenario
def options(args):
    """The level and acceleration chosen between games: ticks, labels, the lanes of
    the next game and its speed."""
    with XDesktop(accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        play = Letters(args.letters)
        z.choose("Options", "Level", "III")
        play.level(3)
        wait_for(lambda: z.caption("Level") == "3", what="level 3 shown")
        z.choose("Options", "Acceleration", "IV")
        play.speed(4)
        wait_equal(lambda: (z.caption("Level"), z.caption("Acceleration")), ("3", "4"))
        wait_equal(lambda: (z.ticks("Level"), z.ticks("Acceleration")), (["III"], ["IV"]))

        z.press("Start")
        play.start()
        wait_equal(z.letters, play.shown() + [""], what="four lanes' letters")
        wait_equal(lambda: lefts(z), LANE_LEFTS[3], what="the lanes' left edges")

        z.click(lambda: z.menu_item("Options"), "Options")
        hold(lambda: not z.showing("Level", "menu item"), 0.3, "the Options menu shut in a game")

        # At acceleration IV the seventh hit doubles the fall step.
        expect_fall_step(z, 4, 1)
        for i in range(7):
            z.type(play.hit((i + 1) % 4 + 1))  # lanes 2, 3, 4, 1, ...: lane 4 goes up last
            wait_equal(lambda: z.letters(4), play.shown(), what=f"the letters after hit {i + 1}")
        expect_fall_step(z, 4, 2)

        # A new level takes effect at the next Start; the acceleration stays.
        z.press("Stop")
        wait_for(lambda: z.has("Options", "menu item", "enabled"), what="the Options menu back")
        z.choose("Options", "Level", "I")
        play.level(1)
        wait_equal(lambda: (z.caption("Level"), z.caption("Acceleration")), ("1", "4"))
        z.press("Start")
        play.start()
        wait_equal(lambda: z.letters(2), play.shown(), what="two lanes' letters")
        wait_equal(lambda: lefts(z), LANE_LEFTS[1], what="the lanes' left edges at level I")


@scenario
def about(args):
    """Help > About opens the about window centred over the main window and out of
    the task lists; the main window is disabled until "Ok" closes it; the next
    opening centres it anew and keeps it out of the task lists."""
    with XDesktop(window_manager=True, accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        main = z.window()
        for move in (None, (40, 60)):
            if move:
                desktop.x("xdotool", "windowmove", "--sync", str(main), *map(str, move))
            z.choose("Help", "About")
            about_window = desktop.wait_window("Form2", z.process.pid)
            expect_about(desktop, main, about_window)
            z.expect_controls("About", Start="-enabled", Exit="-enabled")
            if not move:
                # The disabled main window's close box does nothing either. Once the
                # window manager has passed the request on, it reaches the program
                # before the click on Ok.
                desktop.close_window(main)
                desktop.sync_window_manager()

            z.press("Ok")
            wait_for(lambda: not z.showing("Ok", "push button"), what="the about window to close")
            z.expect_controls("Ok", Start="enabled", Exit="enabled")
            wait_for(lambda: about_window not in desktop.windows(), what="About unmapped")
            wait_for(lambda: z.showing("Zelvaro", "frame") and not z.tree.find("Zelvaro", "alert"),
                     what="the main window without a farewell")


def farewell(z, desktop):
    """The main window has gone and the farewell message is up; OK ends the program."""
    alert = wait_for(lambda: z.tree.find("Zelvaro", "alert"), what="the farewell message")
    text = "Good bye... Have a nice day! ;-)"
    wait_for(lambda: z.tree.find(text, "label", alert) and z.tree.find(role="image", within=alert)
             and z.lacks("Zelvaro", "frame", "showing"),
             what="the farewell text and icon, and no main window")
    z.click(lambda: z.tree.get("OK", "push button", alert), "OK")
    status = desktop.wait_exit(z.process)
    if status != 0:
        raise AssertionError(f"the program ended with status {status}")


@scenario
def exit_button(args):
    """Exit during a game: the farewell, then the end with status 0."""
    with XDesktop(accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="a game")
        z.press("Exit")
        farewell(z, desktop)


@scenario
def close_request(args):
    """A close request from the window manager gets the same farewell and end."""
    with XDesktop(window_manager=True, accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        desktop.close_window(z.window())
        farewell(z, desktop)


@scenario
def high_dpi(args):
    """At scale factor 2 the window is twice as large in device pixels and drawn
    sharply at that resolution, not enlarged from a small picture."""
    letters = {}
    with XDesktop(accessibility=True) as desktop:
        for scale in (1, 2):
            z = Zelvaro(desktop, args.program, scale=scale)
            window = z.window()

            def client_size():
                client, frame = z.client(), z.node("Zelvaro", "frame").rect
                _, _, width, height = desktop.geometry(window)
                return width, height - (client.y - frame.y) * scale

            size = (CLIENT[0] * scale, CLIENT[1] * scale)
            wait_equal(client_size, size, what=f"the client area's size at scale {scale}")
            # Line1 is 2 logical pixels wide: as many device pixels as the scale says.
            row = lambda: field_rows(z, desktop, window, [300], CLIENT[0])  # noqa: E731
            wait_equal(row, [[(351 * scale, 2 * scale)]], what=f"the rule at scale {scale}")

            # The first letter of the run, held still by Pause.
            z.press("Start")
            first = Letters(args.letters).start()[0]
            wait_equal(lambda: z.letters(1), [first])
            z.press("Pause", "check box")
            wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
            shots = []  # the box's inside without its sunken border, until drawn and still

            def drawn():
                box, frame, edge = z.lane(1).rect, z.node("Zelvaro", "frame").rect, 2 * scale
                shot = desktop.screenshot(window)
                shots.append(shot.region((box.x - frame.x) * scale + edge,
                                         (box.y - frame.y) * scale + edge,
                                         box.width * scale - 2 * edge,
                                         box.height * scale - 2 * edge))
                return len(shots) > 1 and shots[-1] == shots[-2] and glyph_pixels(shots[-1])

            wait_for(drawn, what=f"the letter drawn at scale {scale}")
            letters[scale] = shots[-1]
            desktop.stop(z.process)

    small, large = glyph_pixels(letters[1]), glyph_pixels(letters[2])
    if len(small) <= 20 or len(large) < 3 * len(small):
        raise AssertionError(f"{len(large)} letter pixels at scale 2, {len(small)} at 1")
    # An enlarged small picture consists of uniform 2 x 2 blocks; a sharp one has
    # anti-aliased edges at device resolution.
    mixed = mixed_blocks(letters[2])
    if mixed < 20:
        raise AssertionError(f"only {mixed} 2 x 2 blocks of the scaled letter are not uniform")
    print(f"letter pixels: {len(small)} at scale 1, {len(large)} at 2; {mixed} mixed blocks")


def play_by_ear(z, play, said, lanes=(1, 2, 1, 2)):
    """By ear's game: Start, four hits in these lanes, five misses. After each step
    it waits until said() gives the texts the narrator says for the game so far: the
    letters in play, each new letter, the result; then it holds that nothing more
    is said."""
    z.type(" ")  # on Start, which has the focus
    expected = [", ".join(play.start())]
    wait_equal(said, expected, 20, "the letters in play")
    for lane in lanes:
        z.type(play.hit(lane))
        expected.append(play.shown()[lane - 1])
        wait_equal(said, expected, 20, f"the new letter of lane {lane}")
    z.type("1" * 5)
    expected.append("Game over, hits 4, lost 5")
    wait_equal(said, expected, 20, "the result")
    hold(lambda: said() == expected, 0.5, "nothing more said")
    return expected


@scenario
@speaking
def by_ear(args):
    """Played by ear with the screen reader on and no option: the program says the
    letters in play once they show, lane 2's too, before anything is typed, then
    each new letter as it appears, and the result of the lost game. Where Qt can
    announce, the screen reader says them instead (by_ear_announced), and the run is
    made with --speak, which keeps the program's own voice beside the screen reader."""
    arguments = ["--speak"] if qt_version(args.program) >= (6, 8) else []
    with XDesktop(window_manager=True, accessibility=True, screen_reader=True) as desktop, \
            Speech(desktop, marked=["zelvaro"]) as speech:
        speech.start_orca()
        z = Zelvaro(desktop, args.program, arguments=arguments)
        play_by_ear(z, Letters(args.letters), lambda: speech.said("zelvaro"))


@scenario
@speaking
def by_ear_announced(args):
    """Played by ear with the screen reader on and no option, where Qt can announce:
    Orca itself says by_ear's texts, in the same words and order, through its own
    speech client, and shows each on the braille display; the program opens no
    speech client of its own."""
    version = qt_version(args.program)
    if version < (6, 8):
        qt = ".".join(map(str, version))
        raise Skipped(f"Qt {qt} cannot announce to the screen reader (Qt 6.8 and newer can)")
    if Braille.missing():
        raise Skipped(f"missing {', '.join(Braille.missing())} (scripts/setup test installs them)")
    with XDesktop(window_manager=True, accessibility=True, screen_reader=True) as desktop, \
            Speech(desktop, marked=["zelvaro", "orca"]) as speech, Braille(desktop) as braille:
        # No key echo: Orca would say the keys typed, letters among them.
        speech.start_orca(settings={"enableKeyEcho": False, "enableBraille": True})
        # Qt's accessibility turns on by the desktop's word that a screen reader runs
        # alone, as in a desktop session.
        z = Zelvaro(desktop, args.program, env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": None})

        def announced():
            # What Orca says once it has read the lane that takes the focus at Start:
            # its name and letter.
            lines = speech.said("orca")
            return lines[lines.index("Lane 1.") + 2:] if "Lane 1." in lines else []

        # Lane 2 only: Orca reads each new letter of the focused lane 1 itself, as the
        # focus's description, beside the narrator's word.
        expected = play_by_ear(z, Letters(args.letters), announced, lanes=(2, 2, 2, 2))
        others = [line for line in speech.lines() if not line.startswith("orca: ")]
        if others:
            raise AssertionError(f"a speech client besides Orca's said {others}")
        # The display shows Orca's other lines too (the focus, its own messages), and a
        # text once however often it is flashed in a row.
        shown = lambda: [text for text in braille.shown() if text in expected]  # noqa: E731
        wait_equal(lambda: without_repeats(shown()), without_repeats(expected), 20,
                   "the texts on the braille display")
        print(f"Orca said and showed in braille: {' | '.join(expected)}")


def without_repeats(texts):
    """texts with each run of equal ones made one."""
    return [text for i, text in enumerate(texts) if i == 0 or texts[i - 1] != text]


@scenario
@speaking
def speak_option(args):
    """--speak with neither a screen reader nor a running speech service: the
    program starts the service and says the letters in play and the result; with
    no service to start, it plays silently and says why in one line."""
    with XDesktop() as desktop, Speech(desktop, marked=["zelvaro"], start=False) as speech:
        # speech-dispatcher's library starts the service by the path SPEECHD_CMD
        # names, else by a path of its own, never through PATH.
        missing = os.path.join(desktop.dir, "no-such-dir", "speech-dispatcher")
        silent = desktop.start("silent", [args.program, "--speak"], {"SPEECHD_CMD": missing})
        Blind(desktop, silent).press("Start")
        with open(os.path.join(desktop.dir, "silent.log")) as log:
            why = "zelvaro: speech is off: speech-dispatcher is not running and cannot be started"
            wait_for(lambda: log.seek(0) == 0 and log.read().startswith(why), what=why)
            hold(lambda: log.seek(0) == 0 and log.read().count("\n") == 1, 0.5, "one line")
        desktop.stop(silent)

        z = Blind(desktop, desktop.start("zelvaro", [args.program, "--speak"]))
        z.press("Start")
        expected = [", ".join(Letters(args.letters).start())]
        wait_equal(lambda: speech.said("zelvaro"), expected, 20, "the letters in play")
        z.type("1")
        expected.append("Game over, hits 0, lost 1")
        wait_equal(lambda: speech.said("zelvaro"), expected, 20, "the result")


def drawn_at(watch, x, y, what, timeout=10.0):
    """Waits until the X server reports drawing into the window at x, y."""
    deadline = time.monotonic() + timeout
    while True:
        change = watch.damage(deadline)
        if change is None:
            raise AssertionError(f"nothing drawn at {x}, {y} within {timeout:g} s: {what}")
        (left, top, width, height), _ = change
        if left <= x < left + width and top <= y < top + height:
            return


@scenario
@needs(x_missing)
def hit_drawn(args):
    """A hit reaches the screen: the X server draws the hit lane's box back at the top
    of the field, where only that move draws (a tick moves a box down from where it
    stands), while the other lane goes on falling. Keys through XTEST, drawing seen
    through DAMAGE, the window found by its mapping: no accessibility bridge."""
    with XDesktop() as desktop:
        with MapWatch(desktop.display) as mapping:
            process = desktop.start("zelvaro", [args.program])
            window, _ = mapping.wait()
        z = Blind(desktop, process, window=window)
        play = Letters(args.letters)
        z.press("Start")
        play.start()
        (hit, other), top = play.lefts(), z.menu_bar + 1
        with WindowWatch(desktop.display, window) as watch:

            def edge(left):
                """How far below the top the box in the column from left starts."""
                field = watch.pixels(Rect(left + 40, top, 1, 1))
                column = watch.pixels(Rect(left + 15, top, 1, 300))
                return next(y for y in range(300) if column[4 * y : 4 * y + 4] != field)

            # Both boxes fall from the top, a pixel a tick; both well below it first.
            wait_for(lambda: edge(hit) >= 20, 20, "the boxes to fall 20 pixels")
            watch.drain()
            key = play.hit(1)
            watch.key(key)
            watch.key(key, press=False)
            drawn_at(watch, hit, top, f"lane 1's box sent up by {key!r}")
            # They fall at one speed from here, lane 1 from the top.
            wait_for(lambda: edge(other) - edge(hit) >= 15,
                     what="lane 1's box on the screen 15 pixels or more above lane 2's")


def click_falling(desktop, z, lane):
    """Clicks near the bottom of lane's falling box, again until the box covered the
    point both before and after the click (it only moves down while nobody types)."""

    def clicked():
        before = z.lane(lane).rect
        x, y = before.x + before.width / 2, before.y + before.height - 4
        desktop.click(x, y)
        desktop.x("xdotool", "getmouselocation")  # a round trip: the server has the click
        return z.lane(lane).rect.y <= y

    wait_for(clicked, what=f"a click on lane {lane}'s box")


@scenario
def keys_stay(args):
    """Under a window manager, with the real mouse and keyboard: a game keeps the
    keys after clicks in the client area, a lone Alt, Tab round the controls and a
    visit to another program; the about window keeps them whatever is clicked behind
    it, and gives them back when Space presses Ok."""
    with XDesktop(window_manager=True, accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program)
        play = Letters(args.letters)
        main = z.window()
        hits = 0

        def typing_hits(after):
            # Both lanes' letters, so that neither falls out of the field meanwhile.
            nonlocal hits
            desktop.type(play.hit(1) + play.hit(2))
            hits += 2
            wait_equal(lambda: counters(z), (str(hits), "0"), what=f"two hits after {after}")
            wait_equal(lambda: z.letters(2), play.shown(), what=f"the letters after {after}")

        z.press("Start")
        play.start()
        wait_for(lambda: desktop.focused() == main, what="the keyboard on the main window")
        typing_hits("Start")

        client = z.client()
        field = lambda: desktop.click(client.x + 20, client.y + 250)  # noqa: E731
        title_bar = lambda: desktop.click(*desktop.title_bar(main))  # noqa: E731
        clicks = {
            "lane 2's box": lambda: click_falling(desktop, z, 2),
            "the empty field": field,
            "the label Hits:": lambda: z.click(lambda: z.tree.control("Hits:", "label"), "Hits:"),
        }
        for target, click in clicks.items():
            click()
            typing_hits(f"a click on {target}")

        desktop.key("Alt_L")
        typing_hits("a lone Alt")

        # Tab passes the disabled Start and every box but lane 1's, also those off the field.
        for name, role in (("Exit", "push button"), ("Stop", "push button"),
                           ("Pause", "check box"), ("Lane 1", "filler")):
            desktop.key("Tab")
            wait_for(lambda: z.has(name, role, "focused"), what=f"Tab to reach {name}")
        typing_hits("Tab round the controls")

        desktop.start("xmessage", ["xmessage", "-geometry", "+20+20", "another program"])
        other = desktop.wait_window("xmessage")
        for way_back, back in (("a click on the title bar", title_bar),
                               ("the window manager's switch", lambda: desktop.activate(main))):
            desktop.activate(other)
            desktop.key("x")
            back()
            wait_for(lambda: desktop.focused() == main, what=f"the keyboard back by {way_back}")
            typing_hits(f"a visit to another program and {way_back}")

        z.press("Stop")
        for target, click in (("the play field", field), ("the title bar", title_bar)):
            z.choose("Help", "About")
            about = desktop.wait_window("Form2", z.process.pid)
            wait_for(lambda: desktop.focused() == about, what="the keyboard on About")
            click()
            desktop.sync_window_manager()
            hold(lambda: desktop.focused() == about and z.has("Ok", "push button", "focused"),
                 0.5, f"the keyboard on Ok after a click on {target}")
            desktop.key("space")
            desktop.wait_gone(about)
            wait_for(lambda: desktop.focused() == main, what="the keyboard back on the main window")

        z.press("Start")
        play.start()
        hits = 0
        typing_hits("About")


@scenario
@needs(lambda: WaylandDesktop(accessibility=True).missing())
def wayland(args):
    """Natively on Wayland with no X server, driven through accessibility actions: a
    game, Exit and the farewell. The program chooses its platform itself."""
    with WaylandDesktop(accessibility=True) as desktop:
        z = Zelvaro(desktop, args.program, env={"QT_QPA_PLATFORM": None})
        leaked = environment_of(z.process) & {"DISPLAY", "QT_QPA_PLATFORM"}
        if leaked:
            raise AssertionError(f"the program was given {sorted(leaked)}")
        z.press("Start")
        first = Letters(args.letters).start()[0]
        wait_equal(lambda: z.letters(1), [first], what="lane 1's letter")
        z.press("Exit")
        farewell(z, desktop)


def under_compositor(args, desktop):
    """With a Wayland compositor's XWayland and Wayland both on offer and no platform
    chosen, as in its desktop's session: the program runs on X11; its main window's
    outer rectangle is centred on the screen; a key typed scores a hit; About opens
    centred over the main window and out of the task lists, keeps the keyboard and
    Space closes it; Exit and the farewell end the program with status 0."""
    z = Zelvaro(desktop, args.program, env={"QT_QPA_PLATFORM": None})
    if "QT_QPA_PLATFORM" in environment_of(z.process):
        raise AssertionError("the program was given QT_QPA_PLATFORM")
    # A window on the compositor's X server: natively on Wayland there would be none.
    main = z.window()
    expect_centred(desktop, main)

    play = Letters(args.letters)
    wait_for(lambda: desktop.focused() == main, what="the keyboard on the main window")
    desktop.key("space")  # on Start, which has the focus
    play.start()
    wait_equal(lambda: z.letters(2), play.shown(), what="the game's letters")
    desktop.type(play.hit(1))
    wait_equal(lambda: counters(z), ("1", "0"), what="one hit")

    z.a11y.act(z.tree.control("Stop", "push button"))
    wait_for(lambda: z.has("Help", "menu item", "enabled"), what="Help after Stop")
    z.a11y.act(z.menu_item("Help", "About"))
    about = desktop.wait_window("Form2", z.process.pid)
    expect_about(desktop, main, about)
    wait_for(lambda: desktop.focused() == about, what="the keyboard on About")
    desktop.key("space")
    desktop.wait_gone(about)
    wait_for(lambda: desktop.focused() == main, what="the keyboard back on the main window")

    z.a11y.act(z.tree.control("Exit", "push button"))
    farewell(z, desktop)


@scenario
@needs(lambda: MutterDesktop(accessibility=True).missing())
def gnome(args):
    """Under GNOME's compositor, mutter: see under_compositor."""
    with MutterDesktop(accessibility=True) as desktop:
        under_compositor(args, desktop)


@scenario
@needs(lambda: KWinDesktop(accessibility=True).missing())
def kde(args):
    """Under KDE Plasma's compositor, KWin, which tells a window's frame only once it
    has mapped the window: see under_compositor."""
    with KWinDesktop(accessibility=True, screen=(1280, 960)) as desktop:
        under_compositor(args, desktop)


# Two monitors side by side on one X screen of 3840 x 1080.
HALVES = [(0, 0, 1920, 1080), (1920, 0, 1920, 1080)]


@scenario
@needs(lambda: XDesktop(window_manager=True, accessibility=True, monitors=HALVES).missing())
def monitors(args):
    """A screen of two monitors side by side under openbox, the primary one left and
    then right: the main window opens centred on the primary monitor and stays where
    it first appeared; About opens over it; the farewell box opens on the same
    monitor while the pointer is on the other one."""
    with XDesktop(window_manager=True, accessibility=True, screen=(3840, 1080),
                  monitors=HALVES) as desktop:
        for primary in (0, 1):
            desktop.set_monitors(HALVES, primary)
            with MoveWatch(desktop.display) as moves:
                z = Zelvaro(desktop, args.program)
                main = z.window()
                expect_centred(desktop, main, moves)
            z.a11y.act(z.menu_item("Help", "About"))
            about = desktop.wait_window("Form2", z.process.pid)
            expect_about(desktop, main, about)
            z.a11y.act(z.tree.control("Ok", "push button"))
            desktop.wait_gone(about)

            other = HALVES[1 - primary]
            desktop.x("xdotool", "mousemove", str(other[0] + 100), str(other[1] + 100))
            z.a11y.act(z.tree.control("Exit", "push button"))
            box = desktop.wait_window("Zelvaro", z.process.pid, other_than=[main])
            x, y, width, height = desktop.area

            def on_primary():
                left, top, w, h = desktop.frame_geometry(box)
                return x <= left and left + w <= x + width and y <= top and top + h <= y + height

            wait_for(on_primary, what=f"the farewell box on the primary monitor {desktop.area}")
            farewell(z, desktop)


def main():
    parser = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter
    )
    parser.add_argument("--program", required=True, help="the zelvaro executable")
    parser.add_argument("--letters", required=True, help="the letters tool")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    missing = XDesktop(window_manager=True, accessibility=True).missing()
    missing += getattr(SCENARIOS[args.scenario], "missing", list)()
    if missing:
        print(f"skipped: missing {', '.join(missing)} (scripts/setup test installs them)")
        return SKIPPED

    def out_of_time(signum, frame):
        raise OutOfTime(f"the scenario took longer than {TIME_LIMIT} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(TIME_LIMIT)
    started = time.monotonic()
    try:
        SCENARIOS[args.scenario](args)
    except (Skipped, CannotStart) as reason:
        print(f"skipped: {reason}")
        return SKIPPED
    except (Exception, OutOfTime):
        traceback.print_exc()
        print(f"FAILED {args.scenario} after {time.monotonic() - started:.1f} s")
        return 1
    print(f"passed {args.scenario} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
