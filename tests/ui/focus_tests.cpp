// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the keys go. Only Picture1 hands typed characters to the game, so nothing
// but the game's own handlers may move the keyboard focus: no click in the client
// area, no lone Alt while the menus are off, no Tab onto a box that takes keys it
// never judges. Clicks and keys travel through the window as the window system
// delivers them.

#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/aboutwindow.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

using test::WindowState;

// The states a player can click and type in.
constexpr WindowState playerStates[]
    = { WindowState::Idle, WindowState::Running, WindowState::Paused, WindowState::Lost };

class FocusTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void clicksLeaveTheFocus_data();
    void clicksLeaveTheFocus();
    void loneAltTakesNoKeysFromAGame_data();
    void loneAltTakesNoKeysFromAGame();
    void tabReachesNoBoxButLaneOne_data();
    void tabReachesNoBoxButLaneOne();
    void aboutIsCentredOnEveryActivation();

private:
    // Brings the window into a state at level IV, where all five boxes are on the field.
    bool enter(WindowState state);
    void click(const QPoint& inClient);
    // Types the letter of lane 1: true when the game judged it a hit.
    bool typedLetterIsHit();
};

bool FocusTest::enter(WindowState state)
{
    ui::MainWindow& w = window();
    w.menu(game::levelItems[3].id)->trigger();
    if (state == WindowState::Idle)
        return true;
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    if (state == WindowState::Paused)
        uitest::clickCheckBox(w.checkBox(game::CheckBox::Check1));
    if (state == WindowState::Lost)
        QTest::keyClick(w.windowHandle(), char(uitest::missingLetter(this->state())));
    return uitest::look(runtime()) == state;
}

void FocusTest::click(const QPoint& inClient)
{
    ui::MainWindow& w = window();
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.clientArea()->mapTo(&w, inClient));
}

bool FocusTest::typedLetterIsHit()
{
    const int hits = state().Hits;
    QTest::keyClick(window().windowHandle(), char(state().Letters[0]));
    return state().Hits == hits + 1;
}

void FocusTest::clicksLeaveTheFocus_data()
{
    QTest::addColumn<WindowState>("state");
    QTest::addColumn<QString>("target");
    // A control, by name, is clicked at its centre as it stands at the moment; the
    // others are places in the client area: the empty field, the two rules.
    const QStringList targets = { "Picture1", "Picture2", "Picture3", "Picture4", "Picture5",
        "Label3", "Label1", "Label7", "Label5", "field", "Line1", "Line2" };
    for (WindowState state : playerStates) {
        for (const QString& target : targets) {
            QTest::addRow("%s, %s", test::name(state), qPrintable(target)) << state << target;
        }
    }
}

// Children click the falling letters. A letter box that took the focus would keep
// every key from the game, with nothing on the screen to say why.
void FocusTest::clicksLeaveTheFocus()
{
    QFETCH(WindowState, state);
    QFETCH(QString, target);
    QVERIFY(enter(state));

    const QPoint places[] = { { 16, 200 }, { 352, 200 }, { 150, 0 } };
    const int place = QStringList({ "field", "Line1", "Line2" }).indexOf(target);
    QPoint at;
    if (place >= 0) {
        at = places[place];
        QCOMPARE(window().clientArea()->childAt(at), nullptr);
    } else {
        const auto* control = window().clientArea()->findChild<QWidget*>(target);
        QVERIFY(control);
        at = control->geometry().center();
    }

    QWidget* const focus = QApplication::focusWidget();
    click(at);
    QCOMPARE(QApplication::focusWidget(), focus);
    if (state == WindowState::Running) {
        QCOMPARE(focus, window().box(game::Box::Picture1));
        QVERIFY2(typedLetterIsHit(), "the key did not reach the game");
    }
}

void FocusTest::loneAltTakesNoKeysFromAGame_data()
{
    QTest::addColumn<WindowState>("state");
    for (WindowState state : playerStates)
        QTest::addRow("%s", test::name(state)) << state;
}

