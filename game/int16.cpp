// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/int16.h"

#include <limits>

namespace game {

OverflowError::OverflowError()
    : std::overflow_error("Overflow")
{
}

Int16 checked(int wide)
{
    if (wide < std::numeric_limits<Int16>::min() || wide > std::numeric_limits<Int16>::max())
        throw OverflowError();
    return static_cast<Int16>(wide);
}

} // namespace game
