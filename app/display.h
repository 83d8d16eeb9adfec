// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QApplication;

namespace app {

class CommandLine;

// Chooses the platform for this run and the line to print when no display opens.
//
// The platform the user chose (QT_QPA_PLATFORM, or -platform) is always the one
// tried. Otherwise X11 comes first whenever an X server is named (DISPLAY or
// -display), through XWayland in a Wayland session too, since there the
// program places its windows itself; Wayland natively comes next when a
// compositor is named (WAYLAND_DISPLAY), and there the compositor places them.
// When neither is named, the program ends here with status 1 after that line.
void choosePlatform(const CommandLine& commandLine);

// Opens the display for this run by building the QApplication, on the platform
// chosen by choosePlatform().
//
// When no display can be opened, the program ends here with status 1 after one
// line on stderr that names DISPLAY and WAYLAND_DISPLAY; Qt's own messages about
// the attempts are held back, and its abort does not happen. When a display is
// opened, the messages held back are passed on, except those about platform
// plugins that could not be loaded.
std::unique_ptr<QApplication> openDisplay(int& argc, char** argv);

} // namespace app
