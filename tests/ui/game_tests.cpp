// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Games played through the real main window: the mouse on Start, Pause and Stop,
// the keyboard on the falling letters.

#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <random>

using test::WindowState;

namespace {

// One key pressed and released on widget, delivered at once as the window system
// delivers it to the focus widget.
void pressKey(
    QWidget* widget, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &up);
}

void pressLetter(QWidget* widget, char16_t letter)
{
    const QChar c(letter);
    const bool upper = c.isUpper();
    pressKey(widget, Qt::Key_A + (c.toLower().unicode() - u'a'), QString(c),
        upper ? Qt::ShiftModifier : Qt::NoModifier);
}

} // namespace

class GameTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void startPauseAndStopWithTheMouse();
    void stopWhilePausedLeavesTickRunning();
    void shortGameAtLevelOne();
    void keyEndingPausedGameRestartsTick();
    void keysTypedOnAfterAGameReachNoButton();
    void burstOfKeysIsJudgedOnceEach();
};

// Timer1's Qt timer runs only while a tick can change something: asleep before a
// game, paused and after Stop, woken from asleep (a full period) at Start and when
// Pause is cleared, while the game sees Timer1 enabled but paused.
void GameTest::startPauseAndStopWithTheMouse()
{
    ui::MainWindow& w = window();
    QTimer* tick = w.timer(game::Timer::Timer1);
    QVERIFY(!tick->isActive());
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QCOMPARE(uitest::look(runtime()), WindowState::Running);
    QVERIFY(tick->isActive());
    QCOMPARE(QApplication::focusWidget(), w.box(game::Box::Picture1));

    // A disabled menu opens none of its items.
    for (QMenu* menu :
        { uitest::popup(w, game::Menu::menu_options), uitest::popup(w, game::Menu::help) }) {
        uitest::clickMenuTitle(w, menu);
        QTest::qWait(50);
        QVERIFY2(!QApplication::activePopupWidget(), qPrintable(menu->title()));
    }

    const int startedAt = w.box(game::Box::Picture1)->y();
    QTRY_VERIFY(w.box(game::Box::Picture1)->y() > startedAt);

    uitest::clickCheckBox(w.checkBox(game::CheckBox::Check1));
    QCOMPARE(uitest::look(runtime()), WindowState::Paused);
    QVERIFY(!tick->isActive());
    const int pausedAt = w.box(game::Box::Picture1)->y();
    QTest::qWait(200);
    QCOMPARE(w.box(game::Box::Picture1)->y(), pausedAt);

    uitest::clickCheckBox(w.checkBox(game::CheckBox::Check1));
    QCOMPARE(uitest::look(runtime()), WindowState::Running);
    QCOMPARE(QApplication::focusWidget(), w.box(game::Box::Picture1));
    QTRY_VERIFY(w.box(game::Box::Picture1)->y() > pausedAt);

    QTest::mouseClick(w.button(game::Button::Command3), Qt::LeftButton);
    QCOMPARE(uitest::look(runtime()), WindowState::Stopped);
    QVERIFY(!tick->isActive());

    uitest::clickMenuTitle(w, uitest::popup(w, game::Menu::menu_options));
    QTRY_COMPARE(QApplication::activePopupWidget(), uitest::popup(w, game::Menu::menu_options));
    QTest::keyClick(uitest::popup(w, game::Menu::menu_options), Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

// Stop unchecks Pause, whose handler starts the tick again, so the next game needs
// nothing more to run.
void GameTest::stopWhilePausedLeavesTickRunning()
{
    ui::MainWindow& w = window();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    uitest::clickCheckBox(w.checkBox(game::CheckBox::Check1));
    QVERIFY(!w.timer(game::Timer::Timer1)->isActive());

    QTest::mouseClick(w.button(game::Button::Command3), Qt::LeftButton);
    QCOMPARE(uitest::look(runtime()), WindowState::Stopped);

    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    const int startedAt = w.box(game::Box::Picture1)->y();
    QTRY_VERIFY(w.box(game::Box::Picture1)->y() > startedAt);
}

// Keys go through the window system to the focus widget, so this also proves that
// Start leaves the focus on Picture1.
void GameTest::shortGameAtLevelOne()
{
    ui::MainWindow& w = window();
    QWindow* keyboard = w.windowHandle();
    const game::GameState& s = state();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);

    // Level I plays lanes 1 and 2; lanes 3 to 5 stand off the field, never printed.
    QCOMPARE(w.box(game::Box::Picture1)->x(), 104);
    QCOMPARE(w.box(game::Box::Picture2)->x(), 200);
    QTRY_COMPARE(w.box(game::Box::Picture1)->printed(), QStringList(QString(QChar(s.Letters[0]))));
    QCOMPARE(w.box(game::Box::Picture2)->printed(), QStringList(QString(QChar(s.Letters[1]))));
    for (int lane = game::activeLanes(1) + 1; lane <= game::Lanes; ++lane) {
        QCOMPARE(w.box(game::laneBox(lane))->x(), -40);
        QVERIFY(w.box(game::laneBox(lane))->printed().isEmpty());
    }

    QTest::keyClick(keyboard, char(s.Letters[0]));
    QCOMPARE(s.Hits, 1);
    QTest::keyClick(keyboard, char(s.Letters[1]));
    QCOMPARE(s.Hits, 2);
    QCOMPARE(s.Lost, 0);
    QTRY_COMPARE(w.label(game::Label::Label1)->text(), QStringLiteral("2"));
    QCOMPARE(w.label(game::Label::Label2)->text(), QStringLiteral("0"));

    // Keys that produce no character are not judged.
    QTest::keyClick(keyboard, Qt::Key_Shift);
    QTest::keyClick(keyboard, Qt::Key_F1);
    QTest::keyClick(keyboard, Qt::Key_Control);
    // Delete brings the character 127 and Alt a menu letter; neither is typed.
    QTest::keyClick(keyboard, Qt::Key_Delete);
    QTest::keyClick(keyboard, char(s.Letters[0]), Qt::AltModifier);
    QCOMPARE(uitest::judgedTotal(s), 2);

    // No case folding: the capital of a falling letter is a miss.
    QTest::keyClick(keyboard, char(QChar(s.Letters[0]).toUpper().toLatin1()));
    QCOMPARE(s.Hits, 2);
    QCOMPARE(s.Lost, 1);
    QTRY_COMPARE(w.label(game::Label::Label2)->text(), QStringLiteral("1"));
    QCOMPARE(w.label(game::Label::Label1)->text(), QStringLiteral("2"));

    // Two more misses put Lost above Hits: the game is lost.
    QTest::keyClick(keyboard, char(uitest::missingLetter(s)));
    QVERIFY(!s.GameOver);
    QTest::keyClick(keyboard, char(uitest::missingLetter(s)));
    QVERIFY(s.GameOver);
    QCOMPARE(uitest::look(runtime()), WindowState::Lost);
}

// A key judged during a pause can end the game; the reset of Pause then asks to
// focus the hidden Picture1, which must be ignored while the tick starts again.
void GameTest::keyEndingPausedGameRestartsTick()
{
    ui::MainWindow& w = window();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    uitest::clickCheckBox(w.checkBox(game::CheckBox::Check1));
    QVERIFY(!w.timer(game::Timer::Timer1)->isActive());
    QTest::keyClick(w.windowHandle(), Qt::Key_Tab); // from Pause on to Picture1
    QCOMPARE(QApplication::focusWidget(), w.box(game::Box::Picture1));

    QTest::keyClick(w.windowHandle(), char(uitest::missingLetter(state())));
    QCOMPARE(uitest::look(runtime()), WindowState::Lost);
    QVERIFY(!w.timer(game::Timer::Timer1)->isActive()); // enabled again, asleep: lost
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(!focus || focus->isVisible());

    // The window goes on: a new game starts and ticks.
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.box(game::Box::Picture1));
    QTRY_VERIFY(w.label(game::Label::Label5)->isHidden());
}

