// The "Exporter vers Prometheus" dialog, modal over its owner: the export's settings as the user
// keeps them, or none when the dialog is cancelled.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/export_settings.h"

namespace corvane::win32 {

std::optional<PrometheusSettings> editPrometheusInDialog(HINSTANCE instance, HWND owner,
                                                         const PrometheusSettings& current);

}  // namespace corvane::win32
