// The main window's procedures for the alerts and the notification area's icon: following the
// thresholds at each tick, speaking up when one is crossed, the two "Outils" menu items, and
// the history's mark of an alert.
#pragma once

#include "state/state.h"

namespace corvane {

// After the tick's sample: raises the alerts the figures call for and brings the icon up to
// date. `swapKnown`: the tick could read the swap file's size (in the statistics).
void watchAlerts(Context& context, const MemoryStatus& memory, bool swapKnown);

// "Icône dans la zone de notification": the icon on or off, remembered at once.
void toggleNotificationIcon(Context& context);
// The icon as the setting wants it, with these figures.
void updateNotificationIcon(Context& context, const MemoryStatus& memory);

// "Alertes...": the dialog of the thresholds; what the user keeps is remembered at once.
void editAlertSettings(Context& context);

// One alert in the swap file's history: the record of the minute it was raised carries its
// mark. Called once for each alert raised.
void markAlertInHistory(Context& context, const AlertEvent& alert);

}  // namespace corvane
