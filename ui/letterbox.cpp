// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/letterbox.h"

#include "ui/look.h"

#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace ui {

namespace {
    constexpr int border = 2; // a sunken 3-D edge
}

LetterBox::LetterBox(const QString& name, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(name);
    setFont(fonts::letter());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void LetterBox::clear()
{
    m_lines.clear();
    scheduleSettle();
}

void LetterBox::print(const QString& text)
{
    m_lines.append(text);
    scheduleSettle();
}

QString LetterBox::shownText() const
{
    // Control characters (the code 0 printed before the first game) draw nothing
    // and cannot travel in an accessibility message.
    QString shown;
    for (const QString& line : m_lines) {
        for (const QChar c : line) {
            if (c.isPrint())
                shown.append(c);
        }
    }
    return shown;
}

void LetterBox::scheduleSettle()
{
    if (m_settlePending)
        return;
    m_settlePending = true;
    QMetaObject::invokeMethod(this, &LetterBox::settle, Qt::QueuedConnection);
}

void LetterBox::settle()
{
    m_settlePending = false;
    if (m_lines != m_settledLines) {
        m_settledLines = m_lines;
        update();
    }
    const QString shown = shownText();
    if (shown != accessibleDescription())
        setAccessibleDescription(shown);
}

void LetterBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, border, &palette().brush(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    const QRect inside = rect().adjusted(border, border, -border, -border);
    painter.setClipRect(inside);
    const int lineHeight = fontMetrics().height();
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect line(
            inside.left(), inside.top() + i * lineHeight, inside.width() + 64, lineHeight);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_lines.at(i));
    }
}

void LetterBox::keyPressEvent(QKeyEvent* event)
{
    // Delete brings the character 127 and Alt the letter of a menu command: neither
    // types a character.
    const QString text = event->text();
    if (text.isEmpty() || text == QStringLiteral("\x7f")
        || (event->modifiers() & Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t code = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()
            && text.at(i + 1).isLowSurrogate()) {
            code = 0xFFFD;
            ++i;
        }
        emit characterTyped(code);
    }
}

} // namespace ui
