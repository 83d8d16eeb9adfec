// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The voice with the real speech-dispatcher and its client library: run by
// with_speech.py beside the harness's private service, whose voice writes each
// message it speaks to the file SPOKEN_FILE names, as a line "zelvaro: TEXT" for
// a client named "USER:zelvaro:...". No service runs at first: the first voice's
// library starts it, as on a desktop where it is not running yet.

#include "ui/voice.h"

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <signal.h>

class VoiceTest : public QObject {
    Q_OBJECT

private slots:
    void speaks_data();
    void speaks();

private:
    // Every line the service's voice spoke for the game so far, without the prefix.
    [[nodiscard]] static QStringList heard();
    // Ends the running service at once, as a crash does, and waits until it is gone.
    static void killService();
};

QStringList VoiceTest::heard()
{
    QFile file(qEnvironmentVariable("SPOKEN_FILE"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("zelvaro: "))
            lines.append(QString::fromUtf8(line.mid(9)));
    }
    return lines;
}

void VoiceTest::killService()
{
    // Where speech-dispatcher keeps its process number, in the user's runtime folder.
    QFile pidFile(qEnvironmentVariable("XDG_RUNTIME_DIR")
        + QStringLiteral("/speech-dispatcher/pid/speech-dispatcher.pid"));
    QVERIFY2(pidFile.open(QIODevice::ReadOnly), qPrintable(pidFile.fileName()));
    const QByteArray pid = pidFile.readAll().trimmed();
    QVERIFY(pid.toInt() > 0);
    QCOMPARE(::kill(pid.toInt(), SIGKILL), 0);
    // Gone once it no longer runs: reaped, or a zombie whose sockets are closed.
    const auto running = [&pid] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
        return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
    };
    QTRY_VERIFY_WITH_TIMEOUT(!running(), 20000);
}

void VoiceTest::speaks_data()
{
    // service: "private" (the harness's, started by the library when not running),
    // "none" (none at the address and none to start) or "mute" (a socket that takes
    // the connection and never answers). Steps: open; say:TEXT; spoken=N (wait until
    // spoken() came N times); off (wait for off()); kill (the service dies);
    // answered (the mute socket has the connection); gone (the voice is destroyed).
    // said: the lines spoken, " | " apart; heard: at each spoken(), how many of them
    // the service had spoken then.
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("heard");
    QTest::newRow("each text in turn, spoken() once its message is over")
        << "private"
        << "say:s, u|open|say:k|say:Smiley|spoken=3|say:Game over|spoken=4"
        << "s, u | k | Smiley | Game over"
        << "1 2 3 4";
    QTest::newRow("a service gone turns speech off at the next text")
        << "private"
        << "open|say:a|spoken=1|kill|say:b|off|say:c"
        << "a"
        << "1";
    QTest::newRow("no service and none to start turns speech off") << "none"
                                                                   << "open|say:a|off"
                                                                   << ""
                                                                   << "";
    QTest::newRow("a service that never answers holds nothing up")
        << "mute"
        << "open|say:a|answered|say:b|gone"
        << ""
        << "";
}

void VoiceTest::speaks()
{
    QFETCH(QString, service);
    QFETCH(QString, steps);
    QFETCH(QString, said);
    QFETCH(QString, heard);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QLocalServer mute;
    if (service == u"none") {
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + dir.filePath("none.sock").toLocal8Bit());
        qputenv("SPEECHD_CMD", dir.filePath("speech-dispatcher").toLocal8Bit());
    } else if (service == u"mute") {
        QVERIFY(mute.listen(dir.filePath("mute.sock")));
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + mute.fullServerName().toLocal8Bit());
    }
    const auto restore = qScopeGuard([] {
        qunsetenv("SPEECHD_ADDRESS");
        qunsetenv("SPEECHD_CMD");
    });

    const qsizetype before = VoiceTest::heard().size();
    const auto heardHere = [before] { return VoiceTest::heard().mid(before); };
    auto voice = std::make_unique<ui::Voice>();
    int spoken = 0;
    bool off = false;
    QStringList heardAtSpoken;
    connect(voice.get(), &ui::Voice::spoken, this, [&] {
        ++spoken;
        heardAtSpoken.append(QString::number(heardHere().size()));
    });
    connect(voice.get(), &ui::Voice::off, this, [&] { off = true; });

    for (const QString& step : steps.split(u'|')) {
        if (step == u"open") {
            voice->open();
        } else if (step.startsWith(u"say:")) {
            voice->say(step.mid(4));
        } else if (step.startsWith(u"spoken=")) {
            QTRY_COMPARE_WITH_TIMEOUT(spoken, step.mid(7).toInt(), 20000);
        } else if (step == u"off") {
            QTRY_VERIFY_WITH_TIMEOUT(off, 20000);
        } else if (step == u"kill") {
            killService();
            if (QTest::currentTestFailed())
                return;
        } else if (step == u"answered") {
            QTRY_VERIFY_WITH_TIMEOUT(mute.hasPendingConnections(), 20000);
        } else if (step == u"gone") {
            voice.reset();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(heardHere().join(QStringLiteral(" | ")), said);
    QCOMPARE(heardAtSpoken.join(u' '), heard);
}

QTEST_GUILESS_MAIN(VoiceTest)
#include "voice_tests.moc"
