// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"

#include "app/commandline.h"

#include <QApplication>
#include <QByteArrayList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace app {

namespace {

    // A message of Qt's, kept until it is known whether a display could be opened.
    struct HeldMessage {
        QtMsgType type;
        std::string file;
        int line;
        std::string function;
        std::string category;
        QString text;
    };

    std::mutex heldLock;
    std::vector<HeldMessage> held;
    // Made before Qt starts, so that writing it needs nothing of Qt's.
    std::string noDisplayLine;

    [[noreturn]] void endWithoutDisplay()
    {
        std::fputs(noDisplayLine.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }

    // Qt's only fatal error while the application is built is that no platform
    // could be opened; Qt would abort after it, so the process ends here.
    void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtFatalMsg)
            endWithoutDisplay();
        const auto copy = [](const char* s) { return std::string(s ? s : ""); };
        const std::lock_guard lock(heldLock);
        held.push_back({ type, copy(context.file), context.line, copy(context.function),
            copy(context.category), text });
    }

    void passOnHeldMessages()
    {
        const std::lock_guard lock(heldLock);
        for (const HeldMessage& message : held) {
            // Which platforms could not be loaded matters no more once one is.
            if (message.category == "qt.qpa.plugin")
                continue;
            const auto orNull
                = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
            const QMessageLogContext context(orNull(message.file), message.line,
                orNull(message.function), orNull(message.category));
            qt_message_output(message.type, context, message.text);
        }
        held.clear();
    }

    // Whether WAYLAND_DISPLAY names a compositor's socket that a client can look
    // for: a full path, or a name in XDG_RUNTIME_DIR. Without that the Wayland
    // library would only complain on stderr.
    bool waylandNamed()
    {
        const QString socket = qEnvironmentVariable("WAYLAND_DISPLAY");
        return !socket.isEmpty()
            && (socket.startsWith(QLatin1Char('/'))
                || !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"));
    }

    QString shown(const char* variable)
    {
        return qEnvironmentVariableIsEmpty(variable)
            ? QStringLiteral("not set")
            : QLatin1Char('"') + qEnvironmentVariable(variable) + QLatin1Char('"');
    }

    std::string describeNoDisplay(const CommandLine& commandLine, const QString& chosenPlatform)
    {
        const QString x11 = commandLine.x11Display().isEmpty()
            ? QStringLiteral("DISPLAY is %1").arg(shown("DISPLAY"))
            : QStringLiteral("-display is \"%1\"").arg(commandLine.x11Display());
        const QString through = chosenPlatform.isEmpty()
            ? QString()
            : QStringLiteral(" through the Qt platform \"%1\"").arg(chosenPlatform);
        return QStringLiteral("%1: cannot open a display%2: Zelvaro needs an X11 or Wayland "
                              "display (%3, WAYLAND_DISPLAY is %4)\n")
            .arg(commandLine.programName(), through, x11, shown("WAYLAND_DISPLAY"))
            .toLocal8Bit()
            .toStdString();
    }

} // namespace

void choosePlatform(const CommandLine& commandLine)
{
    // -platform wins over QT_QPA_PLATFORM in Qt, and either over the choice below.
    QString chosenPlatform = commandLine.platform();
    if (chosenPlatform.isEmpty())
        chosenPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    noDisplayLine = describeNoDisplay(commandLine, chosenPlatform);

    if (chosenPlatform.isEmpty()) {
        QByteArrayList platforms;
        if (!commandLine.x11Display().isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY"))
            platforms << "xcb";
        if (waylandNamed())
            platforms << "wayland";
        if (platforms.isEmpty())
            endWithoutDisplay();
        // Qt tries the platforms of the list in turn until one opens.
        qputenv("QT_QPA_PLATFORM", platforms.join(';'));
    }
}

std::unique_ptr<QApplication> openDisplay(int& argc, char** argv)
{
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    passOnHeldMessages();
    return application;
}

} // namespace app
