// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/form1.h"
#include "game/form2.h"
#include "tests/support/recordingruntime.h"
#include "tests/support/windowstate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace test {

using Journal = std::vector<std::string>;

// Both windows wired to one recording runtime as the real runtime wires them: a change
// of Check1's value runs Form1's Pause handler, showing the about window activates it.
class GameTest : public ::testing::Test {
protected:
    GameTest()
    {
        rt.onCheck1Click = [this] { form.Check1_Click(); };
        rt.onForm2Activate = [this] { about.Form_Activate(); };
    }

    [[nodiscard]] game::GameState& state() { return form.state(); }
    // What tells the window's five states apart: EXPECT_EQ(look(), WindowState::Running).
    [[nodiscard]] WindowLook look() { return test::look(state(), rt); }

    // Start-up as the runtime runs it; the journal is empty afterwards.
    void load()
    {
        form.Form_Load();
        rt.clearJournal();
    }

    // Start-up, level and acceleration (1..4) chosen from the Options menu, then Start
    // drawing the given five letters for lanes 1..5. The journal is empty afterwards.
    void startGame(std::string_view letters = "abcde", int level = 1, int speed = 1)
    {
        form.Form_Load();
        selectLevel(level);
        selectSpeed(speed);
        script(letters);
        form.Command2_Click();
        EXPECT_TRUE(rt.scriptedRandom.empty()) << "Start drew other letters than scripted";
        rt.clearJournal();
    }

    void selectLevel(int level) { (form.*game::levelItems[level - 1].click)(); }
    void selectSpeed(int speed) { (form.*game::speedItems[speed - 1].click)(); }

    // Queues random numbers that DrawLetter turns into these letters, in order.
    void script(std::string_view letters)
    {
        for (char letter : letters)
            rt.scriptedRandom.push_back(randomFor(letter));
    }

    // The user ticks (1) or clears (0) the Pause box: the value changes, then its Click runs.
    void userSetsPause(std::int16_t value)
    {
        rt.check1Value = value;
        form.Check1_Click();
    }

    void press(char key) { form.Picture1_KeyPress(static_cast<game::Int16>(key)); }

    // The letters of lanes 1..5 as text.
    [[nodiscard]] std::string letters()
    {
        std::string text;
        for (game::Int16 code : state().Letters)
            text += static_cast<char>(code);
        return text;
    }

    void setLetters(std::string_view text)
    {
        for (int i = 0; i < game::Lanes; ++i)
            state().Letters[i] = static_cast<game::Int16>(text[i]);
    }

    // Draws are counted from the journal, so each one is seen whether scripted or not.
    [[nodiscard]] int draws() const { return static_cast<int>(rt.entries("Rnd").size()); }

    RecordingRuntime rt;
    game::Form1 form { rt };
    game::Form2 about { rt };
};

} // namespace test
