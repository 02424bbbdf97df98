// Whether thresholds of the alerts are ones the program can keep.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/alert_settings.h"

namespace corvane {

bool validAlertPercent(int32_t percent);
bool validAlertGrowthMo(int32_t mo);
bool validAlertHours(int32_t hours);

// Why the values cannot be kept, in French, for the dialog to say; nothing when they can. A
// threshold that is switched off is still checked: it is kept for when it is switched on.
std::optional<std::string> alertSettingsProblem(const AlertSettings& settings);

}  // namespace corvane
