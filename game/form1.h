// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/int16.h"
#include "game/rules.h"
#include "game/runtime.h"

#include <array>

namespace game {

// The game state: the variables of the main window. Booleans hold True or False.
struct GameState {
    // Letters[k - 1] is the character code that lane k shows: 97..122 once a game
    // has started, 0 before the first Start.
    std::array<Int16, 5> Letters {};
    Int16 FallStep = 0; // pixels each active box falls per tick
    Int16 Hits = 0;
    Int16 Lost = 0; // 1 per wrong key, 5 per letter that falls out
    Int16 GameOver = False;
    Int16 LevelI = False, LevelII = False, LevelIII = False, LevelIV = False;
    Int16 SpeedI = False, SpeedII = False, SpeedIII = False, SpeedIV = False;
    Int16 Stopped = False;
    Int16 BlinkCount = 0; // 0..10, ticks of the smiley's blink

    // The number (1..4) of the first level flag that is true, 0 if none is.
    [[nodiscard]] int level() const;
    // The number (1..4) of the first acceleration flag that is true, 0 if none is.
    [[nodiscard]] int speed() const;

    bool operator==(const GameState&) const = default;
};

struct MenuItem;

// The main window's handlers, named after the control and event they handle.
// Each runs to its end unless a counter step raises OverflowError, which ends
// the handler at that step with every earlier step done.
class Form1 {
public:
    explicit Form1(Runtime& runtime);

    [[nodiscard]] GameState& state() { return m_state; }
    [[nodiscard]] const GameState& state() const { return m_state; }

    // Start-up and shutdown.
    void Form_Load();
    void Form_QueryUnload();
    void Command1_Click(); // Exit

    // Game control.
    void Command2_Click(); // Start
    void Command3_Click(); // Stop
    void Check1_Click(); // Pause, also when code changes its value

    // The game tick (every 50 ms) and the smiley's blink (every second while shown).
    void Timer1_Timer();
    void Timer2_Timer();

    // True when a tick of Timer1 now would change nothing: no variable, nothing on
    // the field or in the labels, nothing for a listener to hear. So it is while the
    // tick's guard ends it (after Stop, after a lost game) and before the first game,
    // when nothing falls (FallStep 0), the boxes are hidden and hold no letter (code
    // 0 draws nothing), and the counters stay at the 0 the labels show from the
    // start. The window lets Timer1 sleep while this holds and wakes it, for a full
    // period, the moment it no longer does; what Timer1 ticks for is unchanged.
    [[nodiscard]] bool tickChangesNothing() const;

    // One typed character while Picture1 has the focus; any code is defined.
    void Picture1_KeyPress(Int16 KeyAscii);

    // Options > Level and Options > Acceleration.
    void LI_Click();
    void LII_Click();
    void LIII_Click();
    void LIV_Click();
    void SI_Click();
    void SII_Click();
    void SIII_Click();
    void SIV_Click();

    // Help > About.
    void about_Click();

    // Letter operations. level is 1..4; its lanes are 1..activeLanes(level) (game/rules.h).
    [[nodiscard]] Int16 DrawLetter();
    void DrawAllLetters();
    void ReplaceLetter(int lane, int level);
    void PlaceLanes(int level);

private:
    void farewell();
    void selectLevel(int level);
    void selectSpeed(int speed);
    // Both Options groups have as many items as there are levels.
    static_assert(Levels == Speeds);
    void selectOption(const std::array<Int16*, Levels>& flags, const MenuItem (&items)[Levels],
        Label label, int choice);
    void runLevelBlock(int level);
    void endOfTickChecks();
    void gameOverSequence();
    // True when the letters of lanes 1..lanes are pairwise different.
    [[nodiscard]] bool lettersDiffer(int lanes) const;
    [[nodiscard]] bool laneDiffersFromOthers(int lane, int level) const;
    void judgeKey(int level, Int16 code);

    Runtime& m_rt;
    GameState m_state;
};

// A menu item of Options and the handler its Click runs.
struct MenuItem {
    Menu id;
    void (Form1::*click)();
    const char* handler; // the handler's name, for reports
};

// Options > Level and Options > Acceleration, items I to IV.
inline constexpr MenuItem levelItems[Levels] = {
    { Menu::LI, &Form1::LI_Click, "LI_Click" },
    { Menu::LII, &Form1::LII_Click, "LII_Click" },
    { Menu::LIII, &Form1::LIII_Click, "LIII_Click" },
    { Menu::LIV, &Form1::LIV_Click, "LIV_Click" },
};
inline constexpr MenuItem speedItems[Speeds] = {
    { Menu::SI, &Form1::SI_Click, "SI_Click" },
    { Menu::SII, &Form1::SII_Click, "SII_Click" },
    { Menu::SIII, &Form1::SIII_Click, "SIII_Click" },
    { Menu::SIV, &Form1::SIV_Click, "SIV_Click" },
};

} // namespace game
