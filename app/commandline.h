// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace app {

// What the command line asks of one run, read before any display is opened.
//
// The program's own options are read here. Qt's own options (-platform, -style,
// -display and the rest) are recognised too, so that they are neither refused
// as unknown nor their values taken for stray arguments; they stay in argv,
// where QApplication finds them and acts on them. Every option takes one or two
// dashes, as Qt's options always have.
class CommandLine {
public:
    enum class Request {
        Play, // open the windows and play
        Help, // --help: the program's options
        HelpAll, // --help-all: the program's options and Qt's
        Version, // --version
        Refused, // an unknown option, a missing value or a stray argument
    };
    // Whether the game is spoken: --speak, --no-speak, or while a screen reader runs.
    enum class Speech { WithScreenReader, On, Off };

    CommandLine(int argc, const char* const* argv);

    [[nodiscard]] Request request() const { return m_request; }
    // The name the program was started by, for its messages.
    [[nodiscard]] const QString& programName() const { return m_programName; }

    // Answers every request but Play: help and version on stdout, a refused
    // command line on stderr. Returns the exit status: 0, or 2 when refused.
    [[nodiscard]] int answer() const;

    // The Qt platform asked for with -platform; empty when none was.
    [[nodiscard]] const QString& platform() const { return m_platform; }
    // The X11 display asked for with -display, which Qt prefers to DISPLAY;
    // empty when none was.
    [[nodiscard]] const QString& x11Display() const { return m_x11Display; }
    // Whether -style chose the widget style.
    [[nodiscard]] bool styleChosen() const { return m_styleChosen; }
    [[nodiscard]] Speech speech() const { return m_speech; }

private:
    QString m_programName;
    Request m_request = Request::Play;
    QString m_error;
    QString m_platform;
    QString m_x11Display;
    bool m_styleChosen = false;
    Speech m_speech = Speech::WithScreenReader;
};

} // namespace app
