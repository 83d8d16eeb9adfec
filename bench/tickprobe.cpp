// SPDX-FileCopyrightText: 2026 The Zelvaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real windows with a stopwatch on Timer1: starts a level IV, acceleration IV
// game through the menus and the Start button, keeps it going by typing the
// lowest letter every few ticks (and starting again when a game is lost), takes
// the time of every Timer1 timeout and, after the given number of periods, prints
// one line and exits:
//   ticks=1200 mean_ms=... p50_ms=... p99_ms=... max_ms=... drift_pct=... games=... hits=...
// drift_pct is (measured time - ticks x 50 ms) / (ticks x 50 ms) x 100; games and
// hits tell how much was played (games started, hits of the last game).
//   tickprobe [--ticks N] [--type-every N]
#include "ui/letterbox.h"
#include "ui/mainwindow.h"
#include "ui/qtruntime.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> sorted, double p)
{
    const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

// Types the letter of the active lane whose box is lowest, as a key event on
// Picture1, the way a player's key arrives.
void typeLowest(ui::QtRuntime& runtime)
{
    const auto& state = runtime.form1().state();
    const int lanes = game::activeLanes(state.level());
    int lane = 0;
    for (int k = 1; k < lanes; ++k) {
        if (runtime.mainWindow().box(game::laneBox(k + 1))->y()
            > runtime.mainWindow().box(game::laneBox(lane + 1))->y())
            lane = k;
    }
    const QString text(QChar(static_cast<char16_t>(state.Letters[lane])));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(runtime.mainWindow().box(game::Box::Picture1), &key);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false);

    // An unknown option or one without its value ends the program with a message.
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ticksOption(QStringLiteral("ticks"),
        QStringLiteral("Timer1 periods to time, at least 2."), QStringLiteral("N"),
        QStringLiteral("1200"));
    const QCommandLineOption typeOption(QStringLiteral("type-every"),
        QStringLiteral("Ticks from one typed letter to the next, at least 1."), QStringLiteral("N"),
        QStringLiteral("3"));
    parser.addOptions({ ticksOption, typeOption });
    parser.process(app);
    bool ticksRead = false, typeRead = false;
    const int ticks = parser.value(ticksOption).toInt(&ticksRead);
    const int typeEvery = parser.value(typeOption).toInt(&typeRead);
    if (!ticksRead || ticks < 2 || !typeRead || typeEvery < 1) {
        std::fputs("tickprobe: --ticks takes a number of at least 2, --type-every one of at "
                   "least 1\n",
            stderr);
        return 2;
    }

    ui::QtRuntime runtime;
    runtime.start();
    ui::MainWindow& window = runtime.mainWindow();
    window.menu(game::levelItems[3].id)->trigger();
    window.menu(game::speedItems[3].id)->trigger();
    window.button(game::Button::Command2)->click();

    int games = 1;
    std::vector<qint64> stamps;
    stamps.reserve(static_cast<std::size_t>(ticks) + 1);
    QElapsedTimer clock;
    clock.start();
    // Connected after the game's own slot: each stamp is taken once the tick has run.
    QObject::connect(window.timer(game::Timer::Timer1), &QTimer::timeout, &app, [&] {
        stamps.push_back(clock.nsecsElapsed());
        if (static_cast<int>(stamps.size()) > ticks) {
            QCoreApplication::exit(0);
            return;
        }
        if (window.button(game::Button::Command2)->isEnabled()) {
            window.button(game::Button::Command2)->click();
            ++games;
        } else if (stamps.size() % static_cast<std::size_t>(typeEvery) == 0)
            typeLowest(runtime);
    });
    const int status = QApplication::exec();
    if (status != 0 || static_cast<int>(stamps.size()) <= ticks)
        return 1;

    std::vector<double> periods;
    for (std::size_t i = 1; i < stamps.size(); ++i)
        periods.push_back(static_cast<double>(stamps[i] - stamps[i - 1]) / 1e6);
    double sum = 0;
    for (double period : periods)
        sum += period;
    const double mean = sum / static_cast<double>(periods.size());
    std::sort(periods.begin(), periods.end());
    const double nominal = 50.0 * static_cast<double>(periods.size());
    const double drift = (sum - nominal) / nominal * 100.0;
    std::printf("ticks=%zu mean_ms=%.4f p50_ms=%.4f p99_ms=%.4f max_ms=%.4f drift_pct=%.4f "
                "games=%d hits=%d\n",
        periods.size(), mean, percentile(periods, 0.5), percentile(periods, 0.99), periods.back(),
        drift, games, runtime.form1().state().Hits);
    return 0;
}
