// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace game {

// The controls of the main window that the game reaches, by their design names.
enum class Window { Form1, Form2 };
enum class Box { Picture1, Picture2, Picture3, Picture4, Picture5 };
enum class Label { Label1, Label2, Label5, Label8, Label9, Label10 };
enum class Button { Command1, Command2, Command3 };
enum class CheckBox { Check1 };
enum class Menu { menu_options, help, LI, LII, LIII, LIV, SI, SII, SIII, SIV };
enum class Timer { Timer1, Timer2 };
enum class MessageIcon { Information };

// Lane k (1..5) is shown by the box Picture<k>.
[[nodiscard]] constexpr Box laneBox(int lane) { return static_cast<Box>(lane - 1); }

// Everything the game does to its windows and everything it asks of the platform
// goes through this interface, so the game runs the same against the Qt windows
// and against a test double. Positions are in pixels of the main window's client
// area (x right, y down); the windows' own geometry is in screen pixels.
class Runtime {
public:
    virtual ~Runtime() = default;

    // Windows. Hidden is not destroyed; a disabled window takes no user input.
    virtual void setVisible(Window window, bool visible) = 0;
    virtual void setEnabled(Window window, bool enabled) = 0;
    // The outer rectangle (frame, title bar and menu bar included), in screen pixels.
    [[nodiscard]] virtual float left(Window window) = 0;
    [[nodiscard]] virtual float top(Window window) = 0;
    [[nodiscard]] virtual float width(Window window) = 0;
    [[nodiscard]] virtual float height(Window window) = 0;
    virtual void setLeft(Window window, float left) = 0;
    virtual void setTop(Window window, float top) = 0;
    // The height of the main window's client area, in the unit of a box's Top
    // (387 at the designed size).
    [[nodiscard]] virtual float scaleHeight() = 0;

    // Letter boxes.
    virtual void setVisible(Box box, bool visible) = 0;
    virtual void setLeft(Box box, float left) = 0;
    [[nodiscard]] virtual float top(Box box) = 0;
    virtual void setTop(Box box, float top) = 0;
    // Erases the box and puts the print position back at its top-left corner.
    virtual void clear(Box box) = 0;
    // Draws the text at the print position in the box's font.
    virtual void print(Box box, std::u16string_view text) = 0;
    // Gives the box the keyboard focus; ignored while the box is hidden.
    virtual void setFocus(Box box) = 0;

    // Labels.
    virtual void setCaption(Label label, std::string_view caption) = 0;
    virtual void setVisible(Label label, bool visible) = 0;

    // Command buttons.
    virtual void setEnabled(Button button, bool enabled) = 0;

    // Check boxes. Value: 0 clear, 1 ticked, 2 greyed. Setting a value different
    // from the current one runs the box's Click handler before setValue returns,
    // also while the box is disabled; setting the current value runs nothing.
    virtual void setEnabled(CheckBox box, bool enabled) = 0;
    [[nodiscard]] virtual std::int16_t value(CheckBox box) = 0;
    virtual void setValue(CheckBox box, std::int16_t value) = 0;

    // Menu items. A disabled menu opens none of its items; Checked only draws the tick.
    virtual void setEnabled(Menu menu, bool enabled) = 0;
    virtual void setChecked(Menu menu, bool checked) = 0;

    // Timers. Enabling a running timer leaves its period untouched (no restart).
    virtual void setEnabled(Timer timer, bool enabled) = 0;

    // Services.
    // Shows a message box with one OK button and waits until the user closes it.
    virtual void messageBox(std::string_view text, MessageIcon icon, std::string_view title) = 0;
    // The program's next random number, 0 <= value < 1 (see Generator).
    [[nodiscard]] virtual float rnd() = 0;
    // Ends the program at once with exit status 0: no further event runs.
    virtual void end() = 0;
};

} // namespace game
