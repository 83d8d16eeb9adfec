// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace app {

namespace {

    // Qt's own options, as QGuiApplication, its X11 platform and QApplication
    // read them: a name and its alias, the name of the value (none for a
    // switch) and what the option does.
    struct QtOption {
        const char* name;
        const char* alias;
        const char* valueName;
        const char* description;
    };

    constexpr QtOption qtOptions[] = {
        { "platform", nullptr, "name", "Qt platform to run on: xcb (X11) or wayland." },
        { "platformpluginpath", nullptr, "path", "Path to the Qt platform plugins." },
        { "platformtheme", nullptr, "theme", "Qt platform theme." },
        { "plugin", nullptr, "plugin", "Additional Qt plugin to load." },
        { "qwindowgeometry", "geometry", "geometry", "Geometry of the first window." },
        { "qwindowicon", "icon", "icon", "Icon of the windows." },
        { "qwindowtitle", "title", "title", "Title of the first window." },
        { "reverse", nullptr, nullptr, "Lays the windows out from right to left." },
        { "session", nullptr, "session", "Session to restore." },
        { "testability", nullptr, nullptr, "Loads Qt's testability driver." },
        { "display", nullptr, "display", "X11 display to use instead of DISPLAY." },
        { "name", nullptr, "name", "X11 resource name of the windows." },
        { "visual", nullptr, "id", "ID of the X11 visual to use." },
        { "nograb", nullptr, nullptr, "Never grabs the X11 mouse or keyboard." },
        { "dograb", nullptr, nullptr, "Grabs the X11 mouse and keyboard even under a debugger." },
        { "style", nullptr, "style", "Widget style to use instead of Fusion." },
        { "stylesheet", nullptr, "file", "Qt style sheet to apply." },
        { "widgetcount", nullptr, nullptr, "Prints the number of widgets left at the end." },
    };

    // Declares every option on parser. Qt's options show in the help only when
    // showQtOptions is set (--help-all).
    void declareOptions(QCommandLineParser& parser, bool showQtOptions)
    {
        // Qt's options are words after one dash (-platform), never bundles of letters.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Typing trainer played as a game: type the falling letters before they reach\n"
            "the bottom. The manual page zelvaro(6) tells how to play."));
        parser.addHelpOption();
        parser.addVersionOption();

        // The program's own options are declared here and read in CommandLine's
        // constructor.
        parser.addOption(QCommandLineOption(QStringLiteral("speak"),
            QStringLiteral("Speaks each letter as it appears, through speech-dispatcher.\n"
                           "Without --speak or --no-speak, the game is spoken while the\n"
                           "desktop's screen reader is on.")));
        parser.addOption(QCommandLineOption(QStringLiteral("no-speak"),
            QStringLiteral("Never speaks, not even for a screen reader.")));

        for (const QtOption& qt : qtOptions) {
            QStringList names { QString::fromLatin1(qt.name) };
            if (qt.alias)
                names << QString::fromLatin1(qt.alias);
            QCommandLineOption option(names, QString::fromLatin1(qt.description),
                qt.valueName ? QString::fromLatin1(qt.valueName) : QString());
            if (!showQtOptions)
                option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }

    void print(std::FILE* stream, const QString& text)
    {
        std::fputs(text.toLocal8Bit().constData(), stream);
    }

} // namespace

CommandLine::CommandLine(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // A program may be started without its name, or with no arguments at all.
    if (arguments.isEmpty())
        arguments << QString();
    m_programName = QFileInfo(arguments.first()).fileName();
    if (m_programName.isEmpty())
        m_programName = QStringLiteral("zelvaro");

    QCommandLineParser parser;
    declareOptions(parser, false);
    if (!parser.parse(arguments)) {
        m_request = Request::Refused;
        m_error = parser.errorText();
        return;
    }
    if (const QStringList stray = parser.positionalArguments(); !stray.isEmpty()) {
        m_request = Request::Refused;
        m_error = QStringLiteral("Unexpected argument '%1'.").arg(stray.first());
        return;
    }

    const bool speak = parser.isSet(QStringLiteral("speak"));
    const bool noSpeak = parser.isSet(QStringLiteral("no-speak"));
    if (speak && noSpeak) {
        m_request = Request::Refused;
        m_error = QStringLiteral("'--speak' and '--no-speak' cannot be used together.");
        return;
    }
    if (speak)
        m_speech = Speech::On;
    else if (noSpeak)
        m_speech = Speech::Off;

    if (parser.isSet(QStringLiteral("help")))
        m_request = Request::Help;
    else if (parser.isSet(QStringLiteral("help-all")))
        m_request = Request::HelpAll;
    else if (parser.isSet(QStringLiteral("version")))
        m_request = Request::Version;
    m_platform = parser.value(QStringLiteral("platform"));
    m_x11Display = parser.value(QStringLiteral("display"));
    m_styleChosen = parser.isSet(QStringLiteral("style"));
}

int CommandLine::answer() const
{
    switch (m_request) {
    case Request::Help:
    case Request::HelpAll: {
        QCommandLineParser parser;
        declareOptions(parser, m_request == Request::HelpAll);
        print(stdout, parser.helpText());
        return 0;
    }
    case Request::Version:
        print(stdout,
            QStringLiteral("%1 %2\n").arg(
                QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
        return 0;
    case Request::Refused:
        print(stderr,
            QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                .arg(m_programName, m_error));
        return 2;
    case Request::Play:
        break;
    }
    return 0;
}

} // namespace app
