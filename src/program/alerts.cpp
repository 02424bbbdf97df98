// Alerts and the notification area's icon, over the platform.
#include "program/alerts.h"

#include "alerts/alert_events.h"
#include "alerts/alert_limits.h"
#include "alerts/alert_texts.h"
#include "history/utc_minutes.h"
#include "memory/memory_figures.h"
#include "persistence/settings.h"
#include "persistence/settings_keys.h"
#include "program/event_log.h"

namespace corvane {

namespace {

AlertMark historyMark(AlertKind kind) {
    switch (kind) {
        case AlertKind::SwapGrowth: return kAlertSwapGrowth;
        case AlertKind::Memory: return kAlertMemory;
        // The history's file names three marks: the forecast of the commit goes with its own.
        case AlertKind::Exhaustion:
        case AlertKind::Commit: break;
    }
    return kAlertCommit;
}

// The forecast as the alert reads it.
std::optional<int64_t> exhaustionMinutes(const CommitForecast& forecast) {
    if (!forecast.trend) return std::nullopt;
    if (!forecast.trend->rising()) return kForecastHorizonSeconds / 60 + 1;
    if (!forecast.toAttainableSeconds) return std::nullopt;
    return *forecast.toAttainableSeconds / 60;
}

// The journal's line. A journal that cannot be written costs the line, never the monitor.
void journalLine(Context& c, const AlertEvent& alert, const DateTime& now) {
    Platform& p = c.platform;
    try {
        p.files.appendText(
            c.state.journalPath,
            alertJournalLine(alert, p.system.formatShortDate(now), p.system.formatTime(now)) +
                "\r\n");
    } catch (const RuntimeError&) {
    }
}

// Says it without waiting on the user: a balloon from the icon, or where there is none, the
// taskbar button flashes.
void speakUp(Context& c, const AlertEvent& alert, const DateTime& now) {
    Platform& p = c.platform;
    BalloonText balloon = alertBalloon(alert, p.system.formatShortTime(now));
    if (c.state.trayIconShown.value_or(false) &&
        p.notification.showBalloon(balloon.title, balloon.text)) {
        return;
    }
    p.notification.flashTaskbarButton();
}

// Shows, updates or removes the icon as the setting wants, and the menu's check mark with it.
void showTrayIcon(Context& c, const std::optional<CommitCharge>& commit, bool swapKnown) {
    Platform& p = c.platform;
    MainState& s = c.state;
    if (s.trayIconShown != s.trayIcon)
        p.view.setMenuChecked(MenuItem::notificationIcon, s.trayIcon);
    if (!s.trayIcon) {
        if (s.trayIconShown.value_or(false)) p.notification.removeIcon();
        s.trayIconShown = false;
        return;
    }
    TrayIcon icon;
    icon.gaugePermille = trayGaugePermille(commit, s.stats, swapKnown, s.maxPagingSize);
    int alarmPermille = (s.alertSettings.commitOn ? s.alertSettings.commitPercent : 90) * 10;
    icon.alarm = commit && icon.gaugePermille >= alarmPermille;
    std::optional<int64_t> left;
    if (s.alerts.raised(AlertKind::Exhaustion)) left = exhaustionMinutes(s.advice.forecast);
    icon.tooltip = trayTooltip(s.stats, swapKnown, commit, left);
    // A system without a notification area shows nothing; the choice is kept all the same.
    p.notification.showIcon(icon);
    s.trayIconShown = true;
}

// The swap file's sizes of the hour before this run, from the history: a file that grew
// just before a restart has grown within the hour all the same.
void takeHistorysHour(Context& c, uint64_t tick) {
    std::vector<std::pair<int32_t, int32_t>> past;
    std::optional<int32_t> now = minuteOf(c.platform.system.utcNow());
    if (now) {
        for (const MinuteRecord& r : c.state.history.records()) {
            int32_t ago = *now - r.minute;
            if (ago >= 1 && ago < static_cast<int32_t>(HourGrowth::kMinutes) && r.minMo >= 0)
                past.emplace_back(ago, r.minMo);
        }
    }
    c.state.alerts.takePast(tick, past);
}

}  // namespace

void watchAlerts(Context& c, const MemoryStatus& memory, bool swapKnown) {
    Platform& p = c.platform;
    MainState& s = c.state;
    std::optional<CommitCharge> commit = statusCommit(memory);

    AlertFigures figures;
    figures.tick = p.system.tickCount();
    if (commit) figures.commitPercent = (commitPermille(*commit) + 5) / 10;
    if (swapKnown) figures.swapMo = s.stats.current;
    if (memory.totalPhys > 0) figures.memoryPercent = static_cast<int>(memory.memoryLoad);
    figures.exhaustionMinutes = exhaustionMinutes(s.advice.forecast);

    if (c.shown) showTrayIcon(c, commit, swapKnown);
    if (s.alerts.wantsPast()) takeHistorysHour(c, figures.tick);
    std::vector<AlertEvent> raised = s.alerts.check(s.alertSettings, figures);
    if (raised.empty()) return;
    s.prometheusDue = true;
    DateTime now = p.system.localNow();
    for (const AlertEvent& alert : raised) {
        journalLine(c, alert, now);
        writeEvent(c, alertEvent(alert, p.system.formatShortDate(now), p.system.formatTime(now)));
        speakUp(c, alert, now);
        markAlertInHistory(c, alert);
    }
}

void updateNotificationIcon(Context& c, const MemoryStatus& memory) {
    showTrayIcon(c, statusCommit(memory), c.state.swapReadable);
}

void toggleNotificationIcon(Context& c) {
    MainState& s = c.state;
    s.trayIcon = !s.trayIcon;
    try {
        saveSettingKeys(c, {kKeyTrayIcon});
    } catch (const RuntimeError&) {
        // Kept for this run; the exit saves it again and says so if the store still fails.
    }
    // Shown at once, with the last tick's figures.
    showTrayIcon(c, statusCommit(c.platform.system.memoryStatus()), s.swapReadable);
}

void editAlertSettings(Context& c) {
    std::optional<AlertSettings> chosen;
    // A dialog that cannot be made is no reason to end the program.
    try {
        chosen = c.platform.windows.editAlerts(c.state.alertSettings);
    } catch (const RuntimeError& error) {
        c.platform.dialogs.messageBox(
            "La fenêtre des alertes n'a pas pu s'ouvrir.\r\n" + error.description(), "Alertes",
            {MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    if (!chosen || alertSettingsProblem(*chosen)) return;
    c.state.alertSettings = *chosen;
    try {
        saveSettingKeys(c, {kKeyCommitAlert, kKeyCommitThreshold, kKeySwapAlert, kKeySwapThreshold,
                            kKeyMemoryAlert, kKeyMemoryThreshold, kKeyExhaustionAlert,
                            kKeyExhaustionThreshold});
    } catch (const RuntimeError&) {
        // Kept for this run; the exit saves them again and says so if the store still fails.
    }
}

void markAlertInHistory(Context& c, const AlertEvent& alert) {
    ++c.state.alertMarks;
    std::optional<int32_t> minute = minuteOf(c.platform.system.utcNow());
    if (!minute) return;  // a clock outside the years the history counts
    c.state.history.markAlert(*minute, historyMark(alert.kind));
}

}  // namespace corvane