// A lone Alt puts the menu bar into keyboard mode, where the keys typed next go. In a
// game the menus are off and that would only swallow the typing; between games the
// menus keep their keyboard access.
void FocusTest::loneAltTakesNoKeysFromAGame()
{
    QFETCH(WindowState, state);
    QVERIFY(enter(state));
    ui::MainWindow& w = window();
    QWidget* const focus = QApplication::focusWidget();
    QVERIFY(focus);

    QTest::keyClick(w.windowHandle(), Qt::Key_Alt);
    const bool menusOn = w.menu(game::Menu::menu_options)->isEnabled();
    QCOMPARE(QApplication::focusWidget(), menusOn ? w.menuBar() : focus);
    if (state == WindowState::Running)
        QVERIFY2(typedLetterIsHit(), "the key did not reach the game");
}

void FocusTest::tabReachesNoBoxButLaneOne_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<Qt::Key>("key");
    for (int level = 1; level <= game::Levels; ++level) {
        QTest::addRow("level %d, Tab", level) << level << Qt::Key_Tab;
        QTest::addRow("level %d, Shift+Tab", level) << level << Qt::Key_Backtab;
    }
}

// Tab goes round the controls and back to Picture1, so a keyboard player can return to
// the game; it never stops at another box, where keys are lost: at levels I to III some
// of them stand off the field, where nobody sees them.
void FocusTest::tabReachesNoBoxButLaneOne()
{
    QFETCH(int, level);
    QFETCH(Qt::Key, key);
    ui::MainWindow& w = window();
    w.menu(game::levelItems[level - 1].id)->trigger();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QWidget* const picture1 = w.box(game::Box::Picture1);
    QCOMPARE(QApplication::focusWidget(), picture1);

    QStringList visited;
    for (int step = 0; step < 12; ++step) {
        QTest::keyClick(w.windowHandle(), key);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        visited.append(focus->objectName());
        const QRect place(focus->mapTo(w.clientArea(), QPoint()), focus->size());
        QVERIFY2(focus->isVisible() && w.clientArea()->rect().contains(place),
            qPrintable(visited.join(QLatin1Char(' '))));
        QVERIFY2(focus == picture1 || !qobject_cast<ui::LetterBox*>(focus),
            qPrintable(visited.join(QLatin1Char(' '))));
        if (focus == picture1)
            break;
    }
    QCOMPARE(QApplication::focusWidget(), picture1);
    QVERIFY(typedLetterIsHit());
}

// The about window centres itself over the main window each time it becomes the
// active one: placed before it shows, so it never appears elsewhere first, and placed
// anew when the user comes back to it after the main window has moved.
void FocusTest::aboutIsCentredOnEveryActivation()
{
    ui::MainWindow& w = window();
    ui::AboutWindow& about = runtime().aboutWindow();
    const auto centred = [&] {
        const QPointF off
            = QRectF(about.frameGeometry()).center() - QRectF(w.frameGeometry()).center();
        return std::abs(off.x()) <= 1.0 && std::abs(off.y()) <= 1.0;
    };
    QVERIFY(uitest::chooseAbout(w));
    QTest::mouseClick(about.okButton(), Qt::LeftButton);

    w.move(w.frameGeometry().topLeft() + QPoint(-60, 45));
    bool centredWhenShown = false;
    const auto watch = connect(about.windowHandle(), &QWindow::visibleChanged, this,
        [&](bool visible) { centredWhenShown = visible && centred(); });
    QVERIFY(uitest::chooseAbout(w));
    disconnect(watch);
    QVERIFY(centredWhenShown);

    w.move(w.frameGeometry().topLeft() + QPoint(30, -20));
    QLabel other(QStringLiteral("another program"));
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTRY_VERIFY(centred());
}

QTEST_MAIN(FocusTest)
#include "focus_tests.moc"
