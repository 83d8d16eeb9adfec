// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/announcer.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace ui {

Announcer::Announcer(QWidget& window, QObject* parent)
    : QObject(parent)
    , m_window(window)
{
    m_speaking.setSingleShot(true);
    connect(&m_speaking, &QTimer::timeout, this, &Announcer::free);
    // The keys reach whichever of the window's widgets has the focus.
    QCoreApplication::instance()->installEventFilter(this);
}

void Announcer::say(const QString& text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(&m_window, text);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
#endif
    const int left = m_speaking.isActive() ? std::max(m_speaking.remainingTime(), 0) : 0;
    m_speaking.start(left + SpeakingBaseMs + SpeakingPerCharacterMs * int(text.size()));
}

bool Announcer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_speaking.isActive() && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == &m_window) {
        // Once the game has taken the key: a letter it hits is not said any more.
        m_speaking.stop();
        QMetaObject::invokeMethod(this, &Announcer::free, Qt::QueuedConnection);
    }
    return false;
}

void Announcer::free()
{
    // A text given since the key is still being said.
    if (m_speaking.isActive())
        return;
    emit spoken();
}

} // namespace ui
