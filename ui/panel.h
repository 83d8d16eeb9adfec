// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QWidget;

namespace ui {

// The texts of the main window as the player first sees them: the panel right of
// the rule and the menu bar, with their captions, faces and places. The main window
// is built from these, and so is the text floor that measures what Qt needs to show
// them (bench/textfloor.cpp).

// The panel's controls that the game reaches; Hits:, Lost:, Level: and
// Acceleration: are made too and never change.
struct Panel {
    QLabel* label1; // hits
    QLabel* label2; // lost
    QLabel* label8; // level
    QLabel* label9; // acceleration
    QLabel* label10; // the smiley, empty until it first blinks
    QPushButton* command1; // Exit
    QPushButton* command2; // Start
    QPushButton* command3; // Stop
    QCheckBox* check1; // Pause
};

// Makes the panel's controls on client, stacked in the order of the window's design,
// each named after its design name. Labels keep their designed size until asked to
// fit their caption (QLabel::adjustSize).
[[nodiscard]] Panel makePanel(QWidget* client);

// The menu bar's entries and items, each named after its design name: Options with
// the submenus Level and Acceleration (items I to IV, tickable, not grouped, with no
// shortcut or access letter), and Help with About.
struct Menus {
    QAction* options;
    std::array<QAction*, 4> levels, speeds;
    QAction* help;
    QAction* about;
};
[[nodiscard]] Menus makeMenus(QMenuBar* bar);

} // namespace ui
