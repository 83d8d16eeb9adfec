// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/narrator.h"

#include "game/form1.h"
#include "game/rules.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"

#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QStringList>

#include <utility>

namespace ui {

namespace {

    constexpr unsigned laneBit(int lane) { return 1u << (lane - 1); }

} // namespace

Narrator::Narrator(MainWindow& window, const game::Form1& form1, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_form1(form1)
{
    for (int lane = 1; lane <= game::Lanes; ++lane)
        window.box(game::laneBox(lane))->installEventFilter(this);
    window.button(game::Button::Command2)->installEventFilter(this);
    window.label(game::Label::Label10)->installEventFilter(this);
    connect(
        window.button(game::Button::Command2), &QPushButton::clicked, this, &Narrator::startGame);
    // Made during a game (the player was quicker than the desktop's answer that a
    // screen reader runs), it says the letters at the next tick as at Start.
    if (!window.box(game::Box::Picture1)->isHidden())
        startGame();
}

void Narrator::spoken()
{
    m_busy = false;
    sayNext();
}

bool Narrator::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
        for (int lane = 1; lane <= game::Lanes; ++lane) {
            if (watched == m_window.box(game::laneBox(lane))) {
                const auto* move = static_cast<QMoveEvent*>(event);
                boxMoved(lane, move->oldPos().y(), move->pos().y());
            }
        }
        break;
    case QEvent::EnabledChange:
        // Start can be pressed again: the game was lost or stopped.
        if (m_playing && watched == m_window.button(game::Button::Command2)
            && m_window.button(game::Button::Command2)->isEnabled())
            endGame();
        break;
    case QEvent::Show:
        // Shown once when it appears; its blinking only changes its caption.
        if (m_playing && watched == m_window.label(game::Label::Label10)) {
            m_smiley = true;
            sayLater();
        }
        break;
    default:
        break;
    }
    return false;
}

void Narrator::startGame()
{
    // Command2_Click has drawn the letters and put every box at the top; the next
    // tick moves each down and prints its letter.
    m_playing = true;
    m_newLetters.clear();
    m_gameOver.clear();
    m_smiley = false;
    m_lanesAtTop = laneBit(game::activeLanes(m_form1.state().level()) + 1) - 1;
}

void Narrator::endGame()
{
    m_playing = false;
    m_lanesAtTop = 0;
    m_newLetters.clear();
    m_smiley = false;
    // Stop ends a game without a result; a lost game's result is final in the labels.
    if (m_form1.state().GameOver) {
        m_gameOver = QStringLiteral("Game over, hits %1, lost %2")
                         .arg(m_window.label(game::Label::Label1)->text(),
                             m_window.label(game::Label::Label2)->text());
        sayLater();
    }
}

void Narrator::boxMoved(int lane, int from, int to)
{
    if (!m_playing)
        return;
    // A box goes back to the top with a new letter (a hit, or its letter fell out)
    // and shows it once the next tick has moved it down and printed it.
    if (to < from) {
        m_lanesAtTop |= laneBit(lane);
        m_newLetters.removeAll(lane); // its letter is gone before it was said
    } else if (to > from && (m_lanesAtTop & laneBit(lane))) {
        m_lanesAtTop &= ~laneBit(lane);
        m_newLetters.append(lane);
        sayLater();
    }
}

void Narrator::sayLater()
{
    // After the running handler, once the tick has printed what it moved.
    if (m_sayQueued)
        return;
    m_sayQueued = true;
    QMetaObject::invokeMethod(this, &Narrator::sayNext, Qt::QueuedConnection);
}

void Narrator::sayNext()
{
    m_sayQueued = false;
    if (m_busy)
        return;
    QString text = std::exchange(m_gameOver, QString());
    if (text.isEmpty() && std::exchange(m_smiley, false)
        && !m_window.label(game::Label::Label10)->isHidden())
        text = QStringLiteral("Smiley"); // its name; its caption would be read as symbols
    if (text.isEmpty()) {
        // "s, u": a comma keeps each letter a letter, where "a b" is read as a word.
        QStringList letters;
        for (const int lane : std::exchange(m_newLetters, QList<int>())) {
            const LetterBox* box = m_window.box(game::laneBox(lane));
            if (!box->isHidden() && !box->shownText().isEmpty())
                letters.append(box->shownText());
        }
        text = letters.join(QStringLiteral(", "));
    }
    if (text.isEmpty())
        return;
    m_busy = true;
    emit speak(text);
}

} // namespace ui
