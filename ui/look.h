// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;
class QIcon;
class QString;
class QStyle;

namespace ui::fonts {

// The faces of the windows, in pixel sizes so the text keeps its size relative to
// the fixed pixel layout whatever DPI the desktop reports.

// Letters in the boxes: Liberation Sans (metric twin of Arial) 21 px.
QFont letter();
// Labels, buttons and the check box: Liberation Sans bold 14 px, a 16 px line.
QFont system();
// "Game Over": Liberation Sans bold 52 px.
QFont gameOver();
// The smiley: DejaVu Sans Condensed 27 px, the closest Debian face to Tahoma.
QFont smiley();
// The about window's title: DejaVu Sans Condensed bold 11 px.
QFont title();
// The about text: Liberation Sans 13 px.
QFont aboutText();

} // namespace ui::fonts

namespace ui::icons {

// The windows' icon: a white key cap bearing a red question mark, 16 and 32 px.
QIcon window();
// Decodes the pictures of window() ahead of their first use, on any thread once the
// application exists: the start-up does it beside the main thread.
void prepare();

} // namespace ui::icons

namespace ui {

// The widget style named by key (as QStyleFactory knows it) as the windows use it:
// the same in every drawing, except that the menu bar's button for entries that do
// not fit has no icon. The menu bar always has room for both of its entries, so the
// button never shows, and the style's icon for it is some eight pictures read from
// files while the main window is being made.
QStyle* style(const QString& key);

} // namespace ui::icons
