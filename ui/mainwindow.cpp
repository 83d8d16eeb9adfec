// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow.h"

#include "game/form1.h"
#include "ui/letterbox.h"
#include "ui/look.h"
#include "ui/panel.h"
#include "ui/windowmanager.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <utility>

namespace ui {

namespace {

    // The client area with its two rules, drawn beneath the controls and cut off
    // at the client edges: Line1 (352,0)-(352,500) 2 px wide, Line2 (0,0)-(700,0) 1 px.
    class RuledArea : public QWidget {
    public:
        using QWidget::QWidget;

        // The client area holds the focus between games and takes no text either: no
        // text cursor for an input method (see LetterBox::inputMethodQuery).
        [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
        {
            if (query == Qt::ImCursorRectangle)
                return QRect();
            return QWidget::inputMethodQuery(query);
        }

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter painter(this);
            const QColor ink = palette().color(QPalette::WindowText);
            painter.fillRect(QRect(351, 0, 2, 500), ink);
            painter.fillRect(QRect(0, 0, 700, 1), ink);
        }
    };

    QTimer* makeTimer(const QString& name, int interval, QObject* parent)
    {
        auto* timer = new QTimer(parent);
        timer->setObjectName(name);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(interval);
        timer->start();
        return timer;
    }

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_client(new RuledArea(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zelvaro"));
    setWindowIcon(icons::window());
    // An X11 window manager that can tell the frame of a window before it is mapped is
    // asked first, so that it answers while the window is built; the native window is
    // made for the question, on the primary screen, fixed in size from the start as the
    // layout keeps it (a window manager gives a window it may not resize another frame:
    // openbox leaves out the grip at the bottom). Elsewhere the native window is made
    // when it is shown: weston's XWayland places a window where it was made.
    m_frameWatch = FrameWatch::make(this);
    if (m_frameWatch && m_frameWatch->canAsk()) {
        setFixedSize(ClientWidth, ClientHeight);
        setScreen(QGuiApplication::primaryScreen());
        create();
        m_frameWatch->watch(*windowHandle(), true);
    }
    // The client area, not the window, has the fixed size: the menu bar comes on top.
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(m_client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildMenus();

    // Created before the letter boxes, so the boxes lie above it.
    auto* label5 = new QLabel(QStringLiteral("Game Over"), m_client);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label5->setGeometry(24, 136, 300, 64);
    label5->setFont(fonts::gameOver()); // sized when first shown (eventFilter)
    QPalette grey = label5->palette();
    grey.setColor(QPalette::WindowText, grey.color(QPalette::Disabled, QPalette::WindowText));
    label5->setPalette(grey);

    const QPoint boxPlaces[] = { { 40, 0 }, { 104, 0 }, { 183, 176 }, { 184, 0 }, { 232, 0 } };
    for (int i = 0; i < 5; ++i) {
        m_boxes[i] = new LetterBox(QStringLiteral("Picture%1").arg(i + 1), m_client);
        m_boxes[i]->setGeometry(QRect(boxPlaces[i], QSize(30, 30)));
        m_boxes[i]->setAccessibleName(QStringLiteral("Lane %1").arg(i + 1));
    }
    // Only Picture1 hands its keys to the game, so it is the only box that Tab
    // reaches: a player who tabbed to a button can tab back into the game, and no
    // other box, placed off the field or not, silently takes the typing.
    m_boxes[0]->setFocusPolicy(Qt::TabFocus);

    const Panel panel = makePanel(m_client);
    QLabel* const label1 = panel.label1;
    QLabel* const label2 = panel.label2;
    QLabel* const label8 = panel.label8;
    QLabel* const label9 = panel.label9;
    QLabel* const label10 = panel.label10;
    QPushButton* const command1 = panel.command1;
    QPushButton* const command2 = panel.command2;
    QPushButton* const command3 = panel.command3;
    m_check1 = panel.check1;

    // The labels that show a value are named for a listener after what it means;
    // the description carries the value and follows every new caption.
    m_labels = { label1, label2, label5, label8, label9, label10 };
    m_buttons = { command1, command2, command3 };

    const std::pair<QLabel*, QString> spokenNames[] = { { label1, QStringLiteral("Hits") },
        { label2, QStringLiteral("Lost") }, { label8, QStringLiteral("Level") },
        { label9, QStringLiteral("Acceleration") }, { label10, QStringLiteral("Smiley") } };
    for (const auto& [label, spokenName] : spokenNames) {
        label->setAccessibleName(spokenName);
        label->setAccessibleDescription(label->text());
    }

    m_tabOrder = { m_boxes[0], m_boxes[1], command2, command1, m_boxes[2], m_boxes[3], m_boxes[4],
        command3, m_check1 };
    for (qsizetype i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder.at(i - 1), m_tabOrder.at(i));

    m_client->installEventFilter(this);

    m_timers = { makeTimer(QStringLiteral("Timer1"), 50, this),
        makeTimer(QStringLiteral("Timer2"), 1000, this) };

    // Game Over sizes itself when it first shows: no other control has its face, which
    // the start-up would otherwise open for a label it hides at once.
    label5->installEventFilter(this);
}

void MainWindow::buildMenus()
{
    // A tick mark is set by the game only, so the items are not grouped (a group would
    // move the tick by itself).
    const Menus menus = makeMenus(menuBar());
    m_menus[at(game::Menu::menu_options)] = menus.options;
    m_menus[at(game::Menu::help)] = menus.help;
    for (int i = 0; i < 4; ++i) {
        m_menus[at(game::levelItems[i].id)] = menus.levels[i];
        m_menus[at(game::speedItems[i].id)] = menus.speeds[i];
    }
    m_about = menus.about;
}

void MainWindow::setInputEnabled(bool enabled)
{
    if (enabled == isInputEnabled())
        return;
    if (!enabled) {
        // Qt would pass the focus of a control being disabled on to the next one in
        // tab order; the window holds no focus until its input is back.
        m_inputFocus = focusWidget();
        if (m_inputFocus)
            m_inputFocus->clearFocus();
    }
    menuBar()->setEnabled(enabled);
    m_client->setEnabled(enabled);
    // Qt asks for the activation of a window that is clicked; under X11 it gives the
    // parent of the active window the keyboard directly, past the window manager,
    // which would otherwise hand it on to the modal about window.
    if (QWindow* handle = windowHandle())
        handle->setFlag(Qt::WindowDoesNotAcceptFocus, !enabled);
    if (enabled && m_inputFocus && !focusWidget() && m_inputFocus->isVisibleTo(this)
        && m_inputFocus->isEnabled())
        m_inputFocus->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::isInputEnabled() const { return m_client->isEnabled(); }

void MainWindow::focusFirstControl()
{
    for (QWidget* control : std::as_const(m_tabOrder)) {
        if (!control->isHidden() && control->isEnabled()
            && (control->focusPolicy() & Qt::TabFocus)) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void MainWindow::showCentred()
{
    if (!m_frameWatch) {
        centreOnScreen(QMargins());
        QMainWindow::setVisible(true);
        return;
    }
    connect(m_frameWatch, &FrameWatch::frameSet, this, &MainWindow::takeFrame);
    if (!m_frameWatch->asked() || m_frameWatch->frame()) {
        showSettling(m_frameWatch->frame().value_or(QMargins()));
        return;
    }
    // The watch is the timer's context: dropping it stops the timer too.
    QTimer::singleShot(FrameWaitMs, m_frameWatch, [this] { showSettling(QMargins()); });
}

void MainWindow::takeFrame(const QMargins& frame)
{
    if (!isVisible()) {
        showSettling(frame);
    } else if (frame != m_centredFor) {
        // A window manager may put another frame round the window once it is mapped
        // than the one it answered with, or tell its frame only then: the window is
        // centred for it, in the first moments, before the user can move it.
        m_centredFor = frame;
        centreOnScreen(frame);
    }
}

void MainWindow::showSettling(const QMargins& frame)
{
    if (!m_frameWatch || isVisible())
        return; // shown or hidden meanwhile
    m_centredFor = frame;
    centreOnScreen(frame);
    // The native window now, where it was not made for the question, so that the
    // watch sees every frame the window manager sets once the window is mapped.
    create();
    m_frameWatch->watch(*windowHandle(), false);
    QMainWindow::setVisible(true);
    QTimer::singleShot(FrameSettleMs, m_frameWatch, [this] { dropFrameWatch(); });
}

void MainWindow::centreOnScreen(const QMargins& frame)
{
    // The window's fixed size, here and now: the window system may have reported an
    // earlier size of the native window meanwhile.
    adjustSize();
    QScreen* primary = QGuiApplication::primaryScreen();
    setScreen(primary);
    const QRect area = primary->availableGeometry();
    const QSize outer = size().grownBy(frame);
    // The client area's place: move() would take a place for the frame's corner, but
    // Qt may not know the frame yet.
    const QPoint client(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
        area.y() + (area.height() - outer.height()) / 2 + frame.top());
    setGeometry(QRect(client, size()));
}

void MainWindow::setVisible(bool visible)
{
    dropFrameWatch();
    QMainWindow::setVisible(visible);
}

void MainWindow::dropFrameWatch()
{
    if (m_frameWatch) {
        // Nothing it reports from now on counts, though it is deleted only later.
        disconnect(m_frameWatch, nullptr, this, nullptr);
        m_frameWatch->deleteLater();
        m_frameWatch = nullptr;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The farewell runs inside this call and ends the program; the close itself is
    // never refused. While the about window is open the window system's close
    // requests never get here: Qt drops them for a window that a modal one blocks.
    emit closeRequested();
    event->accept();
}

bool MainWindow::event(QEvent* event)
{
    // Labels size themselves to their caption, keeping their left and top edges; an
    // empty label keeps its designed size. This waits until the window is polished,
    // before it is first shown or sized: the first size asks for the fonts, which the
    // start-up may still be reading while the window is built.
    if (event->type() == QEvent::Polish) {
        for (QLabel* label : m_client->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (!label->text().isEmpty() && label != this->label(game::Label::Label5))
                label->adjustSize();
        }
    }
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label(game::Label::Label5) && event->type() == QEvent::Show) {
        label(game::Label::Label5)->adjustSize(); // once: its caption never changes
        watched->removeEventFilter(this);
    }
    // Alt pressed and released alone puts the menu bar into keyboard mode: it takes
    // the focus and the keys typed next. While no menu can open (during a game) that
    // would only take the keys from the game, so the client area, which every control
    // passes its unused keys to, keeps a lone Alt from the menu bar.
    if (watched == m_client && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QList<QAction*> entries = menuBar()->actions();
        if ((key == Qt::Key_Alt || key == Qt::Key_Meta)
            && std::none_of(entries.begin(), entries.end(),
                [](const QAction* entry) { return entry->isEnabled(); })) {
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ui
