// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aboutwindow.h"

#include "ui/look.h"
#include "ui/windowmanager.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace ui {

namespace {

    // Shape1: a plain 1-pixel rectangle outline around the whole window.
    class Frame : public QWidget {
    public:
        using QWidget::QWidget;

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter painter(this);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    };

} // namespace

QString AboutWindow::aboutText()
{
    return QStringLiteral("This is very Zelvaro, which uses only latin alphabet. It has 4 skill "
                          "levels and 4 speed levels, so you can practise in typing. :-)")
        + QString(87, QLatin1Char(' '))
        + QStringLiteral("Written by the Zelvaro developers, in 2026.")
        + QString(50, QLatin1Char(' ')) + QStringLiteral("Enjoy!");
}

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setAccessibleName(QStringLiteral("About Zelvaro"));
    setWindowIcon(icons::window());
    setFixedSize(Width, Height);
    // Modal over its parent, the main window: Qt then keeps the mouse, the keys and the
    // close requests from that window and hands its activation on to this one, so a
    // click behind this window never leaves it without the keyboard.
    setWindowModality(Qt::WindowModal);
}

QPushButton* AboutWindow::okButton()
{
    build();
    return m_command1;
}

QLabel* AboutWindow::textLabel()
{
    build();
    return m_label3;
}

void AboutWindow::setVisible(bool visible)
{
    if (visible)
        build();
    QWidget::setVisible(visible);
}

void AboutWindow::build()
{
    if (m_command1)
        return;
    // Bottom-most first: the frame, the title strip, its word, the text, the button.
    auto* shape1 = new Frame(this);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setGeometry(0, 0, Width, Height);
    shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* label1 = new QLabel(this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(fonts::title());
    label1->setGeometry(0, 0, 321, 21);
    label1->setAutoFillBackground(true);
    label1->setBackgroundRole(QPalette::Highlight);

    auto* label2 = new QLabel(QStringLiteral("About..."), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(fonts::title());
    label2->setAutoFillBackground(true);
    label2->setBackgroundRole(QPalette::Highlight);
    label2->setForegroundRole(QPalette::HighlightedText);
    label2->move(8, 4);
    label2->adjustSize();

    m_label3 = new QLabel(aboutText(), this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setFont(fonts::aboutText());
    m_label3->setTextFormat(Qt::PlainText);
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label3->setGeometry(16, 32, 281, 97);

    m_command1 = new QPushButton(QStringLiteral("Ok"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setFont(fonts::system());
    m_command1->setGeometry(16, 144, 281, 25);
    // The window opens with the focus on "Ok"; as its default button it is pressed by
    // Enter as well as by Space, and it is drawn so the user sees that it has the focus.
    m_command1->setDefault(true);
    m_command1->setFocus(Qt::OtherFocusReason);
    connect(m_command1, &QPushButton::clicked, this, &AboutWindow::okClicked);
}

bool AboutWindow::event(QEvent* event)
{
    // Before the window is first drawn into a picture. Not when the main window, still
    // hidden, is polished as it is first shown and polishes this window with its other
    // children: that is the program's start-up, and this window is made when it shows.
    if (event->type() == QEvent::Polish && (!parentWidget() || parentWidget()->isVisible()))
        build();
    if (event->type() == QEvent::WindowActivate)
        emit activated();
    return QWidget::event(event);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    // Sent before the window is mapped, on every showing: a window manager may drop
    // the states of a hidden window.
    if (!event->spontaneous())
        skipTaskLists(*windowHandle());
    QWidget::showEvent(event);
}

void AboutWindow::closeEvent(QCloseEvent* event)
{
    // The window is only ever hidden; a close command from outside does what "Ok"
    // does, so the main window is enabled again.
    event->ignore();
    emit closeRequested();
}

} // namespace ui
