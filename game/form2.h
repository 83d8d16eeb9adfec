// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace game {

class Runtime;

// The about window's handlers. The window is opened by Form1::about_Click.
class Form2 {
public:
    explicit Form2(Runtime& runtime);

    // Each time the about window becomes the active window: puts its centre on the
    // main window's centre (outer rectangles), wherever that is on the screen.
    void Form_Activate();
    // "Ok": enables the main window, then hides (never destroys) the about window.
    void Command1_Click();

private:
    Runtime& m_rt;
};

} // namespace game
