// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <array>
#include <ostream>
#include <string>

using namespace test;
using game::False;
using game::Int16;
using game::Label;
using game::True;

namespace {

using KeyTest = GameTest;

class KeyCodeTest : public GameTest, public testing::WithParamInterface<int> { };

TEST_P(KeyCodeTest, EveryCodeHitsOnlyTheLetterOfAnActiveLane)
{
    // Six sets of five lanes put all 26 letters in play at level IV and, at the lower
    // levels, letters in the lanes off the field. Codes above 32767 arrive as negative
    // 16-bit values; no code may fault, fold case or hit a letter it is not, and a miss
    // leaves the letters alone.
    const int level = GetParam();
    rt.recording = false;
    startGame("abcde", level);
    int faults = 0;
    std::string firstFaults;
    for (std::string_view lanes : { "abcde", "fghij", "klmno", "pqrst", "uvwxy", "zabcd" }) {
        const std::string_view active = lanes.substr(0, game::activeLanes(level));
        for (int code = 0; code <= 0xffff; ++code) {
            setLetters(lanes);
            state().Hits = 10;
            state().Lost = 0;
            const bool hit = code < 128 && active.find(static_cast<char>(code)) != active.npos;
            bool ok = false;
            try {
                form.Picture1_KeyPress(static_cast<Int16>(code));
                ok = hit ? state().Hits == 11 && state().Lost == 0
                         : state().Hits == 10 && state().Lost == 1 && letters() == lanes;
            } catch (...) {
            }
            if (!ok && ++faults <= 5)
                firstFaults += std::to_string(code) + " with " + std::string(lanes) + "; ";
        }
    }
    EXPECT_EQ(faults, 0) << firstFaults;
}

INSTANTIATE_TEST_SUITE_P(Levels, KeyCodeTest, testing::Values(1, 2, 3, 4),
    [](const testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });

TEST_F(KeyTest, AHitSendsOnlyItsOwnBoxBackToTheTop)
{
    startGame("abcde", 3);
    for (int lane = 1; lane <= game::Lanes; ++lane)
        rt.box(lane).top = 100;
    script("x");
    press('b');
    EXPECT_EQ(state().Hits, 1);
    EXPECT_EQ(letters(), "axcde");
    for (int lane = 1; lane <= game::Lanes; ++lane)
        EXPECT_EQ(rt.box(lane).top, lane == 2 ? 1 : 100) << "Picture" << lane;
}

TEST_F(KeyTest, AHitThatRedrawsTheSameLetterScoresOnce)
{
    // The new letter of lane 1 may be the key again; lanes are not tested twice.
    startGame("abcde", 4);
    script("a");
    press('a');
    EXPECT_EQ(state().Hits, 1);
    EXPECT_EQ(state().Lost, 0);
    EXPECT_EQ(draws(), 1);
}

TEST_F(KeyTest, AGameLostByAKeyShowsItsOwnFinalScoreNotThePreviousGames)
{
    // No tick writes the counters after a key ends the game, so without writing them here
    // "Game Over" would stand beside the score of the last tick, or of the last game.
    startGame();
    state().Hits = 40;
    state().Lost = 12;
    form.Timer1_Timer();
    form.Command3_Click();
    script("abcde");
    form.Command2_Click();
    press('1');
    EXPECT_EQ(rt.label(Label::Label1).caption, "0");
    EXPECT_EQ(rt.label(Label::Label2).caption, "1");
}

TEST_F(KeyTest, AKeyWhilePausedCountsLikeAnyOther)
{
    startGame();
    userSetsPause(1);
    press('b');
    EXPECT_EQ(state().Hits, 1);
    EXPECT_FALSE(rt.timersEnabled[0]) << "a hit must not end the pause";
}

struct StepRow {
    Int16 hits;
    std::array<Int16, 4> stepAt; // accelerations I..IV
    friend void PrintTo(const StepRow& row, std::ostream* out) { *out << "Hits " << row.hits; }
};

class FallStepTest : public GameTest, public testing::WithParamInterface<StepRow> { };

TEST_P(FallStepTest, GrowsWithHitsAsEachAccelerationSays)
{
    const StepRow& row = GetParam();
    for (int speed = 1; speed <= game::Speeds; ++speed) {
        SCOPED_TRACE("acceleration " + std::to_string(speed));
        startGame("abcde", 1, speed);
        state().Hits = row.hits;
        state().FallStep = -1;
        press('#'); // a miss recomputes the step from an unchanged Hits
        EXPECT_EQ(state().FallStep, row.stepAt[speed - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FallStepTest,
    testing::Values(StepRow { 0, { 1, 1, 1, 1 } }, StepRow { 7, { 1, 1, 1, 2 } },
        StepRow { 13, { 1, 1, 2, 3 } }, StepRow { 25, { 1, 2, 3, 5 } },
        StepRow { 50, { 2, 3, 5, 9 } }, StepRow { 100, { 3, 5, 9, 17 } }),
    [](const testing::TestParamInfo<StepRow>& info) {
        return "Hits" + std::to_string(info.param.hits);
    });

struct LimitRow {
    const char* name;
    Int16 hits, lost;
    int speed;
    char key; // 'a' hits lane 1, '#' misses
    bool overflows;
    Int16 hitsAfter, lostAfter, stepAfter;
    const char* lettersAfter;
    friend void PrintTo(const LimitRow& row, std::ostream* out) { *out << row.name; }
};

class KeyLimitTest : public GameTest, public testing::WithParamInterface<LimitRow> { };

TEST_P(KeyLimitTest, EachCounterStepIsCheckedAndAnOverflowEndsTheKeyThere)
{
    // The steps before the failed one stand; none after it runs, so neither the step
    // nor the game-over test changes anything.
    const LimitRow& row = GetParam();
    startGame("abcde", 1, row.speed);
    state().Hits = row.hits;
    state().Lost = row.lost;
    state().FallStep = 7;
    script("x");
    if (row.overflows)
        EXPECT_THROW(press(row.key), game::OverflowError);
    else
        EXPECT_NO_THROW(press(row.key));
    EXPECT_EQ(state().Hits, row.hitsAfter);
    EXPECT_EQ(state().Lost, row.lostAfter);
    EXPECT_EQ(state().FallStep, row.stepAfter);
    EXPECT_EQ(letters(), row.lettersAfter);
    EXPECT_EQ(rt.entries("Label").empty(), row.overflows);
}

INSTANTIATE_TEST_SUITE_P(Limits, KeyLimitTest,
    testing::Values(LimitRow { "HitAt32767Hits", 32767, 0, 1, 'a', true, 32767, 0, 7, "abcde" },
        LimitRow { "MissAt32767Lost", 32767, 32767, 1, '#', true, 32767, 32767, 7, "abcde" },
        // 1 + floor((Hits x factor + 50) / 50): 655 is the largest step there can be.
        LimitRow { "SumAtTheLimitAtI", 32717, 0, 1, '#', false, 32717, 1, 655, "abcde" },
        LimitRow { "SumPastTheLimitAtI", 32718, 0, 1, '#', true, 32718, 1, 7, "abcde" },
        LimitRow { "SumOfTheLargestHitsAtI", 32767, 0, 1, '#', true, 32767, 1, 7, "abcde" },
        LimitRow { "SumAtTheLimitAtIV", 4089, 0, 4, '#', false, 4089, 1, 655, "abcde" },
        LimitRow { "SumPastTheLimitAtIV", 4090, 0, 4, '#', true, 4090, 1, 7, "abcde" },
        LimitRow { "ProductPastTheLimitAtIV", 4096, 0, 4, '#', true, 4096, 1, 7, "abcde" },
        LimitRow { "ProductPastTheLimitAtII", 16384, 0, 2, '#', true, 16384, 1, 7, "abcde" },
        // 4096 x 8 leaves 16 bits only after the hit has counted and its lane was redrawn.
        LimitRow { "HitWhoseStepOverflows", 4095, 0, 4, 'a', true, 4096, 0, 7, "xbcde" }),
    [](const testing::TestParamInfo<LimitRow>& info) { return std::string(info.param.name); });

} // namespace
