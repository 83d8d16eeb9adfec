// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;
class QIcon;

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

} // namespace ui::icons
