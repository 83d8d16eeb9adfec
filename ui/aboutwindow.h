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
class AboutWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 312;
    static constexpr int Height = 184;

    explicit AboutWindow(QWidget* parent = nullptr);

    // The about text: the first sentence, 87 blanks, the credit line, 50 blanks
    // and the closing line, wrapped at blanks so each of the last two starts a line.
    [[nodiscard]] static QString aboutText();

    [[nodiscard]] QPushButton* okButton() const { return m_command1; }
    [[nodiscard]] QLabel* textLabel() const { return m_label3; }

signals:
    // Each time the window becomes the active window.
    void activated();
    // A close request from outside (a window manager's close command): handled as "Ok".
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* m_command1;
    QLabel* m_label3;
};

} // namespace ui
