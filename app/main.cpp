// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qtruntime.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvaro"));
    QApplication::setDesktopFileName(QStringLiteral("org.zelvaro.zelvaro"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The program ends only through its farewell, never because its last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    ui::QtRuntime runtime;
    runtime.start();
    return QApplication::exec();
}
