// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/form1.h"
#include "game/generator.h"
#include "game/runtime.h"

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace test {

// A game::Runtime that keeps the state of every control and writes each operation
// that changes something, in order, to a journal: "Picture1.Visible=0",
// "Timer2.Enabled=1", "Label1.Caption=12", "Check1.Value=0", "Rnd" (a draw), "End".
// Random numbers come from the script first and then from the program's generator.
class RecordingRuntime : public game::Runtime {
public:
    // The journal and helpers to read it.
    std::vector<std::string> journal;
    // When false, operations change the state but write no journal (long random runs).
    bool recording = true;
    void clearJournal() { journal.clear(); }
    // The journal entries that start with prefix, in order.
    [[nodiscard]] std::vector<std::string> entries(const std::string& prefix) const;

    // Scripted random numbers, used before the generator's.
    std::deque<float> scriptedRandom;
    // Runs for a change of Check1's value, before setValue returns (Check1_Click).
    std::function<void()> onCheck1Click;
    // Runs when the about window is shown while hidden (its Form_Activate).
    std::function<void()> onForm2Activate;
    // Runs inside messageBox, as the user answering it.
    std::function<void()> onMessageBox;

    // Control state, readable and settable by tests.
    struct FormState {
        bool visible = false;
        bool enabled = true;
        float left = 0, top = 0, width = 0, height = 0;
    };
    std::array<FormState, 2> windows { FormState { false, true, 385, 309, 510, 406 },
        FormState { false, true, 0, 0, 312, 184 } };
    float clientHeight = 387;
    struct BoxState {
        bool visible = true;
        float left = 0, top = 0;
        std::u16string printed;
    };
    // As the main window makes them.
    std::array<BoxState, 5> boxes { BoxState { true, 40, 0, {} }, BoxState { true, 104, 0, {} },
        BoxState { true, 183, 176, {} }, BoxState { true, 184, 0, {} },
        BoxState { true, 232, 0, {} } };
    int focusedBox = 0; // 1..5, 0 when no letter box has the focus
    struct LabelState {
        std::string caption;
        bool visible = true;
    };
    std::array<LabelState, 6> labels { LabelState { "0", true }, LabelState { "0", true },
        LabelState { "Game Over", true }, LabelState { "0", true }, LabelState { "0", true },
        LabelState { "", true } };
    std::array<bool, 3> buttonsEnabled { true, true, true };
    bool check1Enabled = true;
    std::int16_t check1Value = 0;
    std::array<bool, 10> menusEnabled { true, true, true, true, true, true, true, true, true,
        true };
    std::array<bool, 10> menusChecked {};
    std::array<bool, 2> timersEnabled { true, true };
    bool ended = false;
    int drawn = 0; // random numbers handed out: the next game's letters follow from it

    // Everything the controls show and hold, one control a line, to compare two
    // moments: a box's text as the characters that draw, since a control character
    // (the code 0 printed before the first game) draws nothing. Not journalled.
    [[nodiscard]] std::string shown() const;

    [[nodiscard]] BoxState& box(int lane) { return boxes.at(lane - 1); }
    [[nodiscard]] LabelState& label(game::Label id) { return labels.at(static_cast<int>(id)); }
    [[nodiscard]] FormState& window(game::Window id) { return windows.at(static_cast<int>(id)); }

    void setVisible(game::Window window, bool visible) override;
    void setEnabled(game::Window window, bool enabled) override;
    float left(game::Window window) override;
    float top(game::Window window) override;
    float width(game::Window window) override;
    float height(game::Window window) override;
    void setLeft(game::Window window, float left) override;
    void setTop(game::Window window, float top) override;
    float scaleHeight() override;

    void setVisible(game::Box box, bool visible) override;
    void setLeft(game::Box box, float left) override;
    float top(game::Box box) override;
    void setTop(game::Box box, float top) override;
    void clear(game::Box box) override;
    void print(game::Box box, std::u16string_view text) override;
    void setFocus(game::Box box) override;

    void setCaption(game::Label label, std::string_view caption) override;
    void setVisible(game::Label label, bool visible) override;

    void setEnabled(game::Button button, bool enabled) override;

    void setEnabled(game::CheckBox box, bool enabled) override;
    std::int16_t value(game::CheckBox box) override;
    void setValue(game::CheckBox box, std::int16_t value) override;

    void setEnabled(game::Menu menu, bool enabled) override;
    void setChecked(game::Menu menu, bool checked) override;

    void setEnabled(game::Timer timer, bool enabled) override;

    void messageBox(std::string_view text, game::MessageIcon icon, std::string_view title) override;
    float rnd() override;
    void end() override;

    // Design names, for journal entries and failure messages.
    [[nodiscard]] static std::string name(game::Window id);
    [[nodiscard]] static std::string name(game::Box id);
    [[nodiscard]] static std::string name(game::Label id);
    [[nodiscard]] static std::string name(game::Button id);
    [[nodiscard]] static std::string name(game::Menu id);
    [[nodiscard]] static std::string name(game::Timer id);

private:
    void log(std::string entry)
    {
        if (recording)
            journal.push_back(std::move(entry));
    }
    game::Generator m_generator;
};

// A random number that DrawLetter turns into the given lower-case letter.
[[nodiscard]] constexpr float randomFor(char letter)
{
    return (static_cast<float>(letter - 'a') + 0.5f) / 26.0f;
}

} // namespace test
