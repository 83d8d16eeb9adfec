// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the screen reader is given: each text as a polite announcement of the game's
// window, and the word that it is free again, neither sooner than the text takes to
// say, which would pile the texts up in its queue, nor later than a key the player
// presses in the window. Read as Qt hands the announcements to the platform.

#include "ui/announcer.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

class AnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void announces_data();
    void announces();

private:
    static inline QStringList announced; // "text@object", polite ones only
};

void AnnouncerTest::initTestCase()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() != QAccessible::Announcement)
            return;
        const auto* announcement = static_cast<QAccessibleAnnouncementEvent*>(event);
        if (announcement->politeness() == QAccessible::AnnouncementPoliteness::Polite)
            announced.append(announcement->message() + u'@' + event->object()->objectName());
    });
    QAccessible::setActive(true);
#else
    QSKIP("Qt before 6.8 has no announcements");
#endif
}

void AnnouncerTest::announces_data()
{
    // Steps: say:TEXT; key (a key pressed in the window); elsewhere (in another
    // window); now=N (spoken() has come N times once the events so far are handled);
    // free=N (wait until it has come N times, no sooner than the last text takes to
    // say). announced: the texts as the platform got them, " | " apart.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("announced");
    QTest::newRow("free once the text is said")
        << "say:s, u|now=0|free=1|say:Game over, hits 3, lost 4|free=2"
        << "s, u@window | Game over, hits 3, lost 4@window";
    QTest::newRow("free at the player's key, for the window's keys only")
        << "say:Smiley|elsewhere|now=0|key|now=1"
        << "Smiley@window";
}

void AnnouncerTest::announces()
{
    QFETCH(QString, steps);
    QFETCH(QString, announced);
    QWidget window;
    window.setObjectName(QStringLiteral("window"));
    QWidget other;
    AnnouncerTest::announced.clear();
    ui::Announcer announcer(window);
    int spoken = 0;
    QElapsedTimer since;
    qint64 waited = 0;
    qint64 due = 0; // what the last text takes to say, in ms
    connect(&announcer, &ui::Announcer::spoken, this, [&] {
        ++spoken;
        waited = since.elapsed();
    });

    for (const QString& step : steps.split(u'|')) {
        const int count = step.section(u'=', 1).toInt();
        if (step.startsWith(u"say:")) {
            since.start();
            due = ui::Announcer::SpeakingBaseMs
                + ui::Announcer::SpeakingPerCharacterMs * (step.size() - 4);
            announcer.say(step.mid(4));
        } else if (step == u"key" || step == u"elsewhere") {
            QTest::keyClick(step == u"key" ? &window : &other, Qt::Key_A);
        } else if (step.startsWith(u"now=")) {
            QCoreApplication::processEvents();
            QCOMPARE(spoken, count);
        } else if (step.startsWith(u"free=")) {
            QTRY_COMPARE_WITH_TIMEOUT(spoken, count, 20000);
            // Qt's timers may end up to 5 % early.
            QVERIFY2(waited >= due * 9 / 10, qPrintable(QString::number(waited)));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(AnnouncerTest::announced.join(QStringLiteral(" | ")), announced);
}

QTEST_MAIN(AnnouncerTest)
#include "announcer_tests.moc"
