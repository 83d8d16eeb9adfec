// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/form1.h"
#include "game/form2.h"
#include "game/generator.h"
#include "game/handler.h"
#include "game/runtime.h"
#include "ui/letterbox.h"

#include <QObject>

#include <memory>

namespace ui {

class AboutWindow;
class MainWindow;

// The Qt side of game::Runtime: applies each operation to its widget at once and
// runs the game's handlers for the widgets' signals. It owns both windows and the
// game. Every handler runs through dispatch(), so no exception reaches Qt's event
// loop and nothing runs once the program has ended.
class QtRuntime final : public QObject, public game::Runtime {
    Q_OBJECT

public:
    QtRuntime();
    ~QtRuntime() override;

    // Runs Form_Load, then shows the main window centred on the screen with the
    // focus on the first control that can take it; under an X11 window manager the
    // window may appear a moment later, from the event loop (MainWindow::showCentred).
    void start();

    [[nodiscard]] MainWindow& mainWindow() const { return *m_form1Window; }
    // The about window, made on first use.
    [[nodiscard]] AboutWindow& aboutWindow();
    [[nodiscard]] game::Form1& form1() { return m_form1; }
    [[nodiscard]] game::Form2& form2() { return m_form2; }
    [[nodiscard]] bool ended() const { return m_ended; }
    // Timer1 as the game switched it: on from the window's making, off while paused.
    // Its Qt timer runs only while a tick could also change something
    // (game::Form1::tickChangesNothing), so the program sleeps while nothing moves.
    [[nodiscard]] bool tickEnabled() const { return m_tickEnabled; }

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

private:
    template <typename Handler> void dispatch(const char* name, Handler&& handler)
    {
        if (m_ended)
            return;
        // The letter boxes show what the handler left in them once it is done.
        {
            const LetterBox::Batch boxes;
            game::runHandler(name, std::forward<Handler>(handler));
        }
        updateTickTimer();
    }
    void updateTickTimer();
    void connectSignals();
    void form2Activate();
    [[nodiscard]] QWidget* window(game::Window window);
    void releaseFocus(QWidget* control);

    std::unique_ptr<MainWindow> m_form1Window;
    // Owned by the main window, its Qt parent; null until first used.
    AboutWindow* m_form2Window = nullptr;
    game::Generator m_generator;
    game::Form1 m_form1;
    game::Form2 m_form2;
    bool m_tickEnabled = true;
    bool m_messageBoxOpen = false;
    bool m_ended = false;
};

} // namespace ui
