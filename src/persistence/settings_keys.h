// Where the settings live in the per-user store. Each key is a row of the table in
// settings.cpp; the refresh period's name is here too, for the procedure that applies it.
#pragma once

namespace corvane {

inline constexpr const char* kSettingsApp = "Corvane";
inline constexpr const char* kSettingsSection = "Paramètres";

inline constexpr const char* kKeyRefreshRate = "Raffraichissement";

// The notification area's icon and the alerts, written as soon as the user changes them.
inline constexpr const char* kKeyTrayIcon = "IconeNotification";
inline constexpr const char* kKeyCommitAlert = "AlerteEngagement";
inline constexpr const char* kKeyCommitThreshold = "SeuilEngagement";
inline constexpr const char* kKeySwapAlert = "AlerteSwap";
inline constexpr const char* kKeySwapThreshold = "SeuilSwap";
inline constexpr const char* kKeyMemoryAlert = "AlerteMemoire";
inline constexpr const char* kKeyMemoryThreshold = "SeuilMemoire";
inline constexpr const char* kKeyExhaustionAlert = "AlerteEpuisement";
inline constexpr const char* kKeyExhaustionThreshold = "SeuilEpuisement";

// The export for Prometheus' exporters, written when the user changes it.
inline constexpr const char* kKeyPrometheusExport = "ExportPrometheus";
inline constexpr const char* kKeyPrometheusFolder = "DossierPrometheus";

// Writing to the Windows event log, off unless the user turns it on.
inline constexpr const char* kKeyEventLog = "JournalEvenements";

}  // namespace corvane
