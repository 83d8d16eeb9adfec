# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop harness: everything that starts a display for the end-to-end tests
and the scripts (scripts/measure, scripts/screenshot, scripts/valgrind).

    import harness
    from harness.zelvaro import Zelvaro

    with harness.XDesktop(window_manager=True, accessibility=True) as desktop:
        z = Zelvaro(desktop, "build/app/zelvaro")      # waits for the main window
        z.press("Start")
        harness.wait_for(lambda: z.showing("Lane 1", "filler"), what="a game")
        other = desktop.start("xmessage", ["xmessage", "hello"])   # any program

Modules:
  desktop    XDesktop (Xvfb, optionally openbox), MutterDesktop (GNOME's mutter
             with its XWayland), KWinDesktop (KDE Plasma's KWin with its XWayland)
             and WaylandDesktop (weston, no X):
             start(name, argv, env, own_bus) runs a program in the desktop, env and
             dir are its environment and private folder; under X wait_window(),
             click(), type(), key(), focus(), close_window(), screenshot() and more
  processes  wait_for(), wait_equal() and hold(): the only ways to look at a
             moving target; Processes, the children of a run, ended on every way out
  zelvaro    Zelvaro: the program as a user meets it, read through AT-SPI;
             Blind: the program driven by X alone, for runs without AT-SPI
  accessible the AT-SPI tree of a program (import once a desktop reads it)
  letters    Letters: the letters a run shows, from the game's own code
  mapwatch   MapWatch: the moment a window is mapped, from the X server's event
  xserver    WindowWatch: a window's drawing as the X server reports it (DAMAGE),
             its pixels, and keys pressed through the server (XTEST); through
             python3-xcffib, as MapWatch
  speech     Speech: a private speech-dispatcher that writes what it would say
             to a file, and the Orca screen reader speaking through it
  inputmethod IBus: a private ibus daemon, GNOME's input method, and every
             call made to it
  braille    Braille: a braille display for the screen reader (brltty's virtual
             driver), and the texts it has shown
  build      build(): configures and builds CMake targets for a script

Rules for a user of the harness: every look at a window system goes through
wait_for() or wait_equal() (or hold() for what must not happen), never a single
look or a sleep; start programs only through Desktop.start(), so that nothing
outlives the run.
"""

from .desktop import CannotStart, Desktop, Image, KWinDesktop, MutterDesktop, WaylandDesktop
from .desktop import XDesktop
from .processes import Processes, hold, wait_equal, wait_for

__all__ = ["CannotStart", "Desktop", "Image", "KWinDesktop", "MutterDesktop", "Processes"]
__all__ += ["WaylandDesktop", "XDesktop"]
__all__ += ["hold", "wait_equal", "wait_for"]
