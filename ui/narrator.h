// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace game {
class Form1;
}

namespace ui {

class MainWindow;

// Tells a player who cannot see the main window what appears on it, as short texts
// for a voice:
// - the letters of the lanes in play once Start has printed them, left to right,
//   as "s, u";
// - each new letter once it is printed, after a hit or after a letter fell out;
//   a box that went back to the top carries a new letter, even one equal to the
//   last;
// - "Game over, hits H, lost L" when a game is lost (nothing at Stop);
// - "Smiley" when the smiley appears, not at each blink.
//
// It only watches the window (events of the letter boxes, the Start button and the
// smiley, read after the game's handler is done) and changes nothing there, so the
// game runs exactly as without it. It must be made after the QtRuntime that owns the
// window, so that its reaction to Start comes after the game's.
//
// One text at a time: speak() is emitted only when the voice is free, which
// spoken() reports. Meanwhile what appears waits, and a text is made of what the
// window shows when the voice is free: letters already typed are left out, a lane
// is named once, in the order the letters appeared, and game over and the smiley
// come first. So the voice follows the game instead of falling behind it.
class Narrator : public QObject {
    Q_OBJECT

public:
    Narrator(MainWindow& window, const game::Form1& form1, QObject* parent = nullptr);

    // The voice is free again: the waiting texts follow.
    void spoken();

signals:
    void speak(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startGame();
    void endGame();
    void boxMoved(int lane, int from, int to);
    void sayLater();
    void sayNext();

    MainWindow& m_window;
    const game::Form1& m_form1;
    bool m_playing = false; // from Start until the game is lost or stopped
    bool m_busy = false; // the voice has a text of ours
    bool m_sayQueued = false;
    // Lanes whose box went to the top and whose new letter is not printed yet.
    unsigned m_lanesAtTop = 0;
    // Lanes whose new letter is shown and not said yet, in the order they appeared.
    QList<int> m_newLetters;
    QString m_gameOver; // said before anything else
    bool m_smiley = false;
};

} // namespace ui
