// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace ui {

// A 30 x 30 letter box of the play field. It shows what was printed since its last
// clear(): clear() erases it and print() draws a line of text below what was printed
// since, starting at the top-left corner, in the box's font; a control character
// draws nothing. Every character typed while it has the keyboard focus is reported by
// characterTyped, one signal per character. A click never gives it the focus; only
// setFocus() does, or Tab where its owner allows it.
class LetterBox : public QWidget {
    Q_OBJECT

public:
    LetterBox(const QString& name, QWidget* parent);

    void clear();
    void print(const QString& text);
    // What was printed since the last clear(), one entry per print().
    [[nodiscard]] const QStringList& printed() const { return m_lines; }
    // The characters of printed() that draw, as assistive technology reads them.
    [[nodiscard]] QString shownText() const;

    // A letter box takes no text, so it has no text cursor for an input method to
    // follow: the box that has the focus moves with every tick, and a cursor rectangle
    // would be sent to the input method as often.
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // While a Batch lives, boxes that are cleared or printed into settle when the
    // outermost Batch ends, rather than each through a queued call of its own: a
    // tick clears and prints every falling box, and one handler is one batch.
    class Batch {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
    };

signals:
    // code is a UTF-16 code unit; a character beyond 16 bits arrives as U+FFFD.
    void characterTyped(char16_t code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Once the running handler is done, the box is repainted and its accessible
    // description (shownText()) announced only if what it shows has changed: the
    // clear and print of every tick mostly give back the same letter, which the
    // box still shows after a move.
    void scheduleSettle();
    void settle();
    // The box as it now shows, drawn or taken from the pictures already drawn.
    [[nodiscard]] QPixmap picture() const;

    QStringList m_lines;
    QStringList m_settledLines;
    bool m_settlePending = false;
    // All that the box's picture depends on.
    struct Look {
        QStringList lines;
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        QPalette::ColorGroup group = QPalette::Active;
        QFont font;
        bool operator==(const Look&) const = default;
    };
    // What the box last painted, and how it looked: a box that falls is painted anew
    // at each place, and copying a picture costs a fraction of drawing its edge and
    // text.
    mutable QPixmap m_picture;
    mutable Look m_look;
};

} // namespace ui
