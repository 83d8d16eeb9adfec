// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window as built and as the start-up leaves it: its size, the places and
// captions of its controls, the keyboard order, the timers and the menus.

#include "tests/ui/uitest.h"

#include "ui/aboutwindow.h"
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
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

QWidget* control(ui::MainWindow& window, const char* name)
{
    return window.clientArea()->findChild<QWidget*>(QString::fromLatin1(name));
}

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (const QAction* action : actions)
        result.append(action->text());
    return result;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { uitest::prepareApplication(); }
    void cleanup() { m_runtime.reset(); }

    void clientAreaIsFixedBelowMenuBar();
    void outerRectangleIsCentredWithAnyFrame_data();
    void outerRectangleIsCentredWithAnyFrame();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void labelsSizeToCaptionKeepingTopLeft();
    void lettersBoxesLieAboveGameOver();
    void letterBoxesShowWhatWasPrintedLast();
    void focusMovesInDesignedOrder();
    void timersRunFromCreation();
    void menuTreeHasNoShortcutsNorGroups();
    void startUpLeavesIdleState();

private:
    ui::QtRuntime& startRuntime()
    {
        m_runtime = std::make_unique<ui::QtRuntime>();
        return *m_runtime;
    }

    std::unique_ptr<ui::QtRuntime> m_runtime;
};

void MainWindowTest::clientAreaIsFixedBelowMenuBar()
{
    ui::QtRuntime& rt = startRuntime();
    QVERIFY(uitest::startShown(rt));
    ui::MainWindow& window = rt.mainWindow();

    const int menuHeight = window.menuBar()->height();
    QVERIFY(menuHeight > 0);
    QCOMPARE(window.clientArea()->geometry(), QRect(0, menuHeight, 510, 387));
    QCOMPARE(window.size(), QSize(510, menuHeight + 387));
    QCOMPARE(window.windowTitle(), QStringLiteral("Zelvaro"));

    // Neither the program nor the window system can resize it.
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.windowHandle()->minimumSize(), window.windowHandle()->maximumSize());
    window.resize(800, 600);
    QCoreApplication::processEvents();
    QCOMPARE(window.size(), QSize(510, menuHeight + 387));
    QCOMPARE(window.clientArea()->size(), QSize(510, 387));
}

void MainWindowTest::outerRectangleIsCentredWithAnyFrame_data()
{
    QTest::addColumn<QMargins>("frame");
    QTest::newRow("no window manager") << QMargins();
    QTest::newRow("openbox") << QMargins(1, 20, 1, 1);
    QTest::newRow("mutter") << QMargins(0, 37, 0, 0);
    QTest::newRow("uneven") << QMargins(3, 24, 8, 7);
}

// Placed before it is first shown, with the frame the window manager told: the
// frame, title bar and menu bar centred together, and the window at its fixed size
// even when the window system last reported another size of the native window.
void MainWindowTest::outerRectangleIsCentredWithAnyFrame()
{
    QFETCH(QMargins, frame);
    ui::MainWindow window;
    window.resize(640, 480); // what Qt gives a new native window
    window.centreOnScreen(frame);

    QCOMPARE(window.size(), QSize(510, window.menuBar()->sizeHint().height() + 387));
    const QPointF off = QRectF(window.geometry().marginsAdded(frame)).center()
        - QRectF(window.screen()->availableGeometry()).center();
    QVERIFY2(qAbs(off.x()) <= 0.5 && qAbs(off.y()) <= 0.5,
        qPrintable(QStringLiteral("off the centre by %1, %2").arg(off.x()).arg(off.y())));
}

