// The main window's procedures for the Windows event log: an event at each alert and at the
// start and end of the analysis, while the user has turned it on, on the NT family only (the
// 9x family has no event log); and the "Outils" menu's item.
#pragma once

#include "alerts/alert_events.h"
#include "state/state.h"

namespace corvane {

// True where Windows keeps an event log: the NT family.
bool eventLogExists(const Context& context);

// Writes the event when the log is on and exists. A log that refuses it costs that event only.
void writeEvent(Context& context, const EventRecord& event);

// The analysis' start and end (start-up and exit, and "Réinitialiser tout" between them).
void reportAnalysisStart(Context& context);
void reportAnalysisEnd(Context& context);

// At start-up, once the settings are read: registers the source where the user may.
void openEventLog(Context& context);

// "Journal des événements Windows": on or off, remembered at once; on 9x, says why not.
void toggleEventLog(Context& context);

}  // namespace corvane
