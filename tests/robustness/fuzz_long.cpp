// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The long random run of the game's events, offline:
//   robustness_fuzz [--events N] [--seed S] [--any-order] [--progress N]
// Fires N events (default 100000000) from seed S (default 1) in the orders the
// windows allow, or in any order, checks after every event and prints what it
// found. Exit status 0 when nothing was violated, 1 otherwise, 2 on bad usage.
#include "fuzzer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fprintf(
        stderr, "usage: robustness_fuzz [--events N] [--seed S] [--any-order] [--progress N]\n");
    return 2;
}

bool number(const char* text, std::uint64_t& value)
{
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end && *end == '\0' && end != text;
}

} // namespace

int main(int argc, char* argv[])
{
    std::uint64_t events = 100'000'000, seed = 1, progress = 10'000'000;
    auto order = robustness::Fuzzer::Order::Window;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--any-order") {
            order = robustness::Fuzzer::Order::Any;
        } else if (i + 1 < argc
            && (option == "--events" || option == "--seed" || option == "--progress")) {
            std::uint64_t& target = option == "--events" ? events
                : option == "--seed"                     ? seed
                                                         : progress;
            if (!number(argv[++i], target))
                return usage();
        } else {
            return usage();
        }
    }

    std::printf("seed %llu, %llu events, %s order\n", static_cast<unsigned long long>(seed),
        static_cast<unsigned long long>(events),
        order == robustness::Fuzzer::Order::Window ? "window" : "any");
    std::fflush(stdout);
    const auto started = std::chrono::steady_clock::now();
    robustness::Fuzzer fuzzer(seed, order);
    std::uint64_t nextReport = progress;
    while (fuzzer.stats().events < events) {
        fuzzer.step();
        if (progress && fuzzer.stats().events >= nextReport) {
            nextReport += progress;
            const std::chrono::duration<double> elapsed
                = std::chrono::steady_clock::now() - started;
            std::printf("  %llu events, %.0f s, %zu kinds of violation\n",
                static_cast<unsigned long long>(fuzzer.stats().events), elapsed.count(),
                fuzzer.stats().violations.size());
            std::fflush(stdout);
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    std::printf("%s%.1f s, %.2f us per event\n", fuzzer.stats().summary().c_str(), elapsed.count(),
        elapsed.count() * 1e6 / static_cast<double>(events ? events : 1));
    return fuzzer.stats().violations.empty() ? 0 : 1;
}
