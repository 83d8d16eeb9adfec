// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startupthread.h"

#include "ui/look.h"

#include <QDBusConnection>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

namespace app {

StartupThread::StartupThread()
    : m_thread([] {
        // In the order the main window asks for them: its icon comes first.
        ui::icons::prepare();
        // fontconfig keeps what it reads for the whole process.
        FcInit();
        QFontDatabase::families();
        QDBusConnection::sessionBus();
    })
{
}

StartupThread::~StartupThread() { m_thread.join(); }

} // namespace app