// A player is usually typing when a game ends. Qt hands the focus of a hidden or
// disabled control to the next one in tab order, which is "Exit": a Space typed on
// would end the program. The focus must rest where keys do nothing.
void GameTest::keysTypedOnAfterAGameReachNoButton()
{
    ui::MainWindow& w = window();
    QWindow* keyboard = w.windowHandle();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QTest::keyClick(keyboard, char(uitest::missingLetter(state())));
    QCOMPARE(uitest::look(runtime()), WindowState::Lost);
    QVERIFY(!qobject_cast<QAbstractButton*>(QApplication::focusWidget()));
    for (Qt::Key key : { Qt::Key_Space, Qt::Key_Return })
        QTest::keyClick(keyboard, key);
    QVERIFY(!runtime().ended());
    QCOMPARE(uitest::look(runtime()), WindowState::Lost);

    // Stop clicked with the mouse takes the focus from its own, now disabled, button.
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QTRY_VERIFY(w.label(game::Label::Label5)->isHidden()); // until the first tick
    QTest::mouseClick(w.button(game::Button::Command3), Qt::LeftButton);
    QVERIFY(!qobject_cast<QAbstractButton*>(QApplication::focusWidget()));
    QTest::keyClick(keyboard, Qt::Key_Space);
    QVERIFY(!runtime().ended());
    QCOMPARE(uitest::look(runtime()), WindowState::Stopped);
}

