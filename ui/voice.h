// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace ui {

struct VoiceLink;

// A client of speech-dispatcher, the desktop's speech service, speaking through its
// own connection with the voice, rate and volume the user configured for it, by
// speech-dispatcher's client library libspeechd. The client name "USER:zelvaro:main"
// lets the user give the game settings of its own (BeginClient "*:zelvaro:*" in
// speechd.conf).
//
// Every call into the library that can wait (opening the connection, which may
// start the service, saying a text, closing) runs in order on a worker thread of
// the voice's own; open() and say() return at once. The library reports the end of
// a message on a thread of its own; that report reaches the voice's thread through
// its event loop. Qt's QTextToSpeech 6.4 is not used because its constructor blocks
// for 11 to 15 s with Debian's espeak-ng voices, it picks a voice by the locale
// instead of the user's default one, and it cancels all speech, the screen
// reader's too, whenever it speaks.
//
// Its messages have the priority "message": the service queues them with the
// screen reader's own and cuts neither. It never cancels anything. It holds one
// message of its own in the service at a time: a text given while one is there
// waits for its end, and spoken() follows each text once the service reports its
// message spoken or cancelled.
//
// Any failure (no service and none to start, the service refusing the
// notifications or a message, the connection lost) prints one line
// "zelvaro: speech is off: ..." on stderr and emits off(); the voice then stays
// silent. Destroying the voice never waits for the worker, which closes the
// connection once the library returns: neither a service that never answers nor
// one that went away holds up the program.
class Voice : public QObject {
    Q_OBJECT

public:
    explicit Voice(QObject* parent = nullptr);
    ~Voice() override;

    // Connects to the service as its own clients find it (SPEECHD_ADDRESS, a unix or
    // an inet socket, else the socket in XDG_RUNTIME_DIR); when none answers there,
    // the library starts it (SPEECHD_CMD, else its own path to speech-dispatcher)
    // and tries again. Once only; texts given before wait for it.
    void open();

    // Hands text to the service as one message once the connection is open and no
    // other message of the voice's is in the service.
    void say(const QString& text);

signals:
    // A text given to say() was spoken or cancelled by the service.
    void spoken();
    // Speech is off for the rest of the run.
    void off();

private:
    friend struct VoiceLink;

    void give(const QString& text);
    void messageEnded();
    void turnOff(const QString& reason);

    const std::shared_ptr<VoiceLink> m_link;
    QStringList m_waiting; // texts given while a message was in the service
    bool m_opened = false;
    bool m_speaking = false; // a message of the voice's is in the service
    bool m_off = false;
};

} // namespace ui