void MainWindowTest::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    const auto row = [](const char* name, const char* caption, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(caption) << geometry;
    };

    row("Picture1", "", { 40, 0, 30, 30 });
    row("Picture2", "", { 104, 0, 30, 30 });
    row("Picture3", "", { 183, 176, 30, 30 });
    row("Picture4", "", { 184, 0, 30, 30 });
    row("Picture5", "", { 232, 0, 30, 30 });
    row("Command2", "Start", { 384, 80, 100, 33 });
    row("Command3", "Stop", { 384, 128, 100, 33 });
    row("Check1", "Pause", { 392, 184, 97, 17 });
    row("Command1", "Exit", { 384, 240, 100, 33 });
    // Labels take the size of their caption; a width or height of 0 is left to the
    // font, the others are exact. The panel's face has a 16-pixel line.
    row("Label5", "Game Over", { 24, 136, 0, 0 });
    row("Label3", "Hits:", { 384, 16, 0, 16 });
    row("Label1", "0", { 424, 16, 8, 16 });
    row("Label4", "Lost:", { 384, 40, 0, 16 });
    row("Label2", "0", { 424, 40, 8, 16 });
    row("Label10", "", { 456, 16, 8, 33 });
    row("Label6", "Level:", { 384, 312, 0, 16 });
    row("Label8", "0", { 432, 312, 8, 16 });
    row("Label7", "Acceleration:", { 376, 336, 0, 16 });
    row("Label9", "0", { 472, 336, 8, 16 });
}

// The window as created and shown, before the start-up changes anything: every control
// is visible and enabled and stands where the layout puts it, each label at the size
// of its caption (Game Over takes it when it first shows).
void MainWindowTest::controlsStandWhereDesigned()
{
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);

    ui::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* widget = control(window, QTest::currentDataTag());
    QVERIFY2(widget, "no such control");
    QVERIFY(!widget->isHidden());
    QVERIFY(widget->isEnabled());
    QCOMPARE(widget->pos(), geometry.topLeft());

    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
        QVERIFY(label->focusPolicy() == Qt::NoFocus);
        if (!caption.isEmpty())
            QCOMPARE(label->size(), label->sizeHint());
        if (geometry.width() > 0)
            QCOMPARE(label->width(), geometry.width());
        if (geometry.height() > 0)
            QCOMPARE(label->height(), geometry.height());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->size(), geometry.size());
    } else {
        QVERIFY(qobject_cast<ui::LetterBox*>(widget));
        QCOMPARE(widget->size(), geometry.size());
    }
}

// Label1 and Label2 stay at x = 424 and widen to the right as the counts gain digits;
// the smiley takes the size of its text.
void MainWindowTest::labelsSizeToCaptionKeepingTopLeft()
{
    ui::QtRuntime& rt = startRuntime();
    ui::MainWindow& window = rt.mainWindow();
    const struct {
        game::Label id;
        QLabel* label;
        QPoint place;
    } counters[] = { { game::Label::Label1, window.label(game::Label::Label1), { 424, 16 } },
        { game::Label::Label2, window.label(game::Label::Label2), { 424, 40 } } };
    for (const auto& counter : counters) {
        rt.setCaption(counter.id, "12345");
        QCOMPARE(counter.label->text(), QStringLiteral("12345"));
        QCOMPARE(counter.label->pos(), counter.place);
        QCOMPARE(counter.label->size(), counter.label->sizeHint());
        QVERIFY(counter.label->width() >= 5 * 7);
        rt.setCaption(counter.id, "7");
        QCOMPARE(counter.label->geometry(), QRect(counter.place, QSize(8, 16)));
    }

    QLabel* smiley = window.label(game::Label::Label10);
    rt.setCaption(game::Label::Label10, ":-)");
    QCOMPARE(smiley->pos(), QPoint(456, 16));
    QCOMPARE(smiley->size(), smiley->sizeHint());
    QVERIFY(smiley->width() > 8);
    // It must still fit in the panel.
    QVERIFY(smiley->geometry().right() < 510);
}

void MainWindowTest::lettersBoxesLieAboveGameOver()
{
    ui::MainWindow window;
    // Picture3 is created at (183, 176), inside "Game Over".
    QVERIFY(window.label(game::Label::Label5)->geometry().contains(QPoint(190, 180)));
    QCOMPARE(window.clientArea()->childAt(190, 180), window.box(game::Box::Picture3));
}

