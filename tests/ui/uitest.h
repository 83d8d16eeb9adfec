// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QCheckBox;
class QMenu;
class QWidget;

namespace game {
struct GameState;
}

namespace ui {
class MainWindow;
class QtRuntime;
}

namespace uitest {

// Sets the application up as the program's main does: Fusion style, and the program
// ends only through its farewell, never because its last window closed.
void prepareApplication();

// Runs the start-up of the runtime and waits until the main window is shown and
// active, as a window system leaves it. False if it never became active.
[[nodiscard]] bool startShown(ui::QtRuntime& runtime);

// Clicks the title of a menu in the main window's menu bar, as the user opens it.
void clickMenuTitle(ui::MainWindow& window, QMenu* menu);

// Help > About with the mouse: opens Help, then clicks About. False if the Help
// menu did not open.
[[nodiscard]] bool chooseAbout(ui::MainWindow& window);

// Clicks a check box on its tick square.
void clickCheckBox(QCheckBox* box);

// Hits + Lost: a judged key raises it by exactly one.
[[nodiscard]] int judgedTotal(const game::GameState& state);

// The letters of the lanes that are in play at the selected level.
[[nodiscard]] QList<char16_t> activeLetters(const game::GameState& state);

// A lower-case letter that no lane in play shows: typing it is a miss.
[[nodiscard]] char16_t missingLetter(const game::GameState& state);

} // namespace uitest
