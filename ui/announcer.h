// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

namespace ui {

// Speaks through the desktop's screen reader instead of a voice of the game's own:
// each text goes out as an accessibility announcement of the window, which the screen
// reader speaks in the player's own voice and settings, through its one queue, and
// shows on a braille display. Qt has announcements from 6.8 on (available()); built
// with an older Qt, say() announces nothing.
//
// The announcements are polite: a screen reader that heeds the politeness queues
// them behind what it is saying and cuts nothing off.
//
// The screen reader never tells when it has said a text, so spoken() follows each
// text once a voice at speech-dispatcher's default rate would have said it:
// SpeakingBaseMs plus SpeakingPerCharacterMs for each character. A key pressed in
// the window ends that wait at once: the screen reader stops speaking at every key
// the player presses, as Orca does, so it is free again. A text given while one is
// still being said is announced at once and lengthens the wait by its own time.
class Announcer : public QObject {
    Q_OBJECT

public:
    // Whether this build can announce: Qt 6.8 or newer.
    [[nodiscard]] static constexpr bool available()
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        return true;
#else
        return false;
#endif
    }

    static constexpr int SpeakingBaseMs = 450;
    static constexpr int SpeakingPerCharacterMs = 150;

    // window is the top-level window whose announcements these are; it must outlive
    // the announcer.
    explicit Announcer(QWidget& window, QObject* parent = nullptr);

    void say(const QString& text);

signals:
    // The screen reader is taken to have said the texts given so far.
    void spoken();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void free();

    QWidget& m_window;
    QTimer m_speaking; // runs while a text is taken to be being said
};

} // namespace ui
