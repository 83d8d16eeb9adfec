// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qtruntime.h"

#include "ui/aboutwindow.h"
#include "ui/letterbox.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // A position handed over by the game, as a whole pixel. Values beyond any
    // screen are clamped so the conversion is always defined.
    int toPixel(float value)
    {
        if (std::isnan(value))
            return 0;
        constexpr float limit = 1.0e6f;
        return static_cast<int>(std::lround(std::clamp(value, -limit, limit)));
    }

} // namespace

QtRuntime::QtRuntime()
    : m_form1Window(std::make_unique<MainWindow>())
    , m_form1(*this)
    , m_form2(*this)
{
    connectSignals();
}

QtRuntime::~QtRuntime() = default;

void QtRuntime::connectSignals()
{
    MainWindow& w = *m_form1Window;
    connect(w.button(game::Button::Command2), &QPushButton::clicked, this,
        [this] { dispatch("Command2_Click", [this] { m_form1.Command2_Click(); }); });
    connect(w.button(game::Button::Command3), &QPushButton::clicked, this,
        [this] { dispatch("Command3_Click", [this] { m_form1.Command3_Click(); }); });
    connect(w.button(game::Button::Command1), &QPushButton::clicked, this,
        [this] { dispatch("Command1_Click", [this] { m_form1.Command1_Click(); }); });
    // The state-change signal comes for a change by code too, as the Pause handler needs.
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    constexpr auto checkChanged = &QCheckBox::checkStateChanged;
#else
    constexpr auto checkChanged = &QCheckBox::stateChanged;
#endif
    connect(w.checkBox(game::CheckBox::Check1), checkChanged, this,
        [this] { dispatch("Check1_Click", [this] { m_form1.Check1_Click(); }); });
    connect(w.timer(game::Timer::Timer1), &QTimer::timeout, this,
        [this] { dispatch("Timer1_Timer", [this] { m_form1.Timer1_Timer(); }); });
    connect(w.timer(game::Timer::Timer2), &QTimer::timeout, this,
        [this] { dispatch("Timer2_Timer", [this] { m_form1.Timer2_Timer(); }); });
    connect(w.box(game::Box::Picture1), &LetterBox::characterTyped, this, [this](char16_t code) {
        dispatch("Picture1_KeyPress",
            [this, code] { m_form1.Picture1_KeyPress(static_cast<game::Int16>(code)); });
    });
    // A close request while the farewell is up changes nothing: the program is ending.
    connect(&w, &MainWindow::closeRequested, this, [this] {
        if (!m_messageBoxOpen)
            dispatch("Form_QueryUnload", [this] { m_form1.Form_QueryUnload(); });
    });
#if QT_CONFIG(sessionmanager)
    // The session ending asks the main window to close like its close box does: the
    // farewell is shown when the session lets the program talk to the user.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        if (!session.allowsInteraction() || m_messageBoxOpen)
            return;
        dispatch("Form_QueryUnload", [this] { m_form1.Form_QueryUnload(); });
        session.release();
    });
#endif

    for (int i = 0; i < game::Levels; ++i) {
        const game::MenuItem& item = game::levelItems[i];
        connect(w.menu(item.id), &QAction::triggered, this,
            [this, &item] { dispatch(item.handler, [this, &item] { (m_form1.*item.click)(); }); });
    }
    for (int i = 0; i < game::Speeds; ++i) {
        const game::MenuItem& item = game::speedItems[i];
        connect(w.menu(item.id), &QAction::triggered, this,
            [this, &item] { dispatch(item.handler, [this, &item] { (m_form1.*item.click)(); }); });
    }
    connect(w.aboutItem(), &QAction::triggered, this,
        [this] { dispatch("about_Click", [this] { m_form1.about_Click(); }); });
}

void QtRuntime::start()
{
    dispatch("Form_Load", [this] { m_form1.Form_Load(); });
    m_form1Window->focusFirstControl();
    m_form1Window->showCentred();
}

