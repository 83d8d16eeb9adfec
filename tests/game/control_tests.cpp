// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/game/fixture.h"
#include "tests/support/windowstate.h"

#include <array>
#include <ostream>

using namespace test;
using game::False;
using game::Int16;
using game::True;

namespace {

using StartUpTest = GameTest;

TEST_F(StartUpTest, FormLoadSelectsLevelAndAccelerationIAndHidesTheGame)
{
    form.Form_Load();
    EXPECT_EQ(rt.journal,
        (Journal { "LI.Checked=1", "LII.Checked=0", "LIII.Checked=0", "LIV.Checked=0",
            "SI.Checked=1", "SII.Checked=0", "SIII.Checked=0", "SIV.Checked=0", "Check1.Enabled=0",
            "Label5.Visible=0", "Picture1.Visible=0", "Picture2.Visible=0", "Picture3.Visible=0",
            "Picture4.Visible=0", "Picture5.Visible=0", "Label8.Caption=1", "Label9.Caption=1",
            "Form2.Visible=0", "Form1.Enabled=1", "help.Enabled=1", "Timer2.Enabled=0",
            "Label10.Visible=0" }));
    const auto& s = state();
    EXPECT_EQ((std::array { s.LevelI, s.LevelII, s.LevelIII, s.LevelIV }),
        (std::array<Int16, 4> { True, False, False, False }));
    EXPECT_EQ((std::array { s.SpeedI, s.SpeedII, s.SpeedIII, s.SpeedIV }),
        (std::array<Int16, 4> { True, False, False, False }));
    EXPECT_EQ(s.Stopped, False);
    EXPECT_EQ(s.BlinkCount, 0);
    // Untouched by start-up: the first tick before any Start relies on these zeros.
    EXPECT_EQ(s.FallStep, 0);
    EXPECT_EQ(letters(), std::string(5, '\0'));
}

using StartTest = GameTest;

TEST_F(StartTest, RunsItsStepsInOrderAndGivesPictureOneTheFocus)
{
    load();
    script("abcde");
    form.Command2_Click();
    EXPECT_EQ(rt.journal,
        (Journal { "menu_options.Enabled=0", "help.Enabled=0", "Check1.Enabled=1",
            "Picture1.Visible=1", "Picture2.Visible=1", "Picture3.Visible=1", "Picture4.Visible=1",
            "Picture5.Visible=1", "Label10.Visible=0", "Timer2.Enabled=0", "Command2.Enabled=0",
            "Command3.Enabled=1", "Picture1.Left=104", "Picture2.Left=200", "Picture3.Left=-40",
            "Picture4.Left=-40", "Picture5.Left=-40", "Rnd", "Rnd", "Rnd", "Rnd", "Rnd",
            "Picture1.Top=1", "Picture2.Top=1", "Picture3.Top=1", "Picture4.Top=1",
            "Picture5.Top=1", "Picture1.SetFocus" }));
    EXPECT_EQ(state().FallStep, 1);
    EXPECT_EQ(letters(), "abcde");
    EXPECT_EQ(rt.focusedBox, 1);
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
    EXPECT_TRUE(rt.label(game::Label::Label5).visible);
    EXPECT_EQ(rt.label(game::Label::Label2).caption, "8") << "the lost game's score stays up";
    form.Timer1_Timer();
    EXPECT_FALSE(rt.label(game::Label::Label5).visible);
    EXPECT_EQ(rt.label(game::Label::Label2).caption, "0");
}

TEST_F(StartTest, TheSelectionLastsAcrossGames)
{
    startGame("abcde", 4, 4);
    form.Command3_Click();
    script("abcde");
    rt.clearJournal();
    form.Command2_Click();
    EXPECT_EQ(rt.entries("Picture5.Left"), (Journal { "Picture5.Left=296" }));
    state().Hits = 6;
    press('e');
    EXPECT_EQ(state().FallStep, 2) << "acceleration IV raises the step at the 7th hit";
}

using StopTest = GameTest;

TEST_F(StopTest, WhileRunningReturnsTheControlsToTheBetweenGamesLook)
{
    startGame();
    form.Command3_Click();
    EXPECT_EQ(rt.journal,
        (Journal { "menu_options.Enabled=1", "Check1.Enabled=0", "Check1.Value=0", "help.Enabled=1",
            "Picture1.Visible=0", "Picture2.Visible=0", "Picture3.Visible=0", "Picture4.Visible=0",
            "Picture5.Visible=0", "Label10.Visible=0", "Timer2.Enabled=0", "Command3.Enabled=0",
            "Command2.Enabled=1" }));
    EXPECT_EQ(state().Stopped, True);
}

TEST_F(StopTest, WhilePausedUnpausesBeforeTheBoxesAreHidden)
{
    // The Pause handler gives Picture1 the focus; were the boxes hidden first, the
    // request would reach a hidden box.
    startGame();
    userSetsPause(1);
    rt.clearJournal();
    bool pictureOneShownAtClick = false;
    rt.onCheck1Click = [&] {
        pictureOneShownAtClick = rt.box(1).visible;
        form.Check1_Click();
    };
    form.Command3_Click();
    EXPECT_EQ(rt.journal,
        (Journal { "menu_options.Enabled=1", "Check1.Enabled=0", "Check1.Value=0", "Check1.Value?",
            "Timer1.Enabled=1", "Picture1.SetFocus", "help.Enabled=1", "Picture1.Visible=0",
            "Picture2.Visible=0", "Picture3.Visible=0", "Picture4.Visible=0", "Picture5.Visible=0",
            "Label10.Visible=0", "Timer2.Enabled=0", "Command3.Enabled=0", "Command2.Enabled=1" }));
    EXPECT_TRUE(pictureOneShownAtClick);
}

TEST_F(StopTest, WhilePausedLeavesTheTickRunningForTheNextGame)
{
    startGame();
    userSetsPause(1);
    form.Command3_Click();
    EXPECT_TRUE(rt.timersEnabled[0]);
    script("abcde");
    form.Command2_Click();
    form.Timer1_Timer();
    EXPECT_EQ(rt.box(1).top, 2);
}

TEST_F(StopTest, KeepsTheScoreOfTheAbandonedGame)
{
    startGame();
    state().Hits = 12;
    state().Lost = 4;
    form.Timer1_Timer();
    form.Command3_Click();
    EXPECT_EQ(state().Hits, 12);
    EXPECT_EQ(state().Lost, 4);
    EXPECT_EQ(rt.label(game::Label::Label1).caption, "12");
}

using PauseTest = GameTest;

TEST_F(PauseTest, TickingTheBoxStopsOnlyTheTick)
{
    startGame();
    userSetsPause(1);
    EXPECT_EQ(rt.journal, (Journal { "Check1.Value?", "Timer1.Enabled=0" }));
}

TEST_F(PauseTest, ClearingTheBoxResumesTheTickAndRefocusesPictureOne)
{
    startGame();
    userSetsPause(1);
    rt.focusedBox = 0; // the click on the check box took the focus
    rt.clearJournal();
    userSetsPause(0);
    EXPECT_EQ(rt.journal, (Journal { "Check1.Value?", "Timer1.Enabled=1", "Picture1.SetFocus" }));
    EXPECT_EQ(rt.focusedBox, 1);
}

TEST_F(PauseTest, AGreyedValueCountsAsCleared)
{
    startGame();
    userSetsPause(1);
    rt.clearJournal();
    userSetsPause(2);
    EXPECT_EQ(rt.journal, (Journal { "Check1.Value?", "Timer1.Enabled=1", "Picture1.SetFocus" }));
}

// Every way the game leads into one of the window's five states.
enum class Path {
    Idle,
    Running,
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
        case Path::Running:
            startGame();
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
    EXPECT_EQ(windowState(state(), rt), GetParam().state) << describe(state(), rt);
}

INSTANTIATE_TEST_SUITE_P(Paths, WindowStateTest,
    testing::Values(StateRow { "Idle", Path::Idle, WindowState::Idle },
        StateRow { "Running", Path::Running, WindowState::Running },
        StateRow { "Paused", Path::Paused, WindowState::Paused },
        StateRow { "Resumed", Path::Resumed, WindowState::Running },
        StateRow { "StoppedFromIdle", Path::StoppedFromIdle, WindowState::Stopped },
        StateRow { "StoppedWhileRunning", Path::StoppedWhileRunning, WindowState::Stopped },
        StateRow { "StoppedWhilePaused", Path::StoppedWhilePaused, WindowState::Stopped },
        StateRow { "LostInATick", Path::LostInATick, WindowState::Lost },
        StateRow { "LostByAKey", Path::LostByAKey, WindowState::Lost },
        StateRow { "LostByAKeyWhilePaused", Path::LostByAKeyWhilePaused, WindowState::Lost },
        StateRow { "RestartedAfterStop", Path::RestartedAfterStop, WindowState::Running },
        StateRow { "RestartedAfterLoss", Path::RestartedAfterLoss, WindowState::Running }),
    [](const testing::TestParamInfo<StateRow>& info) { return std::string(info.param.name); });

struct MenuRow {
    const char* item;
    void (game::Form1::*click)();
    bool isLevel;
    int chosen; // 1..4
    Journal writes;
    friend void PrintTo(const MenuRow& row, std::ostream* out) { *out << row.item; }
};

class OptionsMenuTest : public GameTest, public testing::WithParamInterface<MenuRow> {
protected:
    [[nodiscard]] std::array<Int16, 4> levelFlags()
    {
        const auto& s = state();
        return { s.LevelI, s.LevelII, s.LevelIII, s.LevelIV };
    }
    [[nodiscard]] std::array<Int16, 4> speedFlags()
    {
        const auto& s = state();
        return { s.SpeedI, s.SpeedII, s.SpeedIII, s.SpeedIV };
    }
    // The names of the menu items that bear a tick mark.
    [[nodiscard]] std::string ticked() const
    {
        std::string names;
        for (int i = 0; i < int(rt.menusChecked.size()); ++i) {
            if (rt.menusChecked[i])
                names += (names.empty() ? "" : " ") + rt.name(static_cast<game::Menu>(i));
        }
        return names;
    }
    static std::array<Int16, 4> only(int chosen)
    {
        std::array<Int16, 4> flags { False, False, False, False };
        flags[chosen - 1] = True;
        return flags;
    }
};

TEST_P(OptionsMenuTest, SetsItsFlagsThenTicksThenItsLabelAndNothingOfTheOtherGroup)
{
    const MenuRow& row = GetParam();
    load();
    (form.*row.click)();
    EXPECT_EQ(rt.journal, row.writes);
    EXPECT_EQ(row.isLevel ? levelFlags() : speedFlags(), only(row.chosen));
    EXPECT_EQ(row.isLevel ? speedFlags() : levelFlags(), only(1));
    EXPECT_EQ(
        ticked(), row.isLevel ? std::string(row.item) + " SI" : "LI " + std::string(row.item));
}

const MenuRow menuRows[] = {
    { "LI", &game::Form1::LI_Click, true, 1,
        { "LI.Checked=1", "LII.Checked=0", "LIII.Checked=0", "LIV.Checked=0",
            "Label8.Caption=1" } },
    { "LII", &game::Form1::LII_Click, true, 2,
        { "LI.Checked=0", "LII.Checked=1", "LIII.Checked=0", "LIV.Checked=0",
            "Label8.Caption=2" } },
    { "LIII", &game::Form1::LIII_Click, true, 3,
        { "LI.Checked=0", "LII.Checked=0", "LIII.Checked=1", "LIV.Checked=0",
            "Label8.Caption=3" } },
    { "LIV", &game::Form1::LIV_Click, true, 4,
        { "LI.Checked=0", "LII.Checked=0", "LIII.Checked=0", "LIV.Checked=1",
            "Label8.Caption=4" } },
    { "SI", &game::Form1::SI_Click, false, 1,
        { "SI.Checked=1", "SII.Checked=0", "SIII.Checked=0", "SIV.Checked=0",
            "Label9.Caption=1" } },
    { "SII", &game::Form1::SII_Click, false, 2,
        { "SI.Checked=0", "SII.Checked=1", "SIII.Checked=0", "SIV.Checked=0",
            "Label9.Caption=2" } },
    { "SIII", &game::Form1::SIII_Click, false, 3,
        { "SI.Checked=0", "SII.Checked=0", "SIII.Checked=1", "SIV.Checked=0",
            "Label9.Caption=3" } },
    { "SIV", &game::Form1::SIV_Click, false, 4,
        { "SI.Checked=0", "SII.Checked=0", "SIII.Checked=0", "SIV.Checked=1",
            "Label9.Caption=4" } },
};

INSTANTIATE_TEST_SUITE_P(Items, OptionsMenuTest, testing::ValuesIn(menuRows),
    [](const testing::TestParamInfo<MenuRow>& info) { return std::string(info.param.item); });

TEST_F(OptionsMenuTest, ALaterChoiceReplacesTheEarlierOne)
{
    load();
    form.SIV_Click();
    form.SII_Click();
    EXPECT_EQ(speedFlags(), only(2));
    EXPECT_EQ(ticked(), "LI SII");
    EXPECT_EQ(rt.label(game::Label::Label9).caption, "2");
}

TEST_F(OptionsMenuTest, ChoosingTheSelectedItemAgainChangesNothing)
{
    load();
    form.LIII_Click();
    rt.clearJournal();
    form.LIII_Click();
    EXPECT_EQ(rt.journal,
        (Journal { "LI.Checked=0", "LII.Checked=0", "LIII.Checked=1", "LIV.Checked=0",
            "Label8.Caption=3" }));
    EXPECT_EQ(ticked(), "LIII SI");
    EXPECT_EQ(levelFlags(), only(3));
}

TEST_F(OptionsMenuTest, LevelItemsLeaveAnAccelerationOtherThanIAlone)
{
    load();
    form.SIII_Click();
    for (auto click : { &game::Form1::LIV_Click, &game::Form1::LII_Click })
        (form.*click)();
    EXPECT_EQ(speedFlags(), only(3));
    EXPECT_EQ(rt.label(game::Label::Label9).caption, "3");
}

class FarewellTest : public GameTest,
                     public testing::WithParamInterface<void (game::Form1::*)()> { };

TEST_P(FarewellTest, HidesTheWindowThenSaysGoodbyeThenEnds)
{
    // Exit works in every state; a running game is simply abandoned.
    startGame();
    bool windowShownDuringMessage = true;
    bool endedBeforeAnswer = true;
    rt.window(game::Window::Form1).visible = true;
    rt.onMessageBox = [&] {
        windowShownDuringMessage = rt.window(game::Window::Form1).visible;
        endedBeforeAnswer = rt.ended;
    };
    (form.*GetParam())();
    EXPECT_EQ(rt.journal,
        (Journal { "Form1.Visible=0", "MsgBox=Good bye... Have a nice day! ;-)|Zelvaro", "End" }));
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
