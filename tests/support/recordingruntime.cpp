// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/recordingruntime.h"

#include <cmath>
#include <cstdio>

namespace test {

namespace {
    int at(auto id) { return static_cast<int>(id); }
    std::string flag(bool value) { return value ? "1" : "0"; }

    std::string utf8(std::u16string_view text)
    {
        std::string out;
        for (char16_t c : text) {
            if (c >= 0x20 && c < 0x7f) {
                out += static_cast<char>(c);
            } else {
                char buffer[12];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                out += buffer;
            }
        }
        return out;
    }

    // Whole numbers without a decimal point.
    std::string number(float value)
    {
        if (value == std::floor(value) && std::fabs(value) < 1e9f)
            return std::to_string(static_cast<long long>(value));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
        return buffer;
    }
} // namespace

std::string RecordingRuntime::name(game::Window id)
{
    return id == game::Window::Form1 ? "Form1" : "Form2";
}
std::string RecordingRuntime::name(game::Box id) { return "Picture" + std::to_string(at(id) + 1); }
std::string RecordingRuntime::name(game::Label id)
{
    static const char* names[] = { "Label1", "Label2", "Label5", "Label8", "Label9", "Label10" };
    return names[at(id)];
}
std::string RecordingRuntime::name(game::Button id)
{
    return "Command" + std::to_string(at(id) + 1);
}
std::string RecordingRuntime::name(game::Menu id)
{
    static const char* names[]
        = { "menu_options", "help", "LI", "LII", "LIII", "LIV", "SI", "SII", "SIII", "SIV" };
    return names[at(id)];
}
std::string RecordingRuntime::name(game::Timer id)
{
    return id == game::Timer::Timer1 ? "Timer1" : "Timer2";
}

std::string RecordingRuntime::shown() const
{
    std::string out;
    for (int i = 0; i < 2; ++i) {
        const FormState& w = windows.at(i);
        out += name(static_cast<game::Window>(i)) + " visible=" + flag(w.visible)
            + " enabled=" + flag(w.enabled) + " at " + number(w.left) + "," + number(w.top) + "\n";
    }
    for (int i = 0; i < 5; ++i) {
        const BoxState& b = boxes.at(i);
        std::u16string drawn;
        for (char16_t c : b.printed) {
            if (c >= 0x20)
                drawn += c;
        }
        out += name(static_cast<game::Box>(i)) + " visible=" + flag(b.visible) + " at "
            + number(b.left) + "," + number(b.top) + " shows '" + utf8(drawn) + "'"
            + (focusedBox == i + 1 ? " focused" : "") + "\n";
    }
    for (int i = 0; i < 6; ++i) {
        const LabelState& l = labels.at(i);
        out += name(static_cast<game::Label>(i)) + " visible=" + flag(l.visible) + " '" + l.caption
            + "'\n";
    }
    for (int i = 0; i < 3; ++i)
        out += name(static_cast<game::Button>(i)) + " enabled=" + flag(buttonsEnabled.at(i)) + "\n";
    out += "Check1 enabled=" + flag(check1Enabled) + " value=" + std::to_string(check1Value) + "\n";
    for (int i = 0; i < 10; ++i) {
        out += name(static_cast<game::Menu>(i)) + " enabled=" + flag(menusEnabled.at(i))
            + " checked=" + flag(menusChecked.at(i)) + "\n";
    }
    for (int i = 0; i < 2; ++i)
        out += name(static_cast<game::Timer>(i)) + " enabled=" + flag(timersEnabled.at(i)) + "\n";
    return out + "drawn=" + std::to_string(drawn) + (ended ? " ended\n" : "\n");
}

std::vector<std::string> RecordingRuntime::entries(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& entry : journal) {
        if (entry.rfind(prefix, 0) == 0)
            out.push_back(entry);
    }
    return out;
}

void RecordingRuntime::setVisible(game::Window id, bool visible)
{
    log(name(id) + ".Visible=" + flag(visible));
    const bool wasHidden = !window(id).visible;
    window(id).visible = visible;
    if (id == game::Window::Form2 && visible && wasHidden && onForm2Activate)
        onForm2Activate();
}

void RecordingRuntime::setEnabled(game::Window id, bool enabled)
{
    log(name(id) + ".Enabled=" + flag(enabled));
    window(id).enabled = enabled;
}

