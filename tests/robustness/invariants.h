// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace game {
struct GameState;
}

namespace test {
class RecordingRuntime;
}

namespace robustness {

// The five states the main window can be in between two events, each a fixed
// combination of Stopped, GameOver, the letter boxes, the Options and Help menus,
// Start, Stop, the Pause box and Timer1.
enum class WindowState { Idle, Running, Paused, Stopped, Lost };

[[nodiscard]] const char* name(WindowState state);

// The state that the game state and the controls make up together, or nullopt
// when they match none of the five.
[[nodiscard]] std::optional<WindowState> windowState(
    const game::GameState& state, const test::RecordingRuntime& rt);

// One line with every value that decides the window state, for failure messages.
[[nodiscard]] std::string describe(const game::GameState& state, const test::RecordingRuntime& rt);

// Each finding is "what: details"; the part before the colon names the invariant.
struct Findings {
    std::vector<std::string> violations;
    // Broken in a game in which the overflow error ended a handler half-way: the
    // handler could not finish the steps that keep these, so they are told apart.
    std::vector<std::string> afterOverflow;
};

// What must hold after every event that arrives in an order the windows allow.
// overflowInGame: since the last Start, a handler was ended by the overflow error.
[[nodiscard]] Findings checkInvariants(
    const game::GameState& state, const test::RecordingRuntime& rt, bool overflowInGame);

// What must hold after any event in any order: every variable within the values
// its meaning allows (booleans True or False, letters 0 or "a".."z", counters not
// negative, FallStep 0..655, BlinkCount 0..10, a Pause value the box can show).
[[nodiscard]] std::vector<std::string> checkRanges(
    const game::GameState& state, const test::RecordingRuntime& rt);

// The part of a finding before its colon.
[[nodiscard]] std::string findingKind(const std::string& finding);

} // namespace robustness
