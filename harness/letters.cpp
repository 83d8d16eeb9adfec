// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The letters a fresh program shows for a given play, worked out by the game itself.
// The main window's handlers run on a runtime that does nothing (no box ever falls
// out) and draw from the program's own never seeded random numbers, so a real run
// played the same way shows the same letters. The end-to-end tests and the scripts
// ask this tool instead of modelling the game.
//   letters STEP...
//   STEP: level N (Options > Level, 1..4) | speed N (Options > Acceleration, 1..4)
//         | start | hit LANE (the key of the letter that lane LANE shows, 1..5)
// Prints a JSON array with one object per step, in order:
//   {"step": "hit 2", "typed": "k", "letters": ["s", "w"], "lefts": [104, 200], "hits": 1}
// typed is the letter the key carried (hit only); letters are those of the active
// lanes 1..activeLanes(level), "" for a lane that has none yet, and lefts where
// Start puts those lanes' boxes, in pixels from the client area's left edge. A step it does not
// know, or a hit before the first start or on a lane the level does not use, ends
// the tool with status 2 and a message instead of the array.
#include "bench/nullruntime.h"
#include "game/form1.h"
#include "game/handler.h"
#include "game/rules.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

// The number a step takes, or 0 when the word is not a number from 1 to max.
int number(const char* word, int max)
{
    const std::string_view text = word ? word : "";
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size();
    return whole && value >= 1 && value <= max ? value : 0;
}

// A letter as a JSON string: the character for a..z, "" for any other code.
std::string quoted(game::Int16 code)
{
    if (code < 'a' || code > 'z')
        return "\"\"";
    return { '"', static_cast<char>(code), '"' };
}

} // namespace

int main(int argc, char* argv[])
{
    bench::NullRuntime runtime;
    game::Form1 form(runtime);
    const game::GameState& state = form.state();
    form.Form_Load();
    bool started = false;
    std::string out = "[";
    for (int i = 1; i < argc; ++i) {
        const std::string_view kind = argv[i];
        const bool menu = kind == "level" || kind == "speed";
        const int max = menu ? game::Levels : game::activeLanes(state.level());
        const int value = kind == "start" ? 0 : number(argv[i + 1], max);
        if (kind != "start" && !((menu || (kind == "hit" && started)) && value)) {
            std::fprintf(stderr,
                "letters: step %d ('%s') is none of: level 1..4, speed 1..4, start, and after "
                "a start hit 1..%d\n",
                i, argv[i], max);
            return 2;
        }

        std::string step(kind), typed;
        if (menu) {
            const auto& item = (kind == "level" ? game::levelItems : game::speedItems)[value - 1];
            game::runHandler(item.handler, [&] { (form.*item.click)(); });
        } else if (kind == "start") {
            game::runHandler("Command2_Click", [&] { form.Command2_Click(); });
            started = true;
        } else {
            const game::Int16 key = state.Letters[value - 1];
            game::runHandler("Picture1_KeyPress", [&] { form.Picture1_KeyPress(key); });
            typed = ", \"typed\": " + quoted(key);
        }
        if (value)
            step += ' ' + std::string(argv[++i]);

        std::string letters, lefts;
        for (int lane = 1; lane <= game::activeLanes(state.level()); ++lane) {
            letters += (lane > 1 ? ", " : "") + quoted(state.Letters[lane - 1]);
            lefts += (lane > 1 ? ", " : "")
                + std::to_string(static_cast<int>(game::laneLeft(state.level(), lane)));
        }
        out += (out.size() > 1 ? ",\n {\"step\": \"" : "\n {\"step\": \"") + step + "\"" + typed
            + ", \"letters\": [" + letters + "], \"lefts\": [" + lefts
            + "], \"hits\": " + std::to_string(state.Hits) + "}";
    }
    std::printf("%s\n]\n", out.c_str());
    return 0;
}