// A box shows what was printed into it since its last clear, in its current
// colours, however often it was drawn before and whichever box drew that text
// first: the boxes keep and share the pictures they have drawn.
void MainWindowTest::letterBoxesShowWhatWasPrintedLast()
{
    ui::MainWindow window;
    const auto look = [](ui::LetterBox* box, const QString& letter) {
        box->clear();
        box->print(letter);
        return box->grab().toImage();
    };
    ui::LetterBox* first = window.box(game::Box::Picture1);
    ui::LetterBox* second = window.box(game::Box::Picture2);
    const QString q = QStringLiteral("q"), w = QStringLiteral("w");

    const QImage firstQ = look(first, q);
    const QImage firstW = look(first, w);
    QVERIFY(firstQ != firstW);
    QCOMPARE(look(second, w), firstW);
    QCOMPARE(look(first, q), firstQ);

    // The about window greys the play field; the boxes follow.
    window.clientArea()->setEnabled(false);
    const QImage greyQ = look(first, q);
    QVERIFY(greyQ != firstQ);
    QCOMPARE(look(second, q), greyQ);
    window.clientArea()->setEnabled(true);
    QCOMPARE(look(second, q), firstQ);

    // The code 0 that the ticks before the first game print draws nothing: the boxes
    // show it at the first Start, until the first tick.
    const QImage cleared = look(first, QString());
    QCOMPARE(look(second, QString(QChar(0))), cleared);
}

