// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel.h"

#include "ui/look.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace ui {

namespace {

    template <typename Control>
    Control* add(QWidget* client, const char* name, const char* caption, const QRect& geometry)
    {
        auto* control = new Control(QString::fromLatin1(caption), client);
        control->setObjectName(QString::fromLatin1(name));
        control->setFont(fonts::system());
        control->setGeometry(geometry);
        if constexpr (std::is_same_v<Control, QLabel>)
            control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return control;
    }

    QLabel* label(QWidget* client, const char* name, const char* caption, const QRect& geometry)
    {
        return add<QLabel>(client, name, caption, geometry);
    }

    QPushButton* button(
        QWidget* client, const char* name, const char* caption, const QRect& geometry)
    {
        return add<QPushButton>(client, name, caption, geometry);
    }

} // namespace

Panel makePanel(QWidget* client)
{
    Panel panel {};
    label(client, "Label3", "Hits:", { 384, 16, 30, 16 });
    panel.label1 = label(client, "Label1", "0", { 424, 16, 8, 16 });
    label(client, "Label4", "Lost:", { 384, 40, 32, 16 });
    panel.label2 = label(client, "Label2", "0", { 424, 40, 8, 15 });
    panel.label10 = label(client, "Label10", "", { 456, 16, 8, 33 });
    panel.label10->setFont(fonts::smiley());
    panel.command2 = button(client, "Command2", "Start", { 384, 80, 100, 33 });
    panel.command3 = button(client, "Command3", "Stop", { 384, 128, 100, 33 });
    panel.check1 = add<QCheckBox>(client, "Check1", "Pause", { 392, 184, 97, 17 });
    panel.command1 = button(client, "Command1", "Exit", { 384, 240, 100, 33 });
    label(client, "Label6", "Level:", { 384, 312, 40, 16 });
    panel.label8 = label(client, "Label8", "0", { 432, 312, 8, 16 });
    label(client, "Label7", "Acceleration:", { 376, 336, 83, 16 });
    panel.label9 = label(client, "Label9", "0", { 472, 336, 8, 16 });
    return panel;
}

Menus makeMenus(QMenuBar* bar)
{
    Menus menus {};
    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("menu_options"));
    menus.options = options->menuAction();
    QMenu* level = options->addMenu(QStringLiteral("Level"));
    level->setObjectName(QStringLiteral("menu_level"));
    QMenu* speed = options->addMenu(QStringLiteral("Acceleration"));
    speed->setObjectName(QStringLiteral("menu_speed"));
    const char* numerals[] = { "I", "II", "III", "IV" };
    for (int i = 0; i < 4; ++i) {
        const QString numeral = QString::fromLatin1(numerals[i]);
        for (auto [menu, prefix, item] : { std::tuple { level, "L", &menus.levels[i] },
                 std::tuple { speed, "S", &menus.speeds[i] } }) {
            *item = menu->addAction(numeral);
            (*item)->setObjectName(QString::fromLatin1(prefix) + numeral);
            (*item)->setCheckable(true);
        }
    }
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("help"));
    menus.help = help->menuAction();
    menus.about = help->addAction(QStringLiteral("About"));
    menus.about->setObjectName(QStringLiteral("about"));
    return menus;
}

} // namespace ui
