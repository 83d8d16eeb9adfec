// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/form1.h"

#include "game/runtime.h"

#include <cmath>
#include <string>

namespace game {

namespace {

    constexpr const char* digits[] = { "1", "2", "3", "4" };

    constexpr Int16 flag(bool value) { return value ? True : False; }

    void setAllBoxesVisible(Runtime& rt, bool visible)
    {
        for (int lane = 1; lane <= Lanes; ++lane)
            rt.setVisible(laneBox(lane), visible);
    }

    // The number (1..4) of the first flag that is true, 0 if none is.
    int firstTrue(const Int16 (&flags)[4])
    {
        for (int i = 0; i < 4; ++i) {
            if (flags[i])
                return i + 1;
        }
        return 0;
    }

} // namespace

int GameState::level() const { return firstTrue({ LevelI, LevelII, LevelIII, LevelIV }); }

int GameState::speed() const { return firstTrue({ SpeedI, SpeedII, SpeedIII, SpeedIV }); }

Form1::Form1(Runtime& runtime)
    : m_rt(runtime)
{
}

// --- Start-up and shutdown -------------------------------------------------

void Form1::Form_Load()
{
    m_state.LevelI = True;
    m_state.LevelII = m_state.LevelIII = m_state.LevelIV = False;
    for (int i = 0; i < Levels; ++i)
        m_rt.setChecked(levelItems[i].id, i == 0);
    m_state.SpeedII = m_state.SpeedIII = m_state.SpeedIV = False;
    m_state.SpeedI = True;
    for (int i = 0; i < Speeds; ++i)
        m_rt.setChecked(speedItems[i].id, i == 0);
    m_state.Stopped = False;
    m_rt.setEnabled(CheckBox::Check1, false);
    m_rt.setVisible(Label::Label5, false);
    setAllBoxesVisible(m_rt, false);
    m_rt.setCaption(Label::Label8, "1");
    m_rt.setCaption(Label::Label9, "1");
    m_rt.setVisible(Window::Form2, false);
    m_rt.setEnabled(Window::Form1, true);
    m_rt.setEnabled(Menu::help, true);
    m_rt.setEnabled(Timer::Timer2, false);
    m_rt.setVisible(Label::Label10, false);
    m_state.BlinkCount = 0;
}

void Form1::Form_QueryUnload() { farewell(); }

void Form1::Command1_Click() { farewell(); }

void Form1::farewell()
{
    m_rt.setVisible(Window::Form1, false);
    m_rt.messageBox("Good bye... Have a nice day! ;-)", MessageIcon::Information, "Zelvaro");
    m_rt.end();
}

// --- Game control ----------------------------------------------------------

void Form1::Command2_Click()
{
    m_state.Stopped = False;
    m_rt.setEnabled(Menu::menu_options, false);
    m_rt.setEnabled(Menu::help, false);
    m_rt.setEnabled(CheckBox::Check1, true);
    setAllBoxesVisible(m_rt, true);
    m_rt.setVisible(Label::Label10, false);
    m_rt.setEnabled(Timer::Timer2, false);
    m_rt.setEnabled(Button::Command2, false);
    m_rt.setEnabled(Button::Command3, true);
    PlaceLanes(m_state.level());
    m_state.FallStep = 1;
    m_state.Hits = 0;
    m_state.Lost = 0;
    m_state.GameOver = False;
    DrawAllLetters();
    for (int lane = 1; lane <= Lanes; ++lane)
        m_rt.setTop(laneBox(lane), 1);
    m_rt.setFocus(Box::Picture1);
}

void Form1::Command3_Click()
{
    m_state.Stopped = True;
    m_rt.setEnabled(Menu::menu_options, true);
    m_rt.setEnabled(CheckBox::Check1, false);
    // While paused this runs Check1_Click, which starts the tick again and gives
    // the still-shown Picture1 the focus.
    m_rt.setValue(CheckBox::Check1, 0);
    m_rt.setEnabled(Menu::help, true);
    setAllBoxesVisible(m_rt, false);
    m_rt.setVisible(Label::Label10, false);
    m_rt.setEnabled(Timer::Timer2, false);
    m_rt.setEnabled(Button::Command3, false);
    m_rt.setEnabled(Button::Command2, true);
}

void Form1::Check1_Click()
{
    if (m_rt.value(CheckBox::Check1) == 1) {
        m_rt.setEnabled(Timer::Timer1, false);
    } else {
        m_rt.setEnabled(Timer::Timer1, true);
        m_rt.setFocus(Box::Picture1);
    }
}

// --- The tick --------------------------------------------------------------

void Form1::Timer1_Timer()
{
    if (m_state.Stopped || m_state.GameOver)
        return;
    // Each flag is tested on its own; with exactly one level selected one block runs.
    const Int16 levelFlags[]
        = { m_state.LevelI, m_state.LevelII, m_state.LevelIII, m_state.LevelIV };
    for (int level = 1; level <= Levels; ++level) {
        if (levelFlags[level - 1])
            runLevelBlock(level);
    }
    m_rt.setCaption(Label::Label1, std::to_string(m_state.Hits));
    m_rt.setCaption(Label::Label2, std::to_string(m_state.Lost));
    endOfTickChecks();
}

bool Form1::tickChangesNothing() const
{
    if (m_state.Stopped || m_state.GameOver)
        return true;
    // Only Start and a judged key set FallStep, always to 1 or more.
    return m_state.FallStep == 0 && m_state.Hits == 0 && m_state.Lost == 0;
}

void Form1::runLevelBlock(int level)
{
    const int lanes = activeLanes(level);
    // All boxes fall and are cleared before any is printed into.
    for (int lane = 1; lane <= lanes; ++lane) {
        const Box box = laneBox(lane);
        m_rt.setTop(box, m_rt.top(box) + static_cast<float>(m_state.FallStep));
        m_rt.clear(box);
    }
    for (int lane = 1; lane <= lanes; ++lane) {
        const char16_t letter = static_cast<char16_t>(m_state.Letters[lane - 1]);
        m_rt.print(laneBox(lane), std::u16string_view(&letter, 1));
    }
    // A box whose top edge has reached the bottom of the client area is out of
    // sight: its lane gets a new letter at the top and the player 5 points.
    for (int lane = 1; lane <= lanes; ++lane) {
        const float bottom = m_rt.scaleHeight();
        if (m_rt.top(laneBox(lane)) >= bottom) {
            ReplaceLetter(lane, level);
            m_state.Lost = checked(m_state.Lost + 5);
        }
    }
}

// --- Game over and praise --------------------------------------------------

void Form1::endOfTickChecks()
{
    if (m_state.Hits < m_state.Lost)
        gameOverSequence();
    else
        m_rt.setVisible(Label::Label5, false);

    const Int16 lead = checked(m_state.Hits - m_state.Lost);
    if (lead < PraiseLead) {
        m_rt.setVisible(Label::Label10, false);
        m_rt.setEnabled(Timer::Timer2, false);
    } else {
        m_rt.setVisible(Label::Label10, true);
        // Re-enabling the running blink timer every tick must not restart it.
        m_rt.setEnabled(Timer::Timer2, true);
    }
}

void Form1::gameOverSequence()
{
    m_state.GameOver = True;
    setAllBoxesVisible(m_rt, false);
    m_rt.setEnabled(Menu::menu_options, true);
    m_rt.setVisible(Label::Label5, true);
    m_rt.setEnabled(Menu::help, true);
    m_rt.setEnabled(CheckBox::Check1, false);
    // From a key judged during a pause this runs Check1_Click: the tick starts
    // again and its focus request to the now hidden Picture1 is ignored.
    m_rt.setValue(CheckBox::Check1, 0);
    m_rt.setVisible(Label::Label10, false);
    m_rt.setEnabled(Timer::Timer2, false);
    m_rt.setEnabled(Button::Command2, true);
    m_rt.setEnabled(Button::Command3, false);
}

void Form1::Timer2_Timer()
{
    m_state.BlinkCount = checked(m_state.BlinkCount + 1);
    m_rt.setCaption(Label::Label10, m_state.BlinkCount % 2 == 0 ? ";-)" : ":-)");
    if (m_state.BlinkCount == 10)
        m_state.BlinkCount = 0;
}

// --- Keystroke judging -----------------------------------------------------

void Form1::Picture1_KeyPress(Int16 KeyAscii)
{
    if (m_state.Stopped)
        return;
    const Int16 levelFlags[]
        = { m_state.LevelI, m_state.LevelII, m_state.LevelIII, m_state.LevelIV };
    for (int level = 1; level <= Levels; ++level) {
        if (!levelFlags[level - 1])
            continue;
        if (m_state.GameOver)
            return;
        judgeKey(level, KeyAscii);
    }
}

void Form1::judgeKey(int level, Int16 code)
{
    const int lanes = activeLanes(level);
    bool matches = false;
    for (int lane = 1; lane <= lanes; ++lane)
        matches = matches || m_state.Letters[lane - 1] == code;
    if (!matches)
        m_state.Lost = checked(m_state.Lost + 1);

    for (int lane = 1; lane <= lanes; ++lane) {
        if (m_state.Letters[lane - 1] == code) {
            m_state.Hits = checked(m_state.Hits + 1);
            ReplaceLetter(lane, level);
        }
    }

    const int selected = m_state.speed();
    const Int16 scaled = checked(m_state.Hits * (selected ? speedFactor(selected) : 0));
    const Int16 sum = checked(scaled + 50);
    m_state.FallStep = static_cast<Int16>(std::floor(sum / 50.0));

    if (m_state.Lost > m_state.Hits) {
        // The final score goes up beside "Game Over": no tick will write it now.
        m_rt.setCaption(Label::Label1, std::to_string(m_state.Hits));
        m_rt.setCaption(Label::Label2, std::to_string(m_state.Lost));
        gameOverSequence();
    } else {
        m_rt.setVisible(Label::Label5, false);
    }
}

// --- Options ----------------------------------------------------------------

void Form1::LI_Click() { selectLevel(1); }
void Form1::LII_Click() { selectLevel(2); }
void Form1::LIII_Click() { selectLevel(3); }
void Form1::LIV_Click() { selectLevel(4); }
void Form1::SI_Click() { selectSpeed(1); }
void Form1::SII_Click() { selectSpeed(2); }
void Form1::SIII_Click() { selectSpeed(3); }
void Form1::SIV_Click() { selectSpeed(4); }

void Form1::selectLevel(int level)
{
    selectOption({ &m_state.LevelI, &m_state.LevelII, &m_state.LevelIII, &m_state.LevelIV },
        levelItems, Label::Label8, level);
}

void Form1::selectSpeed(int speed)
{
    selectOption({ &m_state.SpeedI, &m_state.SpeedII, &m_state.SpeedIII, &m_state.SpeedIV },
        speedItems, Label::Label9, speed);
}

void Form1::selectOption(const std::array<Int16*, Levels>& flags, const MenuItem (&items)[Levels],
    Label label, int choice)
{
    // All four flags of the group first, then the ticks of its items I to IV, then
    // the digit beside "Level:" or "Acceleration:".
    for (int i = 0; i < Levels; ++i)
        *flags[i] = flag(i + 1 == choice);
    for (int i = 0; i < Levels; ++i)
        m_rt.setChecked(items[i].id, i + 1 == choice);
    m_rt.setCaption(label, digits[choice - 1]);
}

void Form1::about_Click()
{
    // Showing the about window activates it, which centres it (Form2::Form_Activate).
    m_rt.setVisible(Window::Form2, true);
    m_rt.setEnabled(Window::Form1, false);
}

// --- Letters ------------------------------------------------------------------

Int16 Form1::DrawLetter()
{
    const double u = m_rt.rnd();
    return static_cast<Int16>(std::floor(u * 26.0) + 97);
}

void Form1::DrawAllLetters()
{
    auto& letters = m_state.Letters;
    letters[0] = DrawLetter();
    for (;;) {
        for (int i = 1; i < Lanes; ++i)
            letters[i] = DrawLetter();
        // All five lanes must differ, whatever the level.
        if (lettersDiffer(Lanes))
            return;
    }
}

void Form1::ReplaceLetter(int lane, int level)
{
    // While a game runs the other active letters already differ from each other, so
    // only the new letter can make a pair equal. Comparing just its pairs draws the
    // same letters and cannot loop for ever should two other lanes ever share a
    // letter (as they all do, with code 0, before the first Start).
    do {
        m_state.Letters[lane - 1] = DrawLetter();
        m_rt.setTop(laneBox(lane), 1);
    } while (!laneDiffersFromOthers(lane, level));
}

bool Form1::laneDiffersFromOthers(int lane, int level) const
{
    for (int other = 1; other <= activeLanes(level); ++other) {
        if (other != lane && m_state.Letters[other - 1] == m_state.Letters[lane - 1])
            return false;
    }
    return true;
}

bool Form1::lettersDiffer(int lanes) const
{
    for (int a = 0; a < lanes; ++a) {
        for (int b = a + 1; b < lanes; ++b) {
            if (m_state.Letters[a] == m_state.Letters[b])
                return false;
        }
    }
    return true;
}

void Form1::PlaceLanes(int level)
{
    if (level < 1 || level > Levels)
        return;
    for (int lane = 1; lane <= Lanes; ++lane)
        m_rt.setLeft(laneBox(lane), laneLeft(level, lane));
}

} // namespace game