// Among the buttons and the check box the keyboard order is Start, Exit, Stop, Pause;
// after the start-up the window opens with the focus on Start.
void MainWindowTest::focusMovesInDesignedOrder()
{
    ui::QtRuntime& rt = startRuntime();
    ui::MainWindow& window = rt.mainWindow();
    QWidget* start = window.button(game::Button::Command2);

    QList<QWidget*> order;
    QWidget* w = start;
    for (int step = 0; step < 100 && order.size() < 4; ++step, w = w->nextInFocusChain()) {
        if (qobject_cast<QAbstractButton*>(w) && !order.contains(w))
            order.append(w);
    }
    const QList<QWidget*> designed
        = { window.button(game::Button::Command2), window.button(game::Button::Command1),
              window.button(game::Button::Command3), window.checkBox(game::CheckBox::Check1) };
    QCOMPARE(order, designed);

    QVERIFY(uitest::startShown(rt));
    QTRY_COMPARE(QApplication::focusWidget(), start);

    // With the boxes hidden and Pause disabled, Tab visits only the three buttons.
    const QList<QWidget*> tabbed
        = { window.button(game::Button::Command1), window.button(game::Button::Command3), start };
    for (QWidget* expected : tabbed) {
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
}

void MainWindowTest::timersRunFromCreation()
{
    {
        ui::MainWindow window;
        const struct {
            QTimer* timer;
            int interval;
        } timers[] = { { window.timer(game::Timer::Timer1), 50 },
            { window.timer(game::Timer::Timer2), 1000 } };
        for (const auto& t : timers) {
            QVERIFY(t.timer->isActive());
            QCOMPARE(t.timer->interval(), t.interval);
            QCOMPARE(t.timer->timerType(), Qt::PreciseTimer);
            QVERIFY(!t.timer->isSingleShot());
        }
    }
    ui::QtRuntime& rt = startRuntime();
    rt.start();
    // Enabled as the game sees it, asleep until a tick can change something.
    QVERIFY(rt.tickEnabled());
    QVERIFY(!rt.mainWindow().timer(game::Timer::Timer1)->isActive());
    QVERIFY(!rt.mainWindow().timer(game::Timer::Timer2)->isActive());
}

// No item has a shortcut or an access letter, and the items are not grouped: a group
// would move the tick mark by itself, while only the game sets it.
void MainWindowTest::menuTreeHasNoShortcutsNorGroups()
{
    ui::MainWindow window;
    const QList<QAction*> bar = window.menuBar()->actions();
    QCOMPARE(texts(bar), QStringList({ "Options", "Help" }));
    QCOMPARE(bar.at(0)->menu(), uitest::popup(window, game::Menu::menu_options));
    QCOMPARE(bar.at(1)->menu(), uitest::popup(window, game::Menu::help));

    const QList<QAction*> options = uitest::popup(window, game::Menu::menu_options)->actions();
    QCOMPARE(texts(options), QStringList({ "Level", "Acceleration" }));
    const QStringList numerals = { "I", "II", "III", "IV" };
    QList<QAction*> all = bar + options;
    for (int i = 0; i < 2; ++i) {
        QMenu* sub = options.at(i)->menu();
        QVERIFY(sub);
        QCOMPARE(texts(sub->actions()), numerals);
        for (int k = 0; k < numerals.size(); ++k) {
            QAction* item = sub->actions().at(k);
            QCOMPARE(item,
                i == 0 ? window.menu(game::levelItems[k].id) : window.menu(game::speedItems[k].id));
            QVERIFY(item->isCheckable());
            QVERIFY(!item->isChecked());
        }
        all += sub->actions();
    }
    QCOMPARE(texts(uitest::popup(window, game::Menu::help)->actions()), QStringList({ "About" }));
    QCOMPARE(uitest::popup(window, game::Menu::help)->actions().at(0), window.aboutItem());
    all += window.aboutItem();

    for (const QAction* action : std::as_const(all)) {
        QVERIFY2(action->shortcuts().isEmpty(), qPrintable(action->text()));
        QVERIFY2(!action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
        QVERIFY2(!action->actionGroup(), qPrintable(action->text()));
        QVERIFY(action->isEnabled());
        QVERIFY(action->isVisible());
    }

    // Two ticks at once stay: nothing but the game clears a tick.
    window.menu(game::levelItems[0].id)->setChecked(true);
    window.menu(game::levelItems[2].id)->trigger();
    QVERIFY(window.menu(game::levelItems[0].id)->isChecked());
}

void MainWindowTest::startUpLeavesIdleState()
{
    ui::QtRuntime& rt = startRuntime();
    QVERIFY(uitest::startShown(rt));
    ui::MainWindow& window = rt.mainWindow();

    for (int i = 0; i < game::Levels; ++i)
        QCOMPARE(window.menu(game::levelItems[i].id)->isChecked(), i == 0);
    for (int i = 0; i < game::Speeds; ++i)
        QCOMPARE(window.menu(game::speedItems[i].id)->isChecked(), i == 0);
    QCOMPARE(window.label(game::Label::Label8)->text(), QStringLiteral("1"));
    QCOMPARE(window.label(game::Label::Label9)->text(), QStringLiteral("1"));
    QCOMPARE(uitest::look(rt), test::WindowState::Idle);
    QVERIFY(window.label(game::Label::Label10)->isHidden());
    QVERIFY(!window.timer(game::Timer::Timer2)->isActive());
    QVERIFY(window.button(game::Button::Command1)->isEnabled());
    QVERIFY(window.isInputEnabled());

    // The main window is the only window shown: no about window, no message box. The
    // about window exists already, hidden, as the start-up made it, and its controls
    // wait until it first shows: the main window's first showing does not build them.
    for (const QWidget* shown : QApplication::topLevelWidgets())
        QVERIFY2(shown == &window || !shown->isVisible(), qPrintable(shown->objectName()));
    const auto* about = window.findChild<ui::AboutWindow*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(about && about->isHidden());
    QVERIFY(about->findChildren<QWidget*>().isEmpty());

    // Nothing moves before the first Start: the counters show the 0 they were made with.
    QCOMPARE(window.label(game::Label::Label1)->text(), QStringLiteral("0"));
    QCOMPARE(window.label(game::Label::Label2)->text(), QStringLiteral("0"));
    QCOMPARE(uitest::look(rt), test::WindowState::Idle);
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_tests.moc"
