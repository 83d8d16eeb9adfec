// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's handlers alone, on a runtime that does nothing: one tick of a running
// game at each level, one judged hit and one judged miss. The tick at level IV has
// a budget of 0.5 us (scripts/measure checks it from this program's JSON output).
#include "game/form1.h"
#include "nullruntime.h"

#include <benchmark/benchmark.h>

namespace {

// A game just started at the level, acceleration I, FallStep 1.
void startGame(game::Form1& form, int level)
{
    form.Form_Load();
    (form.*game::levelItems[level - 1].click)();
    form.Command2_Click();
}

// One tick of a running game at level I..IV: every active box falls by one pixel,
// is cleared and printed, none reaches the bottom; captions and end-of-tick checks.
void BM_Tick(benchmark::State& state)
{
    bench::NullRuntime rt;
    game::Form1 form(rt);
    startGame(form, static_cast<int>(state.range(0)));
    for (auto _ : state)
        form.Timer1_Timer();
    if (form.state().GameOver)
        state.SkipWithError("the game ended during the run");
}
BENCHMARK(BM_Tick)->DenseRange(1, 4)->ArgName("level");

// A key that matches lane 1 at level IV: Hits + 1, a new letter for the lane,
// FallStep recomputed. Hits is put back so that it never nears its limit.
void BM_KeyHit(benchmark::State& state)
{
    bench::NullRuntime rt;
    game::Form1 form(rt);
    startGame(form, 4);
    auto& game = form.state();
    for (auto _ : state) {
        form.Picture1_KeyPress(game.Letters[0]);
        game.Hits = 0;
    }
    if (game.GameOver)
        state.SkipWithError("the game ended during the run");
}
BENCHMARK(BM_KeyHit);

// A key that matches no lane at level IV: Lost + 1 while Hits stays ahead.
void BM_KeyMiss(benchmark::State& state)
{
    bench::NullRuntime rt;
    game::Form1 form(rt);
    startGame(form, 4);
    auto& game = form.state();
    game.Hits = 1000;
    for (auto _ : state) {
        form.Picture1_KeyPress('A');
        game.Lost = 0;
    }
    if (game.GameOver)
        state.SkipWithError("the game ended during the run");
}
BENCHMARK(BM_KeyMiss);

} // namespace

BENCHMARK_MAIN();
