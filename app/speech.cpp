// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/speech.h"

#include "ui/announcer.h"
#include "ui/mainwindow.h"
#include "ui/narrator.h"
#include "ui/qtruntime.h"
#include "ui/voice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace app {

namespace {

    // A narrator of the runtime's main window whose texts speaker says.
    template <typename Speaker>
    ui::Narrator* narrateTo(ui::QtRuntime& runtime, Speaker* speaker, QObject* parent)
    {
        auto* narrator = new ui::Narrator(runtime.mainWindow(), runtime.form1(), parent);
        QObject::connect(narrator, &ui::Narrator::speak, speaker, &Speaker::say);
        QObject::connect(speaker, &Speaker::spoken, narrator, &ui::Narrator::spoken);
        return narrator;
    }

} // namespace

Speech::Speech(ui::QtRuntime& runtime, CommandLine::Speech speech)
    : m_runtime(runtime)
{
    if (speech == CommandLine::Speech::On)
        speakOwnVoice();
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
        if (!reply.isValid() || !reply.value().variant().toBool())
            return;
        if (ui::Announcer::available())
            speakThroughScreenReader();
        else
            speakOwnVoice();
    });
}

void Speech::speakThroughScreenReader()
{
    if (m_runtime.ended())
        return;
    narrateTo(m_runtime, new ui::Announcer(m_runtime.mainWindow(), this), this);
}

void Speech::speakOwnVoice()
{
    if (m_runtime.ended())
        return;
    auto* voice = new ui::Voice(this);
    ui::Narrator* narrator = narrateTo(m_runtime, voice, this);
    // Without a voice the narrator would watch the window for nothing.
    connect(voice, &ui::Voice::off, this, [voice, narrator] {
        narrator->deleteLater();
        voice->deleteLater();
    });
    voice->open();
}

} // namespace app
