// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/speech.h"

#include "ui/narrator.h"
#include "ui/qtruntime.h"
#include "ui/voice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace app {

Speech::Speech(ui::QtRuntime& runtime, CommandLine::Speech speech)
    : m_runtime(runtime)
{
    if (speech == CommandLine::Speech::On)
        start();
    else if (speech == CommandLine::Speech::WithScreenReader)
        askScreenReader();
}

void Speech::askScreenReader()
{
    // Desktops set the property when the user turns the screen reader on; without
    // an answer (no session bus, no accessibility bus) the game stays silent.
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"),
        QStringLiteral("/org/a11y/bus"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    ask << QStringLiteral("org.a11y.Status") << QStringLiteral("ScreenReaderEnabled");
    auto* answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ask), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        answer->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *answer;
        if (reply.isValid() && reply.value().variant().toBool())
            start();
    });
}

void Speech::start()
{
    if (m_runtime.ended())
        return;
    auto* voice = new ui::Voice(this);
    auto* narrator = new ui::Narrator(m_runtime.mainWindow(), m_runtime.form1(), this);
    connect(narrator, &ui::Narrator::speak, voice, &ui::Voice::say);
    connect(voice, &ui::Voice::spoken, narrator, &ui::Narrator::spoken);
    // Without a voice the narrator would watch the window for nothing.
    connect(voice, &ui::Voice::off, this, [voice, narrator] {
        narrator->deleteLater();
        voice->deleteLater();
    });
    voice->open();
}

} // namespace app
