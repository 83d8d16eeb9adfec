# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end scenarios: the built program on a private X server, played through
real mouse clicks and key presses, watched through its accessibility tree and
screenshots.

    /usr/bin/python3 scenarios.py --program PATH SCENARIO

Exits 0 when the scenario passes, 1 when it fails and 77 when a tool it needs is
missing (scripts/setup test installs them). It runs itself inside a private
session bus.
"""

import argparse
import math
import os
import signal
import sys
import time
import traceback

from desktop import Desktop, end_with_parent, missing_tools, wait_for
from letters import Game, Stream
from zelvaro import CLIENT, Zelvaro

SKIPPED = 77
TIME_LIMIT = 150  # seconds; the test's own limit in CMake is higher

# Where Start places each lane's box, from the left of the client area, per level.
LANE_LEFTS = {1: [104, 200, -40, -40, -40], 3: [40, 104, 168, 232, -40]}

SCENARIOS = {}


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def expect_between_games(z, after):
    """The controls of the stopped and the lost state."""
    for k in range(1, 6):
        expect(z.lacks(f"Lane {k}", "filler", "showing"), f"lane {k} is shown after {after}")
    expect(z.has("Start", "push button", "enabled"), f"Start is disabled after {after}")
    expect(z.lacks("Stop", "push button", "enabled"), f"Stop is enabled after {after}")
    expect(z.lacks("Pause", "check box", "enabled", "checked"), f"Pause is usable after {after}")
    for name in ("Options", "Help"):
        expect(z.has(name, "menu item", "enabled"), f"the {name} menu is disabled after {after}")


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


# --- Scenarios ----------------------------------------------------------------------------


@scenario
def idle(program):
    """Right after start-up: level I and acceleration I, no game, only Start to press."""
    with Desktop(program, window_manager=True) as desktop:
        z = Zelvaro(desktop)
        client = z.client()
        expect((client.width, client.height) == CLIENT, f"client area {client}")
        wait_for(lambda: z.has("Start", "push button", "focused"), what="the focus on Start")
        for name in ("Hits", "Lost"):
            expect(z.caption(name) == "0", f"{name} shows {z.caption(name)!r}")
        for name in ("Level", "Acceleration"):
            expect(z.caption(name) == "1", f"{name} shows {z.caption(name)!r}")
            expect(z.ticks(name) == ["I"], f"{name} ticks {z.ticks(name)}")
        for name in ("Start", "Stop", "Exit"):
            expect(z.has(name, "push button", "enabled", "showing"), f"{name} is not usable")
        expect(z.has("Pause", "check box", "showing"), "Pause is not shown")
        expect(z.lacks("Pause", "check box", "enabled", "checked"), "Pause is enabled or ticked")
        for name in ("Options", "Help"):
            expect(z.has(name, "menu item", "enabled"), f"the {name} menu is disabled")
        for k in range(1, 6):
            expect(z.lacks(f"Lane {k}", "filler", "showing"), f"lane {k} is shown")
        for name in ("Game Over", "Smiley"):
            expect(z.lacks(name, "label", "showing"), f"{name} is shown")
        expect(not z.showing("Ok", "push button"), "the about window is open")
        expect(not z.tree.top_levels("alert"), "a message box is open")

        # The screen agrees: an empty play field up to the 2-pixel rule, which runs
        # from the top edge down to the bottom.
        shot = desktop.screenshot(desktop.windows("Zelvaro")[0])
        frame = z.node("Zelvaro", "frame").rect
        left, top = client.x - frame.x, client.y - frame.y
        for y in (5, 100, 300, 386):
            runs = dark_runs([shot.pixel(left + x, top + y) for x in range(360)])
            expect(runs == [(351, 2)], f"row {y} of the play field has dark runs {runs}")

        time.sleep(1)
        counters = [z.caption("Hits"), z.caption("Lost")]
        expect(counters == ["0", "0"], f"the idle ticks changed the counters to {counters}")


@scenario
def game(program):
    """A level I game played to the end: hits while the letters fall, then misses
    until the penalty points exceed the hits; then the next game."""
    with Desktop(program) as desktop:
        z = Zelvaro(desktop)
        announcements = z.a11y.Announcements()
        stream = Stream()
        z.press("Start")
        play = Game(stream, level=1)

        wait_for(lambda: z.letters(5) == play.shown() + ["", "", ""], what=f"{play.shown()}")
        expect(z.lacks("Start", "push button", "enabled"), "Start stays enabled in a game")
        expect(z.has("Stop", "push button", "enabled"), "Stop is disabled in a game")
        expect(z.has("Pause", "check box", "enabled"), "Pause is disabled in a game")
        for name in ("Options", "Help"):
            expect(z.lacks(name, "menu item", "enabled"), f"the {name} menu works in a game")
        expect(z.has("Lane 1", "filler", "focused"), "lane 1 does not have the keyboard focus")
        lefts = [z.lane_left(k) for k in range(1, 6)]
        expect(lefts == LANE_LEFTS[1], f"lanes stand at {lefts}")

        # Let the letters fall a little, so a hit visibly sends its lane back up.
        wait_for(lambda: z.lane_top(1) > 30, what="lane 1 to fall")
        hits = 12
        changes = {1: 1, 2: 1}  # the first letter of each lane is one change
        for i in range(hits):
            lane = 1 + i % 2
            typed = play.letters[lane - 1]
            z.type(typed)
            if play.hit(lane) != typed:
                changes[lane] += 1
            wait_for(lambda: z.letters(2) == play.shown(), what=f"{play.shown()} after hit {i + 1}")
            if i == 0:
                expect(z.lane_top(1) < 20 < z.lane_top(2), "not only the lane hit went up")
        wait_for(lambda: z.caption("Hits") == str(hits), what=f"{hits} hits counted")
        expect(z.caption("Lost") == "0", f"lost {z.caption('Lost')} after hits only")

        # A letter box announces its letter once per change, not at every redraw.
        time.sleep(0.5)
        for lane in (1, 2):
            count = announcements.count(f"Lane {lane}")
            wanted = changes[lane]
            expect(count == wanted, f"lane {lane} announced {count} letters, not {wanted}")
        announcements.close()

        # A key that matches no lane costs a point; the game goes on while the
        # penalty points do not exceed the hits.
        z.type("1" * hits)
        wait_for(lambda: z.caption("Lost") == str(hits), what=f"{hits} misses counted")
        expect(not z.showing("Game Over", "label"), "the game ended at equal counts")
        z.type("1")
        wait_for(lambda: z.showing("Game Over", "label"), what="Game Over")
        expect_between_games(z, "the game")
        expect(z.caption("Hits") == str(hits), f"hits {z.caption('Hits')} after the game")
        final = z.caption("Hits"), z.caption("Lost")
        time.sleep(0.3)
        expect((z.caption("Hits"), z.caption("Lost")) == final, "the counters move after the game")

        # The next game draws on from the same random numbers.
        z.press("Start")
        play = Game(stream, level=1)
        wait_for(lambda: z.letters(2) == play.shown(), what=f"the next game's {play.shown()}")
        wait_for(lambda: not z.showing("Game Over", "label"), what="Game Over to go")
        wait_for(
            lambda: (z.caption("Hits"), z.caption("Lost")) == ("0", "0"),
            what="the counters to restart",
        )


@scenario
def pause_stop(program):
    """Pause stops the letters and resuming moves them again; Stop ends the game,
    also a paused one, and the next game runs without further action."""
    with Desktop(program) as desktop:
        z = Zelvaro(desktop)
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler") and z.lane_top(1) > 10, what="a fall")

        z.press("Pause", "check box")
        wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
        held = z.lane_top(1), z.lane_top(2)
        time.sleep(0.6)
        expect((z.lane_top(1), z.lane_top(2)) == held, f"letters moved from {held} while paused")

        z.press("Pause", "check box")
        wait_for(lambda: z.lacks("Pause", "check box", "checked"), what="Pause cleared")
        wait_for(lambda: z.has("Lane 1", "filler", "focused"), what="the focus back on lane 1")
        wait_for(lambda: z.lane_top(1) > held[0] + 5, what="the letters to move again")

        z.press("Stop")
        wait_for(lambda: z.has("Start", "push button", "enabled"), what="Start enabled")
        expect_between_games(z, "Stop")
        expect(not z.showing("Game Over", "label"), "Stop shows Game Over")

        # Stop while paused clears Pause, so the next game's letters fall at once.
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="the next game")
        z.press("Pause", "check box")
        wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
        z.press("Stop")
        wait_for(lambda: z.lacks("Pause", "check box", "checked", "enabled"), what="Pause reset")
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="the third game")
        start = z.lane_top(1)
        wait_for(lambda: z.lane_top(1) > start + 5, what="the letters to fall after a paused Stop")


def fall_step(z, lane):
    """How far a lane falls per tick: the greatest common divisor of the distances
    between samples taken out of step with the ticks, whatever the machine's speed."""
    tops = []
    for _ in range(20):
        tops.append(z.lane_top(lane))
        time.sleep(0.037)
    return math.gcd(*(b - a for a, b in zip(tops, tops[1:])))


