// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace game {
struct GameState;
}

namespace test {

class RecordingRuntime;

// The five states the main window can be in between two events, each a fixed
// combination of Stopped, GameOver, the letter boxes, the Options and Help menus,
// Start, Stop, the Pause box and Timer1.
enum class WindowState { Idle, Running, Paused, Stopped, Lost };

// Prints the state's name in test failures.
void PrintTo(WindowState state, std::ostream* out);

// The state that the game state and the controls make up together, or nullopt
// when they match none of the five.
[[nodiscard]] std::optional<WindowState> windowState(
    const game::GameState& state, const RecordingRuntime& rt);

// One line with every value that decides the window state, for failure messages.
[[nodiscard]] std::string describe(const game::GameState& state, const RecordingRuntime& rt);

} // namespace test