AboutWindow& QtRuntime::aboutWindow()
{
    // The about window is made on its first use, which Form_Load makes, hiding it; it
    // makes its controls, their fonts and text layout only when first shown.
    if (!m_form2Window) {
        m_form2Window = new AboutWindow(m_form1Window.get());
        AboutWindow& about = *m_form2Window;
        connect(&about, &AboutWindow::okClicked, this,
            [this] { dispatch("Form2.Command1_Click", [this] { m_form2.Command1_Click(); }); });
        connect(&about, &AboutWindow::closeRequested, this,
            [this] { dispatch("Form2.Command1_Click", [this] { m_form2.Command1_Click(); }); });
        connect(&about, &AboutWindow::activated, this, &QtRuntime::form2Activate);
    }
    return *m_form2Window;
}

void QtRuntime::form2Activate()
{
    dispatch("Form2.Form_Activate", [this] { m_form2.Form_Activate(); });
}

QWidget* QtRuntime::window(game::Window window)
{
    if (window == game::Window::Form1)
        return m_form1Window.get();
    return &aboutWindow();
}

void QtRuntime::releaseFocus(QWidget* control)
{
    // Qt would pass the focus of a control that is hidden or disabled to the next one
    // in tab order, which after a game is "Exit": a key typed on would end the
    // program. The client area takes it instead and ignores keys, as the hidden
    // letter box would.
    if (m_form1Window->focusWidget() == control)
        m_form1Window->clientArea()->setFocus(Qt::OtherFocusReason);
}

// --- Windows ------------------------------------------------------------------

void QtRuntime::setVisible(game::Window which, bool visible)
{
    if (which == game::Window::Form1) {
        m_form1Window->setVisible(visible);
        return;
    }
    if (visible) {
        AboutWindow& about = aboutWindow();
        // Showing the window makes it the active one at once, which places it. It is
        // placed before it is mapped, so it never shows anywhere else first; the
        // window system's own activation follows later and places it again.
        if (about.isHidden())
            form2Activate();
        about.show();
        about.raise();
        about.activateWindow();
        return;
    }
    aboutWindow().hide();
    // The main window takes the input back from the about window, whether or not a
    // window manager hands the activation on.
    if (m_form1Window->isVisible() && m_form1Window->isInputEnabled())
        m_form1Window->activateWindow();
}

void QtRuntime::setEnabled(game::Window which, bool enabled)
{
    // The game expects the main window to keep its focus while the about window is
    // open: it gets it back with its input.
    if (which == game::Window::Form1)
        m_form1Window->setInputEnabled(enabled);
    else
        aboutWindow().setEnabled(enabled);
}

float QtRuntime::left(game::Window which)
{
    return static_cast<float>(window(which)->frameGeometry().x());
}

float QtRuntime::top(game::Window which)
{
    return static_cast<float>(window(which)->frameGeometry().y());
}

float QtRuntime::width(game::Window which)
{
    return static_cast<float>(window(which)->frameGeometry().width());
}

float QtRuntime::height(game::Window which)
{
    return static_cast<float>(window(which)->frameGeometry().height());
}

void QtRuntime::setLeft(game::Window which, float left)
{
    QWidget* w = window(which);
    w->move(toPixel(left), w->frameGeometry().y());
}

void QtRuntime::setTop(game::Window which, float top)
{
    QWidget* w = window(which);
    w->move(w->frameGeometry().x(), toPixel(top));
}

float QtRuntime::scaleHeight() { return static_cast<float>(m_form1Window->clientArea()->height()); }

// --- Letter boxes ---------------------------------------------------------------

void QtRuntime::setVisible(game::Box box, bool visible)
{
    LetterBox* b = m_form1Window->box(box);
    if (!visible)
        releaseFocus(b);
    b->setVisible(visible);
}

void QtRuntime::setLeft(game::Box box, float left)
{
    LetterBox* b = m_form1Window->box(box);
    b->move(toPixel(left), b->y());
}

float QtRuntime::top(game::Box box) { return static_cast<float>(m_form1Window->box(box)->y()); }

void QtRuntime::setTop(game::Box box, float top)
{
    LetterBox* b = m_form1Window->box(box);
    b->move(b->x(), toPixel(top));
}

void QtRuntime::clear(game::Box box) { m_form1Window->box(box)->clear(); }

