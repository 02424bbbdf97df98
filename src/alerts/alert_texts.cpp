// Wording the alerts and the icon's figures.
#include "alerts/alert_texts.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "history/history_csv.h"
#include "memory/commit_forecast.h"
#include "memory/memory_figures.h"

namespace corvane {

std::string_view alertName(AlertKind kind) {
    switch (kind) {
        case AlertKind::Commit: return alertMarkWord(kAlertCommit);
        case AlertKind::SwapGrowth: return alertMarkWord(kAlertSwapGrowth);
        case AlertKind::Memory: return alertMarkWord(kAlertMemory);
        case AlertKind::Exhaustion: break;
    }
    return "epuisement";
}

namespace {

// The pieces one after the other: one call where operator+ would inline a copy at each piece.
std::string join(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace

std::string alertJournalLine(const AlertEvent& a, const std::string& date,
                             const std::string& time) {
    const std::string figure = std::to_string(a.figure);
    const std::string threshold = std::to_string(a.threshold);
    std::string what;
    switch (a.kind) {
        case AlertKind::Commit:
            what = join({"engagement à ", figure, " % de sa limite (seuil ", threshold, " %)"});
            break;
        case AlertKind::SwapGrowth:
            // Sizes as the journal's summary writes them: no space before "Mo".
            what = join({"fichier SWAP agrandi de ", figure, "Mo en une heure, à ",
                         std::to_string(a.swapMo), "Mo (seuil ", threshold, "Mo)"});
            break;
        case AlertKind::Memory:
            what = join({"mémoire occupée à ", figure, " % (seuil ", threshold, " %)"});
            break;
        case AlertKind::Exhaustion:
            what = join({"engagement à sa limite atteignable ", timeLeftText(a.figure * 60),
                         " au rythme des 3 dernières heures (seuil ", threshold, " h)"});
            break;
    }
    return join({"Alerte : ", what, " le ", date, " à ", time});
}

BalloonText alertBalloon(const AlertEvent& a, const std::string& time) {
    const std::string figure = std::to_string(a.figure);
    const std::string threshold = std::to_string(a.threshold);
    switch (a.kind) {
        case AlertKind::Commit:
            return {"Corvane : seuil d'engagement atteint",
                    join({"À ", time, ", l'engagement atteint ", figure, " % de sa limite (seuil ",
                          threshold, " %)."})};
        case AlertKind::SwapGrowth:
            return {"Corvane : le fichier SWAP grandit",
                    join({"À ", time, ", le fichier SWAP a grandi de ", figure,
                          " Mo en une heure (seuil ", threshold, " Mo) ; il fait ",
                          std::to_string(a.swapMo), " Mo."})};
        case AlertKind::Memory:
            return {"Corvane : seuil de mémoire atteint",
                    join({"À ", time, ", la mémoire occupée atteint ", figure, " % (seuil ",
                          threshold, " %)."})};
        case AlertKind::Exhaustion:
            return {"Corvane : mémoire bientôt épuisée",
                    join({"À ", time,
                          ", au rythme des 3 dernières heures, l'engagement atteindra "
                          "sa limite atteignable ",
                          timeLeftText(a.figure * 60), " (seuil ", threshold, " h)."})};
    }
    return {};
}

std::string trayTooltip(const Statistics& s, bool swapKnown,
                        const std::optional<CommitCharge>& commit,
                        std::optional<int64_t> exhaustionMinutes) {
    std::string text = "Corvane\n";
    if (swapKnown && s.sampleCount > 0) {
        text += join({"SWAP : ", std::to_string(s.current), " Mo (mini ", std::to_string(s.minimum),
                      ", maxi ", std::to_string(s.maximum), " Mo)"});
    } else {
        text += "SWAP : taille illisible";
    }
    if (commit) text += "\n" + commitText(commit);
    if (exhaustionMinutes) text += "\nMémoire épuisée " + timeLeftText(*exhaustionMinutes * 60);
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
