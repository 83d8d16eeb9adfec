// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzer.h"

#include "game/form1.h"
#include "game/form2.h"
#include "game/handler.h"
#include "invariants.h"
#include "tests/support/recordingruntime.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace robustness {

using game::Int16;

namespace {

    int at(auto id) { return static_cast<int>(id); }

    // Raised by the random numbers when one event has drawn Fuzzer::DrawLimit
    // letters: the ReplaceLetter loop can no longer end.
    class RunawayDraws : public std::runtime_error {
    public:
        RunawayDraws()
            : std::runtime_error("ReplaceLetter did not end")
        {
        }
    };

    class FuzzRuntime : public test::RecordingRuntime {
    public:
        int drawsLeft = Fuzzer::DrawLimit;

        float rnd() override
        {
            if (--drawsLeft < 0)
                throw RunawayDraws();
            return RecordingRuntime::rnd();
        }
    };

} // namespace

const char* name(Event event)
{
    static const char* names[]
        = { "Timer1", "Timer2", "Key", "Start", "Stop", "PauseOn", "PauseOff", "LevelItem",
              "SpeedItem", "AboutOpen", "AboutActivate", "AboutOk", "Exit", "Jump" };
    return names[at(event)];
}

// One run of the program: the two windows' handlers on the recording runtime,
// wired as the Qt runtime wires them, started as the program starts.
struct Fuzzer::Program {
    FuzzRuntime rt;
    game::Form1 form1 { rt };
    game::Form2 form2 { rt };

    Program()
    {
        rt.recording = false;
        rt.onCheck1Click
            = [this] { game::runHandler("Check1_Click", [this] { form1.Check1_Click(); }); };
        rt.onForm2Activate = [this] {
            game::runHandler("Form2.Form_Activate", [this] { form2.Form_Activate(); });
        };
        game::runHandler("Form_Load", [this] { form1.Form_Load(); });
        // The runtime shows the main window once Form_Load has returned.
        rt.window(game::Window::Form1).visible = true;
    }
};

struct Fuzzer::Before {
    game::GameState state;
    std::optional<WindowState> window;
};

Fuzzer::Fuzzer(std::uint64_t seed, Order order)
    : m_order(order)
    , m_random(seed)
    , m_program(std::make_unique<Program>())
{
    newPlayer();
}

Fuzzer::~Fuzzer() = default;

double Fuzzer::uniform() { return static_cast<double>(m_random() >> 11) * 0x1.0p-53; }

bool Fuzzer::run(const char* name, auto&& handler)
{
    m_program->rt.drawsLeft = DrawLimit;
    return game::runHandler(name, handler);
}

void Fuzzer::newPlayer()
{
    static constexpr double rates[] = { 0.1, 0.3, 0.6, 1.0, 2.0 };
    static constexpr double accuracies[] = { 0.6, 0.9, 0.98, 1.0 };
    static constexpr double stops[] = { 0.0001, 0.0005, 0.002 };
    m_player = { rates[below(5)], accuracies[below(4)], stops[below(3)] };
}

void Fuzzer::step()
{
    const auto window = windowState(test::look(m_program->form1.state(), m_program->rt));
    const bool playing = window == WindowState::Running || window == WindowState::Paused;
    Event event = Event::Jump;
    if (m_order == Order::Any)
        event = pickAnyOrder();
    else if (!playing || !chance(0.0002))
        event = pickWindowOrder();
    ++m_stats.byKind[at(event)];
    if (event != Event::Jump)
        ++m_stats.events;
    fire(event);
}

