// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/form2.h"

#include "game/runtime.h"

namespace game {

Form2::Form2(Runtime& runtime)
    : m_rt(runtime)
{
}

void Form2::Form_Activate()
{
    // Read in the order main width, own width, main left; evaluate left to right in
    // double and hand over the exact result: half pixels are not rounded here.
    const double mainWidth = m_rt.width(Window::Form1);
    const double ownWidth = m_rt.width(Window::Form2);
    const double mainLeft = m_rt.left(Window::Form1);
    m_rt.setLeft(Window::Form2, static_cast<float>(mainWidth / 2.0 - ownWidth / 2.0 + mainLeft));

    const double mainHeight = m_rt.height(Window::Form1);
    const double ownHeight = m_rt.height(Window::Form2);
    const double mainTop = m_rt.top(Window::Form1);
    m_rt.setTop(Window::Form2, static_cast<float>(mainHeight / 2.0 - ownHeight / 2.0 + mainTop));
}

void Form2::Command1_Click()
{
    // The main window is enabled before the about window goes, so it can take the
    // activation that the about window gives up.
    m_rt.setEnabled(Window::Form1, true);
    m_rt.setVisible(Window::Form2, false);
}

} // namespace game