float RecordingRuntime::left(game::Window id) { return window(id).left; }

float RecordingRuntime::top(game::Window id) { return window(id).top; }

float RecordingRuntime::width(game::Window id) { return window(id).width; }

float RecordingRuntime::height(game::Window id) { return window(id).height; }

void RecordingRuntime::setLeft(game::Window id, float left)
{
    log(name(id) + ".Left=" + number(left));
    window(id).left = left;
}

void RecordingRuntime::setTop(game::Window id, float top)
{
    log(name(id) + ".Top=" + number(top));
    window(id).top = top;
}

float RecordingRuntime::scaleHeight() { return clientHeight; }

void RecordingRuntime::setVisible(game::Box id, bool visible)
{
    log(name(id) + ".Visible=" + flag(visible));
    boxes.at(at(id)).visible = visible;
    if (!visible && focusedBox == at(id) + 1)
        focusedBox = 0;
}

void RecordingRuntime::setLeft(game::Box id, float left)
{
    log(name(id) + ".Left=" + number(left));
    boxes.at(at(id)).left = left;
}

float RecordingRuntime::top(game::Box id) { return boxes.at(at(id)).top; }

void RecordingRuntime::setTop(game::Box id, float top)
{
    log(name(id) + ".Top=" + number(top));
    boxes.at(at(id)).top = top;
}

void RecordingRuntime::clear(game::Box id)
{
    log(name(id) + ".Clear");
    boxes.at(at(id)).printed.clear();
}

void RecordingRuntime::print(game::Box id, std::u16string_view text)
{
    log(name(id) + ".Print=" + utf8(text));
    boxes.at(at(id)).printed += text;
}

void RecordingRuntime::setFocus(game::Box id)
{
    log(name(id) + ".SetFocus");
    // As in the windows: a hidden box cannot take the focus, and the request is ignored.
    if (boxes.at(at(id)).visible)
        focusedBox = at(id) + 1;
}

void RecordingRuntime::setCaption(game::Label id, std::string_view caption)
{
    log(name(id) + ".Caption=" + std::string(caption));
    label(id).caption = caption;
}

void RecordingRuntime::setVisible(game::Label id, bool visible)
{
    log(name(id) + ".Visible=" + flag(visible));
    label(id).visible = visible;
}

void RecordingRuntime::setEnabled(game::Button id, bool enabled)
{
    log(name(id) + ".Enabled=" + flag(enabled));
    buttonsEnabled.at(at(id)) = enabled;
}

void RecordingRuntime::setEnabled(game::CheckBox, bool enabled)
{
    log("Check1.Enabled=" + flag(enabled));
    check1Enabled = enabled;
}

std::int16_t RecordingRuntime::value(game::CheckBox) { return check1Value; }

void RecordingRuntime::setValue(game::CheckBox, std::int16_t value)
{
    log("Check1.Value=" + std::to_string(value));
    if (value == check1Value)
        return;
    check1Value = value;
    if (onCheck1Click)
        onCheck1Click();
}

void RecordingRuntime::setEnabled(game::Menu id, bool enabled)
{
    log(name(id) + ".Enabled=" + flag(enabled));
    menusEnabled.at(at(id)) = enabled;
}

void RecordingRuntime::setChecked(game::Menu id, bool checked)
{
    log(name(id) + ".Checked=" + flag(checked));
    menusChecked.at(at(id)) = checked;
}

void RecordingRuntime::setEnabled(game::Timer id, bool enabled)
{
    log(name(id) + ".Enabled=" + flag(enabled));
    timersEnabled.at(at(id)) = enabled;
}

void RecordingRuntime::messageBox(std::string_view text, game::MessageIcon, std::string_view title)
{
    log("MsgBox=" + std::string(text) + "|" + std::string(title));
    if (onMessageBox)
        onMessageBox();
}

float RecordingRuntime::rnd()
{
    log("Rnd");
    ++drawn;
    if (!scriptedRandom.empty()) {
        const float value = scriptedRandom.front();
        scriptedRandom.pop_front();
        return value;
    }
    return m_generator.next();
}

void RecordingRuntime::end()
{
    log("End");
    ended = true;
}

} // namespace test