Event Fuzzer::pickWindowOrder()
{
    const auto& rt = m_program->rt;
    struct Option {
        Event event;
        double weight;
    };
    Option options[EventKinds];
    int count = 0;
    auto offer = [&](Event event, double weight) { options[count++] = { event, weight }; };

    // As in the window, Timer1 sleeps where a tick would change nothing; check() runs
    // such a tick to see that it does not.
    if (rt.timersEnabled[at(game::Timer::Timer1)] && !m_program->form1.tickChangesNothing())
        offer(Event::Timer1, 1.0);
    if (rt.timersEnabled[at(game::Timer::Timer2)])
        offer(Event::Timer2, 0.05);
    if (rt.windows[at(game::Window::Form2)].visible) {
        offer(Event::AboutOk, 0.02);
        offer(Event::AboutActivate, 0.005);
    }
    if (rt.windows[at(game::Window::Form1)].enabled) {
        const bool playing = rt.boxes[0].visible;
        if (playing)
            offer(Event::Key, m_player.keysPerTick);
        if (rt.buttonsEnabled[at(game::Button::Command2)])
            offer(Event::Start, 0.05);
        if (rt.buttonsEnabled[at(game::Button::Command3)]) {
            // A player who has driven the counters near their limits soon stops.
            const double stop = m_countersHigh ? 0.01 : m_player.stopChance;
            offer(Event::Stop, playing ? stop : 0.01);
        }
        if (rt.check1Enabled) {
            if (rt.check1Value == 1)
                offer(Event::PauseOff, 0.05);
            else
                offer(Event::PauseOn, 0.002);
        }
        if (rt.menusEnabled[at(game::Menu::menu_options)]) {
            offer(Event::LevelItem, 0.05);
            offer(Event::SpeedItem, 0.05);
        }
        if (rt.menusEnabled[at(game::Menu::help)])
            offer(Event::AboutOpen, playing ? 0.0005 : 0.01);
        offer(Event::Exit, 0.000002);
    }

    double total = 0;
    for (int i = 0; i < count; ++i)
        total += options[i].weight;
    double pick = uniform() * total;
    for (int i = 0; i < count; ++i) {
        pick -= options[i].weight;
        if (pick < 0)
            return options[i].event;
    }
    return options[count - 1].event;
}

Event Fuzzer::pickAnyOrder()
{
    static constexpr double weights[EventKinds]
        = { 1.0, 0.1, 0.8, 0.03, 0.02, 0.02, 0.02, 0.02, 0.02, 0.01, 0.01, 0.01, 0.0001, 0.0001 };
    double total = 0;
    for (double weight : weights)
        total += weight;
    double pick = uniform() * total;
    for (int i = 0; i < EventKinds; ++i) {
        pick -= weights[i];
        if (pick < 0)
            return static_cast<Event>(i);
    }
    return Event::Timer1;
}

void Fuzzer::fire(Event event)
{
    game::Form1& form1 = m_program->form1;
    game::Form2& form2 = m_program->form2;
    FuzzRuntime& rt = m_program->rt;
    const Before before { form1.state(), windowState(test::look(form1.state(), rt)) };
    std::string label = name(event);
    bool completed = true;

    switch (event) {
    case Event::Timer1:
        completed = run("Timer1_Timer", [&] { form1.Timer1_Timer(); });
        break;
    case Event::Timer2:
        completed = run("Timer2_Timer", [&] { form1.Timer2_Timer(); });
        break;
    case Event::Key:
        fireKey();
        label += " " + std::to_string(m_lastKey);
        completed = run("Picture1_KeyPress", [&] {
            form1.Picture1_KeyPress(static_cast<Int16>(static_cast<std::uint16_t>(m_lastKey)));
        });
        break;
    case Event::Start:
        completed = run("Command2_Click", [&] { form1.Command2_Click(); });
        m_overflowInGame = false;
        m_countersHigh = false;
        ++m_stats.games;
        newPlayer();
        break;
    case Event::Stop:
        completed = run("Command3_Click", [&] { form1.Command3_Click(); });
        break;
    case Event::PauseOn:
    case Event::PauseOff:
        // The user's click changes the value, which runs Check1_Click inside setValue.
        rt.setValue(game::CheckBox::Check1, event == Event::PauseOn ? 1 : 0);
        break;
    case Event::LevelItem:
    case Event::SpeedItem: {
        const bool level = event == Event::LevelItem;
        const int item = below(level ? game::Levels : game::Speeds);
        label += " " + std::to_string(item + 1);
        const game::MenuItem& menu = (level ? game::levelItems : game::speedItems)[item];
        completed = run(menu.handler, [&] { (form1.*menu.click)(); });
        break;
    }
    case Event::AboutOpen:
        completed = run("about_Click", [&] { form1.about_Click(); });
        break;
    case Event::AboutActivate:
        completed = run("Form2.Form_Activate", [&] { form2.Form_Activate(); });
        break;
    case Event::AboutOk:
        completed = run("Form2.Command1_Click", [&] { form2.Command1_Click(); });
        break;
    case Event::Exit: {
        const bool button = chance(0.5);
        label += button ? " button" : " close request";
        completed = button ? run("Command1_Click", [&] { form1.Command1_Click(); })
                           : run("Form_QueryUnload", [&] { form1.Form_QueryUnload(); });
        if (!rt.ended || rt.windows[at(game::Window::Form1)].visible)
            record("farewell: the program did not hide its window and end", m_stats.violations);
        m_program = std::make_unique<Program>();
        ++m_stats.runs;
        break;
    }
    case Event::Jump:
        jump();
        label += " Hits=" + std::to_string(form1.state().Hits)
            + " Lost=" + std::to_string(form1.state().Lost);
        break;
    }

    m_trail.push_back(label);
    if (m_trail.size() > 24)
        m_trail.pop_front();

    if (!completed) {
        if (m_program->rt.drawsLeft < 0) {
            // The program would hang here; a user could only kill it.
            if (m_order == Order::Window)
                record("ReplaceLetter did not end", m_stats.violations);
            ++m_stats.runaways;
            m_program = std::make_unique<Program>();
            ++m_stats.runs;
            return;
        }
        ++m_stats.overflows;
        m_overflowInGame = true;
    }
    check(event, before, completed);
}

