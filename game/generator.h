// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace game {

// The program's random numbers: a 24-bit linear congruential generator,
// x <- (x * 1140671485 + 12820163) mod 2^24, from the fixed start 327680.
// It is never seeded, so every run of the program draws the same sequence
// and therefore shows the same letters for the same play.
class Generator {
public:
    // The next number, x / 2^24: 0 <= value < 1, a multiple of 2^-24.
    [[nodiscard]] float next();

private:
    std::uint32_t m_state = 327680;
};

} // namespace game
