// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace robustness {

// Every event the program can receive, and the fuzzer's own jump of the counters.
enum class Event {
    Timer1, // a tick of the game timer
    Timer2, // a blink of the smiley
    Key, // a character typed into Picture1, any code 0..65535
    Start,
    Stop,
    PauseOn, // the user ticks Pause
    PauseOff, // the user clears Pause
    LevelItem, // Options > Level > I..IV
    SpeedItem, // Options > Acceleration > I..IV
    AboutOpen, // Help > About
    AboutActivate, // the about window becomes the active window again
    AboutOk, // "Ok" on the about window
    Exit, // Exit, or a request to close the main window; the farewell is answered
    Jump, // not an event: Hits and Lost set high through the game state
};
inline constexpr int EventKinds = static_cast<int>(Event::Jump) + 1;
[[nodiscard]] const char* name(Event event);

struct Stats {
    std::uint64_t events = 0; // events fired, jumps not counted
    std::array<std::uint64_t, EventKinds> byKind {};
    std::uint64_t runs = 1; // program runs (a new one after each exit)
    std::uint64_t games = 0, gamesLost = 0, gamesStopped = 0;
    std::uint64_t hits = 0, misses = 0;
    std::uint64_t overflows = 0; // handlers ended by the overflow error
    std::uint64_t runaways = 0; // handlers cut off because ReplaceLetter did not end
    std::uint64_t smileyEvents = 0; // events after which the smiley was shown
    int maxHits = 0, maxFallStep = 0; // reached in play, in games without a jump
    // Invariants broken only in games in which an overflow ended a handler, by kind.
    std::map<std::string, std::uint64_t> afterOverflow;
    // Invariant violations, by kind (the first few are kept in full in `examples`).
    std::map<std::string, std::uint64_t> violations;
    std::vector<std::string> examples;

    [[nodiscard]] std::string summary() const;
};

// Drives one program run after another (the game's handlers on the recording
// runtime with its journal off) with pseudo-random events from a fixed seed.
//
// In window order only the events the windows let through arrive: a tick only
// while its timer runs, keys only while Picture1 is shown and the main window
// enabled, buttons, Pause and menus only while enabled, nothing of the main window
// but its timers while the about window is open. After each event every invariant
// of checkInvariants is checked, and a judged key and a running tick are checked
// for their effect on the counters.
//
// In any order every event may come at any time (Start during a game, a menu item
// while running, keys while stopped) and only checkRanges is checked.
class Fuzzer {
public:
    enum class Order { Window, Any };

    Fuzzer(std::uint64_t seed, Order order);
    ~Fuzzer();

    // Fires one event, or in a running game now and then a jump instead, and
    // checks what must hold after it; the findings are added to stats().
    void step();

    [[nodiscard]] const Stats& stats() const { return m_stats; }

    // A ReplaceLetter that draws this many letters in one event is taken as never
    // ending: the handler is cut off and the program run replaced.
    static constexpr int DrawLimit = 10000;

private:
    struct Program;
    struct Before;
    struct Player {
        double keysPerTick = 0.5; // how many keys arrive per tick
        double accuracy = 0.9; // chance that a key is an active letter
        double stopChance = 0.0002; // chance per event that the player presses Stop
    };

    [[nodiscard]] Event pickWindowOrder();
    [[nodiscard]] Event pickAnyOrder();
    void fire(Event event);
    void fireKey();
    void jump();
    void check(Event event, const Before& before, bool completed);
    void record(const std::string& finding, std::map<std::string, std::uint64_t>& counts);
    void newPlayer();
    [[nodiscard]] double uniform();
    [[nodiscard]] bool chance(double p) { return uniform() < p; }
    [[nodiscard]] int below(int n)
    {
        return static_cast<int>(m_random() % static_cast<unsigned>(n));
    }
    bool run(const char* name, auto&& handler);

    const Order m_order;
    std::mt19937_64 m_random;
    std::unique_ptr<Program> m_program;
    Player m_player;
    bool m_overflowInGame = false;
    bool m_countersHigh = false;
    int m_lastKey = 0;
    std::deque<std::string> m_trail;
    Stats m_stats;
};

} // namespace robustness
