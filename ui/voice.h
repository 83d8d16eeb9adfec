// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ui {

// A client of speech-dispatcher, the desktop's speech service, speaking through its
// own connection with the voice, rate and volume the user configured for it.
//
// It speaks its text protocol (SSIP) over the service's unix socket with QtCore
// alone: nothing blocks, and no library is loaded. Qt's QTextToSpeech 6.4 is not
// used because its constructor blocks for 11 to 15 s with Debian's espeak-ng voices,
// it picks a voice by the locale instead of the user's default one, and it sends
// CANCEL ALL, which silences the screen reader too.
//
// Its messages have the priority "message": the service queues them with the
// screen reader's own and cuts neither. It never cancels anything. It holds at most
// one message of its own in the service: say() only after spoken().
//
// Any failure (no service, the service refusing a setting, the connection lost)
// prints one line "zelvaro: speech is off: ..." on stderr and emits off(); the
// voice then stays silent.
class Voice : public QObject {
    Q_OBJECT

public:
    explicit Voice(QObject* parent = nullptr);
    ~Voice() override;

    // Connects to the service at SPEECHD_ADDRESS ("unix_socket:PATH") or at its
    // usual socket in XDG_RUNTIME_DIR. When none answers there, it starts the
    // service once, as speech-dispatcher's own clients do, and tries again.
    void open();

    // Hands text to the service, once connected; text given earlier that is not
    // sent yet is replaced. Line breaks become spaces.
    void say(const QString& text);

signals:
    // The message given to say() was spoken or dropped by the service.
    void spoken();
    // Speech is off for the rest of the run.
    void off();

private:
    enum class State { Closed, Starting, Connected, Off };

    // Connects to m_path; returns 0, or the errno of the failure.
    int connectSocket();
    [[nodiscard]] QString cannotConnect(int reason) const;
    void startService();
    void sendNext();
    void write(const QByteArray& bytes);
    void flushOutput();
    void readReplies();
    void handleReply(const QByteArray& code, const QByteArray& line);
    void turnOff(const QString& reason);

    State m_state = State::Closed;
    QByteArray m_path;
    int m_fd = -1;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    // Commands not yet sent; the first one sent waits for its reply in m_asked.
    QList<QByteArray> m_commands;
    QByteArray m_asked;
    QByteArray m_text; // the text of the next SPEAK, already in the protocol's form
    QByteArray m_input; // received bytes not yet a whole line
    QByteArray m_output; // bytes the socket did not take yet
    bool m_speaking = false; // a message of ours is in the service
};

} // namespace ui
