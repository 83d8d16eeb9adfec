// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The about window over the real main window: opened from Help > About, centred,
// closed by "Ok", by Space or by a close request, while the game goes on behind it.

#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/aboutwindow.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// How far the centre of the about window lies from that of the main window's outer
// rectangle, in pixels along the farther axis.
double offCentre(const QWidget& about, const QWidget& main)
{
    const QRectF a = about.frameGeometry();
    const QRectF m = main.frameGeometry();
    return std::max(
        std::abs(a.center().x() - m.center().x()), std::abs(a.center().y() - m.center().y()));
}

} // namespace

class AboutWindowTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void opensCentredAndDisablesMainWindow();
    void spaceOnOpenWindowPressesOk();
    void gameGoesOnBehindIt();
    void closeRequestOnlyHidesIt();

private:
    ui::AboutWindow& about() { return runtime().aboutWindow(); }
};

void AboutWindowTest::opensCentredAndDisablesMainWindow()
{
    for (const QPoint mainAt : { QPoint(), QPoint(5, 7), QPoint(250, 160) }) {
        if (!mainAt.isNull()) {
            window().move(mainAt);
            QTRY_COMPARE(window().frameGeometry().topLeft(), mainAt);
        }
        QVERIFY(uitest::chooseAbout(window()));
        QTRY_VERIFY(about().isVisible());
        QVERIFY(!window().isInputEnabled());
        QVERIFY2(offCentre(about(), window()) <= 1.0,
            qPrintable(QString::asprintf("about at (%d,%d), main at (%d,%d)",
                about().frameGeometry().x(), about().frameGeometry().y(),
                window().frameGeometry().x(), window().frameGeometry().y())));
        QCOMPARE(about().size(), QSize(312, 184));

        QTest::mouseClick(about().okButton(), Qt::LeftButton);
        QVERIFY(window().isInputEnabled());
        QVERIFY(about().isHidden());
    }
}

// Space presses "Ok", which has the focus; afterwards the main window takes the keys
// again, with the focus on the control that had it before.
void AboutWindowTest::spaceOnOpenWindowPressesOk()
{
    QTRY_COMPARE(QApplication::focusWidget(), window().button(game::Button::Command2));
    QTest::keyClick(window().windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window().button(game::Button::Command1));

    QVERIFY(uitest::chooseAbout(window()));
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    QCOMPARE(QApplication::focusWidget(), about().okButton());

    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Space);
    QVERIFY(about().isHidden());
    QVERIFY(window().isInputEnabled());
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    QCOMPARE(QApplication::focusWidget(), window().button(game::Button::Command1));
}

// The about window stops nothing: the tick keeps moving the letters while the keys
// go to the about window and no longer reach Picture1.
void AboutWindowTest::gameGoesOnBehindIt()
{
    ui::MainWindow& w = window();
    const game::GameState& s = state();
    QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.box(game::Box::Picture1));

    // Help is disabled during a game, so the item is triggered as the menu would.
    w.aboutItem()->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    QVERIFY(!w.isInputEnabled());

    const int fallenTo = w.box(game::Box::Picture1)->y();
    QTRY_VERIFY(w.box(game::Box::Picture1)->y() > fallenTo + 2);
    QVERIFY(w.timer(game::Timer::Timer1)->isActive());

    const int judged = uitest::judgedTotal(s);
    QTest::keyClick(QGuiApplication::focusWindow(), char(s.Letters[0]));
    QTest::keyClick(w.windowHandle(), char(s.Letters[0]));
    QCOMPARE(uitest::judgedTotal(s), judged);
    QVERIFY(about().isVisible());

    QTest::mouseClick(about().okButton(), Qt::LeftButton);
    QVERIFY(w.isInputEnabled());
    QTest::keyClick(w.windowHandle(), char(s.Letters[0]));
    QCOMPARE(uitest::judgedTotal(s), judged + 1);
}

// A close command from outside is handled as "Ok": the main window must never stay
// disabled once the about window is gone, and the window is hidden, not destroyed.
void AboutWindowTest::closeRequestOnlyHidesIt()
{
    QPointer<ui::AboutWindow> kept = &about();
    QVERIFY(!kept->testAttribute(Qt::WA_DeleteOnClose));

    // close() from the program, then the window system's close command as a window
    // manager sends it.
    const std::function<void()> requests[] = { [&] { kept->close(); },
        [&] {
            kept->windowHandle()->close();
            QCoreApplication::processEvents();
        } };
    for (const auto& request : requests) {
        QVERIFY(uitest::chooseAbout(window()));
        QVERIFY(QTest::qWaitForWindowExposed(kept));
        request();
        QVERIFY(kept);
        QVERIFY(kept->isHidden());
        QVERIFY(window().isInputEnabled());
    }

    // The same window opens again.
    QVERIFY(uitest::chooseAbout(window()));
    QTRY_VERIFY(kept->isVisible());
    QCOMPARE(kept.data(), &about());
}

QTEST_MAIN(AboutWindowTest)
#include "aboutwindow_tests.moc"
