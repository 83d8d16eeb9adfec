// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/generator.h"

namespace game {

float Generator::next()
{
    constexpr std::uint32_t mask = (1u << 24) - 1;
    m_state = (m_state * 1140671485u + 12820163u) & mask;
    return static_cast<float>(m_state) / static_cast<float>(1u << 24);
}

} // namespace game
