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
// What speaks: for --speak (CommandLine::Speech::On), the game's own voice, a
// client of speech-dispatcher, whether a screen reader runs or not; for the screen
// reader, the screen reader itself, through the announcer, where Qt can announce
// (ui::Announcer::available()), else the game's own voice as for --speak.
//
// Made after the main window is shown and before the event loop runs. With speech
// off it makes nothing and asks nothing; when speech turns out to be impossible,
// what it made goes away and the game plays on silently.
class Speech : public QObject {
public:
    Speech(ui::QtRuntime& runtime, CommandLine::Speech speech);

private:
    void askScreenReader();
    void speakThroughScreenReader();
    void speakOwnVoice();

    ui::QtRuntime& m_runtime;
};

} // namespace app