@scenario
def options(program):
    """The level and acceleration chosen between games: ticks, labels, the lanes of
    the next game and its speed."""
    with Desktop(program) as desktop:
        z = Zelvaro(desktop)
        z.choose("Options", "Level", "III")
        wait_for(lambda: z.caption("Level") == "3", what="level 3 shown")
        z.choose("Options", "Acceleration", "IV")
        wait_for(lambda: z.caption("Acceleration") == "4", what="acceleration 4 shown")
        expect(z.ticks("Level") == ["III"], f"level ticks {z.ticks('Level')}")
        expect(z.ticks("Acceleration") == ["IV"], f"acceleration ticks {z.ticks('Acceleration')}")
        expect(z.caption("Level") == "3", "choosing the acceleration changed the level")

        stream = Stream()
        z.press("Start")
        play = Game(stream, level=3)
        wait_for(lambda: z.letters(5) == play.shown() + [""], what=f"four lanes of {play.shown()}")
        lefts = [z.lane_left(k) for k in range(1, 6)]
        expect(lefts == LANE_LEFTS[3], f"lanes stand at {lefts}")

        z.click_at(z.a11y.node(z.menu_item("Options")).rect)
        time.sleep(0.3)
        expect(not z.showing("Level", "menu item"), "the Options menu opened during a game")

        # At acceleration IV the seventh hit doubles the fall step.
        expect(fall_step(z, 4) == 1, "acceleration IV does not start at one pixel a tick")
        for i in range(7):
            lane = 1 + i % 4
            z.type(play.letters[lane - 1])
            play.hit(lane)
            wait_for(lambda: z.letters(4) == play.shown(), what=f"{play.shown()} after hit {i + 1}")
        step = fall_step(z, 4)
        expect(step == 2, f"falling {step} pixels a tick after 7 hits at acceleration IV")

        # A new level takes effect at the next Start; the acceleration stays.
        z.press("Stop")
        wait_for(lambda: z.has("Options", "menu item", "enabled"), what="the Options menu back")
        z.choose("Options", "Level", "I")
        wait_for(lambda: z.caption("Level") == "1", what="level 1 shown")
        expect(z.caption("Acceleration") == "4", "the acceleration changed with the level")
        z.press("Start")
        play = Game(stream, level=1)
        wait_for(lambda: z.letters(2) == play.shown(), what=f"two lanes of {play.shown()}")
        lefts = [z.lane_left(k) for k in range(1, 6)]
        expect(lefts == LANE_LEFTS[1], f"lanes stand at {lefts} at level I")


