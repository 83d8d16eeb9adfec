// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"
#include "app/display.h"
#include "app/speech.h"
#include "app/startupthread.h"
#include "ui/look.h"
#include "ui/qtruntime.h"

#include <QApplication>
#include <QStyle>

#include <clocale>
#include <cstdlib>
#include <string_view>

namespace {

// Qt works in UTF-8: from Qt 6.5 on it switches a locale of another encoding to its
// UTF-8 form and says so in four lines on stderr, before anything of the program's
// own. The portable C locale, which a bare environment gives, differs from C.UTF-8 in
// nothing the program shows, so that switch is made here without a word. A named
// locale of another encoding is left to Qt, whose warning may then tell the user
// something.
void preferUtf8()
{
    std::setlocale(LC_ALL, "");
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string_view ctype = current ? current : "";
    if (ctype != "C" && ctype != "POSIX")
        return;
    const char* all = std::getenv("LC_ALL");
    setenv(all && *all ? "LC_ALL" : "LC_CTYPE", "C.UTF-8", 1);
}

} // namespace

int main(int argc, char* argv[])
{
    preferUtf8();
    QApplication::setApplicationName(QStringLiteral("Zelvaro"));
    QApplication::setApplicationVersion(QStringLiteral(ZELVARO_VERSION));

    // Read before any display is opened, so that help, the version and a refused
    // command line are answered without one.
    const app::CommandLine commandLine(argc, argv);
    if (commandLine.request() != app::CommandLine::Request::Play) {
        // Names the program in the usage line of the help; needs no display.
        const QCoreApplication core(argc, argv);
        return commandLine.answer();
    }

    app::choosePlatform(commandLine);
    std::unique_ptr<QApplication> application;
    app::StartupThread startup; // made after the application's pointer, so it ends first
    application = app::openDisplay(argc, argv);
    startup.applicationMade();
    QApplication::setDesktopFileName(QStringLiteral("org.zelvaro.zelvaro"));
    // The menu bar stays in the window, below the title, whatever the desktop offers:
    // the window's size is that of its client area and the menu bar. Nor does the
    // program wait at start-up to learn whether the desktop shows menus elsewhere.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // Fusion unless the user chose a style with -style.
    QApplication::setStyle(ui::style(
        commandLine.styleChosen() ? QApplication::style()->name() : QStringLiteral("Fusion")));
    // The program ends only through its farewell, never because its last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    ui::QtRuntime runtime;
    // The window is built; its labels are sized, and so ask for their fonts, as it
    // starts.
    startup.waitForFontConfiguration();
    runtime.start();
    const app::Speech speech(runtime, commandLine.speech());
    return QApplication::exec();
}
