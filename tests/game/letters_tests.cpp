// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <cmath>
#include <ostream>
#include <set>

using namespace test;

namespace {

using DrawLetterTest = GameTest;

TEST_F(DrawLetterTest, TheEndsOfTheRandomRangeGiveAAndZ)
{
    // Rounding instead of the floor would give 96 or 123 at the ends of [0, 1).
    rt.scriptedRandom = { 0.0f, std::nextafter(1.0f, 0.0f) };
    EXPECT_EQ(form.DrawLetter(), 'a');
    EXPECT_EQ(form.DrawLetter(), 'z');
}

TEST_F(DrawLetterTest, EachTwentySixthOfTheRangeIsOneLetter)
{
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

TEST_F(DrawAllLettersTest, ACollisionRedrawsLanesTwoToFiveButKeepsLaneOne)
{
    script("a"
           "bacd" // lane 3 repeats lane 1
           "bcde");
    form.DrawAllLetters();
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(draws(), 9);
}

TEST_F(DrawAllLettersTest, ComparesAllFiveLanesWhateverTheLevel)
{
    // Start draws the same way at every level: even at level I, where lanes 4 and 5 stand
    // off the field, a repeat between them is drawn again.
    load();
    script("a"
           "bcdd"
           "bcde");
    form.DrawAllLetters();
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(draws(), 9);
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

using ReplaceLetterTest = GameTest;

TEST_F(ReplaceLetterTest, RedrawsAndResetsTheTopUntilTheActiveLettersDiffer)
{
    // Each draw puts the box back to Top 1; the box is neither cleared nor printed into,
    // and the lane may end up with the letter it had before.
    setLetters("abcde");
    rt.box(3).top = 200;
    script("abdec");
    form.ReplaceLetter(3, 4);
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(rt.journal,
        (Journal { "Rnd", "Picture3.Top=1", "Rnd", "Picture3.Top=1", "Rnd", "Picture3.Top=1", "Rnd",
            "Picture3.Top=1", "Rnd", "Picture3.Top=1" }));
    EXPECT_EQ(rt.box(3).top, 1);
}

struct ReplaceRow {
    const char* name;
    const char* before;
    int lane, level;
    const char* drawn;
    const char* after;
    friend void PrintTo(const ReplaceRow& row, std::ostream* out) { *out << row.name; }
};

class ReplaceRuleTest : public GameTest, public testing::WithParamInterface<ReplaceRow> { };

TEST_P(ReplaceRuleTest, DrawsUntilTheLetterDiffersFromTheOtherActiveLanesOnly)
{
    const ReplaceRow& row = GetParam();
    setLetters(row.before);
    script(row.drawn);
    form.ReplaceLetter(row.lane, row.level);
    EXPECT_EQ(letters(), row.after);
    EXPECT_EQ(draws(), static_cast<int>(std::string_view(row.drawn).size()));
}

INSTANTIATE_TEST_SUITE_P(Lanes, ReplaceRuleTest,
    testing::Values(ReplaceRow { "LevelIMayRepeatAnInactiveLane", "abcde", 1, 1, "c", "cbcde" },
        ReplaceRow { "LevelIIIIgnoresLaneFive", "abcde", 1, 3, "e", "ebcde" },
        ReplaceRow { "LevelIIRejectsTheLetterOfLaneThree", "abcde", 1, 2, "cf", "fbcde" },
        // Before the first Start every letter is 0; a replacement must still end once the
        // new letter differs from the others instead of drawing for ever.
        ReplaceRow { "EndsWhenTwoOtherLanesShareALetter", "aabbc", 5, 4, "d", "aabbd" }),
    [](const testing::TestParamInfo<ReplaceRow>& info) { return std::string(info.param.name); });

struct LaneRow {
    int level;
    Journal lefts;
    friend void PrintTo(const LaneRow& row, std::ostream* out) { *out << "level " << row.level; }
};

class PlaceLanesTest : public GameTest, public testing::WithParamInterface<LaneRow> { };

TEST_P(PlaceLanesTest, SetsTheLeftOfAllFiveBoxesInLaneOrder)
{
    rt.box(2).top = 77;
    form.PlaceLanes(GetParam().level);
    EXPECT_EQ(rt.journal, GetParam().lefts);
    EXPECT_EQ(rt.box(2).top, 77) << "placing must leave the Top alone";
}

INSTANTIATE_TEST_SUITE_P(Levels, PlaceLanesTest,
    testing::Values(LaneRow { 1,
                        { "Picture1.Left=104", "Picture2.Left=200", "Picture3.Left=-40",
                            "Picture4.Left=-40", "Picture5.Left=-40" } },
        LaneRow { 2,
            { "Picture1.Left=56", "Picture2.Left=136", "Picture3.Left=216", "Picture4.Left=-40",
                "Picture5.Left=-40" } },
        LaneRow { 3,
            { "Picture1.Left=40", "Picture2.Left=104", "Picture3.Left=168", "Picture4.Left=232",
                "Picture5.Left=-40" } },
        LaneRow { 4,
            { "Picture1.Left=40", "Picture2.Left=104", "Picture3.Left=168", "Picture4.Left=232",
                "Picture5.Left=296" } }),
    [](const testing::TestParamInfo<LaneRow>& info) {
        return "Level" + std::to_string(info.param.level);
    });

} // namespace
