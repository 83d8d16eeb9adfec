// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace ui {

// The about window, Form2: a frameless 312 x 184 window that draws its own title
// strip and frame, modal over its parent window. It is hidden, never destroyed,
// between showings. Under X11 it takes no entry of its own in task bars and task
// switchers, where its caption "Form2" would stand beside the main window.
//
// The window itself, with its caption, size and modality, exists from its making on;
// its controls are made when it is first shown or first asked for, so that the
// program's start-up builds no text layout nobody sees yet.
class AboutWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 312;
    static constexpr int Height = 184;

    explicit AboutWindow(QWidget* parent = nullptr);

    // The about text: the first sentence, 87 blanks, the credit line, 50 blanks
    // and the closing line, wrapped at blanks so each of the last two starts a line.
    [[nodiscard]] static QString aboutText();

    // The controls, made now if not yet.
    [[nodiscard]] QPushButton* okButton();
    [[nodiscard]] QLabel* textLabel();

    void setVisible(bool visible) override;

signals:
    // "Ok" was pressed.
    void okClicked();
    // Each time the window becomes the active window.
    void activated();
    // A close request from outside (a window manager's close command): handled as "Ok".
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Makes the controls, once.
    void build();

    QPushButton* m_command1 = nullptr;
    QLabel* m_label3 = nullptr;
};

} // namespace ui
