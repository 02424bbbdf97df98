// The French words of the alerts and of the notification area's icon: the journal's line, the
// balloon, the icon's tooltip and how full its gauge is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "alerts/alert_watch.h"
#include "platform/virtual_memory.h"
#include "stats/statistics.h"

namespace corvane {

// The alert's name where a program reads it (the Prometheus export's label): the history's word
// for its mark, and "epuisement" for the forecast, which has none of its own there.
std::string_view alertName(AlertKind kind);

// The journal's line without its end: "Alerte : engagement à 92 % de sa limite (seuil 90 %)
// le 08/12/2026 à 07:15:30". `date` and `time` are as the journal's other dated lines give them.
std::string alertJournalLine(const AlertEvent& alert, const std::string& date,
                             const std::string& time);

struct BalloonText {
    std::string title;  // at most 63 characters: the shell keeps no more
    std::string text;   // at most 255
};
// The balloon of the icon (or what the taskbar's flashing stands for); `time` without seconds.
BalloonText alertBalloon(const AlertEvent& alert, const std::string& time);

// The icon's tooltip, one figure a line: the program, the swap file's size now, smallest and
// largest, and the commit "used / limit" where this Windows gives it. `swapKnown`: the last
// tick could read the swap file's size.
// `exhaustionMinutes`: while the exhaustion's alert is raised, the time left it forecasts.
std::string trayTooltip(const Statistics& stats, bool swapKnown,
                        const std::optional<CommitCharge>& commit,
                        std::optional<int64_t> exhaustionMinutes = std::nullopt);

// How full the icon's gauge is, in thousandths: the commit against its limit, or where this
// Windows has no commit figure, the swap file's size against the largest it may take (the
// configured maximum, else the largest seen). -1: nothing to show yet.
int trayGaugePermille(const std::optional<CommitCharge>& commit, const Statistics& stats,
                      bool swapKnown, double maxPagingMo);

}  // namespace corvane
