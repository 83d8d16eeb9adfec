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

#include <memory>

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

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { uitest::prepareApplication(); }
    void init()
    {
        m_runtime = std::make_unique<ui::QtRuntime>();
        QVERIFY(uitest::startShown(*m_runtime));
    }
    void cleanup() { m_runtime.reset(); }

    void opensCentredAndDisablesMainWindow();
    void spaceOnOpenWindowPressesOk();
    void gameGoesOnBehindIt();
    void closeRequestOnlyHidesIt();

private:
    ui::MainWindow& main() { return m_runtime->mainWindow(); }
    ui::AboutWindow& about() { return m_runtime->aboutWindow(); }

    std::unique_ptr<ui::QtRuntime> m_runtime;
};

void AboutWindowTest::opensCentredAndDisablesMainWindow()
{
    for (const QPoint mainAt : { QPoint(), QPoint(5, 7), QPoint(250, 160) }) {
        if (!mainAt.isNull()) {
            main().move(mainAt);
            QTRY_COMPARE(main().frameGeometry().topLeft(), mainAt);
        }
        QVERIFY(uitest::chooseAbout(main()));
        QTRY_VERIFY(about().isVisible());
        QVERIFY(!main().isEnabled());
        QVERIFY2(offCentre(about(), main()) <= 1.0,
            qPrintable(QStringLiteral("about at (%1,%2), main at (%3,%4)")
                           .arg(about().frameGeometry().x())
                           .arg(about().frameGeometry().y())
                           .arg(main().frameGeometry().x())
                           .arg(main().frameGeometry().y())));
        QCOMPARE(about().size(), QSize(312, 184));

        QTest::mouseClick(about().okButton(), Qt::LeftButton);
        QVERIFY(main().isEnabled());
        QVERIFY(about().isHidden());
    }
}

// Space presses "Ok", which has the focus; afterwards the main window takes the keys
// again, with the focus on the control that had it before.
void AboutWindowTest::spaceOnOpenWindowPressesOk()
{
    QTRY_COMPARE(QApplication::focusWidget(), main().startButton());
    QTest::keyClick(main().windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), main().exitButton());

    QVERIFY(uitest::chooseAbout(main()));
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    QCOMPARE(QApplication::focusWidget(), about().okButton());

    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Space);
    QVERIFY(about().isHidden());
    QVERIFY(main().isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(&main()));
    QCOMPARE(QApplication::focusWidget(), main().exitButton());
}

// The about window stops nothing: the tick keeps moving the letters while the keys
// go to the about window and no longer reach Picture1.
void AboutWindowTest::gameGoesOnBehindIt()
{
    ui::MainWindow& w = main();
    const game::GameState& s = m_runtime->form1().state();
    QTest::mouseClick(w.startButton(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.box(0));

    // Help is disabled during a game, so the item is triggered as the menu would.
    w.aboutItem()->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&about()));
    QVERIFY(!w.isEnabled());

    const int fallenTo = w.box(0)->y();
    QTRY_VERIFY(w.box(0)->y() > fallenTo + 2);
    QVERIFY(w.tickTimer()->isActive());

    const int judged = uitest::judgedTotal(s);
    QTest::keyClick(QGuiApplication::focusWindow(), char(s.Letters[0]));
    QTest::keyClick(w.windowHandle(), char(s.Letters[0]));
    QCOMPARE(uitest::judgedTotal(s), judged);
    QVERIFY(about().isVisible());

    QTest::mouseClick(about().okButton(), Qt::LeftButton);
    QVERIFY(w.isEnabled());
    QTest::keyClick(w.windowHandle(), char(s.Letters[0]));
    QCOMPARE(uitest::judgedTotal(s), judged + 1);
}

// A close command from outside is handled as "Ok": the main window must never stay
// disabled once the about window is gone, and the window is hidden, not destroyed.
void AboutWindowTest::closeRequestOnlyHidesIt()
{
    QPointer<ui::AboutWindow> window = &about();
    QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));

    QVERIFY(uitest::chooseAbout(main()));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->close();
    QVERIFY(window);
    QVERIFY(window->isHidden());
    QVERIFY(main().isEnabled());

    // The window system's close command, as a window manager sends it.
    QVERIFY(uitest::chooseAbout(main()));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->windowHandle()->close();
    QCoreApplication::processEvents();
    QVERIFY(window);
    QVERIFY(window->isHidden());
    QVERIFY(main().isEnabled());

    // The same window opens again.
    QVERIFY(uitest::chooseAbout(main()));
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(window.data(), &about());
}

QTEST_MAIN(AboutWindowTest)
#include "aboutwindow_tests.moc"
