// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowstate.h"

#include "game/form1.h"
#include "recordingruntime.h"

#include <ostream>

namespace test {

using game::False;
using game::Int16;
using game::True;

namespace {

    int at(auto id) { return static_cast<int>(id); }

    struct Row {
        WindowState state;
        Int16 stopped, gameOver;
        bool boxesShown, menusEnabled, startEnabled, stopEnabled, pauseEnabled;
        Int16 pauseValue;
        bool tickEnabled;
    };

    // The window's five states, as the game-control handlers leave the controls.
    constexpr Row states[] = {
        { WindowState::Idle, False, False, false, true, true, true, false, 0, true },
        { WindowState::Running, False, False, true, false, false, true, true, 0, true },
        { WindowState::Paused, False, False, true, false, false, true, true, 1, false },
        { WindowState::Stopped, True, False, false, true, true, false, false, 0, true },
        { WindowState::Lost, False, True, false, true, true, false, false, 0, true },
    };

} // namespace

void PrintTo(WindowState state, std::ostream* out)
{
    static const char* names[] = { "Idle", "Running", "Paused", "Stopped", "Lost" };
    *out << names[at(state)];
}

std::optional<WindowState> windowState(const game::GameState& state, const RecordingRuntime& rt)
{
    int shown = 0;
    for (const auto& box : rt.boxes)
        shown += box.visible;
    const bool options = rt.menusEnabled[at(game::Menu::menu_options)];
    const bool help = rt.menusEnabled[at(game::Menu::help)];
    if ((shown != 0 && shown != 5) || options != help)
        return std::nullopt;
    for (const Row& row : states) {
        if (state.Stopped == row.stopped && state.GameOver == row.gameOver
            && (shown == 5) == row.boxesShown && options == row.menusEnabled
            && rt.buttonsEnabled[at(game::Button::Command2)] == row.startEnabled
            && rt.buttonsEnabled[at(game::Button::Command3)] == row.stopEnabled
            && rt.check1Enabled == row.pauseEnabled && rt.check1Value == row.pauseValue
            && rt.timersEnabled[at(game::Timer::Timer1)] == row.tickEnabled)
            return row.state;
    }
    return std::nullopt;
}

std::string describe(const game::GameState& state, const RecordingRuntime& rt)
{
    std::string boxes;
    for (const auto& box : rt.boxes)
        boxes += box.visible ? '1' : '0';
    auto bit = [](bool value) { return value ? "1" : "0"; };
    return "Stopped=" + std::to_string(state.Stopped)
        + " GameOver=" + std::to_string(state.GameOver) + " boxes=" + boxes
        + " Options=" + bit(rt.menusEnabled[at(game::Menu::menu_options)])
        + " Help=" + bit(rt.menusEnabled[at(game::Menu::help)])
        + " Start=" + bit(rt.buttonsEnabled[at(game::Button::Command2)])
        + " Stop=" + bit(rt.buttonsEnabled[at(game::Button::Command3)])
        + " Pause=" + bit(rt.check1Enabled) + "/" + std::to_string(rt.check1Value) + " Timer1="
        + bit(rt.timersEnabled[at(game::Timer::Timer1)]) + " Hits=" + std::to_string(state.Hits)
        + " Lost=" + std::to_string(state.Lost) + " FallStep=" + std::to_string(state.FallStep);
}

} // namespace test
