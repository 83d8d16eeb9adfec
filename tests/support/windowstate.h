// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/int16.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace game {
struct GameState;
}

namespace test {

class RecordingRuntime;

// The five states the main window can be in between two events, each a fixed
// combination of Stopped, GameOver and the controls of WindowLook.
enum class WindowState { Idle, Running, Paused, Stopped, Lost };

// Everything that tells the five states apart, read from the recording runtime
// (look() below) or from the real windows (uitest::look), so that both are judged
// by the one table in windowstate.cpp.
struct WindowLook {
    game::Int16 stopped = 0, gameOver = 0;
    int boxesShown = 0; // letter boxes Picture1..Picture5 not hidden
    bool optionsEnabled = false, helpEnabled = false; // the menu bar's entries
    bool startEnabled = false, stopEnabled = false; // Command2, Command3
    bool pauseEnabled = false; // Check1
    int pauseValue = 0; // Check1: 0 clear, 1 ticked, 2 greyed
    bool tickEnabled = false; // Timer1
    bool gameOverShown = false; // Label5
};

// The state the look makes up, or nullopt when it matches none of the five.
[[nodiscard]] std::optional<WindowState> windowState(const WindowLook& look);
// A look equals a state when it makes up that state (EXPECT_EQ, QCOMPARE).
[[nodiscard]] bool operator==(const WindowLook& look, WindowState state);

[[nodiscard]] const char* name(WindowState state);
// The state's name and every value of the look, on one line, for failure messages.
[[nodiscard]] std::string describe(const WindowLook& look);
void PrintTo(WindowState state, std::ostream* out);
void PrintTo(const WindowLook& look, std::ostream* out);

// The look of the game state and the recording runtime's controls.
[[nodiscard]] WindowLook look(const game::GameState& state, const RecordingRuntime& rt);

} // namespace test
