// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace app {

// Reads the system's font configuration on a thread of its own.
//
// Qt reads it the first time a font is asked for, and the main window asks before
// it can be shown: its menu bar and labels take their sizes from their text. That
// reading (some sixty XML files and the font caches) is the largest single cost of
// the start-up. Made before the display is opened, a reader does it while Qt loads
// its platform plugin and talks to the display server; once wait() has returned,
// Qt finds the configuration read and only lists the fonts.
class FontConfigReader {
public:
    FontConfigReader();
    ~FontConfigReader();
    FontConfigReader(const FontConfigReader&) = delete;
    FontConfigReader& operator=(const FontConfigReader&) = delete;

    // Returns once the configuration is read; at once on later calls.
    void wait();

private:
    std::thread m_thread;
};

} // namespace app
