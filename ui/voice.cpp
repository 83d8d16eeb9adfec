// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/voice.h"

#include <QMetaObject>
#include <QPointer>

#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include <pthread.h>
#include <signal.h>

#include <speech-dispatcher/libspeechd.h>

namespace ui {

// What a voice shares with its worker thread and with the library's thread that
// reports the ends of messages. Whoever of them ends last frees it, so the worker
// and the library may outlive the voice. The worker touches nothing of Qt's but
// the post to the voice, made only while the voice exists.
struct VoiceLink {
    // The worker: opens the connection, says the texts in turn, closes.
    static void run(std::shared_ptr<VoiceLink> link);

    // Runs call(voice) later on the voice's thread, unless the voice is gone by then.
    template <typename Call> void tell(Call call);
    // From the library's thread: the service reports a message spoken or cancelled.
    void ended();
    // From the worker: the library did not open the connection; its report, if any.
    void notOpened(const char* report);
    // From the worker: speech is off, for this reason.
    void fail(const char* reason);

    std::mutex mutex;
    std::condition_variable wake;
    // Guarded by mutex:
    Voice* voice = nullptr; // null once the voice is destroyed
    std::deque<std::string> texts; // given, not yet handed to the library
    bool closing = false;
};

template <typename Call> void VoiceLink::tell(Call call)
{
    const std::lock_guard lock(mutex);
    // The voice cannot be destroyed meanwhile: its destructor takes the lock first,
    // and a call posted before is dropped with the voice.
    if (voice)
        QMetaObject::invokeMethod(voice, [voice = voice, call] { call(*voice); });
}

void VoiceLink::ended()
{
    tell([](Voice& voice) { voice.messageEnded(); });
}

void VoiceLink::notOpened(const char* report)
{
    tell([report = std::string(report ? report : "")](Voice& voice) {
        // The library's report may span lines; the player gets one.
        const QString text = QString::fromUtf8(report).simplified();
        // It tried to start the service, since none answered, and could not.
        const QString spawnFailed = QStringLiteral("Autospawn failed. ");
        if (const qsizetype at = text.indexOf(spawnFailed); at >= 0)
            voice.turnOff(QStringLiteral("speech-dispatcher is not running and cannot be started: ")
                + text.mid(at + spawnFailed.size()));
        else
            voice.turnOff(QStringLiteral("cannot connect to speech-dispatcher: ")
                + (text.isEmpty() ? QStringLiteral("no reason given") : text));
    });
}

void VoiceLink::fail(const char* reason)
{
    tell([reason](Voice& voice) { voice.turnOff(QString::fromUtf8(reason)); });
}

namespace {

    // The library's notifications carry the message's and the client's numbers but no
    // pointer of the caller's, so each open connection is given callbacks of its own:
    // one of these functions, bound to one entry of this table. One voice is open in
    // the program; the spare entries serve voices that are still closing.
    constexpr std::size_t Bindings = 4;
    struct Bound {
        std::mutex mutex;
        std::array<std::shared_ptr<VoiceLink>, Bindings> links;
    };
    // Never destroyed: the worker and the library's thread may outlive main().
    Bound& bound()
    {
        static auto* table = new Bound;
        return *table;
    }

    void messageEnded(std::size_t entry)
    {
        // The library ends its thread with pthread_cancel when the connection closes;
        // it must not stop in here, half-way through a post to Qt with a lock held.
        int cancel = 0;
        pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &cancel);
        std::shared_ptr<VoiceLink> link;
        {
            const std::lock_guard lock(bound().mutex);
            link = bound().links[entry];
        }
        if (link)
            link->ended();
        pthread_setcancelstate(cancel, nullptr);
    }

    template <std::size_t Entry> void ended(size_t, size_t, SPDNotificationType)
    {
        messageEnded(Entry);
    }

    template <std::size_t... Entry>
    constexpr std::array<SPDCallback, Bindings> callbacks(std::index_sequence<Entry...>)
    {
        return { &ended<Entry>... };
    }

