// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace uitest {

void prepareApplication()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false);
}

bool startShown(ui::QtRuntime& runtime)
{
    runtime.start();
    return QTest::qWaitForWindowActive(&runtime.mainWindow());
}

StartedProgramTest::StartedProgramTest() = default;
StartedProgramTest::~StartedProgramTest() = default;

ui::MainWindow& StartedProgramTest::window() { return m_runtime->mainWindow(); }

const game::GameState& StartedProgramTest::state() { return m_runtime->form1().state(); }

void StartedProgramTest::initTestCase() { prepareApplication(); }

void StartedProgramTest::init()
{
    m_runtime = std::make_unique<ui::QtRuntime>();
    QVERIFY(startShown(*m_runtime));
}

void StartedProgramTest::cleanup() { m_runtime.reset(); }

QMenu* popup(const ui::MainWindow& window, game::Menu entry)
{
    return QMenu::menuInAction(window.menu(entry));
}

void clickMenuTitle(ui::MainWindow& window, QMenu* menu)
{
    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
}

bool chooseAbout(ui::MainWindow& window)
{
    QMenu* help = popup(window, game::Menu::help);
    clickMenuTitle(window, help);
    if (!QTest::qWaitForWindowExposed(help))
        return false;
    // The pointer glides onto the item first, as a user's does. A menu that a press on
    // its title opened takes a release as a choice only once the pointer has moved
    // since: further than a drag, or in more than six motions (QMenu's own rule). Test
    // events do not move the cursor on the offscreen platform, so it takes the motions.
    const QPoint item = help->actionGeometry(window.aboutItem()).center();
    for (int step = 0; step < 8; ++step)
        QTest::mouseMove(help->windowHandle(), item + QPoint(step, 0));
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, item);
    return true;
}

void clickCheckBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator
        = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

test::WindowLook look(ui::QtRuntime& runtime)
{
    const ui::MainWindow& window = runtime.mainWindow();
    const game::GameState& state = runtime.form1().state();
    test::WindowLook look;
    look.stopped = state.Stopped;
    look.gameOver = state.GameOver;
    for (int lane = 1; lane <= game::Lanes; ++lane)
        look.boxesShown += !window.box(game::laneBox(lane))->isHidden();
    look.optionsEnabled = window.menu(game::Menu::menu_options)->isEnabled();
    look.helpEnabled = window.menu(game::Menu::help)->isEnabled();
    look.startEnabled = window.button(game::Button::Command2)->isEnabled();
    look.stopEnabled = window.button(game::Button::Command3)->isEnabled();
    look.pauseEnabled = window.checkBox(game::CheckBox::Check1)->isEnabled();
    look.pauseValue = runtime.value(game::CheckBox::Check1);
    look.tickEnabled = runtime.tickEnabled();
    look.gameOverShown = !window.label(game::Label::Label5)->isHidden();
    return look;
}

int judgedTotal(const game::GameState& state) { return state.Hits + state.Lost; }

QList<char16_t> activeLetters(const game::GameState& state)
{
    QList<char16_t> letters;
    for (int lane = 1; lane <= game::activeLanes(state.level()); ++lane)
        letters.append(static_cast<char16_t>(state.Letters[lane - 1]));
    return letters;
}

char16_t missingLetter(const game::GameState& state)
{
    const QList<char16_t> active = activeLetters(state);
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        if (!active.contains(c))
            return c;
    }
    return u'?';
}

} // namespace uitest

namespace test {

char* toString(WindowState state) { return qstrdup(name(state)); }

char* toString(const WindowLook& look) { return qstrdup(describe(look).c_str()); }

} // namespace test
