// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the game that more than one handler, and everything outside the game
// (the windows, the tests, the benchmarks, the scripts' letter model), must agree on.
// Each is written here once.
namespace game {

// The letter boxes Picture1..Picture5, one per lane.
inline constexpr int Lanes = 5;
// Levels I..IV and accelerations I..IV are numbered 1..4.
inline constexpr int Levels = 4;
inline constexpr int Speeds = 4;

// The lanes in play at a level (1..4) are lanes 1..activeLanes(level): 2 to 5.
[[nodiscard]] constexpr int activeLanes(int level) { return level + 1; }

// Where Start puts the left edge of lane k's box (1..5) at a level (1..4), in pixels
// of the client area. A lane the level does not use stands at -40, wholly left of
// the play field.
inline constexpr float laneLefts[Levels][Lanes] = {
    { 104, 200, -40, -40, -40 },
    { 56, 136, 216, -40, -40 },
    { 40, 104, 168, 232, -40 },
    { 40, 104, 168, 232, 296 },
};
[[nodiscard]] constexpr float laneLeft(int level, int lane)
{
    return laneLefts[level - 1][lane - 1];
}

// How fast the fall step grows with the hits at an acceleration (1..4): after each
// judged key FallStep = 1 + floor(Hits x factor / 50).
inline constexpr int speedFactors[Speeds] = { 1, 2, 4, 8 };
[[nodiscard]] constexpr int speedFactor(int speed) { return speedFactors[speed - 1]; }

// The lead of Hits over Lost from which the smiley is shown.
inline constexpr int PraiseLead = 170;

} // namespace game
