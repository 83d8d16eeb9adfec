// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stdexcept>

namespace game {

// Every counter of the game is a signed 16-bit integer. A boolean is stored as
// True (-1) or False (0) and never as any other value.
using Int16 = std::int16_t;
inline constexpr Int16 True = -1;
inline constexpr Int16 False = 0;

// The program's overflow error: a counter step whose result leaves -32768..32767.
// It ends the handler that raised it at that step; the caller of the handler
// reports it (see runHandler) and the program goes on.
class OverflowError : public std::overflow_error {
public:
    OverflowError();
};

// The one checked step of 16-bit arithmetic. Form the sum, difference or product
// of two Int16 in int (which cannot overflow for 16-bit operands) and pass it
// here: it returns the value as Int16, or throws OverflowError when it does not fit.
[[nodiscard]] Int16 checked(int wide);

} // namespace game
