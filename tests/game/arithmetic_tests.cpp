// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/generator.h"
#include "game/handler.h"
#include "game/int16.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using game::checked;
using game::OverflowError;

namespace {

TEST(Checked, KeepsEverySixteenBitValue)
{
    EXPECT_EQ(checked(32767), 32767);
    EXPECT_EQ(checked(-32768), -32768);
    EXPECT_EQ(checked(0), 0);
}

TEST(Checked, ThrowsOverflowErrorJustOutsideSixteenBits)
{
    EXPECT_THROW((void)checked(32768), OverflowError);
    EXPECT_THROW((void)checked(-32769), OverflowError);
    // A product of two counters can reach far beyond; it must not wrap back into range.
    EXPECT_THROW((void)checked(32767 * 32767), OverflowError);
    EXPECT_THROW((void)checked(65536), std::overflow_error);
}

TEST(RunHandler, ReportsAnErrorWithTheHandlerNameAndEndsOnlyTheHandler)
{
    // An exception escaping into the event loop would end the program; the overflow
    // error must still end the handler at its step.
    struct Case {
        std::function<void()> body;
        bool ends; // the handler runs to its end
        const char* report; // part of what stderr must say, "" for nothing
    };
    bool reachedAfterOverflow = false;
    const Case cases[] = {
        { [] {}, true, "" },
        { [&] {
             (void)checked(32767 + 1);
             reachedAfterOverflow = true;
         },
            false, "Overflow in Picture1_KeyPress" },
        { [] { throw std::runtime_error("broken"); }, false, "broken in Picture1_KeyPress" },
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        bool ended = !c.ends;
        EXPECT_NO_THROW(ended = game::runHandler("Picture1_KeyPress", c.body));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ended, c.ends) << c.report;
        if (*c.report) {
            EXPECT_NE(report.find(c.report), std::string::npos) << report;
        } else {
            EXPECT_EQ(report, "");
        }
    }
    EXPECT_FALSE(reachedAfterOverflow);
}

TEST(Generator, DrawsTheProgramsFixedSequenceFromTheFirstRun)
{
    // Every run must show the same letters for the same play.
    game::Generator generator;
    std::string drawn;
    for (int i = 0; i < 3; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "%.7g ", static_cast<double>(generator.next()));
        drawn += text;
    }
    EXPECT_EQ(drawn, "0.7055475 0.533424 0.5795186 ");
}

TEST(Generator, WalksEveryMultipleOfTwoToTheMinus24InOnePeriod)
{
    // Each value in [0, 1) and a whole number of 2^-24 steps, and none repeated before
    // the period of 2^24 ends: every letter is drawn about equally often.
    constexpr std::uint32_t period = 1u << 24;
    game::Generator generator;
    const float first = generator.next();
    std::vector<bool> seen(period, false);
    std::uint32_t faults = 0;
    float value = first;
    for (std::uint32_t i = 0; i < period; ++i) {
        const double scaled = static_cast<double>(value) * period;
        const bool whole = scaled == std::floor(scaled);
        const bool inRange = value >= 0.0f && value < 1.0f;
        if (!whole || !inRange || seen[static_cast<std::uint32_t>(scaled)])
            ++faults;
        else
            seen[static_cast<std::uint32_t>(scaled)] = true;
        value = generator.next();
    }
    EXPECT_EQ(faults, 0u);
    EXPECT_EQ(value, first) << "the sequence should start over after 2^24 draws";
}

} // namespace
