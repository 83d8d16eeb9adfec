// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor that the real window is measured against: the least a Qt Widgets
// program with the same visible work can cost. One window of the main window's
// client size with one 30 x 30 box that a 50 ms precise timer moves down a pixel
// and repaints, as the game tick does with a letter box, and that a typed
// character sends back to the top, as a hit does. No menus, no game.
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Box : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("a"));
    }
};

// The window's client area: the box, and what a key does to it.
class Field : public QWidget {
public:
    Field()
        : m_box(new Box(this))
    {
        m_box->setGeometry(40, 1, 30, 30);
    }
    [[nodiscard]] QWidget* box() const { return m_box; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->text().isEmpty()) {
            QWidget::keyPressEvent(event);
            return;
        }
        m_box->move(m_box->x(), 1);
    }

private:
    QWidget* const m_box;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Field window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(510, 387);
    QWidget* box = window.box();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, box, [box] {
        box->move(box->x(), box->y() >= 386 ? 1 : box->y() + 1);
        box->update();
    });
    timer.start();
    window.show();
    return QApplication::exec();
}
