// The ranges of the alerts thresholds.
#include "alerts/alert_limits.h"

namespace corvane {

bool validAlertPercent(int32_t percent) {
    return percent >= kAlertPercentMin && percent <= kAlertPercentMax;
}

bool validAlertGrowthMo(int32_t mo) {
    return mo >= kAlertGrowthMoMin && mo <= kAlertGrowthMoMax;
}

bool validAlertHours(int32_t hours) {
    return hours >= kAlertHoursMin && hours <= kAlertHoursMax;
}

std::optional<std::string> alertSettingsProblem(const AlertSettings& s) {
    if (!validAlertPercent(s.commitPercent)) {
        return "Le seuil de l'engagement doit être un nombre entier de 1 à 100 (%).";
    }
    if (!validAlertGrowthMo(s.swapGrowthMo)) {
        static_assert(kAlertGrowthMoMax == 1048576, "the message below names the largest");
        return "La croissance du fichier SWAP doit être un nombre entier de 1 à 1048576 (Mo).";
    }
    if (!validAlertPercent(s.memoryPercent)) {
        return "Le seuil de la mémoire occupée doit être un nombre entier de 1 à 100 (%).";
    }
    if (!validAlertHours(s.exhaustionHours)) {
        return "Le délai avant l'épuisement doit être un nombre entier de 1 à 168 (heures).";
    }
    return std::nullopt;
}

}  // namespace corvane
