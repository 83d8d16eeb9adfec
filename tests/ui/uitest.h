// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/windowstate.h"

#include <QList>
#include <QObject>

#include <memory>

class QCheckBox;
class QMenu;

namespace game {
struct GameState;
enum class Menu;
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

// The base of the test classes that play the program as the user finds it: each test
// function gets a fresh runtime, started and shown with its main window active.
class StartedProgramTest : public QObject {
    Q_OBJECT

public:
    StartedProgramTest();
    ~StartedProgramTest() override;

protected:
    [[nodiscard]] ui::QtRuntime& runtime() { return *m_runtime; }
    [[nodiscard]] ui::MainWindow& window();
    [[nodiscard]] const game::GameState& state();

private slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    std::unique_ptr<ui::QtRuntime> m_runtime;
};

// The popup of the menu bar's entry Options (menu_options) or Help (help).
[[nodiscard]] QMenu* popup(const ui::MainWindow& window, game::Menu entry);

// Clicks the title of a menu in the main window's menu bar, as the user opens it.
void clickMenuTitle(ui::MainWindow& window, QMenu* menu);

// Help > About with the mouse: opens Help, then clicks About. False if the Help
// menu did not open.
[[nodiscard]] bool chooseAbout(ui::MainWindow& window);

// Clicks a check box on its tick square.
void clickCheckBox(QCheckBox* box);

// What tells the window's five states apart, read from the real windows and the game:
// QCOMPARE(uitest::look(runtime), test::WindowState::Running).
[[nodiscard]] test::WindowLook look(ui::QtRuntime& runtime);

// Hits + Lost: a judged key raises it by exactly one.
[[nodiscard]] int judgedTotal(const game::GameState& state);

// The letters of the lanes that are in play at the selected level.
[[nodiscard]] QList<char16_t> activeLetters(const game::GameState& state);

// A lower-case letter that no lane in play shows: typing it is a miss.
[[nodiscard]] char16_t missingLetter(const game::GameState& state);

} // namespace uitest

namespace test {
// How QCOMPARE shows a state and a look when they differ.
char* toString(WindowState state);
char* toString(const WindowLook& look);
} // namespace test
