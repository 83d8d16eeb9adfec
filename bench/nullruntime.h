// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/generator.h"
#include "game/runtime.h"

namespace bench {

// A game::Runtime that does nothing, so that a benchmark measures the game alone.
// Every box stands at Top 1 of a 387 pixel high client area, far from the bottom;
// the random numbers are the program's own.
class NullRuntime final : public game::Runtime {
public:
    void setVisible(game::Window, bool) override { }
    void setEnabled(game::Window, bool) override { }
    float left(game::Window) override { return 0; }
    float top(game::Window) override { return 0; }
    float width(game::Window) override { return 0; }
    float height(game::Window) override { return 0; }
    void setLeft(game::Window, float) override { }
    void setTop(game::Window, float) override { }
    float scaleHeight() override { return 387; }

    void setVisible(game::Box, bool) override { }
    void setLeft(game::Box, float) override { }
    float top(game::Box) override { return 1; }
    void setTop(game::Box, float) override { }
    void clear(game::Box) override { }
    void print(game::Box, std::u16string_view) override { }
    void setFocus(game::Box) override { }

    void setCaption(game::Label, std::string_view) override { }
    void setVisible(game::Label, bool) override { }

    void setEnabled(game::Button, bool) override { }

    void setEnabled(game::CheckBox, bool) override { }
    std::int16_t value(game::CheckBox) override { return 0; }
    void setValue(game::CheckBox, std::int16_t) override { }

    void setEnabled(game::Menu, bool) override { }
    void setChecked(game::Menu, bool) override { }

    void setEnabled(game::Timer, bool) override { }

    void messageBox(std::string_view, game::MessageIcon, std::string_view) override { }
    float rnd() override { return m_generator.next(); }
    void end() override { }

private:
    game::Generator m_generator;
};

} // namespace bench
