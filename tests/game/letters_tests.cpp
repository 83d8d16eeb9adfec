// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <array>
#include <cmath>
#include <ostream>
#include <set>

using namespace test;

namespace {

using DrawLetterTest = GameTest;

TEST_F(DrawLetterTest, EachTwentySixthOfTheRangeIsOneLetterUpToItsEnds)
{
    // Rounding instead of the floor would give 96 or 123 at the ends of [0, 1).
    rt.scriptedRandom = { 0.0f, std::nextafter(1.0f, 0.0f) };
    EXPECT_EQ(form.DrawLetter(), 'a');
    EXPECT_EQ(form.DrawLetter(), 'z');
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        rt.scriptedRandom = { randomFor(letter) };
        EXPECT_EQ(form.DrawLetter(), letter);
    }
}

TEST_F(DrawLetterTest, TheProgramsGeneratorGivesOnlyLowerCaseLettersAndAllOfThem)
{
    rt.recording = false;
    std::set<int> drawn;
    for (int i = 0; i < 20000; ++i) {
        const int code = form.DrawLetter();
        ASSERT_GE(code, 'a');
        ASSERT_LE(code, 'z');
        drawn.insert(code);
    }
    EXPECT_EQ(drawn.size(), 26u);
}

using DrawAllLettersTest = GameTest;

TEST_F(DrawAllLettersTest, ACollisionOfAnyTwoLanesRedrawsLanesTwoToFiveButKeepsLaneOne)
{
    // Start draws the same way at every level: even at level I, where lanes 4 and 5
    // stand off the field, a repeat between them is drawn again.
    load();
    for (const char* drawn : { "a"
                               "bacd" // lane 3 repeats lane 1
                               "bcde",
             "a"
             "bcdd" // lanes 4 and 5
             "bcde" }) {
        SCOPED_TRACE(drawn);
        rt.clearJournal();
        script(drawn);
        form.DrawAllLetters();
        EXPECT_EQ(letters(), "abcde");
        EXPECT_EQ(draws(), 9);
    }
}

TEST_F(DrawAllLettersTest, FromTheProgramsGeneratorAlwaysGivesFiveDifferentLetters)
{
    rt.recording = false;
    for (int round = 0; round < 2000; ++round) {
        form.DrawAllLetters();
        const std::string drawn = letters();
        ASSERT_EQ(std::set<char>(drawn.begin(), drawn.end()).size(), 5u) << drawn;
    }
}

struct ReplaceRow {
    const char* name;
    const char* before;
    int lane, level;
    const char* drawn;
    const char* after;
    friend void PrintTo(const ReplaceRow& row, std::ostream* out) { *out << row.name; }
};

class ReplaceLetterTest : public GameTest, public testing::WithParamInterface<ReplaceRow> { };

TEST_P(ReplaceLetterTest, DrawsUntilTheLetterDiffersFromTheOtherActiveLanesOnly)
{
    // The box goes back to the top, but its new letter shows only at the next tick.
    const ReplaceRow& row = GetParam();
    setLetters(row.before);
    rt.box(row.lane).top = 200;
    const std::u16string shown(1, u'?');
    rt.box(row.lane).printed = shown;
    script(row.drawn);
    form.ReplaceLetter(row.lane, row.level);
    EXPECT_EQ(letters(), row.after);
    EXPECT_EQ(draws(), static_cast<int>(std::string_view(row.drawn).size()));
    EXPECT_EQ(rt.box(row.lane).top, 1);
    EXPECT_EQ(rt.box(row.lane).printed, shown);
}

INSTANTIATE_TEST_SUITE_P(Lanes, ReplaceLetterTest,
    testing::Values(ReplaceRow { "LevelIMayRepeatAnInactiveLane", "abcde", 1, 1, "c", "cbcde" },
        // Any other active letter is drawn again; the lane's own old letter may come back.
        ReplaceRow { "LevelIVRejectsEveryOtherLane", "abcde", 3, 4, "abdec", "abcde" },
        ReplaceRow { "LevelIIIIgnoresLaneFive", "abcde", 1, 3, "e", "ebcde" },
        ReplaceRow { "LevelIIRejectsTheLetterOfLaneThree", "abcde", 1, 2, "cf", "fbcde" },
        // Before the first Start every letter is 0; a replacement must still end once the
        // new letter differs from the others instead of drawing for ever.
        ReplaceRow { "EndsWhenTwoOtherLanesShareALetter", "aabbc", 5, 4, "d", "aabbd" }),
    [](const testing::TestParamInfo<ReplaceRow>& info) { return std::string(info.param.name); });

struct LaneRow {
    int level;
    std::array<float, game::Lanes> lefts;
    friend void PrintTo(const LaneRow& row, std::ostream* out) { *out << "level " << row.level; }
};

class PlaceLanesTest : public GameTest, public testing::WithParamInterface<LaneRow> { };

TEST_P(PlaceLanesTest, SetsTheLeftOfAllFiveBoxesAndLeavesTheirTop)
{
    for (int lane = 1; lane <= game::Lanes; ++lane)
        rt.box(lane).top = 77;
    form.PlaceLanes(GetParam().level);
    for (int lane = 1; lane <= game::Lanes; ++lane) {
        EXPECT_EQ(rt.box(lane).left, GetParam().lefts[lane - 1]) << "Picture" << lane;
        EXPECT_EQ(rt.box(lane).top, 77) << "Picture" << lane;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, PlaceLanesTest,
    testing::Values(LaneRow { 1, { 104, 200, -40, -40, -40 } },
        LaneRow { 2, { 56, 136, 216, -40, -40 } }, LaneRow { 3, { 40, 104, 168, 232, -40 } },
        LaneRow { 4, { 40, 104, 168, 232, 296 } }),
    [](const testing::TestParamInfo<LaneRow>& info) {
        return "Level" + std::to_string(info.param.level);
    });

} // namespace
