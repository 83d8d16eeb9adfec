// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The operations of game::Runtime as the Qt adapter carries them out on the real
// widgets: the game relies on each of these behaving like its designed runtime.

#include "tests/ui/uitest.h"

#include "ui/aboutwindow.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

using game::Box;
using game::CheckBox;
using game::Timer;
using game::Window;

class RuntimeTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void checkBoxValueChangeRunsPauseHandlerAtOnce();
    void greyedValueLeavesNoThirdStateForTheUser();
    void enablingRunningTimerKeepsItsPeriod();
    void focusRequestToHiddenBoxIsIgnored();
    void windowGeometryIsOuterFrame();
    void positionsFromAnyFloatAreDefined();
};

// Qt's box becomes three-state when greyed; once the value is back to clear, a user's
// click must give "ticked" (1), the only value the Pause handler pauses on.
void RuntimeTest::greyedValueLeavesNoThirdStateForTheUser()
{
    ui::QtRuntime& rt = runtime();
    rt.setValue(CheckBox::Check1, 2);
    QCOMPARE(rt.value(CheckBox::Check1), 2);
    rt.setValue(CheckBox::Check1, 0);
    rt.setValue(CheckBox::Check1, 7); // no such value: ignored
    QCOMPARE(rt.value(CheckBox::Check1), 0);
    rt.setEnabled(CheckBox::Check1, true);
    rt.mainWindow().checkBox(game::CheckBox::Check1)->click();
    QCOMPARE(rt.value(CheckBox::Check1), 1);
    QVERIFY(!rt.mainWindow().timer(game::Timer::Timer1)->isActive());
}

// The Pause handler is how Stop and the end of a game restart the tick: it must run
// inside setValue, even though the game disables the box first, and only for a change.
void RuntimeTest::checkBoxValueChangeRunsPauseHandlerAtOnce()
{
    ui::QtRuntime& rt = runtime();
    QVERIFY(!rt.mainWindow().checkBox(game::CheckBox::Check1)->isEnabled());
    QVERIFY(rt.tickEnabled());

    rt.setValue(CheckBox::Check1, 1);
    QVERIFY2(!rt.tickEnabled(), "ticking a disabled box must pause the tick before returning");
    QCOMPARE(rt.value(CheckBox::Check1), 1);

    rt.setEnabled(Timer::Timer1, true);
    rt.setValue(CheckBox::Check1, 1);
    QVERIFY2(rt.tickEnabled(), "the same value must not run the Pause handler");

    rt.setEnabled(Timer::Timer1, false);
    rt.setValue(CheckBox::Check1, 0);
    QVERIFY2(rt.tickEnabled(), "clearing the box must resume the tick before returning");
    QCOMPARE(rt.value(CheckBox::Check1), 0);

    rt.setEnabled(Timer::Timer1, false);
    rt.setValue(CheckBox::Check1, 0);
    QVERIFY2(!rt.tickEnabled(), "the same value must not run the Pause handler");
}

// While the smiley is shown every tick enables the blink timer again; a restart each
// time would keep the blink from ever coming.
void RuntimeTest::enablingRunningTimerKeepsItsPeriod()
{
    ui::QtRuntime& rt = runtime();
    QTimer* blink = rt.mainWindow().timer(game::Timer::Timer2);
    QVERIFY(!blink->isActive());
    QSignalSpy fired(blink, &QTimer::timeout);
    // Before a game Timer1 sleeps: no tick switches the blink timer off meanwhile.

    rt.setEnabled(Timer::Timer2, true);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 600 && fired.isEmpty()) {
        QTest::qWait(50);
        rt.setEnabled(Timer::Timer2, true);
    }
    if (fired.isEmpty()) {
        QCOMPARE(blink->interval(), 1000);
        QVERIFY2(blink->remainingTime() <= 1000 - 500,
            qPrintable(QString::asprintf("%d ms left after %lld ms: the period restarted",
                blink->remainingTime(), static_cast<long long>(clock.elapsed()))));
    }
    // Keep enabling it every 50 ms: it must still fire about a second after the start.
    while (fired.isEmpty() && clock.elapsed() < 5000) {
        QTest::qWait(50);
        rt.setEnabled(Timer::Timer2, true);
    }
    QCOMPARE(fired.size(), 1);

    rt.setEnabled(Timer::Timer2, false);
    QVERIFY(!blink->isActive());
}