void Fuzzer::fireKey()
{
    const game::GameState& state = m_program->form1.state();
    const auto& boxes = m_program->rt.boxes;
    const int lanes = game::activeLanes(std::max(state.level(), 1));
    if (chance(m_player.accuracy)) {
        // An active letter: mostly the one about to fall out, as a player would.
        int lane = 1;
        if (chance(0.7)) {
            for (int k = 2; k <= lanes; ++k) {
                if (boxes[k - 1].top > boxes[lane - 1].top)
                    lane = k;
            }
        } else {
            lane = 1 + below(lanes);
        }
        m_lastKey = static_cast<std::uint16_t>(state.Letters[lane - 1]);
        return;
    }
    switch (below(3)) {
    case 0:
        m_lastKey = below(65536);
        break;
    case 1:
        m_lastKey = 'a' + below(26);
        break;
    default:
        m_lastKey = 'A' + below(26);
        break;
    }
}

void Fuzzer::jump()
{
    game::GameState& state = m_program->form1.state();
    int hits = 0;
    switch (below(4)) {
    case 0: // at the top of the range: the next hit overflows Hits
        hits = 32767 - below(100);
        break;
    case 1: // where Hits x m + 50, the FallStep step, leaves the range
        hits = std::clamp(
            (32767 - 50) / game::speedFactor(std::max(state.speed(), 1)) - 20 + below(40), 0,
            32767);
        break;
    case 2: // around the praise lead
        hits = game::PraiseLead + below(400);
        break;
    default:
        hits = below(32768);
        break;
    }
    // Lost stays at most Hits, as between handlers of a running game; near the top
    // it is put where the tick's Lost + 5 overflows.
    int lost = std::max(0, hits - below(400));
    if (hits >= 32763 && chance(0.5))
        lost = 32758 + below(hits - 32757);
    state.Hits = static_cast<Int16>(hits);
    state.Lost = static_cast<Int16>(lost);
    m_countersHigh = true;
}

void Fuzzer::record(const std::string& finding, std::map<std::string, std::uint64_t>& counts)
{
    ++counts[findingKind(finding)];
    if (&counts == &m_stats.violations && m_stats.examples.size() < 20) {
        std::string example
            = "event " + std::to_string(m_stats.events) + ": " + finding + "\n  last events: ";
        for (const auto& entry : m_trail)
            example += entry + (&entry == &m_trail.back() ? "" : ", ");
        m_stats.examples.push_back(example);
    }
}

