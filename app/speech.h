// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/commandline.h"

#include <QObject>

namespace ui {
class QtRuntime;
}

namespace app {

// Speaks the game to a player who cannot see it, as the command line asks: never,
// from the start, or once the desktop answers that its screen reader is on (the
// AT-SPI status property ScreenReaderEnabled, asked for without waiting).
//
// Made after the main window is shown and before the event loop runs. With speech
// off it makes nothing and asks nothing; when speech turns out to be impossible,
// what it made goes away and the game plays on silently.
class Speech : public QObject {
public:
    Speech(ui::QtRuntime& runtime, CommandLine::Speech speech);

private:
    void start();
    void askScreenReader();

    ui::QtRuntime& m_runtime;
};

} // namespace app
