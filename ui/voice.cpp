// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/voice.h"

#include <QProcess>
#include <QSocketNotifier>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace ui {

namespace {

    // Where speech-dispatcher listens, as its own clients find it: SPEECHD_ADDRESS,
    // else speechd.sock in the user's runtime folder (the cache folder without one).
    // Empty, with error set, when there is no unix socket to try.
    QByteArray socketPath(QString& error)
    {
        const QByteArray address = qgetenv("SPEECHD_ADDRESS");
        if (address.startsWith("unix_socket:"))
            return address.mid(int(sizeof "unix_socket:") - 1);
        if (!address.isEmpty() && address != "unix_socket") {
            error = QStringLiteral("SPEECHD_ADDRESS is \"%1\"; only a unix_socket address is "
                                   "supported")
                        .arg(QString::fromLocal8Bit(address));
            return {};
        }
        QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
        if (folder.isEmpty())
            folder = qgetenv("XDG_CACHE_HOME");
        if (folder.isEmpty() && !qgetenv("HOME").isEmpty())
            folder = qgetenv("HOME") + "/.cache";
        if (folder.isEmpty()) {
            error = QStringLiteral("neither XDG_RUNTIME_DIR nor HOME is set");
            return {};
        }
        return folder + "/speech-dispatcher/speechd.sock";
    }

    // The user part of the client name, which may hold letters, digits, '-' and '_'.
    QByteArray userName()
    {
        QByteArray name = qgetenv("USER");
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
                c = '_';
        }
        return name.isEmpty() ? QByteArray("user") : name;
    }

} // namespace

Voice::Voice(QObject* parent)
    : QObject(parent)
{
}

Voice::~Voice()
{
    delete m_readable;
    delete m_writable;
    if (m_fd >= 0)
        ::close(m_fd);
}

void Voice::open()
{
    if (m_state != State::Closed)
        return;
    QString error;
    m_path = socketPath(error);
    if (m_path.isEmpty()) {
        turnOff(error);
        return;
    }
    const int reason = connectSocket();
    // No service listens there: start it, once, and try again when it is up.
    if (reason == ENOENT || reason == ECONNREFUSED)
        startService();
    else if (reason != 0)
        turnOff(cannotConnect(reason));
}

int Voice::connectSocket()
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (m_path.size() >= qsizetype(sizeof address.sun_path))
        return ENAMETOOLONG;
    std::memcpy(address.sun_path, m_path.constData(), size_t(m_path.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int reason = errno;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return reason;
    }

    m_state = State::Connected;
    m_readable = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &Voice::readReplies);
    m_writable = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &Voice::flushOutput);
    // The name lets the user give the game a voice of its own in speechd.conf
    // (BeginClient "*:zelvaro:*"). Without the notifications no message would
    // ever be known to be over.
    m_commands = QList<QByteArray> { "SET self CLIENT_NAME " + userName() + ":zelvaro:main",
        "SET self PRIORITY message", "SET self NOTIFICATION end on",
        "SET self NOTIFICATION cancel on" }
        + m_commands;
    sendNext();
    return 0;
}

QString Voice::cannotConnect(int reason) const
{
    return QStringLiteral("cannot connect to speech-dispatcher at %1: %2")
        .arg(QString::fromLocal8Bit(m_path), QString::fromLocal8Bit(std::strerror(reason)));
}

void Voice::startService()
{
    m_state = State::Starting;
    auto* service = new QProcess(this);
    // It reports its start on stderr, which is none of the player's business.
    service->setStandardOutputFile(QProcess::nullDevice());
    service->setStandardErrorFile(QProcess::nullDevice());
    connect(
        service, &QProcess::finished, this, [this, service](int status, QProcess::ExitStatus exit) {
            service->deleteLater();
            // It returns once the service takes connections, or fails; another client
            // may have started the service meanwhile, so the socket decides.
            if (const int reason = connectSocket(); reason != 0) {
                turnOff(exit == QProcess::NormalExit && status == 0
                        ? cannotConnect(reason)
                        : QStringLiteral("speech-dispatcher is not running and did not start "
                                         "(speech-dispatcher --spawn: status %1)")
                              .arg(status));
            }
        });
    connect(service, &QProcess::errorOccurred, this, [this, service](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        service->deleteLater();
        turnOff(QStringLiteral("speech-dispatcher is not running and cannot be started: %1")
                    .arg(service->errorString()));
    });
    service->start(QStringLiteral("speech-dispatcher"),
        { QStringLiteral("--spawn"), QStringLiteral("--communication-method"),
            QStringLiteral("unix_socket"), QStringLiteral("--socket-path"),
            QString::fromLocal8Bit(m_path) });
}