@scenario
def about(program):
    """Help > About opens the about window centred over the main window, which is
    disabled until "Ok" closes it; the next opening centres it anew."""
    with Desktop(program, window_manager=True) as desktop:
        z = Zelvaro(desktop)
        main = desktop.windows("Zelvaro")[0]
        for move in (None, (40, 60)):
            if move:
                desktop.x("xdotool", "windowmove", "--sync", str(main), *map(str, move))
            z.choose("Help", "About")
            wait_for(lambda: z.showing("Ok", "push button"), what="the about window")
            about_window = wait_for(lambda: desktop.windows("Form2"), what="its X window")[0]
            x, y, width, height = desktop.frame_geometry(main)
            centred = (x + width / 2 - 312 / 2, y + height / 2 - 184 / 2)

            def placed():
                ax, ay, aw, ah = desktop.geometry(about_window)
                near = abs(ax - centred[0]) <= 1 and abs(ay - centred[1]) <= 1
                return (aw, ah) == (312, 184) and near

            wait_for(placed, what=f"the about window at {centred}")
            for name in ("Start", "Exit"):
                expect(z.lacks(name, "push button", "enabled"), f"{name} works behind About")
            if not move:
                # The disabled main window's close box does nothing either.
                desktop.x("wmctrl", "-c", "Zelvaro")
                time.sleep(0.5)
                expect(not z.tree.find("Zelvaro", "alert"), "a farewell behind About")
                expect(z.showing("Ok", "push button"), "the about window after a close request")

            z.press("Ok")
            wait_for(lambda: not z.showing("Ok", "push button"), what="the about window to close")
            wait_for(lambda: z.has("Start", "push button", "enabled"), what="the main window")
            expect(not desktop.windows("Form2"), "the about window is still mapped")


def farewell(z, desktop):
    """The main window has gone and the farewell message is up; OK ends the program."""
    alert = wait_for(lambda: z.tree.find("Zelvaro", "alert"), what="the farewell message")
    text = "Good bye... Have a nice day! ;-)"
    expect(z.tree.find(text, "label", alert) is not None, "the farewell text")
    expect(z.tree.find(role="image", within=alert) is not None, "the farewell icon")
    expect(z.lacks("Zelvaro", "frame", "showing"), "the main window stays on screen")
    z.click_at(z.a11y.node(z.tree.get("OK", "push button", alert)).rect)
    status = desktop.wait_for_exit()
    expect(status == 0, f"the program ended with status {status}")


