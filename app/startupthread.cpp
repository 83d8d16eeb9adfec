// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startupthread.h"

#include "ui/look.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QtGlobal>

#include <clocale>

#include <fontconfig/fontconfig.h>

namespace app {

namespace {
    // Whether the platform plugin will take a launch token out of the environment
    // while the application is built.
    bool launchToken()
    {
        return qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID")
            || qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
    }
} // namespace

StartupThread::StartupThread()
{
    // The application sets the same locale again; that changes nothing the thread reads.
    std::setlocale(LC_ALL, "");
    m_configurationRead = m_read.get_future();
    m_thread = std::thread([this, made = m_made.get_future(), early = !launchToken()]() mutable {
        // fontconfig keeps what it reads for the whole process.
        if (early) {
            FcInit();
            m_read.set_value();
        }
        if (!made.get())
            return;
        if (!early) {
            FcInit();
            m_read.set_value();
        }
        ui::icons::prepare();
        QFontDatabase::families();
        QDBusConnection::sessionBus();
    });
}

StartupThread::~StartupThread()
{
    try {
        m_made.set_value(false);
    } catch (const std::future_error&) {
        // applicationMade() told it already.
    }
    m_thread.join();
}

void StartupThread::applicationMade() { m_made.set_value(true); }

void StartupThread::waitForFontConfiguration() { m_configurationRead.wait(); }

} // namespace app
