// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the screen reader is given: each text as a polite announcement of the game's
// window, and the word that it is free again, neither at once, which would pile the
// texts up in its queue, nor later than a key the player presses in the window.
// Qt's announcements are read as Qt hands them to the platform's accessibility.

#include "ui/announcer.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QWidget>

class AnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void announces_data();
    void announces();

private:
    static void record(QAccessibleEvent* event);
    static inline QStringList announced; // "text@object:politeness"
};

void AnnouncerTest::record(QAccessibleEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() != QAccessible::Announcement)
        return;
    const auto* announcement = static_cast<QAccessibleAnnouncementEvent*>(event);
    announced.append(
        QStringLiteral("%1@%2:%3")
            .arg(announcement->message(), event->object()->objectName(),
                announcement->politeness() == QAccessible::AnnouncementPoliteness::Polite
                    ? QStringLiteral("polite")
                    : QStringLiteral("assertive")));
#else
    Q_UNUSED(event);
#endif
}

void AnnouncerTest::initTestCase()
{
    if (!ui::Announcer::available())
        QSKIP("Qt before 6.8 has no announcements");
    QAccessible::installUpdateHandler(&AnnouncerTest::record);
    QAccessible::setActive(true);
}

void AnnouncerTest::announces_data()
{
    // Steps: say:TEXT; key (a key pressed in the window); elsewhere (a key pressed in
    // another window); now=N (spoken() has come N times, once the events so far are
    // handled); free=N (wait until it has come N times, and no sooner after the first
    // text given since the last time than the texts given since would take to say).
    // announced: the texts as the platform got them, " | " apart.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("announced");
    QTest::newRow("free once the text is said, not at once")
        << "say:s, u|now=0|free=1|say:k|now=1|free=2"
        << "s, u@window:polite | k@window:polite";
    QTest::newRow("free at the player's key, for the window's keys only")
        << "say:Game over, hits 3, lost 4|elsewhere|now=0|key|now=1|say:Smiley|key|now=2"
        << "Game over, hits 3, lost 4@window:polite | Smiley@window:polite";
    QTest::newRow("a text given meanwhile is announced and waited for too")
        << "say:s|say:u|free=1|now=1"
        << "s@window:polite | u@window:polite";
}

void AnnouncerTest::announces()
{
    QFETCH(QString, steps);
    QFETCH(QString, announced);
    QWidget window;
    window.setObjectName(QStringLiteral("window"));
    QWidget other;
    window.show();
    other.show();
    AnnouncerTest::announced.clear();
    ui::Announcer announcer(window);
    int spoken = 0;
    // The time the texts given since the last spoken() take to say, in ms, and the time
    // since the first of them.
    qint64 owed = 0;
    QElapsedTimer since;
    qint64 waited = 0;
    connect(&announcer, &ui::Announcer::spoken, this, [&] {
        ++spoken;
        waited = since.elapsed();
        owed = 0;
    });

    for (const QString& step : steps.split(u'|')) {
        if (step.startsWith(u"say:")) {
            if (owed == 0)
                since.start();
            owed += ui::Announcer::SpeakingBaseMs
                + ui::Announcer::SpeakingPerCharacterMs * (step.size() - 4);
            announcer.say(step.mid(4));
        } else if (step == u"key" || step == u"elsewhere") {
            QTest::keyClick(step == u"key" ? &window : &other, Qt::Key_A);
        } else if (step.startsWith(u"now=")) {
            QCoreApplication::processEvents();
            QCOMPARE(spoken, step.mid(4).toInt());
        } else if (step.startsWith(u"free=")) {
            const qint64 due = owed;
            QTRY_COMPARE_WITH_TIMEOUT(spoken, step.mid(5).toInt(), 20000);
            // Qt's timers may end up to 5 % early.
            QVERIFY2(waited >= due * 9 / 10,
                qPrintable(QStringLiteral("free after %1 ms of %2").arg(waited).arg(due)));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(AnnouncerTest::announced.join(QStringLiteral(" | ")), announced);
}

QTEST_MAIN(AnnouncerTest)
#include "announcer_tests.moc"