// Stop and game over reach the Pause handler, which gives Picture1 the focus even
// when the box is already hidden: the request must change nothing.
void RuntimeTest::focusRequestToHiddenBoxIsIgnored()
{
    ui::QtRuntime& rt = runtime();
    ui::MainWindow& window = rt.mainWindow();
    QTRY_COMPARE(QApplication::focusWidget(), window.button(game::Button::Command2));
    QVERIFY(window.box(game::Box::Picture1)->isHidden());

    rt.setFocus(Box::Picture1);
    QCOMPARE(QApplication::focusWidget(), window.button(game::Button::Command2));
    QCOMPARE(window.focusWidget(), window.button(game::Button::Command2));

    rt.setVisible(Box::Picture1, true);
    rt.setFocus(Box::Picture1);
    QCOMPARE(QApplication::focusWidget(), window.box(game::Box::Picture1));
}

// The about window is centred over the main window's outer rectangle, so the
// geometry the game reads must include the frame, the title bar and the menu bar.
void RuntimeTest::windowGeometryIsOuterFrame()
{
    ui::QtRuntime& rt = runtime();
    ui::MainWindow& window = rt.mainWindow();
    const QRect frame = window.frameGeometry();
    QCOMPARE(rt.left(Window::Form1), float(frame.x()));
    QCOMPARE(rt.top(Window::Form1), float(frame.y()));
    QCOMPARE(rt.width(Window::Form1), float(frame.width()));
    QCOMPARE(rt.height(Window::Form1), float(frame.height()));
    QVERIFY(rt.width(Window::Form1) >= 510);
    QVERIFY(rt.height(Window::Form1) >= 387 + window.menuBar()->height());
    // The bottom line of the play field is the client area's height, not the window's.
    QCOMPARE(rt.scaleHeight(), 387.0f);

    rt.setLeft(Window::Form1, 40);
    rt.setTop(Window::Form1, 30);
    QTRY_COMPARE(window.frameGeometry().topLeft(), QPoint(40, 30));
    QCOMPARE(rt.left(Window::Form1), 40.0f);
    QCOMPARE(rt.top(Window::Form1), 30.0f);
    QCOMPARE(rt.width(Window::Form1), float(frame.width()));

    // The about window has no frame: its outer rectangle is its 312 x 184 area.
    rt.setVisible(Window::Form2, true);
    QVERIFY(QTest::qWaitForWindowExposed(&rt.aboutWindow()));
    QCOMPARE(rt.width(Window::Form2), 312.0f);
    QCOMPARE(rt.height(Window::Form2), 184.0f);
    QCOMPARE(rt.left(Window::Form2), float(rt.aboutWindow().frameGeometry().x()));
}

// Positions come from the game as floats; a NaN, an infinity or a value beyond any
// screen must still give a defined place, never undefined integer conversion.
void RuntimeTest::positionsFromAnyFloatAreDefined()
{
    ui::QtRuntime& rt = runtime();
    rt.setVisible(Window::Form2, true);
    QVERIFY(QTest::qWaitForWindowExposed(&rt.aboutWindow()));

    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float odd[] = { nan, inf, -inf, 1.0e30f, -1.0e30f, 3.0e9f, -3.0e9f };
    for (const float value : odd) {
        const QByteArray what = QByteArray::number(value);
        rt.setLeft(Window::Form2, value);
        rt.setTop(Window::Form2, value);
        rt.setLeft(Box::Picture3, value);
        rt.setTop(Box::Picture3, value);
        QCoreApplication::processEvents();
        for (const float read : { rt.left(Window::Form2), rt.top(Window::Form2),
                 float(rt.mainWindow().box(game::Box::Picture3)->x()), rt.top(Box::Picture3) }) {
            QVERIFY2(std::isfinite(read), what);
            QVERIFY2(std::fabs(read) <= 1.0e7f, what);
        }
    }

    // An ordinary position is taken to the nearest pixel.
    rt.setLeft(Box::Picture3, 56.4f);
    rt.setTop(Box::Picture3, 200.6f);
    QCOMPARE(rt.mainWindow().box(game::Box::Picture3)->pos(), QPoint(56, 201));
    QCOMPARE(rt.top(Box::Picture3), 201.0f);
}

QTEST_MAIN(RuntimeTest)
#include "runtime_tests.moc"
