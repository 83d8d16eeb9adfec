// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace ui {

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
    // Lane k's box is box(k - 1).
    [[nodiscard]] LetterBox* box(int index) const { return m_boxes.at(index); }
    [[nodiscard]] QLabel* hitsLabel() const { return m_label1; } // Label1
    [[nodiscard]] QLabel* lostLabel() const { return m_label2; } // Label2
    [[nodiscard]] QLabel* gameOverLabel() const { return m_label5; } // Label5
    [[nodiscard]] QLabel* levelLabel() const { return m_label8; } // Label8
    [[nodiscard]] QLabel* speedLabel() const { return m_label9; } // Label9
    [[nodiscard]] QLabel* smileyLabel() const { return m_label10; } // Label10
    [[nodiscard]] QPushButton* exitButton() const { return m_command1; }
    [[nodiscard]] QPushButton* startButton() const { return m_command2; }
    [[nodiscard]] QPushButton* stopButton() const { return m_command3; }
    [[nodiscard]] QCheckBox* pauseBox() const { return m_check1; }
    [[nodiscard]] QMenu* optionsMenu() const { return m_menuOptions; }
    [[nodiscard]] QMenu* helpMenu() const { return m_help; }
    // LI..LIV are levelItem(0..3), SI..SIV speedItem(0..3).
    [[nodiscard]] QAction* levelItem(int index) const { return m_levelItems.at(index); }
    [[nodiscard]] QAction* speedItem(int index) const { return m_speedItems.at(index); }
    [[nodiscard]] QAction* aboutItem() const { return m_about; }
    [[nodiscard]] QTimer* tickTimer() const { return m_timer1; }
    [[nodiscard]] QTimer* blinkTimer() const { return m_timer2; }

    // Gives the focus to the first control in tab order that can take it.
    void focusFirstControl();
    // Puts the window's centre on the centre of its screen's available area.
    void centreOnScreen();

signals:
    // Any request to close the window: its close box, the window manager, the
    // session ending. The window itself stays open; the game decides.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& caption, const QRect& geometry);
    QPushButton* addButton(const QString& name, const QString& caption, const QRect& geometry);
    void buildMenus();

    QWidget* m_client;
    std::array<LetterBox*, 5> m_boxes {};
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label9 = nullptr;
    QLabel* m_label10 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QCheckBox* m_check1 = nullptr;
    QMenu* m_menuOptions = nullptr;
    QMenu* m_help = nullptr;
    std::array<QAction*, 4> m_levelItems {};
    std::array<QAction*, 4> m_speedItems {};
    QAction* m_about = nullptr;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
    QList<QWidget*> m_tabOrder;
};

} // namespace ui
