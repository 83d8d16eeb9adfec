# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The running program as a user meets it: controls found through the
accessibility tree, pressed with the mouse, letters typed on the keyboard."""

import time

from desktop import wait_for

# The main window's client area, in logical pixels.
CLIENT = (510, 387)


class Zelvaro:
    def __init__(self, desktop):
        import accessible  # only now: the desktop's accessibility bus runs

        self.a11y = accessible
        self.desktop = desktop
        self.tree = accessible.Tree(lambda: desktop.app.pid)
        wait_for(lambda: self.showing("Start", "push button"), timeout=30, what="the main window")

    # --- Reading -------------------------------------------------------------------

    def node(self, name, role=None, within=None):
        return self.a11y.node(self.tree.get(name, role, within))

    def showing(self, name, role=None):
        acc = self.tree.find(name, role)
        return acc is not None and "showing" in self.a11y.node(acc).states

    def has(self, name, role, *states):
        return set(states) <= self.node(name, role).states

    def lacks(self, name, role, *states):
        return not set(states) & self.node(name, role).states

    def caption(self, name):
        """What a value label shows: its name says what it is, its description the value."""
        return self.node(name, "label").description

    def main_frame(self):
        return self.tree.get("Zelvaro", "frame")

    def client(self):
        """The client area's rectangle on the screen, in logical pixels."""
        return self.a11y.node(self.tree.get(role="filler", within=self.main_frame())).rect

    def lane(self, k):
        return self.node(f"Lane {k}", "filler")

    def lane_left(self, k):
        return self.lane(k).rect.x - self.client().x

    def lane_top(self, k):
        return self.lane(k).rect.y - self.client().y

    def letters(self, lanes):
        """The letters that lanes 1..lanes show; "" for a lane that shows none."""
        return [self.lane(k).description for k in range(1, lanes + 1)]

    def menu_item(self, *path):
        """The menu item at the end of a path of captions, such as ("Options", "Level", "III")."""
        within = self.tree.get(role="menu bar", within=self.main_frame())
        for caption in path:
            within = self.tree.get(caption, "menu item", within)
        return within

    def ticks(self, submenu):
        """The captions of the ticked items of Options > submenu."""
        items = self.tree.find_all(role="menu item", within=self.menu_item("Options", submenu))
        return [item.name for item in items if "checked" in self.a11y.node(item).states]

    # --- Acting ----------------------------------------------------------------------

    def click_at(self, rect):
        x, y = self.a11y.centre(rect)
        scale = self.desktop.scale or 1  # the tree speaks logical pixels, X device pixels
        self.desktop.click(x * scale, y * scale)

    def _on_screen(self, find, what):
        def found():
            node = self.a11y.node(find())
            return node if "showing" in node.states else None

        return wait_for(found, what=f"{what} on screen")

    def press(self, name, role="push button"):
        self.click_at(self._on_screen(lambda: self.tree.get(name, role), name).rect)

    def choose(self, *path):
        """Opens the menu bar's menu path[0] and clicks through the rest of the path."""
        self.click_at(self.a11y.node(self.menu_item(path[0])).rect)
        for depth in range(2, len(path) + 1):
            item = self._on_screen(lambda: self.menu_item(*path[:depth]), " > ".join(path[:depth]))
            time.sleep(0.1)  # a submenu opens after a short hover
            self.click_at(item.rect)
        wait_for(
            lambda: "showing" not in self.a11y.node(self.menu_item(*path)).states,
            what="the menu to close",
        )

    def type(self, text):
        # Without a window manager nobody hands the keyboard to the window.
        self.desktop.focus(self.desktop.windows("Zelvaro")[0])
        self.desktop.type(text)