void Fuzzer::check(Event event, const Before& before, bool completed)
{
    const game::GameState& state = m_program->form1.state();
    const auto& rt = m_program->rt;
    const auto window = windowState(test::look(state, rt));

    if (rt.labels[at(game::Label::Label10)].visible)
        ++m_stats.smileyEvents;
    const bool wasPlaying
        = before.window == WindowState::Running || before.window == WindowState::Paused;
    if (wasPlaying && window == WindowState::Lost)
        ++m_stats.gamesLost;
    if (wasPlaying && window == WindowState::Stopped)
        ++m_stats.gamesStopped;
    if (!m_countersHigh) {
        m_stats.maxHits = std::max<int>(m_stats.maxHits, state.Hits);
        m_stats.maxFallStep = std::max<int>(m_stats.maxFallStep, state.FallStep);
    }

    const int hits = state.Hits - before.state.Hits;
    const int lost = state.Lost - before.state.Lost;
    if (event == Event::Key && wasPlaying && completed) {
        m_stats.hits += hits == 1;
        m_stats.misses += lost == 1;
    }

    if (m_order == Order::Any) {
        for (const auto& finding : checkRanges(state, rt))
            record(finding, m_stats.violations);
        return;
    }

    if (m_program->form1.tickChangesNothing()) {
        const std::string shown = rt.shown();
        const game::GameState quiet = state;
        run("Timer1_Timer", [this] { m_program->form1.Timer1_Timer(); });
        if (rt.shown() != shown || !(state == quiet))
            record(std::string("quiet tick: a tick after ") + name(event)
                    + " changed what the game said it would not",
                m_stats.violations);
    }

    const Findings found = checkInvariants(state, rt, m_overflowInGame);
    for (const auto& finding : found.violations)
        record(finding, m_stats.violations);
    for (const auto& finding : found.afterOverflow)
        record(finding, m_stats.afterOverflow);

    const bool finished
        = before.window == WindowState::Stopped || before.window == WindowState::Lost;
    if ((event == Event::Key || event == Event::Timer1) && finished
        && (hits != 0 || lost != 0 || state.Letters != before.state.Letters
            || state.FallStep != before.state.FallStep))
        record(std::string("guard: ") + name(event) + " changed the game after it ended",
            m_stats.violations);
    if (!completed || !wasPlaying)
        return;

    const int lanes = game::activeLanes(before.state.level());
    if (event == Event::Key) {
        // Exactly one outcome per judged key: a hit on the lane that shows the
        // letter, or one penalty point when no active lane shows it.
        const auto& letters = before.state.Letters;
        const bool shown = std::find(letters.begin(), letters.begin() + lanes,
                               static_cast<Int16>(static_cast<std::uint16_t>(m_lastKey)))
            != letters.begin() + lanes;
        if (shown ? hits != 1 || lost != 0 : hits != 0 || lost != 1)
            record("key outcome: code " + std::to_string(m_lastKey) + " gave Hits+"
                    + std::to_string(hits) + " Lost+" + std::to_string(lost),
                m_stats.violations);
    } else if (event == Event::Timer1) {
        // A tick never scores; it charges 5 for each active lane whose letter fell out.
        if (hits != 0 || lost < 0 || lost % 5 != 0 || lost > 5 * lanes)
            record("tick outcome: Hits+" + std::to_string(hits) + " Lost+" + std::to_string(lost),
                m_stats.violations);
    }
}

std::string Stats::summary() const
{
    std::string out = std::to_string(events) + " events in " + std::to_string(runs)
        + " program runs, " + std::to_string(games) + " games (" + std::to_string(gamesLost)
        + " lost, " + std::to_string(gamesStopped) + " stopped)\n";
    out += "  events:";
    for (int i = 0; i < EventKinds; ++i)
        out += std::string(" ") + name(static_cast<Event>(i)) + "=" + std::to_string(byKind[i]);
    out += "\n  judged keys: " + std::to_string(hits) + " hits, " + std::to_string(misses)
        + " misses; highest Hits in play " + std::to_string(maxHits) + ", highest FallStep "
        + std::to_string(maxFallStep) + "; smiley shown after " + std::to_string(smileyEvents)
        + " events\n";
    out += "  handlers ended by the overflow error: " + std::to_string(overflows)
        + "; ReplaceLetter loops cut off: " + std::to_string(runaways) + "\n";
    for (const auto& [kind, count] : afterOverflow)
        out += "  broken after an overflow (" + std::to_string(count) + "x): " + kind + "\n";
    for (const auto& [kind, count] : violations)
        out += "  VIOLATION (" + std::to_string(count) + "x): " + kind + "\n";
    for (const auto& example : examples)
        out += "    " + example + "\n";
    return out;
}

} // namespace robustness
