// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The about window's look on its own: the about text and how it wraps, the title
// strip and frame as they are painted, and the "Ok" button taking Enter.

#include "tests/ui/uitest.h"

#include "ui/aboutwindow.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

namespace {

const QString firstSentence = QStringLiteral(
    "This is very Zelvaro, which uses only latin alphabet. It has 4 skill levels and 4 speed "
    "levels, so you can practise in typing. :-)");

// The start of every line of the text when it is laid out as a word-wrapping label
// lays out plain text, and the height of the lines together.
struct Wrap {
    QList<int> lineStarts;
    qreal height = 0;
};

Wrap wrap(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    Wrap result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        result.lineStarts.append(line.textStart());
        result.height += line.height();
    }
    layout.endLayout();
    return result;
}

} // namespace

class AboutLookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { uitest::prepareApplication(); }

    void creditAndClosingLineEachStartALine();
    void paintedStripFrameAndText();
    void enterPressesOk();
};

// Runs of blanks hang at the end of their line, so the credit would join the last
// line of the first sentence if the blanks were collapsed (rich text) or narrower
// than the rest of the line; the same goes for the closing line after the credit.
void AboutLookTest::creditAndClosingLineEachStartALine()
{
    ui::AboutWindow window;
    const QLabel* label = window.textLabel();
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->text(), ui::AboutWindow::aboutText());
    QVERIFY(label->text().startsWith(firstSentence));
    QCOMPARE(label->geometry(), QRect(16, 32, 281, 97));

    const Wrap w = wrap(label->text(), label->font(), label->contentsRect().width());
    const int credit = int(firstSentence.size()) + 87;
    const int closing = credit + 43 + 50;
    QVERIFY2(w.lineStarts.contains(credit), qPrintable(QString::number(w.lineStarts.size())));
    QVERIFY(w.lineStarts.contains(closing));
    QCOMPARE(w.lineStarts.last(), closing);
    QVERIFY2(w.height <= label->height(), qPrintable(QString::number(w.height)));
}

// The strip lies over the frame's top line and runs out at the right edge; the frame
// shows on the other three sides; "About..." is drawn light on the strip.
void AboutLookTest::paintedStripFrameAndText()
{
    ui::AboutWindow window;
    QCOMPARE(window.size(), QSize(312, 184));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QImage image = window.grab().toImage();
    const QColor strip = window.palette().color(QPalette::Highlight);
    const QColor stripText = window.palette().color(QPalette::HighlightedText);
    const QColor frame = window.palette().color(QPalette::WindowText);

    for (const QPoint p : { QPoint(0, 0), QPoint(311, 0), QPoint(0, 20), QPoint(311, 20) })
        QCOMPARE(image.pixelColor(p), strip);
    for (const QPoint p : { QPoint(0, 100), QPoint(311, 100), QPoint(150, 183), QPoint(0, 183) })
        QCOMPARE(image.pixelColor(p), frame);
    QCOMPARE(image.pixelColor(150, 21), window.palette().color(QPalette::Window));

    const auto* label2 = window.findChild<QLabel*>(QStringLiteral("Label2"));
    QVERIFY(label2);
    QCOMPARE(label2->text(), QStringLiteral("About..."));
    QCOMPARE(label2->pos(), QPoint(8, 4));
    QCOMPARE(label2->size(), label2->sizeHint());
    QVERIFY(label2->geometry().bottom() < 21);
    bool lettersDrawn = false;
    for (int y = label2->y(); y <= label2->geometry().bottom() && !lettersDrawn; ++y)
        for (int x = label2->x(); x <= label2->geometry().right() && !lettersDrawn; ++x)
            lettersDrawn = image.pixelColor(x, y) == stripText;
    QVERIFY(lettersDrawn);
}

// Space presses a focused button anywhere; Enter only a default one.
void AboutLookTest::enterPressesOk()
{
    ui::AboutWindow window;
    QSignalSpy clicked(window.okButton(), &QPushButton::clicked);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.focusWidget(), window.okButton());
    QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    QTest::keyClick(window.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicked.count(), 2);
}

QTEST_MAIN(AboutLookTest)
#include "aboutlook_tests.moc"