@scenario
def exit_button(program):
    """Exit during a game: the farewell, then the end with status 0."""
    with Desktop(program) as desktop:
        z = Zelvaro(desktop)
        z.press("Start")
        wait_for(lambda: z.showing("Lane 1", "filler"), what="a game")
        z.press("Exit")
        farewell(z, desktop)


@scenario
def close_request(program):
    """A close request from the window manager gets the same farewell and end."""
    with Desktop(program, window_manager=True) as desktop:
        z = Zelvaro(desktop)
        desktop.x("wmctrl", "-c", "Zelvaro")
        farewell(z, desktop)


@scenario
def high_dpi(program):
    """At scale factor 2 the window is twice as large in device pixels and drawn
    sharply at that resolution, not enlarged from a small picture."""
    letters = {}
    with Desktop(program, scale=1) as desktop:
        for scale in (1, 2):
            if scale != desktop.scale:
                desktop.start_program(scale)
            z = Zelvaro(desktop)
            window = desktop.windows("Zelvaro")[0]
            client, frame = z.client(), z.node("Zelvaro", "frame").rect
            _, _, width, height = desktop.geometry(window)
            menu_bar = (client.y - frame.y) * scale
            size = (width, height - menu_bar)
            expect(size == (CLIENT[0] * scale, CLIENT[1] * scale), f"client {size} at {scale}")

            # Line1 is 2 logical pixels wide: as many device pixels as the scale says.
            shot = desktop.screenshot(window)
            runs = dark_runs([shot.pixel(x, menu_bar + 300 * scale) for x in range(width)])
            expect(runs == [(351 * scale, 2 * scale)], f"dark runs {runs} at scale {scale}")

            # The first letter of the run, held still by Pause.
            z.press("Start")
            first = Game(Stream(), level=1).letters[0]
            wait_for(lambda: z.letters(1) == [first], what=f"the letter {first}")
            z.press("Pause", "check box")
            wait_for(lambda: z.has("Pause", "check box", "checked"), what="Pause ticked")
            time.sleep(0.2)
            box = z.lane(1).rect
            edge = 2 * scale  # the box's sunken border
            shot = desktop.screenshot(window)
            letters[scale] = shot.region(
                (box.x - frame.x) * scale + edge,
                (box.y - frame.y) * scale + edge,
                box.width * scale - 2 * edge,
                box.height * scale - 2 * edge,
            )

    small, large = glyph_pixels(letters[1]), glyph_pixels(letters[2])
    expect(len(small) > 20, f"the letter has only {len(small)} pixels at scale 1")
    expect(len(large) >= 3 * len(small), f"{len(large)} letter pixels at 2, {len(small)} at 1")
    # An enlarged small picture consists of uniform 2 x 2 blocks; a sharp one has
    # anti-aliased edges at device resolution.
    mixed = mixed_blocks(letters[2])
    expect(mixed >= 20, f"only {mixed} 2 x 2 blocks of the scaled letter are not uniform")
    print(f"letter pixels: {len(small)} at scale 1, {len(large)} at 2; {mixed} mixed blocks")


def main():
    parser = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter
    )
    parser.add_argument("--program", required=True, help="the zelvaro executable")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    missing = missing_tools()
    if missing:
        print(f"skipped: missing {', '.join(missing)} (scripts/setup test installs them)")
        return SKIPPED
    if os.environ.get("ZELVARO_E2E_SESSION") != str(os.getppid()):
        # Run again inside a private session bus, which ends with the run; the
        # session's runner keeps this process id.
        os.environ["ZELVARO_E2E_SESSION"] = str(os.getpid())
        argv = ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)]
        os.execvp("dbus-run-session", argv + sys.argv[1:])

    # When the session's runner is ended (a test timeout), this run ends too and
    # still takes down what it started.
    end_with_parent()
    if str(os.getppid()) != os.environ["ZELVARO_E2E_SESSION"]:
        return 1

    def interrupted(signum, frame):
        raise SystemExit(f"interrupted by signal {signum}")

    def out_of_time(signum, frame):
        raise TimeoutError(f"the scenario took longer than {TIME_LIMIT} s")

    signal.signal(signal.SIGTERM, interrupted)
    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(TIME_LIMIT)
    started = time.monotonic()
    try:
        SCENARIOS[args.scenario](os.path.abspath(args.program))
    except Exception:
        traceback.print_exc()
        print(f"FAILED {args.scenario} after {time.monotonic() - started:.1f} s")
        return 1
    print(f"passed {args.scenario} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
