// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/runtime.h"

#include <QMainWindow>
#include <QMargins>
#include <QPointer>

#include <array>
#include <cstddef>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace ui {

class FrameWatch;
class LetterBox;

// The main window, Form1: a fixed 510 x 387 client area below the menu bar with
// the play field left of the vertical rule and the panel right of it. It only
// builds and lays out its controls; QtRuntime drives them and connects their
// signals to the game.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 510;
    static constexpr int ClientHeight = 387;

    explicit MainWindow(QWidget* parent = nullptr);

    [[nodiscard]] QWidget* clientArea() const { return m_client; }
    // The controls the game reaches, by their ids in game::Runtime.
    [[nodiscard]] LetterBox* box(game::Box id) const { return m_boxes.at(at(id)); }
    [[nodiscard]] QLabel* label(game::Label id) const { return m_labels.at(at(id)); }
    [[nodiscard]] QPushButton* button(game::Button id) const { return m_buttons.at(at(id)); }
    [[nodiscard]] QCheckBox* checkBox(game::CheckBox) const { return m_check1; }
    // menu_options and help are the menu bar's entries, the others items of Options.
    [[nodiscard]] QAction* menu(game::Menu id) const { return m_menus.at(at(id)); }
    [[nodiscard]] QTimer* timer(game::Timer id) const { return m_timers.at(at(id)); }
    // Help > About, which the game never changes.
    [[nodiscard]] QAction* aboutItem() const { return m_about; }

    // A main window without input greys its menu bar and client area, which then take
    // no mouse or keyboard input, takes no keyboard focus from the window system and
    // keeps its focus widget aside until the input is back. The window itself stays
    // enabled: Qt disables a window's child windows with it, and the about window is one.
    void setInputEnabled(bool enabled);
    [[nodiscard]] bool isInputEnabled() const;

    // Gives the focus to the first control in tab order that can take it.
    void focusFirstControl();

    // Shows the window for the first time with its outer rectangle (frame, title bar
    // and menu bar) centred on the available area of the primary screen, so that it is
    // in place when it first appears. Under an X11 window manager that tells the
    // frame of a window before it is mapped, the window is shown once it has told,
    // from the event loop, or after FrameWaitMs without an answer as if there were no
    // frame.
    // Elsewhere it is shown at once: without a window manager there is no frame, and
    // a Wayland compositor places the window itself. Any other showing or hiding of
    // the window meanwhile drops the pending one. Under X11, for FrameSettleMs after
    // the showing, each frame the window manager sets on the window that differs from
    // the one the window was last centred for has it centred once more, for that frame.
    void showCentred();
    // Puts the window so that its rectangle grown by frame is centred on the primary
    // screen's available area, to the pixel; the window's position is that of its
    // client area.
    void centreOnScreen(const QMargins& frame);
    // The longest wait for the window manager's word on the frame: a window manager
    // that has not answered by then is taken to be stuck.
    static constexpr int FrameWaitMs = 200;
    // How long after the first showing a new frame from the window manager still
    // centres the window again.
    static constexpr int FrameSettleMs = 1000;

    void setVisible(bool visible) override;

signals:
    // Any request to close the window: its close box, the window manager, the
    // session ending. The window itself stays open; the game decides.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();

    template <typename Id> static constexpr std::size_t at(Id id)
    {
        return static_cast<std::size_t>(id);
    }

    QWidget* m_client;
    std::array<LetterBox*, 5> m_boxes {};
    std::array<QLabel*, 6> m_labels {};
    std::array<QPushButton*, 3> m_buttons {};
    QCheckBox* m_check1 = nullptr;
    std::array<QAction*, 10> m_menus {};
    QAction* m_about = nullptr;
    std::array<QTimer*, 2> m_timers {};
    QList<QWidget*> m_tabOrder;
    // The focus widget when the input was last taken away.
    QPointer<QWidget> m_inputFocus;
    // From the making of the window until FrameSettleMs after its first showing, under
    // X11: what the window manager says about the window's frame.
    FrameWatch* m_frameWatch = nullptr;
    // The frame the window was last centred for.
    QMargins m_centredFor;
    // Takes a frame the window manager has set: the answer before the first showing
    // shows the window, a new frame after it centres the window again.
    void takeFrame(const QMargins& frame);
    // Shows the window centred for frame and lets it settle.
    void showSettling(const QMargins& frame);
    // Stops listening to the window manager about the frame.
    void dropFrameWatch();
};

} // namespace ui
