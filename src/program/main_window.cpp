// Turns the main window's events into calls of its procedures, and ends the program when one
// of them reaches the exit procedure.
#include "program/main_window.h"

#include "commands/always_on_top.h"
#include "commands/print_help.h"
#include "commands/start_with_windows.h"
#include "common/app.h"
#include "persistence/journal.h"
#include "persistence/refresh_rate.h"
#include "persistence/settings.h"
#include "program/advice.h"
#include "program/alerts.h"
#include "program/event_log.h"
#include "program/menu_marks.h"
#include "program/prometheus_export.h"
#include "program/recording.h"
#include "program/resets.h"
#include "program/startup.h"
#include "program/tick.h"
#include "program/virtual_memory.h"

namespace corvane {

MainWindow::MainWindow(Platform& platform) : context_{platform, {}, false, false, false} {}

template <class Handler>
void MainWindow::dispatch(Handler&& handler) {
    if (ended_ || context_.ending) return;
    run(handler);
}

template <class Handler>
void MainWindow::run(Handler&& handler) {
    try {
        handler();
    } catch (const ProgramEnd&) {
        // A session end inside the exit's own wait has ended the program already.
        if (ended_) return;
        ended_ = true;
        context_.platform.view.endProgram();
    } catch (...) {
        // Whatever no procedure traps, the program's own errors and memory running out alike,
        // ends the program after saying what it was, through the exit's saving steps.
        leaveOnError(currentError());
    }
}

void MainWindow::leaveOnError(const RuntimeError& error) noexcept {
    if (ended_) return;
    leaveAfterError(context_, error);
    ended_ = true;
    try {
        context_.platform.view.endProgram();
    } catch (...) {
    }
}

void MainWindow::onLoad() {
    dispatch([&] { startUp(context_); });
}

void MainWindow::onShown() {
    dispatch([&] { afterFirstPaint(context_); });
}

void MainWindow::onTimer(TimerId timer) {
    // A tick that waits on a message of its own lets no other tick in meanwhile.
    if (timer != TimerId::MainTimer1 || ticking_) return;
    ticking_ = true;
    // A tick that comes before the window was shown does what start-up left for later itself.
    context_.shown = true;
    dispatch([&] {
        try {
            Timer1Tick(context_);
        } catch (const RuntimeError& error) {
            // A damaged stored total shows only at its first addition, which may come long
            // after start-up: the analysis restarts as it does there.
            if (error.number() != kErrTypeMismatch) throw;
            restartAnalysis(context_);
        }
        checkpointSettings(context_);
    });
    ticking_ = false;
}

void MainWindow::onKeyPress(int16_t keyAscii) {
    dispatch([&] { handleKeyPress(context_, keyAscii); });
}

void MainWindow::onMenu(MenuItem item) {
    dispatch([&] {
        switch (item) {
            case MenuItem::impr: imprClick(context_); break;
            case MenuItem::quitter: Terminer(context_);
            case MenuItem::journal: journalClick(context_); break;
            case MenuItem::InitJournal: resetJournal(context_); break;
            case MenuItem::InitAll: resetEverything(context_); break;
            case MenuItem::s1: majRaf(context_, 1); break;
            case MenuItem::s5: majRaf(context_, 5); break;
            case MenuItem::s10: majRaf(context_, 10); break;
            case MenuItem::s30: majRaf(context_, 30); break;
            case MenuItem::m1: majRaf(context_, 60); break;
            case MenuItem::aide: aideClick(context_); break;
            case MenuItem::propos: proposClick(context_); break;
            case MenuItem::history: showHistoryWindow(context_); break;
            case MenuItem::virtualMemory: showVirtualMemoryWindow(context_); break;
            case MenuItem::notificationIcon: toggleNotificationIcon(context_); break;
            case MenuItem::alerts: editAlertSettings(context_); break;
            case MenuItem::prometheus: editPrometheusExport(context_); break;
            case MenuItem::startWithWindows: toggleStartWithWindows(context_); break;
            case MenuItem::eventLog: toggleEventLog(context_); break;
            case MenuItem::pageFileAdvice: showAdviceWindow(context_); break;
            default: break;
        }
    });
}

void MainWindow::onMenuOpen() {
    dispatch([&] {
        refreshStartWithWindows(context_);
        markMenuChoices(context_);
    });
}

void MainWindow::onSliderChange() {
    dispatch([&] { majRaf(context_, context_.platform.view.sliderPosition()); });
}

void MainWindow::onDessusClick() {
    dispatch([&] { dessusClick(context_); });
}

void MainWindow::onUnload() {
    dispatch([&] { Terminer(context_); });
}

void MainWindow::onEndSession() {
    // Windows may end the process as soon as this returns, even while the exit procedure waits
    // on a window of its own: the statistics and the journal are closed now unless they are.
    if (ended_) return;
    run([&] { endWithTheSession(context_); });
}

void MainWindow::onDbUnload() {
    context_.dbActif = false;
}

}  // namespace corvane
