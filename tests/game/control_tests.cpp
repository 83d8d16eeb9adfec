// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"

#include <array>
#include <iterator>
#include <ostream>

using namespace test;
using game::False;
using game::Int16;
using game::Label;
using game::Menu;
using game::True;
using game::Window;

namespace {

std::array<Int16, 4> only(int chosen)
{
    std::array<Int16, 4> flags { False, False, False, False };
    flags[chosen - 1] = True;
    return flags;
}

std::array<Int16, 4> levelFlags(const game::GameState& s)
{
    return { s.LevelI, s.LevelII, s.LevelIII, s.LevelIV };
}

std::array<Int16, 4> speedFlags(const game::GameState& s)
{
    return { s.SpeedI, s.SpeedII, s.SpeedIII, s.SpeedIV };
}

class ControlTest : public GameTest {
protected:
    // The items of Options > Level and Options > Acceleration.
    static std::vector<game::MenuItem> optionsItems()
    {
        std::vector<game::MenuItem> items(std::begin(game::levelItems), std::end(game::levelItems));
        items.insert(items.end(), std::begin(game::speedItems), std::end(game::speedItems));
        return items;
    }

    // The names of the menu items that bear a tick mark.
    [[nodiscard]] std::string ticked() const
    {
        std::string names;
        for (int i = 0; i < int(rt.menusChecked.size()); ++i) {
            if (rt.menusChecked[i])
                names += (names.empty() ? "" : " ") + rt.name(static_cast<Menu>(i));
        }
        return names;
    }
};

using StartUpTest = ControlTest;

TEST_F(StartUpTest, FormLoadSelectsLevelAndAccelerationIAndLeavesTheWindowIdle)
{
    // Every control and variable Form_Load sets starts out the other way, so each of
    // its steps shows.
    for (const game::MenuItem& item : optionsItems())
        rt.menusChecked[static_cast<int>(item.id)] = true;
    rt.check1Enabled = true;
    rt.label(Label::Label5).visible = rt.label(Label::Label10).visible = true;
    rt.label(Label::Label8).caption = rt.label(Label::Label9).caption = "3";
    rt.window(Window::Form2).visible = true;
    rt.window(Window::Form1).enabled = false;
    rt.menusEnabled[static_cast<int>(Menu::help)] = false;
    rt.timersEnabled[1] = true;
    state().LevelIV = state().SpeedIII = state().Stopped = True;
    state().BlinkCount = 5;

    form.Form_Load();
    EXPECT_EQ(look(), WindowState::Idle);
    EXPECT_EQ(levelFlags(state()), only(1));
    EXPECT_EQ(speedFlags(state()), only(1));
    EXPECT_EQ(ticked(), "LI SI");
    EXPECT_EQ(rt.label(Label::Label8).caption, "1");
    EXPECT_EQ(rt.label(Label::Label9).caption, "1");
    EXPECT_FALSE(rt.label(Label::Label10).visible);
    EXPECT_FALSE(rt.timersEnabled[1]);
    EXPECT_FALSE(rt.window(Window::Form2).visible);
    EXPECT_TRUE(rt.window(Window::Form1).enabled);
    EXPECT_EQ(state().BlinkCount, 0);
    // Untouched by start-up: the first tick before any Start relies on these zeros.
    EXPECT_EQ(state().FallStep, 0);
    EXPECT_EQ(letters(), std::string(game::Lanes, '\0'));
}

using StartTest = ControlTest;

TEST_F(StartTest, PutsFreshLettersAtTheTopAndGivesPictureOneTheFocus)
{
    // Picture1 can take the focus only once the boxes are shown.
    load();
    state().Hits = 9;
    state().Lost = 4;
    for (int lane = 1; lane <= game::Lanes; ++lane)
        rt.box(lane).top = 200;
    rt.label(Label::Label10).visible = true;
    rt.timersEnabled[1] = true;
    script("abcde");
    form.Command2_Click();
    EXPECT_EQ(look(), WindowState::Running);
    EXPECT_EQ(rt.focusedBox, 1);
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(state().FallStep, 1);
    EXPECT_EQ(state().Hits, 0);
    EXPECT_EQ(state().Lost, 0);
    for (int lane = 1; lane <= game::Lanes; ++lane)
        EXPECT_EQ(rt.box(lane).top, 1) << "Picture" << lane;
    EXPECT_FALSE(rt.label(Label::Label10).visible);
    EXPECT_FALSE(rt.timersEnabled[1]);
}

TEST_F(StartTest, AfterALostGameResetsTheGameButLeavesGameOverShownUntilTheFirstTick)
{
    startGame();
    state().Hits = 7;
    state().Lost = 7;
    press('1');
    ASSERT_EQ(state().GameOver, True);
    script("fghij");
    form.Command2_Click();
    EXPECT_EQ(state().GameOver, False);
    EXPECT_EQ(state().Hits, 0);
    EXPECT_EQ(state().Lost, 0);
    EXPECT_TRUE(rt.label(Label::Label5).visible);
    EXPECT_EQ(rt.label(Label::Label2).caption, "8") << "the lost game's score stays up";
    form.Timer1_Timer();
    EXPECT_FALSE(rt.label(Label::Label5).visible);
    EXPECT_EQ(rt.label(Label::Label2).caption, "0");
}

TEST_F(StartTest, TheSelectionLastsAcrossGames)
{
    startGame("abcde", 4, 4);
    form.Command3_Click();
    script("abcde");
    form.Command2_Click();
    EXPECT_EQ(rt.box(5).left, 296);
    state().Hits = 6;
    press('e');
    EXPECT_EQ(state().FallStep, 2) << "acceleration IV raises the step at the 7th hit";
}

using StopTest = ControlTest;

TEST_F(StopTest, WhilePraisedHidesTheSmileyAndKeepsTheScore)
{
    startGame();
    state().Hits = 300;
    state().Lost = 4;
    form.Timer1_Timer();
    ASSERT_TRUE(rt.label(Label::Label10).visible);
    form.Command3_Click();
    EXPECT_EQ(look(), WindowState::Stopped);
    EXPECT_FALSE(rt.label(Label::Label10).visible);
    EXPECT_FALSE(rt.timersEnabled[1]);
    EXPECT_EQ(state().Hits, 300);
    EXPECT_EQ(state().Lost, 4);
    EXPECT_EQ(rt.label(Label::Label1).caption, "300");
}

TEST_F(StopTest, WhilePausedUnpausesWhilePictureOneIsStillShown)
{
    // The Pause handler gives Picture1 the focus; were the boxes hidden first, the
    // request would reach a hidden box.
    startGame();
    userSetsPause(1);
    bool shownAtClick = false;
    rt.onCheck1Click = [&] {
        shownAtClick = rt.box(1).visible;
        form.Check1_Click();
    };
    form.Command3_Click();
    EXPECT_TRUE(shownAtClick);
    EXPECT_EQ(look(), WindowState::Stopped);
}

struct PauseRow {
    const char* name;
    std::int16_t value; // what the user leaves in the box
    bool ticking;
    int focusedBox;
    friend void PrintTo(const PauseRow& row, std::ostream* out) { *out << row.name; }
};

class PauseTest : public GameTest, public testing::WithParamInterface<PauseRow> { };

TEST_P(PauseTest, OnlyATickedBoxStopsTheTickAndClearingItRefocusesPictureOne)
{
    const PauseRow& row = GetParam();
    startGame();
    rt.timersEnabled[0] = !row.ticking;
    rt.focusedBox = 0; // the click on the check box took the focus
    userSetsPause(row.value);
    EXPECT_EQ(rt.timersEnabled[0], row.ticking);
    EXPECT_EQ(rt.focusedBox, row.focusedBox);
}

INSTANTIATE_TEST_SUITE_P(Values, PauseTest,
    testing::Values(PauseRow { "Ticked", 1, false, 0 }, PauseRow { "Cleared", 0, true, 1 },
        PauseRow { "Greyed", 2, true, 1 }),
    [](const testing::TestParamInfo<PauseRow>& info) { return std::string(info.param.name); });

// Every way the game leads into one of the window's five states.
enum class Path {
    Idle,
    IdleAtLevelIV,
    IdleWithAbout,
    Running,
    RunningWithSmiley,
    Paused,
    Resumed,
    StoppedFromIdle,
    StoppedWhileRunning,
    StoppedWhilePaused,
    LostInATick,
    LostByAKey,
    LostByAKeyWhilePaused,
    RestartedAfterStop,
    RestartedAfterLoss,
};

struct StateRow {
    const char* name;
    Path path;
    WindowState state;
    bool tickChangesNothing; // the game lets Timer1 sleep
    friend void PrintTo(const StateRow& row, std::ostream* out) { *out << row.name; }
};

class WindowStateTest : public GameTest, public testing::WithParamInterface<StateRow> {
protected:
    void walk(Path path)
    {
        switch (path) {
        case Path::Idle:
            load();
            break;
        case Path::IdleAtLevelIV:
            load();
            selectLevel(4);
            break;
        case Path::IdleWithAbout:
            load();
            form.about_Click();
            break;
        case Path::Running:
            startGame();
            break;
        case Path::RunningWithSmiley:
            startGame();
            state().Hits = 200;
            form.Timer1_Timer();
            break;
        case Path::Paused:
            startGame();
            userSetsPause(1);
            break;
        case Path::Resumed:
            walk(Path::Paused);
            userSetsPause(0);
            break;
        case Path::StoppedFromIdle:
            load();
            form.Command3_Click();
            break;
        case Path::StoppedWhileRunning:
            startGame();
            form.Command3_Click();
            break;
        case Path::StoppedWhilePaused:
            walk(Path::Paused);
            form.Command3_Click();
            break;
        case Path::LostInATick:
            startGame();
            rt.box(2).top = 386;
            form.Timer1_Timer();
            break;
        case Path::LostByAKey:
            startGame();
            press('z');
            break;
        case Path::LostByAKeyWhilePaused:
            walk(Path::Paused);
            press('z');
            break;
        case Path::RestartedAfterStop:
            walk(Path::StoppedWhileRunning);
            form.Command2_Click();
            break;
        case Path::RestartedAfterLoss:
            walk(Path::LostByAKey);
            form.Command2_Click();
            break;
        }
    }
};

TEST_P(WindowStateTest, EndsInTheLookOfItsState)
{
    walk(GetParam().path);
    EXPECT_EQ(look(), GetParam().state);
}

TEST_P(WindowStateTest, ATickChangesNothingExactlyWhereTheGameSaysSo)
{
    // The window lets Timer1 sleep on the game's word: a tick skipped that would have
    // changed something is lost to the player, and one run for nothing only wakes
    // the machine. The tick run here tells which.
    const StateRow& row = GetParam();
    walk(row.path);
    EXPECT_EQ(form.tickChangesNothing(), row.tickChangesNothing);
    const std::string shown = rt.shown();
    const game::GameState before = state();
    form.Timer1_Timer();
    const bool changed = rt.shown() != shown || !(state() == before);
    EXPECT_EQ(changed, !row.tickChangesNothing) << rt.shown();
}

INSTANTIATE_TEST_SUITE_P(Paths, WindowStateTest,
    testing::Values(StateRow { "Idle", Path::Idle, WindowState::Idle, true },
        StateRow { "IdleAtLevelIV", Path::IdleAtLevelIV, WindowState::Idle, true },
        StateRow { "IdleWithAbout", Path::IdleWithAbout, WindowState::Idle, true },
        StateRow { "Running", Path::Running, WindowState::Running, false },
        StateRow { "RunningWithSmiley", Path::RunningWithSmiley, WindowState::Running, false },
        StateRow { "Paused", Path::Paused, WindowState::Paused, false },
        StateRow { "Resumed", Path::Resumed, WindowState::Running, false },
        StateRow { "StoppedFromIdle", Path::StoppedFromIdle, WindowState::Stopped, true },
        StateRow { "StoppedWhileRunning", Path::StoppedWhileRunning, WindowState::Stopped, true },
        StateRow { "StoppedWhilePaused", Path::StoppedWhilePaused, WindowState::Stopped, true },
        StateRow { "LostInATick", Path::LostInATick, WindowState::Lost, true },
        StateRow { "LostByAKey", Path::LostByAKey, WindowState::Lost, true },
        StateRow { "LostByAKeyWhilePaused", Path::LostByAKeyWhilePaused, WindowState::Lost, true },
        StateRow { "RestartedAfterStop", Path::RestartedAfterStop, WindowState::Running, false },
        StateRow { "RestartedAfterLoss", Path::RestartedAfterLoss, WindowState::Running, false }),
    [](const testing::TestParamInfo<StateRow>& info) { return std::string(info.param.name); });

struct MenuRow {
    const char* name;
    std::vector<Menu> clicks; // items of Options chosen after start-up, in order
    int level, speed; // the selection they leave
    const char* ticked;
    friend void PrintTo(const MenuRow& row, std::ostream* out) { *out << row.name; }
};

class OptionsMenuTest : public ControlTest, public testing::WithParamInterface<MenuRow> {
protected:
    void click(Menu id)
    {
        for (const game::MenuItem& item : optionsItems()) {
            if (item.id == id)
                (form.*item.click)();
        }
    }
};

TEST_P(OptionsMenuTest, EachItemSelectsItselfAloneInItsGroup)
{
    // A flag is the only record of the choice; ticks and labels only mirror it, and an
    // item never touches the other group.
    const MenuRow& row = GetParam();
    load();
    for (Menu id : row.clicks)
        click(id);
    EXPECT_EQ(levelFlags(state()), only(row.level));
    EXPECT_EQ(speedFlags(state()), only(row.speed));
    EXPECT_EQ(ticked(), row.ticked);
    EXPECT_EQ(rt.label(Label::Label8).caption, std::to_string(row.level));
    EXPECT_EQ(rt.label(Label::Label9).caption, std::to_string(row.speed));
}

INSTANTIATE_TEST_SUITE_P(Clicks, OptionsMenuTest,
    testing::Values(MenuRow { "LI", { Menu::LI }, 1, 1, "LI SI" },
        MenuRow { "LII", { Menu::LII }, 2, 1, "LII SI" },
        MenuRow { "LIII", { Menu::LIII }, 3, 1, "LIII SI" },
        MenuRow { "LIV", { Menu::LIV }, 4, 1, "LIV SI" },
        MenuRow { "SI", { Menu::SI }, 1, 1, "LI SI" },
        MenuRow { "SII", { Menu::SII }, 1, 2, "LI SII" },
        MenuRow { "SIII", { Menu::SIII }, 1, 3, "LI SIII" },
        MenuRow { "SIV", { Menu::SIV }, 1, 4, "LI SIV" },
        MenuRow { "ALaterChoiceReplacesTheEarlierOne", { Menu::SIV, Menu::SII }, 1, 2, "LI SII" },
        MenuRow { "ChoosingTheSelectedItemAgain", { Menu::LIII, Menu::LIII }, 3, 1, "LIII SI" },
        MenuRow { "LevelItemsLeaveTheAccelerationAlone", { Menu::SIII, Menu::LIV, Menu::LII }, 2, 3,
            "LII SIII" }),
    [](const testing::TestParamInfo<MenuRow>& info) { return std::string(info.param.name); });

class FarewellTest : public GameTest,
                     public testing::WithParamInterface<void (game::Form1::*)()> { };

TEST_P(FarewellTest, HidesTheWindowThenSaysGoodbyeThenEnds)
{
    // Exit works in every state; a running game is simply abandoned.
    startGame();
    bool windowShownDuringMessage = true;
    bool endedBeforeAnswer = true;
    rt.window(Window::Form1).visible = true;
    rt.onMessageBox = [&] {
        windowShownDuringMessage = rt.window(Window::Form1).visible;
        endedBeforeAnswer = rt.ended;
    };
    (form.*GetParam())();
    EXPECT_EQ(
        rt.entries("MsgBox"), (Journal { "MsgBox=Good bye... Have a nice day! ;-)|Zelvaro" }));
    EXPECT_FALSE(windowShownDuringMessage);
    EXPECT_FALSE(endedBeforeAnswer);
    EXPECT_TRUE(rt.ended);
}

INSTANTIATE_TEST_SUITE_P(Requests, FarewellTest,
    testing::Values(&game::Form1::Command1_Click, &game::Form1::Form_QueryUnload),
    [](const testing::TestParamInfo<void (game::Form1::*)()>& info) {
        return std::string(info.index == 0 ? "ExitButton" : "CloseRequest");
    });

} // namespace