    // The entry bound to link, or Bindings when all are taken.
    std::size_t bindLink(const std::shared_ptr<VoiceLink>& link)
    {
        const std::lock_guard lock(bound().mutex);
        for (std::size_t entry = 0; entry < Bindings; ++entry) {
            if (!bound().links[entry]) {
                bound().links[entry] = link;
                return entry;
            }
        }
        return Bindings;
    }

    void unbindLink(std::size_t entry)
    {
        const std::lock_guard lock(bound().mutex);
        bound().links[entry].reset();
    }

} // namespace

void VoiceLink::run(std::shared_ptr<VoiceLink> link)
{
    // A write to a service that went away fails with EPIPE instead of raising
    // SIGPIPE, which would end the program. Blocked here, the signal is blocked in
    // the library's thread too, which starts from this one, and in a service the
    // library starts, which ignores it anyway.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    char* report = nullptr;
    SPDConnection* connection
        = spd_open2("zelvaro", "main", nullptr, SPD_MODE_THREADED, nullptr, 1, &report);
    if (!connection) {
        link->notOpened(report);
        std::free(report);
        return;
    }
    static constexpr auto endedCallbacks = callbacks(std::make_index_sequence<Bindings>());
    const std::size_t entry = bindLink(link);
    if (entry == Bindings) {
        link->fail("too many voices open at once");
    } else {
        connection->callback_end = connection->callback_cancel = endedCallbacks[entry];
        // Without these notifications no message would ever be known to be over.
        if (spd_set_notification_on(connection, SPDNotification(SPD_END | SPD_CANCEL)) != 0)
            link->fail("speech-dispatcher does not report the end of a message");
        else {
            for (;;) {
                std::string text;
                {
                    std::unique_lock lock(link->mutex);
                    link->wake.wait(lock, [&] { return link->closing || !link->texts.empty(); });
                    if (link->closing)
                        break;
                    text = std::move(link->texts.front());
                    link->texts.pop_front();
                }
                if (spd_say(connection, SPD_MESSAGE, text.c_str()) < 0) {
                    link->fail("speech-dispatcher refused a message, or the connection to it "
                               "is lost");
                    break;
                }
            }
        }
    }
    // Joins the library's thread: no callback of this connection runs after it.
    spd_close(connection);
    if (entry != Bindings)
        unbindLink(entry);
}

Voice::Voice(QObject* parent)
    : QObject(parent)
    , m_link(std::make_shared<VoiceLink>())
{
    m_link->voice = this;
}

Voice::~Voice()
{
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->voice = nullptr;
        m_link->closing = true;
    }
    m_link->wake.notify_one();
}

void Voice::open()
{
    if (m_opened || m_off)
        return;
    m_opened = true;
    try {
        std::thread(&VoiceLink::run, m_link).detach();
    } catch (const std::system_error& error) {
        turnOff(
            QStringLiteral("cannot start a thread: %1").arg(QString::fromLocal8Bit(error.what())));
    }
}

void Voice::say(const QString& text)
{
    if (m_off)
        return;
    if (m_speaking)
        m_waiting.append(text);
    else
        give(text);
}

void Voice::give(const QString& text)
{
    m_speaking = true;
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->texts.push_back(text.toStdString());
    }
    m_link->wake.notify_one();
}

void Voice::messageEnded()
{
    if (!m_speaking || m_off)
        return;
    // A text waiting goes next, and after spoken(): when the listener learns that a
    // message is over, the service has not been given the next one yet, and a text
    // the listener gives meanwhile waits behind it.
    const bool next = !m_waiting.isEmpty();
    m_speaking = next;
    const QPointer<Voice> alive(this);
    emit spoken();
    if (alive && next && !m_off)
        give(m_waiting.takeFirst());
}

void Voice::turnOff(const QString& reason)
{
    if (m_off)
        return;
    m_off = true;
    m_waiting.clear();
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->closing = true;
        m_link->texts.clear();
    }
    m_link->wake.notify_one();
    std::fprintf(stderr, "zelvaro: speech is off: %s\n", qPrintable(reason));
    emit off();
}

} // namespace ui
