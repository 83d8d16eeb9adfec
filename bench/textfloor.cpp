// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The text floor: what Qt needs to show the main window's texts, and nothing more.
// One window with the main window's menu bar, labels, buttons and check box, in the
// same faces, sizes and style, made by the main window's own code (ui/panel.h) and
// centred on the screen. No letter boxes, no game, no timer, no speech, no about
// window, no question to the window manager: the program's start-up against this
// is what the program adds beyond Qt showing the same texts.
#include "ui/look.h"
#include "ui/mainwindow.h"
#include "ui/panel.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication::setStyle(ui::style(QStringLiteral("Fusion")));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Text floor"));
    auto* client = new QWidget(&window);
    client->setFixedSize(ui::MainWindow::ClientWidth, ui::MainWindow::ClientHeight);
    window.setCentralWidget(client);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    (void)ui::makeMenus(window.menuBar());
    (void)ui::makePanel(client);
    // Labels fit their captions, as the main window's do.
    for (QLabel* label : client->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            label->adjustSize();
    }
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
