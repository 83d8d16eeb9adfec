// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/letterbox.h"

#include "ui/look.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <qdrawutil.h>

#include <vector>

namespace ui {

namespace {
    constexpr int border = 2; // a sunken 3-D edge

    // Batches open, and the boxes waiting for the outermost one to end.
    int batchDepth = 0;
    std::vector<QPointer<LetterBox>> waiting;

    // The characters of a printed line that draw. A control character, such as the
    // code 0 that the ticks before the first game print, draws nothing: left to the
    // font it would be a missing-glyph box, shown at the first Start until the first
    // tick. Nor can it travel in an accessibility message.
    QString drawn(const QString& line)
    {
        QString shown;
        for (const QChar c : line) {
            if (c.isPrint())
                shown.append(c);
        }
        return shown;
    }
} // namespace

LetterBox::Batch::Batch() { ++batchDepth; }

LetterBox::Batch::~Batch()
{
    if (--batchDepth > 0)
        return;
    // Settling runs no handler and schedules nothing, so the list stays as it is
    // meanwhile; it keeps its room for the next handler.
    for (const QPointer<LetterBox>& box : waiting) {
        if (box)
            box->settle();
    }
    waiting.clear();
}

LetterBox::LetterBox(const QString& name, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(name);
    setFont(fonts::letter());
    // The box paints all of itself, so a move copies its pixels on the display
    // server and repaints only the strip it uncovers.
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
    QString shown;
    for (const QString& line : m_lines)
        shown += drawn(line);
    return shown;
}

void LetterBox::scheduleSettle()
{
    if (m_settlePending)
        return;
    m_settlePending = true;
    if (batchDepth > 0)
        waiting.emplace_back(this);
    else
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

QVariant LetterBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return QRect();
    return QWidget::inputMethodQuery(query);
}

void LetterBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture());
}

QPixmap LetterBox::picture() const
{
    const QPalette& colours = palette();
    const qreal ratio = devicePixelRatioF();
    const Look look { m_lines, size(), ratio, colours.cacheKey(), colours.currentColorGroup(),
        font() };
    if (look == m_look && !m_picture.isNull())
        return m_picture;
    m_look = look;

    // Every box of one size, font and colours that shows the same text looks the
    // same, so the boxes share their pictures: a new letter is mostly one already
    // drawn. The key names all that the picture depends on.
    QString key = QStringLiteral("zelvaro-letterbox %1x%2@%3 %4")
                      .arg(width())
                      .arg(height())
                      .arg(ratio)
                      .arg(font().key());
    for (const QPalette::ColorRole role : { QPalette::Button, QPalette::ButtonText, QPalette::Light,
             QPalette::Midlight, QPalette::Dark, QPalette::Shadow })
        key += QLatin1Char(' ') + QString::number(colours.color(role).rgba(), 16);
    for (const QString& line : m_lines)
        key += QLatin1Char('\n') + line;
    if (QPixmapCache::find(key, &m_picture))
        return m_picture;

    m_picture = QPixmap(size() * ratio);
    m_picture.setDevicePixelRatio(ratio);
    // At a fractional scale the panel leaves the last row and column of device pixels
    // unpainted; they show the button colour rather than whatever the pixmap held.
    m_picture.fill(colours.color(QPalette::Button));
    QPainter painter(&m_picture);
    painter.setFont(font());
    qDrawShadePanel(&painter, rect(), colours, true, border, &colours.brush(QPalette::Button));
    painter.setPen(colours.color(QPalette::ButtonText));
    const QRect inside = rect().adjusted(border, border, -border, -border);
    painter.setClipRect(inside);
    const int lineHeight = fontMetrics().height();
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect line(
            inside.left(), inside.top() + i * lineHeight, inside.width() + 64, lineHeight);
        painter.drawText(
            line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, drawn(m_lines.at(i)));
    }
    painter.end();
    QPixmapCache::insert(key, m_picture);
    return m_picture;
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
