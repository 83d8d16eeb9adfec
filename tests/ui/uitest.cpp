// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QTest>

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

void clickMenuTitle(ui::MainWindow& window, QMenu* menu)
{
    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
}

bool chooseAbout(ui::MainWindow& window)
{
    QMenu* help = window.helpMenu();
    clickMenuTitle(window, help);
    if (!QTest::qWaitForWindowExposed(help))
        return false;
    QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(window.aboutItem()).center());
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

int judgedTotal(const game::GameState& state) { return state.Hits + state.Lost; }

QList<char16_t> activeLetters(const game::GameState& state)
{
    QList<char16_t> letters;
    for (int lane = 1; lane <= state.level() + 1; ++lane)
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
