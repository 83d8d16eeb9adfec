// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the program: Exit or any close request hides the main window, shows the
// farewell message and, however the message is dismissed, ends the event loop with
// status 0 with nothing running afterwards.

#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "ui/aboutwindow.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

// What the farewell message showed, seen while it was open.
struct Farewell {
    bool seen = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    bool mainWindowVisible = true;
    bool aboutWindowVisible = true;
    bool endedBeforeAnswer = true;
};

enum class Request { ExitButton, Close, CloseBox };
enum class Answer { Ok, Escape, CloseBox };

} // namespace

class FarewellTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void farewellEndsTheProgram_data();
    void farewellEndsTheProgram();
    void closeFromOutsideWhileAboutIsOpen();

private:
    // Runs the event loop, lets request() ask for the end inside it and answers the
    // farewell message when it appears. Returns the loop's exit status, or -1 when
    // the loop did not end within a generous time.
    int runUntilEnd(const std::function<void()>& request, Answer answer, Farewell& farewell);
    void verifyNothingRunsAfterEnd();
};

int FarewellTest::runUntilEnd(
    const std::function<void()>& request, Answer answer, Farewell& farewell)
{
    ui::QtRuntime& rt = runtime();
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        watch.stop();
        farewell.seen = true;
        farewell.text = box->text();
        farewell.title = box->windowTitle();
        farewell.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            farewell.buttons.append(box->standardButton(button));
        farewell.mainWindowVisible = rt.mainWindow().isVisible();
        farewell.aboutWindowVisible = rt.aboutWindow().isVisible();
        farewell.endedBeforeAnswer = rt.ended();
        switch (answer) {
        case Answer::Ok:
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            break;
        case Answer::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Answer::CloseBox:
            box->windowHandle()->close();
            break;
        }
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, this, [] { QCoreApplication::exit(-1); });

    QTimer::singleShot(0, this, [&] {
        watch.start();
        giveUp.start(30000);
        request();
    });
    return QApplication::exec();
}

void FarewellTest::verifyNothingRunsAfterEnd()
{
    ui::QtRuntime& rt = runtime();
    ui::MainWindow& w = rt.mainWindow();
    QVERIFY(rt.ended());
    QVERIFY(w.isHidden());
    QVERIFY(rt.aboutWindow().isHidden());
    QVERIFY(!w.timer(game::Timer::Timer1)->isActive());
    QVERIFY(!w.timer(game::Timer::Timer2)->isActive());
    QVERIFY(!QApplication::activeModalWidget());

    // Signals that still come (a button clicked by code, a timer started by someone
    // else) reach no handler.
    const game::GameState before = rt.form1().state();
    const QString level = w.label(game::Label::Label8)->text();
    w.menu(game::levelItems[3].id)->trigger();
    w.button(game::Button::Command2)->click();
    w.timer(game::Timer::Timer1)->start();
    QTest::qWait(200);
    const game::GameState& after = rt.form1().state();
    QCOMPARE(after.LevelIV, before.LevelIV);
    QCOMPARE(w.label(game::Label::Label8)->text(), level);
    QCOMPARE(after.Stopped, before.Stopped);
    QCOMPARE(after.Letters, before.Letters);
    QCOMPARE(after.Hits, before.Hits);
    QCOMPARE(after.Lost, before.Lost);
    QCOMPARE(after.FallStep, before.FallStep);
}

void FarewellTest::farewellEndsTheProgram_data()
{
    QTest::addColumn<Request>("request");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("playing");

    QTest::newRow("Exit, OK") << Request::ExitButton << Answer::Ok << false;
    QTest::newRow("Exit during a game, Escape") << Request::ExitButton << Answer::Escape << true;
    QTest::newRow("Exit, close box") << Request::ExitButton << Answer::CloseBox << false;
    QTest::newRow("close(), OK") << Request::Close << Answer::Ok << true;
    QTest::newRow("close(), Escape") << Request::Close << Answer::Escape << false;
    QTest::newRow("close(), close box") << Request::Close << Answer::CloseBox << true;
    QTest::newRow("close box, OK") << Request::CloseBox << Answer::Ok << false;
    QTest::newRow("close box during a game, Escape") << Request::CloseBox << Answer::Escape << true;
    QTest::newRow("close box, close box") << Request::CloseBox << Answer::CloseBox << false;
}

void FarewellTest::farewellEndsTheProgram()
{
    QFETCH(Request, request);
    QFETCH(Answer, answer);
    QFETCH(bool, playing);

    ui::MainWindow& w = window();
    if (playing) {
        QTest::mouseClick(w.button(game::Button::Command2), Qt::LeftButton);
        QVERIFY(w.box(game::Box::Picture1)->isVisible());
    }
    Farewell farewell;
    const int status = runUntilEnd(
        [&] {
            switch (request) {
            case Request::ExitButton:
                QTest::mouseClick(w.button(game::Button::Command1), Qt::LeftButton);
                break;
            case Request::Close:
                w.close();
                break;
            case Request::CloseBox:
                w.windowHandle()->close();
                break;
            }
        },
        answer, farewell);

    QVERIFY2(farewell.seen, "no farewell message appeared");
    QCOMPARE(farewell.text, QStringLiteral("Good bye... Have a nice day! ;-)"));
    QCOMPARE(farewell.title, QStringLiteral("Zelvaro"));
    QCOMPARE(farewell.icon, QMessageBox::Information);
    QCOMPARE(farewell.buttons, QList<QMessageBox::StandardButton>({ QMessageBox::Ok }));
    QVERIFY2(!farewell.mainWindowVisible, "the main window must be hidden before the message");
    QVERIFY2(!farewell.endedBeforeAnswer, "the program ended before the message was answered");
    QCOMPARE(status, 0);
    verifyNothingRunsAfterEnd();
}

// A close request that does not come through the main window's controls (the
// session ending) reaches it even while it is disabled under the about window: the
// same farewell, and the about window closes too.
void FarewellTest::closeFromOutsideWhileAboutIsOpen()
{
    ui::MainWindow& w = window();
    QVERIFY(uitest::chooseAbout(w));
    QVERIFY(QTest::qWaitForWindowExposed(&runtime().aboutWindow()));
    QVERIFY(!w.isInputEnabled());

    Farewell farewell;
    const int status = runUntilEnd([&] { w.windowHandle()->close(); }, Answer::Ok, farewell);
    QVERIFY(farewell.seen);
    QVERIFY(!farewell.mainWindowVisible);
    QCOMPARE(status, 0);
    verifyNothingRunsAfterEnd();
}

QTEST_MAIN(FarewellTest)
#include "farewell_tests.moc"
