// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace app {

// Reads, on a thread of its own, what the main window needs from files and other
// processes, while the main thread builds the window: the window icon's pictures,
// decoded; the system's font configuration (some sixty XML files and the font
// caches), which Qt reads the first time a font is asked for, and the main window
// asks before it is shown, since its menu bar and labels take their sizes from
// their text; Qt's list of the fonts; and the connection to the session bus, which
// the accessibility bridge opens and waits for the first time a control reports a
// change. Qt and fontconfig guard each of them against use from two threads, so the
// main thread takes whatever is ready and does or waits for the rest.
//
// Make it once the application exists: the thread reads the environment, which the
// application's construction changes, and asks Qt for its plugins and fonts. It
// must end before the application does; the destructor waits for it.
class StartupThread {
public:
    StartupThread();
    ~StartupThread();
    StartupThread(const StartupThread&) = delete;
    StartupThread& operator=(const StartupThread&) = delete;

private:
    std::thread m_thread;
};

} // namespace app
