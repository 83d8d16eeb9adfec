// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/int16.h"

#include <cstdio>
#include <exception>

namespace game {

// Runs one event handler to its end or to the step that raised the program's
// overflow error. The error is reported on stderr with the handler's name and the
// program goes on; nothing is thrown to the caller (Qt's event loop must never
// see an exception). Returns false when the handler was ended by an error.
template <typename Handler> bool runHandler(const char* name, Handler&& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (const OverflowError&) {
        std::fprintf(stderr, "zelvaro: Overflow in %s; the handler stopped at that step\n", name);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelvaro: %s in %s\n", error.what(), name);
    }
    return false;
}

} // namespace game
