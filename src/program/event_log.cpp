// The event log, over the platform.
#include "program/event_log.h"

#include "persistence/settings.h"
#include "persistence/settings_keys.h"

namespace corvane {

namespace {

constexpr uint32_t kNtFamily = 2;  // VER_PLATFORM_WIN32_NT

}  // namespace

bool eventLogExists(const Context& c) {
    return c.state.versionRecord.platformId == kNtFamily;
}

void writeEvent(Context& c, const EventRecord& event) {
    if (!c.state.eventLogOn || !eventLogExists(c)) return;
    try {
        c.platform.eventLog.report(event.type, event.id, event.text);
    } catch (const RuntimeError&) {
        // A full or refused log costs the event, never the monitor.
    }
}

void reportAnalysisStart(Context& c) {
    Platform& p = c.platform;
    DateTime now = p.system.localNow();
    writeEvent(c, analysisStartEvent(c.state.swapPath, p.system.formatShortDate(now),
                                     p.system.formatTime(now)));
}

void reportAnalysisEnd(Context& c) {
    Platform& p = c.platform;
    DateTime now = p.system.localNow();
    writeEvent(c, analysisEndEvent(c.state.swapPath, c.state.stats, p.system.formatShortDate(now),
                                   p.system.formatTime(now)));
}

void openEventLog(Context& c) {
    if (!c.state.eventLogOn || !eventLogExists(c)) return;
    c.platform.eventLog.registerSource();
}

void toggleEventLog(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;
    if (!eventLogExists(c)) {
        p.dialogs.messageBox(
            "Cette version de Windows n'a pas de journal des événements : Corvane n'y écrit rien.",
            "Journal des événements Windows", {MsgButtons::Ok, MsgIcon::Information});
        p.view.setMenuChecked(MenuItem::eventLog, false);
        return;
    }
    s.eventLogOn = !s.eventLogOn;
    p.view.setMenuChecked(MenuItem::eventLog, s.eventLogOn);
    try {
        saveSettingKeys(c, {kKeyEventLog});
    } catch (const RuntimeError&) {
        // Kept for this run only: the store refused it.
    }
    openEventLog(c);
}

}  // namespace corvane
