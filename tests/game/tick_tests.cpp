// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <ostream>

using namespace test;
using game::Label;
using game::True;

namespace {

using TickTest = GameTest;

TEST_F(TickTest, BeforeTheFirstStartPrintsCodeZeroIntoTheHiddenBoxesAndShowsZeros)
{
    // Timer1 ticks from start-up on; the tick must cope with the untouched state:
    // FallStep 0 moves nothing and no box can fall out.
    load();
    rt.box(1).top = rt.box(2).top = 386;
    rt.label(Label::Label5).visible = true;
    form.Timer1_Timer();
    for (int lane = 1; lane <= 2; ++lane) {
        EXPECT_EQ(rt.box(lane).top, 386) << "Picture" << lane;
        EXPECT_EQ(rt.box(lane).printed, std::u16string(1, u'\0')) << "Picture" << lane;
    }
    EXPECT_EQ(state().Lost, 0);
    EXPECT_EQ(rt.label(Label::Label1).caption, "0");
    EXPECT_EQ(rt.label(Label::Label2).caption, "0");
    EXPECT_EQ(look(), WindowState::Idle);
}

TEST_F(TickTest, ShowsTheScoreOfTheKeysTypedSinceTheLastTick)
{
    // A judged key that does not end the game leaves the captions to the next tick.
    startGame();
    form.Timer1_Timer();
    press('a');
    press('b');
    press('#');
    form.Timer1_Timer();
    EXPECT_EQ(rt.label(Label::Label1).caption, "2");
    EXPECT_EQ(rt.label(Label::Label2).caption, "1");
}

enum class Event { Tick, Key };

struct FinishedRow {
    const char* name;
    bool stopped; // else lost
    Event event;
    friend void PrintTo(const FinishedRow& row, std::ostream* out) { *out << row.name; }
};

class FinishedGameTest : public GameTest, public testing::WithParamInterface<FinishedRow> { };

TEST_P(FinishedGameTest, NeitherATickNorAKeyChangesAnything)
{
    // Timer1 goes on ticking between games and Picture1 may still take a key.
    const FinishedRow& row = GetParam();
    startGame();
    rt.box(1).top = 386;
    if (row.stopped)
        form.Command3_Click();
    else
        press('z');
    rt.clearJournal();
    const game::GameState before = state();
    if (row.event == Event::Tick) {
        form.Timer1_Timer();
    } else {
        press('a');
        press('1');
    }
    EXPECT_EQ(rt.journal, Journal {});
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(state().Hits, before.Hits);
    EXPECT_EQ(state().Lost, before.Lost);
    EXPECT_EQ(state().FallStep, before.FallStep);
}

INSTANTIATE_TEST_SUITE_P(Events, FinishedGameTest,
    testing::Values(FinishedRow { "TickWhenStopped", true, Event::Tick },
        FinishedRow { "TickWhenLost", false, Event::Tick },
        FinishedRow { "KeyWhenStopped", true, Event::Key },
        FinishedRow { "KeyWhenLost", false, Event::Key }),
    [](const testing::TestParamInfo<FinishedRow>& info) { return std::string(info.param.name); });

struct EndRow {
    const char* name;
    Event event; // a tick in which lane 1 falls out, or a key
    char key; // 'a' hits lane 1, '#' misses
    game::Int16 hits, lost;
    bool gameOver;
    game::Int16 lostAfter;
    const char* shownLost; // Label2 afterwards; nullptr when not written
    friend void PrintTo(const EndRow& row, std::ostream* out) { *out << row.name; }
};

class EndOfGameTest : public GameTest, public testing::WithParamInterface<EndRow> { };

TEST_P(EndOfGameTest, EndsTheGameOnceLostExceedsHits)
{
    // "Game Over" of the previous game stays through Start until the first tick or
    // judged key that does not end the new game.
    const EndRow& row = GetParam();
    startGame();
    state().Hits = row.hits;
    state().Lost = row.lost;
    rt.label(Label::Label5).visible = true;
    if (row.event == Event::Tick) {
        rt.box(1).top = 386;
        form.Timer1_Timer();
    } else {
        press(row.key);
    }
    EXPECT_EQ(state().GameOver, row.gameOver ? True : game::False);
    EXPECT_EQ(rt.label(Label::Label5).visible, row.gameOver);
    EXPECT_EQ(state().Lost, row.lostAfter);
    if (row.shownLost) {
        EXPECT_EQ(rt.label(Label::Label2).caption, row.shownLost) << "the final Lost is shown";
    }
}

INSTANTIATE_TEST_SUITE_P(Events, EndOfGameTest,
    testing::Values(EndRow { "TickAtEqualScores", Event::Tick, 0, 5, 0, false, 5, "5" },
        EndRow { "TickOneAbove", Event::Tick, 0, 4, 0, true, 5, "5" },
        EndRow { "TickUpTo32767", Event::Tick, 0, 32767, 32762, false, 32767, "32767" },
        EndRow { "HitAtEqualScores", Event::Key, 'a', 3, 3, false, 3, nullptr },
        EndRow { "MissAtEqualScores", Event::Key, '#', 3, 3, true, 4, "4" },
        EndRow { "MissBehind", Event::Key, '#', 5, 0, false, 1, nullptr },
        EndRow { "HitAhead", Event::Key, 'b', 5, 0, false, 0, nullptr }),
    [](const testing::TestParamInfo<EndRow>& info) { return std::string(info.param.name); });

struct BottomRow {
    const char* name;
    float topBefore;
    game::Int16 fallStep;
    float scaleHeight;
    bool lost;
    friend void PrintTo(const BottomRow& row, std::ostream* out) { *out << row.name; }
};

class BottomLineTest : public GameTest, public testing::WithParamInterface<BottomRow> { };

TEST_P(BottomLineTest, LosesTheLetterOnceItsBoxTopReachesTheInnerHeight)
{
    const BottomRow& row = GetParam();
    startGame();
    state().Hits = 100;
    state().FallStep = row.fallStep;
    rt.clientHeight = row.scaleHeight;
    rt.box(1).top = row.topBefore;
    script("x");
    form.Timer1_Timer();
    EXPECT_EQ(state().Lost, row.lost ? 5 : 0);
    EXPECT_EQ(rt.box(1).top, row.lost ? 1.0f : row.topBefore + row.fallStep);
    EXPECT_EQ(letters()[0], row.lost ? 'x' : 'a');
}

INSTANTIATE_TEST_SUITE_P(Boxes, BottomLineTest,
    testing::Values(BottomRow { "ReachesTheBottomExactly", 386, 1, 387, true },
        BottomRow { "StopsOneAboveTheBottom", 385, 1, 387, false },
        BottomRow { "JumpsPastTheBottom", 380, 17, 387, true },
        BottomRow { "ReachesTheBottomOfAShorterWindow", 299, 1, 300, true },
        BottomRow { "StopsOneAboveTheBottomOfAShorterWindow", 298, 1, 300, false },
        BottomRow { "StandsStillAtStepZero", 386, 0, 387, false }),
    [](const testing::TestParamInfo<BottomRow>& info) { return std::string(info.param.name); });

class LevelTickTest : public GameTest, public testing::WithParamInterface<int> { };

TEST_P(LevelTickTest, MovesClearsAndPrintsEveryActiveLaneAndNoOther)
{
    // Lanes outside the level stand off the field at Left -40: moving or testing them
    // would lose letters nobody can see. A box cleared after its print would show nothing.
    const int level = GetParam();
    startGame("abcde", level);
    state().Hits = 100;
    state().FallStep = 3;
    for (int lane = game::activeLanes(level) + 1; lane <= game::Lanes; ++lane)
        rt.box(lane).top = 386;
    form.Timer1_Timer();
    for (int lane = 1; lane <= game::Lanes; ++lane) {
        SCOPED_TRACE("Picture" + std::to_string(lane));
        if (lane <= game::activeLanes(level)) {
            EXPECT_EQ(rt.box(lane).top, 4);
            EXPECT_EQ(rt.box(lane).printed, std::u16string(1, u"abcde"[lane - 1]));
        } else {
            EXPECT_EQ(rt.entries("Picture" + std::to_string(lane) + "."), Journal {});
        }
    }
    EXPECT_EQ(state().Lost, 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelTickTest, testing::Values(1, 2, 3, 4),
    [](const testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });

TEST_F(TickTest, AReplacementThatNeedsSeveralDrawsCostsFiveAndShowsNextTick)
{
    startGame("abcde", 2);
    state().Hits = 100;
    rt.box(2).top = 386;
    script("acx"); // a and c are held by lanes 1 and 3
    form.Timer1_Timer();
    EXPECT_EQ(state().Lost, 5);
    EXPECT_EQ(letters(), "axcde");
    EXPECT_EQ(rt.box(2).top, 1);
    EXPECT_EQ(rt.box(2).printed, u"b") << "the new letter waits for the next tick";
    form.Timer1_Timer();
    EXPECT_EQ(rt.box(2).printed, u"x");
    EXPECT_EQ(rt.box(2).top, 2);
}

TEST_F(TickTest, TwoLettersLostInOneTickCostTenAndGetDifferentLetters)
{
    // Lane 4's replacement is compared with the letter lane 2 has just been given.
    startGame("abcde", 4);
    state().Hits = 100;
    rt.box(2).top = 386;
    rt.box(4).top = 386;
    script("af" // lane 2: a is lane 1's
           "fg"); // lane 4: f is lane 2's new letter
    form.Timer1_Timer();
    EXPECT_EQ(state().Lost, 10);
    EXPECT_EQ(letters(), "afcge");
    EXPECT_EQ(rt.label(Label::Label2).caption, "10");
}

class PraiseTest : public GameTest, public testing::WithParamInterface<int> { };

TEST_P(PraiseTest, ShowsTheSmileyFromALeadOf170AndNeverSwitchesItsTimerOffWhileItHolds)
{
    // Timer2 must keep running across the ticks that hold the praise: switched off and
    // on again it would restart, twenty times a second, and never blink.
    const int lead = GetParam();
    startGame();
    state().Hits = 200;
    state().Lost = static_cast<game::Int16>(200 - lead);
    const bool praised = lead >= game::PraiseLead;
    for (int tick = 0; tick < 3; ++tick)
        form.Timer1_Timer();
    EXPECT_EQ(rt.label(Label::Label10).visible, praised);
    EXPECT_EQ(rt.timersEnabled[1], praised);
    if (praised) {
        EXPECT_EQ(rt.entries("Timer2"), Journal(3, "Timer2.Enabled=1"));
    }
}

INSTANTIATE_TEST_SUITE_P(Leads, PraiseTest, testing::Values(169, 170),
    [](const testing::TestParamInfo<int>& info) { return "Lead" + std::to_string(info.param); });

TEST_F(TickTest, ALetterLostDuringPraiseCanHideTheSmileyInTheSameTick)
{
    startGame();
    state().Hits = 174;
    form.Timer1_Timer();
    ASSERT_TRUE(rt.label(Label::Label10).visible);
    rt.box(1).top = 386;
    form.Timer1_Timer();
    EXPECT_EQ(state().Lost, 5);
    EXPECT_FALSE(rt.label(Label::Label10).visible);
    EXPECT_FALSE(rt.timersEnabled[1]);
}

TEST_F(TickTest, LostAboveThe16BitLimitStopsTheTickAfterTheReplacement)
{
    startGame();
    state().Hits = 32767;
    state().Lost = 32763;
    rt.box(1).top = 386;
    script("x");
    EXPECT_THROW(form.Timer1_Timer(), game::OverflowError);
    EXPECT_EQ(state().Lost, 32763);
    EXPECT_EQ(letters()[0], 'x');
    EXPECT_EQ(rt.box(1).top, 1);
    EXPECT_EQ(rt.journal.back(), "Picture1.Top=1") << "nothing may follow the failed step";
}

using BlinkTest = GameTest;

TEST_F(BlinkTest, AlternatesFacesFromStartUpAndWrapsTheCountAtTen)
{
    load();
    Journal faces;
    for (int step = 1; step <= 11; ++step) {
        form.Timer2_Timer();
        faces.push_back(rt.label(Label::Label10).caption);
        if (step == 10) {
            EXPECT_EQ(state().BlinkCount, 0);
        }
    }
    EXPECT_EQ(faces,
        (Journal { ":-)", ";-)", ":-)", ";-)", ":-)", ";-)", ":-)", ";-)", ":-)", ";-)", ":-)" }));
    EXPECT_EQ(state().BlinkCount, 1);
}

TEST_F(BlinkTest, ContinuesFromTheStoredCountInALaterGame)
{
    load();
    for (int step = 0; step < 3; ++step)
        form.Timer2_Timer();
    script("abcde");
    form.Command2_Click();
    form.Timer2_Timer();
    EXPECT_EQ(rt.label(Label::Label10).caption, ";-)");
}

} // namespace
