// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/windowstate.h"

#include <string>
#include <vector>

namespace robustness {

using test::WindowState;
using test::windowState;

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
