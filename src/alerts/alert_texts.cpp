// Wording the alerts and the icon's figures.
#include "alerts/alert_texts.h"

#include <algorithm>
#include <cmath>

#include "memory/memory_figures.h"

namespace corvane {

namespace {

std::string percent(int64_t value) {
    return std::to_string(value) + " %";
}

}  // namespace

std::string alertJournalLine(const AlertEvent& a, const std::string& date,
                             const std::string& time) {
    std::string what;
    switch (a.kind) {
        case AlertKind::Commit:
            what = "engagement à " + percent(a.figure) + " de sa limite (seuil " +
                   percent(a.threshold) + ")";
            break;
        case AlertKind::SwapGrowth:
            // Sizes as the journal's summary writes them: no space before "Mo".
            what = "fichier SWAP agrandi de " + std::to_string(a.figure) + "Mo en une heure, à " +
                   std::to_string(a.swapMo) + "Mo (seuil " + std::to_string(a.threshold) + "Mo)";
            break;
        case AlertKind::Memory:
            what =
                "mémoire occupée à " + percent(a.figure) + " (seuil " + percent(a.threshold) + ")";
            break;
    }
    return "Alerte : " + what + " le " + date + " à " + time;
}

BalloonText alertBalloon(const AlertEvent& a, const std::string& time) {
    switch (a.kind) {
        case AlertKind::Commit:
            return {"Corvane : engagement élevé", "À " + time + ", l'engagement atteint " +
                                                      percent(a.figure) + " de sa limite (seuil " +
                                                      percent(a.threshold) + ")."};
        case AlertKind::SwapGrowth:
            return {"Corvane : le fichier SWAP grandit",
                    "À " + time + ", le fichier SWAP a grandi de " + std::to_string(a.figure) +
                        " Mo en une heure (seuil " + std::to_string(a.threshold) +
                        " Mo) ; il fait " + std::to_string(a.swapMo) + " Mo."};
        case AlertKind::Memory:
            return {"Corvane : mémoire presque pleine",
                    "À " + time + ", la mémoire occupée atteint " + percent(a.figure) + " (seuil " +
                        percent(a.threshold) + ")."};
    }
    return {};
}

std::string trayTooltip(const Statistics& s, bool swapKnown,
                        const std::optional<CommitCharge>& commit) {
    std::string text = "Corvane\n";
    if (swapKnown && s.sampleCount > 0) {
        text += "SWAP : " + std::to_string(s.current) + " Mo (mini " + std::to_string(s.minimum) +
                ", maxi " + std::to_string(s.maximum) + " Mo)";
    } else {
        text += "SWAP : taille illisible";
    }
    if (commit) text += "\n" + commitText(commit);
    return text;
}

int trayGaugePermille(const std::optional<CommitCharge>& commit, const Statistics& s,
                      bool swapKnown, double maxPagingMo) {
    if (commit) return commitPermille(*commit);
    if (!swapKnown || s.sampleCount <= 0) return -1;
    double largest = maxPagingMo > 0 ? maxPagingMo : static_cast<double>(s.maximum);
    if (largest <= 0) return -1;
    double share = static_cast<double>(s.current) / largest;
    return static_cast<int>(std::clamp(std::floor(share * 1000 + 0.5), 0.0, 1000.0));
}

}  // namespace corvane
