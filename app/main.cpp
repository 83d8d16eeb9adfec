// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"
#include "app/display.h"
#include "app/fontconfigreader.h"
#include "app/speech.h"
#include "ui/qtruntime.h"

#include <QApplication>

int main(int argc, char* argv[])
{
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

    app::FontConfigReader fontConfig; // meanwhile the display is opened
    const std::unique_ptr<QApplication> application = app::openDisplay(argc, argv, commandLine);
    fontConfig.wait(); // before the first font is asked for
    QApplication::setDesktopFileName(QStringLiteral("org.zelvaro.zelvaro"));
    if (!commandLine.styleChosen())
        QApplication::setStyle(QStringLiteral("Fusion"));
    // The program ends only through its farewell, never because its last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    ui::QtRuntime runtime;
    runtime.start();
    const app::Speech speech(runtime, commandLine.speech());
    return QApplication::exec();
}
