// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <ostream>

using namespace test;
using game::Window;

namespace {

using AboutTest = GameTest;

TEST_F(AboutTest, OpeningShowsTheAboutWindowAndDisablesTheMainWindow)
{
    load();
    form.about_Click();
    EXPECT_TRUE(rt.window(Window::Form2).visible);
    EXPECT_FALSE(rt.window(Window::Form1).enabled);
}

TEST_F(AboutTest, OpeningDuringAGameLetsItGoOn)
{
    startGame();
    form.about_Click();
    EXPECT_EQ(look(), WindowState::Running);
    form.Timer1_Timer();
    EXPECT_EQ(rt.box(1).top, 2);
}

TEST_F(AboutTest, OkEnablesTheMainWindowBeforeHidingTheAboutWindow)
{
    // The main window must be able to take the activation the about window gives up.
    load();
    form.about_Click();
    rt.clearJournal();
    about.Command1_Click();
    EXPECT_EQ(rt.journal, (Journal { "Form1.Enabled=1", "Form2.Visible=0" }));
}

struct Geometry {
    const char* name;
    float mainLeft, mainTop, mainWidth, mainHeight;
    float ownWidth, ownHeight;
    float left, top; // where the about window goes
    friend void PrintTo(const Geometry& row, std::ostream* out) { *out << row.name; }
};

class PlaceTest : public GameTest, public testing::WithParamInterface<Geometry> { };

TEST_P(PlaceTest, PutsTheAboutWindowsCentreOnTheMainWindowsCentre)
{
    const Geometry& g = GetParam();
    rt.window(Window::Form1) = { true, true, g.mainLeft, g.mainTop, g.mainWidth, g.mainHeight };
    rt.window(Window::Form2).width = g.ownWidth;
    rt.window(Window::Form2).height = g.ownHeight;
    about.Form_Activate();
    EXPECT_EQ(rt.window(Window::Form2).left, g.left);
    EXPECT_EQ(rt.window(Window::Form2).top, g.top);
}

INSTANTIATE_TEST_SUITE_P(Windows, PlaceTest,
    testing::Values(Geometry { "Designed", 385, 309, 510, 406, 312, 184, 484, 420 },
        Geometry { "OddMainWindow", 385, 309, 511, 407, 312, 184, 484.5f, 420.5f },
        Geometry { "OddAboutWindow", 385, 309, 510, 406, 313, 185, 483.5f, 419.5f },
        Geometry { "MainWindowPastTheTopLeftCorner", -300, -200, 510, 406, 312, 184, -201, -89 },
        Geometry { "MainWindowFarOffScreen", 5000, 4000, 510, 406, 312, 184, 5099, 4111 },
        Geometry { "AboutWindowLargerThanTheMainWindow", 0, 0, 510, 406, 800, 600, -145, -97 },
        // Half of 2^25 less half a pixel is not a float; summed in float the half is lost.
        Geometry { "HugeCoordinatesKeepTheHalf", -16777215, 0, 33554432, 406, 1, 184, 0.5f, 111 }),
    [](const testing::TestParamInfo<Geometry>& info) { return std::string(info.param.name); });

} // namespace
