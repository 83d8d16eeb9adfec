// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invariants.h"

#include "game/form1.h"
#include "tests/support/recordingruntime.h"

#include <cmath>

namespace robustness {

using game::False;
using game::Int16;
using game::True;

namespace {

    int at(auto id) { return static_cast<int>(id); }

    bool boolean(Int16 value) { return value == True || value == False; }

    // "exactly one true" for a group of four flags, each True or False.
    bool exactlyOne(const Int16 (&flags)[4])
    {
        int set = 0;
        for (Int16 flag : flags) {
            if (!boolean(flag))
                return false;
            set += flag == True;
        }
        return set == 1;
    }

    std::string flags(const Int16 (&values)[4])
    {
        std::string out;
        for (Int16 value : values)
            out += std::to_string(value) + " ";
        out.pop_back();
        return out;
    }

    bool isLetter(Int16 code) { return code >= 'a' && code <= 'z'; }

} // namespace

Findings checkInvariants(
    const game::GameState& state, const test::RecordingRuntime& rt, bool overflowInGame)
{
    Findings found;
    auto fail = [&](const std::string& what) { found.violations.push_back(what); };

    const Int16 levels[] = { state.LevelI, state.LevelII, state.LevelIII, state.LevelIV };
    const Int16 speeds[] = { state.SpeedI, state.SpeedII, state.SpeedIII, state.SpeedIV };
    if (!exactlyOne(levels))
        fail("level flags: " + flags(levels));
    if (!exactlyOne(speeds))
        fail("acceleration flags: " + flags(speeds));
    if (!boolean(state.Stopped) || !boolean(state.GameOver))
        fail("booleans: Stopped=" + std::to_string(state.Stopped)
            + " GameOver=" + std::to_string(state.GameOver));
    if (state.BlinkCount < 0 || state.BlinkCount > 10)
        fail("BlinkCount: " + std::to_string(state.BlinkCount));
    if (state.Hits < 0 || state.Lost < 0)
        fail("negative counter: Hits=" + std::to_string(state.Hits)
            + " Lost=" + std::to_string(state.Lost));

    const bool smiley = rt.labels[at(game::Label::Label10)].visible;
    const bool blinking = rt.timersEnabled[at(game::Timer::Timer2)];
    if (smiley != blinking)
        fail(std::string("smiley: Label10 ") + (smiley ? "shown" : "hidden") + " but Timer2 "
            + (blinking ? "enabled" : "disabled"));

    // The about window is modal: the main window is disabled exactly while it is shown.
    const bool aboutShown = rt.windows[at(game::Window::Form2)].visible;
    if (rt.windows[at(game::Window::Form1)].enabled == aboutShown)
        fail(std::string("about window: ") + (aboutShown ? "shown" : "hidden")
            + " while the main window is " + (aboutShown ? "enabled" : "disabled"));

    const auto window = windowState(test::look(state, rt));
    if (!window) {
        fail("window state: " + test::describe(test::look(state, rt)));
        return found;
    }
    if (*window != WindowState::Running && *window != WindowState::Paused)
        return found;

    // A game is in progress.
    const int lanes = game::activeLanes(state.level());
    for (int lane = 1; lane <= game::Lanes; ++lane) {
        if (!isLetter(state.Letters[lane - 1]))
            fail("letter: lane " + std::to_string(lane) + " holds code "
                + std::to_string(state.Letters[lane - 1]));
    }
    for (int a = 0; a < lanes; ++a) {
        for (int b = a + 1; b < lanes; ++b) {
            if (state.Letters[a] == state.Letters[b])
                fail("active letters differ: lanes " + std::to_string(a + 1) + " and "
                    + std::to_string(b + 1) + " both hold code "
                    + std::to_string(state.Letters[a]));
        }
    }
    if (state.FallStep < 1 || state.FallStep > 655)
        fail("FallStep: " + std::to_string(state.FallStep));

    // Kept only by handlers that run to their end: a key whose FallStep step
    // overflows skips the end test, and a tick whose Lost step overflows skips the
    // bottom test of the later lanes.
    auto& afterOverflow = overflowInGame ? found.afterOverflow : found.violations;
    if (state.Lost > state.Hits)
        afterOverflow.push_back("Lost above Hits while a game runs: Hits="
            + std::to_string(state.Hits) + " Lost=" + std::to_string(state.Lost));
    for (int lane = 1; lane <= lanes; ++lane) {
        const float top = rt.boxes[lane - 1].top;
        if (!(top >= 1 && top < rt.clientHeight))
            afterOverflow.push_back("box in the play field: lane " + std::to_string(lane)
                + " at Top " + std::to_string(top));
    }
    return found;
}

std::vector<std::string> checkRanges(const game::GameState& state, const test::RecordingRuntime& rt)
{
    std::vector<std::string> found;
    auto fail = [&](const std::string& what) { found.push_back(what); };
    const Int16 booleans[] = { state.GameOver, state.Stopped, state.LevelI, state.LevelII,
        state.LevelIII, state.LevelIV, state.SpeedI, state.SpeedII, state.SpeedIII, state.SpeedIV };
    for (Int16 value : booleans) {
        if (!boolean(value))
            fail("boolean: " + std::to_string(value));
    }
    for (Int16 code : state.Letters) {
        if (code != 0 && !isLetter(code))
            fail("letter: code " + std::to_string(code));
    }
    if (state.Hits < 0 || state.Lost < 0)
        fail("negative counter: Hits=" + std::to_string(state.Hits)
            + " Lost=" + std::to_string(state.Lost));
    if (state.FallStep < 0 || state.FallStep > 655)
        fail("FallStep: " + std::to_string(state.FallStep));
    if (state.BlinkCount < 0 || state.BlinkCount > 10)
        fail("BlinkCount: " + std::to_string(state.BlinkCount));
    if (rt.check1Value < 0 || rt.check1Value > 2)
        fail("Check1 value: " + std::to_string(rt.check1Value));
    for (const auto& box : rt.boxes) {
        if (!std::isfinite(box.top) || !std::isfinite(box.left))
            fail("box position: not finite");
    }
    return found;
}

std::string findingKind(const std::string& finding) { return finding.substr(0, finding.find(':')); }

} // namespace robustness
