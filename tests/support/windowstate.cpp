// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/windowstate.h"

#include "game/form1.h"
#include "tests/support/recordingruntime.h"

#include <ostream>

namespace test {

using game::False;
using game::Int16;
using game::True;

namespace {

    int at(auto id) { return static_cast<int>(id); }

    enum class Shown { No, Yes, Either };

    struct Row {
        WindowState state;
        Int16 stopped, gameOver;
        bool boxesShown, menusEnabled, startEnabled, stopEnabled, pauseEnabled;
        int pauseValue;
        bool tickEnabled;
        Shown gameOverLabel;
    };

    // The window's five states, as the game-control handlers leave the controls.
    // "Game Over" shows from a lost game's end until the next game's first tick or
    // judged key, so a game started, paused or stopped before then still shows it.
    constexpr Row rows[] = {
        { WindowState::Idle, False, False, false, true, true, true, false, 0, true, Shown::No },
        { WindowState::Running, False, False, true, false, false, true, true, 0, true,
            Shown::Either },
        { WindowState::Paused, False, False, true, false, false, true, true, 1, false,
            Shown::Either },
        { WindowState::Stopped, True, False, false, true, true, false, false, 0, true,
            Shown::Either },
        { WindowState::Lost, False, True, false, true, true, false, false, 0, true, Shown::Yes },
    };

    bool matches(const Row& row, const WindowLook& look)
    {
        return look.stopped == row.stopped && look.gameOver == row.gameOver
            && look.boxesShown == (row.boxesShown ? game::Lanes : 0)
            && look.optionsEnabled == row.menusEnabled && look.helpEnabled == row.menusEnabled
            && look.startEnabled == row.startEnabled && look.stopEnabled == row.stopEnabled
            && look.pauseEnabled == row.pauseEnabled && look.pauseValue == row.pauseValue
            && look.tickEnabled == row.tickEnabled
            && (row.gameOverLabel == Shown::Either
                || look.gameOverShown == (row.gameOverLabel == Shown::Yes));
    }

} // namespace

std::optional<WindowState> windowState(const WindowLook& look)
{
    for (const Row& row : rows) {
        if (matches(row, look))
            return row.state;
    }
    return std::nullopt;
}

bool operator==(const WindowLook& look, WindowState state) { return windowState(look) == state; }

const char* name(WindowState state)
{
    static const char* names[] = { "Idle", "Running", "Paused", "Stopped", "Lost" };
    return names[at(state)];
}

std::string describe(const WindowLook& look)
{
    const auto state = windowState(look);
    auto bit = [](bool value) { return value ? "1" : "0"; };
    return std::string(state ? name(*state) : "none of the five states")
        + ": Stopped=" + std::to_string(look.stopped) + " GameOver=" + std::to_string(look.gameOver)
        + " boxes=" + std::to_string(look.boxesShown) + " Options=" + bit(look.optionsEnabled)
        + " Help=" + bit(look.helpEnabled) + " Start=" + bit(look.startEnabled)
        + " Stop=" + bit(look.stopEnabled) + " Pause=" + bit(look.pauseEnabled) + "/"
        + std::to_string(look.pauseValue) + " Timer1=" + bit(look.tickEnabled)
        + " Label5=" + bit(look.gameOverShown);
}

void PrintTo(WindowState state, std::ostream* out) { *out << name(state); }

void PrintTo(const WindowLook& look, std::ostream* out) { *out << describe(look); }

WindowLook look(const game::GameState& state, const RecordingRuntime& rt)
{
    WindowLook look;
    look.stopped = state.Stopped;
    look.gameOver = state.GameOver;
    for (const auto& box : rt.boxes)
        look.boxesShown += box.visible;
    look.optionsEnabled = rt.menusEnabled[at(game::Menu::menu_options)];
    look.helpEnabled = rt.menusEnabled[at(game::Menu::help)];
    look.startEnabled = rt.buttonsEnabled[at(game::Button::Command2)];
    look.stopEnabled = rt.buttonsEnabled[at(game::Button::Command3)];
    look.pauseEnabled = rt.check1Enabled;
    look.pauseValue = rt.check1Value;
    look.tickEnabled = rt.timersEnabled[at(game::Timer::Timer1)];
    look.gameOverShown = rt.labels[at(game::Label::Label5)].visible;
    return look;
}

} // namespace test