void QtRuntime::print(game::Box box, std::u16string_view text)
{
    m_form1Window->box(box)->print(
        QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
}

void QtRuntime::setFocus(game::Box box)
{
    // A hidden box cannot take the focus: the request is ignored and the focus stays.
    LetterBox* b = m_form1Window->box(box);
    if (!b->isHidden())
        b->setFocus(Qt::OtherFocusReason);
}

// --- Labels, buttons, check box, menus, timers -------------------------------------

void QtRuntime::setCaption(game::Label label, std::string_view caption)
{
    // Labels size themselves to their caption and keep their left and top edges.
    QLabel* l = m_form1Window->label(label);
    const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    if (l->text() == text)
        return;
    l->setText(text);
    l->setAccessibleDescription(text);
    l->adjustSize();
}

void QtRuntime::setVisible(game::Label label, bool visible)
{
    m_form1Window->label(label)->setVisible(visible);
}

void QtRuntime::setEnabled(game::Button button, bool enabled)
{
    QAbstractButton* b = m_form1Window->button(button);
    if (!enabled)
        releaseFocus(b);
    b->setEnabled(enabled);
}

void QtRuntime::setEnabled(game::CheckBox, bool enabled)
{
    if (!enabled)
        releaseFocus(m_form1Window->checkBox(game::CheckBox::Check1));
    m_form1Window->checkBox(game::CheckBox::Check1)->setEnabled(enabled);
}

std::int16_t QtRuntime::value(game::CheckBox)
{
    // Qt numbers the states Unchecked 0, PartiallyChecked 1, Checked 2; the game's
    // values are 0 clear, 1 ticked, 2 greyed.
    switch (m_form1Window->checkBox(game::CheckBox::Check1)->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void QtRuntime::setValue(game::CheckBox, std::int16_t value)
{
    // 0 clear, 1 ticked, 2 greyed; no other value exists and is ignored. A change
    // emits the state-change signal, which runs Check1_Click before this returns.
    static constexpr Qt::CheckState states[] = { Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked };
    if (value < 0 || value > 2)
        return;
    QCheckBox* box = m_form1Window->checkBox(game::CheckBox::Check1);
    box->setCheckState(states[value]);
    // Greying the box makes Qt's box three-state; a user's click must still only
    // tick and clear it.
    if (value != 2)
        box->setTristate(false);
}

void QtRuntime::setEnabled(game::Menu menu, bool enabled)
{
    m_form1Window->menu(menu)->setEnabled(enabled);
}

void QtRuntime::setChecked(game::Menu menu, bool checked)
{
    m_form1Window->menu(menu)->setChecked(checked);
}

void QtRuntime::setEnabled(game::Timer timer, bool enabled)
{
    if (timer == game::Timer::Timer1) {
        m_tickEnabled = enabled;
        updateTickTimer();
        return;
    }
    QTimer* t = m_form1Window->timer(timer);
    if (!enabled)
        t->stop();
    else if (!t->isActive()) // start() on a running timer would restart its period
        t->start();
}

void QtRuntime::updateTickTimer()
{
    // Once the program has ended no timer runs again.
    if (m_ended)
        return;
    QTimer* t = m_form1Window->timer(game::Timer::Timer1);
    if (!m_tickEnabled || m_form1.tickChangesNothing())
        t->stop();
    else if (!t->isActive()) // the first tick a full period from now, as after Start
        t->start();
}

// --- Services ---------------------------------------------------------------------

void QtRuntime::messageBox(std::string_view text, game::MessageIcon, std::string_view title)
{
    // The main window as its parent, though hidden by now, puts the box over the main
    // window on the monitor the main window is on; without one, Qt would open it on
    // the monitor with the mouse pointer.
    QMessageBox box(QMessageBox::Information,
        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
        m_form1Window.get());
    box.setObjectName(QStringLiteral("farewell"));
    box.setWindowIcon(m_form1Window->windowIcon());
    m_messageBoxOpen = true;
    box.exec();
    m_messageBoxOpen = false;
}

float QtRuntime::rnd() { return m_generator.next(); }

void QtRuntime::end()
{
    // Nothing runs after this: the timers stop, every later signal is dropped by
    // dispatch(), the windows close and the event loop returns 0.
    m_ended = true;
    m_form1Window->timer(game::Timer::Timer1)->stop();
    m_form1Window->timer(game::Timer::Timer2)->stop();
    if (m_form2Window)
        m_form2Window->hide();
    m_form1Window->hide();
    QCoreApplication::exit(0);
}

} // namespace ui
