// The "Alertes" dialog, modal over its owner: the alerts' settings as the user keeps them, or
// none when the dialog is cancelled.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/alert_settings.h"

namespace corvane::win32 {

std::optional<AlertSettings> editAlertsInDialog(HINSTANCE instance, HWND owner,
                                                const AlertSettings& current);

}  // namespace corvane::win32
