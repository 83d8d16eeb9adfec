// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzer.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace robustness;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The instrumented build runs some forty times slower; the plain build runs the
// full count, and the long offline run (scripts/fuzz-long) goes much further.
constexpr int EventsPerSeed = 100'000;
#else
constexpr int EventsPerSeed = 250'000;
#endif

std::string testName(const testing::TestParamInfo<std::uint64_t>& info)
{
    return "Seed" + std::to_string(info.param);
}

} // namespace

// Events only in the orders the windows allow, four seeds of a quarter million
// events each: every invariant must hold after every event.
class WindowOrderFuzz : public testing::TestWithParam<std::uint64_t> { };

TEST_P(WindowOrderFuzz, EveryInvariantHoldsAfterEveryEvent)
{
    Fuzzer fuzzer(GetParam(), Fuzzer::Order::Window);
    for (int i = 0; i < EventsPerSeed; ++i)
        fuzzer.step();
    const Stats& stats = fuzzer.stats();
    std::printf("%s", stats.summary().c_str());

    EXPECT_TRUE(stats.violations.empty()) << stats.summary();
    // A driver that never gets far proves nothing: every seed must play long games
    // up to the praise and a raised FallStep, lose and stop games, pause, open the
    // about window and run into the overflow error.
    EXPECT_GT(stats.gamesLost, 0u);
    EXPECT_GT(stats.gamesStopped, 0u);
    EXPECT_GT(stats.smileyEvents, 0u);
    EXPECT_GE(stats.maxFallStep, 5);
    EXPECT_GT(stats.byKind[static_cast<int>(Event::PauseOn)], 0u);
    EXPECT_GT(stats.byKind[static_cast<int>(Event::AboutOk)], 0u);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_GT(stats.overflows, 0u);
#endif
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowOrderFuzz, testing::Values(1, 2, 3, 4), testName);

// Any event at any time, also those the windows never let through: nothing may
// crash or invoke undefined behaviour (the sanitizer build runs this too), and
// every variable stays within its range.
class AnyOrderFuzz : public testing::TestWithParam<std::uint64_t> { };

TEST_P(AnyOrderFuzz, NothingLeavesItsRange)
{
    Fuzzer fuzzer(GetParam(), Fuzzer::Order::Any);
    for (int i = 0; i < EventsPerSeed; ++i)
        fuzzer.step();
    const Stats& stats = fuzzer.stats();
    std::printf("%s", stats.summary().c_str());
    EXPECT_TRUE(stats.violations.empty()) << stats.summary();
    // A letter drawn anew must come to an end even when other lanes share a letter
    // (a level changed during a game, keys before the first Start).
    EXPECT_EQ(stats.runaways, 0u) << stats.summary();
}

INSTANTIATE_TEST_SUITE_P(Seeds, AnyOrderFuzz, testing::Values(11, 12), testName);
