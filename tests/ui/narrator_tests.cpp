// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the narrator says in the turns of a game that a scripted desktop run can
// hardly bring about: a lane that gets the same letter again, a letter that falls
// out, letters that appear while the voice still speaks, the smiley, a lost game.
// The game runs through its own handlers; the test is the voice.

#include "tests/ui/uitest.h"

#include "game/form1.h"
#include "game/form2.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/narrator.h"
#include "ui/qtruntime.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

class NarratorTest : public uitest::StartedProgramTest {
    Q_OBJECT

private slots:
    void saysWhatAppears_data();
    void saysWhatAppears();

private:
    void run(const QString& step);
    // A said text with each letter replaced by the number of the lane that shows it
    // as it is said ("s, u" becomes "1, 2"): a letter no lane shows stays a letter.
    [[nodiscard]] QString byLane(const QString& text);
};

void NarratorTest::saysWhatAppears_data()
{
    // Steps: start, stop (the buttons); tick (one Timer1 tick); hitN (type lane N's
    // letter); miss (type a letter no lane shows); againN (lane N goes back to the
    // top with the letter it had); fallN (lane N's letter falls out at the next
    // tick); hits=N (the counter); blink (one Timer2 tick); about (About opened and
    // closed); free (the voice has finished speaking). Said: the texts, " | " apart.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("said");
    QTest::newRow("every new letter, the same one too, after it is printed")
        << "start tick free hit2 tick free hits=10 fall1 free tick free again1 free tick"
        << "1, 2 | 2 | 1 | 1";
    QTest::newRow("what shows when the voice is free, in the order it appeared")
        << "start tick hit1 tick hit2 tick hit1 free tick free"
        << "1, 2 | 2 | 1";
    QTest::newRow("the smiley once, and nothing at Stop")
        << "start tick free hits=170 tick free blink blink tick free stop free"
        << "1, 2 | Smiley";
    QTest::newRow("a lost game once, also lost before its first tick")
        << "start tick free hit1 miss miss free about free start miss free"
        << "1, 2 | Game over, hits 1, lost 2 | Game over, hits 0, lost 1";
}

void NarratorTest::saysWhatAppears()
{
    QFETCH(QString, steps);
    QFETCH(QString, said);
    // Only the steps tick.
    window().timer(game::Timer::Timer1)->stop();
    ui::Narrator narrator(window(), runtime().form1());
    QStringList texts;
    connect(&narrator, &ui::Narrator::speak, this,
        [&](const QString& text) { texts.append(byLane(text)); });

    for (const QString& step : steps.split(u' ')) {
        run(step);
        if (step == u"free")
            narrator.spoken();
        // What a step brings about is said after its handler, as in the program.
        QCoreApplication::processEvents();
    }
    QCOMPARE(texts.join(QStringLiteral(" | ")), said);
}

void NarratorTest::run(const QString& step)
{
    ui::MainWindow& w = window();
    game::Form1& form1 = runtime().form1();
    game::GameState& s = form1.state();
    const int lane = step.right(1).toInt();
    if (step == u"start" || step == u"stop") {
        QTest::mouseClick(
            w.button(step == u"start" ? game::Button::Command2 : game::Button::Command3),
            Qt::LeftButton);
    } else if (step == u"tick") {
        form1.Timer1_Timer();
    } else if (step.startsWith(u"hit") && lane > 0) {
        QTest::keyClick(w.windowHandle(), char(s.Letters[lane - 1]));
    } else if (step == u"miss") {
        QTest::keyClick(w.windowHandle(), char(uitest::missingLetter(s)));
    } else if (step.startsWith(u"again")) {
        const game::Int16 letter = s.Letters[lane - 1];
        form1.ReplaceLetter(lane, s.level());
        s.Letters[lane - 1] = letter;
    } else if (step.startsWith(u"fall")) {
        runtime().setTop(game::laneBox(lane), runtime().scaleHeight() - float(s.FallStep));
        form1.Timer1_Timer();
    } else if (step.startsWith(u"hits=")) {
        s.Hits = static_cast<game::Int16>(step.mid(5).toInt());
    } else if (step == u"blink") {
        form1.Timer2_Timer();
    } else if (step == u"about") {
        form1.about_Click();
        runtime().form2().Command1_Click();
    } else {
        QVERIFY2(step == u"free", qPrintable(QStringLiteral("unknown step ") + step));
    }
}

QString NarratorTest::byLane(const QString& text)
{
    QStringList parts = text.split(QStringLiteral(", "));
    for (QString& part : parts) {
        for (int lane = 1; lane <= game::Lanes; ++lane) {
            const ui::LetterBox* box = window().box(game::laneBox(lane));
            if (part.size() == 1 && !box->isHidden() && box->shownText() == part)
                part = QString::number(lane);
        }
    }
    return parts.join(QStringLiteral(", "));
}

QTEST_MAIN(NarratorTest)
#include "narrator_tests.moc"