void Voice::say(const QString& text)
{
    if (m_state == State::Off)
        return;
    QByteArray data = text.toUtf8();
    data.replace('\r', ' ').replace('\n', ' ');
    // A line of the message that starts with a dot carries one more.
    if (data.startsWith('.'))
        data.prepend('.');
    m_text = data;
    if (!m_commands.contains("SPEAK"))
        m_commands.append("SPEAK");
    if (m_state == State::Connected)
        sendNext();
}

void Voice::sendNext()
{
    // The protocol is synchronous: one command at a time, each waiting for its reply.
    if (!m_asked.isEmpty() || m_commands.isEmpty())
        return;
    m_asked = m_commands.takeFirst();
    write(m_asked + "\r\n");
}

void Voice::write(const QByteArray& bytes)
{
    m_output += bytes;
    flushOutput();
}

void Voice::flushOutput()
{
    while (!m_output.isEmpty()) {
        // MSG_NOSIGNAL: a service that went away gives EPIPE, not a SIGPIPE that
        // would end the program.
        const ssize_t sent
            = ::send(m_fd, m_output.constData(), size_t(m_output.size()), MSG_NOSIGNAL);
        if (sent >= 0) {
            m_output.remove(0, sent);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            m_writable->setEnabled(true);
            return;
        }
        turnOff(QStringLiteral("lost the connection to speech-dispatcher: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    m_writable->setEnabled(false);
}

void Voice::readReplies()
{
    char buffer[1024];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got > 0) {
            m_input.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        turnOff(got == 0 ? QStringLiteral("speech-dispatcher closed the connection")
                         : QStringLiteral("lost the connection to speech-dispatcher: %1")
                               .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    // A reply or an event is a run of lines "NNN-..." that ends with "NNN ...".
    for (qsizetype end; (end = m_input.indexOf("\r\n")) >= 0;) {
        const QByteArray line = m_input.left(end);
        m_input.remove(0, end + 2);
        if (line.size() >= 4 && line.at(3) == ' ')
            handleReply(line.left(3), line);
        if (m_state != State::Connected)
            return;
    }
}

void Voice::handleReply(const QByteArray& code, const QByteArray& line)
{
    if (code.startsWith('7')) {
        // Events: 702 END and 703 CANCELED end the message; BEGIN, PAUSE and RESUME
        // do not.
        if ((code == "702" || code == "703") && m_speaking) {
            m_speaking = false;
            emit spoken();
        }
        return;
    }
    const QByteArray asked = std::exchange(m_asked, QByteArray());
    if (asked == "SPEAK" && code == "230") {
        m_asked = ".";
        write(m_text + "\r\n.\r\n");
        return;
    }
    if (asked == "SPEAK" || asked == ".") {
        // A message the service refused will never be spoken: the next may follow.
        if (asked == "." && code == "225")
            m_speaking = true;
        else
            emit spoken();
    } else if (!code.startsWith('2')) {
        turnOff(QStringLiteral("speech-dispatcher refused \"%1\": %2")
                    .arg(QString::fromLatin1(asked), QString::fromLatin1(line)));
        return;
    }
    sendNext();
}

void Voice::turnOff(const QString& reason)
{
    if (m_state == State::Off)
        return;
    m_state = State::Off;
    std::fprintf(stderr, "zelvaro: speech is off: %s\n", qPrintable(reason));
    // The notifiers may be the sender of the running call: they go later.
    for (QSocketNotifier* notifier : { m_readable, m_writable }) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readable = m_writable = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    emit off();
}

} // namespace ui
