// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/handler.h"
#include "tests/game/fixture.h"

#include <algorithm>
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
        const std::string_view active = lanes.substr(0, level + 1);
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
    for (int lane = 1; lane <= 5; ++lane)
        rt.box(lane).top = 100;
    script("x");
    press('b');
    EXPECT_EQ(rt.journal, (Journal { "Rnd", "Picture2.Top=1", "Label5.Visible=0" }));
    EXPECT_EQ(state().Hits, 1);
    EXPECT_EQ(letters(), "axcde");
    EXPECT_EQ(rt.box(1).top, 100);
    EXPECT_EQ(rt.box(3).top, 100);
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

TEST_F(KeyTest, AWrongFirstKeyEndsTheGameAndShowsItsScore)
{
    startGame();
    press('1');
    EXPECT_EQ(rt.journal,
        (Journal { "Label1.Caption=0", "Label2.Caption=1", "Picture1.Visible=0",
            "Picture2.Visible=0", "Picture3.Visible=0", "Picture4.Visible=0", "Picture5.Visible=0",
            "menu_options.Enabled=1", "Label5.Visible=1", "help.Enabled=1", "Check1.Enabled=0",
            "Check1.Value=0", "Label10.Visible=0", "Timer2.Enabled=0", "Command2.Enabled=1",
            "Command3.Enabled=0" }));
    EXPECT_EQ(state().GameOver, True);
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

TEST_F(KeyTest, AtEqualScoresAMissEndsTheGameAndAHitGoesOn)
{
    for (char key : { 'a', '#' }) {
        SCOPED_TRACE(key);
        startGame();
        state().Hits = 3;
        state().Lost = 3;
        press(key);
        EXPECT_EQ(state().GameOver, key == 'a' ? False : True);
        EXPECT_EQ(state().Hits, key == 'a' ? 4 : 3);
    }
}

TEST_F(KeyTest, EveryKeyThatKeepsTheGameGoingHidesGameOver)
{
    // "Game Over" of the previous game stays through Start until the first judged key.
    for (char key : { 'b', '#' }) {
        SCOPED_TRACE(key);
        startGame();
        state().Hits = 5;
        rt.label(Label::Label5).visible = true;
        press(key);
        EXPECT_FALSE(rt.label(Label::Label5).visible);
    }
}

TEST_F(KeyTest, AKeyThatEndsAPausedGameRestartsTheTickAndLeavesNoBoxFocused)
{
    // Unchecking Pause runs its handler after the boxes are hidden; its focus request
    // must come to nothing rather than focus a hidden box.
    startGame();
    userSetsPause(1);
    rt.clearJournal();
    press('1');
    EXPECT_EQ(state().GameOver, True);
    EXPECT_TRUE(rt.timersEnabled[0]);
    EXPECT_EQ(rt.focusedBox, 0);
    const Journal expected { "Check1.Value=0", "Check1.Value?", "Timer1.Enabled=1",
        "Picture1.SetFocus", "Label10.Visible=0" };
    EXPECT_NE(std::search(rt.journal.begin(), rt.journal.end(), expected.begin(), expected.end()),
        rt.journal.end());
}

TEST_F(KeyTest, AKeyWhilePausedCountsLikeAnyOther)
{
    startGame();
    userSetsPause(1);
    press('b');
    EXPECT_EQ(state().Hits, 1);
    EXPECT_FALSE(rt.timersEnabled[0]) << "a hit must not end the pause";
}

TEST_F(KeyTest, IsIgnoredOnceStoppedOrLost)
{
    for (bool stop : { true, false }) {
        SCOPED_TRACE(stop ? "stopped" : "lost");
        startGame();
        if (stop)
            form.Command3_Click();
        else
            press('1');
        rt.clearJournal();
        const auto lost = state().Lost;
        press('a');
        press('1');
        EXPECT_EQ(rt.journal, Journal {});
        EXPECT_EQ(state().Hits, 0);
        EXPECT_EQ(state().Lost, lost);
        EXPECT_EQ(letters(), "abcde");
    }
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
    for (int speed = 1; speed <= 4; ++speed) {
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

TEST_F(KeyTest, AHitAt32767HitsOverflowsBeforeTheLetterIsReplaced)
{
    startGame();
    state().Hits = 32767;
    EXPECT_THROW(press('a'), game::OverflowError);
    EXPECT_EQ(state().Hits, 32767);
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(rt.journal, Journal {});
}

TEST_F(KeyTest, AMissAt32767LostOverflowsAndLeavesTheStep)
{
    startGame();
    state().Hits = 32767;
    state().Lost = 32767;
    state().FallStep = 7;
    EXPECT_THROW(press('#'), game::OverflowError);
    EXPECT_EQ(state().Lost, 32767);
    EXPECT_EQ(state().FallStep, 7);
}

struct StepOverflowRow {
    const char* name;
    Int16 hits;
    int speed;
    bool overflows;
    friend void PrintTo(const StepOverflowRow& row, std::ostream* out) { *out << row.name; }
};

class FallStepOverflowTest : public GameTest,
                             public testing::WithParamInterface<StepOverflowRow> { };

TEST_P(FallStepOverflowTest, ProductAndSumAreEachChecked)
{
    // Past the limit the step stays as it was and the key's other effects stand.
    const StepOverflowRow& row = GetParam();
    startGame("abcde", 1, row.speed);
    state().Hits = row.hits;
    state().FallStep = 7;
    if (row.overflows) {
        EXPECT_THROW(press('#'), game::OverflowError);
        EXPECT_EQ(state().FallStep, 7);
        EXPECT_EQ(rt.journal, Journal {});
    } else {
        EXPECT_NO_THROW(press('#'));
        EXPECT_EQ(state().FallStep, 655) << "the largest step there can be";
    }
    EXPECT_EQ(state().Lost, 1);
}

INSTANTIATE_TEST_SUITE_P(Limits, FallStepOverflowTest,
    testing::Values(StepOverflowRow { "SumAtTheLimitAtI", 32717, 1, false },
        StepOverflowRow { "SumPastTheLimitAtI", 32718, 1, true },
        StepOverflowRow { "SumOfTheLargestHitsAtI", 32767, 1, true },
        StepOverflowRow { "SumAtTheLimitAtIV", 4089, 4, false },
        StepOverflowRow { "SumPastTheLimitAtIV", 4090, 4, true },
        StepOverflowRow { "ProductPastTheLimitAtIV", 4096, 4, true },
        StepOverflowRow { "ProductPastTheLimitAtII", 16384, 2, true }),
    [](const testing::TestParamInfo<StepOverflowRow>& info) {
        return std::string(info.param.name);
    });

TEST_F(KeyTest, AnOverflowingHitKeepsItsHitAndReplacement)
{
    // 4096 x 8 leaves 16 bits only after the hit has counted and its lane was redrawn.
    startGame("abcde", 1, 4);
    state().Hits = 4095;
    state().FallStep = 7;
    script("x");
    EXPECT_THROW(press('a'), game::OverflowError);
    EXPECT_EQ(state().Hits, 4096);
    EXPECT_EQ(letters(), "xbcde");
    EXPECT_EQ(state().FallStep, 7);
}

TEST_F(KeyTest, AnOverflowEndsOnlyTheHandlerAndIsReported)
{
    startGame();
    state().Hits = 32767;
    testing::internal::CaptureStderr();
    const bool ended = game::runHandler("Picture1_KeyPress", [this] { press('a'); });
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ended);
    EXPECT_NE(report.find("Picture1_KeyPress"), std::string::npos) << report;
    EXPECT_TRUE(game::runHandler("Timer1_Timer", [this] { form.Timer1_Timer(); }))
        << "the game goes on with the next event";
}

} // namespace
