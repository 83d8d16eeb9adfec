// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <future>
#include <thread>

namespace app {

// Reads, on a thread of its own, what the main window needs from files and other
// processes, while the main thread opens the display and builds the window.
//
// At once it reads the system's font configuration (some sixty XML files and the
// font caches), which Qt reads the first time a font is asked for: the main window
// asks before it is shown, since its menu bar and labels take their sizes from
// their text. Once the application exists it goes on with what needs it: the window
// icon's pictures, decoded; Qt's list of the fonts; and the connection to the session
// bus, which the accessibility bridge opens and waits for the first time a control
// reports a change. Qt and fontconfig guard each of them against use from two
// threads, so the main thread takes whatever is ready and does or waits for the rest.
//
// Make it once the platform is chosen and before the application: the thread reads
// the environment and the locale, so nothing may change them meanwhile. It sets the
// locale from the environment itself first, as the application's construction would.
// When the program was started with a launch token (DESKTOP_STARTUP_ID or
// XDG_ACTIVATION_TOKEN), the platform plugin takes it out of the environment while
// it opens the display; the configuration is then read once the application exists.
// It must end before the application does; the destructor waits for it.
class StartupThread {
public:
    StartupThread();
    ~StartupThread();
    StartupThread(const StartupThread&) = delete;
    StartupThread& operator=(const StartupThread&) = delete;

    // The application exists; call once.
    void applicationMade();

    // Returns once the font configuration is read; call after applicationMade() and
    // before the first font is asked for. Qt reads the configuration itself the first
    // time a font is needed, and would read all of it a second time beside the thread
    // when that has not finished yet (fontconfig keeps the first that ends).
    void waitForFontConfiguration();

private:
    std::promise<bool> m_made;
    std::promise<void> m_read;
    std::future<void> m_configurationRead;
    std::thread m_thread;
};

} // namespace app