// Ten thousand keys in a running game, with the tick running in between: every key
// that produces a character is judged exactly once (a hit or a miss, never both,
// never twice, never lost), and every other key not at all.
void GameTest::burstOfKeysIsJudgedOnceEach()
{
    ui::MainWindow& w = window();
    w.menu(game::levelItems[3].id)->trigger();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QWidget* picture1 = w.box(game::Box::Picture1);
    QCOMPARE(w.focusWidget(), picture1);
    const game::GameState& s = state();
    QCOMPARE(s.level(), 4);

    std::minstd_rand random(2026);
    const int keys = 10000;
    const int totalBefore = uitest::judgedTotal(s);
    int judged = 0;
    int tickLost = 0;
    QString firstFault;
    const int silentKeys[] = { Qt::Key_Shift, Qt::Key_F1, Qt::Key_Left, Qt::Key_CapsLock };
    for (int i = 0; i < keys && firstFault.isEmpty(); ++i) {
        if (i % 25 == 0) {
            // Let the tick run, every 500 keys for sure; letters may fall out and
            // cost 5 each.
            const int lostBefore = s.Lost;
            if (i % 500 == 0)
                QVERIFY(QSignalSpy(w.timer(game::Timer::Timer1), &QTimer::timeout).wait(5000));
            QCoreApplication::processEvents();
            tickLost += s.Lost - lostBefore;
        }
        if (s.GameOver) {
            firstFault = QStringLiteral("the game ended at key %1").arg(i);
            break;
        }
        const int hits = s.Hits;
        const int lost = s.Lost;
        const QList<char16_t> active = uitest::activeLetters(s);
        const unsigned kind = random() % 10;
        int expectHits = hits;
        int expectLost = lost;
        QString what;
        if (kind == 0) {
            const int key = silentKeys[random() % 4];
            what = QStringLiteral("key 0x%1").arg(key, 0, 16);
            pressKey(picture1, key, QString());
        } else if (kind <= 2 && hits - lost > 100) {
            // Misses only while the lead is large enough not to end the game.
            const char16_t misses[]
                = { QChar(active.at(random() % active.size())).toUpper().unicode(),
                      uitest::missingLetter(s), u'7', u' ', u'\b' };
            const char16_t miss = misses[random() % 5];
            what = QStringLiteral("miss U+%1").arg(int(miss), 4, 16, QLatin1Char('0'));
            if (QChar(miss).isLetter())
                pressLetter(picture1, miss);
            else
                pressKey(
                    picture1, miss == u'\b' ? Qt::Key_Backspace : int(miss), QString(QChar(miss)));
            ++expectLost;
            ++judged;
        } else {
            const char16_t hit = active.at(random() % active.size());
            what = QStringLiteral("hit %1").arg(QChar(hit));
            pressLetter(picture1, hit);
            ++expectHits;
            ++judged;
        }
        if (s.Hits != expectHits || s.Lost != expectLost) {
            firstFault = QStringLiteral("key %1 (%2): Hits %3 -> %4, Lost %5 -> %6")
                             .arg(i)
                             .arg(what)
                             .arg(hits)
                             .arg(s.Hits)
                             .arg(lost)
                             .arg(s.Lost);
        }
    }
    QVERIFY2(firstFault.isEmpty(), qPrintable(firstFault));
    QCOMPARE(uitest::judgedTotal(s) - totalBefore, judged + tickLost);
    QVERIFY(judged > keys * 8 / 10);
    QVERIFY(s.Lost > 0);
}

QTEST_MAIN(GameTest)
#include "game_tests.moc"
